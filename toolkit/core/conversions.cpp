#include "korvanthide/conversions.h"

#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "core/context.h"
#include "core/conversions_format.h"
#include "core/conversion_routines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace korv {
namespace {


// Ten asterisks mark a number that could not be written.
constexpr std::string_view failed_number = "**********";

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

char to_upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char to_lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool decimal_comma_on()
{
    return toolkit_settings().decimal_comma == 1;
}

bool is_decimal_character(char c)
{
    return c == '.' || c == ',' || (decimal_comma_on() && c == toolkit_settings().decimal_separator);
}

// The text a silent parser reads: up to the first zero byte, else up to the
// last non-blank character.
std::string_view parse_extent(std::string_view text)
{
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos)
        return text.substr(0, zero);
    return text_trimmed(text);
}

// The first word as a view, empty for a blank text.
std::string_view first_word(std::string_view text)
{
    int first = 0, last = 0;
    conv_first_word(text, first, last);
    if (first == 0)
        return {};
    return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

// One part (mantissa or exponent) of a real number's word, checked; the
// digits are kept as text so that the value can be formed exactly once.
struct NumberPart {
    bool negative = false;
    std::string integer_digits;
    std::string fraction_digits;
};

int read_part(std::string_view part, bool is_exponent, NumberPart& out)
{
    std::size_t decimal = std::string_view::npos;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (!is_decimal_character(part[i]))
            continue;
        if (is_exponent)
            return err::invalid_character;
        if (decimal != std::string_view::npos)
            return err::two_decimal_points;
        decimal = i;
    }
    std::size_t start = 0;
    if (!part.empty() && (part[0] == '+' || part[0] == '-')) {
        out.negative = part[0] == '-';
        start = 1;
    }
    for (std::size_t i = start; i < part.size(); ++i)
        if (!is_digit(part[i]) && i != decimal)
            return err::invalid_character;
    const std::size_t int_end = std::min(decimal, part.size());
    if (start < int_end)
        out.integer_digits = std::string(part.substr(start, int_end - start));
    if (decimal != std::string_view::npos)
        out.fraction_digits = std::string(part.substr(decimal + 1));
    return 0;
}

// The magnitude of digits "integer.fraction", correctly rounded; infinity
// when a double cannot hold it, 0 when it is too small for one.
double part_magnitude(const NumberPart& part)
{
    std::string text = part.integer_digits.empty() ? "0" : part.integer_digits;
    if (!part.fraction_digits.empty())
        text += "." + part.fraction_digits;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return part.integer_digits.find_first_not_of('0') != std::string::npos
                   ? std::numeric_limits<double>::infinity()
                   : 0.0;
    return value;
}

// Locates the exponent in the word: the first of the exponent letters, in
// their order, found anywhere in the text up to the word's end; else a "+",
// then a "-", that stands behind the word's start with exactly three
// characters after it (0.12345+100). Gives the mantissa and exponent field.
bool split_exponent(std::string_view text, std::size_t start, std::size_t end,
                    std::string_view letters, std::string_view& mantissa, std::string_view& exponent)
{
    const std::string_view range = text.substr(0, end + 1);
    for (char letter : letters) {
        const auto pos = range.find(letter);
        if (pos != std::string_view::npos) {
            mantissa = text.substr(start, pos > start ? pos - start : 0);
            exponent = text.substr(pos + 1, end - pos);
            return true;
        }
    }
    for (char sign : {'+', '-'}) {
        const auto pos = range.find(sign);
        if (pos != std::string_view::npos && pos > start && pos + 3 == end) {
            mantissa = text.substr(start, pos - start);
            exponent = text.substr(pos, end - pos + 1);
            return true;
        }
    }
    mantissa = text.substr(start, end - start + 1);
    return false;
}

