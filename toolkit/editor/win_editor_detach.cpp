// Taking an editor off a window that stays open: the window is as it was
// before the editor came, with its own title, menu, status bar and client
// area.
#include "editor/editor_operations_win.h"

#include "korvanthide/dialogs_win.h"
#include "korvanthide/menus.h"

#include <commctrl.h>

namespace korv {

namespace {

WindowSlot* slot_of(int window)
{
    return window >= 0 && window <= max_window ? &window_tables().windows[static_cast<std::size_t>(window)] : nullptr;
}

// The editor's menu comes off the frame it shows on: the window's own, or
// the outermost frame of split panes, which gets its own menu back.
void menu_detach(HWND frame, EditorWindowRecord& record, int window)
{
    if (record.menu_bar == nullptr) return;
    HWND shown_on = frame;
    if (GetMenu(frame) != record.menu_bar) {
        HWND outer = GetAncestor(frame, GA_ROOT);
        if (outer != nullptr && GetMenu(outer) == record.menu_bar) shown_on = outer;
    }
    if (GetMenu(shown_on) == record.menu_bar) {
        WindowSlot* owner = slot_of(win_number_from_handle(shown_on));
        HMENU own = shown_on != frame && owner != nullptr && owner->menu != record.menu_bar ? owner->menu : nullptr;
        SetMenu(shown_on, own);
        DrawMenuBar(shown_on);
    }
    win_menu_strings_free(record.menu_bar, window);
    if (WindowSlot* slot = slot_of(window); slot != nullptr && slot->menu == record.menu_bar) {
        slot->menu = nullptr;
        slot->menu_help = nullptr;
    }
    DestroyMenu(record.menu_bar);
    record.menu_bar = nullptr;
}

} // namespace

void edit_resources_free(EditorWindowRecord& record)
{
    if (record.find_dialog != nullptr) {
        DestroyWindow(record.find_dialog);
        record.find_dialog = nullptr;
    }
    WindowSlot* slot = slot_of(edit_window_number(record));
    if (record.mode == 3) {
        DialogTable& dialogs = dialog_table();
        dialogs.semi_modeless_count = std::max(0, dialogs.semi_modeless_count - 1);
        HWND owner = slot != nullptr && slot->reactivate != nullptr ? slot->reactivate : window_tables().windows[0].frame;
        dialog_enable_other_windows(owner, 1);
        if (owner != nullptr) {
            win_activate(owner);
            SetFocus(owner);
        }
        record.mode = 2;
    }
    for (HACCEL* table : {&record.builtin_accelerators, &record.pane_accelerators}) {
        if (*table != nullptr) DestroyAcceleratorTable(*table);
        *table = nullptr;
    }
    if (record.font != nullptr && !record.stock_font) DeleteObject(record.font);
    record.font = nullptr;
    for (HANDLE& file : record.open_files) {
        if (file != nullptr) {
            CloseHandle(file);
            file = nullptr;
        }
    }
}

void edit_contents_detach(HWND frame)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) return;
    const int window = edit_window_number(*record);
    WindowSlot* slot = slot_of(window);
    edit_resources_free(*record);
    menu_detach(frame, *record, window);
    for (HWND part : {record->toolbar, record->command_line, record->prompt_frame, edit_control(*record)})
        if (part != nullptr) DestroyWindow(part);
    SetWindowTextA(frame, record->saved_caption.c_str());
    if (record->status_bar != nullptr) {
        int whole = -1;
        SendMessageA(record->status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        SendMessageA(record->status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        if (slot != nullptr) {
            slot->status_widths = {};
            slot->status_widths[0] = -1;
        }
    }
    win_content_record_set(frame, nullptr);
    if (record->previous_proc != nullptr)
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_proc));
    delete record;
    // The window's own procedure lays its client area out again.
    RECT client{};
    GetClientRect(frame, &client);
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (slot != nullptr && slot->client != nullptr) ShowWindow(slot->client, SW_SHOW);
}

} // namespace korv
