#include "hardcopy/drivers/win_gdi_back_end.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "graphics/image_files_win.h"
#include "graphics/gdi_geometry.h"
#include "graphics/shaded_polygon.h"
#include "hardcopy/drivers/file_driver.h"

namespace korv {

namespace {

// Dash and gap lengths in screen pixels by line type, and the plain GDI
// style of each type.
struct DashEntry {
    std::array<DWORD, 6> lengths;
    int count;
    int style;
};
constexpr std::array<DashEntry, 8> dash_table = {{
    {{0}, 0, PS_SOLID},
    {{1, 4}, 2, PS_DOT},
    {{8, 6}, 2, PS_DASH},
    {{1, 4, 8, 4}, 4, PS_DASHDOT},
    {{1, 4, 1, 4, 8, 4}, 6, PS_DASHDOTDOT},
    {{8, 4, 4, 4}, 4, PS_DASHDOT},
    {{4, 4}, 2, PS_DASH},
    {{8, 4, 4, 4, 4, 4}, 6, PS_DASHDOTDOT},
}};

int rounded(float v) { return static_cast<int>(v >= 0 ? v + 0.5f : v - 0.5f); }

} // namespace

std::vector<DWORD> hc_dash_lengths(int line_type, int dpi, int screen_dpi, int width)
{
    std::vector<DWORD> d;
    if (line_type < 1 || line_type > 7)
        return d;
    const DashEntry& entry = dash_table[static_cast<std::size_t>(line_type)];
    for (int i = 0; i < entry.count; ++i) {
        DWORD length = std::max<DWORD>(1, entry.lengths[static_cast<std::size_t>(i)] * static_cast<DWORD>(std::max(dpi, 1)) /
                                              static_cast<DWORD>(std::max(screen_dpi, 1)));
        // Wide pens eat into their gaps; the gaps grow by as much.
        if (i % 2 == 1 && width > 1)
            length += static_cast<DWORD>(width - 1);
        d.push_back(length);
    }
    return d;
}

void GdiBackEnd::dash_pattern()
{
    // A plain metafile's pens are made without dash arrays.
    if (target_ == Target::plain_metafile)
        return;
    for (int t = 1; t < 8; ++t)
        dashes_[static_cast<std::size_t>(t)] = hc_dash_lengths(t, dpi_, display_info().pixels_per_inch, width_);
    cache_.type = -1;
}

void GdiBackEnd::start_page()
{
    StartPage(dc_);
    SetWindowOrgEx(dc_, origin_x_, origin_y_, nullptr);
    SetWindowExtEx(dc_, page_extent_.cx, page_extent_.cy, nullptr);
    if (font_ != nullptr)
        SelectObject(dc_, font_);
    if (clip_ != nullptr)
        SelectClipRgn(dc_, clip_);
    SetBkMode(dc_, TRANSPARENT);
    // A new page has a fresh device state: the pen is made again.
    cache_ = PenKey{CLR_INVALID, -1, -1, 0xFFFFFFFF, 0xFFFFFFFF};
    page_pending_ = false;
}

void GdiBackEnd::end_page()
{
    if (dc_ == nullptr || page_pending_)
        return;
    EndPage(dc_);
    page_pending_ = true;
}

void GdiBackEnd::release_pen()
{
    if (pen_ == nullptr)
        return;
    SelectObject(dc_, replaced_pen_);
    DeleteObject(pen_);
    pen_ = nullptr;
}

void GdiBackEnd::make_pen()
{
    const PenKey key{colour_, line_type_, width_, cap_, join_};
    if (key == cache_ && pen_ != nullptr)
        return;
    release_pen();
    LOGBRUSH brush{BS_SOLID, colour_, 0};
    const bool nt = display_info().windows_nt != 0;
    const int style = dash_table[static_cast<std::size_t>(line_type_)].style;
    const std::vector<DWORD>& d = dashes_[static_cast<std::size_t>(line_type_)];
    if (target_ == Target::printer && nt && line_type_ >= 1) {
        pen_ = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | join_, std::max(1, width_), &brush,
                            static_cast<DWORD>(d.size()), d.data());
    } else if (target_ == Target::printer && nt && width_ >= 2) {
        pen_ = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap_ | join_, static_cast<DWORD>(width_), &brush, 0, nullptr);
    } else if (target_ == Target::enhanced_metafile && nt && (style != PS_SOLID || geometric_)) {
        if (line_type_ == 0)
            pen_ = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap_ | join_, static_cast<DWORD>(std::max(1, width_)), &brush, 0,
                                nullptr);
        else if (system_dashes_)
            pen_ = ExtCreatePen(PS_GEOMETRIC | static_cast<DWORD>(style) | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                static_cast<DWORD>(std::max(1, width_)), &brush, 0, nullptr);
        else
            pen_ = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | join_, static_cast<DWORD>(std::max(1, width_)),
                                &brush, static_cast<DWORD>(d.size()), d.data());
    }
    if (pen_ == nullptr)
        pen_ = CreatePen(style, width_, colour_);
    if (pen_ == nullptr)
        pen_ = CreatePen(PS_SOLID, 0, colour_);
    replaced_pen_ = SelectObject(dc_, pen_);
    cache_ = key;
}

