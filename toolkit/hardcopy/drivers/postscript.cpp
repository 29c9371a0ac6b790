// Driver 2: a PostScript page description, or an encapsulated PostScript
// file with option 22. One statement a line, built from the short procedure
// names of the prologue; colours as red, green, blue fractions, written
// lazily just before the next stroke, fill or text.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

constexpr std::size_t line_limit = 255;
// An escaped text is cut here; PostScript strings of the era's printers
// held at most this much in one show.
constexpr std::size_t string_limit = 2044;

constexpr std::array<std::string_view, 5> prologue = {
    "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
    "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
    "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
    "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
    "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
};

constexpr std::array<std::string_view, 3> families = {"Courier", "Helvetica", "Times"};

// Suffix of the standard font by style (plain, bold, italic, bold italic)
// and family (Courier, Helvetica, Times).
constexpr std::string_view PostScriptFontTable[4][3] = {
    {" ff", " ff", "-Roman ff"},
    {"-Bold ff", "-Bold ff", "-Bold ff"},
    {"-Oblique ff", "-Oblique ff", "-Italic ff"},
    {"-BoldOblique ff", "-BoldOblique ff", "-BoldItalic ff"},
};

constexpr std::array<std::string_view, 8> PostScriptDashTable = {
    "[] 0", "[1 5] 4", "[6 6] 3", "[1 3 4 4] 0", "[1 2 1 2 4 2] 0", "[5 2 3 2] 2", "[3 3] 1", "[5 2 3 2 3 2] 0",
};

constexpr std::array<float, 3> font_scale_x = {1.65f, 1.33f, 1.72f};
constexpr std::array<float, 3> font_scale_y = {1.0f, 0.82f, 0.82f};

using Rgb = std::array<float, 3>;

// Blanks at both ends dropped, inner runs of blanks made one, cut to a line.
std::string compacted(std::string_view text)
{
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    if (out.size() > line_limit)
        out.resize(line_limit);
    return out;
}

// A nine-wide field with two decimals; a whole number shows one zero.
std::string number_field(double v)
{
    std::string f = hc_real_field(v, 9, 2);
    if (f.ends_with(".00"))
        f.back() = ' ';
    return f;
}

class PostScriptDriver : public FileDriver {
public:
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters& p) override;
    void character_size(DeviceParameters&) override { font_valid_ = false; }
    void colour(DeviceParameters&) override;
    void palette(DeviceParameters& p) override { colour(p); }
    void polyline(DeviceParameters& p) override;
    void arc(DeviceParameters& p) override { hc_ps_arc(34, p); }
    void text(DeviceParameters& p) override;
    void clip(DeviceParameters&) override;
    void line_type(DeviceParameters&) override;
    void line_width(DeviceParameters&) override;
    void line_join(DeviceParameters&) override;
    void line_cap(DeviceParameters&) override;
    void image_file(DeviceParameters& p) override;

private:
    int path_count_ = 0;
    Rgb in_force_{-1, -1, -1};
    Rgb pending_{0, 0, 0};
    int line_colour_ = 0;
    bool font_valid_ = false;
    int last_line_type_ = 0;
    int last_width_ = 0;
    int page_ = 1;
    bool line_mode_blank_ = false;

    static bool eps() { return hc_option(option_encapsulated) != 0; }

    DriverDefaults defaults() const override;
    void shape(int op, DeviceParameters& p) override;
    // The line writer's entries: a line as it is, a statement compacted,
    // and statements of numbers (unscaled, a point scaled to the page, a
    // point with its scales swapped, three unscaled) before an operator.
    void hc_ps_emit(std::string_view line);
    void hc_ps_statement(std::string_view text) { hc_ps_emit(compacted(text)); }
    void hc_ps_number(double v, std::string_view op) { hc_ps_statement(number_field(v) + " " + std::string(op)); }
    void hc_ps_point(float x, float y, std::string_view op);
    void hc_ps_point_swapped(float a, float b, std::string_view op);
    void hc_ps_triple(double a, double b, double c, std::string_view op)
    {
        hc_ps_statement(number_field(a) + " " + number_field(b) + " " + number_field(c) + " " + std::string(op));
    }
    void colour_statement(const Rgb& c) { hc_ps_triple(c[0], c[1], c[2], "g"); }
    void hc_ps_colour(int mode);
    Rgb hc_ps_rgb(int colour) const;
    void segment(float x1, float y1, float x2, float y2) override;
    void polygon(const DeviceParameters& p);
    void ellipse(const DeviceParameters& p);
    void hc_ps_arc(int op, DeviceParameters& p);
    void font_statement();
    void string_lines(std::string_view text, std::string_view show);
};

