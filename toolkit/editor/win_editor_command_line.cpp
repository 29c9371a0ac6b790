// The editor's command line: keys that scroll the text, the history of a
// combo-box command line, and Enter reported to the program.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "korvanthide/events.h"
#include "editor/win_editor.h"

namespace korv {

namespace {

constexpr int history_limit = 100;

bool is_combo_box(HWND window)
{
    char name[16] = {};
    return window != nullptr && GetClassNameA(window, name, sizeof name) > 0
           && lstrcmpiA(name, "ComboBox") == 0;
}

std::string window_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

// The entry for Up or Down in a history whose list is closed.
void history_step(HWND combo, HWND edit, bool up)
{
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    int next = 0;
    if (selected == CB_ERR) {
        const std::string typed = window_text(edit);
        const int match = static_cast<int>(
            SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str())));
        next = match == CB_ERR ? 0 : match;
    } else if (up) {
        next = std::max(selected - 1, 0);
    } else {
        next = selected + 1 < count ? selected + 1 : -1;
    }
    if (count == 0) {
        return;
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(next), 0);
    if (next < 0) {
        SetWindowTextA(edit, "");
    }
}

// Keeps a line in the history, newest first, without blanks-only lines or
// a repeat of the newest.
void history_keep(HWND combo)
{
    const std::string line = window_text(combo);
    if (line.find_first_not_of(' ') == std::string::npos) {
        return;
    }
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (count > 0) {
        const int length = static_cast<int>(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0));
        std::string newest(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(newest.data()));
        newest.resize(std::strlen(newest.c_str()));
        if (newest == line) {
            SendMessageA(combo, CB_SETCURSEL, 0, 0);
            return;
        }
    }
    if (count >= history_limit) {
        SendMessageA(combo, CB_DELETESTRING, history_limit - 1, 0);
    }
    SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

} // namespace

LRESULT CALLBACK edit_command_line_proc(HWND edit, UINT message, WPARAM w, LPARAM l)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    HWND parent = GetParent(edit);
    HWND combo = is_combo_box(parent) ? parent : nullptr;
    HWND frame = combo != nullptr ? GetParent(combo) : parent;
    EditorWindowRecord* record = edit_record(frame);
    auto pass = [&] {
        return previous != nullptr ? CallWindowProcA(previous, edit, message, w, l)
                                   : DefWindowProcA(edit, message, w, l);
    };
    if (record == nullptr) {
        return pass();
    }
    HWND control = edit_control(*record);
    const bool dropped = combo != nullptr && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (message == WM_KEYDOWN) {
        switch (w) {
        case VK_PRIOR:
        case VK_NEXT:
            SendMessageA(control, EM_SCROLL, w == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
            return 0;
        case VK_UP:
        case VK_DOWN:
            if (combo == nullptr) {
                SendMessageA(control, EM_SCROLL, w == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
                return 0;
            }
            if (!dropped) {
                history_step(combo, edit, w == VK_UP);
                return 0;
            }
            return pass();
        case VK_CAPITAL:
        case VK_NUMLOCK: {
            const LRESULT result = pass();
            edit_status_keys(*record);
            return result;
        }
        default:
            return pass();
        }
    }
    if (message == WM_CHAR) {
        switch (w) {
        case 1:  // Ctrl+A
            SendMessageA(edit, EM_SETSEL, 0, -1);
            SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            return 0;
        case '\t':
            window_tables().last_active = frame;
            window_tables().active_dialog = nullptr;
            SetFocus(control);
            return 0;
        case '\r': {
            LRESULT result = 0;
            if (dropped) result = pass();
            win_event_post(event::command_line, 0, 0, 0, frame);
            if (combo != nullptr) history_keep(combo);
            return result;
        }
        case 27:
            if (!dropped) {
                SetWindowTextA(edit, "");
                return 0;
            }
            return pass();
        default:
            return pass();
        }
    }
    return pass();
}

} // namespace korv
