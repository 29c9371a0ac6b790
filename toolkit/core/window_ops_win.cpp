// Window operations on the current toolkit window: status bar, placement,
// title and icon, raising, client-area drawing and text, system colours,
// cursors and the pointer.
#include "korvanthide/window_ops.h"

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/errors_text.h"
#include "core/services/content_kinds.h"
#include "core/services/editor.h"
#include "core/win_module.h"
#include "core/window_ops_layout.h"
#include "graphics/gdi_handles.h"
#include "graphics/gdi_primitives.h"

#include <windows.h>
#include <commctrl.h>

#include "korvanthide/dialogs_win.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korv {

namespace {

// The text font and the sizes kept for it.
struct TextFontState {
    HFONT font = nullptr;
    bool stock = true;
    int request_font = 0, request_bold = 0, request_italic = 0, request_width = 0, request_height = 0;
    // The five values of the font last made; -1 until one is made.
    int made_font = -1, made_bold = -1, made_italic = -1, made_width = -1, made_height = -1;
    int width_pixels = 0, height_pixels = 0;
    int width_units = 0, height_units = 0;
    int attribute_flag = 0;
};

TextFontState& text_font()
{
    return toolkit_context().record<TextFontState>(ContextSlot::text_font);
}

// Cursor shape codes kept beside the handles of the window tables.
struct CursorState {
    std::array<int, window_slots> shape{};
    HCURSOR default_cursor = nullptr;
    int default_shape = 0;
};

CursorState& cursors()
{
    return toolkit_context().record<CursorState>(ContextSlot::cursors);
}

WindowSlot* current_slot()
{
    auto& t = window_tables();
    if (t.current < 0 || t.current > max_window)
        return nullptr;
    WindowSlot& s = t.windows[static_cast<std::size_t>(t.current)];
    return s.frame ? &s : nullptr;
}

HWND current_status_bar()
{
    const WindowSlot* s = current_slot();
    return s ? s->status_bar : nullptr;
}

std::string_view up_to_zero(std::string_view text)
{
    const auto nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// A context of the current window's client area for measuring.
WindowDc client_dc()
{
    const WindowSlot* s = current_slot();
    return WindowDc(s != nullptr ? s->client : nullptr);
}

COLORREF text_table_colour(int entry)
{
    const auto& t = window_tables();
    if (entry == 16)
        return static_cast<COLORREF>(t.system_text_colour);
    if (entry == 17)
        return static_cast<COLORREF>(t.system_window_colour);
    return static_cast<COLORREF>(t.text_colours[static_cast<std::size_t>(std::clamp(entry, 0, 15))]);
}

// A colour argument: a value, -1 the text background, other negatives the
// window's background (white when it has none).
COLORREF colour_code(HDC dc, int colour)
{
    COLORREF c;
    if (colour >= 0) {
        c = static_cast<COLORREF>(colour) & 0xFFFFFF;
    } else if (colour == -1) {
        c = text_table_colour(window_tables().text_background);
    } else {
        const WindowSlot* s = current_slot();
        c = s && s->background_colour >= 0 ? static_cast<COLORREF>(s->background_colour) : RGB(255, 255, 255);
    }
    if (display_info().colour_count == 256 && dc)
        c = GetNearestColor(dc, c);
    return c;
}

// The workspace is the screen less the taskbar; placements are in workspace
// co-ordinates. Measured on a hidden window placed at the screen origin.
POINT workspace_offset()
{
    POINT d{0, 0};
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module_instance(), nullptr);
    if (!probe)
        return d;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    RECT r{};
    if (GetWindowPlacement(probe, &wp) && GetWindowRect(probe, &r)) {
        d.x = r.left - wp.rcNormalPosition.left;
        d.y = r.top - wp.rcNormalPosition.top;
    }
    DestroyWindow(probe);
    return d;
}

bool is_child(HWND w)
{
    return (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0;
}

// The rectangle of a frame: its restored placement when minimised or
// maximised (corrected to screen co-ordinates for top-level windows), the
// window rectangle otherwise; a child's in its parent's client co-ordinates.
RECT frame_rectangle(HWND frame)
{
    RECT r{};
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(frame, &wp);
    const bool child = is_child(frame);
    if (IsIconic(frame) || IsZoomed(frame)) {
        r = wp.rcNormalPosition;
        if (!child) {
            const POINT d = workspace_offset();
            OffsetRect(&r, d.x, d.y);
        }
        return r;
    }
    GetWindowRect(frame, &r);
    if (child)
        MapWindowPoints(nullptr, GetParent(frame), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void parent_of(HWND frame, int& inside, int& parent)
{
    if (!is_child(frame)) {
        inside = 0;
        parent = 0;
        return;
    }
    inside = 1;
    parent = win_number_from_handle(GetParent(frame));
}

// Client size plus everything around it on the frame.
SIZE frame_size_for(const WindowSlot& s, int client_width, int client_height)
{
    RECT r{0, 0, client_width, client_height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(s.client, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(s.client, GWL_EXSTYLE)));
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(s.frame, GWL_STYLE)), s.menu != nullptr,
                       static_cast<DWORD>(GetWindowLongA(s.frame, GWL_EXSTYLE)));
    int w = r.right - r.left, h = r.bottom - r.top;
    for (int side = 0; side < 4; ++side) {
        if (!s.toolbars[static_cast<std::size_t>(side)])
            continue;
        const int thick = s.toolbar_thickness[static_cast<std::size_t>(side)];
        (side == 1 || side == 2 ? w : h) += thick;
    }
    if (s.status_bar) {
        RECT sb{};
        GetWindowRect(s.status_bar, &sb);
        h += sb.bottom - sb.top;
    }
    // An editor's own toolbar stands above the window's client area too.
    if (HWND own = editor_services().bars(s.frame).toolbar) {
        RECT tb{};
        GetWindowRect(own, &tb);
        h += tb.bottom - tb.top;
    }
    return {w, h};
}

// A pane of a split window is sized by moving the bar between the panes.
void pane_resize(SplitWindowRecord& split, int pane, SIZE outer)
{
    HWND bar = split.subject;
    if (bar == nullptr) return;
    const bool stacked = (split.split_flags & 1) != 0;
    RECT b{};
    GetWindowRect(bar, &b);
    MapWindowPoints(nullptr, GetParent(bar), reinterpret_cast<POINT*>(&b), 2);
    RECT area{};
    GetClientRect(GetParent(bar), &area);
    const int wanted = stacked ? outer.cy : outer.cx;
    const int parent_size = stacked ? area.bottom : area.right;
    const int moved = pane == split.panes[0] ? wanted : parent_size - wanted;
    // The bar's own move lays the panes out while a drag is marked.
    split.drag_anchor = 0;
    SetWindowPos(bar, nullptr, stacked ? b.left : moved, stacked ? moved : b.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    split.drag_anchor = -999;
}

void client_size_of(const WindowSlot& s, int& width, int& height)
{
    RECT r{};
    GetClientRect(s.client, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

} // namespace

// ---------------------------------------------------------------- status bar

void win_statusbar_part_define(int part, int width, int border)
{
    auto& t = window_tables();
    if (part < 1 || part > status_parts || t.current < 0 || t.current > max_window)
        return;
    WindowSlot& s = t.windows[static_cast<std::size_t>(t.current)];
    s.status_widths[static_cast<std::size_t>(part - 1)] = width;
    s.status_styles[static_cast<std::size_t>(part - 1)] = statusbar_style_of(border);
}

void win_statusbar_layout(int window, int parts)
{
    auto& t = window_tables();
    if (window < 0 || window > max_window)
        return;
    const WindowSlot& s = t.windows[static_cast<std::size_t>(window)];
    if (!s.status_bar)
        return;
    parts = std::clamp(parts, 1, status_parts);
    RECT r{};
    GetClientRect(s.frame, &r);
    const auto edges = statusbar_edges(std::span(s.status_widths).first(static_cast<std::size_t>(parts)), r.right);
    SendMessageA(s.status_bar, SB_SETPARTS, static_cast<WPARAM>(parts), reinterpret_cast<LPARAM>(edges.data()));
}

void win_statusbar_parts_apply(int parts)
{
    auto& t = window_tables();
    HWND bar = current_status_bar();
    if (!bar)
        return;
    parts = std::clamp(parts, 1, status_parts);
    win_statusbar_layout(t.current, parts);
    const WindowSlot& s = t.windows[static_cast<std::size_t>(t.current)];
    for (int i = 0; i < parts; ++i) {
        // Read back at its own length, however long the text is.
        const auto length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(i), 0));
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(i | s.status_styles[static_cast<std::size_t>(i)]),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
}

void win_statusbar_text_set(int part, std::string_view text)
{
    auto& t = window_tables();
    HWND bar = current_status_bar();
    if (!bar || part < 1 || part > status_parts)
        return;
    const WindowSlot& s = t.windows[static_cast<std::size_t>(t.current)];
    const std::string terminated(up_to_zero(text));
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>((part - 1) | s.status_styles[static_cast<std::size_t>(part - 1)]),
                 reinterpret_cast<LPARAM>(terminated.c_str()));
    RECT r{};
    if (SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part - 1), reinterpret_cast<LPARAM>(&r))) {
        InvalidateRect(bar, &r, TRUE);
        UpdateWindow(bar);
    }
}

