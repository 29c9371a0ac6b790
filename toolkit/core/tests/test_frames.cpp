#include "test_frames.h"

#include <commctrl.h>

#include "korvanthide/window.h"
#include "core/window_layer.h"

namespace korv::testing {

namespace {

int command_seen = 0;

LRESULT CALLBACK client_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_COMMAND) {
        command_seen = LOWORD(w);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        command_seen = LOWORD(w);
        return 0;
    case WM_CLOSE:
        return 0;  // the program decides
    default:
        return DefWindowProcA(window, message, w, l);
    }
}

void classes_register()
{
    static bool done = false;
    if (done) return;
    done = true;
    LoadLibraryA("comctl32.dll");
    WNDCLASSA frame{};
    frame.lpfnWndProc = frame_proc;
    frame.hInstance = GetModuleHandleA(nullptr);
    frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = "KorvTestFrame";
    RegisterClassA(&frame);
    WNDCLASSA client = frame;
    client.lpfnWndProc = client_proc;
    client.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    client.lpszClassName = "KorvTestClient";
    RegisterClassA(&client);
}

} // namespace

HWND open_test_window(int n, const FrameOptions& options)
{
    classes_register();
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (!options.caption) style = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
    HWND frame = CreateWindowExA(WS_EX_APPWINDOW, "KorvTestFrame", options.title.c_str(), style,
                                 40 + 20 * n, 40 + 20 * n, options.width, options.height, nullptr,
                                 options.menu, GetModuleHandleA(nullptr), nullptr);
    WindowSlot& slot = *win_slot(n);
    slot = WindowSlot{};
    slot.frame = frame;
    slot.menu = options.menu;
    slot.flags = winflag::defaults;
    if (options.menu_help != 0) {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        if (HRSRC help = FindResourceA(instance, MAKEINTRESOURCEA(options.menu_help), "ZOQMENUSTRING")) {
            slot.menu_help = LoadResource(instance, help);
        }
    }
    RECT area{};
    GetClientRect(frame, &area);
    if (options.status_bar) {
        slot.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0,
                                          area.right, 10, frame,
                                          reinterpret_cast<HMENU>(status_bar_id),
                                          GetModuleHandleA(nullptr), nullptr);
        RECT bar{};
        GetWindowRect(slot.status_bar, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    slot.client = CreateWindowExA(0, "KorvTestClient", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  area.right, area.bottom, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                  GetModuleHandleA(nullptr), nullptr);
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    window_tables().current = n;
    pump_messages(20);
    return frame;
}

void close_test_window(int n)
{
    WindowSlot& slot = *win_slot(n);
    if (slot.frame != nullptr && IsWindow(slot.frame)) {
        DestroyWindow(slot.frame);
    }
    slot = WindowSlot{};
    if (window_tables().current == n) window_tables().current = 0;
    pump_messages(10);
}

int last_command() { return command_seen; }
void last_command_reset() { command_seen = 0; }

} // namespace korv::testing
