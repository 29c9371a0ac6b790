#include "hardcopy/drivers/halftone.h"

#include <algorithm>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "core/context.h"
#include "hardcopy/control/hardcopy_state.h"

namespace korv {

namespace {

unsigned rotated(unsigned v, int s)
{
    const unsigned shifted = v << s;
    return (shifted + ((shifted & 0xFF00u) >> 8)) & 0xFFu;
}

// Red, green, blue turned by the inversion option: 1 all colours, 2 only
// near-black and near-white ones.
void invert(int inversion, std::array<int, 3>& c)
{
    const bool dark = std::all_of(c.begin(), c.end(), [](int v) { return v < 10; });
    const bool light = std::all_of(c.begin(), c.end(), [](int v) { return v > 245; });
    if (inversion == 1 || (inversion == 2 && (dark || light)))
        for (int& v : c)
            v = 255 - v;
}

} // namespace

HalftoneMask hc_halftone_level_mask(int plane, float fraction)
{
    int n = static_cast<int>(32.0f * fraction + 0.5f);
    if (n <= 0)
        return 0;
    if (fraction > 0.975f)
        return 0xFFFFFFFFu;
    const int run = std::max(1, n / std::max(32 - n, 1));
    const int gap = std::max(1, (32 - n) / std::max(n, 1));
    std::uint32_t bits = 0;
    int pos = ((plane + 2) * (n / (plane + 1))) % 32;
    int k = 0;
    for (int step = 0; step < 32; ++step) {
        if (k < run && n > 0 && (bits & (1u << pos)) == 0) {
            bits |= 1u << pos;
            ++k;
            --n;
            pos = (pos + 1) % 32;
        } else {
            pos = (pos + gap) % 32;
            k = 0;
        }
    }
    for (int j = 0; j < 32 && n > 0; ++j) {
        if ((bits & (1u << j)) == 0) {
            bits |= 1u << j;
            --n;
        }
        if (n > 0 && (bits & (1u << (31 - j))) == 0) {
            bits |= 1u << (31 - j);
            --n;
        }
    }
    // Equal rows would line the pattern up into stripes: each row equal to
    // an earlier one is turned, and rows above it that then match it too.
    std::array<unsigned, 4> row{};
    for (int r = 0; r < 4; ++r)
        row[static_cast<std::size_t>(r)] = (bits >> (8 * r)) & 0xFFu;
    for (std::size_t k0 = 0; k0 < 4; ++k0) {
        if (row[k0] == 0 || row[k0] == 255)
            continue;
        for (std::size_t m = k0 + 1; m < 4; ++m) {
            if (row[m] != row[k0])
                continue;
            row[m] = rotated(row[m], plane + 2);
            for (std::size_t j = m; j-- > 0;)
                if (row[j] == row[m])
                    row[j] = rotated(row[j], plane + 1);
        }
    }
    return row[0] | (row[1] << 8) | (row[2] << 16) | (row[3] << 24);
}

HalftoneMasks hc_halftone_masks(int mode)
{
    const GraphicsState& g = graphics_state();
    std::array<int, 3> c{};
    gr_colour_components(g.colour_mode == 2 ? g.cur_rgb : g.cur_index, c[0], c[1], c[2]);
    const int inversion = hardcopy_state().options.get(option_colour_inversion);
    invert(inversion, c);
    // Monochrome: two colours or fewer.
    const bool monochrome = g.hardcopy_colour_count <= 2;
    if (mode == 2 && !monochrome)
        for (int& v : c)
            v = 255 - v;
    HalftoneMasks masks;
    if (monochrome) {
        // The weights add up to 1.05, so white comes out above 1 and full.
        const float f = (0.35f * static_cast<float>(c[0]) + 0.59f * static_cast<float>(c[1]) +
                         0.11f * static_cast<float>(c[2])) /
                        255.0f;
        HalftoneMask m = hc_halftone_level_mask(1, f);
        if (inversion > 0)
            m = ~m;
        masks = {m, m, m};
        if (g.colour_mode == 1 && g.cur_index >= 0 && g.cur_index < 256) {
            const HalftoneOverride& o = halftone_override_table()[static_cast<std::size_t>(g.cur_index)];
            if (o.key >= 0)
                masks.plane1 = o.mask;
        }
        return masks;
    }
    masks.plane1 = hc_halftone_level_mask(1, static_cast<float>(c[0]) / 255.0f);
    const auto [low, high] = std::minmax({c[0], c[1], c[2]});
    if (high - low < 4) {
        masks.plane2 = masks.plane3 = masks.plane1;
    } else {
        masks.plane2 = hc_halftone_level_mask(2, static_cast<float>(c[1]) / 255.0f);
        masks.plane3 = hc_halftone_level_mask(3, static_cast<float>(c[2]) / 255.0f);
    }
    return masks;
}

void hc_raster_mask_tables(RasterDitherTables& tables)
{
    const auto level = [](int l) { return l == 0 ? 0 : 16 * l + 15; };
    std::array<HalftoneMask, 16> red{}, green{}, blue{};
    for (int l = 0; l < 16; ++l) {
        const float f = static_cast<float>(level(l)) / 255.0f;
        red[static_cast<std::size_t>(l)] = hc_halftone_level_mask(1, f);
        green[static_cast<std::size_t>(l)] = hc_halftone_level_mask(2, f);
        blue[static_cast<std::size_t>(l)] = hc_halftone_level_mask(3, f);
    }
    for (int b = 0; b < 16; ++b)
        for (int g = 0; g < 16; ++g)
            for (int r = 0; r < 16; ++r) {
                const std::size_t i = RasterDitherTables::index(b, g, r);
                const auto [low, high] = std::minmax({level(r), level(g), level(b)});
                const HalftoneMask m1 = red[static_cast<std::size_t>(r)];
                tables.red[i] = m1;
                tables.green[i] = high - low >= 4 ? green[static_cast<std::size_t>(g)] : m1;
                tables.blue[i] = high - low >= 4 ? blue[static_cast<std::size_t>(b)] : m1;
            }
}

HalftoneOverrideTable& halftone_override_table()
{
    return toolkit_context().record<HalftoneOverrideTable>(ContextSlot::halftone_overrides);
}

void hc_halftone_overrides_reset() { halftone_override_table().fill(HalftoneOverride{}); }

} // namespace korv
