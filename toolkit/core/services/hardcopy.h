// What the graphics layer and start-up ask of hardcopy. The hardcopy
// plug-in fills the table when it registers (hardcopy_services_register and
// hardcopy_services_register_win); until then every entry answers as a
// toolkit without hardcopy would: no driver, no printer.
//
// The hardcopy state lives here too: the graphics start-up clears, saves and
// restores its options and default output name, and the page size and
// scale factors feed the graphics layer's page dimensions.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "korvanthide/graphics_state.h"

struct HDC__;

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

// Options 1..30 and 101..110, set one at a time through hc_set_option.
struct HardcopyOptions {
    std::array<int, 30> low{};  // options 1..30
    std::array<int, 10> high{}; // options 101..110

    static constexpr bool valid(int n)
    {
        return (n >= 1 && n <= option_low_last) || (n >= option_kept_first && n <= option_kept_last);
    }
    // Option n, or nullptr for a number that names no option.
    int* find(int n);
    const int* find(int n) const;
    // Option n; 0 for a number that names no option.
    int get(int n) const;
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

struct HardcopyState {
    static constexpr std::size_t name_length = 260;
    static constexpr std::size_t title_length = 200;

    HardcopyOptions options;
    int driver_number = driver_windows_printer;
    // Number of the driver that last carried out a full operation 1; 0 before.
    int driver_record = 0;
    // -1 while the current page has been drawn on, 0 after it ended.
    int page_drawn = 0;
    // 1 for drivers whose plot file may be handed to a print command.
    int print_command_flag = 0;
    int raster_resolution_index = 0;
    std::array<char, name_length> default_output_name = DeviceParameters::blanks<name_length>();
    std::array<char, name_length> print_command = DeviceParameters::blanks<name_length>();
    std::array<char, title_length> title = DeviceParameters::blanks<title_length>();
    // Last pen position of the line-drawing drivers; -9999 for none.
    float last_pen_x = -9999.0f, last_pen_y = -9999.0f;
    // Page units per device unit, set by the drivers on operations 1 and 18.
    float scale_x = 0, scale_y = 0;
};

HardcopyState& hardcopy_state();

// The settings-file keys that belong to the hardcopy device description.
enum class HardcopySetting { printer, plotter, hpgl2 };

struct HardcopyServices {
    // Start-up: clears the device description; takes a PRINTER, PLOTTER or
    // HPGL2 value of the settings file; decodes them once the file is read;
    // sets the dump defaults (device 2 PostScript, else the Windows printer).
    std::function<void()> description_reset = [] {};
    std::function<void(HardcopySetting key, int value)> setting_store = [](HardcopySetting, int) {};
    std::function<void()> settings_decode = [] {};
    std::function<void(int device)> defaults_init = [](int) {};

    // IGrHardCopy, hc_dispatch and hc_set_option.
    std::function<void(std::optional<std::string_view> option, std::optional<std::string_view> title)> hard_copy =
        [](std::optional<std::string_view>, std::optional<std::string_view>) {};
    std::function<void(int op)> dispatch = [](int) {};
    std::function<void(int n, int value)> set_option = [](int, int) {};

    // The default Windows printer's page: 0, or the system's error code
    // (without the plug-in no printer can be read).
    std::function<int(GraphicsPlatform::PrinterPage& page)> printer_defaults = [](GraphicsPlatform::PrinterPage&) {
        return 1;
    };
    // An information context on the default printer once it has been
    // read, which the caller deletes; nullptr before that, or when none
    // can be made.
    std::function<HDC__*()> printer_information_context = []() -> HDC__* { return nullptr; };
    // Runs a print command and waits for it.
    std::function<void(std::string_view command)> print_command = [](std::string_view) {};
};

HardcopyServices& hardcopy_services();

} // namespace korv
