// Stand-in for the grid's class atoms and busy flag, used only while the
// grid's own are not part of the build: no grid class is registered.
#include "toolkit/dialogs/neighbours.h"

namespace korv {
GridClassAtoms& grid_class_atoms()
{
    static GridClassAtoms atoms;
    return atoms;
}
int& grid_layout_busy()
{
    static int busy = 0;
    return busy;
}
} // namespace korv
