#include "graphics/gdi_primitives.h"
#include "graphics/metafile_win.h"

#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korv {

GdiDrawingState& gdi_state()
{
    return toolkit_context().record<GdiDrawingState>(ContextSlot::gdi_drawing_state);
}

bool gdi_palette_display()
{
    return window_tables().display_palette != nullptr;
}

namespace {

HDC drawing_dc()
{
    return window_tables().drawing_dc;
}

bool metafile_target()
{
    return window_tables().metafile_context;
}

// Selects an object into the drawing context for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selected()
    {
        if (dc_ && old_)
            SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// An object made for one primitive and deleted after it.
template <class Handle>
class Owned {
public:
    explicit Owned(Handle h = nullptr) : h_(h) {}
    ~Owned()
    {
        if (h_)
            DeleteObject(h_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Handle get() const { return h_; }

private:
    Handle h_;
};

// The drawing mode for one primitive (fills of the clear and block-move
// paint always copy).
class DrawMode {
public:
    DrawMode(HDC dc, int rop2) : dc_(dc), old_(dc ? SetROP2(dc, rop2) : 0) {}
    ~DrawMode()
    {
        if (dc_ && old_)
            SetROP2(dc_, old_);
    }
    DrawMode(const DrawMode&) = delete;
    DrawMode& operator=(const DrawMode&) = delete;

private:
    HDC dc_;
    int old_;
};

// The clip region for primitives that use it.
class Clipped {
public:
    explicit Clipped(HDC dc) : dc_(dc)
    {
        if (dc_ && window_tables().clip_region)
            SelectClipRgn(dc_, window_tables().clip_region);
    }
    ~Clipped()
    {
        if (dc_ && window_tables().clip_region)
            SelectClipRgn(dc_, nullptr);
    }
    Clipped(const Clipped&) = delete;
    Clipped& operator=(const Clipped&) = delete;

private:
    HDC dc_;
};

// The colour a fill or pixel gets from an RGB value on this target.
COLORREF device_colour_of(HDC dc, std::int32_t rgb)
{
    const auto value = static_cast<COLORREF>(rgb) & 0xFFFFFF;
    if (metafile_target())
        return value;
    if (gdi_palette_display())
        return PALETTEINDEX(GetNearestPaletteIndex(window_tables().display_palette, value));
    return dc ? GetNearestColor(dc, value) : value;
}

int rop2_of(int mode)
{
    constexpr int rops[4] = {R2_COPYPEN, R2_MERGEPEN, R2_MASKPEN, R2_XORPEN};
    return mode >= 0 && mode <= 3 ? rops[mode] : R2_COPYPEN;
}

DWORD raster_op_of(int rop2)
{
    switch (rop2) {
    case R2_MERGEPEN:
        return SRCPAINT;
    case R2_MASKPEN:
        return SRCAND;
    case R2_XORPEN:
        return SRCINVERT;
    default:
        return SRCCOPY;
    }
}

HPEN one_pixel_pen()
{
    return CreatePen(PS_SOLID, 1, gdi_state().colour);
}

std::vector<POINT> buffer_points(int n)
{
    n = std::clamp(n, 0, gdi_points_capacity());
    const auto& xy = point_buffer().xy;
    std::vector<POINT> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        pts[static_cast<std::size_t>(i)] = {xy[static_cast<std::size_t>(2 * i)],
                                            xy[static_cast<std::size_t>(2 * i + 1)]};
    return pts;
}

bool solid_pen()
{
    return gdi_state().line_type == 0;
}

} // namespace

void gdi_colour_set(int device_colour, std::int32_t rgb)
{
    auto& s = gdi_state();
    s.previous = s.colour;
    if (metafile_target())
        s.colour = static_cast<COLORREF>(rgb) & 0xFFFFFF;
    else if (gdi_palette_display())
        s.colour = PALETTEINDEX(static_cast<WORD>(device_colour & 0xFFFF));
    else
        s.colour = device_colour_of(drawing_dc(), rgb);
    s.pattern_dirty = true;
    gdi_pen_rebuild();
}

void gdi_pen_rebuild()
{
    auto& s = gdi_state();
    auto& t = window_tables();
    HPEN pen = nullptr;
    const int width = std::max(s.line_width, 1);
    if (display_info().windows_nt) {
        LOGBRUSH brush{BS_SOLID, s.colour, 0};
        if (s.line_type >= 1 && s.line_type <= 7) {
            const DashTable& use = s.dash_tables.scaled[static_cast<std::size_t>(s.line_type)];
            pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | s.line_join, static_cast<DWORD>(width),
                               &brush, static_cast<DWORD>(use.count), reinterpret_cast<const DWORD*>(use.lengths.data()));
        } else if (width < 2) {
            pen = CreatePen(PS_SOLID, width, s.colour);
        } else {
            pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | s.line_cap | s.line_join, static_cast<DWORD>(width), &brush, 0,
                               nullptr);
        }
    }
    if (!pen)
        pen = CreatePen(s.pen_style, width, s.colour);
    HDC dc = drawing_dc();
    if (dc) {
        HGDIOBJ old = SelectObject(dc, pen);
        if (!t.replaced_pen)
            t.replaced_pen = static_cast<HPEN>(old);
    }
    if (t.pen)
        DeleteObject(t.pen);
    t.pen = pen;
}

void gdi_dash_scale()
{
    auto& s = gdi_state();
    if (!display_info().windows_nt)
        return;
    // Dashes keep their length in inches: a metafile is drawn in its
    // reference device's pixels.
    const int r0 = display_info().pixels_per_inch > 0 ? display_info().pixels_per_inch : 96;
    const int reference = metafile_target() ? emf_reference_resolution() : r0;
    gdi_dash_tables_scale(s.dash_tables, r0, reference > 0 ? reference : r0, s.line_width);
}

void gdi_context_prepare(HDC dc)
{
    auto& t = window_tables();
    auto& s = gdi_state();
    if (t.pattern)
        DeleteObject(t.pattern);
    t.pattern = CreateCompatibleBitmap(dc, 8, 8);
    s.pattern_dirty = true;
    SetROP2(dc, t.drawing_mode);
    SetBkMode(dc, TRANSPARENT);
    if (t.pen)
        t.replaced_pen = static_cast<HPEN>(SelectObject(dc, t.pen));
    if (t.brush)
        t.replaced_brush = static_cast<HBRUSH>(SelectObject(dc, t.brush));
    if (s.font)
        s.replaced_font = static_cast<HFONT>(SelectObject(dc, s.font));
    gdi_dash_scale();
    if (gdi_palette_display()) {
        SelectPalette(dc, t.display_palette, FALSE);
        RealizePalette(dc);
    }
}

void gdi_line(int x1, int y1, int x2, int y2)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    MoveToEx(dc, x1, y1, nullptr);
    if (!solid_pen()) {
        LineTo(dc, x2, y2);
        return;
    }
    const LineEnd end = gdi_line_end(x1, y1, x2, y2);
    LineTo(dc, end.x, end.y);
    if (end.set_end_pixel && gdi_state().line_width <= 1)
        SetPixel(dc, x2, y2, gdi_state().colour);
}

