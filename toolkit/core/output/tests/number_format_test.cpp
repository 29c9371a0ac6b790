#include "core/output/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace korv {
namespace {

TEST(NumberFormat, Integers)
{
    EXPECT_EQ(format_int(0), "0");
    EXPECT_EQ(format_int(-12), "-12");
    EXPECT_EQ(format_int(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

TEST(NumberFormat, FixedAndTrimmedReals)
{
    struct Case {
        double value;
        int decimals;
        const char* fixed;
        const char* real;
    };
    const Case cases[] = {
        {0.5, 3, "0.500", "0.5"},      {2.0, 2, "2.00", "2"},          {-0.25, 1, "-0.2", "-0.2"},
        {2.75, 1, "2.8", "2.8"},       {-0.0001, 3, "0.000", "0"},     {-0.0, 2, "0.00", "0"},
        {1234567.0, 0, "1234567", "1234567"}, {0.1, 6, "0.100000", "0.1"}, {100.0, 4, "100.0000", "100"},
        {1.5, -3, "2", "2"},           {1e300, 0, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        if (c.fixed == nullptr) {
            // Very large values are written whole, not cut.
            EXPECT_EQ(format_fixed(c.value, c.decimals).size(), 301u);
            continue;
        }
        EXPECT_EQ(format_fixed(c.value, c.decimals), c.fixed);
        EXPECT_EQ(format_real(c.value, c.decimals), c.real);
    }
    EXPECT_EQ(format_real(1.0 / 3.0), "0.333333");
    EXPECT_EQ(format_fixed(0.1, 40).size(), 19u); // 17 decimals at most
    // The longest fixed form of all: sign, 309 digits, point, 17 decimals.
    EXPECT_EQ(format_fixed(-std::numeric_limits<double>::max(), 17).size(), 328u);
}

TEST(NumberFormat, NonFiniteValuesAreWrittenAsZero)
{
    EXPECT_EQ(format_real(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(format_fixed(std::numeric_limits<double>::quiet_NaN(), 2), "0.00");
}

TEST(NumberFormat, IgnoresTheLocale)
{
    // Where a comma locale is installed it must not reach the output.
    const char* chosen = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(format_real(0.5), "0.5");
    EXPECT_EQ(format_fixed(1234.5, 1), "1234.5");
    if (chosen != nullptr)
        std::setlocale(LC_NUMERIC, "C");
}

TEST(NumberFormat, AppendsToWhatIsThere)
{
    std::string out = "x=";
    append_real(out, 10.0);
    out += ' ';
    append_fixed(out, 3.14159, 2);
    out += ' ';
    append_int(out, 7);
    EXPECT_EQ(out, "x=10 3.14 7");
}

} // namespace
} // namespace korv
