#include "graphics/bitmaps_pixels.h"

#include <algorithm>

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
    const long long row = static_cast<long long>(x2) - x1 + 1;
    const int cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
    const int cx2 = std::min(x2, width - 1), cy2 = std::min(y2, height - 1);
    for (int y = cy2; y >= cy1; --y) {
        for (int x = cx1; x <= cx2; ++x) {
            const long long at = (static_cast<long long>(y) - y1) * row + (x - x1);
            if (at < 0 || at >= static_cast<long long>(pixels.size()))
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
            write(x, y, t == 0 ? rgb : bitmap_blend(rgb, read(x, y), t));
        }
    }
}

PixelPos bitmap_rotated_position(int x, int y, int width, int height, int angle)
{
    switch (angle) {
    case 90:
        return {y, width - 1 - x};
    case 180:
        return {width - 1 - x, height - 1 - y};
    case 270:
        return {height - 1 - y, x};
    default:
        return {x, y};
    }
}

bool bitmap_rotation_valid(int angle)
{
    return angle == 90 || angle == 180 || angle == 270;
}

} // namespace korv
