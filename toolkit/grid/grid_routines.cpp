#include "grid/grid_routines.h"

#include "grid/grid_cells.h"
#include "korvanthide/error_numbers.h"

#include <korvanthide/conversions.h>
#include <korvanthide/errors.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace korv {

GridDirectory& grid_directory()
{
    static GridDirectory directory;
    return directory;
}

GridModel* grid_lookup(int id, std::string_view routine)
{
    const GridDirectory& d = grid_directory();
    if (id != 0 && !(d.dialog_current && d.dialog_current())) {
        err_report(err::no_dialog, routine);
        return nullptr;
    }
    GridModel* grid = d.find ? d.find(id) : nullptr;
    if (!grid)
        err_report(err::field_id, routine);
    return grid;
}

bool grid_query(int id, int code, int& value)
{
    const GridDirectory& d = grid_directory();
    if ((id == -2 || (id == 0 && code == 14)) && d.editor_query)
        return d.editor_query(id, code, value);
    GridModel* grid = d.find ? d.find(id) : nullptr;
    if (!grid)
        return false;
    const GridBlock& b = grid->selection;
    switch (code) {
    case 1: value = grid->column_count(); break;
    case 2: value = grid->rows_created; break;
    case 3: value = grid->rows_in_use; break;
    case 4: value = grid->current_column + 1; break;
    case 5: value = grid->current_row + 1; break;
    case 6: value = 1 - grid->modified_1; break;
    case 7: value = grid->modified_2; break;
    case 8: value = grid->first_visible_column + 1; break;
    case 9: value = grid->top_row + 1; break;
    case 10: value = b.empty() ? 0 : b.first_column + 1; break;
    case 11: value = b.empty() ? 0 : b.first_row + 1; break;
    case 12: value = b.empty() ? 0 : b.last_column + 1; break;
    case 13: value = b.empty() ? 0 : b.last_row + 1; break;
    case 14: value = 0; break;
    case 15: value = grid->rows_shown; break;
    case 16: value = grid->declared_columns; break;
    default: break;
    }
    return true;
}

} // namespace korv

using namespace korv;

