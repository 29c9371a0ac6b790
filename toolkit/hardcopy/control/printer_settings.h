// The platform-free rules of the Windows printer settings: how the profile's
// default printer entry splits into names, and how the default page is
// derived from the printer's or the page set-up's paper.
#pragma once

#include "korvanthide/printer.h"

#include <string>
#include <string_view>

namespace korv {

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
