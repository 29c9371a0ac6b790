// The field layer: back ends that act on one field of the current dialog
// by its control identifier and answer a code (-1 missing field or class
// not accepted, -2 and -3 per operation). Writing a field posts no event.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "korvanthide/bitmaps.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/win_module.h"
#include "graphics/gdi_primitives.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/field_classes.h"
#include "dialogs/number_text.h"
#include "dialogs/win_fields.h"
#include "graphics/metafile_win.h"

namespace korv {

namespace {

const ControlClassAtoms& atoms() { return control_class_atoms(); }

bool is_text_entry(HWND w) { return is_edit_family(w); }

// A field of a plug-in class that shows a read-only look of its own.
bool has_read_only_look(HWND w)
{
    const FieldClassHooks* h = field_class_hooks(w);
    return h != nullptr && h->read_only != nullptr;
}

void redraw_now(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

int radio_type(HWND w) { return button_type(w); }

// Tree items by number: depth first, an item, its children, its next sibling.
HTREEITEM tree_find(HWND tree, HTREEITEM item, int number)
{
    while (item != nullptr) {
        TVITEMA info{};
        info.mask = TVIF_PARAM | TVIF_HANDLE;
        info.hItem = item;
        if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) && info.lParam == number)
            return item;
        auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (HTREEITEM found = tree_find(tree, child, number))
            return found;
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return nullptr;
}

HTREEITEM tree_root(HWND tree)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM tree_item(HWND tree, int number) { return tree_find(tree, tree_root(tree), number); }

bool tree_has_children(HWND tree, HTREEITEM item)
{
    return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
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

int field_put_string(int id, double value, std::string_view text, std::string_view format)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    FieldRecord* r = field_record_of(w);
    const int reporting = r ? r->change_reporting : 0;
    if (r)
        r->change_reporting = 0;
    const std::string terminated(text);
    if (!SetWindowTextA(w, terminated.c_str())) {
        if (r)
            r->change_reporting = reporting;
        return -1;
    }
    if (r != nullptr) {
        r->value = value;
        double read = 0;
        if (value == 0.0 && number_text_read(text, read))
            r->value = read;
        r->has_value = text.find_first_not_of(' ') != std::string_view::npos ? 1 : 0;
        r->format = std::string(format);
    }
    if (is_text_entry(w))
        SendMessageA(w, EM_SETMODIFY, FALSE, 0);
    redraw_now(w);
    if (r)
        r->change_reporting = reporting;
    return 0;
}

int field_get_number(int id, double& value)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    const std::string text = window_text(w, 254);
    if (text.find_first_not_of(' ') == std::string::npos)
        return -2;
    const FieldRecord* r = field_record_of(w);
    if (is_number_field(w) && r != nullptr && SendMessageA(w, EM_GETMODIFY, 0, 0) == 0) {
        value = r->value;
        return 0;
    }
    value = number_text_value(text);
    return 0;
}

int field_check_number_range(int id, double value)
{
    HWND w = current_field(id);
    const FieldRecord* r = field_record_of(w);
    if (w == nullptr)
        return -1;
    if (r != nullptr && r->has_range() && (value < r->minimum || value > r->maximum))
        return -2;
    return 0;
}

int field_get_format(int id, std::span<char> format)
{
    HWND w = current_field(id);
    NumberKind kind;
    bool spinner;
    const FieldRecord* r = field_record_of(w);
    std::string_view f = default_number_format;
    if (w != nullptr && r != nullptr && !r->format.empty() && number_field_kind(w, kind, spinner) &&
        kind != NumberKind::integer)
        f = r->format;
    text_assign(format, f);
    return 0;
}

int field_set_integer_range(int id, double minimum, double maximum)
{
    int field = id;
    field_set_number_range(field, minimum, maximum, dialog_current_window());
    return field == -1 ? -1 : 0;
}

int field_set_real_spin_steps(int id, double small_step, double large_step)
{
    HWND w = current_field(id);
    FieldRecord* r = field_record_of(w);
    if (r == nullptr || !is_class(w, atoms().real_spin))
        return -1;
    r->small_step = small_step;
    r->large_step = large_step;
    return 0;
}

int field_set_integer_spin_steps(int id, int small_step, int large_step, int base)
{
    HWND w = current_field(id);
    FieldRecord* r = field_record_of(w);
    if (r == nullptr || !is_class(w, atoms().integer_spin))
        return -1;
    r->small_step = small_step;
    r->large_step = large_step == 0 ? small_step : large_step;
    r->step_base = base;
    return 0;
}

int field_set_double_spin_steps(int id, double small_step, double large_step)
{
    HWND w = current_field(id);
    FieldRecord* r = field_record_of(w);
    if (r == nullptr || !is_class(w, atoms().double_spin))
        return -1;
    r->small_step = small_step;
    r->large_step = large_step;
    return 0;
}

int field_put_trackbar(int id, int position, const int* start, const int* end)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().trackbar))
        return -1;
    SendMessageA(w, TBM_SETPOS, TRUE, position);
    if (start != nullptr && end != nullptr && (GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE)) {
        if (*start < *end) {
            SendMessageA(w, TBM_SETSELSTART, FALSE, *start);
            SendMessageA(w, TBM_SETSELEND, TRUE, *end);
        } else {
            SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
        }
    }
    return 0;
}

