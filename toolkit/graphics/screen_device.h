// The screen device: carries the graphics layer's operations out on the
// drawing context of the current target through the GDI primitives. The
// arithmetic it does before a primitive (turning y down, rounding, pie
// end points, font sizes, palette batches, the clip rectangle) needs no
// platform and lives in screen_device.cpp.
#pragma once

#include <cstdint>
#include <string_view>

namespace korv {

class Device;

// The screen side has two devices: the GDI device, and the in-memory CGM
// device while a CGM metafile slot is the target. Neither is owned here; an
// install returns the device it replaces (nullptr: none, operations go
// nowhere). The Windows tree installs its GDI device when the root window
// opens unless one is installed already, so a test may install a recording
// device first.
Device* gr_screen_device_install(Device* device);
Device* gr_memory_device_install(Device* device);
// The device that gr_send_screen reaches now.
Device& gr_screen_device();

// Windows tree: the GDI device that the screen side's sender reaches.
Device& gdi_device();
// Windows tree: draws an image file (format code 1 BMP, 2 PCX, 15 PNG) into
// the clip box l, b, r, t (pixels, y up), turned by the rotation, stretched
// when stretch is not 0; status and system code as the image drawing gives.
void gdi_image_rotated(std::string_view file_name, int rotation, int l, int b, int r, int t, int format, int stretch,
                       int stretch_mode, int& status, int& system_code);

// Device rows run down from the top: row = height - y - 1.
inline int screen_flip(int y, int drawable_height)
{
    return drawable_height - y - 1;
}
// Rounded to the nearest whole number, halves away from zero.
int screen_nearest(float v);
// Whole part for v >= 0; one less for negative v with a fraction.
int screen_floor(float v);

// The radial points of a pie in platform co-ordinates. When both fall on
// one pixel of a narrow pie (sweep of 10 degrees or less) the end point is
// moved one pixel so that the platform draws a sliver, not a full ellipse.
struct PiePoints {
    int xs, ys, xe, ye;
};
PiePoints screen_pie_points(int cx, int cy, float rx, float ry, float start_radians, float end_radians,
                            float start_degrees, float sweep_degrees, int drawable_height);

// One palette-entry operation: whether the entry is set and with which
// batch phase, given whether the value changed, whether more entries of the
// batch follow, and whether a batch is open (updated).
struct PaletteStep {
    bool set;
    int phase;
};
PaletteStep screen_palette_step(bool changed, bool more_follow, bool& batch_open);

// Character size in pixels for the font operations: kind 1 and 2 fonts are
// narrowed, each side rounded and at least 1.
struct FontSize {
    int width, height;
};
FontSize screen_font_size(float char_width, float char_height, float span_x, float span_y, int text_kind,
                          int font_family);

// The clip rectangle of operation 24 in platform co-ordinates (left, top,
// right, bottom, right and bottom excluded), or none when the clip box
// covers the whole drawable (never for a dialog graphics field).
struct ClipRect {
    bool off;
    int left, top, right, bottom;
};
ClipRect screen_clip_rect(int l, int b, int r, int t, int drawable_width, int drawable_height, bool dialog_field);

} // namespace korv
