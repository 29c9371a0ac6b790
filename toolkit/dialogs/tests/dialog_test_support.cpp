#include "dialog_test_support.h"

#include <commctrl.h>

#include "korvanthide/dialogs.h"
#include "korvanthide/window.h"
#include "toolkit/dialogs/neighbours.h"


namespace dialog_test {

namespace {

bool no_client(int) { return false; }
void no_size(int, int& w, int& h) { w = h = 0; }

LRESULT CALLBACK root_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

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
    WindowTables& tables = korv::window_tables();
    if (!opened) {
        opened = true;
        // Loading the library makes the common controls available by name.
        LoadLibraryA("comctl32.dll");
        WNDCLASSA wc{};
        wc.lpfnWndProc = root_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KorvDialogTestRoot";
        RegisterClassA(&wc);
        tables.windows[0].frame = CreateWindowExA(0, wc.lpszClassName, "root", WS_POPUP, 0, 0, 10, 10,
                                                  nullptr, nullptr, wc.hInstance, nullptr);
        korv::numctl_register_classes();
        korv::dialog_root_opened();
        tables.root_open = -1;
    }
    korv::event_enable_reset();
    tables.last_active = tables.windows[0].frame;
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
    korv::WindowQuery query{no_client, no_size};
    korv::event_wait_begin();
    if (korv::event_take_pending(event.type, event.record, query))
        return true;
    korv::event_loop_begin();
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    korv::EventState& state = korv::event_state();
    while (state.store.waiting == 1 && static_cast<int>(end - GetTickCount()) > 0) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            dispatch(m);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (state.store.waiting == 1) {
        state.store.waiting = 0;
        state.in_pump = 0;
        return false;
    }
    korv::event_wait_finish(event.type, event.record, query);
    return true;
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
