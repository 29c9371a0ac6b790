// The dialog table: loading dialogs from the resources, showing them
// modeless, semi-modeless or modal (through a modal instance made from the
// same template), hiding and unloading them.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>

#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/win_module.h"
#include "dialogs/dialog_internal.h"

namespace korv {

namespace {

DialogTable& table() { return dialog_table(); }

HWND slot_window(int slot)
{
    if (slot < 0 || slot > DialogTable::capacity)
        return nullptr;
    return table().windows[static_cast<std::size_t>(slot)];
}

bool is_child_window(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0; }

HWND host_of_child(HWND dialog) { return GetParent(GetParent(dialog)); }

int& last_modal_identifier() { return dialog_table().last_modal_identifier; }

// The window of toolkit window n's client area, or null.
HWND client_of(int window)
{
    if (window < 0 || window > max_window)
        return nullptr;
    return window_tables().windows[static_cast<std::size_t>(window)].client;
}

HWND frame_of(int window)
{
    if (window < 0 || window > max_window)
        return nullptr;
    return window_tables().windows[static_cast<std::size_t>(window)].frame;
}

void record_field_states(HWND dialog)
{
    bool after_spinner = false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (after_spinner) {
            after_spinner = false;
            continue;
        }
        FieldRecord* r = field_record_of(child);
        if (r != nullptr) {
            int state = 1;
            field_get_state(GetDlgCtrlID(child), state);
            r->state = state;
            after_spinner = r->updown_partner != nullptr;
        }
    }
}

// Snapshots, field records and everything else per slot move with the
// dialogs when a lower slot is emptied.
void close_gap(int slot)
{
    DialogTable& t = table();
    for (int s = slot; s < t.loaded; ++s) {
        t.windows[static_cast<std::size_t>(s)] = t.windows[static_cast<std::size_t>(s + 1)];
        t.dialog_snapshots[static_cast<std::size_t>(s)] =
            t.dialog_snapshots[static_cast<std::size_t>(s + 1)];
    }
    t.windows[static_cast<std::size_t>(t.loaded)] = nullptr;
    t.dialog_snapshots[static_cast<std::size_t>(t.loaded)] = {};
}

bool descends_from(HWND window, HWND ancestor)
{
    for (HWND w = GetParent(window); w != nullptr; w = GetParent(w))
        if (w == ancestor)
            return true;
    return false;
}

// A window that is no child and has `dialog` in its chain of parents and owners.
bool owned_by(HWND window, HWND dialog)
{
    for (HWND w = GetWindow(window, GW_OWNER); w != nullptr;) {
        if (w == dialog)
            return true;
        HWND next = GetWindow(w, GW_OWNER);
        if (next == nullptr)
            next = GetParent(w);
        w = next;
    }
    return false;
}

} // namespace

int dialog_index_by_id(int identifier)
{
    const DialogTable& t = table();
    for (int s = 0; s <= t.loaded; ++s) {
        const DialogRecord* r = dialog_record_of(t.windows[static_cast<std::size_t>(s)]);
        if (r != nullptr && r->identifier == identifier)
            return s;
    }
    return -1;
}

int dialog_free_slots() { return DialogTable::capacity - table().loaded; }

int dialog_exit_codes(int code)
{
    const DialogRecord* r = dialog_record_of(dialog_current_window());
    switch (code) {
    case 1:
        return r ? r->exit_button : 0;
    case 2:
        return r ? r->previous_field : 0;
    case 3:
        return last_modal_identifier();
    default:
        return 0;
    }
}

void dialog_parent_window_number(int& number)
{
    HWND parent = GetParent(dialog_current_window());
    const int n = parent ? win_number_from_handle(parent) : -1;
    number = n < 0 ? 0 : n;
}

HWND dialog_owner_window()
{
    const WindowTables& w = window_tables();
    HWND active = w.active_dialog;
    if (active != nullptr && IsWindow(active) && IsWindowVisible(active)) {
        const DialogRecord* r = dialog_record_of(active);
        return r && r->host_window ? r->host_window : active;
    }
    // The window last active may be gone (a dialog unloaded since): a box
    // owned by a window that no longer exists is never shown.
    if (w.last_active != nullptr && !IsWindow(w.last_active))
        return w.windows[0].frame;
    return w.last_active;
}

