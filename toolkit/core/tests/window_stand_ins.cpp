// Stand-ins for the graphics, drawing, dialog and start-up entry points that
// the window layer calls, for linking the window tests until those layers
// are built. They keep only what the window tests read back.
#include <windows.h>

#include "korvanthide/dialogs.h"
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/window.h"
#include "toolkit/core/tests/window_stand_ins.h"
#include "toolkit/core/win_neighbours.h"

namespace korv {

StandInLog& stand_in_log()
{
    static StandInLog log;
    return log;
}

GraphicsState& graphics_state()
{
    static GraphicsState state;
    return state;
}

void gr_platform_install() {}

void gr_graphics_start(std::string_view)
{
    GraphicsState& g = graphics_state();
    g.target_kind = target_window;
    g.target_number = g.current_window;
    g.area_x1 = g.area_y1 = 0;
    g.area_x2 = g.area_y2 = 1;
    g.user_x1 = g.user_y1 = 0;
    g.user_x2 = g.user_y2 = 1;
    g.screen_area_x1 = g.screen_area_y1 = 0;
    g.screen_area_span_x = g.drawable_width - 0.01f;
    g.screen_area_span_y = g.drawable_height - 0.01f;
    ++stand_in_log().graphics_starts;
}

void gr_window_resized(int, int, int) {}
void gr_field_resized(int, int, int, int) {}
void gr_drawable_size_update(int kind, int number, int width, int height)
{
    GraphicsState& g = graphics_state();
    if (kind != g.target_kind || number != g.target_number) return;
    g.drawable_width = width;
    g.drawable_height = height;
    g.screen_area_span_x = width - 0.01f;
    g.screen_area_span_y = height - 0.01f;
}

void gr_pixel_to_user(float px, float py, float& x, float& y)
{
    const GraphicsState& g = graphics_state();
    x = g.user_x1 + (px - g.screen_area_x1) * (g.user_x2 - g.user_x1) / g.screen_area_span_x;
    y = g.user_y1 + (py - g.screen_area_y1) * (g.user_y2 - g.user_y1) / g.screen_area_span_y;
}

void gr_viewer_pixel_to_user(float, float, float& x, float& y, int)
{
    x = 0;
    y = 0;
}

void gr_pixel_to_window_units(int px, int py, int& u, int& v)
{
    const GraphicsState& g = graphics_state();
    u = g.client_width <= 1 ? 0 : static_cast<int>((px + 0.5) * 9999 / g.client_width);
    v = g.client_height <= 1 ? 0 : static_cast<int>((py + 0.5) * 9999 / g.client_height);
}

void bmp_viewer_scroll_position(int, int, int& value) { value = 0; }
void gr_colour_table_defaults() {}
std::int32_t gr_colour_table_get(int) { return 0; }
void win_text_state_reset() {}
void bmp_slots_release() {}
void editor_rows_release(int) {}

void numctl_register_classes() {}
void dialog_root_opened() {}
bool dialog_extras_anchor(HWND, int) { return false; }
HWND dialog_embed(int, int, bool) { return nullptr; }
void dialog_embedded_close(HWND) {}
void dialog_root_closed() {}
bool dialog_host(HWND, int&, int&) { return false; }
HWND dialog_current_window() { return nullptr; }
void dialog_table_nc_activate(HWND) {}

DialogResultState& dialog_result_state()
{
    static DialogResultState state;
    return state;
}

} // namespace korv

void IGrHardCopy(std::optional<std::string_view> option, std::optional<std::string_view>)
{
    korv::stand_in_log().hardcopy_options.emplace_back(option.value_or(""));
}

void WDialogSelect(int) {}
