// Menus and their help strings on toolkit windows: loading with the
// command-identifier table, the floating popup menu, replacing a window's
// menu and the item operations.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "korvanthide/menus.h"
#include "core/context.h"
#include "core/menus_data.h"
#include "core/services/content_kinds.h"
#include "core/win_menus_shared.h"
#include "core/win_module.h"
#include "core/win_menus.h"

namespace korv {

MenuState& menu_state()
{
    return toolkit_context().record<MenuState>(ContextSlot::menu_state);
}

WindowSlot* menu_slot(int window)
{
    if (window < 0 || window > max_window) {
        return nullptr;
    }
    return &window_tables().windows[static_cast<std::size_t>(window)];
}

ResourceBytes resource_bytes(int identifier, const char* type)
{
    const HINSTANCE instance = module_instance();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(identifier), type);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const unsigned char*>(bytes), SizeofResource(instance, found)};
}

MENUITEMINFOA menu_item_info(UINT mask)
{
    MENUITEMINFOA info{};
    info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
    info.fMask = mask;
    return info;
}

std::string text_trimmed_copy(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

namespace {

// A window's ZOQMENUSTRING resource as the window tables keep it (a loaded
// resource without its size). Resources lie in the program's image, so
// the rest of the mapped region that holds it bounds every read.
ResourceBytes loaded_resource_bytes(HGLOBAL resource)
{
    const void* bytes = resource != nullptr ? LockResource(resource) : nullptr;
    MEMORY_BASIC_INFORMATION region{};
    if (bytes == nullptr || VirtualQuery(bytes, &region, sizeof region) == 0) {
        return {};
    }
    const auto* base = static_cast<const unsigned char*>(region.BaseAddress);
    const auto* at = static_cast<const unsigned char*>(bytes);
    return {at, region.RegionSize - static_cast<std::size_t>(at - base)};
}

// The window the item operations work on.
int item_target()
{
    const int current = window_tables().current;
    return win_has_bars(current) != 0 ? current : 0;
}

const char* attached_string(HMENU menu, int position)
{
    MENUITEMINFOA info = menu_item_info(MIIM_DATA);
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) {
        return nullptr;
    }
    return reinterpret_cast<const char*>(info.dwItemData);
}

// Frees the attached strings of a menu and its submenus; returns how many.
int strings_free(HMENU menu)
{
    int freed = 0;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = menu_item_info(MIIM_DATA | MIIM_SUBMENU);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        if (info.dwItemData != 0) {
            delete[] reinterpret_cast<char*>(info.dwItemData);
            MENUITEMINFOA clear = menu_item_info(MIIM_DATA);
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &clear);
            ++freed;
        }
        if (info.hSubMenu != nullptr) {
            freed += strings_free(info.hSubMenu);
        }
    }
    return freed;
}

void attached_count_add(int window, int delta)
{
    if (window >= 0 && window <= max_window) {
        int& count = menu_state().attached[static_cast<std::size_t>(window)];
        count = std::max(0, count + delta);
    }
}

