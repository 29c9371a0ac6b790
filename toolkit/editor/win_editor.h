// What the editor's Windows sources share among themselves.
#pragma once

#include <windows.h>

#include <richedit.h>

#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/editor.h"
#include "editor/editor_record.h"
#include "editor/edit_operations.h"

namespace korv {

inline constexpr int editor_toolbar_id = 1001;
inline constexpr int editor_text_id = 1002;
inline constexpr int editor_command_line_id = 1004;
inline constexpr int editor_prompt_id = 1005;

inline HWND edit_control(const EditorWindowRecord& record) { return record.subject; }
int edit_window_number(const EditorWindowRecord& record);
int edit_richedit_version();

// ---- files ----
// 1 when the file named in the record was read into the current buffer.
// message_flag: 1 for a file the program named, 0 for one the user chose.
int edit_file_read(HWND frame, int message_flag);
// 1 when the text was written; save_as asks for a name first.
int edit_file_save(HWND frame, int save_as);
void edit_file_close(HWND frame);
int edit_save_current(int save_as);
// A warning box owned by the frame: the system's text for `code`, and
// below it `detail` when given.
void edit_error_box(HWND frame, const char* title, DWORD code, std::string_view detail);

// ---- the frame and its commands ----
void edit_text_clear(EditorWindowRecord& record);
void edit_paste(EditorWindowRecord& record);
void edit_format_state_update(EditorWindowRecord& record);
void edit_font_choose(HWND frame, EditorWindowRecord& record);
// Hook of the font dialog with the extended toolbar: the underline box is
// enabled only when the selection is underlined (the custom data).
UINT_PTR CALLBACK edit_font_dialog_hook(HWND dialog, UINT message, WPARAM w, LPARAM l);
void edit_bullet_toggle(EditorWindowRecord& record);
void edit_style_toggle(EditorWindowRecord& record, int command);
void edit_align_set(EditorWindowRecord& record, int command);
LRESULT CALLBACK edit_command_line_proc(HWND edit, UINT message, WPARAM w, LPARAM l);
void edit_layout(HWND frame, EditorWindowRecord& record);
void edit_status_text(const EditorWindowRecord& record, int part, std::string_view text);
// Status parts 1..3: Caps Lock, Num Lock and the insert mode.
void edit_status_keys(const EditorWindowRecord& record);
// Posts a command event for the editor's window.
void edit_post_command(HWND frame, int command);
// The file name of the record as a view.
inline std::string_view edit_file_name(const EditorWindowRecord& record)
{
    return record.file_name.data();
}
void edit_file_name_set(EditorWindowRecord& record, std::string_view name);
// Undo and Redo buttons of the editor's toolbar (and the window's top one).
void edit_undo_buttons_update(EditorWindowRecord& record);

// ---- creation ----
// Makes the font of a code and size into the record; 1115 when it had to
// fall back to the system fixed font, else 0.
int edit_font_make(EditorWindowRecord& record, int code, int size);
// The full path of a name into `path` (terminated); false when it does not
// fit in the record's 260 characters.
bool edit_full_path(std::string_view name, std::string& path);

// ---- buffers ----
void edit_buffer_store(int window, int buffer);
void edit_buffer_restore(int window, int buffer);
void edit_buffer_switch(HWND frame, int buffer);
// The View item of buffer n: its text, appended or replaced, checked.
void edit_view_item_set(EditorWindowRecord& record, int buffer, std::string_view name);
void edit_view_item_append(EditorWindowRecord& record, int buffer, std::string_view name);
void edit_view_item_check(EditorWindowRecord& record, int buffer, bool checked);

// ---- text, positions and the modified state ----
// Length in the program's counting (a line end counts 2), from the hard
// line ends only: word wrap never shortens it.
int edit_text_length(const EditorWindowRecord& record);
// Length in the control's counting (a line end counts 1 from RichEdit 2).
int edit_control_length(HWND control);
// Line ends (CR characters) before a control position, read one character
// at a time.
int edit_line_break_count(HWND control, int position);
// The same count, read a block of characters at a time: what lengths and
// positions on large texts use.
int edit_hard_line_end_count(HWND control, int position);
// A control position in the program's counting.
int edit_program_position(const EditorWindowRecord& record, int position);
void edit_modified_set(EditorWindowRecord& record, int unchanged, int program_value);
void edit_undo_clear(EditorWindowRecord& record);
// Whole text as a stream (RTF when formatted) and back.
std::vector<char> edit_text_out(const EditorWindowRecord& record);
void edit_text_in(EditorWindowRecord& record, const std::vector<char>& text);

// ---- search, bookmarks and printing ----
UINT_PTR CALLBACK edit_find_dialog_hook(HWND dialog, UINT message, WPARAM w, LPARAM l);
void edit_find_open(HWND frame, EditorWindowRecord& record, bool replace);
int edit_find_next(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block);
int edit_replace_next(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block);
void edit_bookmark_set(EditorWindowRecord& record);
void edit_bookmark_goto(EditorWindowRecord& record);
void edit_bookmark_follow(EditorWindowRecord& record);
// range 0 whole text, 1 selection (setup 1) or start..end (setup 0).
int edit_print(HWND frame, EditorWindowRecord& record, int range, int setup, int start, int end,
               std::string_view name);

} // namespace korv
