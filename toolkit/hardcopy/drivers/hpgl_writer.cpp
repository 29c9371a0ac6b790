#include "hardcopy/drivers/hpgl_writer.h"

#include <cmath>

#include <algorithm>
#include <array>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
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

void HpglWriter::hc_hpgl_instruction(std::string_view text) const
{
    const std::string line = hpgl_compacted(text);
    hc_unit_write_line(plot_unit, blank_first_ ? " " + line : line);
}

void HpglWriter::hc_hpgl_text(std::string_view text) const { hc_hpgl_instruction(text.substr(0, 50)); }

int HpglWriter::user_x(float x) const { return gr_trunc(x * sx); }
int HpglWriter::user_y(float y) const { return gr_trunc(y * sy); }

void HpglWriter::hc_hpgl_vector(std::string_view mnemonic, float x, float y) const
{
    hc_hpgl_instruction(std::string(mnemonic) + hc_integer_field(user_x(x), 6) + " " + hc_integer_field(user_y(y), 6));
}

void HpglWriter::hc_hpgl_label(std::string_view text, char terminator) const
{
    std::string line = blank_first_ ? " LB" : "LB";
    for (char c : text)
        if (c != terminator)
            line += c;
    line += terminator;
    hc_unit_write_line(plot_unit, line);
}

void HpglWriter::move_to(float x, float y) const
{
    const HardcopyState& hc = hardcopy_state();
    if (x != hc.last_pen_x || y != hc.last_pen_y)
        hc_hpgl_vector("PU", x, y);
}

void HpglWriter::label_at(float x, float y, std::string_view text, char terminator) const
{
    hc_hpgl_vector("PU", x, y);
    hc_hpgl_label(text, terminator);
    HardcopyState& hc = hardcopy_state();
    hc.last_pen_x = hc.last_pen_y = -9999.0f;
}

void HpglWriter::segment(float x1, float y1, float x2, float y2) const
{
    HardcopyState& hc = hardcopy_state();
    move_to(x1, y1);
    hc_hpgl_vector("PD", x2, y2);
    hc.last_pen_x = x2;
    hc.last_pen_y = y2;
}

PlotOpen hpgl_open_plot(HpglWriter& out, const DeviceParameters& p, char& terminator)
{
    const GraphicsState& g = graphics_state();
    out.sx = hpgl_user_units / g.device_limit_x;
    out.sy = hpgl_user_units / g.device_limit_y;
    if (p.phase < 1)
        return PlotOpen::rescaled;
    if (!hc_driver_open_output())
        return PlotOpen::failed;
    out.line_mode(hc_option(option_line_mode) != 0);
    terminator = static_cast<char>(std::clamp(hc_option(option_label_terminator), 1, 127));
    return PlotOpen::opened;
}

void PlotterDriver::open(DeviceParameters& p)
{
    const PlotOpen plot = hpgl_open_plot(out_, p, terminator_);
    if (plot == PlotOpen::failed)
        return;
    if (plot == PlotOpen::opened)
        begin_plot(p);
    out_.hc_hpgl_instruction(hpgl_scale_reset);
}

void hpgl_plot_head(const HpglWriter& out, const HpglCorners& c, bool turned, char terminator)
{
    const std::string corners = c.fields();
    out.hc_hpgl_instruction("IN; IP" + corners);
    out.hc_hpgl_instruction(std::string(turned ? "RO 90" : "RO 0") + "; IP" + corners);
    out.hc_hpgl_text(std::string("DT") + terminator);
    out.hc_hpgl_text("DI1. 0.");
}

void hpgl_circle(const HpglWriter& out, const DeviceParameters& p, bool filled, const std::function<void()>& after_move)
{
    out.hc_hpgl_vector("PU", p.rx1, p.ry1);
    after_move();
    const HpglScale scale = hpgl_scale_line(p.rx3);
    out.hc_hpgl_instruction(scale.line);
    if (filled)
        out.hc_hpgl_instruction("PM0");
    out.hc_hpgl_instruction("CI" + hc_integer_field(gr_trunc(static_cast<float>(p.rx2 * scale.radius_factor) * out.sx), 6) +
                            " 0");
    if (filled)
        out.hc_hpgl_instruction("PM2;FP");
    HardcopyState& hc = hardcopy_state();
    hc.last_pen_x = p.rx1;
    hc.last_pen_y = p.ry1;
}

