#include "graphics/screen_device.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korv;

TEST(ScreenDevice, Rounding)
{
    EXPECT_EQ(screen_nearest(2.5f), 3);
    EXPECT_EQ(screen_nearest(-2.5f), -3);
    EXPECT_EQ(screen_nearest(-2.4f), -2);
    EXPECT_EQ(screen_floor(2.9f), 2);
    EXPECT_EQ(screen_floor(-0.5f), -1);
    EXPECT_EQ(screen_floor(-2.0f), -2);
    EXPECT_EQ(screen_flip(0, 100), 99);
}

TEST(ScreenDevice, NarrowPieGetsASliverAndAFullSweepAnEllipse)
{
    const float deg = 3.14159265f / 180;
    // Radius 3: start 10 and end 12 degrees land on one pixel.
    const auto sliver = screen_pie_points(50, 50, 3, 3, 10 * deg, 12 * deg, 10, 2, 100);
    EXPECT_EQ(sliver.xs, 52);
    EXPECT_EQ(sliver.ys, 49);
    EXPECT_EQ(sliver.xe, 51); // moved by (-1, -1)
    EXPECT_EQ(sliver.ye, 48);
    const auto full = screen_pie_points(50, 50, 3, 3, 0, 360 * deg, 0, 360, 100);
    EXPECT_EQ(full.xs, full.xe);
    EXPECT_EQ(full.ys, full.ye);
    const auto third = screen_pie_points(50, 50, 1, 1, 200 * deg, 201 * deg, -160, 1, 100);
    EXPECT_EQ(third.xe - third.xs, 1); // 200 degrees: (+1, +1)
    EXPECT_EQ(third.ye - third.ys, 1);
}

TEST(ScreenDevice, PaletteBatches)
{
    const struct {
        bool changed, more, open_before;
        PaletteStep step;
        bool open_after;
    } cases[] = {
        {false, false, false, {false, 0}, false}, // unchanged outside a batch: nothing
        {false, true, true, {false, 0}, true},
        {false, false, true, {true, 3}, false},   // closes the batch
        {true, true, false, {true, 1}, true},
        {true, true, true, {true, 2}, true},
        {true, false, false, {true, 0}, false},
        {true, false, true, {true, 3}, false},
    };
    for (const auto& c : cases) {
        bool open = c.open_before;
        const auto s = screen_palette_step(c.changed, c.more, open);
        EXPECT_EQ(s.set, c.step.set);
        if (s.set) {
            EXPECT_EQ(s.phase, c.step.phase);
        }
        EXPECT_EQ(open, c.open_after);
    }
}

TEST(ScreenDevice, FontSizes)
{
    auto s = screen_font_size(0.01333333f, 0.03333333f, 800, 600, 0, 1);
    EXPECT_EQ(s.width, 11);
    EXPECT_EQ(s.height, 20);
    s = screen_font_size(0.01333333f, 0.03333333f, 800, 600, 1, 4);
    EXPECT_EQ(s.width, 8); // 10.67 * 0.607 * 1.22
    EXPECT_EQ(s.height, 16);
    s = screen_font_size(0, 0, 800, 600, 0, 1);
    EXPECT_EQ(s.width, 1);
}

TEST(ScreenDevice, ClipRectangle)
{
    EXPECT_TRUE(screen_clip_rect(0, 0, 99, 99, 100, 100, false).off);
    EXPECT_FALSE(screen_clip_rect(0, 0, 99, 99, 100, 100, true).off);
    const auto c = screen_clip_rect(10, 20, 49, 79, 100, 100, false);
    EXPECT_FALSE(c.off);
    EXPECT_EQ(c.left, 10);
    EXPECT_EQ(c.top, 20);
    EXPECT_EQ(c.right, 50);
    EXPECT_EQ(c.bottom, 80);
}
