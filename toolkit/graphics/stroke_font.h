// Character size and angle with their aspect terms, the proportional width
// factors, and the two stroke-font slots with the built-in font
// "standard.chr". The fonts and the factors are stored for the toolkit's
// text output; no device draws with them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

inline constexpr int stroke_glyph_count = 191;

struct StrokeFont {
    float stroke_metric_a = 0, stroke_metric_b = 0, stroke_metric_c = 0, stroke_metric_d = 0;
    int stroke_metric_e = 0;
    int stroke_first_flag = 0; // bit 0 of the installer's flags (standard slot only)
    int stroke_extended = 0;   // 1: 96 entries in the first start table
    int stroke_metric_f = 0;
    std::string name;   // standard slot only
    std::string glyphs;
    std::vector<int> stroke_start_low;  // 1-based start positions, 95 or 96
    std::vector<int> stroke_start_high; // 96, the last one the end of the text + 1
};

struct StrokeFontTables {
    StrokeFont standard;
    StrokeFont user;
};
StrokeFontTables& stroke_fonts();

// The glyph texts of the built-in font, codes 33..128 then 161..255.
const std::array<std::string_view, stroke_glyph_count>& stroke_standard_glyphs();

// Stores a font in the standard slot (slot 0) or the user slot (1).
void gr_stroke_font_install(float a, float b, float c, float d, int e, int flags, int f, int slot,
                            std::string_view name, std::string_view glyphs, std::span<const int> first_table,
                            std::span<const int> second_table);

// Glyph k (1..191) of a slot as strokes of (x, y) points.
using StrokePoint = std::pair<int, int>;
std::vector<std::vector<StrokePoint>> stroke_glyph_strokes(const StrokeFont& font, int k);

// Sets the character angle (normalised into [0, 360)) with its device
// angle and aspect-corrected sine and cosine terms, then sends operation 33
// to the screen and the hardcopy side.
void gr_char_angle_set(float angle);

// The default proportional width of a character code (0 where none).
float gr_char_width_factor_default(int code);
// Restores the default width factors: code 0 all of them, 32..126 and
// 161..255 that code's, 128 the euro sign's (code 127); any other code
// reports error 66 under the current routine name.
void gr_char_width_default(int code);
// Assembles the built-in font and installs it in the standard slot (0) or
// the user slot (1).
void gr_standard_font_load(int slot = 0);

} // namespace korv
