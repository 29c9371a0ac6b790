// The field layer: back ends that act on one field of the current dialog
// by its control identifier and answer a code (-1 missing field or class
// not accepted, -2 and -3 per operation). Writing a field posts no event.

#include <windows.h>
#include <commctrl.h>

#include "korvanthide/fixed_text.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "graphics/gdi_primitives.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/field_classes.h"
#include "dialogs/win_fields.h"

namespace korv {

namespace {

// A field of a plug-in class that shows a read-only look of its own.
bool has_read_only_look(HWND w)
{
    const FieldClassHooks* h = field_class_hooks(w);
    return h != nullptr && h->read_only != nullptr;
}

} // namespace

HWND current_field(int id)
{
    HWND dialog = dialog_current_window();
    if (dialog == nullptr)
        return nullptr;
    // Searching the dialog's children asks the window server each time; a
    // field found before is used again while it is still the dialog's child
    // with that identifier.
    DialogProcState& s = dialog_proc_state();
    if (s.field_cache_dialog != dialog) {
        s.field_cache.clear();
        s.field_cache_dialog = dialog;
    }
    const auto found = s.field_cache.find(id);
    if (found != s.field_cache.end()) {
        HWND w = found->second;
        if (IsWindow(w) && GetParent(w) == dialog && GetDlgCtrlID(w) == id)
            return w;
        s.field_cache.erase(found);
    }
    HWND w = GetDlgItem(dialog, id);
    if (w != nullptr)
        s.field_cache.emplace(id, w);
    return w;
}

HWND current_field_of_class(int id, ATOM atom)
{
    HWND w = current_field(id);
    return w != nullptr && is_class(w, atom) ? w : nullptr;
}

void field_cache_clear()
{
    DialogProcState& s = dialog_proc_state();
    s.field_cache.clear();
    s.field_cache_dialog = nullptr;
}

int field_kind(int id, int& kind)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    kind = field_kind_of(w);
    return 0;
}

int field_kind_of(HWND w)
{
    const ControlClassAtoms& a = atoms();
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    NumberKind number;
    bool spinner;
    if (is_class(w, a.static_text)) {
        const int low = static_cast<int>(style & 0xFF);
        return low == 0 || low == 1 || low == 11 ? 1 : 2;
    }
    if (is_class(w, a.button)) {
        if ((style & 7) == 7)
            return 3;
        if ((style & 3) == 3)
            return 9;
        if ((style & 9) == 9)
            return 10;
        return 8;
    }
    if (is_class(w, a.edit))
        return 4;
    if (number_field_kind(w, number, spinner))
        return number == NumberKind::integer ? 5 : number == NumberKind::real ? 6 : 7;
    if (is_class(w, a.combobox))
        return 11;
    if (is_class(w, a.listbox))
        return 12;
    if (is_class(w, a.tab))
        return 13;
    if (is_class(w, a.progress))
        return 14;
    if (const FieldClassHooks* h = field_class_hooks(w))
        return h->kind;
    if (is_class(w, a.trackbar))
        return 16;
    if (is_class(w, a.treeview))
        return 17;
    return 0;
}

int field_menu_kind(HWND w)
{
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    if (is_class(w, atoms().listbox))
        return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) ? 4 : 1;
    if (is_class(w, atoms().combobox))
        return (style & 3) == CBS_DROPDOWNLIST ? 2 : 3;
    return -1;
}

int field_get_state(int id, int& state)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    state = field_state_of(w);
    return 0;
}

int field_state_of(HWND w)
{
    if (!IsWindowVisible(w))
        return 3;
    if (!IsWindowEnabled(w))
        return 0;
    if (is_text_entry(w) && (GetWindowLongA(w, GWL_STYLE) & ES_READONLY))
        return 2;
    if (const FieldClassHooks* h = field_class_hooks(w); h != nullptr && h->read_only != nullptr && h->read_only(w))
        return 2;
    return 1;
}

