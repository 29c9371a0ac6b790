// The GDI device: each operation of the screen side carried out on the
// current drawing context through the GDI primitives.
#include "graphics/screen_device.h"

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "graphics/gdi_primitives.h"
#include "graphics/image_files_win.h"
#include "graphics/metafile_slots.h"
#include "graphics/shaded_polygon.h"
#include "graphics/palette.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

namespace korv {

namespace {

// The font last made, so that an unchanged size makes no new font.
struct FontCache {
    int width = -1, height = -1, angle = -1, family = -1, style = -1;
    std::string face;
    int ascent = 0, cell_height = 0;
    int letters_width = 0; // width of the 52 letters in the last font of kind 0
    bool batch_open = false;
};

class GdiDevice final : public Device {
public:
    void select(DeviceParameters&) override;
    void line(DeviceParameters& p) override
    {
        if (drawable())
            gdi_line(p.px1, flip(p.py1), p.px2, flip(p.py2));
    }
    void colour(DeviceParameters&) override
    {
        const auto& g = graphics_state();
        gdi_colour_set(g.cur_device_colour, g.cur_rgb);
    }
    void ellipse_outline(DeviceParameters& p) override { ellipse(p, 4, 4); }
    void ellipse_fill(DeviceParameters& p) override { ellipse(p, 0, 3); }
    void ellipse_solid(DeviceParameters& p) override { ellipse(p, 0, 4); }
    void quadrilateral_fill(DeviceParameters& p) override { corners(p, 4, 3); }
    void quadrilateral_solid(DeviceParameters& p) override { corners(p, 4, 4); }
    void rectangle_fill(DeviceParameters& p) override { rectangle(p, 3); }
    void rectangle_solid(DeviceParameters& p) override { rectangle(p, 4); }
    void triangle_fill(DeviceParameters& p) override { corners(p, 3, 3); }
    void triangle_solid(DeviceParameters& p) override { corners(p, 3, 4); }
    void pie_fill(DeviceParameters& p) override { pie(p, 3); }
    void pie_solid(DeviceParameters& p) override { pie(p, 4); }
    void polygon_fill(DeviceParameters& p) override { polygon(p, 3); }
    void polygon_solid(DeviceParameters& p) override { polygon(p, 4); }
    void clear(DeviceParameters&) override
    {
        const auto& g = graphics_state();
        if (drawable())
            gdi_clear(g.drawable_width, g.drawable_height, gr_colour_table_get(0));
    }
    void open(DeviceParameters&) override { cache_ = FontCache{}; }
    void character_size(DeviceParameters&) override { font(); }
    void character_angle(DeviceParameters&) override { font(); }
    void text(DeviceParameters& p) override;
    void block_move(DeviceParameters& p) override;
    void clip(DeviceParameters&) override;
    void text_width(DeviceParameters& p) override
    {
        int width = 0;
        gdi_text_width(width, text_of(p, p.phase));
        p.rx1 = static_cast<float>(width);
        p.count = 1;
    }
    void point(DeviceParameters& p) override
    {
        if (drawable())
            gdi_point(p.px1, flip(p.py1));
    }
    void drawing_mode(DeviceParameters&) override { gdi_draw_mode_set(graphics_state().drawing_mode); }
    void palette_entry(DeviceParameters& p) override;
    void line_type(DeviceParameters&) override { gdi_line_type_set(graphics_state().line_type); }
    void line_width(DeviceParameters&) override;
    void read_pixel(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override
    {
        if (drawable())
            gdi_polyline(vertices(p, p.count));
    }
    void arc(DeviceParameters& p) override;
    void palette(DeviceParameters& p) override;
    void line_join(DeviceParameters&) override { gdi_line_join_set(graphics_state().line_join); }
    void line_cap(DeviceParameters&) override { gdi_line_cap_set(graphics_state().line_cap); }
    void image_file(DeviceParameters& p) override;
    void shaded_polygon(DeviceParameters& p) override;

private:
    static int flip(int y) { return screen_flip(y, graphics_state().drawable_height); }
    static bool drawable()
    {
        // A drawable of no size shows nothing.
        const auto& g = graphics_state();
        return g.drawable_width > 0 && g.drawable_height > 0;
    }
    static bool metafile() { return graphics_state().target_kind == target_metafile; }
    static std::string_view text_of(const DeviceParameters& p, int n)
    {
        return std::string_view(p.text.data(), static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(p.text.size()))));
    }

