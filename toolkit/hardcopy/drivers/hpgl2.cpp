// Driver 12: HP-GL/2 inside a PCL job for printers that take it (device
// models 1, 2, 3 and 5), or a bare HP-GL/2 file (model 4). It shares the
// HP-GL instruction writer; beyond HP-GL it has colour pens, raster fill
// patterns from halftone masks on two-colour devices, encoded polylines,
// line attributes, font selection and label origins.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/halftone.h"
#include "hardcopy/drivers/hpgl_writer.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

constexpr double plotter_units_per_point = 1016.0 / 72.0;
// The instruction buffer of the plotter-language drivers.
constexpr std::size_t instruction_limit = 50;
// A PE record is cut before it passes this length, leaving room for the
// two encoded values of one more point and the closing semicolon.
constexpr std::size_t encoded_record_limit = 246;

constexpr std::array<std::string_view, 8> line_type_texts = {"    ", "1 .3", "2 2 ", "4 3 ", "7 2 ", "5 3 ", "3 1 ", "6 3 "};

// Roman-8 codes of the Latin-1 characters 161..255, for device model 1,
// which has no Latin-1 symbol set.
constexpr std::array<unsigned char, 95> roman8 = {
    0xB8, 0xBF, 0xAF, 0xBA, 0xBC, 0x7C, 0xBD, 0xAB, 0x63, 0xF9, 0xFB, 0x20, 0xF6, 0x52, 0xB0, 0xB3,
    0xFE, 0x32, 0x33, 0xA8, 0xF3, 0xF4, 0xF2, 0x2C, 0x31, 0xFA, 0xFD, 0xF7, 0xF8, 0xF5, 0xB9, 0xA1,
    0xE0, 0xA2, 0xE1, 0xD8, 0xD0, 0xD3, 0xB4, 0xA3, 0xDC, 0xA4, 0xA5, 0xE6, 0xE5, 0xA6, 0xA7, 0xE3,
    0xB6, 0xE8, 0xE7, 0xDF, 0xE9, 0xDA, 0x78, 0xD2, 0xAD, 0xED, 0xAE, 0xDB, 0xB1, 0xF0, 0xDE, 0xC8,
    0xC4, 0xC0, 0xE2, 0xCC, 0xD4, 0xD7, 0xB5, 0xC9, 0xC5, 0xC1, 0xCD, 0xD9, 0xD5, 0xD1, 0xDD, 0xE4,
    0xB7, 0xCA, 0xC6, 0xC2, 0xEA, 0xCE, 0x20, 0xD6, 0xCB, 0xC7, 0xC3, 0xCF, 0xB2, 0xF1, 0xEF,
};

int model_number()
{
    const int m = printer_plotter_settings().hpgl2_model;
    return m >= 1 && m <= 5 ? m : 1;
}

bool two_colours() { return model_number() == 1 || model_number() == 3; }

int shape_code(int op)
{
    switch (op) {
    case 5: return 5;
    case 7: return 8;
    case 9: return 6;
    case 11: return 7;
    case 13: return 4;
    default: return 11;
    }
}

std::string digit(int v) { return hc_integer_field(v, 1); }

// The characters of one relative PE move in the 7-bit form: base 32
// digits, low first, the last one marked by a higher code.
void encode(std::string& out, int d)
{
    unsigned v = d >= 0 ? 2u * static_cast<unsigned>(d) : 2u * static_cast<unsigned>(-static_cast<long long>(d)) + 1u;
    while (v >= 32) {
        out += static_cast<char>(v % 32 + 63);
        v /= 32;
    }
    out += static_cast<char>(v + 95);
}

// The page of device models 1..5, lengths in plotter units.
struct PageModel {
    int colours, paper_width, paper_height, dpi;
};

constexpr std::array<PageModel, 5> Hpgl2DeviceTable = {{
    {2, 10860, 7918, 300},
    {256, 10860, 7918, 300},
    {2, 10860, 7918, 600},
    {256, 15836, 10860, 600},
    {256, 10860, 7918, 600},
}};

