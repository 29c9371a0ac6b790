// Drawing in user co-ordinates: colours and the palette, units, area and
// clipping, line and fill attributes and rectangles. The public routines
// keep the toolkit's names; the gr_ routines are shared with the drivers
// and the window layer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// ---- colours ----
void IGrColourModeSelect(int mode);
void IGrColourN(int colour);
void IGrColour(std::string_view name);
void IGrColourRestore(int index, int rgb, int device_colour, int side);
void IGrStateSaveRestore(int what);

// ---- units, area ----
void IGrUnits(float x1, float y1, float x2, float y2);
void IGrArea(float x1, float y1, float x2, float y2);

// ---- line and fill attributes, rectangles ----
void IGrFillStyleSet(int style, std::optional<int> density = std::nullopt, std::optional<int> angle = std::nullopt);
void IGrDrawModeSet(std::optional<int> mode = std::nullopt);
void IGrLineTypeSet(std::optional<int> type = std::nullopt);
void IGrAreaOutline();
void IGrRectangle(float x1, float y1, float x2, float y2);
void IGrRectangleFromPosition(float dx, float dy);
void IGrRectangleOrdered(float x1, float y1, float x2, float y2);

namespace korv {

// ---- palette and colour maths ----
void gr_colour_table_defaults();
void gr_colour_table_set(int index, std::int32_t rgb);
std::int32_t gr_colour_table_get(int index);
std::int32_t gr_colour16_get(int k);
void gr_colour_components(int colour, int& red, int& green, int& blue);
std::int32_t gr_rgb_pack(int red, int green, int blue);
void gr_rgb_unpack(std::int32_t rgb, int* red = nullptr, int* green = nullptr, int* blue = nullptr);
int gr_colour_nearest_index(std::int32_t rgb);
void gr_rgb_to_hsv(std::int32_t rgb, float& h, float& s, float& v);

// ---- units, area, transforms, clipping ----
// Whole part of a real, saturated to the int range (NaN gives 0).
int gr_trunc(float v);
void gr_world_to_device(float x, float y, float& X, float& Y);
void gr_pixel_to_user(float X, float Y, float& x, float& y);
// A position in a bitmap viewer showing a bitmap of wb by hb pixels,
// scrolled to s across, with its view's bottom edge at t.
void gr_viewer_pixel_to_user(float X, float Y, float& x, float& y, int wb, int hb, int s, int t);
void gr_pixel_to_window_units(int px, int py, int& u, int& v);
void gr_window_units_to_pixel(int u, int v, int& px, int& py);
void gr_line_clipped_user(float x1, float y1, float x2, float y2);
void gr_page_aspect();
void gr_page_dimensions_update();

} // namespace korv
