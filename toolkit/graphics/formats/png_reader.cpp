// PNG reader (ISO/IEC 15948): palette, truecolour and truecolour with alpha,
// not interlaced. The image data is inflated chunk by chunk straight into
// the row buffer, so no second copy of the compressed stream is kept.
#include "graphics/formats/image_bytes.h"
#include "graphics/formats/image_decode.h"

#include <zlib.h>

#include <cstring>

namespace korv {
namespace {

constexpr std::uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Header {
    std::int64_t width = 0, height = 0;
    int depth = 0, colour_type = 0;
    int bytes_per_pixel = 0; // for the filters: at least 1
    int sample_bytes = 1;    // bytes per sample of truecolour pixels
    std::int64_t row_bytes = 0; // filter byte included
};

bool depth_valid(int colour_type, int depth)
{
    if (colour_type == 3)
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    return depth == 8 || depth == 16;
}

// Reads IHDR; 0 or the error number.
int read_header(std::span<const std::uint8_t> file, Header& h)
{
    const auto sig = file_at::bytes(file, 0, 8);
    if (!sig || std::memcmp(sig->data(), png_signature, 8) != 0)
        return image_error_unsupported;
    const auto length = file_at::u32_be(file, 8);
    const auto tag = file_at::bytes(file, 12, 4);
    if (!length || !tag || file.size() < 33)
        return image_error_damaged;
    if (*length != 13 || !img_png_tag_equal(tag->first<4>(), "IHDR"))
        return image_error_unsupported;
    h.width = *file_at::u32_be(file, 16);
    h.height = *file_at::u32_be(file, 20);
    h.depth = *file_at::u8(file, 24);
    h.colour_type = *file_at::u8(file, 25);
    const int compression = *file_at::u8(file, 26), filter = *file_at::u8(file, 27), interlace = *file_at::u8(file, 28);
    if (h.colour_type != 2 && h.colour_type != 3 && h.colour_type != 6)
        return image_error_unsupported;
    if (!depth_valid(h.colour_type, h.depth) || compression != 0 || filter != 0 || interlace != 0)
        return image_error_unsupported;
    if (h.width < 1 || h.height < 1 || h.width > image_max_side || h.height > image_max_side)
        return image_error_damaged;
    if (h.width * h.height > image_max_pixels)
        return image_error_unsupported;
    if (h.colour_type == 3) {
        h.bytes_per_pixel = 1;
        h.row_bytes = (h.width * h.depth + 7) / 8 + 1;
    } else {
        h.sample_bytes = h.depth / 8;
        h.bytes_per_pixel = (h.colour_type == 2 ? 3 : 4) * h.sample_bytes;
        h.row_bytes = h.bytes_per_pixel * h.width + 1;
    }
    return 0;
}

// zlib's inflate over the IDAT chunks, writing into the row buffer.
class Inflater {
public:
    explicit Inflater(std::vector<std::uint8_t>& rows) : rows_(rows)
    {
        ok_ = inflateInit(&z_) == Z_OK;
        z_.next_out = rows_.data();
        z_.avail_out = static_cast<uInt>(rows_.size());
    }
    ~Inflater()
    {
        if (ok_)
            inflateEnd(&z_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // False on damaged data.
    bool feed(std::span<const std::uint8_t> data)
    {
        if (!ok_)
            return false;
        if (ended_ || z_.avail_out == 0)
            return true;
        z_.next_in = const_cast<Bytef*>(data.data());
        z_.avail_in = static_cast<uInt>(data.size());
        while (z_.avail_in > 0 && z_.avail_out > 0) {
            const int r = inflate(&z_, Z_NO_FLUSH);
            if (r == Z_STREAM_END) {
                ended_ = true;
                break;
            }
            if (r == Z_BUF_ERROR)
                break;
            if (r != Z_OK)
                return false;
        }
        return true;
    }
    std::size_t produced() const { return rows_.size() - z_.avail_out; }

private:
    std::vector<std::uint8_t>& rows_;
    z_stream z_{};
    bool ok_ = false;
    bool ended_ = false;
};

void convert_row(const Header& h, const std::uint8_t* row, const std::array<std::int32_t, 256>& colours,
                 bool transparency, std::int32_t* out)
{
    const std::int64_t w = h.width;
    if (h.colour_type == 3) {
        if (h.depth == 8) {
            for (std::int64_t x = 0; x < w; ++x)
                out[x] = colours[row[x]];
            return;
        }
        const int per_byte = 8 / h.depth;
        const int mask = (1 << h.depth) - 1;
        for (std::int64_t x = 0; x < w; ++x) {
            const int shift = 8 - h.depth * (static_cast<int>(x % per_byte) + 1);
            out[x] = colours[(row[x / per_byte] >> shift) & mask];
        }
        return;
    }
    const int s = h.sample_bytes, step = h.bytes_per_pixel;
    const bool alpha = transparency && h.colour_type == 6;
    for (std::int64_t x = 0; x < w; ++x, row += step) {
        std::uint32_t v = row[0] | row[s] << 8 | static_cast<std::uint32_t>(row[2 * s]) << 16;
        if (alpha)
            v |= static_cast<std::uint32_t>(255 - row[3 * s]) << 24;
        out[x] = static_cast<std::int32_t>(v);
    }
}

} // namespace

DecodedImage png_decode(std::span<const std::uint8_t> file, bool transparency)
{
    DecodedImage out;
    Header h;
    if (const int e = read_header(file, h)) {
        out.fail(e);
        return out;
    }
    if (h.colour_type == 3)
        out.colour_count = 1 << h.depth;
    const std::int64_t image_bytes = h.row_bytes * h.height;
    const std::int64_t capacity = image_bytes + 22 + image_bytes / 1000;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(image_bytes));
    if (!out.allocate(h.width, h.height)) {
        out.fail(image_error_unsupported);
        return out;
    }
    Inflater inflater(rows);
    std::int64_t compressed = 0;
    bool ended = false, cut = false;
    ByteCursor v = file_at::cursor(file, 33);
    while (!ended) {
        const auto length = file_at::u32_be(file, v.position());
        const auto tag = file_at::bytes(file, v.position() + 4, 4);
        if (!length || !tag) {
            cut = true;
            break;
        }
        if (*length > 0x7FFFFFFFu) {
            out.fail(image_error_damaged);
            return out;
        }
        v.skip(8);
        const auto data = *v.bytes(std::min<std::size_t>(*length, v.remaining()));
        cut = data.size() < *length;
        const auto name = tag->first<4>();
        if (img_png_tag_equal(name, "IDAT")) {
            compressed += *length;
            if (compressed > capacity) {
                out.fail(image_error_damaged);
                return out;
            }
            if (!inflater.feed(data)) {
                out.fail(image_error_zlib);
                return out;
            }
        } else if (img_png_tag_equal(name, "PLTE")) {
            // Only the first 256 entries count; the rest is skipped.
            const std::size_t entries = std::min<std::size_t>(data.size() / 3, 256);
            for (std::size_t i = 0; i < entries; ++i)
                out.colours[i] = data[3 * i] | data[3 * i + 1] << 8 | data[3 * i + 2] << 16;
        } else if (img_png_tag_equal(name, "IEND")) {
            ended = true;
        }
        if (cut || !v.skip(4)) {
            cut = true;
            break;
        }
    }
    const std::int64_t complete = std::min<std::int64_t>(static_cast<std::int64_t>(inflater.produced()) / h.row_bytes,
                                                         h.height);
    img_png_unfilter(rows, static_cast<int>(h.row_bytes), static_cast<int>(complete), h.bytes_per_pixel);
    for (std::int64_t r = 0; r < complete; ++r) {
        convert_row(h, rows.data() + r * h.row_bytes + 1, out.colours, transparency,
                    out.pixels.data() + r * h.width);
        out.row_read[static_cast<std::size_t>(r)] = 1;
    }
    if (cut || !ended || complete < h.height) {
        out.error = image_error_damaged;
        out.partial = true;
    }
    return out;
}

} // namespace korv
