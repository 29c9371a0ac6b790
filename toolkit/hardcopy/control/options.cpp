// Setting the numbered hardcopy options, each with its range check.
#include <algorithm>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "toolkit/core/services/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"

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

} // namespace

void hc_set_option(int n, int value)
{
    HardcopyState& hc = hardcopy_state();
    int* option = hc.options.find(n);
    if (option == nullptr)
        return;
    HardcopyOptions& o = hc.options;
    const PrinterPlotterSettings& printer = printer_plotter_settings();
    switch (n) {
    case 1:
    case 2:
        if (value <= 0)
            return;
        *option = value;
        gr_page_aspect();
        return;
    case 5: {
        if (!within(value, 0, 3))
            return;
        *option = value % 2;
        int& width = *o.find(1);
        int& height = *o.find(2);
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
    case 6:
        if (within(value, 0, 2))
            *option = value;
        return;
    case 8:
        *option = value <= 0 ? 1 : value;
        return;
    case 9:
        *option = value <= 0 ? 1 : value;
        gr_send_hardcopy(DeviceOperation::LineWidth);
        return;
    case 10:
    case 11:
        if (!within(value, 0, 2))
            return;
        *option = value;
        gr_send_hardcopy(n == 10 ? DeviceOperation::LineJoin : DeviceOperation::LineCap);
        return;
    case 12:
        *option = std::max(value, 100);
        return;
    case 13:
        if (!within(value, 1, printer.resolution_count))
            return;
        *option = value;
        hc.raster_resolution_index = value;
        return;
    case 14:
        return;
    case 16:
        if (within(value, 10, 255))
            *option = value;
        return;
    case 21:
        if (within(value, 1, 127))
            *option = value;
        return;
    case 22:
        *option = value;
        if (hc.driver_record == driver_postscript)
            default_name_extension_set(value != 0 ? ".eps" : ".ps");
        return;
    case 23: {
        bool accepted = false;
        if (hc.driver_record == driver_raster_image)
            accepted = value == 1 || value == 4 || value == 8 || value == 24;
        else if (hc.driver_record == driver_dxf)
            accepted = value == 3 || value == 4 || value == 8 || value == 24;
        if (accepted)
            *option = value;
        return;
    }
    case 24:
        if (within(value, 0, printer.option24_limit))
            *option = value;
        return;
    case 26:
        *option = value;
        if (hc.driver_record == driver_raster_image)
            default_name_extension_set(value == 1 || value == 2 ? ".bmp" : value == 3 ? ".png" : ".pcx");
        return;
    case 101:
    case 102:
    case 103:
    case 104:
    case 108:
        if (value > 0)
            *option = value;
        return;
    case 105:
        if (within(value, 1, 4))
            *option = value;
        return;
    default:
        *option = value;
        return;
    }
}

} // namespace korv
