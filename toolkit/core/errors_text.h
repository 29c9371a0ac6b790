// Pieces of the error reporter shared by its portable and Windows halves,
// the rest of the core and the reporter's tests.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "korvanthide/errors.h"

namespace korv {

// Catalogue text of an error number; empty when the number has none.
std::string_view err_catalogue_text(int number);
std::size_t err_catalogue_size();
// zlib and MAPISendMail return-code texts; empty for unknown codes.
std::string_view err_compression_text(int code);
std::string_view err_mail_text(int code);

// Capacities of the reporter's fixed buffers.
inline constexpr std::size_t err_report_capacity = 300;
inline constexpr std::size_t err_detail_capacity = 512;

// One report, split the way the message box shows it.
struct ErrorReportText {
    std::string full;    // the whole text without trailing blanks
    std::string head;    // prefix and routine name: "Routine:WDialogLoad"
    std::string number;  // "Error=1007"
    std::string message; // catalogue text with its detail, trailing blanks cut
};

ErrorReportText err_report_text_build(int number, std::string_view routine);


// The outputs the reporter starts with besides the console: on Windows the
// system's texts and the debug log, so that a report made before start-up
// reaches them too. Nothing natively.
void err_outputs_platform(ErrorOutputs& out);

// The parts of the Windows outputs, each kept by its own layer: the system's
// texts and the debug log; the current window, the window selection and the
// status-bar text of report mode 3; the message box of report mode 4. The
// last two come with the install file, at start-up.
void err_outputs_install_win(ErrorOutputs& out = error_outputs());
void win_error_outputs_install(ErrorOutputs& out = error_outputs());
void cdlg_error_outputs_install(ErrorOutputs& out = error_outputs());

// Fills dest with the text of code in a category: 1 the message catalogue,
// 2 and 4 the system's text for a system error code, 3 zlib return codes,
// 5 the stored database diagnostic, 6 MAPISendMail return codes. The text is
// blank-padded and cut at dest's length; a code without a text gives blanks;
// any other category leaves dest unchanged.
void err_message_text(int code, std::span<char> dest, int category = 1);
// Copies the stored database diagnostic state (which = 1) or message (2)
// with its terminating zero byte; no routine here stores one, so both are empty.
void err_diagnostic_strings_get(int which, std::span<char> dest);

// The debug log: created on first use as "debug" in the current directory
// (else "debug.txt", else "debug.dat"), tried once per run, open until the
// process ends. Each call writes one line ending CR LF. Windows only.
void sys_debug_log(std::string_view text);
void sys_debug_log_open();
void sys_debug_log_line(const char* text);
void sys_debug_log_value(const char* name, int value);

} // namespace korv
