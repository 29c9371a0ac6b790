// The frame around every blocking system dialog: the owner is the window
// the user works in, every other toolkit window and dialog is disabled
// while the dialog runs, and afterwards the owner is activated and the
// focus goes back where it was.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>

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

// The message box itself inside the blocking frame: the system's answer as
// the toolkit's (1, 0, 2, or -1 when it could not be shown).
void cdlg_message_box(int button_set, int icon, int default_position, int& answer, std::string_view message,
                      std::string_view title);

// The directory browser: result 1 when a folder was chosen, 2 when
// cancelled. title_mode 1 uses the title, else "Select Directory". The
// directory (room for 260 characters) gives the start and receives the
// path. Flags: 4 a path that does not exist is accepted; 0x40 offers to
// create a missing directory.
void cdlg_browse_directory(int title_mode, int& result, int flags, std::span<char> directory, std::string_view title);

} // namespace korv
