// Driver 9: a binary Computer Graphics Metafile (ISO/IEC 8632-3) with one
// picture, direct colour and integer VDC. Each element is built whole and
// then handed to the output unit.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "core/context.h"
#include "graphics/formats/cgm_elements.h"
#include "graphics/shaded_polygon.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

constexpr std::array<std::array<std::string_view, 16>, 3> font_sets = {{
    {"COURIER", "COURIER_BOLD", "COURIER_ITALIC", "COURIER_BOLD_ITALIC", "HELVETICA", "HELVETICA_BOLD",
     "HELVETICA_OBLIQUE", "HELVETICA_BOLD_OBLIQUE", "TIMES_ROMAN", "TIMES_BOLD", "TIMES_ITALIC", "TIMES_BOLD_ITALIC",
     "SYMBOL", "SYMBOL", "SYMBOL", "SYMBOL"},
    {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Helvetica", "Helvetica-Bold",
     "Helvetica-Oblique", "Helvetica-BoldOblique", "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic",
     "Symbol", "Symbol", "Symbol", "Symbol"},
    {"Courier New", "Courier New Bold", "Courier New Italic", "Courier New Bold Italic", "Arial", "Arial Bold",
     "Arial Italic", "Arial Bold Italic", "Times New Roman", "Times New Roman Bold", "Times New Roman Italic",
     "Times New Roman Bold Italic", "Symbol", "Symbol Italic", "Symbol Bold", "Symbol Bold Italic"},
}};

constexpr int vdc_limit = 32767;

// The driver's element encoders are the graphics layer's, which its
// in-memory CGM device writes with too, so both make the same bytes.
void hc_cgm_word16(ByteSink& out, int value) { cgm_word16(out, value); }
void hc_cgm_element_header(ByteSink& out, int element_class, int id, int length, bool more_partitions = false)
{
    cgm_element_header(out, element_class, id, length, more_partitions);
}
void hc_cgm_point_int(ByteSink& out, int x, int y) { cgm_point(out, x, y); }
void hc_cgm_colour_element(ByteSink& out, int element_class, int id, int red, int green, int blue)
{
    cgm_colour_element(out, element_class, id, red, green, blue);
}
void hc_cgm_string(ByteSink& out, std::string_view text) { cgm_string(out, text); }
void hc_cgm_string_even(ByteSink& out, std::string_view text) { cgm_string_even(out, text); }

// A string's count byte and characters; an element's length leaves out the
// pad byte that keeps it even.
int string_length(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), cgm_string_limit)) + 1; }

int nearest(double v) { return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5); }

struct Rgb {
    int r = 0, g = 0, b = 0;
    int value() const { return r + 256 * g + 65536 * b; }
};

void emit(const ByteSink& element) { hc_unit_write(plot_unit, element.bytes()); }

void hc_cgm_colour_swap(Rgb& c)
{
    const std::array<int, 3> turned = hc_colour_inverted({c.r, c.g, c.b});
    c = {turned[0], turned[1], turned[2]};
}

// The current or previous colour's components as they are written.
Rgb written_colour(int colour)
{
    Rgb c;
    gr_colour_components(colour, c.r, c.g, c.b);
    hc_cgm_colour_swap(c);
    return c;
}


