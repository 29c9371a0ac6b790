// The start-up services that only the core's own routines call.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// ToolkitState::startup_marker once the toolkit has started.
inline constexpr int startup_done_marker = -9999;

void sys_display_info_init();
void sys_beep_enable(int flag);
// The default beep, when beeps are on or kind is 1.
void sys_beep(int kind);
bool sys_beep_enabled();
// Path and decimal separators, decimal comma off, the installation
// directory (KORVAN, else from QUDE) and LFNGEN 40.
void sys_install_dir_init();
// The temporary plot and dump file names (FileNameTable entries 3 and 4).
void sys_temp_file_names_init();
// Argument n of the command line into text (blank-padded): 0 the program's
// path, n >= 1 the n-th word after the first. Gives n when found, else the
// number of words after the first; n = -1 only captures the command line.
int sys_command_line_argument(int n, std::span<char> text);
void sys_local_date(int& year, int& month, int& day);
void sys_local_month_day(int& month, int& day);
// "9.20c" into text.
void sys_version_string(std::span<char> text);
inline constexpr std::string_view toolkit_version = "9.20c";
// Shows "Abnormal exit (code N) : message" in a box titled "Korvanthide"
// when message is not blank, then ends the process with exit status code.
[[noreturn]] void sys_abnormal_exit(std::string_view message, int code);

} // namespace korv
