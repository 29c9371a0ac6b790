// What the dialog tests share: a toolkit brought up far enough to load
// dialogs, an event wait, and real input sent through the message loop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"

namespace dialog_test {

// Opens what the dialog manager needs of the root window, once per run,
// and resets the event enable table and the dialog table for a test.
void toolkit_up();
// Unloads every dialog (between tests).
void unload_all();

struct Event {
    int type = 0;
    EventRecord record;
};

// Runs the message loop as the event wait does (active dialog first) until
// an event is posted or `ms` pass; false on time-out.
bool wait_event(Event& event, int ms = 2000);
// Every event handed out until the loop stays quiet for `quiet_ms`.
std::vector<Event> drain_events(int quiet_ms = 150);
// Dispatches what is queued now, without waiting for events.
void pump(int ms = 50);

// Input posted to the window that has the focus; it takes effect when the
// loop next runs (wait_event, drain_events or pump).
void type_text(std::string_view text);
void key(UINT vk);
// Shift as the dialog manager's keyboard state sees it.
void hold_shift(bool down);
// A left click at a point in a window's client area.
void click_at(HWND window, int x, int y);

HWND field(int id);
std::string text_of(HWND window);

} // namespace dialog_test
