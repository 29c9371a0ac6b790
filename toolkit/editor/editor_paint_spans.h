// What a painted editor line is made of, without a window: the line as the
// control copied it, the part of the selection inside it, the coloured
// spans a program's hook gave, and the runs to draw left to right.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace korv {

inline constexpr int edit_span_limit = 100;
inline constexpr std::int32_t edit_span_highlight = -1;  // the selection's colours

// A line's characters first..last, counted from 1 and inclusive.
struct ColourSpan {
    int first = 0;
    int last = 0;
    std::int32_t colour = 0;
};

// The line without its line end: a trailing CR (and LF) only when the
// control copied one.
std::string_view edit_line_text(std::string_view copied);

// The selection's part inside a line, 1-based and inclusive, or -1, -1
// when the selection is empty or misses the line. Control positions.
struct LineSelection {
    int first = -1;
    int last = -1;
    bool empty() const { return first < 0; }
};
LineSelection edit_line_selection(int selection_start, int selection_end, int line_start,
                                  int line_length);

// A hook's answer made safe to draw: the count kept to 0..100 and to the
// arrays' lengths, each span clipped to the line, and spans that are empty
// after clipping, overlap the one before or go backwards dropped.
std::vector<ColourSpan> edit_spans_clean(std::span<const int> firsts, std::span<const int> lasts,
                                         std::span<const std::int32_t> colours, int count,
                                         int line_length);

// One run to draw: count characters from index first (from 0) in the
// window's colours, a span's colour, or the highlight.
struct PaintRun {
    enum Kind { window, coloured, highlight } kind = window;
    int first = 0;
    int count = 0;
    std::int32_t colour = 0;
};
std::vector<PaintRun> edit_paint_runs(int line_length, const std::vector<ColourSpan>& spans);

} // namespace korv
