// Finding a text in the cells of a grid and sorting its rows by one
// column, on the grid model.
#pragma once

#include "grid/grid_model.h"

#include <string_view>

namespace korv {

// Flag bits of WGridSort.
inline constexpr int grid_sort_descending = 1;
inline constexpr int grid_sort_case_blind = 2;
inline constexpr int grid_sort_headings = 4;

// Flag bits of WGridFind.
inline constexpr int grid_find_after_current = 1;
inline constexpr int grid_find_case_blind = 2;
inline constexpr int grid_find_numbers = 4;

// Sorts rows first..last (from 0, within the rows in use) by the column's
// keys. Rows with equal keys keep their order; when no row has to move,
// nothing changes (not even the modified flags).
void grid_sort_rows(GridModel& grid, int column, int first, int last, int flags);

// The characters of a cell that the search compares: the display text,
// blank-padded to the column's field length.
int grid_find_field_length(const GridColumn& column);
bool grid_column_searched(const GridColumn& column, int flags);
// The first row in first..last of the column whose padded text contains
// the search text (taken whole, trailing blanks included); -1 when none.
int grid_find_in_column(const GridModel& grid, int column, std::string_view text, int first, int last,
                        bool case_blind);

} // namespace korv
