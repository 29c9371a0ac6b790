#include "grid/grid_csv.h"

#include "grid/grid_cells.h"
#include "grid/grid_routines.h"
#include "korvanthide/error_numbers.h"

#include <korvanthide/conversions.h>
#include <korvanthide/errors.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace korv {

namespace {

constexpr double undefined_number = -999.0;

void append_quoted(std::string& out, std::string_view text, bool quote, bool double_quotes)
{
    if (quote)
        out += '"';
    if (double_quotes)
        out += grid_csv_quote(text);
    else
        out += text;
    if (quote)
        out += '"';
}

std::string_view trim_right(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : trim_right(text.substr(first));
}

// The text a number cell is saved as: its display text, or, when the
// value does not fit the column's format (the display text is all
// asterisks), the shortest text that reads back as the same value, so
// that saving keeps every number a file can hold.
void number_field(const GridModel& grid, int column, int row, std::string& cell)
{
    ErrorState& state = error_state();
    const int mode = state.report_mode;
    const std::int32_t last = state.last_error;
    state.report_mode = 0;
    grid_cell_display_text(grid, column, row, cell);
    state.report_mode = mode;
    if (cell.empty() || cell.find_first_not_of('*') != std::string::npos) {
        state.last_error = last;
        return;
    }
    state.last_error = last;
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    std::array<char, 32> text;
    const auto r = c.type == GridCellType::real
                       ? std::to_chars(text.data(), text.data() + text.size(), c.real_value(row))
                       : std::to_chars(text.data(), text.data() + text.size(), c.double_value(row));
    cell.assign(text.data(), r.ptr);
}

void write_cell(std::string& out, const GridModel& grid, int column, int row, int flags, std::string& cell)
{
    const bool quote = !(flags & grid_csv_unquoted);
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    switch (c.type) {
    case GridCellType::text:
        append_quoted(out, c.text(row), quote, true);
        return;
    case GridCellType::integer:
        grid_cell_display_text(grid, column, row, cell);
        if (cell.empty() && (flags & grid_csv_undefined_values))
            grid_integer_text(static_cast<std::int32_t>(undefined_number), cell);
        out += cell;
        return;
    case GridCellType::real:
    case GridCellType::double_precision:
        number_field(grid, column, row, cell);
        if (cell.empty() && (flags & grid_csv_undefined_values))
            grid_number_text(undefined_number, c.type == GridCellType::real, c.display_format(), cell);
        append_quoted(out, cell, quote, false);
        return;
    case GridCellType::check_box:
        out += grid_cell_check(grid, column, row) == 1 ? "Yes" : "No";
        return;
    case GridCellType::menu:
        grid_cell_display_text(grid, column, row, cell);
        if (grid_cell_menu(grid, column, row) != 0)
            append_quoted(out, cell, quote, true);
        return;
    }
}

// The end of the field that starts at pos: the first comma or line feed
// after an even number of quote characters since the field began. A line
// feed after an odd number stands inside an open quoted field and belongs
// to it, as in every common reader of such files (and as the writer puts
// a text's line breaks there); bytes.size() when the field runs to the end.
std::size_t field_end(std::string_view bytes, std::size_t pos)
{
    bool odd = false;
    for (; pos < bytes.size(); ++pos) {
        const char c = bytes[pos];
        if (c == '"')
            odd = !odd;
        else if (!odd && (c == ',' || c == '\n'))
            return pos;
    }
    return pos;
}

class CsvLoader {
public:
    CsvLoader(GridModel& grid, int id, bool grow, int flags)
        : grid_(grid), id_(id), grow_(grow), headings_(flags & grid_csv_headings),
          visible_first_(grid.top_row), visible_end_(grid.top_row + grid.rows_shown)
    {
        row_ = headings_ && grid.has_column_headings() ? -1 : 0;
        first_column_ = headings_ && grid.has_row_headings() ? -1 : 0;
    }

    // Reads the source a buffer at a time; -1 when a read failed (the load
    // stops where it stood), else the error to report.
    int run(const GridCsvSource& source);

private:
    bool row_available();
    void store(int column, std::string_view field);
    void store_number(int column, std::string_view field);
    void finish_line(int next_column);
    void finish();