// The item's text through a buffer of the size the menu reports.
std::string menu_item_text(HMENU menu, int position)
{
    MENUITEMINFOA info = menu_item_info(MIIM_STRING);
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) {
        return {};
    }
    std::string text(info.cch + 1, '\0');
    info = menu_item_info(MIIM_STRING);
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) {
        return {};
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

// The frame that shows a window's menu: the window's own, or the top-level
// window above an inside-parent window.
HWND menu_frame(const WindowSlot& slot)
{
    if (slot.frame == nullptr || slot.menu == nullptr || GetMenu(slot.frame) == slot.menu) {
        return slot.frame;
    }
    return GetAncestor(slot.frame, GA_ROOT);
}

int window_of_menu(HMENU menu)
{
    if (menu == nullptr) {
        return -1;
    }
    for (int n = 0; n <= max_window; ++n) {
        if (window_tables().windows[static_cast<std::size_t>(n)].menu == menu) {
            return n;
        }
    }
    return -1;
}

// Whether the frame is a pane: a child whose grandparent frame holds panes.
bool is_pane(HWND frame)
{
    if (frame == nullptr || (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) == 0) {
        return false;
    }
    HWND client = GetParent(frame);
    HWND holder = client != nullptr ? GetParent(client) : nullptr;
    return holder != nullptr && content_services_of(holder).holds_panes;
}

// The menu of the deepest window with a menu along the focused panes from
// a top-level frame down.
HMENU focused_chain_menu(HWND top)
{
    HMENU found = nullptr;
    HWND at = top;
    for (int depth = 0; at != nullptr && depth <= max_window; ++depth) {
        const WindowSlot* slot = menu_slot(win_number_from_handle(at));
        if (slot != nullptr && slot->menu != nullptr) {
            found = slot->menu;
        }
        const SplitWindowRecord* split = win_split_record(at);
        at = split != nullptr ? split->focused_pane : nullptr;
    }
    return found;
}

// A menu resource loads as a menu bar; the system tracks only real popup
// menus reliably, so the bar's items move into one.
HMENU menu_as_popup(HMENU bar)
{
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) {
        return nullptr;
    }
    while (GetMenuItemCount(bar) > 0) {
        std::string text = menu_item_text(bar, 0);
        MENUITEMINFOA info =
            menu_item_info(MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA);
        GetMenuItemInfoA(bar, 0, TRUE, &info);
        if ((info.fType & MFT_SEPARATOR) == 0) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        InsertMenuItemA(popup, static_cast<UINT>(GetMenuItemCount(popup)), TRUE, &info);
        RemoveMenu(bar, 0, MF_BYPOSITION);  // the submenu now belongs to the popup
    }
    DestroyMenu(bar);
    return popup;
}

} // namespace

HMENU win_menu_load(int identifier)
{
    HMENU menu = LoadMenuA(module_instance(), MAKEINTRESOURCEA(identifier));
    if (menu != nullptr) {
        win_menu_command_ids(menu, identifier);
        win_menu_grey_pass(menu);
    }
    return menu;
}

void win_menu_command_ids(HMENU menu, int identifier)
{
    if (menu == nullptr) {
        return;
    }
    for (const MenuCommandPath& entry :
         menu_command_table_parse(resource_bytes(identifier, MAKEINTRESOURCEA(10)))) {
        if (entry.path.empty()) {
            continue;
        }
        HMENU at = menu;
        for (std::size_t i = 0; at != nullptr && i + 1 < entry.path.size(); ++i) {
            at = GetSubMenu(at, entry.path[i] - 1);
        }
        if (at == nullptr) {
            continue;
        }
        MENUITEMINFOA info = menu_item_info(MIIM_ID);
        info.wID = static_cast<UINT>(entry.command);
        SetMenuItemInfoA(at, static_cast<UINT>(entry.path.back() - 1), TRUE, &info);
    }
}

void win_menu_grey_pass(HMENU menu)
{
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = menu_item_info(MIIM_STATE | MIIM_SUBMENU);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        if ((info.fState & MF_DISABLED) != 0) {
            EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
        }
        if (info.hSubMenu != nullptr) {
            win_menu_grey_pass(info.hSubMenu);
        }
    }
}

void win_popup_menu(int& identifier, int x, int y, int flag)
{
    HMENU loaded = win_menu_load(identifier);
    HMENU menu = loaded != nullptr ? menu_as_popup(loaded) : nullptr;
    if (menu == nullptr) {
        if (loaded != nullptr) DestroyMenu(loaded);
        identifier = -1;
        return;
    }
    const int current = window_tables().current;
    const WindowSlot* owner = menu_slot(win_menu_owner(current));
    if (owner != nullptr && owner->menu != nullptr) {
        win_menu_copy_states(menu, owner->menu);
    }
    const WindowSlot* slot = menu_slot(current);
    HWND target = slot != nullptr ? (slot->client != nullptr ? slot->client : slot->frame) : nullptr;
    POINT point{x, y};
    if (flag == 1 && target != nullptr) {
        ClientToScreen(target, &point);
    }
    MenuState& state = menu_state();
    state.popup_help = resource_bytes(identifier, "ZOQMENUSTRING");
    state.popup_help_present = !state.popup_help.empty();
    TrackPopupMenu(menu, TPM_LEFTBUTTON, point.x, point.y, 0, target, nullptr);
    DestroyMenu(menu);
    state.popup_help = {};
    state.popup_help_present = false;
}