HBRUSH gdi_checker_brush()
{
    auto& s = gdi_state();
    HDC dc = drawing_dc();
    if (metafile_target()) {
        const COLORREF a = s.colour, b = s.previous;
        return CreateSolidBrush(RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                                    (GetBValue(a) + GetBValue(b)) / 2));
    }
    auto& t = window_tables();
    if (!t.pattern && dc) {
        t.pattern = CreateCompatibleBitmap(dc, 8, 8);
        s.pattern_dirty = true;
    }
    if (!t.pattern)
        return CreateSolidBrush(s.colour);
    if (s.pattern_dirty) {
        HDC mem = CreateCompatibleDC(dc);
        if (mem) {
            HPALETTE old_palette = nullptr;
            if (gdi_palette_display()) {
                old_palette = SelectPalette(mem, t.display_palette, FALSE);
                RealizePalette(mem);
            }
            {
                const Selected bitmap(mem, t.pattern);
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        SetPixel(mem, x, y, (x + y) % 2 == 0 ? s.colour : s.previous);
            }
            if (old_palette)
                SelectPalette(mem, old_palette, FALSE);
            DeleteDC(mem);
            s.pattern_dirty = false;
        }
    }
    return CreatePatternBrush(t.pattern);
}

void gdi_ellipse(int xc, int yc, int rx, int ry, int mode, int fill_kind)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    const Clipped clip(dc);
    if (mode == 4) {
        const Selected brush(dc, GetStockObject(NULL_BRUSH));
        const Box b = gdi_shape_box(xc, yc, rx, ry, false);
        Ellipse(dc, b.left, b.top, b.right, b.bottom);
        return;
    }
    const bool checker = fill_kind == 3;
    const Owned<HBRUSH> brush(checker ? gdi_checker_brush() : CreateSolidBrush(gdi_state().colour));
    const Owned<HPEN> pen(checker ? nullptr : one_pixel_pen());
    const Selected b1(dc, brush.get());
    const Selected p1(dc, checker ? GetStockObject(NULL_PEN) : pen.get());
    const Box b = gdi_shape_box(xc, yc, rx, ry, checker);
    Ellipse(dc, b.left, b.top, b.right, b.bottom);
}

