// A bounded reader over bytes that came from outside (files, resources,
// the clipboard). Every image reader, grid file reader and driver that
// parses bytes goes through it: a read past the end gives no value
// (std::nullopt), leaves the position where it was and marks the cursor as
// failed, so a truncated file is an error the caller sees, never a crash
// and never a silent 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korv {

class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(data == nullptr ? 0 : size) {}
    explicit ByteCursor(std::string_view bytes) : ByteCursor(bytes.data(), bytes.size()) {}
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : ByteCursor(bytes.data(), bytes.size()) {}

    std::size_t size() const { return size_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }
    bool at_end() const { return pos_ == size_; }
    // True once any read, skip or seek has been refused.
    bool failed() const { return failed_; }

    // Moves to an absolute offset; the end itself is a valid place.
    bool seek(std::size_t offset);
    bool skip(std::size_t count);

    std::optional<std::uint8_t> u8();
    std::optional<std::uint8_t> peek_u8() const;
    std::optional<std::uint16_t> u16_le();
    std::optional<std::uint16_t> u16_be();
    std::optional<std::uint32_t> u32_le();
    std::optional<std::uint32_t> u32_be();
    std::optional<std::int16_t> i16_le();
    std::optional<std::int16_t> i16_be();
    std::optional<std::int32_t> i32_le();
    std::optional<std::int32_t> i32_be();

    // The next `count` bytes, in place.
    std::optional<std::span<const std::uint8_t>> bytes(std::size_t count);
    // The same bytes as text (for signatures, names and tags).
    std::optional<std::string_view> text(std::size_t count);
    // A cursor over the next `count` bytes alone (a chunk or record), which
    // this cursor steps over.
    std::optional<ByteCursor> take(std::size_t count);

private:
    // Steps over the next `count` bytes, pointing `at` to them; false (and
    // failed) when fewer remain.
    bool claim(std::size_t count, const std::uint8_t*& at);
    template <typename T> std::optional<T> unsigned_le(std::size_t width);
    template <typename T> std::optional<T> unsigned_be(std::size_t width);

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

// The code of one character of a file's bytes, 0..255: the byte read as
// unsigned, whatever the signedness of `char`.
inline int hc_char_code(char c) { return static_cast<unsigned char>(c); }

} // namespace korv
