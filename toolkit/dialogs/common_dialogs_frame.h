// The frame around every blocking system dialog: the owner is the window
// the user works in, every other toolkit window and dialog is disabled
// while the dialog runs, and afterwards the owner is activated and the
// focus goes back where it was.
#pragma once

#include <windows.h>

#include <functional>

namespace korv {

// Runs the dialog with its owner inside the frame.
void cdlg_blocking_frame(const std::function<void(HWND owner)>& run);

// Keeps the pictures of the toolkit's windows while a blocking dialog is
// up (snapshots in mode 1 before, mode 0 after).
class WindowSnapshots {
public:
    explicit WindowSnapshots(bool on = true);
    ~WindowSnapshots();
    WindowSnapshots(const WindowSnapshots&) = delete;
    WindowSnapshots& operator=(const WindowSnapshots&) = delete;

private:
    bool on_;
};

} // namespace korv
