// User units, the graphics area with its clip box, the transforms between
// user, device and window co-ordinates, and the clipped line from which
// every outline and hatch line is built.
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/services/hardcopy.h"
#include "graphics/stroke_font.h"
#include "graphics/units.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace korv {

int gr_trunc(float v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<float>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<float>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

void gr_area_to_pixels()
{
    auto& g = graphics_state();
    float x1, y1, x2, y2;
    if (g.screen_active >= 1) {
        x1 = g.area_px1;
        y1 = g.area_py1;
        x2 = g.area_px2;
        y2 = g.area_py2;
        g.screen_clip_x1 = g.area_ix1;
        g.screen_clip_y1 = g.area_iy1;
        g.screen_clip_x2 = g.area_ix2;
        g.screen_clip_y2 = g.area_iy2;
    } else {
        const float w = static_cast<float>(g.drawable_width), h = static_cast<float>(g.drawable_height);
        x1 = w * g.area_x1;
        y1 = h * g.area_y1;
        x2 = std::min(w * g.area_x2, w - 0.01f);
        y2 = std::min(h * g.area_y2, h - 0.01f);
        if (!(x1 > 0))
            x1 = 0;
        if (!(y1 > 0))
            y1 = 0;
        g.screen_clip_x1 = gr_trunc(x1);
        g.screen_clip_y1 = gr_trunc(y1);
        g.screen_clip_x2 = gr_trunc(x2);
        g.screen_clip_y2 = gr_trunc(y2);
    }
    g.screen_area_x1 = x1;
    g.screen_area_y1 = y1;
    g.screen_area_x2 = x2;
    g.screen_area_y2 = y2;
    g.screen_area_span_x = x2 - x1;
    g.screen_area_span_y = y2 - y1;
}

void gr_area_set_clip(float x1, float y1, float x2, float y2)
{
    auto& g = graphics_state();
    const float lx = static_cast<float>(g.device_width) - 0.01f;
    const float ly = static_cast<float>(g.device_height) - 0.01f;
    g.area_px1 = x1 > 0 ? x1 : 0;
    g.area_py1 = y1 > 0 ? y1 : 0;
    g.area_px2 = lx > x2 ? x2 : lx;
    g.area_py2 = ly > y2 ? y2 : ly;
    g.clip_test_x1 = g.area_px1 - 0.001f;
    g.clip_test_y1 = g.area_py1 - 0.001f;
    g.clip_test_x2 = g.area_px2 + 0.001f;
    g.clip_test_y2 = g.area_py2 + 0.001f;
    g.area_ix1 = gr_trunc(g.area_px1);
    g.area_iy1 = gr_trunc(g.area_py1);
    g.area_ix2 = gr_trunc(g.area_px2);
    g.area_iy2 = gr_trunc(g.area_py2);
    g.area_span_px = g.area_px2 - g.area_px1;
    g.area_span_py = g.area_py2 - g.area_py1;
    gr_area_to_pixels();
    gr_send_screen(DeviceOperation::Clip);
}

void gr_page_aspect()
{
    auto& g = graphics_state();
    const HardcopyPage page = hardcopy_services().page();
    const int w = page.width, h = page.height;
    if (w > 0 && h > 0)
        g.page_aspect = g.rotation % 180 == 0 ? static_cast<float>(w) / static_cast<float>(h)
                                              : static_cast<float>(h) / static_cast<float>(w);
}

void gr_page_dimensions_update()
{
    auto& g = graphics_state();
    const HardcopyPage hc = hardcopy_services().page();
    const bool straight = g.rotation % 180 == 0;
    g.rotated_limit_x = straight ? g.device_limit_x : g.device_limit_y;
    g.rotated_limit_y = straight ? g.device_limit_y : g.device_limit_x;
    g.rotated_hardcopy_scale_x = straight ? hc.scale_x : hc.scale_y;
    g.rotated_hardcopy_scale_y = straight ? hc.scale_y : hc.scale_x;
    g.rotated_area_span_x = straight ? g.area_span_px : g.area_span_py;
    g.rotated_area_span_y = straight ? g.area_span_py : g.area_span_px;
    if (g.screen_active >= 1) {
        if (g.device_width > 0 && g.device_height > 0) {
            const float a = static_cast<float>(g.device_width) / static_cast<float>(g.device_height);
            g.drawable_aspect = straight ? a : 1.0f / a;
        }
    } else {
        g.drawable_aspect = g.page_aspect;
    }
    // The character angle's aspect terms and the character size follow the new page.
    gr_char_angle_set(g.char_angle);
    IGrCharacterSizeSet();
}

void gr_world_to_device(float x, float y, float& X, float& Y)
{
    const auto& g = graphics_state();
    const float sx = g.area_span_px, sy = g.area_span_py, ux = g.user_span_x, uy = g.user_span_y;
    switch (g.rotation) {
    case 0:
        X = g.area_px1 + (x - g.user_x1) * sx / ux;
        Y = g.area_py1 + (y - g.user_y1) * sy / uy;
        break;
    case 90:
        X = g.area_px2 - (y - g.user_y1) * sx / uy;
        Y = g.area_py1 + (x - g.user_x1) * sy / ux;
        break;
    case 180:
        X = g.area_px2 - (x - g.user_x1) * sx / ux;
        Y = g.area_py2 - (y - g.user_y1) * sy / uy;
        break;
    case 270:
        X = g.area_px1 + (y - g.user_y1) * sx / uy;
        Y = g.area_py2 - (x - g.user_x1) * sy / ux;
        break;
    default:
        break;
    }
}

void gr_pixel_to_user(float X, float Y, float& x, float& y)
{
    const auto& g = graphics_state();
    const float a = g.screen_area_x1, b = g.screen_area_y1;
    const float w = g.screen_area_span_x, h = g.screen_area_span_y;
    const float ux = g.user_span_x, uy = g.user_span_y;
    switch (g.rotation) {
    case 0:
        x = g.user_x1 + (X - a) * ux / w;
        y = g.user_y1 + (Y - b) * uy / h;
        break;
    case 90:
        x = g.user_x1 + (Y - b) * ux / h;
        y = g.user_y2 - (X - a) * uy / w;
        break;
    case 180:
        x = g.user_x2 - (X - a) * ux / w;
        y = g.user_y2 - (Y - b) * uy / h;
        break;
    case 270:
        x = g.user_x2 - (Y - b) * ux / h;
        y = g.user_y1 + (X - a) * uy / w;
        break;
    default:
        break;
    }
}

void gr_viewer_pixel_to_user(float X, float Y, float& x, float& y, int wb, int hb, int s, int t)
{
    const auto& g = graphics_state();
    const float fw = static_cast<float>(wb), fh = static_cast<float>(hb);
    x = g.user_x1 + (X + static_cast<float>(s) - fw * g.area_x1) * g.user_span_x / (fw * g.area_span_x);
    y = g.user_y1 + (Y + fh - static_cast<float>(t) - fh * g.area_y1) * g.user_span_y / (fh * g.area_span_y);
}

void gr_pixel_to_window_units(int px, int py, int& u, int& v)
{
    const auto& g = graphics_state();
    u = g.client_width <= 1 ? 0 : gr_trunc((static_cast<float>(px) + 0.5f) * 9999.0f / static_cast<float>(g.client_width));
    v = g.client_height <= 1 ? 0
                             : gr_trunc((static_cast<float>(py) + 0.5f) * 9999.0f / static_cast<float>(g.client_height));
}

void gr_window_units_to_pixel(int u, int v, int& px, int& py)
{
    const auto& g = graphics_state();
    px = static_cast<int>((static_cast<long long>(g.client_width) - 1) * u / 9999);
    py = static_cast<int>((static_cast<long long>(g.client_height) - 1) * v / 9999);
}

void gr_position_set(float x, float y)
{
    graphics_state().position_x = x;
    graphics_state().position_y = y;
}

void gr_position_add(float dx, float dy)
{
    graphics_state().position_x += dx;
    graphics_state().position_y += dy;
}

bool gr_clip_point_inside(float x, float y)
{
    const auto& g = graphics_state();
    return g.clip_test_x1 <= x && x <= g.clip_test_x2 && g.clip_test_y1 <= y && y <= g.clip_test_y2;
}

bool gr_clip_segment_inside(float x, float y, float xa, float ya, float xb, float yb)
{
    return gr_clip_point_inside(x, y) && std::min(xa, xb) <= x && x <= std::max(xa, xb) && std::min(ya, yb) <= y &&
           y <= std::max(ya, yb);
}

namespace {

// An axis-parallel segment: both ends clamped to [lo, hi] along the axis.
bool clip_straight(float& a1, float& a2, float lo, float hi)
{
    if (std::min(a1, a2) > hi || std::max(a1, a2) < lo)
        return false;
    float& lower = a2 <= a1 ? a2 : a1;
    float& upper = a2 <= a1 ? a1 : a2;
    lower = std::max(lower, lo);
    upper = std::min(upper, hi);
    return true;
}

} // namespace

bool gr_clip_line(float& x1, float& y1, float& x2, float& y2)
{
    const auto& g = graphics_state();
    if (gr_clip_point_inside(x1, y1) && gr_clip_point_inside(x2, y2))
        return true;
    if (std::trunc(x1) == std::trunc(x2)) {
        if (!clip_straight(y1, y2, g.area_py1, g.area_py2))
            return false;
        return gr_clip_point_inside(x1, y1);
    }
    if (std::trunc(y1) == std::trunc(y2)) {
        if (!clip_straight(x1, x2, g.area_px1, g.area_px2))
            return false;
        return gr_clip_point_inside(x1, y1);
    }
    const float m = (y2 - y1) / (x2 - x1);
    const float c = y1 - x1 * m;
    const auto counts = [&](float x, float y) { return gr_clip_segment_inside(x, y, x1, y1, x2, y2); };

    // Top edge.
    float cx = (g.area_py2 - c) / m, cy = g.area_py2;
    if (counts(cx, cy)) {
        if (gr_clip_point_inside(x1, y1) && y1 < y2) {
            x2 = cx, y2 = cy;
            return true;
        }
        if (gr_clip_point_inside(x2, y2) && y2 < y1) {
            x1 = cx, y1 = cy;
            return true;
        }
        if (y2 <= y1)
            x1 = cx, y1 = cy;
        else
            x2 = cx, y2 = cy;
    }
    // Bottom edge.
    cx = (g.area_py1 - c) / m, cy = g.area_py1;
    if (counts(cx, cy)) {
        if (gr_clip_point_inside(x1, y1) && y2 < y1) {
            x2 = cx, y2 = cy;
            return true;
        }
        if (gr_clip_point_inside(x2, y2) && y1 < y2) {
            x1 = cx, y1 = cy;
            return true;
        }
        if (y1 <= y2)
            x1 = cx, y1 = cy;
        else
            x2 = cx, y2 = cy;
    }
    // Right edge.
    cx = g.area_px2, cy = c + m * g.area_px2;
    if (counts(cx, cy)) {
        if (gr_clip_point_inside(x1, y1) && x1 < x2) {
            x2 = cx, y2 = cy;
            return true;
        }
        if (gr_clip_point_inside(x2, y2) && x2 < x1) {
            x1 = cx, y1 = cy;
            return true;
        }
        if (x2 > x1)
            x2 = cx, y2 = cy;
        else
            x1 = cx, y1 = cy;
    }
    // Left edge.
    cx = g.area_px1, cy = c + m * g.area_px1;
    if (counts(cx, cy)) {
        if (gr_clip_point_inside(x1, y1)) {
            x2 = cx, y2 = cy;
            return true;
        }
        if (gr_clip_point_inside(x2, y2)) {
            x1 = cx, y1 = cy;
            return true;
        }
    }
    return false;
}

void gr_line_clipped(float x1, float y1, float x2, float y2)
{
    auto& p = device_parameters();
    p.rx1 = x1;
    p.ry1 = y1;
    p.rx2 = x2;
    p.ry2 = y2;
    if (!gr_clip_line(p.rx1, p.ry1, p.rx2, p.ry2))
        return;
    const auto& g = graphics_state();
    if (g.screen_active >= 1) {
        p.px1 = gr_trunc(p.rx1);
        p.py1 = gr_trunc(p.ry1);
        p.px2 = gr_trunc(p.rx2);
        p.py2 = gr_trunc(p.ry2);
        gr_send_screen(DeviceOperation::Line);
    }
    if (g.hardcopy_active >= 1)
        gr_send_hardcopy(DeviceOperation::Line);
}

void gr_line_clipped_user(float x1, float y1, float x2, float y2)
{
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    gr_world_to_device(x1, y1, X1, Y1);
    gr_world_to_device(x2, y2, X2, Y2);
    gr_line_clipped(X1, Y1, X2, Y2);
}

} // namespace korv

