// The GDI device drawing into a real memory device context, read back
// pixel by pixel.
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "graphics/gdi_primitives.h"
#include "graphics/screen_device.h"

#include <gtest/gtest.h>

using namespace korv;

namespace {

constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF white = RGB(255, 255, 255);

// A 100 by 100 memory bitmap as the drawing context, cleared to white.
class GdiDeviceTest : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old_bitmap = nullptr;

    void SetUp() override
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 100, 100);
        ReleaseDC(nullptr, screen);
        old_bitmap = SelectObject(dc, bitmap);
        auto& t = window_tables();
        t.drawing_dc = dc;
        t.metafile_context = false;
        auto& g = graphics_state();
        g.drawable_width = g.drawable_height = 100;
        g.target_kind = target_window;
        gr_colour_table_defaults();
        gdi_clear(100, 100, 0xFFFFFF);
        gdi_draw_mode_set(0);
        gdi_colour_set(0, 0xFFFFFF);
        gdi_colour_set(159, 0xFF0000); // blue, white the previous colour
    }
    void TearDown() override
    {
        auto& t = window_tables();
        if (t.pen) {
            SelectObject(dc, t.replaced_pen);
            DeleteObject(t.pen);
            t.pen = t.replaced_pen = nullptr;
        }
        gdi_clip_set(0, 0, 0, -1);
        SelectObject(dc, old_bitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        t.drawing_dc = nullptr;
        if (t.pattern) {
            DeleteObject(t.pattern);
            t.pattern = nullptr;
        }
    }
    void op(int code) { gdi_device().operate(code, device_parameters()); }
    int coloured(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                n += GetPixel(dc, x, y) == c;
        return n;
    }
};

} // namespace

TEST_F(GdiDeviceTest, LineAtDeviceYZeroIsTheBottomRow)
{
    auto& p = device_parameters();
    p.px1 = 0, p.py1 = 0, p.px2 = 9, p.py2 = 0;
    op(2);
    for (int x = 0; x <= 9; ++x)
        EXPECT_EQ(GetPixel(dc, x, 99), blue) << x;
    EXPECT_EQ(GetPixel(dc, 10, 99), white);
    EXPECT_EQ(coloured(blue), 10);
}

TEST_F(GdiDeviceTest, SolidLinesKeepTheirLastPixel)
{
    gdi_line(10, 5, 20, 5);
    EXPECT_EQ(coloured(blue), 11);
    EXPECT_EQ(GetPixel(dc, 20, 5), blue);
    gdi_line(30, 30, 37, 33); // any other slope: the end pixel set afterwards
    EXPECT_EQ(GetPixel(dc, 37, 33), blue);
}

TEST_F(GdiDeviceTest, RectanglesFillTheirInclusiveBox)
{
    auto& p = device_parameters();
    p.px1 = 10, p.py1 = 20, p.px2 = 19, p.py2 = 29;
    op(10);
    EXPECT_EQ(coloured(blue), 100);
    EXPECT_EQ(GetPixel(dc, 10, 70), blue); // device y 29 is row 70
    EXPECT_EQ(GetPixel(dc, 19, 79), blue);
    EXPECT_EQ(GetPixel(dc, 20, 79), white);
}

TEST_F(GdiDeviceTest, CheckerFillAlternatesTheTwoColours)
{
    gdi_rectangle_fill(0, 0, 3, 3, 3);
    EXPECT_EQ(GetPixel(dc, 0, 0), blue);
    EXPECT_EQ(GetPixel(dc, 1, 1), blue);
    EXPECT_EQ(GetPixel(dc, 2, 0), blue);
    EXPECT_EQ(GetPixel(dc, 1, 0), white);
    EXPECT_EQ(GetPixel(dc, 0, 1), white);
    EXPECT_EQ(coloured(blue), 8);
}

TEST_F(GdiDeviceTest, ReadPixelAnswersThePackedColour)
{
    SetPixel(dc, 5, 94, blue);
    auto& p = device_parameters();
    p.px1 = 5, p.py1 = 5;
    op(31);
    EXPECT_EQ(p.px1, 255 * 65536);
    EXPECT_EQ(p.px2, 0);
    EXPECT_EQ(p.px3, 255);
    p.px1 = 100, p.py1 = 5; // outside the drawable
    op(31);
    EXPECT_EQ(p.px1, -1);
    graphics_state().target_kind = target_metafile;
    p.px1 = 5, p.py1 = 5;
    op(31);
    EXPECT_EQ(p.px1, -1);
}

