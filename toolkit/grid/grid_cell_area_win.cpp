// The grid's cell area: painting the visible cells, clicks and drags that
// move the current cell or select a block, the selected block with its
// events, and the editor's notifications and colours.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"
#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_classes.h"

#include <algorithm>

namespace korv {

namespace {

GridControl* control_of_area(HWND area) { return grid_control_of(GetParent(area)); }

// The cell a press landed on, from which a drag starts; -1 when none.
struct PressedCell {
    int column = -1, row = -1;
};
PressedCell& pressed_cell()
{
    static PressedCell cell;
    return cell;
}

bool highlighted(const GridControl& g, int column, int row)
{
    const GridBlock& b = g.cells->selection;
    if (b.empty() || !IsWindowEnabled(g.frame) || !grid_focus_inside(g))
        return false;
    return row >= b.first_row && row <= b.last_row && column >= b.first_column && column <= b.last_column;
}

struct CellColours {
    COLORREF text, back;
};

CellColours colours_of(const GridControl& g, int column, int row)
{
    const GridModel& m = *g.cells;
    if (!IsWindowEnabled(g.frame))
        return {GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE)};
    if (highlighted(g, column, row))
        return {GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
    const bool locked = m.read_only() || (m.columns[static_cast<std::size_t>(column)].flags(row) & grid_cell_protected);
    if (locked && !(m.style & grid_style_keep_colours))
        return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
    GridColourTriple fg, bg;
    grid_cell_colours(m, column, row, fg, bg);
    CellColours c;
    c.text = fg.red >= 0 ? RGB(fg.red, fg.green, fg.blue) : GetSysColor(COLOR_WINDOWTEXT);
    c.back = bg.red >= 0 ? RGB(bg.red, bg.green, bg.blue) : GetSysColor(locked ? COLOR_BTNFACE : COLOR_WINDOW);
    return c;
}

int rows_painted(const GridControl& g)
{
    const GridModel& m = *g.cells;
    return m.top_row + g.visible_rows < m.rows_in_use ? m.rows_shown : std::min(g.visible_rows, m.rows_in_use);
}

void paint_cell(HDC dc, const GridControl& g, int column, int row, std::string& text)
{
    const GridModel& m = *g.cells;
    const GridColumn& col = m.columns[static_cast<std::size_t>(column)];
    const RECT r = g.cell_rect(column, row);
    const CellColours colours = colours_of(g, column, row);
    HBRUSH brush = CreateSolidBrush(colours.back);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    if (col.type == GridCellType::check_box) {
        const int box = std::min<int>(r.bottom - r.top - 2, 13);
        RECT b{r.left + 2, r.top + (r.bottom - r.top - box) / 2, 0, 0};
        b.right = b.left + box;
        b.bottom = b.top + box;
        DrawFrameControl(dc, &b, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (col.int_value(row) == 1 ? DFCS_CHECKED : 0));
        return;
    }
    grid_cell_display_text(m, column, row, text, grid_text_painted);
    SetTextColor(dc, colours.text);
    RECT t{r.left + 2, r.top, r.right - 2, r.bottom};
    // Text takes the alignment of the column's control.
    HWND control = g.templates[static_cast<std::size_t>(column)].window;
    const LONG style = control && col.type != GridCellType::menu ? GetWindowLongA(control, GWL_STYLE) : 0;
    const UINT align = (style & ES_RIGHT) ? DT_RIGHT : (style & ES_CENTER) ? DT_CENTER : DT_LEFT;
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &t,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void on_paint(HWND area, GridControl& g)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(area, &ps);
    const GridModel& m = *g.cells;
    RECT client;
    GetClientRect(area, &client);
    if (!m.columns.empty()) {
        const int rows = rows_painted(g);
        const int last = std::min(g.last_visible_column + 1, m.column_count() - 1);
        HGDIOBJ old_font = g.font ? SelectObject(dc, g.font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        const int bottom = std::min<int>(rows * (g.row_height - 1), client.bottom);
        int x = 0;
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, 0, bottom);
        for (int c = g.first_visible_column; c <= last; ++c) {
            x += g.templates[static_cast<std::size_t>(c)].width - 1;
            MoveToEx(dc, x, 0, nullptr);
            LineTo(dc, x, bottom);
        }
        for (int j = 0; j <= rows; ++j) {
            MoveToEx(dc, 0, j * (g.row_height - 1), nullptr);
            LineTo(dc, std::min<int>(x, client.right), j * (g.row_height - 1));
        }
        std::string text;
        RECT meet;
        for (int c = g.first_visible_column; c <= last; ++c) {
            if (g.templates[static_cast<std::size_t>(c)].width <= 1)
                continue;
            for (int r = m.top_row; r < m.top_row + rows && r < m.rows_in_use; ++r) {
                const RECT cell = g.cell_rect(c, r);
                if (IntersectRect(&meet, &cell, &ps.rcPaint))
                    paint_cell(dc, g, c, r, text);
            }
        }
        if (old_font)
            SelectObject(dc, old_font);
    }
    EndPaint(area, &ps);
}

void on_button_down(GridControl& g, UINT message, WPARAM w, LPARAM l)
{
    GridModel& m = *g.cells;
    if (message == WM_RBUTTONDOWN && !m.selection.empty())
        return;
    int column = 0, row = 0;
    if (!g.hit_cell(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)), column, row))
        return;
    if (message == WM_LBUTTONDOWN && (w & MK_SHIFT)) {
        if (column == m.current_column && row == m.current_row)
            grid_clear_selection(g);
        else
            grid_select_range(g, std::min(row, m.current_row), std::max(row, m.current_row),
                              std::min(column, m.current_column), std::max(column, m.current_column));
        return;
    }
    grid_move_to_cell(g, column, row, false, false);
    if (g.editor) {
        // The click lands in the editor: the caret goes there, a check box
        // toggles, a list opens.
        POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        MapWindowPoints(g.cell_area, g.editor, &at, 1);
        grid_click_forwarding() = true;
        SendMessageA(g.editor, message, w, MAKELPARAM(at.x, at.y));
        grid_click_forwarding() = false;
    }
    pressed_cell() = {m.current_column, m.current_row};
}

