// The editor's record on its frame window, what a modal editor leaves, and
// the editor routines that its files and its services share.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <array>
#include <string>

#include "korvanthide/window.h"
#include "editor/editor_buffers.h"
#include "editor/editor_rules.h"

// The editor's WindowContentRecord (kind 1), hung on the frame's user data.
// subject is the text control. Zero-filled when made; freed with the frame
// (or by the creating call after a modal editor's loop).
struct EditorWindowRecord : WindowContentRecord {
    HWND toolbar = nullptr;        // the editor's own toolbar, none with option 32
    HWND toolbar_tips = nullptr;
    HWND status_bar = nullptr;     // the window's status bar, if any
    HWND command_line = nullptr;   // edit control or combo box
    HWND command_edit = nullptr;   // its edit part
    HWND prompt_frame = nullptr;
    HWND prompt_text = nullptr;
    HWND find_dialog = nullptr;
    HWND focus = nullptr;          // the control that last had the focus
    HMENU menu_bar = nullptr;
    HMENU file_menu = nullptr;
    HMENU edit_menu = nullptr;
    HMENU search_menu = nullptr;
    HMENU format_menu = nullptr;
    HMENU view_menu = nullptr;
    HACCEL builtin_accelerators = nullptr;
    HACCEL caller_accelerators = nullptr;
    HACCEL pane_accelerators = nullptr;
    int mode = 2;
    int text_limit = korv::editor_text_limit;
    int command_line_height = 0;
    int prompt_offset = 0;
    int program_value = 0;
    int protection = 1;
    std::array<int, korv::editor_buffer_limit + 1> filter_index{};  // by buffer 1..35
    int current_buffer = 1;
    int buffers = 1;
    std::array<char, korv::editor_path_limit> file_name{};          // terminated full path
    std::string saved_caption;                                       // < 1024 characters
    std::array<char, korv::editor_search_limit> find_text{};
    std::array<char, korv::editor_search_limit> replace_text{};
    std::string filter;                                              // separators made NUL
    FINDREPLACEA find_block{};
    bool modal_end = false;
    bool read_lost_text = false;   // the last failed read had already changed the text
    int insert_mode = 1;
    korv::EditorCommandFlags flags;
    HFONT font = nullptr;
    bool stock_font = false;
    int font_code = 0;
    int font_size = 0;
    int line_height = 0;
    int line_height_inner = 0;
    std::array<HANDLE, korv::editor_buffer_limit + 1> open_files{};  // by buffer 1..35
    int cache_control = -1;
    int cache_program = -1;
    std::array<int, korv::editor_buffer_limit + 1> bookmark{};
    std::array<int, korv::editor_buffer_limit + 1> bookmark_length{};
    // Kept beside the record's fields: the frame it lives on and the
    // window procedure it replaced.
    HWND frame = nullptr;
    WNDPROC previous_proc = nullptr;

    const char* file() const { return file_name.data(); }
};

// What a modal editor leaves when it closes; read as window -1.
struct EditorModalResult {
    int unchanged = 1;
    int text_length = 0;
    int program_value = 0;
    int selection_start = 0;
    int selection_end = 0;
    int current_buffer = 1;
    int buffers = 1;
    int first_visible_line = 0;
    int font_code = 0;
    int font_size = 0;
    std::string file_name;
    std::string find_text;
    std::string replace_text;
    DWORD find_flags = 0;
};

namespace korv {

// The editor record on a frame, or nullptr.
EditorWindowRecord* edit_record(HWND frame);
EditorModalResult& editor_modal_result();

// Window procedure of editor frames.
LRESULT CALLBACK edit_frame_proc(HWND frame, UINT message, WPARAM w, LPARAM l);

// When the text is modified and may be saved, asks whether to save (Yes,
// No, Cancel) and saves on Yes: 1 when closing may go on, 0 otherwise.
int edit_save_prompt(HWND frame, EditorWindowRecord& record);
// The save prompt of the current buffer and then, in a several-buffer
// editor, of every other modified buffer, each made current in turn; a
// cancelled prompt brings back the buffer that was current. 1 when closing
// may go on.
int edit_buffers_save_prompt(HWND frame, EditorWindowRecord& record);
// Shows the saved caption with the current file name on the frame, or the
// name in status-bar part 4 of a frame without caption.
void edit_title_update(HWND frame);
// When buffer differs from current: stores the editor's text and state in
// row current and restores row buffer into the editor.
void edit_buffer_exchange(int window, int current, int buffer);

// The editor's part of the message pump's routing: when the message's
// window or one of its three nearest parents is an editor's frame, its
// open search dialog and then its built-in and caller's accelerator tables
// are tried. 0: not an editor's message; 1: consumed; 2: an editor's
// message that the pump translates and dispatches itself.
int edit_message_route(MSG& message);

} // namespace korv