    GridModel& grid_;
    int id_;
    bool grow_;
    bool headings_;
    int visible_first_, visible_end_;
    int row_ = 0;
    int first_column_ = 0;
    int error_ = 0;
};

bool CsvLoader::row_available()
{
    if (row_ < grid_.rows_in_use)
        return true;
    if (!grow_ || row_ >= grid_.rows_created)
        return false;
    WGridRows(id_, row_ + 1);
    return true;
}

void CsvLoader::store_number(int column, std::string_view field)
{
    const GridColumn& c = grid_.columns[static_cast<std::size_t>(column)];
    ErrorState& state = error_state();
    const std::int32_t saved = state.last_error;
    state.last_error = 0;
    double value = 0;
    if (c.type == GridCellType::integer) {
        int v = 0;
        IStringToInteger(field, v);
        value = v;
    } else if (c.type == GridCellType::real) {
        float v = 0;
        IStringToReal(field, v);
        value = v;
    } else {
        conv_string_to_double(field, value);
    }
    if (state.last_error != 0) {
        grid_cell_clear(grid_, column, row_, grid_clear_created_rows);
        return;
    }
    state.last_error = saved;
    if (grid_value_check(grid_, column, value) != 0) {
        error_ = err::value_out_of_range;
        return;
    }
    const bool integer = c.type == GridCellType::integer;
    std::string display;
    if (row_ >= visible_first_ && row_ < visible_end_)
        display = trim(field).substr(0, integer ? 20 : 100);
    else
        display = integer ? "0" : "0.0";
    const std::string format = integer ? std::string() : std::string(trim(c.format));
    grid_cell_put_value(grid_, column, row_, value, display, format);
}

void CsvLoader::store(int column, std::string_view field)
{
    if (column < 0 && row_ < 0) {
        grid_.set_column_heading(0, field);
        return;
    }
    if (column < 0) {
        grid_.set_row_heading(row_, field);
        return;
    }
    if (row_ < 0) {
        grid_.set_column_heading(column + 1, field);
        return;
    }
    const GridColumn& c = grid_.columns[static_cast<std::size_t>(column)];
    switch (c.type) {
    case GridCellType::text: {
        std::string text(field);
        if (c.letter_case == 1)
            conv_upper_case(text);
        else if (c.letter_case == 2)
            conv_lower_case(text);
        grid_cell_put_value(grid_, column, row_, 0.0, text, "");
        return;
    }
    case GridCellType::integer:
    case GridCellType::real:
    case GridCellType::double_precision:
        store_number(column, field);
        return;
    case GridCellType::check_box: {
        std::string text(trim_right(field));
        conv_upper_case(text);
        grid_cell_put_check(grid_, column, row_, text == "YES" ? 1 : 0);
        return;
    }
    case GridCellType::menu:
        // An empty field is how an unselected menu cell is written.
        if (field.empty())
            grid_cell_put_menu(grid_, column, row_, 0);
        else if (grid_cell_put_menu_text(grid_, column, row_, field))
            err_report(err::menu_cell_value, "WGridLoad");
        return;
    }
}

void CsvLoader::finish_line(int next_column)
{
    for (int c = std::max(next_column, 0); c < grid_.column_count(); ++c) {
        if (row_ < 0)
            grid_.set_column_heading(c + 1, "");
        else
            grid_cell_clear(grid_, c, row_, grid_clear_menus_too);
    }
    ++row_;
}

void CsvLoader::finish()
{
    for (int r = std::max(row_, 0); r < grid_.rows_in_use; ++r) {
        if (headings_ && grid_.has_row_headings())
            grid_.set_row_heading(r, "");
        for (int c = 0; c < grid_.column_count(); ++c)
            grid_cell_clear(grid_, c, r, grid_clear_menus_too);
    }
}

int CsvLoader::run(const GridCsvSource& source)
{
    // The read buffer holds one chunk; a field that the chunk's end cuts
    // is moved to the buffer's start and scanned again with the next chunk
    // appended. Only a single field longer than a chunk makes it grow.
    std::string buffer;
    buffer.reserve(grid_csv_read_buffer);
    std::size_t pos = 0;
    bool at_end = false;
    const auto refill = [&] {
        buffer.erase(0, pos);
        pos = 0;
        const std::size_t room = std::max(grid_csv_read_buffer - std::min(buffer.size(), grid_csv_read_buffer),
                                          grid_csv_read_buffer / 2);
        const std::size_t kept = buffer.size();
        buffer.resize(kept + room);
        const long got = source(buffer.data() + kept, room);
        buffer.resize(kept + static_cast<std::size_t>(std::max(got, 0L)));
        at_end = got <= 0;
        return got >= 0;
    };
    int column = first_column_;
    bool line_start = true;
    for (;;) {
        if (pos == buffer.size()) {
            if (at_end)
                break;
            if (!refill())
                return -1;
            continue;
        }
        if (line_start && !row_available()) {
            error_ = err::grid_file_too_large;
            break;
        }
        line_start = false;
        const std::size_t end = field_end(buffer, pos);
        if (end == buffer.size() && !at_end) {
            if (!refill())
                return -1;
            continue;
        }
        const bool line_end = end == buffer.size() || buffer[end] == '\n';
        const std::string_view raw = std::string_view(buffer).substr(pos, end - pos);
        // Fields past the last column are dropped; the next line goes on.
        if (column >= grid_.column_count())
            error_ = err::grid_file_too_large;
        else
            store(column, grid_csv_field(raw, line_end));
        pos = std::min(end + 1, buffer.size());
        ++column;
        if (line_end) {
            finish_line(column);
            column = first_column_;
            line_start = true;
        }
    }
    finish();
    return error_;
}

} // namespace