void gdi_rectangle_fill(int x1, int y1, int x2, int y2, int fill_kind)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    const Owned<HBRUSH> brush(fill_kind == 3 ? gdi_checker_brush() : CreateSolidBrush(gdi_state().colour));
    const Selected b1(dc, brush.get());
    const Selected p1(dc, GetStockObject(NULL_PEN));
    // With the null pen the platform fills one pixel less than the box.
    Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
}

void gdi_pie_fill(int xc, int yc, int rx, int ry, int xs, int ys, int xe, int ye, int fill_kind)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    const Clipped clip(dc);
    const bool checker = fill_kind == 3;
    const Owned<HBRUSH> brush(checker ? gdi_checker_brush() : CreateSolidBrush(gdi_state().colour));
    const Owned<HPEN> pen(checker ? nullptr : one_pixel_pen());
    const Selected b1(dc, brush.get());
    const Selected p1(dc, checker ? GetStockObject(NULL_PEN) : pen.get());
    const Box b = gdi_shape_box(xc, yc, rx, ry, checker);
    Pie(dc, b.left, b.top, b.right, b.bottom, xs, ys, xe, ye);
}

void gdi_polygon_fill(int n, int fill_kind)
{
    HDC dc = drawing_dc();
    const auto pts = buffer_points(n);
    if (!dc || pts.size() < 2)
        return;
    const Clipped clip(dc);
    const int old_fill = SetPolyFillMode(dc, ALTERNATE);
    const bool checker = fill_kind == 3;
    const bool xor_mode = window_tables().drawing_mode == R2_XORPEN;
    const Owned<HBRUSH> brush(checker ? gdi_checker_brush() : CreateSolidBrush(gdi_state().colour));
    const Owned<HPEN> pen(checker || xor_mode ? nullptr : one_pixel_pen());
    const Selected b1(dc, brush.get());
    const Selected p1(dc, pen.get() ? static_cast<HGDIOBJ>(pen.get()) : GetStockObject(NULL_PEN));
    Polygon(dc, pts.data(), static_cast<int>(pts.size()));
    SetPolyFillMode(dc, old_fill);
}

