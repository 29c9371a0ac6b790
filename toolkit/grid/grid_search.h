// Finding a text in the cells of a grid and sorting its rows by one
// column, on the grid model.
#pragma once

#include "grid/grid_model.h"

#include <string_view>
#include <vector>

namespace korv {

// Flag bits of WGridSort.
inline constexpr int grid_sort_descending = 1;
inline constexpr int grid_sort_case_blind = 2;
inline constexpr int grid_sort_headings = 4;

// Flag bits of WGridFind.
inline constexpr int grid_find_after_current = 1;
inline constexpr int grid_find_case_blind = 2;
inline constexpr int grid_find_numbers = 4;

// What WGridSort and WGridFind were called with, shared by the routines
// they call.
struct GridSearchState {
    int id = 0;
    int column = 0;    // from 0
    int type_code = 4; // the column's type code
    bool descending = false;
    bool case_blind = false;
    bool headings = false; // row headings move with their rows
};
GridSearchState& grid_search_state();
// The type code of every column of the grid being sorted, filled at the
// start of one WGridSort call and released at its end; the sort takes its
// keys by the type it finds there for the sort column.
std::vector<int>& grid_sort_types();

// The key of a number, check-box or menu cell of the sort: the number
// (truncated for integers, in single precision for reals), the state, or
// the item from 1; an empty number cell gets the key that puts it last.
// filled is 0 for an empty cell.
void grid_sort_key(const GridModel& grid, int column, int row, bool descending, double& key, int& filled);
// Sorts rows first..last (from 0) by the column of the search state:
// partitions around the first row's key, exchanging rows whose keys
// differ, and sorts six rows or fewer by an exchange pass. Rows with
// equal keys may change their order. True when rows were exchanged; the
// windows are not told (grid_sort_start does that).
bool grid_sort_range(GridModel& grid, int first, int last);
// The whole sort of a range: the editor's content stored first, the
// modified flags set and the cells repainted when rows moved.
void grid_sort_start(GridModel& grid, int first, int last);
// Exchanges two rows (from 0): values in every column, flag bytes with
// numeric values only, row headings with headings; colours stay.
void grid_swap_rows(GridModel& grid, int a, int b, bool headings);

// The characters of a cell that the search compares: the display text,
// blank-padded to the column's field length.
int grid_find_field_length(const GridColumn& column);
bool grid_column_searched(const GridColumn& column, int flags);
// The first row in first..last of the column whose padded text contains
// the search text (taken whole, trailing blanks included); -1 when none.
int grid_find_in_column(const GridModel& grid, int column, std::string_view text, int first, int last,
                        bool case_blind);

} // namespace korv