    void ellipse(DeviceParameters& p, int mode, int kind)
    {
        if (drawable())
            gdi_ellipse(p.px1, flip(p.py1), p.px2, p.py2, mode, kind);
    }
    void corners(DeviceParameters& p, int n, int kind)
    {
        if (!drawable())
            return;
        const int xs[4] = {p.px1, p.px2, p.px3, p.px4};
        const int ys[4] = {p.py1, p.py2, p.py3, p.py4};
        gdi_points_alloc(n);
        for (int i = 0; i < n; ++i)
            gdi_point_put(xs[i], flip(ys[i]), i);
        gdi_polygon_fill(n, kind);
        gdi_points_free();
    }
    void rectangle(DeviceParameters& p, int kind)
    {
        if (drawable())
            gdi_rectangle_fill(p.px1, flip(p.py2), p.px2, flip(p.py1), kind);
    }
    // Fills the point buffer from the vertex arrays; the count is checked
    // against what the arrays hold.
    int vertices(const DeviceParameters& p, int count)
    {
        const int n = std::clamp(count, 0, static_cast<int>(std::min(p.poly_x.size(), p.poly_y.size())));
        gdi_points_alloc(n);
        for (int i = 0; i < n; ++i)
            gdi_point_put(gr_trunc(p.poly_x[static_cast<std::size_t>(i)]),
                          flip(gr_trunc(p.poly_y[static_cast<std::size_t>(i)])), i);
        return n;
    }
    void polygon(DeviceParameters& p, int kind)
    {
        if (!drawable())
            return;
        gdi_polygon_fill(vertices(p, p.count), kind);
        gdi_points_free();
    }
    PiePoints pie_points(const DeviceParameters& p) const
    {
        return screen_pie_points(p.px1, p.py1, p.rx2, p.ry2, p.rx3, p.ry3, p.rx4, p.ry4,
                                 graphics_state().drawable_height);
    }
    void pie(DeviceParameters& p, int kind)
    {
        if (!drawable())
            return;
        const PiePoints q = pie_points(p);
        gdi_pie_fill(p.px1, flip(p.py1), screen_nearest(p.rx2), screen_nearest(p.ry2), q.xs, q.ys, q.xe, q.ye, kind);
    }
    void font();
    void colours_again();
    std::int32_t recorded_palette_value(int number) const;

