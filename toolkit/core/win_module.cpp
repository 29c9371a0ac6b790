#include "core/win_module.h"

namespace korv {

HINSTANCE module_instance()
{
    return GetModuleHandleA(nullptr);
}

} // namespace korv
