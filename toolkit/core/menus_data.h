// The resource formats behind menus and toolbars, read from their bytes,
// and the small rules of the toolbar loader and the item operations that
// need no window. Every word is 16 bits, little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

using ResourceBytes = std::span<const unsigned char>;

// One entry of a command-identifier table: the command and the 1-based
// positions leading to its item (menu bar first).
struct MenuCommandPath {
    int command = 0;
    std::vector<int> path;
};

// Entries until a zero command word or the end of the data; an entry cut
// off by the end of the data is dropped.
std::vector<MenuCommandPath> menu_command_table_parse(ResourceBytes data);

// The help text of a command in a ZOQMENUSTRING resource: entries of a
// command word and a zero-terminated text, ended by a zero word. Nothing
// when the command has no entry or the data ends inside the search.
std::optional<std::string> menu_help_find(ResourceBytes data, int command);

// A toolbar resource: the image size, then per button its command or 0 for
// a separator, ended by two zero words.
struct ToolbarResource {
    int image_width = 0;
    int image_height = 0;
    std::vector<int> commands;  // 0: separator
    int image_count() const;    // buttons that are not separators
};

// Images larger than this are not a toolbar's.
inline constexpr int toolbar_image_limit = 256;
// Nothing for data too short for the image size or with an image size
// outside 1..toolbar_image_limit.
std::optional<ToolbarResource> toolbar_resource_parse(ResourceBytes data);

// Button size and the bar's thickness across its side: horizontal bars
// (sides 0 and 3) are the button height plus 6 high, vertical ones (1 and
// 2) the button width plus 3 wide.
struct ToolbarGeometry {
    int button_width = 0;
    int button_height = 0;
    int thickness = 0;
};
ToolbarGeometry toolbar_geometry(int image_width, int image_height, int side);
inline bool toolbar_side_vertical(int side) { return side == 1 || side == 2; }

// Tooltip texts keep at most this many characters (80 with the terminator).
inline constexpr std::size_t tooltip_text_limit = 79;
// Which record of a tooltip table a text for `command` goes into: the one
// holding that command, else the last free one (command 0); -1 for none.
int tooltip_record_choice(std::span<const int> commands, int command);
// The stored form of a tooltip text: trailing blanks cut, at most 79
// characters. Empty means the record is to be freed.
std::string tooltip_text_stored(std::string_view text);

// Position (from 0) at which an item goes in a submenu of `count` items
// when placed `relative` to the existing item at `found`: 1 before it,
// 2 after it; beyond the end appends, before the start prepends.
int menu_insert_position(int found, int relative, int count);

} // namespace korv
