// Compiled into every Windows program that links the toolkit, so that the
// reporter's Windows outputs are in place before main runs, whatever the
// program calls first. (As a member of the static library it could be left
// out by the linker, since nothing refers to it.)
#include "toolkit/core/errors_text.h"

namespace {

const bool windows_outputs_installed = (korv::err_outputs_install_win(), true);

} // namespace
