#include "core/context.h"
#include "core/services/editor.h"

namespace korv {

EditorServices& editor_services()
{
    return toolkit_context().record<EditorServices>(ContextSlot::editor_services);
}

} // namespace korv
