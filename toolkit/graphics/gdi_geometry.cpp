#include "graphics/gdi_geometry.h"
#include "core/context.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace korv {

namespace {

int sign(long long v)
{
    return (v > 0) - (v < 0);
}

// Co-ordinates near the ends of the int range are worked out wide and
// brought back to the nearest int.
int sat(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

const DashTable dash_bases[8] = {
    {0, {}},
    {2, {1, 4}},
    {2, {8, 6}},
    {4, {1, 4, 8, 4}},
    {6, {1, 4, 1, 4, 8, 4}},
    {4, {8, 4, 4, 4}},
    {2, {4, 4}},
    {6, {8, 4, 4, 4, 4, 4}},
};

} // namespace

LineEnd gdi_line_end(int x1, int y1, int x2, int y2)
{
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    if (dx == 0 && dy == 0)
        return {sat(x2 + 1LL), y2, false}; // a one-pixel line: draw that pixel
    if (dx == 0)
        return {x2, sat(y2 + static_cast<long long>(sign(dy))), false};
    if (dy == 0)
        return {sat(x2 + static_cast<long long>(sign(dx))), y2, false};
    if (std::llabs(dx) == std::llabs(dy))
        return {sat(x2 + static_cast<long long>(sign(dx))), sat(y2 + static_cast<long long>(sign(dy))), false};
    return {x2, y2, true};
}

DashTables::DashTables()
{
    std::copy(std::begin(dash_bases), std::end(dash_bases), base.begin());
    scaled = base;
}

void gdi_dash_tables_scale(DashTables& tables, int r0, int r1, int line_width)
{
    if (r0 <= 0 || r1 <= 0)
        r0 = r1 = 1;
    for (std::size_t type = 1; type < tables.base.size(); ++type) {
        DashTable t = tables.base[type];
        for (int i = 0; i < t.count; ++i) {
            const long long v = static_cast<long long>(t.lengths[i]) * r1 / r0;
            t.lengths[i] = static_cast<std::uint32_t>(std::max(v, 1LL));
            if (line_width >= 2 && i % 2 == 1)
                t.lengths[i] += static_cast<std::uint32_t>(line_width - 1);
        }
        tables.scaled[type] = t;
    }
}

int gdi_pen_style(int line_type)
{
    constexpr int styles[8] = {0, 2, 1, 3, 4, 3, 1, 4};
    return line_type >= 0 && line_type <= 7 ? styles[line_type] : -1;
}

Box gdi_shape_box(int xc, int yc, int rx, int ry, bool checker)
{
    const long long grow = checker ? 3 : 2;
    return {sat(static_cast<long long>(xc) - rx - 1), sat(static_cast<long long>(yc) - ry - 1),
            sat(static_cast<long long>(xc) + rx + grow), sat(static_cast<long long>(yc) + ry + grow)};
}

std::vector<Box> gdi_block_vacated(int x, int y, int xd, int yd, int width, int height)
{
    std::vector<Box> out;
    if (width <= 0 || height <= 0)
        return out;
    const Box src{x, y, sat(static_cast<long long>(x) + width - 1), sat(static_cast<long long>(y) + height - 1)};
    const Box dst{xd, yd, sat(static_cast<long long>(xd) + width - 1), sat(static_cast<long long>(yd) + height - 1)};
    const bool overlap = src.left <= dst.right && dst.left <= src.right && src.top <= dst.bottom &&
                         dst.top <= src.bottom;
    if (!overlap) {
        out.push_back(src);
        return out;
    }
    if (xd == x && yd == y)
        return out;
    // Rows of the source that the destination does not reach.
    int top = src.top, bottom = src.bottom;
    if (yd > y) {
        out.push_back({src.left, src.top, src.right, sat(dst.top - 1LL)});
        top = dst.top;
    } else if (yd < y) {
        out.push_back({src.left, sat(dst.bottom + 1LL), src.right, src.bottom});
        bottom = dst.bottom;
    }
    // Columns beside the destination in the remaining rows.
    if (xd > x)
        out.push_back({src.left, top, sat(dst.left - 1LL), bottom});
    else if (xd < x)
        out.push_back({sat(dst.right + 1LL), top, src.right, bottom});
    return out;
}

Point gdi_text_anchor(int x1, int y1, int x2, int y2, int alignment)
{
    switch (alignment) {
    case 1:
        return {sat((static_cast<long long>(x1) + x2) / 2), sat((static_cast<long long>(y1) + y2) / 2)};
    case 2:
        return {x2, y2};
    default:
        return {x1, y1};
    }
}

FontFace gdi_font_face(int family)
{
    switch (family) {
    case 1:
        return {"Courier New", 0x30 /*FF_MODERN*/, 0};
    case 2:
        return {"Arial", 0x20 /*FF_SWISS*/, 0};
    case 3:
        return {"Times New Roman", 0x10 /*FF_ROMAN*/, 0};
    case 4:
        return {"Symbol", 0x10 /*FF_ROMAN*/, 2};
    default:
        return {"", 0 /*FF_DONTCARE*/, 1};
    }
}

PointBuffer& point_buffer()
{
    return toolkit_context().record<PointBuffer>(ContextSlot::point_buffer);
}

void gdi_points_alloc(int n)
{
    point_buffer().xy.assign(static_cast<std::size_t>(std::max(n, 0)) * 2, 0);
}

void gdi_point_put(int x, int y, int i)
{
    auto& xy = point_buffer().xy;
    if (i < 0 || static_cast<std::size_t>(i) * 2 + 1 >= xy.size())
        return;
    xy[static_cast<std::size_t>(i) * 2] = x;
    xy[static_cast<std::size_t>(i) * 2 + 1] = y;
}

void gdi_points_free()
{
    point_buffer().xy.clear();
    point_buffer().xy.shrink_to_fit();
}

int gdi_points_capacity()
{
    return static_cast<int>(point_buffer().xy.size() / 2);
}

} // namespace korv
