// Cleaning, ear-clipping triangulation and Gouraud scan conversion of
// colour-shaded polygons.
#include "graphics/shaded_polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"

namespace korv {
namespace {

int usable_count(const DeviceParameters& p)
{
    const std::size_t n = std::min({p.poly_x.size(), p.poly_y.size(), p.shade_x.size(), p.shade_y.size(),
                                    p.shade_value.size(), static_cast<std::size_t>(std::max(p.shade_count, 0))});
    return static_cast<int>(n);
}

bool same_pixel(const DeviceParameters& p, int a, int b)
{
    return p.shade_x[a] == p.shade_x[b] && p.shade_y[a] == p.shade_y[b];
}

struct Rgb {
    int r = 0, g = 0, b = 0;
    void add(std::int32_t v)
    {
        r += v & 0xFF;
        g += (v >> 8) & 0xFF;
        b += (v >> 16) & 0xFF;
    }
    std::int32_t average(int count) const { return r / count + 256 * (g / count) + 65536 * (b / count); }
};

template <class T> void erase_at(std::vector<T>& v, int i)
{
    if (i < static_cast<int>(v.size()))
        v.erase(v.begin() + i);
}

void remove_vertex(DeviceParameters& p, int i)
{
    erase_at(p.poly_x, i);
    erase_at(p.poly_y, i);
    erase_at(p.shade_x, i);
    erase_at(p.shade_y, i);
    erase_at(p.shade_value, i);
}

// Merges runs of neighbours on the same pixel into their first vertex with
// the average colour, then a closing vertex equal to the first. False when
// the polygon collapsed to a degenerate triangle: nothing is to be drawn.
bool clean_vertices(DeviceParameters& p, int& n)
{
    for (int c = 0; c + 1 < n; ++c) {
        if (!same_pixel(p, c, c + 1))
            continue;
        Rgb sum;
        sum.add(p.shade_value[c]);
        int merged = 1;
        while (c + 1 < n && same_pixel(p, c, c + 1)) {
            if (n == 3)
                return false;
            sum.add(p.shade_value[c + 1]);
            ++merged;
            remove_vertex(p, c + 1);
            --n;
        }
        p.shade_value[c] = sum.average(merged);
    }
    if (n >= 2 && same_pixel(p, 0, n - 1)) {
        if (n == 3)
            return false;
        Rgb sum;
        sum.add(p.shade_value[0]);
        sum.add(p.shade_value[n - 1]);
        p.shade_value[0] = sum.average(2);
        remove_vertex(p, n - 1);
        --n;
    }
    return true;
}

// One attempt of ear clipping from a given start vertex.
class EarWalk {
public:
    EarWalk(std::span<const float> x, std::span<const float> y) : x_(x), y_(y), n_(static_cast<int>(x.size())) {}

    // False when n corners in a row gave no ear; triangles() then holds what
    // this attempt found. An empty result with true: every vertex coincides.
    bool run(int start);
    const std::vector<int>& triangles() const { return triangles_; }

private:
    static constexpr int free_mark = 0, reflex = -1, removed = -2; // > 0: blocking vertex + 1

    bool same_position(int a, int b) const { return x_[a] == x_[b] && y_[a] == y_[b]; }
    int after(int v) const
    {
        int w = v;
        do
            w = (w + 1) % n_;
        while (mark_[w] == removed && w != v);
        return w;
    }
    bool clockwise_at(int s, bool& found) const;
    bool convex(int prev, int cur, int next) const;
    int blocker(int prev, int cur, int next) const;
    bool blocks(int v, int a, int b, int c) const;