void gdi_polyline(int n)
{
    HDC dc = drawing_dc();
    auto pts = buffer_points(n);
    if (!dc || pts.size() < 2)
        return;
    const POINT first = pts.front(), last = pts.back();
    bool set_end = false;
    if (solid_pen() && (last.x != first.x || last.y != first.y)) {
        const POINT before = pts[pts.size() - 2];
        const LineEnd end = gdi_line_end(before.x, before.y, last.x, last.y);
        pts.back() = {end.x, end.y};
        set_end = end.set_end_pixel && gdi_state().line_width <= 1;
    }
    Polyline(dc, pts.data(), static_cast<int>(pts.size()));
    if (set_end)
        SetPixel(dc, last.x, last.y, gdi_state().colour);
}

void gdi_arc(int xc, int yc, int rx, int ry, int xs, int ys, int xe, int ye, int fill_density, int fill_style)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    const Clipped clip(dc);
    const Selected brush(dc, GetStockObject(NULL_BRUSH));
    const Box b = gdi_shape_box(xc, yc, rx, ry, false);
    if (fill_density < 3 || fill_style > 0)
        Pie(dc, b.left, b.top, b.right, b.bottom, xs, ys, xe, ye);
    else
        Arc(dc, b.left, b.top, b.right, b.bottom, xs, ys, xe, ye);
}

void gdi_point(int x, int y)
{
    if (HDC dc = drawing_dc())
        SetPixel(dc, x, y, gdi_state().colour);
}

void gdi_plot_pixel(int x, int y, std::int32_t rgb)
{
    HDC dc = drawing_dc();
    if (!dc)
        return;
    const auto value = static_cast<COLORREF>(rgb) & 0xFFFFFF;
    SetPixel(dc, x, y,
             gdi_palette_display() && !metafile_target()
                 ? PALETTEINDEX(GetNearestPaletteIndex(window_tables().display_palette, value))
                 : value);
}

void gdi_gradient_triangles(const int* xs, const int* ys, const std::int32_t* colours, const int* triangles,
                            int n_vertices, int n_triangles, int& status)
{
    status = 1;
    HDC dc = drawing_dc();
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    const auto fill = reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(window_tables().gradient_fill));
    if (!dc || !fill || n_vertices <= 0 || n_triangles <= 0)
        return;
    std::vector<TRIVERTEX> vertices(static_cast<std::size_t>(n_vertices));
    for (int i = 0; i < n_vertices; ++i) {
        const auto c = static_cast<std::uint32_t>(colours[i]);
        vertices[static_cast<std::size_t>(i)] = {xs[i], ys[i], static_cast<COLOR16>((c & 0xFF) << 8),
                                                 static_cast<COLOR16>(((c >> 8) & 0xFF) << 8),
                                                 static_cast<COLOR16>(((c >> 16) & 0xFF) << 8), 0};
    }
    std::vector<GRADIENT_TRIANGLE> list;
    for (int t = 0; t < n_triangles; ++t) {
        const int a = triangles[3 * t] - 1, b = triangles[3 * t + 1] - 1, c = triangles[3 * t + 2] - 1;
        // A vertex number outside the list would read beyond it.
        if (a < 0 || b < 0 || c < 0 || a >= n_vertices || b >= n_vertices || c >= n_vertices)
            return;
        list.push_back({static_cast<ULONG>(a), static_cast<ULONG>(b), static_cast<ULONG>(c)});
    }
    const Clipped clip(dc);
    status = fill(dc, vertices.data(), static_cast<ULONG>(vertices.size()), list.data(),
                  static_cast<ULONG>(list.size()), GRADIENT_FILL_TRIANGLE)
                 ? 0
                 : 1;
}

