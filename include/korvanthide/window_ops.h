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
// The lowest free child slot 1..50, -1 when none.
int win_free_slot();
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
// The split window that holds the current window as a pane, -1 for none.
int win_split_parent();

// ---- status bar ----
// Status-bar part 1..255; width in pixels (-1 takes the rest); border 0 none, 2 raised,
// anything else sunken. Shown once the parts are applied.
void win_statusbar_part_define(int part, int width, int border);
void win_statusbar_parts_apply(int parts);
void win_statusbar_layout(int window, int parts);
void win_statusbar_text_set(int part, std::string_view text);
// Status-bar parts 1..255 only; trailing blanks are cut.
void win_statusbar_text(int part, std::string_view text);
// The text of a part of the current window's status bar, cut at the
// buffer's length and blank-padded (blank when there is no bar).
void win_statusbar_text_get(int part, std::span<char> text);

// ---- size, position, state ----
void win_placement_set(int x, int y, int& width, int& height, int state);
void win_position_get(int which, int& a, int& b, int& inside_parent, int& parent);
void win_client_origin(int& x, int& y);
void win_state_get(int& state);
void win_placement_size(int& width, int& height, int& left, int& top, int& inside_parent, int& parent);
void win_content_kind(int& kind);
void win_dialog_kind(int& kind);
// Takes off what the current window holds (a dialog or a split); dialog is
// set to 0 when it named the dialog taken off. Status 1 no window, 2 it
// holds nothing, 0 done.
void win_contents_detach(int& dialog, int flags, int& status);
int win_info_query(int item);

// ---- title, icon, raising ----
void win_title_icon_set(int& icon, int flag, std::string_view title);
void win_raise();

// ---- client-area drawing and text ----
void win_scroll(int dx, int dy, int colour);
void win_fill_rectangle(int x1, int y1, int x2, int y2, int colour);
// Text up to its first zero byte; (x, y) moves to the end of the text.
void win_text_draw(int& x, int& y, std::string_view text);
void win_text_width(int& width, std::string_view text);
void win_text_colours_set(int foreground, int background);
void win_text_colour_define(int index, int red, int green, int blue);
void win_text_attribute_set(int attribute);
void win_text_font_set(int font, int bold, int italic, int& width, int& height);
void win_text_size_to_pixels();
// The text colours of a new root window: foreground 0, background 15, no
// attribute, the 16-colour table and the system text and window colours.
void win_text_state_reset();
// The text font of a new window: font 0, not bold, not italic, with its
// size kept in pixels and in window units of the current window.
void win_text_font_reset();

// ---- queries ----
void win_system_colour(int code, int& colour);
void win_mouse_buttons(int& count);
void sys_special_folder(int folder, std::span<char> path);
void sys_system_directory(std::span<char> buffer);
void win_composition_flag(int& flag);

// ---- cursor and pointer ----
void win_cursor_shape_set(int shape, int mode, int kind, int window);
void win_attribute_get(int& shape, int kind, int window);
void win_pointer_move(int x, int y, int kind);

} // namespace korv
