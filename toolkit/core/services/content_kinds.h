// What the window layer asks of the record hung on a frame, by its kind.
// The base fills the kinds it makes (bitmap viewer, embedded dialog, split
// window); the editor and the grid fill theirs when they register. A kind
// nobody filled answers like a window without a record.
#pragma once

#include <windows.h>

#include <functional>

#include "korvanthide/window.h"

namespace korv {

struct ContentKindServices {
    // A split window above a pane of this kind hands the pane the menu
    // commands and menu openings meant for its focused pane.
    bool takes_commands = false;
    // Shows its own help for the items of a menu it owns.
    bool own_menu_help = false;
    // Keeps a menu bar of its own: the program cannot set the window's menu.
    bool own_menu_bar = false;
    // Sets the cursor over its client area itself.
    bool keeps_cursor = false;
    // Covers the client area: its paints are not reported as events.
    bool covers_client = false;
    // Its subject window takes the focus when the window is brought up.
    bool subject_takes_focus = false;
    // Its subject window stands for the window: the window's number is
    // found from the subject's handle too.
    bool subject_names_window = false;
    // Close query of a pane: 1 when the window may close. Empty: it may.
    std::function<int(HWND frame)> may_close;
    // Frees the record of a closing window and takes it off the frame.
    // Empty: the kind's own layer frees it when the frame is destroyed.
    std::function<void(HWND frame, WindowContentRecord& record)> release;
    // Shows the help of a menu item it owns in `bar`, the status bar of the
    // window whose menu loop runs. Empty: the frame gets the WM_MENUSELECT.
    std::function<void(HWND frame, HWND bar, WPARAM w, LPARAM l)> menu_help;
    // Takes the content down and leaves a plain child window
    // (win_contents_detach). Empty: the kind stays.
    std::function<void(HWND frame)> detach;
    // The window's menu bar came or went (win_root_menu_set): the content
    // follows the new client size. Empty: nothing to do.
    std::function<void(HWND frame, WindowContentRecord& record)> menu_changed;
};

ContentKindServices& content_kind_services(ContentKind kind);
// The services of the kind of the record on `frame` (of no kind without one).
const ContentKindServices& content_services_of(HWND frame);

// Takes the record off a closing frame and frees it, when its kind leaves
// that to the window layer.
void win_content_release(HWND frame);
// Hangs a new embedded-dialog record on `frame`, with the frame's outer size.
void win_dialog_record_attach(HWND frame, HWND dialog);

} // namespace korv
