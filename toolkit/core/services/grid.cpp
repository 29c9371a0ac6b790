// The grid's service table and the flag it shares with the number fields.
#include "core/services/grid.h"

namespace korv {

GridServices& grid_services()
{
    static GridServices services;
    return services;
}

int& grid_layout_busy()
{
    static int busy = 0;
    return busy;
}

} // namespace korv
