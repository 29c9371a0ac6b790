// One road per file driver, as a program takes it: a memory bitmap of the
// page's aspect is the drawing target, the driver is selected, the picture
// drawn once reaches both the bitmap and the driver's file. The bitmap is
// left beside the file; read_roads.py then renders every file with its
// reader on the host and compares the two pictures cell by cell.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "korvanthide/bitmaps.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/window.h"
#include "hardcopy/control/hardcopy_state.h"
#include "testing/cups_pdf.h"

using namespace korv;

namespace {

constexpr int bitmap_width = 640;

// What no public routine draws goes to both sides from here.
void both(DeviceOperation op)
{
    gr_send_screen(op);
    gr_send_hardcopy(op);
}

void user_point(float x, float y, float& dx, float& dy) { gr_world_to_device(x, y, dx, dy); }

// A driver that leaves a solid shape to the graphics layer gets it as hatch
// lines, as the layer's own shape routines send them: rows of the shape at
// the driver's spacing, given by their x range at height y.
template <class Span>
void hatched(int op, float y1, float y2, Span span)
{
    GraphicsState& g = graphics_state();
    DeviceParameters& p = device_parameters();
    const DeviceParameters shape = p;
    if (g.fill_emulation_hardcopy != 0 && g.hardcopy_hatch_pitch > 0) {
        for (float y = y1; y <= y2; y += g.hardcopy_hatch_pitch) {
            float a = 0, b = 0;
            if (!span(y, a, b))
                continue;
            p.phase = 0;
            p.rx1 = a, p.ry1 = y, p.rx2 = b, p.ry2 = y;
            gr_send_hardcopy(DeviceOperation::Line);
        }
        g.fill_emulation_hardcopy = 0;
    }
    p = shape;
    p.phase = -1;
    gr_send_hardcopy(op);
}

void picture()
{
    IGrColourModeSelect(24);
    IGrColourN(0);
    IGrFillStyleSet(0);
    IGrAreaOutline();
    IGrColourN(0x0000FF);
    for (int t = 0; t < 8; ++t) {
        IGrLineTypeSet(t);
        const float y = 0.92f - 0.035f * static_cast<float>(t);
        gr_line_clipped_user(0.05f, y, 0.45f, y);
    }
    IGrLineTypeSet(0);
    IGrColourN(0x000000);
    for (int style = 1; style <= 4; ++style) {
        if (style == 4)
            IGrColourN(0x0000FF);
        IGrFillStyleSet(style);
        const float x = 0.05f + 0.11f * static_cast<float>(style - 1);
        IGrRectangle(x, 0.35f, x + 0.09f, 0.55f);
    }
    IGrFillStyleSet(0);
    IGrColourN(0);
    DeviceParameters& p = device_parameters();
    // A polyline.
    p.poly_x.clear();
    p.poly_y.clear();
    for (int i = 0; i <= 12; ++i) {
        float x = 0, y = 0;
        user_point(0.55f + 0.03f * static_cast<float>(i), i % 2 == 0 ? 0.85f : 0.7f, x, y);
        p.poly_x.push_back(x);
        p.poly_y.push_back(y);
    }
    p.count = static_cast<int>(p.poly_x.size());
    both(DeviceOperation::Polyline);
    // A solid ellipse and pie.
    IGrColourN(0xFF0000);
    IGrFillStyleSet(4);
    float cx = 0, cy = 0, ex = 0, ey = 0;
    user_point(0.65f, 0.35f, cx, cy);
    user_point(0.75f, 0.45f, ex, ey);
    p.phase = 0;
    p.rx1 = cx, p.ry1 = cy, p.rx2 = ex - cx, p.ry2 = ey - cy, p.rx3 = p.ry2 / p.rx2;
    // The screen side takes the centre and radii in whole pixels.
    p.px1 = gr_trunc(cx), p.py1 = gr_trunc(cy), p.px2 = gr_trunc(p.rx2), p.py2 = gr_trunc(p.ry2);
    both(DeviceOperation::EllipseFill);
    const float ecx = cx, ecy = cy, erx = p.rx2, ery = p.ry2;
    hatched(5, ecy - ery, ecy + ery, [&](float y, float& a, float& b) {
        const float t = 1 - (y - ecy) * (y - ecy) / (ery * ery);
        if (t < 0)
            return false;
        a = ecx - erx * std::sqrt(t);
        b = ecx + erx * std::sqrt(t);
        return true;
    });
    IGrColourN(0x00A000);
    user_point(0.85f, 0.2f, cx, cy);
    p.phase = 0;
    p.rx1 = cx, p.ry1 = cy;
    p.rx2 = p.ry2 = 0.08f * static_cast<float>(graphics_state().device_width);
    p.px1 = gr_trunc(cx), p.py1 = gr_trunc(cy), p.px2 = gr_trunc(p.rx2), p.py2 = gr_trunc(p.ry2);
    p.rx3 = 0, p.ry3 = 1.5707963f, p.rx4 = 0, p.ry4 = 90;
    both(DeviceOperation::PieFill);
    const float pcx = cx, pcy = cy, pr = p.rx2;
    hatched(13, pcy, pcy + pr, [&](float y, float& a, float& b) {
        a = pcx;
        b = pcx + std::sqrt(std::max(0.0f, pr * pr - (y - pcy) * (y - pcy)));
        return true;
    });
    IGrFillStyleSet(0);
    // A text.
    IGrColourN(0);
    float tx = 0, ty = 0, tx2 = 0, ty2 = 0;
    user_point(0.05f, 0.15f, tx, ty);
    user_point(0.35f, 0.15f, tx2, ty2);
    graphics_state().text_alignment = 0;
    p.text_set("Farbtafel");
    p.px1 = 9;
    p.px2 = 3;
    p.rx1 = tx, p.ry1 = ty, p.rx2 = tx2 - tx, p.rx3 = tx2, p.ry3 = ty2, p.rx4 = tx2, p.ry4 = ty2;
    both(DeviceOperation::Text);
}

// A colour-shaded triangle, for the drivers that shade.
void shaded_triangle()
{
    DeviceParameters& p = device_parameters();
    p.poly_x.clear();
    p.poly_y.clear();
    for (const auto& [x, y] : {std::pair{0.55f, 0.05f}, std::pair{0.67f, 0.05f}, std::pair{0.55f, 0.2f}}) {
        float dx = 0, dy = 0;
        user_point(x, y, dx, dy);
        p.poly_x.push_back(dx);
        p.poly_y.push_back(dy);
    }
    p.shade_value = {0x0000FF, 0x00FF00, 0xFF0000};
    p.shade_count = 3;
    both(DeviceOperation::ShadedPolygon);
}

// The bitmap's pixels as a binary PPM, top row first.
void save_ppm(int handle, int width, int height, const std::string& file)
{
    std::vector<std::int32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    int status = -1;
    bmp_get_pixels(handle - 1, pixels, 0, 0, width - 1, height - 1, status);
    ASSERT_EQ(status, 0);
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (std::int32_t c : pixels) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>((c >> 16) & 0xFF);
    }
    std::ofstream(file, std::ios::binary) << out;
}

