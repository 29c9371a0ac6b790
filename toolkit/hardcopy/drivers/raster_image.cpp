// Driver 6: each page drawn into the raster device's bitmap and written at
// the page's end as a PNG, a plain or run-length BMP or a PCX image. The
// page size is in pixels; the resolution only scales pens and dashes.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "korvanthide/drawing.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "graphics/formats/image_decode.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/raster_device.h"
#include "hardcopy/output/output_units.h"

namespace korv {

namespace {

constexpr float image_resolution = 150.0f;

void put16(std::string& s, unsigned v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& s, std::uint32_t v)
{
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// Most significant byte first, as PNG wants its integers.
void hc_be32_put(std::string& s, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s += static_cast<char>((v >> shift) & 0xFF);
}

std::array<int, 3> rgb_of(std::int32_t rgb)
{
    std::array<int, 3> c{};
    gr_rgb_unpack(rgb, &c[0], &c[1], &c[2]);
    return c;
}

// The value a 4-bit pixel is written with: bits 0 and 2 of its planes
// exchanged, so that it indexes the 16-colour table.
std::uint32_t nibble(std::uint32_t stored) { return (stored & 0xA) | ((stored & 1) << 2) | ((stored >> 2) & 1); }

bool is_bmp(int type) { return type == 1 || type == 2; }

DriverDefaults image_defaults()
{
    DriverDefaults d = hc_raster_defaults(driver_raster_image);
    d.options = {{{option_page_width, 1024}, {option_page_height, 768}, {option_orientation, 0},
                  {option_colour_depth, 8}, {option_image_file_type, 3}}};
    d.resolution_x = d.resolution_y = 150;
    d.colour_count = d.colour_limit = 256;
    d.capability_flags = "00000111111111110010011111000";
    d.default_output_name = "radediva.png";
    return d;
}

class RasterImageDriver : public RasterDevice {
public:
    void open(DeviceParameters& p) override;
    void close(DeviceParameters& p) override;
    void end_page(DeviceParameters& p) override;

private:
    DriverDefaults defaults() const override { return image_defaults(); }
    bool run_length_ = false;

    // Pixel bytes of row y: one bit a pixel with the leftmost in the high
    // bit (of plane `plane` at 4 bits), two 4-bit pixels a byte, a byte a
    // pixel, or three bytes a pixel in the order given.
    std::string bits_row(int y, int plane) const;
    std::string nibble_row(int y) const;
    std::string byte_row(int y) const;
    std::string rgb_row(int y, bool bgr) const;
    std::string component_row(int y, int component) const;
    std::string png_row(int y) const;
    std::size_t png_row_bytes() const;
    char* png_row_into(int y, char* at) const;
    int compressed_rows(std::size_t row_bytes, std::span<char> out) const;

    void hc_raster_write_png();
    void hc_raster_write_bmp();
    void hc_raster_write_pcx();
    void hc_raster_fix_bmp_sizes();
};


void RasterImageDriver::open(DeviceParameters& p)
{
    if (p.phase > 0) {
        int bits = hc_option(option_colour_depth);
        if (bits != 1 && bits != 4 && bits != 24)
            bits = 8;
        *hardcopy_state().options.find(option_colour_inversion) = 0;
        page.bits = bits;
        page.planes = bits == 4 ? 4 : 1;
        const int pixels_per_word = bits == 8 ? 4 : bits == 24 ? 1 : 32;
        if (bits < 24)
            device_capabilities().hardcopy.true_colour = 0;
        page.clear_value = bits == 24 ? 0xFFFFFFu : 0u;
        page.resolution_x = page.resolution_y = image_resolution;
        page.width = std::max(1, hc_option(option_page_width));
        page.height = std::max(1, hc_option(option_page_height));
        // Short of memory the page gives up resolution: each failure takes
        // a tenth off its area, keeping its aspect.
        while (!page.allocate(pixels_per_word)) {
            const long long total = page.total_words;
            const long long limit = 9 * total / 10;
            if (total <= limit || (page.width <= 1 && page.height <= 1))
                break;
            err_report_current(err::page_too_large);
            const double f = std::sqrt(static_cast<double>(total) / static_cast<double>(std::max(limit, 1LL)));
            page.width = std::max(1, static_cast<int>(page.width / f));
            page.height = std::max(1, static_cast<int>(page.height / f));
        }
        if (!page.allocated()) {
            stop_page_too_large();
            return;
        }
        page.usable_words = page.total_words;
        const int type = hc_option(option_image_file_type);
        run_length_ = type == 2 && (bits == 4 || bits == 8);
    }
    open_page(p);
}

void RasterImageDriver::close(DeviceParameters& p)
{
    if (run_length_ && printer_plotter_settings().status_word == 0)
        hc_raster_fix_bmp_sizes();
    RasterDevice::close(p);
}

void RasterImageDriver::end_page(DeviceParameters& p)
{
    HardcopyState& hc = hardcopy_state();
    if (hc.page_drawn == 0 || !page.allocated())
        return;
    const int type = hc_option(option_image_file_type);
    if (is_bmp(type))
        hc_raster_write_bmp();
    else if (type == 3)
        hc_raster_write_png();
    else
        hc_raster_write_pcx();
    hc.page_drawn = 0;
    RasterDevice::clear(p);
}

std::string RasterImageDriver::bits_row(int y, int plane) const
{
    std::string row(static_cast<std::size_t>((page.width + 7) / 8), '\0');
    for (int x = 0; x < page.width; ++x)
        if ((page.value_at(x, y) >> plane & 1u) != 0)
            row[static_cast<std::size_t>(x / 8)] = static_cast<char>(row[static_cast<std::size_t>(x / 8)] | (0x80 >> (x % 8)));
    return row;
}

std::string RasterImageDriver::nibble_row(int y) const
{
    std::string row(static_cast<std::size_t>((page.width + 1) / 2), '\0');
    for (int x = 0; x < page.width; ++x) {
        const std::uint32_t v = nibble(page.value_at(x, y));
        char& b = row[static_cast<std::size_t>(x / 2)];
        b = static_cast<char>(b | (x % 2 == 0 ? v << 4 : v));
    }
    return row;
}

std::string RasterImageDriver::byte_row(int y) const
{
    std::string row(static_cast<std::size_t>(page.width), '\0');
    for (int x = 0; x < page.width; ++x)
        row[static_cast<std::size_t>(x)] = static_cast<char>(page.value_at(x, y));
    return row;
}

std::string RasterImageDriver::rgb_row(int y, bool bgr) const
{
    std::string row;
    row.reserve(static_cast<std::size_t>(page.width) * 3);
    for (int x = 0; x < page.width; ++x) {
        const std::uint32_t v = page.value_at(x, y);
        const char r = static_cast<char>(v & 0xFF), g = static_cast<char>((v >> 8) & 0xFF), b = static_cast<char>((v >> 16) & 0xFF);
        row += bgr ? b : r;
        row += g;
        row += bgr ? r : b;
    }
    return row;
}

std::string RasterImageDriver::component_row(int y, int component) const
{
    std::string row(static_cast<std::size_t>(page.width), '\0');
    for (int x = 0; x < page.width; ++x)
        row[static_cast<std::size_t>(x)] = static_cast<char>((page.value_at(x, y) >> (8 * component)) & 0xFF);
    return row;
}

std::string RasterImageDriver::png_row(int y) const
{
    switch (page.bits) {
    case 1: return bits_row(y, 0);
    case 4: return nibble_row(y);
    case 8: return byte_row(y);
    default: return rgb_row(y, false);
    }
}

void png_chunk(std::string& out, std::string_view type, std::string_view data)
{
    hc_be32_put(out, static_cast<std::uint32_t>(data.size()));
    std::string body(type);
    body.append(data);
    out.append(body);
    std::uint32_t crc = 0;
    img_png_crc_call(static_cast<int>(body.size()), crc,
                     std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(body.data()), body.size()));
    hc_be32_put(out, crc);
}

void RasterImageDriver::hc_raster_write_png()
{
    std::string header = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    hc_be32_put(ihdr, static_cast<std::uint32_t>(page.width));
    hc_be32_put(ihdr, static_cast<std::uint32_t>(page.height));
    ihdr += static_cast<char>(page.bits == 24 ? 8 : page.bits);
    ihdr += static_cast<char>(page.bits == 24 ? 2 : 3);
    ihdr.append(3, '\0');
    png_chunk(header, "IHDR", ihdr);
    hc_unit_write(plot_unit, header);

    if (page.bits != 24) {
        std::string palette;
        const int entries = page.bits == 1 ? 2 : page.bits == 4 ? 16 : 256;
        for (int i = 0; i < entries; ++i) {
            const std::int32_t rgb =
                page.bits == 1 ? (i == 0 ? 0xFFFFFF : 0) : page.bits == 4 ? gr_colour16_get(i) : gr_colour_table_get(i);
            for (int c : rgb_of(rgb))
                palette += static_cast<char>(c);
        }
        std::string chunk;
        png_chunk(chunk, "PLTE", palette);
        hc_unit_write(plot_unit, chunk);
    }

    // The rows are compressed as they are made, a batch at a time, with
    // zlib's own settings of its one-call function: the page's image data
    // is never held whole. The compressed data goes in one IDAT chunk.
    const std::size_t row_bytes = 1 + png_row_bytes();
    const std::size_t n = static_cast<std::size_t>(page.height) * row_bytes;
    const std::size_t room = n + n / 1000 + 22;
    std::vector<char, UninitialisedAllocator<char>> packed(room);
    const int length = compressed_rows(row_bytes, std::span<char>(packed.data(), room - 8));
    if (length <= 0) {
        printer_plotter_settings().status_word = -1;
        return;
    }
    std::string chunk;
    png_chunk(chunk, "IDAT", std::string_view(packed.data(), static_cast<std::size_t>(length)));
    png_chunk(chunk, "IEND", "");
    hc_unit_write(plot_unit, chunk);
}

// The PNG rows from the top, each its filter byte 0 and its bytes, through
// zlib's deflate into out; the compressed length, or 0 after reporting
// zlib's failure (1044 with its code).
int RasterImageDriver::compressed_rows(std::size_t row_bytes, std::span<char> out) const
{
    z_stream z{};
    int result = deflateInit(&z, Z_DEFAULT_COMPRESSION);
    const std::size_t batch = std::max<std::size_t>(1, (std::size_t{1} << 18) / row_bytes);
    std::vector<char> rows(batch * row_bytes);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(out.size(), 0xFFFFFFFFu));
    for (int y = page.last_row; y >= 0 && result == Z_OK;) {
        char* at = rows.data();
        for (std::size_t k = 0; k < batch && y >= 0; ++k, --y) {
            *at++ = '\0'; // no filter
            at = png_row_into(y, at);
        }
        z.next_in = reinterpret_cast<Bytef*>(rows.data());
        z.avail_in = static_cast<uInt>(at - rows.data());
        result = deflate(&z, y >= 0 ? Z_NO_FLUSH : Z_FINISH);
        if (result == Z_OK && z.avail_in != 0)
            result = Z_BUF_ERROR;
    }
    const int length = result == Z_STREAM_END ? static_cast<int>(z.total_out) : 0;
    deflateEnd(&z);
    if (result != Z_STREAM_END) {
        error_state().other_code = result;
        err_report_current(err::compression);
    }
    return length;
}

std::size_t RasterImageDriver::png_row_bytes() const
{
    const std::size_t w = static_cast<std::size_t>(page.width);
    switch (page.bits) {
    case 1: return (w + 7) / 8;
    case 4: return (w + 1) / 2;
    case 8: return w;
    default: return 3 * w;
    }
}

// Row y of a PNG, its bytes put at `at`; the end comes back. Byte and word
// storage are read straight from the page's words.
char* RasterImageDriver::png_row_into(int y, char* at) const
{
    const std::uint32_t* words = page.words.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(page.words_per_row);
    const std::size_t w = static_cast<std::size_t>(page.width);
    if (page.bits == 8 && page.storage == 3) {
        // Bytes lie in pixel order in each little-endian word.
        for (std::size_t x = 0; x < w; ++x)
            *at++ = static_cast<char>(words[x / 4] >> (8 * (x % 4)));
        return at;
    }
    if (page.bits == 24 && page.storage == 4) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t v = words[x];
            at[0] = static_cast<char>(v);
            at[1] = static_cast<char>(v >> 8);
            at[2] = static_cast<char>(v >> 16);
            at += 3;
        }
        return at;
    }
    const std::string row = png_row(y);
    return std::copy(row.begin(), row.end(), at);
}

