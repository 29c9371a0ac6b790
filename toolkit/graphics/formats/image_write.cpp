// BMP, PCX and PNG writers from device-independent bitmaps.
#include "graphics/formats/image_write.h"

#include <zlib.h>

#include <algorithm>

#include "graphics/formats/image_decode.h"

namespace korv {
namespace {

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

// Row y from the top, as GDI stores it (bottom row first).
const std::uint8_t* row_from_top(const DibImage& d, int y)
{
    return d.rows.data() + static_cast<std::size_t>(d.height - 1 - y) * d.stride();
}

// The palette index of pixel x of a row of 1, 4 or 8 bits.
std::uint8_t index_of(const DibImage& d, const std::uint8_t* row, int x)
{
    switch (d.bits) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
    default:
        return row[x];
    }
}

// Five or six bits made eight, the top bits repeated below them.
std::uint8_t widened(unsigned v, int bits)
{
    return static_cast<std::uint8_t>(bits == 5 ? (v << 3 | v >> 2) : (v << 2 | v >> 4));
}

// Red, green and blue of pixel x of a row of 16, 24 or 32 bits.
void rgb_of(const DibImage& d, const std::uint8_t* row, int x, std::uint8_t (&rgb)[3])
{
    if (d.bits == 16) {
        const unsigned p = row[2 * x] | row[2 * x + 1] << 8;
        if (d.fields_565) {
            rgb[0] = widened(p >> 11 & 31, 5);
            rgb[1] = widened(p >> 5 & 63, 6);
        } else {
            rgb[0] = widened(p >> 10 & 31, 5);
            rgb[1] = widened(p >> 5 & 31, 5);
        }
        rgb[2] = widened(p & 31, 5);
        return;
    }
    const std::uint8_t* px = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(d.bits / 8);
    rgb[0] = px[2];
    rgb[1] = px[1];
    rgb[2] = px[0];
}

// Colour-table entry i as red, green, blue (black past the table's end).
void table_rgb(const DibImage& d, int i, std::uint8_t (&rgb)[3])
{
    const std::size_t at = 4 * static_cast<std::size_t>(i);
    if (at + 3 > d.colour_table.size()) {
        rgb[0] = rgb[1] = rgb[2] = 0;
        return;
    }
    rgb[0] = d.colour_table[at + 2];
    rgb[1] = d.colour_table[at + 1];
    rgb[2] = d.colour_table[at];
}

bool palette_depth(const DibImage& d) { return d.bits <= 8; }

} // namespace

bool DibImage::valid() const
{
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return depth && width > 0 && height > 0 && rows.size() >= stride() * static_cast<std::size_t>(height);
}

int img_dib_palette_size(int header_size, int bit_count, std::uint32_t colours_used)
{
    const int entry = header_size == 12 ? 3 : 4;
    if (header_size != 12 && (colours_used & 0xFFFF) != 0)
        return static_cast<int>(colours_used & 0xFFFF) * entry;
    switch (bit_count) {
    case 1:
        return 2 * entry;
    case 4:
        return 16 * entry;
    case 8:
        return 256 * entry;
    default:
        return 0;
    }
}

void img_pcx_run_write(std::uint8_t value, int count, ByteSink& out)
{
    if (count == 1 && value < 0xC0) {
        out.put_u8(value);
        return;
    }
    out.put_u8(static_cast<std::uint8_t>(0xC0 + count));
    out.put_u8(value);
}

void dib_bmp_file(const DibImage& d, ByteSink& out)
{
    if (!d.valid())
        return;
    const std::uint32_t table = static_cast<std::uint32_t>(img_dib_palette_size(40, d.bits, 0));
    const std::uint32_t image = static_cast<std::uint32_t>(d.stride()) * static_cast<std::uint32_t>(d.height);
    out.put("BM");
    out.put_u32_le(54 + table + image);
    out.put_u32_le(0);
    out.put_u32_le(54 + table);
    out.put_u32_le(40);
    out.put_u32_le(static_cast<std::uint32_t>(d.width));
    out.put_u32_le(static_cast<std::uint32_t>(d.height));
    out.put_u16_le(1);
    out.put_u16_le(static_cast<std::uint16_t>(d.bits));
    out.put_u32_le(0);
    out.put_u32_le(image);
    out.put_u32_le(0);
    out.put_u32_le(0);
    out.put_u32_le(table / 4);
    out.put_u32_le(0);
    std::vector<std::uint8_t> colours(table, 0);
    std::copy_n(d.colour_table.begin(), std::min<std::size_t>(table, d.colour_table.size()), colours.begin());
    out.put(colours.data(), colours.size());
    out.put(d.rows.data(), image);
}

