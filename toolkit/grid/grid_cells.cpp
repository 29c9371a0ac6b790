#include "grid/grid_cells.h"

#include <korvanthide/conversions.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace korv {

namespace {

bool is_number(GridCellType t)
{
    return t == GridCellType::integer || t == GridCellType::real || t == GridCellType::double_precision;
}

// The significant part of a number text: up to its zero byte, without
// leading or trailing blanks.
std::string_view significant(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equal_nocase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_upper(a[i]) != ascii_upper(b[i]))
            return false;
    return true;
}

std::int32_t colour_of(const GridColourTriple& c)
{
    return (c.red & 0xFF) + 256 * (c.green & 0xFF) + 65536 * (c.blue & 0xFF);
}

GridColourTriple triple_of(std::int32_t colour)
{
    if (colour == grid_no_colour)
        return {};
    return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

// Red 256 clears the colour, -1 leaves it, anything else sets it.
void apply_colour(std::int32_t& target, const GridColourTriple& c)
{
    if (c.red == 256)
        target = grid_no_colour;
    else if (c.red != -1)
        target = colour_of(c);
}

} // namespace

void grid_integer_text(std::int32_t value, std::string& out)
{
    std::array<char, 12> digits;
    const auto r = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out.assign(digits.data(), r.ptr);
}

void grid_number_text(double value, bool single, std::string_view format, std::string& out)
{
    std::array<char, 51> text;
    if (single)
        yyrea2st(static_cast<float>(value), text, format);
    else
        yydbl2st(value, text, format);
    out = significant({text.data(), text.size()});
}

void grid_cell_display_text(const GridModel& grid, int column, int row, std::string& out, int mode)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    out.clear();
    switch (c.type) {
    case GridCellType::text:
        out = c.text(row);
        return;
    case GridCellType::integer:
        if (c.flags(row) & grid_cell_holds_value)
            grid_integer_text(c.int_value(row), out);
        return;
    case GridCellType::real:
        if (c.flags(row) & grid_cell_holds_value)
            grid_number_text(c.real_value(row), true, c.display_format(), out);
        return;
    case GridCellType::double_precision:
        if (c.flags(row) & grid_cell_holds_value)
            grid_number_text(c.double_value(row), false, c.display_format(), out);
        return;
    case GridCellType::check_box:
        if (mode == grid_text_painted)
            out.assign(1, c.int_value(row) != 0 ? '\xFC' : '\xFB');
        else
            out.assign(c.int_value(row) != 0 ? std::string_view("Yes") : std::string_view("No"));
        return;
    case GridCellType::menu: {
        const std::int32_t index = c.int_value(row);
        if (index >= 0 && static_cast<std::size_t>(index) < c.items.size())
            out = c.items[static_cast<std::size_t>(index)];
        return;
    }
    }
}

bool grid_cell_number(const GridModel& grid, int column, int row, double& value)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    value = 0;
    switch (c.type) {
    case GridCellType::text: {
        const std::string_view t = c.text(row);
        if (t.empty())
            return false;
        conv_text_to_double_silent(value, t);
        return true;
    }
    case GridCellType::integer:
    case GridCellType::real:
    case GridCellType::double_precision:
        if (!(c.flags(row) & grid_cell_holds_value))
            return false;
        value = c.type == GridCellType::integer ? c.int_value(row)
              : c.type == GridCellType::real    ? static_cast<double>(c.real_value(row))
                                                : c.double_value(row);
        return true;
    default:
        return false;
    }
}

std::int32_t grid_cell_check(const GridModel& grid, int column, int row)
{
    return grid.columns[static_cast<std::size_t>(column)].int_value(row);
}

int grid_cell_menu(const GridModel& grid, int column, int row)
{
    const std::int32_t index = grid.columns[static_cast<std::size_t>(column)].int_value(row);
    return index < 0 ? 0 : index + 1;
}

void grid_cell_put_value(GridModel& grid, int column, int row, double value, std::string_view display,
                         std::string_view format)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    display = display.substr(0, display.find('\0'));
    grid.clear_selection();
    double number = value;
    if (c.type != GridCellType::text && value == 0.0)
        conv_text_to_double_silent(number, display);
    format = format.substr(0, format.find('\0'));
    if (c.format.size() != format.size() || !equal_nocase(c.format, format)) {
        c.format = format;
        grid.column_changed(column);
        if (c.type == GridCellType::real || c.type == GridCellType::double_precision)
            grid.cells_changed();
    }
    switch (c.type) {
    case GridCellType::text:
        c.set_text(row, display);
        break;
    case GridCellType::integer:
        // Callers check the range first; what still does not fit an
        // integer is held at its ends rather than cast out of range.
        c.set_int(row, static_cast<std::int32_t>(std::clamp(
                           std::trunc(number), static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                           static_cast<double>(std::numeric_limits<std::int32_t>::max()))));
        break;
    case GridCellType::real: {
        const double limit = std::numeric_limits<float>::max();
        c.set_real(row, static_cast<float>(std::clamp(number, -limit, limit)));
        break;
    }
    case GridCellType::double_precision:
        c.set_double(row, number);
        break;
    default:
        break;
    }
    std::uint8_t& flags = c.flags(row);
    if (display.empty())
        flags &= static_cast<std::uint8_t>(~(grid_cell_holds_value | grid_cell_held_value));
    else
        flags |= grid_cell_holds_value | grid_cell_held_value;
    grid.mark_modified();
    grid.cell_changed(column, row);
}

