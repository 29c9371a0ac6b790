// Units, clipping, rectangles and colours checked on the recording device.
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "graphics/palette.h"
#include "graphics/testing/recording_device.h"
#include "testing/hardcopy_driver.h"
#include "testing/report_capture.h"
#include "graphics/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

using namespace korv;
using korv::testing::RecordingDevice;
using korv::testing::ScopedScreenDevice;

namespace {

// An 800 by 600 screen drawable, units and area 0..1, report texts caught.
class Drawing : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    RecordingDevice device;
    ScopedScreenDevice scoped{&device};
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};

    void SetUp() override
    {
        size(800, 600);
        colour_table_build(colour_table(), 256);
        IGrUnits(0, 0, 1, 1);
        IGrArea(0, 0, 1, 1);
        device.log.clear();
    }
    void size(int w, int h)
    {
        auto& g = graphics_state();
        g = GraphicsState{};
        g.drawable_width = g.device_width = g.client_width = w;
        g.drawable_height = g.device_height = g.client_height = h;
        g.device_limit_x = static_cast<float>(w) - 0.01f;
        g.device_limit_y = static_cast<float>(h) - 0.01f;
        g.screen_active = 1;
        g.hardcopy_active = 0;
    }
    std::vector<const korv::testing::RecordedOperation*> ops(int code) const
    {
        std::vector<const korv::testing::RecordedOperation*> out;
        for (const auto& r : device.log)
            if (r.op == code)
                out.push_back(&r);
        return out;
    }
};

} // namespace

TEST_F(Drawing, HatchedRectangleSendsOutlineAndTwentyPixelLines)
{
    IGrFillStyleSet(1, 1, 3);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    const auto lines = ops(2);
    ASSERT_EQ(lines.size(), 4u + 15u);
    EXPECT_EQ(device.codes(), std::vector<int>(19, 2));
    // The outline: bottom, right, top, left.
    EXPECT_EQ(lines[0]->params.px1, 199);
    EXPECT_EQ(lines[0]->params.py1, 149);
    EXPECT_EQ(lines[1]->params.px1, 599);
    EXPECT_EQ(lines[1]->params.py2, 449);
    for (int i = 0; i < 15; ++i) {
        const auto& p = lines[4 + i]->params;
        EXPECT_EQ(p.py1, 160 + 20 * i);
        EXPECT_EQ(p.py2, 160 + 20 * i);
        EXPECT_EQ(p.px1, 599);
        EXPECT_EQ(p.px2, 199);
    }
    EXPECT_FLOAT_EQ(graphics_state().position_x, 0.25f);
}

TEST_F(Drawing, SolidAndTwoColourFills)
{
    IGrFillStyleSet(4);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    ASSERT_EQ(device.codes(), std::vector<int>{10});
    const auto& p = device.log[0].params;
    EXPECT_EQ(std::vector<int>({p.px1, p.py1, p.px2, p.py2}), std::vector<int>({199, 149, 599, 449}));
    // Two-colour fill: operation 9, or 10 when both colours are equal.
    device.log.clear();
    IGrFillStyleSet(3);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    EXPECT_EQ(device.codes(), std::vector<int>{9});
    graphics_state().prev_index = graphics_state().cur_index;
    device.log.clear();
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    EXPECT_EQ(device.codes(), std::vector<int>{10});
}

TEST_F(Drawing, RectangleOfNoWidthIsReportedAndKeepsThePosition)
{
    gr_position_set(0.5f, 0.5f);
    IGrRectangle(1, 1, 1, 2);
    EXPECT_TRUE(device.log.empty());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].substr(reports[0].find_first_not_of(' ')), "Routine:IGrRectangle Error=  22:Width/height=0 for a rectangle/triangle/parallelogram");
    EXPECT_EQ(error_state().last_error, 22);
    EXPECT_FLOAT_EQ(graphics_state().position_x, 0.5f);
}

TEST_F(Drawing, RectangleOutsideTheClipBoxDrawsNothingButMovesThePosition)
{
    IGrFillStyleSet(4);
    IGrRectangle(1.5f, 0.2f, 2.0f, 0.4f);
    EXPECT_TRUE(device.log.empty());
    EXPECT_FLOAT_EQ(graphics_state().position_x, 1.5f);
    EXPECT_FLOAT_EQ(graphics_state().position_y, 0.2f);
}

