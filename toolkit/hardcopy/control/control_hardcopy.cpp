// IGrHardCopy: finishing, closing and opening hardcopy output, and the print
// command run on a finished plot file.
#include <string>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/startup.h"
#include "hardcopy/control/control.h"

namespace korv {

namespace {

constexpr int temp_plot_entry = 3;

std::string_view view(std::span<const char> text) { return {text.data(), text.size()}; }

std::string_view temp_plot_file() { return text_trimmed(view(file_name_table().entry(temp_plot_entry))); }

// Runs the stored print command on the plot file, deletes the file and
// forgets the command.
void print_command_finish()
{
    HardcopyState& hc = hardcopy_state();
    const std::string_view stored = view(hc.print_command);
    if (text_trimmed(stored).empty())
        return;
    const std::size_t at = stored.find('@');
    std::string command;
    if (at != std::string_view::npos) {
        command.append(stored.substr(0, at));
        command.append(temp_plot_file());
        command.append(stored.substr(at + 1));
    } else {
        command.append(stored);
    }
    GraphicsPlatform& platform = gr_platform();
    platform.print_command_run(command);
    platform.file_delete(temp_plot_file());
    hc.print_command.fill(' ');
}

// The new output starts with the graphics state's current settings.
void hardcopy_state_send()
{
    GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    if (g.screen_active < 1) {
        // IGrArea leaves the hardcopy side alone while this is set.
        g.internal_reselect = 0;
        IGrArea(g.area_x1, g.area_y1, g.area_x2, g.area_y2);
        g.device_colour_count = g.hardcopy_colour_count;
    }
    gr_page_aspect();
    gr_page_dimensions_update();
    if (g.prev_index == -1)
        g.prev_index = gr_colour_nearest_index(g.prev_rgb);
    if (g.cur_index == -1)
        g.cur_index = gr_colour_nearest_index(g.cur_rgb);
    hc.last_pen_x = -9999.0f;
    hc.last_pen_y = -9999.0f;
    for (DeviceOperation op : {DeviceOperation::LineWidth, DeviceOperation::LineType, DeviceOperation::LineJoin,
                               DeviceOperation::LineCap, DeviceOperation::Clip, DeviceOperation::CharacterSize,
                               DeviceOperation::Colour})
        gr_send_hardcopy(op);
}

} // namespace

} // namespace korv

void IGrHardCopy(std::optional<std::string_view> option, std::optional<std::string_view> title)
{
    using namespace korv;
    err_routine_name_set("IGrHardCopy");
    GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    DeviceParameters& p = device_parameters();

    if (hc.page_drawn % 2 != 0) {
        p.phase = 32;
        p.count = 1;
        gr_send_hardcopy(DeviceOperation::EndPage);
    }
    gr_send_hardcopy(DeviceOperation::Close);
    g.hardcopy_active = 0;

    if (option && option->size() == 1 && (*option == "S" || *option == "s")) {
        print_command_finish();
        return;
    }

    p.count = -999;
    hc_dispatch(+DeviceOperation::Select);
    if (p.count == -999)
        return;

    p.image_file = hc.default_output_name;
    p.count = 1;
    if (option && !text_trimmed(*option).empty()) {
        p.image_file_set(*option);
        p.count = 0;
    }
    if (hc.print_command_flag != 0 && p.image_file_view().find(" @ ") != std::string_view::npos) {
        // One plot file serves every print command: a plot that still waits
        // for its command is printed before the file is written again.
        print_command_finish();
        hc.print_command = p.image_file;
        p.image_file_set(temp_plot_file());
    }
    if (title) {
        text_assign(hc.title, *title);
        p.px1 = 1;
    } else {
        p.px1 = 0;
    }
    // Without the screen the page is the device space; a page without a
    // size (no printer could be read) keeps the previous one, since the
    // drivers divide by it.
    const int page_width = hc.options.get(option_page_width);
    const int page_height = hc.options.get(option_page_height);
    if (g.screen_active < 1 && page_width > 0 && page_height > 0) {
        g.device_width = page_width;
        g.device_height = page_height;
        g.device_limit_x = static_cast<float>(page_width) - 0.01f;
        g.device_limit_y = static_cast<float>(page_height) - 0.01f;
    }

    g.hardcopy_active = 1;
    p.phase = 1;
    gr_send_hardcopy(DeviceOperation::Open);
    if (g.hardcopy_active >= 1)
        hardcopy_state_send();
}
