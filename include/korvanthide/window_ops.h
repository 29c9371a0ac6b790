// Operations on the current toolkit window once it is open: size, place
// and state, title and icon, status-bar parts and texts, raising, scrolling
// and filling the client area, text output with its colours and fonts,
// queries by item code, system colours, cursors and the pointer.
//
// All of them act on the window layer's current window. Window-level
// routines report nothing: they return results and small codes in their
// arguments.
#pragma once

#include <array>
#include <span>
#include <string_view>

// One value of the dialog and message-box state by code (1..11); 0 for any
// other code.
int WToolkitQuery(int code);
void WTextAttributeSet(int attribute);
// Foreground 0..16, background 0..15 or 16 (the system window colour);
// other values keep the stored index.
void WTextColourSet(int foreground, int background);
// Makes the requested text font when it differs from the last one made.
void WTextFontSet();

// Opens child window 1..50 (window receives its number, -1 when none could
// be opened). Inside a parent (flag 0x10) x, y, width and height are window
// units 0..9999 of the parent's client area (size default 8000), else
// pixels (size default 80 percent of the screen); -999999 centres.
void WindowOpenChild(int& window, int flags = 7, int x = -999999, int y = -999999, int width = 0, int height = 0,
                     int menu = 0, const std::array<int, 4>& toolbars = {}, int dialog = 0,
                     std::string_view title = {}, int parent = 0, int colour = -1);
// Closes child window 1..50 with every window and dialog inside it or
// owned by it.
void WindowCloseChild(int window);

namespace korv {

// ---- window selection and slots ----
// Makes a window the window layer's current window and gives its client
// size; a number that names no open window becomes -1 and nothing changes.
void win_select(int& window, int& width, int& height);
void win_free_slot_count(int& count);
int win_is_open(int window);

// Splits the current window into two panes with a bar between them.
// split_flags: 1 the bar is horizontal (panes one above the other), 2 the
// panes share every resize by their sizes, 4 size is the second pane's.
// size: pixels along the split axis, negative for halves. The panes come
// back in pane1 and pane2, or both -1 (no slots or windows), -3 (the window
// holds a dialog), -4 (it is converted), -6 (a window lies inside it).
struct SplitPane {
    int flags = 7;
    int menu = 0;
    int colour = -1;
    std::string_view title;
};
void win_split(int& pane1, int& pane2, int split_flags, int size, const SplitPane& first, const SplitPane& second);

// ---- size, position, state, contents ----
void win_placement_set(int x, int y, int& width, int& height, int state);
// Takes off what the current window holds (a dialog or a split); dialog is
// set to 0 when it named the dialog taken off. Status 1 no window, 2 it
// holds nothing, 0 done.
void win_contents_detach(int& dialog, int flags, int& status);

// ---- text and queries ----
void win_text_size_to_pixels();
void win_system_colour(int code, int& colour);

} // namespace korv
