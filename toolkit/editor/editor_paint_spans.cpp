#include "editor/editor_paint_spans.h"

#include <algorithm>

namespace korv {

std::string_view edit_line_text(std::string_view copied)
{
    if (!copied.empty() && copied.back() == '\n') copied.remove_suffix(1);
    if (!copied.empty() && copied.back() == '\r') copied.remove_suffix(1);
    return copied;
}

LineSelection edit_line_selection(int selection_start, int selection_end, int line_start,
                                  int line_length)
{
    if (selection_start >= selection_end) return {};
    const int first = std::max(selection_start + 1 - line_start, 1);
    const int last = std::min(selection_end - line_start, line_length);
    if (first > last) return {};
    return {first, last};
}

std::vector<ColourSpan> edit_spans_clean(std::span<const int> firsts, std::span<const int> lasts,
                                         std::span<const std::int32_t> colours, int count,
                                         int line_length)
{
    std::vector<ColourSpan> spans;
    const std::size_t available = std::min({firsts.size(), lasts.size(), colours.size()});
    const auto n = std::min(static_cast<std::size_t>(std::clamp(count, 0, edit_span_limit)), available);
    int previous_last = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int first = std::max(firsts[i], 1);
        const int last = std::min(lasts[i], line_length);
        if (first > last || first <= previous_last) continue;
        spans.push_back({first, last, colours[i]});
        previous_last = last;
    }
    return spans;
}

std::vector<PaintRun> edit_paint_runs(int line_length, const std::vector<ColourSpan>& spans)
{
    std::vector<PaintRun> runs;
    int next = 0;  // index of the first character not yet drawn
    for (const ColourSpan& span : spans) {
        const int first = span.first - 1;
        if (first > next) runs.push_back({PaintRun::window, next, first - next, 0});
        const auto kind = span.colour == edit_span_highlight ? PaintRun::highlight : PaintRun::coloured;
        runs.push_back({kind, first, span.last - first, span.colour});
        next = span.last;
    }
    if (line_length > next) runs.push_back({PaintRun::window, next, line_length - next, 0});
    return runs;
}

} // namespace korv