void field_set_state_window(HWND w, int state, int redraw_mode)
{
    FieldRecord* r = field_record_of(w);
    if (r)
        r->state = state;
    HWND dialog = GetParent(w);
    // Taken before the field is disabled, which takes the focus from it.
    HWND focus = GetFocus();
    bool had_focus = focus == w || IsChild(w, focus);
    RECT client{};
    GetClientRect(dialog, &client);
    if (dialog_rect_overlap(w, client) == 0) {
        bool grip = false;
        for (HWND d = dialog; d != nullptr; d = GetParent(d)) {
            if (dialog_has_size_grip(d))
                grip = true;
            if (!(GetWindowLongA(d, GWL_STYLE) & WS_CHILD) || !is_dialog_window(GetParent(d)))
                break;
        }
        if (!grip)
            return;
    }
    HWND partner = r ? r->updown_partner : nullptr;
    if (is_text_entry(w)) {
        EnableWindow(w, state == 1 || state == 2);
        SendMessageA(w, EM_SETREADONLY, state == 2, 0);
        if (partner)
            EnableWindow(partner, state == 1);
    } else if (has_read_only_look(w)) {
        field_class_hooks(w)->enable(w, state);
    } else {
        EnableWindow(w, state == 1);
    }
    const int show = state == 3 ? SW_HIDE : SW_SHOWNA;
    ShowWindow(w, show);
    if (partner)
        ShowWindow(partner, show);
    if (is_class(w, atoms().tab)) {
        const int selected = static_cast<int>(SendMessageA(w, TCM_GETCURSEL, 0, 0));
        int page_id = 0;
        if (selected >= 0 && tab_item_page(w, selected, page_id)) {
            const int slot = dialog_index_by_id(page_id);
            if (slot > 0) {
                HWND page = dialog_table().windows[static_cast<std::size_t>(slot)];
                if (focus == page || IsChild(page, focus))
                    had_focus = true;
                ShowWindow(page, show);
            }
        }
    }
    if (is_class(w, atoms().static_text))
        InvalidateRect(w, nullptr, TRUE);
    if (!(redraw_mode != 0 && r && r->graphics_field))
        redraw_now(w);
    const bool lose = state == 0 || state == 3 || (state == 2 && !is_text_entry(w) && !has_read_only_look(w));
    if (had_focus && lose) {
        DialogRecord* dr = dialog_record_of(dialog);
        if (dr)
            dr->active_field = nullptr;
        SetFocus(dr && dr->host_window ? dr->host_window : dialog);
        // The dialog hands the focus on to one of its fields; when that
        // would be none or the field just hidden, the first tab stop takes it.
        HWND now = GetFocus();
        if (now == nullptr || now == w || !IsWindowVisible(now))
            dialog_focus_first_tab_stop(dialog, dialog, 1);
    }
}

int field_set_state(int id, int state, int redraw_mode)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    field_set_state_window(w, state, redraw_mode);
    return 0;
}

int field_clear(int id)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    const ControlClassAtoms& a = atoms();
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    bool radio_group = false;
    if (is_text_entry(w) || is_class(w, a.static_text) ||
        (is_class(w, a.button) && ((style & 0xF) == 0 || (style & 0xF) == 1 || (style & 0xF) == 7))) {
        SetWindowTextA(w, "");
        if (is_text_entry(w))
            SendMessageA(w, EM_SETMODIFY, FALSE, 0);
    } else if (is_class(w, a.combobox)) {
        SendMessageA(w, CB_RESETCONTENT, 0, 0);
    } else if (is_class(w, a.listbox)) {
        SendMessageA(w, LB_RESETCONTENT, 0, 0);
    } else if (is_class(w, a.button) && (style & 0xF) == BS_AUTOCHECKBOX) {
        SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
    } else if (is_class(w, a.button) && (style & 0xF) == BS_AUTORADIOBUTTON) {
        HWND first, last;
        field_radio_group_bounds(w, first, last);
        for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT)) {
            SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
            redraw_now(b);
            if (b == last)
                break;
        }
        radio_group = true;
    } else if (is_class(w, a.progress)) {
        const LRESULT old = SendMessageA(w, PBM_SETRANGE, 0, MAKELPARAM(0, 65535));
        SendMessageA(w, PBM_SETRANGE, 0, old);
        SendMessageA(w, PBM_SETPOS, static_cast<WPARAM>(static_cast<short>(LOWORD(old))), 0);
    } else if (const FieldClassHooks* h = field_class_hooks(w)) {
        if (h->clear == nullptr)
            return -1;
        h->clear(w);
    } else if (is_class(w, a.trackbar) && (style & TBS_ENABLESELRANGE)) {
        SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
    } else if (is_class(w, a.treeview)) {
        SendMessageA(w, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    } else {
        return -1;
    }
    if (!radio_group) {
        if (FieldRecord* r = field_record_of(w)) {
            r->value = 0.0;
            r->has_value = 0;
        }
    }
    redraw_now(w);
    return 0;
}

