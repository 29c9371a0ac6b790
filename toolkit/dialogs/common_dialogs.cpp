#include "dialogs/common_dialogs.h"
#include "core/context.h"

namespace korv {

namespace {

// MessageBoxA's button-set and default-button bits; spelled out here so
// this file needs no platform header.
constexpr unsigned mb_button_sets[6] = {0x0 /*OK*/,       0x1 /*OKCANCEL*/, 0x5 /*RETRYCANCEL*/,
                                        0x4 /*YESNO*/,    0x3 /*YESNOCANCEL*/, 0x2 /*ABORTRETRYIGNORE*/};
constexpr unsigned mb_icons[5] = {0, 0x10, 0x20, 0x30, 0x40};
constexpr unsigned mb_default_buttons[4] = {0, 0x000, 0x100, 0x200};

std::string_view trim_right(std::string_view s)
{
    const auto end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

} // namespace

unsigned message_box_style(int button_set, int icon, int default_position)
{
    const unsigned buttons = button_set >= 1 && button_set <= 5 ? mb_button_sets[button_set] : mb_button_sets[0];
    const unsigned icon_bits = icon >= 1 && icon <= 4 ? mb_icons[icon] : 0;
    const unsigned def = default_position >= 1 && default_position <= 3 ? mb_default_buttons[default_position] : 0;
    return buttons | icon_bits | def;
}

int message_box_default_position(int button_set, int default_answer)
{
    switch (button_set) {
    case 1: // OK, Cancel
    case 2: // Retry, Cancel
    case 3: // Yes, No
        return default_answer == 1 ? 1 : 2;
    case 4: // Yes, No, Cancel
        return default_answer == 1 ? 1 : default_answer == 2 ? 2 : 3;
    case 5: // Abort, Retry, Ignore
        return default_answer == 1 ? 2 : default_answer == 2 ? 1 : 3;
    default:
        return 1;
    }
}

int message_box_answer(int system_answer)
{
    switch (system_answer) {
    case 1: // IDOK
    case 4: // IDRETRY
    case 6: // IDYES
        return 1;
    case 2: // IDCANCEL
    case 5: // IDIGNORE
        return 0;
    case 3: // IDABORT
    case 7: // IDNO
        return 2;
    default:
        return -1;
    }
}

SplitPath cdlg_split_path(std::string_view path, char separator)
{
    const auto first = path.find_first_not_of(' ');
    std::string_view p = first == std::string_view::npos ? std::string_view{} : trim_right(path.substr(first));
    SplitPath out;
    if (p.size() >= 2 && p.substr(p.size() - 2) == "..") {
        out.directory = p;
        return out;
    }
    const auto is_mark = [separator](char c) { return c == separator || c == ':'; };
    std::size_t at = std::string_view::npos;
    for (std::size_t i = p.size(); i-- > 0;)
        if (is_mark(p[i])) {
            at = i;
            break;
        }
    if (at == std::string_view::npos) {
        out.file = p;
        return out;
    }
    if (at + 1 == p.size()) {
        // A trailing separator goes unless it is the only one, so that a
        // drive root or a bare drive keeps its mark.
        const bool earlier = p.substr(0, at).find(separator) != std::string_view::npos;
        out.directory = earlier && p[at] == separator ? p.substr(0, at) : p;
        return out;
    }
    out.file = p.substr(at + 1);
    // "C:\f.txt" and "\f.txt" start in the root: removing the separator there
    // would leave the drive's current folder, or no folder at all.
    std::string_view dir = p.substr(0, at);
    const bool root = p[at] == separator && (dir.empty() || (dir.size() == 2 && dir[1] == ':'));
    out.directory = root ? p.substr(0, at + 1) : dir;
    return out;
}

std::string cdlg_filter_list(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (text.empty())
        return {};
    const char mark = text.back();
    std::string list(text);
    for (char& c : list)
        if (c == mark)
            c = '\0';
    list.push_back('\0');
    return list;
}

std::array<std::int32_t, 16>& cdlg_custom_colours()
{
    using Colours = std::array<std::int32_t, 16>;
    return toolkit_context().record<Colours>(ContextSlot::colour_dialog_colours, [] {
        return Colours{
            0x000000, 0x0000BF, 0x00BFBF, 0x00BF00, 0xBFBF00, 0xBF0000, 0xBF00BF, 0xBFBFBF,
            0x3F3F3F, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
        };
    });
}

} // namespace korv
