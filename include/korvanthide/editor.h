// The text editor: turns the current child window into a rich-text editor
// or a read-only viewer on the system RichEdit control.
#pragma once

#include <string_view>

// Turns the current child window into an editor or viewer of `file`, or
// adds the file to the editor it holds. mode 1 modal with its own loop,
// 2 modeless, 3 modal without a loop; menu a menu resource beside the
// built-in menus; options the editor's option bits; font a font code with
// size in points; filter a file-dialog filter whose last character
// separates its entries; host a split window whose panes share the menu.
// Failures are reported under "WEditFile".
void WEditFile(std::string_view file = {}, int mode = 2, int menu = 0, int options = 0,
               int font = 0, int size = 0, std::string_view filter = {}, int filter_index = -1,
               int host = -1);
