// Answers a system dialog of this thread from a timer, as a user would:
// it waits for the dialog with the given title, lets a check look at it,
// does an optional preparation (typing a value) and clicks a button with
// real mouse input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace korv::testing {

struct DialogAnswer {
    std::string title;
    int button = IDOK;
    std::function<void(HWND dialog)> before_click{}; // checks and typing
};

// Queues answers: each dialog that appears takes the next one.
void answer_dialogs(std::initializer_list<DialogAnswer> answers);
// How many queued answers were given.
int answers_given();

// A top-level dialog window with that title, of any process.
HWND find_dialog(const std::string& title);
// Clicks a dialog's button with the mouse.
void click_button(HWND dialog, int button);
// The dialog of this process with that title, searched while it is up.
HWND find_own_dialog(const std::string& title);

} // namespace korv::testing
