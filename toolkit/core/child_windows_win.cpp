// Child windows 1..50: opening inside a parent's client area or as popups,
// closing with everything inside them, and the choice of the window layer's
// current window.
#include "korvanthide/window_ops.h"

#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/menus.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/child_windows.h"
#include "core/services/content_kinds.h"
#include "core/win_module.h"
#include "graphics/gdi_primitives.h"

#include <windows.h>
#include <commctrl.h>

#include "korvanthide/dialogs_win.h"
#include "core/win_menus.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korv {

namespace {

constexpr char frame_class[] = "DARIVUROV";
constexpr char client_class[] = "ZUVEDAZAZI";
constexpr int centred = -999999;
constexpr DWORD client_style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

WindowSlot& slot(int n)
{
    return window_tables().windows[static_cast<std::size_t>(n)];
}

bool open_number(int n)
{
    return n >= 0 && n <= max_window && slot(n).frame != nullptr;
}

DWORD frame_bits(int flags)
{
    DWORD style = 0;
    if (flags & winflag::system_menu)
        style |= WS_SYSMENU;
    if (flags & winflag::minimise_box)
        style |= WS_MINIMIZEBOX;
    if (flags & winflag::maximise_box)
        style |= WS_MAXIMIZEBOX;
    if (flags & winflag::maximised)
        style |= WS_MAXIMIZE;
    if (!(flags & winflag::fixed_size))
        style |= WS_THICKFRAME;
    return style;
}

// Puts the saved pen and brush back into the drawing context of a window.
void restore_drawing_objects(HDC dc)
{
    auto& t = window_tables();
    if (!dc)
        return;
    if (t.replaced_pen)
        SelectObject(dc, t.replaced_pen);
    if (t.replaced_brush)
        SelectObject(dc, t.replaced_brush);
    if (gdi_state().font && gdi_state().replaced_font)
        SelectObject(dc, gdi_state().replaced_font);
    t.replaced_pen = nullptr;
    t.replaced_brush = nullptr;
    gdi_state().replaced_font = nullptr;
}

// Lets go of the client context of the current window; when it was the
// drawing context, no window context is held any more.
void release_client_context()
{
    auto& t = window_tables();
    if (!t.client_dc)
        return;
    const bool drawing = t.drawing_dc == t.client_dc;
    if (drawing)
        restore_drawing_objects(t.client_dc);
    HWND client = t.current >= 0 && t.current <= max_window ? slot(t.current).client : nullptr;
    ReleaseDC(client, t.client_dc);
    t.client_dc = nullptr;
    if (drawing) {
        t.drawing_dc = nullptr;
        t.dc_window = -1;
    }
}

// The window to activate when a new window closes again.
HWND reactivation_window()
{
    auto& t = window_tables();
    HWND active = t.active_dialog;
    if (active && IsWindow(active) && IsWindowVisible(active)) {
        const int host = win_number_from_handle(GetParent(active));
        return host >= 0 ? slot(host).frame : active;
    }
    return t.last_active;
}

// Every open window other than w whose frame lies inside w's frame or is
// owned (through any chain of owners) by it.
bool belongs_to(HWND frame, HWND w)
{
    if (IsChild(w, frame))
        return true;
    for (HWND owner = GetWindow(frame, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
        if (owner == w || IsChild(w, owner))
            return true;
    return false;
}

void clear_slot(int n)
{
    WindowSlot& s = slot(n);
    if (s.background_brush)
        DeleteObject(s.background_brush);
    const int flags = s.flags;
    s.frame = s.client = s.status_bar = nullptr;
    s.toolbars = {};
    s.cursor = nullptr;
    s.menu = nullptr;
    s.accelerators = nullptr;
    s.menu_help = nullptr;
    s.background_brush = nullptr;
    s.background_colour = -1;
    s.restore_rectangle = {no_rectangle, 0, 0, 0};
    s.flags = flags;
}

// A closing window gives its slot back the way every closing window does:
// its menu with the attached help strings, editor rows, pending redraws,
// tooltip table and sound device go with it.
void release_closed_slot(int n)
{
    WindowSlot& s = slot(n);
    if (s.menu) {
        win_menu_strings_free(s.menu, n);
        DestroyMenu(s.menu);
        s.menu = nullptr;
    }
    win_slot_release(n);
}

// Windows opened here take their menu's command-identifier table; the items
// keep the look the resource gives them (no greying pass).
HMENU window_menu_load(int menu)
{
    HMENU handle = LoadMenuA(module_instance(), MAKEINTRESOURCEA(menu));
    if (handle)
        win_menu_command_ids(handle, menu);
    return handle;
}

// Whether a dialog resource can live in a window, probed under a temporary
// owner of its own.
DialogProbe probe_dialog(int dialog)
{
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module_instance(), nullptr);
    const DialogProbe probe = win_dialog_probe(dialog, owner);
    if (owner)
        DestroyWindow(owner);
    return probe;
}

// A child window's place and size while it is built: the client size asked
// for, the frame's place and outer size, and the parent it lies inside.
struct ChildGeometry {
    int flags = 0;
    int x = 0;
    int y = 0;
    int width = 0;   // client
    int height = 0;
    int frame_width = 0;
    int frame_height = 0;
    bool centre_x = false;
    bool centre_y = false;
    bool inside = false;
    int parent = 0;
};

// 0 when a window may open inside the parent, else -5 no such parent, -2
// the parent is hidden, -3 it holds a dialog, -4 it is converted.
int parent_refusal(int parent)
{
    if (!open_number(parent))
        return -5;
    if (!IsWindowVisible(slot(parent).frame))
        return -2;
    if (const WindowContentRecord* r = win_content_record(slot(parent).frame))
        return content_kind_services(r->kind).holds_dialog ? -3 : -4;
    return 0;
}

// Whether the dialog can live in the new window: 1 with the client size it
// sets (a dialog without a resize anchor also fixes the frame's size), -5
// the dialog is loaded already, -3 the dialog table is full, else the
// probe's refusal; 0 without a dialog.
int child_dialog_probe(int dialog, ChildGeometry& g)
{
    if (dialog == 0)
        return 0;
    if (dialog_index_by_id(dialog) >= 1)
        return -5;
    if (dialog_table().loaded >= DialogTable::capacity)
        return -3;
    const DialogProbe probe = probe_dialog(dialog);
    if (probe.result == 1) {
        g.width = probe.width;
        g.height = probe.height;
        if (!probe.anchored)
            g.flags = (g.flags | winflag::fixed_size) & ~(winflag::maximise_box | winflag::maximised);
    }
    return probe.result;
}

// The frame of window n with its background and (outside a parent) its
// menu, placed by the client size inside the parent's client area or on
// the screen; nullptr, with the slot given back, when it cannot be made.
HWND child_frame_create(int n, ChildGeometry& g, int menu, int colour, std::string_view title)
{
    const int flags = g.flags;
    const HINSTANCE instance = module_instance();
    HMENU menu_handle = !g.inside && menu != 0 ? window_menu_load(menu) : nullptr;
    DWORD style = WS_CAPTION | frame_bits(flags);
    HWND owner = nullptr;
    if (g.inside) {
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        owner = slot(g.parent).client;
    } else {
        style |= WS_POPUP | WS_CLIPCHILDREN;
        if ((flags & winflag::popup) && open_number(g.parent))
            owner = slot(g.parent).frame;
    }
    DWORD ex_style = (flags & winflag::tool_window) ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    if (flags & winflag::on_top)
        ex_style |= WS_EX_TOPMOST;
    // A semi-modeless dialog keeps every other window disabled meanwhile.
    if (dialog_table().semi_modeless_count > 0)
        style |= WS_DISABLED;

    WindowSlot& s = slot(n);
    s.background_colour = colour;
    s.background_brush = colour != -1 ? CreateSolidBrush(static_cast<COLORREF>(colour) & 0xFFFFFF) : nullptr;

    RECT frame_rect{0, 0, g.width, g.height};
    AdjustWindowRectEx(&frame_rect, style & ~WS_MAXIMIZE, FALSE, ex_style);
    AdjustWindowRectEx(&frame_rect, client_style, menu_handle != nullptr, 0);
    g.frame_width = frame_rect.right - frame_rect.left;
    g.frame_height = frame_rect.bottom - frame_rect.top;
    int extent_x = GetSystemMetrics(SM_CXSCREEN), extent_y = GetSystemMetrics(SM_CYSCREEN);
    if (g.inside) {
        RECT pc{};
        GetClientRect(slot(g.parent).client, &pc);
        extent_x = pc.right;
        extent_y = pc.bottom;
    }
    g.centre_y = g.y == centred;
    g.centre_x = g.x == centred;
    if (g.centre_x)
        g.x = (extent_x - g.frame_width) / 2;
    if (g.centre_y)
        g.y = (extent_y - g.frame_height) / 2;
    s.reactivate = reactivation_window();

    const std::string caption(title);
    HWND frame = CreateWindowExA(ex_style, frame_class, caption.c_str(), style & ~WS_MAXIMIZE, g.x, g.y,
                                 g.frame_width, g.frame_height, owner,
                                 g.inside ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(n)) : menu_handle,
                                 instance, nullptr);
    if (!frame) {
        if (menu_handle)
            DestroyMenu(menu_handle);
        clear_slot(n);
        return nullptr;
    }
    s.frame = frame;
    s.menu = menu_handle;
    if (menu_handle) {
        s.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(menu));
        if (HRSRC help = FindResourceA(instance, MAKEINTRESOURCEA(menu), "ZOQMENUSTRING"))
            s.menu_help = LoadResource(instance, help);
    }
    s.restore_rectangle = {no_rectangle, 0, 0, 0};
    return frame;
}

