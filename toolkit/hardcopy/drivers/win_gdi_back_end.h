// What the Windows printer and metafile drivers share: the GDI work of a
// back end that owns a device context (the printer's, or a metafile being
// recorded) and the GDI objects selected into it; the routines of the two
// back ends, twins that draw through it; and the driver routine's steps
// that turn the graphics layer's device co-ordinates into the context's
// units.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/graphics_state.h"

namespace korv {

// Dash and gap lengths of line type 1..7 in device pixels: the screen
// pixels of the dash table scaled to the device, the gaps widened by a wide
// pen's width less one.
std::vector<DWORD> hc_dash_lengths(int line_type, int dpi, int screen_dpi, int width);

// The state of one back end and the GDI work its routines share. Drawing
// takes the pen as it is: the routines make it first where they draw with it.
class GdiBackEnd {
public:
    // How pens are made: the printer's rules, or those of a plain or an
    // enhanced metafile.
    enum class Target { printer, plain_metafile, enhanced_metafile };

    HDC dc() const { return dc_; }
    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }
    // The window extent of a metafile being recorded.
    SIZE extent() const;
    bool is_open() const { return dc_ != nullptr; }
    bool page_pending() const { return page_pending_ && dc_ != nullptr; }

    // Draws into a context the caller keeps (a memory bitmap), by the
    // rules of the given target, until detach: what the back end draws is
    // then read back pixel for pixel.
    void attach(HDC dc, Target target);
    void detach();

    // The printer: 0, or the system's error code.
    // Without a page started; the dash arrays still to be made.
    int open_printer(int width, int height, int x_offset, int y_offset, int landscape, int copies,
                     const std::string& title, int& resolution_x, int& resolution_y, int& colours);
    void close_printer();
    void start_page();
    void end_page();

    // A metafile of type 0 plain, 1 placeable, 2 enhanced, to a file or
    // (clipboard set) the clipboard; width and height in tenths of a point
    // come back in the metafile's units. 0, or the system's error code.
    int open_metafile(int& width, int& height, int type, bool system_dashes, bool geometric, bool clipboard,
                      const std::string& file, const std::string& description, const std::string& placeable_header);
    // 0, or the error number of a clipboard that could not be opened.
    int close_metafile();

    void colour(COLORREF c)
    {
        previous_ = colour_;
        colour_ = c;
    }
    // A type outside 0..7 keeps the type before it.
    void line_style(int type)
    {
        if (type >= 0 && type < 8)
            line_type_ = type;
    }
    void line_width(int width) { width_ = std::max(0, width); }
    void end_cap(int cap);
    void line_join(int join);
    void make_pen();
    void dash_pattern();

    void line(int x1, int y1, int x2, int y2);
    void polyline(const std::vector<POINT>& points);
    void polygon(const std::vector<POINT>& points, bool outline);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int cx, int cy, int rx, int ry, int fill_style);
    void pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
    void arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style);
    void thick_point(int x, int y);
    void pixel(int x, int y);
    // width and height in; the printer gives back the cell height and ascent.
    void font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name);
    void text(int x1, int y1, int x2, int y2, int alignment, bool opaque, std::string_view text);
    int text_width(std::string_view text);
    void clip(int left, int top, int right, int bottom);
    // GradientFill of triangles (three 1-based vertex numbers each); 0 when
    // drawn, 1 when not.
    int gradient_triangles(const int* x, const int* y, const std::int32_t* colours, int vertex_count,
                           const int* triangles, int triangle_count);
    void image_pixel(int x, int y, std::int32_t rgb);

