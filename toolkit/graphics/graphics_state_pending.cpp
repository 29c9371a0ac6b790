// The start-up entries of the stroke-font and presentation-graphics layers,
// doing only what the graphics start-up and the hardcopy start rely on.
#include "korvanthide/graphics_state.h"

namespace korv {

void gr_char_width_default(int) {}
void gr_standard_font_load(int) {}
void pg_graphics_defaults() {}

} // namespace korv

void IGrCharacterSizeSet(std::optional<float> width, std::optional<float> height)
{
    using namespace korv;
    GraphicsState& g = graphics_state();
    if (width)
        g.char_width = *width > 0 ? *width : 0.01333333f;
    if (height)
        g.char_height = *height > 0 ? *height : 0.03333333f;
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
