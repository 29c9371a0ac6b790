// Line and fill attributes, the area outline and rectangles with their
// fills: solid or two-colour fills by the screen device, hatching and
// emulated fills as clipped lines.
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "graphics/units.h"

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

// Which sides are open for one pass; put back when the pass ends.
class ActiveSides {
public:
    ActiveSides() : screen_(graphics_state().screen_active), hardcopy_(graphics_state().hardcopy_active) {}
    ~ActiveSides()
    {
        graphics_state().screen_active = screen_;
        graphics_state().hardcopy_active = hardcopy_;
    }
    ActiveSides(const ActiveSides&) = delete;
    ActiveSides& operator=(const ActiveSides&) = delete;
    int screen() const { return screen_; }
    int hardcopy() const { return hardcopy_; }

private:
    int screen_, hardcopy_;
};

struct HatchSpacing {
    float sx = 1, sy = 1;
    int isx = 1, isy = 1;
    float inset = 0;
    bool alternate = false;
};

// The largest multiple of step not above v.
// The largest multiple of step at or below v, in 64 bits: v may be any int.
long long floor_multiple(long long v, int step)
{
    if (step <= 0)
        return v;
    long long q = v / step;
    if (v % step != 0 && v < 0)
        --q;
    return q * step;
}

// How many steps of size step take from to just below `to` (0 when from is
// already there): a line set far outside the drawing area starts at the
// clip box instead of walking there a line at a time.
double steps_to(double from, double to, double step)
{
    if (!(step > 0) || !(to > from))
        return 0;
    return std::floor((to - from) / step);
}

// A step that always advances: a pitch of zero or less, or NaN, becomes the
// whole-number step (at least 1).
float advancing(float step, int whole)
{
    return step > 0 ? step : static_cast<float>(std::max(whole, 1));
}

int density_of(int n)
{
    return std::clamp(n, 1, 5);
}

HatchSpacing gr_hatch_spacing(int pass, int density)
{
    const auto& g = graphics_state();
    HatchSpacing h;
    h.inset = pass == 1 && g.drawing_mode != 0 ? 1.0f : 0.0f;
    h.alternate = pass == 2 && g.fill_style < 3;
    const int n = density_of(density);
    const int ydiv = (1 << (n - 1)) * 10 + 20;
    const int xdiv = (1 << n) * 10 + 10;
    if (pass == 1) {
        if (g.fill_style <= 2) {
            h.isy = std::max(g.device_height / ydiv, 2);
            h.isx = std::max(g.device_width / xdiv, 2);
            h.sy = static_cast<float>(h.isy);
            h.sx = static_cast<float>(h.isx);
        } else {
            h.isy = g.fill_style == 3 && g.fill_emulation_screen == 2 ? 2 : 1;
            h.sy = static_cast<float>(h.isy);
            h.isx = h.isy;
            h.sx = h.sy;
        }
    } else if (g.fill_style <= 2) {
        h.sy = g.rotated_limit_y / static_cast<float>(ydiv);
        h.sx = g.rotated_limit_x / static_cast<float>(xdiv);
        h.isy = gr_trunc(std::max(h.sy, 1.0f));
        h.isx = gr_trunc(std::max(h.sx, 1.0f));
    } else {
        h.sy = g.hardcopy_hatch_pitch;
        h.isy = gr_trunc(std::max(g.hardcopy_hatch_pitch, 1.0f));
        h.isx = h.isy;
        h.sx = h.sy;
    }
    h.sy = advancing(h.sy, h.isy);
    h.sx = advancing(h.sx, h.isx);
    return h;
}

// The colour pair of the current mode.
bool same_colours()
{
    const auto& g = graphics_state();
    return g.colour_mode == 1 ? g.prev_index == g.cur_index : g.prev_rgb == g.cur_rgb;
}

void gr_fill_same_colour_check(int replacement, int& op)
{
    if (graphics_state().fill_style == 3 && same_colours())
        op = replacement;
}

// The colours saved while the second line set of a two-colour emulated
// fill is drawn.
struct SavedColours {
    int prev_index = 0, cur_index = 0;
    std::int32_t prev_rgb = 0, cur_rgb = 0;
    int prev_device = 0, cur_device = 0;
};

