#include "core/child_windows.h"

namespace korv {

int child_units_to_position(int units, int extent)
{
    return static_cast<int>(static_cast<long long>(units) * (extent - 1) / 9999);
}

int child_units_to_size(int units, int extent)
{
    return static_cast<int>(static_cast<long long>(units) * extent / 9999);
}

} // namespace korv
