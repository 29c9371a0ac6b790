// The grid editor: a toolkit child window turned into a small spreadsheet
// around a copy of a dialog's grid field, with File, Edit and Search
// menus, a toolbar, the current cell in its status bar, and commands that
// save, load, print, sort and find. Its record hangs on the frame as the
// content record of kind 4; the grid routines reach its grid as field 0
// while its window is the current window.
#pragma once

#include "korvanthide/events.h"
#include "korvanthide/window.h"
#include "grid/grid_routines.h"

#include <windows.h>

#include <array>
#include <string>

namespace korv {

class GridRecord;

struct GridEditorRecord : WindowContentRecord {
    HWND grid = nullptr;
    HWND toolbar = nullptr;
    HWND tooltips = nullptr;
    HWND status_bar = nullptr;
    HMENU menu_bar = nullptr;
    HMENU file_menu = nullptr, edit_menu = nullptr, search_menu = nullptr;
    HACCEL accelerators = nullptr;
    HACCEL caller_accelerators = nullptr;
    int mode = 2;
    bool headings_move = false;
    bool rows_grow = false;
    bool heading_line = false;
    std::string saved_caption;
    // The file name, the find text and options, and the second text (kept
    // empty; the grid routines' text query reads it).
    GridEditorTexts texts;
    std::string filter;
    int filter_index = 1;
    bool modal_end = false;
    // Commands allowed.
    bool may_new = true, read_only = false, may_open = true, may_save = true, may_save_as = true,
         may_save_html = true, may_print = true, may_find = true, may_change_rows = true,
         protection_ignored = false, backups = false;
    int previous_cell = 262144 + 1;
    int window = -1;
};

// Command identifiers of the built-in menus, toolbar and accelerators, as
// the program receives them in its command events: those the text editor
// shares, and the grid editor's own.
namespace grid_editor_command {
using namespace shared_command;
inline constexpr int exit = 32107;
inline constexpr int save_as_html = 32108;
inline constexpr int save_selection = 32109;
inline constexpr int sort = 32127;
inline constexpr int insert_row_before = 32128;
inline constexpr int insert_row_after = 32129;
inline constexpr int delete_row = 32130;
inline constexpr int goto_cell = 32144;
inline constexpr int goto_row = 32145;
inline constexpr int goto_column = 32146;
} // namespace grid_editor_command

// The texts of the grid editor of a toolkit window; nullptr when the
// window is no grid editor.
GridEditorTexts* grid_editor_texts(int window);

// Result codes of grid_editor_create.
inline constexpr int grid_editor_ok = 0;
inline constexpr int grid_editor_no_window = 1;
inline constexpr int grid_editor_menu_in_modal = 2;
inline constexpr int grid_editor_menu_missing = 3;
inline constexpr int grid_editor_inside_parent_menu = 4;
inline constexpr int grid_editor_inside_parent_mode = 5;
inline constexpr int grid_editor_not_allocated = 6;
inline constexpr int grid_editor_has_record = 8;
inline constexpr int grid_editor_no_grid = 11;
inline constexpr int grid_editor_client_busy = 12;

// Turns the current window into a grid editor of the current dialog's grid
// field `field`. Modes 1 modal (then run grid_editor_modal_loop), 2
// modeless, 3 semi-modeless.
// `host`: -1, or the split window that holds this window as a pane and
// shows the editor's menus while it has none of its own.
int grid_editor_create(int field, int mode, int menu, int options, int filter_index, std::string_view file,
                       std::string_view filter, int host = -1);
void grid_editor_modal_loop();

GridEditorRecord* grid_editor_of(HWND frame);
// Takes the editor down and leaves a plain child window.
void grid_editor_detach(HWND frame);
// A key typed into the editor's grid, through the built-in and the
// caller's accelerator tables of the grid editor `frame`; true when one
// took it. Other frames take nothing.
bool grid_editor_keys(HWND frame, HWND from, UINT message, WPARAM w, LPARAM l);
void grid_editor_caption(GridEditorRecord& e, HWND frame);
// Shrinks the frame in each dimension where it is larger than its grid.
void grid_editor_fit_window(GridEditorRecord& e, HWND frame);
LRESULT CALLBACK grid_editor_frame_proc(HWND frame, UINT message, WPARAM w, LPARAM l);

// Commands (grid_editor_commands_win.cpp). answer 1: go on.
int grid_editor_save_prompt(GridEditorRecord& e, HWND frame);
bool grid_editor_save_csv(GridEditorRecord& e, bool ask, int first_row, int last_row, int first_column,
                          int last_column);
bool grid_editor_load_csv(GridEditorRecord& e, bool ask);
bool grid_editor_sort(GridEditorRecord& e);
void grid_editor_insert_rows(GridEditorRecord& e, bool after);
void grid_editor_delete_rows(GridEditorRecord& e);
void grid_editor_find(GridEditorRecord& e, bool again);
void grid_editor_goto(GridEditorRecord& e, int kind);
bool grid_editor_print(GridEditorRecord& e, int first_row, int last_row, int first_column, int last_column);
bool grid_editor_save_html(GridEditorRecord& e);
// The file selection of the save and load commands (flags as WSelectFile
// takes them); name in and out; false when cancelled.
bool grid_select_file(std::string_view filter, int flags, std::string& name, std::string_view title,
                      int* filter_index);
// The grid's open in-place editor when it is an edit or number field.
HWND grid_cell_text_editor(const GridRecord& g);

} // namespace korv
