// The part of the install file that needs no Windows API: hardcopy's
// platform-free services.
#include "core/services/install.h"
#include "plugin_register.h"

namespace korv {

void toolkit_install_portable()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    hardcopy_services_register();
}

} // namespace korv
