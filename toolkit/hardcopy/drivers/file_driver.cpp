#include "hardcopy/drivers/file_driver.h"

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
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

int hc_option(int n) { return hardcopy_state().options.get(n); }

} // namespace korv
