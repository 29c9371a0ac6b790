// The hardcopy options and the state that the control and the drivers
// share. The graphics layer reads only the page of it, through the base's
// hardcopy service table.
#pragma once

#include <array>
#include <cstddef>

#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "core/services/hardcopy.h"

namespace korv {

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

// The page as the graphics layer reads it: options 1 and 2 and the scale
// factors.
HardcopyPage hc_page();
// The hardcopy steps of the graphics start-up, in order: the page-drawn
// flag is cleared, IGrHardCopy("S", " ") finishes open output, and the
// current driver gets a full operation 1. When a driver was selected before
// and options_kept is set, options 1..30 and 101..110 and the default output
// name are saved, the driver is told so (phase -998), and they are put back
// through hc_set_option afterwards.
void hc_graphics_start(bool options_kept);

} // namespace korv