void GdiBackEnd::end_cap(int cap)
{
    static constexpr std::array<DWORD, 3> flags = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
    if (cap >= 0 && cap <= 2)
        cap_ = flags[static_cast<std::size_t>(cap)];
}

void GdiBackEnd::line_join(int join)
{
    static constexpr std::array<DWORD, 3> flags = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};
    if (join >= 0 && join <= 2)
        join_ = flags[static_cast<std::size_t>(join)];
}

void GdiBackEnd::release_font_and_clip()
{
    SelectClipRgn(dc_, nullptr);
    if (clip_ != nullptr)
        DeleteObject(clip_);
    clip_ = nullptr;
    release_pen();
    if (font_ != nullptr) {
        SelectObject(dc_, replaced_font_);
        DeleteObject(font_);
        font_ = nullptr;
    }
}

void GdiBackEnd::attach(HDC dc, Target target)
{
    target_ = target;
    dc_ = dc;
    page_pending_ = false;
    origin_x_ = origin_y_ = 0;
    dpi_ = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
    forget_pen();
    dash_pattern();
}

void GdiBackEnd::detach()
{
    if (dc_ == nullptr)
        return;
    release_font_and_clip();
    dc_ = nullptr;
}

void GdiBackEnd::pixel(int x, int y) { SetPixel(dc_, x, y, colour_); }

void GdiBackEnd::extend_last(POINT from, POINT& to) const
{
    const int dx = to.x - from.x, dy = to.y - from.y;
    if (dx == 0 && dy != 0)
        to.y += dy > 0 ? 1 : -1;
    else if (dy == 0 && dx != 0)
        to.x += dx > 0 ? 1 : -1;
    else if (std::abs(dx) == std::abs(dy) && dx != 0) {
        to.x += dx > 0 ? 1 : -1;
        to.y += dy > 0 ? 1 : -1;
    }
}

void GdiBackEnd::line(int x1, int y1, int x2, int y2)
{
    POINT from{x1, y1}, to{x2, y2};
    const bool solid = line_type_ == 0;
    const bool straight = x1 == x2 || y1 == y2 || std::abs(x2 - x1) == std::abs(y2 - y1);
    if (solid)
        extend_last(from, to);
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
    if (solid && !straight && width_ <= 1 && target_ == Target::printer)
        SetPixel(dc_, x2, y2, colour_);
}

void GdiBackEnd::polyline(const std::vector<POINT>& points)
{
    if (points.size() < 2)
        return;
    std::vector<POINT> p = points;
    const bool closed = p.front().x == p.back().x && p.front().y == p.back().y;
    const bool solid = line_type_ == 0 && !closed;
    const POINT from = p[p.size() - 2], end = p.back();
    const bool straight = from.x == end.x || from.y == end.y || std::abs(end.x - from.x) == std::abs(end.y - from.y);
    if (solid)
        extend_last(from, p.back());
    Polyline(dc_, p.data(), static_cast<int>(p.size()));
    // As for a single line: at any other slope a thin line's end pixel is
    // set on the printer.
    if (solid && !straight && width_ <= 1 && target_ == Target::printer)
        SetPixel(dc_, end.x, end.y, colour_);
}

