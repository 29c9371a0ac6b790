// Reading and writing single cells of a grid model, the way the back ends
// of the grid routines, the files, search and sort need them. Indices count
// from 0 and are the caller's to check.
#pragma once

#include "grid/grid_model.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// Display modes: 0 files and the clipboard, 1 painting and printing (check
// boxes as the two symbol characters 0xFC and 0xFB).
inline constexpr int grid_text_plain = 0;
inline constexpr int grid_text_painted = 1;

// The cell's display text into out (replaced). Numbers are written through
// the column's display format and end at their last significant character;
// an empty number cell gives an empty text.
void grid_cell_display_text(const GridModel& grid, int column, int row, std::string& out,
                            int mode = grid_text_plain);
// Integers in the form every cell shows them (at most 11 characters).
void grid_integer_text(std::int32_t value, std::string& out);
// A real or double in the column's format, cut at its last significant
// character (at most 50 characters).
void grid_number_text(double value, bool single, std::string_view format, std::string& out);

// The cell read as a number; false for an empty cell (flag bit 1 clear, or
// an empty text). Text cells are read silently.
bool grid_cell_number(const GridModel& grid, int column, int row, double& value);
// Check-box state; menu item counted from 1, 0 for none.
std::int32_t grid_cell_check(const GridModel& grid, int column, int row);
int grid_cell_menu(const GridModel& grid, int column, int row);

// Stores a value and its display text (the text decides the value flags;
// a value of exactly 0 is read from the text instead). The format becomes
// the column's display format when it differs other than in letter case.
void grid_cell_put_value(GridModel& grid, int column, int row, double value, std::string_view display,
                         std::string_view format);
void grid_cell_put_check(GridModel& grid, int column, int row, std::int32_t state);
// item counts from 1; 0 stores no item.
void grid_cell_put_menu(GridModel& grid, int column, int row, int item);
// The item whose text equals text ignoring case; true when there is none,
// and then the first item is taken.
bool grid_cell_put_menu_text(GridModel& grid, int column, int row, std::string_view text);

// Emptying modes: 0 within the rows in use, menu cells kept; 1 within the
// rows created, menu cells kept; 2 within the rows created, menu cells set
// to the first item.
inline constexpr int grid_clear_keep_menus = 0;
inline constexpr int grid_clear_created_rows = 1;
inline constexpr int grid_clear_menus_too = 2;
void grid_cell_clear(GridModel& grid, int column, int row, int mode);
// Empties every cell of the rows created (menu cells at the first item);
// with clear_lists the menu lists are emptied as well. Protection, colours,
// row headings and rows in use stay.
void grid_cells_clear_all(GridModel& grid, bool clear_lists);

// -3 when the column has a range and the value lies outside it, or when the
// value does not fit the column's number type (32-bit integers, single
// precision); else 0.
int grid_value_check(const GridModel& grid, int column, double value);
// The range test of pasted numbers: status -2 when the column lies outside
// the grid, -3 when the value fails the check above; otherwise unchanged.
void grid_value_in_column_range(int& status, const GridModel& grid, int column, double value);

// Cell colours as programs pass them: each -1, or red, green, blue.
struct GridColourTriple {
    int red = -1, green = -1, blue = -1;
};
void grid_cell_colours(const GridModel& grid, int column, int row, GridColourTriple& fg,
                       GridColourTriple& bg);
// Red 256 removes the cell's own colour, -1 keeps it. False when the colour
// items cannot be had.
bool grid_cell_colours_store(GridModel& grid, int column, int row, const GridColourTriple& fg,
                             const GridColourTriple& bg);
// The column's colours (same red rules); the cells' own colours go.
void grid_column_colours_store(GridModel& grid, int column, const GridColourTriple& fg,
                               const GridColourTriple& bg);

} // namespace korv
