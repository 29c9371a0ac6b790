// Tree fields: items found, selected, inserted, expanded and copied by their numbers.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "korvanthide/fixed_text.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/win_fields.h"

namespace korv {

namespace {

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

// The tree field id and its item number: 0, or -1 without a tree field and
// -2 without such an item.
int tree_field_item(int id, int number, HWND& tree, HTREEITEM& item)
{
    tree = current_field_of_class(id, atoms().treeview);
    if (tree == nullptr)
        return -1;
    item = tree_item(tree, number);
    return item == nullptr ? -2 : 0;
}

} // namespace

int field_get_tree_selection(int id, int& number, bool want_text, std::span<char> text)
{
    HWND w = current_field_of_class(id, atoms().treeview);
    if (w == nullptr)
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
    HWND w = nullptr;
    HTREEITEM item = nullptr;
    if (const int status = tree_field_item(id, number, w, item); status != 0)
        return status;
    SendMessageA(w, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    return 0;
}

int field_tree_insert_item(int id, int reference, int position_code, int number, std::string_view text)
{
    HWND w = current_field_of_class(id, atoms().treeview);
    if (w == nullptr)
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
    HWND w = nullptr;
    HTREEITEM item = nullptr;
    if (const int status = tree_field_item(id, number, w, item); status != 0)
        return status;
    if (!tree_has_children(w, item))
        return -3;
    const LRESULT s = SendMessageA(w, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
    state = (s & TVIS_EXPANDED) ? 2 : 1;
    return 0;
}

int field_tree_expand_item(int id, int number, int code)
{
    HWND w = nullptr;
    HTREEITEM item = nullptr;
    if (const int status = tree_field_item(id, number, w, item); status != 0)
        return status;
    if (!tree_has_children(w, item))
        return -3;
    SendMessageA(w, TVM_EXPAND, code == 1 ? TVE_COLLAPSE : TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    return 0;
}

int field_tree_set_item_text(int id, int number, std::string_view text)
{
    HWND w = nullptr;
    HTREEITEM item = nullptr;
    if (const int status = tree_field_item(id, number, w, item); status != 0)
        return status;
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

} // namespace korv