void GdiBackEnd::polygon(const std::vector<POINT>& points, bool outline)
{
    if (points.size() < 2)
        return;
    HBRUSH brush = CreateSolidBrush(colour_);
    HPEN edge = outline ? CreatePen(PS_SOLID, 1, colour_) : static_cast<HPEN>(GetStockObject(NULL_PEN));
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    HGDIOBJ old_pen = SelectObject(dc_, edge);
    Polygon(dc_, points.data(), static_cast<int>(points.size()));
    SelectObject(dc_, old_pen);
    SelectObject(dc_, old_brush);
    if (outline)
        DeleteObject(edge);
    DeleteObject(brush);
}

void GdiBackEnd::rectangle(int left, int top, int right, int bottom)
{
    HBRUSH brush = CreateSolidBrush(colour_);
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    HGDIOBJ old_pen = SelectObject(dc_, GetStockObject(NULL_PEN));
    Rectangle(dc_, left, top, right + 2, bottom + 2);
    SelectObject(dc_, old_pen);
    SelectObject(dc_, old_brush);
    DeleteObject(brush);
}

void GdiBackEnd::ellipse(int cx, int cy, int rx, int ry, int fill_style)
{
    if (fill_style >= 3) {
        HBRUSH brush = CreateSolidBrush(colour_);
        HPEN edge = CreatePen(PS_SOLID, 1, colour_);
        HGDIOBJ old_brush = SelectObject(dc_, brush);
        HGDIOBJ old_pen = SelectObject(dc_, edge);
        Ellipse(dc_, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
        SelectObject(dc_, old_pen);
        SelectObject(dc_, old_brush);
        DeleteObject(edge);
        DeleteObject(brush);
        return;
    }
    HGDIOBJ old_brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    Ellipse(dc_, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
    SelectObject(dc_, old_brush);
}

void GdiBackEnd::pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye)
{
    HBRUSH brush = CreateSolidBrush(colour_);
    HPEN edge = CreatePen(PS_SOLID, 1, colour_);
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    HGDIOBJ old_pen = SelectObject(dc_, edge);
    Pie(dc_, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
    SelectObject(dc_, old_pen);
    SelectObject(dc_, old_brush);
    DeleteObject(edge);
    DeleteObject(brush);
}

void GdiBackEnd::arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style)
{
    HGDIOBJ old_brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    if (fill_style > 2)
        Arc(dc_, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
    else
        Pie(dc_, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
    SelectObject(dc_, old_brush);
}

void GdiBackEnd::thick_point(int x, int y)
{
    const int w = std::max(1, width_);
    HBRUSH brush = CreateSolidBrush(colour_);
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    HGDIOBJ old_pen = SelectObject(dc_, GetStockObject(NULL_PEN));
    Rectangle(dc_, x - w / 2, y - w / 2, x + w - w / 2 + 1, y + w - w / 2 + 1);
    SelectObject(dc_, old_pen);
    SelectObject(dc_, old_brush);
    DeleteObject(brush);
}

void GdiBackEnd::font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name)
{
    if (dc_ == nullptr)
        return;
    // The old font leaves the context before it is deleted.
    if (font_ != nullptr) {
        SelectObject(dc_, replaced_font_);
        DeleteObject(font_);
        font_ = nullptr;
    }
    struct Face {
        const char* name;
        BYTE family, charset;
    };
    static constexpr std::array<Face, 5> faces = {{
        {nullptr, FF_DONTCARE, DEFAULT_CHARSET},
        {"Courier New", FF_MODERN, ANSI_CHARSET},
        {"Arial", FF_SWISS, ANSI_CHARSET},
        {"Times New Roman", FF_ROMAN, ANSI_CHARSET},
        {"Symbol", FF_ROMAN, SYMBOL_CHARSET},
    }};
    const Face& f = faces[static_cast<std::size_t>(face >= 0 && face <= 4 ? face : 0)];
    LOGFONTA lf{};
    lf.lfHeight = -height;
    lf.lfWidth = width;
    lf.lfWeight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & 2) != 0 ? TRUE : FALSE;
    lf.lfUnderline = (style & 4) != 0 ? TRUE : FALSE;
    lf.lfCharSet = f.charset;
    lf.lfOutPrecision = OUT_CHARACTER_PRECIS;
    lf.lfClipPrecision = CLIP_CHARACTER_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = static_cast<BYTE>(VARIABLE_PITCH | f.family);
    text_copy_terminated(lf.lfFaceName, sizeof lf.lfFaceName, f.name != nullptr ? std::string_view(f.name) : name);
    if (target_ != Target::printer) {
        // A metafile's font is made once, turned, at the height asked for.
        lf.lfEscapement = lf.lfOrientation = angle * 10;
        font_ = CreateFontIndirectA(&lf);
        replaced_font_ = SelectObject(dc_, font_);
        return;
    }
    HFONT probe = CreateFontIndirectA(&lf);
    TEXTMETRICA tm{};
    HGDIOBJ before = SelectObject(dc_, probe);
    GetTextMetricsA(dc_, &tm);
    SelectObject(dc_, before);
    DeleteObject(probe);
    height = tm.tmHeight > 0 ? tm.tmHeight : height;
    ascent = tm.tmAscent;
    lf.lfHeight = -height;
    lf.lfEscapement = lf.lfOrientation = angle * 10;
    font_ = CreateFontIndirectA(&lf);
    replaced_font_ = SelectObject(dc_, font_);
}

void GdiBackEnd::text(int x1, int y1, int x2, int y2, int alignment, bool opaque, std::string_view text)
{
    const COLORREF old_text = SetTextColor(dc_, colour_);
    const COLORREF old_back = SetBkColor(dc_, previous_);
    const int old_mode = SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
    UINT align = TA_BASELINE | TA_LEFT;
    int x = x1, y = y1;
    if (alignment == 1) {
        align = TA_BASELINE | TA_CENTER;
        x = (x1 + x2) / 2;
        y = (y1 + y2) / 2;
    } else if (alignment == 2) {
        align = TA_BASELINE | TA_RIGHT;
        x = x2;
        y = y2;
    }
    const UINT old_align = SetTextAlign(dc_, align);
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
    SetTextAlign(dc_, old_align);
    SetBkMode(dc_, old_mode);
    SetBkColor(dc_, old_back);
    SetTextColor(dc_, old_text);
}

int GdiBackEnd::text_width(std::string_view text)
{
    SIZE size{};
    if (dc_ != nullptr)
        GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void GdiBackEnd::clip(int left, int top, int right, int bottom)
{
    if (dc_ == nullptr)
        return;
    SelectClipRgn(dc_, nullptr);
    if (clip_ != nullptr)
        DeleteObject(clip_);
    clip_ = CreateRectRgn(left - origin_x_, top - origin_y_, right - origin_x_, bottom - origin_y_);
    SelectClipRgn(dc_, clip_);
}

int GdiBackEnd::gradient_triangles(const int* x, const int* y, const std::int32_t* colours, int vertex_count,
                                   const int* triangles, int triangle_count)
{
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    const auto fill = reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(window_tables().gradient_fill));
    if (dc_ == nullptr || fill == nullptr || vertex_count <= 0 || triangle_count <= 0)
        return 1;
    std::vector<TRIVERTEX> vertices;
    for (int i = 0; i < vertex_count; ++i) {
        const auto c = static_cast<std::uint32_t>(colours[i]);
        vertices.push_back({x[i], y[i], static_cast<COLOR16>((c & 0xFF) << 8), static_cast<COLOR16>(c & 0xFF00),
                            static_cast<COLOR16>((c & 0xFF0000) >> 8), 0});
    }
    // Vertex numbers come counted from 1.
    std::vector<GRADIENT_TRIANGLE> list;
    for (int t = 0; t < triangle_count; ++t) {
        const int a = triangles[3 * t], b = triangles[3 * t + 1], c = triangles[3 * t + 2];
        if (std::min({a, b, c}) < 1 || std::max({a, b, c}) > vertex_count)
            return 1;
        list.push_back({static_cast<ULONG>(a - 1), static_cast<ULONG>(b - 1), static_cast<ULONG>(c - 1)});
    }
    return fill(dc_, vertices.data(), static_cast<ULONG>(vertices.size()), list.data(), static_cast<ULONG>(list.size()),
                GRADIENT_FILL_TRIANGLE)
               ? 0
               : 1;
}

void GdiBackEnd::image_pixel(int x, int y, std::int32_t rgb)
{
    SetPixel(dc_, x, y, RGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
}

std::vector<POINT> hc_buffered_points(int count)
{
    const std::vector<std::int32_t>& xy = point_buffer().xy;
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), xy.size() / 2);
    std::vector<POINT> points(n);
    for (std::size_t i = 0; i < n; ++i)
        points[i] = {xy[2 * i], xy[2 * i + 1]};
    return points;
}