void RasterImageDriver::hc_raster_write_bmp()
{
    const int bits = page.bits;
    const std::size_t row_bytes = bits == 1   ? static_cast<std::size_t>((page.width + 7) / 8)
                                  : bits == 4 ? static_cast<std::size_t>((page.width + 1) / 2)
                                  : bits == 8 ? static_cast<std::size_t>(page.width)
                                              : static_cast<std::size_t>(page.width) * 3;
    const std::size_t padded = (row_bytes + 3) / 4 * 4;
    const std::uint32_t palette_bytes = bits == 1 ? 8 : bits == 4 ? 64 : bits == 8 ? 1024 : 0;
    const int handle = hc_unit_handle(plot_unit);

    std::string header = "BM";
    put32(header, static_cast<std::uint32_t>(54 + palette_bytes + page.height * padded));
    put32(header, 0);
    put32(header, 54 + palette_bytes);
    put32(header, 40);
    put32(header, static_cast<std::uint32_t>(page.width));
    put32(header, static_cast<std::uint32_t>(page.height));
    put16(header, 1);
    put16(header, static_cast<unsigned>(bits));
    put32(header, run_length_ ? (bits == 8 ? 1 : 2) : 0);
    header.append(20, '\0');
    hc_write_record(handle, header, false);

    std::string palette;
    for (std::uint32_t i = 0; i < palette_bytes / 4; ++i) {
        const std::int32_t rgb =
            bits == 1 ? (i == 0 ? 0xFFFFFF : 0) : bits == 4 ? gr_colour16_get(static_cast<int>(i)) : gr_colour_table_get(static_cast<int>(i));
        const auto c = rgb_of(rgb);
        palette += static_cast<char>(c[2]);
        palette += static_cast<char>(c[1]);
        palette += static_cast<char>(c[0]);
        palette += '\0';
    }
    if (!palette.empty())
        hc_write_record(handle, palette, false);

    const int group_pixels = bits == 8 ? 4 : 8;
    const int run_limit = bits == 8 ? 251 : 247;
    for (int y = 0; y < page.height; ++y) {
        std::string row = bits == 1 ? bits_row(y, 0) : bits == 4 ? nibble_row(y) : bits == 8 ? byte_row(y) : rgb_row(y, true);
        if (!run_length_) {
            row.resize(padded, '\0');
            hc_write_record(handle, row, false);
        } else {
            // Whole groups of four bytes as runs or absolute groups; the
            // pixels of a short last group as runs, so that no padding
            // pixel is encoded into the next row's place.
            std::string out;
            std::size_t last_run = std::string::npos;
            const std::size_t whole = static_cast<std::size_t>(page.width / group_pixels) * 4;
            for (std::size_t i = 0; i < whole; i += 4) {
                const char b = row[i];
                if (row[i + 1] == b && row[i + 2] == b && row[i + 3] == b) {
                    if (last_run != std::string::npos && out[last_run + 1] == b &&
                        static_cast<unsigned char>(out[last_run]) < run_limit) {
                        out[last_run] = static_cast<char>(static_cast<unsigned char>(out[last_run]) + group_pixels);
                    } else {
                        last_run = out.size();
                        out += static_cast<char>(group_pixels);
                        out += b;
                    }
                } else {
                    last_run = std::string::npos;
                    out += '\0';
                    out += static_cast<char>(group_pixels);
                    out.append(row, i, 4);
                }
            }
            for (int x = static_cast<int>(whole) * group_pixels / 4; x < page.width;) {
                const int in_byte = bits == 8 ? 1 : std::min(2, page.width - x);
                out += static_cast<char>(in_byte);
                out += row[static_cast<std::size_t>(bits == 8 ? x : x / 2)];
                x += in_byte;
            }
            out.append("\0\0", 2);
            if (y == page.height - 1)
                out.append("\0\1", 2);
            hc_write_record(handle, out, false);
        }
        if (printer_plotter_settings().status_word != 0)
            return;
    }
}

