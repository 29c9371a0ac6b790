#include <gtest/gtest.h>

// The converter shows integers truncated from single-precision products.
// Evaluated in x87 extended precision, 100 * 0.29f is 28.99999... and
// truncates to 28; in SSE single precision it rounds to exactly 29.
TEST(FloatPrecision, SinglePrecisionProductTruncatesAsShown)
{
    volatile float v = 0.29f;
    EXPECT_EQ(static_cast<int>(100.0f * v), 29);
}
