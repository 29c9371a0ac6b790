#include "graphics/formats/byte_cursor.h"

namespace korv {

bool ByteCursor::claim(std::size_t count, const std::uint8_t*& at)
{
    if (count > remaining()) {
        failed_ = true;
        return false;
    }
    at = data_ == nullptr ? nullptr : data_ + pos_;
    pos_ += count;
    return true;
}

bool ByteCursor::seek(std::size_t offset)
{
    if (offset > size_) {
        failed_ = true;
        return false;
    }
    pos_ = offset;
    return true;
}

bool ByteCursor::skip(std::size_t count)
{
    const std::uint8_t* at = nullptr;
    return claim(count, at);
}

std::optional<std::uint8_t> ByteCursor::u8()
{
    const std::uint8_t* at = nullptr;
    if (!claim(1, at))
        return std::nullopt;
    return *at;
}

std::optional<std::uint8_t> ByteCursor::peek_u8() const
{
    if (at_end())
        return std::nullopt;
    return data_[pos_];
}

template <typename T> std::optional<T> ByteCursor::unsigned_le(std::size_t width)
{
    const std::uint8_t* at = nullptr;
    if (!claim(width, at))
        return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = width; i-- > 0;)
        v = (v << 8) | at[i];
    return static_cast<T>(v);
}

template <typename T> std::optional<T> ByteCursor::unsigned_be(std::size_t width)
{
    const std::uint8_t* at = nullptr;
    if (!claim(width, at))
        return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v = (v << 8) | at[i];
    return static_cast<T>(v);
}

std::optional<std::uint16_t> ByteCursor::u16_le() { return unsigned_le<std::uint16_t>(2); }
std::optional<std::uint16_t> ByteCursor::u16_be() { return unsigned_be<std::uint16_t>(2); }
std::optional<std::uint32_t> ByteCursor::u32_le() { return unsigned_le<std::uint32_t>(4); }
std::optional<std::uint32_t> ByteCursor::u32_be() { return unsigned_be<std::uint32_t>(4); }

// Conversion of an out-of-range unsigned value to a signed type wraps
// (two's complement) since C++20.
std::optional<std::int16_t> ByteCursor::i16_le() { return unsigned_le<std::int16_t>(2); }
std::optional<std::int16_t> ByteCursor::i16_be() { return unsigned_be<std::int16_t>(2); }
std::optional<std::int32_t> ByteCursor::i32_le() { return unsigned_le<std::int32_t>(4); }
std::optional<std::int32_t> ByteCursor::i32_be() { return unsigned_be<std::int32_t>(4); }

std::optional<std::span<const std::uint8_t>> ByteCursor::bytes(std::size_t count)
{
    const std::uint8_t* at = nullptr;
    if (!claim(count, at))
        return std::nullopt;
    return std::span<const std::uint8_t>(at, count);
}

std::optional<std::string_view> ByteCursor::text(std::size_t count)
{
    const std::uint8_t* at = nullptr;
    if (!claim(count, at))
        return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(at), count);
}

std::optional<ByteCursor> ByteCursor::take(std::size_t count)
{
    const std::uint8_t* at = nullptr;
    if (!claim(count, at))
        return std::nullopt;
    return ByteCursor(at, count);
}

} // namespace korv
