// The bitmap viewer: a child window of class ZOQBITMAP that takes the place
// of a toolkit window's client area and shows one memory bitmap, scrolled
// by its scroll bars, keys, the wheel and dragging. Clicks and scrolls
// reach the program as events of source kind 2.
#include "graphics/bitmap_viewer.h"
#include "graphics/gdi_handles.h"

#include <windows.h>

#include <windowsx.h>

#include <algorithm>

#include "korvanthide/bitmaps.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/context.h"
#include "core/window_procs.h"
#include "graphics/bitmap_slots.h"

namespace korv {
namespace {

constexpr int viewer_id = 1001;
constexpr int unknown_size = -999;
constexpr int option_keys = 1, option_panning = 2;

struct BitmapViewerRecord : WindowContentRecord {
    HWND status_bar = nullptr;
    int mode = 2; // 1 modal, 2 modeless, 3 modeless with the other windows disabled
    int close_flag = 0;
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
    int fit_width = unknown_size, fit_height = unknown_size;
    int options = 0;
    int panning = 0;
    int last_x = 0, last_y = 0;
    int last_h = 0, last_v = 0;
    WNDPROC frame_proc = nullptr; // the frame's procedure before the viewer subclassed it
};

int& blocking_viewers()
{
    return toolkit_context().record<int>(ContextSlot::blocking_viewers);
}

BitmapViewerRecord* record_of(HWND window)
{
    return reinterpret_cast<BitmapViewerRecord*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

BitmapViewerRecord* viewer_record(HWND frame)
{
    WindowContentRecord* r = win_content_record(frame);
    return r != nullptr && r->kind == ContentKind::bitmap_viewer ? static_cast<BitmapViewerRecord*>(r) : nullptr;
}

SCROLLINFO scroll_info(UINT mask)
{
    SCROLLINFO s{};
    s.cbSize = sizeof s;
    s.fMask = mask;
    return s;
}

int position(HWND viewer, int bar)
{
    SCROLLINFO s = scroll_info(SIF_POS);
    GetScrollInfo(viewer, bar, &s);
    return s.nPos;
}

int page(HWND viewer, int bar)
{
    SCROLLINFO s = scroll_info(SIF_PAGE);
    GetScrollInfo(viewer, bar, &s);
    return static_cast<int>(s.nPage);
}

void post_scrolled(HWND viewer)
{
    win_event_post(event::viewer_scrolled, 0, 0, MAKELPARAM(position(viewer, SB_HORZ), position(viewer, SB_VERT)),
                   viewer);
}

// Sets a scroll position (the platform holds it to its range); redraws and
// posts event 15 when it moved.
void scroll_to(HWND viewer, int bar, int value)
{
    const int before = position(viewer, bar);
    SCROLLINFO s = scroll_info(SIF_POS);
    s.nPos = value;
    SetScrollInfo(viewer, bar, &s, TRUE);
    if (position(viewer, bar) != before) {
        InvalidateRect(viewer, nullptr, FALSE);
        UpdateWindow(viewer);
        post_scrolled(viewer);
    }
}

RECT client_rect(HWND w)
{
    RECT r{};
    GetClientRect(w, &r);
    return r;
}

// The outer frame size that shows the whole bitmap: the frame's present
// size less the viewer's, plus the bitmap and the scroll bars asked for.
SIZE fit_size(HWND frame, const BitmapViewerRecord& r, bool horizontal_bar, bool vertical_bar)
{
    RECT outer{}, viewer{};
    GetWindowRect(frame, &outer);
    GetWindowRect(r.subject, &viewer);
    LONG w = (outer.right - outer.left) - (viewer.right - viewer.left) + r.width;
    LONG h = (outer.bottom - outer.top) - (viewer.bottom - viewer.top) + r.height;
    if (vertical_bar)
        w += GetSystemMetrics(SM_CXVSCROLL);
    if (horizontal_bar)
        h += GetSystemMetrics(SM_CYHSCROLL);
    return {w, h};
}

void set_ranges(HWND viewer, const BitmapViewerRecord& r, int x_offset, int y_offset)
{
    const RECT c = client_rect(viewer);
    SCROLLINFO h = scroll_info(SIF_RANGE | SIF_PAGE);
    h.nMin = 0;
    h.nMax = std::max(r.width - 1, 0);
    h.nPage = static_cast<UINT>(std::min<long>(c.right, r.width));
    if (x_offset >= 0) {
        h.fMask |= SIF_POS;
        h.nPos = x_offset;
    }
    SetScrollInfo(viewer, SB_HORZ, &h, TRUE);
    SCROLLINFO v = scroll_info(SIF_RANGE | SIF_PAGE);
    v.nMax = std::max(r.height - 1, 0);
    v.nPage = static_cast<UINT>(std::min<long>(c.bottom, r.height));
    if (y_offset >= 0) {
        v.fMask |= SIF_POS;
        v.nPos = y_offset;
    }
    SetScrollInfo(viewer, SB_VERT, &v, TRUE);
}

// Puts the slot's bitmap into the record and sizes the frame and bars.
void bmp_viewer_fit_frame(HWND frame, BitmapViewerRecord& r, int slot, int x_offset, int y_offset)
{
    r.bitmap = bmp_slot_handle(slot);
    bmp_size(slot, r.width, r.height);
    r.fit_width = r.fit_height = unknown_size;
    r.panning = r.last_x = r.last_y = r.last_h = r.last_v = 0;
    RECT outer{};
    GetWindowRect(frame, &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const SIZE whole = fit_size(frame, r, false, false);
    if (w >= whole.cx && h >= whole.cy) {
        SetWindowPos(frame, nullptr, 0, 0, whole.cx, whole.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (w >= whole.cx) {
        const SIZE with_bar = fit_size(frame, r, false, true);
        if (w >= with_bar.cx)
            SetWindowPos(frame, nullptr, 0, 0, with_bar.cx, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (h >= whole.cy) {
        const SIZE with_bar = fit_size(frame, r, true, false);
        if (h >= with_bar.cy)
            SetWindowPos(frame, nullptr, 0, 0, w, with_bar.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    set_ranges(r.subject, r, x_offset, y_offset);
    const RECT c = client_rect(r.subject);
    SendMessageA(r.subject, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
}

void on_size(HWND viewer, BitmapViewerRecord& r)
{
    const int h = position(viewer, SB_HORZ), v = position(viewer, SB_VERT);
    RECT outer{};
    GetWindowRect(GetParent(viewer), &outer);
    const SIZE whole = fit_size(GetParent(viewer), r, false, false);
    const bool fits = outer.right - outer.left >= whole.cx && outer.bottom - outer.top >= whole.cy;
    const RECT c = client_rect(viewer);
    SCROLLINFO s = scroll_info(SIF_PAGE);
    s.nPage = static_cast<UINT>(fits ? r.width : c.right);
    SetScrollInfo(viewer, SB_HORZ, &s, TRUE);
    s.nPage = static_cast<UINT>(fits ? r.height : c.bottom);
    SetScrollInfo(viewer, SB_VERT, &s, TRUE);
    if (position(viewer, SB_HORZ) != h || position(viewer, SB_VERT) != v)
        post_scrolled(viewer);
}

void on_scroll(HWND viewer, int bar, int code)
{
    const int now = position(viewer, bar);
    const RECT c = client_rect(viewer);
    const int half = (bar == SB_HORZ ? c.right : c.bottom) / 2;
    const int step = std::max(half, 1);
    SCROLLINFO track = scroll_info(SIF_TRACKPOS);
    switch (code) {
    case SB_LINEUP: scroll_to(viewer, bar, now - 1); break;
    case SB_LINEDOWN: scroll_to(viewer, bar, now + 1); break;
    case SB_PAGEUP: scroll_to(viewer, bar, now - step); break;
    case SB_PAGEDOWN: scroll_to(viewer, bar, now + step); break;
    case SB_THUMBPOSITION:
        GetScrollInfo(viewer, bar, &track);
        scroll_to(viewer, bar, track.nTrackPos);
        break;
    default: break;
    }
}

// Keys that scroll; false for the others.
bool on_key(HWND viewer, const BitmapViewerRecord& r, WPARAM key)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_PRIOR: control ? scroll_to(viewer, SB_VERT, 0) : on_scroll(viewer, SB_VERT, SB_PAGEUP); return true;
    case VK_NEXT:
        control ? scroll_to(viewer, SB_VERT, r.height) : on_scroll(viewer, SB_VERT, SB_PAGEDOWN);
        return true;
    case VK_HOME: control ? scroll_to(viewer, SB_HORZ, 0) : on_scroll(viewer, SB_HORZ, SB_PAGEUP); return true;
    case VK_END:
        control ? scroll_to(viewer, SB_HORZ, r.width) : on_scroll(viewer, SB_HORZ, SB_PAGEDOWN);
        return true;
    case VK_LEFT: on_scroll(viewer, SB_HORZ, SB_LINEUP); return true;
    case VK_RIGHT: on_scroll(viewer, SB_HORZ, SB_LINEDOWN); return true;
    case VK_UP: on_scroll(viewer, SB_VERT, SB_LINEUP); return true;
    case VK_DOWN: on_scroll(viewer, SB_VERT, SB_LINEDOWN); return true;
    default: return false;
    }
}

void on_paint(HWND viewer, const BitmapViewerRecord& r)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(viewer, &ps);
    {
        const SelectedPalette palette(dc, window_tables().display_palette);
        const OwnedDc source(CreateCompatibleDC(dc));
        const SelectedObject selected(source.get(), r.bitmap);
        const RECT c = client_rect(viewer);
        if (selected.previous() != nullptr)
            BitBlt(dc, 0, 0, c.right, c.bottom, source.get(), position(viewer, SB_HORZ), position(viewer, SB_VERT),
                   SRCCOPY);
    }
    EndPaint(viewer, &ps);
}

int button_of(UINT message)
{
    switch (message) {
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return 2;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return 3;
    default: return 1;
    }
}

// Realises the toolkit palette (256-colour displays only) in the viewer and
// repaints it when that remapped colours; false when there is no palette.
bool realise_palette(HWND viewer)
{
    HPALETTE palette = window_tables().display_palette;
    if (palette == nullptr || viewer == nullptr)
        return false;
    UINT changed = 0;
    {
        const WindowDc dc(viewer);
        HPALETTE previous = SelectPalette(dc.get(), palette, FALSE);
        changed = RealizePalette(dc.get());
        if (previous != nullptr)
            SelectPalette(dc.get(), previous, FALSE);
    }
    if (changed != 0 && changed != GDI_ERROR)
        InvalidateRect(viewer, nullptr, FALSE);
    return true;
}

// The cursor a pan gives back: the window's own, else the toolkit's
// default, else the arrow of the viewer's class.
HCURSOR window_cursor(HWND viewer)
{
    const WindowSlot* slot = win_slot(win_number_from_handle(viewer));
    HCURSOR cursor = slot != nullptr && slot->cursor != nullptr ? slot->cursor : window_proc_state().default_cursor;
    return cursor != nullptr ? cursor : LoadCursor(nullptr, IDC_ARROW);
}

bool panning_on(const BitmapViewerRecord& r) { return r.mode == 1 || (r.options & option_panning) != 0; }
bool keys_on(const BitmapViewerRecord& r) { return r.mode == 1 || (r.options & option_keys) != 0; }

LRESULT CALLBACK bmp_viewer_wnd_proc(HWND viewer, UINT message, WPARAM w, LPARAM l)
{
    BitmapViewerRecord* r = record_of(viewer);
    if (r == nullptr)
        return DefWindowProcA(viewer, message, w, l);
    switch (message) {
    case WM_PAINT:
        on_paint(viewer, *r);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
        // A viewer that takes the focus itself never passes through its
        // frame's focus message, so its pane is made active here.
        win_pane_make_active(GetParent(viewer));
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(w) != viewer)
            realise_palette(viewer);
        return 0;
    case WM_SIZE:
        on_size(viewer, *r);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        on_scroll(viewer, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(w));
        return 0;
    case WM_KEYDOWN:
        if (keys_on(*r) && on_key(viewer, *r, w))
            return 0;
        if (r->mode == 1)
            return 0;
        return win_client_proc(viewer, message, w, l);
    case WM_MOUSEWHEEL: {
        const int half = std::max<int>(client_rect(viewer).bottom / 2, 1);
        const int delta = std::clamp(-GET_WHEEL_DELTA_WPARAM(w), -half, half);
        scroll_to(viewer, SB_VERT, std::max(position(viewer, SB_VERT) + delta, 0));
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (panning_on(*r)) {
            SetCapture(viewer);
            SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            r->panning = 1;
            r->last_x = GET_X_LPARAM(l);
            r->last_y = GET_Y_LPARAM(l);
            r->last_h = position(viewer, SB_HORZ);
            r->last_v = position(viewer, SB_VERT);
            return 0;
        }
        [[fallthrough]];
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus(viewer);
        win_event_post(event::mouse_down, button_of(message), w, l, viewer);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        win_event_post(win_event_enable_get(event::double_click) ? event::double_click : event::mouse_down,
                       button_of(message), w, l, viewer);
        return 0;
    case WM_MOUSEMOVE:
        if (r->panning) {
            scroll_to(viewer, SB_HORZ, std::max(r->last_h + (r->last_x - GET_X_LPARAM(l)), 0));
            scroll_to(viewer, SB_VERT, std::max(r->last_v + (r->last_y - GET_Y_LPARAM(l)), 0));
            return 0;
        }
        return win_client_proc(viewer, message, w, l);
    case WM_LBUTTONUP:
        if (r->panning) {
            r->panning = 0;
            ReleaseCapture();
            SetCursor(window_cursor(viewer));
            return 0;
        }
        return win_client_proc(viewer, message, w, l);
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        return win_client_proc(viewer, message, w, l);
    default:
        return DefWindowProcA(viewer, message, w, l);
    }
}

// Gives the other windows back after a blocking viewer.
void enable_others(HWND frame)
{
    dialog_enable_other_windows(frame, 1);
    HWND owner = GetWindow(frame, GW_OWNER);
    if (owner == nullptr)
        owner = window_tables().windows[0].frame;
    if (owner != nullptr) {
        SetActiveWindow(owner);
        SetFocus(owner);
    }
}

// Takes the viewer off its frame: the client comes back, the frame gets its
// own procedure again and the record is freed.
void detach(HWND frame, BitmapViewerRecord* r)
{
    if (r->mode == 3 && blocking_viewers() > 0) {
        --blocking_viewers();
        enable_others(frame);
    }
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r->frame_proc));
    win_content_record_set(frame, nullptr);
    if (r->subject) {
        SetWindowLongPtrA(r->subject, GWLP_USERDATA, 0);
        DestroyWindow(r->subject);
    }
    if (const WindowSlot* slot = win_slot(win_number_from_handle(frame)); slot != nullptr && slot->client)
        ShowWindow(slot->client, SW_SHOW);
    delete r;
}

// The top-level toolkit windows a modal viewer's frame owns close with it,
// through the window layer while they still exist, so that nothing of
// theirs stays in the tables.
void close_owned(HWND frame)
{
    for (int n = 1; n <= max_window; ++n) {
        HWND other = win_slot(n)->frame;
        if (other != nullptr && other != frame && (GetWindowLongPtrA(other, GWL_STYLE) & WS_CHILD) == 0
            && GetWindow(other, GW_OWNER) == frame)
            WindowCloseChild(n);
    }
}

// A modal viewer's window ends with its frame: owned windows still open
// are closed, its drawing context is let go and its table entries cleared.
void modal_frame_destroyed(HWND frame)
{
    WindowTables& t = window_tables();
    const int window = win_number_from_handle(frame);
    close_owned(frame);
    if (window < 1 || window > max_window)
        return;
    if (t.dc_window == window) {
        win_drawing_target_release();
    } else if (t.current == window && t.client_dc != nullptr) {
        ReleaseDC(win_slot(window)->client, t.client_dc);
        t.client_dc = nullptr;
    }
    win_slot_release(window);
    if (t.last_active == frame)
        t.last_active = t.windows[0].frame;
}

LRESULT CALLBACK bmp_viewer_frame_proc(HWND frame, UINT message, WPARAM w, LPARAM l)
{
    BitmapViewerRecord* r = viewer_record(frame);
    if (r == nullptr)
        return DefWindowProcA(frame, message, w, l);
    const WNDPROC previous = r->frame_proc;
    switch (message) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(l);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
        const SIZE whole = fit_size(frame, *r, false, false);
        const LONG most_w = work.right - work.left + edge, most_h = work.bottom - work.top + edge;
        const LONG w_fit = std::min<LONG>(whole.cx, most_w), h_fit = std::min<LONG>(whole.cy, most_h);
        info->ptMaxSize = {w_fit, h_fit};
        info->ptMaxTrackSize = {w_fit, h_fit};
        const bool fits = whole.cx <= most_w && whole.cy <= most_h;
        r->fit_width = fits ? whole.cx : unknown_size;
        r->fit_height = fits ? whole.cy : unknown_size;
        return 0;
    }
    case WM_SIZE: {
        const LRESULT result = CallWindowProcA(previous, frame, message, w, l);
        if (const WindowSlot* slot = win_slot(win_number_from_handle(frame)); slot != nullptr && slot->client) {
            RECT c{};
            GetWindowRect(slot->client, &c);
            MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&c), 2);
            MoveWindow(r->subject, c.left, c.top, c.right - c.left, c.bottom - c.top, TRUE);
        }
        return result;
    }
    case WM_QUERYNEWPALETTE:
        return realise_palette(r->subject) ? TRUE : FALSE;
    case WM_PALETTECHANGED:
        if (r->subject != nullptr)
            SendMessageA(r->subject, message, w, l);
        return 0;
    case WM_CLOSE:
        if (r->mode == 1) {
            r->close_flag = 1;
            close_owned(frame);
            DestroyWindow(frame);
        } else {
            win_event_post(event::close_request, 0, 0, 0, frame);
        }
        return 0;
    case WM_SETFOCUS:
        // The frame procedure remembers the frame (and its split windows
        // their focused pane); the viewer takes the keys.
        CallWindowProcA(previous, frame, message, w, l);
        if (IsWindow(r->subject))
            SetFocus(r->subject);
        return 0;
    case WM_MOUSEACTIVATE:
        // The click itself still reaches the viewer, which reports it.
        win_frame_click_activate(frame, r->subject);
        return MA_ACTIVATE;
    case WM_NCHITTEST: {
        // A maximised viewer frame cannot be resized by its borders.
        const LRESULT hit = CallWindowProcA(previous, frame, message, w, l);
        const bool sizing = (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || hit == HTGROWBOX;
        return IsZoomed(frame) && sizing ? HTBORDER : hit;
    }
    case WM_DESTROY: {
        const bool modal = r->mode == 1;
        if (!modal) {
            detach(frame, r);
        } else {
            // The modal loop frees the record once it sees the close flag.
            r->close_flag = 1;
            if (r->subject)
                SetWindowLongPtrA(r->subject, GWLP_USERDATA, 0);
            SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            const LRESULT result = CallWindowProcA(previous, frame, message, w, l);
            modal_frame_destroyed(frame);
            win_content_record_set(frame, nullptr);
            return result;
        }
        return CallWindowProcA(previous, frame, message, w, l);
    }
    default:
        return CallWindowProcA(previous, frame, message, w, l);
    }
}

ATOM viewer_class()
{
    ATOM& atom = toolkit_context().record<ATOM>(ContextSlot::viewer_class);
    if (atom == 0) {
        WNDCLASSA c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = bmp_viewer_wnd_proc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursor(nullptr, IDC_ARROW);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        c.lpszClassName = "ZOQBITMAP";
        atom = RegisterClassA(&c);
    }
    return atom;
}

// Whether the bitmap can be selected into a context of its own (it is not
// the drawing target's).
bool selectable(HBITMAP bitmap)
{
    const OwnedDc dc(CreateCompatibleDC(nullptr));
    const SelectedObject selected(dc.get(), bitmap);
    return selected.previous() != nullptr;
}

void modal_loop(HWND frame, BitmapViewerRecord* r)
{
    MSG msg;
    while (r->close_flag == 0) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the loop gives the quit message back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        // The system's caret blink is not handed on while the toolkit's caret
        // flag is set.
        if (msg.message == 0x118 && LOWORD(msg.wParam) == 0xFFF6 && event_state().caret_filter != 0)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(frame))
        detach(frame, r);
    else
        delete r;
    // The window is gone from the tables: drawing goes back to the root
    // window, as after closing a window.
    if (!win_is_open(graphics_state().current_window) || !win_is_open(window_tables().current))
        YYWINSEL(0, 1);
    HWND owner = dialog_table().semi_modeless_dialog;
    dialog_enable_other_windows(nullptr, 1);
    if (owner == nullptr)
        owner = window_tables().windows[0].frame;
    if (owner != nullptr) {
        SetActiveWindow(owner);
        SetFocus(owner);
    }
}

} // namespace

void bmp_viewer_show(int slot, int x_offset, int y_offset, int& mode, int options, int& status)
{
    WindowTables& t = window_tables();
    const int window = t.current;
    WindowSlot* ws = win_slot(window);
    if (window == 0 || ws == nullptr || ws->frame == nullptr) {
        status = 1;
        return;
    }
    int w = 0, h = 0;
    if (slot < 0 || slot > max_window)
        status = 2;
    else
        bmp_size(slot, w, h);
    if (slot < 0 || slot > max_window || w <= 0) {
        status = 2;
        return;
    }
    HWND frame = ws->frame;
    if (BitmapViewerRecord* shown = viewer_record(frame)) {
        bmp_viewer_fit_frame(frame, *shown, slot, x_offset, y_offset);
        InvalidateRect(shown->subject, nullptr, FALSE);
        status = 0;
        return;
    }
    if (!selectable(bmp_slot_handle(slot))) {
        status = 3;
        return;
    }
    if (win_content_record(frame) != nullptr) {
        status = 4;
        return;
    }
    if (ws->client && GetWindow(ws->client, GW_CHILD) != nullptr) {
        status = 9;
        return;
    }
    status = 0;
    if ((GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0 && (mode == 1 || mode == 3)) {
        mode = 2;
        status = 5;
    }
    viewer_class();
    auto* r = new BitmapViewerRecord;
    r->kind = ContentKind::bitmap_viewer;
    r->mode = mode;
    r->status_bar = ws->status_bar;
    r->options = options;
    if (mode == 1) {
        // A modal viewer has no menu and no toolbars.
        if (HMENU menu = GetMenu(frame)) {
            SetMenu(frame, nullptr);
            DestroyMenu(menu);
        }
        ws->menu = nullptr;
        ws->accelerators = nullptr;
        ws->menu_help = nullptr;
        for (std::size_t side = 0; side < 4; ++side) {
            if (ws->toolbars[side])
                DestroyWindow(ws->toolbars[side]);
            ws->toolbars[side] = nullptr;
            ws->toolbar_thickness[side] = 0;
        }
        if (!IsIconic(frame)) {
            const RECT c = client_rect(frame);
            SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
        }
    } else {
        r->toolbars = ws->toolbars;
    }
    RECT c{};
    GetWindowRect(ws->client, &c);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&c), 2);
    r->subject = CreateWindowExA(0, "ZOQBITMAP", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS,
                                 c.left, c.top, c.right - c.left, c.bottom - c.top, frame,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(viewer_id)), GetModuleHandleA(nullptr),
                                 nullptr);
    if (r->subject == nullptr) {
        delete r;
        status = 6;
        return;
    }
    SetWindowLongPtrA(r->subject, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
    win_content_record_set(frame, r);
    r->frame_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(bmp_viewer_frame_proc)));
    bmp_viewer_fit_frame(frame, *r, slot, std::max(x_offset, 0), std::max(y_offset, 0));
    const bool focused = GetFocus() == ws->client;
    ShowWindow(ws->client, SW_HIDE);
    if (focused)
        SetFocus(r->subject);
    UpdateWindow(r->subject);
    if (mode == 3)
        ++blocking_viewers();
    if (!IsWindowEnabled(frame)) {
        EnableWindow(frame, TRUE);
        SetFocus(r->subject);
    }
    ShowWindow(frame, SW_SHOW);
    if (mode == 1 || mode == 3)
        dialog_disable_other_windows(frame, 1);
    if (mode == 1)
        modal_loop(frame, r);
}