private:
    Target target_ = Target::printer;
    HDC dc_ = nullptr;
    bool page_pending_ = false;
    int origin_x_ = 0, origin_y_ = 0;
    SIZE page_extent_{1, 1};
    COLORREF colour_ = RGB(255, 255, 255), previous_ = RGB(255, 255, 255);
    HPEN pen_ = nullptr;
    HGDIOBJ replaced_pen_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ replaced_font_ = nullptr;
    HRGN clip_ = nullptr;
    int dpi_ = 600, width_ = 0, line_type_ = 0;
    DWORD cap_ = PS_ENDCAP_FLAT, join_ = PS_JOIN_MITER;
    bool system_dashes_ = false, geometric_ = false;
    // The metafile's own: its type, the clipboard, the frame in hundredths
    // of a millimetre, the placeable file's header.
    int metafile_type_ = 0;
    bool clipboard_ = false;
    int frame_width_ = 0, frame_height_ = 0;
    SIZE extent_{1, 1};
    std::string placeable_file_, placeable_header_;
    struct PenKey {
        COLORREF colour;
        int type, width;
        DWORD cap, join;
        bool operator==(const PenKey&) const = default;
    };
    PenKey cache_{CLR_INVALID, -1, -1, 0xFFFFFFFF, 0xFFFFFFFF};
    std::array<std::vector<DWORD>, 8> dashes_;

    void release_pen();
    void release_font_and_clip();
    void forget_pen() { cache_ = PenKey{CLR_INVALID, -1, -1, 0xFFFFFFFF, 0xFFFFFFFF}; }
    // A solid GDI line leaves out its last pixel; it is put back.
    void extend_last(POINT from, POINT& to) const;
};

// The printer back end, one for the program. Integers are device units;
// every routine that draws first starts a page when one is pending.
// hc_printer_open: error_flag 1 and the system's code when the printer or
// its document cannot be had; document is the print job's name.
void hc_printer_open(int width, int height, int x_offset, int y_offset, int& resolution_x, int& resolution_y,
                     int& colours, int& error_flag, int& error_code, int landscape, int copies,
                     std::string_view document);
void hc_printer_start_page();
void hc_printer_end_page();
void hc_printer_close();
void hc_printer_colour(int red, int green, int blue);
// (hc_printer_colour_invert needs no Windows API: drivers.h.)
void hc_printer_line(int x1, int y1, int x2, int y2);
// The first count points of the point buffer.
void hc_printer_polyline(int count);
void hc_printer_ellipse(int cx, int cy, int rx, int ry, int fill_style);
void hc_printer_rectangle(int left, int top, int right, int bottom);
void hc_printer_pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
void hc_printer_arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style);
void hc_printer_polygon(int count, int outline);
// Vertex arrays of vertex_count entries; three 1-based vertex numbers per
// triangle. failed: 1 when GradientFill did not draw them.
void hc_printer_gradient_triangles(const int* x, const int* y, const std::int32_t* colours, const int* triangles,
                                   int vertex_count, int triangle_count, int& failed);
void hc_printer_image_pixel(int x, int y, std::int32_t colour);
void hc_printer_thick_point(int x, int y);
// height in: the character height wanted; out: the font's cell height.
void hc_printer_font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name);
void hc_printer_text(int x1, int y1, int x2, int y2, int alignment, int opaque, std::string_view text);
void hc_printer_text_extent(int& width, std::string_view text);
void hc_printer_clip(int left, int top, int right, int bottom);
void hc_printer_line_style(int line_type);
void hc_printer_line_width(int width);
void hc_printer_end_cap(int cap);
void hc_printer_line_join(int join);
void hc_printer_make_pen();
void hc_printer_dash_pattern();

// The metafile back end, the printer's twin on the metafile being
// recorded; none of its routines starts a page.
int hc_metafile_open(int& width, int& height, int type, int system_dashes, int geometric, int clipboard,
                     std::string_view file, const std::string& description, const std::string& placeable_header);
int hc_metafile_close();
void hc_metafile_colour(int red, int green, int blue);
void hc_metafile_colour_invert(int& red, int& green, int& blue);
void hc_metafile_line(int x1, int y1, int x2, int y2);
void hc_metafile_polyline(int count);
// Points first..last (0-based) of the parameter block's vertex arrays,
// truncated into the point buffer and drawn as one polyline.
void hc_metafile_polyline_reals(int first, int last);
void hc_metafile_ellipse(int cx, int cy, int rx, int ry, int fill_style);
void hc_metafile_rectangle(int left, int top, int right, int bottom);
void hc_metafile_pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
void hc_metafile_arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style);
void hc_metafile_polygon(int count);
void hc_metafile_gradient_triangles(const int* x, const int* y, const std::int32_t* colours, const int* triangles,
                                    int vertex_count, int triangle_count, int& failed);