    std::span<const float> x_, y_;
    int n_;
    bool clockwise_ = false;
    std::vector<int> mark_;
    std::vector<int> triangles_;
};

bool EarWalk::clockwise_at(int s, bool& found) const
{
    int prev = s, next = s;
    found = false;
    for (int i = 1; i < n_; ++i) {
        const int v = (s - i + n_) % n_;
        if (!same_position(v, s)) {
            prev = v;
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    for (int i = 1; i < n_; ++i) {
        const int v = (s + i) % n_;
        if (!same_position(v, s)) {
            next = v;
            break;
        }
    }
    return (x_[next] - x_[s]) * (y_[s] - y_[prev]) > (x_[s] - x_[prev]) * (y_[next] - y_[s]);
}

bool EarWalk::convex(int prev, int cur, int next) const
{
    const bool left_or_straight =
        (x_[next] - x_[cur]) * (y_[cur] - y_[prev]) <= (y_[next] - y_[cur]) * (x_[cur] - x_[prev]);
    return clockwise_ ? !left_or_straight : left_or_straight;
}

// Whether vertex v lies in the triangle (a, b, c), its borders included.
bool EarWalk::blocks(int v, int a, int b, int c) const
{
    // The box is widened by one unit in the last place so that points on a
    // slanted border still reach the side tests below.
    constexpr float slack = 1.1920929e-7f;
    const float px = x_[v], py = y_[v];
    const float lo_x = std::min({x_[a], x_[b], x_[c]}), hi_x = std::max({x_[a], x_[b], x_[c]});
    const float lo_y = std::min({y_[a], y_[b], y_[c]}), hi_y = std::max({y_[a], y_[b], y_[c]});
    if (!(px > lo_x - slack * std::fabs(lo_x) && px < hi_x + slack * std::fabs(hi_x) &&
          py > lo_y - slack * std::fabs(lo_y) && py < hi_y + slack * std::fabs(hi_y)))
        return false;
    const int corners[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        const int e = corners[i], f = corners[(i + 1) % 3];
        if (y_[e] == y_[f] && py == y_[e] && px >= std::min(x_[e], x_[f]) && px <= std::max(x_[e], x_[f]))
            return true;
        if (x_[e] == x_[f] && px == x_[e] && py >= std::min(y_[e], y_[f]) && py <= std::max(y_[e], y_[f]))
            return true;
    }
    for (int i = 0; i < 3; ++i) {
        const int k = corners[i], m = corners[(i + 1) % 3], o = corners[(i + 2) % 3];
        const bool side_m = (px - x_[k]) * (y_[m] - y_[k]) <= (py - y_[k]) * (x_[m] - x_[k]);
        const bool side_o = (px - x_[k]) * (y_[o] - y_[k]) <= (py - y_[k]) * (x_[o] - x_[k]);
        if (side_m == side_o)
            return false;
    }
    return true;
}

int EarWalk::blocker(int prev, int cur, int next) const
{
    for (int v = after(next); v != prev && v != cur; v = after(v))
        if (blocks(v, prev, cur, next))
            return v;
    return -1;
}

bool EarWalk::run(int start)
{
    mark_.assign(n_, free_mark);
    triangles_.clear();
    bool found = false;
    clockwise_ = clockwise_at(start, found);
    if (!found)
        return true;

    int prev = (start - 1 + n_) % n_;
    int cur = start;
    int without_ear = 0;
    while (true) {
        int next = after(cur);
        while (next != cur && next != prev && same_position(next, cur)) {
            mark_[next] = removed;
            next = after(cur);
        }
        if (next == prev || next == cur)
            return true;

        const int m = mark_[cur];
        const bool blocked = m > 0 && mark_[m - 1] != removed;
        if (m != reflex && !blocked) {
            if (!convex(prev, cur, next)) {
                mark_[cur] = reflex;
            } else if (const int b = blocker(prev, cur, next); b >= 0) {
                mark_[cur] = b + 1;
            } else {
                triangles_.insert(triangles_.end(), {prev, cur, next});
                mark_[cur] = removed;
                mark_[prev] = free_mark;
                mark_[next] = free_mark;
                without_ear = 0;
                cur = next;
                continue;
            }
        }
        if (++without_ear >= n_)
            return false;
        prev = cur;
        cur = next;
    }
}

} // namespace

std::vector<int> gr_triangulate_polygon(std::span<const float> x, std::span<const float> y)
{
    const std::size_t n = std::min(x.size(), y.size());
    if (n < 3)
        return {};
    x = x.first(n);
    y = y.first(n);
    const int first_start = static_cast<int>(std::max_element(y.begin(), y.end()) - y.begin());
    EarWalk walk(x, y);
    int start = first_start;
    while (true) {
        if (walk.run(start))
            return walk.triangles();
        start = (start + 1) % static_cast<int>(n);
        if (start == first_start)
            break;
    }
    // Every start failed once; the walk from the first start is the last
    // attempt, and its triangles are what gets drawn.
    walk.run(first_start);
    err_report_current(err::polygon_borders_cross);
    return walk.triangles();
}

void gr_shade_triangle(const DeviceParameters& p, int a, int b, int c, ShadeClip clip, const ShadePixelRoutine& pixel)
{
    if (!pixel)
        return;
    const int v[3] = {a, b, c};
    float colour[3][3];
    for (int i = 0; i < 3; ++i) {
        const std::int32_t rgb = p.shade_value[v[i]];
        colour[i][0] = static_cast<float>(rgb & 0xFF) / 255.0f;
        colour[i][1] = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
        colour[i][2] = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
    }
    const int top = std::max(clip.top, std::min({p.shade_y[a], p.shade_y[b], p.shade_y[c]}));
    const int bottom = std::min(clip.bottom, std::max({p.shade_y[a], p.shade_y[b], p.shade_y[c]}));
    // Edges 3->1, 1->2, 2->3.
    constexpr int edges[3][2] = {{2, 0}, {0, 1}, {1, 2}};
    for (int y = top; y <= bottom; ++y) {
        long long left = static_cast<long long>(clip.right) + 1, right = static_cast<long long>(clip.left) - 1;
        float left_colour[3] = {}, right_colour[3] = {};
        for (const auto& e : edges) {
            const int ia = e[0], ib = e[1];
            const int ya = p.shade_y[v[ia]], yb = p.shade_y[v[ib]];
            if (ya == yb || y < std::min(ya, yb) || y > std::max(ya, yb))
                continue;
            const float t = static_cast<float>(y - ya) / static_cast<float>(yb - ya);
            const float fx = static_cast<float>(p.shade_x[v[ia]]) * (1 - t) + static_cast<float>(p.shade_x[v[ib]]) * t;
            const long long x = static_cast<long long>(std::trunc(fx + 0.5f));
            float mix[3];
            for (int k = 0; k < 3; ++k)
                mix[k] = colour[ia][k] * (1 - t) + colour[ib][k] * t;
            if (x < left) {
                left = x;
                std::copy(mix, mix + 3, left_colour);
            }
            if (x > right) {
                right = x;
                std::copy(mix, mix + 3, right_colour);
            }
        }
        if (left > clip.right || right < clip.left)
            continue;
        float step[3] = {};
        if (right > left)
            for (int k = 0; k < 3; ++k)
                step[k] = (right_colour[k] - left_colour[k]) / static_cast<float>(right - left);
        const long long first = std::max<long long>(left, clip.left);
        const long long last = std::min<long long>(right, clip.right);
        float current[3];
        for (int k = 0; k < 3; ++k)
            current[k] = left_colour[k] + step[k] * static_cast<float>(first - left);
        for (long long x = first; x <= last; ++x) {
            auto byte = [](float f) { return static_cast<std::int32_t>(std::clamp(f, 0.0f, 1.0f) * 255.99f); };
            pixel(static_cast<int>(x), y, byte(current[0]) + 256 * byte(current[1]) + 65536 * byte(current[2]));
            for (int k = 0; k < 3; ++k)
                current[k] += step[k];
        }
    }
}

void gr_shaded_polygon_split(DeviceParameters& p, int shading_mode, ShadeClip clip, const ShadePixelRoutine& pixel,
                             const ShadeTriangleRoutine& triangle_routine)
{
    int n = usable_count(p);
    if (n >= 2 && !clean_vertices(p, n))
        return;
    p.shade_count = n;
    if (n < 3)
        return;
    std::vector<int> triangles;
    if (n == 3)
        triangles = {0, 1, 2};
    else
        triangles = gr_triangulate_polygon(std::span(p.poly_x).first(n), std::span(p.poly_y).first(n));
    if (triangles.empty())
        return;
    if (shading_mode == 2 && triangle_routine) {
        const int status = triangle_routine(std::span(p.shade_x).first(n), std::span(p.shade_y).first(n),
                                            std::span(p.shade_value).first(n), triangles);
        if (status == 0)
            return;
    }
    for (std::size_t t = 0; t + 2 < triangles.size(); t += 3)
        gr_shade_triangle(p, triangles[t], triangles[t + 1], triangles[t + 2], clip, pixel);
}

} // namespace korv
