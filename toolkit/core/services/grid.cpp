// The grid's service table, with the answers of a toolkit without the grid.
#include "core/services/grid.h"

namespace korv {

GridServices& grid_services()
{
    static GridServices services;
    return services;
}

} // namespace korv
