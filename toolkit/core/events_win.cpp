// Posting from window procedures: the Windows message's parameters become
// the values of the event store.
#include <windows.h>

#include <windowsx.h>

#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "core/event_store.h"

namespace korv {

namespace {

bool is_bitmap_viewer(HWND window)
{
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, "ZOQBITMAP") == 0;
}

} // namespace

void win_event_post(int type, int a, WPARAM w, LPARAM l, HWND window)
{
    EventPost post;
    post.type = type;
    post.window = win_number_from_handle(window);
    post.time = static_cast<int>(GetMessageTime());
    const int viewer_source = is_bitmap_viewer(window) ? event::source_viewer : event::source_window;

    switch (type) {
    case event::key: {
        post.first = event_key_code(a == 1, static_cast<int>(w));
        post.source = viewer_source;
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
        post.x = cursor.x;
        post.y = cursor.y;
        break;
    }
    case event::command:
        post.first = LOWORD(w);
        break;
    case event::mouse_down:
    case event::mouse_up:
    case event::double_click: {
        post.first = a;
        post.source = viewer_source;
        POINT point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        if (type == event::mouse_down && a >= 4) {
            // The wheel reports its key state in the low word and the point
            // on the screen.
            post.first = GET_WHEEL_DELTA_WPARAM(w) >= 0 ? 4 : 5;
            post.second = win_modifier_bits(GET_KEYSTATE_WPARAM(w));
            ScreenToClient(window, &point);
        } else {
            post.second = win_modifier_bits(static_cast<int>(w));
        }
        post.x = point.x;
        post.y = point.y;
        break;
    }
    case event::mouse_move:
        post.second = win_modifier_bits(static_cast<int>(w));
        post.source = viewer_source;
        post.x = GET_X_LPARAM(l);
        post.y = GET_Y_LPARAM(l);
        break;
    case event::expose: {
        RECT update{};
        GetUpdateRect(window, &update, TRUE);
        post.first = update.right - update.left;
        post.second = update.bottom - update.top;
        post.source = event::source_window;
        post.x = update.left;
        post.y = update.top;
        break;
    }
    case event::resize:
        post.first = LOWORD(l);
        post.second = HIWORD(l);
        post.source = event::source_window;
        post.minimised = w == SIZE_MINIMIZED;
        post.visible = IsWindowVisible(window) != 0;
        break;
    case event::close_request:
    case event::command_line:
        break;
    case event::nonclient_click:
        post.first = a;
        break;
    case event::timer:
        post.first = static_cast<int>(w);
        break;
    case event::viewer_scrolled:
        post.first = LOWORD(l);
        post.second = HIWORD(l);
        post.source = event::source_viewer;
        post.x = LOWORD(l);
        post.y = HIWORD(l);
        break;
    default:
        // Dialog events carry values of the dialog's records: the dialog
        // manager posts them through win_event_post_dialog.
        return;
    }

    if (event_post(post) == PostOutcome::hidden_resize && window_tables().client_dc != nullptr
        && post.window >= 0) {
        gr_window_resized(post.window, post.first, post.second);
    }
}

PostOutcome win_event_post_dialog(const EventPost& post)
{
    const PostOutcome outcome = event_post(post);
    if (outcome == PostOutcome::hidden_resize
        && post.type == event::resize + event::field_offset) {
        gr_field_resized(post.window, post.field, post.first, post.second);
    }
    return outcome;
}

} // namespace korv
