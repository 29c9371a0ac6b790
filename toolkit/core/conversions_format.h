// Formatted numeric output: one edit descriptor in parentheses, written into
// a fixed-length text the way formatted output writes a record.
//
//   (Iw) (Iw.m)    integers, right-justified, at least m digits
//   (Fw.d)         fixed point with d decimals
//   (Ew.d) (Ew.dEe) exponent form 0.ddddE+ee
//   (Gw.d) (Gw.dEe) fixed form when the value, taken to d significant digits,
//                  is 0 or from 0.1 up to 10**d, else exponent form
//
// A value that does not fit its w places is written as w asterisks. I0 and
// F0.d take the width the value needs. Rounding is to nearest on the
// value's exact decimal expansion, ties away from zero.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace korv {

// Status of a formatted write, stored where the caller keeps a write status.
enum FormatWriteStatus : int {
    format_write_ok = 0,
    format_write_bad_format = 1, // not one valid numeric edit descriptor
    format_write_too_long = 2,   // the field is longer than the text
    format_write_wrong_type = 3, // an integer descriptor for a real, or the reverse
};

// Writes the value into text: the field at the start, blanks behind it.
// On any status but ok the text is left as it was.
int format_write_integer(std::span<char> text, long long value, std::string_view format);
int format_write_real(std::span<char> text, double value, std::string_view format);

// The field alone, for callers that build their own text; empty with a
// status on failure.
int format_field_integer(std::string& field, long long value, std::string_view format);
int format_field_real(std::string& field, double value, std::string_view format);

} // namespace korv
