// The instruction writer the HP-GL and HP-GL/2 drivers share: compacted
// instructions one a line, vectors in plotter user units 0..32760, labels,
// and the scale lines that make circles and wedges follow the graphics
// area's aspect.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "hardcopy/drivers/file_driver.h"

namespace korv {

struct DeviceParameters;

// Plotter user units across the page on both axes.
inline constexpr int hpgl_user_units = 32760;
inline constexpr std::string_view hpgl_scale_reset = "SC0 32760 0 32760";

class HpglWriter {
public:
    // Mode 1 begins every line with a blank, as some plotters' spoolers
    // want; mode 2 does not.
    void line_mode(bool blank_first) { blank_first_ = blank_first; }
    bool blank_first() const { return blank_first_; }

    // Writes an instruction: from its third character on, each run of
    // blanks becomes one, blanks right after the mnemonic and at the end
    // are dropped.
    void hc_hpgl_instruction(std::string_view text) const;
    // The caller's own text as one instruction, at most the writer's 50 characters.
    void hc_hpgl_text(std::string_view text) const;
    // The mnemonic and a device point in user units.
    void hc_hpgl_vector(std::string_view mnemonic, float x, float y) const;
    // "LB", the text with any terminator in it dropped, the terminator.
    void hc_hpgl_label(std::string_view text, char terminator) const;
    // PU to a point and a label there; the pen's position is then unknown.
    void label_at(float x, float y, std::string_view text, char terminator) const;
    // PU to a point unless the pen stands there already.
    void move_to(float x, float y) const;
    // PU to (x1, y1) unless the pen stands there already, PD to (x2, y2),
    // where the pen then stands.
    void segment(float x1, float y1, float x2, float y2) const;

    // Device units to user units, truncated toward zero.
    int user_x(float x) const;
    int user_y(float y) const;
    float sx = 1, sy = 1;

private:
    bool blank_first_ = false;
};

std::string hpgl_compacted(std::string_view text);

// The scale line for a circle or wedge of ratio q: "SC0 32760 0 t" when the
// shortened axis is y, else "SC0 t' 0 32760". Gives the factor on y (or
// x) that the centre takes, and scales the radius where x is shortened.
struct HpglScale {
    std::string line;
    double y_factor = 1, x_factor = 1;
    double radius_factor = 1;
};
HpglScale hpgl_scale_line(float ratio);

// Operation 18's start in both plotter drivers: the user-unit scale, and
// on a new plot the file opened, the line mode and the label terminator
// taken.
enum class PlotOpen { rescaled, opened, failed };
PlotOpen hpgl_open_plot(HpglWriter& out, const DeviceParameters& p, char& terminator);
// The head after the device's own start: IN and IP, RO (90 or 0) and IP,
// DT with the terminator, DI.
struct HpglCorners;
void hpgl_plot_head(const HpglWriter& out, const HpglCorners& c, bool turned, char terminator);

// CI at the centre of the device parameters, its radius scaled to the
// ellipse's ratio; filled, it is the polygon PM0 ... PM2;FP fills. Between
// the move to the centre and the scale line, after_move writes what a
// driver adds there. The scale is left for the caller to reset.
void hpgl_circle(const HpglWriter& out, const DeviceParameters& p, bool filled,
                 const std::function<void()>& after_move);
// SR for the current character size of font kind 0..2, width factor a
// over the device's divisor, when a size is pending; then none is.
void hpgl_character_size(const HpglWriter& out, bool& pending, float a, float divisor, int kind);
// DI with the character direction.
void hpgl_direction(const HpglWriter& out);

// P1 and P2, the page's corners on the paper in plotter units, from the
// page options at u plotter units per point.
struct HpglCorners {
    int p1x = 0, p1y = 0, p2x = 0, p2y = 0;
    // The four in fields of seven places, as IP takes them.
    std::string fields() const;
};
HpglCorners hpgl_corners(double u);
// "SC", "IW" with the graphics area on the page, the scale line back.
void hpgl_clip_window(const HpglWriter& out, const HpglCorners& c, double u);

// What the two plotter drivers share: the writer, the page's corners, the
// label terminator and the pending character size, the clip window and
// the character direction.
class PlotterDriver : public FileDriver {
public:
    // The scale of user units, on a new plot the file opened and the plot
    // begun, then the scale reset.
    void open(DeviceParameters& p) override;
    void clip(DeviceParameters&) override { hpgl_clip_window(out_, corners_, units_per_point()); }
    void character_angle(DeviceParameters&) override { hpgl_direction(out_); }

protected:
    // Plotter units per point of the page.
    virtual double units_per_point() const = 0;
    // The head of a new plot, once its file is open.
    virtual void begin_plot(const DeviceParameters& p) = 0;

    HpglWriter out_;
    HpglCorners corners_;
    char terminator_ = 4;
    bool size_pending_ = true;
};

// A pie (operation 13) or an arc (34) at the centre and radius of the
// device parameters: closed as WG or EW when filled, else drawn from its
// start with pen_down and AA. after_centre writes what a driver adds right
// after the move to the centre.
void hc_hpgl_wedge(const HpglWriter& out, int op, const DeviceParameters& p, std::string_view pen_down,
                const std::function<void()>& after_centre);

} // namespace korv
