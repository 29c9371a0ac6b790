// What the tests that run under Wine share: handing out and waiting for
// the toolkit's events, dispatching messages, real and posted keyboard and
// mouse input, answering message boxes and dialogs from a timer, and
// reading back what a window shows. Time limits scale with
// KORV_TEST_TIME_FACTOR (testing/test_time.h); fixed pauses do not.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/events.h"

namespace korv::testing {

struct Event {
    int type = -1;
    EventRecord record;
};

// ---- The toolkit's events through its non-blocking pump ----
// The next event the queue gives now, or type -1 when nothing is waiting.
Event poll_event();
// Hands out whatever is waiting, without blocking; the events go unread.
void drain();
// Drains a few times with short pauses, for input to be handled.
void settle();
// The next event, or type -1 after about `milliseconds`.
Event wait_event(int milliseconds = 3000);
// Drains, with short pauses, until `done` holds or about `milliseconds`
// passed; whether `done` held.
bool poll_until(const std::function<bool()>& done, int milliseconds = 2000);

// ---- The toolkit's own event wait (WEventWait) ----
// Runs the event wait until an event comes, or a give-up timer ends it
// after `milliseconds`; false on time-out.
bool wevent_wait(Event& event, int milliseconds = 2000);
// Every event the event wait hands out until it stays quiet for `quiet_ms`.
std::vector<Event> wevent_wait_until_quiet(int quiet_ms = 150);

// ---- Messages dispatched, no event handed out ----
// Translates and dispatches messages for about `milliseconds`.
void pump_messages(int milliseconds);
// Dispatches messages until `done` holds or about `milliseconds` passed.
bool pump_until(const std::function<bool()>& done, int milliseconds);
// Dispatches what is queued for about `milliseconds` as the event wait
// does: the active dialog's messages go through the dialog manager first.
void pump_dialog_messages(int milliseconds = 50);

// ---- Real input through the system's input queue ----
// It is only queued: the caller waits for an event, settles or pumps. Keys
// of one call are queued together, so that a menu opened by the first keys
// takes the later ones in its own loop.
struct Key {
    WORD key = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};
void type_text(std::string_view text);
void press(WORD key, bool ctrl = false, bool shift = false, bool alt = false);
void press_keys(std::initializer_list<Key> keys);
enum class Button { left, right };
// Moves the pointer to a point of the screen and clicks there.
void click_screen(POINT at, Button button = Button::left);
// A left click at a point of a window's client area; false, with nothing
// clicked, when another window is in sight at that point.
bool click(HWND window, int x, int y);
// Clicks a dialog's button with the mouse; a button hidden under another
// program's window is pressed by its own message instead.
void click_button(HWND dialog, int button);

// ---- Input posted to a window ----
// It takes effect when the loop next runs; the keyboard state is not
// changed by it.
void post_text(std::string_view text);  // characters, to the focus window
void post_key(UINT key);                // down and up, to the focus window
void post_click(HWND window, int x, int y);
// Sets or clears keys in the thread's keyboard state, as the system does
// when real key input is read.
void hold_keys(std::initializer_list<int> keys, bool down);

// ---- Answering from a timer ----
// Answers the next message boxes of this thread with `answer` (IDYES,
// IDNO, IDCANCEL, IDOK) by posting the button's command, and keeps what
// each box said.
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

// Answers system dialogs of this thread as a user would: each waits for
// the dialog with its title, lets a check look at it, does an optional
// preparation (typing a value) and clicks a button with the mouse.
struct DialogAnswer {
    std::string title;
    int button = IDOK;
    std::function<void(HWND dialog)> before_click{};
};
// Queues answers: each dialog that appears takes the next one. A dialog
// that never shows would block the test for good: after some thirty
// seconds without it every dialog of this process is cancelled, and so is
// any that comes up later, until new answers are queued.
void answer_dialogs(std::initializer_list<DialogAnswer> answers);
// How many queued answers were given.
int answers_given();
// A visible top-level window with that title, of any process.
HWND find_dialog(const std::string& title);
// The visible window of this process with that title.
HWND find_own_dialog(const std::string& title);

// ---- Reading back ----
// A window's text (a RichEdit control gives its line ends as CR LF).
std::string window_text(HWND window);
// The message a message box shows.
std::string box_message(HWND box);
// The window of the menu open now (class #32768), or null.
HWND menu_window();

} // namespace korv::testing
