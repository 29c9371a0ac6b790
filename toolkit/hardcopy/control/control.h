// The driver dispatch's view of the drivers.
#pragma once

#include "core/services/hardcopy.h"

namespace korv {

// The built-in driver of number n (drivers 10 and 11 only select where the
// platform has no Windows drivers), or nullptr when n names no driver.
Device* hc_built_in_driver(int n);

} // namespace korv
