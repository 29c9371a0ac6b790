// The bitmap viewer: a memory bitmap shown in a scrolling window that takes
// the place of a toolkit window's client area.
#pragma once

#include <windows.h>

namespace korv {

// Shows bitmap slot 0..50 in the current window: mode 1 modal (returns when
// the window closes), 2 modeless, 3 modeless with the other windows
// disabled; options 1 keyboard scrolling, 2 drag panning. Status 0 shown;
// 1 root window; 2 empty slot; 3 bitmap in use elsewhere; 4 the window holds
// other content; 5 a window inside a parent, shown modeless (mode becomes
// 2); 6 no viewer window; 9 the client area holds a child window.
void bmp_viewer_show(int slot, int x_offset, int y_offset, int& mode, int options, int& status);

// What bmp_viewer_scroll_position answers for each code.
namespace bmp_viewer_scroll_code {
inline constexpr int bitmap_slot = 3;      // the 1-based slot of the bitmap shown, 0 for none
inline constexpr int across = 4;           // the horizontal scroll position
inline constexpr int down = 5;             // the vertical scroll position
inline constexpr int bitmap_width = 101;
inline constexpr int bitmap_height = 102;
inline constexpr int bottom_edge = 103;    // down plus the page, plus a horizontal bar shown
} // namespace bmp_viewer_scroll_code
// Value 0 unless the window holds a viewer, or for an unknown code.
void bmp_viewer_scroll_position(int window, int code, int& value);

// Takes a modeless viewer off its frame (the client comes back); false
// when the frame holds none.
bool bmp_viewer_detach(HWND frame);

} // namespace korv