int field_get_trackbar(int id, int& position, int& start, int& end)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().trackbar))
        return -1;
    position = static_cast<int>(SendMessageA(w, TBM_GETPOS, 0, 0));
    const int s = static_cast<int>(SendMessageA(w, TBM_GETSELSTART, 0, 0));
    const int e = static_cast<int>(SendMessageA(w, TBM_GETSELEND, 0, 0));
    if ((GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE) && s < e) {
        start = s;
        end = e;
    } else {
        start = end = dialog_proc_state().trackbar_no_selection;
    }
    return 0;
}

int field_set_trackbar_range(int id, int minimum, int maximum, int tick_frequency)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().trackbar))
        return -1;
    SendMessageA(w, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(w, TBM_SETRANGEMAX, TRUE, maximum);
    if (tick_frequency > 0)
        SendMessageA(w, TBM_SETTICFREQ, static_cast<WPARAM>(tick_frequency), 0);
    return 0;
}

int field_set_trackbar_steps(int id, int line, int page)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().trackbar))
        return -1;
    SendMessageA(w, TBM_SETLINESIZE, 0, line);
    SendMessageA(w, TBM_SETPAGESIZE, 0, page <= 0 ? line : page);
    return 0;
}

int field_get_trackbar_range(int id, int& minimum, int& maximum)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().trackbar))
        return -1;
    minimum = static_cast<int>(SendMessageA(w, TBM_GETRANGEMIN, 0, 0));
    maximum = static_cast<int>(SendMessageA(w, TBM_GETRANGEMAX, 0, 0));
    return 0;
}

void field_set_no_selection_value(int value) { dialog_proc_state().trackbar_no_selection = value; }

int field_put_progress(int id, int value, int step)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().progress))
        return -1;
    if (step == 0)
        SendMessageA(w, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    else
        SendMessageA(w, PBM_DELTAPOS, static_cast<WPARAM>(value), 0);
    return 0;
}

int field_set_progress_range(int id, int minimum, int maximum)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().progress))
        return -1;
    SendMessageA(w, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(minimum), static_cast<WORD>(maximum)));
    return 0;
}

void field_radio_group_bounds(HWND button, HWND& first, HWND& last)
{
    const ATOM atom = window_class_atom(button);
    HWND passed = button;
    HWND w = button;
    while (w != nullptr && !(GetWindowLongA(w, GWL_STYLE) & WS_GROUP) && window_class_atom(w) == atom) {
        passed = w;
        w = GetWindow(w, GW_HWNDPREV);
    }
    first = w != nullptr && window_class_atom(w) == atom ? w : passed;
    last = button;
    for (HWND n = GetWindow(button, GW_HWNDNEXT); n != nullptr; n = GetWindow(n, GW_HWNDNEXT)) {
        if (window_class_atom(n) != atom || (GetWindowLongA(n, GWL_STYLE) & WS_GROUP))
            break;
        last = n;
    }
}

