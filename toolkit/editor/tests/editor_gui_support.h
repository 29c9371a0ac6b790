// What the editor's end-to-end tests share: a hidden root window, files in
// a directory of their own, real keyboard and mouse input, the event wait
// with a time limit, and answering message boxes from a timer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "korvanthide/editor.h"
#include "korvanthide/events.h"
#include "korvanthide/window.h"
#include "editor/editor_record.h"

namespace editor_test {

// The slot of window n, its editor record (nullptr when it holds none) and
// that editor's text control.
WindowSlot& slot(int n);
EditorWindowRecord* editor_of(int n);
HWND text_of(int n);
// A child window of `width` by 360 pixels with that title, opened with the
// events its opening caused drained.
int open_window(const char* title, int flags = korv::winflag::defaults, int width = 520);

struct Event {
    int type = -1;
    EventRecord record;
};

// Hands out whatever is waiting, without blocking; the events go unread.
void drain();
// Drains a few times with short pauses, for input to be handled.
void settle();
// The next event, or type -1 after about `milliseconds`.
Event wait_event(int milliseconds = 3000);

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

// Real input: text typed as characters, keys with modifiers. Input is only
// queued: the caller waits for an event or settles. Keys of one call are
// queued together, so that a menu opened by the first keys takes the later
// ones in its own loop.
struct Key {
    WORD key = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};
void type_text(const std::string& text);
void press(WORD key, bool ctrl = false, bool shift = false, bool alt = false);
void press_keys(std::initializer_list<Key> keys);
// Asks a frame to close as its close box does. Without a window manager
// Wine's X windows have no caption to click, so Alt+F4 (the same system
// command) stands in for the click.
void request_close(HWND frame);

// The text a user sees in a RichEdit control (line ends as CR LF).
std::string control_text(HWND control);
std::string window_title(HWND window);

// Answers the next message boxes of this thread with `answer` (IDYES,
// IDNO, IDCANCEL, IDOK) and keeps what each box said.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int answer);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    int count() const;
    void answer(int next);
    // Queues the answer of the box after the ones answered or queued so far.
    void then(int later);
    std::string last_title() const;
    std::string last_text() const;
};

} // namespace editor_test