int dialog_is_modal_instance(HWND window)
{
    HWND instance = table().windows[0];
    if (instance == nullptr || window == nullptr)
        return 0;
    for (HWND w = window; w != nullptr; w = GetParent(w)) {
        if (w == instance)
            return 1;
        if (!is_child_window(w))
            break;
    }
    return 0;
}

int dialog_has_size_grip(HWND dialog)
{
    const DialogRecord* r = dialog_record_of(dialog);
    return r != nullptr && r->reference_field != nullptr ? 1 : 0;
}

void dialog_load_resource(int& resource, int identifier, int window, int inside_window)
{
    DialogTable& t = table();
    const int found = dialog_index_by_id(identifier);
    if (found >= 0) {
        t.current_slot = found;
        return;
    }
    if (t.loaded + 1 > DialogTable::capacity) {
        resource = -1;
        return;
    }
    HINSTANCE instance = module_instance();
    if (FindResourceA(instance, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(5)) == nullptr) {
        resource = -2;
        return;
    }
    auto* record = new (std::nothrow) DialogRecord;
    if (record == nullptr) {
        resource = -3;
        return;
    }
    record->identifier = identifier;
    record->resource = resource;
    if (inside_window != 0 && window >= 0)
        record->host_window = frame_of(window);
    ++t.loaded;
    t.show_focus = t.show_x = t.show_y = 0;
    t.creating = 1;
    HWND owner = window == -1 ? dialog_owner_window() : client_of(window);
    HWND active = window_tables().active_dialog;
    t.loading_record = record;
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(resource), owner, dialog_procedure,
                                     reinterpret_cast<LPARAM>(record));
    t.creating = 0;
    if (dialog == nullptr) {
        t.windows[static_cast<std::size_t>(t.loaded)] = nullptr;
        --t.loaded;
        // A window that was made and destroyed again took its record with
        // it; otherwise the record is still ours.
        delete t.loading_record;
        t.loading_record = nullptr;
        resource = -3;
        return;
    }
    t.loading_record = nullptr;
    t.windows[static_cast<std::size_t>(t.loaded)] = dialog;
    t.current_slot = t.loaded;
    dialog_parse_extras(dialog, resource, t.loaded);
    record_field_states(dialog);
    window_tables().active_dialog = active;
}

void dialog_load(int& resource, int identifier, int window)
{
    dialog_load_resource(resource, identifier, window, 0);
}

void dialog_select_by_id(int& identifier)
{
    const int slot = dialog_index_by_id(identifier);
    if (slot < 0)
        identifier = -1;
    else
        table().current_slot = slot;
}

void dialog_centre_position()
{
    DialogTable& t = table();
    HWND dialog = dialog_current_window();
    RECT r{};
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int area_width = 0;
    int area_height = 0;
    if (is_child_window(dialog)) {
        RECT client{};
        GetClientRect(GetParent(dialog), &client);
        area_width = client.right;
        area_height = client.bottom;
    } else {
        area_width = display_info().screen_width;
        area_height = display_info().screen_height;
        if (area_width <= 0 || area_height <= 0) {
            area_width = GetSystemMetrics(SM_CXSCREEN);
            area_height = GetSystemMetrics(SM_CYSCREEN);
        }
    }
    if (t.show_x == -1)
        t.show_x = (area_width - width) / 2;
    if (t.show_y == -1)
        t.show_y = (area_height - height) / 2;
}

