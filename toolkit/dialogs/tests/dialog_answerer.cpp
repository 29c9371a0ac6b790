#include "dialogs/tests/dialog_answerer.h"

#include <deque>

namespace korv::testing {

namespace {

struct Queue {
    std::deque<DialogAnswer> pending;
    int given = 0;
    int waited = 0;        // ticks without the awaited dialog
    bool draining = false; // gave up waiting: every dialog is cancelled
    UINT_PTR timer = 0;
};

Queue& queue()
{
    static Queue q;
    return q;
}

struct Search {
    const std::string* title;
    DWORD process;
    HWND found;
};

// A dialog that never shows the awaited title would block the test for
// good: after thirty seconds every dialog of this process is cancelled,
// and so is any that comes up later, until new answers are queued.
BOOL CALLBACK cancel_own(HWND w, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    char name[16] = {};
    GetClassNameA(w, name, sizeof name);
    if (process == GetCurrentProcessId() && IsWindowVisible(w) && std::string(name) == "#32770")
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

BOOL CALLBACK look(HWND w, LPARAM l)
{
    auto* s = reinterpret_cast<Search*>(l);
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (IsWindowVisible(w) && *s->title == text && (s->process == 0 || s->process == process)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND search(const std::string& title, DWORD process)
{
    Search s{&title, process, nullptr};
    EnumWindows(look, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Queue& q = queue();
    if (q.draining) {
        EnumWindows(cancel_own, 0);
        return;
    }
    if (q.pending.empty()) {
        KillTimer(nullptr, q.timer);
        q.timer = 0;
        return;
    }
    const DialogAnswer& a = q.pending.front();
    HWND dialog = find_own_dialog(a.title);
    if (!dialog) {
        if (++q.waited > 300) {
            q.pending.clear();
            q.draining = true;
        }
        return;
    }
    q.waited = 0;
    // Take the answer off first: the click may open a nested box.
    DialogAnswer answer = a;
    q.pending.pop_front();
    ++q.given;
    if (answer.before_click)
        answer.before_click(dialog);
    click_button(dialog, answer.button);
}

} // namespace

void answer_dialogs(std::initializer_list<DialogAnswer> answers)
{
    Queue& q = queue();
    for (const auto& a : answers)
        q.pending.push_back(a);
    q.given = 0;
    q.waited = 0;
    q.draining = false;
    if (!q.timer)
        q.timer = SetTimer(nullptr, 0, 100, tick);
}

int answers_given()
{
    return queue().given;
}

HWND find_dialog(const std::string& title)
{
    return search(title, 0);
}

HWND find_own_dialog(const std::string& title)
{
    return search(title, GetCurrentProcessId());
}

void click_button(HWND dialog, int button)
{
    HWND control = GetDlgItem(dialog, button);
    if (!control)
        return;
    SetForegroundWindow(dialog);
    RECT r{};
    GetWindowRect(control, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    // Another program's window over the button would take the click: the
    // button is then pressed by its own message.
    if (WindowFromPoint(centre) != control) {
        PostMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

} // namespace korv::testing
