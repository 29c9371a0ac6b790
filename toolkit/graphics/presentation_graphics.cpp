// Presentation-graphics set-up: ranges, margins, log axes and the per-type
// defaults of the data sets.
#include "graphics/presentation_graphics.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/context.h"

namespace korv {
namespace {

bool bit(int options, int n) { return (options >> n & 1) != 0; }

bool palette_mode() { return graphics_state().colour_mode == 1; }

// Label step of type 4 graphs: 1, 2, 5 or 10 times a power of ten for
// about ten labels.
int tick_step(int values)
{
    if (values < 13)
        return 1;
    int q = values, divisions = 0;
    while (q > 10) {
        q /= 10;
        ++divisions;
    }
    int power = 1;
    for (int i = 1; i < divisions; ++i)
        power *= 10;
    if (q < 3)
        return 2 * power;
    if (q < 7)
        return 5 * power;
    return 10 * power;
}

void colour_rule(PresentationGraphicsState& pg, int n)
{
    int k = 0;
    for (int i = 1; i <= n; ++i) {
        DataSetStyle& s = pg.sets[static_cast<std::size_t>(i - 1)];
        if (palette_mode()) {
            s.set_colour_1 = k + 32;
            s.set_colour_2 = k + 64;
            k = (k + 36 + i % 4) % 176;
        } else {
            const int d = (256 - i) / 32 - 32 * (i % 4);
            const int g = 16 * (i % 9) + 127, b = 32 * (i % 5) + 127;
            s.set_colour_1 = (223 + d) + 256 * g + 65536 * b;
            s.set_colour_2 = (32 - d) + 256 * g + 65536 * b;
        }
    }
}

void two_set_rule(PresentationGraphicsState& pg, std::optional<int> count)
{
    if (count)
        pg.pg_count_limit = *count;
    const bool palette = palette_mode();
    pg.sets[0].set_style_a = pg.sets[1].set_style_a = 4;
    pg.sets[0].set_colour_1 = palette ? 31 : 255;
    pg.sets[1].set_colour_1 = palette ? 63 : 65535;
}

template <class Each> void each_set(PresentationGraphicsState& pg, int n, Each each)
{
    for (int i = 1; i <= n; ++i)
        each(pg.sets[static_cast<std::size_t>(i - 1)], i, i - 1);
}

// Per-type defaults; returns how many sets take the colour rule and the
// shown flag (0: the colour rule does not apply).
int type_defaults(PresentationGraphicsState& pg, int n)
{
    auto per_set_type4 = [&] {
        each_set(pg, n, [](DataSetStyle& s, int i, int j) {
            s.set_style_a = -(j % 7);
            s.set_style_b = 1;
            s.set_style_c = 0;
            s.set_marker = i;
        });
    };
    // Types 5 and 8 seen in three dimensions.
    auto three_d = [&]() -> int {
        pg.pg_word_b = 3;
        pg.pg_word_a = -3;
        const int limited = pg.pg_flag_b5 ? n : std::min(n, 2);
        if (pg.pg_choice == 3) {
            pg.pg_scale_d = 0.6f;
            two_set_rule(pg, std::nullopt);
            return 0;
        }
        pg.pg_scale_d = 0.7f;
        each_set(pg, limited, [](DataSetStyle& s, int, int) { s.set_style_a = 4; });
        return limited;
    };
    switch (pg.pg_type) {
    case 1:
    case 2:
    case 3:
        pg.pg_default_colour = 223;
        pg.pg_default_word = 0;
        each_set(pg, n, [](DataSetStyle& s, int, int) { s.set_style_a = 4; });
        return n;
    case 4:
        pg.pg_tick_step = pg.pg_tick_step_copy = tick_step(pg.pg_dim1);
        per_set_type4();
        return n;
    case 5:
        if (pg.pg_flag_b0)
            return three_d();
        per_set_type4();
        return n;
    case 6:
        each_set(pg, n, [](DataSetStyle& s, int, int j) {
            s.set_style_a = -(j % 7);
            s.set_style_b = 0;
            s.set_style_c = 0;
        });
        return n;
    case 7:
        each_set(pg, n, [&](DataSetStyle& s, int i, int j) {
            if (pg.pg_flag_b0) {
                s.set_style_c = 1;
                s.set_style_a = 3;
                s.set_style_b = 3;
                s.set_marker = i % 14 + 13;
                return;
            }
            s.set_marker = -1;
            const int r = j % 92;
            s.set_style_b = r < 40 ? 3 : 2;
            s.set_style_a = r < 40 ? r + 1 : r - 39;
        });
        return n;
    case 8: {
        if (pg.pg_flag_b0)
            return three_d();
        const int c = std::max(1, 150 / std::max(pg.pg_dim1, pg.pg_dim2));
        if (pg.pg_choice == 3) {
            two_set_rule(pg, c);
            return 0;
        }
        if (pg.pg_flag_b3) {
            if (pg.pg_choice == 0)
                pg.pg_count_limit = c;
            each_set(pg, n, [](DataSetStyle& s, int, int) { s.set_style_a = 4; });
        } else {
            each_set(pg, n, [](DataSetStyle& s, int, int) {
                s.set_style_a = 0;
                s.set_style_b = 5;
            });
        }
        return n;
    }
    case 9: {
        const int colour = palette_mode() ? 223 : 0;
        each_set(pg, n, [&](DataSetStyle& s, int, int) {
            s.set_style_a = 0;
            s.set_style_b = 2;
            s.set_colour_1 = colour;
        });
        return 0;
    }
    case 10:
        pg.pg_word_a = -3;
        each_set(pg, n, [](DataSetStyle& s, int, int) { s.set_style_a = 4; });
        return n;
    default:
        each_set(pg, n, [](DataSetStyle& s, int, int) {
            s.set_style_a = 4;
            s.set_style_b = 0;
        });
        return n;
    }
}

void view_defaults(PresentationGraphicsState& pg)
{
    if (!pg.pg_flag_b0 || pg.pg_type < 5) {
        pg.pg_view_rad_a = pg.pg_view_rad_b = pg.pg_view_deg_a = pg.pg_view_deg_b = 0;
        pg.pg_scale_a = 0.7f;
        pg.pg_scale_b = 0.8f;
    } else {
        pg.pg_view_offset = pg.pg_view_extra_a = pg.pg_view_extra_b = 0;
        pg.pg_view_base = 0.5f;
        pg.pg_view_rad_a = -0.7853982f;
        pg.pg_view_rad_b = 0.7853982f;
        pg.pg_view_deg_a = -45;
        pg.pg_view_deg_b = 45;
        pg.pg_view_cos_a = pg.pg_view_cos_b = 0.7071068f;
        pg.pg_scale_a = pg.pg_scale_b = 0.6f;
        const bool walls = pg.pg_type == 5 || pg.pg_type == 8 || pg.pg_type == 10;
        pg.pg_wall_count = walls ? 4 : 0;
        if (walls)
            pg.pg_wall_colours.fill(palette_mode() ? 255 : 0x838383);
    }
    pg.pg_scale_c = pg.pg_type == 9 ? 0.75f : (pg.pg_flag_b6 ? 0.65f : 0.5f);
}

} // namespace

PresentationGraphicsState& pg_state()
{
    return toolkit_context().record<PresentationGraphicsState>(ContextSlot::presentation_graphics);
}

float pg_log10_magnitude(float x) { return x == 0 ? -38.0f : std::log10(std::fabs(x)); }

void pg_log_axis_setup()
{
    PresentationGraphicsState& pg = pg_state();
    pg.pg_log_x = pg.pg_log_x_wanted && pg.pg_type != 1 && !pg.pg_flag_b0 && !pg.pg_flag_b6;
    pg.pg_log_y = pg.pg_log_y_wanted && pg.pg_type != 2 && !pg.pg_flag_b0;
    if (pg.pg_log_x) {
        pg.pg_log_x1 = pg_log10_magnitude(pg.pg_x1);
        pg.pg_log_x2 = pg_log10_magnitude(pg.pg_x2);
        pg.pg_log_span_x = pg.pg_log_x2 - pg.pg_log_x1;
    }
    if (pg.pg_log_y) {
        pg.pg_log_y1 = pg_log10_magnitude(pg.pg_y1);
        pg.pg_log_y2 = pg_log10_magnitude(pg.pg_y2);
        pg.pg_log_span_y = pg.pg_log_y2 - pg.pg_log_y1;
        pg.pg_log_polar = pg_log10_magnitude(pg.pg_polar_unit);
        pg.pg_log_polar_span = pg.pg_log_polar + 38;
    }
}

void pg_axis_scales_set(std::string_view x_type, std::string_view y_type)
{
    auto is_log = [](std::string_view t) {
        if (t.size() < 3)
            return false;
        for (int i = 0; i < 3; ++i)
            if (std::toupper(static_cast<unsigned char>(t[static_cast<std::size_t>(i)])) != "LOG"[i])
                return false;
        return true;
    };
    pg_state().pg_log_x_wanted = is_log(x_type);
    pg_state().pg_log_y_wanted = is_log(y_type);
    pg_log_axis_setup();
}

void pg_graphics_defaults()
{
    pg_state() = PresentationGraphicsState{};
    IPgArea(0, 0, 1, 1);
    const int one[1] = {1};
    IPgGraphDefine(4, pg_max_sets, one, 0);
    each_set(pg_state(), pg_max_sets, [](DataSetStyle& s, int i, int) {
        s = DataSetStyle{};
        s.set_colour_1 = 32 + 32 * (i % 6);
        s.set_colour_2 = 64 + 32 * (i % 6);
    });
}

} // namespace korv

