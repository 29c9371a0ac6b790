// What the window layer asks of the text editor. The editor fills the table
// when it registers (editor_services_register); until then every entry
// answers as a toolkit without an editor would.
#pragma once

#include <windows.h>

#include <functional>

namespace korv {

// The bars an editor adds to its frame beside the window's own: its toolbar
// above the window's toolbars, its command line with the prompt below them.
struct EditorBars {
    HWND toolbar = nullptr;
    HWND command_line = nullptr;
    HWND prompt_frame = nullptr;
    HWND prompt_text = nullptr;
};

struct EditorServices {
    // The editor's own menu bar on a frame; nullptr when the frame holds no
    // editor.
    std::function<HMENU(HWND frame)> menu_bar = [](HWND) -> HMENU { return nullptr; };
    // The bars of the editor on a frame; all nullptr when it holds none.
    std::function<EditorBars(HWND frame)> bars = [](HWND) { return EditorBars{}; };
    // Translates a key for the editor on frame `pane` with its pane,
    // built-in and caller's accelerator tables; true when one of them took
    // it, false also when the frame holds no editor.
    std::function<bool(HWND pane, MSG& message)> keys_translate = [](HWND, MSG&) { return false; };
    // The editor's part of the message pump's routing: 0 not an editor's
    // message, 1 consumed, 2 an editor's message that the pump translates
    // and dispatches without the tables of the windows around it.
    std::function<int(MSG& message)> message_route = [](MSG&) { return 0; };
    // Frees the stored buffers of a closing window (its EditorBufferTable
    // rows).
    std::function<void(int window)> buffer_rows_release = [](int) {};
};

EditorServices& editor_services();

} // namespace korv
