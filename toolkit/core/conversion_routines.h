// The conversions and string routines that only the core's own routines
// use. Texts as in korvanthide/conversions.h: blank-padded fixed-length
// values, positions counted from 1, 0 for none.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// Silent, as conv_real_to_delimiter: reads the text up to its first zero
// byte (or its last non-blank character); an unreadable text reads as 0.
void conv_integer_to_delimiter(int& value, std::string_view text);
// Read the text and write it back in the field's form (all silent).
void conv_integer_text_normalise(double& value, std::span<char> text);
void conv_real_text_normalise(double& value, std::span<char> text, std::string_view format);
void conv_double_text_normalise(double& value, std::span<char> text, std::string_view format);

// String routines.
// The first blank-delimited word: its first and last position, both 0 for a
// blank text.
void conv_first_word(std::string_view text, int& first, int& last);
// The first character that is neither a blank nor a zero byte.
int conv_first_nonblank(std::string_view text);
// True when text holds letter (given in upper case) or its lower-case form.
bool conv_has_letter_nocase(std::string_view text, char letter);
// The first (or with backward the last) place of sub in text, ignoring the
// case of a..z.
int conv_index_nocase(std::string_view text, std::string_view sub, bool backward = false);
// Moves the significant characters left (mode holds L), right (R) or to the
// centre (anything else) within the text.
void conv_justify(std::span<char> text, std::string_view mode);

// Terminated texts (the end is the first zero byte, or the view's end).
// Length up to the last non-blank character before the end.
int conv_c_string_length(std::string_view text);
// Characters before the first blank or the end.
int conv_length_to_blank(std::string_view text);
// Copies the text into the field, blank-padded, cut at the field's end.
void conv_c_to_blank_padded(std::string_view text, std::span<char> field);

// The first character of the user locale's decimal separator; also stored
// for the number fields. Windows only.
void sys_locale_decimal_separator(char& separator);

} // namespace korv