int field_put_radio_button(int id)
{
    HWND w = current_field(id);
    if (w == nullptr || radio_type(w) != BS_AUTORADIOBUTTON || !is_class(w, atoms().button))
        return -1;
    HWND first, last;
    field_radio_group_bounds(w, first, last);
    for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT)) {
        SendMessageA(b, BM_SETCHECK, GetDlgCtrlID(b) == id ? BST_CHECKED : BST_UNCHECKED, 0);
        if (b == last)
            break;
    }
    return 0;
}

int field_get_radio_button(int id, int& position)
{
    HWND w = current_field(id);
    if (w == nullptr || radio_type(w) != BS_AUTORADIOBUTTON || !is_class(w, atoms().button))
        return -1;
    HWND first, last;
    field_radio_group_bounds(w, first, last);
    int n = 1;
    for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT), ++n) {
        if (SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            position = n;
            return 0;
        }
        if (b == last)
            break;
    }
    return -2;
}

int field_put_check_box(int id, int state)
{
    HWND w = current_field(id);
    const int t = w ? radio_type(w) : -1;
    if (w == nullptr || !is_class(w, atoms().button) || (t != BS_AUTOCHECKBOX && t != BS_AUTORADIOBUTTON))
        return -1;
    SendMessageA(w, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    return 0;
}

int field_get_check_box(int id, int& state)
{
    HWND w = current_field(id);
    const int t = w ? radio_type(w) : -1;
    if (w == nullptr || !is_class(w, atoms().button) || (t != BS_AUTOCHECKBOX && t != BS_AUTORADIOBUTTON))
        return -1;
    state = static_cast<int>(SendMessageA(w, BM_GETCHECK, 0, 0));
    return 0;
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

// ---- lists and combo boxes ----

int field_list_count(int id, int& count)
{
    HWND w = current_field(id);
    count = w ? static_cast<int>(SendMessageA(w, LB_GETCOUNT, 0, 0)) : 0;
    return 0;
}

int field_list_is_selected(int id, int position, int& state)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    state = static_cast<int>(SendMessageA(w, LB_GETSEL, static_cast<WPARAM>(position), 0));
    return 0;
}

int field_list_set_item_selected(int id, int position, int select)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    const bool want = select == 1;
    const bool is = SendMessageA(w, LB_GETSEL, static_cast<WPARAM>(position), 0) > 0;
    if (want != is)
        SendMessageA(w, LB_SETSEL, want, position);
    return 0;
}

int field_list_select_range(int id, int first, int last, int select)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    if (last <= 65535) {
        SendMessageA(w, LB_SELITEMRANGE, select == 1, MAKELPARAM(first, last));
        return 0;
    }
    for (int i = first; i <= last; ++i)
        field_list_set_item_selected(id, i, select);
    return 0;
}

// Copies an item's text out of a list, combo box or tree into a caller's
// text, bounded by that text's length.
void item_text_into(HWND w, UINT length_message, UINT text_message, int index, std::span<char> text)
{
    const LRESULT n = SendMessageA(w, length_message, static_cast<WPARAM>(index), 0);
    if (n < 0) {
        text_assign(text, {});
        return;
    }
    std::string buffer(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT got = SendMessageA(w, text_message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, n)));
    text_assign(text, buffer);
}

// ---- trees ----

