// Driver 1: an HP-GL file for one of ten pen plotters. Beside the plotter
// instructions the file carries annotation records, scale instructions
// with a negative first value followed by a reset of the scale, from which
// a reader can rebuild colours, fonts, fills and page ends.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/hpgl_writer.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

struct PlotterModel {
    int units_per_inch, x_offset, paper_width, paper_height, pens;
    int plotter_class; // 1 U, 2 E, 3 F, 4 H
};

constexpr std::array<PlotterModel, 10> PlotterModelTable = {{
    {1016, 400, 10870, 7480, 4, 1},
    {1021, 400, 11040, 7721, 6, 4},
    {1021, 400, 16158, 11040, 6, 4},
    {1016, 400, 10900, 7650, 4, 2},
    {1016, 400, 10880, 7640, 6, 3},
    {1016, 0, 10880, 7640, 8, 4},
    {1016, 0, 10869, 7600, 8, 4},
    {1016, 0, 15970, 10870, 8, 4},
    {1016, 400, 10960, 7480, 6, 3},
    {1016, 400, 15880, 10960, 6, 3},
}};

// Bit n - 1 set: the plotter fills the shape of operation 2n + 1 itself.
constexpr std::array<int, 5> class_masks = {0, 0, 0, 40, 126};

constexpr std::array<std::string_view, 8> line_type_texts = {"    ", "1 .3", "2 2 ", "4 3 ", "6 2 ", "5 3 ", "3 1 ", "6 4 "};
constexpr std::array<int, 8> pen_groups = {0, 2, 4, 1, 5, 3, 6, 7};

// Polygons above this many points are hatched: the plotters' polygon
// buffers hold no more.
constexpr int plotter_polygon_limit = 127;

int model_number()
{
    const int m = printer_plotter_settings().plotter_model;
    return m >= 1 && m <= 10 ? m : 1;
}

const PlotterModel& model() { return PlotterModelTable[static_cast<std::size_t>(model_number() - 1)]; }

// Capability strings of the plotter classes U, E, F and H.
constexpr std::array<std::string_view, 4> class_flags = {
    "00000100000000000010000000010", "00000100000000000010000000000",
    "00000100000010000010000000010", "00000100000011100010001001010"};

class HpglDriver : public PlotterDriver {
public:
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters& p) override;
    void character_size(DeviceParameters&) override;
    void colour(DeviceParameters&) override;
    void polyline(DeviceParameters& p) override;
    // The plotters have no four-point fill.
    void quadrilateral_fill(DeviceParameters&) override {}
    void arc(DeviceParameters& p) override { wedge(34, p); }
    void text(DeviceParameters& p) override;
    void line_type(DeviceParameters&) override;
    void line_width(DeviceParameters&) override;

private:
    double u_ = 1016.0 / 72.0;
    char pen_ = ' ';
    bool reselect_ = false;
    float last_thickness_ = -1;
    int last_style_ = -1, last_kind_ = 0;
    bool plotter_filled_ = false;
    std::string_view type1_text_ = "1 .3";

    static bool annotating() { return hc_option(option_hpgl_annotation) != 0; }
    void begin_plot(const DeviceParameters& p) override;
    double units_per_point() const override { return u_; }
    DriverDefaults defaults() const override;
    void selected() override;
    void shape(int op, DeviceParameters& p) override;
    // The annotation records: SC with a negative code and three values,
    // the scale reset after them when asked; a device point; two reals.
    void hc_hpgl_scale(int code, long long a, long long b, long long c, bool reset) const;
    void hc_hpgl_vertex_record(float x, float y) const;
    void hc_hpgl_scale_template(float a, float b) const;
    void pen_reselect();
    void segment(float x1, float y1, float x2, float y2) override;
    void wedge(int op, DeviceParameters& p);
};

DriverDefaults HpglDriver::defaults() const
{
    const PlotterModel& m = model();
    const float u = static_cast<float>(m.units_per_inch) / 72.0f;
    const int x_offset = static_cast<int>(static_cast<float>(m.x_offset) / u);
    const int page_width = static_cast<int>(static_cast<float>(m.paper_width) / u - static_cast<float>(x_offset));
    DriverDefaults d;
    d.number = driver_hpgl;
    d.options = {{{option_x_offset, x_offset},
                  {option_page_width, page_width},
                  {option_page_height, static_cast<int>(static_cast<float>(m.paper_height) / u)},
                  {option_y_offset, 0},
                  {option_orientation, 1},
                  {option_hatch_spacing, 80},
                  {option_hpgl_annotation, 1},
                  {option_device_on_off, 0},
                  {option_label_terminator, 4},
                  {option_plotter_fills, 0}}};
    d.resolution_x = d.resolution_y = 90;
    d.colour_count = m.pens;
    d.colour_limit = 9;
    d.word_a = 7;
    d.true_colour = 0;
    d.word_f = 0;
    d.print_command_flag = 1;
    d.capability_flags = class_flags[static_cast<std::size_t>(m.plotter_class - 1)];
    d.default_output_name = "radediva.plt";
    return d;
}

