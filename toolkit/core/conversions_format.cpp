#include "core/conversions_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace korv {
namespace {

// Widths beyond this are refused as a bad format; no text of the toolkit
// comes near it, and it keeps a stray format from asking for a huge field.
constexpr int max_width = 4096;

struct Descriptor {
    char kind = 0;     // 'I', 'F', 'E' or 'G'
    int width = 0;     // 0: as wide as the value needs (I and F only)
    int digits = -1;   // m of Iw.m, d of the others; -1 when absent
    int exponent = -1; // e of Ew.dEe and Gw.dEe; -1 when absent
};

// Reads an unsigned number at the cursor; none when there is no digit.
std::optional<int> read_number(std::string_view& s)
{
    int n = 0;
    std::size_t i = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        n = n * 10 + (s[i] - '0');
        if (n > max_width)
            return std::nullopt;
        ++i;
    }
    if (i == 0)
        return std::nullopt;
    s.remove_prefix(i);
    return n;
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Blanks inside a format are not significant.
std::optional<Descriptor> parse_descriptor(std::string_view format)
{
    std::string compact;
    for (char c : format)
        if (c != ' ')
            compact += upper(c);
    std::string_view s = compact;
    if (s.size() < 3 || s.front() != '(' || s.back() != ')')
        return std::nullopt;
    s = s.substr(1, s.size() - 2);

    Descriptor d;
    d.kind = s.front();
    if (d.kind != 'I' && d.kind != 'F' && d.kind != 'E' && d.kind != 'G')
        return std::nullopt;
    s.remove_prefix(1);
    const auto width = read_number(s);
    if (!width)
        return std::nullopt;
    d.width = *width;
    if (!s.empty() && s.front() == '.') {
        s.remove_prefix(1);
        const auto digits = read_number(s);
        if (!digits)
            return std::nullopt;
        d.digits = *digits;
    }
    if (!s.empty() && s.front() == 'E' && (d.kind == 'E' || d.kind == 'G')) {
        s.remove_prefix(1);
        const auto e = read_number(s);
        if (!e || *e == 0)
            return std::nullopt;
        d.exponent = *e;
    }
    if (!s.empty())
        return std::nullopt;
    switch (d.kind) {
    case 'I':
        return d;
    case 'F':
        return d.digits >= 0 ? std::optional(d) : std::nullopt;
    default: // E and G need a width and at least one significant digit
        return (d.width > 0 && d.digits > 0) ? std::optional(d) : std::nullopt;
    }
}

// A non-negative finite value as 0.digits x 10**point; no digits for zero.
struct Decimal {
    std::string digits;
    int point = 0;
};

// The exact decimal expansion: every double is a finite binary fraction,
// and 767 significant digits hold any of them exactly.
Decimal exact_decimal(double magnitude)
{
    Decimal dec;
    if (magnitude == 0)
        return dec;
    std::array<char, 800> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, 767);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = text.find('e');
    dec.digits += text[0];
    dec.digits.append(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    dec.point = exponent + 1;
    dec.digits.erase(dec.digits.find_last_not_of('0') + 1);
    return dec;
}

// Rounds to n significant digits (n >= 0), ties away from zero; the result
// has exactly n digits (n + 1 never: a carry moves the point instead).
Decimal round_significant(const Decimal& dec, int n)
{
    Decimal out;
    out.point = dec.point;
    if (dec.digits.empty())
        return out;
    const auto count = static_cast<std::size_t>(n);
    out.digits = dec.digits.substr(0, std::min(count, dec.digits.size()));
    out.digits.resize(count, '0');
    if (count < dec.digits.size() && dec.digits[count] >= '5') {
        std::size_t i = count;
        while (i > 0 && out.digits[i - 1] == '9')
            out.digits[--i] = '0';
        if (i == 0) {
            // All nines (or no digits kept): one unit of the next place up.
            out.digits.assign(std::max<std::size_t>(count, 1), '0');
            out.digits[0] = '1';
            ++out.point;
        } else {
            ++out.digits[i - 1];
        }
    }
    if (out.digits.find_first_not_of('0') == std::string::npos)
        out.digits.clear();
    return out;
}

// Rounds to d decimals.
Decimal round_decimals(const Decimal& dec, int d)
{
    const int n = dec.point + d;
    if (dec.digits.empty() || n < 0)
        return {};
    return round_significant(dec, n);
}

std::string asterisks(int width)
{
    return std::string(static_cast<std::size_t>(width), '*');
}

// The field right-justified in width places; asterisks when it is longer.
std::string fit_width(const std::string& field, int width)
{
    if (static_cast<int>(field.size()) > width)
        return asterisks(width);
    return std::string(static_cast<std::size_t>(width) - field.size(), ' ') + field;
}

// The digit at place i of 0.digits (0 the first), zero beyond them.
char digit_at(const Decimal& dec, int i)
{
    return (i >= 0 && i < static_cast<int>(dec.digits.size())) ? dec.digits[static_cast<std::size_t>(i)]
                                                               : '0';
}

// Fixed form of a rounded decimal with d decimals; the 0 before the point
// of a magnitude below 1 is dropped only when the field would not fit.
std::string fixed_field(const Decimal& rounded, bool negative, int width, int d)
{
    std::string integer;
    for (int i = 0; i < rounded.point; ++i)
        integer += digit_at(rounded, i);
    std::string fraction;
    for (int i = 0; i < d; ++i)
        fraction += digit_at(rounded, rounded.point + i);
    std::string sign = negative ? "-" : "";
    std::string field = sign + (integer.empty() ? "0" : integer) + "." + fraction;
    if (width == 0)
        return field;
    if (static_cast<int>(field.size()) > width && integer.empty() && d > 0)
        field = sign + "." + fraction;
    return fit_width(field, width);
}

std::string exponent_field(const Decimal& dec, bool negative, int width, int d, int e)
{
    const Decimal rounded = round_significant(dec, d);
    const int exponent = rounded.digits.empty() ? 0 : rounded.point;
    const int magnitude = std::abs(exponent);
    std::string exp_text;
    const std::string exp_digits = std::to_string(magnitude);
    const char exp_sign = exponent < 0 ? '-' : '+';
    if (e > 0) {
        if (static_cast<int>(exp_digits.size()) > e)
            return asterisks(width);
        exp_text = std::string("E") + exp_sign +
                   std::string(static_cast<std::size_t>(e) - exp_digits.size(), '0') + exp_digits;
    } else if (magnitude <= 99) {
        exp_text = std::string("E") + exp_sign + (magnitude < 10 ? "0" : "") + exp_digits;
    } else if (magnitude <= 999) {
        exp_text = exp_sign + exp_digits;
    } else {
        return asterisks(width);
    }
    std::string mantissa;
    for (int i = 0; i < d; ++i)
        mantissa += digit_at(rounded, i);
    const std::string sign = negative ? "-" : "";
    std::string field = sign + "0." + mantissa + exp_text;
    if (static_cast<int>(field.size()) > width)
        field = sign + "." + mantissa + exp_text;
    return fit_width(field, width);
}

std::string general_field(const Decimal& dec, bool negative, int width, int d, int e)
{
    const int trailing = e > 0 ? e + 2 : 4;
    const Decimal rounded = round_significant(dec, d);
    int decimals = -1;
    if (rounded.digits.empty())
        decimals = d - 1;
    else if (rounded.point >= 0 && rounded.point <= d)
        decimals = d - rounded.point;
    if (decimals < 0)
        return exponent_field(dec, negative, width, d, e);
    const int fixed_width = width - trailing;
    if (fixed_width <= 0)
        return asterisks(width);
    const std::string fixed = fixed_field(round_decimals(dec, decimals), negative, fixed_width, decimals);
    if (fixed.find('*') != std::string::npos)
        return asterisks(width);
    return fixed + std::string(static_cast<std::size_t>(trailing), ' ');
}

} // namespace

