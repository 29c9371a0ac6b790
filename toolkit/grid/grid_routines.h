// The grid routines for programs: rows, numbers, search and sort, and the
// comma-separated and HTML files. A grid is named by its field identifier
// in the current dialog, or by 0 for the grid of the current grid-editor
// window. Columns and rows count from 1; every failure is reported under
// the routine's own name.
#pragma once

#include "grid/grid_csv.h"
#include "grid/grid_model.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korv {

// How the routines find their grid; the dialog manager's side fills it.
struct GridDirectory {
    std::function<bool()> dialog_current;
    // The grid of an identifier; nullptr when there is none.
    std::function<GridModel*(int id)> find;
    // What only a grid editor knows: code 14 (its find options) for
    // identifier 0, and codes 6, 7 and 14 of the last modal grid editor
    // for identifier -2. False when it does not answer.
    std::function<bool(int id, int code, int& value)> editor_query;
};
GridDirectory& grid_directory();

// The grid of id, or nullptr after reporting 1005 or 1006 under routine.
GridModel* grid_lookup(int id, std::string_view routine);

// grid_query: codes 1..16 as the grid routines answer them (positions
// from 1); false when there is no grid. Other codes leave value alone.
bool grid_query(int id, int code, int& value);

// Saving behind WGridSave and the grid editor's commands: the bytes go to
// the file by a new file renamed over it; errors 1 and 2 are reported
// under routine. True when the file was written.
bool grid_save_csv(GridModel& grid, const std::string& file, const GridRange& range, int flags, bool backup,
                   std::string_view routine);

// The same for an HTML table (WGridSaveHTML and the grid editor).
struct GridHtmlPage;
bool grid_save_html(GridModel& grid, const std::string& file, const GridRange& range, const GridHtmlPage& page,
                    bool backup, std::string_view routine);

// Rebuilds the grid's columns from its template dialog: column c takes the
// template control at control_numbers[c] (from 1, a field and its spinner
// counting as one), widths[c] dialog units of the current dialog wide, or
// the control's own width when widths[0] is -1. Both tables hold columns
// entries. Rows and row headings stay; every cell starts empty. A failed
// set-up leaves the grid without columns, reports 1006 and sets id to -1.
// (Windows only: the grid's own windows do the work.)
void grid_columns_rebuild(int& id, int columns, const int* control_numbers, const int* widths);

} // namespace korv

void WGridRows(int id, int rows);
void WGridDeleteRows(int id, int row, std::optional<int> count = {}, std::optional<int> shrink = {},
                     std::optional<int> headings = {});
void WGridInsertRows(int id, int row, std::optional<int> count = {}, std::optional<int> grow = {},
                     std::optional<int> headings = {});
void WGridPutCellDouble(int id, int column, int row, double value, std::optional<std::string_view> format = {});
void WGridPutCellReal(int id, int column, int row, float value, std::optional<std::string_view> format = {});
void WGridPutCellInteger(int id, int column, int row, int value);

void WGridFind(int id, std::string_view text, std::optional<int> flags = {}, int* found = nullptr,
               std::optional<int> first_column = {}, std::optional<int> last_column = {},
               std::optional<int> first_row = {}, std::optional<int> last_row = {});
void WGridSort(int id, int column, std::optional<int> flags = {}, std::optional<int> first_row = {},
               std::optional<int> last_row = {});

void WGridSave(int id, std::string_view file, std::optional<int> first_column = {},
               std::optional<int> last_column = {}, std::optional<int> first_row = {},
               std::optional<int> last_row = {}, std::optional<int> flags = {});
void WGridLoad(int id, std::string_view file, std::optional<int> grow = {}, std::optional<int> flags = {});
void WGridSaveHTML(int id, std::string_view file, std::optional<int> first_column = {},
                   std::optional<int> last_column = {}, std::optional<int> first_row = {},
                   std::optional<int> last_row = {}, std::optional<int> flags = {},
                   std::optional<std::string_view> title = {}, std::optional<int> border = {},
                   std::optional<std::int32_t> background = {});