// The status bar grows the frame, and a centred frame moves up by half of
// it; gives the bar's height (0 without one).
int child_status_bar_add(int n, HWND frame, ChildGeometry& g)
{
    WindowSlot& s = slot(n);
    s.status_styles.fill(0);
    s.status_widths.fill(0);
    s.status_widths[0] = -1;
    int status_height = 0;
    if (g.flags & winflag::status_bar) {
        DWORD bar_style = WS_CHILD | WS_VISIBLE;
        if (!(g.flags & winflag::fixed_size))
            bar_style |= SBARS_SIZEGRIP;
        s.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", bar_style, 0, 0, g.width, 10, frame,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(status_bar_id)),
                                       module_instance(), nullptr);
        if (s.status_bar) {
            int parts[1] = {-1};
            SendMessageA(s.status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
            RECT bar{};
            GetWindowRect(s.status_bar, &bar);
            status_height = bar.bottom - bar.top;
        }
    }
    if (status_height > 0) {
        g.frame_height += status_height;
        if (g.centre_y && !(g.flags & winflag::maximised))
            g.y -= status_height / 2;
        SetWindowPos(frame, nullptr, g.x, g.y, g.frame_width, g.frame_height,
                     SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
        SendMessageA(s.status_bar, WM_SIZE, 0, 0);
    }
    return status_height;
}

// Toolbars take their room from the frame, not from the client: the frame
// grows by what they took, and a centred frame moves back by half.
void child_toolbars_add(int n, HWND frame, const ChildGeometry& g, const std::array<int, 4>& toolbars)
{
    bool any_toolbar = false;
    for (int side = 0; side < 4; ++side) {
        int id = toolbars[static_cast<std::size_t>(side)];
        if (id == 0)
            continue;
        int w = -1, h = -1;
        win_toolbar_load(id, n, side, w, h);
        any_toolbar = any_toolbar || id > 0;
    }
    if (!any_toolbar)
        return;
    RECT now{};
    GetClientRect(slot(n).client, &now);
    const int grow_x = std::max(g.width - static_cast<int>(now.right), 0);
    const int grow_y = std::max(g.height - static_cast<int>(now.bottom), 0);
    RECT f{};
    GetWindowRect(frame, &f);
    if (g.inside)
        MapWindowPoints(nullptr, GetParent(frame), reinterpret_cast<POINT*>(&f), 2);
    const bool maximised = (g.flags & winflag::maximised) != 0;
    const int fx = f.left - (g.centre_x && !maximised ? grow_x / 2 : 0);
    const int fy = f.top - (g.centre_y && !maximised ? grow_y / 2 : 0);
    SetWindowPos(frame, nullptr, fx, fy, (f.right - f.left) + grow_x, (f.bottom - f.top) + grow_y,
                 SWP_NOACTIVATE | SWP_NOZORDER);
    win_bars_zorder(n);
}

// A window that is not hidden shows, on top, active, with the focus in its
// client.
void child_show(int n, HWND frame, int flags)
{
    if (flags & winflag::hidden)
        return;
    WindowSlot& s = slot(n);
    ShowWindow(frame, (flags & winflag::maximised) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    BringWindowToTop(frame);
    ValidateRect(s.client, nullptr);
    s.restore_rectangle = {no_rectangle, 0, 0, 0};
    SetFocus(s.client);
    win_activate(frame);
}

// The window-level opening: the slot number, or -1 no slot or no window,
// -2 parent hidden, -3 parent holds a dialog, -4 parent converted, -5 no
// such parent.
int open_child(int flags, int x, int y, int width, int height, int menu, const std::array<int, 4>& toolbars,
               int dialog, int& dialog_result, std::string_view title, int parent, int colour)
{
    const int n = win_free_slot();
    if (n < 0)
        return -1;
    ChildGeometry g{flags, x, y, width, height};
    g.inside = (flags & winflag::inside_parent) != 0;
    g.parent = parent;
    if (g.inside) {
        if (const int refusal = parent_refusal(parent); refusal != 0)
            return refusal;
    }
    dialog_result = child_dialog_probe(dialog, g);
    HWND frame = child_frame_create(n, g, menu, colour, title);
    if (!frame)
        return -1;
    const int status_height = child_status_bar_add(n, frame, g);

    WindowSlot& s = slot(n);
    RECT area{};
    GetClientRect(frame, &area);
    area.bottom -= status_height;
    s.client = CreateWindowExA(0, client_class, "", client_style, area.left, area.top, area.right - area.left,
                               area.bottom - area.top, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                               module_instance(), nullptr);
    if (!s.client) {
        DestroyWindow(frame);
        clear_slot(n);
        return -1;
    }
    child_toolbars_add(n, frame, g, toolbars);
    if (dialog_result == 1) {
        HWND embedded = dialog_embed(dialog, n, !(g.flags & winflag::hidden));
        if (!embedded) {
            dialog_result = -4;
        } else {
            win_dialog_record_attach(frame, embedded);
        }
    }
    child_show(n, frame, g.flags);
    return n;
}

// Takes down one window W and what hangs on it (steps in the order the
// window layer relies on).
void close_one(int w)
{
    auto& t = window_tables();
    WindowSlot& s = slot(w);
    HWND frame = s.frame;
    if (t.current == w)
        release_client_context();
    if (t.dc_window == w) {
        t.drawing_dc = nullptr;
        t.dc_window = -1;
    }
    win_content_release(frame);
    // Windows inside W or owned by it go down with W's frame; their table
    // entries are cleared here.
    for (int n = 1; n <= max_window; ++n) {
        if (n == w || !slot(n).frame || !belongs_to(slot(n).frame, frame))
            continue;
        if (t.current == n)
            release_client_context();
        win_content_release(slot(n).frame);
        release_closed_slot(n);
    }
    // Dialogs inside W or owned by it, the last loaded first.
    for (int d = dialog_table().loaded; d >= 1; --d) {
        HWND dialog = dialog_table().windows[static_cast<std::size_t>(d)];
        if (dialog && belongs_to(dialog, frame))
            dialog_embedded_close(dialog);
    }
    // Whoever would have gone back to W goes where W would have gone; so do
    // dialogs that W owned or would have activated.
    for (int d = 1; d <= dialog_table().loaded; ++d)
        if (DialogRecord* r = dialog_record_of(dialog_table().windows[static_cast<std::size_t>(d)])) {
            if (r->owner == frame || r->activation_owner == frame)
                r->owner = r->activation_owner = s.reactivate;
        }
    for (int n = 1; n <= max_window; ++n)
        if (slot(n).frame && slot(n).reactivate == frame)
            slot(n).reactivate = s.reactivate;
    if (s.menu)
        SetMenu(frame, nullptr);
    if (s.client)
        DestroyWindow(s.client);
    DestroyWindow(frame);
    if (t.last_active == frame)
        t.last_active = slot(0).frame;
    release_closed_slot(w);
}

} // namespace

void win_select(int& window, int& width, int& height)
{
    auto& t = window_tables();
    if (!open_number(window)) {
        window = -1;
        return;
    }
    release_client_context();
    t.current = window;
    WindowSlot& s = slot(window);
    t.client_dc = GetDC(s.client);
    const bool held = t.dc_window >= 0 || t.bitmap_context || t.metafile_context;
    if (!held && t.client_dc) {
        HDC dc = t.client_dc;
        t.drawing_dc = dc;
        t.dc_window = window;
        gdi_context_prepare(dc);
    }
    RECT r{};
    GetClientRect(s.client, &r);
    width = r.right;
    height = r.bottom;
}

int win_free_slot()
{
    for (int n = 1; n <= max_window; ++n)
        if (!slot(n).frame)
            return n;
    return -1;
}

void win_free_slot_count(int& count)
{
    count = 0;
    for (int n = 1; n <= max_window; ++n)
        count += slot(n).frame ? 0 : 1;
}

int win_is_open(int window)
{
    return open_number(window) ? 1 : 0;
}


namespace {

constexpr char split_h_class[] = "KORVSPLITH";
constexpr char split_v_class[] = "KORVSPLITV";

// The split record of the split window that holds window n as a pane.
SplitWindowRecord* split_holding(int n)
{
    if (!open_number(n))
        return nullptr;
    HWND frame = slot(n).frame;
    if (!(GetWindowLongA(frame, GWL_STYLE) & WS_CHILD))
        return nullptr;
    HWND client = GetParent(frame);
    return client ? win_split_record(GetParent(client)) : nullptr;
}

// One pane: a frame inside the split window's client area with its client
// window and, with pane flag 0x20, a status bar.
bool make_pane(int n, const SplitPane& p, HWND parent_client, const RECT& r, bool visible)
{
    const HINSTANCE instance = module_instance();
    WindowSlot& s = slot(n);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!(p.flags & 0x400))
        style |= WS_CAPTION;
    if (visible)
        style |= WS_VISIBLE;
    s.background_colour = p.colour;
    s.background_brush = p.colour != -1 ? CreateSolidBrush(static_cast<COLORREF>(p.colour) & 0xFFFFFF) : nullptr;
    const std::string title(text_trimmed(p.title));
    s.frame = CreateWindowExA(0, frame_class, title.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              parent_client, reinterpret_cast<HMENU>(static_cast<INT_PTR>(n)), instance, nullptr);
    if (!s.frame)
        return false;
    if (p.menu != 0) {
        s.menu = window_menu_load(p.menu);
        if (s.menu) {
            s.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(p.menu));
            if (HRSRC help = FindResourceA(instance, MAKEINTRESOURCEA(p.menu), "ZOQMENUSTRING"))
                s.menu_help = LoadResource(instance, help);
        }
    }
    s.restore_rectangle = {no_rectangle, 0, 0, 0};
    s.status_styles.fill(0);
    s.status_widths.fill(0);
    s.status_widths[0] = -1;
    RECT area{};
    GetClientRect(s.frame, &area);
    if (p.flags & winflag::status_bar) {
        s.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, area.right, 10, s.frame,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(status_bar_id)), instance, nullptr);
        if (s.status_bar) {
            RECT bar{};
            GetWindowRect(s.status_bar, &bar);
            area.bottom -= bar.bottom - bar.top;
        }
    }
    s.client = CreateWindowExA(0, client_class, "", client_style, 0, 0, area.right, std::max(area.bottom, 0L), s.frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, nullptr);
    s.flags = p.flags;
    return s.client != nullptr;
}

