// The operations on the editor of the current toolkit window (the queries
// on any editor's) that only the editor's own files use: its text, ranges,
// selection, formats and font, its find settings and command line, the
// text stream, page set-up, and the colouring of its visible lines through
// a hook. Positions are counted and statuses written as in
// korvanthide/editor_operations.h.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace korv {

// ---- queries: window -1 is the last closed modal editor ----
// What edit_query answers for each code.
namespace edit_query_code {
inline constexpr int unchanged = 1;           // 1 when the text is not modified
inline constexpr int text_length = 2;
inline constexpr int program_value = 3;
inline constexpr int selection_start = 4;     // from 1
inline constexpr int selection_end = 5;
inline constexpr int current_buffer = 6;
inline constexpr int buffers = 7;
inline constexpr int richedit_version = 8;    // for any window
inline constexpr int first_visible_line = 9;  // from 0
inline constexpr int history_entries = 10;
inline constexpr int font_code = 11;
inline constexpr int font_size = 12;
inline constexpr int find_flags = 13;         // the program's bits, as edit_find_flags_set
inline constexpr int last_visible_line = 102;
inline constexpr int line_count = 103;
inline constexpr int one_char_line_ends = 104;
} // namespace edit_query_code
// An unknown code, or a window without an editor, leaves value as it was.
void edit_query(int window, int code, int& value);
// What edit_query_string copies for each code.
namespace edit_query_text {
inline constexpr int find = 1;
inline constexpr int replace = 2;
inline constexpr int file_name = 3;
} // namespace edit_query_text
// length gets the text's full length.
void edit_query_string(int window, int code, int& length, std::span<char> buffer);

// ---- text and ranges (status 0 done; see each) ----
void edit_text_get(int& status, std::span<char> buffer);          // 0 whole, 2 cut, 1 no editor
void edit_range_replace(int& start, int end, std::string_view text);       // start gets 0 or -1
void edit_selection_set(int& start, int end);                      // start gets -1 without editor
void edit_caret_set(int position);
// code 1: the line of a position; else the first position of a line.
void edit_line_position(int code, int value, int& result);         // -2 without editor
void edit_scroll_to_line(int line);
void edit_modified_set(int unchanged, int program_value);
void edit_undo_clear();
// Attributes -1 keep (colours -2); colour or background -1 automatic.
void edit_char_format_set(int& status, int start, int end, int bold, int italic, int underline,
                          int strike_out, int size, int colour, int background, std::string_view face);
void edit_paragraph_format_set(int& status, int start, int end, int bullets, int alignment);
void edit_redraw(int window);
void edit_backup_set(int flag);

// ---- font, find settings, buffers ----
void edit_font_set(int font_code, int size, int& error);          // 1028 no editor, 1115 no font
void edit_filter_index_set(int index, int& status);
// which 1 find text, else replace text.
void edit_search_text_set(int which, int& status, std::string_view text);
// 2 ignore case, 4 upwards, 16 whole word.
void edit_find_flags_set(int flags, int& status);
void edit_buffer_select(int buffer, int& status);                  // 2 bad buffer, 1 no editor
// Saves the current buffer (asking for a name first with save_as 1): 1 saved.
int edit_save_current(int save_as);

// ---- command line and history ----
void edit_prompt_set(int& status, std::string_view text);         // 2 no command line, 1 no editor
void edit_command_line_set(int& status, std::string_view text, int caret);  // 1032, 1028
void edit_command_line_get(int& status, std::span<char> buffer);  // 2 cut, 3 no command line, 1
void edit_history_check(int& status);                              // 1092 none, 1028 no editor
void edit_history_clear(int& status);                              // 2 none, 1 no editor
void edit_history_insert(int index, std::string_view text);
void edit_history_get(int index, std::span<char> buffer);

// ---- the text stream (RTF when formatted) ----
void edit_text_size(int& count);
// Copies at most the buffer's size.
void edit_text_out(std::span<char> buffer);
void edit_text_in(std::span<const char> text);

// ---- page set-up (points for the values) ----
// units -1 by the locale, 0 and 1 inches, 2 and above millimetres.
void edit_page_setup_dialog(int units, int number, int& result);
// Codes 1 right - left, 2 bottom - top, 3 left, 4 top, 5 orientation.
void edit_page_setup_get(int code, int& value, int number);

// ---- coloured painting ----
// The program's colouring of one painted line: window number, the
// selection's part of the line (from 1, or -1 -1), room for spans, each
// span's first and last character (from 1) and colour (RGB, -1 the
// selection's colours), the count it fills in, the line without its end.
using EditColourHook = void (*)(int window, int selection_first, int selection_last, int maximum,
                                int* firsts, int* lasts, std::int32_t* colours, int& count,
                                const char* text, int length);
// Installs a program's hook; nullptr brings back the toolkit's, which
// colours nothing.
void edit_colour_hook_set(EditColourHook hook);
// Turns the coloured painting on for the current window's editor.
void edit_paint_enable();

} // namespace korv
