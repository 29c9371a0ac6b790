#include "korvanthide/conversions.h"
#include "korvanthide/errors.h"
#include "korvanthide/startup.h"
#include "core/conversion_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace korv;

namespace {

// Reports go to a captured debug log so that each test sees the routine
// name and number of every report.
class ConversionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_outputs_ = error_outputs();
        saved_settings_ = toolkit_settings();
        error_state() = ErrorState{};
        error_outputs() = ErrorOutputs{};
        error_outputs().debug_log_line = [this](std::string_view s) { reports_.emplace_back(s); };
        err_report_mode_set(2);
        toolkit_settings().decimal_separator = '\'';
        toolkit_settings().decimal_comma = 0;
    }
    void TearDown() override
    {
        error_outputs() = saved_outputs_;
        toolkit_settings() = saved_settings_;
        error_state() = ErrorState{};
    }
    // The routine and number of the only report since the last call, or "".
    std::string take_report()
    {
        std::string r;
        if (reports_.size() == 1) {
            const std::string& line = reports_[0];
            const auto colon = line.find(':');
            const auto error = line.find(" Error=");
            r = line.substr(colon + 1, error - colon - 1) + " " + line.substr(error + 7, 4);
        } else if (!reports_.empty()) {
            r = std::to_string(reports_.size()) + " reports";
        }
        reports_.clear();
        return r;
    }

    std::vector<std::string> reports_;
    ErrorOutputs saved_outputs_;
    ToolkitSettings saved_settings_;
};

TEST_F(ConversionsTest, StringToInteger)
{
    struct Case {
        const char* text;
        int value;
        const char* report;
    };
    const Case cases[] = {
        {"  +42  ", 42, ""},
        {"4 2", 4, ""},
        {"-2147483647", -2147483647, ""},
        {"2147483647", 2147483647, ""},
        {"12a", 0, "IStringToInteger   12"},
        {"1.0", 0, "IStringToInteger   12"},
        {"9999999999", 0, "IStringToInteger    4"},
        {"2147483648", 0, "IStringToInteger    4"},
        {"-2147483648", 0, "IStringToInteger    4"},
        {"00000000001", 0, "IStringToInteger    4"},
        {"   ", 0, "IStringToInteger   10"},
        {"", 0, "IStringToInteger   10"},
    };
    for (const Case& c : cases) {
        int value = 77;
        IStringToInteger(c.text, value);
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(take_report(), c.report) << c.text;
    }
}

TEST_F(ConversionsTest, StringToRealBothPrecisions)
{
    struct Case {
        const char* text;
        double single_value; // expected of IStringToReal, as double
        const char* single_report;
        double double_value; // expected of the double entry
        const char* double_report;
    };
    const char* none = "";
    const char* r4 = "IStringToReal    4";
    const char* r10 = "IStringToReal   10";
    const char* r11 = "IStringToReal   11";
    const char* r12 = "IStringToReal   12";
    const Case cases[] = {
        {"1,5", 1.5, none, 1.5, none},
        {"-0.5E-3", -0.0005f, none, -0.0005, none},
        {"2.5D2", 0, r12, 250, none},
        {"1.5d-3", 0, r12, 0.0015, none},
        {" 1 2", 1, none, 1, none},
        {"1.2.3", 0, r11, 0, r11},
        {"0.1234+100", 0, r4, 1.234e99, none},
        {"1.5-300", 0, none, 1.5e-300, none},
        {"1.5-3", 0, r12, 0, r12},
        {"1.E5", 1e5, none, 1e5, none},
        {".5", 0.5, none, 0.5, none},
        {"5E", 5, none, 5, none},
        {"1.5E1.2", 0, r12, 0, r12},
        {"0E999", 0, none, 0, none},
        {"3.4028235E38", 3.4028235e38f, none, 3.4028235e38, none},
        {"3.5E38", 0, r4, 3.5e38, none},
        {"1E39", 0, r4, 1e39, none},
        {"1e-50", 0, none, 1e-50, none},
        {"1.7E308", 0, r4, 1.7e308, none},
        // Beyond a double: refused, never infinity.
        {"2E308", 0, r4, 0, r4},
        {"1E-400", 0, none, 0, none},
        {"12345678901234567890123456789012345678901234567890", 0, r4, 1.2345678901234568e49, none},
        {"1.5x", 0, r12, 0, r12},
        {"  ", 0, r10, 0, r10},
    };
    for (const Case& c : cases) {
        float f = 9;
        IStringToReal(c.text, f);
        EXPECT_EQ(f, static_cast<float>(c.single_value)) << c.text;
        EXPECT_EQ(take_report(), c.single_report) << c.text;
        double d = 9;
        conv_string_to_double(c.text, d);
        EXPECT_DOUBLE_EQ(d, c.double_value) << c.text;
        EXPECT_EQ(take_report(), c.double_report) << c.text;
    }
    // A lone minus sign reads as a negative zero without error.
    float f = 9;
    IStringToReal("-", f);
    EXPECT_EQ(f, 0.0f);
    EXPECT_TRUE(std::signbit(f));
    EXPECT_EQ(take_report(), "");
    // Digits are converted once, not accumulated: no error in the last place.
    double d = 0;
    conv_string_to_double("0.1", d);
    EXPECT_EQ(d, 0.1);
    conv_string_to_double("123.456E-2", d);
    EXPECT_EQ(d, 1.23456);
}

