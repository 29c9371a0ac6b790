// The in-place editor: a real control of the column's class laid over the
// current cell, loaded from the cell and stored back when it closes, and
// its keys, which move between cells and extend the selected block.
#include "grid/grid_control_win.h"

#include "korvanthide/conversions.h"
#include "core/context.h"
#include "core/conversion_routines.h"
#include "core/window_layer.h"
#include "korvanthide/dialogs_win.h"
// The dialog manager's default blank-allowed flag for grid number cells.
#include "dialogs/dialog_internal.h"
#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_editor_win.h"
#include "korvanthide/window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace korv {

namespace {

GridRecord* control_of_editor(HWND editor) { return grid_control_of(GetParent(GetParent(editor))); }

// Shared by all grids. The focus mark is 0 after the focus went from an
// editor to its grid window itself (on its way to the next editor), 1
// after it went anywhere else; the from-outside note is 1 when the last
// focus arrival at an editor came from outside its grid.
struct FocusMarks {
    int focus_mark = 1;
    int from_outside = 0;
};
FocusMarks& focus_marks()
{
    return toolkit_context().record<FocusMarks>(ContextSlot::grid_focus_marks);
}

// The window whose title bar or frame took the last press contains the
// grid: the focus returns from a move of that window.
bool pressed_frame_holds(const GridRecord& g)
{
    HWND pressed = win_pressed_frame();
    return pressed && (pressed == g.frame || IsChild(pressed, g.frame));
}

// The window is the grid, a child of it or a child of such a child.
bool inside_grid(const GridRecord& g, HWND w)
{
    return w && (w == g.frame || GetParent(w) == g.frame || (GetParent(w) && GetParent(GetParent(w)) == g.frame));
}

bool is_edit_type(GridCellType t) { return t <= GridCellType::double_precision; }

GridCellType current_type(const GridRecord& g)
{
    return g.cells->columns[static_cast<std::size_t>(g.cells->current_column)].type;
}

std::string editor_text(HWND editor)
{
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(editor), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(editor, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

void beep() { dialog_beep(3); }

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
void step(GridRecord& g, int columns, int rows, bool extend)
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

// The character at the caret's point.
int caret_character(HWND editor)
{
    POINT caret{};
    GetCaretPos(&caret);
    return LOWORD(SendMessageA(editor, EM_CHARFROMPOS, 0, MAKELPARAM(caret.x + 2, caret.y)));
}

bool caret_at_start(HWND editor) { return caret_character(editor) == 0; }

bool caret_at_end(HWND editor) { return caret_character(editor) >= GetWindowTextLengthA(editor); }

bool clipboard_holds_block() { return grid_clipboard_text_kind(grid_clipboard_text()) == 2; }

void paste_block(GridRecord& g)
{
    const std::string text = grid_clipboard_text();
    if (!text.empty() && grid_clipboard_text_kind(text) == 2 && grid_paste_allowed(*g.cells, text))
        grid_paste(g);
}

void cut_block(GridRecord& g, bool copy_first)
{
    if (!grid_selection_writable(*g.cells))
        return;
    if (copy_first && !grid_copy_selection(g))
        return;
    grid_clear_selected_cells(g);
}

// True when the key was handled here.
bool on_key(GridRecord& g, HWND editor, WPARAM key)
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
            grid_scroll_extend(g.frame, WM_HSCROLL, SB_PAGELEFT, 0, shift);
        else
            step(g, -1, 0, shift);
        return true;
    case VK_RIGHT:
        if (is_edit_type(type) && !caret_at_end(editor) && g.anchor_column < 0)
            return false;
        if (ctrl)
            grid_scroll_extend(g.frame, WM_HSCROLL, SB_PAGERIGHT, 0, shift);
        else
            step(g, 1, 0, shift);
        return true;
    case VK_PRIOR:
        if (drop_down)
            return false;
        if (ctrl)
            grid_move_to_cell(g, m.current_column, 0, true, shift);
        else
            grid_scroll_extend(g.frame, WM_VSCROLL, SB_PAGEUP, 0, shift);
        return true;
    case VK_NEXT:
        if (drop_down)
            return false;
        if (ctrl)
            grid_move_to_cell(g, m.current_column, m.rows_in_use - 1, true, shift);
        else if (m.rows_in_use > g.visible_rows)
            grid_scroll_extend(g.frame, WM_VSCROLL, SB_PAGEDOWN, 0, shift);
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

bool on_char(GridRecord& g, HWND editor, WPARAM ch)
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

void on_editor_focus(GridRecord& g, HWND losing)
{
    FocusMarks& marks = focus_marks();
    if (inside_grid(g, losing)) {
        if (!pressed_frame_holds(g)) {
            if (marks.focus_mark == 0)
                marks.focus_mark = 1;
            else
                grid_invalidate_selection(g);
            marks.from_outside = 0;
        }
    } else {
        marks.from_outside = 1;
    }
    // A click forwarded into the editor from inside the grid has reported
    // its cell already; one that brings the focus in from outside has not.
    if (!(grid_click_forwarding() && marks.from_outside == 0))
        grid_send_cell_change(g);
}

void on_editor_focus_lost(GridRecord& g, HWND gaining)
{
    if (pressed_frame_holds(g))
        return;
    HWND parent = GetParent(g.frame);
    const bool toolkit_parent =
        static_cast<ATOM>(GetClassLongA(parent, GCW_ATOM)) == control_class_atoms().darivurov;
    if (gaining && ((toolkit_parent && gaining == parent) || gaining == g.frame)) {
        focus_marks().focus_mark = 0;
    } else {
        focus_marks().focus_mark = 1;
        grid_invalidate_selection(g);
    }
}

// A check-box editor on a highlighted current cell: the button paints
// itself into a bitmap, which is shown on the highlight colour. False for
// every other paint, which the button does as usual.
bool paint_lit_check_box(GridRecord& g, HWND editor, WNDPROC previous)
{
    const GridModel& m = *g.cells;
    const GridBlock& b = m.selection;
    const int c = m.current_column, r = m.current_row;
    if (m.columns[static_cast<std::size_t>(c)].type != GridCellType::check_box || b.empty() ||
        !IsWindowEnabled(g.frame) || !grid_focus_inside(g) || r < b.first_row || r > b.last_row ||
        c < b.first_column || c > b.last_column)
        return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(editor, &ps);
    RECT client;
    GetClientRect(editor, &client);
    const int w = std::max<int>(client.right, 1), h = std::max<int>(client.bottom, 1);
    HBITMAP image = CreateCompatibleBitmap(dc, w, h), lit = CreateCompatibleBitmap(dc, w, h);
    HBITMAP scratch = CreateCompatibleBitmap(dc, w, h);
    HDC memory = CreateCompatibleDC(dc);
    if (image && lit && scratch && memory) {
        HGDIOBJ old = SelectObject(memory, image);
        FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
        CallWindowProcA(previous, editor, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
        SelectObject(memory, old);
        grid_draw_bitmap_transparent(image, lit, scratch);
        old = SelectObject(memory, lit);
        BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    for (HBITMAP bitmap : {image, lit, scratch})
        if (bitmap)
            DeleteObject(bitmap);
    EndPaint(editor, &ps);
    return true;
}

} // namespace

LRESULT CALLBACK grid_cell_editor_proc(HWND editor, UINT message, WPARAM w, LPARAM l)
{
    GridRecord* g = control_of_editor(editor);
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
    case WM_SETFOCUS: {
        on_editor_focus(*g, reinterpret_cast<HWND>(w));
        const LRESULT r = CallWindowProcA(previous, editor, message, w, l);
        UpdateWindow(editor);
        return r;
    }
    case WM_SETTEXT: {
        const LRESULT r = CallWindowProcA(previous, editor, message, w, l);
        UpdateWindow(editor);
        return r;
    }
    case WM_KILLFOCUS:
        on_editor_focus_lost(*g, reinterpret_cast<HWND>(w));
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
    case WM_PAINT:
        if (paint_lit_check_box(*g, editor, previous))
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, editor, message, w, l);
}

bool grid_focus_inside(const GridRecord& g)
{
    HWND focus = GetFocus();
    return focus && (focus == g.frame || IsChild(g.frame, focus));
}

namespace {

// The editor's field record takes the column control's range, steps,
// format, length and change-events flag; the blank-allowed flag comes from
// the grid's own record.
void fill_editor_record(GridRecord& g, const GridColumnControl& t)
{
    const FieldRecord* column_record = field_record_of(t.window);
    FieldRecord* r = field_record_of(g.editor);
    if (!r || !column_record)
        return;
    r->value = column_record->value;
    r->minimum = column_record->minimum;
    r->maximum = column_record->maximum;
    r->small_step = column_record->small_step;
    r->large_step = column_record->large_step;
    r->step_base = column_record->step_base;
    r->has_value = column_record->has_value;
    r->foreground = column_record->foreground;
    r->background = column_record->background;
    r->maximum_length = column_record->maximum_length;
    r->format = column_record->format;
    r->change_reporting = column_record->change_reporting;
    r->field_flags = column_record->field_flags;
    if (column_record->updown_partner && r->updown_partner)
        SendMessageA(r->updown_partner, UDM_SETRANGE, 0, SendMessageA(column_record->updown_partner, UDM_GETRANGE, 0, 0));
    const FieldRecord* own = field_record_of(g.frame);
    r->blank_allowed = own ? own->blank_allowed : dialog_proc_state().grid_blank_default;
}

// The text of a number cell as the editor shows it: empty when the cell
// holds no value.
std::string number_text(const GridColumn& col, int row)
{
    std::array<char, 52> text{};
    if (!(col.flags(row) & grid_cell_holds_value))
        return {};
    if (col.type == GridCellType::integer)
        yyint2st(col.int_value(row), text);
    else if (col.type == GridCellType::real)
        yyrea2st(col.real_value(row), text, col.display_format());
    else
        yydbl2st(col.double_value(row), text, col.display_format());
    std::string out(text.data(), strnlen(text.data(), text.size()));
    out.erase(out.find_last_not_of(' ') + 1);
    return out;
}

} // namespace

// Loading the editor's window text is no change the user made: its
// EN_CHANGE is not taken as one.
void grid_editor_text_set(GridRecord& g, const char* text)
{
    ++g.editor_loading;
    SetWindowTextA(g.editor, text);
    --g.editor_loading;
}

HWND grid_cell_text_editor(const GridRecord& g)
{
    if (!g.editor)
        return nullptr;
    char name[32] = {};
    GetClassNameA(g.editor, name, sizeof name);
    for (const char* text_class :
         {"EDIT", "INTEGEREDIT", "INTEGERSPIN", "REALEDIT", "REALSPIN", "DOUBLEEDIT", "DOUBLESPIN"})
        if (lstrcmpiA(name, text_class) == 0)
            return g.editor;
    return nullptr;
}

void grid_cell_editor_open(GridRecord& g)
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
    // The editor is a fresh copy of the column's control, multi-line as
    // that is (Enter asks the cell area for the dialog's default button);
    // its read-only state follows the cell (set on loading).
    DWORD style = static_cast<DWORD>(GetWindowLongA(t.window, GWL_STYLE));
    if (is_edit_type(col.type))
        style &= ~static_cast<DWORD>(ES_READONLY);
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
    fill_editor_record(g, t);
    if (g.font)
        SendMessageA(g.editor, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), TRUE);
    if (col.type == GridCellType::text)
        SendMessageA(g.editor, EM_LIMITTEXT, static_cast<WPARAM>(col.max_length), 0);
    else if (col.type == GridCellType::integer)
        SendMessageA(g.editor, EM_LIMITTEXT, 11, 0);
    grid_cell_editor_load(g);
    g.editor_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g.editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(grid_cell_editor_proc)));
}

