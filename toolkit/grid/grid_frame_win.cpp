// The grid's frame window: its record, row height and column header, the
// layout of header, row headings and cell area, and scrolling.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
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

HWND make_header(GridControl& g, int x, int y, int width, int height, int id)
{
    HWND h = CreateWindowExA(WS_EX_NOPARENTNOTIFY, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, x, y,
                             width, height, g.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                             nullptr);
    if (h && g.font)
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), 0);
    return h;
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
    auto* g = new (std::nothrow) GridControl(window);
    if (!g)
        return -1;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(g));
    g->model().view = g;
    g->model().style = cs.style & 0xFFFF;
    g->row_height = measure_row_height(window, nullptr);
    if ((cs.style & grid_style_column_headings) != 0) {
        g->header = make_header(*g, 0, 0, cs.cx, g->row_height + 1, -1);
        if (!g->header)
            return -1;
        g->header_height = g->row_height + 1;
    }
    return 0;
}

void on_set_font(GridControl& g, HFONT font)
{
    g.font = font;
    g.row_height = measure_row_height(g.frame, font);
    if (g.header) {
        SendMessageA(g.header, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        g.header_height = g.row_height + 1;
        RECT r;
        GetClientRect(g.frame, &r);
        MoveWindow(g.header, 0, 0, r.right, g.header_height, TRUE);
    }
}

void on_size(GridControl& g)
{
    if (!g.set_up)
        return;
    RECT r;
    GetClientRect(g.frame, &r);
    if (g.header)
        MoveWindow(g.header, 0, 0, r.right, g.header_height, TRUE);
    if (g.cell_area)
        MoveWindow(g.cell_area, g.row_heading_width, g.header_height,
                   std::max<int>(r.right - g.row_heading_width, 1),
                   std::max<int>(r.bottom - g.header_height, g.row_height), TRUE);
    grid_fit_rows(g);
    grid_layout(g);
}

// The editor may refuse to let the current cell go (an invalid number).
bool editor_holds_invalid_number(GridControl& g)
{
    return g.editor && GetFocus() == g.editor && numctl_validate(g.editor, g.editor, 1) != 0;
}

void scroll_vertically(GridControl& g, int code, int position)
{
    GridModel& m = g.model();
    if (editor_holds_invalid_number(g))
        return;
    const int saved_1 = m.modified_1, saved_2 = m.modified_2;
    int distance = 0;
    switch (code) {
    case SB_LINEUP: distance = -1; break;
    case SB_LINEDOWN: distance = 1; break;
    case SB_PAGEUP: distance = -g.visible_rows; break;
    case SB_PAGEDOWN: distance = g.visible_rows; break;
    case SB_THUMBTRACK: {
        const int target = g.pending_target != 0 ? g.pending_target : position * g.scroll_divisor;
        g.pending_target = 0;
        distance = target - m.top_row;
        break;
    }
    default: break;
    }
    distance = std::max(distance, -m.top_row);
    if (distance > 0) {
        const int room = m.rows_in_use - g.visible_rows - m.top_row;
        distance = room < 1 ? 0 : std::min(distance, room);
    }
    if (distance == 0)
        return;
    grid_clear_selection(g);
    const bool focus_inside = grid_focus_inside(g);
    grid_cell_editor_close(g, true);
    m.top_row += distance;
    if (g.style() & WS_VSCROLL)
        SetScrollPos(g.frame, SB_VERT, m.top_row / g.scroll_divisor, TRUE);
    m.current_row = std::clamp(m.current_row, m.top_row, m.top_row + g.visible_rows - 1);
    m.current_row = std::min(m.current_row, m.rows_in_use - 1);
    InvalidateRect(g.cell_area, nullptr, FALSE);
    grid_cell_editor_open(g);
    if (focus_inside && g.editor)
        SetFocus(g.editor);
    grid_row_headings_refresh(g);
    UpdateWindow(g.cell_area);
    m.modified_1 = saved_1;
    m.modified_2 = saved_2;
}

// The leftmost column from which the columns up to `last` fit the cell area.
int leftmost_fitting(const GridControl& g, int last)
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

void scroll_horizontally(GridControl& g, int code, int position)
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
    const bool focus_inside = grid_focus_inside(g);
    grid_cell_editor_close(g, true);
    g.first_visible_column += distance;
    if (g.style() & WS_HSCROLL)
        SetScrollPos(g.frame, SB_HORZ, g.first_visible_column, TRUE);
    grid_layout(g);
    m.current_column = std::clamp(m.current_column, g.first_visible_column, g.last_visible_column);
    SendMessageA(g.frame, gm_header_widths, 0, 0);
    InvalidateRect(g.cell_area, nullptr, FALSE);
    grid_cell_editor_open(g);
    if (focus_inside && g.editor)
        SetFocus(g.editor);
    UpdateWindow(g.cell_area);
}

void on_wheel(GridControl& g, int delta)
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

