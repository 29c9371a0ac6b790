// The bitmap layer below the public bitmap routines: slots 0..50, each
// routine answering with a status instead of reporting (0 done, 1021 empty
// slot, 1066 a refused transfer, 1020 no memory for a new bitmap).
#pragma once

#include <cstdint>
#include <span>

#include "korvanthide/bitmaps.h"

struct HBITMAP__;

namespace korv {

void bmp_create(int& handle, int width, int height, std::int32_t colour);
void bmp_free_slot_count(int& count);
void bmp_fill_rect(int slot, int x1, int y1, int x2, int y2, std::int32_t colour, int& status);
void bmp_put_pixels(int slot, std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int& status);
void bmp_copy_from_screen(int slot, int x, int y, int width, int height, int& status);
void bmp_draw_rop(int slot, int source_x, int source_y, int x, int y, int width, int height, int direction,
                  int& status);
void bmp_draw_stretched(int slot, int stretch, int x, int y, int width, int height, int& status);
void bmp_draw_pixels_blended(std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int width,
                             int height, int mode, int factor);
void bmp_load_resource(int slot, int resource_id, int& status);
void bmp_resource_size(int resource_id, int& width, int& height);
void bmp_mirror(int slot, int direction, int& viewer, int& status);
void bmp_rotate(int slot, int angle, int& viewer, int& status);
void bmp_resize(int slot, int width, int height, int& viewer, int& status);
void bmp_raster_op_set(int mode);
void bmp_stretch_mode_set(int mode);
void bmp_stretch_mode_get(int& mode);
// Makes the slot's bitmap the drawing target: status 0 and its size, 1 when
// the slot is empty.
void bmp_select_target(int slot, int& status, int& width, int& height);
int bmp_viewer_find(int slot);
// The platform bitmap of a slot, or none.
HBITMAP__* bmp_slot_handle(int slot);

} // namespace korv
