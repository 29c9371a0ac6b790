#include "editor/editor_positions.h"

#include <algorithm>
#include <cstring>

namespace korv {

PositionCache edit_position_origin(const PositionCache& cache, int start, int end)
{
    if (cache.empty() || start < cache.program || end < cache.program) return {0, 0};
    return cache;
}

int edit_position_fetch_count(const PositionCache& origin, int start, int end)
{
    // Every character takes the program at least one position further.
    return std::max(std::max(start, end) - origin.program + 1, 0);
}

MappedRange edit_position_walk(PositionCache& cache, std::string_view text, int start, int end)
{
    start = std::max(start, 0);
    end = std::max(end, 0);
    PositionCache at = edit_position_origin(cache, start, end);
    MappedRange result;
    for (char c : text) {
        if (start == at.program) result.start = at.control;
        if (end == at.program) result.end = at.control;
        if (c == '\r') {
            if (start == at.program + 1) result.start = at.control;
            if (end == at.program + 1) result.end = at.control;
        }
        if (result.start >= 0 && result.end >= 0) break;
        at.control += 1;
        at.program += c == '\r' ? 2 : 1;
    }
    // Past the characters read: the position right behind them.
    if (result.start < 0) result.start = at.control;
    if (result.end < 0) result.end = at.control;
    cache = at;
    return result;
}

int edit_find_bits(unsigned flags)
{
    int bits = 0;
    if ((flags & find_match_case) == 0) bits |= 2;
    if ((flags & find_down) == 0) bits |= 4;
    if ((flags & find_whole_word) != 0) bits |= 16;
    return bits;
}

unsigned edit_find_flags(int bits, unsigned flags)
{
    flags &= ~(find_down | find_whole_word | find_match_case);
    if ((bits & 2) == 0) flags |= find_match_case;
    if ((bits & 4) == 0) flags |= find_down;
    if ((bits & 16) != 0) flags |= find_whole_word;
    return flags;
}

int edit_copy_bounded(std::string_view text, std::span<char> buffer)
{
    if (buffer.empty()) return 2;
    const std::size_t n = std::min(text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    return n == text.size() ? 0 : 2;
}

} // namespace korv