void IPgArea(float x1, float y1, float x2, float y2)
{
    using namespace korv;
    PresentationGraphicsState& pg = pg_state();
    if (x1 == x2) {
        pg.pg_x1 = 0;
        pg.pg_x2 = 1;
        err_report(err::unit_range, "IPgArea");
    } else {
        pg.pg_x1 = x1;
        pg.pg_x2 = x2;
    }
    if (y1 == y2) {
        pg.pg_y1 = 0;
        pg.pg_y2 = 1;
        err_report(err::unit_range, "IPgArea");
    } else {
        pg.pg_y1 = y1;
        pg.pg_y2 = y2;
    }
    pg.pg_span_x = pg.pg_x2 - pg.pg_x1;
    pg.pg_span_y = pg.pg_y2 - pg.pg_y1;
    pg.pg_x_low = std::min(pg.pg_x1, pg.pg_x2);
    pg.pg_x_high = std::max(pg.pg_x1, pg.pg_x2);
    pg.pg_y_low = std::min(pg.pg_y1, pg.pg_y2);
    pg.pg_y_high = std::max(pg.pg_y1, pg.pg_y2);
    pg_log_axis_setup();
}

void IPgUnitsZ(float z1, float z2)
{
    using namespace korv;
    PresentationGraphicsState& pg = pg_state();
    if (z2 > z1) {
        pg.pg_z1 = z1;
        pg.pg_z2 = z2;
    } else {
        pg.pg_z1 = 0;
        pg.pg_z2 = 1;
        err_report(err::unit_range, "IPgUnitsZ");
    }
    pg.pg_span_z = pg.pg_z2 - pg.pg_z1;
}

