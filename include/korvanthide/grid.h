// The grid routines a program calls: rows, numbers, search and sort, the
// comma-separated and HTML files, and the back ends underneath them.
//
// The W routines name a grid by the identifier of its field in the current
// dialog, or by 0 for the grid of the current grid-editor window; columns
// and rows count from 1, and every failure is reported under the routine's
// own name.
//
// The back ends (grid_...) take every argument by reference and count
// columns and rows from 0. They report nothing: trouble overwrites the
// identifier with -1 (no grid), -2 (column or row outside the grid, or a
// column of the wrong kind) or -3 (value out of range, or no memory for
// cell colours). Where a routine's comment says "expects", it takes an
// existing grid and indices inside it as given and otherwise does nothing.
// Texts are zero-terminated; a buffer's length counts its terminating zero.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Rows, rows deleted and inserted, numbers stored with a display format.
void WGridRows(int id, int rows);
void WGridDeleteRows(int id, int row, std::optional<int> count = {}, std::optional<int> shrink = {},
                     std::optional<int> headings = {});
void WGridInsertRows(int id, int row, std::optional<int> count = {}, std::optional<int> grow = {},
                     std::optional<int> headings = {});
void WGridPutCellDouble(int id, int column, int row, double value, std::optional<std::string_view> format = {});
void WGridPutCellReal(int id, int column, int row, float value, std::optional<std::string_view> format = {});
void WGridPutCellInteger(int id, int column, int row, int value);

// Flags of WGridFind: 1 start after the current cell, 2 ignore letter
// case, 4 search number columns too. found: -1 found, 0 not.
void WGridFind(int id, std::string_view text, std::optional<int> flags = {}, int* found = nullptr,
               std::optional<int> first_column = {}, std::optional<int> last_column = {},
               std::optional<int> first_row = {}, std::optional<int> last_row = {});
// Flags of WGridSort: 1 descending, 2 ignore letter case, 4 row headings
// move with their rows.
void WGridSort(int id, int column, std::optional<int> flags = {}, std::optional<int> first_row = {},
               std::optional<int> last_row = {});

// Flags of WGridSave: 1 no enclosing quotes, 2 heading line and row-heading
// column, 4 empty numbers as the undefined value. WGridLoad reads flag 2.
void WGridSave(int id, std::string_view file, std::optional<int> first_column = {},
               std::optional<int> last_column = {}, std::optional<int> first_row = {},
               std::optional<int> last_row = {}, std::optional<int> flags = {});
void WGridLoad(int id, std::string_view file, std::optional<int> grow = {}, std::optional<int> flags = {});
// Flags: 1 table only, 2 centred, 4 check boxes as Y and N, 8 no colours.
// background: red + 256 green + 65536 blue.
void WGridSaveHTML(int id, std::string_view file, std::optional<int> first_column = {},
                   std::optional<int> last_column = {}, std::optional<int> first_row = {},
                   std::optional<int> last_row = {}, std::optional<int> flags = {},
                   std::optional<std::string_view> title = {}, std::optional<int> border = {},
                   std::optional<std::int32_t> background = {});

// Reading cells (expects). A current cell whose editor is open answers
// with what the editor holds. get_text leaves the buffer alone for check
// boxes and menus; get_number sets empty to 1 for an empty cell and
// writes nothing for check boxes and menus; items count from 1, 0 none.
void grid_cell_get_text(int& id, const int& column, const int& row, char* buffer, const int& length);
void grid_cell_get_number(int& id, const int& column, const int& row, double& value, int& empty);
void grid_cell_get_check(int& id, const int& column, const int& row, int& state);
void grid_cell_get_menu(int& id, const int& column, const int& row, int& item);
void grid_menu_item_text(int& id, const int& column, const int& item, char* buffer, const int& length);

// Writing cells (expects). put_value stores the value and its display
// text, which decides whether the cell holds a value; a value of exactly 0
// is read from the text. A format other than the column's becomes its
// display format. put_menu_text takes the item with that text, or the
// first with mismatch 1. clear: mode 0 within the rows in use, other modes
// within the rows created; menu cells go to the first item only in mode 2.
void grid_cell_put_check(int& id, const int& column, const int& row, const int& state);
void grid_cell_put_menu(int& id, const int& column, const int& row, const int& item);
void grid_cell_put_menu_text(int& id, const int& column, const int& row, int& mismatch, const char* text);
void grid_cell_put_value(int& id, const int& column, const int& row, const double& value, const char* display,
                         const char* format, const int& text_length, const int& format_length);
void grid_cell_clear(int& id, const int& column, const int& row, const int& mode);

// Menu lists: clear gives -1 for a column that is no menu column.
void grid_menu_items_clear(int& id, const int& column, const int& row);
void grid_menu_item_add(int& id, const int& column, const int& row, const char* text);

