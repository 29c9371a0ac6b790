#include "hardcopy/drivers/file_driver.h"

#include "korvanthide/drawing.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/images.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/control.h"
#include "hardcopy/output/output_units.h"

namespace korv {

bool hc_driver_select(DeviceParameters& p, int number)
{
    const bool probe = p.count == -999;
    SelectionOnlyDriver(number).select(p);
    return !probe;
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

} // namespace korv