void GdiDriver::operate(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    switch (op) {
    case 1: select(p); break;
    case 2: line(p); break;
    case 3:
    case 35: colour(); break;
    case 5:
    case 7:
    case 9:
    case 11:
    case 13:
    case 15: fill(op, p); break;
    case 18: open(p); break;
    case 19: close(); break;
    case 20: end_page(); break;
    case 21:
    case 33: font(); break;
    case 22: text(p); break;
    case 24: clip(); break;
    case 25: text_width(p); break;
    case 26: point(p); break;
    case 29: back_.line_style(g.line_type); break;
    case 30: line_width(); break;
    case 32: polyline(p); break;
    case 34: arc(p); break;
    case 36: back_.line_join(hc_option(option_line_join)); break;
    case 37: back_.end_cap(hc_option(option_line_cap)); break;
    case 38: image_file(p); break;
    case 40: shaded_polygon(p); break;
    default: break;
    }
}

POINT GdiDriver::at(float x, float y) const
{
    return {rounded(x * sx_), rounded(sy_ * (graphics_state().device_limit_y - y))};
}

bool GdiDriver::colour_fills() const { return graphics_state().fill_style > 2; }

void GdiDriver::colour()
{
    previous_ = colour_;
    int r = 0, gr = 0, b = 0;
    gr_colour_components(hc_current_colour(), r, gr, b);
    back_.colour_invert(r, gr, b);
    colour_ = RGB(r, gr, b);
    back_colour(colour_);
}

