#include "hardcopy/drivers/raster_device.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "graphics/shaded_polygon.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

// A test's request that the next page buffer be refused, as when memory
// runs out.
bool& fail_next_allocation()
{
    return toolkit_context().record<bool>(ContextSlot::raster_allocation_failure);
}

// 4-bit pixel value by palette block (index / 16).
constexpr std::array<std::uint32_t, 16> RasterColour16Map = {0, 9, 1, 11, 3, 10, 2, 14, 6, 12, 4, 13, 5, 15, 7, 8};

struct Dash {
    std::uint32_t bits;
    int length;
};
constexpr std::array<Dash, 8> RasterDashTable = {{
    {0xFFF, 12}, {0x104, 12}, {0xE07, 12}, {0x1E1, 12}, {0x3C9, 12}, {0xCE7, 12}, {0x8E3, 12}, {0x19CE7, 17},
}};

// 4 by 8 patterns of the eight 3-bit colours (bit 0 red, 1 green, 2 blue)
// for a monochrome page, then the same colours when light; a set bit inks.
constexpr std::array<std::uint32_t, 16> RasterMonoPatternTable = {
    0xFFFFFFFF, 0xBFBFF7F7, 0x73CE7CC7, 0xC6EC3373, 0xE7EF7E7F, 0x7377EE67, 0x676EE676, 0x311148C8,
    0xEDED7777, 0xECEC3776, 0x6643CCC8, 0x64641313, 0x3C669999, 0xC663366C, 0x32668CCC, 0x00000000,
};

inline std::uint32_t bit_of(std::uint32_t mask, int m) { return (mask >> m) & 1u; }

inline int pattern_bit(int x, int y) { return (x & 7) + 8 * (y & 3); }

int raster_mode() { return printer_plotter_settings().raster_mode; }

int current_index()
{
    const GraphicsState& g = graphics_state();
    if (g.cur_index >= 0 && g.cur_index < 256)
        return g.cur_index;
    return gr_colour_nearest_index(hc_current_rgb());
}

} // namespace

void hc_raster_fail_next_allocation() { fail_next_allocation() = true; }

int hc_raster_edge_x(int xa, int ya, int xb, int yb, int y)
{
    const long long dx = static_cast<long long>(xb) - xa;
    if (yb > ya)
        return static_cast<int>(xa + (static_cast<long long>(y) - ya) * dx / (static_cast<long long>(yb) - ya));
    if (yb < ya)
        return static_cast<int>(xb + (static_cast<long long>(y) - yb) * dx / (static_cast<long long>(yb) - ya));
    return 32767;
}