DriverDefaults PostScriptDriver::defaults() const
{
    DriverDefaults d;
    d.number = driver_postscript;
    d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 42},
                  {option_y_offset, -20}, {option_orientation, 1}, {option_postscript_end_of_job, 1},
                  {option_postscript_path_points, 255}, {option_encapsulated, 0}}};
    d.resolution_x = d.resolution_y = 600;
    d.colour_count = d.colour_limit = 256;
    d.print_command_flag = 1;
    d.capability_flags = hc_page_flags;
    d.default_output_name = "radediva.ps";
    return d;
}

void PostScriptDriver::hc_ps_emit(std::string_view line)
{
    if (line_mode_blank_)
        hc_unit_write(plot_unit, " ");
    hc_unit_write_line(plot_unit, line.substr(0, line_limit));
}

void PostScriptDriver::hc_ps_point(float x, float y, std::string_view op)
{
    const HardcopyState& hc = hardcopy_state();
    hc_ps_statement(number_field(x * hc.scale_x) + " " + number_field(y * hc.scale_y) + " " + std::string(op));
}

void PostScriptDriver::hc_ps_point_swapped(float a, float b, std::string_view op)
{
    const HardcopyState& hc = hardcopy_state();
    hc_ps_statement(number_field(a * hc.scale_y) + " " + number_field(b * hc.scale_x) + " " + std::string(op));
}

// Mode 1 strokes an open path, mode 2 fills it, mode 3 only brings the
// colour up to date.
void PostScriptDriver::hc_ps_colour(int mode)
{
    if (path_count_ == 0 && mode != 3)
        return;
    if (pending_ != in_force_) {
        in_force_ = pending_;
        colour_statement(in_force_);
    }
    if (mode == 3)
        return;
    hc_ps_emit(mode == 1 ? "s" : "cf");
    path_count_ = 0;
}

Rgb PostScriptDriver::hc_ps_rgb(int colour) const
{
    Rgb c{0, 0, 0};
    if (colour != -1) {
        int r = 0, g = 0, b = 0;
        gr_colour_components(colour, r, g, b);
        c = {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f};
    }
    const int inversion = hc_option(option_colour_inversion);
    const bool dark = std::all_of(c.begin(), c.end(), [](float v) { return v < 0.04f; });
    const bool light = std::all_of(c.begin(), c.end(), [](float v) { return v > 0.96f; });
    if (inversion == 1 || (inversion == 2 && (dark || light)))
        for (float& v : c)
            v = 1.0f - v;
    return c;
}