bool is_text_target(const GridControl& g, HWND target)
{
    if (!target || target == g.cell_area || target != g.editor)
        return false;
    const GridCellType type = g.cells->columns[static_cast<std::size_t>(g.cells->current_column)].type;
    return type != GridCellType::check_box && type != GridCellType::menu;
}

void on_context_menu(GridControl& g, HWND clicked, LPARAM point)
{
    const GridModel& m = *g.cells;
    g.menu_target = clicked;
    const bool text = is_text_target(g, clicked);
    const bool block = !m.selection.empty();
    const bool read_only = m.read_only() || (text && (GetWindowLongA(clicked, GWL_STYLE) & ES_READONLY));
    DWORD start = 0, end = 0;
    if (text)
        SendMessageA(clicked, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool has_selection = text && end > start;
    const int length = text ? GetWindowTextLengthA(clicked) : 0;
    const auto grey = [](bool grayed) { return MF_STRING | (grayed ? MF_GRAYED : 0); };
    const bool cut_grey = block ? !grid_selection_writable(m) : (!has_selection || read_only);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, grey(block || !text || !SendMessageA(clicked, EM_CANUNDO, 0, 0) || read_only), 32221, "&Undo");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, grey(cut_grey), block ? 32122 : 32222, "Cu&t");
    AppendMenuA(menu, grey(!block && !has_selection), block ? 32123 : 32223, "&Copy");
    const std::string clip = grid_clipboard_text();
    const int kind = clip.empty() ? 0 : grid_clipboard_text_kind(clip);
    if (kind == 2)
        AppendMenuA(menu, grey(!grid_paste_allowed(m, clip)), 32124, "&Paste");
    else
        AppendMenuA(menu, grey(kind == 0 || !text || read_only), 32224, "&Paste");
    AppendMenuA(menu, grey(cut_grey), block ? 32125 : 32225, "&Delete");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, grey(block || !text || length == 0 || (start == 0 && static_cast<int>(end) >= length)), 32226,
                "Select &All");
    TrackPopupMenu(menu, TPM_LEFTBUTTON, static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)), 0,
                   g.frame, nullptr);
    DestroyMenu(menu);
}

void on_menu_command(GridControl& g, int id)
{
    HWND target = g.menu_target;
    switch (id) {
    case 32122:
        if (grid_copy_selection(g))
            grid_clear_selected_cells(g);
        break;
    case 32123: grid_copy_selection(g); break;
    case 32124: grid_paste(g); break;
    case 32125: grid_clear_selected_cells(g); break;
    case 32221: SendMessageA(target, EM_UNDO, 0, 0); break;
    case 32222: SendMessageA(target, WM_CUT, 0, 0); break;
    case 32223: SendMessageA(target, WM_COPY, 0, 0); break;
    case 32224: SendMessageA(target, WM_PASTE, 0, 0); break;
    case 32225: SendMessageA(target, WM_CLEAR, 0, 0); break;
    case 32226:
        SendMessageA(target, EM_SETSEL, 0, -1);
        SendMessageA(target, EM_SCROLLCARET, 0, 0);
        break;
    default: break;
    }
}