int field_get_tree_selection(int id, int& number, bool want_text, std::span<char> text)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    auto sel = reinterpret_cast<HTREEITEM>(SendMessageA(w, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (sel == nullptr)
        return -2;
    std::vector<char> buffer(32768, '\0');
    TVITEMA info{};
    info.mask = TVIF_PARAM | TVIF_HANDLE | (want_text ? TVIF_TEXT : 0);
    info.hItem = sel;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(buffer.size());
    SendMessageA(w, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    number = static_cast<int>(info.lParam);
    if (want_text)
        text_copy_terminated(text.data(), text.size(), std::string_view(buffer.data()));
    return 0;
}

int field_tree_select_item(int id, int number)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    if (!is_class(w, atoms().treeview))
        return -2;
    HTREEITEM item = tree_item(w, number);
    if (item == nullptr)
        return -2;
    SendMessageA(w, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageA(w, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    return 0;
}

int field_tree_delete_item(int id, int number)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    HTREEITEM item = tree_item(w, number);
    if (item == nullptr)
        return -2;
    SendMessageA(w, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    return 0;
}

int field_tree_insert_item(int id, int reference, int position_code, int number, std::string_view text)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    std::string caption(text);
    TVINSERTSTRUCTA insert{};
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = caption.data();
    insert.item.lParam = number;
    const bool empty = tree_root(w) == nullptr;
    HTREEITEM ref = nullptr;
    if (empty) {
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_FIRST;
    } else {
        ref = tree_item(w, reference);
        if (ref == nullptr)
            return -2;
        if (dialog_proc_state().tree_unique_numbers && tree_item(w, number) != nullptr)
            return -3;
        auto parent = reinterpret_cast<HTREEITEM>(
            SendMessageA(w, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(ref)));
        if (position_code == 3) {
            insert.hParent = ref;
            insert.hInsertAfter = TVI_LAST;
        } else if (position_code == 1) {
            insert.hParent = parent ? parent : TVI_ROOT;
            auto prev = reinterpret_cast<HTREEITEM>(
                SendMessageA(w, TVM_GETNEXTITEM, TVGN_PREVIOUS, reinterpret_cast<LPARAM>(ref)));
            insert.hInsertAfter = prev ? prev : TVI_FIRST;
        } else {
            insert.hParent = parent ? parent : TVI_ROOT;
            insert.hInsertAfter = ref;
        }
    }
    if (empty && dialog_proc_state().tree_unique_numbers && tree_item(w, number) != nullptr)
        return -3;
    SendMessageA(w, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    if (position_code == 3 && !empty) {
        TVITEMA info{};
        info.mask = TVIF_CHILDREN | TVIF_HANDLE;
        info.hItem = ref;
        SendMessageA(w, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageA(w, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    }
    redraw_now(w);
    return 0;
}

int field_tree_item_expanded(int id, int number, int& state)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    HTREEITEM item = tree_item(w, number);
    if (item == nullptr)
        return -2;
    if (!tree_has_children(w, item))
        return -3;
    const LRESULT s = SendMessageA(w, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
    state = (s & TVIS_EXPANDED) ? 2 : 1;
    return 0;
}

int field_tree_expand_item(int id, int number, int code)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    HTREEITEM item = tree_item(w, number);
    if (item == nullptr)
        return -2;
    if (!tree_has_children(w, item))
        return -3;
    SendMessageA(w, TVM_EXPAND, code == 1 ? TVE_COLLAPSE : TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    return 0;
}

int field_tree_set_item_text(int id, int number, std::string_view text)
{
    HWND w = current_field(id);
    if (w == nullptr || !is_class(w, atoms().treeview))
        return -1;
    HTREEITEM item = tree_item(w, number);
    if (item == nullptr)
        return -2;
    std::string caption(text);
    TVITEMA info{};
    info.mask = TVIF_TEXT | TVIF_HANDLE;
    info.hItem = item;
    info.pszText = caption.data();
    SendMessageA(w, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return 0;
}

void field_tree_unique_numbers(int flag) { dialog_proc_state().tree_unique_numbers = flag; }

void field_tree_copy_items(HWND target, HTREEITEM target_parent, HWND source, HTREEITEM first)
{
    std::vector<char> buffer(32768, '\0');
    for (HTREEITEM item = first; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(
             SendMessageA(source, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA info{};
        info.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN | TVIF_HANDLE;
        info.hItem = item;
        info.pszText = buffer.data();
        info.cchTextMax = 32767;
        info.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        SendMessageA(source, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        buffer.back() = '\0';
        TVINSERTSTRUCTA insert{};
        insert.hParent = target_parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item = info;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
        insert.item.hItem = nullptr;
        auto copy = reinterpret_cast<HTREEITEM>(
            SendMessageA(target, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (copy == nullptr)
            continue;
        if (info.state & TVIS_SELECTED)
            SendMessageA(target, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(copy));
        auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(source, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (child != nullptr)
            field_tree_copy_items(target, copy, source, child);
    }
}

// ---- images ----

namespace {

void destroy_image(HANDLE image, UINT type)
{
    if (image == nullptr)
        return;
    if (type == IMAGE_BITMAP)
        DeleteObject(image);
    else if (type == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(image));
    else if (type == IMAGE_ENHMETAFILE)
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(image));
}

HBITMAP copy_memory_bitmap(int handle)
{
    if (handle < 1 || handle > bmp_handle_limit())
        return nullptr;
    int width = 0;
    int height = 0;
    bmp_size(handle - 1, width, height);
    if (width <= 0 || height <= 0)
        return nullptr;
    std::vector<std::int32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    int status = 0;
    bmp_get_pixels(handle - 1, pixels, 0, 0, width - 1, height - 1, status);
    if (status != 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Pixel arrays hold red in the low byte; DIB rows want blue there.
    for (std::int32_t& p : pixels) {
        const auto v = static_cast<std::uint32_t>(p);
        p = static_cast<std::int32_t>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
    }
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    if (bmp != nullptr)
        SetDIBits(screen, bmp, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bmp;
}

} // namespace

int field_put_image(int id, int image, int kind)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    HANDLE made = nullptr;
    UINT type = IMAGE_BITMAP;
    HINSTANCE instance = module_instance();
    switch (kind) {
    case 2:
        type = IMAGE_ICON;
        made = LoadImageA(instance, image == 0 ? "ICON1" : MAKEINTRESOURCEA(image), IMAGE_ICON, 0, 0, 0);
        break;
    case 3:
        made = copy_memory_bitmap(image);
        break;
    case 4:
        type = IMAGE_ENHMETAFILE;
        made = emf_copy(image - 1);
        break;
    case 5: {
        type = IMAGE_ENHMETAFILE;
        HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(image), "ZOQMETAFILE");
        HGLOBAL data = res ? LoadResource(instance, res) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        const DWORD size = res ? SizeofResource(instance, res) : 0;
        if (bytes != nullptr && size > 0)
            made = SetEnhMetaFileBits(size, static_cast<const BYTE*>(bytes));
        break;
    }
    default:
        made = LoadImageA(instance, MAKEINTRESOURCEA(image), IMAGE_BITMAP, 0, 0, 0);
        break;
    }
    if (made == nullptr)
        return -2;
    if (is_class(w, atoms().static_text)) {
        const LONG style = GetWindowLongA(w, GWL_STYLE) & ~0x1F;
        const LONG low = type == IMAGE_BITMAP ? SS_BITMAP : type == IMAGE_ICON ? SS_ICON : SS_ENHMETAFILE;
        SetWindowLongA(w, GWL_STYLE, style | low);
        HANDLE old = reinterpret_cast<HANDLE>(
            SendMessageA(w, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(made)));
        if (old != made)
            destroy_image(old, type);
    } else if (is_class(w, atoms().button) && type != IMAGE_ENHMETAFILE) {
        LONG style = GetWindowLongA(w, GWL_STYLE) & ~(BS_BITMAP | BS_ICON);
        style |= type == IMAGE_BITMAP ? BS_BITMAP : BS_ICON;
        SetWindowLongA(w, GWL_STYLE, style);
        if (type == IMAGE_BITMAP)
            dialog_draw_transparent_bitmap(static_cast<HBITMAP>(made));
        HANDLE old = reinterpret_cast<HANDLE>(
            SendMessageA(w, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(made)));
        if (old != made)
            destroy_image(old, type);
    } else {
        destroy_image(made, type);
        return -1;
    }
    redraw_now(w);
    return 0;
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
