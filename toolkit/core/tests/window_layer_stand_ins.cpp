// Stand-ins for window-layer routines that are not part of the build yet;
// removed as the real ones arrive.
#include "korvanthide/window.h"

namespace korv {

void win_activate(HWND handle)
{
    if (handle)
        SetFocus(handle);
}

} // namespace korv
