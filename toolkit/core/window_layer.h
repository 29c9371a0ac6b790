// What only the window layer's own files share: the embedded-dialog and
// split records as the core reads them, the class registration, the
// message pump's steps and the window procedures' helpers.
#pragma once

#include <windows.h>

#include "korvanthide/window.h"

namespace korv {
// Control identifier of a frame's status bar.
inline constexpr int status_bar_id = 999;
} // namespace korv

// Whether a dialog resource can live inside a window: result 1 usable (with
// its outer size, and whether its extras block names a resize anchor), -1 no
// such resource, -2 not a child-control dialog or framed, -4 not creatable.
struct DialogProbe {
    int result = 0;
    int width = 0;
    int height = 0;
    bool anchored = false;
};

// Kind 3: a dialog embedded in the window, with the frame's outer size at
// embedding (its normal placement when maximised).
struct DialogWindowRecord : WindowContentRecord {
    int width = 0;
    int height = 0;
};

namespace korv {

DialogProbe win_dialog_probe(int dialog, HWND owner);

// The kind of the record on a frame; none when it holds none.
ContentKind win_content_kind_of(HWND frame);
DialogWindowRecord* win_dialog_record(HWND frame);

LRESULT CALLBACK win_splitter_proc(HWND window, UINT message, WPARAM w, LPARAM l);

// Event wait building blocks (with win_message_pump_peek).
void win_message_pump(int& type, EventRecord& record);
void win_event_complete(int type, EventRecord& record);

// Client size of window `number` (kind 1) or of a field of the current
// dialog, the dialog itself for 0 (kind 3). -1 sizes when unknown.
void win_client_size(int kind, int number, int& width, int& height);

void win_timed_wait(int hundredths);
int sys_tick_count();
HWND win_statusbar_of(int window);

// Translates a key message with window `table_window`'s accelerators for
// window `message_window`'s frame; nonzero when translated.
int win_accelerator_translate(int message_window, int table_window, MSG& message);

// The frame whose non-client area took the last left press (nullptr after
// the button came up or a menu loop ended).
HWND win_pressed_frame();

// Whether pane 0 or 1 of a split record is fixed in direction 0 (width) or 1 (height).
bool win_split_pane_test(const SplitWindowRecord& record, int pane, int direction);
// 1 when the frame may close (every editor and grid-editor pane agreed).
int win_panes_query_close(HWND frame);

// Registers and unregisters the toolkit's window classes; registration
// failure ends the program with a message box and a non-zero status.
void win_classes_register(HINSTANCE instance);
void win_classes_unregister(HINSTANCE instance);

} // namespace korv
