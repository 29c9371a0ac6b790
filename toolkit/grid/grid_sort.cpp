// Sorting a grid's rows by one column. The keys of the rows are taken
// once into one contiguous table (a text key as its first eight bytes,
// blank-padded, in two words that compare like the bytes); the partition
// runs on that table, exchanging its entries where it exchanges rows; the
// rows then take their places in one pass over the columns.
#include "grid/grid_search.h"

#include "grid/grid_cells.h"
#include "grid/grid_routines.h"
#include "core/context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace korv {

GridSearchState& grid_search_state()
{
    return toolkit_context().record<GridSearchState>(ContextSlot::grid_search);
}

std::vector<int>& grid_sort_types()
{
    return toolkit_context().record<std::vector<int>>(ContextSlot::grid_sort_types);
}

namespace {

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool is_number(GridCellType t)
{
    return t == GridCellType::integer || t == GridCellType::real || t == GridCellType::double_precision;
}

// A text key's first eight bytes, blank-padded, as two big-endian words:
// comparing the words compares those bytes as unsigned values. Only keys
// whose first eight bytes are equal need the rest of their texts.
std::uint32_t big_endian(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// row carries long_key when the key runs past its first eight bytes.
struct TextKey {
    std::uint32_t high, low;
    int row;
};
constexpr int long_key = 1 << 30;

template <class T>
struct NumberKey {
    T value;
    int row;
};

template <class T>
struct NumberOrder {
    int operator()(const NumberKey<T>& a, const NumberKey<T>& b) const
    {
        return a.value < b.value ? -1 : b.value < a.value ? 1 : 0;
    }
};

// The text key of one cell: its text, upper-cased when case-blind, or the
// one character that puts an empty cell last.
std::string_view text_key(const GridColumn& c, int row, bool case_blind, bool descending, std::string& scratch)
{
    std::string_view t = c.text(row);
    if (t.empty())
        return descending ? std::string_view(" ") : std::string_view("\xFF");
    if (!case_blind)
        return t;
    scratch.assign(t);
    for (char& ch : scratch)
        ch = ascii_upper(ch);
    return scratch;
}

// Text keys compare byte by byte as unsigned values, the shorter padded
// with blanks, so that trailing blanks never decide.
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

class TextOrder {
public:
    TextOrder(const GridColumn& column, bool case_blind, bool descending)
        : column_(column), case_blind_(case_blind), descending_(descending)
    {
    }
    int operator()(const TextKey& a, const TextKey& b) const
    {
        if (a.high != b.high)
            return a.high < b.high ? -1 : 1;
        if (a.low != b.low)
            return a.low < b.low ? -1 : 1;
        if (((a.row | b.row) & long_key) == 0)
            return 0;
        return compare_padded(rest(a.row & ~long_key, scratch_a_), rest(b.row & ~long_key, scratch_b_));
    }

private:
    std::string_view rest(int row, std::string& scratch) const
    {
        const std::string_view key = text_key(column_, row, case_blind_, descending_, scratch);
        return key.size() > 8 ? key.substr(8) : std::string_view{};
    }
    const GridColumn& column_;
    bool case_blind_, descending_;
    mutable std::string scratch_a_, scratch_b_;
};

// The partition and exchange pass of the sort, on a table of keys in the
// order of the rows first..last.
template <class Key, class Order>
class KeySorter {
public:
    KeySorter(std::vector<Key>& keys, const Order& order, bool descending)
        : keys_(keys), order_(order), descending_(descending)
    {
    }

    void sort(int first, int last);
    bool exchanged() const { return exchanged_; }

private:
    bool before(const Key& a, const Key& b) const
    {
        const int r = order_(a, b);
        return descending_ ? r > 0 : r < 0;
    }
    void exchange(int i, int j)
    {
        std::swap(keys_[static_cast<std::size_t>(i)], keys_[static_cast<std::size_t>(j)]);
        exchanged_ = true;
    }
    const Key& at(int i) const { return keys_[static_cast<std::size_t>(i)]; }
    bool in_order(int first, int last) const;
    bool strictly_reversed(int first, int last) const;
    void exchange_pass(int first, int last);
    void partition(int first, int last, int& i, int& j);

    std::vector<Key>& keys_;
    const Order& order_;
    bool descending_;
    bool exchanged_ = false;
};

// Neither the partition nor the exchange pass exchanges anything in a
// range already in order, so such a range is left as it is.
template <class Key, class Order>
bool KeySorter<Key, Order>::in_order(int first, int last) const
{
    for (int k = first; k < last; ++k)
        if (before(at(k + 1), at(k)))
            return false;
    return true;
}

// Keys that all differ have exactly one order; a range in exactly the
// opposite order is simply turned round.
template <class Key, class Order>
bool KeySorter<Key, Order>::strictly_reversed(int first, int last) const
{
    for (int k = first; k < last; ++k)
        if (!before(at(k + 1), at(k)))
            return false;
    return true;
}

template <class Key, class Order>
void KeySorter<Key, Order>::exchange_pass(int first, int last)
{
    for (int i = first; i < last; ++i)
        for (int j = i + 1; j <= last; ++j)
            if (before(at(j), at(i)))
                exchange(i, j);
}

template <class Key, class Order>
void KeySorter<Key, Order>::partition(int first, int last, int& i, int& j)
{
    const Key pivot = at(first);
    i = first;
    j = last + 1;
    for (;;) {
        while (before(at(i), pivot))
            ++i;
        do
            --j;
        while (before(pivot, at(j)));
        if (i >= j)
            break;
        if (order_(at(i), at(j)) != 0)
            exchange(i, j);
        ++i;
    }
    if (i == j)
        ++i;
}

template <class Key, class Order>
void KeySorter<Key, Order>::sort(int first, int last)
{
    // The two parts of a partition are sorted independently of each
    // other: the smaller one by a nested call, the larger one in this
    // loop, so that the nesting stays within log2 of the rows.
    while (first < last) {
        if (last < first + 6) {
            exchange_pass(first, last);
            return;
        }
        if (in_order(first, last))
            return;
        if (strictly_reversed(first, last)) {
            std::reverse(keys_.begin() + first, keys_.begin() + last + 1);
            exchanged_ = true;
            return;
        }
        int i = 0, j = 0;
        partition(first, last, i, j);
        if (j - first < last - i) {
            if (first < j)
                sort(first, j);
            first = i;
        } else {
            if (i < last)
                sort(i, last);
            last = j;
        }
    }
}

// Work areas of the sort, kept for the next one: the key table of each
// key kind and the new order of the rows (position k takes row order[k]).
template <class Key>
std::vector<Key>& key_area()
{
    static std::vector<Key> area;
    return area;
}

std::vector<int>& order_area()
{
    static std::vector<int> area;
    return area;
}

struct SortOutcome {
    const std::vector<int>* order = nullptr;
    bool exchanged = false;
};

template <class Key, class Order>
SortOutcome run(std::vector<Key>& keys, const Order& order, bool descending)
{
    KeySorter<Key, Order> sorter(keys, order, descending);
    sorter.sort(0, static_cast<int>(keys.size()) - 1);
    SortOutcome out;
    out.exchanged = sorter.exchanged();
    if (!out.exchanged)
        return out;
    std::vector<int>& rows = order_area();
    rows.clear();
    rows.reserve(keys.size());
    for (const Key& k : keys)
        rows.push_back(k.row & ~long_key);
    out.order = &rows;
    return out;
}

SortOutcome sort_text(const GridModel& grid, int column, int first, int last, const GridSearchState& s)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    std::vector<TextKey>& keys = key_area<TextKey>();
    keys.clear();
    keys.reserve(static_cast<std::size_t>(last - first + 1));
    std::string scratch;
    for (int r = first; r <= last; ++r) {
        const std::string_view key = text_key(c, r, s.case_blind, s.descending, scratch);
        unsigned char head[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
        std::memcpy(head, key.data(), std::min<std::size_t>(key.size(), 8));
        keys.push_back({big_endian(head), big_endian(head + 4), key.size() > 8 ? r | long_key : r});
    }
    return run(keys, TextOrder(c, s.case_blind, s.descending), s.descending);
}

template <class T>
SortOutcome sort_numbers(const GridModel& grid, int column, int first, int last, bool descending)
{
    std::vector<NumberKey<T>>& keys = key_area<NumberKey<T>>();
    keys.clear();
    keys.reserve(static_cast<std::size_t>(last - first + 1));
    for (int r = first; r <= last; ++r) {
        double key = 0;
        int filled = 0;
        grid_sort_key(grid, column, r, descending, key, filled);
        keys.push_back({static_cast<T>(key), r});
    }
    return run(keys, NumberOrder<T>(), descending);
}

} // namespace

void grid_sort_key(const GridModel& grid, int column, int row, bool descending, double& key, int& filled)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    switch (c.type) {
    case GridCellType::check_box:
        key = grid_cell_check(grid, column, row);
        filled = 1;
        return;
    case GridCellType::menu:
        key = grid_cell_menu(grid, column, row);
        filled = 1;
        return;
    default:
        break;
    }
    double v = 0;
    filled = grid_cell_number(grid, column, row, v) ? 1 : 0;
    if (c.type == GridCellType::integer) {
        key = filled ? std::trunc(v) : (descending ? -2147483647.0 : 2147483647.0);
    } else if (c.type == GridCellType::real) {
        const double largest = std::numeric_limits<float>::max();
        key = filled ? static_cast<double>(static_cast<float>(v)) : (descending ? -largest : largest);
    } else {
        const double largest = std::numeric_limits<double>::max();
        key = filled ? v : (descending ? -largest : largest);
    }
}

