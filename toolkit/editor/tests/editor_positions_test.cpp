#include "editor/editor_paint_spans.h"
#include "editor/editor_positions.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace korv;

namespace {

// The control's characters of a program text: every CR LF becomes one CR.
std::string control_text(std::string_view program)
{
    std::string out;
    for (std::size_t i = 0; i < program.size(); ++i) {
        out += program[i];
        if (program[i] == '\r' && i + 1 < program.size() && program[i + 1] == '\n') ++i;
    }
    return out;
}

// Maps as the editor does: fetch from the origin, walk.
MappedRange map(PositionCache& cache, std::string_view control, int start, int end)
{
    const PositionCache origin = edit_position_origin(cache, start, end);
    const int count = edit_position_fetch_count(origin, start, end);
    const auto from = std::min<std::size_t>(static_cast<std::size_t>(origin.control), control.size());
    return edit_position_walk(cache, control.substr(from, static_cast<std::size_t>(count)), start, end);
}

} // namespace

TEST(EditorPositions, LineEndsCountTwoForPrograms)
{
    const std::string control = control_text("ab\r\ncd");
    const struct {
        int program, control;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {50, 5}, {-4, 0}};
    for (const auto& c : cases) {
        PositionCache cache;
        const MappedRange r = map(cache, control, c.program, c.program);
        EXPECT_EQ(r.start, c.control) << c.program;
        EXPECT_EQ(r.end, c.control) << c.program;
    }
    PositionCache cache;
    const MappedRange r = map(cache, control, 1, 5);
    EXPECT_EQ(r.start, 1);
    EXPECT_EQ(r.end, 4);
}

TEST(EditorPositions, AscendingCallsReadOnFromTheCache)
{
    std::string program;
    for (int i = 0; i < 200; ++i) program += "line " + std::to_string(i) + "\r\n";
    const std::string control = control_text(program);
    // Each program position's control position, counted plainly.
    std::vector<int> reference;
    for (std::size_t i = 0, c = 0; i < program.size(); ++i) {
        reference.push_back(static_cast<int>(c));
        if (program[i] != '\r') ++c;
    }

    PositionCache cache;
    for (int start = 0; start + 20 <= static_cast<int>(program.size()); start += 20) {
        if (start > 0) {
            EXPECT_NE(edit_position_origin(cache, start, start + 19).program, 0) << start;
        }
        const MappedRange r = map(cache, control, start, start + 19);
        EXPECT_EQ(r.start, reference[static_cast<std::size_t>(start)]) << start;
        EXPECT_EQ(r.end, reference[static_cast<std::size_t>(start + 19)]) << start;
    }
    // Going back starts again from the text's start and still maps right.
    const MappedRange back = map(cache, control, 4, 8);
    EXPECT_EQ(back.start, 4);
    EXPECT_EQ(back.end, 7);
}

TEST(EditorPositions, FindBitsBothWays)
{
    EXPECT_EQ(edit_find_bits(find_down | find_match_case), 0);
    EXPECT_EQ(edit_find_bits(0), 6);
    EXPECT_EQ(edit_find_bits(find_whole_word), 22);
    for (int bits : {0, 2, 4, 6, 16, 18, 20, 22})
        EXPECT_EQ(edit_find_bits(edit_find_flags(bits, 0x400u)), bits) << bits;
    EXPECT_EQ(edit_find_flags(6, 0x400u | find_match_case | find_down), 0x400u);
}

TEST(EditorPositions, BoundedCopies)
{
    std::array<char, 10> buffer{};
    EXPECT_EQ(edit_copy_bounded("123456789", buffer), 0);
    EXPECT_STREQ(buffer.data(), "123456789");
    EXPECT_EQ(edit_copy_bounded("1234567890", buffer), 2);
    EXPECT_STREQ(buffer.data(), "123456789");
    EXPECT_EQ(edit_copy_bounded("abc", std::span<char>(buffer.data(), 0)), 2);
    EXPECT_STREQ(buffer.data(), "123456789");
}

TEST(EditorPaint, LineTextAndSelection)
{
    EXPECT_EQ(edit_line_text("abc\r"), "abc");
    EXPECT_EQ(edit_line_text("abc\r\n"), "abc");
    EXPECT_EQ(edit_line_text("abc"), "abc");  // the last line, or a cut one
    EXPECT_EQ(edit_line_text(""), "");

    const struct {
        int start, end, line_start, length, first, last;
    } cases[] = {
        {2, 5, 0, 10, 3, 5},    // inside the line
        {0, 40, 10, 10, 1, 10}, // across the whole line
        {12, 30, 10, 10, 3, 10},
        {3, 3, 0, 10, -1, -1},  // empty
        {20, 25, 0, 10, -1, -1},// below the line
        {0, 10, 10, 10, -1, -1},// ends where the line starts
    };
    for (const auto& c : cases) {
        const LineSelection s = edit_line_selection(c.start, c.end, c.line_start, c.length);
        EXPECT_EQ(s.first, c.first) << c.start << ".." << c.end;
        EXPECT_EQ(s.last, c.last) << c.start << ".." << c.end;
    }
}

TEST(EditorPaint, HookSpansCleanedAndRuns)
{
    const int firsts[] = {0, 4, 5, 3, 9, 12};
    const int lasts[] = {2, 6, 7, 3, 20, 14};
    const std::int32_t colours[] = {255, -1, 7, 8, 0x00ff00, 9};
    // Clipped at 1, the overlapping and the backward one dropped, clipped
    // at the line's end, the one beyond it dropped.
    const auto spans = edit_spans_clean(firsts, lasts, colours, 6, 10);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].first, 1);
    EXPECT_EQ(spans[0].last, 2);
    EXPECT_EQ(spans[1].first, 4);
    EXPECT_EQ(spans[2].first, 9);
    EXPECT_EQ(spans[2].last, 10);
    EXPECT_TRUE(edit_spans_clean(firsts, lasts, colours, -5, 10).empty());
    EXPECT_EQ(edit_spans_clean(firsts, lasts, colours, 1000, 10).size(), 3u);

    const auto runs = edit_paint_runs(10, spans);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].kind, PaintRun::coloured);
    EXPECT_EQ(runs[0].count, 2);
    EXPECT_EQ(runs[1].kind, PaintRun::window);
    EXPECT_EQ(runs[1].first, 2);
    EXPECT_EQ(runs[1].count, 1);
    EXPECT_EQ(runs[2].kind, PaintRun::highlight);
    EXPECT_EQ(runs[2].first, 3);
    EXPECT_EQ(runs[2].count, 3);
    EXPECT_EQ(runs[3].kind, PaintRun::window);
    EXPECT_EQ(runs[3].first, 6);
    EXPECT_EQ(runs[3].count, 2);
    EXPECT_EQ(runs[4].colour, 0x00ff00);
    EXPECT_EQ(runs[4].first, 8);

    const auto plain = edit_paint_runs(5, {});
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].count, 5);
    EXPECT_TRUE(edit_paint_runs(0, {}).empty());
}