void PostScriptDriver::open(DeviceParameters& p)
{
    if (!hc_driver_open_page(p))
        return;
    const HardcopyState& hc = hardcopy_state();

    line_mode_blank_ = hc_option(option_line_mode) != 0;
    font_valid_ = false;
    path_count_ = 0;
    in_force_ = {-1, -1, -1};
    last_line_type_ = 0;
    last_width_ = 0;

    const bool landscape = hc_option(option_orientation) != 0;
    float offset_x = static_cast<float>(hc_option(option_x_offset));
    float offset_y = static_cast<float>(hc_option(option_y_offset)) - (landscape ? 540.0f : 0.0f);
    if (eps()) {
        int width = hc_option(option_page_width), height = hc_option(option_page_height);
        offset_x = 0;
        offset_y = landscape ? -static_cast<float>(height) : 0.0f;
        if (landscape)
            std::swap(width, height);
        hc_ps_emit("%!PS-Adobe-3.0 EPSF-3.0");
        hc_ps_statement("%%BoundingBox: 0 0 " + hc_integer_field(width, 5) + " " + hc_integer_field(height, 5));
    } else {
        hc_ps_emit("%!PS-Adobe-3.0");
    }
    if (p.px1 != 0)
        hc_ps_statement("%%Title: " + std::string(text_trimmed(text_view(hc.title))));
    hc_ps_emit("%%Creator: Z.O.Q. PostScript driver");
    hc_ps_emit("%%EndComments");
    for (std::string_view line : prologue)
        hc_ps_emit(line);
    hc_ps_emit("%%EndProlog");
    for (std::size_t f = 0; f < families.size(); ++f) {
        for (int style = 0; style < 4; ++style) {
            const std::string family(families[f]);
            hc_ps_statement("/" + family + std::string(PostScriptFontTable[style][f]));
            hc_ps_emit("dup length dict begin");
            hc_ps_emit("{1 index /FID ne {def} {pop pop} ifelse} forall");
            hc_ps_emit("/Encoding ISOLatin1Encoding def");
            hc_ps_emit("currentdict end /" + family + "-" + std::to_string(style + 1) + " exch definefont pop");
        }
    }
    hc_ps_emit("/Symbol ff");
    hc_ps_emit("dup length dict begin");
    hc_ps_emit("{1 index /FID ne {def} {pop pop} ifelse} forall");
    hc_ps_emit("currentdict end /Symbol exch definefont pop");
    if (landscape)
        hc_ps_number(90.0, "ro");
    hc_ps_statement(hc_real_field(offset_x, 8, 1) + " " + hc_real_field(offset_y, 8, 1) + " translate");
    hc_ps_emit("newpath");
    page_ = 1;
    hc_ps_emit("%%Page: 1 1");
}

void PostScriptDriver::close(DeviceParameters&)
{
    hc_ps_emit("%%EOF");
    if (!eps()) {
        hc_ps_emit("initgraphics");
        if (hc_option(option_postscript_end_of_job) != 0)
            hc_unit_write(plot_unit, " \x04");
    }
    hc_unit_close(plot_unit);
}

void PostScriptDriver::end_page(DeviceParameters& p)
{
    hardcopy_state().page_drawn = 0;
    hc_ps_colour(1);
    if (!eps()) {
        hc_ps_statement("/#copies " + hc_integer_field(std::min(hc_option(option_copies), 999), 3) + " def");
        hc_ps_emit("gsave showpage grestore");
    }
    if (p.count == 0) {
        ++page_;
        hc_ps_statement("%%Page: " + hc_integer_field(page_, 4) + " " + hc_integer_field(page_, 4));
    }
}

void PostScriptDriver::colour(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    line_colour_ = hc_option(option_monochrome) != 0 && g.cur_index != 0 ? -1 : hc_current_colour();
    const Rgb c = hc_ps_rgb(line_colour_);
    if (c != pending_) {
        hc_ps_colour(1);
        pending_ = c;
    }
}

void PostScriptDriver::segment(float x1, float y1, float x2, float y2)
{
    HardcopyState& hc = hardcopy_state();
    if (path_count_ >= hc_option(option_postscript_path_points))
        hc_ps_colour(1);
    if (path_count_ == 0 || x1 != hc.last_pen_x || y1 != hc.last_pen_y)
        hc_ps_point(x1, y1, "m");
    hc_ps_point(x2, y2, "l");
    ++path_count_;
    hc.last_pen_x = x2;
    hc.last_pen_y = y2;
    hc_page_drawn();
}

void PostScriptDriver::polyline(DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    HardcopyState& hc = hardcopy_state();
    if (path_count_ >= hc_option(option_postscript_path_points))
        hc_ps_colour(1);
    if (path_count_ == 0 || p.poly_x[0] != hc.last_pen_x || p.poly_y[0] != hc.last_pen_y)
        hc_ps_point(p.poly_x[0], p.poly_y[0], "m");
    for (int i = 1; i < n; ++i) {
        if (path_count_ >= hc_option(option_postscript_path_points)) {
            hc_ps_colour(1);
            hc_ps_point(p.poly_x[i - 1], p.poly_y[i - 1], "m");
        }
        hc_ps_point(p.poly_x[i], p.poly_y[i], "l");
        ++path_count_;
    }
    hc.last_pen_x = p.poly_x[n - 1];
    hc.last_pen_y = p.poly_y[n - 1];
    hc_page_drawn();
}

