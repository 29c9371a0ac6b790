// The event wait: the Windows message loop runs until a window or dialog
// procedure posts an event, and the event's positions are completed in the
// drawable it came from.
#include <algorithm>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/services/editor.h"
#include "core/window_procs.h"
#include "graphics/bitmap_viewer.h"
#include "core/event_store.h"
#include "core/window_layer.h"

namespace korv {

namespace {

bool has_client(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr && slot->client != nullptr;
}

void client_size(int n, int& width, int& height) { win_client_size(1, n, width, height); }

const WindowQuery window_query{has_client, client_size};

// The system's caret blink is not handed to window procedures.
bool is_caret_blink(const MSG& message)
{
    return message.message == 0x118 && LOWORD(message.wParam) == 0xFFF6;
}

void dispatch(MSG& message)
{
    if (is_caret_blink(message)) return;
    TranslateMessage(&message);
    const bool redraw = message.message == WM_PAINT || message.message == WM_SIZE;
    EventState& events = event_state();
    if (redraw) events.dispatching = 1;
    DispatchMessageA(&message);
    if (redraw) events.dispatching = 0;
}

// The window number of a frame's parent window: the window whose client an
// inside-parent frame lies in, or the owner of a popup; -1 for none.
int parent_number(int n)
{
    const WindowSlot* slot = win_slot(n);
    if (slot == nullptr || slot->frame == nullptr) return -1;
    HWND parent = GetParent(slot->frame);
    return parent != nullptr ? win_number_from_handle(parent) : -1;
}

bool holds_panes(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr && content_services_of(slot->frame).holds_panes;
}

bool has_menu(int n)
{
    const WindowSlot* slot = win_slot(n);
    return slot != nullptr && slot->menu != nullptr;
}

// Accelerators for a message while a dialog is active.
bool dialog_accelerators(MSG& message, HWND dialog)
{
    int host = -1;
    int dialog_line = 0;
    if (!dialog_host(dialog, host, dialog_line)) return false;
    const int message_window = win_number_from_handle(message.hwnd);
    const int target = message_window >= 0 ? message_window : (host >= 0 ? host : 0);
    if (host >= 0) {
        if (has_menu(host)) return win_accelerator_translate(target, host, message) != 0;
        if (host == 0) return false;
        // A pane without a menu uses the menu of the windows above it that
        // hold panes.
        for (int n = parent_number(parent_number(host)), guard = 0; n >= 0 && guard <= max_window;
             n = parent_number(parent_number(n)), ++guard) {
            if (!holds_panes(n)) return false;
            if (has_menu(n)) return win_accelerator_translate(target, n, message) != 0;
        }
        return false;
    }
    return dialog_line != 0 && win_accelerator_translate(target, 0, message) != 0;
}

void route(MSG& message)
{
    const WindowTables& tables = window_tables();
    if (tables.active_dialog != nullptr && IsWindow(tables.active_dialog)) {
        if (dialog_accelerators(message, tables.active_dialog)) return;
        if (IsDialogMessageA(tables.active_dialog, &message)) return;
    }
    // An editor's own controls take its search dialog's keys and its
    // accelerators; what is left is translated without the tables of the
    // windows around it.
    switch (editor_services().message_route(message)) {
    case 1: return;
    case 2: dispatch(message); return;
    default: break;
    }
    const int n = win_number_from_handle(message.hwnd);
    if (n >= 0) {
        int m = n;
        for (int guard = 0; m > 0 && !has_menu(m) && guard <= max_window; ++guard) {
            m = parent_number(m);
        }
        if (m >= 0 && has_menu(m) && win_accelerator_translate(n, m, message) != 0) return;
    }
    dispatch(message);
}

// A quit taken from the queue while a wait loop runs is posted again when
// the loop ends: the quit belongs to whoever runs the outer loop.
struct QuitKeeper {
    bool seen = false;
    WPARAM code = 0;
    ~QuitKeeper()
    {
        if (seen) PostQuitMessage(static_cast<int>(code));
    }
};

// Gets the next message; false when the loop should look again (a failed
// get waits for new input instead of spinning; a quit is remembered).
bool next_message(MSG& message, QuitKeeper& quit)
{
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) {
        WaitMessage();
        return false;
    }
    if (got == 0) {
        quit.seen = true;
        quit.code = message.wParam;
        return false;
    }
    return true;
}

void copy_point(int& slot_x, int& slot_y, float x, float y)
{
    slot_x = static_cast<int>(x);
    slot_y = static_cast<int>(y);
}

// A position in a bitmap viewer in the user co-ordinates of its bitmap.
void viewer_pixel_to_user(float px, float py, float& x, float& y, int window)
{
    int width = 0;
    int height = 0;
    int across = 0;
    int bottom = 0;
    namespace q = bmp_viewer_scroll_code;
    bmp_viewer_scroll_position(window, q::bitmap_width, width);
    bmp_viewer_scroll_position(window, q::bitmap_height, height);
    bmp_viewer_scroll_position(window, q::across, across);
    bmp_viewer_scroll_position(window, q::bottom_edge, bottom);
    gr_viewer_pixel_to_user(px, py, x, y, width, height, across, bottom);
}

void to_window_units(int& slot_x, int& slot_y)
{
    int u = 0;
    int v = 0;
    gr_pixel_to_window_units(slot_x, slot_y, u, v);
    slot_x = u;
    slot_y = v;
}

} // namespace

