// The one context that holds everything the toolkit keeps from one call to
// the next. Start-up makes it (a call before start-up makes it too, holding
// the records as they are before start-up), and every record is reached
// through `toolkit_context()`.
//
// Each record is a slot of the context, named in `ContextSlot`; its type
// stays with the subsystem that owns it, which makes the record at its first
// use. So the base names the plug-ins' slots without knowing their types, and
// a new subsystem's state is a new slot here and one accessor in its own
// files.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace korv {

enum class ContextSlot : std::size_t {
    // The install file.
    install_portable,
    install_windows,
    // Start-up and settings.
    settings,
    file_names,
    display,
    start_up,
    editor_buffers,
    process_command_line,
    // Errors and events.
    errors,
    report_outputs,
    database_diagnostic,
    debug_log,
    events,
    // Conversions, files, mail.
    conversions,
    os_files,
    mail,
    temporary_names,
    // Windows, menus, window procedures and operations.
    windows,
    menu_state,
    window_procs,
    text_font,
    cursors,
    // The dialog manager and the common dialogs.
    dialogs,
    dialog_records,
    dialog_procedure,
    dialog_results,
    control_classes,
    field_classes,
    colour_dialog_colours,
    colour_dialog_title,
    folder_browse,
    printer_setup,
    page_setup_in_use,
    // The graphics layer and its screen-side devices.
    graphics_context,
    palette,
    saved_attributes,
    presentation_graphics,
    stroke_fonts,
    point_buffer,
    gdi_drawing_state,
    screen_device,
    cgm_memory_device,
    metafile_slots,
    metafile_delete,
    metafile_back_end,
    bitmap_slots,
    viewer_class,
    blocking_viewers,
    file_read,
    // The services the base asks the plug-ins through.
    editor_services,
    grid_services,
    grid_layout_busy,
    hardcopy_services,
    hardcopy_state,
    content_kinds,
    // The text editor.
    editor_modal_result,
    editor_colour_hook,
    editor_hidden,
    editor_page_setups,
    // The grid.
    grid_directory,
    grid_redraw,
    grid_search,
    grid_sort_types,
    grid_print,
    grid_file_commit,
    grid_editor_last_modal,
    grid_editor_commands,
    grid_editor_brush,
    grid_focus_marks,
    grid_pressed_cell,
    grid_click_forwarding,
    grid_class_atoms,
    // Hardcopy: its settings, output units and drivers.
    printer_plotter,
    dump_settings,
    hardcopy_device,
    windows_printer,
    printer_page_setup,
    print_image,
    installed_drivers,
    output_units,
    halftone_overrides,
    raster_allocation_failure,
    clipboard_window,
    postscript_driver,
    svg_driver,
    dxf_driver,
    hpgl_driver,
    hpgl2_driver,
    cgm_driver,
    raster_printer_driver,
    raster_image_driver,
    windows_printer_driver,
    windows_metafile_driver,
    printer_gdi,
    metafile_gdi,
    count
};

class ToolkitContext {
public:
    ToolkitContext() = default;
    ToolkitContext(const ToolkitContext&) = delete;
    ToolkitContext& operator=(const ToolkitContext&) = delete;
    ~ToolkitContext();

    // The record in the slot, value-initialised at its first use.
    template <class T>
    T& record(ContextSlot slot)
    {
        return record<T>(slot, [] { return T{}; });
    }

    // The record in the slot, made by `make()` at its first use.
    template <class T, class Make>
    T& record(ContextSlot slot, Make make)
    {
        Part*& part = parts_.at(static_cast<std::size_t>(slot));
        if (part == nullptr) {
            auto made = std::make_unique<Holder<T>>(make);
            part = made.get();
            made_.push_back(std::move(made));
        }
        // Each slot holds one type; a second type asking for it is a fault
        // of the code, stopped here rather than read as the wrong record.
        if (part->tag != &tag_of<T>)
            throw std::logic_error("toolkit context slot of another type");
        return static_cast<Holder<T>*>(part)->value;
    }

private:
    template <class T>
    static constexpr char tag_of = 0;

    struct Part {
        explicit Part(const void* t) : tag(t) {}
        virtual ~Part() = default;
        const void* tag;
    };

    template <class T>
    struct Holder final : Part {
        template <class Make>
        explicit Holder(Make& make) : Part(&tag_of<T>), value(make())
        {
        }
        T value;
    };

    std::array<Part*, static_cast<std::size_t>(ContextSlot::count)> parts_{};
    // In the order made: released in reverse, as the records would be
    // without the context, so that a record's release may still read the
    // records made before it.
    std::vector<std::unique_ptr<Part>> made_;
};

ToolkitContext& toolkit_context();

} // namespace korv
