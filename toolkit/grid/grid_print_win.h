// Grid printing on the Windows printer and its two setting records
// (choice 1 the first, any other value the second).
#pragma once

#include <string_view>

namespace korv {

// Fills both records once from the default printer.
void grid_print_defaults();
// Prints rows and columns (from 0, inclusive) of the grid with that
// identifier; ok 1 when a job ran, 0 when no printer could be had.
void grid_print(int id, int& ok, int first_row, int last_row, int first_column, int last_column, int choice,
                std::string_view title);
// The page set-up dialog on a record; units -1 the locale's, below 2
// thousandths of an inch, 2 or more hundredths of a millimetre.
void grid_page_setup(int units, int choice);
// Options 1 rules between rows, 2 between columns, 3 headings on every
// page, 4 text colours, 5 background colours; the scale in per cent.
void grid_print_options_get(int options[5], int& scale, int choice);
void grid_print_options_set(const int options[5], int scale, int choice);
// Margins in points: 1 width and 2 height of the margin box, 3 left,
// 4 top; 5 the orientation (0 portrait, 1 landscape; 2 and 3 also turn
// the margin box).
int grid_print_margin_query(int code, int choice);
void grid_print_margin_set(int code, int value, int choice);

} // namespace korv
