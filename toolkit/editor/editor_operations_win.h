// What the editor's operation, printing, search and painting sources share.
#pragma once

#include "editor/editor_positions.h"
#include "editor/win_editor.h"

namespace korv {

// The editor of the current toolkit window and its frame, or nullptr.
EditorWindowRecord* edit_current(HWND& frame);
// The editor of window n (0..50), or nullptr.
EditorWindowRecord* edit_of_window(int window);

// Program positions to the control's, through the record's cache; the
// identity without mapping.
MappedRange edit_position_map(EditorWindowRecord& record, int start, int end);

// Replace All: from the start downwards until a search fails.
void edit_replace_all(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block);

// The text control's procedure while coloured painting is on.
LRESULT CALLBACK edit_paint_proc(HWND control, UINT message, WPARAM w, LPARAM l);

// Gives back what an editor holds beside its windows: its search dialog,
// the blocking of other windows, accelerator tables, font and open files.
void edit_resources_free(EditorWindowRecord& record);
// Takes the editor off a frame that stays open.
void edit_contents_detach(HWND frame);

// Fills both page set-up records for the default printer, once.
void edit_page_setup_init();

} // namespace korv
