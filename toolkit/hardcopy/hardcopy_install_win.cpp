// Compiled into every Windows program that links the toolkit, so that the
// base reaches the printer side of hardcopy before main runs (see
// hardcopy_install.cpp).
#include "toolkit/core/services/hardcopy.h"

namespace {

const bool hardcopy_printer_services_registered = (korv::hardcopy_services_register_win(), true);

} // namespace
