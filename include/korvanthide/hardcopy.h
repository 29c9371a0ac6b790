// Hardcopy control: the driver number and dispatcher, the numbered hardcopy
// options and the values that every driver shares.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "korvanthide/graphics_state.h"

namespace korv {

// Options 1..30 and 101..110, set one at a time through hc_set_option.
// Page lengths are in points, line widths in tenths of a point.
struct HardcopyOptions {
    std::array<int, 30> low{};  // options 1..30
    std::array<int, 10> high{}; // options 101..110

    static constexpr bool valid(int n) { return (n >= 1 && n <= 30) || (n >= 101 && n <= 110); }
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

// Sets option n by its range check; a refused value, option 14 and numbers
// outside 1-30 and 101-110 change nothing. Options 9, 10 and 11 then reach
// the open output as operations 30, 36 and 37.
void hc_set_option(int n, int value);
// The driver-independent defaults every driver takes when it is selected.
void hc_reset_options();

// Hands op to the driver of the current driver number.
void hc_dispatch(int op);
// With op 1 selects driver and initialises it; any other op does nothing.
void hc_dispatch_select(int op, int driver);
// Puts a device in place of driver number 1..12 (nullptr puts the built-in
// driver back); returns the device it replaces, nullptr for the built-in.
Device* hc_driver_install(int number, Device* driver);

// Runs a print command through the command interpreter and waits for it.
void YYPRNCMD(std::string_view command);

} // namespace korv

// "S" or "s" finishes the output and runs a pending print command; any other
// option opens output to that file (blank or absent: the driver's default
// name; " @ " in it makes a print command for drivers that allow one).
void IGrHardCopy(std::optional<std::string_view> option = std::nullopt,
                 std::optional<std::string_view> title = std::nullopt);
