// Presentation-graphics set-up.
#include "graphics/presentation_graphics.h"

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/errors_text.h"
#include "testing/report_capture.h"

#include <gtest/gtest.h>

#include <array>
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
    EXPECT_EQ(pg.pg_type, 4);
    EXPECT_EQ(pg.pg_set_count, 500);
    EXPECT_EQ(pg.pg_x2, 1);
    EXPECT_FLOAT_EQ(pg.pg_bar_fraction, 0.25f);
    EXPECT_EQ(pg.sets[0].set_colour_1, 32 + 32);
    EXPECT_EQ(pg.sets[5].set_colour_2, 64);
    EXPECT_EQ(pg.sets[499].set_marker, -1);
    EXPECT_EQ(pg.buffer_a.size(), 500u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Presentation, Ranges)
{
    IPgArea(5, 0, 1, 10);
    const auto& pg = pg_state();
    EXPECT_EQ((std::vector<float>{pg.pg_span_x, pg.pg_x_low, pg.pg_x_high}), (std::vector<float>{-4, 1, 5}));
    IPgArea(1, 1, 1, 1);
    ASSERT_EQ(reports.size(), 2u);
    for (const auto& r : reports)
        EXPECT_NE(r.find("Routine:IPgArea Error=  16:Graphics unit range is invalid"), std::string::npos) << r;
    EXPECT_EQ((std::vector<float>{pg.pg_x1, pg.pg_x2, pg.pg_y1, pg.pg_y2}), (std::vector<float>{0, 1, 0, 1}));
    IPgUnitsZ(3, 2);
    IPgUnitsPolar(-1);
    EXPECT_EQ(reports.size(), 4u);
    EXPECT_EQ(pg.pg_span_z, 1);
    EXPECT_EQ(pg.pg_polar_unit, 1);
    IPgMarginsSet(0.2f, 1.0f, 0.8f, 0);
    EXPECT_EQ((std::vector<float>{pg.pg_margin_left, pg.pg_margin_bottom, pg.pg_margin_right, pg.pg_margin_top}),
              (std::vector<float>{0.2f, 0.1f, 0.8f, 0.9f}));
}

TEST_F(Presentation, GraphDefinition)
{
    const int dims[1] = {3};
    IPgGraphDefine(12, 600, dims);
    EXPECT_EQ(pg_state().pg_type, 4);
    EXPECT_EQ(pg_state().pg_set_count, 500);
    for (const auto& [values, step] : std::vector<std::pair<int, int>>{{150, 20}, {60, 5}, {12, 1}, {1000, 100}}) {
        const int d[1] = {values};
        IPgGraphDefine(4, 3, d, 0, 1);
        EXPECT_EQ(pg_state().pg_tick_step, step) << values;
    }
    // Grid data of type 10 reads all three dimensions; missing ones count as 1.
    const int two[2] = {5, 7};
    IPgGraphDefine(10, 2, two, 1, 1);
    EXPECT_EQ((std::vector<int>{pg_state().pg_dim1, pg_state().pg_dim2, pg_state().pg_dim3}), (std::vector<int>{5, 7, 2}));
    EXPECT_EQ(pg_state().pg_wall_count, 4);
    IPgGraphDefine(9, 2, {}, 0, 1);
    EXPECT_EQ(pg_state().pg_dim1, 1);
    EXPECT_FLOAT_EQ(pg_state().pg_scale_c, 0.75f);
}

TEST_F(Presentation, LogAxes)
{
    pg_axis_scales_set("log", "lin");
    IPgArea(1, 1, 1000, 10);
    IPgGraphDefine(1, 1, {});
    EXPECT_FALSE(pg_state().pg_log_x);
    IPgGraphDefine(2, 1, {});
    EXPECT_TRUE(pg_state().pg_log_x);
    EXPECT_FLOAT_EQ(pg_state().pg_log_span_x, 3);
    EXPECT_FLOAT_EQ(pg_log10_magnitude(0), -38);
    EXPECT_FLOAT_EQ(pg_log10_magnitude(-100), 2);
}

// What IPgGraphDefine with defaults gives the first three data sets of each
// graph type: style words, marker, and whether the colour rule applied.
struct SetRow {
    int a, b, c, marker;
};
struct TypeCase {
    int type, options;
    std::vector<SetRow> sets;
    bool colour_rule;
};

