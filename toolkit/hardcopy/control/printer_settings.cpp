#include "hardcopy/control/printer_settings.h"

#include "korvanthide/fixed_text.h"

#include <algorithm>

namespace korv {

namespace {

std::string_view skip_blanks(std::string_view text)
{
    const auto at = text.find_first_not_of(' ');
    return at == std::string_view::npos ? std::string_view{} : text.substr(at);
}

} // namespace

bool parse_device_profile(std::string_view value, PrinterNames& names)
{
    const auto first = value.find(',');
    if (first == std::string_view::npos)
        return false;
    const std::string_view rest = skip_blanks(value.substr(first + 1));
    const auto second = rest.find(',');
    if (second == std::string_view::npos)
        return false;
    const std::string_view device = value.substr(0, first);
    if (text_trimmed(device).empty())
        return false;
    names.device = std::string(device);
    names.driver = std::string(rest.substr(0, second));
    names.port = std::string(skip_blanks(rest.substr(second + 1)));
    return true;
}

bool store_printer_names(const PrinterNames& names, PrinterSelection& selection)
{
    if (names.driver.size() >= selection.driver.size() ||
        names.device.size() >= selection.device.size() ||
        names.port.size() >= selection.port.size())
        return false;
    text_copy_terminated(selection.driver.data(), selection.driver.size(), names.driver);
    text_copy_terminated(selection.device.data(), selection.device.size(), names.device);
    text_copy_terminated(selection.port.data(), selection.port.size(), names.port);
    return true;
}

int paper_side_points(int size, int unit_flags)
{
    const float per_unit = (unit_flags & 4) != 0 ? 1000.0f : 2540.0f;
    return static_cast<int>(static_cast<float>(size) * 72.0f / per_unit + 0.5f);
}

PrinterDefaults printer_page_defaults(int width, int height, int colours)
{
    PrinterDefaults page;
    page.larger = std::max(width, height);
    page.smaller = std::min(width, height);
    page.width = page.larger - 144;
    page.height = page.smaller - 144;
    page.x_offset = 72;
    page.y_offset = 72;
    page.orientation = 1;
    page.copies = 1;
    page.colours = colours;
    return page;
}

} // namespace korv