// The shared reader of both precisions; limit is the largest power of ten.
// Gives an error number, 0 on success.
int string_to_real(std::string_view text, std::string_view letters, int limit, double& value)
{
    value = 0;
    int first = 0, last = 0;
    conv_first_word(text, first, last);
    if (first == 0)
        return err::no_substring;
    const auto start = static_cast<std::size_t>(first - 1);
    const auto end = static_cast<std::size_t>(last - 1);

    std::string_view mantissa_text, exponent_text;
    const bool has_exponent = split_exponent(text, start, end, letters, mantissa_text, exponent_text);

    NumberPart mantissa;
    if (const int e = read_part(mantissa_text, false, mantissa))
        return e;
    if (static_cast<int>(mantissa.integer_digits.size()) - 1 > limit)
        return err::number_too_large;
    const double m = part_magnitude(mantissa);
    const double sign = mantissa.negative ? -1.0 : 1.0;
    if (!std::isfinite(m))
        return err::number_too_large;
    if (!has_exponent) {
        value = sign * m;
        return 0;
    }

    NumberPart exponent;
    if (const int e = read_part(exponent_text, true, exponent))
        return e;
    if (m == 0) {
        value = sign * m;
        return 0;
    }
    if (static_cast<int>(exponent.integer_digits.size()) - 1 > limit)
        return err::number_too_large;
    // The mantissa is brought near 1 first, so that a long mantissa with a
    // small exponent is not refused for its power alone.
    const double p = std::trunc(std::log10(m) - 1);
    const double power = part_magnitude(exponent) * (exponent.negative ? -1.0 : 1.0);
    const double total = power + p;
    if (total > limit)
        return err::number_too_large;
    if (total < -limit)
        return 0;

    // The value of the digits as written, formed once and correctly rounded.
    std::string digits = mantissa.integer_digits + mantissa.fraction_digits;
    const long long exponent10 = static_cast<long long>(power) -
                                 static_cast<long long>(mantissa.fraction_digits.size());
    digits += 'e';
    digits += std::to_string(exponent10);
    double magnitude = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as 0; overflow is refused.
        if (std::log10(m) + power > 0)
            return err::number_too_large;
        magnitude = 0;
    }
    if (!std::isfinite(magnitude))
        return err::number_too_large;
    value = sign * magnitude;
    return 0;
}

void replace_points(std::span<char> text, std::size_t from, std::size_t to)
{
    const char separator = toolkit_settings().decimal_separator;
    for (std::size_t i = from; i < to && i < text.size(); ++i)
        if (text[i] == '.')
            text[i] = separator;
}

// Moves the text so that it starts with its first character that is neither
// blank nor zero, blanks behind.
void move_left(std::span<char> text)
{
    const int first = conv_first_nonblank(std::string_view(text.data(), text.size()));
    if (first <= 1)
        return;
    const auto shift = static_cast<std::size_t>(first - 1);
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(shift), text.end(), text.begin());
    std::fill(text.end() - static_cast<std::ptrdiff_t>(shift), text.end(), ' ');
}

// yyrea2st and yydbl2st.
void real_to_field_text(double value, std::span<char> text, std::string_view format)
{
    const int status = format_write_real(text, value, format);
    error_state().file_code = status;
    if (status != format_write_ok) {
        text_assign(text, failed_number);
        err_report_current(err::number_to_string);
        return;
    }
    if (decimal_comma_on()) {
        const std::string_view view(text.data(), text.size());
        const int first = conv_first_nonblank(view);
        const auto last = text_trimmed(view).size();
        if (first > 0)
            replace_points(text, static_cast<std::size_t>(first - 1), last);
    }
    move_left(text);
}

// IntegerToString, IRealToString and IDoubleToString: the text as the format
// writes it, or ten asterisks when the write failed or the value did not fit.
void finish_public_write(int status, std::span<char> text, std::string_view format, bool is_real,
                         std::string_view routine)
{
    if (status == format_write_ok && is_real && decimal_comma_on())
        replace_points(text, 0, text.size());
    const bool overflowed = status == format_write_ok &&
                            std::string_view(text.data(), text.size()).find('*') != std::string_view::npos &&
                            format.find('*') == std::string_view::npos;
    if (status != format_write_ok || overflowed) {
        text_assign(text, failed_number);
        err_report(err::number_to_string, routine);
    }
}

} // namespace

void conv_string_to_double(std::string_view text, double& value)
{
    if (const int e = string_to_real(text, "EeDd", 308, value))
        err_report(e, "IStringToReal");
}

void yyint2st(int value, std::span<char> text)
{
    const std::size_t length = text.size();
    // The integer format's width is the text length minus one, at most 11;
    // a text of one character gets the width the value needs.
    const std::size_t width = length > 11 ? 11 : (length == 0 ? 0 : length - 1);
    const std::string format = "(I" + std::to_string(width) + ")";
    if (length == 0 || format_write_integer(text, value, format) != format_write_ok) {
        if (length > 0)
            text_assign(text, std::string(std::min<std::size_t>(length - 1, 11), '*'));
        err_report_current(err::number_to_string);
        return;
    }
    move_left(text);
}

