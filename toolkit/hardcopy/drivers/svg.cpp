// Driver 3: an SVG document. The stroke attributes live in a group that
// stays open until one of them changes; filled shapes and texts get a group
// of their own inside it. The document's y axis points down, so every
// point is flipped on the way out.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

// Polylines and polygons are broken into lines of at most this length.
constexpr std::size_t line_limit = 256;

constexpr std::array<std::string_view, 8> SvgDashTable = {
    "none", "1 5", "6 6", "1 3 4 4", "1 2 1 2 4 2", "5 2 3 2", "3 3", "5 2 3 2 3 2",
};
constexpr std::array<std::string_view, 3> joins = {"miter", "round", "bevel"};
constexpr std::array<std::string_view, 3> caps = {"butt", "round", "square"};
constexpr std::array<std::string_view, 4> families = {
    "'Courier New',Courier;", "Arial,Helvetica;", "'Times New Roman','Times Roman';", "Symbol;",
};
constexpr std::array<float, 3> font_factors = {1.65f, 1.33f, 1.72f};

// Unicode of the Windows-1252 characters 128..159; 0 where the code page
// has none.
constexpr std::array<int, 32> windows_1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Numbers without a trailing point or zeros: some readers drop a whole
// element whose numbers end in ".".
std::string hc_svg_number(double v) { return hc_real_short(v, 8, 2); }

// The text of an element, safe for any XML reader: markup characters and
// everything beyond ASCII as character references, control characters
// but the tab dropped.
std::string escaped(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        const int c = static_cast<unsigned char>(ch);
        int code = c;
        if (c >= 128 && c < 160)
            code = windows_1252[static_cast<std::size_t>(c - 128)];
        if ((c < 32 && c != '\t') || c == 127 || code == 0)
            continue;
        if (c == '<' || c == '&' || c >= 128)
            out += "&#" + std::to_string(code) + ";";
        else
            out += ch;
    }
    return out;
}


struct StrokeGroup {
    int red = -1, green = -1, blue = -1, width = -1, type = -1, join = -1, cap = -1;
    bool operator==(const StrokeGroup&) const = default;
};

