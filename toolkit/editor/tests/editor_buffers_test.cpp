#include "editor/editor_buffers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "korvanthide/startup.h"

namespace {

using korv::editor_buffer_table;

std::string name_of(int window, int buffer, std::size_t length = 20)
{
    std::string text(length, '?');
    korv::edit_buffer_name_get(window, buffer, text);
    return text;
}

class BufferRows : public ::testing::Test {
protected:
    void SetUp() override { editor_buffer_table().allocate(); }
    void TearDown() override { editor_buffer_table().release(); }
};

TEST_F(BufferRows, NamesReadTerminatedAndBlankPadded)
{
    EXPECT_EQ(name_of(4, 1, 5), std::string("\0    ", 5));  // never named
    korv::edit_buffer_name_put(4, 2, std::string("C:\\a.txt") + '\0' + "junk");
    EXPECT_EQ(name_of(4, 2, 12), std::string("C:\\a.txt\0   ", 12));
    EXPECT_EQ(name_of(4, 2, 4), std::string("C:\\\0", 4));  // cut to the caller's length
    korv::edit_buffer_name_put(4, 3, std::string(400, 'n'));
    EXPECT_EQ(editor_buffer_table().row(4, 3).file_name.size(), 259u);
    // Numbers outside the table change nothing.
    korv::edit_buffer_name_put(51, 1, "x");
    korv::edit_buffer_name_put(4, 36, "x");
    EXPECT_EQ(name_of(4, 0, 3), std::string("\0  ", 3));
}

TEST_F(BufferRows, FreeingMovesLaterRowsDown)
{
    for (int b = 1; b <= 5; ++b) {
        korv::edit_buffer_name_put(2, b, "file" + std::to_string(b));
        editor_buffer_table().row(2, b).unchanged = b;
    }
    editor_buffer_table().row(2, 4).text = {'x', 'y'};
    editor_buffer_table().row(2, 4).text_stored = true;
    korv::edit_buffer_free(2, 3);
    EXPECT_EQ(editor_buffer_table().row(2, 3).file_name, "file4");
    EXPECT_TRUE(editor_buffer_table().row(2, 3).text_stored);
    EXPECT_EQ(editor_buffer_table().row(2, 4).file_name, "file5");
    EXPECT_EQ(korv::edit_buffer_unchanged(2, 4), 5);
    EXPECT_FALSE(editor_buffer_table().row(2, 5).name_stored);
    EXPECT_EQ(korv::edit_buffer_unchanged(2, 5), 0);

    korv::edit_buffer_name_put(2, 35, "last");
    korv::edit_buffer_free(2, 35);
    EXPECT_FALSE(editor_buffer_table().row(2, 35).name_stored);
    EXPECT_EQ(name_of(2, 35, 2), std::string("\0 ", 2));
}

TEST_F(BufferRows, ReleasingAWindowClearsOnlyItsRows)
{
    korv::edit_buffer_name_put(6, 1, "mine");
    editor_buffer_table().row(6, 1).program_value = 7;
    editor_buffer_table().row(6, 9).selection_end = 3;
    korv::edit_buffer_name_put(7, 1, "other");
    korv::editor_rows_release(6);
    EXPECT_FALSE(editor_buffer_table().row(6, 1).name_stored);
    EXPECT_EQ(editor_buffer_table().row(6, 1).program_value, 0);
    EXPECT_EQ(editor_buffer_table().row(6, 9).selection_end, 0);
    EXPECT_EQ(editor_buffer_table().row(7, 1).file_name, "other");
}

} // namespace