void GdiDriver::line(DeviceParameters& p)
{
    hc_page_drawn();
    const POINT a = at(p.rx1, p.ry1), b = at(p.rx2, p.ry2);
    back_.line(a.x, a.y, b.x, b.y);
}

int GdiDriver::buffer_points(const DeviceParameters& p, int limit) const
{
    const int n = std::max(0, std::min({p.count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size()),
                                        limit}));
    gdi_points_alloc(n);
    for (int i = 0; i < n; ++i) {
        const POINT d = at(p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
        gdi_point_put(d.x, d.y, i);
    }
    return n;
}

void GdiDriver::polyline(DeviceParameters& p)
{
    hc_page_drawn();
    back_.polyline(buffer_points(p, 0x7FFFFFFF));
    gdi_points_free();
}

void GdiDriver::pie_points(const DeviceParameters& p, POINT& centre, int& rx, int& ry, POINT& start, POINT& end) const
{
    centre = at(p.rx1, p.ry1);
    rx = rounded(p.rx2 * sx_);
    ry = rounded(p.ry2 * sy_);
    start = at(p.rx1 + p.rx2 * std::cos(p.rx3), p.ry1 + p.ry2 * std::sin(p.rx3));
    end = at(p.rx1 + p.rx2 * std::cos(p.ry3), p.ry1 + p.ry2 * std::sin(p.ry3));
    // GDI draws a whole ellipse when the two points coincide; a short
    // sweep moves its end a pixel, away from the start's quadrant.
    if (start.x == end.x && start.y == end.y && std::fabs(p.ry4) <= 10) {
        float a = std::fmod(p.rx4, 360.0f);
        if (a < 0)
            a += 360;
        if (a < 90) {
            end.x -= 1;
            end.y -= 1;
        } else if (a < 180) {
            end.x -= 1;
            end.y += 1;
        } else if (a < 270) {
            end.x += 1;
            end.y += 1;
        } else {
            end.x += 1;
            end.y -= 1;
        }
    }
}