void HpglDriver::hc_hpgl_scale(int code, long long a, long long b, long long c, bool reset) const
{
    if (!annotating())
        return;
    std::string text = "SC-" + std::to_string(code) + " " + hc_integer_field(a, code == 1 ? 9 : 6) + " " +
                       hc_integer_field(b, 6) + " " + hc_integer_field(c + hpgl_user_units, 6);
    if (reset)
        text += " ;" + std::string(hpgl_scale_reset);
    out_.hc_hpgl_instruction(text);
}

void HpglDriver::hc_hpgl_vertex_record(float x, float y) const { hc_hpgl_scale(9, out_.user_x(x), out_.user_y(y), 0, false); }

void HpglDriver::hc_hpgl_scale_template(float a, float b) const
{
    if (annotating())
        out_.hc_hpgl_instruction("SC-9" + hc_real_field(a, 10, 4) + " " + hc_real_field(b, 10, 4) + " 0");
}

void HpglDriver::selected()
{
    const PlotterModel& m = model();
    u_ = m.units_per_inch / 72.0;
    size_pending_ = true;
    type1_text_ = m.plotter_class == 3 ? "1 1 " : "1 .3";
}

void HpglDriver::begin_plot(const DeviceParameters& p)
{
    pen_ = ' ';
    last_thickness_ = -1;
    reselect_ = false;
    last_style_ = -1;
    last_kind_ = 0;
    if (hc_option(option_device_on_off) != 0)
        out_.hc_hpgl_instruction("\x1b.Y");
    corners_ = hpgl_corners(u_);
    hpgl_plot_head(out_, corners_, hc_option(option_orientation) == 0, terminator_);
    hc_hpgl_scale(2, 9, 0, 0, false);
    hc_hpgl_scale(13, model_number(), 0, 0, false);
}

void HpglDriver::close(DeviceParameters&)
{
    if (hc_option(option_device_on_off) != 0)
        out_.hc_hpgl_instruction("\x1b.Z");
    hc_unit_close(plot_unit);
}

void HpglDriver::end_page(DeviceParameters& p)
{
    hardcopy_state().page_drawn = 0;
    hc_hpgl_scale(3, p.phase, 0, 0, true);
    const int m = model_number();
    out_.hc_hpgl_instruction(m == 7 || m == 8 ? "PU;SP0 ;PG;" : "PU;SP0 ;");
    reselect_ = true;
}

void HpglDriver::character_size(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    hc_hpgl_scale(10, g.font_family, g.font_style, g.text_kind, true);
    size_pending_ = true;
}

void HpglDriver::colour(DeviceParameters&)
{
    const GraphicsState& g = graphics_state();
    int index = g.cur_index;
    if (index < 0 || index > 255)
        index = gr_colour_nearest_index(hc_current_rgb());
    const int pens = std::max(1, g.hardcopy_colour_count);
    const char pen = static_cast<char>('1' + pen_groups[static_cast<std::size_t>(((index + 16) / 32) % 8)] % pens);
    if (pen != pen_) {
        pen_ = pen;
        out_.hc_hpgl_instruction(std::string("PU;SP") + pen_);
        reselect_ = false;
    }
    if (g.fill_emulation_hardcopy == 0)
        hc_hpgl_scale(1, hc_current_rgb(), 0, 0, true);
}

void HpglDriver::pen_reselect()
{
    hc_page_drawn();
    if (reselect_) {
        out_.hc_hpgl_instruction(std::string("SP") + pen_);
        reselect_ = false;
    }
}

void HpglDriver::segment(float x1, float y1, float x2, float y2)
{
    pen_reselect();
    out_.segment(x1, y1, x2, y2);
}

