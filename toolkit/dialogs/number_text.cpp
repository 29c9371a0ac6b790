#include "dialogs/number_text.h"

#include <array>

#include "korvanthide/conversions.h"

namespace korv {

namespace {

std::string trimmed(std::span<const char> text)
{
    std::string_view s(text.data(), text.size());
    const auto end = s.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1));
}

} // namespace

double number_text_value(std::string_view text)
{
    double value = 0;
    conv_text_to_double_silent(value, text);
    return value;
}

float number_text_real_value(std::string_view text)
{
    float value = 0;
    conv_real_to_delimiter(value, text);
    return value;
}

bool number_text_read(std::string_view text, double& value)
{
    int valid = 0;
    conv_double_text_valid(value, valid, text);
    return valid == 1;
}

int number_text_leading_integer(std::string_view text)
{
    return conv_parse_integer(text);
}

std::string number_text_integer(std::int32_t value)
{
    // Eleven places hold every 32-bit value with its sign.
    std::array<char, 12> text{};
    yyint2st(value, text);
    return trimmed(text);
}

std::string number_text_real(float value, std::string_view format)
{
    std::array<char, 100> text{};
    yyrea2st(value, text, format);
    return trimmed(text);
}

std::string number_text_double(double value, std::string_view format)
{
    std::array<char, 100> text{};
    yydbl2st(value, text, format);
    return trimmed(text);
}

} // namespace korv