bool grid_sort_range(GridModel& grid, int first, int last)
{
    const GridSearchState& s = grid_search_state();
    const std::vector<int>& types = grid_sort_types();
    const auto column = static_cast<std::size_t>(s.column);
    const int code = column < types.size() ? types[column] : grid_type_code(grid.columns[column].type);
    SortOutcome outcome;
    switch (code) {
    case 4:
        outcome = sort_text(grid, s.column, first, last, s);
        break;
    case 6:
        outcome = sort_numbers<float>(grid, s.column, first, last, s.descending);
        break;
    case 7:
        outcome = sort_numbers<double>(grid, s.column, first, last, s.descending);
        break;
    default:
        outcome = sort_numbers<std::int32_t>(grid, s.column, first, last, s.descending);
        break;
    }
    if (!outcome.exchanged)
        return false;
    grid.permute_rows(first, *outcome.order, s.headings);
    return true;
}

void grid_sort_start(GridModel& grid, int first, int last)
{
    if (first >= last)
        return;
    grid.editor_store();
    grid.clear_selection();
    if (!grid_sort_range(grid, first, last))
        return;
    grid.mark_modified();
    grid.cells_changed();
    const GridSearchState& s = grid_search_state();
    if (s.headings && grid.has_row_headings() && grid.view)
        for (int r = first; r <= last; ++r)
            grid.view->row_heading_changed(r);
}