class Hpgl2Driver : public PlotterDriver {
public:
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters& p) override;
    void colour(DeviceParameters&) override;
    void palette(DeviceParameters& p) override { colour(p); }
    void palette_entry(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void arc(DeviceParameters& p) override { hc_hpgl2_wedge(34, p); }
    void line_type(DeviceParameters&) override;
    void line_width(DeviceParameters&) override;
    void line_join(DeviceParameters&) override;
    void line_cap(DeviceParameters&) override;
    void character_size(DeviceParameters&) override { size_pending_ = true; }
    void text(DeviceParameters& p) override;

private:
    float width_divisor_ = 1.5f;
    char font_letter_ = 'S';
    std::string pen_, fill_pen_;
    std::array<bool, 256> pen_defined_{};
    int fill_mode_ = -1, last_single_ = -1, last_pair_previous_ = -1, last_pair_current_ = -1;
    int last_family_ = -1, last_style_ = -1, last_kind_ = 0, last_justification_ = -1;

    // Terminated, so that the page's last instruction, always a comment, is
    // ended before the job leaves HP-GL/2; readers that skip a comment up
    // to the next semicolon then lose nothing.
    void comment(const std::string& fields) const { out_.hc_hpgl_instruction("CO\"" + fields + "\";"); }
    void begin_plot(const DeviceParameters& p) override;
    double units_per_point() const override { return plotter_units_per_point; }
    DriverDefaults defaults() const override;
    void selected() override;
    void shape(int op, DeviceParameters& p) override;
    void hc_hpgl2_pen_colour(int pen, int red, int green, int blue) const;
    void hc_hpgl2_fill_pattern(HalftoneMask mask) const;
    void hc_hpgl2_encoded_polyline(const DeviceParameters& p, int first) const;
    void select_pen(const std::string& pen);
    void segment(float x1, float y1, float x2, float y2) override;
    void two_colour_fill();
    void hc_hpgl2_wedge(int op, DeviceParameters& p);
    static int index_of(bool previous);
    static int current_index() { return index_of(false); }
};

DriverDefaults Hpgl2Driver::defaults() const
{
    const PageModel& m = Hpgl2DeviceTable[static_cast<std::size_t>(model_number() - 1)];
    const float u = 1016.0f / 72.0f;
    DriverDefaults d;
    d.number = driver_hpgl2_pcl;
    d.options = {{{option_x_offset, 0},
                  {option_page_width, static_cast<int>(static_cast<float>(m.paper_width) / u)},
                  {option_page_height, static_cast<int>(static_cast<float>(m.paper_height) / u)},
                  {option_y_offset, 0},
                  {option_orientation, 1},
                  {option_hpgl_annotation, 0},
                  {option_label_terminator, 4}}};
    d.resolution_x = d.resolution_y = m.dpi;
    d.colour_count = m.colours;
    d.colour_limit = 256;
    d.true_colour = 0;
    d.print_command_flag = 1;
    d.capability_flags = m.colours == 2 ? "00000100000011100010001001110" : "00000100011111100010011011110";
    d.default_output_name = "radediva.plt";
    return d;
}

void Hpgl2Driver::selected()
{
    hc_halftone_overrides_reset();
    size_pending_ = true;
    const int m = model_number();
    width_divisor_ = m == 1 ? 1.5f : 1.2f;
    font_letter_ = m == 1 ? 'S' : 'A';
}

void Hpgl2Driver::begin_plot(const DeviceParameters& p)
{
    pen_.clear();
    fill_pen_.clear();
    fill_mode_ = last_single_ = last_pair_previous_ = last_pair_current_ = -1;
    pen_defined_.fill(false);
    last_kind_ = 0;
    last_family_ = last_style_ = last_justification_ = -1;
    const int m = model_number();
    if (m != 4)
        out_.hc_hpgl_instruction("\x1b%0B");
    if (p.px1 != 0) {
        // A comment cannot hold a quote; the title is cut to the buffer.
        std::string title;
        for (char c : text_trimmed(text_view(hardcopy_state().title)))
            if (c != '"')
                title += c;
        title.resize(std::min(title.size(), instruction_limit - 4));
        comment(title);
    }
    corners_ = hpgl_corners(plotter_units_per_point);
    const bool flat = m == 4 ? hc_option(option_orientation) != 0 : hc_option(option_orientation) == 0;
    hpgl_plot_head(out_, corners_, !flat, terminator_);
    out_.hc_hpgl_instruction("TR0");
    if (m != 1)
        out_.hc_hpgl_instruction("AD1,14;SA");
    if (!two_colours())
        out_.hc_hpgl_instruction("NP256");
    comment("13 " + hc_integer_field(m, 2) + " " + hc_real_field(width_divisor_, 3, 1) + " 9");
    comment("2 " + digit(hc_option(option_colour_inversion)));
}

void Hpgl2Driver::close(DeviceParameters&)
{
    if (model_number() != 4)
        out_.hc_hpgl_instruction("\x1b%0A");
    hc_unit_close(plot_unit);
}

