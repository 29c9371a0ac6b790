// PCX files: run-length coded scan lines of one to three planes; 1-bit,
// 4-plane 16-colour, 8-bit with the 256-colour palette at the end, and
// 24-bit as three 8-bit planes.
#include "graphics/formats/image_bytes.h"
#include "graphics/formats/image_decode.h"

namespace korv {
namespace {

constexpr std::size_t header_size = 128;
constexpr std::size_t palette_size = 769; // the marker 12 and 256 entries

// The run-length decoder: a byte with both top bits set repeats the next
// byte (its low six bits) times; any other byte stands for itself. Runs
// never reach into the next scan line.
class LineDecoder {
public:
    explicit LineDecoder(std::span<const std::uint8_t> data) : data_(data) {}
    // Fills line; false when the data ended first.
    bool next(std::span<std::uint8_t> line)
    {
        std::size_t i = 0;
        while (i < line.size()) {
            if (pos_ >= data_.size())
                return false;
            std::uint8_t b = data_[pos_++];
            std::size_t count = 1;
            if (b >= 0xC0) {
                count = b & 0x3F;
                if (pos_ >= data_.size())
                    return false;
                b = data_[pos_++];
            }
            for (; count > 0 && i < line.size(); --count)
                line[i++] = b;
        }
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

} // namespace

DecodedImage pcx_decode(std::span<const std::uint8_t> file)
{
    DecodedImage out;
    const auto header = file_at::bytes(file, 0, header_size);
    if (!header) {
        out.fail(image_error_damaged);
        return out;
    }
    const auto& h = *header;
    if (h[0] != 10 || h[2] != 1) {
        out.fail(image_error_unsupported);
        return out;
    }
    const int bits = h[3], planes = h[65];
    const std::int64_t width = std::int64_t{*file_at::u16_le(file, 8)} - *file_at::u16_le(file, 4) + 1;
    const std::int64_t height = std::int64_t{*file_at::u16_le(file, 10)} - *file_at::u16_le(file, 6) + 1;
    const std::int64_t bytes_per_line = *file_at::u16_le(file, 66);
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
    std::span<const std::uint8_t> data = file_at::bytes(file, header_size, file.size() - header_size).value();
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
        if (file.size() < header_size + palette_size || file[file.size() - palette_size] != 12) {
            out.fail(image_error_damaged);
            return out;
        }
        const auto palette = file.subspan(file.size() - palette_size + 1);
        for (int i = 0; i < 256; ++i)
            out.colours[i] = palette[3 * i] | palette[3 * i + 1] << 8 | palette[3 * i + 2] << 16;
        data = data.first(data.size() - palette_size);
    }
    if (!out.allocate(width, height)) {
        out.fail(width > image_max_side || height > image_max_side ? image_error_damaged : image_error_unsupported);
        return out;
    }
    LineDecoder decoder(data);
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
