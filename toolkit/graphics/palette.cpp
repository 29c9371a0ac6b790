#include "graphics/palette.h"

#include "korvanthide/drawing.h"
#include "core/context.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace korv {

ColourTable256& colour_table()
{
    return toolkit_context().record<ColourTable256>(ContextSlot::palette);
}

namespace {

// First value and step of each block of 16 default entries.
struct Block {
    std::int32_t first;
    std::int32_t step;
};
constexpr Block default_blocks[16] = {
    {0xFFFFFF, -0x040404}, {0x0000C3, 0x000004}, {0x000083, 0x000004}, {0x00C3C3, 0x000404},
    {0x008383, 0x000404},  {0x00C300, 0x000400}, {0x008300, 0x000400}, {0xC3C300, 0x040400},
    {0x838300, 0x040400},  {0xC30000, 0x040000}, {0x830000, 0x040000}, {0xC300C3, 0x040004},
    {0x830083, 0x040004},  {0x3C3C3C, -0x040404}, {0x7C7C7C, -0x040404}, {0xBFBFBF, -0x040404},
};

constexpr int basic_entries[8] = {0, 159, 95, 127, 31, 191, 63, 223};
constexpr int colour16_entries[16] = {0, 175, 111, 143, 47, 207, 79, 239, 240, 159, 95, 127, 31, 191, 63, 223};
constexpr int colour16_rows[2][8] = {{0, 4, 6, 2, 3, 1, 5, 7}, {0, 5, 3, 4, 1, 6, 2, 7}};

void cone_put(ColourTable256& table, int index)
{
    float h = 0, s = 0, v = 0;
    gr_rgb_to_hsv(table.palette_rgb[index], h, s, v);
    table.cone_v[index] = v;
    table.cone_x[index] = v * s * std::cos(h);
    table.cone_y[index] = v * s * std::sin(h);
}

bool reduced_count(int count)
{
    return count == 32 || count == 64 || count == 128;
}

bool near(float a, float b)
{
    return std::fabs(a - b) < 0.039f;
}

} // namespace

void colour_table_build(ColourTable256& table, int device_colour_count)
{
    for (int b = 0; b < 16; ++b)
        for (int i = 0; i < 16; ++i)
            table.palette_rgb[16 * b + i] = default_blocks[b].first + i * default_blocks[b].step;
    for (int k = 0; k < 8; ++k)
        table.basic_rgb[k] = table.palette_rgb[basic_entries[k]];
    for (int k = 0; k < 16; ++k)
        table.colour16_rgb[k] = table.palette_rgb[colour16_entries[k]];
    if (reduced_count(device_colour_count)) {
        const int step = 256 / device_colour_count;
        for (int w = 0; w < device_colour_count; ++w) {
            int j = w * step;
            if (j >= 16 && j <= 239)
                j += step - 1;
            table.reduced_rgb[w] = table.palette_rgb[j];
        }
    }
    for (int i = 0; i < 256; ++i)
        cone_put(table, i);
}

void colour_table_put(ColourTable256& table, int index, std::int32_t rgb, int device_colour_count)
{
    if (index < 0 || index > 255)
        return;
    table.palette_rgb[index] = rgb;
    const int m = gr_colour16_map(((index + 16) / 32) % 8, 0);
    table.basic_rgb[m] = rgb;
    if ((index / 16) % 2 == 1)
        table.colour16_rgb[m + 8] = rgb;
    else
        table.colour16_rgb[m] = rgb;
    if (reduced_count(device_colour_count))
        table.reduced_rgb[index * device_colour_count / 256] = rgb;
    cone_put(table, index);
}

int colour_nearest_index(const ColourTable256& table, std::int32_t rgb)
{
    for (int i = 0; i < 256; ++i)
        if (table.palette_rgb[i] == rgb)
            return i;
    float h = 0, s = 0, v = 0;
    gr_rgb_to_hsv(rgb, h, s, v);
    const float px = v * s * std::cos(h);
    const float py = v * s * std::sin(h);
    float best = 9999999.0f;
    int answer = 0;
    for (int i = 0; i < 256; ++i) {
        const float dx = px - table.cone_x[i];
        const float dy = py - table.cone_y[i];
        const float dv = v - table.cone_v[i];
        const float d = dx * dx + dy * dy + dv * dv;
        if (d < best) {
            best = d;
            answer = i;
        }
    }
    return answer;
}