void Hpgl2Driver::end_page(DeviceParameters& p)
{
    hardcopy_state().page_drawn = 0;
    comment("3 " + hc_integer_field(p.phase, 3));
    if (model_number() == 4) {
        out_.hc_hpgl_instruction("PG");
        return;
    }
    const int copies = std::clamp(hc_option(option_copies), 1, 99);
    std::string eject = "\x1b%1A\x1b&l";
    eject += static_cast<char>('0' + copies / 10);
    eject += static_cast<char>('0' + copies % 10);
    eject += "X\f\x1b%0B";
    out_.hc_hpgl_instruction(eject);
}

void Hpgl2Driver::hc_hpgl2_pen_colour(int pen, int red, int green, int blue) const
{
    const std::array<int, 3> c = hc_colour_inverted({red, green, blue});
    out_.hc_hpgl_instruction("PC" + hc_integer_field(pen, 4) + " " + hc_integer_field(c[0], 3) + " " +
                     hc_integer_field(c[1], 3) + " " + hc_integer_field(c[2], 3));
}

void Hpgl2Driver::hc_hpgl2_fill_pattern(HalftoneMask mask) const
{
    for (int line = 0; line < 2; ++line) {
        std::string values;
        for (int k = 16 * line; k < 16 * line + 16; ++k) {
            values += (mask >> k & 1u) == 0 ? '1' : '0';
            values += k == 31 ? ';' : ',';
        }
        out_.hc_hpgl_instruction(values);
    }
}

void Hpgl2Driver::hc_hpgl2_encoded_polyline(const DeviceParameters& p, int first) const
{
    const int n = hc_point_count(p);
    const int handle = hc_unit_handle(plot_unit);
    const std::string start = out_.blank_first() ? " PE7" : "PE7";
    std::string record = start;
    for (int i = std::max(first, 1); i < n; ++i) {
        if (record.size() > encoded_record_limit) {
            record += ';';
            hc_write_record(handle, record, true);
            record = start;
        }
        const auto k = static_cast<std::size_t>(i);
        encode(record, out_.user_x(p.poly_x[k]) - out_.user_x(p.poly_x[k - 1]));
        encode(record, out_.user_y(p.poly_y[k]) - out_.user_y(p.poly_y[k - 1]));
    }
    record += ';';
    hc_write_record(handle, record, true);
}

// The palette index of the current or previous colour; an RGB colour
// without one takes the nearest.
int Hpgl2Driver::index_of(bool previous)
{
    const GraphicsState& g = graphics_state();
    const int index = previous ? g.prev_index : g.cur_index;
    if (index >= 0 && index < 256)
        return index;
    return gr_colour_nearest_index(previous ? g.prev_rgb : g.cur_rgb);
}

void Hpgl2Driver::select_pen(const std::string& pen)
{
    if (pen == pen_)
        return;
    pen_ = pen;
    out_.hc_hpgl_instruction("PU;SP" + pen);
}

void Hpgl2Driver::colour(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    const int index = current_index();
    std::string pen;
    if (!two_colours()) {
        pen = hc_integer_field(index, 3);
        if (!pen_defined_[static_cast<std::size_t>(index)]) {
            int r = 0, gr = 0, b = 0;
            gr_rgb_unpack(gr_colour_table_get(index), &r, &gr, &b);
            hc_hpgl2_pen_colour(index, r, gr, b);
            pen_defined_[static_cast<std::size_t>(index)] = true;
        }
    } else {
        const int background = hc_option(option_colour_inversion) != 0 ? 223 : 0;
        pen.assign(1, index == background ? '0' : '1');
    }
    select_pen(pen);
    if (g.fill_emulation_hardcopy == 0)
        comment("1 " + hc_integer_field(hc_current_rgb(), 8));
}

void Hpgl2Driver::palette_entry(DeviceParameters& p)
{
    int r = 0, g = 0, b = 0;
    gr_rgb_unpack(p.px1, &r, &g, &b);
    hc_hpgl2_pen_colour(p.count, r, g, b);
    if (p.count >= 0 && p.count < 256)
        pen_defined_[static_cast<std::size_t>(p.count)] = true;
}

void Hpgl2Driver::segment(float x1, float y1, float x2, float y2)
{
    hc_page_drawn();
    out_.segment(x1, y1, x2, y2);
}

