// The public colour routines and the colour helpers that read the graphics
// state: every colour change keeps the colour it replaces as the previous
// one and reaches the devices as operation 3.
#include "graphics/palette.h"

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/context.h"

namespace korv {

namespace {

// Colour by name: one row per colour mode, indexed by colour code
// 0 black .. 7 white.
constexpr int named_index[8] = {223, 159, 95, 127, 31, 191, 63, 0};
constexpr std::int32_t named_rgb[8] = {0x000000, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// One level of saved drawing attributes.
struct SavedAttributes {
    int prev_index = 0, cur_index = 0;
    std::int32_t prev_rgb = 0, cur_rgb = 0;
    int prev_device = 0, cur_device = 0;
    int line_type = 0, text_layout = 0, fill_style = 0, fill_angle = 3, fill_density = 2;
};

SavedAttributes& saved_attributes()
{
    return toolkit_context().record<SavedAttributes>(ContextSlot::saved_attributes);
}

void make_current(int index, std::int32_t rgb, int device_colour)
{
    auto& g = graphics_state();
    g.prev_index = g.cur_index;
    g.prev_rgb = g.cur_rgb;
    g.prev_device_colour = g.cur_device_colour;
    g.cur_index = index;
    g.cur_rgb = rgb;
    g.cur_device_colour = device_colour;
}

} // namespace

void gr_colour_table_defaults()
{
    colour_table_build(colour_table(), graphics_state().device_colour_count);
}

void gr_colour_table_set(int index, std::int32_t rgb)
{
    colour_table_put(colour_table(), index, rgb, graphics_state().device_colour_count);
}

int gr_colour_device_number(int index)
{
    return colour_device_number(index, graphics_state().device_colour_count);
}

void gr_colour_components(int colour, int& red, int& green, int& blue)
{
    const std::int32_t rgb = graphics_state().colour_mode == 1 ? gr_colour_table_get(colour) : colour;
    gr_rgb_unpack(rgb, &red, &green, &blue);
}

} // namespace korv

void IGrColourModeSelect(int mode)
{
    auto& g = korv::graphics_state();
    if (mode == 24) {
        g.colour_mode = 2;
        return;
    }
    g.colour_mode = 1;
    if (g.prev_index == -1)
        g.prev_index = korv::gr_colour_nearest_index(g.prev_rgb);
    if (g.cur_index == -1)
        g.cur_index = korv::gr_colour_nearest_index(g.cur_rgb);
}

void IGrColourN(int colour)
{
    using namespace korv;
    auto& g = graphics_state();
    int index = -1;
    std::int32_t rgb = 0;
    if (g.colour_mode == 1) {
        if (colour < 0 || colour > 255) {
            err_report(err::unknown_colour, "IGrColourN");
            return;
        }
        index = colour;
        rgb = gr_colour_table_get(colour);
    } else {
        rgb = colour;
        const auto& caps = device_capabilities();
        const bool needs_index = (g.screen_active >= 1 && caps.screen.true_colour == 0) ||
                                 (g.hardcopy_active >= 1 && caps.hardcopy.true_colour == 0);
        index = needs_index ? gr_colour_nearest_index(rgb) : -1;
    }
    make_current(index, rgb, gr_colour_device_number(index));
    gr_send_screen(DeviceOperation::Colour);
    gr_send_hardcopy(DeviceOperation::Colour);
}

void IGrColour(std::string_view name)
{
    using namespace korv;
    const int code = gr_colour_name_code(name);
    if (code < 0) {
        err_report(err::unknown_colour, "IGrColour");
        return;
    }
    const int c = code % 8;
    IGrColourN(graphics_state().colour_mode == 1 ? named_index[c] : named_rgb[c]);
}

void IGrColourRestore(int index, int rgb, int device_colour, int side)
{
    using namespace korv;
    // The index reaches palette lookups in the devices: only -1 and table
    // entries are taken.
    if (index < -1 || index > 255) {
        err_report(err::unknown_colour, "IGrColourRestore");
        return;
    }
    make_current(index, rgb, device_colour);
    if (side != 2)
        gr_send_screen(DeviceOperation::Colour);
    if (side != 1)
        gr_send_hardcopy(DeviceOperation::Colour);
}

void IGrStateSaveRestore(int what)
{
    using namespace korv;
    auto& g = graphics_state();
    auto& s = saved_attributes();
    if (what == 0) {
        s = {g.prev_index, g.cur_index,  g.prev_rgb,   g.cur_rgb,    g.prev_device_colour, g.cur_device_colour,
             g.line_type,  g.text_layout, g.fill_style, g.fill_angle, g.fill_density};
    } else if (what == 1) {
        IGrColourRestore(s.prev_index, s.prev_rgb, s.prev_device, 0);
        IGrColourRestore(s.cur_index, s.cur_rgb, s.cur_device, 0);
        if (s.line_type != g.line_type)
            IGrLineTypeSet(s.line_type);
        g.text_layout = s.text_layout;
        g.fill_style = s.fill_style;
        g.fill_angle = s.fill_angle;
        g.fill_density = s.fill_density;
    }
}