void bmp_viewer_scroll_position(int window, int code, int& value)
{
    value = 0;
    const WindowSlot* ws = win_slot(window);
    const BitmapViewerRecord* r = ws != nullptr && ws->frame ? viewer_record(ws->frame) : nullptr;
    if (r == nullptr || r->subject == nullptr)
        return;
    namespace q = bmp_viewer_scroll_code;
    switch (code) {
    case q::bitmap_slot:
        for (int slot = 0; slot < bitmap_slot_count; ++slot)
            if (bmp_slot_handle(slot) == r->bitmap && r->bitmap != nullptr)
                value = slot + 1;
        break;
    case q::across: value = position(r->subject, SB_HORZ); break;
    case q::down: value = position(r->subject, SB_VERT); break;
    case q::bitmap_width: value = r->width; break;
    case q::bitmap_height: value = r->height; break;
    case q::bottom_edge: {
        value = position(r->subject, SB_VERT) + page(r->subject, SB_VERT);
        SCROLLINFO s = scroll_info(SIF_RANGE);
        GetScrollInfo(r->subject, SB_HORZ, &s);
        if (s.nMax - s.nMin >= page(r->subject, SB_HORZ))
            value += GetSystemMetrics(SM_CYHSCROLL);
        break;
    }
    default: break;
    }
}

