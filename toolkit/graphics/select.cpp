// Choosing the drawing target and following its size.
#include <optional>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "graphics/units.h"
#include "graphics/metafile_slots.h"

namespace korv {

namespace {

constexpr int metafile_slots = 20;
constexpr int kind_enhanced_metafile = 3;
constexpr int kind_cgm_metafile = 6;

} // namespace

void YYWINSEL(int window, int reselect)
{
    int width = 0;
    int height = 0;
    if (gr_platform().window_select(window, width, height) == -1) {
        err_report(err::window_handle, "YYWINSEL");
        return;
    }
    GraphicsState& g = graphics_state();
    g.client_width = width;
    g.client_height = height;
    g.current_window = window;
    if (g.target_kind == target_window)
        g.target_number = window;
    g.internal_reselect = reselect;
    gr_drawable_size_update(target_window, window, width, height);
    g.internal_reselect = 0;
    gr_platform().text_size_to_pixels();
}

void gr_window_select_current(int window) { YYWINSEL(window, graphics_state().internal_reselect); }

void gr_drawable_size_update(int kind, int number, int width, int height)
{
    GraphicsState& g = graphics_state();
    if (kind != g.target_kind || number != g.target_number)
        return;
    // A minimised window or an empty field has no pixels to map onto; the
    // transforms divide by the size, so the previous size stays.
    if (width < 1 || height < 1)
        return;
    g.drawable_width = width;
    g.drawable_height = height;
    if (g.screen_active >= 1) {
        device_parameters().phase = -1;
        g.device_width = width;
        g.device_height = height;
        g.device_limit_x = static_cast<float>(width) - 0.01f;
        g.device_limit_y = static_cast<float>(height) - 0.01f;
        gr_send_hardcopy(DeviceOperation::Open);
        IGrArea(g.area_x1, g.area_y1, g.area_x2, g.area_y2);
    } else {
        gr_area_to_pixels();
        g.screen_active = 1;
        gr_send_screen(DeviceOperation::Clip);
        g.screen_active = 0;
    }
}

void gr_field_resized(int dialog, int field, int width, int height)
{
    if (dialog == graphics_state().target_dialog)
        gr_drawable_size_update(target_dialog_field, field, width, height);
}

void gr_window_resized(int window, int width, int height)
{
    GraphicsState& g = graphics_state();
    if (window != g.current_window)
        return;
    g.client_width = width;
    g.client_height = height;
    gr_platform().text_size_to_pixels();
    gr_drawable_size_update(target_window, window, width, height);
}

void gr_metafile_select_target(int slot, int& status, int& width, int& height)
{
    status = 1;
    if (slot < 1 || slot > metafile_slots)
        return;
    GraphicsPlatform& platform = gr_platform();
    int w = 0;
    int h = 0;
    const int kind = platform.metafile_kind(slot, w, h);
    if (kind == kind_enhanced_metafile) {
        width = w;
        height = h;
        graphics_state().memory_device = 0;
        status = platform.metafile_select(slot, w, h);
    } else if (kind == kind_cgm_metafile) {
        width = w;
        height = h;
        graphics_state().memory_device = 1;
        status = 0;
    }
}

namespace {

// Each selection returns whether it succeeded; on success the target fields
// and the drawable size follow the new target.
bool select_window(std::optional<int> number)
{
    GraphicsState& g = graphics_state();
    gr_platform().release();
    const int window = number.value_or(g.current_window);
    g.target_kind = target_window;
    g.target_number = window;
    g.target_dialog = 0;
    ErrorState& errors = error_state();
    const int saved = errors.last_error;
    errors.last_error = 0;
    gr_window_select_current(window);
    if (errors.last_error == err::window_handle)
        return false;
    errors.last_error = saved;
    return true;
}

bool select_bitmap(std::optional<int> number)
{
    GraphicsState& g = graphics_state();
    GraphicsPlatform& platform = gr_platform();
    platform.release();
    const int bitmap = number.value_or(1);
    g.target_kind = target_bitmap;
    g.target_number = bitmap;
    g.target_dialog = 0;
    if (bitmap < 1 || bitmap > platform.bitmap_limit())
        return false;
    int width = 0;
    int height = 0;
    if (platform.bitmap_select(bitmap - 1, width, height) > 0)
        return false;
    gr_drawable_size_update(target_bitmap, bitmap, width, height);
    return true;
}

bool select_field(std::optional<int> number)
{
    GraphicsState& g = graphics_state();
    GraphicsPlatform& platform = gr_platform();
    const int dialog = platform.current_dialog();
    if (dialog == 0)
        return false;
    platform.release();
    int field = number.value_or(0);
    g.target_dialog = dialog;
    int width = 0;
    int height = 0;
    platform.field_select(field, width, height);
    if (field == -1)
        return false;
    g.target_kind = target_dialog_field;
    g.target_number = field;
    gr_drawable_size_update(target_dialog_field, field, width, height);
    return true;
}

bool select_metafile(std::optional<int> number)
{
    GraphicsState& g = graphics_state();
    gr_platform().release();
    const int slot = number.value_or(1);
    g.target_kind = target_metafile;
    g.target_number = slot;
    g.target_dialog = 0;
    int status = 1;
    int width = 0;
    int height = 0;
    gr_metafile_select_target(slot, status, width, height);
    if (status > 0)
        return false;
    gr_drawable_size_update(target_metafile, slot, width, height);
    return true;
}

} // namespace

} // namespace korv

void IGrSelect(int kind, std::optional<int> number)
{
    using namespace korv;
    GraphicsState& g = graphics_state();
    const int was_memory_device = g.memory_device;
    g.memory_device = 0;

    bool selected = false;
    switch (kind) {
    case target_window: selected = select_window(number); break;
    case target_bitmap: selected = select_bitmap(number); break;
    case target_dialog_field: selected = select_field(number); break;
    case target_metafile: selected = select_metafile(number); break;
    default: break;
    }

    if (!selected) {
        g.memory_device = 0;
        g.target_kind = target_window;
        g.target_number = g.current_window;
        g.target_dialog = 0;
        gr_drawable_size_update(target_window, g.current_window, g.client_width, g.client_height);
        err_report(err::drawing_target, "IGrSelect");
        return;
    }

    gr_send_screen(DeviceOperation::Select);
    // Entering or leaving the in-memory CGM device: the device now reached
    // takes over the whole drawing state.
    if (g.memory_device != 0 || was_memory_device != 0) {
        err_routine_name_set("IGrSelect");
        for (DeviceOperation op : {DeviceOperation::Open, DeviceOperation::LineWidth, DeviceOperation::LineType,
                                   DeviceOperation::Palette, DeviceOperation::Clip})
            gr_send_screen(op);
        if (g.internal_reselect != 0)
            gr_send_screen(DeviceOperation::CharacterSize);
    }
}