    FontCache cache_;
};

void GdiDevice::select(DeviceParameters&)
{
    auto& d = device_capabilities().screen;
    d.flags_set("11111111111111111110111011111");
    if (metafile())
        d.capability_flags[28] = '0';
    d.true_colour = display_info().colour_count > 256 ? 1 : 0;
    d.shading = win_gradient_fill_available();
    // Description words that no routine reads.
    d.word_a = 360;
    d.platform_level = display_info().windows_nt ? 2 : 1;
    d.word_b = 8;
    d.real_value = 1.7e38f;
    d.word_f = 1;
    d.word_g = 1;
}

void GdiDevice::arc(DeviceParameters& p)
{
    if (!drawable())
        return;
    const auto& g = graphics_state();
    const PiePoints q = pie_points(p);
    gdi_arc(p.px1, flip(p.py1), screen_nearest(p.rx2), screen_nearest(p.ry2), q.xs, q.ys, q.xe, q.ye, g.fill_density,
            g.fill_style);
}

void GdiDevice::font()
{
    auto& g = graphics_state();
    const float w_real = g.char_width * g.rotated_area_span_x;
    const float h_real = g.char_height * g.rotated_area_span_y;
    if (w_real > 0)
        g.char_scale_x = g.rotated_limit_x / w_real;
    if (h_real > 0)
        g.char_scale_y = g.rotated_limit_y / h_real;
    const int angle = gr_trunc(g.device_char_angle);
    int style = g.font_style;
    if (g.text_kind == 1)
        style &= ~4;
    const FontSize size = screen_font_size(g.char_width, g.char_height, g.rotated_area_span_x,
                                           g.rotated_area_span_y, g.text_kind, g.font_family);
    const std::string face = g.font_family == 0 ? std::string(text_trimmed(text_view(g.font_name))) : std::string();
    const bool same = size.width == cache_.width && size.height == cache_.height && angle == cache_.angle &&
                      g.font_family == cache_.family && style == cache_.style &&
                      (g.font_family != 0 || face == cache_.face);
    if (!same) {
        cache_.width = size.width;
        cache_.height = size.height;
        cache_.angle = angle;
        cache_.family = g.font_family;
        cache_.style = style;
        cache_.face = face;
        int width = size.width, height = size.height, ascent = 0;
        gdi_font_select(width, height, ascent, angle, g.font_family, style, face);
        cache_.cell_height = height;
        cache_.ascent = ascent;
        if (g.text_kind == 0)
            cache_.letters_width = width;
        g.device_cell_height = cache_.cell_height;
        g.device_cell_width = width / 52;
    }
    if (g.text_kind == 0 && cache_.letters_width > 0)
        g.char_scale_x = g.rotated_limit_x * 52.0f / static_cast<float>(cache_.letters_width);
}

void GdiDevice::text(DeviceParameters& p)
{
    if (!drawable())
        return;
    const auto& g = graphics_state();
    const float u = static_cast<float>(cache_.ascent) - 0.5f * static_cast<float>(cache_.cell_height);
    const float c = g.device_char_cos, s = g.device_char_sin_y;
    if (g.text_layout == 0) {
        const int alignment = g.text_kind == 1 ? 0 : g.text_alignment;
        const bool opaque = (g.font_style & 8) != 0 && g.text_kind != 1;
        gdi_text(screen_nearest(p.rx1 + s * u), flip(screen_nearest(p.ry1 - c * u)), screen_nearest(p.rx4 + s * u),
                 flip(screen_nearest(p.ry4 - c * u)), alignment, opaque, text_of(p, p.px1));
        p.px4 = 0;
        return;
    }
    const float x0 = p.rx1 + s * u, y0 = p.ry1 - c * u;
    const std::string_view t = text_of(p, p.px1);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const float fi = static_cast<float>(i);
        gdi_text(screen_nearest(x0 + g.char_step_x * fi), flip(screen_nearest(y0 - g.char_step_y * fi)),
                 screen_nearest(x0 + g.char_box_x + g.char_step_x * fi),
                 flip(screen_nearest(y0 + g.char_box_y - g.char_step_y * fi)), 1, false, t.substr(i, 1));
    }
}

void GdiDevice::block_move(DeviceParameters& p)
{
    if (metafile() || !drawable())
        return;
    const int width = p.px2 - p.px1 + 1, height = p.py2 - p.py1 + 1;
    gdi_block_move(p.px1, flip(p.py2), p.px3, flip(p.py3 + p.py2 - p.py1), width, height, p.phase != 0,
                   gr_colour_table_get(0));
}

void GdiDevice::clip(DeviceParameters&)
{
    const auto& g = graphics_state();
    const ClipRect r = screen_clip_rect(g.screen_clip_x1, g.screen_clip_y1, g.screen_clip_x2, g.screen_clip_y2,
                                        g.drawable_width, g.drawable_height, g.target_kind == target_dialog_field);
    if (r.off)
        gdi_clip_set(0, 0, 0, -1);
    else
        gdi_clip_set(r.left, r.top, r.right, r.bottom);
}

void GdiDevice::read_pixel(DeviceParameters& p)
{
    if (metafile()) {
        p.px1 = -1;
        return;
    }
    int red = -1, green = 0, blue = 0;
    gdi_pixel_get(p.px1, flip(p.py1), red, green, blue);
    p.px1 = red;
    p.px2 = green;
    p.px3 = blue;
    if (red != -1)
        p.px1 = red + 256 * green + 65536 * blue;
}

std::int32_t GdiDevice::recorded_palette_value(int number) const
{
    const int levels = graphics_state().device_colour_count;
    if (levels == 16)
        return number >= 0 && number < 16 ? gr_colour16_get(number) : -1;
    return number >= 0 && number < 128 ? gr_colour_reduced_get(number) : -1;
}

void GdiDevice::colours_again()
{
    const auto& g = graphics_state();
    gdi_colour_set(g.prev_device_colour, g.prev_rgb);
    gdi_colour_set(g.cur_device_colour, g.cur_rgb);
}