void on_editor_command(GridControl& g, WPARAM w, LPARAM l)
{
    if (l == 0) {
        on_menu_command(g, LOWORD(w));
        return;
    }
    GridModel& m = *g.cells;
    const int code = HIWORD(w);
    HWND control = reinterpret_cast<HWND>(l);
    if (control != g.editor)
        return;
    if (code == CBN_DROPDOWN) {
        g.open_drop_down = control;
        return;
    }
    if (code == CBN_CLOSEUP) {
        g.open_drop_down = nullptr;
        return;
    }
    const FieldRecord* grid_record = field_record_of(g.frame);
    const bool every_key = grid_record && grid_record->change_reporting;
    if (code == EN_CHANGE && !every_key) {
        m.mark_modified();
        grid_clear_selection(g);
        return;
    }
    if (code != BN_CLICKED && code != CBN_SELCHANGE && code != EN_CHANGE)
        return;
    m.mark_modified();
    const GridColumn& col = m.columns[static_cast<std::size_t>(m.current_column)];
    if (m.read_only() || (col.flags(m.current_row) & grid_cell_protected)) {
        if (code == CBN_SELCHANGE)
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(col.int_value(m.current_row)), 0);
        return;
    }
    grid_send_cell_change(g);
    grid_clear_selection(g);
}

