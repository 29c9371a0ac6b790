#include "editor/editor_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace korv;
using namespace std::string_literals;
namespace cmd = editor_command;

constexpr int info_options = 0xA367;  // the converter's help viewer

std::vector<std::string> texts(const EditorMenuPopup& popup)
{
    std::vector<std::string> result;
    for (const EditorMenuItem& item : popup.items) {
        result.push_back(item.command == 0 ? "-" : item.text);
    }
    return result;
}

TEST(EditorMenus, InfoViewerGetsReadOnlyMenusOnly)
{
    const auto flags = EditorCommandFlags::from_options(info_options);
    EXPECT_TRUE(flags.viewer);
    EXPECT_TRUE(flags.formatted);
    EXPECT_TRUE(flags.word_wrap);
    EXPECT_FALSE(flags.toolbar);
    const auto menus = editor_builtin_menus(flags, 3, true, "");
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].title, "&File");
    EXPECT_EQ(texts(menus[0]),
              (std::vector<std::string>{"&Print\bCtrl+P", "Prin&t Selection\bCtrl+Shift+P", "-", "E&xit"}));
    EXPECT_EQ(texts(menus[1]), (std::vector<std::string>{"&Copy\bCtrl+C", "-", "Select &All\bCtrl+A"}));
    EXPECT_EQ(texts(menus[2]), (std::vector<std::string>{"&Find\bCtrl+F", "Find &Next\bF3", "-",
                                                         "&Set Bookmark\bShift+F2", "Goto &Bookmark\bF2"}));
    EXPECT_TRUE(menus[2].items.back().grey);
}

TEST(EditorMenus, FullEditorWithFormatAndViewMenus)
{
    const int options = EditorOptionFlags::formatted | EditorOptionFlags::several_buffers;
    const auto menus = editor_builtin_menus(EditorCommandFlags::from_options(options), 2, false, "&1 Untitled");
    ASSERT_EQ(menus.size(), 5u);
    // Without the accelerator table only the editing items show shortcuts.
    EXPECT_EQ(texts(menus[0]), (std::vector<std::string>{"&New", "&Open", "&Close", "-", "&Save",
                                                         "Save &As", "-", "&Print", "Prin&t Selection",
                                                         "-", "E&xit"}));
    EXPECT_EQ(texts(menus[1]),
              (std::vector<std::string>{"&Undo\bCtrl+Z", "&Redo\bCtrl+Y", "-", "Cu&t\bCtrl+X", "&Copy\bCtrl+C",
                                        "&Paste\bCtrl+V", "&Delete\bDel", "-", "Select &All\bCtrl+A"}));
    EXPECT_EQ(menus[3].title, "F&ormat");
    EXPECT_EQ(menus[3].command, cmd::format_menu);
    EXPECT_EQ(menus[4].items.size(), 1u);
    EXPECT_EQ(menus[4].items[0].command, cmd::view_menu + 1);
    EXPECT_TRUE(menus[4].items[0].checked);

    // RichEdit 1.0 has no Redo; no Close item under option 32768.
    const auto old = editor_builtin_menus(
        EditorCommandFlags::from_options(options | EditorOptionFlags::no_close), 1, true, "");
    for (const auto& popup : old)
        for (const auto& item : popup.items) {
            EXPECT_NE(item.command, cmd::redo);
            EXPECT_NE(item.command, cmd::close);
        }
}