void grid_cell_editor_load(GridRecord& g)
{
    const GridModel& m = *g.cells;
    if (!g.editor)
        return;
    const int c = m.current_column, row = m.current_row;
    const GridColumn& col = m.columns[static_cast<std::size_t>(c)];
    FieldRecord* r = field_record_of(g.editor);
    if (r && col.has_colours()) {
        const GridCellColours& item = col.colour_item(row);
        r->foreground = (item[0] & 1) ? RGB(item[1], item[2], item[3]) : -1;
        r->background = (item[0] & 2) ? RGB(item[4], item[5], item[6]) : -1;
    }
    switch (col.type) {
    case GridCellType::check_box:
        SetWindowTextA(g.editor, std::string(31, ' ').c_str());
        SendMessageA(g.editor, BM_SETCHECK, static_cast<WPARAM>(col.int_value(row)), 0);
        break;
    case GridCellType::menu:
        SendMessageA(g.editor, CB_RESETCONTENT, 0, 0);
        copy_list(g.templates[static_cast<std::size_t>(c)].window, g.editor);
        SendMessageA(g.editor, CB_SETCURSEL, static_cast<WPARAM>(col.int_value(row)), 0);
        break;
    case GridCellType::text:
        grid_editor_text_set(g, std::string(col.text(row)).c_str());
        SendMessageA(g.editor, EM_SETMODIFY, 0, 0);
        break;
    default: {
        grid_editor_text_set(g, number_text(col, row).c_str());
        double value = 0;
        if (r)
            r->value = grid_cell_number(m, c, row, value) ? value : 0;
        SendMessageA(g.editor, EM_SETMODIFY, 0, 0);
        break;
    }
    }
    if (r)
        r->has_value = (col.flags(row) & grid_cell_held_value) ? 1 : 0;
    grid_cell_editor_set_readonly(g.editor, static_cast<int>(col.type), (col.flags(row) & grid_cell_protected) ? 1 : 0,
                                  0);
    InvalidateRect(g.editor, nullptr, TRUE);
}

