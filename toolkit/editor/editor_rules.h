// The editor's rules that need no window: what the option bits allow, the
// built-in menus, accelerators and toolbar buttons, the texts of titles,
// status parts, menu help and tooltips, fonts by code, file kinds and the
// preparation of plain text for the control.
#pragma once

#include "korvanthide/events.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

// The option bits of WEditFile.
namespace EditorOptionFlags {
inline constexpr int word_wrap = 1;
inline constexpr int must_exist = 2;
inline constexpr int viewer = 4;
inline constexpr int command_line = 8;
inline constexpr int history = 16;
inline constexpr int no_toolbar = 32;
inline constexpr int formatted = 64;
inline constexpr int modified_mark = 128;
inline constexpr int no_new_open = 256;
inline constexpr int no_save_as = 512;
inline constexpr int no_print = 1024;
inline constexpr int no_save = 8192;
inline constexpr int several_buffers = 16384;
inline constexpr int no_close = 32768;
inline constexpr int one_char_line_ends = 65536;
inline constexpr int backup = 131072;
inline constexpr int hide_name = 4194304;
inline constexpr int no_menu_bar = 8388608;
inline constexpr int no_open_message = 16777216;
inline constexpr int commands_reported = 67108864;
inline constexpr int extended_toolbar = 134217728;
} // namespace EditorOptionFlags

// Command identifiers of the built-in menus, toolbar and accelerators:
// those the grid editor shares, and the editor's own.
namespace editor_command {
using namespace shared_command;
inline constexpr int close = 32107;
inline constexpr int exit = 32108;
inline constexpr int undo = 32121;
inline constexpr int redo = 32127;
inline constexpr int replace = 32143;
inline constexpr int set_bookmark = 32147;
inline constexpr int goto_bookmark = 32148;
inline constexpr int format_menu = 32160;
inline constexpr int font = 32161;
inline constexpr int bullets = 32162;
inline constexpr int align_left = 32163;
inline constexpr int align_centre = 32164;
inline constexpr int align_right = 32165;
inline constexpr int bold = 32166;
inline constexpr int italic = 32167;
inline constexpr int underline = 32168;
inline constexpr int view_menu = 32180;  // buffer n: view_menu + n
inline constexpr int insert_picture = 40019;
inline constexpr int insert_link = 40020;
inline constexpr int help = 40073;
inline constexpr int first = 32101;
inline constexpr int last = 32180 + 35;
} // namespace editor_command

// Bitmap resources the program may bring for the toolbar's images, each in
// a form for displays of 256 colours or fewer and one for more colours;
// without the file images the system's standard images are shown.
namespace editor_toolbar_bitmap {
inline constexpr int file_few_colours = 32102;
inline constexpr int file = 32109;
inline constexpr int format_few_colours = 32101;
inline constexpr int format = 32108;
inline constexpr int extended_few_colours = 2001;
inline constexpr int extended = 2002;
} // namespace editor_toolbar_bitmap

inline constexpr int editor_buffer_limit = 35;
inline constexpr int editor_text_limit = 104857500;
inline constexpr std::size_t editor_path_limit = 260;     // with the terminator
inline constexpr std::size_t editor_caption_limit = 1024; // with the terminator
inline constexpr std::size_t editor_search_limit = 1024;  // with the terminator
inline constexpr std::size_t editor_filter_limit = 1000;  // characters kept

// What the option bits allow and ask for.
struct EditorCommandFlags {
    bool new_allowed = false;
    bool viewer = false;
    bool open_allowed = false;
    bool save_allowed = false;
    bool save_as_allowed = false;
    bool print_allowed = false;
    bool formatted = false;
    bool several_buffers = false;
    bool hide_name = false;
    bool no_open_message = false;
    bool commands_reported = false;
    bool extended_toolbar = false;
    bool custom_paint = false;
    bool text_hidden = false;
    bool one_char_line_ends = false;
    bool backup = false;
    bool modified_mark = false;
    // Kept beside them for building the editor.
    bool word_wrap = false;
    bool close_allowed = false;
    bool command_line = false;
    bool history = false;
    bool toolbar = false;
    bool menu_bar = false;

    static EditorCommandFlags from_options(int options);
};