int bmp_viewer_find(int slot)
{
    HBITMAP bitmap = bmp_slot_handle(slot);
    if (bitmap == nullptr)
        return 0;
    for (int n = 1; n <= max_window; ++n) {
        const WindowSlot* ws = win_slot(n);
        const BitmapViewerRecord* r = ws != nullptr && ws->frame ? viewer_record(ws->frame) : nullptr;
        if (r != nullptr && r->bitmap == bitmap)
            return n;
    }
    return 0;
}

bool bmp_viewer_detach(HWND frame)
{
    BitmapViewerRecord* r = viewer_record(frame);
    if (r == nullptr || r->mode == 1)
        return false;
    detach(frame, r);
    return true;
}

} // namespace korv

void WBitmapView(int handle, int x_offset, int y_offset, int mode, int options)
{
    using namespace korv;
    constexpr const char* routine = "WBitmapView";
    if (mode < 1 || mode > 3) {
        err_report(err::viewer_mode, routine);
        return;
    }
    int status = 0;
    bmp_viewer_show(handle - 1, x_offset, y_offset, mode, options, status);
    static constexpr int reports[10] = {0, err::not_child_window, err::bitmap_handle, err::bitmap_in_use,
                                        err::window_converted, err::viewer_mode, err::viewer_init, 0, 0,
                                        err::viewer_init};
    if (status > 0 && status < 10 && reports[status] != 0)
        err_report(reports[status], routine);
}
