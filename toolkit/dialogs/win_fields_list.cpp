// List boxes and combo boxes: counts, selections and item texts.

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
