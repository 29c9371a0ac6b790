// Character size and angle, width factors and the stroke-font slots.
#include "graphics/stroke_font.h"

#include <algorithm>
#include <cmath>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/context.h"

namespace korv {
namespace {

constexpr float default_char_width = 0.01333333f, default_char_height = 0.03333333f;
constexpr float radians_per_degree = 0.017453292f;

// Codes 32..127, then 161..255.
constexpr float factors_low[96] = {
    0.70f, 0.56f, 0.69f, 0.84f, 0.84f, 1.39f, 1.30f, 0.56f, 0.56f, 0.56f, 0.84f, 0.94f, 0.42f, 0.56f, 0.42f, 0.47f,
    0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.47f, 0.47f, 0.94f, 0.94f, 0.94f, 0.74f,
    1.54f, 1.11f, 1.11f, 1.11f, 1.20f, 1.02f, 0.93f, 1.20f, 1.05f, 0.56f, 0.65f, 1.20f, 0.98f, 1.30f, 1.20f, 1.20f,
    0.93f, 1.20f, 1.11f, 0.93f, 1.02f, 1.11f, 1.02f, 1.50f, 1.20f, 1.20f, 1.02f, 0.56f, 0.47f, 0.56f, 0.78f, 0.84f,
    0.56f, 0.74f, 0.84f, 0.74f, 0.84f, 0.74f, 0.56f, 0.84f, 0.84f, 0.46f, 0.46f, 0.84f, 0.46f, 1.30f, 0.84f, 0.84f,
    0.84f, 0.84f, 0.56f, 0.65f, 0.50f, 0.84f, 0.84f, 1.20f, 0.84f, 0.84f, 0.74f, 0.80f, 0.33f, 0.80f, 0.90f, 0.74f};
constexpr float factors_high[95] = {
    0.55f, 0.83f, 0.83f, 0.83f, 0.83f, 0.33f, 0.83f, 0.55f, 1.27f, 0.46f, 0.83f, 0.94f, 0.55f, 1.27f, 0.55f, 0.67f,
    0.94f, 0.50f, 0.50f, 0.55f, 0.83f, 0.75f, 0.42f, 0.55f, 0.50f, 0.52f, 0.83f, 1.25f, 1.25f, 1.25f, 0.74f, 1.20f,
    1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.49f, 1.11f, 1.02f, 1.02f, 1.02f, 1.02f, 0.55f, 0.55f, 0.55f, 0.55f, 1.20f,
    1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 0.94f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 0.93f, 0.83f, 0.74f,
    0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 1.11f, 0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 0.46f, 0.46f, 0.46f, 0.46f, 0.83f,
    0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.94f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f};

int digit(char c) { return c >= '0' && c <= '9' ? c - '0' : (c == 'A' ? 10 : (c == 'B' ? 11 : -1)); }

} // namespace

StrokeFontTables& stroke_fonts()
{
    return toolkit_context().record<StrokeFontTables>(ContextSlot::stroke_fonts);
}

float gr_char_width_factor_default(int code)
{
    if (code >= 32 && code <= 127)
        return factors_low[code - 32];
    if (code >= 161 && code <= 255)
        return factors_high[code - 161];
    return 0;
}

void gr_stroke_font_install(float a, float b, float c, float d, int e, int flags, int f, int slot,
                            std::string_view name, std::string_view glyphs, std::span<const int> first_table,
                            std::span<const int> second_table)
{
    StrokeFont& font = slot == 1 ? stroke_fonts().user : stroke_fonts().standard;
    font.stroke_metric_a = a;
    font.stroke_metric_b = b;
    font.stroke_metric_c = c;
    font.stroke_metric_d = d;
    font.stroke_metric_e = e;
    font.stroke_extended = (flags & 2) != 0 ? 1 : 0;
    font.stroke_metric_f = f;
    if (slot != 1) {
        font.stroke_first_flag = flags & 1;
        font.name = std::string(name);
    }
    font.glyphs = std::string(glyphs);
    const std::size_t low = font.stroke_extended ? 96 : 95;
    font.stroke_start_low.assign(first_table.begin(), first_table.begin() + static_cast<std::ptrdiff_t>(std::min(low, first_table.size())));
    font.stroke_start_high.assign(second_table.begin(),
                           second_table.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(96, second_table.size())));
}

std::vector<std::vector<StrokePoint>> stroke_glyph_strokes(const StrokeFont& font, int k)
{
    std::vector<int> starts = font.stroke_start_low;
    starts.insert(starts.end(), font.stroke_start_high.begin(), font.stroke_start_high.end());
    std::vector<std::vector<StrokePoint>> strokes;
    if (k < 1 || static_cast<std::size_t>(k) >= starts.size())
        return strokes;
    // A font's tables may hold any number: the positions are taken wide.
    const long long from = static_cast<long long>(starts[static_cast<std::size_t>(k - 1)]) - 1;
    const long long to = static_cast<long long>(starts[static_cast<std::size_t>(k)]) - 1;
    if (from < 0 || to < from || static_cast<unsigned long long>(to) > font.glyphs.size())
        return strokes;
    const std::string_view text = std::string_view(font.glyphs).substr(static_cast<std::size_t>(from),
                                                                        static_cast<std::size_t>(to - from));
    strokes.emplace_back();
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == 'u') {
            strokes.emplace_back();
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || digit(text[i]) < 0 || digit(text[i + 1]) < 0) {
            ++i;
            continue;
        }
        strokes.back().emplace_back(digit(text[i]), digit(text[i + 1]));
        i += 2;
    }
    std::erase_if(strokes, [](const auto& s) { return s.empty(); });
    return strokes;
}

