// Radio buttons and check boxes.

#include <windows.h>

#include "dialogs/dialog_internal.h"
#include "dialogs/win_fields.h"

namespace korv {

namespace {

int radio_type(HWND w) { return button_type(w); }

// The field when it is an automatic check box or radio button.
HWND check_box_or_radio_button(int id)
{
    HWND w = current_field_of_class(id, atoms().button);
    const int t = w ? radio_type(w) : -1;
    return t == BS_AUTOCHECKBOX || t == BS_AUTORADIOBUTTON ? w : nullptr;
}

} // namespace

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
    HWND w = current_field_of_class(id, atoms().button);
    if (w == nullptr || radio_type(w) != BS_AUTORADIOBUTTON)
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
    HWND w = current_field_of_class(id, atoms().button);
    if (w == nullptr || radio_type(w) != BS_AUTORADIOBUTTON)
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
    HWND w = check_box_or_radio_button(id);
    if (w == nullptr)
        return -1;
    SendMessageA(w, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    return 0;
}

int field_get_check_box(int id, int& state)
{
    HWND w = check_box_or_radio_button(id);
    if (w == nullptr)
        return -1;
    state = static_cast<int>(SendMessageA(w, BM_GETCHECK, 0, 0));
    return 0;
}

} // namespace korv
