// Pixel arithmetic of memory bitmaps that needs no platform: blending with
// transparency, the order in which pixel arrays map onto a rectangle, and
// where rotation and mirroring move a pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace korv {

// One component pair mixed under transparency t (0 opaque source .. 255
// invisible source), each product divided on its own, as the drivers do.
std::int32_t bitmap_blend(std::int32_t source, std::int32_t dest, int t);

using PixelRead = std::function<std::int32_t(int x, int y)>;
using PixelWrite = std::function<void(int x, int y, std::int32_t rgb)>;

// Draws a pixel array (rows of x1..x2, top row y1 first) onto a drawable of
// width by height with transparency by mode 0 (per pixel, top byte),
// 1 (one factor) or 2 (factor, top byte 255 = transparent key). Pixels are
// clipped to the drawable; array elements beyond the span are not read.
void bitmap_draw_blended(std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int width,
                         int height, int mode, int factor, const PixelRead& read, const PixelWrite& write);

// Where pixel (x, y) of a width by height bitmap lands after turning it by
// 90 (a quarter turn anticlockwise on screen), 180 or 270 degrees.
struct PixelPos {
    int x;
    int y;
};
PixelPos bitmap_rotated_position(int x, int y, int width, int height, int angle);
bool bitmap_rotation_valid(int angle);

} // namespace korv
