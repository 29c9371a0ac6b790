// Memory bitmaps and metafiles: off-screen pictures that a program creates,
// fills with arrays of RGB values, draws into as a drawing target and
// destroys. The bitmap routines take handles 1..51; the bitmap layer below
// them works on slots 0..50 and returns a status instead of reporting (0
// done, 1021 empty slot, 1066 a refused transfer, 1020 no memory for a new
// bitmap).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

void WBitmapCreate(int& handle, int width, int height, std::optional<std::int32_t> colour = std::nullopt);
// Writes the pixel array (width x height RGB values, top row first) into
// the bitmap: despite its name it puts pixels.
void WBitmapGetData(int handle, std::span<const std::int32_t> pixels);
void WBitmapDestroy(int handle);
// Shows the bitmap in the current child window, scrolling from the offsets:
// mode 1 modal, 2 modeless, 3 modeless with the other windows disabled;
// options 1 keyboard scrolling, 2 drag panning. Errors: 1022 the root
// window, 1021 no such bitmap, 1037 the bitmap is in use, 1038 the window
// holds other content, 1039 a mode outside 1..3 (nothing done) or a window
// inside a parent (shown modeless), 1040 the viewer cannot be made.
void WBitmapView(int handle, int x_offset = 0, int y_offset = 0, int mode = 2, int options = 3);
// Frees metafile slot number 1..20 (error 1060 for another number or a free
// slot). A slot that is the drawing target first gives the target back to
// the window.
void WMetafileDestroy(int number);

namespace korv {

inline constexpr int bitmap_slot_count = 51;

// The highest handle the public routines and the target selection accept:
// 50, or 51 while the page set-up preview draws.
int bmp_handle_limit();
void bmp_handle_limit_set(int limit);

void bmp_destroy(int slot, int& status);
void bmp_size(int slot, int& width, int& height);
void bmp_get_pixels(int slot, std::span<std::int32_t> pixels, int x1, int y1, int x2, int y2, int& status);
// Deletes every slot's bitmap (the root window's closing).
void bmp_destroy_all();

} // namespace korv
