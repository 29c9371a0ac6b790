// The in-place editor: a real control of the column's class laid over the
// current cell, loaded from the cell and stored back when it closes, and
// its keys, which move between cells and extend the selected block.
#include "grid/grid_control_win.h"

#include "korvanthide/conversions.h"
#include "korvanthide/dialogs_win.h"
#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_editor_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

GridControl* control_of_editor(HWND editor) { return grid_control_of(GetParent(GetParent(editor))); }

bool is_edit_type(GridCellType t) { return t <= GridCellType::double_precision; }

GridCellType current_type(const GridControl& g)
{
    return g.cells->columns[static_cast<std::size_t>(g.cells->current_column)].type;
}

std::string editor_text(HWND editor)
{
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(editor), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(editor, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

void set_read_only(GridControl& g, bool read_only)
{
    const GridCellType type = current_type(g);
    read_only = read_only || g.cells->read_only();
    if (is_edit_type(type)) {
        SendMessageA(g.editor, EM_SETREADONLY, read_only, 0);
        if (const FieldRecord* r = field_record_of(g.editor); r && r->updown_partner)
            EnableWindow(r->updown_partner, !read_only);
    } else if (type == GridCellType::check_box) {
        SendMessageA(g.editor, BM_SETSTYLE, read_only ? BS_CHECKBOX : BS_AUTOCHECKBOX, FALSE);
    }
}

void beep() { MessageBeep(MB_OK); }

// Every item of a column control's list, in order.
void copy_list(HWND from, HWND to)
{
    const LRESULT count = from ? SendMessageA(from, CB_GETCOUNT, 0, 0) : 0;
    std::string item;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(from, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0)
            continue;
        item.assign(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(from, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        SendMessageA(to, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

// Moves by rows and columns, beeping at the grid's edges.
void step(GridControl& g, int columns, int rows, bool extend)
{
    const GridModel& m = *g.cells;
    int c = m.current_column + columns, r = m.current_row + rows;
    if (c < 0 || c >= m.column_count()) {
        if (!(g.style() & grid_style_wraps)) {
            beep();
            return;
        }
        r += c < 0 ? -1 : 1;
        c = c < 0 ? m.column_count() - 1 : 0;
    }
    if (r < 0 || r >= m.rows_in_use) {
        beep();
        return;
    }
    grid_move_to_cell(g, c, r, true, extend);
}

// Page scrolls that carry the block along when Shift is held.
void scroll_extend(GridControl& g, UINT message, int code, bool extend)
{
    GridModel& m = *g.cells;
    const int old_column = m.current_column, old_row = m.current_row;
    const int anchor_column = g.anchor_column, anchor_row = g.anchor_row;
    SendMessageA(g.frame, message, static_cast<WPARAM>(code), 0);
    if (!extend)
        return;
    const int ac = anchor_column >= 0 ? anchor_column : old_column;
    const int ar = anchor_column >= 0 ? anchor_row : old_row;
    if (ac == m.current_column && ar == m.current_row) {
        grid_clear_selection(g);
        return;
    }
    grid_select_range(g, std::min(ar, m.current_row), std::max(ar, m.current_row), std::min(ac, m.current_column),
                      std::max(ac, m.current_column));
    g.anchor_column = ac;
    g.anchor_row = ar;
}

bool caret_at_start(HWND editor)
{
    DWORD start = 0, end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end == 0;
}

bool caret_at_end(HWND editor)
{
    DWORD start = 0, end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end) >= GetWindowTextLengthA(editor);
}

bool clipboard_holds_block() { return grid_clipboard_text_kind(grid_clipboard_text()) == 2; }

void paste_block(GridControl& g)
{
    const std::string text = grid_clipboard_text();
    if (!text.empty() && grid_clipboard_text_kind(text) == 2 && grid_paste_allowed(*g.cells, text))
        grid_paste(g);
}

void cut_block(GridControl& g, bool copy_first)
{
    if (!grid_selection_writable(*g.cells))
        return;
    if (copy_first && !grid_copy_selection(g))
        return;
    grid_clear_selected_cells(g);
}

// True when the key was handled here.
bool on_key(GridControl& g, HWND editor, WPARAM key)
{
    const GridModel& m = *g.cells;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool drop_down = g.open_drop_down == editor;
    const GridCellType type = current_type(g);
    const LONG style = g.style();
    switch (key) {
    case VK_TAB:
        if (style & grid_style_tab_moves) {
            step(g, shift ? -1 : 1, 0, false);
            return true;
        }
        if (!is_edit_type(type)) {
            SendMessageA(GetParent(g.frame), WM_NEXTDLGCTL, shift ? 1 : 0, 0);
            return true;
        }
        return false;
    case VK_RETURN:
        if (!(style & grid_style_wants_all_keys))
            return false;
        [[fallthrough]];
    case VK_DOWN:
        if (drop_down)
            return false;
        step(g, 0, 1, shift);
        return true;
    case VK_UP:
        if (drop_down)
            return false;
        step(g, 0, -1, shift);
        return true;
    case VK_LEFT:
        if (is_edit_type(type) && !caret_at_start(editor) && g.anchor_column < 0)
            return false;
        if (ctrl)
            scroll_extend(g, WM_HSCROLL, SB_PAGELEFT, shift);
        else
            step(g, -1, 0, shift);
        return true;
    case VK_RIGHT:
        if (is_edit_type(type) && !caret_at_end(editor) && g.anchor_column < 0)
            return false;
        if (ctrl)
            scroll_extend(g, WM_HSCROLL, SB_PAGERIGHT, shift);
        else
            step(g, 1, 0, shift);
        return true;
    case VK_PRIOR:
        if (drop_down)
            return false;
        if (ctrl)
            grid_move_to_cell(g, m.current_column, 0, true, shift);
        else
            scroll_extend(g, WM_VSCROLL, SB_PAGEUP, shift);
        return true;
    case VK_NEXT:
        if (drop_down)
            return false;
        if (ctrl)
            grid_move_to_cell(g, m.current_column, m.rows_in_use - 1, true, shift);
        else if (m.rows_in_use > g.visible_rows)
            scroll_extend(g, WM_VSCROLL, SB_PAGEDOWN, shift);
        return true;
    case VK_HOME:
    case VK_END:
        if (!ctrl)
            return false;
        grid_move_to_cell(g, key == VK_HOME ? 0 : m.column_count() - 1, m.current_row, true, shift);
        return true;
    case VK_ESCAPE: {
        if (is_edit_type(type))
            return false;
        // A dialog closes; a toolkit window (a grid editor's frame) stays.
        HWND parent = GetParent(g.frame);
        if (static_cast<ATOM>(GetClassLongA(parent, GCW_ATOM)) != control_class_atoms().darivurov)
            SendMessageA(parent, WM_CLOSE, 0, 0);
        return true;
    }
    case VK_INSERT:
        if (!shift || !clipboard_holds_block())
            return false;
        paste_block(g);
        return true;
    case VK_DELETE:
        if (m.selection.empty())
            return false;
        cut_block(g, shift);
        return true;
    default:
        return false;
    }
}

bool on_char(GridControl& g, HWND editor, WPARAM ch)
{
    const GridModel& m = *g.cells;
    switch (ch) {
    case 1:
        if (!is_edit_type(current_type(g)))
            return false;
        SendMessageA(editor, EM_SETSEL, 0, -1);
        SendMessageA(editor, EM_SCROLLCARET, 0, 0);
        return true;
    case 3:
        if (m.selection.empty())
            return false;
        grid_copy_selection(g);
        return true;
    case 9:
    case 13:
        return true;
    case 22:
        if (!clipboard_holds_block())
            return false;
        paste_block(g);
        return true;
    case 24:
        if (m.selection.empty())
            return false;
        cut_block(g, true);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK editor_proc(HWND editor, UINT message, WPARAM w, LPARAM l)
{
    GridControl* g = control_of_editor(editor);
    if (!g || g->editor != editor || !g->editor_previous)
        return DefWindowProcA(editor, message, w, l);
    const WNDPROC previous = g->editor_previous;
    switch (message) {
    case WM_GETDLGCODE: {
        const LRESULT code = CallWindowProcA(previous, editor, message, w, l);
        const LONG style = g->style();
        return code | (style & grid_style_wants_all_keys ? DLGC_WANTALLKEYS
                       : style & grid_style_tab_moves    ? 131
                                                         : 129);
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (grid_editor_keys(GetParent(g->frame), editor, message, w, l) || (message == WM_KEYDOWN && on_key(*g, editor, w)))
            return 0;
        break;
    case WM_CHAR:
        if (on_char(*g, editor, w))
            return 0;
        break;
    case WM_SETFOCUS:
        if (!grid_click_forwarding())
            grid_send_cell_change(*g);
        InvalidateRect(g->cell_area, nullptr, FALSE);
        break;
    case WM_KILLFOCUS:
        InvalidateRect(g->cell_area, nullptr, FALSE);
        break;
    case WM_MOUSEWHEEL:
        return SendMessageA(g->frame, message, w, l);
    case WM_MOUSEMOVE:
        if (w & MK_LBUTTON)
            grid_drag_to(*g, editor, l);
        break;
    case WM_CONTEXTMENU:
        if (g->cells->selection.empty())
            SetFocus(editor);
        return DefWindowProcA(editor, message, w, l);
    case WM_NCHITTEST:
        if (g->inert)
            return HTTRANSPARENT;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, editor, message, w, l);
}

} // namespace

bool grid_focus_inside(const GridControl& g)
{
    HWND focus = GetFocus();
    return focus && (focus == g.frame || IsChild(g.frame, focus));
}

void grid_cell_editor_open(GridControl& g)
{
    GridModel& m = *g.cells;
    if (g.editor)
        grid_cell_editor_close(g, false);
    if (!g.set_up || m.columns.empty() || m.rows_in_use <= 0 || !IsWindowEnabled(g.frame) || !g.cell_area)
        return;
    m.current_column = std::clamp(m.current_column, 0, m.column_count() - 1);
    m.current_row = std::clamp(m.current_row, 0, m.rows_in_use - 1);
    const GridColumnControl& t = g.templates[static_cast<std::size_t>(m.current_column)];
    const GridColumn& col = m.columns[static_cast<std::size_t>(m.current_column)];
    if (!t.window)
        return;
    // The editor is a fresh copy of the column's control. It is a single
    // line, and its read-only state follows the cell (set on loading).
    DWORD style = static_cast<DWORD>(GetWindowLongA(t.window, GWL_STYLE));
    if (is_edit_type(col.type))
        style &= ~static_cast<DWORD>(ES_MULTILINE | ES_READONLY);
    style = (style | WS_VISIBLE | WS_BORDER | WS_CHILD) & ~(WS_DISABLED | WS_POPUP);
    if (col.type == GridCellType::menu)
        style |= WS_VSCROLL | CBS_DROPDOWNLIST;
    if (m.read_only() && is_edit_type(col.type))
        style |= ES_READONLY;
    char class_name[64] = {};
    GetClassNameA(t.window, class_name, sizeof class_name);
    const int x = g.column_x(m.current_column);
    const int y = (m.current_row - m.top_row) * (g.row_height - 1);
    const int height = g.row_height + (col.type == GridCellType::menu ? t.dropped_height : 0);
    g.editor = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(t.window, GWL_EXSTYLE)), class_name, "", style, x,
                               y, t.width, height, g.cell_area, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                               nullptr, nullptr);
    if (!g.editor)
        return;
    // Number editors make their own field record; it takes the column
    // control's range, steps and format. Other editors are coloured and
    // read from the cells and need none.
    const FieldRecord* column_record = field_record_of(t.window);
    if (FieldRecord* r = field_record_of(g.editor); r && column_record) {
        r->minimum = column_record->minimum;
        r->maximum = column_record->maximum;
        r->small_step = column_record->small_step;
        r->large_step = column_record->large_step;
        r->step_base = column_record->step_base;
        r->format = column_record->format;
        if (column_record->updown_partner && r->updown_partner)
            SendMessageA(r->updown_partner, UDM_SETRANGE, 0,
                         SendMessageA(column_record->updown_partner, UDM_GETRANGE, 0, 0));
        const FieldRecord* own = field_record_of(g.frame);
        r->blank_allowed = own ? own->blank_allowed : 0;
    }
    if (g.font)
        SendMessageA(g.editor, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), TRUE);
    if (col.type == GridCellType::text)
        SendMessageA(g.editor, EM_LIMITTEXT, static_cast<WPARAM>(col.max_length), 0);
    else if (col.type == GridCellType::integer)
        SendMessageA(g.editor, EM_LIMITTEXT, 11, 0);
    grid_cell_editor_load(g);
    g.editor_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g.editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_proc)));
}

void grid_cell_editor_load(GridControl& g)
{
    const GridModel& m = *g.cells;
    if (!g.editor)
        return;
    const int c = m.current_column, row = m.current_row;
    const GridColumn& col = m.columns[static_cast<std::size_t>(c)];
    FieldRecord* r = field_record_of(g.editor);
    GridColourTriple fg, bg;
    grid_cell_colours(m, c, row, fg, bg);
    if (r) {
        r->foreground = fg.red >= 0 ? RGB(fg.red, fg.green, fg.blue) : -1;
        r->background = bg.red >= 0 ? RGB(bg.red, bg.green, bg.blue) : -1;
    }
    std::string text;
    switch (col.type) {
    case GridCellType::check_box:
        SendMessageA(g.editor, BM_SETCHECK, static_cast<WPARAM>(col.int_value(row)), 0);
        break;
    case GridCellType::menu:
        SendMessageA(g.editor, CB_RESETCONTENT, 0, 0);
        copy_list(g.templates[static_cast<std::size_t>(c)].window, g.editor);
        SendMessageA(g.editor, CB_SETCURSEL, static_cast<WPARAM>(col.int_value(row)), 0);
        break;
    default: {
        grid_cell_display_text(m, c, row, text);
        SetWindowTextA(g.editor, text.c_str());
        SendMessageA(g.editor, EM_SETMODIFY, 0, 0);
        double value = 0;
        if (r && grid_cell_number(m, c, row, value))
            r->value = value;
        break;
    }
    }
    if (r)
        r->has_value = (col.flags(row) & grid_cell_held_value) ? 1 : 0;
    set_read_only(g, (col.flags(row) & grid_cell_protected) != 0);
    InvalidateRect(g.editor, nullptr, TRUE);
}

void grid_cell_editor_commit(GridControl& g)
{
    GridModel& m = *g.cells;
    if (!g.editor)
        return;
    const int c = m.current_column, row = m.current_row;
    GridColumn& col = m.columns[static_cast<std::size_t>(c)];
    switch (col.type) {
    case GridCellType::text:
        col.set_text(row, editor_text(g.editor));
        break;
    case GridCellType::check_box:
        col.set_int(row, static_cast<std::int32_t>(SendMessageA(g.editor, BM_GETCHECK, 0, 0)));
        break;
    case GridCellType::menu:
        col.set_int(row, static_cast<std::int32_t>(SendMessageA(g.editor, CB_GETCURSEL, 0, 0)));
        break;
    default: {
        const std::string text = editor_text(g.editor);
        if (text.find_first_not_of(' ') == std::string::npos) {
            col.flags(row) &= static_cast<std::uint8_t>(~grid_cell_holds_value);
            break;
        }
        double value = 0;
        int valid = 0;
        conv_double_text_valid(value, valid, text);
        // A number the cell cannot hold leaves the old value.
        if (!valid || grid_value_check(m, c, value) != 0)
            break;
        if (col.type == GridCellType::integer)
            col.set_int(row, static_cast<std::int32_t>(std::trunc(value)));
        else if (col.type == GridCellType::real)
            col.set_real(row, static_cast<float>(value));
        else
            col.set_double(row, value);
        col.flags(row) |= grid_cell_holds_value | grid_cell_held_value;
        break;
    }
    }
}

void grid_cell_editor_close(GridControl& g, bool store)
{
    if (!g.editor)
        return;
    if (store)
        grid_cell_editor_commit(g);
    HWND editor = g.editor;
    g.editor = nullptr;
    g.open_drop_down = nullptr;
    SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g.editor_previous));
    const FieldRecord* r = field_record_of(editor);
    if (r && r->updown_partner)
        DestroyWindow(r->updown_partner);
    DestroyWindow(editor);
}

