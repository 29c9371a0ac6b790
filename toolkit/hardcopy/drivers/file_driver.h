// What every file-writing driver does alike: the selection entry, opening
// the plot file on unit 2, the colour of the current colour mode, and the
// base class that hands the device's fill operations to one shape
// operation.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "korvanthide/graphics_state.h"
#include "hardcopy/control/hardcopy_state.h"

namespace korv {

// What a driver stores when it is selected.
struct DriverDefaults {
    int number = 0;
    // Options set on selection, as (option, value) pairs; option 0 ends the list.
    std::array<std::pair<int, int>, 12> options{};
    int resolution_x = 0, resolution_y = 0;
    int colour_count = 0, colour_limit = 0;
    float real_value = 1.7e38f;
    int word_a = 8, word_b = 360, platform_level = 2, true_colour = 1, shading = 0;
    int word_f = 1, word_g = 0, word_h = 0;
    int print_command_flag = 0;
    std::string_view capability_flags;
    std::string_view default_output_name;
    // The raster resolution index a raster printer sets; -1 leaves it.
    int raster_index = -1;
    // The Windows printer takes its page and colours from the default printer.
    bool reads_printer = false;
    // The Windows drivers take the platform level (word C) and the shading
    // level (word E) from the platform.
    bool platform_words = false;
};

// Capability string of the page drivers (PostScript, SVG, the Windows ones).
inline constexpr std::string_view hc_page_flags = "00000111111111100010011011110";

// Operation 1: the number probe (count -999) answered with the driver's
// number, or its defaults stored. True when the driver was selected in full.
bool hc_driver_select(DeviceParameters& p, const DriverDefaults& d);

// Opens unit 2 for operation 18; on failure (already reported) hardcopy
// output is switched off and false returned. An error number set before
// the open survives a successful open.
bool hc_driver_open_output();

// Marks the current page as drawn on.
void hc_page_drawn();

// Palette index in colour mode 1, RGB value in mode 2: what
// gr_colour_components takes.
int hc_current_colour();
int hc_previous_colour();

// The RGB value of the current colour, in either colour mode.
int hc_current_rgb();

// Operation 38's image: the file named in the parameter block read into
// pixels (R + 256 G + 65536 B, top row first) of the image size the block
// gives, nothing reported. On failure the loader's error number goes into
// the phase word and the system code into the count word, and false comes
// back; else the phase word becomes 0.
bool hc_driver_read_image(DeviceParameters& p, std::vector<std::int32_t>& pixels, int& width, int& height);

// Option n of the hardcopy options.
int hc_option(int n);

// The points of a polygon or polyline: the count word, at most what the
// point arrays hold.
int hc_point_count(const DeviceParameters& p);
// The characters of a text operation: the count word, at most the buffer.
std::string_view hc_driver_text(const DeviceParameters& p);

// Operation 18's common start: the page scale (page points over `unit`
// per device unit) into the hardcopy state, then, when the phase asks for
// a new plot, the plot file opened. True when the driver goes on to write
// the file's head.
bool hc_driver_open_page(const DeviceParameters& p, float unit = 1.0f);

// Red, green and blue (0..255) turned by the inversion option: 1 turns
// every colour, 2 only black and white.
std::array<int, 3> hc_colour_inverted(std::array<int, 3> c);

// The shape is left to the graphics layer, which hatches it with lines
// the hatch spacing (option 12, hundredths of a point) apart, twice that
// for fill style 3.
void hc_hatch_by_lines();

// The base of the file drivers: selection from the driver's defaults, a
// line and a point handed to one segment operation, and the six fill
// operations (ellipse 5, four points 7, rectangle 9, triangle 11, pie 13,
// polygon 15) handed to shape with their operation codes.
class FileDriver : public Device {
public:
    void select(DeviceParameters& p) override
    {
        if (hc_driver_select(p, defaults()))
            selected();
    }
    void line(DeviceParameters& p) override { segment(p.rx1, p.ry1, p.rx2, p.ry2); }
    // A point is a line from the point to itself.
    void point(DeviceParameters& p) override { segment(p.rx1, p.ry1, p.rx1, p.ry1); }
    void ellipse_fill(DeviceParameters& p) override { shape(+DeviceOperation::EllipseFill, p); }
    void quadrilateral_fill(DeviceParameters& p) override { shape(+DeviceOperation::QuadrilateralFill, p); }
    void rectangle_fill(DeviceParameters& p) override { shape(+DeviceOperation::RectangleFill, p); }
    void triangle_fill(DeviceParameters& p) override { shape(+DeviceOperation::TriangleFill, p); }
    void pie_fill(DeviceParameters& p) override { shape(+DeviceOperation::PieFill, p); }
    void polygon_fill(DeviceParameters& p) override { shape(+DeviceOperation::PolygonFill, p); }

protected:
    virtual DriverDefaults defaults() const = 0;
    // What the driver sets up after a full selection.
    virtual void selected() {}
    virtual void shape(int op, DeviceParameters& p) = 0;
    // A straight line in device units.
    virtual void segment(float x1, float y1, float x2, float y2) {}
};

} // namespace korv
