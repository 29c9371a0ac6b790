// The stroke-font slot with any metrics, glyph text and start tables, and
// every glyph of it read back as strokes.
#include "graphics/formats/byte_cursor.h"
#include "graphics/stroke_font.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korv;
    ByteCursor c(data, size);
    const int flags = c.u8().value_or(0);
    const std::size_t first_count = c.u8().value_or(0) % 100, second_count = c.u8().value_or(0) % 100;
    std::vector<int> first, second;
    for (std::size_t i = 0; i < first_count; ++i)
        first.push_back(c.i32_le().value_or(0));
    for (std::size_t i = 0; i < second_count; ++i)
        second.push_back(c.i32_le().value_or(0));
    const auto rest = c.text(c.remaining()).value_or("");
    gr_stroke_font_install(1, 2, 3, 4, 5, flags, 6, 1, "fuzz", rest, first, second);
    for (int k = 0; k <= stroke_glyph_count + 1; ++k)
        for (const auto& stroke : stroke_glyph_strokes(stroke_fonts().user, k))
            for (const auto& [x, y] : stroke)
                if (x < 0 || x > 11 || y < 0 || y > 11)
                    __builtin_trap();
    return 0;
}
