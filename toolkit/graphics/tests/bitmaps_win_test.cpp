// Memory bitmaps on real GDI bitmaps: creation, pixel arrays, the bitmap as
// drawing target read back through the screen device, rotation and slots.
#include "korvanthide/bitmaps.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "graphics/screen_device.h"
#include "graphics/bitmap_slots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace korv;

namespace {

class Bitmaps : public ::testing::Test {
protected:
    // A hidden root window: bitmaps are made compatible with its client.
    void SetUp() override
    {
        WindowOpen(7 | 0x80, 0, 0, 640, 480);
        error_state().last_error = 0;
    }
    void TearDown() override
    {
        IGrSelect(1);
        bmp_destroy_all();
        WRootWindowClose();
    }
    // A pixel of the drawing target through operation 31 (device y up).
    int read_pixel(int x, int y)
    {
        auto& p = device_parameters();
        p.px1 = x;
        p.py1 = y;
        gr_send_screen(31);
        return p.px1;
    }
    std::vector<std::int32_t> pixels_of(int handle)
    {
        int w = 0, h = 0, status = -1;
        bmp_size(handle - 1, w, h);
        std::vector<std::int32_t> out(static_cast<std::size_t>(w * h));
        bmp_get_pixels(handle - 1, out, 0, 0, w - 1, h - 1, status);
        EXPECT_EQ(status, 0);
        return out;
    }
};

} // namespace

TEST_F(Bitmaps, PreviewRoad)
{
    int handle = 0;
    WBitmapCreate(handle, 75, 60);
    ASSERT_EQ(handle, 1);
    WBitmapGetData(handle, std::vector<std::int32_t>(75 * 60, 0x0080FF));
    IGrSelect(2, handle);
    EXPECT_EQ(error_state().last_error, 0);
    EXPECT_EQ(graphics_state().target_kind, target_bitmap);
    EXPECT_EQ(graphics_state().drawable_width, 75);
    EXPECT_EQ(graphics_state().drawable_height, 60);
    for (const auto& [x, y] : {std::pair{0, 0}, {74, 0}, {0, 59}, {74, 59}})
        EXPECT_EQ(read_pixel(x, y), 0x0080FF) << x << "," << y;
    EXPECT_EQ(read_pixel(75, 0), -1);
    IGrSelect(1);
    WBitmapDestroy(handle);
    int again = 0;
    WBitmapCreate(again, 75, 60);
    EXPECT_EQ(again, handle);
}

TEST_F(Bitmaps, FillsAndPixelArraysTopRowFirst)
{
    int plain = 0, red = 0;
    WBitmapCreate(plain, 75, 60);
    WBitmapCreate(red, 3, 2, 0x0000FF);
    EXPECT_EQ(pixels_of(plain).front(), 0xFFFFFF); // palette entry 0
    EXPECT_EQ(pixels_of(red), std::vector<std::int32_t>(6, 0x0000FF));
    std::vector<std::int32_t> data(75 * 60, 0x00FF00);
    data.front() = 0x0000FF;
    data.back() = 0xFF0000;
    WBitmapGetData(plain, data);
    const auto back = pixels_of(plain);
    EXPECT_EQ(back.front(), 0x0000FF);
    EXPECT_EQ(back.back(), 0xFF0000);
    EXPECT_EQ(back[75], 0x00FF00);
    int status = -1;
    bmp_fill_rect(plain - 1, 1, 1, 2, 2, -1, status); // -1: the creation colour
    EXPECT_EQ(pixels_of(plain)[75 + 1], 0xFFFFFF);
    EXPECT_EQ(pixels_of(plain)[75 + 3], 0x00FF00);
}