void gr_char_width_default(int code)
{
    auto& factors = graphics_state().char_width_factor;
    auto restore = [&](int c) { factors[static_cast<std::size_t>(c)] = gr_char_width_factor_default(c); };
    if (code == 0) {
        for (int c = 32; c <= 127; ++c)
            restore(c);
        for (int c = 161; c <= 255; ++c)
            restore(c);
    } else if ((code >= 32 && code <= 126) || (code >= 161 && code <= 255)) {
        restore(code);
    } else if (code == 128) {
        // Glyph 127 of the built-in font is the euro sign, 128 of the Windows code page.
        factors[127] = 0.74f;
    } else {
        err_report_current(err::character_code);
    }
}

void gr_standard_font_load(int slot)
{
    const auto& glyphs = stroke_standard_glyphs();
    std::string text;
    std::vector<int> starts;
    for (std::string_view g : glyphs) {
        starts.push_back(static_cast<int>(text.size()) + 1);
        text.append(g);
    }
    starts.push_back(static_cast<int>(text.size()) + 1);
    const std::span<const int> all(starts);
    gr_stroke_font_install(7.68f, 11.88f, 6.0f, 11.0f, 8, 3, 0, slot == 1 ? 1 : 0, "standard.chr", text,
                           all.first(96), all.subspan(96));
}

void gr_char_angle_set(float angle)
{
    GraphicsState& g = graphics_state();
    // fmod keeps any angle in range without an integer overflow.
    float a = std::isfinite(angle) ? std::fmod(angle, 360.0f) : 0.0f;
    if (a < 0)
        a += 360.0f;
    if (a >= 360.0f)
        a = 0;
    g.char_angle = a;
    g.device_char_angle = std::fmod(a + static_cast<float>(g.rotation), 360.0f);
    g.char_cos = std::cos(a * radians_per_degree);
    g.device_char_cos = std::cos(g.device_char_angle * radians_per_degree);
    const bool straight = g.rotation % 180 == 0;
    const float device_ratio_divisor = straight ? static_cast<float>(g.device_height) : static_cast<float>(g.device_width);
    const float device_ratio_dividend = straight ? static_cast<float>(g.device_width) : static_cast<float>(g.device_height);
    // A zero divisor keeps the terms worked out last time.
    if (device_ratio_divisor != 0 && g.rotated_area_span_x != 0 && g.area_span_y != 0) {
        const float r = device_ratio_dividend / device_ratio_divisor * (g.rotated_area_span_y / g.rotated_area_span_x) *
                        (g.area_span_x / g.area_span_y);
        if (r != 0 && std::isfinite(r)) {
            g.char_sin_x = r * std::sin(a * radians_per_degree);
            g.char_sin_y = std::sin(a * radians_per_degree) / r;
            g.device_char_sin_x = r * std::sin(g.device_char_angle * radians_per_degree);
            g.device_char_sin_y = std::sin(g.device_char_angle * radians_per_degree) / r;
        }
    }
    gr_send_screen(DeviceOperation::CharacterAngle);
    gr_send_hardcopy(DeviceOperation::CharacterAngle);
}

} // namespace korv

void IGrCharacterSizeSet(std::optional<float> width, std::optional<float> height)
{
    using namespace korv;
    GraphicsState& g = graphics_state();
    if (width)
        g.char_width = *width > 0 ? *width : default_char_width;
    if (height)
        g.char_height = *height > 0 ? *height : default_char_height;
    g.font_mode = g.font_family != 0 ? g.font_family : (g.text_kind != 0 ? 2 : 1);
    gr_send_hardcopy(DeviceOperation::CharacterSize);
    if (g.screen_active < 1) {
        const float cell_x = g.char_width * g.rotated_area_span_x;
        const float cell_y = g.char_height * g.rotated_area_span_y;
        if (cell_x > 0)
            g.char_scale_x = g.rotated_limit_x / cell_x;
        if (cell_y > 0)
            g.char_scale_y = g.rotated_limit_y / cell_y;
        return;
    }
    gr_send_screen(DeviceOperation::CharacterSize);
    const bool system_font = g.font_family >= 101 && g.font_family <= 103;
    if (system_font && g.device_cell_width > 0)
        g.char_scale_x = g.rotated_limit_x / static_cast<float>(g.device_cell_width);
    if (system_font && g.device_cell_height > 0)
        g.char_scale_y = g.rotated_limit_y / static_cast<float>(g.device_cell_height);
}