void yyrea2st(float value, std::span<char> text, std::string_view format)
{
    real_to_field_text(value, text, format);
}

void yydbl2st(double value, std::span<char> text, std::string_view format)
{
    real_to_field_text(value, text, format);
}

void conv_text_to_double_silent(double& value, std::string_view text)
{
    value = 0;
    err_silently([&] { conv_string_to_double(parse_extent(text), value); });
}

void conv_real_to_delimiter(float& value, std::string_view text)
{
    value = 0;
    err_silently([&] { IStringToReal(parse_extent(text), value); });
}

namespace {

// Truncates toward zero; a value that a 32-bit integer cannot hold is no
// integer at all and reads as 0.
bool truncate_to_int(double value, int& out)
{
    const double t = std::trunc(value);
    if (!(t >= std::numeric_limits<int>::min() && t <= std::numeric_limits<int>::max())) {
        out = 0;
        return false;
    }
    out = static_cast<int>(t);
    return true;
}

} // namespace

void conv_integer_to_delimiter(int& value, std::string_view text)
{
    double d = 0;
    conv_text_to_double_silent(d, text);
    truncate_to_int(d, value);
}

void conv_double_text_valid(double& value, int& valid, std::string_view text)
{
    value = 0;
    valid = err_silently([&] { conv_string_to_double(parse_extent(text), value); }) ? 1 : 0;
}

void conv_integer_text_normalise(double& value, std::span<char> text)
{
    err_silently([&] {
        double d = 0;
        conv_string_to_double(parse_extent({text.data(), text.size()}), d);
        int n = 0;
        truncate_to_int(d, n);
        value = n;
        yyint2st(n, text);
    });
}

void conv_real_text_normalise(double& value, std::span<char> text, std::string_view format)
{
    err_silently([&] {
        float f = 0;
        IStringToReal(parse_extent({text.data(), text.size()}), f);
        value = f;
        yyrea2st(f, text, format);
    });
}

void conv_double_text_normalise(double& value, std::span<char> text, std::string_view format)
{
    err_silently([&] {
        double d = 0;
        conv_string_to_double(parse_extent({text.data(), text.size()}), d);
        value = d;
        yydbl2st(d, text, format);
    });
}

void conv_first_word(std::string_view text, int& first, int& last)
{
    first = last = 0;
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return;
    const auto blank = text.find(' ', start);
    const auto end = blank == std::string_view::npos ? text.size() : blank;
    first = static_cast<int>(start) + 1;
    last = static_cast<int>(end);
}

int conv_first_nonblank(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\0')
            return static_cast<int>(i) + 1;
    return 0;
}

void conv_upper_case(std::span<char> text)
{
    std::transform(text.begin(), text.end(), text.begin(), to_upper);
}

void conv_lower_case(std::span<char> text)
{
    std::transform(text.begin(), text.end(), text.begin(), to_lower);
}

bool conv_has_letter_nocase(std::string_view text, char letter)
{
    const char lower = to_lower(letter);
    return text.find_first_of(std::string{letter, lower}) != std::string_view::npos;
}

int conv_index_nocase(std::string_view text, std::string_view sub, bool backward)
{
    if (sub.empty())
        return backward ? static_cast<int>(text.size()) + 1 : 1;
    if (text.size() < sub.size())
        return 0;
    const auto matches = [&](std::size_t at) {
        for (std::size_t i = 0; i < sub.size(); ++i)
            if (to_upper(text[at + i]) != to_upper(sub[i]))
                return false;
        return true;
    };
    const std::size_t last_start = text.size() - sub.size();
    if (backward) {
        for (std::size_t at = last_start + 1; at-- > 0;)
            if (matches(at))
                return static_cast<int>(at) + 1;
    } else {
        for (std::size_t at = 0; at <= last_start; ++at)
            if (matches(at))
                return static_cast<int>(at) + 1;
    }
    return 0;
}

