#include "grid/grid_model.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace korv {

std::size_t GridColumn::value_size() const
{
    switch (type) {
    case GridCellType::text:
        return static_cast<std::size_t>(max_length) + 1;
    case GridCellType::double_precision:
        return sizeof(double);
    default:
        return sizeof(std::int32_t);
    }
}

std::string_view GridColumn::display_format() const
{
    return format.empty() ? grid_default_format : std::string_view(format);
}

std::string_view GridColumn::text(int row) const
{
    const char* p = reinterpret_cast<const char*>(cell(row));
    return {p, strnlen(p, static_cast<std::size_t>(max_length))};
}

void GridColumn::set_text(int row, std::string_view text)
{
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(max_length));
    unsigned char* p = cell(row);
    std::memcpy(p, text.data(), n);
    p[n] = 0;
}

std::int32_t GridColumn::int_value(int row) const
{
    std::int32_t v;
    std::memcpy(&v, cell(row), sizeof v);
    return v;
}

void GridColumn::set_int(int row, std::int32_t v) { std::memcpy(cell(row), &v, sizeof v); }

float GridColumn::real_value(int row) const
{
    float v;
    std::memcpy(&v, cell(row), sizeof v);
    return v;
}

void GridColumn::set_real(int row, float v) { std::memcpy(cell(row), &v, sizeof v); }

double GridColumn::double_value(int row) const
{
    double v;
    std::memcpy(&v, cell(row), sizeof v);
    return v;
}

void GridColumn::set_double(int row, double v) { std::memcpy(cell(row), &v, sizeof v); }

void GridColumn::zero(int row) { std::memset(cell(row), 0, type == GridCellType::text ? 1 : value_size()); }

void GridColumn::copy_value(int from, int to)
{
    if (from != to)
        std::memcpy(cell(to), cell(from), value_size());
}