// The sizes of a run-length file are known only once its last row is
// encoded; they are put right before the file takes its place.
void RasterImageDriver::hc_raster_fix_bmp_sizes()
{
    const std::size_t n = hc_unit_size(plot_unit);
    std::string size, image;
    put32(size, static_cast<std::uint32_t>(n));
    put32(image, static_cast<std::uint32_t>(n - 4 * (1u << page.bits) - 54));
    hc_unit_patch(plot_unit, 2, size);
    hc_unit_patch(plot_unit, 34, image);
}

// One PCX line written as one record: runs of up to 63 equal bytes as a
// count byte (0xC0 + n) and the byte; a single byte below 192 stands for
// itself.
void hc_pcx_encode_line(int handle, std::string_view line)
{
    std::string out;
    int previous = -1, count = 1;
    for (unsigned char f : line) {
        if (f == previous) {
            if (count == 63) {
                out += static_cast<char>(0xFF);
                out += static_cast<char>(previous);
                count = 1;
            } else {
                ++count;
            }
            continue;
        }
        if (count > 1 || previous >= 192) {
            out += static_cast<char>(0xC0 + count);
            out += static_cast<char>(previous);
        } else if (previous != -1) {
            out += static_cast<char>(previous);
        }
        previous = f;
        count = 1;
    }
    if (previous >= 0) {
        if (count == 1 && previous < 192) {
            out += static_cast<char>(previous);
        } else {
            out += static_cast<char>(0xC0 + count);
            out += static_cast<char>(previous);
        }
    }
    hc_write_record(handle, out, false);
}