void gr_fill_colour_switch(int pass, int& stage, SavedColours& saved)
{
    auto& g = graphics_state();
    const int word = pass == 1 ? g.fill_emulation_screen : g.fill_emulation_hardcopy;
    if (word != 2 || g.fill_style != 3)
        return;
    const int side = pass == 1 ? 1 : 2;
    if (stage == 1) {
        const int colours = pass == 1 ? g.device_colour_count : g.hardcopy_colour_count;
        if (colours == 1)
            return;
        saved = {g.prev_index, g.cur_index, g.prev_rgb, g.cur_rgb, g.prev_device_colour, g.cur_device_colour};
        if (colours == 2 && g.cur_index != 0)
            IGrColourRestore(0, gr_colour_table_get(0), 0, side);
        else
            IGrColourRestore(saved.prev_index, saved.prev_rgb, saved.prev_device, side);
    } else {
        g.cur_index = saved.prev_index;
        g.cur_rgb = saved.prev_rgb;
        g.cur_device_colour = saved.prev_device;
        IGrColourRestore(saved.cur_index, saved.cur_rgb, saved.cur_device, side);
    }
    ++stage;
}

struct Box {
    float min_x, min_y, max_x, max_y;
    int ixmin, iymin, ixmax, iymax;
};

// A set of horizontal lines from start + sy on, step sy, inside the box.
// Lines below or above the graphics area are not walked through.
void horizontal_set(const Box& b, const HatchSpacing& h, double start, bool& forward)
{
    const auto& g = graphics_state();
    const float xa = b.min_x + h.inset, xb = b.max_x - h.inset;
    // Keep one step before the area so the first visible line is the one
    // the whole walk would draw; skipped lines keep the direction's parity.
    const double skipped = std::max(0.0, steps_to(start, g.area_py1, h.sy) - 1);
    if (std::fmod(skipped, 2.0) != 0)
        forward = !forward;
    const double top = std::min(static_cast<double>(b.max_y), static_cast<double>(g.area_py2) + h.sy);
    for (double n = skipped + 1;; ++n) {
        double y = start + n * h.sy;
        if (y <= b.min_y)
            y = b.min_y;
        if (!(y < top))
            break;
        const float fy = static_cast<float>(y);
        if (!h.alternate)
            gr_line_clipped(xb, fy, xa, fy);
        else if (forward)
            gr_line_clipped(xa, fy, xb, fy);
        else
            gr_line_clipped(xb, fy, xa, fy);
        forward = !forward;
    }
}

void vertical_set(const Box& b, const HatchSpacing& h, bool& forward)
{
    const auto& g = graphics_state();
    const float ya = b.min_y + h.inset, yb = b.max_y - h.inset;
    const double start = static_cast<double>(floor_multiple(b.ixmin, h.isx));
    const double skipped = std::max(0.0, steps_to(start, g.area_px1, h.sx) - 1);
    if (std::fmod(skipped, 2.0) != 0)
        forward = !forward;
    const double right = std::min(static_cast<double>(b.max_x), static_cast<double>(g.area_px2) + h.sx);
    for (double n = skipped + 1;; ++n) {
        double x = start + n * h.sx;
        if (x <= b.min_x)
            x = b.min_x;
        if (!(x < right))
            break;
        const float fx = static_cast<float>(x);
        if (!h.alternate)
            gr_line_clipped(fx, yb, fx, ya);
        else if (forward)
            gr_line_clipped(fx, ya, fx, yb);
        else
            gr_line_clipped(fx, yb, fx, ya);
        forward = !forward;
    }
}

// The two sets of slanted lines. Each line runs from the box's left edge at
// height y to its right edge w higher (rising set) or lower (falling set);
// only the lines that can cross the clip box are drawn, so a box far
// outside the area costs no more than one inside it.
void diagonal_sets(const Box& b, const HatchSpacing& h, int angle, int style)
{
    const auto& g = graphics_state();
    const long long w = static_cast<long long>(b.ixmax) - b.ixmin;
    const float cx0 = std::max(b.min_x, g.area_px1) + h.inset, cy0 = std::max(b.min_y, g.area_py1) + h.inset;
    const float cx1 = std::min(b.max_x, g.area_px2) - h.inset, cy1 = std::min(b.max_y, g.area_py2) - h.inset;
    gr_area_set_clip(cx0, cy0, cx1, cy1);
    const double span = static_cast<double>(b.max_x) - b.min_x;
    const double slope = span > 0 ? static_cast<double>(w) / span : 0;
    const auto lines = [&h](double first, double last, double lo, double hi, auto draw) {
        const double from = std::max(first, lo), to = std::min(last, hi);
        for (double n = steps_to(first, from, h.sy);; ++n) {
            const double y = first + n * h.sy;
            if (y > to)
                break;
            if (y >= from)
                draw(static_cast<float>(y));
        }
    };
    if (angle == 1 || style == 2)
        lines(static_cast<double>(floor_multiple(static_cast<long long>(b.iymin) - w, h.isy)), b.max_y,
              cy0 - slope * (cx1 - b.min_x) - h.sy, cy1 - slope * (cx0 - b.min_x) + h.sy,
              [&](float y) { gr_line_clipped(b.min_x, y, b.max_x, y + static_cast<float>(w)); });
    if (angle == 2 || style == 2)
        lines(static_cast<double>(floor_multiple(b.iymin, h.isy)), static_cast<double>(b.max_y) + w,
              cy0 + slope * (cx0 - b.min_x) - h.sy, cy1 + slope * (cx1 - b.min_x) + h.sy,
              [&](float y) { gr_line_clipped(b.min_x, y, b.max_x, y - static_cast<float>(w)); });
    const float dw = static_cast<float>(g.device_width), dh = static_cast<float>(g.device_height);
    gr_area_set_clip(g.area_x1 * dw, g.area_y1 * dh, g.area_x2 * dw, g.area_y2 * dh);
}

