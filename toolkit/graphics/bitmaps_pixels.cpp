#include "graphics/bitmaps_pixels.h"

#include <algorithm>
#include <limits>

namespace korv {

std::int32_t bitmap_blend(std::int32_t source, std::int32_t dest, int t)
{
    const auto s = static_cast<std::uint32_t>(source);
    const auto d = static_cast<std::uint32_t>(dest);
    const auto keep = static_cast<std::uint32_t>(255 - t);
    const auto take = static_cast<std::uint32_t>(t);
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF;
        const std::uint32_t dc = (d >> shift) & 0xFF;
        out |= (keep * sc / 255 + take * dc / 255) << shift;
    }
    return static_cast<std::int32_t>(out);
}

void bitmap_draw_blended(std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int width,
                         int height, int mode, int factor, const PixelRead& read, const PixelWrite& write)
{
    if (mode < 0 || mode > 2 || x2 < x1 || y2 < y1)
        return;
    factor = std::clamp(factor, 0, 255);
    if (mode == 1 && factor == 255)
        return;
    // Sizes and corners may be anywhere in the integer range: the limits
    // and offsets are worked out wide.
    const long long row = static_cast<long long>(x2) - x1 + 1;
    const long long cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
    // Only rows and columns that the array reaches are walked.
    const long long count = static_cast<long long>(pixels.size());
    const long long cx2 = std::min({static_cast<long long>(x2), static_cast<long long>(width) - 1, x1 + count - 1});
    const long long cy2 = std::min({static_cast<long long>(y2), static_cast<long long>(height) - 1, y1 + count / row});
    for (long long y = cy2; y >= cy1; --y) {
        for (long long x = cx1; x <= cx2; ++x) {
            const long long at = (y - y1) * row + (x - x1);
            if (at < 0 || at >= count)
                continue;
            const std::int32_t value = pixels[static_cast<std::size_t>(at)];
            const int top = static_cast<int>((static_cast<std::uint32_t>(value) >> 24) & 0xFF);
            const std::int32_t rgb = value & 0xFFFFFF;
            int t = 0;
            switch (mode) {
            case 0:
                if (top == 255)
                    continue;
                t = top;
                break;
            case 1:
                t = factor;
                break;
            default:
                if (top == 255)
                    continue;
                t = factor;
                break;
            }
            const int px = static_cast<int>(x), py = static_cast<int>(y);
            write(px, py, t == 0 ? rgb : bitmap_blend(rgb, read(px, py), t));
        }
    }
}

namespace {

// A position worked out wide, held at the ends of the integer range.
int saturated(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

PixelPos bitmap_rotated_position(int x, int y, int width, int height, int angle)
{
    const long long mirrored_x = static_cast<long long>(width) - 1 - x;
    const long long mirrored_y = static_cast<long long>(height) - 1 - y;
    switch (angle) {
    case 90:
        return {y, saturated(mirrored_x)};
    case 180:
        return {saturated(mirrored_x), saturated(mirrored_y)};
    case 270:
        return {saturated(mirrored_y), x};
    default:
        return {x, y};
    }
}

bool bitmap_rotation_valid(int angle)
{
    return angle == 90 || angle == 180 || angle == 270;
}

} // namespace korv
