// The grid back ends: each finds its grid by identifier, works on the grid
// model, keeps an open in-place editor in step through the model's view,
// and answers trouble by overwriting the identifier (-1 no grid, -2 index,
// -3 value). Nothing here reports an error.
#include "grid/grid_cells.h"
#include "grid/grid_routines.h"
#include "core/context.h"

#include <korvanthide/conversions.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace korv {

int& grid_redraw_flag()
{
    return toolkit_context().record<int>(ContextSlot::grid_redraw, [] { return 1; });
}

GridEditorSavedState& grid_editor_last_modal()
{
    return toolkit_context().record<GridEditorSavedState>(ContextSlot::grid_editor_last_modal);
}

} // namespace korv

using namespace korv;

namespace {

constexpr int no_grid = -1;
constexpr int bad_index = -2;
constexpr int bad_value = -3;

GridModel* grid_of(int id)
{
    const GridDirectory& d = grid_directory();
    return d.find ? d.find(id) : nullptr;
}

bool column_in(const GridModel& g, int column) { return column >= 0 && column < g.column_count(); }

// The cells every "expects" routine may touch: inside the storage.
bool cell_in(const GridModel& g, int column, int row)
{
    return column_in(g, column) && row >= 0 && row < g.rows_created;
}

GridColumn& column_of(GridModel& g, int column) { return g.columns[static_cast<std::size_t>(column)]; }

// A zero-terminated text read no further than length characters (a
// length below 0 reads to the terminating zero).
std::string_view bounded(const char* text, int length)
{
    if (!text)
        return {};
    const std::size_t limit = length < 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(length);
    return {text, strnlen(text, limit)};
}

// Copies as lstrcpynA does: at most n - 1 characters and a terminating
// zero; nothing for n below 1.
void copy_text(char* buffer, int n, std::string_view text)
{
    if (!buffer || n < 1)
        return;
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(n - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

// Row headings keep 50 characters: a length above 50 copies as 51 does.
int heading_copy_length(int length) { return length > grid_row_heading_length ? grid_row_text_size : length; }

void colours_out(const GridColourTriple& c, int& red, int& green, int& blue)
{
    red = c.red;
    green = c.green;
    blue = c.blue;
}

} // namespace

void grid_cell_get_text(int& id, const int& column, const int& row, char* buffer, const int& length)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    GridEditorSnapshot editor;
    if (g->view && g->view->editor_snapshot(column, row, editor)) {
        copy_text(buffer, length, editor.text);
        return;
    }
    const GridCellType type = column_of(*g, column).type;
    if (type == GridCellType::check_box || type == GridCellType::menu)
        return;
    std::string text;
    grid_cell_display_text(*g, column, row, text);
    copy_text(buffer, length, text);
}

void grid_cell_get_number(int& id, const int& column, const int& row, double& value, int& empty)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    const GridColumn& c = column_of(*g, column);
    if (c.type == GridCellType::check_box || c.type == GridCellType::menu)
        return;
    GridEditorSnapshot editor;
    const bool open = g->view && g->view->editor_snapshot(column, row, editor);
    if (c.type == GridCellType::text) {
        const std::string text = open ? editor.text : std::string(c.text(row));
        empty = text.empty() ? 1 : 0;
        if (!text.empty())
            conv_text_to_double_silent(value, text);
        return;
    }
    if (open) {
        empty = editor.text.empty() ? 1 : 0;
        if (editor.text.empty())
            return;
        // Only what the user typed is read from the text; otherwise the
        // editor's value stands, with every digit the format hides.
        if (editor.modified)
            conv_text_to_double_silent(value, editor.text);
        else
            value = editor.value;
        return;
    }
    double stored = 0;
    empty = grid_cell_number(*g, column, row, stored) ? 0 : 1;
    if (!empty)
        value = stored;
}

void grid_cell_get_check(int& id, const int& column, const int& row, int& state)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    GridEditorSnapshot editor;
    state = g->view && g->view->editor_snapshot(column, row, editor) ? editor.check
                                                                      : grid_cell_check(*g, column, row);
}

void grid_cell_get_menu(int& id, const int& column, const int& row, int& item)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    GridEditorSnapshot editor;
    if (g->view && g->view->editor_snapshot(column, row, editor))
        item = editor.menu + 1;
    else
        item = column_of(*g, column).int_value(row) + 1;
}

void grid_menu_item_text(int& id, const int& column, const int& item, char* buffer, const int& length)
{
    GridModel* g = grid_of(id);
    if (!g || !column_in(*g, column))
        return;
    const std::vector<std::string>& items = column_of(*g, column).items;
    if (item >= 1 && static_cast<std::size_t>(item) <= items.size())
        copy_text(buffer, length, items[static_cast<std::size_t>(item - 1)]);
}