void IGrUnits(float x1, float y1, float x2, float y2)
{
    auto& g = korv::graphics_state();
    // NaN fails the test too, so the axis falls back to 0..1.
    if (x2 > x1) {
        g.user_x1 = x1;
        g.user_x2 = x2;
    } else {
        g.user_x1 = 0;
        g.user_x2 = 1;
        korv::err_report(korv::err::unit_range, "IGrUnits");
    }
    if (y2 > y1) {
        g.user_y1 = y1;
        g.user_y2 = y2;
    } else {
        g.user_y1 = 0;
        g.user_y2 = 1;
        korv::err_report(korv::err::unit_range, "IGrUnits");
    }
    g.user_span_x = g.user_x2 - g.user_x1;
    g.user_span_y = g.user_y2 - g.user_y1;
}

void IGrArea(float x1, float y1, float x2, float y2)
{
    auto& g = korv::graphics_state();
    const auto accepted = [](float a, float b) { return 0 <= a && a < 1 && 0 < b && b <= 1 && b > a; };
    if (accepted(x1, x2)) {
        g.area_x1 = x1;
        g.area_x2 = x2;
    } else {
        g.area_x1 = 0;
        g.area_x2 = 1;
        korv::err_report(korv::err::area_range, "IGrArea");
    }
    if (accepted(y1, y2)) {
        g.area_y1 = y1;
        g.area_y2 = y2;
    } else {
        g.area_y1 = 0;
        g.area_y2 = 1;
        korv::err_report(korv::err::area_range, "IGrArea");
    }
    const float w = static_cast<float>(g.device_width), h = static_cast<float>(g.device_height);
    korv::gr_area_set_clip(g.area_x1 * w, g.area_y1 * h, g.area_x2 * w, g.area_y2 * h);
    if (g.internal_reselect == 0) {
        korv::gr_send_hardcopy(korv::DeviceOperation::Clip);
        g.area_span_x = g.area_x2 - g.area_x1;
        g.area_span_y = g.area_y2 - g.area_y1;
        korv::gr_page_dimensions_update();
    }
}
