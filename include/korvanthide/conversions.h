// Conversions between numbers and fixed-length texts, and the small string
// routines shared by the window, dialog and parsing code.
//
// Texts are blank-padded fixed-length values: inputs are string_views,
// outputs spans filled to their whole length. Formats are one numeric edit
// descriptor in parentheses: "(I5)", "(I3.3)", "(F8.2)", "(G15.5E2)"; a value
// that does not fit shows as asterisks. When reading numbers, "." and "," are
// decimal characters, and with the decimal-comma option of the toolkit
// settings the configured separator is one too; when writing, the real
// routines put that separator in place of the point while the option is on.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The first word of text as a 32-bit integer: an optional sign and digits.
// Errors (value 0): 10 blank text, 12 another character, 4 too large.
void IStringToInteger(std::string_view text, int& value);
// The first word of text as a real: 1.5, -0.5E-3, .5, 1,5, 0.1234+100.
// Errors (value 0): 10, 11 a second decimal character, 12, 4 too large.
void IStringToReal(std::string_view text, float& value);
// Convert the first word of text and blank it, so that repeated calls walk
// through a list of numbers. A blank text gives 0 and error 10.
void INextInteger(std::span<char> text, int& value);
void INextReal(std::span<char> text, float& value);
// The value written with the format as formatted output writes it (not
// moved). A format that cannot be used, or a value that does not fit, gives
// "**********" (cut to the text) and error 18.
void IntegerToString(int value, std::span<char> text, std::string_view format);
void IRealToString(float value, std::span<char> text, std::string_view format);
void IDoubleToString(double value, std::span<char> text, std::string_view format);

namespace korv {

// The format that number fields use when they are given none.
inline constexpr std::string_view number_field_format = "(G15.5E2)";

// The double-precision entry of IStringToReal (exponent letters E, e, D, d;
// powers of ten up to 308), reporting under the name "IStringToReal".
void conv_string_to_double(std::string_view text, double& value);

// Number to text for the fields of dialogs and grids, left-adjusted.
// yyint2st: width of the text length minus 1 (at most 11); yyrea2st and
// yydbl2st: with the format, and the decimal separator while the option is
// on. A write that fails gives asterisks and error 18 under the name kept in
// the error state's routine-name field.
void yyint2st(int value, std::span<char> text);
void yyrea2st(float value, std::span<char> text, std::string_view format);
void yydbl2st(double value, std::span<char> text, std::string_view format);

// Silent parsers: they read the text up to its first zero byte (or its last
// non-blank character), show nothing and leave the last error number as it
// was. An unreadable text reads as 0.
void conv_text_to_double_silent(double& value, std::string_view text);
void conv_real_to_delimiter(float& value, std::string_view text);
// valid is 1 when the text read as a number without error, else 0.
void conv_double_text_valid(double& value, int& valid, std::string_view text);

// String routines.
void conv_upper_case(std::span<char> text);
void conv_lower_case(std::span<char> text);

// Terminated texts (the end is the first zero byte, or the view's end).
// An optional minus and the digits that follow; no digits give 0. Values
// beyond 32 bits are held at the nearest limit.
int conv_parse_integer(std::string_view text);

// The decimal separator as the number fields' key filters use it, set by
// sys_locale_decimal_separator.
struct ConversionState {
    std::int32_t field_decimal_separator = 0;
};
ConversionState& conversion_state();

} // namespace korv
