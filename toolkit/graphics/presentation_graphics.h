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
    int style_a = 4, style_b = 2, style_c = 0;
    int colour_1 = 0, colour_2 = 0;
    int marker = -1;
    int shown = 1;
};

struct PresentationGraphicsState {
    float x1 = 0, x2 = 1, y1 = 0, y2 = 1;
    float span_x = 1, span_y = 1;
    float x_low = 0, x_high = 1, y_low = 0, y_high = 1;
    float z1 = 0, z2 = 1, span_z = 1;
    float polar_unit = 1;
    float margin_left = 0.1f, margin_right = 0.9f, margin_bottom = 0.1f, margin_top = 0.9f;
    bool log_x = false, log_y = false, log_x_wanted = false, log_y_wanted = false;
    float log_x1 = 0, log_x2 = 0, log_span_x = 0, log_y1 = 0, log_y2 = 0, log_span_y = 0;
    float log_polar = 0, log_polar_span = 0;

    int type = 4;
    int set_count = pg_max_sets;
    int dim1 = 1, dim2 = 1, dim3 = 1;
    float dim1_real = 1, dim1_less1 = 0, dim2_real = 1, dim2_less1 = 0;
    int options = 0;
    bool grid = false;
    bool flag_b0 = false, flag_b1 = false, flag_b3 = false, flag_b5 = false, flag_b6 = false, flag_b7 = false,
         flag_b9 = false, flag_b10 = false, flag_b11 = false;
    int choice = 0;
    float bar_fraction = 0.25f, offset_fraction = 0.5f;
    int tick_step = 1, tick_step_copy = 1;
    int count_limit = 1;
    int default_colour = 223, default_word = 0;
    int word_a = -3, word_b = 3;
    float scale_a = 0.7f, scale_b = 0.8f, scale_c = 0.5f, scale_d = 0.7f;
    float view_rad_a = 0, view_rad_b = 0, view_deg_a = 0, view_deg_b = 0;
    float view_cos_a = 0.7071068f, view_cos_b = 0.7071068f;
    float view_base = 0.5f, view_offset = 0, view_extra_a = 0, view_extra_b = 0;
    int wall_count = 0;
    std::array<int, 3> wall_colours{};

    std::array<DataSetStyle, pg_max_sets> sets{};
    // Data buffers: 16-byte elements per set for type 3, two 4-byte arrays
    // for types 4 and 6; they grow to the set count and never shrink.
    std::vector<std::array<std::uint8_t, 16>> buffer_type3;
    std::vector<float> buffer_a, buffer_b;
};

PresentationGraphicsState& pg_state();

void pg_log_axis_setup();
float pg_log10_magnitude(float x);
// The first three characters of each text, upper-cased, compared with "LOG".
void pg_axis_scales_set(std::string_view x_type, std::string_view y_type);

} // namespace korv
