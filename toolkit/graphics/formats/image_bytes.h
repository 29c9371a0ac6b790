// Reads at a given offset of a file held in memory, through the checked
// byte cursor: nothing when the value does not fit in the file.
#pragma once

#include <optional>
#include <span>

#include "graphics/formats/byte_cursor.h"

namespace korv::file_at {

inline ByteCursor cursor(std::span<const std::uint8_t> file, std::size_t offset)
{
    ByteCursor c(file);
    if (!c.seek(offset))
        c = ByteCursor(file.data(), 0);
    return c;
}
inline std::optional<std::span<const std::uint8_t>> bytes(std::span<const std::uint8_t> f, std::size_t o, std::size_t n)
{
    return cursor(f, o).bytes(n);
}
inline std::optional<std::uint8_t> u8(std::span<const std::uint8_t> f, std::size_t o) { return cursor(f, o).u8(); }
inline std::optional<std::uint16_t> u16_le(std::span<const std::uint8_t> f, std::size_t o)
{
    return cursor(f, o).u16_le();
}
inline std::optional<std::uint16_t> u16_be(std::span<const std::uint8_t> f, std::size_t o)
{
    return cursor(f, o).u16_be();
}
inline std::optional<std::uint32_t> u32_le(std::span<const std::uint8_t> f, std::size_t o)
{
    return cursor(f, o).u32_le();
}
inline std::optional<std::uint32_t> u32_be(std::span<const std::uint8_t> f, std::size_t o)
{
    return cursor(f, o).u32_be();
}
inline std::optional<std::int32_t> i32_le(std::span<const std::uint8_t> f, std::size_t o)
{
    return cursor(f, o).i32_le();
}

} // namespace korv::file_at
