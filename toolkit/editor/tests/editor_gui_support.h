// What the editor's end-to-end tests share beyond testing/gui_support.h:
// the editor of a window, child windows opened for it, files in a
// directory of their own, and closing a frame as its close box does.
#pragma once

#include <windows.h>

#include <string>

#include "korvanthide/editor.h"
#include "korvanthide/events.h"
#include "korvanthide/window.h"
#include "editor/editor_record.h"
#include "testing/gui_support.h"

namespace editor_test {

// Starts the toolkit with a hidden root window of 640 by 480 pixels and
// that title, the events of its opening drained (once per test suite).
void root_window_open(const char* title);
// Closes every child window still open and drains what that caused.
void child_windows_close();

// The slot of window n, its editor record (nullptr when it holds none) and
// that editor's text control.
WindowSlot& slot(int n);
EditorWindowRecord* editor_of(int n);
HWND text_of(int n);
// A child window of `width` by 360 pixels with that title, opened with the
// events its opening caused drained.
int open_window(const char* title, int flags = korv::winflag::defaults, int width = 520);

// A fresh directory under the temporary directory; the process works in
// it until the directory is removed with what the test left in it.
class WorkDirectory {
public:
    WorkDirectory();
    ~WorkDirectory();
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;
    std::string path(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void file_write(const std::string& name, const std::string& bytes);
std::string file_read(const std::string& name);
bool file_exists(const std::string& name);
// Whether the file can be opened for writing with nothing shared.
bool file_free(const std::string& name);

// Asks a frame to close as its close box does. Without a window manager
// Wine's X windows have no caption to click, so Alt+F4 (the same system
// command) stands in for the click.
void request_close(HWND frame);

} // namespace editor_test