class SvgDriver : public FileDriver {
public:
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override;
    void colour(DeviceParameters&) override { style(); }
    void line_type(DeviceParameters&) override { style(); }
    void line_width(DeviceParameters&) override { style(); }
    void line_join(DeviceParameters&) override { style(); }
    void line_cap(DeviceParameters&) override { style(); }
    void point(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override { points("<polyline points=\"", p); }
    void arc(DeviceParameters& p) override;
    void clip(DeviceParameters&) override;
    void text(DeviceParameters& p) override;

private:
    StrokeGroup group_;
    std::string group_hex_ = "000000";
    bool stroke_open_ = false;
    // A fill or text group inside the stroke group.
    bool inner_open_ = false;
    bool clipped_ = false;
    int clip_count_ = 0;

    static void emit(std::string_view line) { hc_unit_write_line(plot_unit, line); }
    static std::string x_of(float x) { return hc_svg_number(x * hardcopy_state().scale_x); }
    static std::string y_of(float y)
    {
        return hc_svg_number((graphics_state().device_limit_y - y) * hardcopy_state().scale_y);
    }
    static std::string pair(float x, float y) { return x_of(x) + "," + y_of(y); }

    DriverDefaults defaults() const override;
    void shape(int op, DeviceParameters& p) override;
    void segment(float x1, float y1, float x2, float y2) override;
    void close_inner();
    void style();
    void points(std::string_view start, const DeviceParameters& p);
    void hc_svg_arc(int op, const DeviceParameters& p);
};

DriverDefaults SvgDriver::defaults() const
{
    DriverDefaults d;
    d.number = driver_svg;
    d.options = {{{option_page_width, 640}, {option_page_height, 480}, {option_x_offset, 0},
                  {option_y_offset, 0}, {option_orientation, 0}}};
    d.resolution_x = d.resolution_y = 72;
    d.colour_count = d.colour_limit = 256;
    d.capability_flags = hc_page_flags;
    d.default_output_name = "radediva.svg";
    return d;
}

std::array<int, 3> components(int colour)
{
    std::array<int, 3> c{};
    gr_colour_components(colour, c[0], c[1], c[2]);
    return c;
}

void SvgDriver::open(DeviceParameters& p)
{
    if (!hc_driver_open_page(p))
        return;
    emit("<?xml version=\"1.0\"?>");
    emit("<!DOCTYPE svg SYSTEM \"\">");
    emit("<svg width=\"" + std::to_string(hc_option(option_page_width)) + "\" height=\"" + std::to_string(hc_option(option_page_height)) +
         "\" xmlns=\"http://www.w3.org/2000/svg\">");
    group_ = StrokeGroup{};
    stroke_open_ = inner_open_ = clipped_ = false;
    clip_count_ = 0;
}

void SvgDriver::close(DeviceParameters&)
{
    close_inner();
    emit(stroke_open_ ? "</g></svg>" : "</svg>");
    stroke_open_ = false;
    hc_unit_close(plot_unit);
}

void SvgDriver::close_inner()
{
    if (inner_open_)
        emit("</g>");
    inner_open_ = false;
}

void SvgDriver::style()
{
    const GraphicsState& g = graphics_state();
    const auto c = hc_colour_inverted(components(hc_current_colour()));
    StrokeGroup next;
    next.red = c[0];
    next.green = c[1];
    next.blue = c[2];
    next.width = std::max(1, static_cast<int>(hc_option(option_line_width) * 150.0f / 720.0f + 0.5f));
    next.type = g.line_type >= 0 && g.line_type < 8 ? g.line_type : 0;
    next.join = std::clamp(hc_option(option_line_join), 0, 2);
    next.cap = std::clamp(hc_option(option_line_cap), 0, 2);
    if (next == group_ && stroke_open_)
        return;
    // A group opened for a shape or text ends first, so the groups nest.
    close_inner();
    if (stroke_open_)
        emit("</g>");
    group_ = next;
    group_hex_ = hc_colour_hex(c[0], c[1], c[2]);
    emit("<g style=\"fill:none;stroke:#" + group_hex_ + ";stroke-dasharray:" +
         std::string(SvgDashTable[static_cast<std::size_t>(next.type)]) + ";stroke-width:" + std::to_string(next.width) +
         ";stroke-linejoin:" + std::string(joins[static_cast<std::size_t>(next.join)]) +
         ";stroke-linecap:" + std::string(caps[static_cast<std::size_t>(next.cap)]) + "\">");
    stroke_open_ = true;
}

void SvgDriver::segment(float x1, float y1, float x2, float y2)
{
    hc_page_drawn();
    emit("<line x1=\"" + x_of(x1) + "\" y1=\"" + y_of(y1) + "\" x2=\"" + x_of(x2) + "\" y2=\"" + y_of(y2) + "\"/>");
}

void SvgDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    const std::string x = x_of(p.rx1), y = y_of(p.ry1);
    emit("<line x1=\"" + x + "\" y1=\"" + y + "\" x2=\"" + x + "\" y2=\"" + y + "\" />");
}

