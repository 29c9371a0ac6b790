#include "dialog_test_support.h"

#include <commctrl.h>

#include "korvanthide/dialogs.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "dialogs/dialog_internal.h"


namespace dialog_test {

namespace {

// The timer that ends a wait in which the expected event never comes.
constexpr int give_up_timer = 4711;

void dispatch(MSG& m)
{
    HWND active = korv::window_tables().active_dialog;
    if (active != nullptr && IsDialogMessageA(active, &m))
        return;
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

} // namespace

void toolkit_up()
{
    static bool opened = false;
    if (!opened) {
        opened = true;
        WToolkitStart();
        // The converter's root window: hidden, with a 640 by 480 client area.
        WindowOpen(135, -999999, -999999, 640, 480, 0, {}, 0, "Dialog tests");
    }
    korv::event_enable_reset();
}

void unload_all()
{
    korv::DialogTable& t = korv::dialog_table();
    while (t.loaded > 0) {
        korv::dialog_result_state().current_dialog = 1;
        t.current_slot = t.loaded;
        int slot = t.loaded;
        korv::dialog_hide(slot);
        korv::dialog_unload(0, t.loaded);
    }
    korv::dialog_result_state() = {};
    korv::window_tables().active_dialog = nullptr;
    pump(20);
}

bool wait_event(Event& event, int ms)
{
    // The toolkit's own event wait, ended by a timer event when nothing
    // else comes.
    korv::win_timer_set(ms, give_up_timer, 0);
    WEventWait(event.type, event.record);
    korv::win_timer_set(0, give_up_timer, 0);
    return !(event.type == korv::event::timer && event.record.slot(2) == give_up_timer);
}

std::vector<Event> drain_events(int quiet_ms)
{
    std::vector<Event> events;
    Event e;
    while (wait_event(e, quiet_ms))
        events.push_back(e);
    return events;
}

void pump(int ms)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            dispatch(m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void type_text(std::string_view text)
{
    for (char c : text)
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void key(UINT vk)
{
    HWND focus = GetFocus();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16;
    PostMessageA(focus, WM_KEYDOWN, vk, scan | 1);
    PostMessageA(focus, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
}

void hold_shift(bool down)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

void click_at(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

HWND field(int id) { return GetDlgItem(korv::dialog_current_window(), id); }

std::string text_of(HWND window)
{
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

} // namespace dialog_test
