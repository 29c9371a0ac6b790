// Any small picture saved as PNG, BMP and PCX and read back: the same
// pixels come back, and every file is recognised as what it is.
#include "graphics/formats/byte_cursor.h"
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"
#include "graphics/formats/image_write.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korv;
    ByteCursor c(data, size);
    const int width = c.u8().value_or(0) % 64 + 1, height = c.u8().value_or(0) % 64 + 1;
    std::vector<std::int32_t> pixels(static_cast<std::size_t>(width * height));
    for (auto& p : pixels) {
        const auto b = c.bytes(3);
        p = b ? ((*b)[0] | (*b)[1] << 8 | (*b)[2] << 16) : 0;
    }
    const RgbPicture picture{width, height, pixels};
    ByteSink files[3];
    int code = 0;
    if (png_encode(picture, files[0], code) != 0)
        __builtin_trap();
    bmp_encode(picture, files[1]);
    pcx_encode(picture, files[2]);
    const int formats[3] = {image_format_png, image_format_bmp, image_format_pcx};
    for (int i = 0; i < 3; ++i) {
        const auto& bytes = files[i].bytes();
        const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (image_format_code(file) != formats[i])
            __builtin_trap();
        const DecodedImage back = image_decode(file, formats[i], false);
        if (back.error != 0 || back.width != width || back.height != height ||
            !std::equal(pixels.begin(), pixels.end(), back.pixels.begin()))
            __builtin_trap();
    }
    return 0;
}
