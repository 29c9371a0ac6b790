// Compiled into every program that links the toolkit, so that the base
// reaches the hardcopy side before main runs. (As a member of the static
// library it could be left out by the linker, since nothing refers to it.)
#include "toolkit/core/services/hardcopy.h"

namespace {

const bool hardcopy_services_registered = (korv::hardcopy_services_register(), true);

} // namespace