TEST(EditorAccelerators, WhichKeysByOptions)
{
    auto has = [](int options, int command) {
        for (const auto& a : editor_builtin_accelerators(EditorCommandFlags::from_options(options)))
            if (a.command == command) return a.shift ? 2 : 1;
        return 0;
    };
    struct Case {
        int options, command, expected;
    };
    const Case cases[] = {
        {info_options, cmd::print, 1},          {info_options, cmd::save, 0},
        {info_options, cmd::replace, 0},        {0, cmd::replace, 1},
        {info_options, cmd::find, 1},           {EditorOptionFlags::formatted, cmd::bold, 1},
        {EditorOptionFlags::formatted | EditorOptionFlags::extended_toolbar, cmd::underline, 0},
        {EditorOptionFlags::formatted | EditorOptionFlags::extended_toolbar, cmd::align_left, 2},
        {EditorOptionFlags::commands_reported, cmd::align_left, 0},
        {0, cmd::set_bookmark, 2},               {0, cmd::save_as, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(has(c.options, c.command), c.expected) << c.options << " " << c.command;
}

TEST(EditorToolbar, ButtonsByOptionsAndImages)
{
    auto commands = [](int options, bool formatting, bool extended) {
        std::vector<int> result;
        for (const auto& b : editor_toolbar_buttons(EditorCommandFlags::from_options(options), 3, formatting, extended))
            result.push_back(b.command);
        return result;
    };
    EXPECT_EQ(commands(EditorOptionFlags::viewer, true, true),
              (std::vector<int>{cmd::open, cmd::print, cmd::find, 0, cmd::copy}));
    EXPECT_EQ(commands(EditorOptionFlags::formatted, false, true),
              (std::vector<int>{cmd::new_file, cmd::open, cmd::save, cmd::print, cmd::find, 0, cmd::cut,
                                cmd::copy, cmd::paste, cmd::undo, cmd::redo}));
    const auto full = editor_toolbar_buttons(
        EditorCommandFlags::from_options(EditorOptionFlags::formatted | EditorOptionFlags::extended_toolbar), 3, true, true);
    ASSERT_EQ(full.size(), 11u + 1 + 6 + 3);
    EXPECT_EQ(full[12].command, cmd::bold);
    EXPECT_EQ(full[14].command, cmd::align_left);  // no Underline
    EXPECT_TRUE(full[14].checked);
    EXPECT_EQ(full.back().command, cmd::help);
    EXPECT_TRUE(full[6].disabled);  // Cut starts disabled
    EXPECT_EQ(editor_standard_image(3), 14);  // Print
}

TEST(EditorTexts, TitlesLabelsAndPrompts)
{
    EXPECT_EQ(editor_title("Info", "C:\\help\\a.rtf", false, false), "Info - [C:\\help\\a.rtf]");
    EXPECT_EQ(editor_title("Info", "C:\\a.rtf", false, true), "Info - [C:\\a.rtf *]");
    EXPECT_EQ(editor_title("", "C:\\a.rtf", false, true), "C:\\a.rtf *");
    EXPECT_EQ(editor_title("Info", "C:\\a.rtf", true, true), "Info");
    EXPECT_EQ(editor_title("Info", "", false, false), "Info");
    EXPECT_EQ(editor_title(std::string(1100, 'c'), "x", false, false).size(), editor_caption_limit - 1);
    EXPECT_EQ(editor_status_name("a.txt", false, true), "a.txt *");
    EXPECT_EQ(editor_status_name("a.txt", true, true), "");

    EXPECT_EQ(editor_view_label(1, "C:\\a.txt"), "&1 C:\\a.txt");
    EXPECT_EQ(editor_view_label(9, ""), "&9 Untitled");
    EXPECT_EQ(editor_view_label(10, ""), "&A Untitled");
    EXPECT_EQ(editor_view_label(35, "b"), "&Z b");

    EXPECT_EQ(editor_line_column_text(1, 1), "Line:1   Col:1");
    EXPECT_EQ(editor_save_prompt_text("", false), "Do you want to save changes?");
    EXPECT_EQ(editor_save_prompt_text("a.txt", true), "Do you want to save changes?");
    EXPECT_EQ(editor_save_prompt_text("a.txt", false), "Do you want to save changes to a.txt?");

    const auto viewer = EditorCommandFlags::from_options(EditorOptionFlags::viewer);
    const auto editor = EditorCommandFlags::from_options(0);
    EXPECT_EQ(editor_menu_help(cmd::exit, viewer), "Closes the browser");
    EXPECT_EQ(editor_menu_help(cmd::exit, editor), "Closes the editor; prompts you to save changes");
    EXPECT_EQ(editor_menu_help(cmd::close, viewer), "Closes the current document");
    EXPECT_EQ(editor_menu_help(cmd::view_menu + 35, editor), "Switch to this edit buffer");
    EXPECT_EQ(editor_menu_help(cmd::bold, editor), std::nullopt);
    EXPECT_EQ(editor_tooltip_text(cmd::help, false), std::nullopt);
    EXPECT_EQ(editor_tooltip_text(cmd::help, true), "Help");
    EXPECT_EQ(editor_tooltip_text(12345, false), "");
}

TEST(EditorFiles, FilterKindAndBackupName)
{
    EXPECT_EQ(editor_filter_convert("Text|*.txt|All|*.*|"), "Text\0*.txt\0All\0*.*\0"s);
    EXPECT_EQ(editor_filter_convert(std::string(1200, 'a') + "|").size(), editor_filter_limit);
    EXPECT_EQ(editor_dialog_filter("", false), "Text Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0\0\0"s);
    EXPECT_EQ(editor_dialog_filter("A\0*.a\0"s, true), "A\0*.a\0\0\0"s);

    struct Case {
        const char* name;
        bool formatted, rtf;
    };
    for (const Case& c : {Case{"a.RTF", true, true}, Case{"a.rtf", false, false}, Case{"a.txt", true, false},
                          Case{"rtf", true, false}, Case{".rtf", true, true}})
        EXPECT_EQ(editor_file_is_rtf(c.name, c.formatted), c.rtf) << c.name;
    EXPECT_EQ(editor_backup_name("C:\\d\\a.rtf"), "C:\\d\\a.rtf.bak");
}

TEST(EditorFiles, PlainTextPreparation)
{
    struct Case {
        std::string bytes;
        int version;
        std::string text;
        bool split;
    };
    const Case cases[] = {
        {"a\0b\x1A"s, 2, "a b", false},
        {"a\x1A" "b"s, 2, "a\x1A" "b", false},
        {"{\\rtf1 x}", 2, "{\\rtf1 x}", true},
        {"{\\rtf1 x}", 1, "{\\rtf1 x}", false},
        {"{\\r\x1A"s, 2, "{\\r", false},
        {"", 2, "", false},
    };
    for (const Case& c : cases) {
        const PlainText plain = editor_plain_text(c.bytes, c.version);
        EXPECT_EQ(plain.text, c.text);
        EXPECT_EQ(plain.split, c.split) << c.text;
    }
}

TEST(EditorFonts, CodesSizesAndHeights)
{
    for (int code : {0, 1, 2, 3, 4, 7, 8, 9, 10, 11}) EXPECT_TRUE(editor_font_code_valid(code)) << code;
    for (int code : {-1, 5, 6, 12}) EXPECT_FALSE(editor_font_code_valid(code)) << code;

    const EditorFontSpec arial = editor_font_spec(3, 10, 3, 5);
    EXPECT_EQ(arial.kind, EditorFontKind::named);
    EXPECT_EQ(arial.face, "Arial");
    EXPECT_EQ(arial.points, 10);
    EXPECT_EQ(editor_font_spec(2, 0, 2, 4).points, 12);
    EXPECT_EQ(editor_font_spec(2, -5, 1, 4).points, 0);
    EXPECT_EQ(editor_font_spec(9, 30, 3, 5).points, 13);
    EXPECT_TRUE(editor_font_spec(9, 30, 3, 5).oem_charset);
    EXPECT_EQ(editor_font_spec(11, 10, 3, 5).kind, EditorFontKind::menu);
    EXPECT_EQ(editor_font_spec(1, 10, 3, 5).kind, EditorFontKind::system_fixed);
    EXPECT_EQ(editor_font_height(10, 96), -13);
}

} // namespace
