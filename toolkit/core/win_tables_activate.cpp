// Showing which toolkit window is active.
#include <windows.h>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/window.h"

namespace korv {

void win_activate(HWND handle)
{
    const WindowTables& tables = window_tables();
    if (handle != nullptr && win_number_from_handle(handle) >= 0 && GetFocus() != handle) {
        SetFocus(handle);
    }
    for (int n = 1; n < window_slots; ++n) {
        HWND frame = tables.windows[static_cast<std::size_t>(n)].frame;
        if (frame == nullptr) continue;
        const bool active = handle != nullptr && (handle == frame || IsChild(frame, handle));
        SendMessageA(frame, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    }
    const DialogTable& dialogs = dialog_table();
    for (int slot = 0; slot <= dialogs.loaded && slot <= DialogTable::capacity; ++slot) {
        HWND dialog = dialogs.windows[static_cast<std::size_t>(slot)];
        if (dialog != nullptr) {
            SendMessageA(dialog, WM_NCACTIVATE, dialog == handle ? TRUE : FALSE, 0);
        }
    }
}

void win_frame_click_activate(HWND frame, HWND focus_target)
{
    // The system neither raises nor focuses a child window that is clicked.
    HWND parent = (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(frame) : nullptr;
    const ATOM client_class = window_tables().client_class;
    if (parent != nullptr && client_class != 0 && GetClassLongA(parent, GCW_ATOM) == client_class) {
        BringWindowToTop(frame);
        HWND focus = GetFocus();
        if (focus != frame && !IsChild(frame, focus))
            SetFocus(focus_target != nullptr ? focus_target : frame);
    }
    win_activate(frame);
}

} // namespace korv
