#include "hardcopy/drivers/hpgl_writer.h"

#include <cmath>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
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

} // namespace korv
