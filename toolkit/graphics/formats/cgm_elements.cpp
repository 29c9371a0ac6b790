// Binary CGM element writers.
#include "graphics/formats/cgm_elements.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korv {

void cgm_word16(ByteSink& out, int value) { out.put_u16_be(static_cast<std::uint16_t>(value & 0xFFFF)); }

void cgm_element_header(ByteSink& out, int element_class, int id, int length, bool more_partitions)
{
    const int short_length = length > 30 ? 31 : std::max(length, 0);
    cgm_word16(out, element_class * 4096 + id * 32 + short_length);
    if (short_length == 31)
        cgm_partition_word(out, length, more_partitions);
}

void cgm_partition_word(ByteSink& out, int length, bool more_partitions)
{
    cgm_word16(out, std::clamp(length, 0, cgm_partition_limit) | (more_partitions ? 0x8000 : 0));
}

void cgm_point(ByteSink& out, int x, int y)
{
    cgm_word16(out, x);
    cgm_word16(out, y);
}

void cgm_colour_element(ByteSink& out, int element_class, int id, int red, int green, int blue)
{
    cgm_element_header(out, element_class, id, 4);
    out.put_u8(static_cast<std::uint8_t>(red));
    out.put_u8(static_cast<std::uint8_t>(green));
    out.put_u8(static_cast<std::uint8_t>(blue));
    out.put_u8(0);
}

void cgm_string(ByteSink& out, std::string_view text)
{
    text = text.substr(0, cgm_string_limit);
    out.put_u8(static_cast<std::uint8_t>(text.size()));
    out.put(text);
}

void cgm_string_even(ByteSink& out, std::string_view text)
{
    cgm_string(out, text);
    if (std::min<std::size_t>(text.size(), cgm_string_limit) % 2 == 0)
        out.put_u8(0);
}

int cgm_string_even_length(std::string_view text)
{
    const int n = static_cast<int>(std::min<std::size_t>(text.size(), cgm_string_limit));
    return n + 1 + (n % 2 == 0 ? 1 : 0);
}

namespace {

int truncate_to_int(float v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::clamp(v, -2147483520.0f, 2147483520.0f));
}

} // namespace

void cgm_cell_array_head(ByteSink& out, int px, int py, int qx, int qy, int rx, int ry, int nx, int ny)
{
    // The long form even for the short first partition: the rows follow as
    // partitions of the same element.
    cgm_word16(out, 4 * 4096 + 9 * 32 + 31);
    cgm_partition_word(out, 20, true);
    cgm_point(out, px, py);
    cgm_point(out, qx, qy);
    cgm_point(out, rx, ry);
    cgm_word16(out, nx);
    cgm_word16(out, ny);
    cgm_word16(out, 8);
    cgm_word16(out, 0);
}

void cgm_cell_row(ByteSink& out, std::span<const std::int32_t> cells, bool last_row)
{
    // A run's count is a signed 16-bit integer: longer runs are split.
    constexpr int longest_run = 32767;
    std::string runs;
    for (std::size_t i = 0; i < cells.size();) {
        const std::int32_t c = cells[i];
        int n = 1;
        while (i + static_cast<std::size_t>(n) < cells.size() && cells[i + static_cast<std::size_t>(n)] == c &&
               n < longest_run)
            ++n;
        runs += static_cast<char>((n >> 8) & 0xFF);
        runs += static_cast<char>(n & 0xFF);
        runs += static_cast<char>(c & 0xFF);
        runs += static_cast<char>((c >> 8) & 0xFF);
        runs += static_cast<char>((c >> 16) & 0xFF);
        i += static_cast<std::size_t>(n);
    }
    if (runs.size() % 2 != 0)
        runs += '\0';
    constexpr std::size_t partition_room = cgm_partition_limit - 1;
    for (std::size_t at = 0; at < runs.size(); at += partition_room) {
        const std::size_t size = std::min(partition_room, runs.size() - at);
        cgm_partition_word(out, static_cast<int>(size), !last_row || at + size < runs.size());
        out.put(std::string_view(runs).substr(at, size));
    }
}

void cgm_point_list(ByteSink& out, std::span<const float> x, std::span<const float> y, int first, int last)
{
    const int available = static_cast<int>(std::min(x.size(), y.size()));
    first = std::max(first, 1);
    last = std::min({last, available, first + cgm_points_limit - 1});
    if (last < first)
        return;
    // Always in the long form, whatever the count.
    const int count = last - first + 1;
    cgm_word16(out, 4 * 4096 + 1 * 32 + 31);
    cgm_partition_word(out, 4 * count, false);
    for (int i = first; i <= last; ++i)
        cgm_point(out, truncate_to_int(x[static_cast<std::size_t>(i - 1)]), truncate_to_int(y[static_cast<std::size_t>(i - 1)]));
}

int cgm_line_type(int line_type)
{
    static constexpr int table[8] = {1, 3, 2, 4, 5, 10, 12, 13};
    return line_type >= 0 && line_type < 8 ? table[line_type] : 1;
}

} // namespace korv
