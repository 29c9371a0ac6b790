// The six number-field classes: edit controls that hold one number, three
// of them with an up-down partner (spinners), their keys, their focus cycle
// with the range check, and the spinner step.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>

#include "korvanthide/conversions.h"
#include "korvanthide/window.h"
#include "core/services/grid.h"
#include "core/win_module.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/number_text.h"

namespace korv {

namespace {

// Texts of number fields are read up to this many characters.
constexpr int text_limit = 255;

LRESULT call_edit(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return CallWindowProcA(control_class_atoms().edit_proc, w, m, wp, lp);
}

char decimal_character()
{
    if (!window_tables().decimal_comma)
        return '.';
    const auto sep = static_cast<char>(conversion_state().field_decimal_separator);
    return sep == ' ' || sep == '\0' ? '.' : sep;
}

std::string format_of(const FieldRecord& r)
{
    return r.format.empty() ? std::string(default_number_format) : r.format;
}

// Runs inside the spinner's WM_CREATE, before the window carries WS_VISIBLE:
// the style it is being created with comes from its creation data.
void create_partner(HWND spinner, NumberKind kind, FieldRecord& record, DWORD spin_style)
{
    DWORD style = WS_CHILD | WS_BORDER | UDS_ARROWKEYS | UDS_ALIGNRIGHT;
    if (kind != NumberKind::integer)
        style |= UDS_NOTHOUSANDS;
    if (spin_style & WS_VISIBLE)
        style |= WS_VISIBLE;
    if (spin_style & ES_READONLY)
        style |= WS_DISABLED;
    HWND partner = CreateWindowExA(0, UPDOWN_CLASSA, " ", style, 0, 0, 1, 1, GetParent(spinner),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                   module_instance(), nullptr);
    if (partner == nullptr)
        return; // the field works as a plain number field
    record.updown_partner = partner;
    const std::string text = window_text(spinner, text_limit);
    SendMessageA(partner, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spinner), 0);
    SendMessageA(partner, UDM_SETRANGE, 0, MAKELPARAM(100, -100));
    UDACCEL accel[2] = {{0, 1}, {2, 5}};
    SendMessageA(partner, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel));
    if (kind == NumberKind::integer) {
        const auto pos = static_cast<short>(number_text_leading_integer(text));
        SendMessageA(partner, UDM_SETPOS, 0, MAKELPARAM(pos, 0));
    }
    set_window_text(spinner, text);
    ControlClassAtoms& atoms = control_class_atoms();
    if (atoms.updown_proc == nullptr) {
        atoms.updown_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(partner, GWLP_WNDPROC));
        atoms.updown = window_class_atom(partner);
    }
    SetWindowLongPtrA(partner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&numctl_updown_proc));
}

LRESULT on_create(HWND w, NumberKind kind, WPARAM wp, LPARAM lp)
{
    auto* record = new (std::nothrow) FieldRecord;
    if (record == nullptr)
        return -1; // no field without its record
    record->small_step = 1;
    record->large_step = 5;
    field_record_attach(w, record);
    const LRESULT result = call_edit(w, WM_CREATE, wp, lp);
    std::string text = window_text(w, text_limit);
    const char decimal = decimal_character();
    if (decimal != '.')
        std::replace(text.begin(), text.end(), '.', decimal);
    set_window_text(w, text);
    record->value = number_text_value(text);
    record->has_value = text.empty() ? 0 : 1;
    SendMessageA(w, EM_SETMODIFY, FALSE, 0);
    if (kind == NumberKind::integer) {
        record->maximum_length = 11;
        SendMessageA(w, EM_LIMITTEXT, 11, 0);
    }
    return result;
}

// Rewrites the text of a field the focus has left validly.
void rewrite_after_leaving(HWND w, NumberKind kind, FieldRecord& r)
{
    const std::string text = window_text(w, text_limit);
    const bool modified = SendMessageA(w, EM_GETMODIFY, 0, 0) != 0;
    if (kind == NumberKind::integer) {
        if (text.empty()) {
            r.value = 0;
        } else {
            r.has_value = 1;
            std::int32_t n = 0;
            // A text beyond what the field can hold stays as typed.
            if (numfield_integer_of(number_text_value(text), n)) {
                r.value = n;
                set_window_text(w, number_text_integer(n));
            }
        }
    } else if (modified) {
        if (text.empty()) {
            r.value = 0;
        } else {
            r.has_value = 1;
            const std::string format = format_of(r);
            if (kind == NumberKind::real) {
                const float v = number_text_real_value(text);
                r.value = v;
                set_window_text(w, number_text_real(v, format));
            } else {
                r.value = number_text_value(text);
                set_window_text(w, number_text_double(r.value, format));
            }
        }
    }
    SendMessageA(w, EM_SETMODIFY, FALSE, 0);
}

