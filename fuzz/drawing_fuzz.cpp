// Rectangles with any corners, fill style, density and angle on a screen
// drawable, and the bitmap pixel routines with any sizes and corners. A
// rectangle must end (libFuzzer's time-out) and draw no more hatch lines
// than its clip box holds.
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "graphics/bitmaps_pixels.h"
#include "graphics/formats/byte_cursor.h"
#include "graphics/screen_device.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

class CountingDevice : public korv::Device {
public:
    long long lines = 0;
    void line(korv::DeviceParameters&) override { ++lines; }
};

float real(korv::ByteCursor& c) { return std::bit_cast<float>(c.u32_le().value_or(0)); }
int whole(korv::ByteCursor& c) { return c.i32_le().value_or(0); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korv;
    error_state().report_mode = 0;
    ByteCursor c(data, size);
    const int flags = c.u8().value_or(0);

    const GraphicsStateSaver saver;
    CountingDevice device;
    Device* previous = gr_screen_device_install(&device);
    auto& g = graphics_state();
    g = GraphicsState{};
    g.drawable_width = g.device_width = g.client_width = 200;
    g.drawable_height = g.device_height = g.client_height = 100;
    g.device_limit_x = 199.99f;
    g.device_limit_y = 99.99f;
    g.screen_active = 1;
    IGrUnits(0, 0, 1, 1);
    IGrArea(0, 0, 1, 1);
    IGrFillStyleSet((flags & 7) - 2, (flags >> 3) & 7, ((flags >> 6) & 3) + 1);
    const float x1 = real(c), y1 = real(c), x2 = real(c), y2 = real(c);
    IGrRectangle(x1, y1, x2, y2);
    IGrRectangleOrdered(x1, y1, x2, y2);
    gr_screen_device_install(previous);
    // Outline, and at most one hatch line a pixel of the box both ways
    // for each of the two slanted sets, for two passes.
    if (device.lines > 4 * 2 + 4 * (200 + 100) * 2)
        __builtin_trap();

    const int w = whole(c), h = whole(c), bx1 = whole(c), by1 = whole(c), bx2 = whole(c), by2 = whole(c);
    const std::vector<std::int32_t> pixels(16, 0x7F102030);
    long long writes = 0;
    bitmap_draw_blended(pixels, bx1, by1, bx2, by2, w, h, flags % 3, flags, [](int, int) { return 0; },
                        [&](int x, int y, std::int32_t) {
                            if (x < 0 || y < 0 || x >= w || y >= h)
                                __builtin_trap();
                            ++writes;
                        });
    if (writes > 16)
        __builtin_trap();
    (void)bitmap_rotated_position(bx1, by1, w, h, 90 * (flags & 3));
    return 0;
}
