// Drives a running Chromalversor.exe from outside, as a user would: it
// finds the program's windows, posts clicks and keys into its message queue
// and reads back what the windows show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ProgramDriver {
public:
    // Starts Chromalversor.exe from the folder of this test program (which
    // holds it and its help file) and waits for its dialog to show white.
    // The program runs in `folder` when one is given.
    explicit ProgramDriver(const std::string& folder = {});
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    bool started() const { return dialog_ != nullptr; }
    HWND dialog() const { return dialog_; }
    HWND field(int id) const { return GetDlgItem(dialog_, id); }

    // What the user sees.
    std::string text(HWND window) const;
    std::string text(int id) const { return text(field(id)); }
    int trackbar(int id) const;
    int list_selection(int id) const;  // from 1; 0 when none
    bool visible(int id) const { return IsWindowVisible(field(id)) != FALSE; }
    COLORREF preview(int id) const;  // the pixel in the middle of a picture field
    // The preview once it shows the colour, or what it shows after ten
    // seconds: the program paints a picture field after its texts change.
    COLORREF preview_showing(int id, COLORREF colour) const;
    HWND focus() const;

    // What the user does. Keys go to the window that has the focus.
    void click(HWND window) const;
    void click(int id) const { click(field(id)); }
    void key(int virtual_key) const;
    void keys(int virtual_key, int count) const;
    void type(std::string_view characters) const;
    // Clicks into an edit field, empties it and types the text.
    void retype(HWND edit, std::string_view characters) const;
    void retype(int id, std::string_view characters) const { retype(field(id), characters); }
    void close_box(HWND window) const;

    // Waits up to ten seconds for the condition; true when it held.
    bool wait_until(const std::function<bool()>& condition, int milliseconds = 10000) const;
    // The visible top-level windows of the program with this title (or
    // this title, " - " and a file name), or all other than the main dialog
    // when the title is empty.
    std::vector<HWND> windows(std::string_view title) const;
    bool running() const;
    // Waits for the process to end: its exit status, or -1 when it runs on.
    long exit_status(int milliseconds = 15000) const;
    // Lets the program take in what was posted: true while it answers.
    bool settle() const;

private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
};
