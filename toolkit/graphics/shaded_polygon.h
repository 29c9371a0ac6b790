// Colour-shaded polygons: each vertex carries an RGB value and the inside is
// filled with colours interpolated linearly between them.
//
// A device hands the shaded vertex list of DeviceParameters (poly_x/poly_y
// as the sender gave them, shade_x/shade_y in the device's own whole-pixel
// co-ordinates, shade_value, shade_count) to gr_shaded_polygon_split with
// the routines it has: a triangle routine that fills whole triangle lists
// (GradientFill, a CGM element writer) and/or a per-pixel routine. No
// Windows here: the screen device, the CGM devices and the raster drivers
// all share it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "korvanthide/graphics_state.h"

namespace korv {

// Inclusive, in the device's integer co-ordinates, top <= bottom.
struct ShadeClip {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Sets one pixel of the device.
using ShadePixelRoutine = std::function<void(int x, int y, std::int32_t rgb)>;

// Fills every triangle of the list at once. x, y and colours are the vertex
// arrays (shade_count entries); triangles holds three 0-based vertex numbers
// per triangle. Returns 0 when done; anything else asks for the per-pixel
// fallback.
using ShadeTriangleRoutine =
    std::function<int(std::span<const int> x, std::span<const int> y, std::span<const std::int32_t> colours,
                      std::span<const int> triangles)>;

// Shading mode 2 tries the triangle routine first; any other mode draws
// pixel by pixel. Either routine may be empty: with neither usable nothing
// is drawn. The vertex list is cleaned in place (coincident neighbours
// merged, a repeated closing vertex dropped), so shade_count may drop.
void gr_shaded_polygon_split(DeviceParameters& p, int shading_mode, ShadeClip clip,
                             const ShadePixelRoutine& pixel, const ShadeTriangleRoutine& triangle_routine);

// Ear clipping on the real co-ordinates of a simple polygon: three 0-based
// vertex numbers per triangle. A polygon whose borders cross reports error
// 28 under the current routine name and gives the triangles the last
// attempt found.
std::vector<int> gr_triangulate_polygon(std::span<const float> x, std::span<const float> y);

// Scan-converts the triangle of 0-based vertices a, b, c of the shaded list.
void gr_shade_triangle(const DeviceParameters& p, int a, int b, int c, ShadeClip clip,
                       const ShadePixelRoutine& pixel);

} // namespace korv
