// The editor's counting rules that need no window: program positions (a
// line end counts 2) against the text control's (a line end counts 1), the
// find flags in the program's bits, and copies into a program's buffer.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// One known pair: a control position and the program position of the same
// character. Empty (-1, -1) after any edit.
struct PositionCache {
    int control = -1;
    int program = -1;
    bool empty() const { return control < 0 || program < 0; }
};

struct MappedRange {
    int start = -1;
    int end = -1;
};

// Where a walk for start and end begins: the cache, unless it is empty or
// lies beyond either position, then the start of the text.
PositionCache edit_position_origin(const PositionCache& cache, int start, int end);
// How many control characters from the origin a walk needs to reach both.
int edit_position_fetch_count(const PositionCache& origin, int start, int end);
// Walks `text` (the control's characters from origin.control on, a CR for
// each line end) to the control positions of program positions start and
// end. A program position on a line end's second half maps to the line
// end. The cache is left at the character where the walk stopped, so that
// ascending calls read on from there; a position beyond the text maps to
// the end of what was read. Negative positions map to 0.
MappedRange edit_position_walk(PositionCache& cache, std::string_view text, int start, int end);

// Find flags of the system's find block (FR_DOWN 1, FR_WHOLEWORD 2,
// FR_MATCHCASE 4) in the program's bits: 2 ignore case, 4 upwards, 16
// whole word; and back, keeping the block's other flags.
inline constexpr unsigned find_down = 1;
inline constexpr unsigned find_whole_word = 2;
inline constexpr unsigned find_match_case = 4;
int edit_find_bits(unsigned flags);
unsigned edit_find_flags(int bits, unsigned flags);

// Copies text into a program's buffer of its own size with a terminator:
// 0 whole, 2 cut to size - 1 characters; a size of 0 or less copies
// nothing and answers 2.
int edit_copy_bounded(std::string_view text, std::span<char> buffer);

} // namespace korv
