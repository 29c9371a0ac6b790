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
    // Holds a dialog: a second dialog cannot be shown in the window, and a
    // window or split opened inside it is refused as one holding a dialog
    // (-3) rather than as a converted window (-4).
    bool holds_dialog = false;
    // Lays out panes in its client: a pane's menu shows in the bar of the
    // window above, and a pane without a menu of its own takes the menu and
    // accelerators of the nearest window above it that has one.
    bool holds_panes = false;
    // Its client shows the program's graphics (its panes): their picture is
    // kept while a blocking dialog is up and painted back after, as a plain
    // window's is. Without it the content paints itself.
    bool client_picture_kept = false;
    // Its subject is the window's field: a field option given without a
    // field number goes to the subject.
    bool subject_is_field = false;
    // Close query of a pane: 1 when the window may close. Empty: it may.
    std::function<int(HWND frame)> may_close;
    // Frees the record of a closing window and takes it off the frame.
    // Empty: the kind's own layer frees it when the frame is destroyed.
    std::function<void(HWND frame, WindowContentRecord& record)> release;
    // Shows the help of a menu item it owns in `bar`, the status bar of the
    // window whose menu loop runs. Empty: the frame gets the WM_MENUSELECT.
    std::function<void(HWND frame, HWND bar, WPARAM w, LPARAM l)> menu_help;
    // Takes the content down and leaves a plain child window
    // (win_contents_detach, with its flags; `dialog` is set to 0 when it
    // named a dialog taken off). Empty: the kind stays.
    std::function<void(HWND frame, int flags, int& dialog)> detach;
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
