// Presentation-graphics set-up.
#include "graphics/presentation_graphics.h"

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/errors_text.h"
#include "testing/report_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korv;

namespace {

class Presentation : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};

    void SetUp() override
    {
        pg_graphics_defaults();
    }
};

TEST_F(Presentation, StartUpValues)
{
    const auto& pg = pg_state();
    EXPECT_EQ(pg.type, 4);
    EXPECT_EQ(pg.set_count, 500);
    EXPECT_EQ(pg.x2, 1);
    EXPECT_FLOAT_EQ(pg.bar_fraction, 0.25f);
    EXPECT_EQ(pg.sets[0].colour_1, 32 + 32);
    EXPECT_EQ(pg.sets[5].colour_2, 64);
    EXPECT_EQ(pg.sets[499].marker, -1);
    EXPECT_EQ(pg.buffer_a.size(), 500u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Presentation, Ranges)
{
    IPgArea(5, 0, 1, 10);
    const auto& pg = pg_state();
    EXPECT_EQ((std::vector<float>{pg.span_x, pg.x_low, pg.x_high}), (std::vector<float>{-4, 1, 5}));
    IPgArea(1, 1, 1, 1);
    ASSERT_EQ(reports.size(), 2u);
    for (const auto& r : reports)
        EXPECT_NE(r.find("Routine:IPgArea Error=  16:Graphics unit range is invalid"), std::string::npos) << r;
    EXPECT_EQ((std::vector<float>{pg.x1, pg.x2, pg.y1, pg.y2}), (std::vector<float>{0, 1, 0, 1}));
    IPgUnitsZ(3, 2);
    IPgUnitsPolar(-1);
    EXPECT_EQ(reports.size(), 4u);
    EXPECT_EQ(pg.span_z, 1);
    EXPECT_EQ(pg.polar_unit, 1);
    IPgMarginsSet(0.2f, 1.0f, 0.8f, 0);
    EXPECT_EQ((std::vector<float>{pg.margin_left, pg.margin_bottom, pg.margin_right, pg.margin_top}),
              (std::vector<float>{0.2f, 0.1f, 0.8f, 0.9f}));
}

TEST_F(Presentation, GraphDefinition)
{
    const int dims[1] = {3};
    IPgGraphDefine(12, 600, dims);
    EXPECT_EQ(pg_state().type, 4);
    EXPECT_EQ(pg_state().set_count, 500);
    for (const auto& [values, step] : std::vector<std::pair<int, int>>{{150, 20}, {60, 5}, {12, 1}, {1000, 100}}) {
        const int d[1] = {values};
        IPgGraphDefine(4, 3, d, 0, 1);
        EXPECT_EQ(pg_state().tick_step, step) << values;
    }
    // Grid data of type 10 reads all three dimensions; missing ones count as 1.
    const int two[2] = {5, 7};
    IPgGraphDefine(10, 2, two, 1, 1);
    EXPECT_EQ((std::vector<int>{pg_state().dim1, pg_state().dim2, pg_state().dim3}), (std::vector<int>{5, 7, 2}));
    EXPECT_EQ(pg_state().wall_count, 4);
    IPgGraphDefine(9, 2, {}, 0, 1);
    EXPECT_EQ(pg_state().dim1, 1);
    EXPECT_FLOAT_EQ(pg_state().scale_c, 0.75f);
}

TEST_F(Presentation, LogAxes)
{
    pg_axis_scales_set("log", "lin");
    IPgArea(1, 1, 1000, 10);
    IPgGraphDefine(1, 1, {});
    EXPECT_FALSE(pg_state().log_x);
    IPgGraphDefine(2, 1, {});
    EXPECT_TRUE(pg_state().log_x);
    EXPECT_FLOAT_EQ(pg_state().log_span_x, 3);
    EXPECT_FLOAT_EQ(pg_log10_magnitude(0), -38);
    EXPECT_FLOAT_EQ(pg_log10_magnitude(-100), 2);
}

} // namespace