void grid_cell_put_check(int& id, const int& column, const int& row, const int& state)
{
    if (GridModel* g = grid_of(id); g && cell_in(*g, column, row))
        korv::grid_cell_put_check(*g, column, row, state);
}

void grid_cell_put_menu(int& id, const int& column, const int& row, const int& item)
{
    if (GridModel* g = grid_of(id); g && cell_in(*g, column, row))
        korv::grid_cell_put_menu(*g, column, row, item);
}

void grid_cell_put_menu_text(int& id, const int& column, const int& row, int& mismatch, const char* text)
{
    if (GridModel* g = grid_of(id); g && cell_in(*g, column, row))
        mismatch = korv::grid_cell_put_menu_text(*g, column, row, bounded(text, -1)) ? 1 : 0;
}

void grid_cell_put_value(int& id, const int& column, const int& row, const double& value, const char* display,
                         const char* format, const int& text_length, const int& format_length)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    std::string_view text = bounded(display, -1);
    const GridColumn& c = column_of(*g, column);
    if (c.type == GridCellType::text) {
        // Cut like lstrcpynA with the smaller of the two lengths.
        const int n = std::min(text_length, c.max_length + 1);
        text = text.substr(0, static_cast<std::size_t>(std::max(n - 1, 0)));
    }
    korv::grid_cell_put_value(*g, column, row, value, text, bounded(format, format_length));
}

void grid_cell_clear(int& id, const int& column, const int& row, const int& mode)
{
    if (GridModel* g = grid_of(id))
        korv::grid_cell_clear(*g, column, row, mode);
}

void grid_menu_items_clear(int& id, const int& column, const int& row)
{
    GridModel* g = grid_of(id);
    if (!g)
        return;
    if (!column_in(*g, column) || column_of(*g, column).type != GridCellType::menu) {
        id = no_grid;
        return;
    }
    column_of(*g, column).items.clear();
    g->column_changed(column);
    // An editor open on that cell shows the emptied list; stored indices stay.
    if (row >= 0 && row < g->rows_created)
        g->cell_changed(column, row);
}

void grid_menu_item_add(int& id, const int& column, const int& row, const char* text)
{
    GridModel* g = grid_of(id);
    if (!g || !column_in(*g, column))
        return;
    column_of(*g, column).items.emplace_back(bounded(text, -1));
    g->column_changed(column);
    if (row >= 0 && row < g->rows_created)
        g->cell_changed(column, row);
}

void grid_column_format(int& id, const int& column, char* buffer, const int& length)
{
    GridModel* g = grid_of(id);
    std::string_view format = grid_default_format;
    if (g && column_in(*g, column)) {
        const GridColumn& c = column_of(*g, column);
        if ((c.type == GridCellType::real || c.type == GridCellType::double_precision) && !c.format.empty())
            format = c.format;
    }
    copy_text(buffer, length, format);
}

void grid_column_type_code(int& id, const int& column, int& code)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (!column_in(*g, column))
        id = bad_index;
    else
        code = grid_type_code(column_of(*g, column).type);
}

void grid_column_text_length(int& id, const int& column, int& length)
{
    if (GridModel* g = grid_of(id); g && column_in(*g, column))
        length = column_of(*g, column).max_length + 1;
}

void grid_column_alignment(int& id, const int& column, int& alignment)
{
    GridModel* g = grid_of(id);
    if (!g || !column_in(*g, column)) {
        alignment = 0;
        return;
    }
    const GridColumn& c = column_of(*g, column);
    if (c.type == GridCellType::check_box)
        alignment = 1;
    else if (c.type == GridCellType::menu)
        alignment = 0;
    else
        alignment = c.alignment;
}

void grid_column_case(int& id, const int& column, int& letter_case)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (!column_in(*g, column))
        id = bad_index;
    else
        letter_case = column_of(*g, column).letter_case;
}

void grid_headings_info(int& id, int& column_headings, int& row_headings)
{
    GridModel* g = grid_of(id);
    column_headings = g && g->has_column_headings() ? 1 : 0;
    row_headings = g && g->has_row_headings() && g->view ? g->view->row_heading_pixels() : 0;
}

void grid_column_heading_put(int& id, const int& item, const char* text, const int& length)
{
    if (GridModel* g = grid_of(id); g && g->has_column_headings())
        g->set_column_heading(item, bounded(text, length));
}

void grid_column_heading_get(int& id, const int& item, char* buffer, const int& length)
{
    GridModel* g = grid_of(id);
    if (!g)
        return;
    copy_text(buffer, length, g->has_column_headings() ? g->column_heading(item) : std::string_view{});
}

void grid_row_heading_put(int& id, const int& row, const char* text, const int& length)
{
    GridModel* g = grid_of(id);
    if (!g || !g->has_row_headings())
        return;
    const int n = heading_copy_length(length);
    const std::string_view t = bounded(text, -1);
    g->set_row_heading(row, t.substr(0, static_cast<std::size_t>(std::max(n - 1, 0))));
}

