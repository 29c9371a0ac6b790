// Driver 8: an ASCII DXF drawing in inches. Each group is a code line and
// a value line; the drawing operations become LINE, POLYLINE, POINT, TEXT,
// SOLID, CIRCLE and ARC entities on layer 1. Hatched and mixed fills are
// left to the graphics layer, which sends them back as lines.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

// The RGB values of the DXF colour numbers 0..255, red in the high byte.
constexpr std::array<std::uint32_t, 256> DxfColourIndexTable = {
    0x000000, 0xff0000, 0xffff00, 0x00ff00, 0x00ffff, 0x0000ff, 0xff00ff, 0xffffff, 0x4c4c4c, 0xa5a5a5, 0xff0000,
    0xff7f7f, 0xa50000, 0xa55252, 0x7f0000, 0x7f3f3f, 0x4c0000, 0x4c2626, 0x260000, 0x261313, 0xff3f00, 0xff9f7f,
    0xa52900, 0xa56752, 0x7f1f00, 0x7f4f3f, 0x4c1300, 0x4c2f26, 0x260900, 0x261713, 0xff7f00, 0xffbf7f, 0xb95200,
    0xa57c52, 0x7f3f00, 0x7f5f3f, 0x4c2600, 0x4c3926, 0x261300, 0x261c13, 0xffbf00, 0xffdf7f, 0xa57c00, 0xa59152,
    0x7f5f00, 0x7f6f3f, 0x4c3900, 0x4c4226, 0x261c00, 0x262113, 0xffff00, 0xffff7f, 0xa5a500, 0xa5a552, 0x7f7f00,
    0x7f7f3f, 0x4c4c00, 0x4c4c26, 0x262600, 0x262613, 0xbfff00, 0xdfff7f, 0x7ca500, 0x91a552, 0x5f7f00, 0x6f7f3f,
    0x394c00, 0x424c26, 0x1c2600, 0x212613, 0x7fff00, 0xbfff7f, 0x52a548, 0x7ca552, 0x3f7f00, 0x5f7f3f, 0x264c00,
    0x394c26, 0x132600, 0x1c2613, 0x3fff00, 0x9fff7f, 0x29a500, 0x67a552, 0x1f7f00, 0x4f7f3f, 0x134c00, 0x2f4c26,
    0x092600, 0x172613, 0x00ff00, 0x7fff7f, 0x00a500, 0x52a552, 0x007f00, 0x3f7f3f, 0x004c00, 0x264c26, 0x002600,
    0x132613, 0x00ff3f, 0x7fff9f, 0x00a529, 0x52a567, 0x007f1f, 0x3f7f4f, 0x004c13, 0x264c2f, 0x002609, 0x132617,
    0x00ff7f, 0x7fffbf, 0x00a552, 0x52a57c, 0x007f3f, 0x3f7f5f, 0x004c26, 0x264c39, 0x002613, 0x13261c, 0x00ffbf,
    0x7fffdf, 0x00a57c, 0x52a591, 0x007f5f, 0x3f7f6f, 0x004c39, 0x264c42, 0x00261c, 0x132621, 0x00ffff, 0x7fffff,
    0x00a5a5, 0x52a5a5, 0x007f7f, 0x3f7f7f, 0x004c4c, 0x264c4c, 0x002626, 0x132626, 0x00bfff, 0x7fdfff, 0x007ca5,
    0x5291a5, 0x005f7f, 0x3f6f7f, 0x00394c, 0x26424c, 0x001c26, 0x132126, 0x007fff, 0x7fbfff, 0x0052a5, 0x527ca5,
    0x003f7f, 0x3f5f7f, 0x00264c, 0x26394c, 0x001326, 0x131c26, 0x003fff, 0x7f9fff, 0x0029a5, 0x5267a5, 0x001f7f,
    0x3f4f7f, 0x00134c, 0x262f4c, 0x000926, 0x131726, 0x0000ff, 0x7f7fff, 0x0000a5, 0x5252a5, 0x00007f, 0x3f3f7f,
    0x00004c, 0x26264c, 0x000026, 0x131326, 0x3f00ff, 0x9f7fff, 0x2900a5, 0x6752a5, 0x1f007f, 0x4f3f7f, 0x13004c,
    0x2f264c, 0x090026, 0x171326, 0x7f00ff, 0xbf7fff, 0x5200a5, 0x7c52a5, 0x3f007f, 0x5f3f7f, 0x26004c, 0x39264c,
    0x130026, 0x1c1326, 0xbf00ff, 0xdf7fff, 0x7c00a5, 0x9152a5, 0x5f007f, 0x6f3f7f, 0x39004c, 0x42264c, 0x1c0026,
    0x211326, 0xff00ff, 0xff7fff, 0xa500a5, 0xa552a5, 0x7f007f, 0x7f3f7f, 0x4c004c, 0x4c264c, 0x260026, 0x261326,
    0xff00bf, 0xff7fdf, 0xa5007c, 0xa55291, 0x7f005f, 0x7f3f6f, 0x4c0039, 0x4c2642, 0x26001c, 0x261321, 0xff007f,
    0xff7fbf, 0xa50052, 0xa5527c, 0x7f003f, 0x7f3f5f, 0x4c0026, 0x4c2639, 0x260013, 0x26131c, 0xff003f, 0xff7f9f,
    0xa50029, 0xa55267, 0x7f001f, 0x7f3f4f, 0x4c0013, 0x4c262f, 0x260009, 0x261317, 0x545454, 0x767676, 0x989898,
    0xbababa, 0xdcdcdc, 0xffffff,
};

