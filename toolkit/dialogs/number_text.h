// Number texts of the number fields: reading a field's text and writing a
// value in a display format, through the toolkit's silent conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// The format of number fields without one of their own.
inline constexpr std::string_view default_number_format = "(G15.5E2)";

// What a text reads as; an unreadable text gives 0. Nothing is reported.
double number_text_value(std::string_view text);
// The same read at single precision, as a real field reads its text.
float number_text_real_value(std::string_view text);
// True when the text reads as a number without error.
bool number_text_read(std::string_view text, double& value);
// An optional minus sign and the digits after it; anything else gives 0.
int number_text_leading_integer(std::string_view text);

// A value as a field shows it, left-adjusted, trailing blanks cut.
std::string number_text_integer(std::int32_t value);
std::string number_text_real(float value, std::string_view format);
std::string number_text_double(double value, std::string_view format);

} // namespace korv
