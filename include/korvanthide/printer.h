// The hardcopy device description read at start-up and the default Windows
// printer's settings: which raster printer, plotter and HP-GL/2 model the
// settings file names, the page of screen dumps, and which Windows printer
// prints.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korv {

// Raster printer, plotter and HP-GL/2 choices and what the printer type
// decodes into. All zero before start-up.
struct PrinterPlotterSettings {
    int printer_type = 0;         // 2..38 except 27
    int plotter_model = 0;        // 1..10
    int hpgl2_model = 0;          // 1..5; 0 = not yet set
    int printer_value = 0;        // PRINTER key, 0 when absent
    int plotter_value = 0;        // PLOTTER key
    int hpgl2_value = 0;          // HPGL2 key
    int printer_type_given = 0;   // 1 when PRINTER named a valid type
    int plotter_model_given = 0;  // 1 when PLOTTER named a model 1..10
    int hpgl2_model_given = 0;    // 1 when PLOTTER 11..15 or HPGL2 chose it
    int pass_advance = 0;         // paper advance of one head pass, 1/216 inch
    int rows_per_pass = 0;
    int resolution_count = 0;     // valid entries of resolutions
    std::array<int, 4> resolutions{};  // dots per inch, highest first
    int printer_family = 0;       // 1..10; 0 for an unknown family letter
    int colour_planes = 0;        // 1 or 3
    int option24_limit = 0;       // 0..2
    int raster_mode = 0;          // 0 M, 1 R, 2 C
    int status_word = 0;          // 0 after an output opened, -1 after a failure
};

PrinterPlotterSettings& printer_plotter_settings();

// The printer type table: five characters per type 0..38 (family letter,
// colour planes, mode letter, option-24 limit, "2" when HP-GL/2 capable).
inline constexpr int printer_type_count = 39;
std::string_view printer_type_code(int type);

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

// Start-up's defaults of the hardcopy side: the records above cleared.
void hc_device_description_reset();

// Decoding of the settings keys PRINTER, PLOTTER and HPGL2.
void hc_printer_type_init(int type);
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

// Reads the default Windows printer (once, or again on a re-read request)
// and derives the default page: larger and smaller side in points, a
// landscape page with one inch of margin, one copy, the printer's colours.
// error is 0 or an operating-system error code; the page outputs are then 0.
void hc_printer_defaults(int reread, int& larger, int& smaller, int& width, int& height,
                         int& x_offset, int& y_offset, int& orientation, int& copies,
                         int& colours, int& error);

} // namespace korv
