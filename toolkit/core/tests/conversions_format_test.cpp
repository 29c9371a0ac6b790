#include "core/conversions_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace korv;

namespace {

TEST(FormatEngine, IntegerDescriptors)
{
    struct Case {
        const char* format;
        long long value;
        const char* field;
    };
    const Case cases[] = {
        {"(I5)", 42, "   42"},
        {"(I5)", -42, "  -42"},
        {"(I4)", 123456, "****"},
        {"(I3)", -100, "***"},
        {"(I20)", -2147483648LL, "         -2147483648"},
        {"(I2.2)", 5, "05"},
        {"(I3.3)", 7, "007"},
        {"(I4.4)", 2024, "2024"},
        {"(I4.4)", -5, "****"},
        {"(I5.3)", -5, " -005"},
        {"(I3.0)", 0, "   "},
        {"(I0)", -123, "-123"},
        {"( i 5 )", 1, "    1"},
    };
    for (const Case& c : cases) {
        std::string field;
        EXPECT_EQ(format_field_integer(field, c.value, c.format), format_write_ok) << c.format;
        EXPECT_EQ(field, c.field) << c.format << " " << c.value;
    }
}

TEST(FormatEngine, RealDescriptors)
{
    struct Case {
        const char* format;
        double value;
        const char* field;
    };
    const Case cases[] = {
        // The number fields' default format.
        {"(G15.5E2)", 0.5, "    0.50000    "},
        {"(G15.5E2)", 12.5, "     12.500    "},
        {"(G15.5E2)", 0.0, "     0.0000    "},
        {"(G15.5E2)", 123456.0, "    0.12346E+06"},
        {"(G15.5E2)", -0.00123, "   -0.12300E-02"},
        {"(G15.5E2)", 99999.4, "     99999.    "},
        {"(G15.5E2)", 99999.5, "    0.10000E+06"},
        {"(G15.5E2)", 0.1, "    0.10000    "},
        {"(G15.5E2)", 0.099999, "    0.99999E-01"},
        {"(G15.5E2)", 0.0999996, "    0.10000    "},
        {"(G15.5E2)", 1e100, "***************"},
        {"(G10.3)", 1000.0, " 0.100E+04"},
        {"(G10.3)", 999.6, " 0.100E+04"},
        {"(G10.3)", 2.0, "  2.00    "},
        {"(G8.3)", 2.0, "2.00    "},
        {"(G6.3)", 123.0, "******"},
        // Fixed point: nearest on the exact binary value, ties away from 0.
        {"(F3.1)", 0.5, "0.5"},
        {"(F8.2)", 3.14159, "    3.14"},
        {"(F8.2)", -1.005, "   -1.00"}, // -1.00499999999999989...
        {"(F4.2)", 0.125, "0.13"},
        {"(F4.1)", -0.25, "-0.3"},
        {"(F3.0)", 2.5, " 3."},
        {"(F4.3)", 0.5, ".500"},
        {"(F5.3)", -0.5, "-.500"},
        {"(F6.3)", -0.5, "-0.500"},
        {"(F5.2)", -0.001, "-0.00"},
        {"(F4.1)", 123.4, "****"},
        {"(F4.1)", 99.96, "****"},
        {"(F6.1)", 99.96, " 100.0"},
        {"(F15.6)", 1234.5678, "    1234.567800"},
        {"(F12.10)", static_cast<double>(0.1f), "0.1000000015"},
        {"(F0.2)", -3.14159, "-3.14"},
        // Exponent form.
        {"(E10.3)", -0.000123, "-0.123E-03"},
        {"(E9.3)", -0.000123, "-.123E-03"},
        {"(E12.4)", 1e100, "  0.1000+101"},
        {"(E12.4E3)", 1e100, " 0.1000E+101"},
        {"(E12.4)", 0.0, "  0.0000E+00"},
        {"(E10.4E1)", 1e10, "**********"},
        {"(F8.2)", std::numeric_limits<double>::infinity(), "********"},
        {"(G15.5E2)", std::nan(""), "***************"},
    };
    for (const Case& c : cases) {
        std::string field;
        EXPECT_EQ(format_field_real(field, c.value, c.format), format_write_ok) << c.format;
        EXPECT_EQ(field, c.field) << c.format << " " << c.value;
    }
}

TEST(FormatEngine, UnusableFormatsAndPlacement)
{
    std::string field;
    for (const char* bad : {"I5", "(I5", "()", "(F8)", "(X5)", "(G10)", "(E8.0)", "(I5,I5)",
                            "(F8.2E2)", "(I)", "(I99999)", ""}) {
        EXPECT_EQ(format_field_integer(field, 1, bad), format_write_bad_format) << bad;
        EXPECT_EQ(format_field_real(field, 1.0, bad), format_write_bad_format) << bad;
    }
    EXPECT_EQ(format_field_integer(field, 1, "(F8.2)"), format_write_wrong_type);
    EXPECT_EQ(format_field_real(field, 1.0, "(I5)"), format_write_wrong_type);

    char text[8];
    std::fill(std::begin(text), std::end(text), 'x');
    EXPECT_EQ(format_write_integer(text, 42, "(I9)"), format_write_too_long);
    EXPECT_EQ(std::string(text, 8), "xxxxxxxx") << "a failed write leaves the text";
    EXPECT_EQ(format_write_integer(text, 42, "(I3)"), format_write_ok);
    EXPECT_EQ(std::string(text, 8), " 42     ");
    EXPECT_EQ(format_write_real(text, 1.5, "(F8.3)"), format_write_ok);
    EXPECT_EQ(std::string(text, 8), "   1.500");
}

} // namespace
