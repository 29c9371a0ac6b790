// The Windows printer settings: which printer the profile and the page
// set-up chose, and the platform-free rules of how the profile's default
// printer entry splits into names and how the default page is derived from
// the printer's or the page set-up's paper.
#pragma once

#include "hardcopy/control/device_description.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// The choice of the page set-up for the Windows printer, and the printer's
// names. Texts are terminated.
struct PrinterSelection {
    int chosen = 0;
    std::array<char, 32> driver{};
    std::array<char, 260> device{};
    std::array<char, 260> port{};
    std::int16_t paper_size = 0;
    std::int16_t paper_length = 0;
    std::int16_t paper_width = 0;
    std::int16_t scale = 0;
    std::int16_t default_source = 0;
    std::int16_t print_quality = 0;
    std::int16_t colour = 0;
    std::int16_t duplex = 0;
    std::int16_t y_resolution = 0;
    std::int16_t truetype_option = 0;
    std::int16_t collate = 0;
    std::int32_t media_type = 0;
    std::int32_t dither_type = 0;
};

// The page set-up's paper, as far as the printer settings read it.
struct PageSetupBlock {
    int flags = 0;         // flag value 4: thousandths of an inch, else 1/100 mm
    int paper_width = 0;
    int paper_height = 0;
};

struct WindowsPrinterSettings {
    PrinterSelection selection;
    PageSetupBlock page_setup;
    int printer_read = 0;    // 1 once the default printer was read
    int reread_request = 0;  // 1 asks for a fresh reading
};

WindowsPrinterSettings& windows_printer_settings();

// Reads the default Windows printer (once, or again on a re-read request)
// and derives the default page: larger and smaller side in points, a
// landscape page with one inch of margin, one copy, the printer's colours.
// error is 0 or an operating-system error code; the page outputs are then 0.
void hc_printer_defaults(int reread, int& larger, int& smaller, int& width, int& height,
                         int& x_offset, int& y_offset, int& orientation, int& copies,
                         int& colours, int& error);



struct PrinterNames {
    std::string device;
    std::string driver;
    std::string port;
};

// Splits "device,driver,port" (blanks after each comma skipped; the port is
// everything after the second comma). False for an empty device name or
// fewer than two commas: such an entry names no printer that can be opened.
bool parse_device_profile(std::string_view value, PrinterNames& names);

// Stores the names into the selection, terminated. False, storing nothing,
// when a name does not fit its field (a cut name would name another printer).
bool store_printer_names(const PrinterNames& names, PrinterSelection& selection);

// A page set-up paper side in points: thousandths of an inch when the unit
// flags hold the value 4, else hundredths of a millimetre; rounded.
int paper_side_points(int size, int unit_flags);

// The default page from the printer page's width and height in points:
// landscape, one inch of margin on every side, one copy.
PrinterDefaults printer_page_defaults(int width, int height, int colours);

} // namespace korv