void gdi_clear(int width, int height, std::int32_t rgb)
{
    HDC dc = drawing_dc();
    if (!dc || width <= 0 || height <= 0)
        return;
    COLORREF c = static_cast<COLORREF>(rgb) & 0xFFFFFF;
    if (!metafile_target())
        c = gdi_palette_display() ? PALETTEINDEX(0) : GetNearestColor(dc, c);
    const Owned<HBRUSH> brush(CreateSolidBrush(c));
    const RECT r{0, 0, width, height};
    FillRect(dc, &r, brush.get());
}

void gdi_block_move(int x, int y, int xd, int yd, int width, int height, bool fill, std::int32_t rgb)
{
    HDC dc = drawing_dc();
    if (!dc || width <= 0 || height <= 0)
        return;
    {
        const Clipped clip(dc);
        BitBlt(dc, xd, yd, width, height, dc, x, y, raster_op_of(window_tables().drawing_mode));
    }
    if (!fill)
        return;
    const Owned<HBRUSH> brush(CreateSolidBrush(device_colour_of(dc, rgb)));
    for (const Box& b : gdi_block_vacated(x, y, xd, yd, width, height)) {
        const RECT r{b.left, b.top, b.right + 1, b.bottom + 1};
        FillRect(dc, &r, brush.get());
    }
}

void gdi_clip_set(int x1, int y1, int x2, int y2)
{
    auto& t = window_tables();
    if (t.clip_region) {
        DeleteObject(t.clip_region);
        t.clip_region = nullptr;
    }
    if (y2 != -1)
        t.clip_region = CreateRectRgn(x1, y1, x2, y2);
}

void gdi_draw_mode_set(int mode)
{
    if (mode < 0 || mode > 3)
        return;
    auto& t = window_tables();
    t.drawing_mode = rop2_of(mode);
    if (HDC dc = drawing_dc())
        SetROP2(dc, t.drawing_mode);
}

void gdi_palette_entry_set(int index, std::int32_t rgb, int phase)
{
    auto& t = window_tables();
    auto& s = gdi_state();
    if (metafile_target() || !t.display_palette || index < 0 || index > 255)
        return;
    HDC dc = drawing_dc();
    if ((phase == 0 || phase == 1) && dc)
        UnrealizeObject(t.display_palette);
    const auto u = static_cast<std::uint32_t>(rgb);
    PALETTEENTRY e{static_cast<BYTE>(u & 0xFF), static_cast<BYTE>((u >> 8) & 0xFF), static_cast<BYTE>((u >> 16) & 0xFF),
                   0};
    s.palette_entries[static_cast<std::size_t>(index)] = e;
    SetPaletteEntries(t.display_palette, static_cast<UINT>(index), 1, &e);
    if ((phase == 0 || phase == 3) && dc) {
        SelectPalette(dc, t.display_palette, FALSE);
        RealizePalette(dc);
    }
}

void gdi_line_type_set(int line_type)
{
    auto& s = gdi_state();
    s.line_type = line_type;
    const int style = gdi_pen_style(line_type);
    s.pen_style = style >= 0 ? style : PS_SOLID;
    gdi_pen_rebuild();
}

void gdi_line_cap_set(int cap)
{
    constexpr DWORD caps[3] = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
    if (cap >= 0 && cap <= 2)
        gdi_state().line_cap = caps[cap];
    gdi_pen_rebuild();
}

void gdi_line_join_set(int join)
{
    constexpr DWORD joins[3] = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};
    if (join >= 0 && join <= 2)
        gdi_state().line_join = joins[join];
    gdi_pen_rebuild();
}

void gdi_line_width_set(int width)
{
    gdi_state().line_width = width;
    gdi_dash_scale();
    gdi_pen_rebuild();
}

void gdi_pixel_get(int x, int y, int& red, int& green, int& blue)
{
    const auto& g = graphics_state();
    HDC dc = drawing_dc();
    const COLORREF c = dc && x >= 0 && y >= 0 && x < g.drawable_width && y < g.drawable_height
                           ? GetPixel(dc, x, y)
                           : CLR_INVALID;
    if (c == CLR_INVALID) {
        red = -1;
        return;
    }
    red = GetRValue(c);
    green = GetGValue(c);
    blue = GetBValue(c);
}

