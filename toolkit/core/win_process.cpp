// Starting programs and waiting for them.
#include "core/win_os.h"

#include <vector>

#include "korvanthide/error_numbers.h"
#include "korvanthide/files.h"
#include "core/os_helpers.h"
#include "core/sys_files.h"

namespace korv {

namespace {

// While waiting without limit the program's windows are repainted at least
// this often.
constexpr DWORD poll_ms = 100;

bool start_process(std::string_view command_line, WORD show, PROCESS_INFORMATION& info)
{
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    info = PROCESS_INFORMATION{};
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &info) != FALSE;
}

// Waits without limit; paint messages are handled meanwhile, all others are
// removed and dropped. Returns 0 or the system code of a failed wait.
int wait_painting(HANDLE process)
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT)
                DispatchMessageA(&msg);
            continue;
        }
        const DWORD r = WaitForSingleObject(process, poll_ms);
        if (r == WAIT_OBJECT_0)
            return 0;
        if (r != WAIT_TIMEOUT)
            return last_error_code();
    }
}

} // namespace

void sys_execute(std::string_view command, int flags, int timeout_ms, int& result, int& code,
                 int& process)
{
    result = 0;
    code = 0;
    process = 0;
    int platform = 0;
    sys_os_platform(platform);
    const std::string line =
        execute_command_line(command, (flags & execute_through_interpreter) != 0, platform == 4);
    PROCESS_INFORMATION info;
    if (!start_process(line, (flags & execute_hidden) ? SW_HIDE : SW_SHOWNORMAL, info)) {
        result = err::operating_system;
        code = last_error_code();
        return;
    }
    // The thread handle is never needed by the caller.
    CloseHandle(info.hThread);

    if ((flags & execute_wait) == 0) {
        process = handle_to_int(info.hProcess);
        return;
    }

    bool keep_process = false;
    if (timeout_ms < 0) {
        code = wait_painting(info.hProcess);
        if (code != 0)
            result = err::operating_system;
    } else {
        const DWORD r = WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout_ms));
        if (r == WAIT_TIMEOUT) {
            result = err::process_timeout;
            if (flags & execute_terminate_on_timeout) {
                TerminateProcess(info.hProcess, 0);
            } else {
                keep_process = true;
                process = handle_to_int(info.hProcess);
            }
        } else if (r != WAIT_OBJECT_0) {
            result = err::operating_system;
            code = last_error_code();
        }
    }
    if (!keep_process)
        CloseHandle(info.hProcess);
}

void sys_process_start(int& result, std::string_view command)
{
    PROCESS_INFORMATION info;
    if (!start_process(command, SW_SHOWNORMAL, info)) {
        result = last_error_code();
        return;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    result = 0;
}

void sys_process_status(int process, int& running, int& exit_code)
{
    HANDLE h = handle_from_int(process);
    if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
        running = 1;
        return;
    }
    running = 0;
    DWORD status = 0;
    GetExitCodeProcess(h, &status);
    exit_code = static_cast<int>(status);
}

void sys_process_terminate(int process, int exit_code)
{
    TerminateProcess(handle_from_int(process), static_cast<UINT>(exit_code));
}

void sys_process_close(int process)
{
    if (process != 0 && process != -1)
        CloseHandle(handle_from_int(process));
}

void sys_exit_process(int exit_code)
{
    ExitProcess(static_cast<UINT>(exit_code));
}

void sys_fatal_box(std::string_view caption, std::string_view text)
{
    MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(),
                MB_TASKMODAL | MB_ICONERROR);
}

} // namespace korv