// Each triangle of a shaded polygon as an interpolated interior from its
// first vertex, then its outline filled.
int hc_cgm_shaded_triangles(std::span<const int> x, std::span<const int> y, std::span<const std::int32_t> colours,
                            std::span<const int> list)
{
    for (std::size_t t = 0; t + 2 < list.size(); t += 3) {
        const auto v = [&](std::size_t k) { return static_cast<std::size_t>(list[t + k]); };
        ByteSink e;
        hc_cgm_element_header(e, 5, 31, 4);
        hc_cgm_point_int(e, x[v(0)], y[v(0)]);
        hc_cgm_element_header(e, 5, 43, 22);
        hc_cgm_word16(e, 3);
        hc_cgm_point_int(e, x[v(1)] - x[v(0)], y[v(1)] - y[v(0)]);
        hc_cgm_point_int(e, x[v(2)] - x[v(0)], y[v(2)] - y[v(0)]);
        hc_cgm_word16(e, 0);
        for (std::size_t k = 0; k < 3; ++k) {
            const std::int32_t c = colours[v(k)];
            e.put_u8(static_cast<std::uint8_t>(c & 0xFF));
            e.put_u8(static_cast<std::uint8_t>((c >> 8) & 0xFF));
            e.put_u8(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        }
        e.put_u8(0);
        hc_cgm_element_header(e, 5, 22, 2);
        hc_cgm_word16(e, 6);
        hc_cgm_element_header(e, 4, 7, 12);
        for (std::size_t k = 0; k < 3; ++k)
            hc_cgm_point_int(e, x[v(k)], y[v(k)]);
        emit(e);
    }
    return 0;
}

class CgmDriver : public FileDriver {
public:
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters&) override;
    void colour(DeviceParameters&) override { current_ = written_colour(hc_current_colour()); }
    void palette(DeviceParameters& p) override { colour(p); }
    void polyline(DeviceParameters& p) override;
    void line_type(DeviceParameters&) override;
    void line_width(DeviceParameters&) override;
    void line_join(DeviceParameters&) override;
    void line_cap(DeviceParameters&) override;
    void character_size(DeviceParameters&) override;
    void character_angle(DeviceParameters&) override;
    void text(DeviceParameters& p) override;
    void clip(DeviceParameters&) override;
    void shaded_polygon(DeviceParameters& p) override;
    void image_file(DeviceParameters& p) override;

private:
    int width_ = 0, height_ = 0;
    float sx_ = 1, sy_ = 1;
    Rgb current_;
    int line_colour_ = -1, fill_colour_ = -1, text_colour_ = -1, edge_colour_ = -1, auxiliary_colour_ = -1;
    int font_ = -1, char_height_ = -1, alignment_ = -1, edge_type_ = -1, edge_width_ = -1;
    int cap_ = 0, join_ = 0;
    int pages_ended_ = 0;

    int vx(float x) const { return gr_trunc(x * sx_); }
    int vy(float y) const { return gr_trunc(y * sy_); }
    // A device point in VDC.
    void hc_cgm_point(ByteSink& out, float x, float y) const { hc_cgm_point_int(out, vx(x), vy(y)); }
    void colour_element(int id, Rgb c, int& last, int element_class = 5);
    void word_element(int element_class, int id, int value);
    int line_width_value() const;
    void hc_cgm_point_list(int id, const DeviceParameters& p, int first, int last);
    DriverDefaults defaults() const override;
    void shape(int op, DeviceParameters& p) override;
    void segment(float x1, float y1, float x2, float y2) override;
};

DriverDefaults CgmDriver::defaults() const
{
    DriverDefaults d;
    d.number = driver_cgm;
    d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 0},
                  {option_y_offset, 0}, {option_orientation, 0}, {option_cgm_font_set, 2}}};
    d.resolution_x = d.resolution_y = 600;
    d.colour_count = d.colour_limit = 256;
    d.shading = 2;
    d.word_g = d.word_h = 1;
    d.capability_flags = "00000110111111100010011011100";
    d.default_output_name = "radediva.cgm";
    return d;
}

void CgmDriver::word_element(int element_class, int id, int value)
{
    ByteSink e;
    hc_cgm_element_header(e, element_class, id, 2);
    hc_cgm_word16(e, value);
    emit(e);
}

void CgmDriver::colour_element(int id, Rgb c, int& last, int element_class)
{
    if (c.value() == last)
        return;
    last = c.value();
    ByteSink e;
    hc_cgm_colour_element(e, element_class, id, c.r, c.g, c.b);
    emit(e);
}

int CgmDriver::line_width_value() const
{
    const int page = hc_option(option_page_width);
    return page > 0 ? hc_option(option_line_width) * width_ / (10 * page) : 1;
}