void grid_move_to_cell(GridControl& g, int column, int row, bool focus, bool extend)
{
    GridModel& m = *g.cells;
    const bool same = column == m.current_column && row == m.current_row;
    if (!same && g.editor && numctl_validate(g.editor, g.editor, 1) != 0)
        return;
    const int old_column = m.current_column, old_row = m.current_row;
    const int anchor_column = g.anchor_column, anchor_row = g.anchor_row;
    if (!same || !g.editor) {
        grid_cell_editor_close(g, true);
        m.current_column = column;
        m.current_row = row;
        grid_scroll_to_row(g, row);
        grid_scroll_into_view(g);
        grid_cell_editor_open(g);
    }
    if (focus && g.editor)
        SetFocus(g.editor);
    else if (grid_focus_inside(g))
        grid_send_cell_change(g);
    if (!extend) {
        grid_clear_selection(g);
        return;
    }
    const int ac = anchor_column >= 0 ? anchor_column : old_column;
    const int ar = anchor_column >= 0 ? anchor_row : old_row;
    if (ac == column && ar == row) {
        grid_clear_selection(g);
        return;
    }
    grid_select_range(g, std::min(ar, row), std::max(ar, row), std::min(ac, column), std::max(ac, column));
    g.anchor_column = ac;
    g.anchor_row = ar;
}

