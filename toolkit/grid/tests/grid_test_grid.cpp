#include "grid/tests/grid_test_grid.h"

#include "grid/grid_cells.h"

#include <korvanthide/errors.h>

#include <stdexcept>

namespace korv::testing {

TestGrid::TestGrid(int rows, const std::vector<GridColumnSpec>& columns, int style)
{
    grid.style = style;
    if (!grid_allocate(grid, rows, columns))
        throw std::runtime_error("grid could not be built");
    grid.rows_shown = rows;
    GridDirectory& d = grid_directory();
    d.dialog_current = [this] { return dialog_current; };
    d.find = [this](int id) { return id == test_grid_id ? &grid : nullptr; };
    error_state().last_error = 0;
}

TestGrid::~TestGrid() { grid_directory() = GridDirectory{}; }

std::string TestGrid::text(int column, int row) const
{
    std::string out;
    grid_cell_display_text(grid, column, row, out);
    return out;
}

GridColumnSpec text_column(int length) { return {GridCellType::text, length, false}; }

GridColumnSpec typed_column(GridCellType type) { return {type, 0, false}; }

int take_error()
{
    const int e = error_state().last_error;
    error_state().last_error = 0;
    return e;
}

} // namespace korv::testing