void win_statusbar_text(int part, std::string_view text)
{
    if (part < 1 || part > status_parts)
        return;
    win_statusbar_text_set(part, text_trimmed(text));
}

void win_statusbar_text_get(int part, std::span<char> text)
{
    HWND bar = current_status_bar();
    std::string value;
    if (bar && part >= 1 && part <= status_parts) {
        const auto length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part - 1), 0));
        value.assign(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part - 1), reinterpret_cast<LPARAM>(value.data()));
        value.resize(static_cast<std::size_t>(length));
    }
    text_assign(text, value);
}

// ---------------------------------------------------- size, position, state

void win_state_get(int& state)
{
    const WindowSlot* s = current_slot();
    state = 3;
    if (!s || !(GetWindowLongA(s->frame, GWL_STYLE) & WS_VISIBLE))
        return;
    state = IsIconic(s->frame) ? 0 : IsZoomed(s->frame) ? 2 : 1;
}

void win_position_get(int which, int& a, int& b, int& inside_parent, int& parent)
{
    HWND w = nullptr;
    if (which == 0 || which == 1) {
        if (const WindowSlot* s = current_slot())
            w = s->frame;
    } else if (which == 2 || which == 3) {
        w = dialog_current_window();
    }
    inside_parent = 0;
    parent = 0;
    if (!w)
        return;
    const RECT r = frame_rectangle(w);
    if (which == 0 || which == 2) {
        a = r.left;
        b = r.top;
    } else {
        a = r.right - r.left;
        b = r.bottom - r.top;
    }
    parent_of(w, inside_parent, parent);
}