void grid_row_heading_get(int& id, const int& row, char* buffer, const int& length)
{
    GridModel* g = grid_of(id);
    if (!g)
        return;
    copy_text(buffer, heading_copy_length(length), g->has_row_headings() ? g->row_heading(row) : std::string_view{});
}

void grid_cell_colours_get(int& id, const int& column, const int& row, int& fg_red, int& fg_green, int& fg_blue,
                           int& bg_red, int& bg_green, int& bg_blue)
{
    GridColourTriple fg, bg;
    if (GridModel* g = grid_of(id); g && cell_in(*g, column, row))
        grid_cell_colours(*g, column, row, fg, bg);
    colours_out(fg, fg_red, fg_green, fg_blue);
    colours_out(bg, bg_red, bg_green, bg_blue);
}

void grid_cell_colours_put(int& id, const int& column, const int& row, const int& fg_red, const int& fg_green,
                           const int& fg_blue, const int& bg_red, const int& bg_green, const int& bg_blue)
{
    GridModel* g = grid_of(id);
    if (!g) {
        id = no_grid;
        return;
    }
    if (!column_in(*g, column) || row < 0 || row >= g->rows_in_use) {
        id = bad_index;
        return;
    }
    if (!grid_cell_colours_store(*g, column, row, {fg_red, fg_green, fg_blue}, {bg_red, bg_green, bg_blue}))
        id = bad_value;
}

void grid_column_colours_put(int& id, const int& column, const int& fg_red, const int& fg_green,
                             const int& fg_blue, const int& bg_red, const int& bg_green, const int& bg_blue)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (!column_in(*g, column))
        id = bad_index;
    else
        grid_column_colours_store(*g, column, {fg_red, fg_green, fg_blue}, {bg_red, bg_green, bg_blue});
}

void grid_column_range_put(int& id, const int& column, const double& minimum, const double& maximum)
{
    GridModel* g = grid_of(id);
    if (!g) {
        id = no_grid;
        return;
    }
    if (!column_in(*g, column)) {
        id = bad_index;
        return;
    }
    GridColumn& c = column_of(*g, column);
    c.minimum = minimum;
    c.maximum = maximum;
    g->column_changed(column);
    if (g->view)
        g->view->range_changed(column);
}

namespace {

// The steps of a spinner column of the given type; -2 for any other.
void put_steps(int& id, int column, GridCellType type, double small_step, double large_step, int base)
{
    GridModel* g = grid_of(id);
    if (!g) {
        id = no_grid;
        return;
    }
    if (!column_in(*g, column) || column_of(*g, column).type != type || !column_of(*g, column).spinner) {
        id = bad_index;
        return;
    }
    GridColumn& c = column_of(*g, column);
    c.small_step = small_step;
    c.large_step = large_step;
    if (type == GridCellType::integer)
        c.step_base = base;
    g->column_changed(column);
}

} // namespace

void grid_column_int_steps_put(int& id, const int& column, const int& small_step, const int& large_step,
                               const int& base)
{
    put_steps(id, column, GridCellType::integer, small_step, large_step != 0 ? large_step : small_step, base);
}

void grid_column_real_steps_put(int& id, const int& column, const float& small_step, const float& large_step)
{
    put_steps(id, column, GridCellType::real, small_step, large_step, 0);
}

void grid_column_double_steps_put(int& id, const int& column, const double& small_step, const double& large_step)
{
    put_steps(id, column, GridCellType::double_precision, small_step, large_step, 0);
}

void grid_cell_protect(int& id, const int& column, const int& row, const int& state)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, row))
        return;
    std::uint8_t& flags = column_of(*g, column).flags(row);
    if (state == 1)
        flags &= static_cast<std::uint8_t>(~grid_cell_protected);
    else
        flags |= grid_cell_protected;
    g->cell_changed(column, row);
}

void grid_cell_protect_copy(int& id, const int& column, const int& from_row, const int& to_row)
{
    GridModel* g = grid_of(id);
    if (!g || !cell_in(*g, column, from_row) || !cell_in(*g, column, to_row))
        return;
    GridColumn& c = column_of(*g, column);
    c.flags(to_row) = static_cast<std::uint8_t>((c.flags(to_row) & ~grid_cell_protected) |
                                                (c.flags(from_row) & grid_cell_protected));
    g->cell_changed(column, to_row);
}

void grid_check_range(int& id, const int& column, const double& value)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (!column_in(*g, column))
        id = bad_index;
    else if (grid_value_check(*g, column, value) != 0)
        id = bad_value;
}

