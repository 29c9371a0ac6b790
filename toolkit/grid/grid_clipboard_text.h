// Blocks of cells as clipboard text: values separated by TAB, rows ended
// by CR LF. Building, measuring and pasting the text; the clipboard itself
// is the control's business.
#pragma once

#include "grid/grid_model.h"

#include <string>
#include <string_view>

namespace korv {

// Paste values longer than this are cut.
inline constexpr std::size_t grid_paste_value_limit = 32767;

// The block's display texts (without the terminating zero).
std::string grid_block_text(const GridModel& grid, const GridBlock& block);

// 1 for a single value (no TAB, no CR LF), 2 for a block.
int grid_clipboard_text_kind(std::string_view text);
// Rows: 1 + the CR LF pairs that more text follows; columns: the most
// TAB-separated values in one row.
void grid_clipboard_block_size(std::string_view text, int& rows, int& columns);

// Every cell of the selected block may be changed.
bool grid_selection_writable(const GridModel& grid);
// A block of text's size pasted at the current cell meets no protected
// cell, and the grid is not read-only.
bool grid_paste_allowed(const GridModel& grid, std::string_view text);

// Converts one pasted value for the cell and stores it; false when the
// cell's type refuses the value (not a number, out of range, an exponent
// in an integer) or no menu item begins with it.
bool grid_paste_value(GridModel& grid, int column, int row, std::string_view value);
// Pastes the text at the current cell; values outside the grid are
// dropped. The block reached: from the current cell to the largest column
// and row a value went to (empty when none).
GridBlock grid_paste_text(GridModel& grid, std::string_view text);

// Empties every cell of the selected block (menus at their first item),
// clears the selection and gives the block that was emptied.
GridBlock grid_clear_block_cells(GridModel& grid);

} // namespace korv
