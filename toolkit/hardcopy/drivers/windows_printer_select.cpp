// The Windows printer driver's selection and its colour inversion, kept
// free of the Windows API so that they are the same, and checked, in the
// native tree.
#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"

namespace korv {

DriverDefaults hc_windows_printer_defaults()
{
    DriverDefaults d;
    d.number = driver_windows_printer;
    d.colour_limit = 256;
    d.word_g = d.word_h = 1;
    d.capability_flags = hc_page_flags;
    d.reads_printer = true;
    d.platform_words = true;
    return d;
}

void hc_printer_colour_invert(int& red, int& green, int& blue)
{
    const int inversion = hc_option(option_colour_inversion);
    const bool light = red >= 246 && green >= 246 && blue >= 246, dark = red <= 9 && green <= 9 && blue <= 9;
    if (inversion == 1 || (inversion == 2 && (light || dark))) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
}

Device& hc_windows_printer_selection()
{
    struct Selection : Device {
        void select(DeviceParameters& p) override { hc_driver_select(p, hc_windows_printer_defaults()); }
    };
    static Selection selection;
    return selection;
}

} // namespace korv
