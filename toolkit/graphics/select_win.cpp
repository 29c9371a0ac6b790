// The Windows tree's platform services for the graphics layer.
#include "korvanthide/graphics_state.h"

namespace korv {

void gr_platform_install()
{
    // The window, bitmap, dialog and metafile layers and the GDI device are
    // bound here as they arrive; until then the defaults stay installed.
}

} // namespace korv