LRESULT on_header_notify(GridControl& g, const NMHEADERA& n)
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
    case HDN_ENDTRACKW:
        grid_scroll_into_view(g);
        PostMessageA(g.frame, gm_header_widths, 0, 0);
        return 0;
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
        if (m.columns.empty() || m.rows_in_use == 0)
            return 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
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
            if (row >= m.rows_in_use)
                return 0;
            if (!shift)
                grid_move_to_cell(g, g.first_visible_column, row, true, false);
            grid_select_range(g, std::min(m.current_row, row), std::max(m.current_row, row), 0, m.column_count() - 1);
        }
        return 0;
    }
    default:
        return 0;
    }
}

void on_header_widths(GridControl& g)
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

void on_destroy(HWND window, GridControl* g)
{
    grid_cell_editor_close(*g, true);
    grid_column_controls_destroy(*g);
    if (g->model().view == g) {
        GridControl* owner = g->shared_with && IsWindow(g->shared_with) ? grid_control_of(g->shared_with) : nullptr;
        g->model().view = owner;
    }
    SetWindowLongPtrA(window, 0, 0);
    delete g;
}

} // namespace

GridControl* grid_control_of(HWND frame)
{
    return frame ? reinterpret_cast<GridControl*>(GetWindowLongPtrA(frame, 0)) : nullptr;
}

GridControl::~GridControl() = default;

void grid_layout(GridControl& g)
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

void grid_fit_rows(GridControl& g)
{
    GridModel& m = g.model();
    if (!g.cell_area)
        return;
    RECT r;
    GetClientRect(g.cell_area, &r);
    g.visible_rows = std::max(1, static_cast<int>((r.bottom - g.row_height) / (g.row_height - 1)) + 1);
    const int places = std::min(m.rows_created, g.visible_rows + 1);
    m.rows_shown = std::min(places, std::max(m.rows_in_use, 0));
    if (!m.has_row_headings())
        return;
    while (static_cast<int>(g.row_headers.size()) > places) {
        DestroyWindow(g.row_headers.back());
        g.row_headers.pop_back();
    }
    while (static_cast<int>(g.row_headers.size()) < places) {
        const int i = static_cast<int>(g.row_headers.size());
        const int y = g.header_height + (i == 0 ? 0 : i * (g.row_height - 1) + 1);
        HWND h = make_header(g, 0, y, g.row_heading_width, i == 0 ? g.row_height : g.row_height - 1, i);
        if (!h)
            break;
        set_header_item(h, 0, g.row_heading_width + 1, "", HDF_STRING, true);
        g.row_headers.push_back(h);
    }
    grid_row_headings_refresh(g);
}

void grid_row_headings_refresh(GridControl& g)
{
    GridModel& m = g.model();
    for (std::size_t i = 0; i < g.row_headers.size(); ++i) {
        const int row = m.top_row + static_cast<int>(i);
        set_header_item(g.row_headers[i], 0, g.row_heading_width + 1, m.row_heading(row), HDF_STRING, false);
        ShowWindow(g.row_headers[i], row < m.rows_in_use ? SW_SHOWNA : SW_HIDE);
    }
}

void grid_scroll_to_row(GridControl& g, int row)
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

void grid_scroll_into_view(GridControl& g)
{
    GridModel& m = g.model();
    if (m.columns.empty())
        return;
    if (m.current_column < g.first_visible_column)
        scroll_horizontally(g, SB_THUMBTRACK, m.current_column);
    else if (m.current_column > g.last_visible_column)
        scroll_horizontally(g, SB_THUMBTRACK, leftmost_fitting(g, m.current_column));
}

LRESULT CALLBACK grid_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_CREATE)
        return on_create(window, *reinterpret_cast<const CREATESTRUCTA*>(l));
    GridControl* g = grid_control_of(window);
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
        if (g->set_up && g->editor) {
            grid_scroll_into_view(*g);
            if (g->editor)
                SetFocus(g->editor);
        }
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
    case gm_build_columns:
        return grid_on_build_columns(*g, reinterpret_cast<HWND>(w), reinterpret_cast<const GridColumnChoice*>(l));
    case gm_set_row_headings:
        return grid_on_set_row_headings(*g, static_cast<int>(w), reinterpret_cast<const std::string_view*>(l));
    case gm_set_size: {
        // Built columns hold rows-created cells each: their rows stay.
        GridModel& m = g->model();
        const auto rows = static_cast<int>(std::min<WPARAM>(w, grid_max_rows));
        if (m.columns.empty())
            m.rows_in_use = m.rows_created = rows;
        g->columns_to_build = static_cast<int>(std::clamp<LPARAM>(l, 0, grid_max_columns));
        m.rows_shown = std::max(0, std::min(m.rows_created, g->visible_rows + 1));
        return 0;
    }
    case gm_layout:
        grid_layout(*g);
        return 0;
    case gm_header_widths:
        on_header_widths(*g);
        return 0;
    case gm_setup_done:
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
