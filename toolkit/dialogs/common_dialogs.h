// Platform-free pieces of the message box and the common dialogs: the
// message-box style and answers, the path split of the file dialog, its
// filter list, and the custom-colour table kept for the run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// MessageBoxA style bits for a button set, icon and default button (1..3).
unsigned message_box_style(int button_set, int icon, int default_position);
// Which button (1..3) a default answer makes the default of a button set.
int message_box_default_position(int button_set, int default_answer);
// The toolkit's answer for the system's: 1 OK/Retry/Yes, 0 Cancel/Ignore,
// 2 Abort/No, -1 when no box was shown.
int message_box_answer(int system_answer);

struct SplitPath {
    std::string directory; // no trailing blanks
    std::string file;      // no trailing blanks
};
// Splits a path into the folder the dialog starts in and the file name.
SplitPath cdlg_split_path(std::string_view path, char separator);

// Turns "desc|*.x|desc2|*.y|" (the last character is the separator) into the
// system's list of terminated texts ending in an extra terminator. Empty
// when the text gives no filter.
std::string cdlg_filter_list(std::string_view text);

// The 16 custom colours of the colour dialog, kept for the whole run.
std::array<std::int32_t, 16>& cdlg_custom_colours();

} // namespace korv