std::string grid_csv_quote(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (const char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out;
}

std::string grid_csv_unquote(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
            ++i;
    }
    return out;
}

std::string grid_csv_field(std::string_view raw, bool line_end)
{
    if (line_end && !raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    raw = trim_right(raw);
    if (raw.find('"') == std::string_view::npos)
        return std::string(raw);
    raw = raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : std::string_view{};
    std::string field = grid_csv_unquote(raw);
    field.resize(trim_right(field).size());
    return field;
}

std::string grid_csv_text(const GridModel& grid, const GridRange& range, int flags)
{
    const bool quote = !(flags & grid_csv_unquoted);
    const bool headings = (flags & grid_csv_headings) != 0;
    std::string out;
    std::string cell;
    const auto separator = [&](int column) { out += column < range.last_column ? "," : "\r\n"; };
    if (headings && grid.has_column_headings()) {
        if (grid.has_row_headings()) {
            append_quoted(out, grid.column_heading(0), quote, true);
            out += range.first_column <= range.last_column ? "," : "";
        }
        for (int c = range.first_column; c <= range.last_column; ++c) {
            append_quoted(out, grid.column_heading(c + 1), quote, true);
            separator(c);
        }
    }
    for (int r = range.first_row; r <= range.last_row; ++r) {
        if (headings && grid.has_row_headings()) {
            append_quoted(out, grid.row_heading(r), quote, true);
            out += range.first_column <= range.last_column ? "," : "";
        }
        for (int c = range.first_column; c <= range.last_column; ++c) {
            write_cell(out, grid, c, r, flags, cell);
            separator(c);
        }
    }
    return out;
}

int grid_csv_load(GridModel& grid, int id, const GridCsvSource& source, bool grow, int flags)
{
    grid.clear_selection();
    const int error = CsvLoader(grid, id, grow, flags).run(source);
    grid.cells_changed();
    return error;
}

int grid_csv_load(GridModel& grid, int id, std::string_view bytes, bool grow, int flags)
{
    std::size_t taken = 0;
    const GridCsvSource memory = [&](char* into, std::size_t count) {
        const std::size_t n = std::min(count, bytes.size() - taken);
        std::copy_n(bytes.data() + taken, n, into);
        taken += n;
        return static_cast<long>(n);
    };
    return grid_csv_load(grid, id, memory, grow, flags);
}

} // namespace korv
