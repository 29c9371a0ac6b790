// PCX files: run-length coded scan lines of one to three planes; 1-bit,
// 4-plane 16-colour, 8-bit with the 256-colour palette at the end, and
// 24-bit as three 8-bit planes.
#include "graphics/formats/byte_source.h"
#include "graphics/formats/image_decode.h"

namespace korv {
namespace {

constexpr std::size_t header_size = 128;
constexpr std::size_t palette_size = 769; // the marker 12 and 256 entries

// The run-length coded data of the scan lines, read in blocks.
class LineDecoder {
public:
    LineDecoder(ByteSource& file, std::uint64_t start, std::uint64_t end) : file_(file), next_(start), end_(end) {}
    // Fills line; false when the data ended first.
    bool next(std::span<std::uint8_t> line);
    // The next byte; false at the end of the data.
    bool next_byte(std::uint8_t& b)
    {
        if (pos_ >= block_.size() && !refill())
            return false;
        b = block_[pos_++];
        return true;
    }

private:
    bool refill()
    {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(FileSource::window_size, end_ - next_));
        const auto b = n > 0 ? file_.at(next_, n) : std::nullopt;
        if (!b)
            return false;
        block_ = *b;
        pos_ = 0;
        next_ += n;
        return true;
    }

    ByteSource& file_;
    std::uint64_t next_, end_;
    std::span<const std::uint8_t> block_;
    std::size_t pos_ = 0;
};

// One run: a byte below 192 stands for itself; a byte of 192 or more gives
// the count in its low six bits and the value in the next byte. False when
// the data ends first.
bool img_pcx_run_read(std::uint8_t& value, std::size_t& count, LineDecoder& file)
{
    if (!file.next_byte(value))
        return false;
    count = 1;
    if (value < 0xC0)
        return true;
    count = value & 0x3F;
    return file.next_byte(value);
}

// Runs never reach into the next scan line: what a run holds beyond the
// line's end is dropped.
bool LineDecoder::next(std::span<std::uint8_t> line)
{
    std::size_t i = 0;
    while (i < line.size()) {
        std::uint8_t value = 0;
        std::size_t count = 0;
        if (!img_pcx_run_read(value, count, *this))
            return false;
        for (; count > 0 && i < line.size(); --count)
            line[i++] = value;
    }
    return true;
}

} // namespace

DecodedImage pcx_decode(ByteSource& file)
{
    DecodedImage out;
    std::array<std::uint8_t, header_size> h{};
    if (const auto header = file.at(0, header_size)) {
        std::copy(header->begin(), header->end(), h.begin());
    } else {
        out.fail(image_error_damaged);
        return out;
    }
    const auto le16 = [&h](std::size_t at) { return std::int64_t{h[at]} | std::int64_t{h[at + 1]} << 8; };
    if (h[0] != 10 || h[2] != 1) {
        out.fail(image_error_unsupported);
        return out;
    }
    const int bits = h[3], planes = h[65];
    const std::int64_t width = le16(8) - le16(4) + 1;
    const std::int64_t height = le16(10) - le16(6) + 1;
    const std::int64_t bytes_per_line = le16(66);
    const int depth = bits * planes;
    const bool known = (bits == 1 && (planes == 1 || planes == 4)) || (bits == 8 && (planes == 1 || planes == 3));
    if (!known) {
        out.fail(image_error_unsupported);
        return out;
    }
    if (width < 1 || height < 1 || bytes_per_line < (width * bits + 7) / 8) {
        out.fail(image_error_damaged);
        return out;
    }
    std::uint64_t data_end = file.size();
    if (depth == 1) {
        out.colour_count = 2;
        out.colours[0] = 0;
        out.colours[1] = 0xFFFFFF;
    } else if (depth == 4) {
        out.colour_count = 16;
        for (int i = 0; i < 16; ++i)
            out.colours[i] = h[16 + 3 * i] | h[17 + 3 * i] << 8 | h[18 + 3 * i] << 16;
    } else if (depth == 8) {
        out.colour_count = 256;
        const auto palette = file.size() >= header_size + palette_size
                                 ? file.at(file.size() - palette_size, palette_size)
                                 : std::nullopt;
        if (!palette || (*palette)[0] != 12) {
            out.fail(image_error_damaged);
            return out;
        }
        for (int i = 0; i < 256; ++i)
            out.colours[i] = (*palette)[3 * i + 1] | (*palette)[3 * i + 2] << 8 | (*palette)[3 * i + 3] << 16;
        data_end -= palette_size;
    }
    if (!out.allocate(width, height)) {
        out.fail(width > image_max_side || height > image_max_side ? image_error_damaged : image_error_unsupported);
        return out;
    }
    LineDecoder decoder(file, header_size, data_end);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(bytes_per_line * planes));
    const std::size_t bpl = static_cast<std::size_t>(bytes_per_line);
    for (std::int64_t y = 0; y < height; ++y) {
        if (!decoder.next(line)) {
            out.error = image_error_damaged;
            out.partial = true;
            return out;
        }
        std::int32_t* dst = out.pixels.data() + static_cast<std::size_t>(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            const std::size_t byte = static_cast<std::size_t>(x / 8);
            const int bit = 7 - static_cast<int>(x % 8);
            switch (depth) {
            case 1:
                dst[x] = out.colours[(line[byte] >> bit) & 1];
                break;
            case 4: {
                int index = 0;
                for (int k = 0; k < 4; ++k)
                    index |= ((line[k * bpl + byte] >> bit) & 1) << k;
                dst[x] = out.colours[index];
                break;
            }
            case 8:
                dst[x] = out.colours[line[static_cast<std::size_t>(x)]];
                break;
            default:
                dst[x] = line[static_cast<std::size_t>(x)] | line[bpl + static_cast<std::size_t>(x)] << 8 |
                         line[2 * bpl + static_cast<std::size_t>(x)] << 16;
                break;
            }
        }
        out.row_read[static_cast<std::size_t>(y)] = 1;
    }
    return out;
}

} // namespace korv