int colour_device_number(int index, int count)
{
    if (index == -1)
        return -1;
    if (index == 0)
        return 0;
    switch (count) {
    case 1:
    case 2:
        return 1;
    case 4:
    case 8:
        return gr_colour16_map(((index + 16) / 32) % 8, 0);
    case 16: {
        const int n = ((index + 16) / 32) % 8;
        return gr_colour16_map(n, 0) + ((index + 16) % 32 < 16 ? 8 : 0);
    }
    case 32:
    case 64:
    case 128:
        return index * count / 256;
    case 256:
        return index % 256;
    default:
        return 0;
    }
}

// ---- routines shared with the drivers ----

std::int32_t gr_rgb_pack(int red, int green, int blue)
{
    // No masking: callers pass components 0..255. Unsigned arithmetic keeps
    // out-of-range input from overflowing.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(red) + 256u * static_cast<std::uint32_t>(green) +
                                     65536u * static_cast<std::uint32_t>(blue));
}

void gr_rgb_unpack(std::int32_t rgb, int* red, int* green, int* blue)
{
    const auto u = static_cast<std::uint32_t>(rgb);
    if (red)
        *red = static_cast<int>(u & 0xFF);
    if (green)
        *green = static_cast<int>((u >> 8) & 0xFF);
    if (blue)
        *blue = static_cast<int>((u >> 16) & 0xFF);
}

void gr_rgb_to_hsv(std::int32_t rgb, float& h, float& s, float& v)
{
    const int r = rgb % 256;
    const int g = (rgb / 256) % 256;
    const int b = (rgb / 65536) % 256;
    const int hi = std::max(r, std::max(g, b));
    const int lo = std::min(r, std::min(g, b));
    v = hi / 255.0f;
    if (hi == lo) {
        h = 0;
        s = 0;
        return;
    }
    const float rf = r / 255.0f, gf = g / 255.0f, bf = b / 255.0f;
    const float m = lo / 255.0f;
    const float d = v - m;
    const float rc = (v - rf) / d, gc = (v - gf) / d, bc = (v - bf) / d;
    float big_h;
    if (near(rf, v))
        big_h = near(gf, m) ? 5 + bc : 1 - gc;
    else if (near(gf, v))
        big_h = near(bf, m) ? 1 + rc : 3 - bc;
    else
        big_h = near(rf, m) ? 3 + gc : 5 - rc;
    s = d / v;
    h = big_h * 60.0f * 0.017453292f;
}

int gr_colour16_map(int n, int row)
{
    if (n < 0 || n > 15 || row < 0 || row > 1)
        return -1;
    return colour16_rows[row][n % 8] + (n >= 8 ? 8 : 0);
}

int gr_colour_name_code(std::string_view name)
{
    std::size_t start = name.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return -1;
    std::size_t end = name.find(' ', start);
    std::string_view word = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    std::string up(word.substr(0, 4));
    for (char& c : up)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    int bright = 0;
    std::string_view rest = up;
    if (up[0] == 'B' && (up.size() < 2 || up[1] != 'L')) {
        bright = 8;
        rest = rest.substr(1);
    }
    if (rest.substr(0, 3) == "BLA")
        return bright;
    if (rest.substr(0, 3) == "BLU")
        return 1 + bright;
    if (rest.empty())
        return -1;
    constexpr std::string_view letters = "GCRMYW";
    const std::size_t at = letters.find(rest[0]);
    if (at == std::string_view::npos)
        return -1;
    return static_cast<int>(at) + 2 + bright;
}

// Entries outside a table read as black rather than beyond its end.
std::int32_t gr_colour_table_get(int index)
{
    return index >= 0 && index < 256 ? colour_table().palette_rgb[index] : 0;
}

std::int32_t gr_colour16_get(int k)
{
    return k >= 0 && k < 16 ? colour_table().colour16_rgb[k] : 0;
}

std::int32_t gr_colour_reduced_get(int w)
{
    return w >= 0 && w < 128 ? colour_table().reduced_rgb[w] : 0;
}

std::int32_t gr_colour_basic_get(int k)
{
    return k >= 0 && k < 8 ? colour_table().basic_rgb[k] : 0;
}

int gr_colour_nearest_index(std::int32_t rgb)
{
    return colour_nearest_index(colour_table(), rgb);
}

} // namespace korv
