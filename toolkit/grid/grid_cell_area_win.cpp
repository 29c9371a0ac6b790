// The grid's cell area: painting the visible cells, clicks and drags that
// move the current cell or select a block, the selected block with its
// events, and the editor's notifications and colours.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"
#include "core/context.h"
#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_classes.h"
#include "grid/grid_editor_win.h"

#include <algorithm>

namespace korv {

namespace {

// The context menu's items: the selected block's commands are the grid
// editor's; the in-place text editor's have numbers of their own.
namespace block_command = grid_editor_command;
namespace text_command {
constexpr int undo = 32221;
constexpr int cut = 32222;
constexpr int copy = 32223;
constexpr int paste = 32224;
constexpr int clear = 32225;
constexpr int select_all = 32226;
} // namespace text_command

GridRecord* control_of_area(HWND area) { return grid_control_of(GetParent(area)); }

// The cell a press landed on, from which a drag starts; -1 when none.
struct PressedCell {
    int column = -1, row = -1;
};
PressedCell& pressed_cell()
{
    return toolkit_context().record<PressedCell>(ContextSlot::grid_pressed_cell);
}

bool highlighted(const GridRecord& g, int column, int row)
{
    const GridBlock& b = g.cells->selection;
    if (b.empty() || !IsWindowEnabled(g.frame) || !grid_focus_inside(g))
        return false;
    return row >= b.first_row && row <= b.last_row && column >= b.first_column && column <= b.last_column;
}

struct CellColours {
    COLORREF text, back;
};

// A colour the cell does not set falls back to the grid's own, then to
// the system's.
CellColours colours_of(const GridRecord& g, int column, int row)
{
    const GridModel& m = *g.cells;
    if (!IsWindowEnabled(g.frame))
        return {GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE)};
    if (highlighted(g, column, row))
        return {GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
    const GridColumn& col = m.columns[static_cast<std::size_t>(column)];
    const bool locked = m.read_only() || (col.flags(row) & grid_cell_protected);
    if (locked && !(m.style & grid_style_keep_colours))
        return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
    std::int32_t text = col.foreground, back = col.background;
    if (col.has_colours()) {
        const GridCellColours& item = col.colour_item(row);
        text = (item[0] & 1) ? static_cast<std::int32_t>(RGB(item[1], item[2], item[3])) : -1;
        back = (item[0] & 2) ? static_cast<std::int32_t>(RGB(item[4], item[5], item[6])) : -1;
    }
    std::int32_t own_text = -1, own_back = -1;
    m.own_colours(own_text, own_back);
    if (text == -1)
        text = own_text;
    if (back == -1)
        back = own_back;
    return {text != -1 ? static_cast<COLORREF>(text) : GetSysColor(COLOR_WINDOWTEXT),
            back != -1 ? static_cast<COLORREF>(back) : GetSysColor(locked ? COLOR_BTNFACE : COLOR_WINDOW)};
}

int rows_painted(const GridRecord& g)
{
    const GridModel& m = *g.cells;
    return m.top_row + g.visible_rows < m.rows_in_use ? m.rows_shown : std::min(g.visible_rows, m.rows_in_use);
}

void fill_cell(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// Where the column's own control puts the first character of a text, in
// the control: the point form of EM_POSFROMCHAR first, the packed form
// when the control leaves the point alone.
POINT first_character(HWND control)
{
    POINTL at{-99, -99};
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 0);
    if (at.x != -99 || at.y != -99)
        return {at.x, at.y};
    const LRESULT packed = SendMessageA(control, EM_POSFROMCHAR, 0, 0);
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

// A text or menu cell: its background, then its display text, placed and
// clipped as the column's control would show it, so that it takes the
// template's alignment.
void paint_text_cell(HDC dc, const GridRecord& g, int column, int row, std::string& text)
{
    const GridModel& m = *g.cells;
    const GridColumn& col = m.columns[static_cast<std::size_t>(column)];
    const RECT r = g.cell_rect(column, row);
    const CellColours colours = colours_of(g, column, row);
    fill_cell(dc, r, colours.back);
    grid_cell_display_text(m, column, row, text, grid_text_painted);
    if (text.empty())
        return;
    SetTextColor(dc, colours.text);
    HWND control = g.templates[static_cast<std::size_t>(column)].window;
    if (col.type == GridCellType::menu || !control) {
        ExtTextOutA(dc, r.left + 3, r.top + 3, ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
        return;
    }
    SetWindowTextA(control, text.c_str());
    const POINT at = first_character(control);
    RECT clip{};
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&clip));
    OffsetRect(&clip, r.left, r.top);
    --clip.left;
    ExtTextOutA(dc, r.left + at.x - 1, r.top + at.y - 1, ETO_CLIPPED, &clip, text.data(),
                static_cast<UINT>(text.size()), nullptr);
}

// The images of a check-box column for one paint: the real button of the
// column's style drawn empty and ticked, and both on the highlight.
struct CheckImages {
    HBITMAP empty = nullptr, ticked = nullptr, empty_lit = nullptr, ticked_lit = nullptr, scratch = nullptr;
    ~CheckImages()
    {
        for (HBITMAP b : {empty, ticked, empty_lit, ticked_lit, scratch})
            if (b)
                DeleteObject(b);
    }
};

void button_image(HWND button, int state, HDC memory, HBITMAP target)
{
    SendMessageA(button, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    HGDIOBJ old = SelectObject(memory, target);
    SendMessageA(button, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    SelectObject(memory, old);
}

bool make_check_images(HDC dc, const GridRecord& g, int column, CheckImages& images)
{
    const int width = g.templates[static_cast<std::size_t>(column)].width;
    const int height = g.row_height;
    for (HBITMAP* b : {&images.empty, &images.ticked, &images.empty_lit, &images.ticked_lit, &images.scratch})
        *b = CreateCompatibleBitmap(dc, width, height);
    HWND control = g.templates[static_cast<std::size_t>(column)].window;
    if (!images.empty || !images.ticked || !images.empty_lit || !images.ticked_lit || !images.scratch || !control)
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) | WS_VISIBLE;
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
    HWND button = CreateWindowExA(ex_style, "BUTTON", "", style, -width - 100, -height - 100, width, height,
                                  g.cell_area, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    if (!button)
        return false;
    if (g.font)
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
    HDC memory = CreateCompatibleDC(dc);
    button_image(button, BST_UNCHECKED, memory, images.empty);
    button_image(button, BST_CHECKED, memory, images.ticked);
    DeleteDC(memory);
    DestroyWindow(button);
    grid_draw_bitmap_transparent(images.empty, images.empty_lit, images.scratch);
    grid_draw_bitmap_transparent(images.ticked, images.ticked_lit, images.scratch);
    return true;
}

void paint_check_column(HDC dc, const GridRecord& g, int column, int first_row, int end_row, const RECT& update)
{
    CheckImages images;
    if (!make_check_images(dc, g, column, images))
        return;
    const GridColumn& col = g.cells->columns[static_cast<std::size_t>(column)];
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, images.empty);
    RECT meet;
    for (int r = first_row; r < end_row; ++r) {
        const RECT cell = g.cell_rect(column, r);
        if (!IntersectRect(&meet, &cell, &update))
            continue;
        const bool ticked = col.int_value(r) == 1;
        const bool lit = highlighted(g, column, r);
        SelectObject(memory, lit ? (ticked ? images.ticked_lit : images.empty_lit)
                                 : (ticked ? images.ticked : images.empty));
        BitBlt(dc, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

void paint_lines(HDC dc, const GridRecord& g, int rows, int last, const RECT& client)
{
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
}

void on_paint(HWND area, GridRecord& g)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(area, &ps);
    const GridModel& m = *g.cells;
    if (!m.columns.empty()) {
        RECT client;
        GetClientRect(area, &client);
        const int rows = rows_painted(g);
        const int last = std::min(g.last_visible_column + 1, m.column_count() - 1);
        const int end_row = std::min(m.top_row + rows, m.rows_in_use);
        paint_lines(dc, g, rows, last, client);
        HGDIOBJ old_font = g.font ? SelectObject(dc, g.font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        std::string text;
        RECT meet;
        for (int c = g.first_visible_column; c <= last; ++c) {
            if (g.templates[static_cast<std::size_t>(c)].width <= 1)
                continue;
            RECT strip = g.cell_rect(c, m.top_row);
            strip.bottom = client.bottom;
            if (!IntersectRect(&meet, &strip, &ps.rcPaint))
                continue;
            if (m.columns[static_cast<std::size_t>(c)].type == GridCellType::check_box) {
                paint_check_column(dc, g, c, m.top_row, end_row, ps.rcPaint);
                continue;
            }
            for (int r = m.top_row; r < end_row; ++r) {
                const RECT cell = g.cell_rect(c, r);
                if (IntersectRect(&meet, &cell, &ps.rcPaint))
                    paint_text_cell(dc, g, c, r, text);
            }
        }
        if (old_font)
            SelectObject(dc, old_font);
    }
    EndPaint(area, &ps);
}

void on_button_down(GridRecord& g, UINT message, WPARAM w, LPARAM l)
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

bool is_text_target(const GridRecord& g, HWND target)
{
    if (!target || target == g.cell_area || target != g.editor)
        return false;
    const GridCellType type = g.cells->columns[static_cast<std::size_t>(g.cells->current_column)].type;
    return type != GridCellType::check_box && type != GridCellType::menu;
}

void on_context_menu(GridRecord& g, HWND clicked, LPARAM point)
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
    AppendMenuA(menu, grey(block || !text || !SendMessageA(clicked, EM_CANUNDO, 0, 0) || read_only),
                text_command::undo, "&Undo");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, grey(cut_grey), block ? block_command::cut : text_command::cut, "Cu&t");
    AppendMenuA(menu, grey(!block && !has_selection), block ? block_command::copy : text_command::copy, "&Copy");
    const std::string clip = grid_clipboard_text();
    const int kind = clip.empty() ? 0 : grid_clipboard_text_kind(clip);
    if (kind == 2)
        AppendMenuA(menu, grey(!grid_paste_allowed(m, clip)), block_command::paste, "&Paste");
    else
        AppendMenuA(menu, grey(kind == 0 || !text || read_only), text_command::paste, "&Paste");
    AppendMenuA(menu, grey(cut_grey), block ? block_command::clear : text_command::clear, "&Delete");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const bool all_selected = length == 0 || (start == 0 && static_cast<int>(end) >= length);
    AppendMenuA(menu, grey(block || !text || all_selected), text_command::select_all, "Select &All");
    TrackPopupMenu(menu, TPM_LEFTBUTTON, static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)), 0,
                   g.frame, nullptr);
    DestroyMenu(menu);
}

void on_menu_command(GridRecord& g, int id)
{
    HWND target = g.menu_target;
    switch (id) {
    case block_command::cut:
        if (grid_copy_selection(g))
            grid_clear_selected_cells(g);
        break;
    case block_command::copy: grid_copy_selection(g); break;
    case block_command::paste: grid_paste(g); break;
    case block_command::clear: grid_clear_selected_cells(g); break;
    case text_command::undo: SendMessageA(target, EM_UNDO, 0, 0); break;
    case text_command::cut: SendMessageA(target, WM_CUT, 0, 0); break;
    case text_command::copy: SendMessageA(target, WM_COPY, 0, 0); break;
    case text_command::paste: SendMessageA(target, WM_PASTE, 0, 0); break;
    case text_command::clear: SendMessageA(target, WM_CLEAR, 0, 0); break;
    case text_command::select_all:
        SendMessageA(target, EM_SETSEL, 0, -1);
        SendMessageA(target, EM_SCROLLCARET, 0, 0);
        break;
    default: break;
    }
}

void on_editor_command(GridRecord& g, WPARAM w, LPARAM l)
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
    // The grid's own loading of the editor is no change.
    if (code == EN_CHANGE && g.editor_loading)
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

LRESULT on_colour(GridRecord& g, UINT message, HDC dc, HWND control)
{
    // The brush handed out last time, deleted once the control has used it.
    HBRUSH& last_brush = toolkit_context().record<HBRUSH>(ContextSlot::grid_editor_brush);
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
int dialog_identifier(const GridRecord& g)
{
    const DialogRecord* r = dialog_record_of(GetParent(g.frame));
    return r ? r->identifier : 0;
}

} // namespace

int GridRecord::column_x(int column) const
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

RECT GridRecord::cell_rect(int column, int row) const
{
    RECT r;
    r.left = column_x(column) + 1;
    r.top = (row - cells->top_row) * (row_height - 1) + 1;
    r.right = r.left + templates[static_cast<std::size_t>(column)].width - 2;
    r.bottom = r.top + row_height - 2;
    return r;
}

bool GridRecord::hit_cell(int x, int y, int& column, int& row) const
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
    return toolkit_context().record<bool>(ContextSlot::grid_click_forwarding);
}

void grid_drag_to(GridRecord& g, HWND from, LPARAM l)
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

void grid_send_cell_change(GridRecord& g)
{
    const GridModel& m = *g.cells;
    SendMessageA(GetParent(g.frame), grid_class_atoms().cell_change, static_cast<WPARAM>(g.control_id()),
                 grid_packed_cell(m.current_column, m.current_row));
}

void grid_post_block_event(GridRecord& g, int source, const GridBlock& block, bool always)
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

bool grid_selection_rect(const GridRecord& g, RECT& out)
{
    const GridModel& m = *g.cells;
    const GridBlock& b = m.selection;
    if (b.empty() || m.columns.empty() || !g.cell_area)
        return false;
    if (b.last_row < m.top_row || b.first_row >= m.top_row + m.rows_shown)
        return false;
    if (b.last_column < g.first_visible_column || b.first_column > g.last_visible_column + 1)
        return false;
    RECT client;
    GetClientRect(g.cell_area, &client);
    out.top = std::max(0, (b.first_row - m.top_row) * (g.row_height - 1));
    out.bottom = std::min<int>(client.bottom, (b.last_row - m.top_row + 1) * (g.row_height - 1));
    int left = 0, right = 0;
    const int end = std::min(b.last_column, m.column_count() - 1);
    for (int c = g.first_visible_column; c <= end; ++c) {
        const int w = g.templates[static_cast<std::size_t>(c)].width - 1;
        if (c < b.first_column)
            left += w;
        right += w;
    }
    out.left = left;
    out.right = right;
    // The cells' outer grid lines belong to them too.
    ++out.right;
    ++out.bottom;
    return out.top < out.bottom && out.left < out.right;
}

void grid_invalidate_selection(GridRecord& g)
{
    RECT r;
    if (grid_selection_rect(g, r))
        InvalidateRect(g.cell_area, &r, FALSE);
}

void grid_repaint_cell(GridRecord& g, int column, int row, int update)
{
    const GridModel& m = *g.cells;
    if (!g.cell_area || g.templates.empty() || column < 0 || column >= static_cast<int>(g.templates.size()))
        return;
    if (row < m.top_row || row >= m.top_row + m.rows_shown || column < g.first_visible_column ||
        column > g.last_visible_column + 1)
        return;
    RECT r = g.cell_rect(column, row);
    InflateRect(&r, 1, 1);
    InvalidateRect(g.cell_area, &r, FALSE);
    if (update)
        UpdateWindow(g.cell_area);
}

void grid_draw_bitmap_transparent(HBITMAP source, HBITMAP target, HBITMAP scratch)
{
    BITMAP info{};
    GetObjectA(source, sizeof info, &info);
    const int w = info.bmWidth, h = info.bmHeight;
    HDC source_dc = CreateCompatibleDC(nullptr), target_dc = CreateCompatibleDC(nullptr);
    HDC scratch_dc = CreateCompatibleDC(nullptr), mask_dc = CreateCompatibleDC(nullptr);
    HDC inverse_dc = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr), inverse = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ old_source = SelectObject(source_dc, source), old_target = SelectObject(target_dc, target);
    HGDIOBJ old_scratch = SelectObject(scratch_dc, scratch), old_mask = SelectObject(mask_dc, mask);
    HGDIOBJ old_inverse = SelectObject(inverse_dc, inverse);
    BitBlt(scratch_dc, 0, 0, w, h, source_dc, 0, 0, SRCCOPY);
    const RECT all{0, 0, w, h};
    FillRect(target_dc, &all, GetSysColorBrush(COLOR_HIGHLIGHT));
    // Button-face pixels become 1 in the mask.
    SetBkColor(scratch_dc, GetSysColor(COLOR_BTNFACE));
    BitBlt(mask_dc, 0, 0, w, h, scratch_dc, 0, 0, SRCCOPY);
    SetBkColor(target_dc, RGB(255, 255, 255));
    SetTextColor(target_dc, RGB(0, 0, 0));
    BitBlt(target_dc, 0, 0, w, h, mask_dc, 0, 0, SRCAND);
    BitBlt(inverse_dc, 0, 0, w, h, mask_dc, 0, 0, NOTSRCCOPY);
    SetBkColor(scratch_dc, RGB(255, 255, 255));
    SetTextColor(scratch_dc, RGB(0, 0, 0));
    BitBlt(scratch_dc, 0, 0, w, h, inverse_dc, 0, 0, SRCAND);
    BitBlt(target_dc, 0, 0, w, h, scratch_dc, 0, 0, SRCPAINT);
    SelectObject(inverse_dc, old_inverse);
    SelectObject(mask_dc, old_mask);
    SelectObject(scratch_dc, old_scratch);
    SelectObject(target_dc, old_target);
    SelectObject(source_dc, old_source);
    for (HDC d : {source_dc, target_dc, scratch_dc, mask_dc, inverse_dc})
        DeleteDC(d);
    DeleteObject(mask);
    DeleteObject(inverse);
}

