#include "hardcopy/control/control.h"

#include <array>
#include <utility>

#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"

namespace korv {

namespace {

constexpr int driver_slots = 13; // driver numbers 0..12

// Drivers put in place of the built-in ones: the Windows drivers' routines
// at start-up, test devices in tests (a device goes before a routine).
struct InstalledDriver {
    Device* device = nullptr;
    HardcopyDriverRoutine routine = nullptr;
};

std::array<InstalledDriver, driver_slots>& installed_drivers()
{
    static std::array<InstalledDriver, driver_slots> installed{};
    return installed;
}

} // namespace

Device* hc_built_in_driver(int n)
{
    switch (n) {
    case driver_hpgl: return &hc_hpgl_driver();
    case driver_postscript: return &hc_postscript_driver();
    case driver_svg: return &hc_svg_driver();
    case driver_raster_printer: return &hc_raster_printer_driver();
    case driver_raster_image: return &hc_raster_image_driver();
    case driver_dxf: return &hc_dxf_driver();
    case driver_cgm: return &hc_cgm_driver();
    case driver_windows_printer: return &hc_windows_printer_selection();
    case driver_windows_metafile: return &hc_windows_metafile_selection();
    case driver_hpgl2_pcl: return &hc_hpgl2_driver();
    default: return nullptr;
    }
}

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
    const InstalledDriver& installed = installed_drivers()[static_cast<std::size_t>(n)];
    if (installed.device == nullptr && installed.routine != nullptr) {
        installed.routine(op);
        return;
    }
    if (Device* driver = installed.device != nullptr ? installed.device : hc_built_in_driver(n))
        driver->operate(op, device_parameters());
}

void hc_dispatch_select(int op, int driver)
{
    if (op != 1)
        return;
    hardcopy_state().driver_number = driver;
    hc_dispatch(op);
}

Device* hc_driver_install(int number, Device* driver)
{
    if (number < 0 || number >= driver_slots)
        return nullptr;
    return std::exchange(installed_drivers()[static_cast<std::size_t>(number)].device, driver);
}

HardcopyDriverRoutine hc_driver_install(int number, HardcopyDriverRoutine routine)
{
    if (number < 0 || number >= driver_slots)
        return nullptr;
    return std::exchange(installed_drivers()[static_cast<std::size_t>(number)].routine, routine);
}

} // namespace korv
