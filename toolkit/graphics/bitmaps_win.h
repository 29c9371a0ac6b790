// What the dialog layer asks of the memory bitmaps beyond the bitmap layer's
// routines: a copy of a slot's bitmap for a picture field.
#pragma once

#include <windows.h>

namespace korv {

// A new bitmap of the slot's size and format with its pixels, copied in one
// transfer between the two bitmaps; the caller owns it. False when no copy
// can be made that way (no such slot, or the slot's bitmap is the drawing
// target, whose context carries the drawing's transforms): the caller then
// copies the pixels through an array.
bool bmp_copy(int slot, HBITMAP& copy);

} // namespace korv
