// What each hardcopy driver stores when it is selected: its page, its device
// description and capability string, its default output file.
#include "hardcopy/control/control.h"

#include <algorithm>
#include <array>

#include "korvanthide/printer.h"

namespace korv {

namespace {

constexpr std::string_view page_flags = "00000111111111100010011011110";

// Pen plotter models 1..10, lengths in plotter units.
struct PlotterModel {
    int units_per_inch, x_offset, paper_width, paper_height, pens;
    char class_letter;
};

constexpr std::array<PlotterModel, 10> plotter_models = {{
    {1016, 400, 10870, 7480, 4, 'U'},
    {1021, 400, 11040, 7721, 6, 'H'},
    {1021, 400, 16158, 11040, 6, 'H'},
    {1016, 400, 10900, 7650, 4, 'E'},
    {1016, 400, 10880, 7640, 6, 'F'},
    {1016, 0, 10880, 7640, 8, 'H'},
    {1016, 0, 10869, 7600, 8, 'H'},
    {1016, 0, 15970, 10870, 8, 'H'},
    {1016, 400, 10960, 7480, 6, 'F'},
    {1016, 400, 15880, 10960, 6, 'F'},
}};

// Capability strings of the plotter classes U, E, F and H.
std::string_view plotter_class_flags(char letter)
{
    switch (letter) {
    case 'U': return "00000100000000000010000000010";
    case 'E': return "00000100000000000010000000000";
    case 'F': return "00000100000010000010000000010";
    default: return "00000100000011100010001001010";
    }
}

// A model number outside the tables (no settings read yet) is the first model.
int model_index(int model, int count) { return model >= 1 && model <= count ? model - 1 : 0; }

DriverDefaults hpgl_defaults()
{
    const PlotterModel& m =
        plotter_models[static_cast<std::size_t>(model_index(printer_plotter_settings().plotter_model, 10))];
    const float u = static_cast<float>(m.units_per_inch) / 72.0f;
    const int x_offset = static_cast<int>(static_cast<float>(m.x_offset) / u);
    const int page_width = static_cast<int>(static_cast<float>(m.paper_width) / u - static_cast<float>(x_offset));
    DriverDefaults d;
    d.number = driver_hpgl;
    d.options = {{{option_x_offset, x_offset},
                  {option_page_width, page_width},
                  {option_page_height, static_cast<int>(static_cast<float>(m.paper_height) / u)},
                  {option_y_offset, 0},
                  {option_orientation, 1},
                  {option_hatch_spacing, 80},
                  {option_hpgl_annotation, 1},
                  {option_device_on_off, 0},
                  {option_label_terminator, 4},
                  {option_plotter_fills, 0}}};
    d.resolution_x = d.resolution_y = 90;
    d.colour_count = m.pens;
    d.colour_limit = 9;
    d.word_a = 7;
    d.true_colour = 0;
    d.word_f = 0;
    d.print_command_flag = 1;
    d.capability_flags = plotter_class_flags(m.class_letter);
    d.default_output_name = "radediva.plt";
    return d;
}

// HP-GL/2 device models 1..5, lengths in plotter units of 1016 per inch.
struct Hpgl2Model {
    int colours, paper_width, paper_height, dpi;
};

constexpr std::array<Hpgl2Model, 5> hpgl2_models = {{
    {2, 10860, 7918, 300},
    {256, 10860, 7918, 300},
    {2, 10860, 7918, 600},
    {256, 15836, 10860, 600},
    {256, 10860, 7918, 600},
}};

DriverDefaults hpgl2_defaults()
{
    const Hpgl2Model& m =
        hpgl2_models[static_cast<std::size_t>(model_index(printer_plotter_settings().hpgl2_model, 5))];
    const float u = 1016.0f / 72.0f;
    DriverDefaults d;
    d.number = driver_hpgl2_pcl;
    d.options = {{{option_x_offset, 0},
                  {option_page_width, static_cast<int>(static_cast<float>(m.paper_width) / u)},
                  {option_page_height, static_cast<int>(static_cast<float>(m.paper_height) / u)},
                  {option_y_offset, 0},
                  {option_orientation, 1},
                  {option_hpgl_annotation, 0},
                  {option_label_terminator, 4}}};
    d.resolution_x = d.resolution_y = m.dpi;
    d.colour_count = m.colours;
    d.colour_limit = 256;
    d.true_colour = 0;
    d.print_command_flag = 1;
    d.capability_flags = m.colours == 2 ? "00000100000011100010001001110" : "00000100011111100010011011110";
    d.default_output_name = "radediva.plt";
    return d;
}

// The two raster drivers start from the raster device's description.
DriverDefaults raster_defaults(int number)
{
    DriverDefaults d;
    d.number = number;
    d.real_value = 0.0f;
    d.word_a = 0;
    d.word_b = 0;
    d.shading = 1;
    d.word_f = 0;
    d.word_h = 1;
    return d;
}

} // namespace

std::optional<DriverDefaults> hc_driver_defaults(int n)
{
    DriverDefaults d;
    d.number = n;
    switch (n) {
    case driver_hpgl:
        return hpgl_defaults();
    case driver_hpgl2_pcl:
        return hpgl2_defaults();
    case driver_postscript:
        d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 42},
                      {option_y_offset, -20}, {option_orientation, 1}, {option_postscript_end_of_job, 1},
                      {option_postscript_path_points, 255}, {option_encapsulated, 0}}};
        d.resolution_x = d.resolution_y = 600;
        d.colour_count = d.colour_limit = 256;
        d.print_command_flag = 1;
        d.capability_flags = page_flags;
        d.default_output_name = "radediva.ps";
        return d;
    case driver_svg:
        d.options = {{{option_page_width, 640}, {option_page_height, 480}, {option_x_offset, 0},
                      {option_y_offset, 0}, {option_orientation, 0}}};
        d.resolution_x = d.resolution_y = 72;
        d.colour_count = d.colour_limit = 256;
        d.capability_flags = page_flags;
        d.default_output_name = "radediva.svg";
        return d;
    case driver_raster_printer: {
        const PrinterPlotterSettings& printer = printer_plotter_settings();
        const bool page_printer = printer.printer_family > 5;
        const int resolution = std::min(printer.resolution_count, 2);
        DriverDefaults r = raster_defaults(n);
        r.options = {{{option_page_width, 576},
                      {option_page_height, 432},
                      {option_x_offset, page_printer ? 100 : 0},
                      {option_y_offset, page_printer ? 70 : 0},
                      {option_orientation, page_printer ? 1 : 0},
                      {option_raster_resolution, resolution},
                      {option_device_on_off, 3},
                      {option_page_start_command, 0},
                      {option_compression, std::min(printer.option24_limit, 2)}}};
        r.raster_index = resolution;
        r.colour_count = 1 << std::clamp(printer.colour_planes, 0, 8);
        r.colour_limit = 8;
        r.print_command_flag = 1;
        r.capability_flags = "00000111111111110010011011000";
        r.default_output_name = "radediva.prn";
        return r;
    }
    case driver_raster_image: {
        DriverDefaults r = raster_defaults(n);
        r.options = {{{option_page_width, 1024}, {option_page_height, 768}, {option_orientation, 0},
                      {option_colour_depth, 8}, {option_image_file_type, 3}}};
        r.resolution_x = r.resolution_y = 150;
        r.colour_count = r.colour_limit = 256;
        r.capability_flags = "00000111111111110010011111000";
        r.default_output_name = "radediva.png";
        return r;
    }
    case driver_dxf:
        d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 0},
                      {option_y_offset, 0}, {option_orientation, 0}, {option_hatch_spacing, 80},
                      {option_colour_depth, 8}}};
        d.resolution_x = d.resolution_y = 90;
        d.colour_count = d.colour_limit = 255;
        d.real_value = 0.222f;
        d.capability_flags = "00000100000011000010000000010";
        d.default_output_name = "radediva.dxf";
        return d;
    case driver_cgm:
        d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 0},
                      {option_y_offset, 0}, {option_orientation, 0}, {option_cgm_font_set, 2}}};
        d.resolution_x = d.resolution_y = 600;
        d.colour_count = d.colour_limit = 256;
        d.shading = 2;
        d.word_g = d.word_h = 1;
        d.capability_flags = "00000110111111100010011011100";
        d.default_output_name = "radediva.cgm";
        return d;
    case driver_windows_printer:
        d.colour_limit = 256;
        d.word_g = d.word_h = 1;
        d.capability_flags = page_flags;
        d.reads_printer = true;
        d.platform_words = true;
        return d;
    case driver_windows_metafile:
        d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_metafile_type, 2},
                      {option_metafile_system_dashes, 0}, {option_metafile_geometric_pens, 0}}};
        d.resolution_x = d.resolution_y = 600;
        d.colour_count = d.colour_limit = 256;
        d.word_g = d.word_h = 1;
        d.capability_flags = page_flags;
        d.platform_words = true;
        return d;
    default:
        return std::nullopt;
    }
}

} // namespace korv
