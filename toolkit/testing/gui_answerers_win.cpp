#include "testing/gui_support.h"

#include <cstring>
#include <deque>
#include <set>

#include "testing/test_time.h"

namespace korv::testing {

// ---- message boxes ----

namespace {

struct Boxes {
    int answer = IDOK;
    int count = 0;
    std::string title;
    std::string text;
    std::set<HWND> handled;
    std::deque<int> later;
    UINT_PTR timer = 0;
};
Boxes boxes;

BOOL CALLBACK find_box(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK box_timer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_box, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr || boxes.handled.count(box) != 0) return;
    boxes.handled.insert(box);
    boxes.title = window_text(box);
    boxes.text = box_message(box);
    ++boxes.count;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(boxes.answer, BN_CLICKED), 0);
    if (!boxes.later.empty()) {
        boxes.answer = boxes.later.front();
        boxes.later.pop_front();
    }
}

} // namespace

BoxAnswerer::BoxAnswerer(int answer)
{
    boxes = Boxes{};
    boxes.answer = answer;
    boxes.timer = SetTimer(nullptr, 0, 40, box_timer);
}

BoxAnswerer::~BoxAnswerer()
{
    KillTimer(nullptr, boxes.timer);
}

int BoxAnswerer::count() const { return boxes.count; }
void BoxAnswerer::answer(int next) { boxes.answer = next; }
void BoxAnswerer::then(int later) { boxes.later.push_back(later); }
std::string BoxAnswerer::last_title() const { return boxes.title; }
std::string BoxAnswerer::last_text() const { return boxes.text; }

// ---- dialogs by title ----

namespace {

constexpr UINT answer_tick_ms = 100;

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
        if (static_cast<unsigned long>(++q.waited) * answer_tick_ms > scaled_ms(30'000)) {
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
        q.timer = SetTimer(nullptr, 0, answer_tick_ms, tick);
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

} // namespace korv::testing