LRESULT numctl_edit_common(HWND w, NumberKind kind, UINT m, WPARAM wp, LPARAM lp)
{
    FieldRecord* r = field_record_of(w);
    DialogProcState& s = dialog_proc_state();
    switch (m) {
    case WM_CREATE:
        return on_create(w, kind, wp, lp);
    case WM_SETFOCUS:
        if (r != nullptr) {
            if (s.snapshot_on_focus == 1) {
                s.snapshot_on_focus = 0;
                s.saved_text = window_text(w, text_limit);
                s.saved_value = r->value;
            }
            r->tab_flag = 0;
        }
        SendMessageA(w, EM_SETMODIFY, FALSE, 0);
        return call_edit(w, m, wp, lp);
    case WM_KILLFOCUS:
        if (numctl_validate(w, reinterpret_cast<HWND>(wp), 0) != 0)
            return 0;
        call_edit(w, m, wp, lp);
        if (r != nullptr)
            rewrite_after_leaving(w, kind, *r);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_TAB && r != nullptr)
            r->tab_flag = 1;
        if (wp == VK_RETURN && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
            field_press_default_button(w);
            return 0;
        }
        return call_edit(w, m, wp, lp);
    case WM_CHAR: {
        const KeyDecision d =
            numfield_filter_char(kind, static_cast<unsigned char>(wp), decimal_character());
        if (d.action == KeyDecision::refuse) {
            dialog_beep(1);
            return 0;
        }
        if (d.action == KeyDecision::select_all) {
            SendMessageA(w, EM_SETSEL, 0, -1);
            SendMessageA(w, EM_SCROLLCARET, 0, 0);
            return 0;
        }
        return call_edit(w, m, static_cast<unsigned char>(d.ch), lp);
    }
    case WM_NCDESTROY: {
        const LRESULT result = call_edit(w, m, wp, lp);
        delete field_record_detach(w);
        return result;
    }
    default:
        return call_edit(w, m, wp, lp);
    }
}

LRESULT number_proc(HWND w, UINT m, WPARAM wp, LPARAM lp, NumberKind kind, bool spinner)
{
    const LRESULT result = numctl_edit_common(w, kind, m, wp, lp);
    if (spinner && m == WM_CREATE && result != -1) {
        if (FieldRecord* r = field_record_of(w))
            create_partner(w, kind, *r, reinterpret_cast<const CREATESTRUCTA*>(lp)->style);
    }
    return result;
}

bool root_window_handle(HWND window)
{
    const WindowSlot& root = window_tables().windows[0];
    return window != nullptr && (window == root.frame || window == root.client);
}

} // namespace

LRESULT CALLBACK numctl_integer_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::integer, false);
}
LRESULT CALLBACK numctl_integer_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::integer, true);
}
LRESULT CALLBACK numctl_real_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::real, false);
}
LRESULT CALLBACK numctl_real_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::real, true);
}
LRESULT CALLBACK numctl_double_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::double_precision, false);
}
LRESULT CALLBACK numctl_double_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return number_proc(w, m, wp, lp, NumberKind::double_precision, true);
}

LRESULT CALLBACK numctl_updown_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_LBUTTONDOWN) {
        HWND buddy = reinterpret_cast<HWND>(SendMessageA(w, UDM_GETBUDDY, 0, 0));
        if (buddy != nullptr)
            SetFocus(buddy);
    }
    return CallWindowProcA(control_class_atoms().updown_proc, w, m, wp, lp);
}

