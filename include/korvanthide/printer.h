// The hardcopy device description read at start-up, which the raster,
// HP-GL and HP-GL/2 drivers read: which raster printer, plotter and HP-GL/2
// model the settings file names.
#pragma once

#include <array>

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

// Decodes a raster printer type (the settings key PRINTER) into the
// family, colour planes, mode and resolutions above.
void hc_printer_type_init(int type);

} // namespace korv