void HpglDriver::polyline(DeviceParameters& p)
{
    const int n = hc_point_count(p);
    if (n < 1)
        return;
    pen_reselect();
    out_.move_to(p.poly_x[0], p.poly_y[0]);
    for (int i = 1; i < n; ++i)
        out_.hc_hpgl_vector("PD", p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
    hardcopy_state().last_pen_x = p.poly_x[static_cast<std::size_t>(n - 1)];
    hardcopy_state().last_pen_y = p.poly_y[static_cast<std::size_t>(n - 1)];
}

int shape_code(int op)
{
    switch (op) {
    case 5: return 5;
    case 9: return 6;
    case 11: return 7;
    case 13: return 4;
    default: return 11;
    }
}

void HpglDriver::shape(int op, DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    const int code = shape_code(op);
    if (p.phase == -1) {
        if (!plotter_filled_)
            hc_hpgl_scale(code, -1, 0, 0, true);
        return;
    }
    pen_reselect();
    const int bit = 1 << ((op - 1) / 2 - 1);
    const int plotter_class = model().plotter_class;
    const int n = hc_point_count(p);
    bool fill = (class_masks[static_cast<std::size_t>(plotter_class)] & bit) != 0 && hc_option(option_plotter_fills) != 0 &&
                (g.fill_style == 4 || (g.fill_style == 3 && g.prev_index == g.cur_index));
    if (op == 15 && plotter_class == 4 && n > plotter_polygon_limit)
        fill = false;
    plotter_filled_ = fill;
    if (fill) {
        const float t = std::clamp(static_cast<float>(hc_option(option_hatch_spacing)) * 25.4f / 7200.0f, 0.1f, 5.0f);
        if (t != last_thickness_) {
            out_.hc_hpgl_instruction("FT2;PT" + hc_real_field(t, 4, 2));
            last_thickness_ = t;
        }
    } else {
        hc_hatch_by_lines();
        if (op != 5)
            hc_hpgl_scale(code, g.fill_style, g.fill_density, g.fill_angle + 10 * g.fill_outline, false);
        if (op != 5 && !annotating())
            return;
    }
    const auto finish_at = [&hc](float x, float y) {
        hc.last_pen_x = x;
        hc.last_pen_y = y;
    };
    switch (op) {
    case 5:
        hpgl_circle(out_, p, fill, [&] {
            if (!fill)
                hc_hpgl_scale(5, g.fill_style, g.fill_density, g.fill_angle, false);
        });
        break;
    case 9:
        if (fill) {
            out_.hc_hpgl_vector("PU", p.rx1, p.ry1);
            out_.hc_hpgl_vector("RA", p.rx2, p.ry2);
            finish_at(p.rx1, p.ry1);
        } else {
            hc_hpgl_vertex_record(p.rx1, p.ry1);
            hc_hpgl_vertex_record(p.rx2, p.ry2);
        }
        break;
    case 13:
        if (fill) {
            wedge(13, p);
            return;
        }
        hc_hpgl_vertex_record(p.rx1, p.ry1);
        hc_hpgl_vertex_record(p.rx2, p.ry2);
        hc_hpgl_scale_template(p.rx3, p.ry3);
        break;
    default: {
        const int points = op == 11 ? std::min(n, 3) : n;
        if (points < 1)
            break;
        if (fill) {
            out_.hc_hpgl_vector("PU", p.poly_x[0], p.poly_y[0]);
            out_.hc_hpgl_instruction("PM0");
            for (int i = 1; i < points; ++i)
                out_.hc_hpgl_vector("PD", p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
            out_.hc_hpgl_instruction("PM2;FP");
            finish_at(p.poly_x[0], p.poly_y[0]);
        } else {
            if (op == 15)
                hc_hpgl_scale(12, points, 0, 0, false);
            for (int i = 0; i < points; ++i)
                hc_hpgl_vertex_record(p.poly_x[static_cast<std::size_t>(i)], p.poly_y[static_cast<std::size_t>(i)]);
        }
        break;
    }
    }
    out_.hc_hpgl_instruction(hpgl_scale_reset);
}

void HpglDriver::wedge(int op, DeviceParameters& p)
{
    if (op == 34)
        pen_reselect();
    hc_hpgl_wedge(out_, op, p, "PD", [] {});
}

void HpglDriver::text(DeviceParameters& p)
{
    const GraphicsState& g = graphics_state();
    pen_reselect();
    const int kind = std::clamp(g.text_kind, 0, 2);
    static constexpr std::array<float, 3> widths = {1.0f, 1.007f, 1.007f};
    hpgl_character_size(out_, size_pending_, widths[static_cast<std::size_t>(kind)], 1.5f, kind);
    if (g.font_style != last_style_ || kind != last_kind_) {
        out_.hc_hpgl_instruction((g.font_style & 2) != 0 ? "SL.2" : "SL0.");
        last_style_ = g.font_style;
        last_kind_ = kind;
    }
    // The character vectors that would move the label origin off the
    // start point are (0, 0): nothing in the toolkit sets them.
    out_.label_at(p.rx1, p.ry1, hc_driver_text(p), terminator_);
}


void HpglDriver::line_type(DeviceParameters&)
{
    const int type = graphics_state().line_type;
    const std::string_view text =
        type == 1 ? type1_text_ : line_type_texts[type >= 0 && type < 8 ? static_cast<std::size_t>(type) : 0];
    out_.hc_hpgl_instruction("LT" + std::string(text));
}

void HpglDriver::line_width(DeviceParameters&)
{
    if (!annotating())
        return;
    const double width = std::clamp(hc_option(option_line_width) * 0.4 / u_, 0.1, 5.0);
    out_.hc_hpgl_instruction("PW" + hc_real_field(width, 5, 3));
}


} // namespace

Device& hc_hpgl()
{
    return toolkit_context().record<HpglDriver>(ContextSlot::hpgl_driver);
}

} // namespace korv
