// The program's module, from which dialogs, menus and pictures are loaded.
#pragma once

#include <windows.h>

namespace korv {

HINSTANCE module_instance();

} // namespace korv