void win_root_menu_set(int& identifier, int window)
{
    WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->frame == nullptr) {
        identifier = -2;
        return;
    }
    HWND frame = slot->frame;
    WindowContentRecord* record = win_content_record(frame);
    const bool pane = is_pane(frame);
    const bool child_inside = (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0;
    if ((child_inside && !pane) || content_services_of(frame).own_menu_bar) {
        identifier = -2;
        return;
    }
    HMENU menu = nullptr;
    if (identifier != 0) {
        menu = win_menu_load(identifier);
        if (menu == nullptr) {
            identifier = -1;
            return;
        }
    }

    HWND top = GetAncestor(frame, GA_ROOT);
    const HMENU shown = GetMenu(top);
    const HMENU old = slot->menu;
    const bool holds_panes = content_services_of(frame).holds_panes;

    // Free the old menu with its strings; keep the new one with its
    // accelerators and help strings.
    if (old != nullptr) {
        win_menu_strings_free(old, window);
    }
    slot->menu = menu;
    slot->accelerators = nullptr;
    slot->menu_help = nullptr;
    if (menu != nullptr) {
        const HINSTANCE instance = module_instance();
        slot->accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(identifier));
        if (HRSRC help = FindResourceA(instance, MAKEINTRESOURCEA(identifier), "ZOQMENUSTRING")) {
            slot->menu_help = LoadResource(instance, help);
        }
    }

    HMENU to_show = shown;
    if (!pane && !holds_panes) {
        to_show = menu;
    } else {
        const WindowSlot* shower = menu_slot(window_of_menu(shown));
        const bool shows_this = shown == old
                                || (shower != nullptr && shower->frame != nullptr
                                    && (shower->frame == frame || IsChild(shower->frame, frame)));
        if (shows_this) {
            to_show = menu != nullptr ? menu : focused_chain_menu(top);
        }
    }
    if (GetMenu(top) != to_show) {
        SetMenu(top, to_show);
    }
    DrawMenuBar(top);
    if (old != nullptr && GetMenu(top) != old) {
        DestroyMenu(old);
    }

    if (record != nullptr) {
        if (const ContentKindServices& kind = content_kind_services(record->kind); kind.menu_changed)
            kind.menu_changed(frame, *record);
    }
}

int win_menu_item_find(HMENU menu, int command, HMENU& holder)
{
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = menu_item_info(MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        if ((info.fType & MFT_SEPARATOR) == 0 && static_cast<int>(info.wID) == command) {
            holder = menu;
            return i;
        }
        if (info.hSubMenu != nullptr) {
            const int found = win_menu_item_find(info.hSubMenu, command, holder);
            if (found >= 0) {
                return found;
            }
        }
    }
    return -1;
}

void win_menu_bar_redraw(int command, int window)
{
    const WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->menu == nullptr) {
        return;
    }
    HMENU holder = nullptr;
    if (win_menu_item_find(slot->menu, command, holder) >= 0 && holder == slot->menu) {
        DrawMenuBar(menu_frame(*slot));
    }
}

void win_menu_item_text_set(int& command, std::string_view text)
{
    const int target = item_target();
    HMENU holder = nullptr;
    const int position = win_menu_item_find(menu_slot(target)->menu, command, holder);
    if (position < 0) {
        command = -1;
        return;
    }
    std::string value = text_trimmed_copy(text);
    MENUITEMINFOA info = menu_item_info(MIIM_FTYPE | MIIM_STRING);
    info.fType = MFT_STRING;
    info.dwTypeData = value.data();
    if (!SetMenuItemInfoA(holder, static_cast<UINT>(position), TRUE, &info)) {
        command = -1;
        return;
    }
    win_menu_bar_redraw(command, target);
}

