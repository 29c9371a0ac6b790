#include "graphics/screen_device.h"

#include "korvanthide/drawing.h"

#include <algorithm>
#include <cmath>

namespace korv {

int screen_nearest(float v)
{
    return gr_trunc(std::round(v));
}

int screen_floor(float v)
{
    return v >= 0 ? gr_trunc(v) : gr_trunc(v - 0.999f);
}

PiePoints screen_pie_points(int cx, int cy, float rx, float ry, float start_radians, float end_radians,
                            float start_degrees, float sweep_degrees, int drawable_height)
{
    const float fx = static_cast<float>(cx), fy = static_cast<float>(cy);
    PiePoints p{gr_trunc(fx + rx * std::cos(start_radians)), gr_trunc(fy + ry * std::sin(start_radians)),
                gr_trunc(fx + rx * std::cos(end_radians)), gr_trunc(fy + ry * std::sin(end_radians))};
    p.ys = screen_flip(p.ys, drawable_height);
    p.ye = screen_flip(p.ye, drawable_height);
    if (p.xs == p.xe && p.ys == p.ye && std::fabs(sweep_degrees) <= 10) {
        float a = std::fmod(start_degrees, 360.0f);
        if (a < 0)
            a += 360.0f;
        if (a < 90)
            p.xe -= 1, p.ye -= 1;
        else if (a < 180)
            p.xe -= 1, p.ye += 1;
        else if (a < 270)
            p.xe += 1, p.ye += 1;
        else
            p.xe += 1, p.ye -= 1;
    }
    return p;
}

PaletteStep screen_palette_step(bool changed, bool more_follow, bool& batch_open)
{
    if (!changed) {
        if (more_follow || !batch_open)
            return {false, 0};
        batch_open = false;
        return {true, 3};
    }
    if (more_follow) {
        const int phase = batch_open ? 2 : 1;
        batch_open = true;
        return {true, phase};
    }
    const int phase = batch_open ? 3 : 0;
    batch_open = false;
    return {true, phase};
}

FontSize screen_font_size(float char_width, float char_height, float span_x, float span_y, int text_kind,
                          int font_family)
{
    float w = char_width * span_x, h = char_height * span_y;
    if (text_kind == 1 || text_kind == 2) {
        w *= text_kind == 1 ? 0.607f : 0.725f;
        if (font_family == 4)
            w *= 1.22f;
        h *= 0.821f;
    }
    return {std::max(screen_nearest(w), 1), std::max(screen_nearest(h), 1)};
}

ClipRect screen_clip_rect(int l, int b, int r, int t, int drawable_width, int drawable_height, bool dialog_field)
{
    if (l < 1 && b < 1 && r >= drawable_width - 1 && t >= drawable_height - 1 && !dialog_field)
        return {true, 0, 0, 0, 0};
    // The clip box is inclusive in whole pixels; the region leaves out its
    // right and bottom edges, so both reach one pixel further.
    return {false, l, screen_flip(t, drawable_height), r + 1, screen_flip(b, drawable_height) + 1};
}

} // namespace korv
