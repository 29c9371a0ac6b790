// The graphics start-up that runs when the root window opens.
#include <array>
#include <cctype>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "core/services/hardcopy.h"
#include "graphics/stroke_font.h"
#include "graphics/presentation_graphics.h"

namespace korv {

namespace {

constexpr float default_char_width = 0.01333333f;
constexpr float default_char_height = 0.03333333f;

bool holds_letter(std::string_view options, char upper, bool either_case)
{
    for (char c : options)
        if (c == upper || (either_case && std::toupper(static_cast<unsigned char>(c)) == upper))
            return true;
    return false;
}

void set_state_defaults(GraphicsState& g)
{
    g.area_x1 = 0;
    g.area_y1 = 0;
    g.area_x2 = 1;
    g.area_y2 = 1;
    g.area_span_x = 1;
    g.area_span_y = 1;
    g.char_angle = 0;
    g.device_char_angle = 0;
    g.char_cos = 1;
    g.char_sin_x = 0;
    g.char_sin_y = 0;
    g.device_char_cos = 1;
    g.device_char_sin_x = 0;
    g.device_char_sin_y = 0;
    g.rotation = 0;
    g.char_width = default_char_width;
    g.char_height = default_char_height;
    g.font_name.fill(' ');
    g.font_family = 1;
    g.font_mode = 1;
    g.font_style = 0;
    g.text_alignment = 1;
    g.text_layout = 0;
    g.text_kind = 0;

    g.colour_mode = 1;
    g.prev_index = 0;
    g.prev_rgb = 0xFFFFFF;
    g.cur_index = 223;
    g.cur_rgb = 0;
    g.drawing_mode = 0;
    g.line_type = 0;
    g.line_cap = 0;
    g.line_join = 0;
    g.line_width = 1;
    g.metafile_line_width = 5;
}

} // namespace

void gr_graphics_start(std::string_view options)
{
    GraphicsState& g = graphics_state();
    set_state_defaults(g);

    if (holds_letter(options, 'H', true)) {
        g.screen_active = 0;
    } else {
        g.screen_active = 1;
        gr_send_screen(DeviceOperation::Open);
    }

    IGrSelect(target_window, g.current_window);

    if (g.screen_active >= 1) {
        g.device_colour_count = gr_platform().display_colour_count();
        const bool palette = g.colour_mode == 1;
        const int previous = palette ? g.prev_index : g.prev_rgb;
        const int current = palette ? g.cur_index : g.cur_rgb;
        IGrColourN(previous);
        IGrColourN(current);
        for (DeviceOperation op : {DeviceOperation::DrawingMode, DeviceOperation::LineType,
                                   DeviceOperation::LineWidth, DeviceOperation::LineJoin, DeviceOperation::LineCap,
                                   DeviceOperation::CharacterSize})
            gr_send_screen(op);
    }

    IGrCharacterSizeSet();
    gr_char_width_default(0);
    gr_standard_font_load(0);

    hardcopy_services().graphics_start(holds_letter(options, 'P', false));

    IGrUnits(0, 0, 1, 1);
    g.position_x = 0;
    g.position_y = 0;
    g.fill_style = 0;
    g.fill_outline = 1;
    pg_graphics_defaults();
}

} // namespace korv
