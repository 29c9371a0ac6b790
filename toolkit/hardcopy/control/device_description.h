// The hardcopy side's description of its devices, kept beside the hardcopy
// sources: the printer type table, the page of screen dumps, what start-up
// learnt of the default Windows printer, and the decoding start-up runs.
#pragma once

#include <array>
#include <string_view>

#include "korvanthide/printer.h"

namespace korv {

// Five characters per raster printer type 0..38: family letter, colour
// planes, mode letter, option-24 limit, "2" when the printer also takes
// HP-GL/2. Entries 0 and 1 are unused (zero bytes); entry 27 has no family
// letter. Codes of four characters have a blank fifth column.
inline constexpr std::array<std::string_view, 39> PrinterTypeTable = {
    std::string_view("\0\0\0\0\0", 5), std::string_view("\0\0\0\0\0", 5),
    "M1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "M1M0 ", "M1M0 ", "S1M0 ",  //  2.. 9
    "L1M0 ", "L1M0 ", "M1M0 ", "P3R1 ", "D1M2 ", "M1M0 ", "M1M0 ", "Q1M0 ",  // 10..17
    "Q1M0 ", "X1M0 ", "X1M0 ", "D3R2 ", "D1M2 ", "F3C0 ", "F3C0 ", "Q3C0 ",  // 18..25
    "Q3C0 ", " 1M0 ", "L1M22", "41M22", "33R1 ", "D3C2 ", "D3C22", "51M2 ",  // 26..33
    "53C2 ", "L3C22", "21M1 ", "23C1 ", "43C22",                             // 34..38
};

// Screen-dump settings, slots 1..25 numbered like hardcopy options 1-25;
// slot 25 is the dump device (2 PostScript, 10 Windows printer).
struct HardcopyDumpSettings {
    std::array<int, 25> slots{};
    int& slot(int n) { return slots.at(static_cast<std::size_t>(n - 1)); }
};

HardcopyDumpSettings& hardcopy_dump_settings();

// What start-up learnt of the default Windows printer.
struct HardcopyDeviceState {
    int printer_available = 0;   // 1 when the default printer could be read
    int printer_page_larger = 0; // printer page sides in points
    int printer_page_smaller = 0;
};

HardcopyDeviceState& hardcopy_device_state();

// Start-up's defaults of the hardcopy side: the records above cleared.
void hc_device_description_reset();

// Decoding of the settings keys PLOTTER and HPGL2 (PRINTER:
// hc_printer_type_init).
void hc_plotter_init(int model);
void hc_hpgl2_mode_init(int mode);

// Start-up's decoding of the PRINTER, PLOTTER and HPGL2 values stored in
// PrinterPlotterSettings, in the order the three routines depend on.
void hc_settings_decode();

// The default dump device and the dump settings (device 2 PostScript, any
// other the Windows printer).
void hc_hardcopy_defaults_init(int device = 0);

// What hc_printer_defaults hands back, for the platform-free part of the
// dump defaults.
struct PrinterDefaults {
    int larger = 0, smaller = 0;
    int width = 0, height = 0;
    int x_offset = 0, y_offset = 0;
    int orientation = 0, copies = 0;
    int colours = 0;
    int error = 0;
};

// The platform-free part of hc_hardcopy_defaults_init: printer is what
// hc_printer_defaults gave for the Windows printer (ignored for device 2).
void hc_hardcopy_defaults_apply(int device, const PrinterDefaults& printer);

} // namespace korv