namespace {

bool flag_set(std::optional<int> flag) { return flag && *flag == 1; }

bool is_number_column(const GridColumn& c)
{
    return c.type == GridCellType::integer || c.type == GridCellType::real ||
           c.type == GridCellType::double_precision;
}

// Row d takes row s's value, value flags and protection; colours stay.
void move_row(GridModel& grid, int s, int d)
{
    for (GridColumn& c : grid.columns) {
        c.copy_value(s, d);
        if (is_number_column(c))
            c.flags(d) = c.flags(s);
        else
            c.flags(d) = static_cast<std::uint8_t>((c.flags(d) & ~grid_cell_protected) |
                                                   (c.flags(s) & grid_cell_protected));
    }
}

void empty_row(GridModel& grid, int row, bool headings)
{
    for (int c = 0; c < grid.column_count(); ++c) {
        if (grid.columns[static_cast<std::size_t>(c)].type == GridCellType::menu)
            grid.columns[static_cast<std::size_t>(c)].set_int(row, 0);
        else
            grid_cell_clear(grid, c, row, grid_clear_keep_menus);
    }
    if (headings)
        grid.set_row_heading(row, "");
}

std::string trimmed(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The checks every number put makes; the column or nullptr after a report.
GridModel* number_target(int id, int column, int row, std::string_view routine)
{
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return nullptr;
    if (column < 1 || column > grid->column_count() || row < 1 || row > grid->rows_in_use) {
        err_report(err::cell_range, routine);
        return nullptr;
    }
    const GridCellType type = grid->columns[static_cast<std::size_t>(column - 1)].type;
    if (type == GridCellType::check_box || type == GridCellType::menu) {
        err_report(err::grid_column_type, routine);
        return nullptr;
    }
    return grid;
}

void put_number(GridModel& grid, int column, int row, double value, const std::string& display,
                const std::string& format, std::string_view routine)
{
    if (grid_value_check(grid, column - 1, value) != 0) {
        err_report(err::value_out_of_range, routine);
        return;
    }
    grid_cell_put_value(grid, column - 1, row - 1, value, display, format);
}

void put_real(int id, int column, int row, double value, bool single, std::optional<std::string_view> format,
              std::string_view routine)
{
    GridModel* grid = number_target(id, column, row, routine);
    if (!grid)
        return;
    const GridColumn& c = grid->columns[static_cast<std::size_t>(column - 1)];
    std::string form = format ? trimmed(format->substr(0, 50)) : std::string();
    if (form.empty())
        form = is_number_column(c) && c.type != GridCellType::integer ? std::string(c.display_format())
                                                                       : std::string(grid_default_format);
    std::string display;
    if (grid->row_shown(row - 1) || c.type == GridCellType::text) {
        std::array<char, 100> text;
        err_routine_name_set(routine);
        if (single)
            IRealToString(static_cast<float>(value), text, form);
        else
            IDoubleToString(value, text, form);
        display = trimmed({text.data(), text.size()});
    } else {
        display = "0.0";
    }
    put_number(*grid, column, row, value, display, form, routine);
}

} // namespace

void WGridRows(int id, int rows)
{
    GridModel* grid = grid_lookup(id, "WGridRows");
    if (!grid)
        return;
    if (rows > grid->rows_created) {
        grid->set_rows_in_use(grid->rows_created);
        err_report(err::grid_size, "WGridRows");
    } else if (rows >= 1) {
        grid->set_rows_in_use(rows);
    } else {
        err_report(err::grid_rows, "WGridRows");
    }
}

void WGridPutCellDouble(int id, int column, int row, double value, std::optional<std::string_view> format)
{
    put_real(id, column, row, value, false, format, "WGridPutCellDouble");
}

void WGridPutCellReal(int id, int column, int row, float value, std::optional<std::string_view> format)
{
    put_real(id, column, row, value, true, format, "WGridPutCellReal");
}

void WGridPutCellInteger(int id, int column, int row, int value)
{
    constexpr std::string_view routine = "WGridPutCellInteger";
    GridModel* grid = number_target(id, column, row, routine);
    if (!grid)
        return;
    const GridColumn& c = grid->columns[static_cast<std::size_t>(column - 1)];
    const bool keeps_format = c.type == GridCellType::real || c.type == GridCellType::double_precision;
    const std::string format = keeps_format ? std::string(c.display_format()) : std::string();
    std::string display;
    if (grid->row_shown(row - 1) || c.type == GridCellType::text)
        grid_integer_text(value, display);
    else
        display = "0";
    put_number(*grid, column, row, value, display, format, routine);
}

void WGridDeleteRows(int id, int row, std::optional<int> count, std::optional<int> shrink,
                     std::optional<int> headings)
{
    constexpr std::string_view routine = "WGridDeleteRows";
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return;
    if (row < 1 || row > grid->rows_in_use) {
        err_report(err::cell_range, routine);
        return;
    }
    const int n = count ? std::min(*count, grid->rows_in_use - row + 1) : 1;
    if (n < 1) {
        err_report(err::grid_rows, routine);
        return;
    }
    grid->editor_store();
    grid->clear_selection();
    const bool move_headings = flag_set(headings) && grid->has_row_headings();
    for (int d = row - 1; d + n < grid->rows_in_use; ++d) {
        move_row(*grid, d + n, d);
        if (move_headings)
            grid->set_row_heading(d, std::string(grid->row_heading(d + n)));
    }
    if (flag_set(shrink)) {
        WGridRows(id, grid->rows_in_use - n);
    } else {
        for (int r = grid->rows_in_use - n; r < grid->rows_in_use; ++r)
            empty_row(*grid, r, move_headings);
    }
    grid->mark_modified();
    grid->cells_changed();
}

void WGridInsertRows(int id, int row, std::optional<int> count, std::optional<int> grow,
                     std::optional<int> headings)
{
    constexpr std::string_view routine = "WGridInsertRows";
    if (count && *count < 1) {
        err_report(err::grid_rows, routine);
        return;
    }
    const int n = count.value_or(1);
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return;
    if (row < 1 || row > grid->rows_in_use) {
        err_report(err::cell_range, routine);
        return;
    }
    if (flag_set(grow))
        WGridRows(id, static_cast<int>(std::min<long long>(static_cast<long long>(grid->rows_in_use) + n,
                                                           grid->rows_created)));
    grid->editor_store();
    grid->clear_selection();
    const bool move_headings = flag_set(headings) && grid->has_row_headings();
    for (int d = grid->rows_in_use - 1; d - n >= row - 1; --d) {
        move_row(*grid, d - n, d);
        if (move_headings)
            grid->set_row_heading(d, std::string(grid->row_heading(d - n)));
    }
    for (int r = row - 1; r < grid->rows_in_use && r - (row - 1) < n; ++r)
        empty_row(*grid, r, move_headings);
    grid->mark_modified();
    grid->cells_changed();
}
