// Writers of BMP, PCX and PNG files from packed RGB pixels (red + 256 green
// + 65536 blue, top row first), into a byte sink that the caller commits.
// Pictures are written in true colour: 24-bit BMP, three-plane PCX and
// colour type 2 PNG.
#pragma once

#include <cstdint>
#include <span>

#include "core/output/byte_sink.h"

namespace korv {

struct RgbPicture {
    int width = 0, height = 0;
    std::span<const std::int32_t> pixels; // width * height values
    bool valid() const
    {
        return width > 0 && height > 0 &&
               pixels.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

void bmp_encode(const RgbPicture& picture, ByteSink& out);
void pcx_encode(const RgbPicture& picture, ByteSink& out);
// 0, or 1044 when zlib refuses (its code in zlib_code).
int png_encode(const RgbPicture& picture, ByteSink& out, int& zlib_code);

// One PCX run of count (1..63) equal values: the value alone when it is a
// single value below 192, else 0xC0 + count and the value.
void img_pcx_run_write(std::uint8_t value, int count, ByteSink& out);

} // namespace korv
