// What the grid routines for programs (korvanthide/grid.h) share: how
// they find a grid, what grid editors keep for them, and the file savers
// the grid editor's commands use too.
#pragma once

#include "grid/grid_csv.h"
#include "grid/grid_model.h"

#include <korvanthide/grid.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korv {

// What a grid editor keeps for the grid routines' text queries: its find
// text and options, its second text and its file name.
struct GridEditorTexts {
    std::string find_text;
    std::string second_text;
    std::string file_name;
    bool match_case = false;
    bool search_numbers = false;
};

// What the last modal grid editor left when it closed.
struct GridEditorSavedState {
    int modified_1 = 0, modified_2 = 0;
    GridEditorTexts texts;
};
GridEditorSavedState& grid_editor_last_modal();

// Longest find text and second text a grid editor keeps (1,024 characters
// with the terminating zero), and its file name (260).
inline constexpr std::size_t grid_editor_text_size = 1024;
inline constexpr std::size_t grid_editor_file_size = 260;

// How the routines find their grid; the dialog manager's side fills it.
struct GridDirectory {
    std::function<bool()> dialog_current;
    // The grid of an identifier; nullptr when there is none.
    std::function<GridModel*(int id)> find;
    // The texts of the grid editor of a toolkit window; nullptr when that
    // window is no grid editor. current_window: the current window.
    std::function<GridEditorTexts*(int window)> editor_texts;
    std::function<int()> current_window;
};
GridDirectory& grid_directory();

// The grid of id, or nullptr after reporting 1005 or 1006 under routine.
GridModel* grid_lookup(int id, std::string_view routine);

// Saving behind WGridSave and the grid editor's commands: the bytes go to
// the file by a new file renamed over it; errors 1 and 2 are reported
// under routine. True when the file was written.
bool grid_save_csv(GridModel& grid, const std::string& file, const GridRange& range, int flags, bool backup,
                   std::string_view routine);

// The same for an HTML table (WGridSaveHTML and the grid editor).
struct GridHtmlPage;
bool grid_save_html(GridModel& grid, const std::string& file, const GridRange& range, const GridHtmlPage& page,
                    bool backup, std::string_view routine);

} // namespace korv
