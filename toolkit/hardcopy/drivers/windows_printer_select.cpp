// The Windows printer driver's selection, kept free of the Windows API so
// that the selection is the same, and checked, in the native tree.
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

Device& hc_windows_printer_selection()
{
    struct Selection : Device {
        void select(DeviceParameters& p) override { hc_driver_select(p, hc_windows_printer_defaults()); }
    };
    static Selection selection;
    return selection;
}

} // namespace korv
