#include "graphics/palette.h"

#include "korvanthide/drawing.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korv;

namespace {

ColourTable256 built(int count = 256)
{
    ColourTable256 t;
    colour_table_build(t, count);
    return t;
}

} // namespace

TEST(Palette, DefaultEntries)
{
    const auto t = built();
    const struct {
        int index;
        std::int32_t rgb;
    } cases[] = {{0, 0xFFFFFF},   {15, 0xC3C3C3}, {223, 0x000000}, {31, 0x0000FF},  {63, 0x00FFFF},
                 {95, 0x00FF00},  {127, 0xFFFF00}, {159, 0xFF0000}, {191, 0xFF00FF}, {208, 0x3C3C3C},
                 {239, 0x404040}, {240, 0xBFBFBF}, {255, 0x838383}};
    for (const auto& c : cases)
        EXPECT_EQ(t.palette_rgb[c.index], c.rgb) << "entry " << c.index;
    // Companions: basic white..black, 16-colour set dark blue and black.
    EXPECT_EQ(t.basic_rgb[0], 0xFFFFFF);
    EXPECT_EQ(t.basic_rgb[4], 0x0000FF);
    EXPECT_EQ(t.basic_rgb[7], 0);
    EXPECT_EQ(t.colour16_rgb[1], t.palette_rgb[175]);
    EXPECT_EQ(t.colour16_rgb[15], 0);
}

TEST(Palette, ReducedTableSkipsToTheBrightEndInsideTheColourBlocks)
{
    const auto t = built(32); // step 8
    EXPECT_EQ(t.reduced_rgb[0], t.palette_rgb[0]);
    EXPECT_EQ(t.reduced_rgb[1], t.palette_rgb[8]);
    EXPECT_EQ(t.reduced_rgb[2], t.palette_rgb[23]); // 16 lies in 16..239
    EXPECT_EQ(t.reduced_rgb[30], t.palette_rgb[240]);
    const auto none = built(256);
    EXPECT_EQ(none.reduced_rgb[1], 0);
}

TEST(Palette, NearestIndex)
{
    const auto t = built();
    const struct {
        std::int32_t rgb;
        int index;
    } cases[] = {
        {0xFFFFFF, 0},   {0x000000, 223}, {0x0000FF, 31}, // exact matches
        {0x7E7E7E, 224},                                  // grey 126 lies nearest grey 124
        {0x0000FE, 31},  {0x0101FF, 31},  {0xFE0000, 159},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colour_nearest_index(t, c.rgb), c.index) << std::hex << c.rgb;
}

TEST(Palette, HueOfEdgeColours)
{
    float h = 9, s = 9, v = 9;
    gr_rgb_to_hsv(0x808080, h, s, v);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 0.0f);
    EXPECT_NEAR(v, 128 / 255.0f, 1e-6);
    // Red lies within 0.039 of the maximum, so red's branch gives hue 60.
    gr_rgb_to_hsv(gr_rgb_pack(250, 255, 0), h, s, v);
    EXPECT_NEAR(h, 60 * 0.017453292f, 1e-5);
    EXPECT_NEAR(s, 1.0f, 1e-6);
    gr_rgb_to_hsv(0xFF0000, h, s, v); // blue
    EXPECT_NEAR(h, 240 * 0.017453292f, 1e-5);
}

TEST(Palette, DeviceNumbers)
{
    const struct {
        int index, count, number;
    } cases[] = {
        {-1, 16, -1}, {0, 16, 0},    {16, 16, 12}, {31, 16, 12},  {32, 16, 4},   {47, 16, 4},   {159, 16, 9},
        {223, 16, 15}, {5, 2, 1},     {31, 8, 4},   {100, 32, 12}, {100, 128, 50}, {300, 256, 44}, {5, 24, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colour_device_number(c.index, c.count), c.number) << c.index << " of " << c.count;
}

TEST(Palette, Colour16MapRows)
{
    EXPECT_EQ(gr_colour16_map(1, 0), 4);
    EXPECT_EQ(gr_colour16_map(9, 0), 12);
    EXPECT_EQ(gr_colour16_map(2, 1), 3);
    EXPECT_EQ(gr_colour16_map(16, 0), -1);
    EXPECT_EQ(gr_colour16_map(-1, 0), -1);
    EXPECT_EQ(gr_colour16_map(1, 2), -1);
}

TEST(Palette, ColourNames)
{
    const struct {
        const char* name;
        int code;
    } cases[] = {{"BLACK", 0}, {"black", 0},   {"Blue", 1},  {"BRED", 12}, {"RED", 4},   {"  GREY ink", 2},
                 {"white", 7}, {"Bwhite", 15}, {"B", -1},    {"", -1},     {"pink", -1}, {"BBLUE", 9}};
    for (const auto& c : cases)
        EXPECT_EQ(gr_colour_name_code(c.name), c.code) << c.name;
}

TEST(Palette, SetOneEntryUpdatesItsCompanions)
{
    auto t = built(64);
    colour_table_put(t, 31, 0x123456, 64);
    EXPECT_EQ(t.palette_rgb[31], 0x123456);
    EXPECT_EQ(t.colour16_rgb[12], 0x123456); // odd block: the bright half
    EXPECT_EQ(t.basic_rgb[4], 0x123456);
    EXPECT_EQ(t.reduced_rgb[7], 0x123456);
    EXPECT_EQ(colour_nearest_index(t, 0x123456), 31);
    colour_table_put(t, 256, 1, 64); // outside the table: nothing
    colour_table_put(t, -1, 1, 64);
}

TEST(Palette, UnpackAndCheckedGetters)
{
    int r = -1, g = -1, b = -1;
    gr_rgb_unpack(0x01020304, &r, &g, &b);
    EXPECT_EQ(r, 4);
    EXPECT_EQ(g, 3);
    EXPECT_EQ(b, 2);
    gr_rgb_unpack(0x010203); // all outputs absent
    EXPECT_EQ(gr_colour_table_get(256), 0);
    EXPECT_EQ(gr_colour16_get(-1), 0);
    EXPECT_EQ(gr_colour_reduced_get(128), 0);
    EXPECT_EQ(gr_colour_basic_get(8), 0);
}
