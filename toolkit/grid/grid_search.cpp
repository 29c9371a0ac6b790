#include "grid/grid_search.h"

#include "grid/grid_cells.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace korv {

namespace {

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

void upper_in_place(std::string& s)
{
    for (char& c : s)
        c = ascii_upper(c);
}

// Byte order of unsigned bytes, the shorter text padded with blanks, so
// that trailing blanks never decide.
int compare_padded(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    if (const int r = std::memcmp(a.data(), b.data(), common); r != 0)
        return r;
    const std::string_view longer = a.size() > b.size() ? a.substr(common) : b.substr(common);
    for (const char ch : longer) {
        const auto c = static_cast<unsigned char>(ch);
        if (c != ' ')
            return (c > ' ') == (a.size() > b.size()) ? 1 : -1;
    }
    return 0;
}

struct SortEntry {
    int row;
    std::string_view text;
    double number; // integer, real and double keys; check boxes and menus
};

// The keys of an empty cell put it last in either direction.
constexpr std::string_view empty_text_ascending = "\xFF";
constexpr std::string_view empty_text_descending = " ";

double number_key(const GridModel& grid, int column, int row, bool descending)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    switch (c.type) {
    case GridCellType::check_box:
        return grid_cell_check(grid, column, row);
    case GridCellType::menu:
        return grid_cell_menu(grid, column, row);
    default:
        break;
    }
    double v = 0;
    const bool filled = grid_cell_number(grid, column, row, v);
    switch (c.type) {
    case GridCellType::integer:
        return filled ? std::trunc(v) : (descending ? -2147483647.0 : 2147483647.0);
    case GridCellType::real: {
        const double largest = std::numeric_limits<float>::max();
        return filled ? static_cast<double>(static_cast<float>(v)) : (descending ? -largest : largest);
    }
    default: {
        const double largest = std::numeric_limits<double>::max();
        return filled ? v : (descending ? -largest : largest);
    }
    }
}

} // namespace

void grid_sort_rows(GridModel& grid, int column, int first, int last, int flags)
{
    if (column < 0 || column >= grid.column_count())
        return;
    first = std::max(first, 0);
    last = std::min(last, grid.rows_in_use - 1);
    if (first >= last)
        return;
    grid.editor_store();
    grid.clear_selection();

    const bool descending = (flags & grid_sort_descending) != 0;
    const bool case_blind = (flags & grid_sort_case_blind) != 0;
    const GridColumn& col = grid.columns[static_cast<std::size_t>(column)];
    const bool text = col.type == GridCellType::text;

    std::vector<SortEntry> entries(static_cast<std::size_t>(last - first + 1));
    std::vector<std::string> upper; // case-blind copies the entries point into
    if (text && case_blind)
        upper.resize(entries.size());
    for (int r = first; r <= last; ++r) {
        SortEntry& e = entries[static_cast<std::size_t>(r - first)];
        e.row = r;
        if (!text) {
            e.number = number_key(grid, column, r, descending);
            continue;
        }
        std::string_view t = col.text(r);
        if (t.empty()) {
            t = descending ? empty_text_descending : empty_text_ascending;
        } else if (case_blind) {
            std::string& u = upper[static_cast<std::size_t>(r - first)];
            u = t;
            upper_in_place(u);
            t = u;
        }
        e.text = t;
    }
    if (text)
        std::stable_sort(entries.begin(), entries.end(), [descending](const SortEntry& a, const SortEntry& b) {
            const int r = compare_padded(a.text, b.text);
            return descending ? r > 0 : r < 0;
        });
    else
        std::stable_sort(entries.begin(), entries.end(), [descending](const SortEntry& a, const SortEntry& b) {
            return descending ? a.number > b.number : a.number < b.number;
        });

    std::vector<int> order(entries.size());
    bool moved = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        order[i] = entries[i].row;
        moved = moved || order[i] != first + static_cast<int>(i);
    }
    if (!moved)
        return;
    entries = {};
    upper = {};
    for (GridColumn& c : grid.columns) {
        // Protection moves with numeric values only; text, check-box and
        // menu cells keep their flag bytes in place.
        const bool numeric = c.type == GridCellType::integer || c.type == GridCellType::real ||
                             c.type == GridCellType::double_precision;
        c.permute(first, order, numeric);
    }
    if ((flags & grid_sort_headings) && grid.has_row_headings() && !grid.row_texts.empty()) {
        std::vector<char> texts(order.size() * grid_row_text_size);
        for (std::size_t i = 0; i < order.size(); ++i)
            std::memcpy(texts.data() + i * grid_row_text_size,
                        grid.row_texts.data() + static_cast<std::size_t>(order[i]) * grid_row_text_size,
                        grid_row_text_size);
        std::memcpy(grid.row_texts.data() + static_cast<std::size_t>(first) * grid_row_text_size, texts.data(),
                    texts.size());
        if (grid.view)
            for (int r = first; r <= last; ++r)
                grid.view->row_heading_changed(r);
    }
    grid.mark_modified();
    grid.cells_changed();
}

int grid_find_field_length(const GridColumn& column)
{
    switch (column.type) {
    case GridCellType::text:
        return column.max_length + 1;
    case GridCellType::integer:
        return 11;
    default:
        return 50;
    }
}

bool grid_column_searched(const GridColumn& column, int flags)
{
    if (column.type == GridCellType::text)
        return true;
    const bool number = column.type == GridCellType::integer || column.type == GridCellType::real ||
                        column.type == GridCellType::double_precision;
    return number && (flags & grid_find_numbers) != 0;
}

int grid_find_in_column(const GridModel& grid, int column, std::string_view text, int first, int last,
                        bool case_blind)
{
    const GridColumn& col = grid.columns[static_cast<std::size_t>(column)];
    const std::size_t length = static_cast<std::size_t>(grid_find_field_length(col));
    if (text.size() > length)
        return -1;
    std::string search(text);
    if (case_blind)
        upper_in_place(search);
    // A search text that ends in a blank can match the padding behind a
    // cell's text; one that does not lies within the text itself.
    const bool needs_padding = !search.empty() && search.back() == ' ';
    std::string cell;
    for (int r = first; r <= last; ++r) {
        std::string_view t;
        if (col.type == GridCellType::text && !case_blind && !needs_padding) {
            t = col.text(r);
        } else {
            grid_cell_display_text(grid, column, r, cell);
            if (case_blind)
                upper_in_place(cell);
            if (needs_padding && cell.size() < length)
                cell.append(length - cell.size(), ' ');
            t = cell;
        }
        if (t.find(search) != std::string_view::npos)
            return r;
    }
    return -1;
}

} // namespace korv