void undo_pane(int n)
{
    if (slot(n).frame)
        DestroyWindow(slot(n).frame);
    release_closed_slot(n);
}

} // namespace

void win_split(int& pane1, int& pane2, int split_flags, int size, const SplitPane& first, const SplitPane& second)
{
    auto& t = window_tables();
    pane1 = pane2 = -1;
    const int w = t.current;
    if (!open_number(w))
        return;
    HWND frame = slot(w).frame;
    HWND split_client = slot(w).client;
    if (const WindowContentRecord* r = win_content_record(frame)) {
        pane1 = pane2 = content_kind_services(r->kind).holds_dialog ? -3 : -4;
        return;
    }
    for (int n = 1; n <= max_window; ++n)
        if (n != w && slot(n).frame && IsChild(split_client, slot(n).frame)) {
            pane1 = pane2 = -6;
            return;
        }
    auto* record = new SplitWindowRecord;
    record->kind = ContentKind::split;
    record->window = w;
    record->drag_anchor = -999;
    win_content_record_set(frame, record);
    int a = -1, b = -1;
    for (int n = 1; n <= max_window && b < 0; ++n)
        if (!slot(n).frame)
            (a < 0 ? a : b) = n;
    if (a < 0 || b < 0) {
        win_content_record_set(frame, nullptr);
        delete record;
        return;
    }
    const bool horizontal = (split_flags & 1) != 0;
    const bool halves = size < 0;
    record->panes = {a, b};
    record->split_flags = split_flags | (halves ? 2 : 0);
    record->pane_flags = {first.flags, second.flags};
    RECT outer{};
    GetWindowRect(frame, &outer);
    record->outer_width = outer.right - outer.left;
    record->outer_height = outer.bottom - outer.top;

    const int bar = GetSystemMetrics(SM_CXSIZEFRAME);
    RECT c{};
    GetClientRect(split_client, &c);
    const int extent = horizontal ? c.bottom : c.right;
    // The pane whose size is given lies at its own edge; the bar follows it
    // and the other pane takes the rest.
    int first_extent;
    if (halves)
        first_extent = (extent - bar) / 2;
    else if (split_flags & 4)
        first_extent = std::max(extent - bar - size, 0);
    else
        first_extent = std::min(size, std::max(extent - bar, 0));
    const int second_start = first_extent + bar;
    const RECT r1 = horizontal ? RECT{0, 0, c.right, first_extent} : RECT{0, 0, first_extent, c.bottom};
    const RECT r2 = horizontal ? RECT{0, second_start, c.right, c.bottom} : RECT{second_start, 0, c.right, c.bottom};
    const RECT rb = horizontal ? RECT{0, first_extent, c.right, second_start} : RECT{first_extent, 0, second_start, c.bottom};
    // The panes later share resizes in the ratio of these sizes: neither is
    // recorded as 0, so the ratio is always defined.
    record->pane_sizes = halves ? std::array<int, 2>{1, 1}
                                : std::array<int, 2>{std::max(first_extent, 1), std::max(extent - second_start, 1)};

    const bool made = make_pane(a, first, split_client, r1, !halves) && make_pane(b, second, split_client, r2, !halves);
    HWND splitter = made ? CreateWindowExA(WS_EX_TOPMOST, horizontal ? split_h_class : split_v_class, "",
                                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rb.left, rb.top,
                                           rb.right - rb.left, rb.bottom - rb.top, split_client, nullptr,
                                           module_instance(), nullptr)
                         : nullptr;
    if (!splitter) {
        undo_pane(a);
        undo_pane(b);
        win_content_record_set(frame, nullptr);
        delete record;
        return;
    }
    SetWindowLongPtrA(splitter, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    BringWindowToTop(splitter);
    record->subject = splitter;
    record->focused_pane = slot(a).frame;
    // The first pane's menu shows on the top-level window above the split.
    if (slot(a).menu)
        SetMenu(GetAncestor(frame, GA_ROOT), slot(a).menu);
    if (halves) {
        ShowWindow(slot(a).frame, SW_SHOW);
        ShowWindow(slot(b).frame, SW_SHOW);
    }
    for (int n : {a, b}) {
        InvalidateRect(slot(n).client, nullptr, TRUE);
        UpdateWindow(slot(n).client);
    }
    if (GetFocus() == split_client) {
        SetFocus(slot(a).client);
        win_activate(slot(a).frame);
    }
    pane1 = a;
    pane2 = b;
}

int win_split_parent()
{
    const SplitWindowRecord* r = split_holding(window_tables().current);
    return r ? r->window : -1;
}

} // namespace korv

