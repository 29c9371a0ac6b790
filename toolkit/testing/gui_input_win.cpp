#include "testing/gui_support.h"

namespace korv::testing {

namespace {

INPUT key_input(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void type_text(std::string_view text)
{
    for (char c : text) {
        INPUT inputs[2] = {};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = static_cast<unsigned char>(c);
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
    }
}

void press_keys(std::initializer_list<Key> keys)
{
    std::vector<INPUT> inputs;
    for (const Key& k : keys) {
        if (k.ctrl) inputs.push_back(key_input(VK_CONTROL, false));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, false));
        if (k.alt) inputs.push_back(key_input(VK_MENU, false));
        inputs.push_back(key_input(k.key, false));
        inputs.push_back(key_input(k.key, true));
        if (k.alt) inputs.push_back(key_input(VK_MENU, true));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, true));
        if (k.ctrl) inputs.push_back(key_input(VK_CONTROL, true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void press(WORD key, bool ctrl, bool shift, bool alt)
{
    press_keys({Key{key, ctrl, shift, alt}});
}

void click_screen(POINT at, Button button)
{
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = button == Button::left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = button == Button::left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool click(HWND window, int x, int y)
{
    POINT at{x, y};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    if (WindowFromPoint(at) != window)
        return false;
    click_screen(at);
    return true;
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
    // Another program's window over the button would take the click.
    if (WindowFromPoint(centre) != control) {
        PostMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    click_screen(centre);
}

void post_text(std::string_view text)
{
    for (char c : text)
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void post_key(UINT key)
{
    HWND focus = GetFocus();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16;
    PostMessageA(focus, WM_KEYDOWN, key, scan | 1);
    PostMessageA(focus, WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
}

void post_click(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void hold_keys(std::initializer_list<int> keys, bool down)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (int key : keys)
        state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

std::string window_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string box_message(HWND box)
{
    // The message is the box's static text, identifier 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

HWND menu_window()
{
    return FindWindowA("#32768", nullptr);
}

} // namespace korv::testing
