// Halftone masks: a colour becomes a 4 by 8 pixel pattern per colour plane
// with as many set pixels as the plane's intensity asks. Bit
// (x mod 8) + 8 (y mod 4) of a mask belongs to pixel (x, y); a set bit is
// an inked pixel of its plane (red, green, blue; grey alone on a
// monochrome device).
#pragma once

#include <array>
#include <cstdint>

namespace korv {

using HalftoneMask = std::uint32_t;

// The mask of plane 1..3 with n = trunc(32 f + 0.5) set bits, spread so
// that neither rows nor columns line up.
HalftoneMask hc_halftone_level_mask(int plane, float fraction);

struct HalftoneMasks {
    HalftoneMask plane1 = 0, plane2 = 0, plane3 = 0;
};

// The masks of the current colour. mode 2 complements the colour on
// colour devices (printers that lay down cyan, magenta and yellow).
HalftoneMasks hc_halftone_masks(int mode);

// The masks of every colour quantised to 16 levels a component, indexed
// [blue level][green level][red level], for dithering.
struct RasterDitherTables {
    using Table = std::array<HalftoneMask, 16 * 16 * 16>;
    Table red{}, green{}, blue{};
    static constexpr std::size_t index(int blue, int green, int red)
    {
        return static_cast<std::size_t>((blue * 16 + green) * 16 + red);
    }
};
void hc_raster_mask_tables(RasterDitherTables& tables);

// Replacement masks of single palette colours on monochrome devices; a
// key of -1 leaves the colour to the halftone.
struct HalftoneOverride {
    std::int32_t key = -1;
    HalftoneMask mask = 0;
};
using HalftoneOverrideTable = std::array<HalftoneOverride, 256>;
HalftoneOverrideTable& halftone_override_table();
void hc_halftone_overrides_reset();

} // namespace korv