namespace {

// A dialog shown already comes to the top, repainted; one inside a window
// becomes the active one.
void dialog_show_again(HWND dialog, bool child)
{
    ShowWindow(dialog, SW_RESTORE);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (child) {
        SetFocus(dialog);
        SetActiveWindow(dialog);
        window_tables().active_dialog = dialog;
        win_activate(dialog);
    }
}

// Runs the modal instance of the dialog with the other windows disabled and
// puts back the active window and dialog afterwards; false when the
// instance could not be made.
bool dialog_modal_run(const DialogRecord& r, HWND owner)
{
    DialogTable& t = table();
    WindowTables& w = window_tables();
    HWND last_active = w.last_active;
    HWND active = w.active_dialog;
    dialog_disable_other_windows(owner, 1);
    t.creating = 1;
    const INT_PTR ended =
        DialogBoxParamA(module_instance(), MAKEINTRESOURCEA(r.resource), owner, dialog_procedure, 0);
    // A modal instance that could not be made leaves nothing set that would
    // keep later dialogs from posting events.
    t.creating = 0;
    t.windows[0] = nullptr;
    dialog_enable_other_windows(t.semi_modeless_dialog ? t.semi_modeless_dialog : owner, 1);
    w.last_active = last_active;
    w.active_dialog = active;
    if (owner != nullptr && IsWindow(owner)) {
        if (is_child_window(owner)) {
            SetFocus(owner);
            win_activate(owner);
        }
        if (dialog_record_of(owner) != nullptr && dialog_index_by_id(dialog_record_of(owner)->identifier) > 0)
            w.active_dialog = owner;
    }
    return ended != -1;
}

// A semi-modeless dialog keeps every other dialog and window disabled.
void dialog_semi_modeless_begin(HWND dialog)
{
    DialogTable& t = table();
    ++t.semi_modeless_count;
    t.semi_modeless_dialog = dialog;
    dialog_disable_other_windows(nullptr, 0);
    for (const WindowSlot& slot : window_tables().windows)
        if (slot.frame != nullptr)
            EnableWindow(slot.frame, FALSE);
}

// The dialog placed, shown and, unless the caller keeps the focus (2),
// given the focus on field `focus` (or the dialog), with that field's text
// selected.
void dialog_show_modeless(HWND dialog, DialogRecord& r, bool child, int focus, int caller)
{
    const DialogTable& t = table();
    dialog_attach_tab_pages(dialog);
    dialog_centre_position();
    SetWindowPos(dialog, nullptr, t.show_x, t.show_y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    if (child) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        win_activate(dialog);
        window_tables().active_dialog = dialog;
    }
    // Shown first, so that the focus set below is not replaced by the one
    // the dialog restores when it becomes active.
    EnableWindow(dialog, TRUE);
    ShowWindow(dialog, SW_RESTORE);
    if (caller != 2) {
        HWND focus_field = focus != 0 ? GetDlgItem(dialog, focus) : nullptr;
        SetFocus(focus_field != nullptr ? focus_field : dialog);
        field_select_text(GetFocus());
    }
    UpdateWindow(dialog);
    r.previous_field = GetDlgCtrlID(GetFocus());
    r.shown = 1;
}

} // namespace

void dialog_show(int x, int y, int x_in_window, int y_in_window, int& mode, int focus, int caller)
{
    DialogTable& t = table();
    HWND dialog = dialog_current_window();
    DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr) {
        mode = -1;
        return;
    }
    const bool child = is_child_window(dialog);
    bool host_hidden = false;
    bool host_holds_dialog = false;
    if (child) {
        HWND host = host_of_child(dialog);
        host_hidden = host != nullptr && !IsWindowVisible(host);
        host_holds_dialog = content_services_of(host).holds_dialog;
    }
    if (r->host_window != nullptr && caller == 0) {
        mode = -4;
        return;
    }
    if (r->shown) {
        dialog_show_again(dialog, child);
        mode = 0;
        return;
    }
    // A modeless dialog while a semi-modeless one is up becomes
    // semi-modeless; inside a window a dialog is modeless.
    int result = 0;
    if (mode == 2 && t.semi_modeless_count > 0) {
        mode = 3;
        result = -1;
    } else if (child && (mode == 1 || mode == 3)) {
        if (mode == 1) {
            int ignored = 0;
            dialog_window_snapshots(0, -1, ignored);
        }
        mode = 2;
        result = -1;
    }
    t.show_focus = focus;
    t.show_x = child ? x_in_window : x;
    t.show_y = child ? y_in_window : y;

    HWND owner = dialog_owner_window();
    r->owner = owner;
    r->activation_owner = t.semi_modeless_dialog ? t.semi_modeless_dialog : owner;
    r->mode = mode;

    if (mode == 1) {
        mode = dialog_modal_run(*r, owner) ? result : -5;
        return;
    }
    if (mode == 3)
        dialog_semi_modeless_begin(dialog);
    if (child && caller == 0 && host_hidden) {
        mode = -2;
        return;
    }
    if (child && caller == 0 && host_holds_dialog) {
        mode = -3;
        return;
    }
    dialog_show_modeless(dialog, *r, child, focus, caller);
    mode = result;
}

