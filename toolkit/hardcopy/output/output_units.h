// The output units of the file-writing hardcopy drivers: every driver
// writes its plot on unit 2, opened under the output file name of the
// parameter block. A unit collects its bytes and puts the file in place
// when it is closed, so a plot that fails half-way never replaces a good
// older file. Failures are reported through the error reporter and leave
// the hardcopy status word at -1, which the drivers test to stop.
#pragma once

#include <string>
#include <string_view>

namespace korv {

inline constexpr int output_unit_count = 8;
inline constexpr int plot_unit = 2;

// Creates the file named by the output file name field (trailing blanks
// cut); error 1 under the routine under way when the name is blank or the
// file cannot be made.
void hc_unit_open(int unit);
// Finishes the unit's file: the new file replaces an older one only when
// every write succeeded (else error 2, and the older file stays).
void hc_unit_close(int unit);
// The unit's handle for hc_write_record; -1 when the unit is not open.
int hc_unit_handle(int unit);
// Writes text and CR LF, or raw bytes; a failure is error 2 under "YYPROU".
void hc_unit_write_line(int unit, std::string_view text);
void hc_unit_write(int unit, std::string_view bytes);
// Overwrites bytes already written at offset; false when they do not lie
// within what the unit holds (a file driver putting its sizes right before
// the file is put in place).
bool hc_unit_patch(int unit, std::size_t offset, std::string_view bytes);
// The number of bytes written to the unit since it was opened.
std::size_t hc_unit_size(int unit);
// Writes bytes to a handle, then CR LF when asked; a failure is error 2
// under the routine under way.
void hc_write_record(int handle, std::string_view bytes, bool line_end);

// Six lower-case hexadecimal digits, red first; components are held to 0..255.
std::string hc_colour_hex(int red, int green, int blue);

} // namespace korv
