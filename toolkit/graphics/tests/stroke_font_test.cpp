// Character size and angle, width factors and the built-in stroke font.
#include "graphics/stroke_font.h"

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/errors_text.h"
#include "graphics/formats/image_write.h"
#include "graphics/testing/recording_device.h"
#include "testing/report_capture.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>
#include <vector>

using namespace korv;
using korv::testing::RecordingDevice;
using korv::testing::ScopedScreenDevice;

namespace {

class TextSetup : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    RecordingDevice device;
    ScopedScreenDevice scoped{&device};
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};

    void SetUp() override
    {
        auto& g = graphics_state();
        g = GraphicsState{};
        g.device_width = 800;
        g.device_height = 600;
        g.area_span_px = g.rotated_area_span_x = 799.99f;
        g.area_span_py = g.rotated_area_span_y = 599.99f;
        gr_char_width_default(0);
        gr_standard_font_load(0);
    }
};

TEST_F(TextSetup, WidthFactors)
{
    const auto& f = graphics_state().char_width_factor;
    EXPECT_FLOAT_EQ(f[64], 1.54f);
    EXPECT_FLOAT_EQ(f[87], 1.50f);
    EXPECT_FLOAT_EQ(f[105], 0.46f);
    EXPECT_FLOAT_EQ(f[255], 0.83f);

    err_routine_name_set("IGrCharWidth");
    gr_char_width_default(127);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Routine:IGrCharWidth Error=  66"), std::string::npos);
    EXPECT_FLOAT_EQ(f[127], 0.74f);
    graphics_state().char_width_factor[127] = 0.5f;
    gr_char_width_default(128);
    EXPECT_FLOAT_EQ(f[127], 0.74f);
    graphics_state().char_width_factor[200] = 9;
    gr_char_width_default(0);
    EXPECT_FLOAT_EQ(f[200], 1.02f);
}

TEST_F(TextSetup, StandardFontSlot)
{
    const StrokeFont& s = stroke_fonts().standard;
    EXPECT_EQ((std::vector<float>{s.stroke_metric_a, s.stroke_metric_b, s.stroke_metric_c, s.stroke_metric_d}),
              (std::vector<float>{7.68f, 11.88f, 6.0f, 11.0f}));
    EXPECT_EQ(s.stroke_metric_e, 8);
    EXPECT_EQ(s.stroke_first_flag, 1);
    EXPECT_EQ(s.stroke_extended, 1);
    EXPECT_EQ(s.stroke_metric_f, 0);
    EXPECT_EQ(s.name, "standard.chr");
    EXPECT_EQ(s.glyphs.size(), 3455u);
    ASSERT_EQ(s.stroke_start_low.size(), 96u);
    ASSERT_EQ(s.stroke_start_high.size(), 96u);
    EXPECT_EQ(std::vector<int>(s.stroke_start_low.begin(), s.stroke_start_low.begin() + 10),
              (std::vector<int>{1, 10, 19, 38, 67, 109, 133, 145, 153, 161}));
    EXPECT_EQ(std::vector<int>(s.stroke_start_low.end() - 4, s.stroke_start_low.end()), (std::vector<int>{1342, 1360, 1372, 1398}));
    EXPECT_EQ(std::vector<int>(s.stroke_start_high.begin(), s.stroke_start_high.begin() + 3), (std::vector<int>{1401, 1410, 1431}));
    EXPECT_EQ(std::vector<int>(s.stroke_start_high.end() - 4, s.stroke_start_high.end()), (std::vector<int>{3390, 3406, 3423, 3456}));
    // The glyph of code 128 is three blanks; the text otherwise holds only 0-9, A, B and u.
    EXPECT_EQ(s.glyphs.substr(1397, 3), "   ");
    EXPECT_EQ(s.glyphs.find_first_not_of("0123456789ABu "), std::string::npos);

    using Strokes = std::vector<std::vector<StrokePoint>>;
    EXPECT_EQ(stroke_glyph_strokes(s, 33), (Strokes{{{0, 2}, {3, 11}, {6, 2}}, {{1, 5}, {5, 5}}}));
    EXPECT_EQ(stroke_glyph_strokes(s, 1), (Strokes{{{3, 2}, {3, 3}}, {{3, 6}, {3, 11}}}));
    for (const auto& [k, text] : std::vector<std::pair<int, std::string>>{
             {3, "222Bu525Bu0565u0868"}, {13, "0666"}, {15, "006B"}, {17, "323B19"}, {44, "0B0262"},
             {16, "1204091B5B696452125B"}, {95, "63522214192B5B6Au0656u0767"}, {97, "3035u3839"}})
        EXPECT_EQ(s.glyphs.substr(static_cast<std::size_t>(s.stroke_start_low.size() >= static_cast<std::size_t>(k)
                                                                 ? s.stroke_start_low[static_cast<std::size_t>(k - 1)] - 1
                                                                 : s.stroke_start_high[static_cast<std::size_t>(k - 97)] - 1),
                                  text.size()),
                  text)
            << k;

    gr_standard_font_load(1);
    EXPECT_EQ(stroke_fonts().user.glyphs.size(), 3455u);
    EXPECT_TRUE(stroke_fonts().user.name.empty());
}

