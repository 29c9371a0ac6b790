// What the Windows printer and metafile drivers share: a back end that
// owns a device context (the printer's, or a metafile being recorded) and
// the GDI objects selected into it, and the driver routine that turns the
// graphics layer's device co-ordinates into that context's units.
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

    // Draws into a context the caller keeps (a memory bitmap), by the
    // rules of the given target, until detach: what the back end draws is
    // then read back pixel for pixel.
    void attach(HDC dc, Target target);
    void detach();

    // The printer: 0, or the system's error code.
    int open_printer(int x_offset, int y_offset, int landscape, int copies, const std::string& title,
                     int& resolution_x, int& resolution_y, int& colours);
    void close_printer();
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
    void line_style(int type) { line_type_ = type >= 0 && type < 8 ? type : 0; }
    void line_width(int width)
    {
        width_ = std::max(0, width);
        dash_pattern();
    }
    void end_cap(int cap);
    void line_join(int join);

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
    void font(int& width, int& height, int& ascent, int angle, int face, int style, const std::string& name);
    void text(int x1, int y1, int x2, int y2, int alignment, bool opaque, std::string_view text);
    int text_width(std::string_view text);
    void clip(int left, int top, int right, int bottom);
    // GradientFill of triangles (three 0-based vertex numbers each); 0 when
    // drawn, else the caller shades pixel by pixel.
    int gradient_triangles(std::span<const int> x, std::span<const int> y, std::span<const std::int32_t> colours,
                           std::span<const int> triangles);
    void image_pixel(int x, int y, std::int32_t rgb);

private:
    Target target_ = Target::printer;
    HDC dc_ = nullptr;
    bool page_pending_ = false;
    int origin_x_ = 0, origin_y_ = 0;
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

    void dash_pattern();
    void make_pen();
    void start_page();
    void start_page_if_pending();
    void release_pen();
    void release_font_and_clip();
    void forget_pen() { cache_ = PenKey{CLR_INVALID, -1, -1, 0xFFFFFFFF, 0xFFFFFFFF}; }
    // A solid GDI line leaves out its last pixel; it is put back.
    void extend_last(POINT from, POINT& to) const;
};

// The printer's context while a document is open, and the metafile's while
// one is recorded; nullptr otherwise.
HDC hc_windows_printer_context();
HDC hc_windows_metafile_context();
// The printer context's window origin.
POINT hc_windows_printer_origin();

// The driver routine of both: device co-ordinates to the context's units,
// colours, fills, pies and texts. The two drivers differ where they
// override.
class GdiDriver : public Device {
public:
    const GdiBackEnd& back_end() const { return back_; }
    void close(DeviceParameters&) override = 0;
    void colour(DeviceParameters&) override;
    void palette(DeviceParameters& p) override { colour(p); }
    void line(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void ellipse_fill(DeviceParameters& p) override { shape(5, p); }
    void quadrilateral_fill(DeviceParameters& p) override { shape(7, p); }
    void rectangle_fill(DeviceParameters& p) override { shape(9, p); }
    void triangle_fill(DeviceParameters& p) override { shape(11, p); }
    void pie_fill(DeviceParameters& p) override { shape(13, p); }
    void polygon_fill(DeviceParameters& p) override { shape(15, p); }
    void image_file(DeviceParameters& p) override;
    void shaded_polygon(DeviceParameters& p) override;
    void arc(DeviceParameters& p) override;
    void character_size(DeviceParameters&) override { font(); }
    void character_angle(DeviceParameters&) override { font(); }
    void text(DeviceParameters& p) override;
    void text_width(DeviceParameters& p) override;
    void clip(DeviceParameters&) override;
    void line_type(DeviceParameters&) override;
    void line_join(DeviceParameters&) override;
    void line_cap(DeviceParameters&) override;

protected:
    GdiBackEnd back_;
    float sx_ = 1, sy_ = 1;
    COLORREF colour_ = RGB(255, 255, 255), previous_ = RGB(255, 255, 255);
    int ascent_ = 0, cell_height_ = 0;

    POINT at(float x, float y) const;
    std::vector<POINT> points(const DeviceParameters& p, std::size_t limit) const;
    static COLORREF inverted(int r, int g, int b);
    // Whether the fill style colours the shape (and the phase -1 restores).
    virtual bool colour_fills() const;
    virtual bool outlined_polygons() const { return true; }
    virtual std::size_t polygon_limit() const { return static_cast<std::size_t>(-1); }
    // The printer puts a text's baseline below its middle; a metafile not.
    virtual bool baseline_offset() const { return true; }
    // 2 when GradientFill may shade, else 1.
    virtual int shading_level() const;
    void shape(int op, DeviceParameters& p);
    void pie_points(const DeviceParameters& p, POINT& centre, int& rx, int& ry, POINT& start, POINT& end) const;
    void font();
};

} // namespace korv