void win_client_origin(int& x, int& y)
{
    POINT p{0, 0};
    if (const WindowSlot* s = current_slot())
        ClientToScreen(s->client, &p);
    x = p.x;
    y = p.y;
}

void win_placement_size(int& width, int& height, int& left, int& top, int& inside_parent, int& parent)
{
    const WindowSlot* s = current_slot();
    width = height = left = top = inside_parent = parent = 0;
    if (!s)
        return;
    if (IsIconic(s->frame) || IsZoomed(s->frame)) {
        const RECT r = frame_rectangle(s->frame);
        const SIZE around = frame_size_for(*s, 0, 0);
        width = (r.right - r.left) - around.cx;
        height = (r.bottom - r.top) - around.cy;
        left = r.left;
        top = r.top;
        parent_of(s->frame, inside_parent, parent);
        return;
    }
    client_size_of(*s, width, height);
    win_position_get(0, left, top, inside_parent, parent);
}

void win_placement_set(int x, int y, int& width, int& height, int state)
{
    const WindowSlot* s = current_slot();
    if (!s)
        return;
    constexpr int keep = -999999;
    int present = 0;
    win_state_get(present);
    if (state == -1)
        state = present;
    const bool child = is_child(s->frame);
    const bool special = IsIconic(s->frame) || IsZoomed(s->frame);
    RECT r = special ? frame_rectangle(s->frame) : RECT{};
    if (!special) {
        GetWindowRect(s->frame, &r);
        if (child)
            MapWindowPoints(nullptr, GetParent(s->frame), reinterpret_cast<POINT*>(&r), 2);
    }
    int cw = 0, ch = 0;
    client_size_of(*s, cw, ch);
    if (IsZoomed(s->frame)) {
        const SIZE around = frame_size_for(*s, 0, 0);
        cw = (r.right - r.left) - around.cx;
        ch = (r.bottom - r.top) - around.cy;
    }
    const int nx = x == keep ? r.left : x;
    const int ny = y == keep ? r.top : y;
    int nw = width == keep ? cw : width;
    int nh = height == keep ? ch : height;
    // A window holding a dialog without a size grip keeps the dialog's
    // size; one with a grip remembers no outer size above the new one.
    DialogWindowRecord* held = win_dialog_record(s->frame);
    if (held && !dialog_has_size_grip(held->subject)) {
        nw = cw;
        nh = ch;
    }
    const SIZE outer = frame_size_for(*s, nw, nh);
    if (held && dialog_has_size_grip(held->subject)) {
        held->width = std::min(held->width, static_cast<int>(outer.cx));
        held->height = std::min(held->height, static_cast<int>(outer.cy));
    }
    const int host = win_split_parent();
    SplitWindowRecord* split = host >= 0 ? win_split_record(window_tables().windows[static_cast<std::size_t>(host)].frame)
                                         : nullptr;
    if (split != nullptr) {
        pane_resize(*split, window_tables().current, outer);
    } else if (special || state == 0 || state == 2) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(s->frame, &wp);
        RECT normal{nx, ny, nx + outer.cx, ny + outer.cy};
        if (!child) {
            const POINT d = workspace_offset();
            OffsetRect(&normal, -d.x, -d.y);
        }
        wp.rcNormalPosition = normal;
        // A maximised child comes back to this rectangle when restored.
        if (child && IsZoomed(s->frame)) {
            WindowSlot& kept = window_tables().windows[static_cast<std::size_t>(window_tables().current)];
            kept.restore_rectangle = {static_cast<int>(normal.left), static_cast<int>(normal.top),
                                      static_cast<int>(normal.right), static_cast<int>(normal.bottom)};
        }
        constexpr UINT shows[4] = {SW_SHOWMINNOACTIVE, SW_SHOWNOACTIVATE, SW_SHOWMAXIMIZED, SW_HIDE};
        wp.showCmd = shows[std::clamp(state, 0, 3)];
        wp.flags = 0;
        SetWindowPlacement(s->frame, &wp);
    } else {
        if (held && state != 3) dialog_embedded_show(held->subject);
        SetWindowPos(s->frame, nullptr, nx, ny, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | (state == 3 ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    }
    if (window_tables().current == 0)
        window_tables().root_hidden = state == 3;
    client_size_of(*s, width, height);
}

void win_content_kind(int& kind)
{
    const WindowSlot* s = current_slot();
    const WindowContentRecord* r = s ? win_content_record(s->frame) : nullptr;
    kind = static_cast<int>(r ? r->kind : ContentKind::none);
}

int win_info_query(int item)
{
    const auto& g = graphics_state();
    const auto& t = window_tables();
    int a = 0, b = 0, inside = 0, parent = 0, w = 0, h = 0;
    // A position inside a parent is given in window units of the parent's
    // client area: the parent is made current for the conversion.
    const auto in_parent_units = [&](int px, int py, bool x_wanted) {
        if (inside != 1 || parent < 0)
            return x_wanted ? px : py;
        const int previous = t.current;
        YYWINSEL(parent, 1);
        int u = 0, v = 0;
        gr_pixel_to_window_units(px, py, u, v);
        YYWINSEL(previous, 1);
        return x_wanted ? u : v;
    };
    switch (item) {
    case 1:
        return g.drawable_width;
    case 2:
        return g.drawable_height;
    case 3:
        return t.current >= 0 && t.current <= max_window ? t.windows[static_cast<std::size_t>(t.current)].flags : 0;
    case 4:
        return t.current;
    case 5:
    case 6:
        win_position_get(0, a, b, inside, parent);
        return in_parent_units(a, b, item == 5);
    case 7:
    case 8:
        win_client_origin(a, b);
        return item == 7 ? a : b;
    case 9:
        win_state_get(a);
        return a;
    case 10:
        win_content_kind(a);
        return a;
    case 11:
    case 12:
        win_placement_size(w, h, a, b, inside, parent);
        return item == 11 ? w : h;
    case 13:
    case 14:
        win_placement_size(w, h, a, b, inside, parent);
        return in_parent_units(a, b, item == 13);
    case 15: {
        int count = 0;
        for (int n = 1; n <= max_window; ++n)
            count += t.windows[static_cast<std::size_t>(n)].frame ? 0 : 1;
        return count;
    }
    default:
        return 0;
    }
}

// --------------------------------------------------------- title, raising

void win_title_icon_set(int& icon, int flag, std::string_view title)
{
    const WindowSlot* s = current_slot();
    if (!s)
        return;
    if (flag == 1) {
        const std::string text(up_to_zero(title));
        SetWindowTextA(s->frame, text.c_str());
    }
    if (icon == -1)
        return;
    HICON big = icon == 0 ? LoadIconA(module_instance(), "icon1")
                          : LoadIconA(module_instance(), MAKEINTRESOURCEA(icon & 0xFFFF));
    if (!big) {
        icon = -2;
        return;
    }
    HICON old_big = reinterpret_cast<HICON>(SendMessageA(s->frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)));
    HICON old_small = reinterpret_cast<HICON>(SendMessageA(s->frame, WM_SETICON, ICON_SMALL, 0));
    if (old_big && old_big != big)
        DestroyIcon(old_big);
    if (old_small && old_small != big)
        DestroyIcon(old_small);
}