INT_PTR dialog_modal_instance_init(HWND instance)
{
    DialogTable& t = table();
    t.windows[0] = instance;
    auto* record = new (std::nothrow) DialogRecord;
    if (record == nullptr)
        return FALSE;
    dialog_record_attach(instance, record);
    dialog_copy_field_contents(instance, dialog_current_window());
    dialog_attach_tab_pages(instance);
    if (t.show_x == -1 || t.show_y == -1) {
        RECT r{};
        GetWindowRect(instance, &r);
        int sw = display_info().screen_width;
        int sh = display_info().screen_height;
        if (sw <= 0 || sh <= 0) {
            sw = GetSystemMetrics(SM_CXSCREEN);
            sh = GetSystemMetrics(SM_CYSCREEN);
        }
        if (t.show_x == -1)
            t.show_x = (sw - (r.right - r.left)) / 2;
        if (t.show_y == -1)
            t.show_y = (sh - (r.bottom - r.top)) / 2;
    }
    SetWindowPos(instance, nullptr, t.show_x, t.show_y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    return TRUE;
}

void dialog_modal_instance_end(HWND instance, HWND receiver, int button)
{
    DialogTable& t = table();
    DialogRecord* ir = dialog_record_of(instance);
    if (ir != nullptr)
        last_modal_identifier() = ir->identifier;
    // Field changes inside the instance were recorded in the loaded
    // dialog's record; the instance's record, which is copied back whole,
    // takes them first so that the exit field is the field last entered.
    const DialogRecord* loaded = dialog_record_of(dialog_current_window());
    if (ir != nullptr && loaded != nullptr && receiver == instance) {
        ir->current_field = loaded->current_field;
        ir->previous_field = loaded->previous_field;
    }
    if (DialogRecord* rr = dialog_record_of(receiver)) {
        rr->current_field = button;
        rr->exit_button = button;
        HWND focus = GetFocus();
        if (focus != nullptr && GetDlgCtrlID(focus) != button)
            rr->previous_field = GetDlgCtrlID(focus);
    }
    dialog_detach_tab_pages(instance);
    t.creating = 1;
    dialog_copy_field_contents(dialog_current_window(), instance);
    window_tables().active_dialog = nullptr;
    delete dialog_record_detach(instance);
    dialog_closing_mark(instance, true);
    EndDialog(instance, button);
    dialog_closing_mark(instance, false);
    t.creating = 0;
}

void dialog_hide(int& slot)
{
    DialogTable& t = table();
    const int s = slot == -1 ? t.current_slot : slot;
    HWND dialog = slot_window(s);
    DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr)
        return;
    if (r->host_window != nullptr && slot == -1) {
        slot = -1;
        return;
    }
    // A tab page shown by another loaded dialog stays with it.
    if (is_child_window(dialog)) {
        for (int other = 1; other <= t.loaded; ++other) {
            if (other == t.current_slot)
                continue;
            HWND o = slot_window(other);
            for (HWND c = GetWindow(o, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (!is_class(c, control_class_atoms().tab))
                    continue;
                const int count = static_cast<int>(SendMessageA(c, TCM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    int page = 0;
                    if (tab_item_page(c, i, page) && page == r->identifier) {
                        slot = -2;
                        return;
                    }
                }
            }
        }
    }
    WindowTables& w = window_tables();
    const bool was_active = w.active_dialog == dialog;
    if (r->shown && r->mode == 3) {
        t.semi_modeless_count = std::max(0, t.semi_modeless_count - 1);
        dialog_enable_other_windows(was_active ? r->activation_owner : nullptr, 1);
        // The show disabled every frame that existed, hidden ones included;
        // with no semi-modeless dialog left they are all enabled again, so
        // that a window shown later is not left disabled.
        if (t.semi_modeless_count == 0)
            for (const WindowSlot& ws : window_tables().windows)
                if (ws.frame != nullptr)
                    EnableWindow(ws.frame, TRUE);
    }
    for (int other = 1; other <= t.loaded; ++other) {
        DialogRecord* o = dialog_record_of(slot_window(other));
        if (o == nullptr || o == r)
            continue;
        if (o->owner == dialog)
            o->owner = r->owner;
        if (o->activation_owner == dialog)
            o->activation_owner = r->activation_owner;
    }
    // Toolkit windows owned by this dialog pass to its owner.
    for (int n = 1; n <= max_window; ++n) {
        HWND frame = frame_of(n);
        if (frame != nullptr && GetWindow(frame, GW_OWNER) == dialog)
            SetWindowLongPtrA(frame, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(r->owner));
    }
    if (was_active)
        w.active_dialog = nullptr;
    dialog_closing_mark(dialog, true);
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog_closing_mark(dialog, false);
    const bool was_shown = r->shown != 0;
    r->shown = 0;
    if (t.semi_modeless_dialog == dialog)
        t.semi_modeless_dialog = t.semi_modeless_count == 0 ? nullptr : r->activation_owner;
    if (was_active && r->owner != nullptr && IsWindow(r->owner)) {
        SetFocus(r->owner);
        SendMessageA(r->owner, WM_NCACTIVATE, TRUE, 0);
        const DialogRecord* o = dialog_record_of(r->owner);
        if (o != nullptr && dialog_index_by_id(o->identifier) > 0)
            w.active_dialog = r->owner;
    }
    (void)was_shown;
    if (slot == -1)
        slot = 0;
}

void dialog_destroy_with_pages(HWND dialog, int keep_pages, int slot)
{
    DialogTable& t = table();
    if (!keep_pages) {
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!is_class(c, control_class_atoms().tab))
                continue;
            const int count = static_cast<int>(SendMessageA(c, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                int page = 0;
                if (!tab_item_page(c, i, page))
                    continue;
                const int page_slot = dialog_index_by_id(page);
                if (page_slot > 0)
                    dialog_destroy_with_pages(slot_window(page_slot), 0, 0);
            }
        }
    }
    for (int s = t.loaded; s >= 1; --s) {
        HWND other = slot_window(s);
        if (other == nullptr || other == dialog)
            continue;
        const bool related =
            is_child_window(other) ? descends_from(other, dialog) : owned_by(other, dialog);
        if (!related)
            continue;
        int hide = s;
        dialog_hide(hide);
        if (hide >= 0)
            dialog_unload(0, s);
    }
    // Slots may have moved while related dialogs were unloaded.
    int own = -1;
    for (int s = 1; s <= t.loaded; ++s)
        if (slot_window(s) == dialog)
            own = s;
    dialog_closing_mark(dialog, true);
    DestroyWindow(dialog); // its records go with the windows
    dialog_closing_mark(dialog, false);
    if (own < 0)
        return;
    const int current = t.current_slot;
    close_gap(own);
    if (slot == 0 || own == current)
        t.current_slot = 0;
    else if (current > own)
        t.current_slot = current - 1; // the current dialog stays the same dialog
    --t.loaded;
    if (t.loaded == 0) {
        bool frame_visible = false;
        for (const WindowSlot& ws : window_tables().windows)
            if (ws.frame != nullptr && IsWindowVisible(ws.frame))
                frame_visible = true;
        if (!frame_visible)
            window_tables().last_active = window_tables().windows[0].frame;
    }
}

void dialog_unload(int keep_pages, int slot)
{
    const int s = slot == -1 ? table().current_slot : slot;
    HWND dialog = slot_window(s);
    if (dialog == nullptr)
        return;
    dialog_detach_tab_pages(dialog);
    dialog_destroy_with_pages(dialog, keep_pages, slot == -1 ? s : slot);
}

HWND dialog_embed(int identifier, int window, bool show)
{
    int resource = identifier;
    dialog_load_resource(resource, identifier, window, 1);
    if (resource < 0)
        return nullptr;
    HWND dialog = dialog_current_window();
    if (DialogRecord* r = dialog_record_of(dialog))
        r->host_window = frame_of(window);
    dialog_result_state().current_dialog = identifier;
    if (show) {
        int mode = 2;
        dialog_show(0, 0, 0, 0, mode, 0, 1);
    }
    return dialog;
}

void dialog_embedded_show(HWND dialog)
{
    DialogTable& t = table();
    for (int s = 1; s <= t.loaded; ++s) {
        if (slot_window(s) != dialog)
            continue;
        const int previous_slot = t.current_slot;
        DialogResultState& state = dialog_result_state();
        const int previous_dialog = state.current_dialog;
        t.current_slot = s;
        if (const DialogRecord* r = dialog_record_of(dialog))
            state.current_dialog = r->identifier;
        int mode = 2;
        dialog_show(0, 0, 0, 0, mode, 0, 1);
        t.current_slot = previous_slot;
        state.current_dialog = previous_dialog;
        return;
    }
}

void dialog_embedded_close(HWND dialog)
{
    DialogTable& t = table();
    for (int s = 1; s <= t.loaded; ++s) {
        if (slot_window(s) != dialog)
            continue;
        const bool current = s == t.current_slot;
        int hide = s;
        dialog_hide(hide);
        if (hide >= 0)
            dialog_unload(0, s);
        if (current)
            dialog_result_state().current_dialog = 0;
        return;
    }
}

bool dialog_host(HWND dialog, int& window, int& dialog_line_flag)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr)
        return false;
    window = r->host_window ? win_number_from_handle(r->host_window) : -1;
    dialog_line_flag = r->resize_flag;
    return true;
}

