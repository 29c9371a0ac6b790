#include "editor_gui_support.h"

#include <fstream>
#include <iterator>

#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

namespace editor_test {

void root_window_open(const char* title)
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480, 0, {}, 0, title);
    korv::testing::drain();
}

void child_windows_close()
{
    for (int n = 1; n <= korv::max_window; ++n) {
        if (slot(n).frame != nullptr) WindowCloseChild(n);
    }
    korv::testing::drain();
}

WindowSlot& slot(int n) { return *korv::win_slot(n); }

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
    korv::testing::drain();
    return window;
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

void request_close(HWND frame)
{
    SetForegroundWindow(frame);
    SetFocus(frame);
    korv::testing::press(VK_F4, false, false, true);
}

} // namespace editor_test
