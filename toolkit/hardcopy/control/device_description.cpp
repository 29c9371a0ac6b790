// The hardcopy device description: the printer type table and the decoding
// of the settings file's PRINTER, PLOTTER and HPGL2 values, and the screen
// dump defaults that start-up sets.
#include "hardcopy/control/device_description.h"

#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "core/context.h"
#include "hardcopy/control/printer_settings.h"

#include <string_view>

namespace korv {

namespace {

constexpr std::string_view family_letters = "MFSXQ2LDP345";

struct Family {
    std::array<int, 4> resolutions;
    int count;
    int pass_advance;  // 0: the earlier value stays
    int rows_per_pass;
};

// By family number 1..10; families 11 and 12 are stored as 7 and 8 and use
// their own resolutions.
constexpr std::array<Family, 12> families = {{
    {{240, 120, 60, 0}, 3, 23, 8},     // M
    {{240, 120, 90, 80}, 4, 23, 8},    // F
    {{160, 80, 0, 0}, 2, 22, 8},       // S
    {{360, 180, 120, 60}, 4, 29, 24},  // X
    {{360, 180, 120, 90}, 4, 24, 24},  // Q
    {{720, 360, 180, 0}, 3, 0, 1},     // 2
    {{300, 150, 100, 75}, 4, 0, 1},    // L
    {{300, 150, 100, 75}, 4, 0, 1},    // D
    {{180, 90, 0, 0}, 2, 0, 1},        // P
    {{300, 150, 100, 75}, 4, 0, 1},    // 3
    {{600, 300, 200, 150}, 4, 0, 1},   // 4
    {{300, 150, 75, 0}, 3, 0, 1},      // 5
}};

int position_in(std::string_view set, char c)
{
    const auto at = set.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

} // namespace

PrinterPlotterSettings& printer_plotter_settings()
{
    return toolkit_context().record<PrinterPlotterSettings>(ContextSlot::printer_plotter);
}

HardcopyDumpSettings& hardcopy_dump_settings()
{
    return toolkit_context().record<HardcopyDumpSettings>(ContextSlot::dump_settings);
}

HardcopyDeviceState& hardcopy_device_state()
{
    return toolkit_context().record<HardcopyDeviceState>(ContextSlot::hardcopy_device);
}

WindowsPrinterSettings& windows_printer_settings()
{
    return toolkit_context().record<WindowsPrinterSettings>(ContextSlot::windows_printer);
}

void hc_device_description_reset()
{
    printer_plotter_settings() = {};
    hardcopy_dump_settings() = {};
    hardcopy_device_state() = {};
    windows_printer_settings().reread_request = 0;
}

void hc_printer_type_init(int type)
{
    auto& s = printer_plotter_settings();
    if (type >= 2 && type <= 38 && type != 27) {
        s.printer_type = type;
        s.printer_type_given = 1;
    } else {
        s.printer_type = 28;
    }
    const std::string_view code = PrinterTypeTable[static_cast<std::size_t>(s.printer_type)];

    const int family = position_in(family_letters, code[0]);
    s.colour_planes = code[1] - '0';
    s.raster_mode = position_in("RC", code[2]);
    s.option24_limit = code[3] - '0';
    if (code[4] == '2' && s.hpgl2_model_given == 0)
        hc_hpgl2_mode_init(0);

    if (family == 0) {
        s.printer_family = 0;
        s.pass_advance = 23;
        s.rows_per_pass = 8;
        return;
    }
    const Family& f = families[static_cast<std::size_t>(family - 1)];
    s.printer_family = family == 11 ? 7 : family == 12 ? 8 : family;
    if (f.pass_advance != 0)
        s.pass_advance = f.pass_advance;
    s.rows_per_pass = f.rows_per_pass;
    s.resolution_count = f.count;
    for (int i = 0; i < f.count; ++i)
        s.resolutions[static_cast<std::size_t>(i)] = f.resolutions[static_cast<std::size_t>(i)];
}

void hc_plotter_init(int model)
{
    auto& s = printer_plotter_settings();
    if (model >= 1 && model <= 10) {
        s.plotter_model = model;
        s.plotter_model_given = 1;
    } else if (model >= 11 && model <= 15) {
        s.plotter_model = 1;
        s.hpgl2_model = model - 10;
        s.hpgl2_model_given = 1;
    } else {
        s.plotter_model = 1;
    }
}

void hc_hpgl2_mode_init(int mode)
{
    auto& s = printer_plotter_settings();
    if (mode >= 1 && mode <= 5) {
        s.hpgl2_model = mode;
        s.hpgl2_model_given = 1;
        return;
    }
    switch (s.printer_type) {
    case 32:
    case 35: s.hpgl2_model = 2; break;
    case 29: s.hpgl2_model = 3; break;
    case 38: s.hpgl2_model = 5; break;
    default: s.hpgl2_model = 1; break;
    }
}

void hc_settings_decode()
{
    auto& s = printer_plotter_settings();
    s.hpgl2_model = 0;
    s.printer_type_given = 0;
    hc_printer_type_init(s.printer_value);
    hc_plotter_init(s.plotter_value);
    // A model that PLOTTER 11..15 or the printer type already chose stands
    // unless HPGL2 names one.
    if (s.hpgl2_value != 0 || s.hpgl2_model == 0)
        hc_hpgl2_mode_init(s.hpgl2_value);
}

void hc_hardcopy_defaults_apply(int device, const PrinterDefaults& printer)
{
    auto& dump = hardcopy_dump_settings();
    if (device == 2) {
        dump.slot(25) = 2;
        dump.slot(1) = 756;
        dump.slot(2) = 540;
        dump.slot(3) = 42;
        dump.slot(4) = -20;
        dump.slot(5) = 1;
        dump.slot(8) = 1;
        dump.slot(22) = 0;
        text_assign(file_name_table().entry(0), "korvdump.ps");
    } else {
        dump.slot(25) = 10;
        dump.slot(1) = printer.width;
        dump.slot(2) = printer.height;
        dump.slot(3) = printer.x_offset;
        dump.slot(4) = printer.y_offset;
        dump.slot(5) = printer.orientation;
        dump.slot(8) = printer.copies;
        auto& device_state = hardcopy_device_state();
        device_state.printer_page_larger = printer.larger;
        device_state.printer_page_smaller = printer.smaller;
        device_state.printer_available = printer.error == 0 ? 1 : 0;
    }
    dump.slot(6) = 0;
    dump.slot(7) = 1;
    dump.slot(13) = 0;
    dump.slot(19) = 3;
    dump.slot(20) = 0;
    const int limit = printer_plotter_settings().option24_limit;
    dump.slot(24) = limit < 2 ? limit : 2;
}

} // namespace korv