void PostScriptDriver::shape(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    if (p.phase == -1) {
        if (g.fill_style > 0)
            hc_ps_colour(1);
        pending_ = hc_ps_rgb(line_colour_);
        return;
    }
    hc_page_drawn();
    const bool mono = hc_option(option_monochrome) != 0;
    if (g.fill_style >= 3 || ((g.fill_style == 1 || g.fill_style == 2) && mono)) {
        hc_ps_colour(1);
        if (g.fill_style == 3) {
            const Rgb a = hc_ps_rgb(hc_previous_colour()), b = hc_ps_rgb(hc_current_colour());
            for (std::size_t i = 0; i < 3; ++i)
                pending_[i] = (a[i] + b[i]) / 2.0f;
        } else {
            pending_ = hc_ps_rgb(hc_current_colour());
        }
    }
    if (g.fill_style < 3) {
        if (op == 5)
            ellipse(p);
        return;
    }
    switch (op) {
    case 5:
        ellipse(p);
        break;
    case 13:
        hc_ps_arc(13, p);
        break;
    case 9: {
        float x1 = p.rx1, y1 = p.ry1, x2 = p.rx2, y2 = p.ry2;
        if (eps()) {
            x1 = std::max(x1, g.area_px1);
            y1 = std::max(y1, g.area_py1);
            x2 = std::min(x2, g.area_px2);
            y2 = std::min(y2, g.area_py2);
        }
        hc_ps_point(x1, y1, "m");
        hc_ps_point(x2, y1, "l");
        hc_ps_point(x2, y2, "l");
        hc_ps_point(x1, y2, "l");
        path_count_ = 4;
        hc_ps_colour(2);
        break;
    }
    default:
        polygon(p);
        break;
    }
}

void PostScriptDriver::polygon(const DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    hc_ps_point(p.poly_x[0], p.poly_y[0], "m");
    for (int i = 1; i < n; ++i)
        hc_ps_point(p.poly_x[i], p.poly_y[i], "l");
    path_count_ = n;
    hc_ps_colour(2);
}

// The vertical scale that turns a circle of the device into the ellipse or
// arc the graphics area shows on the page.
float vertical_scale(float ratio, bool arc)
{
    const GraphicsState& g = graphics_state();
    const float w = static_cast<float>(hc_option(option_page_width)), h = static_cast<float>(hc_option(option_page_height));
    const float a = g.area_span_x, b = g.area_span_y, aspect = g.page_aspect;
    const bool straight = g.rotation % 180 == 0;
    float r = 0;
    if (arc)
        r = (straight ? h * aspect / w : w / (h * aspect)) * b / a;
    else
        r = straight ? ratio * b / a * aspect * h / w : b / (ratio * a) * aspect * w / h;
    return std::isfinite(r) && r != 0 ? r : 1.0f;
}

void PostScriptDriver::ellipse(const DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    const float r = vertical_scale(p.rx3, false);
    hc_ps_statement("gsave 1.0 " + hc_real_field(r, 8, 4) + " scale newpath");
    hc_ps_triple(p.rx1 * hc.scale_x, p.ry1 * hc.scale_y / r, p.rx2 * hc.scale_x, "90. 450. arc");
    if (pending_ != in_force_)
        colour_statement(pending_);
    hc_ps_emit(g.fill_style >= 3 ? "cf" : "s");
    hc_ps_emit("grestore");
}

