#include "dialogs/common_dialogs.h"

#include <gtest/gtest.h>

using namespace korv;

TEST(MessageBoxText, DefaultButtonByAnswer)
{
    const struct {
        int set, answer, position;
    } cases[] = {{0, 2, 1}, {9, 1, 1}, {1, 1, 1}, {1, 0, 2}, {2, 1, 1}, {2, 5, 2}, {3, 1, 1}, {3, 2, 2},
                 {4, 1, 1}, {4, 2, 2}, {4, 0, 3}, {5, 1, 2}, {5, 2, 1}, {5, 0, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(message_box_default_position(c.set, c.answer), c.position) << c.set << "/" << c.answer;
}

TEST(MessageBoxText, StyleAndAnswers)
{
    EXPECT_EQ(message_box_style(4, 2, 2), 0x3u | 0x20u | 0x100u); // Yes/No/Cancel, question, No default
    EXPECT_EQ(message_box_style(7, 9, 1), 0u);                     // OK alone, no icon
    EXPECT_EQ(message_box_style(5, 1, 3), 0x2u | 0x10u | 0x200u);
    const int answers[][2] = {{1, 1}, {4, 1}, {6, 1}, {2, 0}, {5, 0}, {3, 2}, {7, 2}, {0, -1}, {11, -1}};
    for (const auto& a : answers)
        EXPECT_EQ(message_box_answer(a[0]), a[1]) << a[0];
}

TEST(FileDialogText, SplitPath)
{
    const struct {
        const char* path;
        const char* directory;
        const char* file;
    } cases[] = {
        {"C:\\data\\f.txt   ", "C:\\data", "f.txt"},
        {"   f.txt", "", "f.txt"},
        {"C:\\data\\", "C:\\data", ""},
        {"C:\\", "C:\\", ""},
        {"C:", "C:", ""},
        {"C:f.txt", "C", "f.txt"},
        {"C:\\f.txt", "C:\\", "f.txt"}, // the root, not drive C's current folder
        {"\\f.txt", "\\", "f.txt"},
        {"C:\\data\\..", "C:\\data\\..", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const auto s = cdlg_split_path(c.path, '\\');
        EXPECT_EQ(s.directory, c.directory) << c.path;
        EXPECT_EQ(s.file, c.file) << c.path;
    }
}

TEST(FileDialogText, FilterList)
{
    using namespace std::string_literals;
    EXPECT_EQ(cdlg_filter_list("Text|*.txt|All|*.*|"), "Text\0*.txt\0All\0*.*\0\0"s);
    EXPECT_EQ(cdlg_filter_list("Text;*.txt;\0garbage"s), "Text\0*.txt\0\0"s);
    EXPECT_EQ(cdlg_filter_list(""), "");
}