class Roads : public ::testing::TestWithParam<std::pair<int, const char*>> {
protected:
    void SetUp() override
    {
        WindowOpen(7 | 0x80, 0, 0, 640, 480);
        error_state().last_error = 0;
        error_state().report_mode = 0;
    }
    void TearDown() override
    {
        IGrSelect(1);
        bmp_destroy_all();
        WRootWindowClose();
    }
};

TEST_P(Roads, OnePictureReachesTheBitmapAndTheFile)
{
    const auto [driver, file] = GetParam();
    device_parameters().count = 0;
    hc_dispatch_select(1, driver);
    if (std::string_view(file).ends_with(".wmf"))
        hc_set_option(option_metafile_type, 1);
    // PostScript's page as it is on the screen: no offsets, no turn.
    if (driver == driver_postscript) {
        hc_set_option(option_x_offset, 0);
        hc_set_option(option_y_offset, 0);
        hc_set_option(option_orientation, 0);
    }
    const HardcopyOptions& o = hardcopy_state().options;
    const int height = bitmap_width * o.get(option_page_height) / o.get(option_page_width);
    int handle = 0;
    WBitmapCreate(handle, bitmap_width, height, 0xFFFFFF);
    ASSERT_GT(handle, 0);
    IGrSelect(2, handle);
    IGrArea(0, 0, 1, 1);
    DeleteFileA(file);
    // The printer's job is found by its title among the PDF queue's files.
    const std::string title = "korvroad" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
    const korv::testing::PrintedPdfWatch watch;
    if (driver == driver_windows_printer)
        IGrHardCopy(std::nullopt, title);
    else
        IGrHardCopy(file);
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    picture();
    // The plain metafile shades pixel by pixel. The enhanced metafile's SVG
    // reader leaves gradients out, and Wine's printer driver takes them and
    // prints nothing: the metafile tests play a shading into a bitmap.
    if (std::string_view(file).ends_with(".wmf"))
        shaded_triangle();
    IGrHardCopy("S");
    EXPECT_EQ(error_state().last_error, 0);
    if (driver == driver_windows_printer) {
        const std::string found = watch.wait_for(title);
        ASSERT_FALSE(found.empty()) << "no PDF named after " << title;
        ASSERT_TRUE(CopyFileA(found.c_str(), file, FALSE));
        DeleteFileA(found.c_str());
    }
    save_ppm(handle, bitmap_width, height, std::string(file) + ".screen.ppm");
    // What the host's reader needs to know of the page: its size and where
    // it lies on the paper, in points.
    std::ofstream(std::string(file) + ".page") << o.get(option_page_width) << " " << o.get(option_page_height) << " "
                                               << o.get(option_x_offset) << " " << o.get(option_y_offset) << "\n";
}

INSTANTIATE_TEST_SUITE_P(FileDrivers, Roads,
                         ::testing::Values(std::pair{driver_postscript, "road.ps"}, std::pair{driver_svg, "road.svg"},
                                           std::pair{driver_raster_image, "road.png"}, std::pair{driver_dxf, "road.dxf"},
                                           std::pair{driver_hpgl, "road.plt"},
                                           std::pair{driver_hpgl2_pcl, "road2.plt"}, std::pair{driver_cgm, "road.cgm"}));
INSTANTIATE_TEST_SUITE_P(WindowsDrivers, Roads,
                         ::testing::Values(std::pair{driver_windows_printer, "road.pdf"},
                                           std::pair{driver_windows_metafile, "road.emf"},
                                           std::pair{driver_windows_metafile, "road.wmf"}));

} // namespace
