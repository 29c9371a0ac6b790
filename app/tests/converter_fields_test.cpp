#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "converter_fields.h"

namespace {

TEST(FieldTable, StoresScaledValuesAndSetsTheSourceModel)
{
    // Where each value lands: the component is found by comparing the
    // record before and after.
    const struct {
        int field;
        double value;
        int cmyk_range, hue_range;
        float expected;  // the component stored; NaN when nothing is stored
        int model;
    } cases[] = {
        {1001, 50, 2, 4, 50 * 0.01f, 1},
        {1016, 128, 2, 4, 128 / 255.0f, 1},
        {1023, 0.25, 2, 4, 0.25f, 1},
        {1025, 30, 2, 4, 30 * 0.01f, 2},
        {1009, 50, 2, 4, 0.5f, 2},
        {1009, 50, 3, 4, 50 / 255.0f, 2},
        {1009, 50, 1, 4, NAN, 2},
        {1071, 40, 2, 4, 0.4f, 3},
        {1044, 200, 2, 4, 200.0f, 4},
        {1049, 120, 2, 2, 180.0f, 4},
        {1049, 120, 2, 3, 120.0f * 360.0f / 255.0f, 4},
        {1049, 120, 2, 4, 120.0f, 4},
        {1049, 120, 2, 1, NAN, 4},
        {1050, 0.5, 2, 4, 180.0f, 4},
        {1053, 51, 2, 4, 51 / 255.0f, 4},
        {1037, 240, 2, 2, 360.0f, 5},
        {1038, 0.25, 2, 4, 90.0f, 5},
        {1042, 0.75, 2, 4, 0.75f, 5},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(testing::Message() << "field " << t.field << " value " << t.value);
        ConverterColourState s;
        s.ranges.cmyk = t.cmyk_range;
        s.ranges.cmy = t.cmyk_range;
        s.ranges.hls_hue = t.hue_range;
        s.ranges.hsv_hue = t.hue_range;
        s.colour.rgb = {-1, -1, -1};
        s.colour.cmyk = {-1, -1, -1, -1};
        s.colour.cmy = {-1, -1, -1};
        s.colour.hls = {-1, -1, -1};
        s.colour.hsv = {-1, -1, -1};
        const std::optional<float> stored = cc_field_apply(t.field, t.value, s);
        EXPECT_EQ(s.source_model, t.model);
        const float* all = &s.colour.rgb.r;  // the record is sixteen floats in a row
        int changed = 0;
        for (int i = 0; i < 16; ++i) {
            if (all[i] != -1.0f) {
                ++changed;
                EXPECT_EQ(all[i], t.expected);
                EXPECT_EQ(stored, t.expected);
            }
        }
        EXPECT_EQ(changed, std::isnan(t.expected) ? 0 : 1);
        if (cc_trackbar_component(t.field, s.colour) != nullptr) {
            EXPECT_EQ(*cc_trackbar_component(t.field, s.colour), t.expected);
        }
    }
    static_assert(sizeof(ColourRecord) == 16 * sizeof(float));
}

TEST(FieldTable, MenusChooseRangesAndNames)
{
    const struct {
        int field;
        int item;
        int model;
        int RangeSelections::*range;  // nullptr: the name index
    } cases[] = {
        {1019, 2, 1, &RangeSelections::rgb},
        {1020, 3, 2, &RangeSelections::cmyk},
        {1075, 1, 3, &RangeSelections::cmy},
        {1059, 2, 4, &RangeSelections::hls_hue},
        {1060, 2, 4, &RangeSelections::hls_lightness_saturation},
        {1036, 3, 5, &RangeSelections::hsv_hue},
        {1057, 2, 5, &RangeSelections::hsv_saturation_value},
        {1004, 40, 8, nullptr},
        {1056, 1323, 9, nullptr},
    };
    for (const auto& t : cases) {
        ConverterColourState s;
        const ColourRecord before = s.colour;
        EXPECT_EQ(cc_field_apply(t.field, t.item, s), std::nullopt);
        EXPECT_EQ(s.source_model, t.model) << t.field;
        EXPECT_EQ(t.range ? s.ranges.*t.range : s.name_index, t.item) << t.field;
        EXPECT_EQ(std::memcmp(&before, &s.colour, sizeof before), 0);
    }
}

TEST(FieldTable, OtherFieldsChangeNothing)
{
    for (int field : {1, 2, 1024, 1055, 1062, 1077, 1078, 1079, 1082, 1087, 1015, 1000, 1076}) {
        ConverterColourState s;
        s.source_model = 3;
        EXPECT_FALSE(cc_field_table(field)) << field;
        EXPECT_EQ(cc_field_apply(field, 7, s), std::nullopt);
        EXPECT_EQ(s.source_model, 3);
    }
    EXPECT_EQ(cc_field_table(1016)->read, FieldRead::integer);
    EXPECT_EQ(cc_field_table(1040)->read, FieldRead::real);
    EXPECT_EQ(cc_field_table(1032)->read, FieldRead::trackbar);
    ColourRecord colour;
    EXPECT_EQ(cc_trackbar_component(1016, colour), nullptr);
}

TEST(HexCode, ReadsDigitsAndBlanks)
{
    const struct {
        const char* text;
        int r, g, b;  // -1: refused
    } cases[] = {
        {"FFFFFF", 255, 255, 255}, {"FF", 255, 0, 0},          {"0000FF", 0, 0, 255},
        {"  FF  ", 0, 255, 0},     {"ff8000", 255, 128, 0},    {"12 4", 0x12, 0x04, 0},
        {"", 0, 0, 0},             {"7FFFFF    ", 127, 255, 255},
        {"GG", -1, 0, 0},          {"FFFFFFF", -1, 0, 0},      {"FF-000", -1, 0, 0},
        {"0x00FF", -1, 0, 0},      {"FF\t", -1, 0, 0},         {"\xC4", -1, 0, 0},
    };
    for (const auto& t : cases) {
        const std::optional<RgbColour> rgb = cc_parse_hex_code(t.text);
        if (t.r < 0) {
            EXPECT_FALSE(rgb) << t.text;
            continue;
        }
        ASSERT_TRUE(rgb) << t.text;
        EXPECT_EQ(rgb->r, static_cast<float>(t.r) / 255.0f) << t.text;
        EXPECT_EQ(rgb->g, static_cast<float>(t.g) / 255.0f) << t.text;
        EXPECT_EQ(rgb->b, static_cast<float>(t.b) / 255.0f) << t.text;
    }
}

} // namespace
