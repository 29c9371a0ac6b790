// Housekeeping around dialogs: tab pages, centring, the size grip, focus
// and text selection, tab stops, the dialog size, title and icon, the
// disabling of other windows around blocking dialogs, and the snapshots of
// window contents taken meanwhile.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/win_module.h"
#include "dialogs/dialog_internal.h"

namespace korv {

namespace {

DialogTable& table() { return dialog_table(); }

// A tab item's 8 bytes of data: the page it shows and its disabled flag.
struct TabItem {
    TCITEMHEADERA header;
    int page;
    int disabled;
};

bool tab_item(HWND tab, int index, TabItem& item)
{
    std::memset(&item, 0, sizeof item);
    item.header.mask = TCIF_PARAM;
    return SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

HWND page_window(int page_id)
{
    const int slot = dialog_index_by_id(page_id);
    return slot > 0 ? table().windows[static_cast<std::size_t>(slot)] : nullptr;
}

bool is_child_window(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0; }

// The icon that the title routine loaded for a dialog, kept with the dialog.
constexpr char own_icon_property[] = "KorvanthideDialogIcon";

bool has_class_name(HWND w, const char* name)
{
    char buffer[32] = {};
    return w != nullptr && GetClassNameA(w, buffer, sizeof buffer) > 0 && lstrcmpiA(buffer, name) == 0;
}

bool is_toolkit_window(HWND w)
{
    return has_class_name(w, "KORVANTHIDE") || has_class_name(w, "DARIVUROV") ||
           has_class_name(w, "ZUVEDAZAZI");
}

bool is_toolkit_client(HWND w) { return has_class_name(w, "ZUVEDAZAZI"); }

RECT display_area(HWND tab, HWND dialog)
{
    RECT rc{};
    GetWindowRect(tab, &rc);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

HBITMAP copy_client(HWND window)
{
    RECT rc{};
    GetClientRect(window, &rc);
    if (rc.right <= 0 || rc.bottom <= 0)
        return nullptr;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return bmp;
}

void paint_back(HWND window, HBITMAP bmp)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style & ~WS_CLIPCHILDREN);
    RECT rc{};
    GetClientRect(window, &rc);
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    SetWindowLongA(window, GWL_STYLE, style);
    ValidateRect(window, nullptr);
}

void repaint_now(HWND w)
{
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

bool tab_item_page(HWND tab, int index, int& page)
{
    TabItem item;
    if (!tab_item(tab, index, item))
        return false;
    page = item.page;
    return true;
}

bool tab_item_disabled(HWND tab, int index)
{
    TabItem item;
    return tab_item(tab, index, item) && item.disabled != 0;
}

void tab_item_insert(HWND tab, int index, int page, std::string_view caption)
{
    std::string text(caption);
    TabItem item{};
    item.header.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.header.pszText = text.data();
    item.header.iImage = -1;
    item.page = page;
    item.disabled = 0;
    SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void tab_pages_place(HWND tab)
{
    HWND dialog = GetParent(tab);
    const RECT area = display_area(tab, dialog);
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int page = 0;
        HWND p = tab_item_page(tab, i, page) ? page_window(page) : nullptr;
        if (p != nullptr && GetParent(p) == dialog)
            SetWindowPos(p, nullptr, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void dialog_attach_tab_pages(HWND dialog)
{
    const ControlClassAtoms& atoms = control_class_atoms();
    for (HWND tab = GetWindow(dialog, GW_CHILD); tab; tab = GetWindow(tab, GW_HWNDNEXT)) {
        if (!is_class(tab, atoms.tab))
            continue;
        const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
        const RECT area = display_area(tab, dialog);
        for (int i = 0; i < count; ++i) {
            int page_id = 0;
            HWND page = tab_item_page(tab, i, page_id) ? page_window(page_id) : nullptr;
            if (page == nullptr || page == dialog)
                continue;
            LONG style = GetWindowLongA(page, GWL_STYLE);
            style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
            style |= WS_CHILD | DS_CONTROL;
            SetWindowLongA(page, GWL_STYLE, style);
            // Keyboard navigation goes into the page as into any control.
            SetWindowLongA(page, GWL_EXSTYLE, GetWindowLongA(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
            if (dialog_has_size_grip(page)) {
                for (HWND c = GetWindow(page, GW_CHILD); c;) {
                    HWND next = GetWindow(c, GW_HWNDNEXT);
                    if (is_class(c, atoms.scrollbar))
                        DestroyWindow(c);
                    c = next;
                }
            }
            SetParent(page, dialog);
            UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED;
            if (i == selected && (GetWindowLongA(tab, GWL_STYLE) & WS_VISIBLE))
                flags |= SWP_SHOWWINDOW;
            SetWindowPos(page, tab, area.left, area.top, 0, 0, flags);
            EnableWindow(page, TRUE);
            dialog_attach_tab_pages(page);
        }
    }
}

void dialog_detach_tab_pages(HWND dialog)
{
    HWND root_client = window_tables().windows[0].client;
    for (HWND c = GetWindow(dialog, GW_CHILD); c;) {
        HWND next = GetWindow(c, GW_HWNDNEXT);
        if (is_dialog_window(c)) {
            SetParent(c, root_client);
            SetWindowPos(c, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            dialog_add_size_grip(c);
        }
        c = next;
    }
}

void dialog_focus_first_tab_stop(HWND fallback, HWND dialog, int set_focus)
{
    HWND target = fallback;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c)) {
            target = c;
            break;
        }
    }
    if (set_focus && target != nullptr) {
        SetFocus(target);
        field_select_text(target);
    }
}

int field_tab_select_page(int id, int& page)
{
    HWND tab = current_field_of_class(id, control_class_atoms().tab);
    if (tab == nullptr)
        return -1;
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    int index = -1;
    for (int i = 0; i < count && index < 0; ++i) {
        TabItem item;
        if (tab_item(tab, i, item) && item.page == page && !item.disabled)
            index = i;
    }
    if (index < 0) {
        page = -1;
        return 0;
    }
    const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    if (selected != index && (GetWindowLongA(tab, GWL_STYLE) & WS_VISIBLE)) {
        int old_page = 0;
        if (HWND old = tab_item_page(tab, selected, old_page) ? page_window(old_page) : nullptr)
            ShowWindow(old, SW_HIDE);
        SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        if (HWND p = page_window(page)) {
            SetWindowPos(p, tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
            const DialogRecord* r = dialog_record_of(dialog_current_window());
            dialog_focus_first_tab_stop(tab, p, r ? r->shown : 0);
        }
    } else if (selected != index) {
        SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

int field_tab_enable_page(int id, int& page, int enable)
{
    HWND tab = current_field_of_class(id, control_class_atoms().tab);
    if (tab == nullptr)
        return -1;
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TabItem item;
        if (!tab_item(tab, i, item) || item.page != page)
            continue;
        const int disabled = enable == 0 ? 1 : 0;
        if (item.disabled != disabled) {
            item.disabled = disabled;
            item.header.mask = TCIF_PARAM;
            SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            if (IsWindowVisible(tab)) {
                RECT rc{};
                SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
                InvalidateRect(tab, &rc, TRUE);
                UpdateWindow(tab);
            }
        }
        return 0;
    }
    page = -1;
    return 0;
}

int field_get_tab_page(int id, int& page)
{
    HWND tab = current_field_of_class(id, control_class_atoms().tab);
    if (tab == nullptr)
        return -1;
    const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    int p = 0;
    if (selected >= 0 && tab_item_page(tab, selected, p))
        page = p;
    return 0;
}

void dialog_add_size_grip(HWND dialog)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || r->reference_field == nullptr)
        return;
    const WindowTables& tables = window_tables();
    HWND w = r->host_window;
    while (w != nullptr) {
        const int n = win_number_from_handle(w);
        if (n < 0)
            break;
        if (tables.windows[static_cast<std::size_t>(n)].status_bar != nullptr)
            return;
        if (!is_child_window(w))
            break;
        HWND holder = GetParent(GetParent(w));
        const SplitWindowRecord* split = win_split_record(holder);
        if (split == nullptr)
            break;
        if (split->panes[0] == n)
            return;
        w = holder;
    }
    RECT rc{};
    GetClientRect(dialog, &rc);
    CreateWindowExA(0, "SCROLLBAR", nullptr,
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_GROUP | SBS_SIZEGRIP |
                        SBS_SIZEBOXBOTTOMRIGHTALIGN,
                    0, 0, rc.right, rc.bottom, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                    module_instance(), nullptr);
}

void field_select_text(HWND window)
{
    if (window == nullptr)
        return;
    if (is_edit_family(window)) {
        if (is_class(window, control_class_atoms().edit) && (GetWindowLongA(window, GWL_STYLE) & ES_MULTILINE)) {
            SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        } else {
            SendMessageA(window, EM_SETSEL, 0, -1);
            SendMessageA(window, EM_SCROLLCARET, 0, 0);
        }
    } else if (is_class(window, control_class_atoms().combobox)) {
        SendMessageA(window, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
}

void dialog_note_active_field(HWND field)
{
    HWND dialog = GetParent(field);
    while (dialog != nullptr) {
        if (DialogRecord* r = dialog_record_of(dialog))
            r->active_field = field;
        if (!is_child_window(dialog))
            break;
        HWND parent = GetParent(dialog);
        if (parent == nullptr || is_toolkit_client(parent) || !is_dialog_window(parent))
            break;
        dialog = parent;
    }
}

int field_set_focus(int id, int position)
{
    HWND dialog = dialog_current_window();
    HWND field = current_field(id);
    if (field == nullptr)
        return -1;
    if (!IsWindowVisible(dialog))
        return 0;
    SetFocus(field);
    const bool edit = is_edit_family(field);
    const bool combo = is_class(field, control_class_atoms().combobox);
    if ((edit || combo) && position != -1) {
        if (edit) {
            SendMessageA(field, EM_SETSEL, static_cast<WPARAM>(position), position);
            SendMessageA(field, EM_SCROLLCARET, 0, 0);
        } else {
            SendMessageA(field, CB_SETEDITSEL, 0, MAKELPARAM(position, position));
        }
    } else {
        field_select_text(field);
    }
    if (DialogRecord* r = dialog_record_of(dialog))
        r->current_field = id;
    dialog_note_active_field(field);
    if (is_child_window(dialog) && is_toolkit_client(GetParent(dialog))) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetActiveWindow(dialog);
        window_tables().active_dialog = dialog;
        win_activate(dialog);
    }
    return 0;
}

int field_set_tab_stops(int id, std::span<const int> stops)
{
    HWND field = current_field(id);
    if (field == nullptr)
        return -1;
    std::vector<int> copy(stops.begin(), stops.end());
    const bool multiline_edit = is_class(field, control_class_atoms().edit) &&
                                (GetWindowLongA(field, GWL_STYLE) & ES_MULTILINE);
    const UINT message = multiline_edit ? EM_SETTABSTOPS
                         : is_class(field, control_class_atoms().listbox) ? LB_SETTABSTOPS
                                                                          : 0;
    if (message == 0)
        return -1;
    SendMessageA(field, message, copy.size(), reinterpret_cast<LPARAM>(copy.empty() ? nullptr : copy.data()));
    RedrawWindow(field, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    if (FieldRecord* r = field_record_of(field))
        r->tab_stops = std::move(copy);
    return 0;
}

int dialog_rect_overlap(HWND field, const RECT& rect)
{
    RECT rc{};
    GetWindowRect(field, &rc);
    if (const FieldRecord* r = field_record_of(field); r && r->updown_partner) {
        RECT p{};
        GetWindowRect(r->updown_partner, &p);
        rc.right = std::max(rc.right, p.right);
    }
    MapWindowPoints(nullptr, GetParent(field), reinterpret_cast<POINT*>(&rc), 2);
    const bool inside = rc.left >= rect.left && rc.top >= rect.top && rc.right <= rect.right &&
                        rc.bottom <= rect.bottom;
    if (inside)
        return 1;
    const bool outside = rc.right <= rect.left || rc.left >= rect.right || rc.bottom <= rect.top ||
                         rc.top >= rect.bottom;
    return outside ? 0 : 2;
}

int dialog_set_size(int width, int height)
{
    HWND dialog = dialog_current_window();
    DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || r->host_window != nullptr)
        return -1;
    RECT units{0, 0, width, height};
    MapDialogRect(dialog, &units);
    RECT old_client{};
    GetClientRect(dialog, &old_client);
    RECT new_client{0, 0, width > 0 ? units.right : old_client.right,
                    height > 0 ? units.bottom : old_client.bottom};
    const bool grip = r->reference_field != nullptr;
    const ControlClassAtoms& atoms = control_class_atoms();
    auto skip = [&](HWND c) {
        if (is_dialog_window(c) || is_class(c, atoms.scrollbar))
            return true;
        for (HWND o = GetWindow(dialog, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT))
            if (const FieldRecord* f = field_record_of(o); f && f->updown_partner == c)
                return true;
        return false;
    };
    if (!grip) {
        HWND focus = GetFocus();
        HWND moved_focus = nullptr;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (skip(c))
                continue;
            if (dialog_rect_overlap(c, old_client) == 1 && dialog_rect_overlap(c, new_client) != 1) {
                if (c == focus)
                    moved_focus = c;
                // Hidden for the size only: the field keeps its recorded state.
                FieldRecord* f = field_record_of(c);
                const int recorded = f ? f->state : 1;
                field_set_state_window(c, 3, 0);
                if (f)
                    f->state = recorded;
            }
        }
        if (moved_focus != nullptr)
            SetFocus(GetNextDlgTabItem(dialog, moved_focus, FALSE));
    }
    RECT outer = new_client;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int ow = outer.right - outer.left;
    const int oh = outer.bottom - outer.top;
    r->minimum_width = std::min(r->minimum_width, ow);
    r->minimum_height = std::min(r->minimum_height, oh);
    SetWindowPos(dialog, nullptr, 0, 0, ow, oh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!grip) {
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (skip(c))
                continue;
            if (dialog_rect_overlap(c, new_client) == 1 && dialog_rect_overlap(c, old_client) != 1)
                if (const FieldRecord* f = field_record_of(c))
                    field_set_state_window(c, f->state, 1);
        }
    }
    return 0;
}

void dialog_set_title_and_icon(int& icon, int set_title, std::string_view title)
{
    HWND dialog = dialog_current_window();
    if (dialog == nullptr)
        return;
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    const bool caption = (style & (WS_BORDER | WS_DLGFRAME)) != 0;
    if (set_title == 1) {
        if (caption) {
            set_window_text(dialog, title);
        } else if (const DialogRecord* r = dialog_record_of(dialog)) {
            const DialogTable& t = table();
            for (int s = 1; s <= t.loaded; ++s) {
                if (s == t.current_slot)
                    continue;
                HWND other = t.windows[static_cast<std::size_t>(s)];
                for (HWND tab = GetWindow(other, GW_CHILD); tab; tab = GetWindow(tab, GW_HWNDNEXT)) {
                    if (!is_class(tab, control_class_atoms().tab))
                        continue;
                    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
                    for (int i = 0; i < count; ++i) {
                        int page = 0;
                        if (!tab_item_page(tab, i, page) || page != r->identifier)
                            continue;
                        std::string text(title);
                        TCITEMA item{};
                        item.mask = TCIF_TEXT;
                        item.pszText = text.data();
                        SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                        RECT area = display_area(tab, GetParent(tab));
                        MapWindowPoints(GetParent(tab), tab, reinterpret_cast<POINT*>(&area), 2);
                        ValidateRect(tab, &area);
                    }
                }
            }
        }
    }
    if (!caption || icon == -1)
        return;
    HICON loaded = static_cast<HICON>(LoadImageA(module_instance(),
                                                 icon == 0 ? "icon1" : MAKEINTRESOURCEA(icon),
                                                 IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (loaded == nullptr) {
        icon = -2;
        return;
    }
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loaded));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, 0);
    // Only an icon loaded here is released; the one the dialog started with
    // belongs to the root window's class.
    dialog_own_icon_replace(dialog, loaded);
}

void dialog_own_icon_replace(HWND dialog, HICON icon)
{
    HICON old = static_cast<HICON>(RemovePropA(dialog, own_icon_property));
    if (old != nullptr && old != icon)
        DestroyIcon(old);
    if (icon != nullptr)
        SetPropA(dialog, own_icon_property, icon);
}

void dialog_disable_other_windows(HWND kept, int with_windows)
{
    const DialogTable& t = table();
    for (int s = 1; s <= t.loaded; ++s) {
        HWND d = t.windows[static_cast<std::size_t>(s)];
        const DialogRecord* r = dialog_record_of(d);
        if (d == nullptr || d == kept || r == nullptr || !r->shown)
            continue;
        HWND parent = GetParent(d);
        if (parent != nullptr && !is_toolkit_window(parent))
            continue;
        if (kept != nullptr && r->host_window == kept)
            continue;
        EnableWindow(d, FALSE);
    }
    if (!with_windows)
        return;
    for (const WindowSlot& slot : window_tables().windows)
        if (slot.frame != nullptr && slot.frame != kept && IsWindowVisible(slot.frame))
            EnableWindow(slot.frame, FALSE);
}

void dialog_enable_other_windows(HWND kept, int with_windows)
{
    const DialogTable& t = table();
    const bool semi = t.semi_modeless_count > 0;
    for (int s = 1; s <= t.loaded; ++s) {
        HWND d = t.windows[static_cast<std::size_t>(s)];
        const DialogRecord* r = dialog_record_of(d);
        if (d == nullptr || r == nullptr || !r->shown)
            continue;
        HWND parent = GetParent(d);
        if (parent != nullptr && !is_toolkit_window(parent))
            continue;
        if (!semi || d == kept)
            EnableWindow(d, TRUE);
    }
    if (!with_windows)
        return;
    for (const WindowSlot& slot : window_tables().windows)
        if (slot.frame != nullptr && IsWindowVisible(slot.frame) && (!semi || slot.frame == kept))
            EnableWindow(slot.frame, TRUE);
}

int dialog_has_visible_graphics(HWND dialog)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r != nullptr && r->graphics_dialog)
        return 1;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (const FieldRecord* f = field_record_of(c); f && f->graphics_field)
            return 1;
        if (is_class(c, control_class_atoms().tab)) {
            const int selected = static_cast<int>(SendMessageA(c, TCM_GETCURSEL, 0, 0));
            int page = 0;
            if (selected >= 0 && tab_item_page(c, selected, page))
                if (HWND p = page_window(page); p && dialog_has_visible_graphics(p))
                    return 1;
        }
    }
    return 0;
}

void dialog_window_snapshots(int mode, int excepted, int& out)
{
    out = 0;
    DialogTable& t = table();
    WindowTables& w = window_tables();
    if (mode == 1) {
        for (int s = 1; s <= t.loaded; ++s) {
            HWND d = t.windows[static_cast<std::size_t>(s)];
            const DialogRecord* r = dialog_record_of(d);
            if (r != nullptr && r->shown)
                repaint_now(d);
        }
        if (win_dwm_composition_enabled())
            return;
        t.snapshots_taken = 1;
        for (int n = 0; n <= max_window; ++n) {
            const WindowSlot& slot = w.windows[static_cast<std::size_t>(n)];
            if (slot.client == nullptr || n == excepted || slot.frame == nullptr ||
                !IsWindowVisible(slot.frame) || is_child_window(slot.frame))
                continue;
            if (win_content_record(slot.frame) != nullptr && !content_services_of(slot.frame).client_picture_kept)
                continue;
            DialogSnapshot& snap = t.window_snapshots[static_cast<std::size_t>(n)];
            if (snap.bitmap == nullptr)
                snap.bitmap = copy_client(slot.client);
            ++snap.nesting;
        }
        for (int s = 1; s <= t.loaded; ++s) {
            HWND d = t.windows[static_cast<std::size_t>(s)];
            const DialogRecord* r = dialog_record_of(d);
            if (r == nullptr || !r->shown || !dialog_has_visible_graphics(d))
                continue;
            DialogSnapshot& snap = t.dialog_snapshots[static_cast<std::size_t>(s)];
            if (snap.bitmap == nullptr)
                snap.bitmap = copy_client(d);
            ++snap.nesting;
        }
        return;
    }
    if (mode != 0 || !t.snapshots_taken)
        return;
    t.snapshots_taken = 0;
    for (int n = 0; n <= max_window; ++n) {
        DialogSnapshot& snap = t.window_snapshots[static_cast<std::size_t>(n)];
        if (snap.bitmap == nullptr || n == excepted)
            continue;
        if (--snap.nesting > 0) {
            t.snapshots_taken = 1;
            continue;
        }
        const WindowSlot& slot = w.windows[static_cast<std::size_t>(n)];
        if (slot.client != nullptr && IsWindow(slot.client))
            paint_back(slot.client, snap.bitmap);
        DeleteObject(snap.bitmap);
        snap = {};
        for (const WindowSlot& other : w.windows) {
            if (other.frame == nullptr || (other.frame != slot.frame && !IsChild(slot.client, other.frame)))
                continue;
            for (HWND bar : other.toolbars)
                if (bar != nullptr)
                    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    }
    const DisplayInfo& info = display_info();
    const bool repaint_plain = !info.windows_nt || info.windows_major <= 4 ||
                               (info.windows_major == 5 && info.windows_minor == 0);
    for (int s = 1; s <= t.loaded; ++s) {
        HWND d = t.windows[static_cast<std::size_t>(s)];
        const DialogRecord* r = dialog_record_of(d);
        DialogSnapshot& snap = t.dialog_snapshots[static_cast<std::size_t>(s)];
        if (snap.bitmap == nullptr) {
            if (r != nullptr && r->shown && repaint_plain)
                repaint_now(d);
            continue;
        }
        if (--snap.nesting > 0) {
            t.snapshots_taken = 1;
            continue;
        }
        paint_back(d, snap.bitmap);
        DeleteObject(snap.bitmap);
        snap = {};
    }
}

LRESULT CALLBACK field_tab_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().tab_proc;
    auto pass = [&] { return base ? CallWindowProcA(base, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp); };
    const int count = static_cast<int>(SendMessageA(w, TCM_GETITEMCOUNT, 0, 0));
    switch (m) {
    case WM_PAINT: {
        const int selected = static_cast<int>(SendMessageA(w, TCM_GETCURSEL, 0, 0));
        int page_id = 0;
        if (HWND page = selected >= 0 && tab_item_page(w, selected, page_id) ? page_window(page_id) : nullptr) {
            RECT update{};
            if (GetUpdateRect(w, &update, FALSE)) {
                MapWindowPoints(w, page, reinterpret_cast<POINT*>(&update), 2);
                InvalidateRect(page, &update, TRUE);
            }
        }
        HDC dc = GetDC(w);
        HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
        for (int i = 0; i < count; ++i) {
            if (!tab_item_disabled(w, i))
                continue;
            RECT rc{};
            SendMessageA(w, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
            char text[1026] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(w, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            RECT inner = rc;
            InflateRect(&inner, -2, -2);
            if (i == count - 1)
                inner.right -= 3;
            RECT shifted = inner;
            OffsetRect(&shifted, 1, 1);
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextA(dc, text, -1, &shifted, DT_CENTER | DT_TOP | DT_SINGLELINE);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
            DrawTextA(dc, text, -1, &inner, DT_CENTER | DT_TOP | DT_SINGLELINE);
            ValidateRect(w, &rc);
        }
        SelectObject(dc, old_font);
        ReleaseDC(w, dc);
        if (HWND arrows = GetWindow(w, GW_CHILD))
            InvalidateRect(arrows, nullptr, TRUE);
        return pass();
    }
    case WM_MOVE:
    case WM_SIZE: {
        const LRESULT result = pass();
        if (m == WM_MOVE || wp == SIZE_RESTORED || wp == SIZE_MAXIMIZED)
            tab_pages_place(w);
        return result;
    }
    case WM_KEYDOWN:
        if (wp == VK_LEFT || wp == VK_RIGHT) {
            const int from = static_cast<int>(SendMessageA(w, TCM_GETCURFOCUS, 0, 0));
            const int step = wp == VK_LEFT ? -1 : 1;
            for (int i = from + step; i >= 0 && i < count; i += step) {
                if (!tab_item_disabled(w, i)) {
                    SendMessageA(w, TCM_SETCURFOCUS, static_cast<WPARAM>(i), 0);
                    break;
                }
            }
            return 0;
        }
        if (wp == VK_UP || wp == VK_DOWN) {
            for (int i = 0; i < count; ++i)
                if (tab_item_disabled(w, i))
                    return 0;
        }
        return pass();
    case WM_LBUTTONDOWN: {
        TCHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const int i = static_cast<int>(SendMessageA(w, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (i >= 0 && tab_item_disabled(w, i))
            return 0;
        return pass();
    }
    default:
        return pass();
    }
}

} // namespace korv