// Columns. Type codes: 4 text, 5 integer, 6 real, 7 double, 9 check box,
// 11 menu. Alignment 0 left, 1 centre, 2 right; case 0, 1 upper, 2 lower.
void grid_column_format(int& id, const int& column, char* buffer, const int& length);
void grid_column_type_code(int& id, const int& column, int& code);
void grid_column_text_length(int& id, const int& column, int& length);
void grid_column_alignment(int& id, const int& column, int& alignment);
void grid_column_case(int& id, const int& column, int& letter_case);
// A minimum above the maximum means no range.
void grid_column_range_put(int& id, const int& column, const double& minimum, const double& maximum);
// Steps of spinner columns (-2 for any other column); a large step of 0
// takes the small one.
void grid_column_int_steps_put(int& id, const int& column, const int& small_step, const int& large_step,
                               const int& base);
void grid_column_real_steps_put(int& id, const int& column, const float& small_step, const float& large_step);
void grid_column_double_steps_put(int& id, const int& column, const double& small_step,
                                  const double& large_step);
void grid_check_range(int& id, const int& column, const double& value);

// Headings: item 0 the corner, item n column n (from 1); row headings hold
// 50 characters. row_headings answers the row-heading width in pixels.
void grid_headings_info(int& id, int& column_headings, int& row_headings);
void grid_column_heading_put(int& id, const int& item, const char* text, const int& length);
void grid_column_heading_get(int& id, const int& item, char* buffer, const int& length);
void grid_row_heading_put(int& id, const int& row, const char* text, const int& length);
void grid_row_heading_get(int& id, const int& row, char* buffer, const int& length);

// Colours: red, green, blue each, -1 for none. Putting: red 256 returns to
// the grid's colour, -1 leaves the colour as it is.
void grid_cell_colours_get(int& id, const int& column, const int& row, int& fg_red, int& fg_green, int& fg_blue,
                           int& bg_red, int& bg_green, int& bg_blue);
void grid_cell_colours_put(int& id, const int& column, const int& row, const int& fg_red, const int& fg_green,
                           const int& fg_blue, const int& bg_red, const int& bg_green, const int& bg_blue);
void grid_column_colours_put(int& id, const int& column, const int& fg_red, const int& fg_green,
                             const int& fg_blue, const int& bg_red, const int& bg_green, const int& bg_blue);

// Protection (expects): state 1 editable, anything else protected.
void grid_cell_protect(int& id, const int& column, const int& row, const int& state);
void grid_cell_protect_copy(int& id, const int& column, const int& from_row, const int& to_row);

// The current cell, the selected block and the rows in use. goto_cell
// places the caret at caret when it is 0 or more.
void grid_goto_cell(int& id, const int& column, const int& row, const int& caret);
void grid_deselect(int& id);
void grid_select_block(int& id, const int& first_column, const int& first_row, const int& last_column,
                       const int& last_row);
void grid_set_row_count(int& id, const int& rows);
// Rebuilds the columns from the grid's template dialog: column c takes the
// template control at control_numbers[c] (from 1, a field and its spinner
// counting as one), widths[c] dialog units wide, or the control's own
// widths when widths[0] is -1. Every cell starts empty.
void grid_columns_rebuild(int& id, const int& columns, const int* control_numbers, const int* widths);
// Exchanges two rows (expects); flag 1 moves their row headings too.
void grid_swap_rows(int& id, const int& row_a, const int& row_b, const int& flag);

// What grid_query answers for each code; positions count from 1.
// Identifier -2 answers unchanged, modified and find_options for the last
// modal grid editor; an unknown code leaves the value as it was.
namespace korv::grid_query_code {
inline constexpr int columns = 1;
inline constexpr int rows_created = 2;
inline constexpr int rows_in_use = 3;
inline constexpr int current_column = 4;
inline constexpr int current_row = 5;
inline constexpr int unchanged = 6;              // 1 while no cell was changed
inline constexpr int modified = 7;
inline constexpr int first_visible_column = 8;
inline constexpr int top_row = 9;
inline constexpr int first_selected_column = 10; // 0 without a selected block
inline constexpr int first_selected_row = 11;
inline constexpr int last_selected_column = 12;
inline constexpr int last_selected_row = 13;
inline constexpr int find_options = 14;          // a grid editor's, as WGridFind flags; 0 otherwise
inline constexpr int rows_shown = 15;            // rows shown at once
inline constexpr int declared_columns = 16;
} // namespace korv::grid_query_code
void grid_query(int& id, const int& code, int& value);

// Repainting each changed cell at once (the default) or at the next paint.
void grid_redraw_suspend();
void grid_redraw_resume(int& id);

// Texts of a grid editor: code 1 its find text, 2 its second text, 3 its
// file name; window -1 the last modal grid editor. error 1006 when the
// current window is no grid editor, else 0. Find options: flag 2 clear
// means match case, flag 4 set means search number columns.
void grid_editor_text_get(const int& window, const int& code, char* buffer, const int& length);
void grid_editor_find_text_put(int& error, const char* text);
void grid_editor_find_options_put(const int& flags, int& error);
