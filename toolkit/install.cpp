// The part of the install file that needs no Windows API: hardcopy's
// platform-free services.
#include "core/context.h"
#include "core/services/install.h"
#include "plugin_register.h"

namespace korv {

void toolkit_install_portable()
{
    bool& installed = toolkit_context().record<bool>(ContextSlot::install_portable);
    if (installed)
        return;
    installed = true;
    hardcopy_services_register();
}

} // namespace korv
