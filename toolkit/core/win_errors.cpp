// Windows outputs of the error reporter: the system's texts for error codes
// and the debug log file.
#include "korvanthide/errors.h"

#include "korvanthide/files.h"
#include "core/context.h"
#include "core/errors_text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

namespace korv {
namespace {

// The log is opened once per run; the names are not tried again after a
// failure, and the handle stays open until the process ends.
struct DebugLog {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool open_attempted = false;
};

DebugLog& debug_log()
{
    return toolkit_context().record<DebugLog>(ContextSlot::debug_log);
}

void write_bytes(std::string_view bytes)
{
    sys_debug_log_open();
    const HANDLE h = debug_log().handle;
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    // Write failures are ignored: the log is only a diagnostic aid.
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void write_line(std::string_view text)
{
    std::string line(text);
    line += "\r\n";
    write_bytes(line);
}

} // namespace

void sys_debug_log_open()
{
    DebugLog& log = debug_log();
    if (log.open_attempted)
        return;
    for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
        log.handle = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log.handle != INVALID_HANDLE_VALUE)
            break;
    }
    log.open_attempted = true;
}

void sys_debug_log(std::string_view text)
{
    // The text counts up to its terminating zero byte, when it has one.
    write_line(text.substr(0, std::min(text.find('\0'), text.size())));
}

void sys_debug_log_line(const char* text)
{
    write_line(text ? std::string_view(text, static_cast<std::size_t>(lstrlenA(text))) : std::string_view{});
}

void sys_debug_log_value(const char* name, int value)
{
    // The line "name=value" must fit in 100 characters with its CR LF;
    // wsprintfA takes no room, so the name is cut to what is left first.
    constexpr std::size_t line_capacity = 100;
    std::array<char, 16> digits{};
    const int number_length = wsprintfA(digits.data(), "%d", value);
    const std::size_t room = line_capacity - 2 - 1 - static_cast<std::size_t>(number_length);
    std::string_view label = name ? std::string_view(name) : std::string_view{};
    const std::string cut(label.substr(0, std::min(label.size(), room)));
    std::array<char, line_capacity + 1> line{};
    const int length = wsprintfA(line.data(), "%s=%d\r\n", cut.c_str(), value);
    write_bytes(std::string_view(line.data(), static_cast<std::size_t>(std::max(length, 0))));
}

void err_outputs_platform(ErrorOutputs& out)
{
    err_outputs_install_win(out);
}

void err_outputs_install_win(ErrorOutputs& out)
{
    out.system_text = [](int code) { return sys_format_message(code); };
    out.debug_log_line = [](std::string_view text) { sys_debug_log(text); };
}

} // namespace korv
