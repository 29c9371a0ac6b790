// Entry points of the editor's search dialogs and printing. Their full
// working comes with the editor's search and printing; until then the
// commands reach these and nothing happens beyond what is stated.
#include <windows.h>

#include "editor/win_editor.h"

namespace korv {

void edit_find_open(HWND /*frame*/, EditorWindowRecord& /*record*/, bool /*replace*/) {}

int edit_find_next(HWND /*frame*/, EditorWindowRecord& /*record*/, FINDREPLACEA& /*block*/)
{
    return 0;
}

int edit_replace_next(HWND /*frame*/, EditorWindowRecord& /*record*/, FINDREPLACEA& /*block*/)
{
    return 0;
}

// The search dialogs of an editor inside a parent: Cancel gives the focus
// back to the dialog's owner.
UINT_PTR CALLBACK edit_find_dialog_hook(HWND dialog, UINT message, WPARAM w, LPARAM /*l*/)
{
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(w) == IDCANCEL && HIWORD(w) == 0) {
        HWND owner = GetParent(dialog);
        if (owner != nullptr) {
            SetFocus(owner);
            win_activate(owner);
        }
    }
    return FALSE;
}

int edit_print(HWND /*frame*/, EditorWindowRecord& /*record*/, int /*range*/, int /*setup*/, int /*start*/,
               int /*end*/, std::string_view /*name*/)
{
    return 0;
}

} // namespace korv