void win_raise()
{
    const WindowSlot* s = current_slot();
    if (!s)
        return;
    // The frames that contain this one, outermost first.
    std::vector<HWND> chain;
    for (HWND w = s->frame; w; w = GetParent(w)) {
        if (win_number_from_handle(w) >= 0 && w == window_tables().windows[static_cast<std::size_t>(win_number_from_handle(w))].frame)
            chain.push_back(w);
        if (!is_child(w))
            break;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EnableWindow(s->frame, TRUE);
    const WindowContentRecord* rec = win_content_record(s->frame);
    if (!rec)
        SetFocus(s->client);
    else if (rec->subject && content_kind_services(rec->kind).subject_takes_focus)
        SetFocus(rec->subject);
    win_activate(s->frame);
}

// ------------------------------------------------------ client-area drawing

void win_scroll(int dx, int dy, int colour)
{
    const WindowSlot* s = current_slot();
    HDC dc = window_tables().drawing_dc;
    if (!s || !dc)
        return;
    {
        const GdiRegion uncovered(CreateRectRgn(0, 0, 0, 0));
        ScrollWindowEx(s->client, dx, dy, nullptr, nullptr, uncovered.get(), nullptr, SW_INVALIDATE);
        const GdiBrush brush(CreateSolidBrush(colour_code(dc, colour)));
        FillRgn(dc, uncovered.get(), brush.get());
    }
    // The filled strip needs no expose event.
    RECT r{};
    GetClientRect(s->client, &r);
    if (dx > 0)
        r.right = dx;
    else if (dx < 0)
        r.left = r.right + dx;
    if (dy > 0)
        r.bottom = dy;
    else if (dy < 0)
        r.top = r.bottom + dy;
    ValidateRect(s->client, &r);
}

void win_fill_rectangle(int x1, int y1, int x2, int y2, int colour)
{
    HDC dc = window_tables().drawing_dc;
    if (!dc)
        return;
    const GdiBrush brush(CreateSolidBrush(colour_code(dc, colour)));
    const RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    FillRect(dc, &r, brush.get());
}

void win_text_draw(int& x, int& y, std::string_view text)
{
    HDC dc = window_tables().drawing_dc;
    text = up_to_zero(text);
    if (!dc)
        return;
    const auto& t = window_tables();
    const SelectedObject font(dc, text_font().font);
    const COLORREF fg = colour_code(dc, static_cast<int>(text_table_colour(t.text_foreground)));
    const COLORREF bg = colour_code(dc, static_cast<int>(text_table_colour(t.text_background)));
    const COLORREF old_fg = SetTextColor(dc, fg);
    const COLORREF old_bg = SetBkColor(dc, bg);
    const int old_mode = SetBkMode(dc, OPAQUE);
    const UINT old_align = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
    if (t.text_attribute != 0 && size.cx > 0) {
        const GdiPen pen(CreatePen(PS_SOLID, 1, fg));
        const SelectedObject selected(dc, pen.get());
        const int old_rop = SetROP2(dc, R2_COPYPEN);
        MoveToEx(dc, x, y + 2, nullptr);
        LineTo(dc, x + size.cx, y + 2);
        SetROP2(dc, old_rop);
    }
    SetTextAlign(dc, old_align);
    SetBkMode(dc, old_mode);
    SetBkColor(dc, old_bg);
    SetTextColor(dc, old_fg);
    x += size.cx;
}

void win_text_width(int& width, std::string_view text)
{
    text = up_to_zero(text);
    width = 0;
    const WindowDc dc = client_dc();
    if (!dc)
        return;
    const SelectedObject font(dc.get(), text_font().font);
    SIZE size{};
    if (GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size))
        width = size.cx;
}

