// Runs the toolkit start-up in a fresh process, as a program does, and
// writes what it set as name=value lines. Arguments: the report file, then
// optionally the settings file to pass (or "-" for none) and a second
// settings file for a second start-up call.
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "core/startup_services.h"
#include "hardcopy/control/device_description.h"

#include <cstdio>
#include <string>

namespace {

std::string trimmed(std::span<const char> text)
{
    return std::string(korv::text_trimmed(korv::text_view(text)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string file = argc > 2 && std::string(argv[2]) != "-" ? argv[2] : "";
    WToolkitStart(file);
    if (argc > 3)
        WToolkitStart(argv[3]);

    using namespace korv;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return 3;
    const ToolkitSettings& s = toolkit_settings();
    FileNameTable& names = file_name_table();
    const PrinterPlotterSettings& p = printer_plotter_settings();
    HardcopyDumpSettings& dump = hardcopy_dump_settings();
    const DisplayInfo& d = display_info();
    const auto line = [out](const char* name, const std::string& value) {
        std::fprintf(out, "%s=%s\n", name, value.c_str());
    };
    const auto number = [&](const char* name, long long value) { line(name, std::to_string(value)); };
    line("settings_file", trimmed(s.settings_file));
    line("install_dir", trimmed(s.install_dir));
    line("char_dir", trimmed(s.char_dir));
    number("lfn_gen", s.lfn_gen);
    number("lfn_ploti", s.lfn_ploti);
    line("path_separator", std::string(1, s.path_separator));
    line("decimal_separator", std::string(1, s.decimal_separator));
    number("decimal_comma", s.decimal_comma);
    line("dump_file", trimmed(names.entry(0)));
    line("charset", trimmed(names.entry(2)));
    line("temp_plot", trimmed(names.entry(3)));
    line("temp_dump", trimmed(names.entry(4)));
    number("report_mode", error_state().report_mode);
    number("last_error", error_state().last_error);
    number("startup_marker", toolkit_state().startup_marker);
    number("undefined_integer", toolkit_state().undefined_integer);
    line("undefined_real", std::to_string(toolkit_state().undefined_real));
    number("editor_buffers", editor_buffer_table().allocated() ? 1 : 0);
    number("beeps", sys_beep_enabled() ? 1 : 0);
    number("printer_type", p.printer_type);
    number("printer_type_given", p.printer_type_given);
    number("plotter_model", p.plotter_model);
    number("hpgl2_model", p.hpgl2_model);
    number("printer_available", hardcopy_device_state().printer_available);
    number("printer_page_larger", hardcopy_device_state().printer_page_larger);
    number("printer_page_smaller", hardcopy_device_state().printer_page_smaller);
    for (int slot : {1, 2, 3, 4, 5, 7, 8, 19, 24, 25})
        number(("dump_slot_" + std::to_string(slot)).c_str(), dump.slot(slot));
    number("screen_width", d.screen_width);
    number("screen_height", d.screen_height);
    number("pixels_per_inch", d.pixels_per_inch);
    number("bits_per_pixel", d.bits_per_pixel);
    number("colour_count", d.colour_count);
    number("palette_class", d.palette_class);
    number("windows_nt", d.windows_nt);
    std::array<char, 260> argument;
    const int count = sys_command_line_argument(1, argument);
    number("argument_count", count);
    line("argument_1", count >= 1 ? trimmed(argument) : "");
    number("argument_0_result", sys_command_line_argument(0, argument));
    line("argument_0", trimmed(argument));
    std::fclose(out);
    return 0;
}