void CgmDriver::open(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const DeviceDescription& d = device_capabilities().hardcopy;
    if (p.phase >= 1) {
        if (!hc_driver_open_output())
            return;
        width_ = hc_option(option_page_width) * std::max(1, d.resolution_x) / 72;
        height_ = hc_option(option_page_height) * std::max(1, d.resolution_y) / 72;
        const int larger = std::max(width_, height_);
        if (larger > vdc_limit) {
            width_ = std::min(vdc_limit, static_cast<int>(static_cast<long long>(width_) * vdc_limit / larger));
            height_ = std::min(vdc_limit, static_cast<int>(static_cast<long long>(height_) * vdc_limit / larger));
        }
        const std::string title = p.px1 != 0 ? std::string(text_trimmed(text_view(hardcopy_state().title))) : "ZOQ CGM File";
        ByteSink e;
        hc_cgm_element_header(e, 0, 1, string_length(title));
        hc_cgm_string_even(e, title);
        hc_cgm_element_header(e, 1, 1, 2);
        hc_cgm_word16(e, 1);
        const std::string description = "ZOQ CGM driver v4";
        hc_cgm_element_header(e, 1, 2, static_cast<int>(description.size()) + 1);
        hc_cgm_string_even(e, description);
        hc_cgm_element_header(e, 1, 3, 2);
        hc_cgm_word16(e, 0);
        hc_cgm_element_header(e, 1, 4, 2);
        hc_cgm_word16(e, 16);
        hc_cgm_element_header(e, 1, 5, 6);
        hc_cgm_word16(e, 1);
        hc_cgm_word16(e, 16);
        hc_cgm_word16(e, 16);
        hc_cgm_element_header(e, 1, 6, 2);
        hc_cgm_word16(e, 16);
        // Sets other than 0..2 take the third, so the list is never empty.
        const int set = hc_option(option_cgm_font_set);
        const auto& names = font_sets[static_cast<std::size_t>(set >= 0 && set <= 2 ? set : 2)];
        int list = 0;
        for (std::string_view name : names)
            list += static_cast<int>(name.size()) + 1;
        hc_cgm_element_header(e, 1, 13, list);
        for (std::string_view name : names)
            hc_cgm_string(e, name);
        if (list % 2 != 0)
            e.put_u8(0);
        hc_cgm_element_header(e, 1, 7, 2);
        hc_cgm_word16(e, 8);
        hc_cgm_element_header(e, 1, 10, 6);
        for (int v : {0, 0, 0, 255, 255, 255})
            e.put_u8(static_cast<std::uint8_t>(v));
        const std::string picture = "ZOQ CGM Data";
        hc_cgm_element_header(e, 0, 3, static_cast<int>(picture.size()) + 1);
        hc_cgm_string_even(e, picture);
        hc_cgm_element_header(e, 2, 3, 2);
        hc_cgm_word16(e, 0);
        hc_cgm_element_header(e, 2, 5, 2);
        hc_cgm_word16(e, 0);
        hc_cgm_element_header(e, 2, 2, 2);
        hc_cgm_word16(e, 1);
        hc_cgm_element_header(e, 3, 1, 2);
        hc_cgm_word16(e, 16);
        hc_cgm_element_header(e, 2, 6, 8);
        hc_cgm_point_int(e, 0, 0);
        hc_cgm_point_int(e, width_, height_);
        hc_cgm_element_header(e, 0, 4, 0);
        hc_cgm_element_header(e, 5, 18, 12);
        hc_cgm_word16(e, 1);
        hc_cgm_word16(e, 5);
        for (int i = 0; i < 4; ++i)
            hc_cgm_word16(e, 0);
        emit(e);
        line_colour_ = fill_colour_ = text_colour_ = edge_colour_ = auxiliary_colour_ = -1;
        font_ = char_height_ = edge_type_ = edge_width_ = -1;
        alignment_ = 1;
        cap_ = join_ = 0;
        pages_ended_ = 0;
    }
    if (g.device_limit_x > 0 && g.device_limit_y > 0) {
        sx_ = static_cast<float>(width_) / g.device_limit_x;
        sy_ = static_cast<float>(height_) / g.device_limit_y;
    }
    hardcopy_state().scale_x = sx_;
    hardcopy_state().scale_y = sy_;
}