TEST_F(Drawing, XorModeDrawsCornersOnceAndInsetsHatching)
{
    graphics_state().drawing_mode = 3;
    IGrFillStyleSet(1, 1, 4);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    const auto lines = ops(2);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0]->params.px1, 200); // starts one pixel past the corner
    EXPECT_EQ(lines[1]->params.py1, 150);
    // Vertical hatch lines run 1 pixel inside the box: 449.99 - 1 down to 149.99 + 1.
    EXPECT_EQ(lines[4]->params.py1, 448);
    EXPECT_EQ(lines[4]->params.py2, 150);
}

TEST_F(Drawing, ZeroHardcopyPitchStillAdvances)
{
    // A hardcopy driver that asks for emulated fills but gives no pitch.
    RecordingDevice hardcopy(RecordingDevice::Side::hardcopy);
    korv::testing::ScopedHardcopyDriver driver(10, &hardcopy);
    graphics_state().hardcopy_active = 1;
    graphics_state().rotated_limit_x = 1000;
    graphics_state().rotated_limit_y = 1000;
    IGrFillStyleSet(4);
    graphics_state().fill_emulation_hardcopy = 1;
    graphics_state().hardcopy_hatch_pitch = 0;
    IGrRectangle(0.25f, 0.25f, 0.26f, 0.26f);
    EXPECT_EQ(hardcopy.count_of(9), 2);
    EXPECT_GT(hardcopy.count_of(2), 0);
    EXPECT_EQ(graphics_state().fill_emulation_hardcopy, 0);
}

