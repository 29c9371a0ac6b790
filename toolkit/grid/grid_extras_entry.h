// The text of one [Grids] line of a dialog's extras block, after the
// grid's field identifier: "columns rows template", then, for a grid with
// row headings, a line with the row-heading width and one line per row
// with that row's heading (unless the grid's style says the entry has no
// row texts).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

struct GridsEntry {
    int columns = 0;
    int rows = 0;
    int template_dialog = 0;
    bool has_heading_width = false;
    int heading_width = 0; // dialog units
    std::size_t heading_line = 0; // where the width line's number starts
    // One text per row line read, at most 50 characters; rows without a
    // line keep an empty heading.
    std::vector<std::string> row_texts;
    // Characters of the text the entry used. The extras reader goes on to
    // the line after the one this points into.
    std::size_t consumed = 0;

    // Sizes the grid can hold: 0..262,143 rows, 1..8,191 columns.
    bool sizes_valid() const;
};

// Reads the entry for a grid of the given window style.
GridsEntry grid_read_extras_entry(std::string_view text, int style);

// The row-heading lines that follow the width line, text starting on that
// line: one text per row line read (at most rows), and the characters used
// up to the end of the last line read (the width line's end without rows).
struct GridRowLines {
    std::vector<std::string> texts;
    std::size_t consumed = 0;
};
GridRowLines grid_read_row_lines(std::string_view text, int rows, int style);

} // namespace korv
