// The install file: every plug-in fills its service tables here, once, when
// the toolkit starts. It is an ordinary member of the toolkit's libraries,
// reached from start-up, so a program linked by hand gets the same toolkit
// as one built through the project's targets.
#include "core/errors_text.h"
#include "core/context.h"
#include "core/services/install.h"
#include "plugin_register.h"

namespace korv {

void toolkit_install()
{
    bool& installed = toolkit_context().record<bool>(ContextSlot::install_windows);
    if (installed)
        return;
    installed = true;
    toolkit_install_portable();
    editor_services_register();
    grid_services_register();
    hardcopy_services_register_win();
    win_error_outputs_install();
    cdlg_error_outputs_install();
}

} // namespace korv
