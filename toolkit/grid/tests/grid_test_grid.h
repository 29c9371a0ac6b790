// A grid model filled by a test and offered to the grid routines as field
// 7 of a current dialog.
#pragma once

#include "grid/grid_model.h"
#include "grid/grid_routines.h"

#include <string>
#include <vector>

namespace korv::testing {

inline constexpr int test_grid_id = 7;

class TestGrid {
public:
    TestGrid(int rows, const std::vector<GridColumnSpec>& columns, int style = 0);
    ~TestGrid();
    TestGrid(const TestGrid&) = delete;
    TestGrid& operator=(const TestGrid&) = delete;

    GridModel grid;
    bool dialog_current = true;

    std::string text(int column, int row) const; // display text, from 0
};

GridColumnSpec text_column(int length = 0);
GridColumnSpec typed_column(GridCellType type);

// The last error number, cleared for the next check.
int take_error();

} // namespace korv::testing
