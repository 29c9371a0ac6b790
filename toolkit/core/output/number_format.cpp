#include "core/output/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace korv {

namespace {

// Beyond 17 decimals a double carries no more digits.
constexpr int decimals_limit = 17;

// Large enough for the longest fixed form of a double: 309 integer digits,
// a sign, a point and the decimals.
using NumberBuffer = std::array<char, 400>;

// Formats cannot hold an infinity or a NaN; they are written as 0 so that
// the file stays readable.
double finite_or_zero(double value) { return std::isfinite(value) ? value : 0.0; }

} // namespace

void append_int(std::string& out, long long value)
{
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    out.append(digits.data(), end);
}

void append_fixed(std::string& out, double value, int decimals)
{
    decimals = std::clamp(decimals, 0, decimals_limit);
    NumberBuffer digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                            finite_or_zero(value), std::chars_format::fixed, decimals);
    // The buffer holds every finite double; this only guards against a
    // library that thinks otherwise.
    if (error != std::errc{}) {
        out += '0';
        return;
    }
    std::string_view text(digits.data(), static_cast<std::size_t>(end - digits.data()));
    // A value that rounds to zero is written without its sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
        text.remove_prefix(1);
    out.append(text);
}

void append_real(std::string& out, double value, int max_decimals)
{
    const std::size_t start = out.size();
    append_fixed(out, value, max_decimals);
    if (out.find('.', start) == std::string::npos)
        return;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
}

std::string format_int(long long value)
{
    std::string out;
    append_int(out, value);
    return out;
}

std::string format_fixed(double value, int decimals)
{
    std::string out;
    append_fixed(out, value, decimals);
    return out;
}

std::string format_real(double value, int max_decimals)
{
    std::string out;
    append_real(out, value, max_decimals);
    return out;
}

} // namespace korv
