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
    static WindowProcState state;
    return state;
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

LRESULT CALLBACK win_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    WindowTables& tables = window_tables();
    const int n = win_number_from_handle(window);
    WindowSlot* slot = win_slot(n);

    switch (message) {
    case WM_COMMAND: {
        const int code = HIWORD(w);
        if (code != 0 && code != 1) break;
        HWND target = window;
        if (l == 0) target = focused_pane_chain(window);
        if (target != window && content_services_of(target).takes_commands) {
            SendMessageA(target, WM_COMMAND, w, l);
        } else {
            win_event_post(event::command, 0, w, l, target);
        }
        if (slot != nullptr && l != 0) {
            for (HWND bar : slot->toolbars) {
                if (bar != nullptr && bar == reinterpret_cast<HWND>(l)) {
                    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                }
            }
        }
        return 0;
    }
    case WM_TIMER:
        KillTimer(window, w);
        win_event_post(event::timer, 0, w, l, window);
        return 0;
    case WM_INITMENUPOPUP: {
        HWND pane = focused_pane_chain(window);
        if (pane != window && content_services_of(pane).takes_commands) {
            return SendMessageA(pane, message, w, l);
        }
        break;
    }
    case WM_ENTERMENULOOP:
        window_proc_state().popup_menu_loop = w != 0;
        if (HWND bar = win_statusbar_of(n); bar != nullptr && shows_menu_help(menu_loop_owner(window, n))) {
            status_simple(bar, true);
        }
        break;
    case WM_MENUSELECT:
        menu_help_show(window, n, w, l);
        break;
    case WM_EXITMENULOOP:
        window_proc_state().pressed_frame = nullptr;
        status_simple(win_statusbar_of(n), false);
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        raise_and_activate(window);
        return 0;
    case WM_PALETTECHANGED:
        if (slot != nullptr && slot->client != nullptr) {
            SendMessageA(slot->client, message, w, l);
        }
        return 0;
    case MM_MCINOTIFY:
        for (WindowSlot& s : tables.windows) {
            if (s.sound_device != 0 && s.sound_device == static_cast<int>(l)) {
                mciSendCommandA(static_cast<MCIDEVICEID>(s.sound_device), MCI_CLOSE, 0, 0);
                s.sound_device = 0;
            }
        }
        return 0;
    case WM_EXITSIZEMOVE:
        if (IsIconic(window) && is_inside_parent(n)) {
            ArrangeIconicWindows(GetParent(window));
        }
        break;
    case WM_DESTROY:
        if (slot != nullptr && slot->frame == window) {
            win_menu_strings_free(slot->menu, n);
            slot->menu = nullptr;
            slot->accelerators = nullptr;
            slot->menu_help = nullptr;
            slot->toolbars = {};
        }
        break;
    case WM_SIZE:
        if (slot != nullptr && slot->frame == window) {
            if (is_inside_parent(n)) win_restore_rectangle_keep(window, *slot, w);
            if (w != SIZE_MINIMIZED) {
                layout_frame(window, n);
            }
            if (SplitWindowRecord* split = win_split_record(window)) {
                RECT outer{};
                GetWindowRect(window, &outer);
                split->outer_width = outer.right - outer.left;
                split->outer_height = outer.bottom - outer.top;
            }
            if (w == SIZE_MINIMIZED && is_inside_parent(n)) {
                SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
                SendMessageA(GetAncestor(window, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
            }
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(w) != WA_INACTIVE) win_activate(window);
        break;
    case WM_SETFOCUS:
        if (slot != nullptr && slot->client != nullptr) {
            SetFocus(slot->client);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (win_split_record(window) == nullptr || win_panes_query_close(window) != 0) {
            win_event_post(event::close_request, 0, w, l, window);
        }
        return 0;
    case WM_ACTIVATEAPP:
        if (w == FALSE) {
            win_activate(nullptr);
        } else if (slot != nullptr && slot->client != nullptr) {
            realise_palette(slot->client);
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(l);
        if (const DialogWindowRecord* embedded = win_dialog_record(window)) {
            if (embedded->width > 0) {
                info->ptMinTrackSize = {embedded->width, embedded->height};
            }
        } else if (const SplitWindowRecord* split = win_split_record(window)) {
            if (split_fixed(*split, 0) && split->outer_width > 0) {
                info->ptMaxSize.x = info->ptMinTrackSize.x = info->ptMaxTrackSize.x = split->outer_width;
            }
            if (split_fixed(*split, 1) && split->outer_height > 0) {
                info->ptMaxSize.y = info->ptMinTrackSize.y = info->ptMaxTrackSize.y = split->outer_height;
            }
        }
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (header->code == TTN_GETDISPINFOA
            && toolbar_tooltip(*reinterpret_cast<NMTTDISPINFOA*>(l))) {
            return 0;
        }
        break;
    }
    case WM_NCHITTEST: {
        LRESULT hit = DefWindowProcA(window, message, w, l);
        HWND holder = nullptr;
        if (n > 0 && hit == HTCAPTION && split_holding(window, holder) != nullptr) {
            // A pane of a split window is not dragged on its own.
            return HTBORDER;
        }
        if (const SplitWindowRecord* split = win_split_record(window)) {
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
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        nonclient_press(window, message, w, l);
        break;
    case WM_NCLBUTTONUP:
        window_proc_state().pressed_frame = nullptr;
        break;
    case WM_SYSCHAR:
        if (is_inside_parent(n) && w != '-') {
            return SendMessageA(GetParent(window), message, w, l);
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK win_client_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    WindowTables& tables = window_tables();
    const int n = win_number_from_handle(window);
    HWND frame = GetParent(window);
    const ContentKindServices& content = content_services_of(frame);

    switch (message) {
    case WM_TIMER:
        if (w == timed_wait_timer && window_proc_state().timed_wait_active) {
            KillTimer(window, w);
            window_proc_state().timed_wait_active = false;
            return 0;
        }
        win_event_post(event::timer, 0, w, l, window);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        nonclient_press(frame, message, w, l);
        break;
    case WM_KEYDOWN: {
        const int key = static_cast<int>(w);
        MSG next{};
        const bool has_char = PeekMessageA(&next, window, 0, 0, PM_NOREMOVE)
                              && next.message == WM_CHAR;
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
            win_event_post(event::key, 1, static_cast<WPARAM>(key + offset), l, window);
            return 0;
        }
        PeekMessageA(&next, window, WM_CHAR, WM_CHAR, PM_REMOVE);
        if (key >= VK_NUMPAD0 && key <= VK_DIVIDE) {
            win_event_post(event::key, 1, static_cast<WPARAM>(key), l, window);
        } else if (shift && next.wParam == '\t') {
            win_event_post(event::key, 1, 9 + 4096, l, window);
        } else {
            win_event_post(event::key, 0, next.wParam, l, window);
        }
        return 0;
    }
    case WM_CHAR:
        win_event_post(event::key, 0, w, l, window);
        return 0;
    case WM_SYSCHAR:
        return SendMessageA(frame, message, w, l);
    case WM_COMMAND:
        if (HIWORD(w) == 0 || HIWORD(w) == 1) {
            win_event_post(event::command, 0, w, l, frame);
            return 0;
        }
        break;
    case WM_SIZE: {
        if (SplitWindowRecord* split = win_split_record(frame)) {
            layout_split(window, *split);
            return 0;
        }
        if (const DialogWindowRecord* embedded = win_dialog_record(frame)) {
            if (HWND dialog = embedded->subject; dialog != nullptr) {
                MoveWindow(dialog, 0, 0, LOWORD(l), HIWORD(l), TRUE);
            }
            ValidateRect(window, nullptr);
            return 0;
        }
        ArrangeIconicWindows(window);
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
        win_event_post(event::resize, 0, w, l, window);
        pending_redraw_note(window, n, event::resize);
        // Maximised toolkit windows inside this one follow its new size.
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsZoomed(child) && GetClassWord(child, GCW_ATOM) == tables.frame_class) {
                HWND after = GetWindow(child, GW_HWNDPREV);
                SetWindowPos(child, after != nullptr ? after : HWND_TOP, 0, 0, LOWORD(l), HIWORD(l),
                             SWP_NOACTIVATE);
            }
        }
        return 0;
    }
    case WM_ACTIVATE:
        win_activate(frame);
        break;
    case WM_SETFOCUS: {
        tables.last_active = frame;
        tables.active_dialog = nullptr;
        if (!(n == 0 && tables.root_hidden)) {
            SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        }
        win_pane_make_active(frame);
        if (const DialogWindowRecord* embedded = win_dialog_record(frame)) {
            if (HWND dialog = embedded->subject; dialog != nullptr) {
                ShowWindow(dialog, SW_SHOW);
                if (!IsChild(dialog, GetFocus())) SetFocus(dialog);
                tables.active_dialog = dialog;
            }
        } else if (SplitWindowRecord* split = win_split_record(frame)) {
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
    case WM_PAINT:
        realise_palette(window);
        if (!content.covers_client) {
            win_event_post(event::expose, 0, w, l, window);
            pending_redraw_note(window, n, event::expose);
        }
        break;
    case WM_ERASEBKGND: {
        const WindowSlot* slot = win_slot(n);
        if (slot != nullptr && slot->background_brush != nullptr) {
            RECT area{};
            GetClipBox(reinterpret_cast<HDC>(w), &area);
            FillRect(reinterpret_cast<HDC>(w), &area, slot->background_brush);
            return 1;
        }
        break;
    }
    case WM_SETCURSOR:
        if (LOWORD(l) == HTCLIENT && !content.keeps_cursor) {
            const WindowSlot* slot = win_slot(n);
            HCURSOR cursor = slot != nullptr && slot->cursor != nullptr ? slot->cursor
                                                                       : window_proc_state().default_cursor;
            if (cursor != nullptr) {
                SetCursor(cursor);
                return TRUE;
            }
        }
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
    case WM_RBUTTONDBLCLK: {
        const int button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)   ? 1
                           : (message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK) ? 2
                                                                                        : 3;
        const bool double_click = message == WM_LBUTTONDBLCLK || message == WM_MBUTTONDBLCLK
                                  || message == WM_RBUTTONDBLCLK;
        SetCapture(window);
        const int type = double_click && win_event_enable_get(event::double_click) != 0
                             ? event::double_click
                             : event::mouse_down;
        win_event_post(type, button, w, l, window);
        if (!(n == 0 && tables.root_hidden)) {
            raise_and_activate(frame);
        }
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
        const int button = message == WM_LBUTTONUP ? 1 : message == WM_MBUTTONUP ? 2 : 3;
        ReleaseCapture();
        win_event_post(event::mouse_up, button, w, l, window);
        return 0;
    }
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
