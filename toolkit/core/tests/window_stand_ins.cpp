// Stand-ins for the dialog manager's part in opening and closing the root
// window, for linking the window tests until the dialog manager provides it.
#include <windows.h>

#include "korvanthide/window.h"

namespace korv {

void numctl_register_classes() {}
void dialog_root_opened() {}
bool dialog_extras_anchor(HWND, int) { return false; }
HWND dialog_embed(int, int, bool) { return nullptr; }
void dialog_embedded_close(HWND) {}
void dialog_root_closed() {}
bool dialog_host(HWND, int&, int&) { return false; }
HWND dialog_current_window() { return nullptr; }
void dialog_table_nc_activate(HWND) {}

} // namespace korv

void WDialogSelect(int) {}
