#include "grid/grid_clipboard_text.h"

#include "grid/grid_cells.h"

#include <korvanthide/conversions.h>

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool starts_with_nocase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (ascii_upper(text[i]) != ascii_upper(prefix[i]))
            return false;
    return true;
}

bool equal_nocase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && starts_with_nocase(a, b);
}

// Where the value starting at pos ends: a TAB, a CR followed by LF, or the
// end of the text.
std::size_t value_end(std::string_view text, std::size_t pos)
{
    for (; pos < text.size(); ++pos) {
        if (text[pos] == '\t')
            return pos;
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
            return pos;
    }
    return pos;
}

bool paste_number(GridModel& grid, int column, int row, std::string value)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    if (c.type != GridCellType::double_precision)
        std::replace_if(value.begin(), value.end(), [](char ch) { return ch == 'D' || ch == 'd'; }, 'E');
    if (c.type == GridCellType::integer) {
        if (value.find_first_of("Ee") != std::string::npos)
            return false;
        value = value.substr(0, value.find('.'));
    }
    double number = 0;
    int valid = 0;
    conv_double_text_valid(number, valid, value);
    int status = 0;
    if (valid)
        grid_value_in_column_range(status, grid, column, number);
    if (!valid || status != 0)
        return false;
    switch (c.type) {
    case GridCellType::integer:
        c.set_int(row, static_cast<std::int32_t>(std::trunc(number)));
        break;
    case GridCellType::real:
        c.set_real(row, static_cast<float>(number));
        break;
    default:
        c.set_double(row, number);
        break;
    }
    c.flags(row) |= grid_cell_holds_value | grid_cell_held_value;
    return true;
}

} // namespace

std::string grid_block_text(const GridModel& grid, const GridBlock& block)
{
    std::string out;
    std::string cell;
    for (int r = block.first_row; r <= block.last_row; ++r) {
        for (int c = block.first_column; c <= block.last_column; ++c) {
            if (c > block.first_column)
                out += '\t';
            grid_cell_display_text(grid, c, r, cell);
            out += cell;
        }
        out += "\r\n";
    }
    return out;
}

int grid_clipboard_text_kind(std::string_view text)
{
    return text.find('\t') != std::string_view::npos || text.find("\r\n") != std::string_view::npos ? 2 : 1;
}

void grid_clipboard_block_size(std::string_view text, int& rows, int& columns)
{
    rows = 1;
    columns = 1;
    int values = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') {
            columns = std::max(columns, ++values);
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            values = 1;
            if (i + 1 < text.size())
                ++rows;
        }
    }
}

bool grid_selection_writable(const GridModel& grid)
{
    const GridBlock& b = grid.selection;
    if (grid.read_only() || b.empty())
        return false;
    for (int c = b.first_column; c <= b.last_column; ++c)
        for (int r = b.first_row; r <= b.last_row; ++r)
            if (grid.columns[static_cast<std::size_t>(c)].flags(r) & grid_cell_protected)
                return false;
    return true;
}

bool grid_paste_allowed(const GridModel& grid, std::string_view text)
{
    if (grid.read_only())
        return false;
    int rows = 1, columns = 1;
    grid_clipboard_block_size(text, rows, columns);
    const int last_column = std::min(grid.current_column + columns, grid.column_count()) - 1;
    const int last_row = std::min(grid.current_row + rows, grid.rows_in_use) - 1;
    for (int c = grid.current_column; c <= last_column; ++c)
        for (int r = grid.current_row; r <= last_row; ++r)
            if (grid.columns[static_cast<std::size_t>(c)].flags(r) & grid_cell_protected)
                return false;
    return true;
}

bool grid_paste_value(GridModel& grid, int column, int row, std::string_view value)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    value = value.substr(0, grid_paste_value_limit);
    switch (c.type) {
    case GridCellType::text:
        c.set_text(row, value);
        break;
    case GridCellType::integer:
    case GridCellType::real:
    case GridCellType::double_precision:
        if (!paste_number(grid, column, row, std::string(value)))
            return false;
        break;
    case GridCellType::check_box:
        c.set_int(row, equal_nocase(value, "Yes") ? 1 : 0);
        break;
    case GridCellType::menu: {
        const auto it = std::find_if(c.items.begin(), c.items.end(),
                                     [value](const std::string& item) { return starts_with_nocase(item, value); });
        if (it == c.items.end())
            return false;
        c.set_int(row, static_cast<std::int32_t>(it - c.items.begin()));
        break;
    }
    }
    grid.cell_changed(column, row);
    return true;
}

GridBlock grid_paste_text(GridModel& grid, std::string_view text)
{
    grid.clear_selection();
    const int c0 = grid.current_column, r0 = grid.current_row;
    int column = c0, row = r0;
    GridBlock reached;
    std::size_t pos = 0;
    while (pos < text.size() && !(row >= grid.rows_in_use && column >= grid.column_count())) {
        const std::size_t end = value_end(text, pos);
        if (row < grid.rows_in_use && column < grid.column_count()) {
            grid_paste_value(grid, column, row, text.substr(pos, end - pos));
            reached.first_column = c0;
            reached.first_row = r0;
            reached.last_column = std::max(reached.last_column, column);
            reached.last_row = std::max(reached.last_row, row);
        }
        if (end >= text.size())
            break;
        if (text[end] == '\t') {
            ++column;
            pos = end + 1;
        } else {
            ++row;
            column = c0;
            pos = end + 2;
        }
    }
    grid.mark_modified();
    return reached;
}

GridBlock grid_clear_block_cells(GridModel& grid)
{
    const GridBlock b = grid.selection;
    if (b.empty())
        return b;
    for (int c = b.first_column; c <= b.last_column; ++c) {
        GridColumn& col = grid.columns[static_cast<std::size_t>(c)];
        for (int r = b.first_row; r <= b.last_row; ++r) {
            col.zero(r);
            col.flags(r) &= static_cast<std::uint8_t>(~grid_cell_holds_value);
        }
    }
    grid.clear_selection();
    grid.cells_changed();
    grid.mark_modified();
    return b;
}

} // namespace korv
