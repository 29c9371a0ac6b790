#include "graphics/formats/byte_cursor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace korv {
namespace {

const std::vector<std::uint8_t> sample{0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 0x80, 0x00, 0x00, 0x80};

TEST(ByteCursor, ReadsBothByteOrders)
{
    ByteCursor c(sample.data(), sample.size());
    EXPECT_EQ(c.u16_le(), 0x3412);
    EXPECT_EQ(c.u16_be(), 0x5678);
    EXPECT_EQ(c.i16_le(), -257); // 0xFEFF
    c.seek(0);
    EXPECT_EQ(c.u32_le(), 0x78563412u);
    c.seek(0);
    EXPECT_EQ(c.u32_be(), 0x12345678u);
    EXPECT_EQ(c.i32_be(), static_cast<std::int32_t>(0xFFFE8000u));
    EXPECT_EQ(c.i16_be(), 0x0080);
    EXPECT_TRUE(c.at_end());
    EXPECT_FALSE(c.failed());
    c.seek(6);
    EXPECT_EQ(c.i32_le(), static_cast<std::int32_t>(0x80000080u));
}

TEST(ByteCursor, ShortReadGivesNoValueAndKeepsThePosition)
{
    ByteCursor c(sample.data(), 3);
    EXPECT_EQ(c.u16_be(), 0x1234);
    EXPECT_FALSE(c.u16_le().has_value());
    EXPECT_TRUE(c.failed());
    EXPECT_EQ(c.position(), 2u);
    EXPECT_EQ(c.remaining(), 1u);
    // What is still there can be read.
    EXPECT_EQ(c.u8(), 0x56);
    EXPECT_FALSE(c.u8().has_value());
    EXPECT_FALSE(c.peek_u8().has_value());
}

TEST(ByteCursor, SeekSkipAndBytesStayWithinTheData)
{
    ByteCursor c(sample.data(), sample.size());
    EXPECT_TRUE(c.seek(sample.size()));
    EXPECT_TRUE(c.at_end());
    EXPECT_FALSE(c.seek(sample.size() + 1));
    EXPECT_EQ(c.position(), sample.size());
    EXPECT_TRUE(c.seek(8));
    EXPECT_FALSE(c.skip(3));
    EXPECT_TRUE(c.skip(2));
    c.seek(1);
    EXPECT_FALSE(c.bytes(SIZE_MAX).has_value());
    const auto two = c.bytes(2);
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ((*two)[0], 0x34);
    EXPECT_EQ(two->size(), 2u);
    EXPECT_EQ(c.peek_u8(), 0x78);
}

TEST(ByteCursor, TakeGivesACursorOverOneChunk)
{
    ByteCursor c(std::string_view("\x00\x00\x00\x03" "abcXYZ", 10));
    const auto length = c.u32_be();
    ASSERT_TRUE(length.has_value());
    auto chunk = c.take(*length);
    ASSERT_TRUE(chunk.has_value());
    EXPECT_EQ(chunk->text(3), "abc");
    EXPECT_FALSE(chunk->u8().has_value());
    EXPECT_EQ(c.text(3), "XYZ");
    EXPECT_FALSE(c.take(1).has_value());
}

TEST(ByteCursor, EmptyDataReadsNothingButZeroLengths)
{
    ByteCursor c(nullptr, 5);
    EXPECT_EQ(c.size(), 0u);
    EXPECT_TRUE(c.skip(0));
    EXPECT_TRUE(c.text(0).has_value());
    EXPECT_FALSE(c.failed());
    EXPECT_FALSE(c.u8().has_value());
    EXPECT_TRUE(c.failed());
}

TEST(CharCode, IsTheByteAsUnsigned)
{
    EXPECT_EQ(hc_char_code(static_cast<char>(233)), 233);
    EXPECT_EQ(hc_char_code('A'), 65);
    EXPECT_EQ(hc_char_code('\0'), 0);
    EXPECT_EQ(hc_char_code(static_cast<char>(255)), 255);
}

} // namespace
} // namespace korv
