// Windows bitmap files, and the bitmaps inside icon and cursor files: the
// common device-independent bitmap reader with its run-length decoders.
#include "graphics/formats/byte_source.h"
#include "graphics/formats/image_decode.h"

#include <bit>

namespace korv {
namespace {

struct Layout {
    std::int64_t width = 0, height = 0;
    bool top_down = false;
    int bpp = 0;
    int compression = 0;
    std::uint64_t pixel_offset = 0;
    std::uint32_t masks[3] = {};
};

// BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS, BI_ALPHABITFIELDS.
constexpr int bi_rgb = 0, bi_rle8 = 1, bi_rle4 = 2, bi_bitfields = 3, bi_alphabitfields = 6;

std::int64_t row_stride(std::int64_t width, int bpp) { return (width * bpp + 31) / 32 * 4; }

// One colour channel by its mask, brought to 8 bits: narrower channels sit
// in the top bits (a 5-bit 31 is 248), wider ones keep their top 8 bits.
struct Channel {
    int shift = 0, bits = 0;
    explicit Channel(std::uint32_t mask)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        bits = std::popcount(mask >> shift);
    }
    std::uint32_t get(std::uint32_t v) const
    {
        if (bits == 0)
            return 0;
        const std::uint32_t c = (v >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        return bits >= 8 ? (c >> (bits - 8)) & 0xFF : (c << (8 - bits)) & 0xFF;
    }
};

// Reads the colour table of 'entries' 4-byte entries (blue, green, red,
// unused) at offset; false when it runs past the file.
bool read_colour_table(ByteSource& file, std::uint64_t offset, int entries, DecodedImage& out)
{
    const auto table = file.at(offset, static_cast<std::size_t>(entries) * 4);
    if (!table)
        return false;
    for (int i = 0; i < entries; ++i)
        out.colours[i] = (*table)[4 * i + 2] | (*table)[4 * i + 1] << 8 | (*table)[4 * i] << 16;
    return true;
}

std::size_t image_row(const Layout& l, std::int64_t file_row)
{
    return static_cast<std::size_t>(l.top_down ? file_row : l.height - 1 - file_row);
}

// One uncompressed row; the depth is chosen once a row, not once a pixel.
void convert_row(const std::uint8_t* src, std::int32_t* dst, const Layout& l,
                 const std::array<std::int32_t, 256>& colours, const Channel& red, const Channel& green,
                 const Channel& blue)
{
    const std::int64_t w = l.width;
    switch (l.bpp) {
    case 1:
        for (std::int64_t x = 0; x < w; ++x)
            dst[x] = colours[(src[x / 8] >> (7 - x % 8)) & 1];
        break;
    case 4:
        for (std::int64_t x = 0; x < w; ++x)
            dst[x] = colours[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
        break;
    case 8:
        for (std::int64_t x = 0; x < w; ++x)
            dst[x] = colours[src[x]];
        break;
    case 16:
        for (std::int64_t x = 0; x < w; ++x) {
            const std::uint32_t p = src[2 * x] | src[2 * x + 1] << 8;
            dst[x] = static_cast<std::int32_t>(red.get(p) | green.get(p) << 8 | blue.get(p) << 16);
        }
        break;
    case 24:
        for (std::int64_t x = 0; x < w; ++x, src += 3)
            dst[x] = src[2] | src[1] << 8 | src[0] << 16;
        break;
    default:
        for (std::int64_t x = 0; x < w; ++x, src += 4) {
            const std::uint32_t p = src[0] | src[1] << 8 | src[2] << 16 | static_cast<std::uint32_t>(src[3]) << 24;
            dst[x] = static_cast<std::int32_t>(red.get(p) | green.get(p) << 8 | blue.get(p) << 16);
        }
        break;
    }
}

// Uncompressed rows; returns false when the file ended before the last row.
bool read_plain_rows(ByteSource& file, const Layout& l, DecodedImage& out)
{
    const std::int64_t stride = row_stride(l.width, l.bpp);
    const std::int64_t available = static_cast<std::int64_t>((file.size() - l.pixel_offset) / static_cast<std::uint64_t>(stride));
    const std::int64_t rows = std::min(available, l.height);
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    for (std::int64_t r = 0; r < rows; ++r) {
        const auto row = file.at(l.pixel_offset + static_cast<std::uint64_t>(r * stride), static_cast<std::size_t>(stride));
        if (!row)
            return false;
        const std::uint8_t* src = row->data();
        const std::size_t y = image_row(l, r);
        std::int32_t* dst = out.pixels.data() + y * static_cast<std::size_t>(l.width);
        convert_row(src, dst, l, out.colours, red, green, blue);
        out.row_read[y] = 1;
    }
    return rows == l.height;
}

// Run-length coded rows (RLE8, or RLE4 with two nibbles a byte); pixels
// and moves that would leave the picture are dropped. False when the data
// ended before the end-of-bitmap mark.
bool read_rle_rows(ByteSource& file, const Layout& l, DecodedImage& out)
{
    SourceCursor v(file, l.pixel_offset);
    // Pixels that no run reaches keep colour 0.
    std::fill(out.pixels.begin(), out.pixels.end(), 0);
    const bool four = l.bpp == 4;
    std::int64_t x = 0, row = 0;
    auto put = [&](int index) {
        if (x < l.width && row < l.height) {
            const std::size_t y = image_row(l, row);
            out.pixels[y * static_cast<std::size_t>(l.width) + static_cast<std::size_t>(x)] = out.colours[index];
            out.row_read[y] = 1;
        }
        ++x;
    };
    while (row < l.height) {
        const auto pair = v.bytes(2);
        if (!pair)
            return false;
        const int n = (*pair)[0], value = (*pair)[1];
        if (n > 0) {
            for (int i = 0; i < n && x < l.width; ++i)
                put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            const auto delta = v.bytes(2);
            if (!delta)
                return false;
            x += (*delta)[0];
            row += (*delta)[1];
        } else {
            const std::size_t bytes = four ? (static_cast<std::size_t>(value) + 1) / 2 : static_cast<std::size_t>(value);
            const auto literal = v.bytes(bytes + (bytes % 2));
            if (!literal)
                return false;
            for (int i = 0; i < value && x < l.width; ++i)
                put(four ? ((*literal)[i / 2] >> (i % 2 ? 0 : 4)) & 0xF : (*literal)[i]);
            x = std::min<std::int64_t>(x, l.width);
        }
    }
    return true;
}

void read_pixels(ByteSource& file, const Layout& l, DecodedImage& out)
{
    const bool rle = l.compression == bi_rle8 || l.compression == bi_rle4;
    const bool complete = rle ? read_rle_rows(file, l, out) : read_plain_rows(file, l, out);
    if (!complete) {
        out.error = image_error_damaged;
        out.partial = true;
    } else if (rle) {
        std::fill(out.row_read.begin(), out.row_read.end(), 1);
    }
}

// Checks the bit depth and compression pair; 0 or the error number.
int check_depth(int bpp, int compression)
{
    switch (compression) {
    case bi_rgb:
        return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32 ? 0 : image_error_unsupported;
    case bi_rle8:
        return bpp == 8 ? 0 : image_error_unsupported;
    case bi_rle4:
        return bpp == 4 ? 0 : image_error_unsupported;
    case bi_bitfields:
    case bi_alphabitfields:
        return bpp == 16 || bpp == 32 ? 0 : image_error_unsupported;
    default:
        return image_error_unsupported;
    }
}

void default_masks(Layout& l)
{
    if (l.bpp == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
    } else {
        l.masks[0] = 0xFF0000;
        l.masks[1] = 0x00FF00;
        l.masks[2] = 0x0000FF;
    }
}

// The file header and the information header; 0 or the error number.
int read_layout(ByteSource& file, Layout& l, std::uint32_t& header_size, std::uint32_t& colours_used)
{
    const auto magic = source_u16_le(file, 0);
    if (!magic || *magic != 0x4D42)
        return image_error_unsupported;
    const auto head = file.at(0, 54);
    if (!head)
        return image_error_damaged;
    MemorySource h(*head);
    header_size = *source_u32_le(h, 14);
    // OS/2 headers (12 and 16 bytes) have other field widths.
    if (header_size < 40)
        return image_error_unsupported;
    const auto width = static_cast<std::int32_t>(*source_u32_le(h, 18));
    const auto height = static_cast<std::int32_t>(*source_u32_le(h, 22));
    l.bpp = *source_u16_le(h, 28);
    l.compression = static_cast<int>(*source_u32_le(h, 30));
    colours_used = *source_u32_le(h, 46);
    l.top_down = height < 0;
    l.width = width;
    l.height = height < 0 ? -static_cast<std::int64_t>(height) : height;
    l.pixel_offset = *source_u32_le(h, 10);
    const std::uint64_t table_start = 14 + static_cast<std::uint64_t>(header_size);
    if (l.width < 1 || l.height < 1 || l.width > image_max_side || l.height > image_max_side ||
        table_start > file.size() || l.pixel_offset >= file.size())
        return image_error_damaged;
    if (const int e = check_depth(l.bpp, l.compression))
        return e;
    const bool rle = l.compression == bi_rle8 || l.compression == bi_rle4;
    return rle && l.top_down ? image_error_damaged : 0;
}

// The bit-field masks follow a 40-byte header and are part of longer ones:
// either way they start at file offset 54. False when the file ends first.
bool read_masks(ByteSource& file, Layout& l)
{
    default_masks(l);
    if (l.compression != bi_bitfields && l.compression != bi_alphabitfields)
        return true;
    const auto masks = file.at(54, 12);
    if (!masks)
        return false;
    MemorySource m(*masks);
    for (int i = 0; i < 3; ++i)
        l.masks[i] = *source_u32_le(m, 4 * static_cast<std::uint64_t>(i));
    return true;
}

} // namespace

DecodedImage bmp_decode(ByteSource& file)
{
    DecodedImage out;
    Layout l;
    std::uint32_t header_size = 0, colours_used = 0;
    if (const int e = read_layout(file, l, header_size, colours_used)) {
        out.fail(e);
        return out;
    }
    if (l.bpp > 8) {
        if (!read_masks(file, l)) {
            out.fail(image_error_damaged);
            return out;
        }
    } else {
        out.colour_count = 1 << l.bpp;
        std::uint64_t start = 14 + static_cast<std::uint64_t>(header_size);
        if (header_size == 40 && l.compression == bi_bitfields)
            start += 12;
        int entries = colours_used > 0 && colours_used < static_cast<std::uint32_t>(out.colour_count)
                          ? static_cast<int>(colours_used)
                          : out.colour_count;
        // A table reaching into the pixels is cut at the pixel-data offset.
        if (l.pixel_offset > start)
            entries = static_cast<int>(std::min<std::uint64_t>(entries, (l.pixel_offset - start) / 4));
        else
            entries = 0;
        if (!read_colour_table(file, start, entries, out)) {
            out.fail(image_error_damaged);
            return out;
        }
    }
    if (!out.allocate(l.width, l.height)) {
        out.fail(image_error_unsupported);
        return out;
    }
    read_pixels(file, l, out);
    return out;
}

DecodedImage icon_decode(ByteSource& file, bool transparency)
{
    DecodedImage out;
    const auto count = source_u16_le(file, 4);
    const auto directory = file.at(6, 16);
    if (!count || !directory || *count < 1) {
        out.fail(image_error_damaged);
        return out;
    }
    const std::array<std::uint8_t, 2> size{(*directory)[0], (*directory)[1]};
    const std::uint64_t image = *source_u32_le(file, 18);
    const auto header_size = source_u32_le(file, image);
    const auto bpp = source_u16_le(file, image + 14);
    const auto compression = source_u32_le(file, image + 16);
    if (!header_size || !bpp || !compression) {
        out.fail(image_error_damaged);
        return out;
    }
    // Newer icons may hold a PNG here; only bitmaps are read.
    if (*header_size < 40 || *compression != bi_rgb || check_depth(*bpp, bi_rgb) != 0) {
        out.fail(image_error_unsupported);
        return out;
    }
    Layout l;
    l.width = size[0] == 0 ? 256 : size[0];
    l.height = size[1] == 0 ? 256 : size[1];
    l.bpp = *bpp;
    std::uint64_t start = image + static_cast<std::uint64_t>(*header_size);
    if (l.bpp <= 8) {
        out.colour_count = 1 << l.bpp;
        if (!read_colour_table(file, start, out.colour_count, out)) {
            out.fail(image_error_damaged);
            return out;
        }
        start += 4 * static_cast<std::uint64_t>(out.colour_count);
    } else {
        default_masks(l);
    }
    if (start >= file.size()) {
        out.fail(image_error_damaged);
        return out;
    }
    l.pixel_offset = start;
    out.allocate(l.width, l.height);
    read_pixels(file, l, out);
    if (!transparency || out.error)
        return out;
    // The AND mask: one bit a pixel, bottom-up; a set bit is transparent.
    const std::int64_t stride = row_stride(l.width, 1);
    const std::uint64_t mask_start = start + static_cast<std::uint64_t>(row_stride(l.width, l.bpp) * l.height);
    for (std::int64_t r = 0; r < l.height; ++r) {
        const auto row = file.at(mask_start + static_cast<std::uint64_t>(r * stride), static_cast<std::size_t>(stride));
        if (!row) {
            out.error = image_error_damaged;
            out.partial = true;
            return out;
        }
        std::int32_t* dst = out.pixels.data() + image_row(l, r) * static_cast<std::size_t>(l.width);
        for (std::int64_t x = 0; x < l.width; ++x)
            if (((*row)[x / 8] >> (7 - x % 8)) & 1)
                dst[x] = static_cast<std::int32_t>(static_cast<std::uint32_t>(dst[x]) | 0xFF000000u);
    }
    return out;
}

} // namespace korv
