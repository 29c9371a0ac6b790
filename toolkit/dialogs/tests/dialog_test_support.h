// What the dialog tests share beyond testing/gui_support.h: a toolkit
// brought up far enough to load dialogs, a clean dialog table between
// tests, and the fields of the current dialog.
#pragma once

#include <windows.h>

#include "korvanthide/dialogs_win.h"
#include "testing/gui_support.h"

namespace dialog_test {

// Opens what the dialog manager needs of the root window, once per run,
// and resets the event enable table and the dialog table for a test.
void toolkit_up();
// Unloads every dialog (between tests).
void unload_all();

HWND field(int id);

} // namespace dialog_test