void dialog_table_nc_activate(HWND active)
{
    const DialogTable& t = table();
    for (int s = 1; s <= t.loaded; ++s) {
        HWND d = t.windows[static_cast<std::size_t>(s)];
        if (d != nullptr)
            SendMessageA(d, WM_NCACTIVATE, d == active ? TRUE : FALSE, 0);
    }
}

void dialog_root_opened()
{
    HWND parent = window_tables().windows[0].frame;
    numctl_discover_classes(parent);
    numctl_discover_more_classes(parent);
    DialogProcState& s = dialog_proc_state();
    s.snapshot_on_focus = 1;
    if (s.colour_brush != nullptr) {
        DeleteObject(s.colour_brush);
        s.colour_brush = nullptr;
    }
}

void dialog_root_closed()
{
    DialogTable& t = table();
    for (int s = t.loaded; s >= 0; --s) {
        HWND dialog = slot_window(s);
        if (dialog == nullptr)
            continue;
        dialog_detach_tab_pages(dialog);
        dialog_closing_mark(dialog, true);
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        dialog_closing_mark(dialog, false);
        t.windows[static_cast<std::size_t>(s)] = nullptr;
    }
    for (DialogSnapshot& snap : t.window_snapshots)
        if (snap.bitmap != nullptr)
            DeleteObject(snap.bitmap);
    for (DialogSnapshot& snap : t.dialog_snapshots)
        if (snap.bitmap != nullptr)
            DeleteObject(snap.bitmap);
    t.window_snapshots = {};
    t.dialog_snapshots = {};
    t.snapshots_taken = 0;
    t.loaded = 0;
    t.current_slot = 0;
    t.semi_modeless_dialog = nullptr;
    t.semi_modeless_count = 0;
    t.creating = 0;
    t.show_focus = t.show_x = t.show_y = 0;
    window_tables().active_dialog = nullptr;
    DialogProcState& s = dialog_proc_state();
    s.pending_button = nullptr;
    s.pending_tab = nullptr;
    s.reentry = 0;
    if (s.colour_brush != nullptr) {
        DeleteObject(s.colour_brush);
        s.colour_brush = nullptr;
    }
    dialog_result_state() = {};
}

} // namespace korv
