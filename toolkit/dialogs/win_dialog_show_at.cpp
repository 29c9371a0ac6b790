// Showing the current dialog at the client-area origin of a toolkit window.
#include <windows.h>

#include "korvanthide/common_dialogs.h"
#include "dialogs/dialog_internal.h"

void WDialogShowAtWindow(std::optional<int> focus, std::optional<int> mode, int window)
{
    int x = 0;
    int y = 0;
    korv::cdlg_client_origin_on_screen(window, x, y);
    korv::dialog_show_reporting(x, y, focus.value_or(0), mode.value_or(2), "WDialogShowAtWindow");
}