void grid_select_range(GridRecord& g, int first_row, int last_row, int first_column, int last_column)
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
    // Only the old and the new block change their look.
    grid_invalidate_selection(g);
    m.selection = block;
    grid_invalidate_selection(g);
    if (g.editor)
        InvalidateRect(g.editor, nullptr, TRUE);
    UpdateWindow(g.cell_area);
    if (g.style() & grid_style_selection_events)
        grid_post_block_event(g, 2, block, false);
}

void grid_clear_selection(GridRecord& g)
{
    GridModel& m = *g.cells;
    if (!m.selection.empty()) {
        grid_invalidate_selection(g);
        if (g.editor)
            InvalidateRect(g.editor, nullptr, TRUE);
        m.selection = GridBlock{};
        UpdateWindow(g.cell_area);
        if (g.editor)
            UpdateWindow(g.editor);
        if (g.style() & grid_style_selection_events)
            grid_post_block_event(g, 2, GridBlock{}, false);
    }
    g.anchor_column = g.anchor_row = -1;
}

LRESULT CALLBACK grid_client_proc(HWND area, UINT message, WPARAM w, LPARAM l)
{
    GridRecord* g = control_of_area(area);
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
    case DM_GETDEFID: {
        // A multi-line editor asks on Enter: the dialog's default button is
        // pressed, unless it is disabled.
        HWND dialog = GetParent(g->frame);
        const LRESULT answer = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(answer) != DC_HASDEFID)
            return answer;
        HWND button = GetDlgItem(dialog, LOWORD(answer));
        if (button && !IsWindowEnabled(button))
            return 0;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(answer), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return answer;
    }
    case WM_NCHITTEST:
        if (g->inert)
            return HTTRANSPARENT;
        break;
    case WM_SIZE:
        // The rows are refitted with number validation suspended: the
        // editor may move without its number being checked.
        grid_layout_busy() = 1;
        grid_fit_rows(*g);
        grid_layout_busy() = 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(area, message, w, l);
}

} // namespace korv