void IPgUnitsPolar(float unit)
{
    using namespace korv;
    if (unit > 0) {
        pg_state().pg_polar_unit = unit;
    } else {
        pg_state().pg_polar_unit = 1;
        err_report(err::unit_range, "IPgUnitsPolar");
    }
    pg_log_axis_setup();
}

void IPgMarginsSet(float left, float bottom, float right, float top)
{
    auto& pg = korv::pg_state();
    if (left >= 0 && left < 1)
        pg.pg_margin_left = left;
    if (bottom >= 0 && bottom < 1)
        pg.pg_margin_bottom = bottom;
    if (right > 0 && right <= 1)
        pg.pg_margin_right = right;
    if (top > 0 && top <= 1)
        pg.pg_margin_top = top;
}

void IPgGraphDefine(int type, int sets, std::span<const int> dims, std::optional<int> options,
                    std::optional<int> defaults)
{
    using namespace korv;
    PresentationGraphicsState& pg = pg_state();
    // Missing dimensions count as 1: nothing is read past the caller's array.
    auto dim = [&](std::size_t k) { return k < dims.size() ? dims[k] : 1; };
    pg.pg_set_count = std::clamp(sets, 1, pg_max_sets);
    pg.pg_dim1 = std::max(dim(0), 1);
    pg.pg_dim1_real = static_cast<float>(pg.pg_dim1);
    pg.pg_dim1_less1 = pg.pg_dim1_real - 1;
    pg.pg_type = type >= 1 && type <= 11 ? type : 4;

    const auto count = static_cast<std::size_t>(pg.pg_set_count);
    if (pg.pg_type == 3 && pg.buffer_type3.size() < count)
        pg.buffer_type3.assign(count, {});
    if ((pg.pg_type == 4 || pg.pg_type == 6) && pg.buffer_a.size() < count) {
        pg.buffer_a.assign(count, 0);
        pg.buffer_b.assign(count, 0);
    }

    const int o = options.value_or(0);
    pg.pg_options = o;
    const bool grid_type = pg.pg_type == 5 || pg.pg_type == 6 || pg.pg_type == 7 || pg.pg_type == 8 || pg.pg_type == 10;
    pg.pg_grid = bit(o, 0) && grid_type;
    pg.pg_flag_b0 = bit(o, 0) && !(pg.pg_type > 2 && !pg.pg_grid);
    pg.pg_flag_b1 = bit(o, 1);
    pg.pg_flag_b3 = bit(o, 3);
    pg.pg_flag_b5 = bit(o, 5);
    pg.pg_flag_b7 = bit(o, 7);
    pg.pg_flag_b9 = bit(o, 9);
    pg.pg_flag_b11 = bit(o, 11);
    pg.pg_choice = bit(o, 2) ? 1 : (bit(o, 8) ? 2 : (bit(o, 4) ? 3 : 0));
    if (pg.pg_type == 1 && bit(o, 5)) {
        pg.pg_flag_b0 = false;
        pg.pg_flag_b10 = false;
        pg.pg_flag_b6 = bit(o, 6);
    } else {
        pg.pg_flag_b10 = bit(o, 10);
        pg.pg_flag_b6 = pg.pg_flag_b0 ? false : bit(o, 6);
    }

    if (pg.pg_grid || pg.pg_type == 8 || pg.pg_type == 10) {
        const float dim1_first = pg.pg_dim1_real;
        pg.pg_dim1 = std::max(dim(0), 2);
        pg.pg_dim2 = pg.pg_type == 6 || pg.pg_type == 7 ? pg.pg_dim1 : std::max(dim(1), 2);
        if (pg.pg_type == 10)
            pg.pg_dim3 = std::max(dim(2), 2);
        pg.pg_dim2_real = static_cast<float>(pg.pg_dim2);
        pg.pg_dim2_less1 = pg.pg_dim2_real - 1;
        if (pg.pg_flag_b0) {
            if (!pg.pg_flag_b9)
                pg.pg_offset_fraction = 0.5f;
            else if (pg.pg_dim2 < pg.pg_dim1)
                pg.pg_offset_fraction = 1 - 0.5f * pg.pg_dim2_real / dim1_first;
            else
                pg.pg_offset_fraction = 0.5f * dim1_first / pg.pg_dim2_real;
        }
    }
    pg.pg_bar_fraction = std::min(0.6f / pg.pg_dim1_real, 0.25f);
    pg_log_axis_setup();

    if (defaults.value_or(0) == 0)
        return;
    const int coloured = type_defaults(pg, pg.pg_set_count);
    if (coloured > 0)
        colour_rule(pg, coloured);
    view_defaults(pg);
    const bool two_shown = pg.pg_flag_b0 && (pg.pg_type == 5 || pg.pg_type == 8) && !pg.pg_flag_b5;
    const int shown = two_shown ? std::min(pg.pg_set_count, 2) : pg.pg_set_count;
    for (int i = 0; i < shown; ++i)
        pg.sets[static_cast<std::size_t>(i)].set_shown = 1;
}