// The model's notices.

void GridControl::editor_store() { grid_cell_editor_commit(*this); }

void GridControl::cell_changed(int column, int row)
{
    if (editor && column == cells->current_column && row == cells->current_row)
        grid_cell_editor_load(*this);
    if (cell_area && !templates.empty() && row >= cells->top_row && row < cells->top_row + cells->rows_shown) {
        const RECT r = cell_rect(column, row);
        InvalidateRect(cell_area, &r, FALSE);
    }
}

void GridControl::cells_changed()
{
    if (editor)
        grid_cell_editor_load(*this);
    if (cell_area)
        InvalidateRect(cell_area, nullptr, FALSE);
}

void GridControl::selection_cleared()
{
    anchor_column = anchor_row = -1;
    if (cell_area)
        InvalidateRect(cell_area, nullptr, FALSE);
    if (style() & grid_style_selection_events)
        grid_post_block_event(*this, 2, GridBlock{}, false);
}

void GridControl::current_cell_moved()
{
    grid_cell_editor_close(*this, false);
    grid_scroll_to_row(*this, cells->current_row);
    grid_scroll_into_view(*this);
    grid_cell_editor_open(*this);
}

void GridControl::rows_changed()
{
    grid_cell_editor_close(*this, false);
    grid_fit_rows(*this);
    grid_layout(*this);
    if (cells->top_row + visible_rows > cells->rows_in_use)
        cells->top_row = std::max(0, cells->rows_in_use - visible_rows);
    grid_row_headings_refresh(*this);
    grid_cell_editor_open(*this);
    if (cell_area)
        InvalidateRect(cell_area, nullptr, TRUE);
}

void GridControl::column_heading_changed(int item)
{
    if (!header)
        return;
    std::string text(cells->column_heading(item));
    HDITEMA hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text.data();
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&hd));
}

void GridControl::row_heading_changed(int row)
{
    const int i = row - cells->top_row;
    if (i < 0 || i >= static_cast<int>(row_headers.size()))
        return;
    std::string text(cells->row_heading(row));
    HDITEMA hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text.data();
    SendMessageA(row_headers[static_cast<std::size_t>(i)], HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&hd));
}

} // namespace korv
