// Element writers of the binary encoding of the Computer Graphics Metafile
// (ISO/IEC 8632-3). Each call appends to a byte sink; a caller that must
// not store half an element builds the element in a sink of its own and
// appends it whole. Shared by the in-memory CGM device and the CGM file
// driver.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/output/byte_sink.h"

namespace korv {

// Longest parameter list of one partition.
inline constexpr int cgm_partition_limit = 32767;
// Longest string a one-byte count can hold (255 announces a long string).
inline constexpr int cgm_string_limit = 254;
// Points of one POLYLINE or POLYGON element: 8191 points fit in one partition.
inline constexpr int cgm_points_limit = 8191;

// The header word class * 4096 + id * 32 + length. A length above 30 is
// written in the long form: 31 in the header, then the length word (with
// bit 15 set when more partitions follow).
void cgm_element_header(ByteSink& out, int element_class, int id, int length, bool more_partitions = false);
// A continuation partition's length word.
void cgm_partition_word(ByteSink& out, int length, bool more_partitions);
// The low 16 bits, high byte first; negative values as two's complement.
void cgm_word16(ByteSink& out, int value);
void cgm_point(ByteSink& out, int x, int y);
// Header (class, id, 4), the low bytes of red, green, blue, and a zero byte.
void cgm_colour_element(ByteSink& out, int element_class, int id, int red, int green, int blue);
// A count byte and the characters (at most 254).
void cgm_string(ByteSink& out, std::string_view text);
// As cgm_string, with a zero byte after an even count so the total is even.
void cgm_string_even(ByteSink& out, std::string_view text);
// The bytes cgm_string_even writes for a text.
int cgm_string_even_length(std::string_view text);
// POLYLINE (4, 1) of points first..last (1-based) of the real arrays, truncated.
void cgm_point_list(ByteSink& out, std::span<const float> x, std::span<const float> y, int first, int last);

// The head of a CELL ARRAY (4, 9) in run-length form, partitioned: corners
// P, Q and R, nx by ny cells, 8-bit colour. The rows follow, each written by
// cgm_cell_row.
void cgm_cell_array_head(ByteSink& out, int px, int py, int qx, int qy, int rx, int ry, int nx, int ny);
// One row of a CELL ARRAY: runs of equal packed colours (0xBBGGRR), padded
// to an even count, in as many partitions as it needs; the last partition of
// the last row says none follow.
void cgm_cell_row(ByteSink& out, std::span<const std::int32_t> cells, bool last_row);

// CGM line type for graphics line types 0..7 (others: solid).
int cgm_line_type(int line_type);
// Font list of FONT LIST, index 1..16.
inline constexpr std::string_view cgm_font_names[16] = {
    "Courier New", "Courier New Bold", "Courier New Italic", "Courier New Bold Italic",
    "Arial", "Arial Bold", "Arial Italic", "Arial Bold Italic",
    "Times New Roman", "Times New Roman Bold", "Times New Roman Italic", "Times New Roman Bold Italic",
    "Symbol", "Symbol Italic", "Symbol Bold", "Symbol Bold Italic"};

} // namespace korv
