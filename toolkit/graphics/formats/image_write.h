// Writers of BMP, PCX and PNG files from a device-independent bitmap as
// the graphics interface hands one out (rows bottom-up, each padded to a
// multiple of 4 bytes, 1, 4 or 8 bits with a colour table, or 16, 24 or 32
// bits), into a byte sink that the caller commits. A bitmap of 8 bits or
// fewer is written with its palette: an 8-bit BMP with its colour table,
// a one-plane PCX with its 256 colours at the end, a palette PNG; deeper
// ones in true colour. Packed RGB pictures are written through a 24-bit
// bitmap.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/output/byte_sink.h"

namespace korv {

struct DibImage {
    int width = 0, height = 0;
    int bits = 0;                           // 1, 4, 8, 16, 24 or 32
    bool fields_565 = false;                // 16 bits as 5-6-5 (bit fields), else 5-5-5
    std::vector<std::uint8_t> colour_table; // 4 bytes an entry: blue, green, red, 0
    std::vector<std::uint8_t> rows;         // bottom row first

    std::size_t stride() const { return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4; }
    bool valid() const;
};

// The size in bytes of the colour table behind a bitmap header: 3 bytes an
// entry after a 12-byte header, else 4; the colours used when given (not
// for the 12-byte header), else 2, 16 or 256 entries for 1, 4 or 8 bits,
// none for other depths.
int img_dib_palette_size(int header_size, int bit_count, std::uint32_t colours_used);

// "BM", the file header, a 40-byte information header, the colour table
// and the rows.
void dib_bmp_file(const DibImage& dib, ByteSink& out);
// The first width pixels of each row (the bitmap may be wider): one plane
// of palette indices and the 256 colours after the byte 12 for 8 bits or
// fewer, else red, green and blue planes; lines of the width made even.
void dib_pcx_file(const DibImage& dib, int width, ByteSink& out);
// The first width pixels: colour type 3 with a PLTE of 16 or 256 colours
// for 4 and 8 bits (1 bit as 4), else colour type 2. 0, or 1044 when zlib
// refuses (its code in zlib_code).
int dib_png_file(const DibImage& dib, int width, ByteSink& out, int& zlib_code);

struct RgbPicture {
    int width = 0, height = 0;
    std::span<const std::int32_t> pixels; // width * height values, red + 256 green + 65536 blue, top row first
    bool valid() const
    {
        return width > 0 && height > 0 &&
               pixels.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

// A 24-bit bitmap of the picture.
DibImage dib_from_rgb(const RgbPicture& picture);
void bmp_encode(const RgbPicture& picture, ByteSink& out);
void pcx_encode(const RgbPicture& picture, ByteSink& out);
int png_encode(const RgbPicture& picture, ByteSink& out, int& zlib_code);

// One PCX run of count (1..63) equal values: the value alone when it is a
// single value below 192, else 0xC0 + count and the value.
void img_pcx_run_write(std::uint8_t value, int count, ByteSink& out);

} // namespace korv