void SvgDriver::points(std::string_view start, const DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    hc_page_drawn();
    std::string buffer(start);
    for (int i = 0; i < n; ++i) {
        const std::string point = pair(p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
        if (buffer.size() + point.size() > line_limit && buffer.size() > start.size()) {
            buffer.pop_back(); // the blank after the previous point
            emit(buffer);
            buffer.clear();
        }
        buffer += point + " ";
    }
    buffer.pop_back();
    if (buffer.size() + 3 > line_limit) {
        emit(buffer);
        buffer.clear();
    }
    emit(buffer + "\"/>");
}

void SvgDriver::shape(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    if (p.phase == -1) {
        if (g.fill_style > 2)
            close_inner();
        return;
    }
    const auto ellipse = [&] {
        emit("<ellipse cx=\"" + x_of(p.rx1) + "\" cy=\"" + y_of(p.ry1) + "\" rx=\"" + hc_svg_number(p.rx2 * hc.scale_x) +
             "\" ry=\"" + hc_svg_number(p.ry2 * hc.scale_y) + "\"/>");
    };
    if (g.fill_style <= 2) {
        if (op == 5) {
            hc_page_drawn();
            ellipse();
        }
        return;
    }
    hc_page_drawn();
    auto c = components(hc_current_colour());
    if (g.fill_style == 3) {
        const auto previous = components(hc_previous_colour());
        for (std::size_t i = 0; i < 3; ++i)
            c[i] = (previous[i] + c[i]) / 2;
    }
    c = hc_colour_inverted(c);
    close_inner();
    std::string group = "<g style=\"stroke:none;fill:#" + hc_colour_hex(c[0], c[1], c[2]);
    if (clipped_)
        group += ";clip-path:url(#clip" + std::to_string(clip_count_) + ")";
    emit(group + "\">");
    inner_open_ = true;
    switch (op) {
    case 5:
        ellipse();
        break;
    case 9:
        emit("<polygon points=\"" + pair(p.rx1, p.ry1) + " " + pair(p.rx2, p.ry1) + " " + pair(p.rx2, p.ry2) + " " +
             pair(p.rx1, p.ry2) + "\"/>");
        break;
    case 13:
        hc_svg_arc(13, p);
        break;
    default:
        points("<polygon points=\"", p);
        break;
    }
}

void SvgDriver::arc(DeviceParameters& p)
{
    hc_page_drawn();
    hc_svg_arc(34, p);
}

void SvgDriver::hc_svg_arc(int op, const DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    const float x0 = p.rx1 + p.rx2 * std::cos(p.rx3), y0 = p.ry1 + p.ry2 * std::sin(p.rx3);
    const float x1 = p.rx1 + p.rx2 * std::cos(p.ry3), y1 = p.ry1 + p.ry2 * std::sin(p.ry3);
    const char large = p.ry3 - p.rx3 >= 3.1415927f ? '1' : '0';
    std::string d = "M " + pair(x0, y0) + " A " + hc_svg_number(p.rx2 * hc.scale_x) + "," + hc_svg_number(p.ry2 * hc.scale_y) +
                    " 0 " + large + " 0 " + pair(x1, y1);
    if (op == 13 || g.fill_style != 0 || g.fill_density <= 2)
        d += " L " + pair(p.rx1, p.ry1) + " L " + pair(x0, y0);
    emit("<path d=\"" + d + "\"/>");
}

void SvgDriver::clip(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    clipped_ = g.area_x1 > 0 || g.area_y1 > 0 || g.area_x2 < 1 || g.area_y2 < 1;
    if (!clipped_)
        return;
    ++clip_count_;
    emit("<defs><clipPath id=\"clip" + std::to_string(clip_count_) + "\"><rect width=\"" +
         hc_svg_number((g.area_px2 - g.area_px1) * hc.scale_x) + "\" height=\"" + hc_svg_number((g.area_py2 - g.area_py1) * hc.scale_y) +
         "\" x=\"" + x_of(g.area_px1) + "\" y=\"" + y_of(g.area_py2) + "\"/></clipPath></defs>");
}

void SvgDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const int kind = std::clamp(g.text_kind, 0, 2);
    const int justification = kind == 1 ? 0 : std::clamp(g.text_alignment, 0, 2);
    if ((p.px2 & 1) != 0) {
        close_inner();
        std::string group = "<g style=\"fill:#" + group_hex_ + ";stroke:none;";
        if (g.font_family >= 1 && g.font_family <= 4)
            group += "font-family:" + std::string(families[static_cast<std::size_t>(g.font_family - 1)]);
        if (g.font_family != 4) {
            if ((g.font_style & 1) != 0)
                group += "font-weight:bold;";
            if ((g.font_style & 2) != 0)
                group += "font-style:italic;";
        }
        if (kind != 1 && justification == 1)
            group += "text-anchor:middle;";
        if (kind != 1 && justification == 2)
            group += "text-anchor:end;";
        const float size = font_factors[static_cast<std::size_t>(kind)] * g.char_width * g.rotated_area_span_x *
                           g.rotated_hardcopy_scale_x;
        emit(group + "font-size:" + hc_svg_number(size) + "\">");
        inner_open_ = true;
    }
    float x = p.rx1, y = p.ry1;
    if (justification == 1) {
        x = (p.rx1 + p.rx3) / 2;
        y = (p.ry1 + p.ry3) / 2;
    } else if (justification == 2) {
        x = p.rx3;
        y = p.ry3;
    }
    // The second character vector, which would move the anchor across the
    // line, is (0, 0): nothing in the toolkit sets it.
    std::string transform = "translate(" + pair(x, y) + ")";
    if (g.device_char_angle != 0)
        transform += "rotate(" + hc_svg_number(-g.device_char_angle) + ")";
    emit("<text transform=\"" + transform + "\">" + escaped(hc_driver_text(p)) + "</text>");
    if ((p.px2 & 2) != 0)
        close_inner();
}

} // namespace

Device& hc_svg()
{
    return toolkit_context().record<SvgDriver>(ContextSlot::svg_driver);
}

} // namespace korv
