// Compiled into every Windows program that links the toolkit, so that the
// error reporter reaches the root window's status bar (mode 3) and the
// message box (mode 4) before main runs. (As a member of the static library
// it could be left out by the linker, since nothing refers to it.)
#include "korvanthide/common_dialogs.h"
#include "korvanthide/window_ops.h"

namespace {

const bool window_outputs_installed =
    (korv::win_error_outputs_install(), korv::cdlg_error_outputs_install(), true);

} // namespace