LRESULT on_colour(GridControl& g, UINT message, HDC dc, HWND control)
{
    static HBRUSH last_brush = nullptr;
    const GridModel& m = *g.cells;
    if (control != g.editor || m.columns.empty())
        return 0;
    if (last_brush) {
        DeleteObject(last_brush);
        last_brush = nullptr;
    }
    if (highlighted(g, m.current_column, m.current_row)) {
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    GridColourTriple fg, bg;
    grid_cell_colours(m, m.current_column, m.current_row, fg, bg);
    const bool button = message == WM_CTLCOLORBTN;
    if (fg.red < 0 && bg.red < 0)
        return 0;
    SetTextColor(dc, fg.red >= 0 ? RGB(fg.red, fg.green, fg.blue) : GetSysColor(button ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    if (bg.red >= 0) {
        SetBkColor(dc, RGB(bg.red, bg.green, bg.blue));
        last_brush = CreateSolidBrush(GetNearestColor(dc, RGB(bg.red, bg.green, bg.blue)));
        return reinterpret_cast<LRESULT>(last_brush);
    }
    const int system = button ? COLOR_BTNFACE : COLOR_WINDOW;
    SetBkColor(dc, GetSysColor(system));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
}

// The record kept with the grid's parent: a dialog's identifier.
int dialog_identifier(const GridControl& g)
{
    const DialogRecord* r = dialog_record_of(GetParent(g.frame));
    return r ? r->identifier : 0;
}

} // namespace

int GridControl::column_x(int column) const
{
    int x = 0;
    if (column >= first_visible_column)
        for (int c = first_visible_column; c < column; ++c)
            x += templates[static_cast<std::size_t>(c)].width - 1;
    else
        for (int c = column; c < first_visible_column; ++c)
            x -= templates[static_cast<std::size_t>(c)].width - 1;
    return x;
}

RECT GridControl::cell_rect(int column, int row) const
{
    RECT r;
    r.left = column_x(column) + 1;
    r.top = (row - cells->top_row) * (row_height - 1) + 1;
    r.right = r.left + templates[static_cast<std::size_t>(column)].width - 2;
    r.bottom = r.top + row_height - 2;
    return r;
}

bool GridControl::hit_cell(int x, int y, int& column, int& row) const
{
    const GridModel& m = *cells;
    if (m.columns.empty())
        return false;
    const int rows = rows_painted(*this);
    const int last = std::min(last_visible_column + 1, m.column_count() - 1);
    for (int c = first_visible_column; c <= last; ++c) {
        const RECT r = cell_rect(c, m.top_row);
        if (r.right < x)
            continue;
        for (int j = m.top_row; j < m.top_row + rows && j < m.rows_in_use; ++j) {
            if (cell_rect(c, j).bottom >= y) {
                column = c;
                row = j;
                return true;
            }
        }
        return false;
    }
    return false;
}

bool& grid_click_forwarding()
{
    static bool forwarding = false;
    return forwarding;
}

void grid_drag_to(GridControl& g, HWND from, LPARAM l)
{
    GridModel& m = *g.cells;
    POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    MapWindowPoints(from, g.cell_area, &at, 1);
    int column = 0, row = 0;
    if (!g.hit_cell(at.x, at.y, column, row))
        return;
    PressedCell& pressed = pressed_cell();
    if (column == pressed.column && row == pressed.row)
        return;
    pressed = {-1, -1};
    if (column == m.current_column && row == m.current_row)
        grid_clear_selection(g);
    else
        grid_select_range(g, std::min(row, m.current_row), std::max(row, m.current_row),
                          std::min(column, m.current_column), std::max(column, m.current_column));
}

void grid_send_cell_change(GridControl& g)
{
    const GridModel& m = *g.cells;
    SendMessageA(GetParent(g.frame), grid_class_atoms().cell_change, static_cast<WPARAM>(g.control_id()),
                 grid_packed_cell(m.current_column, m.current_row));
}

void grid_post_block_event(GridControl& g, int source, const GridBlock& block, bool always)
{
    EventState& events = event_state();
    if (!events.enable.flags[event::field_changed - 1])
        return;
    // An undelivered event of another source is not overwritten by a
    // selection; a data event replaces only this grid's selection event.
    if (events.store.posted()) {
        const bool own_selection = events.store.type == event::field_changed && events.store.source == 2 &&
                                   events.store.first == g.control_id() && events.store.window == dialog_identifier(g);
        if (!(always && own_selection))
            return;
    }
    PostedEvent& e = events.store;
    e.type = event::field_changed;
    e.window = dialog_identifier(g);
    e.first = e.second = g.control_id();
    e.source = source;
    e.field = -1;
    e.x = block.empty() ? 0 : grid_packed_cell(block.first_column, block.first_row);
    e.y = block.empty() ? 0 : grid_packed_cell(block.last_column, block.last_row);
    e.time = static_cast<int>(GetMessageTime());
    e.waiting = 0;
}

void grid_select_range(GridControl& g, int first_row, int last_row, int first_column, int last_column)
{
    GridModel& m = *g.cells;
    const GridBlock block{first_row, last_row, first_column, last_column};
    const GridBlock& old = m.selection;
    if (old.first_row == first_row && old.last_row == last_row && old.first_column == first_column &&
        old.last_column == last_column)
        return;
    HWND focus = GetFocus();
    if (focus && focus == g.editor && g.cells->columns[static_cast<std::size_t>(m.current_column)].type < GridCellType::check_box)
        SendMessageA(focus, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    m.selection = block;
    InvalidateRect(g.cell_area, nullptr, FALSE);
    if (g.editor)
        InvalidateRect(g.editor, nullptr, TRUE);
    UpdateWindow(g.cell_area);
    if (g.style() & grid_style_selection_events)
        grid_post_block_event(g, 2, block, false);
}

void grid_clear_selection(GridControl& g)
{
    GridModel& m = *g.cells;
    if (!m.selection.empty()) {
        m.selection = GridBlock{};
        InvalidateRect(g.cell_area, nullptr, FALSE);
        if (g.editor)
            InvalidateRect(g.editor, nullptr, TRUE);
        UpdateWindow(g.cell_area);
        if (g.style() & grid_style_selection_events)
            grid_post_block_event(g, 2, GridBlock{}, false);
    }
    g.anchor_column = g.anchor_row = -1;
}

LRESULT CALLBACK grid_client_proc(HWND area, UINT message, WPARAM w, LPARAM l)
{
    GridControl* g = control_of_area(area);
    if (!g || !g->set_up)
        return DefWindowProcA(area, message, w, l);
    switch (message) {
    case WM_PAINT:
        on_paint(area, *g);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        on_button_down(*g, message, w, l);
        return 0;
    case WM_MOUSEMOVE:
        if (w & MK_LBUTTON)
            grid_drag_to(*g, area, l);
        return 0;
    case WM_CONTEXTMENU:
        on_context_menu(*g, reinterpret_cast<HWND>(w), l);
        return 0;
    case WM_COMMAND:
        on_editor_command(*g, w, l);
        break;
    case WM_VSCROLL:
        if (l != 0 && LOWORD(w) != SB_ENDSCROLL) {
            if (!dialog_is_modal_instance(GetParent(g->frame)))
                grid_send_cell_change(*g);
            g->cells->mark_modified();
            grid_clear_selection(*g);
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return on_colour(*g, message, reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_CLOSE:
    case WM_NEXTDLGCTL:
    case WM_NOTIFY:
        return SendMessageA(GetParent(g->frame), message, w, l);
    case WM_NCHITTEST:
        if (g->inert)
            return HTTRANSPARENT;
        break;
    default:
        break;
    }
    return DefWindowProcA(area, message, w, l);
}

} // namespace korv