// The outline and hatch lines of one pass.
void rectangle_pass(int pass, const Box& b, int style, int angle, int density)
{
    const auto& g = graphics_state();
    if (g.fill_style <= 2 && g.fill_outline != 0)
        gr_rect_outline(b.min_x, b.min_y, b.max_x, b.max_y);
    if (style != 1 && style != 2)
        return;
    const HatchSpacing h = gr_hatch_spacing(pass, density);
    bool forward = true;
    const bool straight = angle == 3 || angle == 4;
    if (angle == 3 || (style == 2 && straight)) {
        const double start = static_cast<double>(floor_multiple(b.iymin, h.isy));
        horizontal_set(b, h, start, forward);
        int stage = 1;
        SavedColours saved;
        gr_fill_colour_switch(pass, stage, saved);
        if (stage == 2) {
            horizontal_set(b, h, start + h.sy / 2, forward);
            gr_fill_colour_switch(pass, stage, saved);
        }
    }
    if (angle == 4 || (style == 2 && straight))
        vertical_set(b, h, forward);
    if (!straight)
        diagonal_sets(b, h, angle, style);
}

enum class Entry { corners, from_position, ordered };

// Device co-ordinates of a rectangle are kept within this distance of the
// origin, far outside any drawable.
constexpr float far_device = 1e9f;

void rectangle(Entry entry, float x1, float y1, float x2, float y2)
{
    auto& g = graphics_state();
    float X1 = x1, Y1 = y1, X2 = x2, Y2 = y2;
    // A corner that is not a finite number makes no rectangle: the hatch
    // walks would have no end.
    const bool finite = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
    if (!finite || (entry != Entry::ordered && (x1 == x2 || y1 == y2))) {
        err_report(err::shape_size, "IGrRectangle");
        return;
    }
    if (entry != Entry::ordered) {
        gr_world_to_device(x1, y1, X1, Y1);
        gr_world_to_device(x2, y2, X2, Y2);
    }
    // Far beyond the drawable the box is cut: its edges there are not seen,
    // and the hatch walks stay bounded (a corner at 1e38 user units may
    // not even be a finite device co-ordinate).
    for (float* v : {&X1, &Y1, &X2, &Y2})
        *v = std::isnan(*v) ? 0.0f : std::clamp(*v, -far_device, far_device);
    Box b{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2), 0, 0, 0, 0};
    b.ixmin = gr_trunc(b.min_x);
    b.iymin = gr_trunc(b.min_y);
    b.ixmax = gr_trunc(b.max_x);
    b.iymax = gr_trunc(b.max_y);
    const bool outside = b.ixmin > g.area_ix2 || b.ixmax < g.area_ix1 || b.iymin > g.area_iy2 ||
                         b.iymax < g.area_iy1;
    // A drawable of no size shows nothing.
    const bool empty = g.device_width <= 0 || g.device_height <= 0;
    if (!outside && !empty) {
        auto& p = device_parameters();
        p.rx1 = b.min_x;
        p.ry1 = b.min_y;
        p.rx2 = b.max_x;
        p.ry2 = b.max_y;
        p.px1 = std::max(b.ixmin, g.area_ix1);
        p.py1 = std::max(b.iymin, g.area_iy1);
        p.px2 = std::min(b.ixmax, g.area_ix2);
        p.py2 = std::min(b.iymax, g.area_iy2);

        int style = g.fill_style, angle = g.fill_angle;
        bool passes = true;
        if (g.fill_style >= 3) {
            int op = g.fill_style + 6;
            gr_fill_same_colour_check(10, op);
            gr_send_screen(op);
            if (g.fill_emulation_screen == 0 && g.hardcopy_active < 1)
                passes = false;
            style = 1; // an emulated fill is drawn as horizontal lines
            angle = 3;
        }
        if (passes) {
            const ActiveSides sides;
            if (sides.hardcopy() >= 1) {
                p.phase = 1;
                gr_send_hardcopy(DeviceOperation::RectangleFill);
            }
            const bool fills = g.fill_style >= 3;
            if (sides.screen() >= 1 && (!fills || g.fill_emulation_screen != 0)) {
                g.hardcopy_active = 0;
                rectangle_pass(1, b, style, angle, g.fill_density);
                g.hardcopy_active = sides.hardcopy();
            }
            g.fill_emulation_screen = 0;
            if (sides.hardcopy() >= 1 && (!fills || g.fill_emulation_hardcopy != 0)) {
                g.screen_active = 0;
                rectangle_pass(2, b, style, angle, g.fill_density);
                g.screen_active = sides.screen();
            }
            g.fill_emulation_hardcopy = 0;
            p.phase = -1;
            g.screen_active = sides.screen();
            g.hardcopy_active = sides.hardcopy();
            gr_send_hardcopy(DeviceOperation::RectangleFill);
        }
    }
    if (entry == Entry::corners)
        gr_position_set(x1, y1);
}

} // namespace

