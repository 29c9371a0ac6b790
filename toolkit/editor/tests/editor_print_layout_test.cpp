#include "editor/editor_print_layout.h"

#include <gtest/gtest.h>

using namespace korv;

namespace {

// A font of one unit a character in a width of `width` characters.
TextFit columns(int width)
{
    return [width](std::string_view text) { return std::min(static_cast<int>(text.size()), width); };
}

using Lines = std::vector<std::string>;

} // namespace

TEST(EditorPrintLayout, ParagraphsAndWrapping)
{
    EXPECT_EQ(edit_print_lines("ab\r\ncd\rx\ny", 8, columns(10)), (Lines{"ab", "cd", "x", "y"}));
    EXPECT_EQ(edit_print_lines("a\r\n\r\nb\r\n", 8, columns(10)), (Lines{"a", "", "b"}));
    EXPECT_EQ(edit_print_lines("one two three four", 8, columns(9)), (Lines{"one two", "three", "four"}));
    // A word exactly as wide as the line, then the blank after it.
    EXPECT_EQ(edit_print_lines("abcdefghi jk", 8, columns(9)), (Lines{"abcdefghi", "jk"}));
    // A word wider than the line is cut.
    EXPECT_EQ(edit_print_lines("abcdefghijkl m", 8, columns(5)), (Lines{"abcde", "fghij", "kl m"}));
    // Blanks at the break go; leading blanks of a paragraph stay.
    EXPECT_EQ(edit_print_lines("  ab    cd", 8, columns(5)), (Lines{"  ab", "cd"}));
    EXPECT_TRUE(edit_print_lines("", 8, columns(5)).empty());
    // A measure that fits nothing still makes progress.
    EXPECT_EQ(edit_print_lines("abc", 8, columns(0)), (Lines{"a", "b", "c"}));
}

TEST(EditorPrintLayout, TabsExpandToTheirStops)
{
    EXPECT_EQ(edit_print_lines("a\tb\t\tc", 4, columns(40)), (Lines{"a   b       c"}));
    EXPECT_EQ(edit_print_lines("\tx", 8, columns(40)), (Lines{"        x"}));
}

TEST(EditorPrintLayout, WholeLinesPerPage)
{
    EXPECT_EQ(edit_print_pages(300, 60), (std::vector<std::size_t>{0, 60, 120, 180, 240}));
    EXPECT_EQ(edit_print_pages(3, 60), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(edit_print_pages(0, 60).empty());
    EXPECT_TRUE(edit_print_pages(5, 0).empty());
}
