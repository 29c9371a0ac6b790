// Geometry of the GDI primitive layer that needs no platform: where a solid
// line must end so that its last pixel is drawn, the dash tables and their
// scaling, the pen style of a line type, shape bounding boxes, what a block
// move leaves uncovered, and the point buffer.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace korv {

// The platform leaves out a line's last pixel. For a solid line that runs
// vertically, horizontally or at 45 degrees the end moves one pixel on;
// for any other slope the end stays and the caller sets the end pixel
// itself (when the line is one pixel wide).
struct LineEnd {
    int x, y;
    bool set_end_pixel;
};
LineEnd gdi_line_end(int x1, int y1, int x2, int y2);

// Dash and gap lengths (pixels) of one line type.
struct DashTable {
    int count = 0;
    std::array<std::uint32_t, 6> lengths{};
};
// The base tables of line types 1..7 (entry 0, solid, has none) and the
// scaled copy of each that the pens use; the copies start as the bases.
struct DashTables {
    DashTables();
    std::array<DashTable, 8> base;
    std::array<DashTable, 8> scaled;
};
// Each scaled entry is base * r1 / r0 (r0 the display's pixels per inch,
// r1 a metafile's reference resolution or r0), then line width - 1 is
// added to each gap when the width is 2 or more.
void gdi_dash_tables_scale(DashTables& tables, int r0, int r1, int line_width);

// The platform pen style (PS_SOLID 0, PS_DASH 1, PS_DOT 2, PS_DASHDOT 3,
// PS_DASHDOTDOT 4) of line type 0..7; -1 outside.
int gdi_pen_style(int line_type);

// Bounding box handed to the platform for an ellipse or pie of centre and
// radii; a checker fill (no pen) reaches one pixel further.
struct Box {
    int left, top, right, bottom;
};
Box gdi_shape_box(int xc, int yc, int rx, int ry, bool checker);

// The parts of a moved block that its new place does not cover, as up to
// two inclusive rectangles (left, top, right, bottom).
std::vector<Box> gdi_block_vacated(int x, int y, int xd, int yd, int width, int height);

// Where text of an alignment (0 left, 1 centred, 2 right) is anchored.
struct Point {
    int x, y;
};
Point gdi_text_anchor(int x1, int y1, int x2, int y2, int alignment);

// Face name, pitch-and-family and character set of font families 1..4
// (family 0 takes the caller's face).
struct FontFace {
    std::string_view face;
    int family_flag; // FF_ value
    int charset;     // ANSI_CHARSET 0, SYMBOL_CHARSET 2, DEFAULT_CHARSET 1
};
FontFace gdi_font_face(int family);

// The one buffer of device points that polygon and polyline primitives read.
struct PointBuffer {
    std::vector<std::int32_t> xy; // x, y pairs
};
PointBuffer& point_buffer();
void gdi_points_alloc(int n);
// Stores point i (0-based); an index outside the buffer is ignored.
void gdi_point_put(int x, int y, int i);
void gdi_points_free();
int gdi_points_capacity();

} // namespace korv
