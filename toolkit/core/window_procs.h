// State the window procedures keep between messages.
#pragma once

#include <windows.h>

namespace korv {

inline constexpr UINT_PTR timed_wait_timer = 999;

struct WindowProcState {
    HWND pressed_frame = nullptr;    // its non-client area took a left press
    bool popup_menu_loop = false;    // the current menu loop is a floating popup's
    bool timed_wait_active = false;  // win_timed_wait is running
    bool menu_help_guard = false;    // an editor is showing its own menu help
    HCURSOR default_cursor = nullptr;
};

WindowProcState& window_proc_state();

} // namespace korv
