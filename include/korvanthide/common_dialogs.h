// The message box and the file and colour dialogs of the
// system, each run so that no other toolkit window can be used meanwhile
// and the focus comes back where it was. The answer of the last one is
// kept for WToolkitQuery(4): 1 for OK and its like, 0 Cancel or Ignore,
// 2 Abort or No, -1 when no box could be shown.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Button set 0 OK, 1 OK Cancel, 2 Retry Cancel, 3 Yes No, 4 Yes No Cancel,
// 5 Abort Retry Ignore; icon 1 stop, 2 question, 3 exclamation,
// 4 information; the default answer picks the default button.
void WMessageBox(int button_set, int icon, int default_answer, std::string_view message, std::string_view title);

// The open or save dialog. filter_number 0: no filter; -1: filter_text,
// read up to its zero byte, whose last character separates its entries;
// above 0: that string resource. The file name (blank-padded) gives the
// starting folder and file and receives the choice; the filter index
// (from 1) the starting filter and the one in use. A snapshot switch other
// than 0 keeps the pictures of the toolkit's windows meanwhile.
void WSelectFile(int filter_number, std::string_view filter_text, int flags, std::span<char> file_name,
                 std::string_view title, int& filter_index, int snapshot_switch);

// The colour dialog with the custom colours open, starting at colour (an
// RGB value), which receives the choice after OK.
void WSelectColour(std::int32_t& colour, std::optional<std::string_view> title = std::nullopt,
                   std::optional<std::span<const std::int32_t, 16>> custom_colours = std::nullopt);
// The same with red, green and blue 0..255 in and out.
void WSelectColourRGB(std::array<int, 3>& red_green_blue);

namespace korv {

// Screen position of the top-left corner of window n's client area; -1 for
// the dialog last activated inside a toolkit window, else the owner of
// blocking dialogs.
void cdlg_client_origin_on_screen(int window, int& x, int& y);

} // namespace korv
