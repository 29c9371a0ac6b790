#include "core/os_helpers.h"

#include <algorithm>
#include <climits>

#include "korvanthide/fixed_text.h"

namespace korv {

std::string_view file_name_trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(std::string_view(" \0", 2));
    if (first == std::string_view::npos)
        return {};
    return text_trimmed(text.substr(first));
}

std::string_view directory_part(std::string_view name)
{
    const auto last = name.find_last_of("\\:");
    return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

bool names_directory(std::string_view name)
{
    return !name.empty() && (name.back() == '\\' || name.back() == ':');
}

bool has_wildcard(std::string_view name)
{
    return name.find_first_of("*?") != std::string_view::npos;
}

std::string copy_target(std::string_view source, std::string_view target)
{
    std::string result(target);
    if (target.empty() || names_directory(target))
        result += source.substr(directory_part(source).size());
    return result;
}

std::string copy_target_directory(std::string_view target)
{
    std::string result(target);
    if (!names_directory(target))
        result += '\\';
    return result;
}

std::string execute_command_line(std::string_view command, bool through_interpreter, bool nt)
{
    std::string line;
    if (through_interpreter)
        line = nt ? "cmd.exe /c " : "command.com /c ";
    line += command;
    return line;
}

void reverse_byte_groups(std::span<std::byte> bytes, int group_size)
{
    if (group_size < 2)
        return;
    const std::size_t n = static_cast<std::size_t>(group_size);
    // A trailing partial group is not swapped: reversing it as a whole group
    // would reach past the bytes transferred.
    for (std::size_t start = 0; bytes.size() - start >= n; start += n)
        std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                     bytes.begin() + static_cast<std::ptrdiff_t>(start + n));
}

int size_in_kilobytes(std::uint64_t size)
{
    const std::uint64_t units = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    return units > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(units);
}

} // namespace korv
