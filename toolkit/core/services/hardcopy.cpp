// The hardcopy service table, with the answers of a toolkit without hardcopy.
#include "core/services/hardcopy.h"

namespace korv {

HardcopyServices& hardcopy_services()
{
    static HardcopyServices services;
    return services;
}

} // namespace korv