void GdiDevice::palette_entry(DeviceParameters& p)
{
    const auto& g = graphics_state();
    if (display_info().colour_count == 256) {
        const bool changed = recorded_palette_value(p.phase) != p.px1;
        const PaletteStep step = screen_palette_step(changed, p.px4 != 0, cache_.batch_open);
        if (step.set)
            gdi_palette_entry_set(p.phase, p.px1, step.phase);
    }
    if (g.colour_mode == 1 && (p.phase == g.prev_device_colour || p.phase == g.cur_device_colour))
        colours_again();
}

void GdiDevice::palette(DeviceParameters&)
{
    auto& g = graphics_state();
    if (display_info().colour_count == 256) {
        const int n = std::clamp(g.device_colour_count, 0, 128);
        for (int i = 0; i < n; ++i)
            gdi_palette_entry_set(i, recorded_palette_value(i), i == 0 ? 1 : i == n - 1 ? 3 : 2);
    }
    if (g.colour_mode == 1) {
        g.prev_rgb = gr_colour_table_get(g.prev_index);
        g.cur_rgb = gr_colour_table_get(g.cur_index);
    }
    colours_again();
}

void GdiDevice::line_width(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const MetafileSlot* slot = metafile() ? metafile_slot(g.target_number) : nullptr;
    // A metafile is drawn at its slot's scale; a slot without a width in
    // points keeps the plain width.
    if (slot != nullptr && slot->width_points != 0)
        gdi_line_width_set(static_cast<int>(static_cast<long long>(g.metafile_line_width) * slot->device_width /
                                            (10LL * slot->width_points)));
    else
        gdi_line_width_set(g.line_width);
}

void GdiDevice::image_file(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    gdi_image_rotated(p.image_file_view(), g.rotation, g.screen_clip_x1, g.screen_clip_y1, g.screen_clip_x2,
                      g.screen_clip_y2, p.px1, p.py1, p.py3, p.phase, p.count);
}

void GdiDevice::shaded_polygon(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const int n = std::clamp(p.shade_count, 0, static_cast<int>(std::min(p.poly_x.size(), p.poly_y.size())));
    p.shade_x.resize(static_cast<std::size_t>(n));
    p.shade_y.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        p.shade_x[k] = screen_floor(p.poly_x[k]);
        p.shade_y[k] = flip(screen_floor(p.poly_y[k]));
    }
    const ShadeClip clip{g.screen_clip_x1, flip(g.screen_clip_y2), g.screen_clip_x2, flip(g.screen_clip_y1)};
    auto triangles = [](std::span<const int> x, std::span<const int> y, std::span<const std::int32_t> colours,
                        std::span<const int> list) {
        std::vector<int> numbered(list.begin(), list.end());
        for (int& v : numbered)
            ++v;
        int status = 1;
        gdi_gradient_triangles(x.data(), y.data(), colours.data(), numbered.data(), static_cast<int>(x.size()),
                               static_cast<int>(numbered.size() / 3), status);
        return status;
    };
    gr_shaded_polygon_split(p, device_capabilities().screen.shading, clip, gdi_plot_pixel, triangles);
}

} // namespace

// The picture goes into the clip box (left, bottom, right, top, y up). On
// the NT platform a quarter turn gives the rectangle with its sides
// exchanged, and the transform's offsets bring it back onto the clip box.
void gdi_image_rotated(std::string_view file_name, int rotation, int l, int b, int r, int top, int format,
                       int stretch, int stretch_mode, int& status, int& system_code)
{
    const WindowTables& t = window_tables();
    const int height = graphics_state().drawable_height;
    auto flip = [height](int y) { return screen_flip(y, height); };
    const ImageRectangle page{l, flip(top), r, flip(b)};
    const bool nt = display_info().windows_nt != 0;
    const bool quarter = nt && (rotation == 90 || rotation == 270);
    const ImageRectangle rect = quarter ? ImageRectangle{b, flip(r), top, flip(l)} : page;
    const ImageTurn turn = nt ? img_turn_onto(rotation, page, rect) : ImageTurn{rotation, 0, 0};
    system_code = 0;
    status = img_draw_file(format, t.drawing_dc, t.clip_region, rect, stretch != 0, stretch_mode, turn, system_code,
                           file_name);
}

Device& gdi_device()
{
    return toolkit_context().record<GdiDevice>(ContextSlot::screen_device);
}

} // namespace korv