void PostScriptDriver::hc_ps_arc(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    hc_page_drawn();
    const float r = vertical_scale(0, true);
    hc_ps_statement("gsave 1.0 " + hc_real_field(r, 8, 4) + " scale newpath");
    const bool closed = op == 13 || g.fill_style != 0 || g.fill_density <= 2;
    if (closed)
        hc_ps_point(p.rx1, p.ry1 / r, "m");
    constexpr double degree = 0.017453292;
    const std::string angles = hc_real_field(p.rx3 / degree, 8, 1) + " " + hc_real_field(p.ry3 / degree, 8, 1) + " arc";
    hc_ps_triple(p.rx1 * hc.scale_x, p.ry1 * hc.scale_y / r, p.rx2 * hc.scale_x, angles);
    if (pending_ != in_force_)
        colour_statement(pending_);
    hc_ps_emit(op == 13 ? "cf" : (closed ? "cs" : "s"));
    hc_ps_emit("grestore");
}

void PostScriptDriver::font_statement()
{
    const GraphicsState& g = graphics_state();
    font_valid_ = true;
    if (g.font_family < 1 || g.font_family > 4)
        return;
    const std::size_t kind = static_cast<std::size_t>(std::clamp(g.text_kind, 0, 2));
    const float a = std::clamp(g.char_width * g.rotated_area_span_x * g.rotated_hardcopy_scale_x, 1.0f, 999.0f);
    const float b = std::clamp(g.char_height * g.rotated_area_span_y * g.rotated_hardcopy_scale_y, 1.0f, 999.0f);
    std::string font("/");
    if (g.font_family == 4) {
        font += "Symbol";
    } else {
        font += families[static_cast<std::size_t>(g.font_family - 1)];
        font += '-';
        font += static_cast<char>('1' + (g.font_style & 3));
    }
    hc_ps_statement(font + " ff [" + hc_real_field(a * font_scale_x[kind], 5, 1) + " 0 0 " +
              hc_real_field(b * font_scale_y[kind], 5, 1) + " 0 0] ms");
}

// The string of a text: "(" and the text with "(", ")" and "\" escaped, cut
// at the string limit without parting an escape from its character; a line
// that would pass the line limit goes on after a backslash and line end,
// which PostScript reads as no character at all.
void PostScriptDriver::string_lines(std::string_view text, std::string_view show)
{
    std::string escaped;
    for (char c : text) {
        const std::size_t need = (c == '(' || c == ')' || c == '\\') ? 2 : 1;
        if (escaped.size() + need > string_limit)
            break;
        if (need == 2)
            escaped += '\\';
        escaped += c;
    }
    std::string whole = "(" + escaped + ") " + std::string(show);
    while (whole.size() > line_limit) {
        std::size_t cut = line_limit - 1; // room for the continuing backslash
        // Never part an escape: count the backslashes before the cut.
        std::size_t run = 0;
        while (run < cut && whole[cut - 1 - run] == '\\')
            ++run;
        if (run % 2 == 1)
            --cut;
        hc_ps_emit(whole.substr(0, cut) + "\\");
        whole.erase(0, cut);
    }
    hc_ps_emit(whole);
}

void PostScriptDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    hc_page_drawn();
    hc_ps_colour(3);
    if (!font_valid_)
        font_statement();
    const int justification = g.text_kind == 1 ? 0 : std::clamp(g.text_alignment, 0, 2);
    float x = p.rx1, y = p.ry1;
    if (justification == 2) {
        x = p.rx3;
        y = p.ry3;
    } else if (justification == 1) {
        x = (p.rx1 + p.rx3) / 2.0f;
        y = (p.ry1 + p.ry3) / 2.0f;
    }
    // The second character vector, which would move the anchor across the
    // line, is (0, 0): nothing in the toolkit sets it.
    hc_ps_point(x, y, "m");
    const int angle = gr_trunc(g.device_char_angle);
    if (angle != 0)
        hc_ps_number(angle, "ro");
    static constexpr std::string_view shows[] = {"lsh", "csh", "rsh"};
    string_lines(hc_driver_text(p), shows[justification]);
    if (angle != 0)
        hc_ps_number(360 - angle, "ro");
    hc.last_pen_x = -9999.0f;
    hc.last_pen_y = -9999.0f;
}

