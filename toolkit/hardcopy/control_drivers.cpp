// What each hardcopy driver stores when it is selected: its page, its device
// description and capability string, its default output file.
#include "toolkit/hardcopy/control.h"

namespace korv {

namespace {

constexpr std::string_view page_flags = "00000111111111100010011011110";

// Pen plotters: model 1 until the plotter model is read from the settings.
struct PlotterModel {
    int units_per_inch, x_offset, paper_width, paper_height, pens;
    std::string_view flags;
};

constexpr PlotterModel plotter_model_1 = {1016, 400, 10870, 7480, 4, "00000100000000000010000000010"};

DriverDefaults hpgl_defaults()
{
    const PlotterModel& m = plotter_model_1;
    const float u = static_cast<float>(m.units_per_inch) / 72.0f;
    const int x_offset = static_cast<int>(static_cast<float>(m.x_offset) / u);
    DriverDefaults d;
    d.number = driver_hpgl;
    d.options = {{{3, x_offset},
                  {1, static_cast<int>(static_cast<float>(m.paper_width) / u - static_cast<float>(x_offset))},
                  {2, static_cast<int>(static_cast<float>(m.paper_height) / u)},
                  {4, 0},
                  {5, 1},
                  {12, 80},
                  {18, 1},
                  {19, 0},
                  {21, 4},
                  {25, 0}}};
    d.resolution_x = d.resolution_y = 90;
    d.colour_count = m.pens;
    d.colour_limit = 9;
    d.word_a = 7;
    d.true_colour = 0;
    d.word_f = 0;
    d.print_command_flag = 1;
    d.capability_flags = m.flags;
    d.default_output_name = "radediva.plt";
    return d;
}

// HP-GL/2 in PCL: model 1 (two colours, 300 dpi) until the model is read
// from the settings.
DriverDefaults hpgl2_defaults()
{
    const float u = 1016.0f / 72.0f;
    DriverDefaults d;
    d.number = driver_hpgl2_pcl;
    d.options = {{{3, 0},
                  {1, static_cast<int>(10860.0f / u)},
                  {2, static_cast<int>(7918.0f / u)},
                  {4, 0},
                  {5, 1},
                  {18, 0},
                  {21, 4}}};
    d.resolution_x = d.resolution_y = 300;
    d.colour_count = 2;
    d.colour_limit = 256;
    d.true_colour = 0;
    d.print_command_flag = 1;
    d.capability_flags = "00000100000011100010001001110";
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
        d.options = {{{1, 756}, {2, 540}, {3, 42}, {4, -20}, {5, 1}, {15, 1}, {16, 255}, {22, 0}}};
        d.resolution_x = d.resolution_y = 600;
        d.colour_count = d.colour_limit = 256;
        d.print_command_flag = 1;
        d.capability_flags = page_flags;
        d.default_output_name = "radediva.ps";
        return d;
    case driver_svg:
        d.options = {{{1, 640}, {2, 480}, {3, 0}, {4, 0}, {5, 0}}};
        d.resolution_x = d.resolution_y = 72;
        d.colour_count = d.colour_limit = 256;
        d.capability_flags = page_flags;
        d.default_output_name = "radediva.svg";
        return d;
    case driver_raster_printer: {
        // Printer type 28 (family 7, one colour plane, compression limit 2,
        // four resolutions) until the printer type is read from the settings.
        DriverDefaults r = raster_defaults(n);
        r.options = {{{1, 576}, {2, 432}, {3, 100}, {4, 70}, {5, 1}, {13, 2}, {19, 3}, {20, 0}, {24, 2}}};
        r.colour_count = 2;
        r.colour_limit = 8;
        r.print_command_flag = 1;
        r.capability_flags = "00000111111111110010011011000";
        r.default_output_name = "radediva.prn";
        return r;
    }
    case driver_raster_image: {
        DriverDefaults r = raster_defaults(n);
        r.options = {{{1, 1024}, {2, 768}, {5, 0}, {23, 8}, {26, 3}}};
        r.resolution_x = r.resolution_y = 150;
        r.colour_count = r.colour_limit = 256;
        r.capability_flags = "00000111111111110010011111000";
        r.default_output_name = "radediva.png";
        return r;
    }
    case driver_dxf:
        d.options = {{{1, 756}, {2, 540}, {3, 0}, {4, 0}, {5, 0}, {12, 80}, {23, 8}}};
        d.resolution_x = d.resolution_y = 90;
        d.colour_count = d.colour_limit = 255;
        d.real_value = 0.222f;
        d.capability_flags = "00000100000011000010000000010";
        d.default_output_name = "radediva.dxf";
        return d;
    case driver_cgm:
        d.options = {{{1, 756}, {2, 540}, {3, 0}, {4, 0}, {5, 0}, {28, 2}}};
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
        d.options = {{{1, 756}, {2, 540}, {27, 2}, {29, 0}, {30, 0}}};
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