void win_text_colours_set(int foreground, int background)
{
    auto& t = window_tables();
    t.text_foreground = foreground;
    t.text_background = background;
}

void win_text_colour_define(int index, int red, int green, int blue)
{
    auto& t = window_tables();
    if (index < 0 || index > 15)
        return;
    const std::int32_t rgb = (red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF);
    t.text_colours[static_cast<std::size_t>(index)] = rgb;
    if (display_info().colour_count == 256)
        gdi_palette_entry_set(t.palette_levels + index, rgb, 0);
}

void win_text_attribute_set(int attribute)
{
    window_tables().text_attribute = attribute;
}

void win_text_font_set(int font, int bold, int italic, int& width, int& height)
{
    auto& f = text_font();
    if (f.font && !f.stock)
        DeleteObject(f.font);
    f.font = nullptr;
    f.stock = true;
    struct Face {
        const char* name;
        BYTE family;
    };
    constexpr Face faces[] = {{"Times New Roman", FF_ROMAN}, {"Arial", FF_SWISS}, {"Courier New", FF_MODERN},
                              {"Symbol", FF_DONTCARE},       {"Wingdings", FF_DONTCARE}};
    if (font == 1) {
        f.font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    } else if (font >= 2 && font <= 6) {
        const Face& face = faces[font - 2];
        f.font = CreateFontA(height, width, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | face.family, face.name);
        f.stock = false;
    } else if (font == -99) {
        f.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    } else {
        f.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    }
    const WindowDc dc = client_dc();
    if (!dc || !f.font)
        return;
    const SelectedObject selected(dc.get(), f.font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc.get(), &tm)) {
        height = tm.tmHeight;
        width = tm.tmAveCharWidth;
    }
}

