// The menu, toolbar and menu-help routines that only the core's own files
// call; what the editor and the grid call is in korvanthide/menus.h.
//
// Item operations work on the current window when it has a menu or a
// toolbar, else on the root window. Routines report through their
// arguments only (-1 or -2 as stated), never through the error reporter.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace korv {

// The menu resource with its command identifiers applied and the items it
// marks disabled shown grey; nullptr when there is no such resource.
HMENU win_menu_load(int identifier);
// Greys every item (through all submenus) whose state has the disabled bit.
void win_menu_grey_pass(HMENU menu);

// Builds toolbar `identifier` on side 0..3 (top, left, right, bottom) of
// window `window`, replacing the one there; identifier 0 only removes it.
// identifier becomes -1 when the resource is missing, -2 when the window
// is not open. width and height: the new client size when the change
// resized the client across the toolbar's side, else -1 and -1.
void win_toolbar_load(int& identifier, int window, int side, int& width, int& height);

// Shows menu `identifier` as a floating popup at (x, y) (client
// co-ordinates of the current window with flag 1, screen with 0) and
// returns when it closes; identifier becomes -1 when it cannot be loaded.
void win_popup_menu(int& identifier, int x, int y, int flag);

// Replaces window `window`'s menu (0 removes it); identifier becomes -1
// when the menu cannot be loaded, -2 when the window refuses a menu.
void win_root_menu_set(int& identifier, int window);

// Item operations. command becomes -1 on failure where stated.
void win_menu_item_text_set(int& command, std::string_view text);
// state in: 0 off, other on; out: 1 when a toolbar button was set, else -1
// when the menu has no such item, else unchanged.
void win_menu_item_check(int command, int& state);
void win_menu_item_enable(int command, int& state);
// which: 1 enabled, 2 checked. 1 or 0; -1 when neither menu nor toolbar
// knows the command.
int win_menu_item_state(int command, int which);
void win_toolbar_tooltip_set(int& command, std::string_view text);
// An empty text removes the item's help string.
void win_menu_item_help_set(int& command, std::string_view text);
void win_menu_item_delete(int& command);
// Inserts `new_command` (0: a separator) with `text` at `position` relative
// to the existing item `command`: 1 before it, 2 after it.
void win_menu_item_insert(int& command, int position, int new_command, std::string_view text);

// Position of the item with `command` in the submenu `holder` that holds
// it, searching depth first; -1 when not found.
int win_menu_item_find(HMENU menu, int command, HMENU& holder);
// Redraws window `window`'s menu bar when `command` is one of its top items.
void win_menu_bar_redraw(int command, int window);
// Copies text and state of every item of `menu` into the item of `popup`
// with the same command identifier, through all submenus.
void win_menu_copy_states(HMENU popup, HMENU menu);
// 1 when the window has a menu or a toolbar, else 0.
int win_has_bars(int window);
// The top-level window above `window` when that has a menu, else 0.
int win_menu_owner(int window);

// Lookups for the frame procedure.
// Whether the floating popup menu being shown has help strings.
bool win_popup_help_present();
// Number of items of window `window`'s menus that carry an attached string.
int win_menu_attached_count(int window);
// The stored tooltip text of `command` on window `window`'s toolbars, or
// nullptr.
const char* win_toolbar_tooltip_find(int window, int command);

// Subclass procedure of toolbars: size messages go to the default
// procedure, so that the bar keeps the size and place given to it.
LRESULT CALLBACK win_toolbar_proc(HWND bar, UINT message, WPARAM w, LPARAM l);

} // namespace korv
