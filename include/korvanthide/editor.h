// The text editor: turns the current child window into a rich-text editor
// or a read-only viewer on the system RichEdit control, and keeps the
// buffers of several-buffer editors in the EditorBufferTable.
#pragma once

#include <span>
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

namespace korv {

// The stored buffers of window 0..50, buffer 1..35 (rows of start-up's
// EditorBufferTable). Numbers outside those ranges are ignored.

// Copies the stored name into `name`: the name, a NUL, blanks to the end;
// an empty terminated string when none is stored.
void edit_buffer_name_get(int window, int buffer, std::span<char> name);
// Stores a file name (its terminated or blank-padded part, at most 259
// characters), allocating the name on first use.
void edit_buffer_name_put(int window, int buffer, std::string_view name);
// 1 when the stored buffer was not modified.
int edit_buffer_unchanged(int window, int buffer);
// Frees row `buffer` and moves the later rows of the window down by one;
// row 35 ends empty.
void edit_buffer_free(int window, int buffer);
// Frees the names and texts of the window's rows and clears every row.
void editor_rows_release(int window);

} // namespace korv