void CgmDriver::close(DeviceParameters&)
{
    // A plot with nothing drawn still ends its picture.
    if (pages_ended_ == 0) {
        ByteSink e;
        hc_cgm_element_header(e, 0, 5, 0);
        emit(e);
    }
    ByteSink e;
    hc_cgm_element_header(e, 0, 2, 0);
    emit(e);
    hc_unit_close(plot_unit);
}

void CgmDriver::end_page(DeviceParameters&)
{
    hardcopy_state().page_drawn = 0;
    ByteSink e;
    hc_cgm_element_header(e, 0, 5, 0);
    emit(e);
    ++pages_ended_;
}

void CgmDriver::segment(float x1, float y1, float x2, float y2)
{
    hc_page_drawn();
    colour_element(4, current_, line_colour_);
    ByteSink e;
    hc_cgm_element_header(e, 4, 1, 8);
    hc_cgm_point(e, x1, y1);
    hc_cgm_point(e, x2, y2);
    emit(e);
}

void CgmDriver::polyline(DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    hc_page_drawn();
    colour_element(4, current_, line_colour_);
    // Pieces of one partition each, every piece starting at the last point
    // of the one before.
    for (int first = 1; first < n || first == 1; first += cgm_points_limit - 1) {
        const int last = std::min(n, first + cgm_points_limit - 1);
        hc_cgm_point_list(1, p, first, last);
        if (last == n)
            break;
    }
}

// POLYLINE (id 1) or POLYGON (id 7) of points first..last (from 1) of the
// point arrays.
void CgmDriver::hc_cgm_point_list(int id, const DeviceParameters& p, int first, int last)
{
    ByteSink e;
    hc_cgm_element_header(e, 4, id, 4 * (last - first + 1));
    for (int i = first; i <= last; ++i)
        hc_cgm_point(e, p.poly_x[static_cast<std::size_t>(i - 1)], p.poly_y[static_cast<std::size_t>(i - 1)]);
    emit(e);
}

void CgmDriver::character_size(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const int index = 4 * (std::clamp(g.font_family, 1, 4) - 1) + (g.font_style & 3) + 1;
    if (index != font_) {
        font_ = index;
        word_element(5, 10, index);
    }
    int h = nearest(0.55 * g.char_height * g.rotated_area_span_y * g.rotated_hardcopy_scale_y);
    if (h <= 0)
        h = 1;
    if (h != char_height_) {
        char_height_ = h;
        word_element(5, 15, h);
    }
}

void CgmDriver::character_angle(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const double w = g.char_width * g.rotated_area_span_x * sx_;
    const double c = g.device_char_cos, s1 = g.device_char_sin_x, s2 = g.device_char_sin_y;
    ByteSink e;
    hc_cgm_element_header(e, 5, 16, 8);
    hc_cgm_point_int(e, static_cast<int>(-1.2 * w * s2), static_cast<int>(1.2 * w * c));
    hc_cgm_point_int(e, static_cast<int>(w * c), static_cast<int>(w * s1));
    emit(e);
}

void CgmDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const std::size_t n = static_cast<std::size_t>(std::clamp(p.px1, 0, cgm_string_limit));
    const std::string_view text(p.text.data(), std::min(n, p.text.size()));
    const bool box = (g.font_style & 8) != 0 && g.text_kind != 1;
    if (box) {
        word_element(3, 4, 0);
        colour_element(3, written_colour(hc_previous_colour()), auxiliary_colour_, 3);
    }
    colour_element(14, current_, text_colour_);
    const int alignment = g.text_kind == 1 ? 1 : std::clamp(g.text_alignment, 0, 2) + 1;
    if (alignment != alignment_) {
        alignment_ = alignment;
        ByteSink e;
        hc_cgm_element_header(e, 5, 18, 12);
        hc_cgm_word16(e, alignment);
        hc_cgm_word16(e, 5);
        for (int i = 0; i < 4; ++i)
            hc_cgm_word16(e, 0);
        emit(e);
    }
    // The character's up vector, which would move the reference point off
    // the start point, is (0, 0): nothing in the toolkit sets it.
    float x = p.rx1, y = p.ry1;
    if (g.text_kind != 1) {
        const float x_end = x + p.rx3 - p.rx1, y_end = y + p.ry3 - p.ry1;
        if (g.text_alignment == 1) {
            x = (x + x_end) / 2;
            y = (y + y_end) / 2;
        } else if (g.text_alignment == 2) {
            x = x_end;
            y = y_end;
        }
    }
    const int string_bytes = static_cast<int>(text.size()) + 1;
    ByteSink e;
    if (g.text_kind != 1) {
        const double dx = p.rx3 - p.rx1, dy = p.ry3 - p.ry1;
        hc_cgm_element_header(e, 4, 5, string_bytes + 10);
        hc_cgm_word16(e, nearest(std::sqrt(dx * dx + dy * dy) * g.rotated_hardcopy_scale_x));
        hc_cgm_word16(e, nearest(1.25 * std::max(char_height_, 1)));
        hc_cgm_point_int(e, nearest(x * sx_), nearest(y * sy_));
    } else {
        hc_cgm_element_header(e, 4, 4, string_bytes + 6);
        hc_cgm_point_int(e, nearest(x * sx_), nearest(y * sy_));
    }
    hc_cgm_word16(e, 1);
    hc_cgm_string_even(e, text);
    emit(e);
    if (box)
        word_element(3, 4, 1);
}

void CgmDriver::clip(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    word_element(3, 6, 1);
    ByteSink e;
    hc_cgm_element_header(e, 3, 5, 8);
    hc_cgm_point(e, g.area_px1, g.area_py1);
    hc_cgm_point(e, g.area_px2, g.area_py2);
    emit(e);
}

void CgmDriver::line_type(DeviceParameters&) { word_element(5, 2, cgm_line_type(graphics_state().line_type)); }

void CgmDriver::line_width(DeviceParameters&) { word_element(5, 3, line_width_value()); }

void CgmDriver::line_join(DeviceParameters&)
{
    const int join = hc_option(option_line_join);
    if (join == join_)
        return;
    join_ = join;
    word_element(5, 38, join + 2);
}

void CgmDriver::line_cap(DeviceParameters&)
{
    const int cap = hc_option(option_line_cap);
    if (cap == cap_)
        return;
    cap_ = cap;
    ByteSink e;
    hc_cgm_element_header(e, 5, 37, 4);
    hc_cgm_word16(e, cap + 2);
    hc_cgm_word16(e, 1);
    emit(e);
}

