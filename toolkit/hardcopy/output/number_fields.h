// Fixed-width number fields of the text output formats, written with "."
// whatever the user's decimal separator. A value that does not fit its
// field comes back as asterisks of the field's width, as the formats'
// readers expect from a plotter-era writer.
#pragma once

#include <string>
#include <string_view>

namespace korv {

// value with `decimals` digits after the point, right-aligned in `width`.
std::string hc_real_field(double value, int width, int decimals);
// value right-aligned in `width`.
std::string hc_integer_field(long long value, int width);

// The significant part of a field: leading and trailing blanks dropped.
std::string_view hc_field_trimmed(std::string_view field);
// A real without its trailing zeros; a whole number keeps no point
// ("100", "12.5", "-3", "0.25"). Asterisks stay as they are.
std::string hc_real_short(double value, int width, int decimals);

} // namespace korv