void grid_cell_editor_commit(GridRecord& g)
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
    default:
        grid_commit_number(g, col, row);
        break;
    }
}

void grid_commit_number(GridRecord& g, GridColumn& col, int row)
{
    const std::string text = editor_text(g.editor).substr(0, 50);
    // Only a text the user changed is read back: the text of an untouched
    // editor is the value through the display format, which may have lost
    // digits; the field record keeps the value itself.
    const FieldRecord* r = field_record_of(g.editor);
    const bool modified = SendMessageA(g.editor, EM_GETMODIFY, 0, 0) != 0 || !r;
    if (col.type == GridCellType::integer) {
        int v = 0;
        if (modified)
            conv_integer_to_delimiter(v, std::string_view(text).substr(0, 12));
        else
            v = static_cast<int>(std::clamp(std::trunc(r->value), -2147483648.0, 2147483647.0));
        col.set_int(row, v);
    } else if (col.type == GridCellType::real) {
        float v = 0;
        if (modified) {
            conv_real_to_delimiter(v, text);
        } else {
            const double largest = std::numeric_limits<float>::max();
            v = static_cast<float>(std::clamp(r->value, -largest, largest));
        }
        col.set_real(row, v);
    } else {
        double v = 0;
        if (modified)
            conv_text_to_double_silent(v, text);
        else
            v = r->value;
        col.set_double(row, v);
    }
    if (text.find_first_not_of(' ') == std::string::npos)
        col.flags(row) &= static_cast<std::uint8_t>(~grid_cell_holds_value);
    else
        col.flags(row) |= grid_cell_holds_value | grid_cell_held_value;
}

