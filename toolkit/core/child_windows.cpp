#include "core/child_windows.h"

#include <algorithm>
#include <limits>

namespace korv {

namespace {

int held(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

int child_units_to_position(int units, int extent)
{
    return held(static_cast<long long>(units) * (static_cast<long long>(extent) - 1) / 9999);
}

int child_units_to_size(int units, int extent)
{
    return held(static_cast<long long>(units) * extent / 9999);
}

} // namespace korv