void numctl_register_classes()
{
    HINSTANCE instance = module_instance();
    HWND parent = window_tables().windows[0].frame;
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, "INTEGEREDIT", &existing))
        return;

    HWND edit = CreateWindowExA(0, "EDIT", " ", parent ? WS_CHILD : WS_POPUP, 0, 0, 0, 0, parent,
                                nullptr, instance, nullptr);
    if (edit == nullptr)
        return;
    ControlClassAtoms& atoms = control_class_atoms();
    atoms.edit_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    atoms.edit = window_class_atom(edit);
    WNDCLASSEXA base{};
    base.cbSize = sizeof base;
    base.style = GetClassLongA(edit, GCL_STYLE);
    base.cbClsExtra = static_cast<int>(GetClassLongA(edit, GCL_CBCLSEXTRA));
    base.cbWndExtra = static_cast<int>(GetClassLongA(edit, GCL_CBWNDEXTRA));
    base.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(edit, GCLP_HICON));
    base.hCursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(edit, GCLP_HCURSOR));
    base.hbrBackground = reinterpret_cast<HBRUSH>(GetClassLongPtrA(edit, GCLP_HBRBACKGROUND));
    DestroyWindow(edit);

    struct Entry {
        const char* name;
        WNDPROC proc;
        ATOM ControlClassAtoms::*atom;
    };
    const Entry entries[] = {
        {"INTEGEREDIT", numctl_integer_edit_proc, &ControlClassAtoms::integer_edit},
        {"INTEGERSPIN", numctl_integer_spin_proc, &ControlClassAtoms::integer_spin},
        {"REALEDIT", numctl_real_edit_proc, &ControlClassAtoms::real_edit},
        {"REALSPIN", numctl_real_spin_proc, &ControlClassAtoms::real_spin},
        {"DOUBLEEDIT", numctl_double_edit_proc, &ControlClassAtoms::double_edit},
        {"DOUBLESPIN", numctl_double_spin_proc, &ControlClassAtoms::double_spin},
    };
    for (const Entry& e : entries) {
        WNDCLASSEXA wc = base;
        wc.lpfnWndProc = e.proc;
        wc.hInstance = instance;
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = e.name;
        atoms.*e.atom = RegisterClassExA(&wc);
    }
}

namespace {

struct Discovered {
    const char* name;
    ATOM ControlClassAtoms::*atom;
    WNDPROC ControlClassAtoms::*proc;
};

void discover(HWND parent, std::span<const Discovered> classes)
{
    ControlClassAtoms& atoms = control_class_atoms();
    for (const Discovered& d : classes) {
        HWND w = CreateWindowExA(0, d.name, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 0, 0, parent,
                                 nullptr, module_instance(), nullptr);
        if (w == nullptr)
            continue;
        atoms.*d.atom = window_class_atom(w);
        if (d.proc != nullptr)
            atoms.*d.proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
        DestroyWindow(w);
    }
}

} // namespace

void numctl_discover_classes(HWND parent)
{
    const Discovered classes[] = {
        {"BUTTON", &ControlClassAtoms::button, &ControlClassAtoms::button_proc},
        {"STATIC", &ControlClassAtoms::static_text, &ControlClassAtoms::static_proc},
        {"msctls_trackbar32", &ControlClassAtoms::trackbar, &ControlClassAtoms::trackbar_proc},
        {"SysTreeView32", &ControlClassAtoms::treeview, &ControlClassAtoms::treeview_proc},
        {"SYSTABCONTROL32", &ControlClassAtoms::tab, &ControlClassAtoms::tab_proc},
    };
    discover(parent, classes);
}

void numctl_discover_more_classes(HWND parent)
{
    const Discovered classes[] = {
        {"#32770", &ControlClassAtoms::dialog, nullptr},
        {"LISTBOX", &ControlClassAtoms::listbox, nullptr},
        {"COMBOBOX", &ControlClassAtoms::combobox, nullptr},
        {"msctls_progress32", &ControlClassAtoms::progress, nullptr},
        {"MSCTLS_UPDOWN32", &ControlClassAtoms::updown, nullptr},
        {"SysHeader32", &ControlClassAtoms::header, nullptr},
        {"SCROLLBAR", &ControlClassAtoms::scrollbar, nullptr},
    };
    discover(parent, classes);
}