struct LineTypeEntry {
    std::string_view name;
    std::string_view description;
    std::string_view total;
    std::array<std::string_view, 6> elements;
    int count;
};

constexpr std::array<LineTypeEntry, 7> DxfLineTypeTable = {{
    {"DOT", "..............................................", "0.25", {"0", "-0.25"}, 2},
    {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __  ", "0.75", {"0.5", "-0.25"}, 2},
    {"DASHDOT", "__ . __ . __ . __ . __ . __ . __ . __ . __ .  ", "1", {"0.5", "-0.25", "0", "-0.25"}, 4},
    {"DIVIDE", "__ . . __ . . __ . . __ . . __ . . __ . . __  ", "1.25",
     {"0.5", "-0.25", "0", "-0.25", "0", "-0.25"}, 6},
    {"CENTER", "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____", "2", {"1.25", "-0.25", "0.25", "-0.25"}, 4},
    {"HIDDEN", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ ", "0.25", {"0.12", "-0.12"}, 2},
    {"PHANTOM", "____ _ _ ____ _ _ ____ _ _ ____ _ _ ____ _ _ _", "2.5",
     {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"}, 6},
}};

// DXF colour number by palette block (index / 16) with colour depth 4.
constexpr std::array<int, 16> sixteen_colours = {8, 1, 9, 2, 2, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8};

constexpr std::array<float, 3> text_height_factors = {0.78f, 0.63f, 0.63f};

// A real with six decimals, its trailing zeros dropped but its point kept.
std::string real_text(double v)
{
    std::string s(hc_field_trimmed(hc_real_field(v, 15, 6)));
    if (s.find('.') == std::string::npos)
        return s;
    while (s.back() == '0')
        s.pop_back();
    return s;
}

void hc_dxf_string_group(std::string_view code, std::string_view value)
{
    hc_unit_write_line(plot_unit, code);
    hc_unit_write_line(plot_unit, value);
}

void hc_dxf_integer_group(std::string_view code, long long v) { hc_dxf_string_group(code, std::to_string(v)); }

void hc_dxf_real_group(std::string_view code, double v) { hc_dxf_string_group(code, real_text(v)); }

void hc_dxf_point_group(std::string_view x_code, std::string_view y_code, float x, float y)
{
    const HardcopyState& hc = hardcopy_state();
    hc_dxf_real_group(x_code, static_cast<double>(x) * hc.scale_x);
    hc_dxf_real_group(y_code, static_cast<double>(y) * hc.scale_y);
}

// Cone co-ordinates of a colour: hue around, saturation out, value up.
std::array<float, 3> cone_point(std::int32_t rgb)
{
    float h = 0, s = 0, v = 0;
    gr_rgb_to_hsv(rgb, h, s, v);
    return {v * s * std::cos(h), v * s * std::sin(h), v};
}

std::int32_t rgb_of_number(int n)
{
    const std::uint32_t v = DxfColourIndexTable[static_cast<std::size_t>(n)];
    return static_cast<std::int32_t>(((v >> 16) & 0xff) | (v & 0xff00) | ((v & 0xff) << 16));
}

class DxfDriver : public FileDriver {
public:
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters&) override { hardcopy_state().page_drawn = 0; }
    void colour(DeviceParameters&) override;
    void point(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void text(DeviceParameters& p) override;
    void arc(DeviceParameters& p) override;

private:
    int colour_word_ = 7;
    std::int32_t cached_rgb_ = -1;
    int cached_number_ = 7;

    DriverDefaults defaults() const override;
    void shape(int op, DeviceParameters& p) override;
    void segment(float x1, float y1, float x2, float y2) override;
    // The entity's name, its layer and its colour.
    void hc_dxf_entity_start(std::string_view name) const;
    static void line_type_group(bool hatch_matters);
    static void thickness_group();
};

DriverDefaults DxfDriver::defaults() const
{
    DriverDefaults d;
    d.number = driver_dxf;
    d.options = {{{option_page_width, 756}, {option_page_height, 540}, {option_x_offset, 0},
                  {option_y_offset, 0}, {option_orientation, 0}, {option_hatch_spacing, 80},
                  {option_colour_depth, 8}}};
    d.resolution_x = d.resolution_y = 90;
    d.colour_count = d.colour_limit = 255;
    d.real_value = 0.222f;
    d.capability_flags = "00000100000011000010000000010";
    d.default_output_name = "radediva.dxf";
    return d;
}

void DxfDriver::open(DeviceParameters& p)
{
    // The drawing is in inches.
    if (!hc_driver_open_page(p, 72.0f))
        return;
    GraphicsState& g = graphics_state();

    const int depth = hc_option(option_colour_depth);
    DeviceDescription& description = device_capabilities().hardcopy;
    description.true_colour = depth >= 8 ? 1 : 0;
    g.hardcopy_colour_count = depth >= 8 ? 255 : (depth == 4 ? 14 : 7);

    const double w = hc_option(option_page_width) / 72.0, h = hc_option(option_page_height) / 72.0;
    hc_dxf_string_group("0", "SECTION");
    hc_dxf_string_group("2", "HEADER");
    hc_dxf_string_group("9", "$EXTMIN");
    hc_dxf_string_group("10", "0.0");
    hc_dxf_string_group("20", "0.0");
    hc_dxf_string_group("9", "$EXTMAX");
    hc_dxf_real_group("10", w);
    hc_dxf_real_group("20", h);
    hc_dxf_string_group("9", "$CECOLOR");
    hc_dxf_string_group("62", "7");
    hc_dxf_string_group("9", "$CELTYPE");
    hc_dxf_string_group("6", "DASHDOT");
    hc_dxf_string_group("9", "$VIEWCTR");
    hc_dxf_real_group("10", w / 2);
    hc_dxf_real_group("20", h / 2);
    hc_dxf_string_group("9", "$LIMMIN");
    hc_dxf_string_group("10", "0.0");
    hc_dxf_string_group("20", "0.0");
    hc_dxf_string_group("9", "$LIMMAX");
    hc_dxf_real_group("10", w);
    hc_dxf_real_group("20", h);
    hc_dxf_string_group("0", "ENDSEC");

    hc_dxf_string_group("0", "SECTION");
    hc_dxf_string_group("2", "TABLES");
    hc_dxf_string_group("0", "TABLE");
    hc_dxf_string_group("2", "LTYPE");
    hc_dxf_string_group("70", "9");
    for (const LineTypeEntry& t : DxfLineTypeTable) {
        hc_dxf_string_group("0", "LTYPE");
        hc_dxf_string_group("2", t.name);
        hc_dxf_string_group("70", "0");
        hc_dxf_string_group("3", t.description);
        hc_dxf_string_group("72", "65");
        hc_dxf_integer_group("73", t.count);
        hc_dxf_string_group("40", t.total);
        for (int i = 0; i < t.count; ++i)
            hc_dxf_string_group("49", t.elements[static_cast<std::size_t>(i)]);
    }
    hc_dxf_string_group("0", "ENDTAB");
    hc_dxf_string_group("0", "TABLE");
    hc_dxf_string_group("2", "STYLE");
    hc_dxf_string_group("70", "1");
    hc_dxf_string_group("0", "STYLE");
    hc_dxf_string_group("2", "STANDARD");
    hc_dxf_string_group("70", "0");
    hc_dxf_string_group("40", "0");
    hc_dxf_string_group("41", "1");
    hc_dxf_string_group("50", "0");
    hc_dxf_string_group("71", "0");
    hc_dxf_string_group("42", "0");
    hc_dxf_string_group("3", "txt");
    hc_dxf_string_group("0", "ENDTAB");
    hc_dxf_string_group("0", "TABLE");
    hc_dxf_string_group("2", "LAYER");
    hc_dxf_string_group("70", "9");
    for (char layer = '1'; layer <= '9'; ++layer) {
        hc_dxf_string_group("0", "LAYER");
        hc_dxf_string_group("2", std::string(1, layer));
        hc_dxf_string_group("70", "0");
        hc_dxf_string_group("62", "7");
        hc_dxf_string_group("6", "CONTINUOUS");
    }
    hc_dxf_string_group("0", "ENDTAB");
    hc_dxf_string_group("0", "ENDSEC");
    hc_dxf_string_group("0", "SECTION");
    hc_dxf_string_group("2", "ENTITIES");
    cached_rgb_ = -1;
}

void DxfDriver::close(DeviceParameters&)
{
    hc_dxf_string_group("0", "ENDSEC");
    hc_dxf_string_group("0", "EOF");
    hc_unit_close(plot_unit);
}

void DxfDriver::colour(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const int depth = hc_option(option_colour_depth);
    const std::int32_t rgb = hc_current_rgb();
    if (depth == 24) {
        int r = 0, gr = 0, b = 0;
        gr_rgb_unpack(rgb, &r, &gr, &b);
        colour_word_ = r * 65536 + gr * 256 + b;
    } else if (depth == 8) {
        if (rgb != cached_rgb_) {
            cached_rgb_ = rgb;
            cached_number_ = hc_dxf_nearest_colour_index(rgb);
        }
        colour_word_ = cached_number_;
    } else {
        const int index = std::clamp(g.cur_index, 0, 255);
        if (depth == 4) {
            colour_word_ = sixteen_colours[static_cast<std::size_t>(index / 16)];
        } else {
            colour_word_ = ((index + 16) / 32) % 8;
            if (colour_word_ == 0)
                colour_word_ = 7;
        }
    }
}

void DxfDriver::hc_dxf_entity_start(std::string_view name) const
{
    hc_dxf_string_group("0", name);
    hc_dxf_string_group("8", "1");
    hc_dxf_integer_group(hc_option(option_colour_depth) == 24 ? "420" : "62", colour_word_);
}

// Hatch lines that the graphics layer draws for a fill stay continuous.
void DxfDriver::line_type_group(bool hatch_matters)
{
    const GraphicsState& g = graphics_state();
    if (g.line_type < 1 || g.line_type > 7)
        return;
    if (hatch_matters && g.fill_emulation_hardcopy != 0)
        return;
    hc_dxf_string_group("6", DxfLineTypeTable[static_cast<std::size_t>(g.line_type - 1)].name);
}

void DxfDriver::thickness_group() { hc_dxf_real_group("39", hc_option(option_line_width) / 720.0); }

void DxfDriver::segment(float x1, float y1, float x2, float y2)
{
    hc_page_drawn();
    hc_dxf_entity_start("LINE");
    line_type_group(true);
    thickness_group();
    hc_dxf_point_group("10", "20", x1, y1);
    hc_dxf_point_group("11", "21", x2, y2);
}

void DxfDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    hc_dxf_entity_start("POINT");
    hc_dxf_point_group("10", "20", p.rx1, p.ry1);
}

void DxfDriver::polyline(DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    hc_page_drawn();
    hc_dxf_entity_start("POLYLINE");
    line_type_group(false);
    thickness_group();
    hc_dxf_string_group("66", "1");
    hc_dxf_string_group("70", "0");
    for (int i = 0; i < n; ++i) {
        hc_dxf_string_group("0", "VERTEX");
        hc_dxf_string_group("8", "1");
        hc_dxf_point_group("10", "20", p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
    }
    hc_dxf_string_group("0", "SEQEND");
}

void DxfDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    hc_page_drawn();
    hc_dxf_entity_start("TEXT");
    const bool straight = g.rotation % 180 == 0;
    const float h = g.char_height * g.rotated_area_span_y * (straight ? hc.scale_y : hc.scale_x);
    const float w = g.char_width * g.rotated_area_span_x * (straight ? hc.scale_x : hc.scale_y);
    hc_dxf_real_group("40", h * text_height_factors[static_cast<std::size_t>(std::clamp(g.text_kind, 0, 2))]);
    hc_dxf_real_group("41", h != 0 ? w * g.page_aspect / h : 1.0f);
    hc_dxf_integer_group("50", gr_trunc(g.device_char_angle));
    // A line break or control character would end the value line early.
    std::string value(hc_driver_text(p));
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    hc_dxf_string_group("1", value);
    hc_dxf_string_group("7", "STANDARD");
    // The second character vector, which would move the insertion point
    // across the line, is (0, 0): nothing in the toolkit sets it.
    if (g.text_layout == 0) {
        hc_dxf_string_group("72", "0");
        hc_dxf_point_group("10", "20", p.rx1, p.ry1);
    } else {
        hc_dxf_string_group("72", "1");
        hc_dxf_point_group("10", "20", p.rx1, p.ry1);
        hc_dxf_point_group("11", "21", p.rx1 + 0.5f * p.rx2 * g.device_char_cos, p.ry1 + 0.5f * p.rx2 * g.device_char_sin_y);
    }
}

void DxfDriver::shape(int op, DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    if (p.phase == -1)
        return;
    if (g.fill_style == 3 || op == 5 || op == 13 || op == 15) {
        hc_hatch_by_lines();
        if (g.fill_style >= 3)
            return;
        if (op == 5 && p.rx3 == 1.0f && g.area_span_x == g.area_span_y) {
            hc_page_drawn();
            hc_dxf_entity_start("CIRCLE");
            thickness_group();
            hc_dxf_point_group("10", "20", p.rx1, p.ry1);
            hc_dxf_real_group("40", static_cast<double>(p.rx2) * hc.scale_x);
        } else {
            p.phase = -1;
        }
        return;
    }
    if (g.fill_style != 4)
        return;
    hc_page_drawn();
    hc_dxf_entity_start("SOLID");
    const auto corners = [](float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
        hc_dxf_point_group("10", "20", x1, y1);
        hc_dxf_point_group("11", "21", x2, y2);
        hc_dxf_point_group("12", "22", x3, y3);
        hc_dxf_point_group("13", "23", x4, y4);
    };
    const auto at = [&p](int i, bool y) {
        const auto& v = y ? p.poly_y : p.poly_x;
        return i < static_cast<int>(v.size()) ? v[static_cast<std::size_t>(i)] : 0.0f;
    };
    if (op == 11) {
        corners(at(0, false), at(0, true), at(1, false), at(1, true), at(2, false), at(2, true), at(2, false),
                at(2, true));
    } else if (op == 7) {
        corners(at(0, false), at(0, true), at(1, false), at(1, true), at(3, false), at(3, true), at(2, false),
                at(2, true));
    } else {
        const float x1 = std::max(p.rx1, g.area_px1), y1 = std::max(p.ry1, g.area_py1);
        const float x2 = std::min(p.rx2, g.area_px2), y2 = std::min(p.ry2, g.area_py2);
        corners(x1, y1, x1, y2, x2, y1, x2, y2);
    }
}

void DxfDriver::arc(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    if (g.area_span_x != g.area_span_y) {
        p.phase = 2;
        return;
    }
    hc_dxf_entity_start("ARC");
    line_type_group(false);
    thickness_group();
    hc_dxf_point_group("10", "20", p.rx1, p.ry1);
    hc_dxf_real_group("40", static_cast<double>(p.rx2) * hardcopy_state().scale_x);
    hc_dxf_real_group("50", std::min(p.rx4, p.rx4 + p.ry4));
    hc_dxf_real_group("51", std::max(p.rx4, p.rx4 + p.ry4));
    p.phase = 1;
}

} // namespace

int hc_dxf_nearest_colour_index(std::int32_t rgb)
{
    const auto target = cone_point(rgb);
    int best = 7;
    float best_distance = 9999999.0f;
    for (int n = 1; n < 256; ++n) {
        const std::int32_t candidate = rgb_of_number(n);
        if (candidate == rgb)
            return n;
        const auto c = cone_point(candidate);
        const float d = (c[0] - target[0]) * (c[0] - target[0]) + (c[1] - target[1]) * (c[1] - target[1]) +
                        (c[2] - target[2]) * (c[2] - target[2]);
        if (d < best_distance) {
            best_distance = d;
            best = n;
        }
    }
    return best;
}

std::int32_t hc_dxf_palette_entry(int n) { return n >= 0 && n < 256 ? rgb_of_number(n) : 0; }

Device& hc_dxf()
{
    return toolkit_context().record<DxfDriver>(ContextSlot::dxf_driver);
}

} // namespace korv
