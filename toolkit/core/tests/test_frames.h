// Test windows entered in the window tables the way the window layer
// enters a child window: a frame with a client window, optionally a
// status bar, and a menu. For tests of the layers that work on windows.
#pragma once

#include <windows.h>

#include <string>

#include "testing/gui_support.h"

namespace korv::testing {

struct FrameOptions {
    std::string title = "Test";
    int width = 480;
    int height = 360;
    bool caption = true;
    bool status_bar = false;
    HMENU menu = nullptr;
    int menu_help = 0;  // ZOQMENUSTRING resource kept for the menu
};

// Opens window number n (1..50) and makes it the current window.
HWND open_test_window(int n, const FrameOptions& options = {});
// Destroys window n's frame and empties its slot. Under Wine without a
// window manager this waits about 2 s for the X window to be withdrawn, so
// tests share their windows where they can.
void close_test_window(int n);
// The last command a test frame or client received (WM_COMMAND low word).
int last_command();
void last_command_reset();

} // namespace korv::testing