void WindowOpenChild(int& window, int flags, int x, int y, int width, int height, int menu,
                     const std::array<int, 4>& toolbars, int dialog, std::string_view title, int parent, int colour)
{
    using namespace korv;
    auto& g = graphics_state();
    const int previous = window_tables().current;
    const int saved_width = g.drawable_width, saved_height = g.drawable_height;
    const bool inside = (flags & winflag::inside_parent) != 0;
    if (inside) {
        // The parent's number is checked before it is made current: a bad one
        // must not disturb the window the program draws in.
        if (open_number(parent)) {
            YYWINSEL(parent, 1);
            RECT pc{};
            GetClientRect(slot(parent).client, &pc);
            if (x != centred)
                x = child_units_to_position(x, pc.right);
            if (y != centred)
                y = child_units_to_position(y, pc.bottom);
            width = child_units_to_size(width < 1 ? 8000 : width, pc.right);
            height = child_units_to_size(height < 1 ? 8000 : height, pc.bottom);
        }
    } else {
        if (width < 1)
            width = GetSystemMetrics(SM_CXSCREEN) * 8 / 10;
        if (height < 1)
            height = GetSystemMetrics(SM_CYSCREEN) * 8 / 10;
    }
    int dialog_result = 0;
    const int result =
        open_child(flags, x, y, width, height, menu, toolbars, dialog, dialog_result, text_trimmed(title), parent, colour);
    if (result > 0) {
        YYWINSEL(result, 1);
        slot(result).flags = flags;
        window = result;
        // A dialog that could not be embedded leaves the window open without it.
        constexpr int dialog_errors[6] = {0,
                                          err::dialog_missing,
                                          err::dialog_style,
                                          err::too_many_dialogs,
                                          err::dialog_create,
                                          err::dialog_loaded};
        if (dialog_result <= -1 && dialog_result >= -5)
            err_report(dialog_errors[-dialog_result], "WindowOpenChild");
        return;
    }
    window = -1;
    if (inside && open_number(previous) && window_tables().current != previous)
        YYWINSEL(previous, 1);
    g.drawable_width = saved_width;
    g.drawable_height = saved_height;
    constexpr int numbers[6] = {0, 0, err::parent_hidden, err::parent_combined, err::parent_converted,
                                err::window_handle};
    if (result <= -2 && result >= -5)
        err_report(numbers[-result], "WindowOpenChild");
}

void WindowCloseChild(int window)
{
    using namespace korv;
    if (window < 1 || window > max_window || !slot(window).frame) {
        err_report(err::window_handle, "WindowCloseChild");
        return;
    }
    win_child_close(window);
}

void korv::win_child_close(int window)
{
    if (SplitWindowRecord* split = split_holding(window)) {
        // A pane takes its split window back to a plain window: both panes
        // close, the bar goes and the split window shows its own menu again.
        const int w = split->window;
        const auto panes = split->panes;
        win_content_release(slot(w).frame);
        if (slot(w).menu)
            SetMenu(GetAncestor(slot(w).frame, GA_ROOT), slot(w).menu);
        for (int pane : panes)
            if (open_number(pane)) {
                close_one(pane);
                slot(pane).flags = -1;
            }
    } else {
        close_one(window);
        slot(window).flags = -1;
    }
    const int current = graphics_state().current_window;
    if (!open_number(current) || !open_number(window_tables().current))
        YYWINSEL(0, 1);
}
