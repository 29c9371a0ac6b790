// The driver dispatch: the driver slots, the selection of a driver by
// number and the driver-independent option defaults.
#include "hardcopy/control/control.h"

#include <array>
#include <utility>

#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "core/context.h"

namespace korv {

namespace {

constexpr int driver_slots = 13; // driver numbers 0..12

std::array<HardcopyDriverSlot, driver_slots>& driver_slots_table()
{
    using Table = std::array<HardcopyDriverSlot, driver_slots>;
    return toolkit_context().record<Table>(ContextSlot::installed_drivers);
}

} // namespace

void hc_reset_options()
{
    static constexpr std::pair<HardcopyOption, int> defaults[] = {
        {option_colour_inversion, 0}, {option_monochrome, 0}, {option_copies, 1}, {option_line_width, 5},
        {option_line_join, 0},        {option_line_cap, 0},   {option_line_mode, 0},
    };
    // Options 101..110 in order.
    static constexpr std::array<int, 10> kept_defaults = {80, 60, 1, 999999, 1, 0, 0, 8, 0, 3};
    HardcopyOptions& o = hardcopy_state().options;
    for (const auto& [n, v] : defaults)
        *o.find(n) = v;
    o.high = kept_defaults;
}

void hc_dispatch(int op)
{
    const int n = hardcopy_state().driver_number;
    if (n < 0 || n >= driver_slots)
        return;
    const HardcopyDriverSlot& slot = driver_slots_table()[static_cast<std::size_t>(n)];
    if (slot.device != nullptr)
        slot.device->operate(op, device_parameters());
    else if (slot.routine != nullptr)
        slot.routine(op);
}

void hc_dispatch_select(int op, int driver)
{
    if (op != 1)
        return;
    hardcopy_state().driver_number = driver;
    hc_dispatch(op);
}

HardcopyDriverSlot hc_driver_install(int number, HardcopyDriverSlot driver)
{
    if (number < 0 || number >= driver_slots)
        return {};
    return std::exchange(driver_slots_table()[static_cast<std::size_t>(number)], driver);
}

} // namespace korv