TEST_F(Presentation, PerTypeDefaultsOfTheFirstSets)
{
    // Start-up styles are 4, 2, 0 and marker -1; rows list what each type
    // leaves in sets 1..3 with 20 values per set.
    const std::vector<TypeCase> cases = {
        {1, 0, {{4, 2, 0, -1}, {4, 2, 0, -1}, {4, 2, 0, -1}}, true},
        {3, 0, {{4, 2, 0, -1}, {4, 2, 0, -1}, {4, 2, 0, -1}}, true},
        {4, 0, {{0, 1, 0, 1}, {-1, 1, 0, 2}, {-2, 1, 0, 3}}, true},
        {5, 0, {{0, 1, 0, 1}, {-1, 1, 0, 2}, {-2, 1, 0, 3}}, true},
        {6, 0, {{0, 0, 0, -1}, {-1, 0, 0, -1}, {-2, 0, 0, -1}}, true},
        {7, 0, {{1, 3, 0, -1}, {2, 3, 0, -1}, {3, 3, 0, -1}}, true},
        {7, 1, {{3, 3, 1, 14}, {3, 3, 1, 15}, {3, 3, 1, 16}}, true},
        {8, 0, {{0, 5, 0, -1}, {0, 5, 0, -1}, {0, 5, 0, -1}}, true},
        {8, 8, {{4, 2, 0, -1}, {4, 2, 0, -1}, {4, 2, 0, -1}}, true},
        {9, 0, {{0, 2, 0, -1}, {0, 2, 0, -1}, {0, 2, 0, -1}}, false},
        {10, 0, {{4, 2, 0, -1}, {4, 2, 0, -1}, {4, 2, 0, -1}}, true},
        {11, 0, {{4, 0, 0, -1}, {4, 0, 0, -1}, {4, 0, 0, -1}}, true},
    };
    const int twenty[1] = {20};
    for (const auto& c : cases) {
        pg_graphics_defaults();
        IPgGraphDefine(c.type, 3, twenty, c.options, 1);
        const auto& pg = pg_state();
        for (std::size_t i = 0; i < c.sets.size(); ++i) {
            const DataSetStyle& s = pg.sets[i];
            EXPECT_EQ((std::vector<int>{s.set_style_a, s.set_style_b, s.set_style_c, s.set_marker}),
                      (std::vector<int>{c.sets[i].a, c.sets[i].b, c.sets[i].c, c.sets[i].marker}))
                << "type " << c.type << " options " << c.options << " set " << i + 1;
            EXPECT_EQ(s.set_shown, 1);
        }
        // Mode 1: the colour rule starts at 32 and 64; without it a set keeps
        // its start-up colours (type 9 sets colour 1 to 223).
        EXPECT_EQ(pg.sets[0].set_colour_1, c.colour_rule ? 32 : (c.type == 9 ? 223 : 64)) << c.type;
        EXPECT_EQ(pg.sets[0].set_colour_2, c.colour_rule ? 64 : 96) << c.type;
        // The fourth set is not defined: it keeps its start-up values.
        EXPECT_EQ(pg.sets[3].set_style_a, 4) << c.type;
        EXPECT_EQ(pg.sets[3].set_colour_1, 32 + 32 * 4) << c.type;
    }
    // Type 4's label step and type 8's count from the larger dimension.
    IPgGraphDefine(4, 3, twenty, 0, 1);
    EXPECT_EQ(pg_state().pg_tick_step, 2);
    EXPECT_EQ(pg_state().pg_tick_step_copy, 2);
    IPgGraphDefine(8, 3, twenty, 8, 1);
    EXPECT_EQ(pg_state().pg_count_limit, 7);
}

