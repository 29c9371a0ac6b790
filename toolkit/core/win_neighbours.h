// Entry points of neighbouring layers that the window layer calls and whose
// headers have not been published yet.
#pragma once

namespace korv {

// Units and transforms.
void gr_pixel_to_user(float px, float py, float& x, float& y);
void gr_viewer_pixel_to_user(float px, float py, float& x, float& y, int window);
void gr_pixel_to_window_units(int px, int py, int& u, int& v);
void bmp_viewer_scroll_position(int window, int code, int& value);

// Window text state reset for a new root window; memory bitmaps given back.
void win_text_state_reset();
void bmp_slots_release();

// Editor rows of a window (start-up's table).
void editor_rows_release(int window);

} // namespace korv
