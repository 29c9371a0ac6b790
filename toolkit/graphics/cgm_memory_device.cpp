// In-memory CGM device: one method per operation, each building its
// elements with the shared CGM element writers.
#include "graphics/cgm_memory_device.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/images.h"
#include "core/context.h"
#include "graphics/formats/cgm_elements.h"
#include "graphics/metafile_slots.h"
#include "graphics/shaded_polygon.h"

namespace korv {
namespace {

// Attribute cache entries of a slot.
enum Cached : int {
    line_colour = 0,
    text_colour,
    fill_colour,
    edge_colour,
    auxiliary_colour,
    font_index,
    character_height,
    text_alignment,
    edge_width,
    edge_type,
};

MetafileSlot* target_slot()
{
    MetafileSlot* s = metafile_slot(graphics_state().target_number);
    return s != nullptr && s->kind == metafile_cgm ? s : nullptr;
}

// Appends one whole element; true when it went in.
bool append(const ByteSink& element)
{
    MetafileSlot* s = target_slot();
    if (s == nullptr)
        return false;
    const int before = s->bytes_used;
    const auto& b = element.bytes();
    YYGCGM1({reinterpret_cast<const std::uint8_t*>(b.data()), b.size()});
    return s->bytes_used != before || b.empty();
}

// An element of words after its header.
void words(int element_class, int id, std::initializer_list<int> values)
{
    ByteSink e;
    cgm_element_header(e, element_class, id, 2 * static_cast<int>(values.size()));
    for (int v : values)
        cgm_word16(e, v);
    append(e);
}

// Writes the element only when value differs from the cache entry, which
// takes the value once the element went in.
template <class Build> void cached(Cached entry, std::int32_t value, Build build)
{
    MetafileSlot* s = target_slot();
    if (s == nullptr || s->cgm_cache[entry] == value)
        return;
    ByteSink e;
    build(e);
    if (append(e))
        s->cgm_cache[entry] = value;
}

void colour_cached(Cached entry, int id, int element_class, int r, int g, int b)
{
    cached(entry, r + 256 * g + 65536 * b, [&](ByteSink& e) { cgm_colour_element(e, element_class, id, r, g, b); });
}

int to_int(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}
int rounded(double v) { return to_int(std::round(v)); }

void points_element(int element_class, int id, std::initializer_list<std::pair<int, int>> points)
{
    ByteSink e;
    cgm_element_header(e, element_class, id, 4 * static_cast<int>(points.size()));
    for (const auto& [x, y] : points)
        cgm_point(e, x, y);
    append(e);
}

void component_split(std::int32_t rgb, int& r, int& g, int& b)
{
    r = rgb & 0xFF;
    g = (rgb >> 8) & 0xFF;
    b = (rgb >> 16) & 0xFF;
}

} // namespace

CgmMemoryDevice& cgm_memory_device()
{
    return toolkit_context().record<CgmMemoryDevice>(ContextSlot::cgm_memory_device);
}

void CgmMemoryDevice::select(DeviceParameters&)
{
    auto& d = device_capabilities().screen;
    d.flags_set("00000110111111100010011011100");
    d.true_colour = 1;
    d.shading = 2;
    d.platform_level = 2;
    d.word_a = 360;
    d.word_b = 8;
    d.real_value = 1.7e38f;
    d.word_f = 1;
    d.word_g = 1;
}

void CgmMemoryDevice::current_colour()
{
    const GraphicsState& g = graphics_state();
    gr_colour_components(g.colour_mode == 1 ? g.cur_index : g.cur_rgb, red_, green_, blue_);
}

void CgmMemoryDevice::line(DeviceParameters& p)
{
    colour_cached(line_colour, 4, 5, red_, green_, blue_);
    points_element(4, 1, {{p.px1, p.py1}, {p.px2, p.py2}});
}

void CgmMemoryDevice::point(DeviceParameters& p)
{
    colour_cached(line_colour, 4, 5, red_, green_, blue_);
    points_element(4, 1, {{p.px1, p.py1}, {p.px1, p.py1}});
}

void CgmMemoryDevice::fill_prelude()
{
    const GraphicsState& g = graphics_state();
    int r = red_, gr = green_, b = blue_;
    if (g.fill_style == 3) {
        int pr = 0, pg = 0, pb = 0;
        gr_colour_components(g.colour_mode == 1 ? g.prev_index : g.prev_rgb, pr, pg, pb);
        r = (r + pr) / 2;
        gr = (gr + pg) / 2;
        b = (b + pb) / 2;
    }
    colour_cached(fill_colour, 23, 5, r, gr, b);
    words(5, 22, {1}); // INTERIOR STYLE solid
}

void CgmMemoryDevice::ellipse(DeviceParameters& p)
{
    fill_prelude();
    ellipse_element(p);
}

// ELLIPSE: the centre and the ends of two conjugate diameters, the second
// stretched by the slot's aspect against the drawable's.
void CgmMemoryDevice::ellipse_element(const DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const double across = (g.drawable_width - 0.01) * g.area_span_x;
    const double e = across != 0 ? static_cast<double>(p.rx3) * p.rx2 * aspect_ * (g.drawable_height - 0.01) *
                                       g.area_span_y / across
                                 : 0.0;
    points_element(4, 17, {{p.px1, p.py1}, {p.px1 + p.px2, p.py1}, {p.px1, to_int(p.py1 + e)}});
}

void CgmMemoryDevice::ellipse_outline(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    words(5, 30, {1}); // EDGE VISIBILITY on
    colour_cached(edge_colour, 29, 5, red_, green_, blue_);
    cached(edge_type, g.line_type, [&](ByteSink& e) {
        cgm_element_header(e, 5, 27, 2);
        cgm_word16(e, cgm_line_type(g.line_type));
    });
    cached(edge_width, g.line_width, [&](ByteSink& e) {
        cgm_element_header(e, 5, 28, 2);
        cgm_word16(e, 4 * g.line_width);
    });
    words(5, 22, {4}); // INTERIOR STYLE empty
    ellipse_element(p);
    words(5, 30, {0});
}

void CgmMemoryDevice::quadrilateral(DeviceParameters& p)
{
    fill_prelude();
    points_element(4, 7, {{p.px1, p.py1}, {p.px2, p.py2}, {p.px3, p.py3}, {p.px4, p.py4}});
}

void CgmMemoryDevice::rectangle(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    fill_prelude();
    points_element(4, 11, {{std::max(p.px1, g.screen_clip_x1), std::max(p.py1, g.screen_clip_y1)},
                           {std::min(p.px2, g.screen_clip_x2), std::min(p.py2, g.screen_clip_y2)}});
}

void CgmMemoryDevice::triangle(DeviceParameters& p)
{
    fill_prelude();
    points_element(4, 7, {{p.px1, p.py1}, {p.px2, p.py2}, {p.px3, p.py3}});
}

// Pie: the centre, every point of the arc at the step the radius gives and
// the end point, as one POLYGON in as many partitions as its points need.
// The vertical radius is turned by the slot's aspect against the
// drawable's, in the parameters themselves.
void CgmMemoryDevice::pie(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    fill_prelude();
    const double x1 = p.rx1, y1 = p.ry1, x2 = p.rx2, x3 = p.rx3, y3 = p.ry3;
    if (g.drawable_aspect != 0)
        p.ry2 = static_cast<float>(p.ry2 / g.drawable_aspect * aspect_);
    const double y2 = p.ry2;
    const long long segments = g.drawable_width > 0 ? static_cast<long long>(to_int(x2)) * 75 / g.drawable_width + 25 : 25;
    const double step = std::numbers::pi / static_cast<double>(std::max(segments, 1LL));
    const MetafileSlot* s = target_slot();
    if (s == nullptr)
        return;
    // The arc's points are counted first: an element larger than the room
    // left is refused whole, so its points are not made.
    const long long room = static_cast<long long>(s->capacity) - s->bytes_used;
    long long k = 0;
    if (x3 <= y3)
        for (double a = x3; a <= y3 && 12 + 4 * k <= room; a += step)
            ++k;
    const long long bytes = 4 * (k + 2);
    const long long partitions = (k + 2 + cgm_points_limit - 1) / cgm_points_limit;
    if (2 + 2 * partitions + bytes > room) {
        err_report(err::cgm_full, "YYGCGM1");
        return;
    }
    std::vector<std::pair<int, int>> points;
    points.reserve(static_cast<std::size_t>(k + 2));
    points.emplace_back(p.px1, p.py1);
    double a = x3;
    for (long long i = 0; i < k; ++i, a += step)
        points.emplace_back(to_int(std::cos(a) * x2 + x1), to_int(std::sin(a) * y2 + y1));
    points.emplace_back(to_int(std::cos(y3) * x2 + x1), to_int(std::sin(y3) * y2 + y1));
    ByteSink e;
    cgm_word16(e, 4 * 4096 + 7 * 32 + 31);
    for (std::size_t at = 0; at < points.size(); at += cgm_points_limit) {
        const std::size_t n = std::min<std::size_t>(cgm_points_limit, points.size() - at);
        cgm_partition_word(e, 4 * static_cast<int>(n), at + n < points.size());
        for (std::size_t i = at; i < at + n; ++i)
            cgm_point(e, points[i].first, points[i].second);
    }
    append(e);
}

void CgmMemoryDevice::polygon(DeviceParameters& p)
{
    fill_prelude();
    const int available = static_cast<int>(std::min(p.poly_x.size(), p.poly_y.size()));
    const int m = std::min({p.count, cgm_points_limit, available});
    if (m < 1)
        return;
    ByteSink e;
    cgm_word16(e, 4 * 4096 + 7 * 32 + 31);
    cgm_partition_word(e, 4 * m, false);
    for (int i = 0; i < m; ++i)
        cgm_point(e, to_int(p.poly_x[static_cast<std::size_t>(i)]), to_int(p.poly_y[static_cast<std::size_t>(i)]));
    append(e);
}

void CgmMemoryDevice::polyline(DeviceParameters& p)
{
    colour_cached(line_colour, 4, 5, red_, green_, blue_);
    const int n = std::min(p.count, static_cast<int>(std::min(p.poly_x.size(), p.poly_y.size())));
    if (n < 1)
        return;
    if (n <= cgm_points_limit) {
        ByteSink e;
        cgm_point_list(e, p.poly_x, p.poly_y, 1, n);
        append(e);
        return;
    }
    // Each chunk starts at the previous chunk's last point.
    for (int first = 1; first <= n - 1; first += cgm_points_limit - 1) {
        ByteSink e;
        cgm_point_list(e, p.poly_x, p.poly_y, first, std::min(first + cgm_points_limit - 1, n));
        append(e);
    }
}

void CgmMemoryDevice::open(DeviceParameters&)
{
    if (MetafileSlot* s = target_slot())
        s->cgm_cache.fill(-1);
}

void CgmMemoryDevice::close(DeviceParameters&)
{
    words(0, 5, {}); // END PICTURE
    words(0, 2, {}); // END METAFILE
}

void CgmMemoryDevice::character_size(DeviceParameters&)
{
    GraphicsState& g = graphics_state();
    const int family = std::clamp(g.font_family, 1, 4);
    const int index = std::clamp(4 * family - 3 + g.font_style % 4, 1, 16);
    cached(font_index, index, [&](ByteSink& e) {
        cgm_element_header(e, 5, 10, 2);
        cgm_word16(e, index);
    });
    const int height = std::max(1, rounded(0.55 * g.char_height * g.area_span_py));
    cached(character_height, height, [&](ByteSink& e) {
        cgm_element_header(e, 5, 15, 2);
        cgm_word16(e, height);
    });
    const MetafileSlot* s = target_slot();
    const double cell_x = static_cast<double>(g.char_width) * g.area_span_px;
    const double cell_y = static_cast<double>(g.char_height) * g.area_span_py;
    if (cell_x <= 0 || cell_y <= 0 || s == nullptr)
        return; // no cell to divide by: the previous values stand
    const double across = (g.drawable_width - 0.01) / cell_x;
    const double down = (g.drawable_height - 0.01) / cell_y;
    g.char_scale_x = static_cast<float>(across);
    g.char_scale_y = static_cast<float>(down);
    if (across > 0)
        g.device_cell_width = to_int(s->device_width / across);
    if (down > 0)
        g.device_cell_height = to_int(s->device_height / down);
}

void CgmMemoryDevice::character_angle(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const double w = static_cast<double>(g.char_width) * g.area_span_px;
    const double c = g.device_char_cos, sb = g.device_char_sin_x, su = g.device_char_sin_y;
    points_element(5, 16, {{to_int(-1.2 * w * su), to_int(1.2 * w * c)}, {to_int(w * c), to_int(w * sb)}});
}

void CgmMemoryDevice::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const MetafileSlot* s = target_slot();
    if (s == nullptr)
        return;
    const std::size_t n = static_cast<std::size_t>(std::clamp(p.px1, 0, cgm_string_limit));
    const std::string_view text = p.text_view().substr(0, n);
    const bool opaque = (g.font_style & 8) != 0 && g.text_kind != 1 && g.text_layout == 0;
    if (opaque) {
        words(3, 4, {0});
        int r = 0, gr = 0, b = 0;
        gr_colour_components(g.colour_mode == 1 ? g.prev_index : g.prev_rgb, r, gr, b);
        colour_cached(auxiliary_colour, 3, 3, r, gr, b);
    }
    colour_cached(text_colour, 14, 5, red_, green_, blue_);
    const int h = g.text_kind == 1 ? 1 : g.text_alignment + 1;
    cached(text_alignment, h, [&](ByteSink& e) {
        cgm_element_header(e, 5, 18, 12);
        cgm_word16(e, h);
        cgm_word16(e, 5);
        for (int i = 0; i < 8; ++i)
            e.put_u8(0);
    });
    double rx = p.rx1, ry = p.ry1;
    if (g.text_kind != 1 && g.text_alignment == 1) {
        rx = (p.rx1 + p.rx3) / 2.0;
        ry = (p.ry1 + p.ry3) / 2.0;
    } else if (g.text_kind != 1 && g.text_alignment == 2) {
        rx = p.rx3;
        ry = p.ry3;
    }
    ByteSink e;
    const int length = static_cast<int>(n);
    if (g.text_kind == 1) {
        cgm_element_header(e, 4, 4, length + 7);
    } else {
        cgm_element_header(e, 4, 5, length + 11);
        cgm_word16(e, rounded(std::hypot(p.rx3 - p.rx1, p.ry3 - p.ry1)));
        cgm_word16(e, rounded(1.25 * s->cgm_cache[character_height]));
    }
    cgm_point(e, rounded(rx), rounded(ry));
    cgm_word16(e, 1);
    cgm_string_even(e, text);
    append(e);
    if (opaque)
        words(3, 4, {1});
}