void PostScriptDriver::clip(DeviceParameters&)
{
    if (eps())
        return;
    const GraphicsState& g = graphics_state();
    hc_ps_colour(1);
    hc_ps_emit("initclip");
    const auto t = [](float v) { return static_cast<float>(gr_trunc(v)); };
    hc_ps_point(t(g.area_px1), t(g.area_py1), "m");
    hc_ps_point(t(g.area_px2 + 0.99f), t(g.area_py1), "l");
    hc_ps_point(t(g.area_px2 + 0.99f), t(g.area_py2 + 0.99f), "l");
    hc_ps_point(t(g.area_px1), t(g.area_py2 + 0.99f), "l");
    hc_ps_emit("clip");
    hc_ps_emit("newpath");
}

void PostScriptDriver::line_type(DeviceParameters&)
{
    const int type = graphics_state().line_type;
    if (type == last_line_type_)
        return;
    hc_ps_colour(1);
    const std::size_t entry = type >= 0 && type < 8 ? static_cast<std::size_t>(type) : 0;
    hc_ps_emit(std::string(PostScriptDashTable[entry]) + " d");
    last_line_type_ = type;
}

void PostScriptDriver::line_width(DeviceParameters&)
{
    const int width = hc_option(option_line_width);
    if (width == last_width_)
        return;
    hc_ps_colour(1);
    hc_ps_number(width / 10.0, "w");
    last_width_ = width;
}

void PostScriptDriver::line_join(DeviceParameters&)
{
    hc_ps_colour(1);
    const int join = std::clamp(hc_option(option_line_join), 0, 2);
    hc_ps_emit(std::to_string(join) + " setlinejoin");
    if (join == 0)
        hc_ps_emit("5.0 setmiterlimit");
}

void PostScriptDriver::line_cap(DeviceParameters&)
{
    hc_ps_colour(1);
    hc_ps_emit(std::to_string(std::clamp(hc_option(option_line_cap), 0, 2)) + " setlinecap");
}

// The image fills the clip box, turned with the page; its samples follow
// as hexadecimal red, green, blue, forty pixels a line.
void PostScriptDriver::image_file(DeviceParameters& p)
{
    hc_ps_colour(1);
    std::vector<std::int32_t> pixels;
    int w = 0, h = 0;
    if (!hc_driver_read_image(p, pixels, w, h))
        return;
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    hc_ps_emit("gsave");
    hc_ps_statement("/picstr " + hc_integer_field(3LL * w, 10) + " string def");
    hc_ps_number(g.rotation, "ro");
    const float cx1 = g.area_px1, cy1 = g.area_py1, cx2 = g.area_px2, cy2 = g.area_py2;
    switch (g.rotation) {
    case 90:
        hc_ps_point_swapped(cy1, -cx2, "translate");
        hc_ps_point_swapped(cy2 - cy1, cx2 - cx1, "scale");
        break;
    case 180:
        hc_ps_point(-cx2, -cy2, "translate");
        hc_ps_point(cx2 - cx1, cy2 - cy1, "scale");
        break;
    case 270:
        hc_ps_point_swapped(-cy2, cx1, "translate");
        hc_ps_point_swapped(cy2 - cy1, cx2 - cx1, "scale");
        break;
    default:
        hc_ps_point(cx1, cy1, "translate");
        hc_ps_point(cx2 - cx1, cy2 - cy1, "scale");
        break;
    }
    const std::string ws = std::to_string(w), hs = std::to_string(h);
    hc_ps_statement(ws + " " + hs + " 8 [" + ws + " 0 0 -" + hs + " 0 " + hs + "]");
    hc_ps_emit("{currentfile picstr readhexstring pop}");
    hc_ps_emit("false 3");
    hc_ps_emit("colorimage");
    std::string line;
    for (std::int32_t rgb : pixels) {
        int r = 0, gr = 0, b = 0;
        gr_rgb_unpack(rgb, &r, &gr, &b);
        line += hc_colour_hex(r, gr, b);
        if (line.size() == 240) {
            hc_ps_emit(line);
            line.clear();
        }
    }
    if (!line.empty())
        hc_ps_emit(line);
    hc_ps_emit("grestore");
}

} // namespace

Device& hc_postscript()
{
    return toolkit_context().record<PostScriptDriver>(ContextSlot::postscript_driver);
}

} // namespace korv
