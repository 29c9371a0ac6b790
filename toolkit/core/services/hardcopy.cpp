// The hardcopy service table, with the answers of a toolkit without hardcopy.
#include "core/context.h"
#include "core/services/hardcopy.h"

namespace korv {

HardcopyServices& hardcopy_services()
{
    return toolkit_context().record<HardcopyServices>(ContextSlot::hardcopy_services);
}

} // namespace korv
