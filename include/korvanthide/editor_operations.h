// What a program does with the editor of the current toolkit window beside
// WEditFile: set its text, read ranges of it, hide the text control for a
// series of changes, and print it with its page set-up.
//
// Positions: a program counts a line end as 2 (carriage return and line
// feed), from 0 for ranges and from 1 for the selection queries; with the
// editor option 65536 a line end counts 1. Statuses are written into an
// argument; nothing here reports through the error reporter.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// ---- text and ranges (status 0 done; see each) ----
void edit_text_set(int& status, std::string_view text);           // 1 no editor
void edit_range_text_get(int& start, int length, std::span<char> buffer);  // start gets 0 or -1
// 0 hides the text control for a series of changes; non-zero shows it again.
void edit_text_show(int flag);

// ---- printing and page set-up (points for the values) ----
// Prints positions start..end (program counting) when 0 <= start < end,
// else the whole text, on page set-up record 0; result 1 when printed.
void edit_print_range(int& result, int start, int end, std::string_view name);
// Codes 1 right - left, 2 bottom - top, 3 left, 4 top, 5 orientation.
void edit_page_setup_set(int code, int value, int number);

} // namespace korv
