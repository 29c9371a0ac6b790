// Compiled into every Windows program that links the toolkit, so that the
// error reporter reaches the status bar before main runs. (As a member of
// the static library it could be left out, since nothing refers to it.)
#include "korvanthide/window_ops.h"

namespace {

const bool window_outputs_installed = (korv::win_error_outputs_install(), true);

} // namespace
