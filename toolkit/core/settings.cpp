#include "core/settings.h"
#include "core/services/hardcopy.h"

#include "korvanthide/conversions.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "core/conversion_routines.h"

#include <algorithm>
#include <array>

namespace korv {

void settings_apply_line(std::string_view line, bool& version_requested)
{
    std::array<char, settings_line_length> text;
    if (!text_assign(text, line))
        return;
    std::replace(text.begin(), text.end(), '\t', ' ');
    const std::string_view all(text.data(), text.size());

    const auto equals = all.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == all.size())
        return;

    int first = 0, last = 0;
    conv_first_word(all.substr(0, equals), first, last);
    if (first == 0 || last - first + 1 < 3)
        return;
    std::array<char, 8> key;
    text_assign(key, all.substr(static_cast<std::size_t>(first - 1),
                                static_cast<std::size_t>(last - first + 1)));
    conv_upper_case(key);
    const std::string_view key_text(key.data(), key.size());
    if (key_text.starts_with("VER"))
        version_requested = true;

    const std::string_view after = all.substr(equals + 1);
    conv_first_word(after, first, last);
    if (first == 0)
        return;
    const std::string_view from_value = after.substr(static_cast<std::size_t>(first - 1));

    // The value is read without reporting: a bad number there is not the
    // program's error, and in modes 2..4 every CHARDIR line would otherwise
    // log or show one.
    int number = 0;
    const bool is_number = err_silently([&] { IStringToInteger(after, number); });

    auto& settings = toolkit_settings();
    HardcopyServices& hardcopy = hardcopy_services();
    if (key_text == "CHARDIR ") {
        text_assign(settings.char_dir, from_value);
    } else if (key_text == "CHARSET ") {
        text_assign(file_name_table().entry(2), from_value);
    } else if (!is_number) {
        return;
    } else if (key_text == "DEBUG   ") {
        err_report_mode_set(number);
    } else if (key_text == "HPGL2   ") {
        hardcopy.setting_store(HardcopySetting::hpgl2, number);
    } else if (key_text == "LFNGEN  ") {
        if (number != settings.lfn_ploti)
            settings.lfn_gen = number;
    } else if (key_text == "LFNPLOTI") {
        if (number != settings.lfn_gen)
            settings.lfn_ploti = number;
    } else if (key_text == "PLOTTER ") {
        hardcopy.setting_store(HardcopySetting::plotter, number);
    } else if (key_text == "PRINTER ") {
        hardcopy.setting_store(HardcopySetting::printer, number);
    }
}

void SettingsReader::feed(std::string_view chunk)
{
    while (!chunk.empty()) {
        const auto end = chunk.find('\n');
        const std::string_view piece = chunk.substr(0, end);
        if (!overlong_) {
            // One more than a line may hold, to tell a full line from a
            // longer one whose line end follows (a CR may still be cut).
            const std::size_t room = settings_line_length + 1 - line_.size();
            if (piece.size() > room) {
                overlong_ = true;
                line_.clear();
            } else {
                line_.append(piece);
            }
        }
        if (end == std::string_view::npos)
            return;
        line_end();
        chunk.remove_prefix(end + 1);
    }
}

void SettingsReader::finish()
{
    if (!line_.empty() || overlong_)
        line_end();
}

void SettingsReader::line_end()
{
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    if (!overlong_ && line_.size() <= settings_line_length)
        settings_apply_line(line_, version_requested_);
    line_.clear();
    overlong_ = false;
}

} // namespace korv