// A built-in menu: its popups with their items. A backspace separates an
// item's text from its shortcut text.
struct EditorMenuItem {
    int command = 0;  // 0: separator
    std::string text;
    bool checked = false;
    bool grey = false;
};
struct EditorMenuPopup {
    int command = 0;  // identifier of the popup item itself
    std::string title;
    std::vector<EditorMenuItem> items;
};
// shortcuts: whether the built-in accelerator table exists; view_label:
// the text of the first View item.
std::vector<EditorMenuPopup> editor_builtin_menus(const EditorCommandFlags& flags,
                                                  int richedit_version, bool shortcuts,
                                                  std::string_view view_label);

// One accelerator: a virtual key with modifiers and its command.
struct EditorAccelerator {
    int key = 0;
    bool ctrl = false;
    bool shift = false;
    int command = 0;
};
std::vector<EditorAccelerator> editor_builtin_accelerators(const EditorCommandFlags& flags);
// The pane table of a split pane with a host.
std::vector<EditorAccelerator> editor_pane_accelerators(const EditorCommandFlags& flags,
                                                        int richedit_version);

// Toolbar buttons in order; image indexes into the editor's bitmaps:
// group 0 the ten file and edit images, 1 the seven formatting images,
// 2 the three extended images.
struct EditorToolbarButton {
    int command = 0;  // 0: separator
    int group = 0;
    int image = 0;
    bool disabled = false;
    bool checked = false;
};
// formatting_images / extended_images: whether those bitmaps exist.
std::vector<EditorToolbarButton> editor_toolbar_buttons(const EditorCommandFlags& flags,
                                                        int richedit_version,
                                                        bool formatting_images,
                                                        bool extended_images);
// The system's standard small image of a group-0 image, for programs
// without the editor's bitmap.
int editor_standard_image(int image);

// Tooltip of a toolbar command: nullopt leaves the text alone (extended
// buttons without the extended toolbar); any other unknown id is empty.
std::optional<std::string_view> editor_tooltip_text(int command, bool extended_toolbar);
// Status-bar help of a menu command or popup (item 0 empty); nullopt
// leaves it to the toolkit.
std::optional<std::string_view> editor_menu_help(int command, const EditorCommandFlags& flags);

// The frame caption: the saved caption, then " - [" name "]" (the brackets
// only behind a caption) with " *" when marked modified; the name is left
// out when empty or hidden. At most editor_caption_limit - 1 characters.
std::string editor_title(std::string_view saved_caption, std::string_view file_name,
                         bool hide_name, bool modified_mark);
// The file name shown in status part 4 of a frame without caption.
std::string editor_status_name(std::string_view file_name, bool hide_name, bool modified_mark);
// "&1 " .. "&9 ", then "&A " .. "&Z " for buffers 10..35, and the name or
// "Untitled".
std::string editor_view_label(int buffer, std::string_view file_name);
std::string editor_line_column_text(unsigned line, unsigned column);
std::string editor_save_prompt_text(std::string_view file_name, bool hide_name);

// The caller's filter with every copy of its last character turned into
// NUL, at most editor_filter_limit characters.
std::string editor_filter_convert(std::string_view filter);
// The dialog filter: the converted filter when not empty, else the default
// list; ends in two NULs.
std::string editor_dialog_filter(std::string_view converted, bool formatted);

// RTF exactly in a formatted editor whose file name ends in ".rtf" in any
// letter case.
bool editor_file_is_rtf(std::string_view name, bool formatted);
std::string editor_backup_name(std::string_view name);

// Plain file bytes made into control text: NUL bytes become blanks and a
// last Ctrl-Z is dropped. split: the text starts with "{\r", is at least 5
// bytes and must go in behind its first three characters, so that the
// control does not read it as RTF.
struct PlainText {
    std::string text;
    bool split = false;
};
PlainText editor_plain_text(std::string_view bytes, int richedit_version);

// Fonts by code.
inline constexpr int font_code_default = 0;
bool editor_font_code_valid(int code);
enum class EditorFontKind { system, system_fixed, named, menu };
struct EditorFontSpec {
    EditorFontKind kind = EditorFontKind::system;
    std::string_view face;
    int points = 0;          // 0: the font's default height
    int family = 0;          // 1 roman, 2 swiss, 3 modern (shifted by the caller)
    bool fixed_pitch = false;
    bool oem_charset = false;
};
EditorFontSpec editor_font_spec(int code, int size, int richedit_version, int windows_major);
// Font height in logical units for points at a vertical resolution.
int editor_font_height(int points, int pixels_per_inch);

} // namespace korv
