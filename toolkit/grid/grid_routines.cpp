#include "grid/grid_routines.h"

#include "grid/grid_cells.h"
#include "korvanthide/error_numbers.h"
#include "core/context.h"

#include <korvanthide/conversions.h>
#include <korvanthide/errors.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace korv {

GridDirectory& grid_directory()
{
    return toolkit_context().record<GridDirectory>(ContextSlot::grid_directory);
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

} // namespace korv

using namespace korv;

namespace {

bool is_number_column(const GridColumn& c)
{
    return c.type == GridCellType::integer || c.type == GridCellType::real ||
           c.type == GridCellType::double_precision;
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
        grid->set_rows_in_use(grid->rows_created, id);
        err_report(err::grid_size, "WGridRows");
    } else if (rows >= 1) {
        grid->set_rows_in_use(rows, id);
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

