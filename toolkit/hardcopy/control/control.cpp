#include "hardcopy/control/control.h"

#include <array>
#include <utility>
#include <vector>

#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"

namespace korv {

namespace {

constexpr int driver_slots = 13; // driver numbers 0..12

// Drivers that tests put in place of the built-in ones.
std::array<Device*, driver_slots>& installed_drivers()
{
    static std::array<Device*, driver_slots> installed{};
    return installed;
}

Device* built_in_driver(int n)
{
    static std::vector<SelectionOnlyDriver> drivers = [] {
        std::vector<SelectionOnlyDriver> all;
        for (int number = 0; number < driver_slots; ++number)
            all.emplace_back(number);
        return all;
    }();
    if (!hc_driver_defaults(n))
        return nullptr;
    return &drivers[static_cast<std::size_t>(n)];
}

Device* driver_for(int n)
{
    if (n < 0 || n >= driver_slots)
        return nullptr;
    Device* installed = installed_drivers()[static_cast<std::size_t>(n)];
    return installed != nullptr ? installed : built_in_driver(n);
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
    if (Device* driver = driver_for(hardcopy_state().driver_number))
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
    return std::exchange(installed_drivers()[static_cast<std::size_t>(number)], driver);
}

void SelectionOnlyDriver::select(DeviceParameters& p)
{
    if (p.count == -999) {
        p.count = number_;
        return;
    }
    const std::optional<DriverDefaults> d = hc_driver_defaults(number_);
    if (!d)
        return;
    HardcopyState& hc = hardcopy_state();
    GraphicsState& g = graphics_state();
    GraphicsPlatform& platform = gr_platform();

    hc_reset_options();
    for (const auto& [n, v] : d->options) {
        if (n == 0)
            break;
        *hc.options.find(n) = v;
    }
    // The Windows printer's colours come from the printer itself.
    if (!d->reads_printer)
        g.hardcopy_colour_count = d->colour_count;
    g.hardcopy_colour_limit = d->colour_limit;
    if (d->reads_printer && p.phase != -998) {
        GraphicsPlatform::PrinterPage page;
        const int error = platform.printer_defaults(page);
        hardcopy_device_state().printer_available = error == 0 ? 1 : 0;
        if (error == 0) {
            *hc.options.find(option_page_width) = page.width;
            *hc.options.find(option_page_height) = page.height;
            *hc.options.find(option_x_offset) = page.x_offset;
            *hc.options.find(option_y_offset) = page.y_offset;
            *hc.options.find(option_orientation) = page.orientation;
            *hc.options.find(option_copies) = page.copies;
            g.hardcopy_colour_count = page.colours;
            *hc.options.find(option_monochrome) = page.colours <= 2 ? 1 : 0;
        }
    }

    DeviceDescription& desc = device_capabilities().hardcopy;
    desc.resolution_x = d->resolution_x;
    desc.resolution_y = d->resolution_y;
    desc.real_value = d->real_value;
    desc.word_a = d->word_a;
    desc.word_b = d->word_b;
    desc.platform_level = d->platform_words ? platform.platform_level() : d->platform_level;
    desc.true_colour = d->true_colour;
    desc.shading = d->platform_words ? platform.gradient_level() : d->shading;
    desc.word_f = d->word_f;
    desc.word_g = d->word_g;
    desc.word_h = d->word_h;
    desc.flags_set(d->capability_flags);
    if (d->raster_index >= 0)
        hc.raster_resolution_index = d->raster_index;
    hc.print_command_flag = d->print_command_flag;
    text_assign(hc.default_output_name, d->default_output_name);
    hc.driver_record = number_;
}

} // namespace korv
