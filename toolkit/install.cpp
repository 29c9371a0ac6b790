// The install file of the native tree: only hardcopy has platform-free
// services to register there.
#include "core/services/hardcopy.h"
#include "core/services/install.h"

namespace korv {

void toolkit_install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    hardcopy_services_register();
}

} // namespace korv
