// The in-memory CGM device: records the graphics layer's operations as a
// binary CGM picture in the buffer of the metafile slot that is the drawing
// target. Every element is built whole and appended in one step, so a full
// buffer drops whole elements, never half of one.
#pragma once

#include <cstdint>

#include "korvanthide/graphics_state.h"

namespace korv {

class CgmMemoryDevice : public Device {
public:
    void select(DeviceParameters& p) override;
    void line(DeviceParameters& p) override;
    void colour(DeviceParameters& p) override { current_colour(); }
    void palette(DeviceParameters& p) override { current_colour(); }
    void ellipse_outline(DeviceParameters& p) override;
    void ellipse_fill(DeviceParameters& p) override { ellipse(p); }
    void ellipse_solid(DeviceParameters& p) override { ellipse(p); }
    void quadrilateral_fill(DeviceParameters& p) override { quadrilateral(p); }
    void quadrilateral_solid(DeviceParameters& p) override { quadrilateral(p); }
    void rectangle_fill(DeviceParameters& p) override { rectangle(p); }
    void rectangle_solid(DeviceParameters& p) override { rectangle(p); }
    void triangle_fill(DeviceParameters& p) override { triangle(p); }
    void triangle_solid(DeviceParameters& p) override { triangle(p); }
    void pie_fill(DeviceParameters& p) override { pie(p); }
    void pie_solid(DeviceParameters& p) override { pie(p); }
    void polygon_fill(DeviceParameters& p) override { polygon(p); }
    void polygon_solid(DeviceParameters& p) override { polygon(p); }
    void open(DeviceParameters& p) override;
    void close(DeviceParameters& p) override;
    void character_size(DeviceParameters& p) override;
    void text(DeviceParameters& p) override;
    void clip(DeviceParameters& p) override;
    void point(DeviceParameters& p) override;
    void line_type(DeviceParameters& p) override;
    void line_width(DeviceParameters& p) override;
    void read_pixel(DeviceParameters& p) override { p.px1 = -1; }
    void polyline(DeviceParameters& p) override;
    void character_angle(DeviceParameters& p) override;
    void line_join(DeviceParameters& p) override;
    void line_cap(DeviceParameters& p) override;
    void image_file(DeviceParameters& p) override;
    void metafile_header(DeviceParameters& p) override;
    void shaded_polygon(DeviceParameters& p) override;

private:
    void current_colour();
    void fill_prelude();
    void ellipse(DeviceParameters& p);
    void ellipse_element(const DeviceParameters& p);
    void quadrilateral(DeviceParameters& p);
    void rectangle(DeviceParameters& p);
    void triangle(DeviceParameters& p);
    void pie(DeviceParameters& p);
    void polygon(DeviceParameters& p);

    int red_ = 0, green_ = 0, blue_ = 0;
    double aspect_ = 1; // the slot's width over its height in points
};

// The device the screen side reaches while a CGM slot is the target.
CgmMemoryDevice& cgm_memory_device();

} // namespace korv
