// The presentation-graphics record that the set-up routines fill. Nothing
// in the toolkit draws a graph from it yet; it is kept for the graph
// drawing routines of programs.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "korvanthide/presentation_graphics.h"

namespace korv {

inline constexpr int pg_max_sets = 500;

struct DataSetStyle {
    int set_style_a = 4, set_style_b = 2, set_style_c = 0;
    int set_colour_1 = 0, set_colour_2 = 0;
    int set_marker = -1;
    int set_shown = 1;
};

struct PresentationGraphicsState {
    float pg_x1 = 0, pg_x2 = 1, pg_y1 = 0, pg_y2 = 1;
    float pg_span_x = 1, pg_span_y = 1;
    float pg_x_low = 0, pg_x_high = 1, pg_y_low = 0, pg_y_high = 1;
    float pg_z1 = 0, pg_z2 = 1, pg_span_z = 1;
    float pg_polar_unit = 1;
    float pg_margin_left = 0.1f, pg_margin_right = 0.9f, pg_margin_bottom = 0.1f, pg_margin_top = 0.9f;
    bool pg_log_x = false, pg_log_y = false, pg_log_x_wanted = false, pg_log_y_wanted = false;
    float pg_log_x1 = 0, pg_log_x2 = 0, pg_log_span_x = 0, pg_log_y1 = 0, pg_log_y2 = 0, pg_log_span_y = 0;
    float pg_log_polar = 0, pg_log_polar_span = 0;

    int pg_type = 4;
    int pg_set_count = pg_max_sets;
    int pg_dim1 = 1, pg_dim2 = 1, pg_dim3 = 1;
    float pg_dim1_real = 1, pg_dim1_less1 = 0, pg_dim2_real = 1, pg_dim2_less1 = 0;
    int pg_options = 0;
    bool pg_grid = false;
    bool pg_flag_b0 = false, pg_flag_b1 = false, pg_flag_b3 = false, pg_flag_b5 = false, pg_flag_b6 = false;
    bool pg_flag_b7 = false, pg_flag_b9 = false, pg_flag_b10 = false, pg_flag_b11 = false;
    int pg_choice = 0;
    float pg_bar_fraction = 0.25f, pg_offset_fraction = 0.5f;
    int pg_tick_step = 1, pg_tick_step_copy = 1;
    int pg_count_limit = 1;
    int pg_default_colour = 223, pg_default_word = 0;
    int pg_word_a = -3, pg_word_b = 3;
    float pg_scale_a = 0.7f, pg_scale_b = 0.8f, pg_scale_c = 0.5f, pg_scale_d = 0.7f;
    float pg_view_rad_a = 0, pg_view_rad_b = 0, pg_view_deg_a = 0, pg_view_deg_b = 0;
    float pg_view_cos_a = 0.7071068f, pg_view_cos_b = 0.7071068f;
    float pg_view_base = 0.5f, pg_view_offset = 0, pg_view_extra_a = 0, pg_view_extra_b = 0;
    int pg_wall_count = 0;
    std::array<int, 3> pg_wall_colours{};

    std::array<DataSetStyle, pg_max_sets> sets{};
    // Data buffers: 16-byte elements per set for type 3, two 4-byte arrays
    // for types 4 and 6; they grow to the set count and never shrink.
    std::vector<std::array<std::uint8_t, 16>> buffer_type3;
    std::vector<float> buffer_a, buffer_b;
};

PresentationGraphicsState& pg_state();
// The graphics start-up's defaults of the record.
void pg_graphics_defaults();

void pg_log_axis_setup();
float pg_log10_magnitude(float x);
// The first three characters of each text, upper-cased, compared with "LOG".
void pg_axis_scales_set(std::string_view x_type, std::string_view y_type);

} // namespace korv
