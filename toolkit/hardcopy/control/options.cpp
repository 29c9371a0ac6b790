// Setting the numbered hardcopy options, each with its range check.
#include <algorithm>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "hardcopy/control/hardcopy_state.h"

namespace korv {

namespace {

bool within(int value, int low, int high) { return value >= low && value <= high; }

// Replaces the extension of the default output file name: from its last "."
// that follows the last path separator, else from just after the name.
void default_name_extension_set(std::string_view extension)
{
    auto& name = hardcopy_state().default_output_name;
    const std::string_view whole(name.data(), name.size());
    const std::string_view used = text_trimmed(whole);
    if (used.empty())
        return;
    std::size_t start = used.size();
    const std::size_t dot = used.rfind('.');
    const char separator = toolkit_settings().path_separator;
    const std::size_t last_separator = separator == ' ' ? std::string_view::npos : used.rfind(separator);
    if (dot != std::string_view::npos && (last_separator == std::string_view::npos || dot > last_separator))
        start = dot;
    text_assign(std::span<char>(name).subspan(start), extension);
}

// Options 101..110 are kept values that no driver reads; some take only
// positive values, the fifth only 1..4.
void kept_option_set(int n, int value, int& option)
{
    switch (n - option_kept_first + 1) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 8:
        if (value > 0)
            option = value;
        return;
    case 5:
        if (within(value, 1, 4))
            option = value;
        return;
    default:
        option = value;
        return;
    }
}

} // namespace

void hc_set_option(int n, int value)
{
    HardcopyState& hc = hardcopy_state();
    int* option = hc.options.find(n);
    if (option == nullptr)
        return;
    HardcopyOptions& o = hc.options;
    const PrinterPlotterSettings& printer = printer_plotter_settings();
    if (n >= option_kept_first) {
        kept_option_set(n, value, *option);
        return;
    }
    switch (n) {
    case option_page_width:
    case option_page_height:
        if (value <= 0)
            return;
        *option = value;
        gr_page_aspect();
        return;
    case option_orientation: {
        if (!within(value, 0, 3))
            return;
        *option = value % 2;
        int& width = *o.find(option_page_width);
        int& height = *o.find(option_page_height);
        const int smaller = std::min(width, height);
        const int larger = std::max(width, height);
        if (value == 2) {
            width = smaller;
            height = larger;
        } else if (value == 3) {
            width = larger;
            height = smaller;
        }
        return;
    }
    case option_colour_inversion:
        if (within(value, 0, 2))
            *option = value;
        return;
    case option_copies:
        *option = value <= 0 ? 1 : value;
        return;
    case option_line_width:
        *option = value <= 0 ? 1 : value;
        gr_send_hardcopy(DeviceOperation::LineWidth);
        return;
    case option_line_join:
    case option_line_cap:
        if (!within(value, 0, 2))
            return;
        *option = value;
        gr_send_hardcopy(n == option_line_join ? DeviceOperation::LineJoin : DeviceOperation::LineCap);
        return;
    case option_hatch_spacing:
        *option = std::max(value, 100);
        return;
    case option_raster_resolution:
        if (!within(value, 1, printer.resolution_count))
            return;
        *option = value;
        hc.raster_resolution_index = value;
        return;
    case option_unused:
        return;
    case option_postscript_path_points:
        if (within(value, 10, 255))
            *option = value;
        return;
    case option_label_terminator:
        if (within(value, 1, 127))
            *option = value;
        return;
    case option_encapsulated:
        *option = value;
        if (hc.driver_record == driver_postscript)
            default_name_extension_set(value != 0 ? ".eps" : ".ps");
        return;
    case option_colour_depth: {
        bool accepted = false;
        if (hc.driver_record == driver_raster_image)
            accepted = value == 1 || value == 4 || value == 8 || value == 24;
        else if (hc.driver_record == driver_dxf)
            accepted = value == 3 || value == 4 || value == 8 || value == 24;
        if (accepted)
            *option = value;
        return;
    }
    case option_compression:
        if (within(value, 0, printer.option24_limit))
            *option = value;
        return;
    case option_image_file_type:
        *option = value;
        if (hc.driver_record == driver_raster_image)
            default_name_extension_set(value == 1 || value == 2 ? ".bmp" : value == 3 ? ".png" : ".pcx");
        return;
    default:
        *option = value;
        return;
    }
}

} // namespace korv
