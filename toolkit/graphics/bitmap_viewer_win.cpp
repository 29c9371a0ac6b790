// The bitmap viewer's scroll query as the event completion asks it.
#include "graphics/bitmap_viewer.h"

namespace korv {

// The bitmap viewer answers its own queries once it exists; until a window
// holds one, every value is 0.
void bmp_viewer_scroll_position(int window, int code, int& value)
{
    (void)window;
    (void)code;
    value = 0;
}

} // namespace korv
