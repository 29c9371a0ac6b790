// The 256-entry colour table and the colour maths that need no graphics
// state: defaults, companion tables, the nearest-entry search, hue
// conversion and the device colour numbers of small displays.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korv {

struct ColourTable256 {
    std::array<std::int32_t, 256> palette_rgb{};
    std::array<std::int32_t, 16> colour16_rgb{};
    std::array<std::int32_t, 128> reduced_rgb{};
    std::array<std::int32_t, 8> basic_rgb{};
    // Position of each entry in the hue-saturation-value cone.
    std::array<float, 256> cone_v{}, cone_x{}, cone_y{};
};

ColourTable256& colour_table();

// Builds the default table; the reduced table only for 32..128 colours.
void colour_table_build(ColourTable256& table, int device_colour_count);
// One entry and its companions (16-colour, basic, reduced, cone).
void colour_table_put(ColourTable256& table, int index, std::int32_t rgb, int device_colour_count);

int colour_nearest_index(const ColourTable256& table, std::int32_t rgb);
int colour_device_number(int index, int device_colour_count);

// The same on the toolkit's table and display: the companion tables'
// entries, the 16-colour map, the device colour number of an entry, and
// the palette index of a colour name.
std::int32_t gr_colour_reduced_get(int w);
std::int32_t gr_colour_basic_get(int k);
int gr_colour16_map(int n, int row);
int gr_colour_device_number(int index);
int gr_colour_name_code(std::string_view name);

} // namespace korv