void win_menu_item_check(int command, int& state)
{
    const int target = item_target();
    const WindowSlot& slot = *menu_slot(target);
    const bool on = state != 0;
    if (slot.menu == nullptr
        || CheckMenuItem(slot.menu, static_cast<UINT>(command),
                         MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED))
               == static_cast<DWORD>(-1)) {
        state = -1;
    }
    for (HWND bar : slot.toolbars) {
        if (bar != nullptr && SendMessageA(bar, TB_CHECKBUTTON, static_cast<WPARAM>(command),
                                           MAKELPARAM(on ? TRUE : FALSE, 0)) != 0) {
            RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            state = 1;
        }
    }
}

void win_menu_item_enable(int command, int& state)
{
    const int target = item_target();
    const WindowSlot& slot = *menu_slot(target);
    const bool on = state != 0;
    if (slot.menu == nullptr
        || EnableMenuItem(slot.menu, static_cast<UINT>(command),
                          MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED))
               == -1) {
        state = -1;
    } else {
        win_menu_bar_redraw(command, target);
    }
    for (HWND bar : slot.toolbars) {
        if (bar != nullptr && SendMessageA(bar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                                           MAKELPARAM(on ? TRUE : FALSE, 0)) != 0) {
            RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            state = 1;
        }
    }
}

int win_menu_item_state(int command, int which)
{
    const WindowSlot& slot = *menu_slot(item_target());
    if (slot.menu != nullptr) {
        const UINT flags = GetMenuState(slot.menu, static_cast<UINT>(command), MF_BYCOMMAND);
        if (flags != static_cast<UINT>(-1)) {
            if (which == 1) return (flags & (MF_GRAYED | MF_DISABLED)) == 0 ? 1 : 0;
            if (which == 2) return (flags & MF_CHECKED) != 0 ? 1 : 0;
            return 0;
        }
    }
    int answer = -1;
    for (HWND bar : slot.toolbars) {
        if (bar == nullptr) {
            continue;
        }
        const LRESULT flags = SendMessageA(bar, TB_GETSTATE, static_cast<WPARAM>(command), 0);
        if (flags == -1) {
            continue;
        }
        if (which == 1) answer = (flags & TBSTATE_ENABLED) != 0 ? 1 : 0;
        else if (which == 2) answer = (flags & TBSTATE_CHECKED) != 0 ? 1 : 0;
        else answer = 0;
    }
    return answer;
}

void win_menu_item_help_set(int& command, std::string_view text)
{
    const int target = item_target();
    HMENU holder = nullptr;
    const int position = win_menu_item_find(menu_slot(target)->menu, command, holder);
    if (position < 0) {
        command = -1;
        return;
    }
    const std::string value = text_trimmed_copy(text);
    char* copy = nullptr;
    if (!value.empty()) {
        copy = new char[value.size() + 1];
        std::memcpy(copy, value.c_str(), value.size() + 1);
    }
    const char* old = attached_string(holder, position);
    MENUITEMINFOA info = menu_item_info(MIIM_DATA);
    info.dwItemData = reinterpret_cast<ULONG_PTR>(copy);
    if (!SetMenuItemInfoA(holder, static_cast<UINT>(position), TRUE, &info)) {
        delete[] copy;
        command = -1;
        return;
    }
    delete[] old;
    if (old == nullptr && copy != nullptr) attached_count_add(target, 1);
    if (old != nullptr && copy == nullptr) attached_count_add(target, -1);
}

void win_menu_item_delete(int& command)
{
    const int target = item_target();
    const WindowSlot& slot = *menu_slot(target);
    HMENU holder = nullptr;
    const int position = win_menu_item_find(slot.menu, command, holder);
    if (position < 0) {
        command = -1;
        return;
    }
    MENUITEMINFOA info = menu_item_info(MIIM_DATA | MIIM_SUBMENU);
    GetMenuItemInfoA(holder, static_cast<UINT>(position), TRUE, &info);
    // The strings of a deleted submenu go with it.
    const int inner = info.hSubMenu != nullptr ? strings_free(info.hSubMenu) : 0;
    attached_count_add(target, -inner);
    if (!DeleteMenu(holder, static_cast<UINT>(position), MF_BYPOSITION)) {
        command = -1;
        return;
    }
    if (info.dwItemData != 0) {
        delete[] reinterpret_cast<char*>(info.dwItemData);
        attached_count_add(target, -1);
    }
    if (holder == slot.menu) {
        DrawMenuBar(menu_frame(slot));
    }
}

