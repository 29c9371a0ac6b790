// HTML tables of a grid range, one element or text a line, CR LF after
// every line. Cell texts are written as they stand: programs may put markup
// into cells.
#pragma once

#include "grid/grid_csv.h"
#include "grid/grid_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korv {

// Flag bits of WGridSaveHTML.
inline constexpr int grid_html_table_only = 1;
inline constexpr int grid_html_centred = 2;
inline constexpr int grid_html_check_letters = 4;
inline constexpr int grid_html_no_colours = 8;

struct GridHtmlPage {
    std::optional<std::string_view> title;
    int border = 0;
    std::optional<std::int32_t> background; // red + 256 green + 65536 blue
    int flags = 0;
};

std::string grid_html_text(const GridModel& grid, const GridRange& range, const GridHtmlPage& page);

} // namespace korv
