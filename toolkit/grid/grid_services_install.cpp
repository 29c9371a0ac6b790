// Compiled into every Windows program that links the toolkit, so that the
// grid's services are in place before main runs. (As a member of the static
// library it could be left out by the linker, since nothing refers to it.)
#include "toolkit/grid/grid_classes.h"

namespace {

const bool grid_services_installed = (korv::grid_services_register(), true);

} // namespace
