// Decoders of BMP, PCX, PNG, icon and cursor files, and the PNG helpers
// that the writers share. No Windows here: the decoders read through a
// byte source, an open file or bytes held in memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <span>
#include <utility>
#include <vector>

#include "graphics/formats/byte_source.h"
#include "korvanthide/error_numbers.h"

namespace korv {

// Error numbers the decoders give (the catalogue's texts).
inline constexpr int image_error_damaged = err::file_read_write; // damaged or cut short
inline constexpr int image_error_unsupported = err::image_format; // not a format or variant read here
inline constexpr int image_error_zlib = err::compression;         // the compressed data is damaged

// Largest picture read: sides up to 65535 and at most 2^26 pixels.
inline constexpr std::int64_t image_max_side = 65535;
inline constexpr std::int64_t image_max_pixels = std::int64_t{1} << 26;

// Memory for pictures, from the platform: large blocks where the system
// can give them in large pages, so that a picture of 64 MB is not written
// through 16,000 page faults. Throws std::bad_alloc.
void* image_memory_allocate(std::size_t bytes);
void image_memory_free(void* block, std::size_t bytes) noexcept;

// An allocator that leaves new elements uninitialised: a large picture is
// written once by its decoder instead of being cleared first. Every decoder
// writes each pixel of a row before it marks the row as read.
template <class T> struct UninitialisedAllocator : std::allocator<T> {
    using value_type = T;
    UninitialisedAllocator() = default;
    template <class U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U> struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    T* allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(image_memory_allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { image_memory_free(p, n * sizeof(T)); }
};
using PixelBuffer = std::vector<std::int32_t, UninitialisedAllocator<std::int32_t>>;

struct DecodedImage {
    int width = 0, height = 0;
    // Packed RGB (red + 256 green + 65536 blue), top row first; with the
    // transparency option the top byte is 255 for an invisible pixel. Only
    // the rows marked in row_read hold pixels; with none of them read there
    // may be no pixels at all.
    PixelBuffer pixels;
    // Which rows hold decoded pixels: all of them unless the file ended
    // early (error 2 with partial set).
    std::vector<std::uint8_t> row_read;
    // The image's colour table (entries the file does not give are 0) and
    // how many colours it has (0 for true colour).
    std::array<std::int32_t, 256> colours{};
    int colour_count = 0;
    int error = 0;
    // With error 2: the file ended early and the rows read so far are kept.
    // Otherwise an error leaves no pixels.
    bool partial = false;

    void fail(int number)
    {
        error = number;
        partial = false;
        pixels.clear();
        row_read.clear();
    }
    // Sets the size; the pixels are made now, or (with_pixels false) by
    // the decoder once the first row has come.
    bool allocate(std::int64_t w, std::int64_t h, bool with_pixels = true);
};

// Format codes of IGrFileInfo that image_decode reads.
inline constexpr int image_format_bmp = 1, image_format_pcx = 2, image_format_png = 15, image_format_icon = 17,
                     image_format_cursor = 18;

// Decodes a file of the given format code (any other code: 27). The
// transparency option fills the top bytes from a PNG's alpha or an icon's
// mask.
DecodedImage image_decode(ByteSource& file, int format, bool transparency);
DecodedImage bmp_decode(ByteSource& file);
DecodedImage icon_decode(ByteSource& file, bool transparency);
DecodedImage pcx_decode(ByteSource& file);
DecodedImage png_decode(ByteSource& file, bool transparency);

// The same on a file held in memory.
inline DecodedImage image_decode(std::span<const std::uint8_t> file, int format, bool transparency)
{
    MemorySource source(file);
    return image_decode(source, format, transparency);
}
inline DecodedImage bmp_decode(std::span<const std::uint8_t> file)
{
    MemorySource source(file);
    return bmp_decode(source);
}
inline DecodedImage icon_decode(std::span<const std::uint8_t> file, bool transparency)
{
    MemorySource source(file);
    return icon_decode(source, transparency);
}
inline DecodedImage pcx_decode(std::span<const std::uint8_t> file)
{
    MemorySource source(file);
    return pcx_decode(source);
}
inline DecodedImage png_decode(std::span<const std::uint8_t> file, bool transparency)
{
    MemorySource source(file);
    return png_decode(source, transparency);
}

// PNG helpers.
std::uint32_t img_be32_read(std::span<const std::uint8_t, 4> bytes);
void img_be32_write(std::uint32_t value, std::span<std::uint8_t, 4> bytes);
int img_png_tag_equal(std::span<const std::uint8_t, 4> bytes, const char (&tag)[5]);
std::uint32_t img_png_crc32(std::span<const std::uint8_t> bytes);
// Continues a CRC over more bytes: crc is the value returned so far.
std::uint32_t img_png_crc32_more(std::uint32_t crc, std::span<const std::uint8_t> bytes);
// The same by reference, as the drivers call them: the CRC of the first
// length bytes (at most all of them), and the filters of rows.
void img_png_crc_call(int length, std::uint32_t& result, std::span<const std::uint8_t> bytes);
void img_png_unfilter_call(int row_length, int row_count, int bytes_per_pixel, std::span<std::uint8_t> rows);
// Reverses the PNG row filters in place; each row is its filter byte and
// row_length - 1 data bytes. Rows that do not fit in rows are left alone.
void img_png_unfilter(std::span<std::uint8_t> rows, int row_length, int row_count, int bytes_per_pixel);
// Reverses the filter of one row (its filter byte and row_length - 1 data
// bytes) against the row above it, or none for the first row.
void img_png_unfilter_row(std::uint8_t* row, const std::uint8_t* above, std::size_t row_length, int bytes_per_pixel);

} // namespace korv