void grid_cell_put_check(GridModel& grid, int column, int row, std::int32_t state)
{
    grid.clear_selection();
    grid.columns[static_cast<std::size_t>(column)].set_int(row, state);
    grid.mark_modified();
    grid.cell_changed(column, row);
}

void grid_cell_put_menu(GridModel& grid, int column, int row, int item)
{
    grid.clear_selection();
    grid.columns[static_cast<std::size_t>(column)].set_int(row, item - 1);
    grid.mark_modified();
    grid.cell_changed(column, row);
}

bool grid_cell_put_menu_text(GridModel& grid, int column, int row, std::string_view text)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    std::int32_t index = 0;
    bool mismatch = true;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (equal_nocase(c.items[i], text)) {
            index = static_cast<std::int32_t>(i);
            mismatch = false;
            break;
        }
    }
    c.set_int(row, index);
    grid.cell_changed(column, row);
    return mismatch;
}

void grid_cell_clear(GridModel& grid, int column, int row, int mode)
{
    if (column < 0 || column >= grid.column_count() || row < 0)
        return;
    if (row >= (mode == grid_clear_keep_menus ? grid.rows_in_use : grid.rows_created))
        return;
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    grid.clear_selection();
    if (c.type == GridCellType::menu) {
        if (mode == grid_clear_menus_too)
            c.set_int(row, 0);
    } else {
        c.zero(row);
        c.flags(row) &= static_cast<std::uint8_t>(~(grid_cell_holds_value | grid_cell_held_value));
    }
    grid.cell_changed(column, row);
}

void grid_cells_clear_all(GridModel& grid, bool clear_lists)
{
    grid.clear_selection();
    for (std::size_t i = 0; i < grid.columns.size(); ++i) {
        GridColumn& c = grid.columns[i];
        if (clear_lists && !c.items.empty()) {
            c.items.clear();
            grid.column_changed(static_cast<int>(i));
        }
        for (int r = 0; r < grid.rows_created; ++r) {
            c.zero(r);
            c.flags(r) &= static_cast<std::uint8_t>(~(grid_cell_holds_value | grid_cell_held_value));
        }
    }
    grid.cells_changed();
}

void grid_value_in_column_range(int& status, const GridModel& grid, int column, double value)
{
    if (column < 0 || column >= grid.column_count())
        status = -2;
    else if (grid_value_check(grid, column, value) != 0)
        status = -3;
}

int grid_value_check(const GridModel& grid, int column, double value)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    if (c.has_range() && (value < c.minimum || value > c.maximum))
        return -3;
    if (std::isnan(value))
        return is_number(c.type) ? -3 : 0;
    if (c.type == GridCellType::integer &&
        (std::trunc(value) < std::numeric_limits<std::int32_t>::min() ||
         std::trunc(value) > std::numeric_limits<std::int32_t>::max()))
        return -3;
    if (c.type == GridCellType::real && std::fabs(value) > std::numeric_limits<float>::max())
        return -3;
    return 0;
}

void grid_cell_colours(const GridModel& grid, int column, int row, GridColourTriple& fg, GridColourTriple& bg)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    if (c.has_colours()) {
        const GridCellColours& item = c.colour_item(row);
        fg = (item[0] & 1) ? GridColourTriple{item[1], item[2], item[3]} : GridColourTriple{};
        bg = (item[0] & 2) ? GridColourTriple{item[4], item[5], item[6]} : GridColourTriple{};
        return;
    }
    std::int32_t own_fg = grid_no_colour, own_bg = grid_no_colour;
    grid.own_colours(own_fg, own_bg);
    fg = triple_of(c.foreground != grid_no_colour ? c.foreground : own_fg);
    bg = triple_of(c.background != grid_no_colour ? c.background : own_bg);
}

bool grid_cell_colours_store(GridModel& grid, int column, int row, const GridColourTriple& fg,
                             const GridColourTriple& bg)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    if (!c.has_colours()) {
        if (!c.make_colours(grid.rows_created))
            return false;
        for (int r = 0; r < grid.rows_created; ++r) {
            GridCellColours& item = c.colour_item(r);
            if (c.foreground != grid_no_colour) {
                item[0] |= 1;
                item[1] = c.foreground & 0xFF, item[2] = (c.foreground >> 8) & 0xFF,
                item[3] = (c.foreground >> 16) & 0xFF;
            }
            if (c.background != grid_no_colour) {
                item[0] |= 2;
                item[4] = c.background & 0xFF, item[5] = (c.background >> 8) & 0xFF,
                item[6] = (c.background >> 16) & 0xFF;
            }
        }
    }
    GridCellColours& item = c.colour_item(row);
    const auto store = [&item](const GridColourTriple& t, unsigned char bit, int at) {
        if (t.red == 256) {
            item[0] &= static_cast<unsigned char>(~bit);
        } else if (t.red != -1) {
            item[0] |= bit;
            item[at] = static_cast<unsigned char>(t.red);
            item[at + 1] = static_cast<unsigned char>(t.green);
            item[at + 2] = static_cast<unsigned char>(t.blue);
        }
    };
    store(fg, 1, 1);
    store(bg, 2, 4);
    grid.cell_changed(column, row);
    return true;
}

void grid_column_colours_store(GridModel& grid, int column, const GridColourTriple& fg, const GridColourTriple& bg)
{
    GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    c.drop_colours();
    apply_colour(c.foreground, fg);
    apply_colour(c.background, bg);
    grid.column_changed(column);
    grid.cells_changed();
}

} // namespace korv
