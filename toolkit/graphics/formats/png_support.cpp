// Small PNG routines shared by the reader, the area saver and the drivers'
// PNG writer: big-endian words, chunk tags, CRC-32 and the row filters.
#include "graphics/formats/image_decode.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace korv {
namespace {

// The reflected CRC-32 of ISO 3309 that PNG chunks carry, table-driven.
const std::array<std::uint32_t, 256>& crc_table()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

std::uint8_t paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<std::uint8_t>(a);
    if (pb <= pc)
        return static_cast<std::uint8_t>(b);
    return static_cast<std::uint8_t>(c);
}

} // namespace

std::uint32_t img_be32_read(std::span<const std::uint8_t, 4> b)
{
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

void img_be32_write(std::uint32_t value, std::span<std::uint8_t, 4> b)
{
    b[0] = static_cast<std::uint8_t>(value >> 24);
    b[1] = static_cast<std::uint8_t>(value >> 16);
    b[2] = static_cast<std::uint8_t>(value >> 8);
    b[3] = static_cast<std::uint8_t>(value);
}

int img_png_tag_equal(std::span<const std::uint8_t, 4> bytes, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        if (bytes[i] != static_cast<std::uint8_t>(tag[i]))
            return 0;
    return 1;
}

std::uint32_t img_png_crc32_more(std::uint32_t crc, std::span<const std::uint8_t> bytes)
{
    const auto& table = crc_table();
    std::uint32_t c = ~crc;
    for (std::uint8_t byte : bytes)
        c = table[(c ^ byte) & 0xFF] ^ (c >> 8);
    return ~c;
}

std::uint32_t img_png_crc32(std::span<const std::uint8_t> bytes) { return img_png_crc32_more(0, bytes); }

void img_png_crc_call(int length, std::uint32_t& result, std::span<const std::uint8_t> bytes)
{
    result = img_png_crc32(bytes.first(std::min(bytes.size(), static_cast<std::size_t>(std::max(length, 0)))));
}

void img_png_unfilter_call(int row_length, int row_count, int bytes_per_pixel, std::span<std::uint8_t> rows)
{
    img_png_unfilter(rows, row_length, row_count, bytes_per_pixel);
}

void img_png_unfilter_row(std::uint8_t* row_with_filter, const std::uint8_t* above, std::size_t row_length, int bpp)
{
    if (row_length < 1 || bpp < 1)
        return;
    std::uint8_t* row = row_with_filter + 1;
    const std::uint8_t* up = above != nullptr ? above + 1 : nullptr;
    const std::size_t data = row_length - 1;
    const std::size_t step = static_cast<std::size_t>(bpp);
    switch (row_with_filter[0]) {
    case 1:
        for (std::size_t i = step; i < data; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
        break;
    case 2:
        if (up)
            for (std::size_t i = 0; i < data; ++i)
                row[i] = static_cast<std::uint8_t>(row[i] + up[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < data; ++i) {
            const int a = i >= step ? row[i - step] : 0;
            const int b = up ? up[i] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + ((a + b) >> 1));
        }
        break;
    case 4:
        for (std::size_t i = 0; i < data; ++i) {
            const int a = i >= step ? row[i - step] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= step ? up[i - step] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + paeth(a, b, c));
        }
        break;
    default:
        break;
    }
}

void img_png_unfilter(std::span<std::uint8_t> rows, int row_length, int row_count, int bpp)
{
    if (row_length < 1 || row_count < 1 || bpp < 1)
        return;
    const std::size_t stride = static_cast<std::size_t>(row_length);
    const std::size_t count = std::min(static_cast<std::size_t>(row_count), rows.size() / stride);
    for (std::size_t r = 0; r < count; ++r)
        img_png_unfilter_row(rows.data() + r * stride, r > 0 ? rows.data() + (r - 1) * stride : nullptr, stride, bpp);
}

bool DecodedImage::allocate(std::int64_t w, std::int64_t h, bool with_pixels)
{
    if (w < 1 || h < 1 || w > image_max_side || h > image_max_side || w * h > image_max_pixels)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    pixels.clear();
    if (with_pixels)
        pixels.resize(static_cast<std::size_t>(w * h));
    row_read.assign(static_cast<std::size_t>(h), 0);
    return true;
}

namespace {

DecodedImage decode_by_format(ByteSource& file, int format, bool transparency)
{
    switch (format) {
    case image_format_bmp:
        return bmp_decode(file);
    case image_format_pcx:
        return pcx_decode(file);
    case image_format_png:
        return png_decode(file, transparency);
    case image_format_icon:
    case image_format_cursor:
        return icon_decode(file, transparency);
    default: {
        DecodedImage out;
        out.fail(image_error_unsupported);
        return out;
    }
    }
}

} // namespace

DecodedImage image_decode(ByteSource& file, int format, bool transparency)
{
    try {
        return decode_by_format(file, format, transparency);
    } catch (const std::bad_alloc&) {
        // A picture within the size limits may still not fit in memory (a
        // 32-bit process): it is one this reader cannot read.
        DecodedImage out;
        out.fail(image_error_unsupported);
        return out;
    }
}

} // namespace korv