void grid_goto_cell(int& id, const int& column, const int& row, const int& caret)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (!column_in(*g, column) || row < 0 || row >= g->rows_in_use)
        id = bad_index;
    else
        g->go_to(column, row, caret);
}

void grid_deselect(int& id)
{
    if (GridModel* g = grid_of(id))
        g->clear_selection();
    else
        id = no_grid;
}

void grid_select_block(int& id, const int& first_column, const int& first_row, const int& last_column,
                       const int& last_row)
{
    GridModel* g = grid_of(id);
    if (!g) {
        id = no_grid;
        return;
    }
    const auto row_in = [g](int r) { return r >= 0 && r < g->rows_in_use; };
    if (!column_in(*g, first_column) || !column_in(*g, last_column) || !row_in(first_row) || !row_in(last_row)) {
        id = bad_index;
        return;
    }
    g->select(GridBlock{first_row, last_row, first_column, last_column});
}

void grid_set_row_count(int& id, const int& rows)
{
    GridModel* g = grid_of(id);
    if (!g)
        id = no_grid;
    else if (rows >= 0 && rows <= g->rows_created)
        g->set_rows_in_use(rows, id);
}

void grid_query(int& id, const int& code, int& value)
{
    namespace q = grid_query_code;
    if (id == -2) {
        const GridEditorSavedState& s = grid_editor_last_modal();
        if (code == q::unchanged)
            value = 1 - s.modified_1;
        else if (code == q::modified)
            value = s.modified_2;
        else if (code == q::find_options)
            value = (s.texts.match_case ? 0 : 2) + (s.texts.search_numbers ? 4 : 0);
        return;
    }
    GridModel* g = grid_of(id);
    if (!g) {
        id = no_grid;
        return;
    }
    const GridBlock& b = g->selection;
    switch (code) {
    case q::columns: value = g->column_count(); break;
    case q::rows_created: value = g->rows_created; break;
    case q::rows_in_use: value = g->rows_in_use; break;
    case q::current_column: value = g->current_column + 1; break;
    case q::current_row: value = g->current_row + 1; break;
    case q::unchanged: value = 1 - g->modified_1; break;
    case q::modified: value = g->modified_2; break;
    case q::first_visible_column: value = g->first_visible_column + 1; break;
    case q::top_row: value = g->top_row + 1; break;
    case q::first_selected_column: value = b.empty() ? 0 : b.first_column + 1; break;
    case q::first_selected_row: value = b.empty() ? 0 : b.first_row + 1; break;
    case q::last_selected_column: value = b.empty() ? 0 : b.last_column + 1; break;
    case q::last_selected_row: value = b.empty() ? 0 : b.last_row + 1; break;
    case q::find_options: {
        const GridDirectory& d = grid_directory();
        const GridEditorTexts* e =
            id == 0 && d.editor_texts && d.current_window ? d.editor_texts(d.current_window()) : nullptr;
        value = e ? (e->match_case ? 0 : 2) + (e->search_numbers ? 4 : 0) : 0;
        break;
    }
    case q::rows_shown: value = g->rows_shown; break;
    case q::declared_columns: value = g->declared_columns; break;
    default: break;
    }
}

void grid_redraw_suspend() { grid_redraw_flag() = 0; }

void grid_redraw_resume(int& id)
{
    grid_redraw_flag() = 1;
    if (GridModel* g = grid_of(id); g && g->view)
        g->view->update_now();
}

namespace {

GridEditorTexts* current_editor_texts()
{
    const GridDirectory& d = grid_directory();
    return d.editor_texts && d.current_window ? d.editor_texts(d.current_window()) : nullptr;
}

constexpr int error_no_grid_editor = 1006;

} // namespace

void grid_editor_text_get(const int& window, const int& code, char* buffer, const int& length)
{
    const GridDirectory& d = grid_directory();
    const GridEditorTexts* e = window == -1 ? &grid_editor_last_modal().texts
                               : d.editor_texts ? d.editor_texts(window)
                                                : nullptr;
    if (!e)
        return;
    if (code == 1)
        copy_text(buffer, length, e->find_text);
    else if (code == 2)
        copy_text(buffer, length, e->second_text);
    else if (code == 3)
        copy_text(buffer, length, e->file_name);
}

void grid_editor_find_text_put(int& error, const char* text)
{
    GridEditorTexts* e = current_editor_texts();
    if (!e) {
        error = error_no_grid_editor;
        return;
    }
    e->find_text = bounded(text, static_cast<int>(grid_editor_text_size - 1));
    error = 0;
}

void grid_editor_find_options_put(const int& flags, int& error)
{
    GridEditorTexts* e = current_editor_texts();
    if (!e) {
        error = error_no_grid_editor;
        return;
    }
    e->match_case = (flags & 2) == 0;
    e->search_numbers = (flags & 4) != 0;
    error = 0;
}