void hc_metafile_image_pixel(int x, int y, std::int32_t colour);
void hc_metafile_pixel(int x, int y);
void hc_metafile_font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name);
void hc_metafile_text(int x1, int y1, int x2, int y2, int alignment, int opaque, std::string_view text);
void hc_metafile_text_extent(int& width, std::string_view text);
void hc_metafile_clip(int left, int top, int right, int bottom);
void hc_metafile_line_style(int line_type);
void hc_metafile_line_width(int width);
void hc_metafile_end_cap(int cap);
void hc_metafile_line_join(int join);
void hc_metafile_make_pen();
void hc_metafile_dash_pattern();

// The printer's context while a document is open, and the metafile's while
// one is recorded; nullptr otherwise.
HDC hc_windows_printer_context();
HDC hc_windows_metafile_context();
// The printer context's window origin.
POINT hc_windows_printer_origin();

// The back-end routines a driver routine draws through: the printer's or
// the metafile's.
struct GdiBackEndRoutines {
    void (*colour)(int red, int green, int blue);
    void (*colour_invert)(int& red, int& green, int& blue);
    void (*line)(int x1, int y1, int x2, int y2);
    void (*polyline)(int count);
    void (*ellipse)(int cx, int cy, int rx, int ry, int fill_style);
    void (*rectangle)(int left, int top, int right, int bottom);
    void (*pie)(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
    void (*arc)(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style);
    void (*polygon)(int count, int outline);
    void (*gradient_triangles)(const int* x, const int* y, const std::int32_t* colours, const int* triangles,
                               int vertex_count, int triangle_count, int& failed);
    void (*image_pixel)(int x, int y, std::int32_t colour);
    void (*font)(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name);
    void (*text)(int x1, int y1, int x2, int y2, int alignment, int opaque, std::string_view text);
    void (*text_extent)(int& width, std::string_view text);
    void (*clip)(int left, int top, int right, int bottom);
    void (*line_style)(int line_type);
    void (*line_width)(int width);
    void (*end_cap)(int cap);
    void (*line_join)(int join);
};

// The steps of the driver routine of both: device co-ordinates to the
// context's units, colours, fills, pies and texts. The two drivers differ
// where they override.
class GdiDriver {
public:
    explicit GdiDriver(const GdiBackEndRoutines& back) : back_(back) {}
    virtual ~GdiDriver() = default;

    // The operations both drivers handle; any other is ignored.
    void operate(int op, DeviceParameters& p);

protected:
    const GdiBackEndRoutines& back_;
    float sx_ = 1, sy_ = 1;
    // The driver's current and previous colour, as the back end has them.
    COLORREF colour_ = RGB(255, 255, 255), previous_ = RGB(255, 255, 255);
    int ascent_ = 0, cell_height_ = 0;

    virtual void select(DeviceParameters& p) = 0;
    virtual void open(DeviceParameters& p) = 0;
    virtual void close() = 0;
    virtual void end_page() = 0;
    virtual void colour();
    virtual void point(DeviceParameters& p) = 0;
    virtual void polyline(DeviceParameters& p);
    virtual void clip();
    virtual void text_width(DeviceParameters& p);
    virtual void line_width() = 0;
    // Whether the fill style colours the shape (and the phase -1 restores).
    virtual bool colour_fills() const;
    virtual int polygon_limit() const { return 0x7FFFFFFF; }
    // The printer puts a text's baseline below its middle; a metafile not.
    virtual bool baseline_offset() const { return true; }
    // The shading level of colour-shaded polygons.
    virtual int shading_level() const;
    // The context an image file is drawn into.
    virtual HDC image_context() const = 0;

    POINT at(float x, float y) const;
    void back_colour(COLORREF c) const { back_.colour(GetRValue(c), GetGValue(c), GetBValue(c)); }
    // The first n vertices of the parameter block into the point buffer; n.
    int buffer_points(const DeviceParameters& p, int limit) const;
    void line(DeviceParameters& p);
    void fill(int op, DeviceParameters& p);
    void filled_shape(int op, DeviceParameters& p);
    void arc(DeviceParameters& p);
    void pie_points(const DeviceParameters& p, POINT& centre, int& rx, int& ry, POINT& start, POINT& end) const;
    void font();
    void text(DeviceParameters& p);
    void image_file(DeviceParameters& p);
    void shaded_polygon(DeviceParameters& p);
};

// The point buffer's first count points.
std::vector<POINT> hc_buffered_points(int count);

} // namespace korv
