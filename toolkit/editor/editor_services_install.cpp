// Compiled into every Windows program that links the toolkit, so that the
// window layer reaches the editor before main runs. (As a member of the
// static library it could be left out by the linker, since nothing refers
// to it.)
#include "toolkit/editor/editor_record.h"

namespace {

const bool editor_services_installed = (korv::editor_services_register(), true);

} // namespace