TEST_F(TextSetup, StartTablesAtTheEndsOfTheRangeGiveNoGlyph)
{
    // A font whose start tables hold the extremes of the integer range: no
    // glyph comes of them and no difference overflows.
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    const std::vector<int> first = {lo, 1, hi, 3, lo, lo}, second = {hi, lo, 5};
    gr_stroke_font_install(1, 1, 1, 1, 1, 2, 0, 1, "", "0011u2233", first, second);
    const StrokeFont& u = stroke_fonts().user;
    for (int k = 1; k <= 8; ++k)
        EXPECT_TRUE(stroke_glyph_strokes(u, k).empty()) << k;
    gr_standard_font_load(1);
}

// A sheet of all 191 glyphs for a person to look at (not a check).
TEST_F(TextSetup, GlyphSheetForReview)
{
    const StrokeFont& s = stroke_fonts().standard;
    constexpr int scale = 4, cell = 14 * scale, columns = 16, rows = 12;
    std::vector<std::int32_t> pixels(static_cast<std::size_t>(columns * cell * rows * cell), 0xFFFFFF);
    for (int k = 1; k <= stroke_glyph_count; ++k) {
        const int ox = ((k - 1) % columns) * cell + 2 * scale, oy = ((k - 1) / columns) * cell + scale;
        for (const auto& stroke : stroke_glyph_strokes(s, k)) {
            for (std::size_t i = 0; i < stroke.size(); ++i) {
                const auto a = stroke[i], b = stroke[i + 1 < stroke.size() ? i + 1 : i];
                ASSERT_TRUE(a.first <= 11 && a.second <= 11);
                for (int t = 0; t <= 8 * scale; ++t) {
                    const int x = ox + (a.first * (8 * scale - t) + b.first * t) / 8;
                    const int y = oy + ((11 - a.second) * (8 * scale - t) + (11 - b.second) * t) / 8;
                    pixels[static_cast<std::size_t>(y * columns * cell + x)] = 0;
                }
            }
        }
        if (k != 96) {
            EXPECT_FALSE(stroke_glyph_strokes(s, k).empty()) << k;
        }
    }
    ByteSink sheet;
    int code = 0;
    ASSERT_EQ(png_encode({columns * cell, rows * cell, pixels}, sheet, code), 0);
    EXPECT_TRUE(sheet.commit(::testing::TempDir() + "stroke_font_sheet.png").ok());
}

TEST_F(TextSetup, AngleIsNormalisedAndSent)
{
    for (const auto& [given, stored] : std::vector<std::pair<float, float>>{{-90, 270}, {720, 0}, {359.5f, 359.5f},
                                                                             {-1079.5f, 0.5f}}) {
        device.log.clear();
        gr_char_angle_set(given);
        EXPECT_FLOAT_EQ(graphics_state().char_angle, stored) << given;
        EXPECT_EQ(device.codes(), (std::vector<int>{33})) << given;
    }
    // On a square device and area the terms are plain sines and cosines.
    auto& g = graphics_state();
    g.device_width = g.device_height = 500;
    g.rotated_area_span_x = g.rotated_area_span_y = 400;
    g.rotation = 90;
    gr_char_angle_set(30);
    EXPECT_FLOAT_EQ(g.device_char_angle, 120);
    EXPECT_NEAR(g.char_sin_x, 0.5f, 1e-5f);
    EXPECT_NEAR(g.device_char_cos, -0.5f, 1e-5f);
    // A zero divisor keeps the terms worked out last.
    g.device_width = 0;
    gr_char_angle_set(90);
    EXPECT_NEAR(g.char_sin_x, 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(g.char_angle, 90);
}

TEST_F(TextSetup, CharacterSizeDefaultsForZero)
{
    auto& g = graphics_state();
    g.char_height = 0.05f;
    IGrCharacterSizeSet(0.0f, std::nullopt);
    EXPECT_FLOAT_EQ(g.char_width, 0.01333333f);
    EXPECT_FLOAT_EQ(g.char_height, 0.05f);
}

} // namespace