void CgmMemoryDevice::clip(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    words(3, 6, {1});
    points_element(3, 5, {{g.screen_clip_x1, g.screen_clip_y1}, {g.screen_clip_x2, g.screen_clip_y2}});
}

void CgmMemoryDevice::line_type(DeviceParameters&) { words(5, 2, {cgm_line_type(graphics_state().line_type)}); }

void CgmMemoryDevice::line_width(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const MetafileSlot* s = target_slot();
    if (s == nullptr)
        return;
    // A slot without a width in points keeps the plain thickness.
    const long long divisor = 10LL * s->width_points;
    const long long width = divisor != 0 ? static_cast<long long>(g.line_width) * s->device_width / divisor : g.line_width;
    words(5, 3, {static_cast<int>(std::clamp<long long>(width, -32768, 32767))});
}

void CgmMemoryDevice::line_join(DeviceParameters&) { words(5, 38, {graphics_state().line_join + 2}); }

void CgmMemoryDevice::line_cap(DeviceParameters&) { words(5, 37, {graphics_state().line_cap + 2, 1}); }

void CgmMemoryDevice::metafile_header(DeviceParameters&)
{
    MetafileSlot* s = target_slot();
    if (s == nullptr)
        return;
    aspect_ = s->height_points != 0 ? static_cast<double>(s->width_points) / s->height_points : 1.0;
    auto string_element = [](int element_class, int id, std::string_view text) {
        ByteSink e;
        cgm_element_header(e, element_class, id, cgm_string_even_length(text) - (text.size() % 2 == 0 ? 1 : 0));
        cgm_string_even(e, text);
        append(e);
    };
    string_element(0, 1, "ZOQ CGM File");
    words(1, 1, {1});
    string_element(1, 2, "ZOQ CGM driver v4");
    words(1, 3, {0});
    words(1, 4, {16});
    words(1, 5, {1, 16, 16});
    words(1, 6, {16});
    ByteSink fonts;
    int font_bytes = 0;
    for (std::string_view name : cgm_font_names)
        font_bytes += 1 + static_cast<int>(name.size());
    cgm_element_header(fonts, 1, 13, font_bytes);
    for (std::string_view name : cgm_font_names)
        cgm_string(fonts, name);
    append(fonts);
    words(1, 7, {8});
    ByteSink extent;
    cgm_element_header(extent, 1, 10, 6);
    for (std::uint8_t b : {0, 0, 0, 255, 255, 255})
        extent.put_u8(b);
    append(extent);
    string_element(0, 3, "ZOQ CGM Data");
    words(2, 3, {0});
    words(2, 5, {0});
    words(2, 2, {1});
    words(3, 1, {16});
    // 600 units an inch; the larger side is brought down to 32767.
    long long a = static_cast<long long>(s->width_points) * 600 / 72;
    long long b = static_cast<long long>(s->height_points) * 600 / 72;
    const long long largest = std::max(a, b);
    if (largest > 32767) {
        a = std::min<long long>(32767 * a / largest, 32767);
        b = std::min<long long>(32767 * b / largest, 32767);
    }
    s->device_width = static_cast<int>(a);
    s->device_height = static_cast<int>(b);
    points_element(2, 6, {{0, 0}, {s->device_width, s->device_height}});
    words(0, 4, {});
    ByteSink alignment;
    cgm_element_header(alignment, 5, 18, 12);
    cgm_word16(alignment, 1);
    cgm_word16(alignment, 5);
    for (int i = 0; i < 8; ++i)
        alignment.put_u8(0);
    append(alignment);
}

