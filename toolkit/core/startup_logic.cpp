#include "core/startup_logic.h"

#include "korvanthide/conversions.h"
#include "korvanthide/fixed_text.h"
#include "core/conversion_routines.h"

#include <algorithm>

namespace korv {

namespace {

constexpr char separator = '\\';

} // namespace

std::string with_separator(std::string_view dir)
{
    std::string result(dir);
    if (!result.empty() && result.back() != separator)
        result += separator;
    return result;
}

std::string install_dir_from(std::string_view korvan, std::string_view qude)
{
    korvan = text_trimmed(korvan);
    if (!korvan.empty())
        return with_separator(korvan);
    qude = text_trimmed(qude);
    const int at = conv_index_nocase(qude, "QUDE", true);
    if (at == 0)
        return {};
    return std::string(qude.substr(0, static_cast<std::size_t>(at - 1)));
}

std::string char_dir_from(std::string_view install_dir)
{
    install_dir = text_trimmed(install_dir);
    if (install_dir.empty())
        return {};
    return std::string(install_dir) + "charsets";
}

std::string settings_path_from(std::string_view korvinit, std::string_view install_dir,
                               const FileExists& exists)
{
    korvinit = text_trimmed(korvinit);
    if (!korvinit.empty() && exists(std::string(korvinit)))
        return std::string(korvinit);
    const std::string local = "korvan.ini";
    if (exists(local))
        return local;
    install_dir = text_trimmed(install_dir);
    if (install_dir.empty())
        return local;
    std::string installed = std::string(install_dir) + local;
    return exists(installed) ? installed : std::string{};
}

std::string temp_dir_from(std::string_view temp, std::string_view tmp)
{
    temp = text_trimmed(temp);
    tmp = text_trimmed(tmp);
    if (!temp.empty())
        return with_separator(temp);
    if (!tmp.empty())
        return with_separator(tmp);
    return "C:\\";
}

std::string temp_file_name(std::string_view dir, std::string_view extension,
                           const FileExists& exists)
{
    std::string name;
    for (int n = 0; n <= 99; ++n) {
        name = std::string(dir) + "zoq$$";
        name += static_cast<char>('0' + n / 10);
        name += static_cast<char>('0' + n % 10);
        name += extension;
        if (!exists(name))
            break;
    }
    return name;
}

int report_mode_from(std::string_view korvdebug)
{
    const char c = korvdebug.empty() ? ' ' : korvdebug.front();
    return c - '0';
}

std::string abnormal_exit_text(std::string_view message, int code)
{
    std::string number = std::to_string(code);
    if (number.size() > 4)
        number = "****";
    return "Abnormal exit (code " + number + ") : " + std::string(message);
}

std::string command_line_kept(std::string_view line)
{
    std::string kept(line.substr(0, std::min(line.size(), command_line_capacity)));
    const auto zero = kept.find('\0');
    if (zero != std::string::npos)
        std::fill(kept.begin() + static_cast<std::ptrdiff_t>(zero), kept.end(), ' ');
    return kept;
}

std::vector<std::string> command_line_words(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(' ', at);
        if (at == std::string_view::npos)
            break;
        std::size_t end;
        if (line[at] == '"') {
            end = line.find('"', at + 1);
            words.emplace_back(line.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
            if (end != std::string_view::npos)
                ++end;
        } else {
            end = line.find(' ', at);
            words.emplace_back(line.substr(at, end == std::string_view::npos ? end : end - at));
        }
        if (end == std::string_view::npos)
            break;
        at = end;
    }
    return words;
}

} // namespace korv