void gdi_font_release()
{
    auto& s = gdi_state();
    s.font = nullptr;
    s.replaced_font = nullptr;
    s.system_font = false;
}

void gdi_font_select(int& width, int& height, int& ascent, int angle, int family, int style, std::string_view face)
{
    auto& s = gdi_state();
    HDC dc = drawing_dc();
    // The font stays ours while no context holds it, so it goes here too.
    if (s.font) {
        if (dc && s.replaced_font)
            SelectObject(dc, s.replaced_font);
        if (!s.system_font)
            DeleteObject(s.font);
        s.font = nullptr;
        s.replaced_font = nullptr;
    }
    LOGFONTA lf{};
    if (family >= 101 && family <= 103) {
        NONCLIENTMETRICSA m{};
        m.cbSize = sizeof m;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
        lf = family == 101 ? m.lfMenuFont : family == 102 ? m.lfStatusFont : m.lfMessageFont;
    } else {
        const FontFace f = gdi_font_face(family);
        lf.lfHeight = -height;
        lf.lfWidth = width;
        lf.lfWeight = style & 1 ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style & 2 ? TRUE : FALSE;
        lf.lfUnderline = style & 4 ? TRUE : FALSE;
        lf.lfCharSet = static_cast<BYTE>(f.charset);
        lf.lfOutPrecision = OUT_TT_PRECIS;
        lf.lfClipPrecision = CLIP_LH_ANGLES;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = static_cast<BYTE>(VARIABLE_PITCH | f.family_flag);
        const std::string_view name = family == 0 ? face : f.face;
        std::copy_n(name.data(), std::min(name.size(), sizeof lf.lfFaceName - 1), lf.lfFaceName);
    }
    // Metrics are read upright; the font drawn with is made again at the angle.
    lf.lfEscapement = lf.lfOrientation = 0;
    HFONT upright = CreateFontIndirectA(&lf);
    if (dc && upright) {
        const Selected chosen(dc, upright);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        height = tm.tmHeight;
        ascent = tm.tmAscent;
        SIZE sz{};
        constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        GetTextExtentPoint32A(dc, letters.data(), static_cast<int>(letters.size()), &sz);
        width = sz.cx;
    }
    if (upright)
        DeleteObject(upright);
    lf.lfEscapement = lf.lfOrientation = angle * 10;
    s.font = CreateFontIndirectA(&lf);
    // Made here even from the system's description, so ours to delete.
    s.system_font = false;
    if (dc && s.font)
        s.replaced_font = static_cast<HFONT>(SelectObject(dc, s.font));
}

void gdi_text(int x1, int y1, int x2, int y2, int alignment, bool opaque, std::string_view text)
{
    HDC dc = drawing_dc();
    if (!dc || text.empty())
        return;
    const auto& s = gdi_state();
    const COLORREF old_text = SetTextColor(dc, s.colour);
    const COLORREF old_back = SetBkColor(dc, s.previous);
    const int old_mode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    constexpr UINT horizontal[3] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const UINT old_align =
        SetTextAlign(dc, TA_BASELINE | horizontal[alignment >= 0 && alignment <= 2 ? alignment : 0]);
    const Point at = gdi_text_anchor(x1, y1, x2, y2, alignment);
    TextOutA(dc, at.x, at.y, text.data(), static_cast<int>(text.size()));
    SetTextAlign(dc, old_align);
    SetBkMode(dc, old_mode);
    SetBkColor(dc, old_back);
    SetTextColor(dc, old_text);
}

void gdi_text_width(int& width, std::string_view text)
{
    width = 0;
    HDC dc = drawing_dc();
    if (!dc || text.empty())
        return;
    SIZE sz{};
    if (GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &sz))
        width = sz.cx;
}

} // namespace korv