int numctl_validate(HWND field, HWND target, int strict)
{
    DialogProcState& s = dialog_proc_state();
    NumberKind kind;
    bool spinner;
    if (s.reentry || grid_services().layout_busy() || !number_field_kind(field, kind, spinner) ||
        root_window_handle(target))
        return 0;
    // The focus leaving for nothing (another program) or for a dialog that
    // is going away is no reason to pull it back.
    if (target == nullptr || dialog_closing(target) || dialog_closing(field))
        return 0;
    FieldRecord* r = field_record_of(field);
    if (r == nullptr)
        return 0;

    s.pending_tab = nullptr;
    if (target != field) {
        s.pending_button = nullptr;
        if (r->tab_flag == 0 && is_push_button(target) && GetDlgCtrlID(target) != 1)
            s.pending_button = field;
        else if (is_class(target, control_class_atoms().tab))
            s.pending_tab = field;
    }

    const std::string text = window_text(field, text_limit);
    TextReading reading;
    reading.blank = text.find_first_not_of(' ') == std::string::npos;
    if (!reading.blank)
        reading.number = number_text_read(text, reading.value);
    CheckContext context;
    context.kind = kind;
    context.range = {r->minimum, r->maximum};
    context.has_value = r->has_value == 1;
    context.blank_allowed = r->blank_allowed != 0;
    context.lenient = target == field && strict == 0;

    if (numfield_text_passes(reading, context)) {
        if (target != field) {
            s.pending_button = nullptr;
            s.pending_tab = nullptr;
            s.snapshot_on_focus = 1;
        }
        return 0;
    }
    if (s.pending_button != nullptr)
        return 0; // the push button settles it
    s.reentry = 1;
    field_refocus_invalid(target, field, r->tab_flag);
    s.reentry = 0;
    return 1;
}

void field_refocus_invalid(HWND target, HWND field, int tab_flag)
{
    if (target != field)
        dialog_beep(2);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    if (!is_push_button(target))
        return;
    HWND dialog = GetParent(target);
    const int def_id = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    if (def_id == GetDlgCtrlID(target))
        return;
    HWND def_button = def_id != 0 ? GetDlgItem(dialog, def_id) : nullptr;
    if (tab_flag != 0) {
        SendMessageA(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        if (def_button != nullptr)
            SendMessageA(def_button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    } else {
        SendMessageA(target, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        if (def_button != nullptr)
            SendMessageA(def_button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

void field_press_default_button(HWND field)
{
    HWND dialog = GetParent(field);
    while (dialog != nullptr && !is_dialog_window(dialog))
        dialog = GetParent(dialog);
    if (dialog == nullptr)
        return;
    const LRESULT answer = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    const int id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
    while ((GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) && is_dialog_window(GetParent(dialog)))
        dialog = GetParent(dialog);
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button))
        return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(button));
}

LRESULT numctl_spin_step(HWND spinner, LPARAM notification)
{
    auto* nm = reinterpret_cast<NMUPDOWN*>(notification);
    FieldRecord* r = field_record_of(spinner);
    NumberKind kind;
    bool is_spinner;
    if (r == nullptr || !number_field_kind(spinner, kind, is_spinner) || !is_spinner)
        return 0;
    if (SendMessageA(spinner, EM_GETMODIFY, 0, 0)) {
        const std::string text = window_text(spinner, text_limit);
        r->value = text.empty() ? 0 : number_text_value(text);
    }
    const SpinStep step = numfield_spin(kind, r->value, nm->iDelta, r->small_step, r->large_step,
                                        r->step_base, {r->minimum, r->maximum});
    r->value = step.value;
    if (kind == NumberKind::integer)
        set_window_text(spinner, number_text_integer(step.integer));
    else
        set_window_text(spinner, number_text_double(step.value, format_of(*r)));
    SendMessageA(spinner, EM_SETMODIFY, FALSE, 0);
    r->has_value = 1;
    nm->iDelta = 0;
    return 1;
}

void dialog_beep(int kind)
{
    MessageBeep(kind == 2 ? dialog_proc_state().validation_sound : 0);
}

void dialog_set_option(int code, int value)
{
    DialogProcState& s = dialog_proc_state();
    if (code == 1) {
        if (value == 1)
            s.validation_sound = 0;
        else if (value == 2)
            s.validation_sound = MB_ICONASTERISK;
        else if (value == 3)
            s.validation_sound = MB_ICONEXCLAMATION;
    } else if (code == 4) {
        s.grid_blank_default = value != 0 ? 1 : 0;
    }
}

} // namespace korv
