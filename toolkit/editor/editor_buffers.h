// The buffers of several-buffer editors as the EditorBufferTable keeps
// them: one row per window 0..50 and buffer 1..35 (rows of start-up's
// table). Numbers outside those ranges are ignored.
#pragma once

#include <span>
#include <string_view>

namespace korv {

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