void win_text_size_to_pixels()
{
    auto& f = text_font();
    gr_window_units_to_pixel(f.width_units, f.height_units, f.width_pixels, f.height_pixels);
}

void win_text_state_reset()
{
    auto& t = window_tables();
    t.text_background = 15;
    t.text_foreground = 0;
    t.text_attribute = 0;
    t.text_colours = text_colour_defaults();
    t.system_text_colour = static_cast<int>(GetSysColor(COLOR_WINDOWTEXT));
    t.system_window_colour = static_cast<int>(GetSysColor(COLOR_WINDOW));
}

void win_text_font_reset()
{
    auto& f = text_font();
    f.request_font = f.request_bold = f.request_italic = 0;
    int width = 0, height = 0;
    win_text_font_set(0, 0, 0, width, height);
    f.width_pixels = width;
    f.height_pixels = height;
    gr_pixel_to_window_units(width, height, f.width_units, f.height_units);
}

// --------------------------------------------------------------- queries

void win_system_colour(int code, int& colour)
{
    const auto& d = display_info();
    bool flat = false;
    if (d.windows_major > 5 || (d.windows_major == 5 && d.windows_minor >= 1)) {
        BOOL on = FALSE;
        flat = SystemParametersInfoA(SPI_GETFLATMENU, 0, &on, 0) && on;
    }
    const int index = system_colour_index(code, flat);
    if (index >= 0)
        colour = static_cast<int>(GetSysColor(index));
}

