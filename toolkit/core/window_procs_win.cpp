// The frame, client and splitter procedures of the toolkit's windows: what
// Windows tells them becomes toolkit events, and the frame keeps its bars
// and client window laid out.
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include <optional>
#include <string>

#include "korvanthide/menus.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/services/content_kinds.h"
#include "core/services/editor.h"
#include "core/win_module.h"
#include "core/window_procs.h"
#include "core/win_menus.h"
#include "core/window_layer.h"

namespace korv {

namespace {

HWND frame_of_number(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr ? slot->frame : nullptr;
}

// The split window one of whose panes is the frame `pane`, with that split
// window's frame in `holder`; nullptr when no split window holds it.
SplitWindowRecord* split_holding(HWND pane, HWND& holder)
{
    for (const WindowSlot& s : window_tables().windows) {
        SplitWindowRecord* split = win_split_record(s.frame);
        if (split != nullptr
            && (frame_of_number(split->panes[0]) == pane || frame_of_number(split->panes[1]) == pane)) {
            holder = s.frame;
            return split;
        }
    }
    return nullptr;
}

bool is_inside_parent(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr && slot->flags > 0 && (slot->flags & winflag::inside_parent) != 0;
}

// The frame of a split window's focused pane, following nested splits.
HWND focused_pane_chain(HWND frame)
{
    HWND target = frame;
    for (int depth = 0; depth <= max_window; ++depth) {
        const SplitWindowRecord* split = win_split_record(target);
        if (split == nullptr || split->focused_pane == nullptr) break;
        target = split->focused_pane;
    }
    return target;
}

void raise_and_activate(HWND frame)
{
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    win_activate(frame);
}

// Event 12 and the raise of a press in the non-client area of a frame or client.
void nonclient_press(HWND frame, UINT message, WPARAM hit, LPARAM l)
{
    int button = 1;
    if (message == WM_NCMBUTTONDOWN) button = 2;
    if (message == WM_NCRBUTTONDOWN) button = 3;
    if (message == WM_NCLBUTTONDOWN) window_proc_state().pressed_frame = frame;
    if (hit != HTMINBUTTON) {
        win_event_post(event::nonclient_click, button, hit, l, frame);
    }
    if (!(frame == window_tables().windows[0].frame && window_tables().root_hidden)) {
        raise_and_activate(frame);
    }
    if (win_split_record(frame) != nullptr) {
        HWND pane = focused_pane_chain(frame);
        if (pane != frame) win_activate(pane);
    }
}

void status_simple(HWND bar, bool simple, const char* text = "")
{
    if (bar == nullptr) return;
    SendMessageA(bar, SB_SIMPLE, simple ? TRUE : FALSE, 0);
    if (simple) {
        SendMessageA(bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
    }
}

// The window whose menu is `menu`, or -1. An editor's own menu bar counts
// first: a split window above an editor pane shows the same bar.
int menu_owner(HMENU menu)
{
    if (menu == nullptr) return -1;
    const EditorServices& editor = editor_services();
    for (int n = 0; n <= max_window; ++n) {
        if (editor.menu_bar(frame_of_number(n)) == menu) return n;
    }
    for (int n = 0; n <= max_window; ++n) {
        if (window_tables().windows[static_cast<std::size_t>(n)].menu == menu) return n;
    }
    return -1;
}

// Whether the window holds a record that shows its own menu help.
bool own_menu_help(int n)
{
    return content_services_of(frame_of_number(n)).own_menu_help;
}

// Help strings of any kind for the window's menu: its ZOQMENUSTRING
// resource, strings attached to its items, or the floating popup's.
bool has_help_strings(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr
           && (slot->menu_help != nullptr || win_menu_attached_count(n) > 0 || win_popup_help_present());
}

// Whether menu help is shown for the menu's owner (-1: a window without
// menu): it has help strings or no menu at all, or it holds a record (an
// editor or grid editor) that shows its own.
bool shows_menu_help(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot == nullptr || slot->menu == nullptr || has_help_strings(n) || own_menu_help(n);
}

const char* system_menu_help(UINT item)
{
    switch (item & 0xFFF0) {
    case SC_CLOSE: return "Closes the window";
    case SC_RESTORE: return "Restores the window to its normal size";
    case SC_MAXIMIZE: return "Enlarges the window to full size";
    case SC_SIZE: return "Changes the window size";
    case SC_MOVE: return "Changes the window position";
    case SC_MINIMIZE: return "Reduces the window to an icon";
    default: return "";
    }
}

// The owner of the menu of a menu loop on `window`.
int menu_loop_owner(HWND window, int n)
{
    return window_proc_state().popup_menu_loop ? win_menu_owner(n) : menu_owner(GetMenu(window));
}

// The command of a selected item; an item that opens a submenu carries the
// identifier stored with it.
int selected_command(WPARAM w, LPARAM l)
{
    if ((HIWORD(w) & MF_POPUP) == 0) return LOWORD(w);
    MENUITEMINFOA info{};
    info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
    info.fMask = MIIM_ID;
    return GetMenuItemInfoA(reinterpret_cast<HMENU>(l), LOWORD(w), TRUE, &info) ? static_cast<int>(info.wID)
                                                                                 : 0;
}

// Lets an editor or grid editor that owns the menu show its own help for
// the item, in the status bar lent to it for the call.
void menu_help_hand_off(int owner, HWND bar, WPARAM w, LPARAM l)
{
    HWND frame = frame_of_number(owner);
    WindowProcState& state = window_proc_state();
    state.menu_help_guard = true;
    const ContentKindServices& services = content_services_of(frame);
    if (services.menu_help) {
        services.menu_help(frame, bar, w, l);
    } else {
        SendMessageA(frame, WM_MENUSELECT, w, l);
    }
    state.menu_help_guard = false;
}

// Menu help for the selected item in the simple part of the status bar:
// the fixed texts of the system menu, else the owner's help strings, else
// the help of the editor that owns the menu.
void menu_help_show(HWND window, int n, WPARAM w, LPARAM l)
{
    HWND bar = win_statusbar_of(n);
    const int owner = menu_loop_owner(window, n);
    if (bar == nullptr || !shows_menu_help(owner)) return;
    const UINT flags = HIWORD(w);
    std::string text;
    if (flags == 0xFFFF) {
        // The menu closed.
    } else if ((flags & MF_SYSMENU) != 0) {
        text = system_menu_help(LOWORD(w));
    } else {
        std::optional<std::string> found;
        const int command = selected_command(w, l);
        if (command != 0 && has_help_strings(owner)) found = win_menu_help_text(owner, command);
        if (!found && own_menu_help(owner) && !window_proc_state().menu_help_guard
            && frame_of_number(owner) != window) {
            menu_help_hand_off(owner, bar, w, l);
            return;
        }
        text = found.value_or("");
    }
    SendMessageA(bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

void layout_frame(HWND frame, int n)
{
    WindowSlot* slot = win_slot(n);
    if (slot == nullptr) return;
    RECT area{};
    GetClientRect(frame, &area);
    if (slot->status_bar != nullptr) {
        SendMessageA(slot->status_bar, WM_SIZE, 0, 0);
        InvalidateRect(slot->status_bar, nullptr, TRUE);
        RECT bar{};
        GetWindowRect(slot->status_bar, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    if (HWND top = slot->toolbars[0]) {
        SendMessageA(top, TB_AUTOSIZE, 0, 0);
        RECT bar{};
        GetWindowRect(top, &bar);
        area.top += bar.bottom - bar.top;
    }
    if (HWND bottom = slot->toolbars[3]) {
        const int h = slot->toolbar_thickness[3];
        MoveWindow(bottom, 0, area.bottom - h, area.right, h, TRUE);
        area.bottom -= h;
    }
    if (HWND left = slot->toolbars[1]) {
        const int w = slot->toolbar_thickness[1];
        MoveWindow(left, 0, area.top, w, area.bottom - area.top, TRUE);
        area.left += w;
    }
    if (HWND right = slot->toolbars[2]) {
        const int w = slot->toolbar_thickness[2];
        MoveWindow(right, area.right - w, area.top, w, area.bottom - area.top, TRUE);
        area.right -= w;
    }
    if (slot->client != nullptr) {
        MoveWindow(slot->client, area.left, area.top, std::max(0L, area.right - area.left),
                   std::max(0L, area.bottom - area.top), TRUE);
    }
}

// Lays out the panes and the bar of a split window's client.
void layout_split(HWND client, SplitWindowRecord& split)
{
    HWND first = frame_of_number(split.panes[0]);
    HWND second = frame_of_number(split.panes[1]);
    if (first == nullptr || second == nullptr || split.subject == nullptr) return;
    RECT area{};
    GetClientRect(client, &area);
    const bool stacked = (split.split_flags & 1) != 0;  // horizontal bar
    RECT bar{};
    GetWindowRect(split.subject, &bar);
    const int bar_size = stacked ? bar.bottom - bar.top : bar.right - bar.left;
    const int extent = stacked ? area.bottom : area.right;
    const int across = stacked ? area.right : area.bottom;

    auto outer_along = [&](HWND pane) {
        RECT r{};
        RECT c{};
        GetWindowRect(pane, &r);
        GetClientRect(pane, &c);
        return stacked ? (r.bottom - r.top) - c.bottom : (r.right - r.left) - c.right;
    };
    const int frames = outer_along(first) + outer_along(second);
    const int space = std::max(0, extent - frames - bar_size);
    int size1 = 0;
    int size2 = 0;
    const int axis = stacked ? 1 : 0;
    if (split.split_flags & 2) {
        const int total = split.pane_sizes[0] + split.pane_sizes[1];
        size1 = total > 0 ? static_cast<int>(static_cast<long long>(space) * split.pane_sizes[0] / total) : space / 2;
        size2 = space - size1;
    } else if ((split.split_flags & 4) || win_split_pane_test(split, 1, axis)) {
        size2 = std::min(space, split.pane_sizes[1]);
        size1 = space - size2;
    } else {
        size1 = std::min(space, split.pane_sizes[0]);
        size2 = space - size1;
    }
    const int outer1 = size1 + outer_along(first);
    const int outer2 = size2 + outer_along(second);
    if (stacked) {
        SetWindowPos(first, nullptr, 0, 0, across, outer1, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        MoveWindow(split.subject, 0, outer1, across, bar_size, TRUE);
        MoveWindow(second, 0, outer1 + bar_size, across, outer2, TRUE);
    } else {
        SetWindowPos(first, nullptr, 0, 0, outer1, across, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        MoveWindow(split.subject, outer1, 0, bar_size, across, TRUE);
        MoveWindow(second, outer1 + bar_size, 0, outer2, across, TRUE);
    }
    ValidateRect(client, nullptr);
}

// After a paint or size message: keep the event in the window's pending
// record when no wait will take it from the store.
void pending_redraw_note(HWND client, int n, int type)
{
    if (n < 0) return;
    const EventState& events = event_state();
    const PostedEvent& store = events.store;
    if (store.waiting != 0 || events.dispatching != 0 || store.type != type || store.window != n) {
        return;
    }
    if (type == event::resize && !IsWindowVisible(client)) return;
    if (content_services_of(frame_of_number(n)).covers_client) return;
    PendingRedrawRecord& pending = event_state().pending[static_cast<std::size_t>(n)];
    if (type == event::expose && pending.type == event::resize) return;
    pending = {type, store.first, store.second, store.source, store.field,
               store.x, store.y, n, store.time};
}

// Whether a split window as a whole is fixed in direction 0 (width) or 1
// (height): along its split axis when both panes are fixed and they do not
// share the space by ratio, across it when either pane is fixed.
bool split_fixed(const SplitWindowRecord& split, int direction)
{
    const bool first = win_split_pane_test(split, 0, direction);
    const bool second = win_split_pane_test(split, 1, direction);
    const int axis = (split.split_flags & 1) != 0 ? 1 : 0;
    if (direction == axis) {
        return (split.split_flags & 2) == 0 && first && second;
    }
    return first || second;
}

// Fills the text a toolbar button's tooltip asks for: the toolbar loader's
// text for the command, else the program's string resource of that number.
// Only the toolbars of sides 0..2 are searched: a bottom toolbar's tooltip
// gets no text here. False when the tooltip belongs to no toolbar of a
// toolkit window.
bool toolbar_tooltip(NMTTDISPINFOA& info)
{
    const int command = static_cast<int>(info.hdr.idFrom);
    for (int n = 0; n <= max_window; ++n) {
        const WindowSlot& s = window_tables().windows[static_cast<std::size_t>(n)];
        for (int side = 0; side < 3; ++side) {
            HWND bar = s.toolbars[static_cast<std::size_t>(side)];
            if (bar == nullptr
                || reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0)) != info.hdr.hwndFrom) {
                continue;
            }
            if (const char* stored = win_toolbar_tooltip_find(n, command)) {
                info.lpszText = const_cast<char*>(stored);
                return true;
            }
            // The tooltip reads the text after this message returns.
            static char text[81];
            if (LoadStringA(module_instance(), static_cast<UINT>(command), text, sizeof text) > 0) {
                info.lpszText = text;
            }
            return true;
        }
    }
    return false;
}

// The frame at the end of a split window's chain of focused panes when the
// message belongs to a window along that chain, else nullptr: keys of the
// split window then work the commands of an editor there, while keys of
// its other panes stay theirs.
HWND focused_chain_end(int message_window, int table_window)
{
    HWND from = frame_of_number(message_window);
    HWND at = frame_of_number(table_window);
    bool on_chain = false;
    for (int depth = 0; at != nullptr && depth <= max_window; ++depth) {
        on_chain = on_chain || at == from;
        const SplitWindowRecord* split = win_split_record(at);
        if (split == nullptr) break;
        at = split->focused_pane;
    }
    return on_chain ? at : nullptr;
}

void realise_palette(HWND client)
{
    HPALETTE palette = window_tables().display_palette;
    if (palette == nullptr) return;
    HDC dc = GetDC(client);
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    SelectPalette(dc, old, FALSE);
    ReleaseDC(client, dc);
}

} // namespace

void win_pane_make_active(HWND frame)
{
    HWND pane = frame;
    const WindowSlot* own = win_slot(win_number_from_handle(frame));
    HMENU pane_menu = own != nullptr ? own->menu : nullptr;
    for (int depth = 0; depth <= max_window; ++depth) {
        HWND holder = nullptr;
        SplitWindowRecord* split = split_holding(pane, holder);
        if (split == nullptr) break;
        split->focused_pane = pane;
        if (pane_menu == nullptr) {
            const WindowSlot* above = win_slot(split->window);
            pane_menu = above != nullptr ? above->menu : nullptr;
        }
        pane = holder;
    }
    if (pane != frame && pane_menu != nullptr && GetMenu(pane) != pane_menu) {
        SetMenu(pane, pane_menu);
    }
}

WindowProcState& window_proc_state()
{
    return toolkit_context().record<WindowProcState>(ContextSlot::window_procs);
}

HWND win_pressed_frame() { return window_proc_state().pressed_frame; }

bool win_split_pane_test(const SplitWindowRecord& record, int pane, int direction)
{
    if (pane < 0 || pane > 1) return false;
    const bool stacked = (record.split_flags & 1) != 0;
    const int axis = stacked ? 1 : 0;
    if (direction == axis && (record.pane_flags[static_cast<std::size_t>(pane)] & winflag::fixed_size)) {
        return true;
    }
    const SplitWindowRecord* inner =
        win_split_record(frame_of_number(record.panes[static_cast<std::size_t>(pane)]));
    return inner != nullptr && split_fixed(*inner, direction);
}

void win_restore_rectangle_keep(HWND frame, WindowSlot& slot, WPARAM size_kind)
{
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (size_kind == SIZE_MAXIMIZED && slot.restore_rectangle[0] == no_rectangle) {
        GetWindowPlacement(frame, &place);
        const RECT& r = place.rcNormalPosition;
        slot.restore_rectangle = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                                  static_cast<int>(r.bottom)};
    } else if (size_kind == SIZE_RESTORED && slot.restore_rectangle[0] != no_rectangle) {
        GetWindowPlacement(frame, &place);
        const auto& r = slot.restore_rectangle;
        place.rcNormalPosition = {r[0], r[1], r[2], r[3]};
        place.showCmd = SW_SHOWNORMAL;
        slot.restore_rectangle[0] = no_rectangle;
        SetWindowPlacement(frame, &place);
    }
}

int win_panes_query_close(HWND frame)
{
    const SplitWindowRecord* split = win_split_record(frame);
    if (split == nullptr) return 1;
    for (int pane : split->panes) {
        HWND pane_frame = frame_of_number(pane);
        const ContentKindServices& services = content_services_of(pane_frame);
        if (services.may_close && services.may_close(pane_frame) == 0) return 0;
    }
    return 1;
}

int win_accelerator_translate(int message_window, int table_window, MSG& message)
{
    const WindowSlot* target = win_slot(message_window);
    const WindowSlot* table = win_slot(table_window);
    if (target == nullptr || table == nullptr) return 0;
    if (HWND pane = focused_chain_end(message_window, table_window);
        pane != nullptr && editor_services().keys_translate(pane, message)) {
        return 1;
    }
    if (table->accelerators == nullptr) return 0;
    return TranslateAcceleratorA(target->frame, table->accelerators, &message);
}

namespace {

// A menu item or an accelerator chose a command (not a control's notification).
bool is_command_choice(WPARAM w) { return HIWORD(w) == 0 || HIWORD(w) == 1; }

// ---- the frame procedure's handlers ----

// The frame a message is for, with its window number and slot (null for a
// frame that is no toolkit window yet or any more).
struct FrameOf {
    HWND window = nullptr;
    int n = -1;
    WindowSlot* slot = nullptr;
};

// The focused pane of a split window when it works commands itself (an
// editor or grid editor), else nullptr.
HWND commanding_pane(HWND window)
{
    HWND pane = focused_pane_chain(window);
    return pane != window && content_services_of(pane).takes_commands ? pane : nullptr;
}

// A command goes to the focused pane that works commands, else it is posted
// (for the pane a menu of the split window chose); a toolbar button that
// chose it is redrawn at once.
LRESULT frame_on_command(const FrameOf& f, WPARAM w, LPARAM l)
{
    HWND target = f.window;
    if (l == 0) target = focused_pane_chain(f.window);
    if (target != f.window && content_services_of(target).takes_commands) {
        SendMessageA(target, WM_COMMAND, w, l);
    } else {
        win_event_post(event::command, 0, w, l, target);
    }
    if (f.slot != nullptr && l != 0) {
        for (HWND bar : f.slot->toolbars) {
            if (bar != nullptr && bar == reinterpret_cast<HWND>(l)) {
                RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
        }
    }
    return 0;
}

LRESULT frame_on_timer(const FrameOf& f, WPARAM w, LPARAM l)
{
    KillTimer(f.window, w);
    win_event_post(event::timer, 0, w, l, f.window);
    return 0;
}

void frame_on_enter_menu_loop(const FrameOf& f, WPARAM w)
{
    window_proc_state().popup_menu_loop = w != 0;
    if (HWND bar = win_statusbar_of(f.n); bar != nullptr && shows_menu_help(menu_loop_owner(f.window, f.n))) {
        status_simple(bar, true);
    }
}

void frame_on_exit_menu_loop(const FrameOf& f)
{
    window_proc_state().pressed_frame = nullptr;
    status_simple(win_statusbar_of(f.n), false);
}

LRESULT frame_on_palette_changed(const FrameOf& f, WPARAM w, LPARAM l)
{
    if (f.slot != nullptr && f.slot->client != nullptr) {
        SendMessageA(f.slot->client, WM_PALETTECHANGED, w, l);
    }
    return 0;
}

// A sound or video device finished: it is closed and forgotten.
LRESULT on_mci_notify(LPARAM device)
{
    for (WindowSlot& s : window_tables().windows) {
        if (s.sound_device != 0 && s.sound_device == static_cast<int>(device)) {
            mciSendCommandA(static_cast<MCIDEVICEID>(s.sound_device), MCI_CLOSE, 0, 0);
            s.sound_device = 0;
        }
    }
    return 0;
}

void frame_on_exit_size_move(const FrameOf& f)
{
    if (IsIconic(f.window) && is_inside_parent(f.n)) {
        ArrangeIconicWindows(GetParent(f.window));
    }
}

void frame_on_destroy(const FrameOf& f)
{
    if (f.slot == nullptr || f.slot->frame != f.window) return;
    win_menu_strings_free(f.slot->menu, f.n);
    f.slot->menu = nullptr;
    f.slot->accelerators = nullptr;
    f.slot->menu_help = nullptr;
    f.slot->toolbars = {};
}

// The bars and the client follow the frame's size; a split window keeps its
// outer size for the size limits; a minimised inside-parent frame hands the
// active look to its top-level window.
LRESULT frame_on_size(const FrameOf& f, WPARAM size_kind)
{
    if (f.slot == nullptr || f.slot->frame != f.window) return 0;
    if (is_inside_parent(f.n)) win_restore_rectangle_keep(f.window, *f.slot, size_kind);
    if (size_kind != SIZE_MINIMIZED) {
        layout_frame(f.window, f.n);
    }
    if (SplitWindowRecord* split = win_split_record(f.window)) {
        RECT outer{};
        GetWindowRect(f.window, &outer);
        split->outer_width = outer.right - outer.left;
        split->outer_height = outer.bottom - outer.top;
    }
    if (size_kind == SIZE_MINIMIZED && is_inside_parent(f.n)) {
        SendMessageA(f.window, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(GetAncestor(f.window, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    }
    return 0;
}

// The focus goes on to the client window; false when there is none.
bool frame_on_set_focus(const FrameOf& f)
{
    if (f.slot == nullptr || f.slot->client == nullptr) return false;
    SetFocus(f.slot->client);
    return true;
}

// The close box asks the program: a close request, unless a pane of a
// split window refused to close.
LRESULT frame_on_close(const FrameOf& f, WPARAM w, LPARAM l)
{
    if (win_split_record(f.window) == nullptr || win_panes_query_close(f.window) != 0) {
        win_event_post(event::close_request, 0, w, l, f.window);
    }
    return 0;
}

void frame_on_activate_app(const FrameOf& f, WPARAM active)
{
    if (active == FALSE) {
        win_activate(nullptr);
    } else if (f.slot != nullptr && f.slot->client != nullptr) {
        realise_palette(f.slot->client);
    }
}

// An embedded dialog is not made smaller than it was; a split window with
// fixed panes keeps its size in that direction.
LRESULT frame_on_min_max_info(const FrameOf& f, MINMAXINFO& info)
{
    if (const DialogWindowRecord* embedded = win_dialog_record(f.window)) {
        if (embedded->width > 0) {
            info.ptMinTrackSize = {embedded->width, embedded->height};
        }
    } else if (const SplitWindowRecord* split = win_split_record(f.window)) {
        if (split_fixed(*split, 0) && split->outer_width > 0) {
            info.ptMaxSize.x = info.ptMinTrackSize.x = info.ptMaxTrackSize.x = split->outer_width;
        }
        if (split_fixed(*split, 1) && split->outer_height > 0) {
            info.ptMaxSize.y = info.ptMinTrackSize.y = info.ptMaxTrackSize.y = split->outer_height;
        }
    }
    return 0;
}

// True when a toolbar's tooltip got its text.
bool frame_on_notify(LPARAM l)
{
    const auto* header = reinterpret_cast<const NMHDR*>(l);
    return header->code == TTN_GETDISPINFOA && toolbar_tooltip(*reinterpret_cast<NMTTDISPINFOA*>(l));
}

// A pane is not dragged by its caption; a split window with fixed panes
// offers no edge that sizes it in that direction.
LRESULT frame_on_hit_test(const FrameOf& f, WPARAM w, LPARAM l)
{
    LRESULT hit = DefWindowProcA(f.window, WM_NCHITTEST, w, l);
    HWND holder = nullptr;
    if (f.n > 0 && hit == HTCAPTION && split_holding(f.window, holder) != nullptr) {
        return HTBORDER;
    }
    if (const SplitWindowRecord* split = win_split_record(f.window)) {
        // With a horizontal bar only the second pane decides whether the
        // side edges size the window (the size limits take either pane).
        const bool stacked = (split->split_flags & 1) != 0;
        const bool fixed_h = stacked ? win_split_pane_test(*split, 1, 0) : split_fixed(*split, 0);
        const bool fixed_v = split_fixed(*split, 1);
        if (fixed_h) {
            if (hit == HTLEFT || hit == HTRIGHT) hit = HTBORDER;
            if (hit == HTTOPLEFT || hit == HTTOPRIGHT) hit = HTTOP;
            if (hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) hit = HTBOTTOM;
        }
        if (fixed_v) {
            if (hit == HTTOP || hit == HTBOTTOM) hit = HTBORDER;
            if (hit == HTTOPLEFT || hit == HTBOTTOMLEFT) hit = fixed_h ? HTBORDER : HTLEFT;
            if (hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) hit = fixed_h ? HTBORDER : HTRIGHT;
        }
    }
    return hit;
}

// ---- the client procedure's handlers ----

// The client window a message is for, with its window number, its frame and
// what the record on the frame asks of the client.
struct ClientOf {
    HWND window = nullptr;
    int n = -1;
    HWND frame = nullptr;
    const ContentKindServices& content;
};

// The end of a timed wait, else a timer event; true for the former.
bool client_on_timer(const ClientOf& c, WPARAM w, LPARAM l)
{
    if (w == timed_wait_timer && window_proc_state().timed_wait_active) {
        KillTimer(c.window, w);
        window_proc_state().timed_wait_active = false;
        return true;
    }
    win_event_post(event::timer, 0, w, l, c.window);
    return false;
}

// A key without a character is posted as a virtual key with its Shift or
// Ctrl offset (lone modifier keys are not); a key with a character as the
// character, but keys of the number pad and Shift+Tab as virtual keys.
LRESULT client_on_key_down(const ClientOf& c, WPARAM w, LPARAM l)
{
    const int key = static_cast<int>(w);
    MSG next{};
    const bool has_char = PeekMessageA(&next, c.window, 0, 0, PM_NOREMOVE) && next.message == WM_CHAR;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (!has_char) {
        switch (key) {
        case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_PAUSE:
        case VK_CAPITAL: case VK_NUMLOCK: case VK_SCROLL:
            return 0;
        default:
            break;
        }
        const int offset = GetKeyState(VK_CONTROL) < 0 ? 8192 : shift ? 4096 : 0;
        win_event_post(event::key, 1, static_cast<WPARAM>(key + offset), l, c.window);
        return 0;
    }
    PeekMessageA(&next, c.window, WM_CHAR, WM_CHAR, PM_REMOVE);
    if (key >= VK_NUMPAD0 && key <= VK_DIVIDE) {
        win_event_post(event::key, 1, static_cast<WPARAM>(key), l, c.window);
    } else if (shift && next.wParam == '\t') {
        win_event_post(event::key, 1, 9 + 4096, l, c.window);
    } else {
        win_event_post(event::key, 0, next.wParam, l, c.window);
    }
    return 0;
}

// A split window lays out its panes, an embedded dialog takes the client's
// size; otherwise the program gets a resize event and maximised toolkit
// windows inside follow the new size.
LRESULT client_on_size(const ClientOf& c, WPARAM w, LPARAM l)
{
    if (SplitWindowRecord* split = win_split_record(c.frame)) {
        layout_split(c.window, *split);
        return 0;
    }
    if (const DialogWindowRecord* embedded = win_dialog_record(c.frame)) {
        if (HWND dialog = embedded->subject; dialog != nullptr) {
            MoveWindow(dialog, 0, 0, LOWORD(l), HIWORD(l), TRUE);
        }
        ValidateRect(c.window, nullptr);
        return 0;
    }
    ArrangeIconicWindows(c.window);
    RedrawWindow(c.window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    win_event_post(event::resize, 0, w, l, c.window);
    pending_redraw_note(c.window, c.n, event::resize);
    for (HWND child = GetWindow(c.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsZoomed(child) && GetClassWord(child, GCW_ATOM) == window_tables().frame_class) {
            HWND after = GetWindow(child, GW_HWNDPREV);
            SetWindowPos(child, after != nullptr ? after : HWND_TOP, 0, 0, LOWORD(l), HIWORD(l), SWP_NOACTIVATE);
        }
    }
    return 0;
}

// The window becomes the active one: raised (unless it is the hidden
// root), the focused pane of the split windows above it; an embedded
// dialog or a split window's focused pane takes the focus on.
LRESULT client_on_set_focus(const ClientOf& c)
{
    WindowTables& tables = window_tables();
    tables.last_active = c.frame;
    tables.active_dialog = nullptr;
    if (!(c.n == 0 && tables.root_hidden)) {
        SetWindowPos(c.frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    win_pane_make_active(c.frame);
    if (const DialogWindowRecord* embedded = win_dialog_record(c.frame)) {
        if (HWND dialog = embedded->subject; dialog != nullptr) {
            ShowWindow(dialog, SW_SHOW);
            if (!IsChild(dialog, GetFocus())) SetFocus(dialog);
            tables.active_dialog = dialog;
        }
    } else if (SplitWindowRecord* split = win_split_record(c.frame)) {
        if (split->focused_pane != nullptr) {
            win_activate(split->focused_pane);
            const int pane_number = win_number_from_handle(split->focused_pane);
            if (WindowSlot* ps = win_slot(pane_number); ps != nullptr && ps->client != nullptr) {
                SetFocus(ps->client);
            }
        }
    }
    return 0;
}

void client_on_paint(const ClientOf& c, WPARAM w, LPARAM l)
{
    realise_palette(c.window);
    if (!c.content.covers_client) {
        win_event_post(event::expose, 0, w, l, c.window);
        pending_redraw_note(c.window, c.n, event::expose);
    }
}

// The window's background brush fills what is to be erased; false when it
// has none.
bool client_on_erase_background(const ClientOf& c, HDC dc)
{
    const WindowSlot* slot = win_slot(c.n);
    if (slot == nullptr || slot->background_brush == nullptr) return false;
    RECT area{};
    GetClipBox(dc, &area);
    FillRect(dc, &area, slot->background_brush);
    return true;
}

// In the client area the window's cursor (else the toolkit's default)
// shows, unless the record on the frame keeps its own; false when none is set.
bool client_on_set_cursor(const ClientOf& c, LPARAM l)
{
    if (LOWORD(l) != HTCLIENT || c.content.keeps_cursor) return false;
    const WindowSlot* slot = win_slot(c.n);
    HCURSOR cursor = slot != nullptr && slot->cursor != nullptr ? slot->cursor : window_proc_state().default_cursor;
    if (cursor == nullptr) return false;
    SetCursor(cursor);
    return true;
}

// A press or double click: the mouse is captured, a mouse-down event (a
// double-click event when that type is on) posted, and the window raised.
LRESULT client_on_button_down(const ClientOf& c, UINT message, WPARAM w, LPARAM l)
{
    const int button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)   ? 1
                       : (message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK) ? 2
                                                                                    : 3;
    const bool double_click =
        message == WM_LBUTTONDBLCLK || message == WM_MBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
    SetCapture(c.window);
    const int type =
        double_click && win_event_enable_get(event::double_click) != 0 ? event::double_click : event::mouse_down;
    win_event_post(type, button, w, l, c.window);
    if (!(c.n == 0 && window_tables().root_hidden)) {
        raise_and_activate(c.frame);
    }
    return 0;
}

LRESULT client_on_button_up(const ClientOf& c, UINT message, WPARAM w, LPARAM l)
{
    const int button = message == WM_LBUTTONUP ? 1 : message == WM_MBUTTONUP ? 2 : 3;
    ReleaseCapture();
    win_event_post(event::mouse_up, button, w, l, c.window);
    return 0;
}

} // namespace

LRESULT CALLBACK win_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    const int n = win_number_from_handle(window);
    const FrameOf f{window, n, win_slot(n)};
    switch (message) {
    case WM_COMMAND:
        if (!is_command_choice(w)) break;
        return frame_on_command(f, w, l);
    case WM_TIMER:
        return frame_on_timer(f, w, l);
    case WM_INITMENUPOPUP:
        if (HWND pane = commanding_pane(window)) return SendMessageA(pane, message, w, l);
        break;
    case WM_ENTERMENULOOP:
        frame_on_enter_menu_loop(f, w);
        break;
    case WM_MENUSELECT:
        menu_help_show(window, n, w, l);
        break;
    case WM_EXITMENULOOP:
        frame_on_exit_menu_loop(f);
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        raise_and_activate(window);
        return 0;
    case WM_PALETTECHANGED:
        return frame_on_palette_changed(f, w, l);
    case MM_MCINOTIFY:
        return on_mci_notify(l);
    case WM_EXITSIZEMOVE:
        frame_on_exit_size_move(f);
        break;
    case WM_DESTROY:
        frame_on_destroy(f);
        break;
    case WM_SIZE:
        return frame_on_size(f, w);
    case WM_ACTIVATE:
        if (LOWORD(w) != WA_INACTIVE) win_activate(window);
        break;
    case WM_SETFOCUS:
        if (frame_on_set_focus(f)) return 0;
        break;
    case WM_CLOSE:
        return frame_on_close(f, w, l);
    case WM_ACTIVATEAPP:
        frame_on_activate_app(f, w);
        break;
    case WM_GETMINMAXINFO:
        return frame_on_min_max_info(f, *reinterpret_cast<MINMAXINFO*>(l));
    case WM_NOTIFY:
        if (frame_on_notify(l)) return 0;
        break;
    case WM_NCHITTEST:
        return frame_on_hit_test(f, w, l);
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        nonclient_press(window, message, w, l);
        break;
    case WM_NCLBUTTONUP:
        window_proc_state().pressed_frame = nullptr;
        break;
    case WM_SYSCHAR:
        if (is_inside_parent(n) && w != '-') return SendMessageA(GetParent(window), message, w, l);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK win_client_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    HWND frame = GetParent(window);
    const ClientOf c{window, win_number_from_handle(window), frame, content_services_of(frame)};
    switch (message) {
    case WM_TIMER:
        if (client_on_timer(c, w, l)) return 0;
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        nonclient_press(frame, message, w, l);
        break;
    case WM_KEYDOWN:
        return client_on_key_down(c, w, l);
    case WM_CHAR:
        win_event_post(event::key, 0, w, l, window);
        return 0;
    case WM_SYSCHAR:
        return SendMessageA(frame, message, w, l);
    case WM_COMMAND:
        if (!is_command_choice(w)) break;
        win_event_post(event::command, 0, w, l, frame);
        return 0;
    case WM_SIZE:
        return client_on_size(c, w, l);
    case WM_ACTIVATE:
        win_activate(frame);
        break;
    case WM_SETFOCUS:
        return client_on_set_focus(c);
    case WM_PAINT:
        client_on_paint(c, w, l);
        break;
    case WM_ERASEBKGND:
        if (client_on_erase_background(c, reinterpret_cast<HDC>(w))) return 1;
        break;
    case WM_SETCURSOR:
        if (client_on_set_cursor(c, l)) return TRUE;
        break;
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        return SendMessageA(frame, message, w, l);
    case WM_MOUSEMOVE:
        win_event_post(event::mouse_move, 0, w, l, window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        return client_on_button_down(c, message, w, l);
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        return client_on_button_up(c, message, w, l);
    case WM_MOUSEWHEEL:
        win_event_post(event::mouse_down, GET_WHEEL_DELTA_WPARAM(w) >= 0 ? 4 : 5, w, l, window);
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(w) != window) realise_palette(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK win_splitter_proc(HWND bar, UINT message, WPARAM w, LPARAM l)
{
    auto* split = reinterpret_cast<SplitWindowRecord*>(GetWindowLongPtrA(bar, GWLP_USERDATA));
    if (split == nullptr) {
        return DefWindowProcA(bar, message, w, l);
    }
    const bool stacked = (split->split_flags & 1) != 0;
    const int axis = stacked ? 1 : 0;
    const bool fixed = win_split_pane_test(*split, 0, axis) || win_split_pane_test(*split, 1, axis);

    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
        const int button = message == WM_NCLBUTTONDOWN ? 1 : message == WM_NCMBUTTONDOWN ? 2 : 3;
        win_event_post(event::nonclient_click, button, w, l, frame_of_number(split->window));
        break;
    }
    case WM_NCHITTEST:
        return fixed ? HTBORDER : HTCAPTION;
    case WM_SETCURSOR:
        if (fixed) return TRUE;
        break;
    case WM_ENTERSIZEMOVE: {
        RECT r{};
        GetWindowRect(bar, &r);
        POINT corner{r.left, r.top};
        ScreenToClient(GetParent(bar), &corner);
        split->drag_anchor = stacked ? corner.x : corner.y;
        break;
    }
    case WM_MOVING: {
        auto* r = reinterpret_cast<RECT*>(l);
        if (split->drag_anchor != -999) {
            RECT now{};
            GetWindowRect(bar, &now);
            if (stacked) {
                const LONG width = r->right - r->left;
                r->left = now.left;
                r->right = now.left + width;
            } else {
                const LONG height = r->bottom - r->top;
                r->top = now.top;
                r->bottom = now.top + height;
            }
        }
        return TRUE;
    }
    case WM_MOVE:
        if (split->drag_anchor != -999) {
            HWND first = frame_of_number(split->panes[0]);
            HWND second = frame_of_number(split->panes[1]);
            if (first != nullptr && second != nullptr) {
                RECT b{};
                GetWindowRect(bar, &b);
                MapWindowPoints(nullptr, GetParent(bar), reinterpret_cast<POINT*>(&b), 2);
                RECT area{};
                GetClientRect(GetParent(bar), &area);
                if (stacked) {
                    SetWindowPos(first, nullptr, 0, 0, area.right, b.top, SWP_NOMOVE | SWP_NOZORDER);
                    MoveWindow(second, 0, b.bottom, area.right, area.bottom - b.bottom, TRUE);
                } else {
                    SetWindowPos(first, nullptr, 0, 0, b.left, area.bottom, SWP_NOMOVE | SWP_NOZORDER);
                    MoveWindow(second, b.right, 0, area.right - b.right, area.bottom, TRUE);
                }
                RECT c1{};
                RECT c2{};
                GetClientRect(first, &c1);
                GetClientRect(second, &c2);
                split->pane_sizes = {stacked ? c1.bottom : c1.right, stacked ? c2.bottom : c2.right};
            }
        }
        return 0;
    case WM_EXITSIZEMOVE:
        split->drag_anchor = -999;
        break;
    case WM_SETFOCUS:
        if (split->focused_pane != nullptr) SetFocus(split->focused_pane);
        return 0;
    case WM_DESTROY:
        return 0;
    default:
        break;
    }
    return DefWindowProcA(bar, message, w, l);
}

} // namespace korv