void gr_rect_outline(float x1, float y1, float x2, float y2)
{
    auto& g = graphics_state();
    const ActiveSides sides;
    const auto four = [&](float dx, float dy) {
        gr_line_clipped(x1 + dx, y1, x2, y1);
        gr_line_clipped(x2, y1 + dy, x2, y2);
        gr_line_clipped(x2 - dx, y2, x1, y2);
        gr_line_clipped(x1, y2 - dy, x1, y1);
    };
    if (sides.screen() >= 1) {
        g.hardcopy_active = 0;
        // In a combining drawing mode each corner pixel is drawn once.
        float dx = 0, dy = 0;
        if (g.drawing_mode != 0) {
            dx = x2 - x1 >= 0 ? 1.0f : -1.0f;
            dy = y2 - y1 >= 0 ? 1.0f : -1.0f;
        }
        four(dx, dy);
        g.hardcopy_active = sides.hardcopy();
    }
    if (sides.hardcopy() >= 1) {
        g.screen_active = 0;
        four(0, 0);
        g.screen_active = sides.screen();
    }
}

} // namespace korv

void IGrFillStyleSet(int style, std::optional<int> density, std::optional<int> angle)
{
    auto& g = korv::graphics_state();
    if (style >= -2 && style <= 4) {
        g.fill_style = style < 0 ? -style : style;
        g.fill_outline = style >= 0 ? 1 : 0;
    } else {
        g.fill_style = 0;
        g.fill_outline = 1;
    }
    g.fill_density = density && *density >= 1 && *density <= 5 ? *density : 2;
    g.fill_angle = angle && *angle >= 1 && *angle <= 4 ? *angle : 3;
}

void IGrDrawModeSet(std::optional<int> mode)
{
    korv::graphics_state().drawing_mode = mode.value_or(0);
    korv::gr_send_screen(korv::DeviceOperation::DrawingMode);
}

void IGrLineTypeSet(std::optional<int> type)
{
    korv::graphics_state().line_type = type && *type >= 0 && *type <= 7 ? *type : 0;
    korv::gr_send_screen(korv::DeviceOperation::LineType);
    korv::gr_send_hardcopy(korv::DeviceOperation::LineType);
}

void IGrAreaOutline()
{
    const auto& g = korv::graphics_state();
    korv::gr_rect_outline(g.area_px1, g.area_py1, g.area_px2, g.area_py2);
}

void IGrRectangle(float x1, float y1, float x2, float y2)
{
    korv::rectangle(korv::Entry::corners, x1, y1, x2, y2);
}

void IGrRectangleFromPosition(float dx, float dy)
{
    const auto& g = korv::graphics_state();
    korv::rectangle(korv::Entry::from_position, g.position_x, g.position_y, g.position_x + dx, g.position_y + dy);
}

// Corners in device co-ordinates; the current position stays where it is.
void IGrRectangleOrdered(float x1, float y1, float x2, float y2)
{
    korv::rectangle(korv::Entry::ordered, x1, y1, x2, y2);
}
