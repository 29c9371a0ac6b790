// The grid's frame window: its record, row height and column header, the
// layout of header, row headings and cell area, and scrolling.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
#include "grid/grid_classes.h"
#include "grid/grid_cells.h"

#include <commctrl.h>

#include <algorithm>

namespace korv {

namespace {

constexpr int narrowest_column = 14;

int measure_row_height(HWND parent, HFONT font)
{
    HWND probe = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    if (!probe)
        return 20;
    if (font)
        SendMessageA(probe, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    RECT r;
    GetWindowRect(probe, &r);
    DestroyWindow(probe);
    return std::max<int>(r.bottom - r.top - 1, 4);
}

HWND make_header(GridRecord& g, int x, int y, int width, int height, int id)
{
    HWND h = CreateWindowExA(WS_EX_NOPARENTNOTIFY, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, x, y,
                             width, height, g.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                             nullptr);
    if (!h)
        return nullptr;
    if (g.font)
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), 0);
    const LONG_PTR previous = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(grid_header_proc));
    SetWindowLongPtrA(h, GWLP_USERDATA, previous);
    return h;
}

// Whole rows: the window's height for the visible rows, its frame and,
// with a column header, the two pixels more the header's line takes.
void fit_to_rows(GridRecord& g, int width)
{
    const int height = (g.row_height - 1) * g.visible_rows + g.frame_height + 1 +
                       ((g.style() & grid_style_column_headings) ? 2 : 0);
    SetWindowPos(g.frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void set_header_item(HWND header, int item, int width, std::string_view text, int format, bool insert)
{
    std::string copy(text);
    HDITEMA hd{};
    hd.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    hd.cxy = width;
    hd.pszText = copy.data();
    hd.cchTextMax = static_cast<int>(copy.size());
    hd.fmt = format;
    SendMessageA(header, insert ? HDM_INSERTITEMA : HDM_SETITEMA, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&hd));
}

LRESULT on_create(HWND window, const CREATESTRUCTA& cs)
{
    auto* g = new (std::nothrow) GridRecord(window);
    if (!g)
        return -1;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(g));
    g->model().view = g;
    g->model().style = cs.style & 0xFFFF;
    g->row_height = measure_row_height(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    g->visible_rows = std::max(1, static_cast<int>((client.bottom - 1) / (g->row_height - 1)));
    g->frame_height = cs.cy - client.bottom;
    g->creation_client_height = client.bottom;
    if (HWND parent = GetParent(window))
        g->font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    if (!(cs.style & grid_style_keeps_height))
        fit_to_rows(*g, cs.cx);
    if ((cs.style & grid_style_column_headings) != 0) {
        g->header = make_header(*g, 0, 0, cs.cx, g->row_height, -1);
        if (!g->header)
            return -1;
        g->header_height = g->row_height + 1;
        g->visible_rows = std::max(1, g->visible_rows - 1);
    }
    return 0;
}

void on_set_font(GridRecord& g, HFONT font)
{
    g.font = font;
    g.row_height = measure_row_height(g.frame, font);
    g.visible_rows = std::max(1, static_cast<int>((g.creation_client_height - 1) / (g.row_height - 1)));
    if (!(g.style() & grid_style_keeps_height) && !g.inert) {
        RECT r;
        GetWindowRect(g.frame, &r);
        fit_to_rows(g, r.right - r.left);
    }
    if (g.header) {
        SendMessageA(g.header, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        RECT r;
        GetWindowRect(g.header, &r);
        SetWindowPos(g.header, nullptr, 0, 0, r.right - r.left, g.row_height + 1,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        g.header_height = g.row_height + 1;
        g.visible_rows = std::max(1, g.visible_rows - 1);
    }
}

int widest_column(const GridRecord& g)
{
    int widest = 0;
    for (const GridColumnControl& t : g.templates)
        widest = std::max(widest, t.width);
    return widest;
}

void bring_current_column_into_view(GridRecord& g);

void on_size(GridRecord& g)
{
    if (!g.set_up)
        return;
    RECT r;
    GetClientRect(g.frame, &r);
    if (g.header) {
        RECT h;
        GetWindowRect(g.header, &h);
        MoveWindow(g.header, 0, 0, r.right, h.bottom - h.top, TRUE);
    }
    if (g.cell_area)
        MoveWindow(g.cell_area, g.row_heading_width, g.header_height,
                   std::max<int>(r.right - g.row_heading_width, widest_column(g)),
                   std::max<int>(r.bottom - g.header_height, g.row_height), TRUE);
    const int last = g.last_visible_column;
    grid_layout(g);
    if (g.cell_area && last != g.last_visible_column)
        InvalidateRect(g.cell_area, nullptr, TRUE);
    bring_current_column_into_view(g);
}

// The editor may refuse to let the current cell go (an invalid number).
bool editor_holds_invalid_number(GridRecord& g)
{
    return g.editor && GetFocus() == g.editor && numctl_validate(g.editor, g.editor, 1) != 0;
}

// Moves the painted cells by (dx, dy) pixels and repaints only what the
// move uncovers; the editor moves with them, by hand while the cell area
// is hidden (and then moves nothing).
void scroll_cells(GridRecord& g, int dx, int dy)
{
    if (IsWindowVisible(g.cell_area)) {
        ScrollWindowEx(g.cell_area, dx, dy, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        return;
    }
    for (HWND w : {g.editor, g.editor ? field_record_of(g.editor) ? field_record_of(g.editor)->updown_partner
                                                                  : nullptr
                                      : nullptr}) {
        if (!w)
            continue;
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, g.cell_area, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(w, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// After a scroll the current cell is the nearest one in view; the focus
// goes back to its editor when it was inside the grid.
void follow_scroll(GridRecord& g, int column, int row, bool focus_inside)
{
    grid_move_to_cell(g, column, row, false, false);
    if (focus_inside && g.editor && GetFocus() != g.editor)
        SetFocus(g.editor);
}

int vertical_distance(const GridRecord& g, int code)
{
    switch (code) {
    case SB_LINEUP: return -1;
    case SB_LINEDOWN: return 1;
    case SB_PAGEUP: return -g.visible_rows;
    case SB_PAGEDOWN: return g.visible_rows;
    default: return 0;
    }
}

void scroll_vertically(GridRecord& g, int code, int position)
{
    GridModel& m = g.model();
    const int saved_1 = m.modified_1, saved_2 = m.modified_2;
    if (editor_holds_invalid_number(g))
        return;
    int distance = vertical_distance(g, code);
    if (code == SB_THUMBTRACK) {
        const int target = g.pending_target != 0 ? g.pending_target : position * g.scroll_divisor;
        g.pending_target = 0;
        distance = target - m.top_row;
    }
    distance = std::max(distance, -m.top_row);
    if (distance > 0) {
        const int room = m.rows_in_use - g.visible_rows - m.top_row;
        distance = room < 1 ? 0 : std::min(distance, room);
    }
    if (distance == 0)
        return;
    grid_clear_selection(g);
    grid_cell_editor_commit(g);
    m.top_row += distance;
    if (g.style() & WS_VSCROLL)
        SetScrollPos(g.frame, SB_VERT, m.top_row / g.scroll_divisor, TRUE);
    scroll_cells(g, 0, -distance * (g.row_height - 1));
    const bool focus_inside = grid_focus_inside(g);
    int row = std::clamp(m.current_row, m.top_row, m.top_row + g.visible_rows - 1);
    row = std::min(row, m.rows_in_use - 1);
    follow_scroll(g, m.current_column, row, focus_inside);
    grid_row_headings_refresh(g);
    UpdateWindow(g.cell_area);
    if (g.visible_rows < m.rows_shown && !g.row_headers.empty())
        ShowWindow(g.row_headers.back(), m.top_row + g.visible_rows < m.rows_in_use ? SW_SHOWNA : SW_HIDE);
    // Scrolling changes no cell.
    m.modified_1 = saved_1;
    m.modified_2 = saved_2;
}

// The leftmost column from which the columns up to `last` fit the cell area.
int leftmost_fitting(const GridRecord& g, int last)
{
    RECT r;
    GetClientRect(g.cell_area, &r);
    int sum = 1;
    int c = last;
    while (c >= 0 && sum + g.templates[static_cast<std::size_t>(c)].width - 1 <= r.right) {
        sum += g.templates[static_cast<std::size_t>(c)].width - 1;
        --c;
    }
    return std::min(c + 1, last);
}

void scroll_horizontally(GridRecord& g, int code, int position)
{
    GridModel& m = g.model();
    if (editor_holds_invalid_number(g) || m.columns.empty())
        return;
    int distance = 0;
    switch (code) {
    case SB_LINELEFT: distance = -1; break;
    case SB_LINERIGHT: distance = 1; break;
    case SB_PAGELEFT: distance = leftmost_fitting(g, std::max(g.first_visible_column - 1, 0)) - g.first_visible_column; break;
    case SB_PAGERIGHT: distance = g.last_visible_column - g.first_visible_column; break;
    case SB_THUMBTRACK: distance = position - g.first_visible_column; break;
    default: break;
    }
    distance = std::clamp(g.first_visible_column + distance, 0, g.horizontal_limit) - g.first_visible_column;
    if (distance == 0)
        return;
    grid_clear_selection(g);
    const int old_first = g.first_visible_column;
    g.first_visible_column += distance;
    if (g.style() & WS_HSCROLL)
        SetScrollPos(g.frame, SB_HORZ, g.first_visible_column, TRUE);
    grid_layout(g);
    int pixels = 0;
    for (int c = std::min(old_first, g.first_visible_column); c < std::max(old_first, g.first_visible_column); ++c)
        pixels += g.templates[static_cast<std::size_t>(c)].width - 1;
    SendMessageA(g.frame, GM_HEADERWIDTHS, 0, 0);
    scroll_cells(g, distance > 0 ? -pixels : pixels, 0);
    const bool focus_inside = grid_focus_inside(g);
    const int column = std::clamp(m.current_column, g.first_visible_column, g.last_visible_column);
    follow_scroll(g, column, m.current_row, focus_inside);
    UpdateWindow(g.cell_area);
    if (g.header)
        InvalidateRect(g.header, nullptr, TRUE);
}

void on_wheel(GridRecord& g, int delta)
{
    g.wheel_remainder += delta;
    while (g.wheel_remainder <= -WHEEL_DELTA) {
        scroll_vertically(g, SB_LINEDOWN, 0);
        g.wheel_remainder += WHEEL_DELTA;
    }
    while (g.wheel_remainder >= WHEEL_DELTA) {
        scroll_vertically(g, SB_LINEUP, 0);
        g.wheel_remainder -= WHEEL_DELTA;
    }
}

LRESULT on_header_notify(GridRecord& g, const NMHEADERA& n)
{
    GridModel& m = g.model();
    const bool column_header = n.hdr.hwndFrom == g.header;
    switch (n.hdr.code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
        return !column_header || !(g.style() & grid_style_resizable_columns) || n.iItem < 1 ||
               n.iItem - 1 < g.first_visible_column;
    case HDN_TRACKA:
    case HDN_TRACKW: {
        const int c = n.iItem - 1;
        if (!column_header || c < 0 || c >= m.column_count() || !n.pitem || !(n.pitem->mask & HDI_WIDTH))
            return 1;
        GridColumnControl& t = g.templates[static_cast<std::size_t>(c)];
        const bool wide_minimum = m.columns[static_cast<std::size_t>(c)].type == GridCellType::menu || t.spinner;
        RECT r;
        GetClientRect(g.cell_area, &r);
        const int narrowest = narrowest_column + (wide_minimum ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        const int width = std::min<int>(std::max(n.pitem->cxy + 1, narrowest), std::max<int>(r.right, narrowest));
        n.pitem->cxy = width - 1;
        if (width != t.width) {
            t.width = width;
            if (g.owns(t)) {
                RECT own;
                GetWindowRect(t.window, &own);
                const int spin = t.spinner ? GetSystemMetrics(SM_CXVSCROLL) : 0;
                SetWindowPos(t.window, nullptr, 0, 0, std::max(width - spin, 1), own.bottom - own.top,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            grid_layout(g);
            grid_cell_editor_close(g, true);
            grid_cell_editor_open(g);
            InvalidateRect(g.cell_area, nullptr, TRUE);
        }
        return 0;
    }
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW: {
        // The scroll moves the editor; a number it holds is not checked
        // meanwhile.
        grid_layout_busy() = 1;
        bring_current_column_into_view(g);
        PostMessageA(g.frame, GM_HEADERWIDTHS, 0, 0);
        grid_layout_busy() = 0;
        return 0;
    }
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
        if (m.columns.empty() || m.rows_in_use == 0)
            return 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        // A header click that focuses the grid reports no cell change of
        // its own through the editor's focus.
        grid_click_forwarding() = true;
        if (column_header) {
            if (n.iItem == 0) {
                SetFocus(g.frame);
                grid_select_range(g, 0, m.rows_in_use - 1, 0, m.column_count() - 1);
            } else if (shift) {
                grid_select_range(g, 0, m.rows_in_use - 1, std::min(m.current_column, n.iItem - 1),
                                  std::max(m.current_column, n.iItem - 1));
            } else {
                grid_move_to_cell(g, n.iItem - 1, m.top_row, true, false);
                grid_select_range(g, 0, m.rows_in_use - 1, n.iItem - 1, n.iItem - 1);
            }
        } else {
            const int row = GetDlgCtrlID(n.hdr.hwndFrom) + m.top_row;
            if (row < m.rows_in_use) {
                if (!shift)
                    grid_move_to_cell(g, g.first_visible_column, row, true, false);
                grid_select_range(g, std::min(m.current_row, row), std::max(m.current_row, row), 0,
                                  m.column_count() - 1);
            }
        }
        grid_click_forwarding() = false;
        return 0;
    }
    default:
        return 0;
    }
}

void on_header_widths(GridRecord& g)
{
    if (!g.header)
        return;
    const int end = std::min(g.model().column_count(), g.last_visible_column + 1);
    for (int c = 0; c < end; ++c) {
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        hd.cxy = c < g.first_visible_column ? 0 : g.templates[static_cast<std::size_t>(c)].width - 1;
        SendMessageA(g.header, HDM_SETITEMA, static_cast<WPARAM>(c + 1), reinterpret_cast<LPARAM>(&hd));
    }
}

void on_destroy(HWND window, GridRecord* g)
{
    grid_cell_editor_close(*g, true);
    grid_column_controls_destroy(*g);
    if (g->model().view == g) {
        GridRecord* owner = g->shared_with && IsWindow(g->shared_with) ? grid_control_of(g->shared_with) : nullptr;
        g->model().view = owner;
    }
    SetWindowLongPtrA(window, 0, 0);
    delete g;
}

} // namespace

GridRecord* grid_control_of(HWND frame)
{
    return frame ? reinterpret_cast<GridRecord*>(GetWindowLongPtrA(frame, 0)) : nullptr;
}

GridRecord::~GridRecord() = default;

void grid_layout(GridRecord& g)
{
    GridModel& m = g.model();
    g.scroll_divisor = 1;
    int n = m.rows_in_use;
    while (n > 65536) {
        n /= 2;
        g.scroll_divisor *= 2;
    }
    const LONG style = g.style();
    if (style & WS_VSCROLL) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        si.nMax = std::max(n - 1, 0);
        si.nPage = static_cast<UINT>(g.visible_rows / g.scroll_divisor);
        si.nPos = m.top_row / g.scroll_divisor;
        SetScrollInfo(g.frame, SB_VERT, &si, TRUE);
    }
    RECT r{};
    if (g.cell_area)
        GetClientRect(g.cell_area, &r);
    const int count = m.column_count();
    g.horizontal_limit = count > 0 && g.cell_area ? leftmost_fitting(g, count - 1) : 0;
    if (style & WS_HSCROLL) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        si.nMax = std::max(count - 1, 0);
        si.nPage = static_cast<UINT>(count - g.horizontal_limit);
        si.nPos = g.first_visible_column;
        SetScrollInfo(g.frame, SB_HORZ, &si, TRUE);
    }
    m.first_visible_column = g.first_visible_column;
    int sum = 1;
    g.last_visible_column = g.first_visible_column;
    for (int c = g.first_visible_column; c < count; ++c) {
        sum += g.templates[static_cast<std::size_t>(c)].width - 1;
        if (sum > r.right)
            break;
        g.last_visible_column = c;
    }
}

namespace {

// The row-heading controls from index `from` on, each like those the set-up
// made: false, with the controls made so far kept, when one fails.
bool add_row_headers(GridRecord& g, int from, int to)
{
    for (int j = from; j < to; ++j) {
        const int y = g.header_height + (j == 0 ? 0 : j * (g.row_height - 1) + 1);
        HWND h = make_header(g, 0, y, g.row_heading_width, j == 0 ? g.row_height : g.row_height - 1, j);
        if (!h)
            return false;
        set_header_item(h, 0, g.row_heading_width + 1, "", HDF_STRING, true);
        if (j >= g.model().rows_in_use)
            ShowWindow(h, SW_HIDE);
        g.row_headers.push_back(h);
    }
    return true;
}

void focus_grid(GridRecord& g)
{
    if (!g.inert && IsWindowVisible(g.frame))
        SetFocus(g.frame);
}

} // namespace

void grid_fit_rows(GridRecord& g)
{
    GridModel& m = g.model();
    if (!g.cell_area)
        return;
    RECT r;
    GetClientRect(g.cell_area, &r);
    const int e = std::max(1, static_cast<int>((r.bottom - g.row_height) / (g.row_height - 1)) + 1);
    const int f = std::min(e + 1, m.rows_created);
    const int present = g.row_places;
    if (f < present) {
        // The current row stays in view, as the last visible row.
        if (m.current_row - m.top_row >= f - 1) {
            g.pending_target = std::max(m.current_row - e + 1, 0);
            scroll_vertically(g, SB_THUMBTRACK, 0);
        }
        while (static_cast<int>(g.row_headers.size()) > f) {
            DestroyWindow(g.row_headers.back());
            g.row_headers.pop_back();
        }
        g.visible_rows = e;
        g.row_places = f;
        m.rows_shown = std::min({f, m.rows_shown, std::max(m.rows_in_use, 0)});
        focus_grid(g);
    } else if (f > present && m.rows_shown >= std::min(present, m.rows_in_use)) {
        if (m.top_row + f > m.rows_in_use && m.top_row > 0) {
            g.visible_rows = e + 1;
            g.pending_target = std::max(m.rows_in_use - f, 0);
            scroll_vertically(g, SB_THUMBTRACK, 0);
        }
        g.visible_rows = e;
        g.row_places = f;
        m.rows_shown = std::min(f, std::max(m.rows_in_use, 0));
        if (m.has_row_headings() && !add_row_headers(g, static_cast<int>(g.row_headers.size()), f)) {
            const int made = static_cast<int>(g.row_headers.size());
            m.rows_shown = std::min(m.rows_shown, made);
            g.visible_rows = std::max(made, 1);
        }
        grid_row_headings_refresh(g);
        if (present > 0)
            focus_grid(g);
    } else {
        g.visible_rows = e;
        g.row_places = std::max(g.row_places, f);
        m.rows_shown = std::min(g.row_places, std::max(m.rows_in_use, 0));
        if (m.has_row_headings() && static_cast<int>(g.row_headers.size()) < g.row_places &&
            !add_row_headers(g, static_cast<int>(g.row_headers.size()), g.row_places))
            m.rows_shown = std::min(m.rows_shown, static_cast<int>(g.row_headers.size()));
        grid_row_headings_refresh(g);
    }
}

void grid_row_headings_refresh(GridRecord& g)
{
    GridModel& m = g.model();
    for (std::size_t i = 0; i < g.row_headers.size(); ++i) {
        const int row = m.top_row + static_cast<int>(i);
        set_header_item(g.row_headers[i], 0, g.row_heading_width + 1, m.row_heading(row), HDF_STRING, false);
        ShowWindow(g.row_headers[i], row < m.rows_in_use ? SW_SHOWNA : SW_HIDE);
    }
}

void grid_scroll_to_row(GridRecord& g, int row)
{
    GridModel& m = g.model();
    if (row < m.top_row) {
        // A pending target of 0 means none; the thumb position 0 is row 0.
        g.pending_target = std::max(row, 0);
        scroll_vertically(g, SB_THUMBTRACK, 0);
    } else if (row >= m.top_row + g.visible_rows) {
        g.pending_target = row - g.visible_rows + 1;
        scroll_vertically(g, SB_THUMBTRACK, 0);
    }
}

void grid_scroll_into_view(GridRecord& g)
{
    GridModel& m = g.model();
    if (m.columns.empty())
        return;
    if (m.current_column < g.first_visible_column)
        scroll_horizontally(g, SB_THUMBTRACK, m.current_column);
    else if (m.current_column > g.last_visible_column)
        bring_current_column_into_view(g);
}

namespace {

void bring_current_column_into_view(GridRecord& g)
{
    GridModel& m = g.model();
    if (m.columns.empty() || !g.cell_area)
        return;
    if (m.current_column > g.last_visible_column) {
        scroll_horizontally(g, SB_THUMBTRACK, leftmost_fitting(g, m.current_column));
        return;
    }
    // Columns move right to fill empty space at the right.
    const int leftmost = leftmost_fitting(g, m.column_count() - 1);
    if (leftmost < g.first_visible_column)
        scroll_horizontally(g, SB_THUMBTRACK, leftmost);
}

void on_focus(GridRecord& g, HWND losing)
{
    GridModel& m = g.model();
    if (!g.set_up)
        return;
    grid_scroll_to_row(g, m.current_row);
    grid_scroll_into_view(g);
    if (!g.editor)
        return;
    SetFocus(g.editor);
    const GridCellType type = m.columns[static_cast<std::size_t>(m.current_column)].type;
    if (losing == g.cell_area && type <= GridCellType::double_precision) {
        SendMessageA(g.editor, EM_SETSEL, 0, -1);
        SendMessageA(g.editor, EM_SCROLLCARET, 0, 0);
    }
}

} // namespace

LRESULT CALLBACK grid_header_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const GridRecord* g = grid_control_of(GetParent(window));
    if (g && message == WM_SETCURSOR && !(g->style() & grid_style_resizable_columns)) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return 1;
    }
    if (g && message == WM_NCHITTEST && g->inert)
        return HTTRANSPARENT;
    return previous ? CallWindowProcA(previous, window, message, w, l) : DefWindowProcA(window, message, w, l);
}

void grid_rows_in_use_apply(HWND grid, int id, int count)
{
    GridRecord* g = grid_control_of(grid);
    if (!g)
        return;
    GridModel& m = g->model();
    grid_clear_selection(*g);
    grid_cell_editor_commit(*g);
    const bool headings = m.has_row_headings() && !g->row_headers.empty();
    if (count > m.rows_in_use && g->visible_rows >= m.rows_in_use && headings)
        for (int i = m.rows_in_use; i < std::min({count, m.rows_created, g->visible_rows + 1}); ++i)
            if (i < static_cast<int>(g->row_headers.size()))
                ShowWindow(g->row_headers[static_cast<std::size_t>(i)], SW_SHOWNA);
    m.rows_in_use = count;
    const int shown_limit = std::min(g->row_places, m.rows_created);
    if (headings && m.rows_in_use < shown_limit)
        for (int i = m.rows_in_use; i < shown_limit && i < static_cast<int>(g->row_headers.size()); ++i)
            ShowWindow(g->row_headers[static_cast<std::size_t>(i)], SW_HIDE);
    m.rows_shown = std::min(g->row_places, std::max(m.rows_in_use, 0));
    if (m.current_row >= m.rows_in_use || m.top_row + g->visible_rows - 1 >= m.rows_in_use) {
        const bool had_focus = g->editor && GetFocus() == g->editor;
        grid_cell_editor_close(*g, true);
        if (m.current_row >= m.rows_in_use) {
            m.current_row = std::max(m.rows_in_use - 1, 0);
            grid_record_cell_change(id, grid, grid_packed_cell(m.current_column, m.current_row));
        }
        m.top_row = std::max(m.current_row - g->visible_rows + 1, 0);
        grid_row_headings_refresh(*g);
        grid_cell_editor_open(*g);
        if (had_focus && g->editor)
            SetFocus(g->editor);
        HWND dialog = dialog_current_window();
        if (dialog && IsWindowVisible(dialog) && IsWindowEnabled(dialog) && grid_focus_inside(*g))
            SetFocus(grid);
    }
    grid_layout(*g);
    if (g->cell_area) {
        InvalidateRect(g->cell_area, nullptr, TRUE);
        UpdateWindow(g->cell_area);
    }
    if (id == 0)
        grid_refit_editor_window(grid);
}

void GridRecord::rows_in_use_apply(int id, int count) { grid_rows_in_use_apply(frame, id, count); }

bool GridRecord::own_colours(std::int32_t& foreground, std::int32_t& background) const
{
    const FieldRecord* r = field_record_of(frame);
    if (!r)
        return false;
    foreground = r->foreground;
    background = r->background;
    return true;
}

LRESULT CALLBACK grid_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_CREATE)
        return on_create(window, *reinterpret_cast<const CREATESTRUCTA*>(l));
    GridRecord* g = grid_control_of(window);
    if (!g)
        return DefWindowProcA(window, message, w, l);
    switch (message) {
    case WM_DESTROY:
        on_destroy(window, g);
        return 0;
    case WM_SETFONT:
        on_set_font(*g, reinterpret_cast<HFONT>(w));
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(g->font);
    case WM_SIZE:
        on_size(*g);
        break;
    case WM_SETFOCUS:
        on_focus(*g, reinterpret_cast<HWND>(w));
        return 0;
    case WM_VSCROLL:
        if (l == 0)
            scroll_vertically(*g, LOWORD(w), HIWORD(w));
        return 0;
    case WM_HSCROLL:
        if (l == 0)
            scroll_horizontally(*g, LOWORD(w), HIWORD(w));
        return 0;
    case WM_MOUSEWHEEL:
        on_wheel(*g, static_cast<short>(HIWORD(w)));
        return 0;
    case WM_NOTIFY:
        return on_header_notify(*g, *reinterpret_cast<NMHEADERA*>(l));
    case WM_ENABLE:
        if (w)
            grid_cell_editor_open(*g);
        else
            grid_cell_editor_close(*g, true);
        for (const GridColumnControl& t : g->templates)
            if (g->owns(t))
                EnableWindow(t.window, w ? TRUE : FALSE);
        if (g->cell_area)
            InvalidateRect(g->cell_area, nullptr, TRUE);
        break;
    case WM_STYLECHANGED:
        if (w == static_cast<WPARAM>(GWL_STYLE)) {
            g->model().style = reinterpret_cast<const STYLESTRUCT*>(l)->styleNew & 0xFFFF;
            if (g->editor) {
                grid_cell_editor_close(*g, true);
                grid_cell_editor_open(*g);
            }
        }
        break;
    case GM_BUILDCOLUMNS:
        return grid_on_build_columns(*g, reinterpret_cast<HWND>(w), reinterpret_cast<const GridColumnChoice*>(l));
    case GM_SETROWHEADINGS:
        return grid_on_set_row_headings(*g, static_cast<int>(w), reinterpret_cast<const std::string_view*>(l));
    case GM_SETSIZE: {
        // Built columns hold rows-created cells each: their rows stay.
        GridModel& m = g->model();
        const auto rows = static_cast<int>(std::min<WPARAM>(w, grid_max_rows));
        if (m.columns.empty())
            m.rows_in_use = m.rows_created = rows;
        g->columns_to_build = static_cast<int>(std::clamp<LPARAM>(l, 0, grid_max_columns));
        g->row_places = std::max(0, std::min(m.rows_created, g->visible_rows + 1));
        m.rows_shown = g->row_places;
        return 0;
    }
    case GM_LAYOUT:
        grid_layout(*g);
        return 0;
    case GM_HEADERWIDTHS:
        on_header_widths(*g);
        return 0;
    case GM_SETUPDONE:
        g->set_up = 1;
        g->inert = 1;
        return 0;
    case WM_COMMAND:
        if (l == 0)
            SendMessageA(g->cell_area, message, w, l);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, w, l);
}

} // namespace korv
