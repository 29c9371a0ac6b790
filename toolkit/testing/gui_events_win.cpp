#include "testing/gui_support.h"

#include "korvanthide/window.h"
#include "testing/test_time.h"

namespace korv::testing {

namespace {

// The timer that ends an event wait in which the expected event never comes.
constexpr int give_up_timer = 4711;

// Whether `limit` milliseconds have passed since `start` (tick counts wrap).
bool passed(DWORD start, unsigned long limit)
{
    return GetTickCount() - start >= limit;
}

} // namespace

Event poll_event()
{
    Event event;
    win_message_pump_peek(event.type, event.record);
    return event;
}

void drain()
{
    // Bounded, so that a window that keeps posting cannot hold the test.
    for (int n = 0; n < 1000; ++n) {
        if (poll_event().type == -1)
            return;
    }
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        drain();
        Sleep(10);
    }
}

Event wait_event(int milliseconds)
{
    const DWORD start = GetTickCount();
    const unsigned long limit = scaled_ms(static_cast<unsigned long>(milliseconds));
    do {
        const Event event = poll_event();
        if (event.type != -1)
            return event;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (!passed(start, limit));
    return Event{};
}

bool poll_until(const std::function<bool()>& done, int milliseconds)
{
    const DWORD start = GetTickCount();
    const unsigned long limit = scaled_ms(static_cast<unsigned long>(milliseconds));
    while (!passed(start, limit)) {
        drain();
        if (done())
            return true;
        Sleep(10);
    }
    return done();
}

bool wevent_wait(Event& event, int milliseconds)
{
    win_timer_set(static_cast<int>(scaled_ms(static_cast<unsigned long>(milliseconds))), give_up_timer, 0);
    WEventWait(event.type, event.record);
    win_timer_set(0, give_up_timer, 0);
    return !(event.type == korv::event::timer && event.record.slot(2) == give_up_timer);
}

std::vector<Event> wevent_wait_until_quiet(int quiet_ms)
{
    std::vector<Event> events;
    Event event;
    while (wevent_wait(event, quiet_ms))
        events.push_back(event);
    return events;
}

void pump_messages(int milliseconds)
{
    const DWORD start = GetTickCount();
    const unsigned long limit = static_cast<unsigned long>(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (passed(start, limit))
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool pump_until(const std::function<bool()>& done, int milliseconds)
{
    const DWORD start = GetTickCount();
    const unsigned long limit = scaled_ms(static_cast<unsigned long>(milliseconds));
    while (!passed(start, limit)) {
        if (done())
            return true;
        pump_messages(10);
    }
    return done();
}

void pump_dialog_messages(int milliseconds)
{
    const DWORD start = GetTickCount();
    const unsigned long limit = static_cast<unsigned long>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            HWND active = window_tables().active_dialog;
            if (active != nullptr && IsDialogMessageA(active, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (!passed(start, limit));
}

} // namespace korv::testing
