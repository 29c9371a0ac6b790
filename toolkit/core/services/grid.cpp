// The grid's service table and the flag it shares with the number fields.
#include "core/services/grid.h"

namespace korv {

GridServices& grid_services()
{
    static GridServices services;
    return services;
}

bool grid_register_classes() { return grid_services().register_classes(); }

void grid_unregister_classes() { grid_services().unregister_classes(); }

int& grid_layout_busy()
{
    static int busy = 0;
    return busy;
}

} // namespace korv
