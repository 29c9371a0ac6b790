#include "korvanthide/fixed_text.h"

#include <array>
#include <gtest/gtest.h>

using namespace korv;

TEST(FixedText, AssignPadsAndCuts)
{
    std::array<char, 5> buf{};
    EXPECT_TRUE(text_assign(buf, "ab"));
    EXPECT_EQ(text_view(buf), "ab   ");
    EXPECT_FALSE(text_assign(buf, "abcdefg"));
    EXPECT_EQ(text_view(buf), "abcde");
    EXPECT_TRUE(text_assign(std::span<char>{}, ""));
}

TEST(FixedText, TrimmedDropsTrailingBlanksOnly)
{
    EXPECT_EQ(text_trimmed("  a b  "), "  a b");
    EXPECT_EQ(text_trimmed("     "), "");
    EXPECT_EQ(text_trimmed(""), "");
}

TEST(FixedText, TerminatedCopyIsBounded)
{
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(text_copy_terminated(buf, sizeof buf, "hello"));
    EXPECT_STREQ(buf, "hel");
    EXPECT_TRUE(text_copy_terminated(buf, sizeof buf, "hi"));
    EXPECT_STREQ(buf, "hi");
}

TEST(FixedText, EmptyTextWithoutStorageCopiesNothing)
{
    std::array<char, 4> dest{'x', 'x', 'x', 'x'};
    EXPECT_TRUE(text_copy_terminated(dest.data(), dest.size(), std::string_view{}));
    EXPECT_EQ(dest[0], '\0');
}
