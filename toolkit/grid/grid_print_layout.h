// The arithmetic of grid printing that needs no printer: margin units,
// rows a page, and how the columns of a band fall onto pages.
#pragma once

#include <vector>

namespace korv {

// Margin units of a page set-up: thousandths of an inch or hundredths of a
// millimetre.
inline constexpr int grid_units_inches = 4;
inline constexpr int grid_units_millimetres = 8;

// Between the two units, by 2.54, rounded to the nearest.
int grid_inches_to_millimetres(int thousandths);
int grid_millimetres_to_inches(int hundredths);
// A margin in its units to points and back (integer division).
int grid_margin_to_points(int value, int units);
int grid_points_to_margin(int points, int units);

// Rows on one page: at least one, whatever the paper.
int grid_rows_per_page(int printable_height, int line_height, bool heading_row);

// The columns of one band, page by page: each page starts at its first
// column and takes columns while they fit; a column wider than the page
// gets the page to itself, cut to it.
struct GridPrintPage {
    int first_column;
    int last_column;
};
std::vector<GridPrintPage> grid_column_pages(const std::vector<int>& widths, int first_x, int right_limit,
                                             int repeated_x);

} // namespace korv
