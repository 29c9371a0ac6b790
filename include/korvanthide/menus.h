// Menus, toolbars and menu help of toolkit windows, from the program's
// resources: a menu with its command-identifier table (RCDATA of the same
// identifier), accelerators and ZOQMENUSTRING help strings; a toolbar from
// an RCDATA list of commands and a bitmap of the same identifier.
// Here is what the editor's and the grid's windows share with the core's.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "korvanthide/window.h"

namespace korv {

// Gives the items of `menu` the command identifiers of the RCDATA table
// `identifier`; nothing when there is no table.
void win_menu_command_ids(HMENU menu, int identifier);

// Stacks the window's bars: the editor's toolbar, the status bar, the
// toolbars of sides 0..3, the editor's command line and its prompt.
void win_bars_zorder(int window);
// Frees every help string attached to the items of `menu` and its
// submenus and sets the window's count of attached strings to 0.
void win_menu_strings_free(HMENU menu, int window);

// Menu help of `command` for the window that owns the menu: the string
// attached to the item, else the window's ZOQMENUSTRING entry, else the
// entry of the floating popup menu being shown.
std::optional<std::string> win_menu_help_text(int owner, int command);
// Frees window `window`'s tooltip table.
void win_toolbar_tooltips_free(int window);

} // namespace korv
