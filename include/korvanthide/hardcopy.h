// Hardcopy control: IGrHardCopy, the selection of a driver and the setting
// of the numbered hardcopy options. The options and the state every driver
// shares are kept by the base (toolkit/core/services/hardcopy.h).
#pragma once

#include <optional>
#include <string_view>

#include "korvanthide/graphics_state.h"

namespace korv {

// Sets option n by its range check; a refused value, option 14 and numbers
// outside 1-30 and 101-110 change nothing. Options 9, 10 and 11 then reach
// the open output as operations 30, 36 and 37.
void hc_set_option(int n, int value);

// With op 1 selects driver and initialises it; any other op does nothing.
void hc_dispatch_select(int op, int driver);

} // namespace korv

// "S" or "s" finishes the output and runs a pending print command; any other
// option opens output to that file (blank or absent: the driver's default
// name; " @ " in it makes a print command for drivers that allow one).
void IGrHardCopy(std::optional<std::string_view> option = std::nullopt,
                 std::optional<std::string_view> title = std::nullopt);