void RasterImageDriver::hc_raster_write_pcx()
{
    const int bits = page.bits;
    std::size_t line_bytes = bits >= 8 ? static_cast<std::size_t>(page.width) : static_cast<std::size_t>((page.width + 7) / 8);
    line_bytes += line_bytes % 2;
    const int handle = hc_unit_handle(plot_unit);
    std::string header;
    header += static_cast<char>(10);
    header += static_cast<char>(bits == 1 ? 3 : 5);
    header += static_cast<char>(1);
    header += static_cast<char>(bits >= 8 ? 8 : 1);
    put16(header, 0);
    put16(header, 0);
    put16(header, static_cast<unsigned>(page.width - 1));
    put16(header, static_cast<unsigned>(page.height - 1));
    put16(header, 75);
    put16(header, 75);
    for (int i = 0; i < 16; ++i)
        for (int c : rgb_of(bits == 4 ? gr_colour16_get(i) : 0))
            header += static_cast<char>(c);
    header += '\0';
    header += static_cast<char>(bits == 24 ? 3 : bits == 4 ? 4 : 1);
    put16(header, static_cast<unsigned>(line_bytes));
    put16(header, 0);
    put16(header, static_cast<unsigned>(line_bytes));
    put16(header, static_cast<unsigned>(page.height));
    header.resize(128, '\0');
    hc_write_record(handle, header, false);

    const auto line = [&](std::string bytes) {
        bytes.resize(line_bytes, '\0');
        hc_pcx_encode_line(handle, bytes);
    };
    for (int y = page.last_row; y >= 0; --y) {
        switch (bits) {
        case 1: {
            // Set bits are white in a one-plane PCX file.
            std::string row = bits_row(y, 0);
            for (char& b : row)
                b = static_cast<char>(~b);
            line(row);
            break;
        }
        case 4:
            for (int plane : {2, 1, 0, 3})
                line(bits_row(y, plane));
            break;
        case 8:
            line(byte_row(y));
            break;
        default:
            for (int component = 0; component < 3; ++component)
                line(component_row(y, component));
            break;
        }
        if (printer_plotter_settings().status_word != 0)
            return;
    }
    if (bits == 8) {
        std::string palette(1, static_cast<char>(12));
        for (int i = 0; i < 256; ++i)
            for (int c : rgb_of(gr_colour_table_get(i)))
                palette += static_cast<char>(c);
        hc_write_record(handle, palette, false);
    }
}

} // namespace

Device& hc_raster_image()
{
    return toolkit_context().record<RasterImageDriver>(ContextSlot::raster_image_driver);
}

} // namespace korv
