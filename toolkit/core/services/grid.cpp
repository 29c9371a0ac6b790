// The grid's service table, with the answers of a toolkit without the grid.
#include "core/context.h"
#include "core/services/grid.h"

namespace korv {

GridServices& grid_services()
{
    return toolkit_context().record<GridServices>(ContextSlot::grid_services);
}

} // namespace korv