void grid_swap_rows(GridModel& grid, int a, int b, bool headings)
{
    grid.clear_selection();
    grid.editor_store();
    if (a != b) {
        for (GridColumn& c : grid.columns)
            c.swap_rows(a, b, is_number(c.type));
        if (headings && grid.has_row_headings() && !grid.row_texts.empty()) {
            char* p = grid.row_texts.data();
            std::swap_ranges(p + static_cast<std::size_t>(a) * grid_row_text_size,
                             p + static_cast<std::size_t>(a + 1) * grid_row_text_size,
                             p + static_cast<std::size_t>(b) * grid_row_text_size);
            if (grid.view) {
                grid.view->row_heading_changed(a);
                grid.view->row_heading_changed(b);
            }
        }
        grid.cell_changed_at(a);
        grid.cell_changed_at(b);
    }
    if (grid_redraw_flag() == 1 && grid.view)
        grid.view->update_now();
    grid.mark_modified();
}

} // namespace korv

using namespace korv;

void grid_swap_rows(int& id, const int& row_a, const int& row_b, const int& flag)
{
    const GridDirectory& d = grid_directory();
    GridModel* g = d.find ? d.find(id) : nullptr;
    if (!g || row_a < 0 || row_b < 0 || row_a >= g->rows_created || row_b >= g->rows_created)
        return;
    korv::grid_swap_rows(*g, row_a, row_b, flag == 1);
}