void win_mouse_buttons(int& count)
{
    count = GetSystemMetrics(SM_CMOUSEBUTTONS);
}

void sys_special_folder(int folder, std::span<char> path)
{
    using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static Fn fn = [] {
        HMODULE shell = GetModuleHandleA("shell32.dll");
        if (!shell)
            shell = LoadLibraryA("shell32.dll");
        return shell ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")))
                     : nullptr;
    }();
    if (!fn)
        return;
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(fn(nullptr, folder, nullptr, 0, buffer)))
        text_assign(path, buffer);
}

void sys_system_directory(std::span<char> buffer)
{
    char dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    text_assign(buffer, std::string_view(dir, std::min<UINT>(n, MAX_PATH)));
}

void win_composition_flag(int& flag)
{
    flag = win_dwm_composition_enabled() != 0 ? 1 : 0;
}

void win_error_outputs_install(ErrorOutputs& out)
{
    out.current_window = [] { return win_info_query(4); };
    out.select_window = [](int window) { gr_window_select_current(window); };
    out.statusbar_text = [](int part, std::string_view text) { win_statusbar_text(part, text); };
}

// ------------------------------------------------------- cursor, pointer

namespace {

HCURSOR load_cursor(int shape)
{
    const LPCSTR system[12] = {IDC_ARROW,  IDC_WAIT,     IDC_APPSTARTING, IDC_CROSS,
                                   IDC_IBEAM,  IDC_NO,       IDC_SIZEALL,     IDC_SIZENS,
                                   IDC_SIZEWE, IDC_SIZENESW, IDC_SIZENWSE,    IDC_UPARROW};
    if (shape >= 0 && shape <= 11)
        return LoadCursorA(nullptr, system[shape]);
    return LoadCursorA(module_instance(), MAKEINTRESOURCEA(shape & 0xFFFF));
}

bool pointer_over(HWND w)
{
    POINT p{};
    return w && GetCursorPos(&p) && WindowFromPoint(p) == w;
}

// The dialog graphics field that is the drawing target, or null.
HWND target_field()
{
    const auto& g = graphics_state();
    if (g.target_kind != target_dialog_field)
        return nullptr;
    const int slot = dialog_index_by_id(g.target_dialog);
    if (slot < 0)
        return nullptr;
    HWND dialog = dialog_table().windows[static_cast<std::size_t>(slot)];
    return g.target_number == 0 ? dialog : GetDlgItem(dialog, g.target_number);
}

bool keeps_cursor(HWND field)
{
    char name[32] = {};
    GetClassNameA(field, name, sizeof name);
    return lstrcmpiA(name, "#32770") == 0 || lstrcmpiA(name, "msctls_updown32") == 0 ||
           lstrcmpiA(name, "SCROLLBAR") == 0;
}

BOOL CALLBACK clear_field_cursor(HWND field, LPARAM)
{
    if (!keeps_cursor(field))
        if (FieldRecord* r = field_record_of(field)) {
            r->cursor = nullptr;
            r->cursor_shape = 0;
        }
    return TRUE;
}

} // namespace