TEST_F(Bitmaps, PixelRectanglesInsideAndBeyondTheBitmap)
{
    int handle = 0;
    WBitmapCreate(handle, 3, 2);
    WBitmapGetData(handle, std::vector<std::int32_t>{0x000001, 0x000002, 0x000003, 0x010000, 0x020000, 0x030000});
    int status = -1;
    // An inner rectangle, top row first.
    std::vector<std::int32_t> inner(2);
    bmp_get_pixels(handle - 1, inner, 1, 0, 1, 1, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(inner, (std::vector<std::int32_t>{0x000002, 0x020000}));
    // Pixels beyond the bitmap on every side read as -1.
    std::vector<std::int32_t> around(5 * 4, 0);
    bmp_get_pixels(handle - 1, around, -1, -1, 3, 2, status);
    EXPECT_EQ(status, 0);
    const std::vector<std::int32_t> expected{-1, -1,       -1,       -1,       -1,  //
                                             -1, 0x000001, 0x000002, 0x000003, -1,  //
                                             -1, 0x010000, 0x020000, 0x030000, -1,  //
                                             -1, -1,       -1,       -1,       -1};
    EXPECT_EQ(around, expected);
    // The same while the bitmap is the drawing target.
    IGrSelect(2, handle);
    std::fill(around.begin(), around.end(), 0);
    bmp_get_pixels(handle - 1, around, -1, -1, 3, 2, status);
    EXPECT_EQ(around, expected);
    IGrSelect(1);
}

TEST_F(Bitmaps, BadHandlesAndTargets)
{
    WBitmapGetData(0, std::vector<std::int32_t>(1));
    EXPECT_EQ(error_state().last_error, 1021);
    error_state().last_error = 0;
    WBitmapDestroy(7);
    EXPECT_EQ(error_state().last_error, 1021);
    int handle = 0;
    WBitmapCreate(handle, 4, 4);
    WBitmapGetData(handle, std::vector<std::int32_t>(15)); // one pixel short
    EXPECT_EQ(error_state().last_error, 1066);
    graphics_state().target_kind = target_metafile;
    WBitmapGetData(0, std::vector<std::int32_t>(1));
    EXPECT_EQ(error_state().last_error, 1065);
    graphics_state().target_kind = target_window;
    WBitmapCreate(handle, 0, 5);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(error_state().last_error, 1020);
    IGrSelect(2, 0);
    EXPECT_EQ(error_state().last_error, 1019);
    EXPECT_EQ(graphics_state().target_kind, target_window);
}

TEST_F(Bitmaps, TheFiftyFirstSlotBelongsToThePreview)
{
    int handle = 0, free_slots = -1;
    for (int i = 1; i <= 50; ++i) {
        WBitmapCreate(handle, 2, 2);
        ASSERT_EQ(handle, i);
    }
    bmp_free_slot_count(free_slots);
    EXPECT_EQ(free_slots, 0);
    WBitmapCreate(handle, 2, 2);
    EXPECT_EQ(handle, 51);
    bmp_free_slot_count(free_slots);
    EXPECT_EQ(free_slots, 0);
    WBitmapDestroy(51);
    EXPECT_EQ(error_state().last_error, 1021);
    error_state().last_error = 0;
    WBitmapCreate(handle, 2, 2);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(error_state().last_error, 1020);
    bmp_handle_limit_set(51);
    WBitmapDestroy(51);
    bmp_handle_limit_set(50);
    WBitmapDestroy(3);
    bmp_free_slot_count(free_slots);
    EXPECT_EQ(free_slots, 1);
}

TEST_F(Bitmaps, RotationMapsPixelsAndLeavesTheTarget)
{
    int handle = 0, viewer = -1, status = -1, w = 0, h = 0;
    WBitmapCreate(handle, 75, 60, 0xFFFFFF);
    std::vector<std::int32_t> data(75 * 60, 0xFFFFFF);
    data.front() = 0x0000FF; // top-left red
    WBitmapGetData(handle, data);
    IGrSelect(2, handle);
    bmp_rotate(handle - 1, 90, viewer, status);
    EXPECT_EQ(status, 0);
    // The rotated bitmap is no longer the drawing target.
    EXPECT_EQ(graphics_state().target_kind, target_window);
    bmp_size(handle - 1, w, h);
    EXPECT_EQ(w, 60);
    EXPECT_EQ(h, 75);
    auto back = pixels_of(handle);
    EXPECT_EQ(back[74 * 60], 0x0000FF); // a quarter turn anticlockwise: bottom-left
    bmp_rotate(handle - 1, 180, viewer, status);
    bmp_size(handle - 1, w, h);
    EXPECT_EQ(w, 60);
    back = pixels_of(handle);
    EXPECT_EQ(back[59], 0x0000FF); // top-right
    bmp_rotate(handle - 1, 45, viewer, status);
    EXPECT_EQ(status, 1090);
    bmp_resize(handle - 1, 10, 20, viewer, status);
    bmp_size(handle - 1, w, h);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 20);
    bmp_mirror(handle - 1, 0, viewer, status);
    EXPECT_EQ(status, 0);
}

TEST_F(Bitmaps, DestroyingTheTargetReturnsToTheWindow)
{
    int handle = 0;
    WBitmapCreate(handle, 8, 8);
    IGrSelect(2, handle);
    WBitmapDestroy(handle);
    EXPECT_EQ(graphics_state().target_kind, target_window);
    EXPECT_FALSE(window_tables().bitmap_context);
}

TEST_F(Bitmaps, BlendedDrawingOnTheTarget)
{
    int handle = 0;
    WBitmapCreate(handle, 2, 1, 0xFFFFFF);
    IGrSelect(2, handle);
    const std::vector<std::int32_t> px = {static_cast<std::int32_t>(0x80FF0000u), static_cast<std::int32_t>(0xFF0000FFu)};
    bmp_draw_pixels_blended(px, 0, 0, 1, 0, 2, 1, 0, 0);
    EXPECT_EQ(read_pixel(0, 0), 0xFF8080);
    EXPECT_EQ(read_pixel(1, 0), 0xFFFFFF);
}

TEST_F(Bitmaps, ModesOfTransfers)
{
    int mode = 0;
    bmp_stretch_mode_set(3);
    bmp_stretch_mode_get(mode);
    EXPECT_EQ(mode, 3);
    bmp_stretch_mode_set(4);
    bmp_stretch_mode_get(mode);
    EXPECT_EQ(mode, display_info().windows_nt ? 4 : 1);
    bmp_stretch_mode_set(9);
    bmp_stretch_mode_get(mode);
    EXPECT_EQ(mode, display_info().windows_nt ? 4 : 1);
    bmp_stretch_mode_set(0);
    bmp_stretch_mode_get(mode);
    EXPECT_EQ(mode, 1);
}