void win_menu_item_insert(int& command, int position, int new_command, std::string_view text)
{
    const int target = item_target();
    const WindowSlot& slot = *menu_slot(target);
    HMENU holder = nullptr;
    const int found = win_menu_item_find(slot.menu, command, holder);
    if (found < 0) {
        command = -1;
        return;
    }
    const int at = menu_insert_position(found, position, GetMenuItemCount(holder));
    std::string value = text_trimmed_copy(text);
    MENUITEMINFOA info = menu_item_info(MIIM_FTYPE);
    if (new_command == 0) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_ID | MIIM_STRING;
        info.fType = MFT_STRING;
        info.wID = static_cast<UINT>(new_command);
        info.dwTypeData = value.data();
    }
    if (!InsertMenuItemA(holder, static_cast<UINT>(at), TRUE, &info)) {
        command = -1;
        return;
    }
    if (holder == slot.menu) {
        DrawMenuBar(menu_frame(slot));
    }
}

void win_menu_copy_states(HMENU popup, HMENU menu)
{
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = menu_item_info(MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        if ((info.fType & MFT_SEPARATOR) == 0 && info.wID != 0) {
            HMENU holder = nullptr;
            const int at = win_menu_item_find(popup, static_cast<int>(info.wID), holder);
            if (at >= 0) {
                std::string text = menu_item_text(menu, i);
                MENUITEMINFOA copy = menu_item_info(MIIM_STATE | MIIM_STRING);
                copy.fState = info.fState;
                copy.dwTypeData = text.data();
                SetMenuItemInfoA(holder, static_cast<UINT>(at), TRUE, &copy);
            }
        }
        if (info.hSubMenu != nullptr) {
            win_menu_copy_states(popup, info.hSubMenu);
        }
    }
}

int win_has_bars(int window)
{
    const WindowSlot* slot = menu_slot(window);
    if (slot == nullptr) {
        return 0;
    }
    if (slot->menu != nullptr) {
        return 1;
    }
    for (HWND bar : slot->toolbars) {
        if (bar != nullptr) return 1;
    }
    return 0;
}

void win_menu_strings_free(HMENU menu, int window)
{
    if (menu != nullptr) {
        strings_free(menu);
    }
    if (window >= 0 && window <= max_window) {
        menu_state().attached[static_cast<std::size_t>(window)] = 0;
    }
}

int win_menu_owner(int window)
{
    const WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->frame == nullptr) {
        return 0;
    }
    const int top = win_number_from_handle(GetAncestor(slot->frame, GA_ROOT));
    const WindowSlot* owner = menu_slot(top);
    return owner != nullptr && owner->menu != nullptr ? top : 0;
}

std::optional<std::string> win_menu_help_text(int owner, int command)
{
    const WindowSlot* slot = menu_slot(owner);
    if (slot != nullptr && slot->menu != nullptr) {
        HMENU holder = nullptr;
        const int position = win_menu_item_find(slot->menu, command, holder);
        if (position >= 0) {
            if (const char* attached = attached_string(holder, position)) {
                return std::string(attached);
            }
        }
    }
    if (slot != nullptr && slot->menu_help != nullptr) {
        if (auto text = menu_help_find(loaded_resource_bytes(slot->menu_help), command)) {
            return text;
        }
    }
    const MenuState& state = menu_state();
    if (state.popup_help_present) {
        return menu_help_find(state.popup_help, command);
    }
    return std::nullopt;
}

bool win_popup_help_present()
{
    return menu_state().popup_help_present;
}

int win_menu_attached_count(int window)
{
    return window >= 0 && window <= max_window
               ? menu_state().attached[static_cast<std::size_t>(window)]
               : 0;
}

} // namespace korv
