#include "hardcopy/drivers/hpgl_writer.h"

#include <cmath>

#include <algorithm>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "core/services/hardcopy.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

std::string hpgl_compacted(std::string_view text)
{
    std::string out(text.substr(0, 2));
    bool blank = false;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (text[i] == ' ') {
            blank = out.size() > 2;
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += text[i];
    }
    return out;
}

void HpglWriter::instruction(std::string_view text) const
{
    const std::string line = hpgl_compacted(text);
    hc_unit_write_line(plot_unit, blank_first_ ? " " + line : line);
}

int HpglWriter::user_x(float x) const { return gr_trunc(x * sx); }
int HpglWriter::user_y(float y) const { return gr_trunc(y * sy); }

void HpglWriter::vector(std::string_view mnemonic, float x, float y) const
{
    instruction(std::string(mnemonic) + hc_integer_field(user_x(x), 6) + " " + hc_integer_field(user_y(y), 6));
}

void HpglWriter::label(std::string_view text, char terminator) const
{
    std::string line = blank_first_ ? " LB" : "LB";
    for (char c : text)
        if (c != terminator)
            line += c;
    line += terminator;
    hc_unit_write_line(plot_unit, line);
}

HpglScale hpgl_scale_line(float ratio)
{
    const GraphicsState& g = graphics_state();
    const double a = g.area_span_x, b = g.area_span_y, aspect = g.page_aspect;
    const double big = hpgl_user_units;
    double T = g.rotation % 180 == 0 ? big * a / (b * aspect * ratio) : big * a * aspect * ratio / b;
    if (!std::isfinite(T) || T < 1)
        T = big;
    const long long t = static_cast<long long>(T);
    HpglScale s;
    if (t <= hpgl_user_units) {
        s.line = "SC0 32760 0" + hc_integer_field(t, 6);
        s.y_factor = static_cast<double>(t) / big;
    } else {
        const long long shortened = 1073217600LL / t;
        s.line = "SC0" + hc_integer_field(shortened, 6) + " 0 32760";
        s.x_factor = static_cast<double>(shortened) / big;
        s.radius_factor = big / static_cast<double>(t);
    }
    return s;
}

std::string HpglCorners::fields() const
{
    return hc_integer_field(p1x, 7) + " " + hc_integer_field(p1y, 7) + " " + hc_integer_field(p2x, 7) + " " +
           hc_integer_field(p2y, 7);
}

HpglCorners hpgl_corners(double u)
{
    HpglCorners c;
    c.p1x = static_cast<int>(hc_option(option_x_offset) * u);
    c.p1y = static_cast<int>(hc_option(option_y_offset) * u);
    c.p2x = static_cast<int>((hc_option(option_page_width) + hc_option(option_x_offset)) * u);
    c.p2y = static_cast<int>((hc_option(option_page_height) + hc_option(option_y_offset)) * u);
    return c;
}

void hpgl_clip_window(const HpglWriter& out, const HpglCorners& c, double u)
{
    const GraphicsState& g = graphics_state();
    out.instruction("SC");
    const double kx = hc_option(option_page_width) * u / g.device_limit_x;
    const double ky = hc_option(option_page_height) * u / g.device_limit_y;
    const int x1 = c.p1x + static_cast<int>(g.area_px1 * kx), y1 = c.p1y + static_cast<int>(g.area_py1 * ky);
    const int x2 = std::min(c.p2x, c.p1x + static_cast<int>(g.area_px2 * kx + 0.99));
    const int y2 = std::min(c.p2y, c.p1y + static_cast<int>(g.area_py2 * ky + 0.99));
    out.instruction("IW" + hc_integer_field(x1, 7) + " " + hc_integer_field(y1, 7) + " " + hc_integer_field(x2, 7) +
                    " " + hc_integer_field(y2, 7));
    out.instruction(hpgl_scale_reset);
}

void hpgl_wedge(const HpglWriter& out, int op, const DeviceParameters& p, std::string_view pen_down,
                const std::function<void()>& after_centre)
{
    const GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    const bool closed = op == 13 || g.fill_style != 0 || g.fill_density <= 2;
    if (closed) {
        out.vector("PU", p.rx1, p.ry1);
        after_centre();
    }
    const HpglScale scale = hpgl_scale_line(1.0f);
    out.instruction(scale.line);
    const float cx = static_cast<float>(p.rx1 * scale.x_factor), cy = static_cast<float>(p.ry1 * scale.y_factor);
    const float r = static_cast<float>(p.rx2 * scale.radius_factor);
    if (closed) {
        out.instruction(std::string(op == 13 ? "WG" : "EW") + hc_integer_field(gr_trunc(r * out.sx), 6) + " " +
                        hc_real_field(p.rx4, 7, 1) + " " + hc_real_field(p.ry4, 7, 1));
        hc.last_pen_x = p.rx1;
        hc.last_pen_y = p.ry1;
    } else {
        const float radius = r * out.sx, x = cx * out.sx, y = cy * out.sy;
        out.instruction("PU" + hc_integer_field(gr_trunc(x + radius * std::cos(p.rx3)), 6) + " " +
                        hc_integer_field(gr_trunc(y + radius * std::sin(p.rx3)), 6));
        out.instruction(pen_down);
        out.instruction("AA" + hc_integer_field(gr_trunc(x), 6) + " " + hc_integer_field(gr_trunc(y), 6) + " " +
                        hc_real_field(p.ry4, 7, 1));
        hc.last_pen_x = hc.last_pen_y = -9999.0f;
    }
    out.instruction(hpgl_scale_reset);
}

} // namespace korv
