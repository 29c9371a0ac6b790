// The metafile driver's selection, kept free of the Windows API so that the
// selection is the same, and checked, in the native tree.
#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"

namespace korv {

DriverDefaults hc_windows_metafile_defaults()
{
    DriverDefaults d;
    d.number = driver_windows_metafile;
    d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_metafile_type, 2},
                  {option_metafile_system_dashes, 0}, {option_metafile_geometric_pens, 0}}};
    d.resolution_x = d.resolution_y = 600;
    d.colour_count = d.colour_limit = 256;
    d.word_g = d.word_h = 1;
    d.capability_flags = hc_page_flags;
    d.platform_words = true;
    return d;
}

Device& hc_windows_metafile_selection()
{
    struct Selection : Device {
        void select(DeviceParameters& p) override { hc_driver_select(p, hc_windows_metafile_defaults()); }
    };
    static Selection selection;
    return selection;
}

} // namespace korv
