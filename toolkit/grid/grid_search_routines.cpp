#include "grid/grid_routines.h"

#include "korvanthide/error_numbers.h"
#include "grid/grid_search.h"

#include <korvanthide/errors.h>

#include <algorithm>

using namespace korv;

void WGridFind(int id, std::string_view text, std::optional<int> flags_in, int* found,
               std::optional<int> first_column, std::optional<int> last_column, std::optional<int> first_row,
               std::optional<int> last_row)
{
    GridModel* grid = grid_lookup(id, "WGridFind");
    if (!grid)
        return;
    const int flags = flags_in.value_or(0);
    const int c1 = std::max(first_column.value_or(1), 1) - 1;
    const int c2 = std::min(last_column.value_or(grid->column_count()), grid->column_count()) - 1;
    const int r1 = std::max(first_row.value_or(1), 1) - 1;
    const int r2 = std::min(last_row.value_or(grid->rows_in_use), grid->rows_in_use) - 1;
    grid->editor_store();

    int start_column = c1;
    int start_row = r1;
    if ((flags & grid_find_after_current) && grid->current_column >= c1) {
        start_column = grid->current_column;
        start_row = std::max(grid->current_row + 1, r1);
    }
    const bool case_blind = (flags & grid_find_case_blind) != 0;
    bool first_searched = true;
    for (int c = start_column; c <= c2; ++c) {
        if (!grid_column_searched(grid->columns[static_cast<std::size_t>(c)], flags))
            continue;
        const int row = grid_find_in_column(*grid, c, text, first_searched ? start_row : r1, r2, case_blind);
        first_searched = false;
        if (row >= 0) {
            int target = id;
            grid_goto_cell(target, c, row, -1);
            if (found)
                *found = -1;
            return;
        }
    }
    if (found)
        *found = 0;
}

void WGridSort(int id, int column, std::optional<int> flags, std::optional<int> first_row,
               std::optional<int> last_row)
{
    constexpr std::string_view routine = "WGridSort";
    const GridDirectory& d = grid_directory();
    if (!(d.dialog_current && d.dialog_current())) {
        err_report(err::no_dialog, routine);
        return;
    }
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return;
    if (column < 1 || column > grid->column_count()) {
        err_report(err::cell_range, routine);
        return;
    }
    GridSearchState& s = grid_search_state();
    const int f = flags.value_or(0);
    s.id = id;
    s.column = column - 1;
    std::vector<int>& types = grid_sort_types();
    types.clear();
    for (const GridColumn& c : grid->columns)
        types.push_back(grid_type_code(c.type));
    s.type_code = types[static_cast<std::size_t>(column - 1)];
    s.descending = (f & grid_sort_descending) != 0;
    s.case_blind = (f & grid_sort_case_blind) != 0;
    s.headings = (f & grid_sort_headings) != 0;
    // Rows outside the rows in use are left out of the sort.
    const int first = std::max(first_row.value_or(1), 1) - 1;
    const int last = std::min(last_row.value_or(grid->rows_in_use), grid->rows_in_use) - 1;
    grid_redraw_suspend();
    grid_sort_start(*grid, first, last);
    grid_redraw_resume(id);
    std::vector<int>().swap(types);
}
