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

// Writes the text as one line (CR LF after it) of the file being written,
// while the status is 0; a failed write sets it, and nothing more is
// written once it is set.
void grid_html_write_line(std::string& file, std::string_view text, int& status);

std::string grid_html_text(const GridModel& grid, const GridRange& range, const GridHtmlPage& page);

} // namespace korv