void Hpgl2Driver::polyline(DeviceParameters& p)
{
    HardcopyState& hc = hardcopy_state();
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    hc_page_drawn();
    out_.move_to(p.poly_x[0], p.poly_y[0]);
    if (n >= 33)
        comment("14 " + hc_integer_field(n, 6));
    hc_hpgl2_encoded_polyline(p, 1);
    hc.last_pen_x = p.poly_x[static_cast<std::size_t>(n - 1)];
    hc.last_pen_y = p.poly_y[static_cast<std::size_t>(n - 1)];
}

void Hpgl2Driver::two_colour_fill()
{
    GraphicsState& g = graphics_state();
    if (g.solid_fill != 0) {
        out_.hc_hpgl_instruction("FT2");
        fill_mode_ = -1;
        return;
    }
    const int current = current_index(), previous = index_of(true);
    if (g.fill_style == 4 || previous == current) {
        if (current != last_single_) {
            out_.hc_hpgl_instruction("RF1,8,4,");
            hc_hpgl2_fill_pattern(hc_halftone_masks(1).plane1);
            last_single_ = current;
        }
        if (fill_mode_ != 1) {
            out_.hc_hpgl_instruction("FT11 1");
            fill_mode_ = 1;
        }
        return;
    }
    if (previous != last_pair_previous_ || current != last_pair_current_) {
        // The previous colour's mask on the checkerboard's one half, the
        // current colour's on the other.
        const int saved_index = g.cur_index;
        const std::int32_t saved_rgb = g.cur_rgb;
        g.cur_index = g.prev_index;
        g.cur_rgb = g.prev_rgb;
        const HalftoneMask first = hc_halftone_masks(1).plane1;
        g.cur_index = saved_index;
        g.cur_rgb = saved_rgb;
        const HalftoneMask second = hc_halftone_masks(1).plane1;
        out_.hc_hpgl_instruction("RF2,8,4,");
        hc_hpgl2_fill_pattern((first & 0xAA55AA55u) + (second & 0x55AA55AAu));
        last_pair_previous_ = previous;
        last_pair_current_ = current;
    }
    if (fill_mode_ != 2) {
        out_.hc_hpgl_instruction("FT11 2");
        fill_mode_ = 2;
    }
}

void Hpgl2Driver::shape(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    const int code = shape_code(op);
    const std::string fill_fields =
        digit(g.fill_style) + " " + digit(g.fill_density) + " " + digit(g.fill_angle) + " " + digit(g.fill_outline);
    if (p.phase == -1) {
        if (code == 4 || code == 5 || g.fill_style >= 3)
            comment(hc_integer_field(code, 2) + " -1");
        // Back to the line pen after a mixed colour's own pen.
        if (!fill_pen_.empty() && fill_pen_ != pen_)
            out_.hc_hpgl_instruction("PU;SP" + pen_);
        return;
    }
    hc_page_drawn();
    fill_pen_.clear();
    const auto ellipse = [&](bool filled) {
        hpgl_circle(out_, p, filled, [&] {
            if (!filled)
                comment("5 " + fill_fields);
        });
        out_.hc_hpgl_instruction(hpgl_scale_reset);
    };
    if (g.fill_style < 3) {
        if (op == 5)
            ellipse(false);
        return;
    }
    if (two_colours()) {
        two_colour_fill();
    } else if (g.fill_style == 3 && hc_previous_colour() != hc_current_colour()) {
        const int k = 255 - current_index();
        int r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
        gr_colour_components(hc_previous_colour(), r1, g1, b1);
        gr_colour_components(hc_current_colour(), r2, g2, b2);
        hc_hpgl2_pen_colour(k, (r1 + r2) / 2, (g1 + g2) / 2, (b1 + b2) / 2);
        fill_pen_ = hc_integer_field(k, 3);
        out_.hc_hpgl_instruction("PU;SP" + fill_pen_);
        pen_defined_[static_cast<std::size_t>(k)] = false;
    }
    comment(hc_integer_field(code, 2) + " " + fill_fields);
    const int n = hc_point_count(p);
    switch (op) {
    case 5:
        ellipse(true);
        break;
    case 9:
        out_.hc_hpgl_vector("PU", p.rx1, p.ry1);
        out_.hc_hpgl_vector("RA", p.rx2, p.ry2);
        hc.last_pen_x = p.rx1;
        hc.last_pen_y = p.ry1;
        break;
    case 13:
        hc_hpgl2_wedge(13, p);
        break;
    default:
        if (n < 1)
            break;
        out_.hc_hpgl_vector("PU", p.poly_x[0], p.poly_y[0]);
        out_.hc_hpgl_instruction("PM0");
        hc_hpgl2_encoded_polyline(p, 1);
        out_.hc_hpgl_instruction("PM2;FP");
        hc.last_pen_x = p.poly_x[0];
        hc.last_pen_y = p.poly_y[0];
        break;
    }
}