TEST_F(Presentation, ColourRuleInBothModes)
{
    const int one[1] = {1};
    IPgGraphDefine(1, 6, one, 0, 1);
    std::vector<int> first, second;
    for (int i = 0; i < 6; ++i) {
        first.push_back(pg_state().sets[static_cast<std::size_t>(i)].set_colour_1);
        second.push_back(pg_state().sets[static_cast<std::size_t>(i)].set_colour_2);
    }
    // k = 0, then (k + 36 + i mod 4) mod 176 after each set.
    EXPECT_EQ(first, (std::vector<int>{32, 69, 107, 146, 182, 43}));
    EXPECT_EQ(second, (std::vector<int>{64, 101, 139, 178, 214, 75}));

    graphics_state().colour_mode = 2;
    IPgGraphDefine(1, 4, one, 0, 1);
    const auto& s = pg_state().sets;
    // d = (256 - i) / 32 - 32 (i mod 4), g = 16 (i mod 9) + 127, b = 32 (i mod 5) + 127.
    EXPECT_EQ((std::vector<int>{s[0].set_colour_1, s[0].set_colour_2}), (std::vector<int>{10457030, 10456889}));
    EXPECT_EQ((std::vector<int>{s[1].set_colour_1, s[1].set_colour_2}), (std::vector<int>{12558246, 12558169}));
    EXPECT_EQ((std::vector<int>{s[3].set_colour_1, s[3].set_colour_2}), (std::vector<int>{16760806, 16760601}));
    IPgGraphDefine(9, 2, one, 0, 1);
    EXPECT_EQ(pg_state().sets[0].set_colour_1, 0);
}

TEST_F(Presentation, ThreeDimensionalAndTwoSetRules)
{
    const int dims[2] = {10, 30};
    struct Case {
        int type, options;
        float scale_d;
        std::vector<int> styles;  // style a of sets 1..3
        std::vector<int> colours; // colour 1 of sets 1..3
    };
    // Mode 1. Bit 0 on types 5 and 8 is seen in three dimensions: only sets
    // 1 and 2 are styled and coloured unless bit 5 asks for all; bit 4
    // (choice 3) takes the two-set rule instead of the colour rule.
    const std::vector<Case> cases = {
        {5, 1, 0.7f, {4, 4, 4}, {32, 69, 32 + 32 * 3}},
        {5, 1 | 32, 0.7f, {4, 4, 4}, {32, 69, 107}},
        {8, 1, 0.7f, {4, 4, 4}, {32, 69, 32 + 32 * 3}},
        {5, 1 | 16, 0.6f, {4, 4, 4}, {31, 63, 32 + 32 * 3}},
        {8, 1 | 16, 0.6f, {4, 4, 4}, {31, 63, 32 + 32 * 3}},
    };
    for (const auto& c : cases) {
        pg_graphics_defaults();
        IPgGraphDefine(c.type, 3, dims, c.options, 1);
        const auto& pg = pg_state();
        EXPECT_EQ(pg.pg_word_a, -3);
        EXPECT_EQ(pg.pg_word_b, 3);
        EXPECT_FLOAT_EQ(pg.pg_scale_d, c.scale_d) << c.type << "/" << c.options;
        std::vector<int> styles, colours;
        for (int i = 0; i < 3; ++i) {
            styles.push_back(pg.sets[static_cast<std::size_t>(i)].set_style_a);
            colours.push_back(pg.sets[static_cast<std::size_t>(i)].set_colour_1);
        }
        EXPECT_EQ(styles, c.styles) << c.type << "/" << c.options;
        EXPECT_EQ(colours, c.colours) << c.type << "/" << c.options;
        // The view turns by 45 degrees both ways, with walls for 5 and 8.
        EXPECT_FLOAT_EQ(pg.pg_view_deg_a, -45);
        EXPECT_FLOAT_EQ(pg.pg_view_deg_b, 45);
        EXPECT_FLOAT_EQ(pg.pg_scale_a, 0.6f);
        EXPECT_EQ(pg.pg_wall_count, 4);
        EXPECT_EQ(pg.pg_wall_colours, (std::array<int, 3>{255, 255, 255}));
    }
    // The two-set rule without three dimensions: type 8, choice 3, keeps the
    // count of its own rule; in mode 2 the two colours are 255 and 65535.
    graphics_state().colour_mode = 2;
    pg_graphics_defaults();
    IPgGraphDefine(8, 3, dims, 16, 1);
    EXPECT_EQ(pg_state().pg_count_limit, 5);
    EXPECT_EQ((std::vector<int>{pg_state().sets[0].set_colour_1, pg_state().sets[1].set_colour_1}),
              (std::vector<int>{255, 65535}));
    EXPECT_EQ(pg_state().pg_wall_count, 0);
    IPgGraphDefine(5, 3, dims, 1, 1);
    EXPECT_EQ(pg_state().pg_wall_colours, (std::array<int, 3>{0x838383, 0x838383, 0x838383}));
}

} // namespace
