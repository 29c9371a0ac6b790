// The platform-free rules of start-up: where the installation, character-set
// and temporary directories come from, which settings file is read, how the
// command line is split and how the abnormal-exit text reads.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

using FileExists = std::function<bool(const std::string& path)>;

// Appends the path separator to a directory that is not empty and does not
// end in one.
std::string with_separator(std::string_view dir);

// The installation directory: KORVAN with a separator appended; without
// KORVAN, QUDE's text before the last "QUDE" in any letter case (nothing
// appended); else empty. Both values are taken without trailing blanks.
std::string install_dir_from(std::string_view korvan, std::string_view qude);

// The default character-set directory: the installation directory followed
// by "charsets", empty without one.
std::string char_dir_from(std::string_view install_dir);

// Settings file path: KORVINIT when it names an existing file, else
// korvan.ini here when it exists, else with an installation directory that
// directory's korvan.ini when it exists and empty when not; without an
// installation directory "korvan.ini", whose open then fails quietly.
std::string settings_path_from(std::string_view korvinit, std::string_view install_dir,
                               const FileExists& exists);

// The temporary directory: TEMP, else TMP, else "C:\", with a separator.
std::string temp_dir_from(std::string_view temp, std::string_view tmp);

// dir + "zoq$$NN" + extension with the first NN 00..99 whose file does not
// exist, so no file that is already there gets overwritten and later deleted
// by the print command; 99 when all exist.
std::string temp_file_name(std::string_view dir, std::string_view extension,
                           const FileExists& exists);

// The error report mode that a KORVDEBUG value gives: its first character
// minus "0" (blank or empty gives a value the mode setter ignores).
int report_mode_from(std::string_view korvdebug);

// "Abnormal exit (code N) : " followed by the message.
std::string abnormal_exit_text(std::string_view message, int code);

// The process command line as the toolkit keeps it: at most 2,048
// characters, everything from a zero byte on blank.
inline constexpr std::size_t command_line_capacity = 2048;
std::string command_line_kept(std::string_view line);

// The words of a command line: separated by blanks; a word that begins with
// a double quote runs to the next one and is given without the quotes.
std::vector<std::string> command_line_words(std::string_view line);

} // namespace korv