void GdiDriver::fill(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const bool filled_colour = colour_fills();
    if (p.phase == -1) {
        if (filled_colour) {
            back_colour(previous_);
            back_colour(colour_);
        }
        return;
    }
    hc_page_drawn();
    if (filled_colour) {
        int r = GetRValue(colour_), gr = GetGValue(colour_), b = GetBValue(colour_);
        if (g.fill_style == 3) {
            r = (r + GetRValue(previous_)) / 2;
            gr = (gr + GetGValue(previous_)) / 2;
            b = (b + GetBValue(previous_)) / 2;
        }
        // The driver's colours were inverted as they came: a second
        // inversion would fill in the colour the lines do not have.
        back_.colour(r, gr, b);
    }
    if (g.fill_style > 2 || op == 5)
        filled_shape(op, p);
}

// Fill style 2 or less reaches here only for the ellipse, which the back
// end then draws as an outline.
void GdiDriver::filled_shape(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    switch (op) {
    case 5: {
        const POINT c = at(p.rx1, p.ry1);
        back_.ellipse(c.x, c.y, rounded(p.rx2 * sx_), rounded(p.ry2 * sy_), g.fill_style);
        break;
    }
    case 9: {
        const POINT low = at(std::max(p.rx1, g.area_px1), std::max(p.ry1, g.area_py1));
        const POINT high = at(std::min(p.rx2, g.area_px2), std::min(p.ry2, g.area_py2));
        back_.rectangle(low.x, high.y, high.x, low.y);
        break;
    }
    case 13: {
        POINT c{}, s{}, e{};
        int rx = 0, ry = 0;
        pie_points(p, c, rx, ry, s, e);
        back_.pie(c.x, c.y, rx, ry, s.x, s.y, e.x, e.y);
        break;
    }
    default:
        back_.polygon(buffer_points(p, polygon_limit()), g.fill_outline != 0 ? 1 : 0);
        gdi_points_free();
        break;
    }
}

void GdiDriver::arc(DeviceParameters& p)
{
    hc_page_drawn();
    POINT c{}, s{}, e{};
    int rx = 0, ry = 0;
    pie_points(p, c, rx, ry, s, e);
    back_.arc(c.x, c.y, rx, ry, s.x, s.y, e.x, e.y, graphics_state().fill_style);
}

void GdiDriver::font()
{
    const GraphicsState& g = graphics_state();
    float width = g.char_width * g.rotated_area_span_x * g.rotated_hardcopy_scale_x;
    float height = g.char_height * g.rotated_area_span_y * g.rotated_hardcopy_scale_y;
    int style = g.font_style;
    if (g.text_kind == 1) {
        width *= 0.607f;
        style &= ~4;
    } else if (g.text_kind == 2) {
        width *= 0.725f;
    }
    if (g.font_family == 4) {
        width *= 1.22f;
        height *= 0.821f;
    }
    int w = std::max(1, rounded(width)), h = std::max(1, rounded(height));
    back_.font(w, h, ascent_, gr_trunc(g.device_char_angle), g.font_family, style,
               text_trimmed(text_view(g.font_name)));
    cell_height_ = h;
}

void GdiDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const float angle = g.device_char_angle * 0.017453292f;
    const float shift = baseline_offset() ? static_cast<float>(ascent_) - static_cast<float>(cell_height_) / 2.0f : 0.0f;
    const float fx = g.rotated_hardcopy_scale_x != 0 ? g.rotated_hardcopy_scale_x : 1.0f;
    const float fy = g.rotated_hardcopy_scale_y != 0 ? g.rotated_hardcopy_scale_y : 1.0f;
    const float mx = shift * std::sin(angle) / fx, my = -shift * std::cos(angle) / fy;
    const POINT a = at(p.rx1 + mx, p.ry1 + my), b = at(p.rx4 + mx, p.ry4 + my);
    const int alignment = g.text_kind == 1 ? 0 : g.text_alignment;
    const int opaque = (g.font_style & 8) != 0 && g.text_kind != 1 ? 1 : 0;
    const std::size_t length = static_cast<std::size_t>(std::clamp(p.px1, 0, static_cast<int>(p.text.size())));
    back_.text(a.x, a.y, b.x, b.y, alignment, opaque, std::string_view(p.text.data(), length));
    p.px4 = 0;
}

