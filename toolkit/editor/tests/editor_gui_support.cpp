#include "editor_gui_support.h"

#include <richedit.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

namespace editor_test {

WindowSlot& slot(int n) { return korv::window_tables().windows[static_cast<std::size_t>(n)]; }

EditorWindowRecord* editor_of(int n) { return korv::edit_record(slot(n).frame); }

HWND text_of(int n)
{
    const EditorWindowRecord* record = editor_of(n);
    return record != nullptr ? record->subject : nullptr;
}

int open_window(const char* title, int flags, int width)
{
    int window = -1;
    WindowOpenChild(window, flags, -999999, -999999, width, 360, 0, {}, 0, title);
    drain();
    return window;
}

void drain()
{
    for (int n = 0; n < 1000; ++n) {
        int type = 0;
        EventRecord record;
        korv::win_message_pump_peek(type, record);
        if (type == -1) return;
    }
}

Event wait_event(int milliseconds)
{
    Event event;
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        korv::win_message_pump_peek(event.type, event.record);
        if (event.type != -1) return event;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() < end);
    event.type = -1;
    return event;
}

WorkDirectory::WorkDirectory()
{
    static int counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "korv_editor_" + std::to_string(GetCurrentProcessId()) + "_"
            + std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    SetCurrentDirectoryA(path_.c_str());
}

namespace {

void remove_tree(const std::string& directory)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = directory + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}

} // namespace

WorkDirectory::~WorkDirectory()
{
    SetCurrentDirectoryA(previous_.c_str());
    remove_tree(path_);
}

void file_write(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string file_read(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool file_free(const std::string& name)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

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

void settle()
{
    for (int i = 0; i < 5; ++i) {
        drain();
        Sleep(10);
    }
}

void type_text(const std::string& text)
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

void request_close(HWND frame)
{
    SetForegroundWindow(frame);
    SetFocus(frame);
    press(VK_F4, false, false, true);
}

std::string control_text(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::string window_title(HWND window)
{
    char text[1100] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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
    boxes.title = window_title(box);
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    boxes.text = text;
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

} // namespace editor_test
