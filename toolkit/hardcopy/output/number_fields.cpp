#include "hardcopy/output/number_fields.h"

#include <cmath>

#include "core/output/number_format.h"

namespace korv {

namespace {

std::string stars(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 1), '*'); }

std::string right_aligned(std::string digits, int width)
{
    if (static_cast<int>(digits.size()) > width)
        return stars(width);
    return std::string(static_cast<std::size_t>(width) - digits.size(), ' ') + digits;
}

} // namespace

std::string hc_real_field(double value, int width, int decimals)
{
    if (!std::isfinite(value))
        return stars(width);
    std::string digits = format_fixed(value, decimals);
    // A field too narrow for the leading zero of a fraction drops it.
    if (static_cast<int>(digits.size()) > width) {
        if (digits.starts_with("0."))
            digits.erase(0, 1);
        else if (digits.starts_with("-0."))
            digits.erase(1, 1);
    }
    return right_aligned(std::move(digits), width);
}

std::string hc_integer_field(long long value, int width) { return right_aligned(format_int(value), width); }

std::string_view hc_field_trimmed(std::string_view field)
{
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = field.find_last_not_of(' ');
    return field.substr(first, last - first + 1);
}

std::string hc_real_short(double value, int width, int decimals)
{
    const std::string field = hc_real_field(value, width, decimals);
    if (field.find('*') != std::string::npos)
        return field;
    return format_real(value, decimals);
}

} // namespace korv
