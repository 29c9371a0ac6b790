#include "core/services/editor.h"

namespace korv {

EditorServices& editor_services()
{
    static EditorServices services;
    return services;
}

} // namespace korv
