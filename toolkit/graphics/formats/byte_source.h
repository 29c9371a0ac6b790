// Where the image readers take their bytes from: a file held in memory, or
// an open file read a piece at a time through a set of file calls, so that
// learning what a 2 GB file is reads a few hundred bytes of it. Both give
// the same bounded view: a read past the end gives nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace korv {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    std::uint64_t size() const { return size_; }
    // The count bytes at offset, valid until the next call; nothing when
    // they reach past the end or cannot be read.
    virtual std::optional<std::span<const std::uint8_t>> at(std::uint64_t offset, std::size_t count) = 0;
    // True once a read of bytes inside the file has failed.
    bool failed() const { return failed_; }

protected:
    std::uint64_t size_ = 0;
    bool failed_ = false;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) { size_ = bytes.size(); }
    std::optional<std::span<const std::uint8_t>> at(std::uint64_t offset, std::size_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// The calls a file source reads through. The reporting set is the
// toolkit's byte-level file routines (each failure reported under the
// routine's own name); the quiet set reports nothing and hands back the
// system's error code. handle -1 means no file.
struct FileReadOps {
    bool (*exists)(std::string_view name);
    void (*open)(std::string_view name, int& handle, int& code);
    // The file's length, -1 when it cannot be learnt.
    std::int64_t (*length)(int handle, int& code);
    bool (*seek)(int handle, std::uint64_t offset, int& code);
    // Bytes read (0 at the end), -1 on failure.
    int (*read)(int handle, std::span<std::uint8_t> into, int& code);
    void (*close)(int handle);
};

// The platform's two sets. Tests may put their own in place of the
// reporting one, to count what is read.
const FileReadOps& file_read_ops_quiet();
FileReadOps& file_read_ops();

// The bytes of one open file, read through a window of at most
// window_size bytes (a larger request is read whole). Each read of the
// window takes twice the bytes of the one before, from first_read on: a
// look at a file's head reads little, a walk through it reads in large
// pieces. Closes the file when it goes.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t window_size = 40000;

    // Opens the file (name as given: the caller trims it). open_code is
    // the system code of a failed open, read_code that of the last failed
    // read or seek.
    FileSource(const FileReadOps& ops, std::string_view name, std::size_t first_read = window_size);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool is_open() const { return handle_ != -1; }
    int open_code() const { return open_code_; }
    int read_code() const { return read_code_; }
    std::optional<std::span<const std::uint8_t>> at(std::uint64_t offset, std::size_t count) override;

private:
    bool fill(std::uint64_t offset, std::size_t count);

    const FileReadOps& ops_;
    int handle_ = -1;
    int open_code_ = 0, read_code_ = 0;
    std::vector<std::uint8_t> window_;
    std::uint64_t window_offset_ = 0;
    std::size_t window_length_ = 0;
    // Where the file's own position is; the window moves with a seek only
    // when it must.
    std::uint64_t position_ = 0;
    std::size_t next_read_;
};

// Sequential reading over a source: the walks through whole files (CGM
// elements, PIC opcodes, run-length data) step through it a piece at a
// time.
class SourceCursor {
public:
    explicit SourceCursor(ByteSource& source, std::uint64_t offset = 0) : source_(source), pos_(offset) {}
    std::uint64_t position() const { return pos_; }
    bool at_end() const { return pos_ >= source_.size(); }
    void seek(std::uint64_t offset) { pos_ = offset; }
    // Steps over count bytes; false when that passes the end.
    bool skip(std::uint64_t count);
    std::optional<std::span<const std::uint8_t>> bytes(std::size_t count);
    std::optional<std::uint8_t> u8();
    std::optional<std::uint16_t> u16_be();

private:
    ByteSource& source_;
    std::uint64_t pos_;
};

// Little- and big-endian values at an offset of a source.
std::optional<std::uint8_t> source_u8(ByteSource& s, std::uint64_t offset);
std::optional<std::uint16_t> source_u16_le(ByteSource& s, std::uint64_t offset);
std::optional<std::uint32_t> source_u32_le(ByteSource& s, std::uint64_t offset);
std::optional<std::uint32_t> source_u32_be(ByteSource& s, std::uint64_t offset);

} // namespace korv
