// The GDI primitive layer: one routine per drawing primitive on the drawing
// context of the current target (window client, memory bitmap, dialog
// graphics field or recording metafile), with the current GDI colour, pen,
// checker pattern, font and clip region. Co-ordinates are device pixels
// with y growing downwards.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string_view>

#include "graphics/gdi_geometry.h"

namespace korv {

// What this layer keeps beside the context, pen, brush, clip region,
// pattern bitmap and drawing mode that the window tables hold for every
// target.
struct GdiDrawingState {
    COLORREF colour = 0;            // an RGB value, or a palette-index colour
    COLORREF previous = 0xFFFFFF;   // second colour of the checker brush
    int pen_style = PS_SOLID;
    int line_type = 0;
    int line_width = 1;
    DWORD line_cap = PS_ENDCAP_FLAT;
    DWORD line_join = PS_JOIN_MITER;
    bool pattern_dirty = true;      // repaint the checker pattern before use
    HFONT font = nullptr;           // current text font, selected into the context
    HFONT replaced_font = nullptr;  // the font it replaced
    bool system_font = false;       // one of the system's own: never deleted here
    std::array<PALETTEENTRY, 256> palette_entries{};
    DashTables dash_tables;
};

GdiDrawingState& gdi_state();

// Whether colours go through the toolkit palette (256-colour displays).
bool gdi_palette_display();

void gdi_colour_set(int device_colour, std::int32_t rgb);
void gdi_line(int x1, int y1, int x2, int y2);
HBRUSH gdi_checker_brush();
void gdi_ellipse(int xc, int yc, int rx, int ry, int mode, int fill_kind);
void gdi_rectangle_fill(int x1, int y1, int x2, int y2, int fill_kind);
void gdi_pie_fill(int xc, int yc, int rx, int ry, int xs, int ys, int xe, int ye, int fill_kind);
void gdi_polygon_fill(int n, int fill_kind);
void gdi_polyline(int n);
void gdi_arc(int xc, int yc, int rx, int ry, int xs, int ys, int xe, int ye, int fill_density, int fill_style);
void gdi_point(int x, int y);
void gdi_plot_pixel(int x, int y, std::int32_t rgb);
// Triangles (three 1-based vertex numbers each) shaded through GradientFill;
// status 0 done, 1 failed or not available.
void gdi_gradient_triangles(const int* xs, const int* ys, const std::int32_t* colours, const int* triangles,
                            int n_vertices, int n_triangles, int& status);
void gdi_clear(int width, int height, std::int32_t rgb);
void gdi_font_select(int& width, int& height, int& ascent, int angle, int family, int style,
                     std::string_view face);
void gdi_text(int x1, int y1, int x2, int y2, int alignment, bool opaque, std::string_view text);
void gdi_text_width(int& width, std::string_view text);
void gdi_block_move(int x, int y, int xd, int yd, int width, int height, bool fill, std::int32_t rgb);
void gdi_clip_set(int x1, int y1, int x2, int y2);
void gdi_draw_mode_set(int mode);
void gdi_palette_entry_set(int index, std::int32_t rgb, int phase);
inline void gdi_palette_entry_put(const int& index, const std::int32_t& rgb, const int& phase)
{
    gdi_palette_entry_set(index, rgb, phase);
}
void gdi_line_type_set(int line_type);
void gdi_line_cap_set(int cap);
void gdi_line_join_set(int join);
void gdi_line_width_set(int width);
void gdi_pixel_get(int x, int y, int& red, int& green, int& blue);
void gdi_pen_rebuild();
void gdi_dash_scale();

// Readies a context that has just become the drawing context: a checker
// pattern bitmap made to match it, the drawing mode, a transparent text
// background, the current pen, brush and font selected (what they replace
// is kept to be put back), dashes scaled and the toolkit palette realised.
void gdi_context_prepare(HDC dc);

// Forgets the text font of a drawing context that goes away (its owner
// deselects and deletes it); the next text makes a new one.
void gdi_font_release();

} // namespace korv
