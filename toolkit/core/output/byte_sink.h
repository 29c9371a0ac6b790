// Where a writer puts a file's bytes: drivers, save routines and the
// editor fill a ByteSink in memory, then commit it in one step (see
// file_commit.h), so a failure half-way never replaces a good file.
// Numbers go in without the locale's help (see number_format.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/output/file_commit.h"

namespace korv {

class ByteSink {
public:
    void put(std::string_view bytes) { bytes_.append(bytes); }
    void put(const void* data, std::size_t count) { bytes_.append(static_cast<const char*>(data), count); }
    void put_u8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void put_u16_le(std::uint16_t value);
    void put_u16_be(std::uint16_t value);
    void put_u32_le(std::uint32_t value);
    void put_u32_be(std::uint32_t value);
    // A text line ended by CR LF, as every text format here is written.
    void put_line(std::string_view text);

    // Numbers as text, locale-free.
    void put_int(long long value);
    void put_fixed(double value, int decimals);
    void put_real(double value, int max_decimals = 6);

    const std::string& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    void clear() { bytes_.clear(); }

    // Writes everything put so far to `target` (through a file beside it).
    CommitResult commit(const std::string& target) const { return commit_file(target, bytes_); }

private:
    void put_unsigned(std::uint32_t value, std::size_t width, bool big_endian);

    std::string bytes_;
};

} // namespace korv
