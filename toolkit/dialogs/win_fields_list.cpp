// List boxes and combo boxes: menus, counts, selections and item texts.

#include <windows.h>

#include <algorithm>
#include <string>

#include "korvanthide/fixed_text.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/win_fields.h"

namespace korv {

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

int field_menu_add_item(int id, std::string_view text)
{
    HWND w = current_field(id);
    const int kind = w ? field_menu_kind(w) : -1;
    if (kind == -1)
        return -1;
    const std::string item(text);
    const bool list = kind == 1 || kind == 4;
    SendMessageA(w, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    return 0;
}

int field_menu_select(int id, int selected)
{
    HWND w = current_field(id);
    const int kind = w ? field_menu_kind(w) : -1;
    if (kind == -1)
        return -1;
    if (selected != 0) {
        const UINT message = kind == 1 || kind == 4 ? LB_SETCURSEL : CB_SETCURSEL;
        if (selected < 0 || SendMessageA(w, message, static_cast<WPARAM>(selected - 1), 0) == LB_ERR)
            return -1;
    }
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

int field_combo_select_text(int id, std::string_view text)
{
    HWND w = current_field_of_class(id, atoms().combobox);
    if (w == nullptr)
        return -1;
    const std::string wanted(text);
    const LRESULT found =
        SendMessageA(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()));
    if (found != CB_ERR)
        SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    else
        SetWindowTextA(w, wanted.c_str());
    return 0;
}

int field_get_list_selection(int id, int& item, std::span<char>* text)
{
    HWND w = current_field_of_class(id, atoms().listbox);
    if (w == nullptr)
        return -1;
    const LRESULT sel = SendMessageA(w, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR)
        return -2;
    item = static_cast<int>(sel) + 1;
    if (text)
        item_text_into(w, LB_GETTEXTLEN, LB_GETTEXT, static_cast<int>(sel), *text);
    return 0;
}

int field_get_menu_text(int id, int& item, std::span<char>* text)
{
    HWND w = current_field_of_class(id, atoms().combobox);
    if (w == nullptr)
        return -1;
    const LRESULT sel = SendMessageA(w, CB_GETCURSEL, 0, 0);
    const std::string typed = window_text(w, GetWindowTextLengthA(w));
    if (!typed.empty()) {
        if (sel != CB_ERR) {
            item = static_cast<int>(sel) + 1;
        } else {
            const LRESULT found = SendMessageA(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(typed.c_str()));
            item = found == CB_ERR ? 0 : static_cast<int>(found) + 1;
        }
    } else if (sel != CB_ERR) {
        item = static_cast<int>(sel) + 1;
    } else {
        return -2;
    }
    if (text)
        text_assign(*text, typed);
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

} // namespace korv