TEST_F(ConversionsTest, DecimalCommaOption)
{
    float f = 0;
    IStringToReal("1'5", f);
    EXPECT_EQ(take_report(), "IStringToReal   12") << "the separator is no decimal character while off";
    toolkit_settings().decimal_comma = 1;
    IStringToReal("1'5", f);
    EXPECT_EQ(f, 1.5f);
    IStringToReal("1'5.0", f);
    EXPECT_EQ(take_report(), "IStringToReal   11");

    char text[8];
    IRealToString(1.5f, text, "(F6.2)");
    EXPECT_EQ(std::string(text, 8), "  1'50  ");
    IntegerToString(15, text, "(I6)");
    EXPECT_EQ(std::string(text, 8), "    15  ");
    yyrea2st(-0.25f, text, "(F6.2)");
    EXPECT_EQ(std::string(text, 8), "-0'25   ");
    yydbl2st(123456.0, text, "(E8.2)");
    EXPECT_EQ(std::string(text, 8), "0'12E+06");
    EXPECT_EQ(take_report(), "");
}

TEST_F(ConversionsTest, NextNumberWalksAList)
{
    char list[] = "  12 -3  7 ";
    std::span<char> text(list, sizeof list - 1);
    int value = 0;
    for (int expected : {12, -3, 7}) {
        INextInteger(text, value);
        EXPECT_EQ(value, expected);
    }
    EXPECT_EQ(std::string(list), std::string(sizeof list - 1, ' '));
    INextInteger(text, value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(take_report(), "INextInteger   10");

    char reals[] = "1.5 x 2E1";
    std::span<char> rtext(reals, sizeof reals - 1);
    float f = 0;
    INextReal(rtext, f);
    EXPECT_EQ(f, 1.5f);
    INextReal(rtext, f);
    EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(take_report(), "IStringToReal   12");
    INextReal(rtext, f);
    EXPECT_EQ(f, 20.0f);
    INextReal(rtext, f);
    EXPECT_EQ(take_report(), "INextReal   10");
}

TEST_F(ConversionsTest, PublicNumberToText)
{
    struct Case {
        int kind; // 0 integer, 1 real, 2 double
        double value;
        const char* format;
        std::size_t length;
        const char* text;
        const char* report;
    };
    const char* none = "";
    const Case cases[] = {
        {0, 42, "(I5)", 8, "   42   ", none},
        {0, 7, "(I3.3)", 3, "007", none},
        {0, 123456, "(I4)", 12, "**********  ", "IntegerToString   18"},
        {0, 123456, "(I4)", 6, "******", "IntegerToString   18"},
        {0, 1, "(I9)", 8, "********", "IntegerToString   18"},
        {0, 1, "(F8.2)", 8, "********", "IntegerToString   18"},
        {1, 0.5, "(F5.2)", 8, " 0.50   ", none},
        {1, 1e10, "(F5.2)", 10, "**********", "IRealToString   18"},
        {1, 1.0, "(I5)", 10, "**********", "IRealToString   18"},
        {2, 123456.0, "(G15.5E2)", 15, "    0.12346E+06", none},
        {2, 0.5, "(G15.5E2)", 15, "    0.50000    ", none},
        {2, 1.0, "F8.2", 10, "**********", "IDoubleToString   18"},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        if (c.kind == 0)
            IntegerToString(static_cast<int>(c.value), text, c.format);
        else if (c.kind == 1)
            IRealToString(static_cast<float>(c.value), text, c.format);
        else
            IDoubleToString(c.value, text, c.format);
        EXPECT_EQ(text, c.text) << c.value << " " << c.format;
        EXPECT_EQ(take_report(), c.report) << c.value << " " << c.format;
    }
}

TEST_F(ConversionsTest, FieldNumberToText)
{
    err_routine_name_set("WDialogPutInteger");
    struct Case {
        int value;
        std::size_t length;
        const char* text;
        const char* report;
    };
    const Case cases[] = {
        {123456, 6, "***** ", ""},
        {123456, 12, "123456      ", ""},
        {-5, 3, "-5 ", ""},
        {-2147483647 - 1, 20, "-2147483648         ", ""},
        {7, 1, "7", ""},
        {12, 1, " ", "WDialogPutInteger   18"},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        yyint2st(c.value, text);
        EXPECT_EQ(text, c.text) << c.value;
        EXPECT_EQ(take_report(), c.report) << c.value;
    }

    err_routine_name_set("WDialogPutReal");
    std::string text(20, 'x');
    yyrea2st(0.5f, text, number_field_format);
    EXPECT_EQ(text, "0.50000             ");
    EXPECT_EQ(error_state().file_code, 0);
    yyrea2st(1234.5f, text, "(F4.1)");
    EXPECT_EQ(text, "****                ") << "asterisks of the format are kept";
    EXPECT_EQ(take_report(), "");
    yydbl2st(1.0, text, "(G30.5E2)");
    EXPECT_EQ(text, "**********          ");
    EXPECT_NE(error_state().file_code, 0);
    EXPECT_EQ(take_report(), "WDialogPutReal   18");
}

TEST_F(ConversionsTest, SilentParsersShowNothingAndKeepTheLastError)
{
    error_state().last_error = 1007;
    double d = 9;
    int valid = 9;
    int n = 9;
    float f = 9;
    conv_text_to_double_silent(d, "abc");
    EXPECT_EQ(d, 0);
    conv_text_to_double_silent(d, std::string_view("2.5\0zz", 6));
    EXPECT_EQ(d, 2.5);
    conv_real_to_delimiter(f, "0.1234+100");
    EXPECT_EQ(f, 0);
    conv_integer_to_delimiter(n, "-7.9");
    EXPECT_EQ(n, -7);
    conv_integer_to_delimiter(n, "1E20");
    EXPECT_EQ(n, 0) << "beyond 32 bits is no integer";
    conv_double_text_valid(d, valid, "1.5 ");
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(d, 1.5);
    for (const char* bad : {"", "   ", "1.5.", "--1"}) {
        conv_double_text_valid(d, valid, bad);
        EXPECT_EQ(valid, 0) << bad;
    }

    std::string text = "abc                 ";
    conv_real_text_normalise(d, text, number_field_format);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(text, "0.0000              ");
    text = "  0.1     ";
    conv_real_text_normalise(d, text, "(F6.3)");
    EXPECT_EQ(d, static_cast<double>(0.1f));
    EXPECT_EQ(text, "0.100     ");
    text = "+007      ";
    conv_integer_text_normalise(d, text);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(text, "7         ");
    text = "1E12";
    conv_integer_text_normalise(d, text);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(text, "0   ");
    text = std::string("12.5\0xxxxxxxxxxxxxxx", 20);
    conv_double_text_normalise(d, text, number_field_format);
    EXPECT_EQ(d, 12.5);
    EXPECT_EQ(text, "12.500              ");

    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(error_state().last_error, 1007);
    EXPECT_EQ(error_state().report_mode, 2);
}

TEST_F(ConversionsTest, WordsAndCase)
{
    struct Word {
        const char* text;
        int first, last;
    };
    for (const Word& w : {Word{"  ab cd", 3, 4}, Word{"abc", 1, 3}, Word{"   ", 0, 0}, Word{"", 0, 0},
                          Word{" x", 2, 2}}) {
        int first = -1, last = -1;
        conv_first_word(w.text, first, last);
        EXPECT_EQ(first, w.first) << w.text;
        EXPECT_EQ(last, w.last) << w.text;
    }
    EXPECT_EQ(conv_first_nonblank(std::string_view(" \0 x", 4)), 4);
    EXPECT_EQ(conv_first_nonblank(std::string_view(" \0 ", 3)), 0);

    std::string s = "aZ9_\xe4q";
    conv_upper_case(s);
    EXPECT_EQ(s, "AZ9_\xe4Q");
    conv_lower_case(s);
    EXPECT_EQ(s, "az9_\xe4q");
    EXPECT_TRUE(conv_has_letter_nocase("abc", 'B'));
    EXPECT_TRUE(conv_has_letter_nocase("aBc", 'B'));
    EXPECT_FALSE(conv_has_letter_nocase("ac", 'B'));

    EXPECT_EQ(conv_index_nocase("xxABCxx", "abc"), 3);
    EXPECT_EQ(conv_index_nocase("abcABC", "abc", true), 4);
    EXPECT_EQ(conv_index_nocase("ab", "abc"), 0);
    EXPECT_EQ(conv_index_nocase("abc", "x"), 0);
    EXPECT_EQ(conv_index_nocase("abc", ""), 1);
    EXPECT_EQ(conv_index_nocase("abc", "", true), 4);
}

TEST_F(ConversionsTest, Justify)
{
    struct Case {
        const char* text;
        const char* mode;
        const char* result;
    };
    const Case cases[] = {
        {"ab        ", "C", "    ab    "},
        {"abc       ", "", "   abc    "},
        {"   abc    ", "l", "abc       "},
        {"   abc    ", "xR", "       abc"},
        {"  a b     ", "R", "       a b"},
        {"abcdefghij", "R", "abcdefghij"},
        {"          ", "L", "          "},
        {"       abc", "Left", "abc       "},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        conv_justify(text, c.mode);
        EXPECT_EQ(text, c.result) << "'" << c.text << "' " << c.mode;
    }
}

TEST_F(ConversionsTest, TerminatedTexts)
{
    struct Case {
        const char* text;
        int value;
    };
    for (const Case& c : {Case{"-12x", -12}, Case{"+5", 0}, Case{"", 0}, Case{"-", 0},
                          Case{"2147483647", 2147483647}, Case{"-2147483648", -2147483647 - 1},
                          Case{"99999999999999999999", 2147483647}}) {
        EXPECT_EQ(conv_parse_integer(c.text), c.value) << c.text;
    }
    EXPECT_EQ(conv_c_string_length(std::string_view("ab  \0zz", 7)), 2);
    EXPECT_EQ(conv_c_string_length("   "), 0);
    EXPECT_EQ(conv_length_to_blank("ab cd"), 2);
    EXPECT_EQ(conv_length_to_blank(std::string_view("abc\0d", 5)), 3);
    std::string field(5, 'x');
    conv_c_to_blank_padded(std::string_view("ab\0cd", 5), field);
    EXPECT_EQ(field, "ab   ");
    conv_c_to_blank_padded("abcdefg", field);
    EXPECT_EQ(field, "abcde");
}

} // namespace