void hpgl_character_size(const HpglWriter& out, bool& pending, float a, float divisor, int kind)
{
    if (!pending)
        return;
    pending = false;
    static constexpr std::array<float, 3> heights = {1.0f, 1.211f, 1.211f};
    const float b = heights[static_cast<std::size_t>(std::clamp(kind, 0, 2))];
    const GraphicsState& g = graphics_state();
    float w = 100 * a * g.char_width * g.rotated_area_span_x / (divisor * g.rotated_limit_x);
    float h = 100 * b * g.char_height * g.rotated_area_span_y / (2 * g.rotated_limit_y);
    if (g.rotation % 180 != 0 && g.page_aspect != 0) {
        w *= g.page_aspect;
        h /= g.page_aspect;
    }
    out.hc_hpgl_instruction("SR" + hc_real_field(w, 8, 2) + " " + hc_real_field(h, 8, 2));
}

void hpgl_direction(const HpglWriter& out)
{
    const GraphicsState& g = graphics_state();
    out.hc_hpgl_instruction("DI" + hc_real_field(g.device_char_cos, 6, 3) + " " + hc_real_field(g.device_char_sin_x, 6, 3));
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
    out.hc_hpgl_instruction("SC");
    const double kx = hc_option(option_page_width) * u / g.device_limit_x;
    const double ky = hc_option(option_page_height) * u / g.device_limit_y;
    const int x1 = c.p1x + static_cast<int>(g.area_px1 * kx), y1 = c.p1y + static_cast<int>(g.area_py1 * ky);
    const int x2 = std::min(c.p2x, c.p1x + static_cast<int>(g.area_px2 * kx + 0.99));
    const int y2 = std::min(c.p2y, c.p1y + static_cast<int>(g.area_py2 * ky + 0.99));
    out.hc_hpgl_instruction("IW" + hc_integer_field(x1, 7) + " " + hc_integer_field(y1, 7) + " " + hc_integer_field(x2, 7) +
                    " " + hc_integer_field(y2, 7));
    out.hc_hpgl_instruction(hpgl_scale_reset);
}

void hc_hpgl_wedge(const HpglWriter& out, int op, const DeviceParameters& p, std::string_view pen_down,
                const std::function<void()>& after_centre)
{
    const GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    const bool closed = op == 13 || g.fill_style != 0 || g.fill_density <= 2;
    if (closed) {
        out.hc_hpgl_vector("PU", p.rx1, p.ry1);
        after_centre();
    }
    const HpglScale scale = hpgl_scale_line(1.0f);
    out.hc_hpgl_instruction(scale.line);
    const float cx = static_cast<float>(p.rx1 * scale.x_factor), cy = static_cast<float>(p.ry1 * scale.y_factor);
    const float r = static_cast<float>(p.rx2 * scale.radius_factor);
    if (closed) {
        out.hc_hpgl_instruction(std::string(op == 13 ? "WG" : "EW") + hc_integer_field(gr_trunc(r * out.sx), 6) + " " +
                        hc_real_field(p.rx4, 7, 1) + " " + hc_real_field(p.ry4, 7, 1));
        hc.last_pen_x = p.rx1;
        hc.last_pen_y = p.ry1;
    } else {
        const float radius = r * out.sx, x = cx * out.sx, y = cy * out.sy;
        out.hc_hpgl_instruction("PU" + hc_integer_field(gr_trunc(x + radius * std::cos(p.rx3)), 6) + " " +
                        hc_integer_field(gr_trunc(y + radius * std::sin(p.rx3)), 6));
        out.hc_hpgl_instruction(pen_down);
        out.hc_hpgl_instruction("AA" + hc_integer_field(gr_trunc(x), 6) + " " + hc_integer_field(gr_trunc(y), 6) + " " +
                        hc_real_field(p.ry4, 7, 1));
        hc.last_pen_x = hc.last_pen_y = -9999.0f;
    }
    out.hc_hpgl_instruction(hpgl_scale_reset);
}

} // namespace korv
