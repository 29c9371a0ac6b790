// Comma-separated grid files: one grid row a line, CR LF after every line,
// fields quoted by cell type. The bytes are built and read here; opening,
// committing and reporting belong to WGridSave and WGridLoad.
#pragma once

#include "grid/grid_model.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace korv {

// Flag bits of WGridSave (WGridLoad reads only grid_csv_headings).
inline constexpr int grid_csv_unquoted = 1;
inline constexpr int grid_csv_headings = 2;
inline constexpr int grid_csv_undefined_values = 4;

// Columns and rows count from 0, both ranges inclusive and inside the grid.
struct GridRange {
    int first_column = 0, last_column = -1, first_row = 0, last_row = -1;
};

std::string grid_csv_text(const GridModel& grid, const GridRange& range, int flags);

// Doubles every quote character.
std::string grid_csv_quote(std::string_view text);
// Turns each pair of adjacent quote characters, from the left, into one.
std::string grid_csv_unquote(std::string_view text);
// A field as it stood between its delimiters, cleaned: a carriage return at
// the line's end, trailing blanks and, when it holds a quote character, the
// first and last character and the doubled quotes go.
std::string grid_csv_field(std::string_view raw, bool line_end);

// Loads the file's bytes into the grid found by id. A line feed inside an
// open quoted field belongs to the field. Fields past the last column are
// dropped and the next line goes on; lines past the rows that may be used
// end the load (with grow the rows in use grow through WGridRows up to the
// rows created); rows the file does not fill are emptied. Menu fields that
// match no item are reported (1055) at once, number fields that do not
// read by the conversion routines. Gives the error to report at the end:
// 1054, 1009 or 0.
int grid_csv_load(GridModel& grid, int id, std::string_view bytes, bool grow, int flags);

// The loader reads its file a buffer of this many bytes at a time.
inline constexpr std::size_t grid_csv_read_buffer = 65000;
// Fills up to count bytes at into: the number filled, 0 at the end, -1
// when the read failed.
using GridCsvSource = std::function<long(char* into, std::size_t count)>;
// The same from a source read a buffer at a time, never holding the whole
// file; -1 when a read failed, with the cells loaded so far kept.
int grid_csv_load(GridModel& grid, int id, const GridCsvSource& source, bool grow, int flags);

} // namespace korv
