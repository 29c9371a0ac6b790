#include "hardcopy/drivers/file_driver.h"

#include <algorithm>

#include "korvanthide/drawing.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/images.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/output/output_units.h"
#include "hardcopy/control/device_description.h"
#include "hardcopy/control/control.h"

namespace korv {

bool hc_driver_select(DeviceParameters& p, const DriverDefaults& d)
{
    if (p.count == -999) {
        p.count = d.number;
        return false;
    }
    HardcopyState& hc = hardcopy_state();
    GraphicsState& g = graphics_state();
    GraphicsPlatform& platform = gr_platform();

    hc_reset_options();
    for (const auto& [n, v] : d.options) {
        if (n == 0)
            break;
        *hc.options.find(n) = v;
    }
    // The Windows printer's colours come from the printer itself.
    if (!d.reads_printer)
        g.hardcopy_colour_count = d.colour_count;
    g.hardcopy_colour_limit = d.colour_limit;
    if (d.reads_printer && p.phase != -998) {
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
    desc.resolution_x = d.resolution_x;
    desc.resolution_y = d.resolution_y;
    desc.real_value = d.real_value;
    desc.word_a = d.word_a;
    desc.word_b = d.word_b;
    desc.platform_level = d.platform_words ? platform.platform_level() : d.platform_level;
    desc.true_colour = d.true_colour;
    desc.shading = d.platform_words ? platform.gradient_level() : d.shading;
    desc.word_f = d.word_f;
    desc.word_g = d.word_g;
    desc.word_h = d.word_h;
    desc.flags_set(d.capability_flags);
    if (d.raster_index >= 0)
        hc.raster_resolution_index = d.raster_index;
    hc.print_command_flag = d.print_command_flag;
    text_assign(hc.default_output_name, d.default_output_name);
    hc.driver_record = d.number;
    return true;
}

bool hc_driver_open_output()
{
    ErrorState& e = error_state();
    const int saved = e.last_error;
    e.last_error = 0;
    hc_unit_open(plot_unit);
    if (e.last_error != 0) {
        graphics_state().hardcopy_active = 0;
        return false;
    }
    e.last_error = saved;
    return true;
}

void hc_page_drawn() { hardcopy_state().page_drawn = -1; }

int hc_current_colour()
{
    const GraphicsState& g = graphics_state();
    return g.colour_mode == 2 ? g.cur_rgb : g.cur_index;
}

int hc_previous_colour()
{
    const GraphicsState& g = graphics_state();
    return g.colour_mode == 2 ? g.prev_rgb : g.prev_index;
}

int hc_current_rgb()
{
    int r = 0, g = 0, b = 0;
    gr_colour_components(hc_current_colour(), r, g, b);
    return r + 256 * g + 65536 * b;
}

bool hc_driver_read_image(DeviceParameters& p, std::vector<std::int32_t>& pixels, int& width, int& height)
{
    // Images beyond this many pixels are refused before anything is
    // allocated: no page needs more.
    constexpr long long pixel_limit = 1LL << 26;
    width = p.px2;
    height = p.py2;
    ErrorState& e = error_state();
    const int saved_error = e.last_error, saved_mode = e.report_mode;
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > pixel_limit) {
        p.phase = err::file_read_write;
        p.count = 0;
        return false;
    }
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    e.last_error = 0;
    e.report_mode = 0;
    IGrLoadImageData(text_trimmed(p.image_file_view()), pixels);
    e.report_mode = saved_mode;
    if (e.last_error != 0) {
        p.phase = e.last_error;
        p.count = e.file_code;
        pixels.clear();
        return false;
    }
    e.last_error = saved_error;
    p.phase = 0;
    return true;
}

int hc_option(int n) { return hardcopy_state().options.get(n); }

int hc_point_count(const DeviceParameters& p)
{
    return std::min({p.count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())});
}

std::string_view hc_driver_text(const DeviceParameters& p)
{
    return {p.text.data(), static_cast<std::size_t>(std::clamp(p.px1, 0, static_cast<int>(p.text.size())))};
}

bool hc_driver_open_page(const DeviceParameters& p, float unit)
{
    const GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    hc.scale_x = static_cast<float>(hc_option(option_page_width)) / (g.device_limit_x * unit);
    hc.scale_y = static_cast<float>(hc_option(option_page_height)) / (g.device_limit_y * unit);
    return p.phase > 0 && hc_driver_open_output();
}

void hc_hatch_by_lines()
{
    GraphicsState& g = graphics_state();
    float pitch = static_cast<float>(hc_option(option_hatch_spacing)) / 100.0f * g.device_limit_y /
                  static_cast<float>(hc_option(option_page_height));
    if (g.fill_style == 3)
        pitch *= 2;
    g.hardcopy_hatch_pitch = pitch;
    g.fill_emulation_hardcopy = 2;
}

std::array<int, 3> hc_colour_inverted(std::array<int, 3> c)
{
    const int inversion = hc_option(option_colour_inversion);
    const bool dark = std::all_of(c.begin(), c.end(), [](int v) { return v < 10; });
    const bool light = std::all_of(c.begin(), c.end(), [](int v) { return v > 245; });
    if (inversion == 1 || (inversion == 2 && (dark || light)))
        for (int& v : c)
            v = 255 - v;
    return c;
}

} // namespace korv