void CgmMemoryDevice::image_file(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const int w = p.px2, h = p.py2;
    if (w < 1 || h < 1 || static_cast<long long>(w) * h > (1LL << 26)) {
        p.phase = 2;
        p.count = 0;
        return;
    }
    const bool turned = g.rotation == 90 || g.rotation == 270;
    const int nx = turned ? h : w, ny = turned ? w : h;
    std::vector<std::int32_t> pixels;
    try {
        pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    } catch (const std::bad_alloc&) {
        // Too large a picture for this process: it cannot be placed.
        p.phase = err::image_format;
        p.count = 0;
        return;
    }
    ErrorState& errors = error_state();
    const int saved_mode = errors.report_mode, saved_error = errors.last_error;
    errors.report_mode = 0;
    errors.last_error = 0;
    IGrLoadImageData(p.image_file_view(), pixels);
    errors.report_mode = saved_mode;
    if (errors.last_error != 0) {
        p.phase = errors.last_error;
        p.count = errors.file_code;
        return;
    }
    p.phase = 0;
    errors.last_error = saved_error;

    auto pixel = [&](int i, int j) -> std::int32_t { // cell i of row j, both from 1
        long long k = 0;
        switch (g.rotation) {
        case 90: k = static_cast<long long>(i - 1) * ny + (ny - j) + 1; break;
        case 180: k = static_cast<long long>(ny - j) * nx + (nx - i) + 1; break;
        case 270: k = static_cast<long long>(nx - i) * ny + j; break;
        default: k = static_cast<long long>(j - 1) * nx + i; break;
        }
        return pixels[static_cast<std::size_t>(k - 1)];
    };
    try {
        ByteSink e;
        cgm_cell_array_head(e, g.screen_clip_x1, g.screen_clip_y2, g.screen_clip_x2, g.screen_clip_y1,
                            g.screen_clip_x2, g.screen_clip_y2, nx, ny);
        std::vector<std::int32_t> row(static_cast<std::size_t>(nx));
        for (int j = 1; j <= ny; ++j) {
            for (int i = 1; i <= nx; ++i)
                row[static_cast<std::size_t>(i - 1)] = pixel(i, j);
            cgm_cell_row(e, row, j == ny);
        }
        append(e);
    } catch (const std::bad_alloc&) {
        p.phase = err::image_format; // the cells do not fit in memory: no element
    }
}