TEST_F(GdiDeviceTest, BlockMoveLeftPaintsTheStripItLeaves)
{
    gdi_rectangle_fill(30, 0, 59, 9, 4);
    gdi_block_move(30, 0, 20, 0, 30, 10, true, 0x0000FF);
    EXPECT_EQ(GetPixel(dc, 20, 5), blue);
    EXPECT_EQ(GetPixel(dc, 49, 5), blue);
    EXPECT_EQ(GetPixel(dc, 50, 5), RGB(255, 0, 0)); // the vacated strip 50..59
    EXPECT_EQ(GetPixel(dc, 59, 9), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 60, 5), white);
}

TEST_F(GdiDeviceTest, NarrowPieIsASliverAndAFullSweepAnEllipse)
{
    const float deg = 3.14159265f / 180;
    auto& p = device_parameters();
    p.px1 = 50, p.py1 = 50, p.rx2 = 3, p.ry2 = 3;
    p.rx3 = 10 * deg, p.ry3 = 12 * deg, p.rx4 = 10, p.ry4 = 2;
    op(14);
    const int sliver = coloured(blue);
    EXPECT_GT(sliver, 0);
    EXPECT_LT(sliver, 12);
    gdi_clear(100, 100, 0xFFFFFF);
    p.rx3 = 0, p.ry3 = 360 * deg, p.rx4 = 0, p.ry4 = 360;
    op(14);
    EXPECT_GT(coloured(blue), 25);
}

TEST_F(GdiDeviceTest, ClipOperationFollowsTheClipBox)
{
    auto& g = graphics_state();
    g.screen_clip_x1 = 0, g.screen_clip_y1 = 0, g.screen_clip_x2 = 99, g.screen_clip_y2 = 99;
    op(24);
    EXPECT_EQ(window_tables().clip_region, nullptr);
    g.target_kind = target_dialog_field; // a graphics field keeps its region
    op(24);
    EXPECT_NE(window_tables().clip_region, nullptr);
    g.target_kind = target_window;
    g.screen_clip_x1 = 10, g.screen_clip_y1 = 10, g.screen_clip_x2 = 19, g.screen_clip_y2 = 19;
    op(24);
    gdi_ellipse(15, 85, 30, 30, 0, 4); // clipped to rows 80..89, columns 10..19
    EXPECT_EQ(coloured(blue), 100);
}

TEST_F(GdiDeviceTest, UnchangedFontIsMadeOnce)
{
    auto& g = graphics_state();
    g.rotated_area_span_x = 800, g.rotated_area_span_y = 600;
    g.rotated_limit_x = 799.99f, g.rotated_limit_y = 599.99f;
    g.font_family = 2;
    op(18);
    op(21);
    const HFONT first = gdi_state().font;
    ASSERT_NE(first, nullptr);
    EXPECT_GT(g.device_cell_height, 0);
    op(21);
    EXPECT_EQ(gdi_state().font, first);
    g.char_height *= 2;
    op(21);
    EXPECT_NE(gdi_state().font, first);
    // Text is drawn in the current colour around its line's middle.
    auto& p = device_parameters();
    p.text_set("Hg");
    p.px1 = 2;
    p.rx1 = 10, p.ry1 = 50, p.rx4 = 10, p.ry4 = 50;
    g.text_alignment = 0;
    op(22);
    EXPECT_GT(coloured(blue), 10);
    p.phase = 2;
    op(25);
    EXPECT_GT(p.rx1, 5.0f);
    EXPECT_EQ(p.count, 1);
    SelectObject(dc, gdi_state().replaced_font);
    DeleteObject(gdi_state().font);
    gdi_font_release();
}

TEST(GdiFontTest, FontMadeWithNoContextIsDeletedWhenReplaced)
{
    auto& t = window_tables();
    const HDC saved = t.drawing_dc;
    t.drawing_dc = nullptr;
    int width = 0, height = 12, ascent = 0;
    gdi_font_select(width, height, ascent, 0, 2, 0, "");
    const HFONT first = gdi_state().font;
    ASSERT_NE(first, nullptr);
    height = 20;
    gdi_font_select(width, height, ascent, 0, 2, 0, "");
    EXPECT_NE(gdi_state().font, first);
    EXPECT_EQ(GetObjectType(first), 0u);
    DeleteObject(gdi_state().font);
    gdi_font_release();
    t.drawing_dc = saved;
}

TEST_F(GdiDeviceTest, DrawableOfNoSizeDrawsNothing)
{
    graphics_state().drawable_width = 0;
    auto& p = device_parameters();
    p.px1 = 0, p.py1 = 0, p.px2 = 50, p.py2 = 50;
    op(10);
    op(2);
    op(17);
    EXPECT_EQ(coloured(blue), 0);
}

TEST_F(GdiDeviceTest, SelectFillsTheScreenCapabilities)
{
    op(1);
    const auto& d = device_capabilities().screen;
    EXPECT_EQ(d.flags_view(), "11111111111111111110111011111");
    graphics_state().target_kind = target_metafile;
    op(1);
    EXPECT_EQ(d.flags_view().back(), '0');
}