void grid_cell_editor_close(GridRecord& g, bool store)
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

void grid_cell_editor_set_readonly(HWND editor, int type, int read_only, int update)
{
    GridRecord* g = editor ? control_of_editor(editor) : nullptr;
    if (type < 0 || !g)
        return;
    // A read-only grid stays read-only.
    if (g->cells->read_only() && read_only == 0)
        return;
    if (type <= static_cast<int>(GridCellType::double_precision)) {
        SendMessageA(editor, EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
        if (update)
            UpdateWindow(editor);
        if (const FieldRecord* r = field_record_of(editor); r && r->updown_partner) {
            EnableWindow(r->updown_partner, read_only ? FALSE : TRUE);
            if (update)
                RedrawWindow(r->updown_partner, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
        }
    } else if (type == static_cast<int>(GridCellType::check_box)) {
        SendMessageA(editor, BM_SETSTYLE, read_only ? BS_CHECKBOX : BS_AUTOCHECKBOX, update ? TRUE : FALSE);
    }
}

void grid_move_to_cell(GridRecord& g, int column, int row, bool focus, bool extend)
{
    GridModel& m = *g.cells;
    const bool same = column == m.current_column && row == m.current_row;
    if (same && g.editor && focus_marks().from_outside == 0 && !focus && !extend)
        return;
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
        SetFocus(g.frame);
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

void grid_scroll_extend(HWND grid, UINT message, WPARAM w, LPARAM l, bool extend)
{
    GridRecord* g = grid_control_of(grid);
    if (!g)
        return;
    GridModel& m = *g->cells;
    const int old_column = m.current_column, old_row = m.current_row;
    const int anchor_column = g->anchor_column, anchor_row = g->anchor_row;
    SendMessageA(grid, message, w, l);
    if (!extend)
        return;
    const int ac = anchor_column >= 0 ? anchor_column : old_column;
    const int ar = anchor_column >= 0 ? anchor_row : old_row;
    if (ac == m.current_column && ar == m.current_row) {
        grid_clear_selection(*g);
        return;
    }
    grid_select_range(*g, std::min(ar, m.current_row), std::max(ar, m.current_row), std::min(ac, m.current_column),
                      std::max(ac, m.current_column));
    g->anchor_column = ac;
    g->anchor_row = ar;
}

LRESULT CALLBACK grid_updown_shift_click_proc(HWND updown, UINT message, WPARAM w, LPARAM l)
{
    // The previous procedure lives in the control's user data.
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(updown, GWLP_USERDATA));
    if (message == WM_LBUTTONDOWN && (w & MK_SHIFT)) {
        if (HWND buddy = reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)))
            return SendMessageA(buddy, message, w, l);
    }
    return previous ? CallWindowProcA(previous, updown, message, w, l) : DefWindowProcA(updown, message, w, l);
}