void dib_pcx_file(const DibImage& d, int width, ByteSink& out)
{
    width = std::min(width, d.width);
    if (!d.valid() || width < 1)
        return;
    const int bytes_per_line = width + (width % 2);
    const int planes = palette_depth(d) ? 1 : 3;
    std::uint8_t header[128] = {};
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    auto put16 = [&](int at, int v) {
        header[at] = static_cast<std::uint8_t>(v);
        header[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(8, width - 1);
    put16(10, d.height - 1);
    put16(12, 75);
    put16(14, 75);
    header[65] = static_cast<std::uint8_t>(planes);
    put16(66, bytes_per_line);
    put16(68, 1);
    put16(70, bytes_per_line);
    put16(72, d.height);
    out.put(header, sizeof header);
    // The values past the bitmap's width (an odd width made even) are 0.
    const int taken = std::min(bytes_per_line, d.width);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(bytes_per_line) * static_cast<std::size_t>(planes), 0);
    for (int y = 0; y < d.height; ++y) {
        const std::uint8_t* row = row_from_top(d, y);
        for (int x = 0; x < taken; ++x) {
            if (planes == 1) {
                line[static_cast<std::size_t>(x)] = index_of(d, row, x);
                continue;
            }
            std::uint8_t rgb[3];
            rgb_of(d, row, x, rgb);
            for (int k = 0; k < 3; ++k)
                line[static_cast<std::size_t>(k * bytes_per_line + x)] = rgb[k];
        }
        for (int k = 0; k < planes; ++k)
            pcx_encode_line(std::span(line).subspan(static_cast<std::size_t>(k * bytes_per_line),
                                                    static_cast<std::size_t>(bytes_per_line)),
                            out);
    }
    if (planes == 1) {
        out.put_u8(12);
        for (int i = 0; i < 256; ++i) {
            std::uint8_t rgb[3];
            table_rgb(d, i, rgb);
            out.put(rgb, 3);
        }
    }
}

int dib_png_file(const DibImage& d, int width, ByteSink& out, int& zlib_code)
{
    zlib_code = 0;
    width = std::min(width, d.width);
    if (!d.valid() || width < 1)
        return 0;
    // 4-bit rows for 1 and 4 bits, bytes for 8, red, green, blue otherwise.
    const int depth = d.bits <= 4 ? 4 : 8;
    const bool palette = palette_depth(d);
    const std::size_t data_bytes = !palette ? 3 * static_cast<std::size_t>(width)
                                   : depth == 4 ? (static_cast<std::size_t>(width) + 1) / 2
                                                : static_cast<std::size_t>(width);
    const std::size_t row_bytes = data_bytes + 1;
    std::vector<std::uint8_t> raw(row_bytes * static_cast<std::size_t>(d.height), 0);
    for (int y = 0; y < d.height; ++y) {
        const std::uint8_t* src = row_from_top(d, y);
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * row_bytes + 1;
        if (d.bits == 4 || d.bits == 8) {
            std::copy_n(src, data_bytes, row);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            if (d.bits == 1) {
                row[x / 2] |= static_cast<std::uint8_t>(index_of(d, src, x) << (x % 2 ? 0 : 4));
                continue;
            }
            std::uint8_t rgb[3];
            rgb_of(d, src, x, rgb);
            std::copy_n(rgb, 3, row + 3 * static_cast<std::size_t>(x));
        }
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
    img_be32_write(static_cast<std::uint32_t>(width), std::span<std::uint8_t, 4>(ihdr, 4));
    img_be32_write(static_cast<std::uint32_t>(d.height), std::span<std::uint8_t, 4>(ihdr + 4, 4));
    ihdr[8] = static_cast<std::uint8_t>(palette ? depth : 8);
    ihdr[9] = palette ? 3 : 2;
    put_chunk(out, "IHDR", ihdr);
    if (palette) {
        const int entries = depth == 4 ? 16 : 256;
        std::vector<std::uint8_t> plte;
        for (int i = 0; i < entries; ++i) {
            std::uint8_t rgb[3];
            table_rgb(d, i, rgb);
            plte.insert(plte.end(), rgb, rgb + 3);
        }
        put_chunk(out, "PLTE", plte);
    }
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", {});
    return 0;
}

DibImage dib_from_rgb(const RgbPicture& p)
{
    DibImage d;
    if (!p.valid())
        return d;
    d.width = p.width;
    d.height = p.height;
    d.bits = 24;
    d.rows.assign(d.stride() * static_cast<std::size_t>(p.height), 0);
    for (int y = 0; y < p.height; ++y) {
        const std::int32_t* src = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        std::uint8_t* row = d.rows.data() + static_cast<std::size_t>(p.height - 1 - y) * d.stride();
        for (int x = 0; x < p.width; ++x) {
            const auto v = static_cast<std::uint32_t>(src[x]);
            row[3 * x] = static_cast<std::uint8_t>(v >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(v);
        }
    }
    return d;
}

void bmp_encode(const RgbPicture& p, ByteSink& out) { dib_bmp_file(dib_from_rgb(p), out); }

void pcx_encode(const RgbPicture& p, ByteSink& out) { dib_pcx_file(dib_from_rgb(p), p.width, out); }

int png_encode(const RgbPicture& p, ByteSink& out, int& zlib_code)
{
    return dib_png_file(dib_from_rgb(p), p.width, out, zlib_code);
}

} // namespace korv
