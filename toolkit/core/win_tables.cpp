// The window tables and the small queries other layers make on them.
#include <windows.h>

#include <mmsystem.h>

#include <cstddef>

#include "korvanthide/files.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/services/editor.h"
#include "graphics/metafile_win.h"
#include "core/sys_files.h"
#include "core/services/content_kinds.h"
#include "core/window_layer.h"

namespace korv {

WindowTables& window_tables()
{
    return toolkit_context().record<WindowTables>(ContextSlot::windows);
}

WindowSlot* win_slot(int n)
{
    if (n < 0 || n > max_window) {
        return nullptr;
    }
    return &window_tables().windows[static_cast<std::size_t>(n)];
}

WindowContentRecord* win_content_record(HWND frame)
{
    if (frame == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<WindowContentRecord*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

ContentKind win_content_kind_of(HWND frame)
{
    const WindowContentRecord* record = win_content_record(frame);
    return record != nullptr ? record->kind : ContentKind::none;
}

SplitWindowRecord* win_split_record(HWND frame)
{
    WindowContentRecord* record = win_content_record(frame);
    return record != nullptr && record->kind == ContentKind::split ? static_cast<SplitWindowRecord*>(record)
                                                                   : nullptr;
}

DialogWindowRecord* win_dialog_record(HWND frame)
{
    WindowContentRecord* record = win_content_record(frame);
    return record != nullptr && record->kind == ContentKind::dialog ? static_cast<DialogWindowRecord*>(record)
                                                                    : nullptr;
}

void win_content_record_set(HWND frame, WindowContentRecord* record)
{
    if (frame != nullptr) {
        SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    }
}

int win_number_from_handle(HWND handle)
{
    if (handle == nullptr) {
        return -1;
    }
    const WindowTables& tables = window_tables();
    for (int n = 0; n < window_slots; ++n) {
        const WindowSlot& slot = tables.windows[static_cast<std::size_t>(n)];
        if (slot.frame == handle || slot.client == handle) {
            return n;
        }
    }
    for (int n = 1; n < window_slots; ++n) {
        const WindowContentRecord* record =
            win_content_record(tables.windows[static_cast<std::size_t>(n)].frame);
        if (record != nullptr && record->subject == handle
            && content_kind_services(record->kind).subject_names_window) {
            return n;
        }
    }
    return -1;
}

int win_gradient_fill_available()
{
    return window_tables().gradient_fill != nullptr ? 2 : 1;
}

int win_menuiteminfo_size()
{
    // The menu-item record grew by one handle after NT 4.
    int platform = 0, major = 0, minor = 0;
    sys_os_platform(platform);
    sys_os_version(major, minor);
    return static_cast<int>(platform == 4 && major <= 4 ? offsetof(MENUITEMINFOA, hbmpItem)
                                                         : sizeof(MENUITEMINFOA));
}

int win_dwm_composition_enabled()
{
    using Query = HRESULT(WINAPI*)(BOOL*);
    const FARPROC entry = window_tables().dwm_composition_enabled;
    if (entry == nullptr) {
        return 0;
    }
    BOOL enabled = FALSE;
    if (FAILED(reinterpret_cast<Query>(reinterpret_cast<void*>(entry))(&enabled))) {
        return 0;
    }
    return enabled ? 1 : 0;
}

void win_drawing_target_release()
{
    WindowTables& tables = window_tables();
    if (tables.drawing_dc != nullptr) {
        if (tables.replaced_pen != nullptr) SelectObject(tables.drawing_dc, tables.replaced_pen);
        if (tables.replaced_brush != nullptr) SelectObject(tables.drawing_dc, tables.replaced_brush);
    }
    tables.replaced_pen = nullptr;
    tables.replaced_brush = nullptr;
    if (tables.dc_window >= 0) {
        HWND client = tables.windows[static_cast<std::size_t>(tables.dc_window)].client;
        if (tables.client_dc != nullptr) ReleaseDC(client, tables.client_dc);
        if (tables.drawing_dc == tables.client_dc) tables.drawing_dc = nullptr;
        tables.client_dc = nullptr;
        tables.dc_window = -1;
    } else if (tables.bitmap_context) {
        if (tables.drawing_dc != nullptr) DeleteDC(tables.drawing_dc);
        tables.drawing_dc = nullptr;
        tables.bitmap_context = false;
    } else if (tables.metafile_context) {
        // The recording context belongs to its metafile slot.
        tables.drawing_dc = nullptr;
        tables.metafile_context = false;
        emf_current_context_clear();
    }
}

void win_slot_release(int window)
{
    if (window < 0 || window > max_window) {
        return;
    }
    WindowSlot& slot = window_tables().windows[static_cast<std::size_t>(window)];
    editor_services().buffer_rows_release(window);
    slot.tooltips.reset();
    event_state().pending[static_cast<std::size_t>(window)] = {};
    if (slot.sound_device != 0) {
        const auto device = static_cast<MCIDEVICEID>(slot.sound_device);
        mciSendCommandA(device, MCI_STOP, 0, 0);
        mciSendCommandA(device, MCI_CLOSE, 0, 0);
    }
    if (slot.background_brush != nullptr) {
        DeleteObject(slot.background_brush);
    }
    slot = WindowSlot{};
}

void win_decimal_comma_set(int flag)
{
    window_tables().decimal_comma = flag == 1;
}

} // namespace korv
