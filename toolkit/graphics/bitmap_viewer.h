// What the event completion asks of the bitmap viewer.
#pragma once

namespace korv {

// Value of a viewer's scroll query by code (4 across, 5 down, 101 and 102
// the bitmap's width and height, 103 the bottom edge); 0 unless the window
// holds a viewer.
void bmp_viewer_scroll_position(int window, int code, int& value);

} // namespace korv