void conv_justify(std::span<char> text, std::string_view mode)
{
    const std::string_view view(text.data(), text.size());
    const int f = conv_first_nonblank(view);
    const auto length = text.size();
    const auto l = text_trimmed(view).size(); // last significant position, from 1
    if (f == 0 || l == 0 || (f == 1 && l == length))
        return;
    const auto first = static_cast<std::size_t>(f - 1);
    const std::size_t count = l - first;
    std::size_t target = 0;
    if (conv_has_letter_nocase(mode, 'L'))
        target = 0;
    else if (conv_has_letter_nocase(mode, 'R'))
        target = length - count;
    else
        target = (length - count) / 2;
    if (target == first)
        return;
    // copy and copy_backward never overwrite a character not yet moved.
    if (target < first)
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(first),
                  text.begin() + static_cast<std::ptrdiff_t>(l), text.begin() + static_cast<std::ptrdiff_t>(target));
    else
        std::copy_backward(text.begin() + static_cast<std::ptrdiff_t>(first),
                           text.begin() + static_cast<std::ptrdiff_t>(l),
                           text.begin() + static_cast<std::ptrdiff_t>(target + count));
    std::fill(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(target), ' ');
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(target + count), text.end(), ' ');
}

int conv_parse_integer(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    long long n = 0;
    constexpr long long cap = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && is_digit(text[i]); ++i)
        n = std::min(cap, n * 10 + (text[i] - '0'));
    if (negative)
        n = -n;
    return static_cast<int>(std::clamp<long long>(n, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

int conv_c_string_length(std::string_view text)
{
    const std::string_view terminated = text.substr(0, std::min(text.find('\0'), text.size()));
    return static_cast<int>(text_trimmed(terminated).size());
}

int conv_length_to_blank(std::string_view text)
{
    const auto end = text.find_first_of(std::string_view(" \0", 2));
    return static_cast<int>(end == std::string_view::npos ? text.size() : end);
}

void conv_c_to_blank_padded(std::string_view text, std::span<char> field)
{
    text_assign(field, text.substr(0, std::min(text.find('\0'), text.size())));
}

ConversionState& conversion_state()
{
    return toolkit_context().record<ConversionState>(ContextSlot::conversions);
}

} // namespace korv

using namespace korv;

void IStringToInteger(std::string_view text, int& value)
{
    value = 0;
    const std::string_view word = first_word(text);
    if (word.empty()) {
        err_report(err::no_substring, "IStringToInteger");
        return;
    }
    const bool signed_word = word[0] == '-' || word[0] == '+';
    const std::string_view digits = signed_word ? word.substr(1) : word;
    if (!std::all_of(digits.begin(), digits.end(), is_digit)) {
        err_report(err::invalid_character, "IStringToInteger");
        return;
    }
    if (digits.size() > 10 || (digits.size() == 10 && digits[0] > '2')) {
        err_report(err::number_too_large, "IStringToInteger");
        return;
    }
    long long sum = 0;
    for (char c : digits)
        sum = sum * 10 + (c - '0');
    if (sum > std::numeric_limits<int>::max()) {
        err_report(err::number_too_large, "IStringToInteger");
        return;
    }
    value = word[0] == '-' ? -static_cast<int>(sum) : static_cast<int>(sum);
}

void IStringToReal(std::string_view text, float& value)
{
    value = 0;
    double d = 0;
    int e = string_to_real(text, "Ee", 38, d);
    if (e == 0 && std::fabs(d) > 3.4028235E38)
        e = err::number_too_large;
    if (e != 0) {
        err_report(e, "IStringToReal");
        return;
    }
    value = static_cast<float>(d);
}

namespace {

template <class T, class Convert>
void next_number(std::span<char> text, T& value, std::string_view routine, Convert convert)
{
    value = 0;
    int first = 0, last = 0;
    conv_first_word({text.data(), text.size()}, first, last);
    if (first == 0) {
        err_report(err::no_substring, routine);
        return;
    }
    const auto start = static_cast<std::size_t>(first - 1);
    const auto count = static_cast<std::size_t>(last - first + 1);
    convert(std::string_view(text.data() + start, count), value);
    std::fill_n(text.begin() + static_cast<std::ptrdiff_t>(start), count, ' ');
}

} // namespace

void INextInteger(std::span<char> text, int& value)
{
    next_number(text, value, "INextInteger", IStringToInteger);
}

void INextReal(std::span<char> text, float& value)
{
    next_number(text, value, "INextReal", IStringToReal);
}

void IntegerToString(int value, std::span<char> text, std::string_view format)
{
    const int status = format_write_integer(text, value, format);
    finish_public_write(status, text, format, false, "IntegerToString");
}

void IRealToString(float value, std::span<char> text, std::string_view format)
{
    const int status = format_write_real(text, value, format);
    finish_public_write(status, text, format, true, "IRealToString");
}

void IDoubleToString(double value, std::span<char> text, std::string_view format)
{
    const int status = format_write_real(text, value, format);
    finish_public_write(status, text, format, true, "IDoubleToString");
}
