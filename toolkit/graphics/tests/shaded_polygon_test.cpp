// Shaded polygons through recording triangle and pixel routines.
#include "graphics/shaded_polygon.h"

#include "korvanthide/errors.h"
#include "core/errors_text.h"
#include "testing/report_capture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace korv;

namespace {

constexpr std::int32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, white = 0xFFFFFF;

struct Vertex {
    int x, y;
    std::int32_t rgb;
};

DeviceParameters polygon(const std::vector<Vertex>& vs)
{
    DeviceParameters p;
    for (const auto& v : vs) {
        p.poly_x.push_back(static_cast<float>(v.x));
        p.poly_y.push_back(static_cast<float>(v.y));
        p.shade_x.push_back(v.x);
        p.shade_y.push_back(v.y);
        p.shade_value.push_back(v.rgb);
    }
    p.shade_count = static_cast<int>(vs.size());
    return p;
}

int component(std::int32_t rgb, int k) { return (rgb >> (8 * k)) & 0xFF; }

struct Recorder {
    std::map<std::pair<int, int>, std::int32_t> pixels;
    std::vector<std::vector<int>> triangle_calls;
    int triangle_status = 0;

    ShadePixelRoutine pixel()
    {
        return [this](int x, int y, std::int32_t rgb) { pixels[{x, y}] = rgb; };
    }
    ShadeTriangleRoutine triangles()
    {
        return [this](std::span<const int>, std::span<const int>, std::span<const std::int32_t>,
                      std::span<const int> list) {
            triangle_calls.emplace_back(list.begin(), list.end());
            return triangle_status;
        };
    }
};

class Shading : public ::testing::Test {
protected:
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};
    ShadeClip clip{0, 0, 99, 99};

    void SetUp() override
    {
        err_routine_name_set("IGrPolygonShaded");
    }
};

TEST_F(Shading, SquareGivesTwoTrianglesAndTheCentreMixesTheSharedDiagonal)
{
    // Red, green, blue, white corners of a 40 by 40 square.
    auto p = polygon({{0, 0, red}, {40, 0, green}, {40, 40, blue}, {0, 40, white}});
    Recorder r;
    gr_shaded_polygon_split(p, 2, clip, r.pixel(), r.triangles());
    ASSERT_EQ(r.triangle_calls.size(), 1u);
    ASSERT_EQ(r.triangle_calls[0].size(), 6u);
    EXPECT_TRUE(r.pixels.empty());

    // Drawn per pixel, the centre lies on the shared diagonal: the mix of its ends.
    auto q = polygon({{0, 0, red}, {40, 0, green}, {40, 40, blue}, {0, 40, white}});
    gr_shaded_polygon_split(q, 1, clip, r.pixel(), r.triangles());
    EXPECT_EQ(r.triangle_calls.size(), 1u) << "mode 1 never calls the triangle routine";
    const auto& t = r.triangle_calls[0];
    std::vector<int> shared;
    for (int v : {t[0], t[1], t[2]})
        if (std::count(t.begin() + 3, t.end(), v))
            shared.push_back(v);
    ASSERT_EQ(shared.size(), 2u);
    const std::int32_t ends[2] = {q.shade_value[shared[0]], q.shade_value[shared[1]]};
    const std::int32_t centre = r.pixels.at({20, 20});
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(component(centre, k), (component(ends[0], k) + component(ends[1], k)) / 2.0, 2.0);
    // Corners keep their colours and the whole square is covered once.
    EXPECT_EQ(r.pixels.at({0, 0}), red);
    EXPECT_EQ(r.pixels.at({40, 0}), green);
    EXPECT_EQ(r.pixels.at({40, 40}), blue);
    EXPECT_EQ(r.pixels.at({0, 40}), white);
    EXPECT_EQ(r.pixels.size(), 41u * 41u);
}

TEST_F(Shading, CoincidentNeighboursMergeWithTheAverageColour)
{
    auto p = polygon({{0, 0, green}, {30, 0, red}, {30, 0, blue}, {30, 30, green}, {0, 30, green}});
    Recorder r;
    gr_shaded_polygon_split(p, 2, clip, r.pixel(), r.triangles());
    ASSERT_EQ(p.shade_count, 4);
    EXPECT_EQ(p.shade_value[1], 127 + 65536 * 127);
    EXPECT_EQ(p.poly_x.size(), 4u);
    ASSERT_EQ(r.triangle_calls.size(), 1u);
    EXPECT_EQ(r.triangle_calls[0].size(), 6u);
}

