#include "graphics/gdi_geometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace korv;

TEST(GdiGeometry, SolidLineEnds)
{
    const struct {
        int x1, y1, x2, y2;
        LineEnd end;
    } cases[] = {
        {10, 5, 20, 5, {21, 5, false}},   {20, 5, 10, 5, {9, 5, false}},  {3, 9, 3, 2, {3, 1, false}},
        {0, 0, 4, 4, {5, 5, false}},      {4, 0, 0, 4, {-1, 5, false}},   {0, 0, 5, 2, {5, 2, true}},
        {7, 7, 7, 7, {8, 7, false}},
    };
    for (const auto& c : cases) {
        const auto e = gdi_line_end(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(e.x, c.end.x);
        EXPECT_EQ(e.y, c.end.y);
        EXPECT_EQ(e.set_end_pixel, c.end.set_end_pixel);
    }
}

TEST(GdiGeometry, DashScaling)
{
    DashTables tables;
    EXPECT_EQ(tables.scaled[3].lengths, tables.base[3].lengths); // the copies start as the bases
    gdi_dash_tables_scale(tables, 96, 96, 3);
    const auto& t6 = tables.scaled[6];
    ASSERT_EQ(t6.count, 2);
    EXPECT_EQ(t6.lengths[0], 4u);
    EXPECT_EQ(t6.lengths[1], 6u); // the gap grows by width - 1
    // A metafile whose reference device has twice the display's resolution.
    gdi_dash_tables_scale(tables, 96, 192, 1);
    const auto& t3 = tables.scaled[3];
    EXPECT_EQ(t3.count, 4);
    EXPECT_EQ(t3.lengths[2], 16u);
    EXPECT_EQ(tables.scaled[0].count, 0);
    EXPECT_EQ(tables.base[3].lengths[2], 8u); // the bases stay
    gdi_dash_tables_scale(tables, 0, 96, 1);
    EXPECT_EQ(tables.scaled[1].lengths[1], 4u); // no resolution: unscaled
    const int styles[] = {0, 2, 1, 3, 4, 3, 1, 4};
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(gdi_pen_style(t), styles[t]);
    EXPECT_EQ(gdi_pen_style(8), -1);
}

TEST(GdiGeometry, BlockMoveLeavesWhatTheDestinationDoesNotCover)
{
    struct B {
        int l, t, r, b;
    };
    const struct {
        int x, y, xd, yd, w, h;
        std::vector<B> parts;
    } cases[] = {
        {20, 0, 10, 0, 30, 5, {{40, 0, 49, 4}}},                    // 10 left: the strip at the right end
        {0, 10, 0, 13, 5, 8, {{0, 10, 4, 12}}},                     // 3 down: the top rows
        {0, 0, 100, 100, 4, 4, {{0, 0, 3, 3}}},                     // apart: the whole block
        {0, 0, 2, 3, 10, 10, {{0, 0, 9, 2}, {0, 3, 1, 9}}},         // diagonal: an L
        {5, 5, 5, 5, 3, 3, {}},
    };
    for (const auto& c : cases) {
        const auto parts = gdi_block_vacated(c.x, c.y, c.xd, c.yd, c.w, c.h);
        ASSERT_EQ(parts.size(), c.parts.size()) << c.x << "," << c.y << "->" << c.xd << "," << c.yd;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i].left, c.parts[i].l);
            EXPECT_EQ(parts[i].top, c.parts[i].t);
            EXPECT_EQ(parts[i].right, c.parts[i].r);
            EXPECT_EQ(parts[i].bottom, c.parts[i].b);
        }
    }
}

TEST(GdiGeometry, PointBufferIsBounded)
{
    gdi_points_alloc(2);
    gdi_point_put(1, 2, 0);
    gdi_point_put(3, 4, 1);
    gdi_point_put(9, 9, 2); // beyond the buffer: ignored
    gdi_point_put(9, 9, -1);
    EXPECT_EQ(point_buffer().xy, (std::vector<std::int32_t>{1, 2, 3, 4}));
    gdi_points_alloc(3);
    EXPECT_EQ(point_buffer().xy, (std::vector<std::int32_t>(6, 0))); // zero-filled afresh
    gdi_points_free();
    EXPECT_EQ(gdi_points_capacity(), 0);
}

TEST(GdiGeometry, AnchorsAndFaces)
{
    EXPECT_EQ(gdi_text_anchor(10, 20, 31, 41, 1).x, 20);
    EXPECT_EQ(gdi_text_anchor(10, 20, 31, 41, 2).y, 41);
    EXPECT_EQ(gdi_font_face(4).face, "Symbol");
    EXPECT_EQ(gdi_font_face(4).charset, 2);
    EXPECT_EQ(gdi_shape_box(10, 10, 3, 2, true).right, 16);
}

// Co-ordinates at the ends of the int range are held there, not wrapped.
TEST(GdiGeometry, ExtremeCoordinatesSaturate)
{
    constexpr int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
    EXPECT_EQ(gdi_line_end(0, 0, top, 0).x, top);
    EXPECT_EQ(gdi_line_end(top, top, top, top).x, top);
    EXPECT_EQ(gdi_line_end(bottom, 0, top, 0).x, top);
    const Box box = gdi_shape_box(top, bottom, top, top, true);
    EXPECT_EQ(box.left, 0 - 1);
    EXPECT_EQ(box.right, top);
    EXPECT_EQ(box.top, bottom);
    EXPECT_EQ(gdi_text_anchor(top, top, top, top, 1).x, top);
    const auto vacated = gdi_block_vacated(top - 5, 0, top - 2, 0, 10, 10);
    ASSERT_FALSE(vacated.empty());
    EXPECT_LE(vacated[0].left, vacated[0].right);
}
