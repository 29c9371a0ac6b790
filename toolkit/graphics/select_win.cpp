// The Windows tree's platform services for the graphics and hardcopy layers.
#include <windows.h>

#include "korvanthide/bitmaps.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/files.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/services/hardcopy.h"
#include "graphics/screen_device.h"
#include "graphics/metafile_slots.h"
#include "graphics/metafile_win.h"
#include "graphics/cgm_memory_device.h"
#include "graphics/bitmap_slots.h"

namespace korv {

namespace {

constexpr int platform_windows_nt = 4;

class WindowsPlatform : public GraphicsPlatform {
public:
    void release() override { win_drawing_target_release(); }

    int window_select(int window, int& width, int& height) override
    {
        win_select(window, width, height);
        return window == -1 ? -1 : 0;
    }

    void text_size_to_pixels() override { win_text_size_to_pixels(); }

    int bitmap_limit() override { return bmp_handle_limit(); }

    int bitmap_select(int slot, int& width, int& height) override
    {
        int status = 1;
        bmp_select_target(slot, status, width, height);
        return status;
    }

    int display_colour_count() override
    {
        // A 256-colour display draws through the display palette, whose
        // levels are the colours device colour numbers are made for.
        const int colours = display_info().colour_count;
        return colours == 256 ? window_tables().palette_levels : colours;
    }

    int current_dialog() override { return dialog_result_state().current_dialog; }

    void field_select(int& field, int& width, int& height) override
    {
        if (dialog_field_drawing_target(field, width, height) == -1)
            field = -1;
    }

    int printer_defaults(PrinterPage& page) override { return hardcopy_services().printer_defaults(page); }

    int platform_level() override
    {
        int code = 0;
        sys_os_platform(code);
        return code == platform_windows_nt ? 2 : 1;
    }

    int metafile_select(int slot, int width, int height) override { return emf_select_target(slot - 1, width, height); }

    int gradient_level() override { return win_gradient_fill_available(); }
    void print_command_run(std::string_view command) override { hardcopy_services().print_command(command); }
    void file_delete(std::string_view name) override { IOsDeleteFile(name); }
};

} // namespace

void gr_platform_install()
{
    static WindowsPlatform platform;
    GraphicsPlatform* previous = gr_platform_services_install(&platform);
    if (previous != nullptr)
        gr_platform_services_install(previous);
    metafile_delete_install(emf_delete);
    if (Device* cgm = gr_memory_device_install(&cgm_memory_device()); cgm != nullptr)
        gr_memory_device_install(cgm);
    Device* screen = gr_screen_device_install(&gdi_device());
    if (screen != nullptr)
        gr_screen_device_install(screen);
}

} // namespace korv
