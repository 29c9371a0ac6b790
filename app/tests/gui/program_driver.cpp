#include "program_driver.h"

#include <commctrl.h>

#include <chrono>
#include <thread>

namespace {

constexpr UINT kTimeout = 5000;
constexpr int kDecimalCodeField = 1087;

std::string own_folder()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string window_class(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, w, l, SMTO_BLOCK, kTimeout, &result);
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD process;
    std::string title;
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.process || !IsWindowVisible(window) || window == search.except) {
        return TRUE;
    }
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    // A viewer adds its file's name to the title it was given.
    const std::string_view shown(title);
    if (search.title.empty() || shown == search.title || shown.starts_with(search.title + " - ")) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

ProgramDriver::ProgramDriver(const std::string& working_folder)
{
    const std::string folder = own_folder();
    std::string command = "\"" + folder + "Chromalversor.exe\"";
    const std::string runs_in = working_folder.empty() ? folder : working_folder;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, runs_in.c_str(), &startup,
                        &process_)) {
        process_ = {};
        return;
    }
    HWND found = nullptr;
    wait_until(
        [&] {
            for (HWND w : windows("Chromalversor")) {
                if (window_class(w) == "#32770") {
                    found = w;
                }
            }
            return found != nullptr;
        },
        30000);
    dialog_ = found;
    if (dialog_ != nullptr && !wait_until([&] { return text(1082) == "FFFFFF"; }, 30000)) {
        dialog_ = nullptr;
    }
}

ProgramDriver::~ProgramDriver()
{
    if (process_.hProcess == nullptr) {
        return;
    }
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kTimeout);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::string ProgramDriver::text(HWND window) const
{
    const LRESULT length = send(window, WM_GETTEXTLENGTH);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK,
                        kTimeout, &copied);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

int ProgramDriver::trackbar(int id) const
{
    return static_cast<int>(send(field(id), TBM_GETPOS));
}

int ProgramDriver::list_selection(int id) const
{
    return static_cast<int>(send(field(id), CB_GETCURSEL)) + 1;
}

COLORREF ProgramDriver::preview(int id) const
{
    // Read from the screen, where the user sees it: another process's
    // window context gives no pixels.
    RECT r{};
    GetWindowRect(field(id), &r);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return pixel;
}

COLORREF ProgramDriver::preview_showing(int id, COLORREF colour) const
{
    COLORREF seen = preview(id);
    wait_until([&] { return (seen = preview(id)) == colour; });
    return seen;
}

HWND ProgramDriver::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void ProgramDriver::click(HWND window) const
{
    RECT r{};
    GetClientRect(window, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void ProgramDriver::key(int virtual_key) const
{
    keys(virtual_key, 1);
}

void ProgramDriver::keys(int virtual_key, int count) const
{
    settle();
    const HWND target = focus();
    for (int i = 0; i < count; ++i) {
        PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtual_key), 1);
        PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtual_key), static_cast<LPARAM>(0xC0000001));
    }
}

void ProgramDriver::type(std::string_view characters) const
{
    settle();
    const HWND target = focus();
    for (char c : characters) {
        PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

void ProgramDriver::retype(HWND edit, std::string_view characters) const
{
    click(edit);
    key(VK_END);
    type(std::string(text(edit).size() + 1, '\b'));
    type(characters);
}

void ProgramDriver::close_box(HWND window) const
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool ProgramDriver::wait_until(const std::function<bool()>& condition, int milliseconds) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<HWND> ProgramDriver::windows(std::string_view title) const
{
    WindowSearch search{process_.dwProcessId, std::string(title), title.empty() ? dialog_ : nullptr, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ProgramDriver::running() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

long ProgramDriver::exit_status(int milliseconds) const
{
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return static_cast<long>(status);
}

bool ProgramDriver::settle() const
{
    // A marker posted behind everything else: once the decimal field shows
    // its text limit, the program has handled all that came before it,
    // including the refreshes those messages caused.
    static unsigned marker = 0;
    const LPARAM limit = 20000 + static_cast<LPARAM>(++marker % 10000);
    const HWND target = field(kDecimalCodeField);
    PostMessageA(target, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    return wait_until([&] { return !running() || send(target, EM_GETLIMITTEXT) == limit; });
}