void CgmMemoryDevice::shaded_polygon(DeviceParameters& p)
{
    const int n = std::clamp(p.shade_count, 0, static_cast<int>(std::min(p.poly_x.size(), p.poly_y.size())));
    p.shade_x.resize(static_cast<std::size_t>(n));
    p.shade_y.resize(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
        p.shade_x[k] = to_int(p.poly_x[k]);
        p.shade_y[k] = to_int(p.poly_y[k]);
    }
    // Four elements a triangle: fill reference point, interpolated
    // interior, interior style and the triangle.
    auto cgm_shaded_triangles = [&p](std::span<const int>, std::span<const int>, std::span<const std::int32_t> colours,
                                     std::span<const int> list) {
        for (std::size_t t = 0; t + 2 < list.size(); t += 3) {
            const std::size_t a = static_cast<std::size_t>(list[t]), b = static_cast<std::size_t>(list[t + 1]),
                              c = static_cast<std::size_t>(list[t + 2]);
            const int ax = to_int(p.poly_x[a]), ay = to_int(p.poly_y[a]);
            points_element(5, 31, {{ax, ay}});
            ByteSink e;
            cgm_element_header(e, 5, 43, 22);
            cgm_word16(e, 3);
            cgm_point(e, to_int(p.poly_x[b] - p.poly_x[a]), to_int(p.poly_y[b] - p.poly_y[a]));
            cgm_point(e, to_int(p.poly_x[c] - p.poly_x[a]), to_int(p.poly_y[c] - p.poly_y[a]));
            cgm_word16(e, 0);
            for (std::size_t v : {a, b, c}) {
                int r = 0, g = 0, bl = 0;
                component_split(colours[v], r, g, bl);
                e.put_u8(static_cast<std::uint8_t>(r));
                e.put_u8(static_cast<std::uint8_t>(g));
                e.put_u8(static_cast<std::uint8_t>(bl));
            }
            e.put_u8(0);
            append(e);
            words(5, 22, {6});
            points_element(4, 7, {{ax, ay}, {to_int(p.poly_x[b]), to_int(p.poly_y[b])},
                                  {to_int(p.poly_x[c]), to_int(p.poly_y[c])}});
        }
        return 0;
    };
    gr_shaded_polygon_split(p, 2, ShadeClip{}, {}, cgm_shaded_triangles);
}

} // namespace korv