void win_client_size(int kind, int number, int& width, int& height)
{
    width = -1;
    height = -1;
    HWND window = nullptr;
    if (kind == 1) {
        const WindowSlot* slot = win_slot(number);
        window = slot != nullptr ? slot->client : nullptr;
    } else if (kind == 3) {
        HWND dialog = dialog_current_window();
        window = number == 0 || dialog == nullptr ? dialog : GetDlgItem(dialog, number);
    }
    RECT r{};
    if (window != nullptr && GetClientRect(window, &r)) {
        width = r.right;
        height = r.bottom;
    }
}

void win_message_pump(int& type, EventRecord& record)
{
    event_wait_begin();
    if (event_take_pending(type, record, window_query)) return;
    event_loop_begin();
    QuitKeeper quit;
    while (event_state().store.waiting == 1) {
        MSG message{};
        if (next_message(message, quit)) route(message);
    }
    event_wait_finish(type, record, window_query);
}

void win_message_pump_peek(int& type, EventRecord& record)
{
    event_wait_begin();
    if (event_take_pending(type, record, window_query)) return;
    event_loop_begin();
    QuitKeeper quit;
    EventState& events = event_state();
    while (events.store.waiting == 1 && events.store.type == 0) {
        MSG message{};
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            events.store.type = -1;
            break;
        }
        if (message.message == WM_QUIT) {
            quit.seen = true;
            quit.code = message.wParam;
            continue;
        }
        route(message);
    }
    event_wait_finish(type, record, window_query);
}

