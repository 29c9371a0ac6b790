// BMP, PCX and PNG writers.
#include "graphics/formats/image_write.h"

#include <zlib.h>

#include <vector>

#include "graphics/formats/image_decode.h"

namespace korv {
namespace {

std::uint8_t channel(std::int32_t rgb, int k) { return static_cast<std::uint8_t>(rgb >> (8 * k)); }

void put_chunk(ByteSink& out, const char (&tag)[5], std::span<const std::uint8_t> data)
{
    out.put_u32_be(static_cast<std::uint32_t>(data.size()));
    const std::uint8_t tag_bytes[4] = {static_cast<std::uint8_t>(tag[0]), static_cast<std::uint8_t>(tag[1]),
                                       static_cast<std::uint8_t>(tag[2]), static_cast<std::uint8_t>(tag[3])};
    out.put(tag_bytes, 4);
    out.put(data.data(), data.size());
    out.put_u32_be(img_png_crc32_more(img_png_crc32(tag_bytes), data));
}

// Runs of equal values along one plane line, at most 63 long.
void pcx_encode_line(std::span<const std::uint8_t> line, ByteSink& out)
{
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        img_pcx_run_write(line[i], static_cast<int>(run), out);
        i += run;
    }
}

} // namespace

void img_pcx_run_write(std::uint8_t value, int count, ByteSink& out)
{
    if (count == 1 && value < 0xC0) {
        out.put_u8(value);
        return;
    }
    out.put_u8(static_cast<std::uint8_t>(0xC0 + count));
    out.put_u8(value);
}

void bmp_encode(const RgbPicture& p, ByteSink& out)
{
    const std::uint32_t stride = (static_cast<std::uint32_t>(p.width) * 3 + 3) / 4 * 4;
    const std::uint32_t image = stride * static_cast<std::uint32_t>(p.height);
    out.put("BM");
    out.put_u32_le(54 + image);
    out.put_u32_le(0);
    out.put_u32_le(54);
    out.put_u32_le(40);
    out.put_u32_le(static_cast<std::uint32_t>(p.width));
    out.put_u32_le(static_cast<std::uint32_t>(p.height));
    out.put_u16_le(1);
    out.put_u16_le(24);
    out.put_u32_le(0);
    out.put_u32_le(image);
    for (int i = 0; i < 4; ++i)
        out.put_u32_le(0);
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = p.height - 1; y >= 0; --y) {
        const std::int32_t* src = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        for (int x = 0; x < p.width; ++x) {
            row[3 * static_cast<std::size_t>(x)] = channel(src[x], 2);
            row[3 * static_cast<std::size_t>(x) + 1] = channel(src[x], 1);
            row[3 * static_cast<std::size_t>(x) + 2] = channel(src[x], 0);
        }
        out.put(row.data(), row.size());
    }
}

void pcx_encode(const RgbPicture& p, ByteSink& out)
{
    // Lines are kept to an even number of bytes.
    const int bytes_per_line = p.width + (p.width % 2);
    std::uint8_t header[128] = {};
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    auto put16 = [&](int at, int v) {
        header[at] = static_cast<std::uint8_t>(v);
        header[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(8, p.width - 1);
    put16(10, p.height - 1);
    put16(12, 75);
    put16(14, 75);
    header[65] = 3;
    put16(66, bytes_per_line);
    put16(68, 1);
    put16(70, bytes_per_line);
    put16(72, p.height);
    out.put(header, sizeof header);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(bytes_per_line), 0);
    for (int y = 0; y < p.height; ++y) {
        const std::int32_t* src = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        for (int plane = 0; plane < 3; ++plane) {
            for (int x = 0; x < p.width; ++x)
                line[static_cast<std::size_t>(x)] = channel(src[x], plane);
            pcx_encode_line(line, out);
        }
    }
}

int png_encode(const RgbPicture& p, ByteSink& out, int& zlib_code)
{
    zlib_code = 0;
    const std::size_t row_bytes = 3 * static_cast<std::size_t>(p.width) + 1;
    std::vector<std::uint8_t> raw(row_bytes * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * row_bytes;
        row[0] = 0;
        const std::int32_t* src = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        for (int x = 0; x < p.width; ++x)
            for (int k = 0; k < 3; ++k)
                row[1 + 3 * static_cast<std::size_t>(x) + static_cast<std::size_t>(k)] = channel(src[x], k);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packed_size);
    zlib_code = compress(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()));
    if (zlib_code != Z_OK)
        return image_error_zlib;
    packed.resize(packed_size);

    static constexpr std::uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    out.put(signature, sizeof signature);
    std::uint8_t ihdr[13] = {};
    img_be32_write(static_cast<std::uint32_t>(p.width), std::span<std::uint8_t, 4>(ihdr, 4));
    img_be32_write(static_cast<std::uint32_t>(p.height), std::span<std::uint8_t, 4>(ihdr + 4, 4));
    ihdr[8] = 8;
    ihdr[9] = 2;
    put_chunk(out, "IHDR", ihdr);
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", {});
    return 0;
}

} // namespace korv
