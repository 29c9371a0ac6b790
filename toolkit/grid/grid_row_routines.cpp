// Deleting and inserting rows: every cell moves through the back ends, by
// its column's type, with immediate repainting off while the rows move.
#include "grid/grid_routines.h"

#include "korvanthide/error_numbers.h"

#include <korvanthide/errors.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace korv;

namespace {

constexpr int text_code = 4, integer_code = 5, real_code = 6, double_code = 7, check_code = 9, menu_code = 11;
// Work areas: cell texts and row headings, the display text of a number
// (100 characters when deleting, 50 when inserting) and a column's format.
constexpr int text_field = 32768;
constexpr int delete_number_field = 100;
constexpr int insert_number_field = 50;
constexpr int format_field = 50;

bool flag_set(std::optional<int> flag) { return flag && *flag == 1; }

bool no_dialog(int id)
{
    const GridDirectory& d = grid_directory();
    return id != 0 && !(d.dialog_current && d.dialog_current());
}

// Rows in use after the grid checks of both routines; -1 after a report.
int checked_rows(int id, int row, std::string_view routine)
{
    if (no_dialog(id)) {
        err_report(err::no_dialog, routine);
        return -1;
    }
    int rows = 0;
    int probe = id;
    grid_query(probe, grid_query_code::rows_in_use, rows);
    if (probe == -1) {
        err_report(err::field_id, routine);
        return -1;
    }
    if (row < 1 || row > rows) {
        err_report(err::cell_range, routine);
        return -1;
    }
    return rows;
}

std::string cell_text(int id, int column, int row, int field)
{
    std::vector<char> buffer(static_cast<std::size_t>(field) + 1, '\0');
    grid_cell_get_text(id, column, row, buffer.data(), field + 1);
    return buffer.data();
}

void put_text(int id, int column, int row, const std::string& text, const std::string& format)
{
    grid_cell_put_value(id, column, row, 0.0, text.c_str(), format.c_str(), static_cast<int>(text.size()) + 1,
                        static_cast<int>(format.size()) + 1);
}

std::string column_format(int id, int column)
{
    char format[format_field + 1] = {};
    grid_column_format(id, column, format, format_field + 1);
    return format;
}

void move_heading(int id, int from, int to)
{
    char text[grid_row_text_size] = {};
    grid_row_heading_get(id, from, text, grid_row_text_size);
    grid_row_heading_put(id, to, text, grid_row_text_size);
}

// A row emptied at the end or inserted: menus at the first item, every
// other cell cleared within the rows in use.
void empty_row(int id, int row, const std::vector<int>& codes, bool headings)
{
    for (int c = 0; c < static_cast<int>(codes.size()); ++c) {
        if (codes[static_cast<std::size_t>(c)] == menu_code)
            grid_cell_put_menu(id, c, row, 1);
        else
            grid_cell_clear(id, c, row, 0);
    }
    if (headings)
        grid_row_heading_put(id, row, "", 1);
}

std::vector<int> column_codes(int id)
{
    int columns = 0;
    grid_query(id, grid_query_code::columns, columns);
    std::vector<int> codes(static_cast<std::size_t>(std::max(columns, 0)));
    for (int c = 0; c < columns; ++c)
        grid_column_type_code(id, c, codes[static_cast<std::size_t>(c)]);
    return codes;
}

void copy_choice(int id, int code, int column, int s, int d)
{
    if (code == check_code) {
        int state = 0;
        grid_cell_get_check(id, column, s, state);
        grid_cell_put_check(id, column, d, state);
    } else {
        int item = 0;
        grid_cell_get_menu(id, column, s, item);
        grid_cell_put_menu(id, column, d, item);
    }
}

// Row s of a column moves to row d as deleting moves it (rows from 0).
void delete_move(int id, int code, int column, int s, int d, const std::string& format)
{
    if (code == text_code) {
        put_text(id, column, d, cell_text(id, column, s, text_field - 1), "");
    } else if (code == integer_code || code == real_code || code == double_code) {
        double value = 0;
        int empty = 0;
        grid_cell_get_number(id, column, s, value, empty);
        if (empty) {
            grid_cell_clear(id, column, d, 0);
        } else {
            const std::string display = cell_text(id, column, s, delete_number_field);
            const std::string form = code == integer_code ? std::string() : format;
            grid_cell_put_value(id, column, d, value, display.c_str(), form.c_str(),
                                static_cast<int>(display.size()) + 1, static_cast<int>(form.size()) + 1);
        }
    } else {
        copy_choice(id, code, column, s, d);
    }
    grid_cell_protect_copy(id, column, s, d);
}

// Row s moves to row d as inserting moves it (rows from 0): numbers go
// through the public put routines of their type, with their checks.
void insert_move(int id, int code, int column, int s, int d)
{
    if (code == text_code) {
        put_text(id, column, d, cell_text(id, column, s, text_field - 1), "");
    } else if (code == integer_code || code == real_code || code == double_code) {
        const std::string display = cell_text(id, column, s, insert_number_field);
        if (display.find_first_not_of(' ') == std::string::npos) {
            grid_cell_clear(id, column, d, 0);
        } else {
            double value = 0;
            int empty = 0;
            grid_cell_get_number(id, column, s, value, empty);
            if (code == integer_code)
                WGridPutCellInteger(id, column + 1, d + 1, static_cast<int>(std::trunc(value)));
            else if (code == real_code)
                WGridPutCellReal(id, column + 1, d + 1, static_cast<float>(value));
            else
                WGridPutCellDouble(id, column + 1, d + 1, value);
        }
    } else {
        copy_choice(id, code, column, s, d);
    }
    grid_cell_protect_copy(id, column, s, d);
}

} // namespace