// The model's notices.

void GridRecord::editor_store() { grid_cell_editor_commit(*this); }

void GridRecord::cell_changed(int column, int row)
{
    if (editor && column == cells->current_column && row == cells->current_row)
        grid_cell_editor_load(*this);
    grid_repaint_cell(*this, column, row, grid_redraw_flag());
}

void GridRecord::cells_changed()
{
    if (editor)
        grid_cell_editor_load(*this);
    if (cell_area) {
        InvalidateRect(cell_area, nullptr, FALSE);
        if (grid_redraw_flag())
            UpdateWindow(cell_area);
    }
}

void GridRecord::current_cell_moved()
{
    grid_cell_editor_close(*this, false);
    grid_scroll_to_row(*this, cells->current_row);
    grid_scroll_into_view(*this);
    grid_cell_editor_open(*this);
}

bool GridRecord::editor_snapshot(int column, int row, GridEditorSnapshot& out) const
{
    if (!editor || column != cells->current_column || row != cells->current_row)
        return false;
    out.text = editor_text(editor);
    out.modified = SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0;
    const FieldRecord* r = field_record_of(editor);
    out.value = r ? r->value : 0;
    out.check = static_cast<int>(SendMessageA(editor, BM_GETCHECK, 0, 0));
    out.menu = static_cast<int>(SendMessageA(editor, CB_GETCURSEL, 0, 0));
    return true;
}

void GridRecord::select_block(const GridBlock& block)
{
    if (block.empty())
        grid_clear_selection(*this);
    else
        grid_select_range(*this, block.first_row, block.last_row, block.first_column, block.last_column);
}

void GridRecord::goto_cell(int column, int row, int caret)
{
    grid_clear_selection(*this);
    HWND parent = GetParent(frame);
    const bool may_focus = parent && IsWindowVisible(parent) && !(GetWindowLongA(parent, GWL_STYLE) & WS_DISABLED);
    if (may_focus)
        SetFocus(parent);
    grid_move_to_cell(*this, column, row, may_focus, false);
    if (!may_focus)
        return;
    SetFocus(frame);
    HWND focus = GetFocus();
    if (caret < 0 || !focus)
        return;
    const ATOM atom = static_cast<ATOM>(GetClassLongA(focus, GCW_ATOM));
    const ControlClassAtoms& a = control_class_atoms();
    if (atom == a.edit || atom == a.integer_edit || atom == a.integer_spin || atom == a.real_edit ||
        atom == a.real_spin || atom == a.double_edit || atom == a.double_spin) {
        SendMessageA(focus, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        SendMessageA(focus, EM_SCROLLCARET, 0, 0);
    }
}

void GridRecord::update_now()
{
    if (cell_area)
        UpdateWindow(cell_area);
}

void GridRecord::column_heading_changed(int item)
{
    if (!header)
        return;
    std::string text(cells->column_heading(item));
    HDITEMA hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text.data();
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&hd));
    UpdateWindow(header);
}

void GridRecord::row_heading_changed(int row)
{
    const int i = row - cells->top_row;
    if (i < 0 || i >= static_cast<int>(row_headers.size()))
        return;
    std::string text(cells->row_heading(row));
    HDITEMA hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text.data();
    SendMessageA(row_headers[static_cast<std::size_t>(i)], HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&hd));
    UpdateWindow(row_headers[static_cast<std::size_t>(i)]);
}

} // namespace korv