TEST_F(Shading, RepeatedClosingVertexIsDroppedAndAveragedIntoTheFirst)
{
    // A triangle given as four vertices, the last equal to the first.
    auto p = polygon({{0, 0, red}, {20, 0, green}, {0, 20, green}, {0, 0, blue}});
    Recorder r;
    gr_shaded_polygon_split(p, 2, clip, r.pixel(), r.triangles());
    EXPECT_EQ(p.shade_count, 3);
    EXPECT_EQ(p.shade_value[0], 127 + 65536 * 127);
    ASSERT_EQ(r.triangle_calls.size(), 1u);
    EXPECT_EQ(r.triangle_calls[0], (std::vector<int>{0, 1, 2}));
}

TEST_F(Shading, DegenerateInputDrawsNothing)
{
    Recorder r;
    auto collapsed = polygon({{5, 5, red}, {5, 5, green}, {9, 9, blue}});
    gr_shaded_polygon_split(collapsed, 1, clip, r.pixel(), r.triangles());
    auto above = polygon({{10, -50, red}, {30, -50, green}, {20, -10, blue}});
    gr_shaded_polygon_split(above, 1, clip, r.pixel(), r.triangles());
    auto one = polygon({{10, 10, red}});
    gr_shaded_polygon_split(one, 2, clip, r.pixel(), r.triangles());
    EXPECT_TRUE(r.pixels.empty());
    EXPECT_TRUE(r.triangle_calls.empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(Shading, FailedTriangleRoutineFallsBackToPixelsOrToNothing)
{
    Recorder r;
    r.triangle_status = 1;
    auto p = polygon({{0, 0, red}, {10, 0, red}, {0, 10, red}});
    gr_shaded_polygon_split(p, 2, clip, r.pixel(), r.triangles());
    EXPECT_EQ(r.triangle_calls.size(), 1u);
    EXPECT_EQ(r.pixels.size(), 66u); // 11 + 10 + ... + 1
    EXPECT_EQ(r.pixels.at({0, 10}), red);

    Recorder none;
    none.triangle_status = 1;
    auto q = polygon({{0, 0, red}, {10, 0, red}, {0, 10, red}});
    gr_shaded_polygon_split(q, 2, clip, {}, none.triangles());
    EXPECT_TRUE(none.pixels.empty());
}

TEST_F(Shading, ConcavePolygonIsCoveredWithoutLeavingIt)
{
    // An L: nothing may be drawn in the notch (x > 10 and y > 10).
    auto p = polygon({{0, 0, red}, {30, 0, red}, {30, 10, green}, {10, 10, green}, {10, 30, blue}, {0, 30, blue}});
    Recorder r;
    gr_shaded_polygon_split(p, 1, clip, r.pixel(), {});
    for (const auto& [xy, rgb] : r.pixels)
        EXPECT_FALSE(xy.first > 10 && xy.second > 10) << xy.first << "," << xy.second;
    EXPECT_EQ(r.pixels.size(), 31u * 11u + 20u * 11u);
    EXPECT_TRUE(reports.empty());

    const auto tris = gr_triangulate_polygon(p.poly_x, p.poly_y);
    EXPECT_EQ(tris.size(), 12u);
}

TEST_F(Shading, BowTieReportsOnceAndDrawsTheLastAttempt)
{
    auto p = polygon({{0, 0, red}, {40, 40, green}, {40, 0, blue}, {0, 40, white}});
    const auto found = gr_triangulate_polygon(p.poly_x, p.poly_y);
    reports.clear();
    Recorder r;
    gr_shaded_polygon_split(p, 2, clip, r.pixel(), r.triangles());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Routine:IGrPolygonShaded Error=  28:Borders cross in simple polygon definition"),
              std::string::npos);
    if (found.empty()) {
        EXPECT_TRUE(r.triangle_calls.empty());
    } else {
        ASSERT_EQ(r.triangle_calls.size(), 1u);
        EXPECT_EQ(r.triangle_calls[0], found);
    }
}

TEST_F(Shading, ClipBoxBoundsEveryPixel)
{
    auto p = polygon({{-1000000, -5, red}, {1000000, -5, green}, {0, 2000000000, blue}});
    Recorder r;
    gr_shaded_polygon_split(p, 1, ShadeClip{2, 3, 12, 8}, r.pixel(), {});
    EXPECT_EQ(r.pixels.size(), 11u * 6u);
    for (const auto& [xy, rgb] : r.pixels) {
        EXPECT_GE(xy.first, 2);
        EXPECT_LE(xy.first, 12);
        EXPECT_GE(xy.second, 3);
        EXPECT_LE(xy.second, 8);
    }
}

} // namespace