void WGridDeleteRows(int id, int row, std::optional<int> count, std::optional<int> shrink,
                     std::optional<int> headings)
{
    constexpr std::string_view routine = "WGridDeleteRows";
    const int rows = checked_rows(id, row, routine);
    if (rows < 0)
        return;
    const int n = count ? std::min(*count, rows - row + 1) : 1;
    if (n < 1) {
        err_report(err::grid_rows, routine);
        return;
    }
    grid_redraw_suspend();
    const std::vector<int> codes = column_codes(id);
    for (int c = 0; c < static_cast<int>(codes.size()); ++c) {
        const int code = codes[static_cast<std::size_t>(c)];
        const std::string format = code == real_code || code == double_code ? column_format(id, c) : std::string();
        for (int d = row; d <= rows - n; ++d)
            delete_move(id, code, c, d + n - 1, d - 1, format);
    }
    const bool with_headings = flag_set(headings);
    if (with_headings)
        for (int d = row; d <= rows - n; ++d)
            move_heading(id, d + n - 1, d - 1);
    if (flag_set(shrink)) {
        WGridRows(id, rows - n);
    } else {
        for (int r = rows - n; r < rows; ++r)
            empty_row(id, r, codes, with_headings);
    }
    grid_redraw_resume(id);
}

void WGridInsertRows(int id, int row, std::optional<int> count, std::optional<int> grow,
                     std::optional<int> headings)
{
    constexpr std::string_view routine = "WGridInsertRows";
    if (count && *count < 1) {
        err_report(err::grid_rows, routine);
        return;
    }
    const int n = count.value_or(1);
    int rows = checked_rows(id, row, routine);
    if (rows < 0)
        return;
    if (flag_set(grow)) {
        int created = 0;
        grid_query(id, grid_query_code::rows_created, created);
        WGridRows(id, static_cast<int>(std::min<long long>(static_cast<long long>(rows) + n, created)));
        grid_query(id, grid_query_code::rows_in_use, rows);
    }
    grid_redraw_suspend();
    const std::vector<int> codes = column_codes(id);
    for (int c = 0; c < static_cast<int>(codes.size()); ++c)
        for (int d = rows; d >= row + n; --d)
            insert_move(id, codes[static_cast<std::size_t>(c)], c, d - n - 1, d - 1);
    const bool with_headings = flag_set(headings);
    if (with_headings)
        for (int d = rows; d >= row + n; --d)
            move_heading(id, d - n - 1, d - 1);
    for (int r = row; r < row + n && r <= rows; ++r)
        empty_row(id, r - 1, codes, with_headings);
    grid_redraw_resume(id);
}