bool GridColumn::make_colours(int rows)
{
    try {
        colours_.assign(static_cast<std::size_t>(rows), GridCellColours{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void GridColumn::swap_rows(int a, int b, bool with_flags)
{
    std::swap_ranges(cell(a), cell(a) + value_size(), cell(b));
    if (with_flags)
        std::swap(flags_[static_cast<std::size_t>(a)], flags_[static_cast<std::size_t>(b)]);
}

std::string_view GridModel::row_heading(int row) const
{
    if (row_texts.empty() || row < 0 || row >= rows_created)
        return {};
    const char* p = row_texts.data() + static_cast<std::size_t>(row) * grid_row_text_size;
    return {p, strnlen(p, grid_row_heading_length)};
}

void GridModel::set_row_heading(int row, std::string_view text)
{
    if (row_texts.empty() || row < 0 || row >= rows_created)
        return;
    char* p = row_texts.data() + static_cast<std::size_t>(row) * grid_row_text_size;
    const std::size_t n = std::min<std::size_t>(text.size(), grid_row_heading_length);
    std::memcpy(p, text.data(), n);
    std::memset(p + n, 0, grid_row_text_size - n);
    if (view)
        view->row_heading_changed(row);
}

std::string_view GridModel::column_heading(int item) const
{
    if (item < 0 || item >= static_cast<int>(column_headings.size()))
        return {};
    return column_headings[static_cast<std::size_t>(item)];
}

void GridModel::set_column_heading(int item, std::string_view text)
{
    if (item < 0 || item >= static_cast<int>(column_headings.size()))
        return;
    column_headings[static_cast<std::size_t>(item)] = text;
    if (view)
        view->column_heading_changed(item);
}

void GridModel::set_rows_in_use(int rows, int id)
{
    if (view) {
        view->rows_in_use_apply(id, rows);
        return;
    }
    clear_selection();
    rows_in_use = rows;
    current_row = std::clamp(current_row, 0, std::max(rows - 1, 0));
    top_row = std::clamp(top_row, 0, std::max(rows - 1, 0));
}

void GridModel::move_to(int column, int row)
{
    clear_selection();
    editor_store();
    current_column = column;
    current_row = row;
    if (view)
        view->current_cell_moved();
}

void GridModel::permute_rows(int first, const std::vector<int>& order, bool headings)
{
    // In place, cycle by cycle and every column in one walk: a sort of all
    // rows moves every row, and a second copy of the cells would cost as
    // much memory again.
    const bool with_texts = headings && has_row_headings() && !row_texts.empty();
    const std::size_t n = order.size();
    const auto base = static_cast<std::size_t>(first);
    std::vector<std::vector<unsigned char>> held(columns.size());
    std::vector<std::uint8_t> held_flags(columns.size());
    std::vector<bool> numeric(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        held[c].resize(columns[c].value_size());
        const GridCellType t = columns[c].type;
        numeric[c] = t == GridCellType::integer || t == GridCellType::real || t == GridCellType::double_precision;
    }
    char held_text[grid_row_text_size];
    const auto text_of = [this](std::size_t row) { return row_texts.data() + row * grid_row_text_size; };
    std::vector<bool> done(n);
    for (std::size_t start = 0; start < n; ++start) {
        if (done[start])
            continue;
        done[start] = true;
        if (static_cast<std::size_t>(order[start]) == base + start)
            continue;
        const int s = static_cast<int>(base + start);
        for (std::size_t c = 0; c < columns.size(); ++c)
            columns[c].cell_out(s, held[c].data(), held_flags[c]);
        if (with_texts)
            std::memcpy(held_text, text_of(base + start), grid_row_text_size);
        std::size_t k = start;
        for (;;) {
            const std::size_t from = static_cast<std::size_t>(order[k]) - base;
            const int to = static_cast<int>(base + k);
            if (from == start) {
                for (std::size_t c = 0; c < columns.size(); ++c)
                    columns[c].cell_in(to, held[c].data(), held_flags[c], numeric[c]);
                if (with_texts)
                    std::memcpy(text_of(base + k), held_text, grid_row_text_size);
                break;
            }
            for (std::size_t c = 0; c < columns.size(); ++c)
                columns[c].move_cell(static_cast<int>(base + from), to, numeric[c]);
            if (with_texts)
                std::memcpy(text_of(base + k), text_of(base + from), grid_row_text_size);
            done[from] = true;
            k = from;
        }
    }
}

void GridModel::go_to(int column, int row, int caret)
{
    if (view) {
        view->goto_cell(column, row, caret);
        return;
    }
    clear_selection();
    current_column = column;
    current_row = row;
}

void GridModel::select(const GridBlock& block)
{
    if (view)
        view->select_block(block);
    else
        selection = block;
}

void GridModel::clear_selection()
{
    // The view clears the block (and the anchor of a Shift extension) with
    // its repaint and its event.
    if (view)
        view->select_block(GridBlock{});
    else
        selection = GridBlock{};
}

namespace {

// No column of a 32-bit process can hold more; larger requests are refused
// before anything is allocated.
constexpr std::size_t largest_column_bytes = std::size_t{1} << 30;

bool checked_product(std::size_t a, std::size_t b, std::size_t& out)
{
    if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a)
        return false;
    out = a * b;
    return true;
}

} // namespace

bool grid_allocate(GridModel& grid, int rows, const std::vector<GridColumnSpec>& specs)
{
    grid.columns.clear();
    if (rows < 0 || rows > grid_max_rows || specs.empty() ||
        specs.size() > static_cast<std::size_t>(grid_max_columns))
        return false;
    std::vector<GridColumn> columns(specs.size());
    try {
        for (std::size_t c = 0; c < specs.size(); ++c) {
            GridColumn& col = columns[c];
            col.type = specs[c].type;
            col.spinner = specs[c].spinner;
            if (col.type == GridCellType::text)
                col.max_length = specs[c].max_length > 0 ? specs[c].max_length : grid_default_text_length;
            else if (col.type == GridCellType::integer)
                col.max_length = 11;
            std::size_t bytes = 0;
            if (col.max_length < 0 || col.max_length >= INT32_MAX ||
                !checked_product(col.value_size(), static_cast<std::size_t>(rows), bytes) ||
                bytes > largest_column_bytes)
                return false;
            col.values_.assign(bytes, 0);
            col.flags_.assign(static_cast<std::size_t>(rows),
                              specs[c].all_protected ? grid_cell_protected : std::uint8_t{0});
        }
        if (grid.has_row_headings())
            grid.row_texts.assign(static_cast<std::size_t>(rows) * grid_row_text_size, 0);
        if (grid.has_column_headings())
            grid.column_headings.assign(specs.size() + 1, std::string());
    } catch (const std::bad_alloc&) {
        grid.row_texts.clear();
        grid.column_headings.clear();
        return false;
    }
    grid.columns = std::move(columns);
    grid.rows_created = rows;
    grid.rows_in_use = rows;
    grid.declared_columns = static_cast<int>(specs.size());
    return true;
}

int grid_type_code(GridCellType type)
{
    switch (type) {
    case GridCellType::text: return 4;
    case GridCellType::integer: return 5;
    case GridCellType::real: return 6;
    case GridCellType::double_precision: return 7;
    case GridCellType::check_box: return 9;
    case GridCellType::menu: return 11;
    }
    return 4;
}

std::size_t grid_storage_bytes(const GridModel& grid)
{
    std::size_t total = grid.row_texts.capacity();
    for (const GridColumn& c : grid.columns)
        total += c.storage_bytes();
    return total;
}

} // namespace korv