int format_field_integer(std::string& field, long long value, std::string_view format)
{
    field.clear();
    const auto d = parse_descriptor(format);
    if (!d)
        return format_write_bad_format;
    if (d->kind != 'I')
        return format_write_wrong_type;
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (d->digits >= 0) {
        if (d->digits == 0 && magnitude == 0)
            digits.clear();
        else if (static_cast<int>(digits.size()) < d->digits)
            digits.insert(0, static_cast<std::size_t>(d->digits) - digits.size(), '0');
    }
    std::string text = (value < 0 ? "-" : "") + digits;
    if (d->width == 0)
        field = text.empty() ? " " : text;
    else
        field = fit_width(text, d->width);
    return format_write_ok;
}

int format_field_real(std::string& field, double value, std::string_view format)
{
    field.clear();
    const auto d = parse_descriptor(format);
    if (!d)
        return format_write_bad_format;
    if (d->kind == 'I')
        return format_write_wrong_type;
    if (!std::isfinite(value)) {
        // No number to show: the field is filled like one that does not fit.
        field = asterisks(d->width == 0 ? 1 : d->width);
        return format_write_ok;
    }
    const bool negative = value < 0;
    const Decimal dec = exact_decimal(std::fabs(value));
    switch (d->kind) {
    case 'F':
        field = fixed_field(round_decimals(dec, d->digits), negative, d->width, d->digits);
        break;
    case 'E':
        field = exponent_field(dec, negative, d->width, d->digits, d->exponent);
        break;
    default:
        field = general_field(dec, negative, d->width, d->digits, d->exponent);
        break;
    }
    return format_write_ok;
}

namespace {

int place_field(std::span<char> text, int status, const std::string& field)
{
    if (status != format_write_ok)
        return status;
    if (field.size() > text.size())
        return format_write_too_long;
    std::copy(field.begin(), field.end(), text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(field.size()), text.end(), ' ');
    return format_write_ok;
}

} // namespace

int format_write_integer(std::span<char> text, long long value, std::string_view format)
{
    std::string field;
    const int status = format_field_integer(field, value, format);
    return place_field(text, status, field);
}

int format_write_real(std::span<char> text, double value, std::string_view format)
{
    std::string field;
    const int status = format_field_real(field, value, format);
    return place_field(text, status, field);
}

} // namespace korv