TEST_F(Drawing, UnitsAndAreaRefuseBadRangesPerAxis)
{
    IGrUnits(0, 0, 0, 1);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(graphics_state().user_x2, 1.0f);
    IGrUnits(5, 5, 4, 4);
    EXPECT_EQ(reports.size(), 3u);
    reports.clear();
    IGrArea(0.2f, 0.5f, 0.1f, 0.6f);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Error=  44"), std::string::npos);
    EXPECT_FLOAT_EQ(graphics_state().area_x1, 0);
    EXPECT_FLOAT_EQ(graphics_state().area_y1, 0.5f);
    reports.clear();
    IGrArea(0, 0, 1, 1);
    IGrArea(1, 0, 1, 1);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(Drawing, ClipBoxStopsJustInsideTheDrawable)
{
    size(100, 100);
    IGrArea(0, 0, 1, 1);
    const auto& g = graphics_state();
    EXPECT_FLOAT_EQ(g.area_px2, 99.99f);
    EXPECT_EQ(g.area_ix2, 99);
    EXPECT_EQ(g.screen_clip_x2, 99);
}

TEST_F(Drawing, ClipLine)
{
    size(100, 100);
    IGrArea(0, 0, 1, 1);
    const struct {
        float x1, y1, x2, y2;
        bool visible;
        float ex1, ey1, ex2, ey2;
    } cases[] = {
        {-0.0005f, 10, 99.9905f, 20, true, -0.0005f, 10, 99.9905f, 20}, // within 0.001 outside: unchanged
        {-10, 50, 500, 50, true, 0, 50, 99.99f, 50},                      // horizontal after truncation
        {50, -5, 50.5f, 300, true, 50, 0, 50.5f, 99.99f},                 // vertical
        {-10, -10, 200, 200, true, 0, 0, 99.99f, 99.99f},                 // both ends outside
        {50, 50, 150, 100, true, 50, 50, 99.99f, 74.995f},                // one end inside
        {150, 100, 50, 50, true, 99.99f, 74.995f, 50, 50},
        {120, 0, 200, 50, false, 0, 0, 0, 0},                             // wholly outside
        {50, 120, 50, 200, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        float x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(gr_clip_line(x1, y1, x2, y2), c.visible) << c.x1 << "," << c.y1;
        if (!c.visible)
            continue;
        EXPECT_NEAR(x1, c.ex1, 1e-3) << c.x1 << "," << c.y1;
        EXPECT_NEAR(y1, c.ey1, 1e-3) << c.x1 << "," << c.y1;
        EXPECT_NEAR(x2, c.ex2, 1e-3) << c.x1 << "," << c.y1;
        EXPECT_NEAR(y2, c.ey2, 1e-3) << c.x1 << "," << c.y1;
    }
}

TEST_F(Drawing, TransformsByRotation)
{
    IGrUnits(0, 0, 10, 10);
    const struct {
        int rotation;
        float X, Y;
    } cases[] = {{0, 159.998f, 449.9925f}, {90, 199.9975f, 119.998f}, {180, 639.992f, 149.9975f}, {270, 599.9925f, 479.992f}};
    for (const auto& c : cases) {
        graphics_state().rotation = c.rotation;
        float X = 0, Y = 0;
        gr_world_to_device(2, 7.5f, X, Y);
        EXPECT_NEAR(X, c.X, 0.01) << c.rotation;
        EXPECT_NEAR(Y, c.Y, 0.01) << c.rotation;
        // And back from pixels for the event layer.
        float x = 0, y = 0;
        gr_pixel_to_user(X, Y, x, y);
        EXPECT_NEAR(x, 2, 0.001) << c.rotation;
        EXPECT_NEAR(y, 7.5f, 0.001) << c.rotation;
    }
}

TEST_F(Drawing, WindowUnits)
{
    int u = -1, v = -1;
    gr_pixel_to_window_units(400, 0, u, v);
    EXPECT_EQ(u, 5005);
    EXPECT_EQ(v, 8);
    graphics_state().client_width = 1;
    gr_pixel_to_window_units(0, 0, u, v);
    EXPECT_EQ(u, 0);
    int px = 0, py = 0;
    graphics_state().client_width = 401;
    gr_window_units_to_pixel(9999, 5000, px, py);
    EXPECT_EQ(px, 400);
    EXPECT_EQ(py, 299);
}

TEST_F(Drawing, ColourByNumberNameAndMode)
{
    auto& g = graphics_state();
    IGrColourN(256);
    EXPECT_TRUE(device.log.empty());
    EXPECT_EQ(error_state().last_error, 42);
    IGrColourN(31);
    EXPECT_EQ(device.codes(), std::vector<int>{3});
    EXPECT_EQ(g.cur_rgb, 0x0000FF);
    EXPECT_EQ(g.prev_index, 223);
    IGrColour("black");
    EXPECT_EQ(g.cur_index, 223);
    IGrColour("Bred");
    EXPECT_EQ(g.cur_index, 31);
    IGrColour("GREY");
    EXPECT_EQ(g.cur_index, 95);
    // RGB mode with a true-colour screen: no palette index is worked out.
    IGrColourModeSelect(24);
    device_capabilities().screen.true_colour = 1;
    IGrColour("black");
    EXPECT_EQ(g.cur_rgb, 0);
    EXPECT_EQ(g.cur_index, -1);
    EXPECT_EQ(g.cur_device_colour, -1);
    device_capabilities().screen.true_colour = 0;
    IGrColourN(0xFEFEFE);
    EXPECT_EQ(g.cur_index, 0);
    // Back to palette mode: a missing index is found again.
    IGrColourN(0x0000FF);
    g.cur_index = -1;
    IGrColourModeSelect(1);
    EXPECT_EQ(g.cur_index, 31);
}

TEST_F(Drawing, SaveAndRestoreAttributes)
{
    IGrColourN(31);
    IGrFillStyleSet(2, 4, 4);
    IGrStateSaveRestore(0);
    IGrColourN(159);
    IGrFillStyleSet(0);
    device.log.clear();
    IGrStateSaveRestore(1);
    EXPECT_EQ(graphics_state().cur_index, 31);
    EXPECT_EQ(graphics_state().prev_index, 223);
    EXPECT_EQ(graphics_state().fill_style, 2);
    EXPECT_EQ(graphics_state().fill_density, 4);
    EXPECT_EQ(device.codes(), (std::vector<int>{3, 3})); // the line type did not change
    IGrColourRestore(300, 0, 0, 0);
    EXPECT_EQ(graphics_state().cur_index, 31);
    EXPECT_EQ(error_state().last_error, 42);
}

TEST_F(Drawing, FillStyleArguments)
{
    auto& g = graphics_state();
    const struct {
        int style;
        std::optional<int> density, angle;
        int e_style, e_outline, e_density, e_angle;
    } cases[] = {{-1, {}, {}, 1, 0, 2, 3}, {5, {}, {}, 0, 1, 2, 3}, {4, 0, 9, 4, 1, 2, 3}, {2, 5, 1, 2, 1, 5, 1}};
    for (const auto& c : cases) {
        IGrFillStyleSet(c.style, c.density, c.angle);
        EXPECT_EQ(g.fill_style, c.e_style);
        EXPECT_EQ(g.fill_outline, c.e_outline);
        EXPECT_EQ(g.fill_density, c.e_density);
        EXPECT_EQ(g.fill_angle, c.e_angle);
    }
    IGrLineTypeSet(8);
    EXPECT_EQ(g.line_type, 0);
    g.drawing_mode = 2;
    IGrDrawModeSet();
    EXPECT_EQ(g.drawing_mode, 0);
}

// A hatched rectangle reaching far outside the drawing area draws exactly
// the visible lines of the same rectangle cut at the area's edge, whatever
// its extent (the line sets start at the clip box, in wide arithmetic).
TEST_F(Drawing, FarReachingHatchDrawsTheVisibleLinesOnly)
{
    // The lines drawn, each with its ends in order, as a sorted set.
    using Line = std::array<int, 4>;
    const auto visible = [this](float x1, float y1, float x2, float y2) {
        device.log.clear();
        IGrRectangle(x1, y1, x2, y2);
        std::vector<Line> out;
        for (const auto* r : ops(2)) {
            Line l{r->params.px1, r->params.py1, r->params.px2, r->params.py2};
            if (std::make_pair(l[0], l[1]) > std::make_pair(l[2], l[3]))
                l = {l[2], l[3], l[0], l[1]};
            out.push_back(l);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    };
    for (const auto& [style, angle] : std::vector<std::pair<int, int>>{{1, 3}, {1, 4}, {2, 3}, {1, 1}, {1, 2}, {2, 1}}) {
        IGrFillStyleSet(style, 2, angle);
        graphics_state().fill_outline = 0;
        // Cut just below the area, so that the line on its edge is a hatch
        // line in both.
        const auto cut = visible(0.1f, -0.01f, 0.5f, 0.5f);
        ASSERT_FALSE(cut.empty()) << style << "/" << angle;
        if (angle >= 3) {
            EXPECT_EQ(visible(0.1f, -1e7f, 0.5f, 0.5f), cut) << style << "/" << angle;
            EXPECT_EQ(visible(0.1f, -1e9f, 0.5f, 0.5f), cut) << style << "/" << angle;
        } else {
            // Slanted lines leave the cut rectangle at its bottom edge, so
            // compare only that the far one draws lines through the area.
            EXPECT_FALSE(visible(0.1f, -1e7f, 0.5f, 0.5f).empty()) << style << "/" << angle;
            EXPECT_FALSE(visible(-1e9f, -1e9f, 0.5f, 0.5f).empty()) << style << "/" << angle;
        }
    }
}

TEST_F(Drawing, NonFiniteCornersAreRefusedAndHugeOnesClipped)
{
    // A corner that is not a number is refused as a bad rectangle, for every
    // hatch; it used to walk diagonal lines for ever.
    for (const auto& [style, angle] : std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {2, 1}, {1, 3}, {4, 3}}) {
        IGrFillStyleSet(style, 2, angle);
        device.log.clear();
        reports.clear();
        gr_position_set(0.5f, 0.5f);
        IGrRectangle(0.1f, std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.5f);
        IGrRectangle(0.1f, 0.1f, std::numeric_limits<float>::infinity(), 0.5f);
        EXPECT_TRUE(device.log.empty()) << style << "/" << angle;
        EXPECT_EQ(reports.size(), 2u);
        EXPECT_EQ(error_state().last_error, 22);
        EXPECT_FLOAT_EQ(graphics_state().position_x, 0.5f);
    }
    // A corner whose device co-ordinate overflows is cut at the clip box:
    // the hatch inside the area is drawn at once.
    IGrFillStyleSet(1, 2, 1);
    device.log.clear();
    reports.clear();
    IGrRectangle(-1e38f, 0.1f, 1, 1);
    EXPECT_TRUE(reports.empty());
    const auto lines = ops(2);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_LT(lines.size(), 1000u);
    for (const auto* l : lines) {
        EXPECT_GE(std::min(l->params.px1, l->params.px2), 0);
        EXPECT_LE(std::max(l->params.px1, l->params.px2), 799);
    }
}
