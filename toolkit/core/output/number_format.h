// Numbers as file formats want them (PostScript, SVG, DXF, HP-GL, CGM,
// grid files): always a point before the decimals and never a thousands
// separator, whatever the user's locale says. Built on std::to_chars.
#pragma once

#include <string>

namespace korv {

// "-12", "0".
std::string format_int(long long value);
// Exactly `decimals` digits after the point (0..17, held there), rounded
// to the nearest as printf would: 0.25 with 3 gives "0.250", 2.75 with 1
// gives "2.8". A value that rounds to zero has no minus sign.
std::string format_fixed(double value, int decimals);
// At most `max_decimals` digits after the point, trailing zeros and a bare
// point dropped: 0.5 gives "0.5", 2.0 gives "2", -0.0001 with 3 gives "0".
std::string format_real(double value, int max_decimals = 6);

// Infinities and NaNs, which no format can hold, are written as 0.
// The same, appended to `out`.
void append_int(std::string& out, long long value);
void append_fixed(std::string& out, double value, int decimals);
void append_real(std::string& out, double value, int max_decimals = 6);

} // namespace korv
