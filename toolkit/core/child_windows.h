// Platform-free arithmetic of child windows.
#pragma once

namespace korv {

// Window units 0..9999 of a parent's client extent: a position lands on
// p (extent - 1) / 9999, a size covers s extent / 9999 pixels.
int child_units_to_position(int units, int extent);
int child_units_to_size(int units, int extent);

} // namespace korv
