#include "graphics/formats/byte_source.h"

#include <algorithm>

namespace korv {

std::optional<std::span<const std::uint8_t>> MemorySource::at(std::uint64_t offset, std::size_t count)
{
    if (offset > size_ || count > size_ - offset)
        return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), count);
}

FileSource::FileSource(const FileReadOps& ops, std::string_view name, std::size_t first_read)
    : ops_(ops), next_read_(std::clamp<std::size_t>(first_read, 1, window_size))
{
    ops_.open(name, handle_, open_code_);
    if (handle_ == -1)
        return;
    const std::int64_t length = ops_.length(handle_, read_code_);
    if (length < 0) {
        failed_ = true;
        return;
    }
    size_ = static_cast<std::uint64_t>(length);
    position_ = size_;
}

FileSource::~FileSource()
{
    if (handle_ != -1)
        ops_.close(handle_);
}

bool FileSource::fill(std::uint64_t offset, std::size_t count)
{
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, next_read_), size_ - offset));
    next_read_ = std::min(next_read_ * 2, window_size);
    window_length_ = 0;
    window_offset_ = offset;
    if (window_.size() < wanted)
        window_.resize(wanted);
    if (offset != position_) {
        if (!ops_.seek(handle_, offset, read_code_)) {
            failed_ = true;
            return false;
        }
        position_ = offset;
    }
    while (window_length_ < wanted) {
        const int got = ops_.read(handle_, std::span(window_).subspan(window_length_, wanted - window_length_),
                                  read_code_);
        if (got < 0) {
            failed_ = true;
            // Where the file stands after a failed read is not known.
            position_ = ~std::uint64_t{0};
            return false;
        }
        if (got == 0)
            break;
        window_length_ += static_cast<std::size_t>(got);
        position_ += static_cast<std::uint64_t>(got);
    }
    return window_length_ >= count;
}

std::optional<std::span<const std::uint8_t>> FileSource::at(std::uint64_t offset, std::size_t count)
{
    if (handle_ == -1 || offset > size_ || count > size_ - offset)
        return std::nullopt;
    const bool inside = offset >= window_offset_ && offset - window_offset_ <= window_length_ &&
                        count <= window_length_ - (offset - window_offset_);
    if (!inside && !fill(offset, count))
        return std::nullopt;
    return std::span<const std::uint8_t>(window_).subspan(static_cast<std::size_t>(offset - window_offset_), count);
}

bool SourceCursor::skip(std::uint64_t count)
{
    if (pos_ > source_.size() || count > source_.size() - pos_)
        return false;
    pos_ += count;
    return true;
}

std::optional<std::span<const std::uint8_t>> SourceCursor::bytes(std::size_t count)
{
    const auto b = source_.at(pos_, count);
    if (b)
        pos_ += count;
    return b;
}

std::optional<std::uint8_t> SourceCursor::u8()
{
    const auto b = bytes(1);
    return b ? std::optional<std::uint8_t>((*b)[0]) : std::nullopt;
}

std::optional<std::uint16_t> SourceCursor::u16_be()
{
    const auto b = bytes(2);
    return b ? std::optional<std::uint16_t>(static_cast<std::uint16_t>((*b)[0] << 8 | (*b)[1])) : std::nullopt;
}

std::optional<std::uint8_t> source_u8(ByteSource& s, std::uint64_t offset)
{
    const auto b = s.at(offset, 1);
    return b ? std::optional<std::uint8_t>((*b)[0]) : std::nullopt;
}

std::optional<std::uint16_t> source_u16_le(ByteSource& s, std::uint64_t offset)
{
    const auto b = s.at(offset, 2);
    return b ? std::optional<std::uint16_t>(static_cast<std::uint16_t>((*b)[0] | (*b)[1] << 8)) : std::nullopt;
}

std::optional<std::uint32_t> source_u32_le(ByteSource& s, std::uint64_t offset)
{
    const auto b = s.at(offset, 4);
    if (!b)
        return std::nullopt;
    return std::uint32_t{(*b)[0]} | std::uint32_t{(*b)[1]} << 8 | std::uint32_t{(*b)[2]} << 16 |
           std::uint32_t{(*b)[3]} << 24;
}

std::optional<std::uint32_t> source_u32_be(ByteSource& s, std::uint64_t offset)
{
    const auto b = s.at(offset, 4);
    if (!b)
        return std::nullopt;
    return std::uint32_t{(*b)[0]} << 24 | std::uint32_t{(*b)[1]} << 16 | std::uint32_t{(*b)[2]} << 8 |
           std::uint32_t{(*b)[3]};
}

} // namespace korv
