// PNG reader (ISO/IEC 15948): palette, truecolour and truecolour with alpha,
// not interlaced. The image data is inflated chunk by chunk into a few rows
// at a time; each row is unfiltered against the one before and turned into
// pixels at once, so what a file costs grows with the data it really holds.
#include "graphics/formats/byte_source.h"
#include "graphics/formats/image_decode.h"

#include <zlib.h>

#include <algorithm>
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
int read_header(ByteSource& file, Header& h)
{
    const auto sig = file.at(0, 8);
    if (!sig || std::memcmp(sig->data(), png_signature, 8) != 0)
        return image_error_unsupported;
    const auto head = file.at(0, 33);
    if (!head)
        return image_error_damaged;
    MemorySource b(*head);
    if (*source_u32_be(b, 8) != 13 || !img_png_tag_equal(head->subspan(12).first<4>(), "IHDR"))
        return image_error_unsupported;
    h.width = *source_u32_be(b, 16);
    h.height = *source_u32_be(b, 20);
    h.depth = (*head)[24];
    h.colour_type = (*head)[25];
    const int compression = (*head)[26], filter = (*head)[27], interlace = (*head)[28];
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


// The rows as zlib inflates them: a buffer of a few rows after the last
// complete row before them, which the next row's filters read.
class RowStream {
public:
    RowStream(const Header& h, DecodedImage& out, bool transparency) : h_(h), out_(out), transparency_(transparency)
    {
        const std::size_t row = static_cast<std::size_t>(h.row_bytes);
        // Enough rows to make each inflate call worth it, at least two.
        batch_ = std::max<std::size_t>(2, (std::size_t{1} << 16) / row);
        batch_ = std::min<std::size_t>(batch_, static_cast<std::size_t>(h.height));
        buffer_.resize(row * (batch_ + 1));
        ok_ = inflateInit(&z_) == Z_OK;
    }
    ~RowStream()
    {
        if (ok_)
            inflateEnd(&z_);
    }
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    // False on damaged data; data after the last row is ignored.
    bool feed(std::span<const std::uint8_t> data)
    {
        if (!ok_)
            return false;
        z_.next_in = const_cast<Bytef*>(data.data());
        z_.avail_in = static_cast<uInt>(data.size());
        const std::size_t row = static_cast<std::size_t>(h_.row_bytes);
        while (z_.avail_in > 0 && !ended_ && rows_done_ < h_.height) {
            std::uint8_t* space = buffer_.data() + row + filled_;
            z_.next_out = space;
            z_.avail_out = static_cast<uInt>(row * batch_ - filled_);
            const int r = inflate(&z_, Z_NO_FLUSH);
            filled_ += static_cast<std::size_t>(z_.next_out - space);
            if (r == Z_STREAM_END)
                ended_ = true;
            else if (r != Z_OK && r != Z_BUF_ERROR)
                return false;
            take_rows();
            if (r == Z_BUF_ERROR)
                break;
        }
        return true;
    }
    std::int64_t rows_done() const { return rows_done_; }

private:
    void take_rows()
    {
        const std::size_t row = static_cast<std::size_t>(h_.row_bytes);
        const std::size_t complete = std::min<std::size_t>(filled_ / row, static_cast<std::size_t>(h_.height - rows_done_));
        if (complete == 0)
            return;
        // The picture is made once its first row has come.
        if (out_.pixels.empty())
            out_.pixels.resize(static_cast<std::size_t>(h_.width) * static_cast<std::size_t>(h_.height));
        std::uint8_t* first = buffer_.data() + row;
        for (std::size_t i = 0; i < complete; ++i) {
            std::uint8_t* r = first + i * row;
            img_png_unfilter_row(r, rows_done_ > 0 ? r - row : nullptr, row, h_.bytes_per_pixel);
            convert_row(h_, r + 1, out_.colours, transparency_,
                        out_.pixels.data() + static_cast<std::size_t>(rows_done_) * static_cast<std::size_t>(h_.width));
            out_.row_read[static_cast<std::size_t>(rows_done_)] = 1;
            ++rows_done_;
        }
        // The last complete row goes before the buffer, the rest of the
        // data to its start.
        std::memmove(buffer_.data(), first + (complete - 1) * row, row);
        filled_ -= complete * row;
        std::memmove(first, first + complete * row, filled_);
    }

    const Header& h_;
    DecodedImage& out_;
    bool transparency_;
    std::vector<std::uint8_t> buffer_;
    std::size_t batch_ = 2, filled_ = 0;
    std::int64_t rows_done_ = 0;
    z_stream z_{};
    bool ok_ = false, ended_ = false;
};

} // namespace

DecodedImage png_decode(ByteSource& file, bool transparency)
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
    if (!out.allocate(h.width, h.height, false)) {
        out.fail(image_error_unsupported);
        return out;
    }
    RowStream rows(h, out, transparency);
    std::int64_t compressed = 0;
    bool ended = false, cut = false;
    std::uint64_t at = 33;
    while (!ended) {
        const auto head = file.at(at, 8);
        if (!head) {
            cut = true;
            break;
        }
        const std::uint32_t length = img_be32_read(head->first<4>());
        std::array<std::uint8_t, 4> name{};
        std::copy_n(head->begin() + 4, 4, name.begin());
        if (length > 0x7FFFFFFFu) {
            out.fail(image_error_damaged);
            return out;
        }
        const std::uint64_t data = at + 8;
        const std::uint64_t present = std::min<std::uint64_t>(length, file.size() - std::min(file.size(), data));
        cut = present < length;
        if (img_png_tag_equal(name, "IDAT")) {
            compressed += length;
            if (compressed > capacity) {
                out.fail(image_error_damaged);
                return out;
            }
            // Fed in window-sized pieces, as the file is read.
            for (std::uint64_t done = 0; done < present;) {
                const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(present - done, FileSource::window_size));
                const auto piece = file.at(data + done, n);
                if (!piece) {
                    cut = true;
                    break;
                }
                if (!rows.feed(*piece)) {
                    out.fail(image_error_zlib);
                    return out;
                }
                done += n;
            }
        } else if (img_png_tag_equal(name, "PLTE")) {
            // Only the first 256 entries count; the rest is skipped.
            const std::size_t entries = static_cast<std::size_t>(std::min<std::uint64_t>(present / 3, 256));
            const auto table = file.at(data, entries * 3);
            if (table)
                for (std::size_t i = 0; i < entries; ++i)
                    out.colours[i] = (*table)[3 * i] | (*table)[3 * i + 1] << 8 | (*table)[3 * i + 2] << 16;
        } else if (img_png_tag_equal(name, "IEND")) {
            ended = true;
        }
        if (cut || data + length + 4 > file.size()) {
            cut = true;
            break;
        }
        at = data + length + 4;
    }
    if (cut || !ended || rows.rows_done() < h.height) {
        out.error = image_error_damaged;
        out.partial = true;
    }
    return out;
}

} // namespace korv