void GdiDriver::text_width(DeviceParameters& p)
{
    const std::size_t length = static_cast<std::size_t>(std::clamp(p.phase, 0, static_cast<int>(p.text.size())));
    const float fx = graphics_state().rotated_hardcopy_scale_x;
    int width = 0;
    back_.text_extent(width, std::string_view(p.text.data(), length));
    p.rx1 = static_cast<float>(width) / (fx != 0 ? fx : 1.0f);
    p.count = 1;
}

void GdiDriver::clip()
{
    const GraphicsState& g = graphics_state();
    const POINT low = at(g.area_px1, g.area_py1), high = at(g.area_px2, g.area_py2);
    back_.clip(low.x, high.y, high.x, low.y);
}

int GdiDriver::shading_level() const { return device_capabilities().hardcopy.shading; }

void GdiDriver::shaded_polygon(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const int n = std::max(0, std::min({p.shade_count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())}));
    p.shade_x.resize(static_cast<std::size_t>(n));
    p.shade_y.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const POINT d = at(p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
        p.shade_x[static_cast<std::size_t>(i)] = d.x;
        p.shade_y[static_cast<std::size_t>(i)] = d.y;
    }
    const POINT low = at(g.area_px1, g.area_py1), high = at(g.area_px2, g.area_py2);
    const ShadeClip clip{low.x, high.y, high.x, low.y};
    const GdiBackEndRoutines& back = back_;
    gr_shaded_polygon_split(
        p, shading_level(), clip, [&back](int x, int y, std::int32_t rgb) { back.image_pixel(x, y, rgb); },
        [&back](std::span<const int> x, std::span<const int> y, std::span<const std::int32_t> colours,
                std::span<const int> triangles) {
            // The back ends count vertices from 1.
            std::vector<int> list(triangles.begin(), triangles.end());
            for (int& v : list)
                ++v;
            int failed = 0;
            back.gradient_triangles(x.data(), y.data(), colours.data(), list.data(), static_cast<int>(x.size()),
                                    static_cast<int>(list.size() / 3), failed);
            return failed;
        });
}

// The image fills the clip box, turned with the page, stretched in the
// program's stretch mode (the Y3 word). On the NT platform a quarter turn
// gives the clip box with its sides exchanged, and the transform's offsets
// bring the picture back onto the clip box on the page.
void GdiDriver::image_file(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const float d = static_cast<float>(g.device_height);
    const float x1 = g.area_px1, y1 = g.area_py1, x2 = g.area_px2, y2 = g.area_py2;
    const ImageRectangle page{gr_trunc(x1 * sx_), gr_trunc((d - 1 - y2) * sy_), gr_trunc(x2 * sx_),
                              gr_trunc((d - 1 - y1) * sy_)};
    const bool nt = display_info().windows_nt != 0;
    const bool quarter = nt && (g.rotation == 90 || g.rotation == 270);
    const ImageRectangle r = quarter ? ImageRectangle{gr_trunc(y1 * sy_), gr_trunc((d - 1 - x2) * sx_),
                                                      gr_trunc(y2 * sy_), gr_trunc((d - 1 - x1) * sx_)}
                                     : page;
    const ImageTurn turn = nt ? img_turn_onto(g.rotation, page, r) : ImageTurn{g.rotation, 0, 0};
    int code = 0;
    HDC dc = image_context();
    const int status = dc != nullptr ? img_draw_file(p.px1, dc, nullptr, r, true, p.py3, turn, code,
                                                     text_trimmed(p.image_file_view()))
                                     : image_status_cannot_open;
    p.phase = status;
    p.count = code;
}

} // namespace korv
