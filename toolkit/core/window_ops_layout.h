// Window operations that need no platform: the status-bar part layout, the
// 16-colour text table, the text colour choice and the system colour codes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace korv {

// Right edges of the parts: running sums until a part of width -1, which
// takes what the parts behind it leave of the client width.
std::vector<int> statusbar_edges(std::span<const int> widths, int client_width);

// The border style word of a part: 0 no borders (SBT_NOBORDERS), 2 raised
// (SBT_POPOUT), anything else sunken (0).
int statusbar_style_of(int border);

// Black, the dark and light colours, white (red + 256 green + 65536 blue).
const std::array<std::int32_t, 16>& text_colour_defaults();

// The table entry a text colour request selects: foreground 0..16,
// background 0..15 or 16 for entry 17; -1 for a request that is refused.
int text_foreground_entry(int foreground);
int text_background_entry(int background);

// The system colour index (COLOR_ value) for a toolkit colour code 6..26;
// -1 outside. Flat menus change codes 13 and 16.
int system_colour_index(int code, bool flat_menus);

} // namespace korv
