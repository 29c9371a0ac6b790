#include "grid/grid_search.h"

#include "grid/grid_cells.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace korv {

namespace {

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

void upper_in_place(std::string& s)
{
    for (char& c : s)
        c = ascii_upper(c);
}

} // namespace

int grid_find_field_length(const GridColumn& column)
{
    switch (column.type) {
    case GridCellType::text:
        return column.max_length + 1;
    case GridCellType::integer:
        return 11;
    default:
        return 50;
    }
}

bool grid_column_searched(const GridColumn& column, int flags)
{
    if (column.type == GridCellType::text)
        return true;
    const bool number = column.type == GridCellType::integer || column.type == GridCellType::real ||
                        column.type == GridCellType::double_precision;
    return number && (flags & grid_find_numbers) != 0;
}

namespace {

// The plain search of a text column: the search text is looked for in the
// column's storage at once, and a hit counts when it lies within its
// cell's text.
int find_in_texts(const GridColumn& col, std::string_view search, int first, int last)
{
    if (search.empty())
        return first;
    const std::size_t stride = col.value_size();
    const char* base = col.text_slot(first);
    const char* end = col.text_slot(last) + stride;
    const std::boyer_moore_horspool_searcher searcher(search.begin(), search.end());
    const char* from = base;
    while (from < end) {
        const char* hit = std::search(from, end, searcher);
        if (hit == end)
            return -1;
        const std::size_t offset = static_cast<std::size_t>(hit - base);
        const int row = first + static_cast<int>(offset / stride);
        const std::size_t at = offset % stride;
        const std::size_t length = col.text(row).size();
        if (at + search.size() <= length)
            return row;
        // Past the text's end nothing more of this cell can match.
        from = at >= length ? base + (offset - at) + stride : hit + 1;
    }
    return -1;
}

} // namespace

int grid_find_in_column(const GridModel& grid, int column, std::string_view text, int first, int last,
                        bool case_blind)
{
    const GridColumn& col = grid.columns[static_cast<std::size_t>(column)];
    const std::size_t length = static_cast<std::size_t>(grid_find_field_length(col));
    if (text.size() > length || first > last)
        return -1;
    std::string search(text);
    if (case_blind)
        upper_in_place(search);
    // A search text that ends in a blank can match the padding behind a
    // cell's text; one that does not lies within the text itself.
    const bool needs_padding = !search.empty() && search.back() == ' ';
    if (col.type == GridCellType::text && !case_blind && !needs_padding)
        return find_in_texts(col, search, first, last);
    std::string cell;
    for (int r = first; r <= last; ++r) {
        grid_cell_display_text(grid, column, r, cell);
        if (case_blind)
            upper_in_place(cell);
        if (needs_padding && cell.size() < length)
            cell.append(length - cell.size(), ' ');
        if (cell.find(search) != std::string::npos)
            return r;
    }
    return -1;
}

} // namespace korv
