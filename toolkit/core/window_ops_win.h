// The window operations that only the core's own routines call. Like those
// of korvanthide/window_ops.h they act on the window layer's current window
// and report nothing: results and small codes come back in their arguments.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// ---- window selection and slots ----
// The lowest free child slot 1..50, -1 when none.
int win_free_slot();
// The split window that holds the current window as a pane, -1 for none.
int win_split_parent();
// Closes open child window 1..50 with all it holds; a pane closes its split
// window's panes and gives the split window back as a plain window.
void win_child_close(int window);

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
void win_position_get(int which, int& a, int& b, int& inside_parent, int& parent);
void win_client_origin(int& x, int& y);
void win_state_get(int& state);
void win_placement_size(int& width, int& height, int& left, int& top, int& inside_parent, int& parent);
void win_content_kind(int& kind);
void win_dialog_kind(int& kind);
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
// The text colours of a new root window: foreground 0, background 15, no
// attribute, the 16-colour table and the system text and window colours.
void win_text_state_reset();
// The text font of a new window: font 0, not bold, not italic, with its
// size kept in pixels and in window units of the current window.
void win_text_font_reset();

// ---- queries ----
void win_mouse_buttons(int& count);
void sys_special_folder(int folder, std::span<char> path);
void sys_system_directory(std::span<char> buffer);
void win_composition_flag(int& flag);

// ---- cursor and pointer ----
void win_cursor_shape_set(int shape, int mode, int kind, int window);
void win_attribute_get(int& shape, int kind, int window);
void win_pointer_move(int x, int y, int kind);

} // namespace korv
