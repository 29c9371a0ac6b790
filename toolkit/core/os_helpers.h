// The parts of the file and process services that need no system calls:
// names and patterns, command lines, byte-order groups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korv {

// A file name as the caller wrote it in a padded text: from the first
// character that is neither blank nor zero byte to the last non-blank one.
std::string_view file_name_trimmed(std::string_view text);

// The directory part of a name or pattern: its text up to and including the
// last "\" or ":"; empty when it has neither.
std::string_view directory_part(std::string_view name);

// True for a name ending in "\" or ":" (a directory to copy into).
bool names_directory(std::string_view name);

bool has_wildcard(std::string_view name);

// The target of a single-file copy: a blank target, or one naming a
// directory, takes the source's own file name.
std::string copy_target(std::string_view source, std::string_view target);

// The target directory of a wildcard copy, ending in "\" or ":".
std::string copy_target_directory(std::string_view target);

// The command line handed to the system: with through_interpreter the
// command is run by "cmd.exe /c " (Windows NT) or "command.com /c ".
std::string execute_command_line(std::string_view command, bool through_interpreter, bool nt);

// Reverses the byte order within each whole group of group_size bytes; a
// partial group at the end is left as it is. group_size 0 or 1 does nothing.
void reverse_byte_groups(std::span<std::byte> bytes, int group_size);

// A size in 1024-byte units, a partly used unit counting as a whole one,
// capped at the largest int.
int size_in_kilobytes(std::uint64_t size);

} // namespace korv