bool RasterBitmapRecord::allocate(int pixels_per_word)
{
    release();
    words_per_row = (static_cast<long long>(width) + pixels_per_word - 1) / pixels_per_word;
    words_per_plane = words_per_row * height;
    total_words = planes * words_per_plane;
    if (width < 1 || height < 1 || total_words > raster_word_limit || std::exchange(fail_next_allocation(), false))
        return false;
    // Left unwritten: the page is cleared as it opens, and the words past
    // the usable ones are zeroed then.
    try {
        words.resize(static_cast<std::size_t>(total_words) + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::uint32_t RasterBitmapRecord::value_at(int x, int y) const
{
    if (!allocated() || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(words_per_row);
    switch (storage) {
    case 1:
        return (words[row + static_cast<std::size_t>(x / 32)] >> (x % 32)) & 1u;
    case 2: {
        std::uint32_t v = 0;
        for (int p = 0; p < planes; ++p)
            v |= ((words[row + static_cast<std::size_t>(x / 32) +
                         static_cast<std::size_t>(p) * static_cast<std::size_t>(words_per_plane)] >>
                   (x % 32)) &
                  1u)
                 << p;
        return v;
    }
    case 3:
        return (words[row + static_cast<std::size_t>(x / 4)] >> (8 * (x % 4))) & 0xFFu;
    default:
        return words[row + static_cast<std::size_t>(x)];
    }
}

int RasterDevice::px(float x) const { return gr_trunc(x * sx_); }
int RasterDevice::py(float y) const { return gr_trunc(y * sy_); }

void RasterDevice::hc_raster_set_bits(std::uint32_t value, int x, int y)
{
    RasterBitmapRecord& b = page;
    if (!b.allocated() || x < 0 || y < 0 || x > b.last_column || y > b.last_row)
        return;
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(b.words_per_row);
    switch (b.storage) {
    case 1: {
        std::uint32_t& w = b.words[row + static_cast<std::size_t>(x / 32)];
        const std::uint32_t bit = 1u << (x % 32);
        w = value != 0 ? (w | bit) : (w & ~bit);
        break;
    }
    case 2:
        for (int p = 0; p < b.planes; ++p) {
            std::uint32_t& w = b.words[row + static_cast<std::size_t>(x / 32) +
                                       static_cast<std::size_t>(p) * static_cast<std::size_t>(b.words_per_plane)];
            const std::uint32_t bit = 1u << (x % 32);
            w = (value >> p & 1u) != 0 ? (w | bit) : (w & ~bit);
        }
        break;
    case 3: {
        std::uint32_t& w = b.words[row + static_cast<std::size_t>(x / 4)];
        const int shift = 8 * (x % 4);
        w = (w & ~(0xFFu << shift)) | ((value & 0xFFu) << shift);
        break;
    }
    default:
        b.words[row + static_cast<std::size_t>(x)] = value & 0xFFFFFFu;
        break;
    }
}

void RasterDevice::hc_raster_span(std::uint32_t value, int x1, int y, int x2)
{
    x1 = std::max(x1, 0);
    x2 = std::min(x2, page.last_column);
    if (!page.allocated() || x2 < x1 || y < 0 || y > page.last_row)
        return;
    if (page.storage == 4) {
        auto row = page.words.begin() + static_cast<std::ptrdiff_t>(y) * page.words_per_row;
        std::fill(row + x1, row + x2 + 1, value & 0xFFFFFFu);
        return;
    }
    for (int x = x1; x <= x2; ++x)
        hc_raster_set_bits(value, x, y);
}

std::uint32_t RasterDevice::colour_value() const
{
    const GraphicsState& g = graphics_state();
    const int inversion = hc_option(option_colour_inversion);
    switch (page.bits) {
    case 24:
        return static_cast<std::uint32_t>(hc_current_rgb()) & 0xFFFFFFu;
    case 8:
        return static_cast<std::uint32_t>(current_index());
    case 4:
        return RasterColour16Map[static_cast<std::size_t>(current_index() / 16)];
    case 3: {
        int r = 0, gr = 0, b = 0;
        gr_colour_components(hc_current_colour(), r, gr, b);
        std::uint32_t v = (r >= 128 ? 1u : 0u) | (gr >= 128 ? 2u : 0u) | (b >= 128 ? 4u : 0u);
        if (inversion == 2 && (v == 0 || v == 7))
            v = 7 - v;
        if (raster_mode() == 2)
            v = 7 - v;
        return v;
    }
    default:
        (void)g;
        return current_index() == (inversion == 0 ? 0 : 223) ? 0u : 1u;
    }
}

std::uint32_t RasterDevice::dithered(int x, int y, std::int32_t rgb) const
{
    int r = rgb & 255, g = (rgb >> 8) & 255, b = (rgb >> 16) & 255;
    const int m = pattern_bit(x, y);
    switch (page.bits) {
    case 24:
        return static_cast<std::uint32_t>(rgb) & 0xFFFFFFu;
    case 8:
        return static_cast<std::uint32_t>(gr_colour_nearest_index(rgb & 0xFFFFFF));
    case 4:
        return RasterColour16Map[static_cast<std::size_t>(gr_colour_nearest_index(rgb & 0xFFFFFF) / 16)];
    default:
        break;
    }
    const std::size_t i = RasterDitherTables::index(b / 16, g / 16, r / 16);
    std::uint32_t c = bit_of(dither_->red[i], m) + 2 * bit_of(dither_->green[i], m) + 4 * bit_of(dither_->blue[i], m);
    const bool inverted = hc_option(option_colour_inversion) != 0 && (c == 0 || c == 7);
    if (page.bits == 3) {
        if (inverted)
            c = 7 - c;
        if (raster_mode() == 2)
            c = 7 - c;
        return c;
    }
    if (inverted) {
        c = 7 - c;
        r = 255 - r;
        g = 255 - g;
        b = 255 - b;
    }
    if (r > 191 || g > 191 || b > 191)
        c += 8;
    return bit_of(RasterMonoPatternTable[c], m);
}

void RasterDevice::hc_raster_plot_pixel(int x, int y, std::int32_t rgb) { hc_raster_set_bits(dithered(x, y, rgb), x, y); }

void RasterDevice::hc_raster_span_fill(int x1, int x2, int y)
{
    x1 = std::max({x1, clip_x1_, 0});
    x2 = std::min({x2, clip_x2_, page.last_column});
    if (x2 < x1 || y < std::max(clip_y1_, 0) || y > std::min(clip_y2_, page.last_row))
        return;
    switch (page.bits) {
    case 1:
        for (int x = x1; x <= x2; ++x)
            hc_raster_set_bits(bit_of(x % 2 == 0 ? even_pattern_ : odd_pattern_, pattern_bit(x, y)), x, y);
        break;
    case 3:
        for (int x = x1; x <= x2; ++x) {
            const HalftoneMasks& k = two_colours_ && (x + y) % 2 != 0 ? previous_masks_ : masks_;
            const int m = pattern_bit(x, y);
            hc_raster_set_bits(bit_of(k.plane1, m) + 2 * bit_of(k.plane2, m) + 4 * bit_of(k.plane3, m), x, y);
        }
        break;
    default:
        if (!two_colours_) {
            hc_raster_span(value_, x1, y, x2);
            break;
        }
        for (int x = x1; x <= x2; ++x)
            hc_raster_set_bits((x + y) % 2 == 0 ? previous_value_ : value_, x, y);
        break;
    }
}

void RasterDevice::hc_raster_line(int x1, int y1, int x2, int y2, bool continuation)
{
    const GraphicsState& g = graphics_state();
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int step_x = x2 < x1 ? -1 : 1, step_y = y2 < y1 ? -1 : 1;
    const bool solid = g.line_type == 0;
    if (solid && dy == 0) {
        int xa = std::min(x1, x2), xb = std::max(x1, x2);
        if (continuation) {
            if (x1 == x2)
                return;
            if (x1 < x2)
                ++xa;
            else
                --xb;
        }
        const int top = std::min(y1 - pen_b_ / 2 + pen_b_, clip_y2_);
        for (int y = std::max(y1 - pen_b_ / 2, clip_y1_); y <= top; ++y)
            hc_raster_span(value_, xa, y, xb);
        return;
    }
    if (solid && dx == 0) {
        int ya = std::min(y1, y2), yb = std::max(y1, y2);
        if (continuation) {
            if (y1 < y2)
                ++ya;
            else
                --yb;
        }
        const int right = std::min(x1 - pen_a_ / 2 + pen_a_, clip_x2_);
        for (int x = std::max(x1 - pen_a_ / 2, clip_x1_); x <= right; ++x)
            for (int y = ya; y <= yb; ++y)
                hc_raster_set_bits(value_, x, y);
        return;
    }
    if (continuation && dx == 0 && dy == 0)
        return;
    // One walk along the major axis for each pen-width copy; the dash
    // pattern restarts from the same place for every copy and goes on
    // into the next line from where the last copy left it.
    const bool x_major = dx >= dy;
    const int major = x_major ? dx : dy, minor = x_major ? dy : dx;
    const int major_step = x_major ? step_x : step_y, minor_step = x_major ? step_y : step_x;
    const int copies = (x_major ? pen_a_ : pen_b_) + 1;
    const int unit = x_major ? dash_unit_x_ : dash_unit_y_;
    const int minor_low = x_major ? clip_y1_ : clip_x1_, minor_high = x_major ? clip_y2_ : clip_x2_;
    const int start_major = x_major ? x1 : y1, end_major = x_major ? x2 : y2;
    const int start_minor = (x_major ? y1 : x1) - (x_major ? pen_a_ : pen_b_) / 2;
    int position = dash_position_, count = dash_count_;
    for (int i = 0; i < copies; ++i) {
        position = dash_position_;
        count = dash_count_;
        int a = start_major, b = start_minor + i;
        int e = 2 * minor - major;
        if (continuation) {
            a += major_step;
            if (e >= 0) {
                b += minor_step;
                e = 4 * minor - 3 * major;
            } else {
                e = 4 * minor - major;
            }
        }
        const int n = std::abs(end_major - a) + 1;
        for (int k = 0; k < n; ++k) {
            if (((dash_bits_ >> position) & 1u) != 0) {
                const int x = x_major ? a : b, y = x_major ? b : a;
                if (x >= clip_x1_ && x <= clip_x2_ && y >= clip_y1_ && y <= clip_y2_)
                    hc_raster_set_bits(value_, x, y);
            }
            if (e < 0) {
                e += 2 * minor;
            } else {
                b = std::clamp(b + minor_step, minor_low, std::max(minor_low, minor_high));
                e += 2 * minor - 2 * major;
            }
            if (++count > unit) {
                count = 1;
                position = (position + 1) % dash_length_;
            }
            a += major_step;
        }
    }
    dash_position_ = position;
    dash_count_ = count;
}

DriverDefaults hc_raster_defaults(int number)
{
    DriverDefaults d;
    d.number = number;
    d.real_value = 0.0f;
    d.word_a = 0;
    d.word_b = 0;
    d.shading = 1;
    d.word_f = 0;
    d.word_h = 1;
    return d;
}


void RasterDevice::open_page(DeviceParameters& p)
{
    RasterDevice::open(p);
    if (p.phase > 0 && graphics_state().hardcopy_active >= 1 && page.allocated()) {
        RasterDevice::clear(p);
        const std::size_t cleared = static_cast<std::size_t>(std::clamp(page.usable_words + 1, 0LL, page.total_words + 1));
        std::fill(page.words.begin() + static_cast<std::ptrdiff_t>(cleared), page.words.end(), 0u);
    }
}

void RasterDevice::stop_page_too_large()
{
    err_report_current(err::page_too_large);
    graphics_state().hardcopy_active = 0;
}

void RasterDevice::select(DeviceParameters& p)
{
    if (p.count != -999) {
        hc_halftone_overrides_reset();
        page.total_words = 0;
    }
    FileDriver::select(p);
}

void RasterDevice::open(DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    if (p.phase > 0) {
        if (!hc_driver_open_output()) {
            page.release();
            return;
        }
        page.last_column = page.width - 1;
        page.last_row = page.height - 1;
        page.storage = page.bits == 24 ? 4 : page.bits == 8 ? 3 : (page.bits == 3 || page.bits == 4) ? 2 : 1;
        masks_ = hc_halftone_masks(raster_mode());
        hc_raster_mask_tables(*dither_);
        last_x_ = last_y_ = -9999;
        g.hardcopy_colour_count = page.bits > 8 ? 256 : 1 << page.bits;
    }
    if (g.device_width > 0 && g.device_height > 0) {
        sx_ = static_cast<float>(page.width) / static_cast<float>(g.device_width);
        sy_ = static_cast<float>(page.height) / static_cast<float>(g.device_height);
    }
    clip_x1_ = clip_y1_ = 0;
    clip_x2_ = page.last_column;
    clip_y2_ = page.last_row;
}

void RasterDevice::close(DeviceParameters&)
{
    hc_unit_close(plot_unit);
    page.release();
}

void RasterDevice::clear(DeviceParameters&)
{
    if (!page.allocated())
        return;
    const long long last = std::min({page.total_words, page.usable_words, static_cast<long long>(page.words.size()) - 1});
    if (last < 0)
        return;
    std::fill(page.words.begin(), page.words.begin() + last + 1, page.clear_value);
}

void RasterDevice::colour(DeviceParameters&)
{
    previous_value_ = value_;
    previous_masks_ = masks_;
    masks_ = hc_halftone_masks(raster_mode());
    value_ = colour_value();
}

void RasterDevice::clip(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    clip_x1_ = px(g.area_px1);
    clip_x2_ = px(g.area_px2);
    clip_y1_ = py(g.area_py1);
    clip_y2_ = py(g.area_py2);
}

void RasterDevice::line_type(DeviceParameters&)
{
    const int type = graphics_state().line_type;
    const Dash& d = RasterDashTable[type >= 0 && type < 8 ? static_cast<std::size_t>(type) : 0];
    dash_bits_ = d.bits;
    dash_length_ = d.length;
    dash_position_ = 0;
    dash_count_ = 1;
    dash_unit_x_ = std::max(1, static_cast<int>(std::lround(page.resolution_x / 72.0f)));
    dash_unit_y_ = std::max(1, static_cast<int>(std::lround(page.resolution_y / 72.0f)));
    last_x_ = -1;
}

void RasterDevice::line_width(DeviceParameters&)
{
    const float t = static_cast<float>(hc_option(option_line_width));
    const int wh = std::max(1, static_cast<int>(page.resolution_x * t / 720.0f + 0.5f));
    const int wv = std::max(1, static_cast<int>(page.resolution_y * t / 720.0f + 0.5f));
    const bool portrait = hc_option(option_orientation) == 0;
    pen_a_ = (portrait ? wv : wh) - 1;
    pen_b_ = (portrait ? wh : wv) - 1;
}

void RasterDevice::line(DeviceParameters& p)
{
    hc_page_drawn();
    const int x1 = px(p.rx1), y1 = py(p.ry1), x2 = px(p.rx2), y2 = py(p.ry2);
    if (graphics_state().fill_emulation_hardcopy != 0) {
        hc_raster_span_fill(std::min(x1, x2), std::max(x1, x2), y1);
        return;
    }
    hc_raster_line(x1, y1, x2, y2, x1 == last_x_ && y1 == last_y_);
    last_x_ = x2;
    last_y_ = y2;
}

void RasterDevice::polyline(DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 2)
        return;
    hc_page_drawn();
    int xa = px(p.poly_x[0]), ya = py(p.poly_y[0]);
    bool continuation = xa == last_x_ && ya == last_y_;
    for (int i = 1; i < n; ++i) {
        const int xb = px(p.poly_x[static_cast<std::size_t>(i)]), yb = py(p.poly_y[static_cast<std::size_t>(i)]);
        hc_raster_line(xa, ya, xb, yb, continuation);
        continuation = true;
        xa = xb;
        ya = yb;
    }
    last_x_ = xa;
    last_y_ = ya;
}

void RasterDevice::point(DeviceParameters& p)
{
    hc_page_drawn();
    const int x = px(p.rx1), y = py(p.ry1);
    if (y >= clip_y1_ && y <= clip_y2_)
        hc_raster_span(value_, std::max(x - pen_a_ / 2, clip_x1_), y, std::min(x - pen_a_ / 2 + pen_a_, clip_x2_));
    last_x_ = x;
    last_y_ = y;
}

void RasterDevice::shape(int op, DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    if (p.phase == -1)
        return;
    hc_page_drawn();
    if (g.fill_style < 3) {
        if (op == 5)
            p.phase = -1;
        return;
    }
    two_colours_ = g.fill_style == 3 && g.cur_index != g.prev_index;
    const bool monochrome = page.bits == 1;
    if (g.solid_fill != 0) {
        even_pattern_ = current_index() == 0 ? 0u : 0xFFFFFFFFu;
        if (hc_option(option_colour_inversion) != 0)
            even_pattern_ = ~even_pattern_;
    } else {
        // The masks mark lit pixels; a monochrome page marks inked ones.
        even_pattern_ = monochrome ? ~masks_.plane1 : masks_.plane1;
    }
    odd_pattern_ = two_colours_ ? (monochrome ? ~previous_masks_.plane1 : previous_masks_.plane1) : even_pattern_;
    switch (op) {
    case 9: {
        const int x1 = px(p.rx1), x2 = px(p.rx2), y1 = py(p.ry1), y2 = py(p.ry2);
        for (int y = y1; y <= y2; ++y)
            hc_raster_span_fill(x1, x2, y);
        break;
    }
    case 11:
        triangle(p);
        break;
    case 7:
        quadrilateral(p);
        break;
    default:
        // Ellipses, pies and polygons come back as hatch runs a row apart.
        g.hardcopy_hatch_pitch = page.height > 0 ? g.device_limit_y / static_cast<float>(page.height) : 1.0f;
        g.fill_emulation_hardcopy = 1;
        break;
    }
}

void RasterDevice::triangle(const DeviceParameters& p)
{
    if (p.poly_x.size() < 3 || p.poly_y.size() < 3)
        return;
    std::array<std::pair<int, int>, 3> v{};
    for (std::size_t i = 0; i < 3; ++i)
        v[i] = {px(p.poly_x[i]), py(p.poly_y[i])};
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const auto [x1, y1] = v[0];
    const auto [x2, y2] = v[1];
    const auto [x3, y3] = v[2];
    const auto slope = [](int xa, int ya, int xb, int yb) {
        return ya == yb ? 0.0f : static_cast<float>(xa - xb) / static_cast<float>(ya - yb);
    };
    const float s12 = slope(x1, y1, x2, y2), s23 = slope(x2, y2, x3, y3), s13 = slope(x1, y1, x3, y3);
    for (int y = std::min(y3, clip_y2_); y >= std::max(y1, clip_y1_); --y) {
        int a = 0, b = 0;
        if (y < y2) {
            a = gr_trunc(static_cast<float>(x2) + static_cast<float>(y - y2) * s12);
            b = gr_trunc(static_cast<float>(x3) + static_cast<float>(y - y3) * s13);
        } else if (y > y2) {
            a = gr_trunc(static_cast<float>(x3) + static_cast<float>(y - y3) * s13);
            b = gr_trunc(static_cast<float>(x3) + static_cast<float>(y - y3) * s23);
        } else {
            a = x2;
            b = y2 == y1 ? x1 : y2 == y3 ? x3 : gr_trunc(static_cast<float>(x3) + static_cast<float>(y2 - y3) * s13);
        }
        hc_raster_span_fill(std::max(std::min(a, b), clip_x1_), std::min(std::max(a, b), clip_x2_), y);
    }
}

void RasterDevice::quadrilateral(const DeviceParameters& p)
{
    if (p.poly_x.size() < 4 || p.poly_y.size() < 4)
        return;
    std::array<int, 4> x{}, y{};
    for (std::size_t i = 0; i < 4; ++i) {
        x[i] = px(p.poly_x[i]);
        y[i] = py(p.poly_y[i]);
    }
    const int bottom = std::max(std::min(y[0], y[1]), clip_y1_), top = std::min(std::max(y[2], y[3]), clip_y2_);
    const int left = std::max(std::min(x[0], x[3]), clip_x1_), right = std::min(std::max(x[1], x[2]), clip_x2_);
    if (bottom == top) {
        hc_raster_span_fill(left, right, bottom);
        return;
    }
    for (int row = top; row >= bottom; --row) {
        if (p.phase == 1) {
            int a = std::max(x[0], clip_x1_), b = std::min(x[1], clip_x2_);
            const bool out_a = row > y[3] || row < y[0], out_b = row > y[2] || row < y[1];
            if (out_a || out_b) {
                const int e = hc_raster_edge_x(x[0], y[0], x[1], y[1], row);
                const int f = hc_raster_edge_x(x[3], y[3], x[2], y[2], row);
                const bool in_e = a <= e && e <= b, in_f = a <= f && f <= b;
                if (in_e && in_f) {
                    if (out_a)
                        a = std::min(e, f);
                    if (out_b)
                        b = std::max(e, f);
                } else if (in_e) {
                    if (y[0] > y[1]) {
                        if (out_a)
                            a = e;
                    } else if (out_b) {
                        b = e;
                    }
                } else if (in_f) {
                    if (y[3] < y[2]) {
                        if (out_a)
                            a = f;
                    } else if (out_b) {
                        b = f;
                    }
                }
            }
            hc_raster_span_fill(a, b, row);
        } else {
            hc_raster_span_fill(std::max(hc_raster_edge_x(x[0], y[0], x[3], y[3], row), clip_x1_),
                      std::min(hc_raster_edge_x(x[1], y[1], x[2], y[2], row), clip_x2_), row);
        }
    }
}

void RasterDevice::image_file(DeviceParameters& p)
{
    std::vector<std::int32_t> pixels;
    int w = 0, h = 0;
    if (!hc_driver_read_image(p, pixels, w, h))
        return;
    hc_page_drawn();
    const int rotation = graphics_state().rotation;
    const long long rows = static_cast<long long>(clip_y2_) - clip_y1_ + 1, columns = static_cast<long long>(clip_x2_) - clip_x1_ + 1;
    if (rows < 1 || columns < 1 || (rotation != 0 && rotation != 90 && rotation != 180 && rotation != 270))
        return;
    const bool turned = rotation == 90 || rotation == 270;
    for (int y = std::max(clip_y1_, 0); y <= std::min(clip_y2_, page.last_row); ++y)
        for (int x = std::max(clip_x1_, 0); x <= std::min(clip_x2_, page.last_column); ++x) {
            long long ix = 0, iy = 0;
            if (!turned) {
                ix = (x - clip_x1_) * static_cast<long long>(w) / columns;
                iy = (clip_y2_ - y) * static_cast<long long>(h) / rows;
            } else {
                ix = (y - clip_y1_) * static_cast<long long>(w) / rows;
                iy = (x - clip_x1_) * static_cast<long long>(h) / columns;
            }
            ix = std::clamp<long long>(ix, 0, w - 1);
            iy = std::clamp<long long>(iy, 0, h - 1);
            const long long element = rotation >= 180 ? (h - 1 - iy) * w + (w - 1 - ix) : iy * w + ix;
            hc_raster_plot_pixel(x, y, pixels[static_cast<std::size_t>(element)]);
        }
}

void RasterDevice::shaded_polygon(DeviceParameters& p)
{
    hc_page_drawn();
    const int n = std::max(0, std::min({p.shade_count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())}));
    p.shade_x.resize(static_cast<std::size_t>(n));
    p.shade_y.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        p.shade_x[static_cast<std::size_t>(i)] = px(p.poly_x[static_cast<std::size_t>(i)]);
        p.shade_y[static_cast<std::size_t>(i)] = py(p.poly_y[static_cast<std::size_t>(i)]);
    }
    const ShadeClip clip{std::max(clip_x1_, 0), std::max(clip_y1_, 0), std::min(clip_x2_, page.last_column),
                         std::min(clip_y2_, page.last_row)};
    gr_shaded_polygon_split(p, 1, clip, [this](int x, int y, std::int32_t rgb) { hc_raster_plot_pixel(x, y, rgb); }, {});
}

} // namespace korv