void win_event_complete(int type, EventRecord& record)
{
    record.unit_x() = record.pixel_x();
    record.unit_y() = record.pixel_y();
    if (type == 2 || type == 3 || (type >= 9 && type <= 14)) return;

    GraphicsState& graphics = graphics_state();
    if (type == event::viewer_scrolled) {
        float x = 0;
        float y = 0;
        const float h = static_cast<float>(graphics.drawable_height);
        viewer_pixel_to_user(record.pixel_x() + 0.5f, h - record.pixel_y() - 1 + 0.5f, x, y,
                             record.window());
        copy_point(record.user_x(), record.user_y(), x, y);
        record.unit_x() = 0;
        record.unit_y() = 0;
        return;
    }
    if (type < 1 || type > 16) return;

    const int source = record.source();
    const bool field = source == event::source_field;
    const int kind = field ? target_dialog_field : target_window;
    const int number = field ? record.field() : record.window();
    const int dialog = field ? record.window() : 0;
    int resized_width = 0;
    int resized_height = 0;
    {
        GraphicsStateSaver saver;
        const bool is_target = graphics.target_kind == kind && graphics.target_number == number
                               && graphics.target_dialog == dialog;
        int previous_dialog = 0;
        if (!is_target) {
            previous_dialog = dialog_result_state().current_dialog;
            if (field && dialog != previous_dialog) WDialogSelect(dialog);
            int width = 0;
            int height = 0;
            win_client_size(field ? 3 : 1, number, width, height);
            graphics.drawable_width = width;
            graphics.drawable_height = height;
            graphics.client_width = width;
            graphics.client_height = height;
            graphics.screen_area_x1 = (width - 0.01f) * graphics.area_x1;
            graphics.screen_area_y1 = (height - 0.01f) * graphics.area_y1;
            graphics.screen_area_span_x = (width - 0.01f) * (graphics.area_x2 - graphics.area_x1);
            graphics.screen_area_span_y = (height - 0.01f) * (graphics.area_y2 - graphics.area_y1);
        }
        const float h = static_cast<float>(graphics.drawable_height);
        float x = 0;
        float y = 0;
        switch (type) {
        case event::key:
        case event::mouse_down:
        case event::mouse_up:
        case event::mouse_move:
        case event::double_click: {
            const float px = record.pixel_x() + 0.5f;
            const float py = h - record.pixel_y() - 1 + 0.5f;
            if (source == event::source_viewer) {
                viewer_pixel_to_user(px, py, x, y, record.window());
                int across = 0;
                int down = 0;
                bmp_viewer_scroll_position(record.window(), bmp_viewer_scroll_code::across, across);
                bmp_viewer_scroll_position(record.window(), bmp_viewer_scroll_code::down, down);
                record.pixel_x() += across;
                record.pixel_y() += down;
            } else {
                gr_pixel_to_user(px, py, x, y);
            }
            copy_point(record.user_x(), record.user_y(), x, y);
            if (!field) to_window_units(record.unit_x(), record.unit_y());
            break;
        }
        case event::expose: {
            record.pixel_width() = record.first();
            record.pixel_height() = record.second();
            gr_pixel_to_user(record.pixel_x() + 0.5f, h - record.pixel_y() - 1 + 0.5f, x, y);
            copy_point(record.user_x(), record.user_y(), x, y);
            gr_pixel_to_user(record.first() + 0.5f, record.second() + 0.5f, x, y);
            copy_point(record.user_width(), record.user_height(), x, y);
            int right = 0;
            int bottom = 0;
            gr_pixel_to_window_units(record.pixel_x() + record.first() - 1,
                                     record.pixel_y() + record.second() - 1, right, bottom);
            to_window_units(record.unit_x(), record.unit_y());
            record.first() = right - record.unit_x();
            record.second() = bottom - record.unit_y();
            break;
        }
        case event::resize:
            record.pixel_width() = record.first();
            record.pixel_height() = record.second();
            resized_width = record.first();
            resized_height = record.second();
            break;
        default:
            break;
        }
        if (!is_target && field && dialog != previous_dialog && previous_dialog != 0) {
            WDialogSelect(previous_dialog);
        }
    }

    if (type == event::resize) {
        if (!field) {
            if (number == graphics.current_window) {
                graphics.client_width = resized_width;
                graphics.client_height = resized_height;
            }
            if (graphics.target_kind == target_window && graphics.target_number == number) {
                gr_drawable_size_update(target_window, number, resized_width, resized_height);
            }
        } else if (graphics.target_kind == target_dialog_field && graphics.target_number == number
                   && graphics.target_dialog == dialog) {
            gr_drawable_size_update(target_dialog_field, number, resized_width, resized_height);
        }
    }
}

void win_timer_set(int period, int timer_id, int target)
{
    const WindowSlot& root = window_tables().windows[0];
    if (period > 0) {
        SetTimer(target == 1 ? root.client : root.frame, static_cast<UINT_PTR>(timer_id),
                 static_cast<UINT>(period), nullptr);
        return;
    }
    if (root.client != nullptr) KillTimer(root.client, static_cast<UINT_PTR>(timer_id));
    if (root.frame != nullptr) KillTimer(root.frame, static_cast<UINT_PTR>(timer_id));
}

void win_timed_wait(int hundredths)
{
    HWND client = window_tables().windows[0].client;
    // Computed wide: ten times a large count does not fit an int.
    const auto period = static_cast<UINT>(
        std::min<long long>(std::max(1, hundredths) * 10LL, USER_TIMER_MAXIMUM));
    if (client == nullptr || SetTimer(client, timed_wait_timer, period, nullptr) == 0) return;
    WindowProcState& state = window_proc_state();
    state.timed_wait_active = true;
    QuitKeeper quit;
    while (state.timed_wait_active) {
        MSG message{};
        if (!next_message(message, quit)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int sys_tick_count() { return static_cast<int>(GetTickCount() & 0x7FFFFFFF); }

HWND win_statusbar_of(int window)
{
    for (int n = window, guard = 0; n >= 0 && guard <= max_window; n = parent_number(n), ++guard) {
        const WindowSlot* slot = win_slot(n);
        if (slot == nullptr) return nullptr;
        if (slot->status_bar != nullptr) return slot->status_bar;
        if (n == 0) return nullptr;
    }
    return nullptr;
}

} // namespace korv

void WEventWait(int& type, EventRecord& record)
{
    korv::win_message_pump(type, record);
    korv::win_event_complete(type, record);
}
