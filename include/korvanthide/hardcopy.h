// Hardcopy control: IGrHardCopy, the selection of a driver and the setting
// of the numbered hardcopy options.
#pragma once

#include <optional>
#include <string_view>

#include "korvanthide/graphics_state.h"

namespace korv {

// Hardcopy options by number: 1..30 and 101..110 (the last ten are kept
// values that no driver reads).
enum HardcopyOption : int {
    option_page_width = 1, // points
    option_page_height = 2,
    option_x_offset = 3,
    option_y_offset = 4,
    option_orientation = 5, // 0 portrait, 1 landscape
    option_colour_inversion = 6,
    option_monochrome = 7,
    option_copies = 8,
    option_line_width = 9, // tenths of a point
    option_line_join = 10,
    option_line_cap = 11,
    option_hatch_spacing = 12, // hundredths of a point
    option_raster_resolution = 13,
    option_unused = 14,
    option_postscript_end_of_job = 15,
    option_postscript_path_points = 16,
    option_line_mode = 17,
    option_hpgl_annotation = 18,
    option_device_on_off = 19,
    option_page_start_command = 20,
    option_label_terminator = 21,
    option_encapsulated = 22,
    option_colour_depth = 23,
    option_compression = 24,
    option_plotter_fills = 25,
    option_image_file_type = 26,
    option_metafile_type = 27,
    option_cgm_font_set = 28,
    option_metafile_system_dashes = 29,
    option_metafile_geometric_pens = 30,
    option_low_last = 30,
    option_kept_first = 101,
    option_kept_last = 110,
};

// Hardcopy drivers by number; any other number selects none.
enum HardcopyDriver : int {
    driver_hpgl = 1,
    driver_postscript = 2,
    driver_svg = 3,
    driver_raster_printer = 4,
    driver_raster_image = 6,
    driver_dxf = 8,
    driver_cgm = 9,
    driver_windows_printer = 10,
    driver_windows_metafile = 11,
    driver_hpgl2_pcl = 12,
};

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