void CgmDriver::shape(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    if (p.phase == -1)
        return;
    hc_page_drawn();
    Rgb fill = current_;
    if (g.fill_style == 3) {
        const Rgb previous = written_colour(hc_previous_colour());
        fill = {(previous.r + current_.r) / 2, (previous.g + current_.g) / 2, (previous.b + current_.b) / 2};
    }
    if (g.fill_style >= 3 || op == 5)
        colour_element(23, fill, fill_colour_);
    if (g.fill_style < 3 && op != 5)
        return;
    ByteSink e;
    if (op == 5) {
        if (g.fill_style >= 3) {
            word_element(5, 22, 1);
        } else {
            word_element(5, 30, 1);
            colour_element(29, current_, edge_colour_);
            if (g.line_type != edge_type_) {
                edge_type_ = g.line_type;
                word_element(5, 27, cgm_line_type(g.line_type));
            }
            if (hc_option(option_line_width) != edge_width_) {
                edge_width_ = hc_option(option_line_width);
                word_element(5, 28, line_width_value());
            }
            word_element(5, 22, 4);
        }
        hc_cgm_element_header(e, 4, 17, 12);
        hc_cgm_point(e, p.rx1, p.ry1);
        hc_cgm_point(e, p.rx1 + p.rx2, p.ry1);
        hc_cgm_point(e, p.rx1, p.ry1 + p.ry2);
        emit(e);
        if (g.fill_style < 3)
            word_element(5, 30, 0);
        return;
    }
    word_element(5, 22, 1);
    if (op == 9) {
        hc_cgm_element_header(e, 4, 11, 8);
        hc_cgm_point(e, std::max(p.rx1, g.area_px1), std::max(p.ry1, g.area_py1));
        hc_cgm_point(e, std::min(p.rx2, g.area_px2), std::min(p.ry2, g.area_py2));
        emit(e);
        return;
    }
    if (op == 13) {
        const int k = std::max(1, gr_trunc(p.rx2) * 75 / std::max(1, g.drawable_width) + 25);
        const float step = 3.1415927f / static_cast<float>(k);
        std::vector<std::pair<int, int>> points = {{vx(p.rx1), vy(p.ry1)}};
        if (p.rx3 <= p.ry3) {
            for (float a = p.rx3; a <= p.ry3 && points.size() < static_cast<std::size_t>(cgm_points_limit - 1); a += step)
                points.emplace_back(vx(p.rx1 + p.rx2 * std::cos(a)), vy(p.ry1 + p.ry2 * std::sin(a)));
        }
        points.emplace_back(vx(p.rx1 + p.rx2 * std::cos(p.ry3)), vy(p.ry1 + p.ry2 * std::sin(p.ry3)));
        hc_cgm_element_header(e, 4, 7, 4 * static_cast<int>(points.size()));
        for (const auto& [x, y] : points)
            hc_cgm_point_int(e, x, y);
        emit(e);
        return;
    }
    const int n = std::min({p.count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size()),
                            cgm_points_limit});
    if (n >= 1)
        hc_cgm_point_list(7, p, 1, n);
}

void CgmDriver::shaded_polygon(DeviceParameters& p)
{
    hc_page_drawn();
    const int n = std::min({p.shade_count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())});
    p.shade_x.resize(static_cast<std::size_t>(std::max(n, 0)));
    p.shade_y.resize(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        p.shade_x[static_cast<std::size_t>(i)] = vx(p.poly_x[static_cast<std::size_t>(i)]);
        p.shade_y[static_cast<std::size_t>(i)] = vy(p.poly_y[static_cast<std::size_t>(i)]);
    }
    gr_shaded_polygon_split(p, 2, ShadeClip{}, ShadePixelRoutine{}, hc_cgm_shaded_triangles);
}

// A CELL ARRAY over the clip box in run-length form, one partition a row
// (a row longer than a partition holds goes on in the next).
void CgmDriver::image_file(DeviceParameters& p)
{
    std::vector<std::int32_t> pixels;
    int w = 0, h = 0;
    if (!hc_driver_read_image(p, pixels, w, h))
        return;
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const bool turned = g.rotation == 90 || g.rotation == 270;
    const int nx = turned ? h : w, ny = turned ? w : h;
    ByteSink head;
    cgm_cell_array_head(head, vx(g.area_px1), vy(g.area_py2), vx(g.area_px2), vy(g.area_py1), vx(g.area_px2),
                        vy(g.area_py2), nx, ny);
    emit(head);
    const auto pixel = [&](int i, int j) {
        int column = i, row = j;
        switch (g.rotation) {
        case 90: column = w - j + 1, row = i; break;
        case 180: column = w - i + 1, row = h - j + 1; break;
        case 270: column = j, row = h - i + 1; break;
        default: break;
        }
        return pixels[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(w) + static_cast<std::size_t>(column - 1)];
    };
    std::vector<std::int32_t> cells(static_cast<std::size_t>(nx));
    for (int j = 1; j <= ny; ++j) {
        for (int i = 1; i <= nx; ++i)
            cells[static_cast<std::size_t>(i - 1)] = pixel(i, j);
        ByteSink row;
        cgm_cell_row(row, cells, j == ny);
        emit(row);
    }
}

} // namespace

Device& hc_cgm()
{
    return toolkit_context().record<CgmDriver>(ContextSlot::cgm_driver);
}

} // namespace korv