int field_set_option(int id, int code, int value)
{
    HWND w = current_field(id);
    if (id == 0) {
        const WindowTables& t = window_tables();
        const WindowContentRecord* c = win_content_record(t.windows[static_cast<std::size_t>(t.current)].frame);
        if (c != nullptr && content_kind_services(c->kind).subject_is_field)
            w = c->subject;
    }
    if (w == nullptr)
        return -1;
    if (code < 1 || code > 4)
        return 0;
    if (const FieldClassHooks* h = field_class_hooks(w))
        return h->set_option != nullptr ? h->set_option(w, code, value) : -1;
    FieldRecord* r = field_record_of(w);
    switch (code) {
    case 3:
        if (!(is_text_entry(w) || is_class(w, atoms().combobox)) || r == nullptr)
            return -1;
        r->change_reporting = value != 0 ? 1 : 0;
        return 0;
    case 4:
        if (!is_number_field(w) || r == nullptr)
            return -1;
        r->blank_allowed = value != 0 ? 1 : 0;
        return 0;
    default:  // options 1 and 2 belong to plug-in classes
        return -1;
    }
}

int field_set_colours(int id, int fr, int fg, int fb, int br, int bg, int bb)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    field_set_colour(w, 1, fr, fg, fb);
    field_set_colour(w, 2, br, bg, bb);
    RedrawWindow(w, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    return 0;
}

int field_rectangle(int id, int& x, int& y, int& width, int& height, int mode)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    RECT rc{};
    if (mode == 1) {
        GetClientRect(w, &rc);
        MapWindowPoints(w, GetParent(w), reinterpret_cast<POINT*>(&rc), 2);
    } else {
        GetWindowRect(w, &rc);
        MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&rc), 2);
    }
    x = rc.left;
    y = rc.top;
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
    return 0;
}

void dialog_base_units(int& horizontal, int& vertical)
{
    RECT rc{0, 0, 4, 8};
    MapDialogRect(dialog_current_window(), &rc);
    horizontal = rc.right;
    vertical = rc.bottom;
}

int dialog_field_drawing_target(int id, int& width, int& height)
{
    HWND dialog = dialog_current_window();
    HWND w = id == 0 ? dialog : current_field(id);
    if (w == nullptr)
        return -1;
    WindowTables& t = window_tables();
    DialogProcState& s = dialog_proc_state();
    // One field context is held at a time: the one taken before goes back
    // when another field becomes the target.
    if (s.field_dc != nullptr) {
        if (t.drawing_dc == s.field_dc)
            t.drawing_dc = t.client_dc;
        ReleaseDC(s.field_dc_window, s.field_dc);
        s.field_dc = nullptr;
        s.field_dc_window = nullptr;
    }
    HDC dc = GetDC(w);
    if (dc == nullptr) {
        t.drawing_dc = t.client_dc;
        return -1;
    }
    s.field_dc = dc;
    s.field_dc_window = w;
    t.drawing_dc = dc;
    t.dc_window = -1;
    t.bitmap_context = false;
    t.metafile_context = false;
    RECT rc{};
    GetClientRect(w, &rc);
    width = rc.right;
    height = rc.bottom;
    gdi_context_prepare(dc);
    if (id == 0) {
        if (DialogRecord* r = dialog_record_of(dialog))
            r->graphics_dialog = 1;
    } else if (FieldRecord* f = field_record_of(w)) {
        f->graphics_field = 1;
    }
    return 0;
}

} // namespace korv