void Hpgl2Driver::hc_hpgl2_wedge(int op, DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    hc_hpgl_wedge(out_, op, p, "PD;", [&] {
        if (g.fill_style == 1 || g.fill_style == 2)
            comment("4 " + digit(g.fill_style) + " " + digit(g.fill_density) + " " + digit(g.fill_angle) + " " +
                    digit(g.fill_outline));
    });
}

void Hpgl2Driver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    hc_page_drawn();
    const int kind = std::clamp(g.text_kind, 0, 2);
    static constexpr std::array<float, 3> widths = {1.0f, 0.932f, 1.06f};
    if (size_pending_ && kind != last_kind_)
        comment("10 " + digit(kind));
    hpgl_character_size(out_, size_pending_, widths[static_cast<std::size_t>(kind)], width_divisor_, kind);
    if (g.font_family != last_family_ || g.font_style != last_style_ || kind != last_kind_) {
        const int weight = (g.font_style & 1) != 0 ? 3 : 0;
        std::string font = (g.font_style & 2) != 0 ? "SL.2" : "SL0.";
        font += ";";
        font += font_letter_;
        font += "D 2 ";
        switch (g.font_family) {
        case 1: font += "0 6 0"; break;
        case 2: font += "1 6 " + std::to_string(weight) + " 7 4148"; break;
        case 3: font += "1 6 " + std::to_string(weight) + " 7 4101"; break;
        case 4: font += "1 6 " + std::to_string(weight) + " 7 4101 1 173"; break;
        default: break;
        }
        out_.hc_hpgl_instruction(font);
        last_family_ = g.font_family;
        last_style_ = g.font_style;
        last_kind_ = kind;
    }
    std::string text(hc_driver_text(p));
    if (model_number() == 1 && (kind == 0 || g.font_family != 4))
        for (char& c : text)
            if (static_cast<unsigned char>(c) >= 161)
                c = static_cast<char>(roman8[static_cast<std::size_t>(static_cast<unsigned char>(c) - 161)]);
    // The character vectors that would move the label origin off the
    // start point are (0, 0): nothing in the toolkit sets them.
    const int justification = kind == 1 ? 0 : g.text_alignment;
    float x = p.rx1, y = p.ry1;
    const float x_end = x + p.rx3 - p.rx1, y_end = y + p.ry3 - p.ry1;
    if (justification == 1) {
        x = (x + x_end) / 2;
        y = (y + y_end) / 2;
    } else if (justification == 2) {
        x = x_end;
        y = y_end;
    }
    if (justification != last_justification_) {
        static constexpr std::array<char, 3> origins = {'1', '4', '7'};
        out_.hc_hpgl_instruction(std::string("LO") + origins[static_cast<std::size_t>(std::clamp(justification, 0, 2))]);
        last_justification_ = justification;
    }
    out_.label_at(x, y, text, terminator_);
}


void Hpgl2Driver::line_type(DeviceParameters&)
{
    const int type = graphics_state().line_type;
    out_.hc_hpgl_instruction("LT" + std::string(line_type_texts[type >= 0 && type < 8 ? static_cast<std::size_t>(type) : 0]));
}

void Hpgl2Driver::line_width(DeviceParameters&)
{
    const double width = std::clamp(hc_option(option_line_width) * 0.4 / plotter_units_per_point, 0.0284, 5.0);
    out_.hc_hpgl_instruction("PW" + hc_real_field(width, 6, 3));
}


void Hpgl2Driver::line_join(DeviceParameters&)
{
    static constexpr std::array<char, 3> joins = {'1', '4', '5'};
    out_.hc_hpgl_instruction(std::string("LA2 ") + joins[static_cast<std::size_t>(std::clamp(hc_option(option_line_join), 0, 2))]);
}

void Hpgl2Driver::line_cap(DeviceParameters&)
{
    static constexpr std::array<char, 3> caps = {'1', '4', '2'};
    out_.hc_hpgl_instruction(std::string("LA1 ") + caps[static_cast<std::size_t>(std::clamp(hc_option(option_line_cap), 0, 2))]);
}

} // namespace

Device& hc_pcl_hpgl2()
{
    return toolkit_context().record<Hpgl2Driver>(ContextSlot::hpgl2_driver);
}

} // namespace korv
