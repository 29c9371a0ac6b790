#include "graphics/bitmaps_pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <map>
#include <vector>

using namespace korv;

TEST(BitmapPixels, Blend)
{
    // Pure blue half transparent over white.
    EXPECT_EQ(bitmap_blend(0xFF0000, 0xFFFFFF, 128), 0xFF8080);
    EXPECT_EQ(bitmap_blend(0x123456, 0xABCDEF, 0), 0x123456);
    // Each product is divided on its own: 127*255/255 + 128*255/255 = 255.
    EXPECT_EQ(bitmap_blend(0xFFFFFF, 0xFFFFFF, 128), 0xFFFFFF);
    EXPECT_EQ(bitmap_blend(0x000001, 0x000001, 128), 0x000000);
}

namespace {

struct Canvas {
    int width, height;
    std::map<std::pair<int, int>, std::int32_t> px;
    std::vector<std::pair<int, int>> order;
    PixelRead read()
    {
        return [this](int x, int y) { return px.count({x, y}) ? px[{x, y}] : 0xFFFFFF; };
    }
    PixelWrite write()
    {
        return [this](int x, int y, std::int32_t c) {
            px[{x, y}] = c;
            order.emplace_back(x, y);
        };
    }
};

} // namespace

TEST(BitmapPixels, BlendedModes)
{
    const std::int32_t half_blue = static_cast<std::int32_t>(0x80FF0000u);
    const std::int32_t key_red = static_cast<std::int32_t>(0xFF0000FFu);
    const std::vector<std::int32_t> pixels = {half_blue, key_red, 0x00FF00, static_cast<std::int32_t>(0x05000000u)};
    const struct {
        int mode, factor;
        std::int32_t expect[4]; // -1: untouched
    } cases[] = {
        {0, 0, {0xFF8080, -1, 0x00FF00, 0x050505}},
        {1, 0, {0xFF0000, 0x0000FF, 0x00FF00, 0}},
        {1, 255, {-1, -1, -1, -1}},
        {2, 128, {0xFF8080, -1, 0x80FF80, 0x808080}},
        {3, 0, {-1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        Canvas canvas{2, 2, {}, {}};
        bitmap_draw_blended(pixels, 0, 0, 1, 1, 2, 2, c.mode, c.factor, canvas.read(), canvas.write());
        const std::pair<int, int> at[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        for (int i = 0; i < 4; ++i) {
            if (c.expect[i] < 0)
                EXPECT_EQ(canvas.px.count(at[i]), 0u) << "mode " << c.mode << " pixel " << i;
            else
                EXPECT_EQ(canvas.px[at[i]], c.expect[i]) << "mode " << c.mode << " pixel " << i;
        }
    }
}

TEST(BitmapPixels, BlendedClipsToTheDrawableAndKeepsArrayIndices)
{
    // A 3 by 2 array placed at (-1, 1) on a 2 by 2 drawable: only its
    // columns 1 and 2 of row 0 land, bottom row first.
    const std::vector<std::int32_t> pixels = {1, 2, 3, 4, 5, 6};
    Canvas canvas{2, 2, {}, {}};
    bitmap_draw_blended(pixels, -1, 1, 1, 2, 2, 2, 1, 0, canvas.read(), canvas.write());
    EXPECT_EQ(canvas.px.size(), 2u);
    EXPECT_EQ((canvas.px[{0, 1}]), 2);
    EXPECT_EQ((canvas.px[{1, 1}]), 3);
    // A short array is never read beyond its end.
    Canvas c2{4, 4, {}, {}};
    bitmap_draw_blended(std::span(pixels).first(2), 0, 0, 3, 3, 4, 4, 1, 0, c2.read(), c2.write());
    EXPECT_EQ(c2.px.size(), 2u);
    EXPECT_EQ(c2.order.front(), std::make_pair(0, 0));
}

TEST(BitmapPixels, RotationMovesCorners)
{
    // Top-left corner of a 75 by 60 bitmap.
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 90).y, 74);  // goes to the bottom-left
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 90).x, 0);
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 180).x, 74);
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 180).y, 59);
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 270).x, 59); // goes to the top-right
    EXPECT_EQ(bitmap_rotated_position(0, 0, 75, 60, 270).y, 0);
    EXPECT_FALSE(bitmap_rotation_valid(45));
}

TEST(BitmapPixels, ExtremeSizesAndCornersStayInRange)
{
    // Sizes and corners at the ends of the integer range: nothing is
    // written outside the drawable and no sum overflows.
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    const std::vector<std::int32_t> pixels(4, 0x123456);
    int writes = 0;
    const PixelRead read = [](int, int) { return 0; };
    const PixelWrite write = [&writes](int, int, std::int32_t) { ++writes; };
    for (const auto& [x1, y1, x2, y2, w, h] : std::vector<std::array<int, 6>>{
             {0, 0, 1, 1, lo, lo}, {lo, lo, hi, hi, 2, 2}, {hi - 1, hi - 1, hi, hi, hi, hi}, {lo, 0, 0, 0, 1, 1}})
        bitmap_draw_blended(pixels, x1, y1, x2, y2, w, h, 1, 0, read, write);
    EXPECT_LE(writes, 8);
    const PixelPos turned = bitmap_rotated_position(0, lo, 1, hi, 180);
    EXPECT_EQ(turned.x, 0);
    EXPECT_EQ(turned.y, hi);
    EXPECT_EQ(bitmap_rotated_position(lo, 0, hi, 1, 90).y, hi);
    EXPECT_EQ(bitmap_rotated_position(0, hi, 1, lo, 270).x, lo);
}