void win_cursor_shape_set(int shape, int mode, int kind, int window)
{
    auto& t = window_tables();
    auto& c = cursors();
    HCURSOR cursor = load_cursor(shape);
    if (mode == 1) {
        if (kind == 3) {
            if (window == 0)
                return;
            HWND field = target_field();
            FieldRecord* r = field ? field_record_of(field) : nullptr;
            if (!r)
                return;
            r->cursor = cursor;
            r->cursor_shape = shape;
            if (pointer_over(field))
                SetCursor(cursor);
            return;
        }
        if (window < 0 || window > max_window)
            return;
        WindowSlot& s = t.windows[static_cast<std::size_t>(window)];
        s.cursor = cursor;
        c.shape[static_cast<std::size_t>(window)] = shape;
        if (pointer_over(s.client))
            SetCursor(cursor);
        return;
    }
    if (mode != 2) {
        for (std::size_t n = 0; n < t.windows.size(); ++n) {
            t.windows[n].cursor = nullptr;
            c.shape[n] = 0;
        }
        const auto& d = dialog_table();
        for (int slot = 1; slot <= d.loaded; ++slot)
            if (HWND dialog = d.windows[static_cast<std::size_t>(slot)])
                EnumChildWindows(dialog, clear_field_cursor, 0);
    }
    c.default_cursor = cursor;
    c.default_shape = shape;
    SetCursor(cursor);
}

void win_attribute_get(int& shape, int kind, int window)
{
    const auto& t = window_tables();
    const auto& c = cursors();
    shape = c.default_shape;
    if (kind == 1 && window >= 0 && window <= max_window && t.windows[static_cast<std::size_t>(window)].cursor)
        shape = c.shape[static_cast<std::size_t>(window)];
    if (kind == 3 && window != 0) {
        HWND field = target_field();
        if (const FieldRecord* r = field ? field_record_of(field) : nullptr; r && r->cursor)
            shape = r->cursor_shape;
    }
}

void win_pointer_move(int x, int y, int kind)
{
    const WindowSlot* s = current_slot();
    HWND area = kind == 1 ? (s ? s->client : nullptr) : target_field();
    if (!area)
        return;
    POINT p{x, y};
    ClientToScreen(area, &p);
    SetCursorPos(p.x, p.y);
}

} // namespace korv

void WTextAttributeSet(int attribute)
{
    korv::text_font().attribute_flag = attribute != 0 ? 1 : 0;
    korv::win_text_attribute_set(attribute);
}

void WTextColourSet(int foreground, int background)
{
    auto& t = korv::window_tables();
    const int fg = korv::text_foreground_entry(foreground);
    const int bg = korv::text_background_entry(background);
    korv::win_text_colours_set(fg >= 0 ? fg : t.text_foreground, bg >= 0 ? bg : t.text_background);
}

void WTextFontSet()
{
    auto& f = korv::text_font();
    if (f.request_font == f.made_font && f.request_bold == f.made_bold && f.request_italic == f.made_italic &&
        f.request_width == f.made_width && f.request_height == f.made_height)
        return;
    int width = f.request_width, height = f.request_height;
    korv::win_text_font_set(f.request_font, f.request_bold, f.request_italic, width, height);
    f.made_font = f.request_font;
    f.made_bold = f.request_bold;
    f.made_italic = f.request_italic;
    f.made_width = f.request_width;
    f.made_height = f.request_height;
    f.width_pixels = width;
    f.height_pixels = height;
}
