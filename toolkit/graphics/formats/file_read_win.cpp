// The file calls of the image readers on Windows: the toolkit's byte-level
// file routines, and beneath them the quiet system calls for the drawing
// routine, which hands its failures back as statuses.
#include "graphics/formats/byte_source.h"
#include "core/context.h"

#include <algorithm>
#include <climits>

#include "korvanthide/errors.h"
#include "korvanthide/files.h"

namespace korv {
namespace {

bool exists(std::string_view name)
{
    FileInfo info;
    sys_file_info(info, name);
    return info.size != -1;
}

void open_reporting(std::string_view name, int& handle, int& code)
{
    IFileOpen(name, 0, handle);
    code = handle == -1 ? error_state().file_code : 0;
}

// Positions beyond 2 GB are reached in steps, as the routines take 32-bit
// offsets; the length of such a file comes back as its low 32 bits.
std::int64_t length_reporting(int handle, int& code)
{
    int offset = 0;
    IFileSeek(handle, offset, 2);
    code = offset == -1 ? error_state().file_code : 0;
    return offset == -1 ? -1 : static_cast<std::int64_t>(static_cast<std::uint32_t>(offset));
}

bool seek_reporting(int handle, std::uint64_t offset, int& code)
{
    int origin = 0;
    do {
        int step = static_cast<int>(std::min<std::uint64_t>(offset, INT_MAX));
        IFileSeek(handle, step, origin);
        if (step == -1) {
            code = error_state().file_code;
            return false;
        }
        offset -= std::min<std::uint64_t>(offset, INT_MAX);
        origin = 1;
    } while (offset > 0);
    return true;
}

int read_reporting(int handle, std::span<std::uint8_t> into, int& code)
{
    int got = 0;
    const int count = static_cast<int>(std::min<std::size_t>(into.size(), INT_MAX));
    IFileReadChar(handle, std::span<unsigned char>(into.data(), into.size()), count, got);
    code = got < 0 ? error_state().file_code : 0;
    return got;
}

void open_quiet(std::string_view name, int& handle, int& code) { sys_file_open(name, 0, handle, code); }

std::int64_t length_quiet(int handle, int& code)
{
    int offset = 0;
    sys_file_seek(handle, offset, 2, code);
    return code != 0 ? -1 : static_cast<std::int64_t>(static_cast<std::uint32_t>(offset));
}

bool seek_quiet(int handle, std::uint64_t offset, int& code)
{
    int origin = 0;
    do {
        int step = static_cast<int>(std::min<std::uint64_t>(offset, INT_MAX));
        sys_file_seek(handle, step, origin, code);
        if (code != 0)
            return false;
        offset -= std::min<std::uint64_t>(offset, INT_MAX);
        origin = 1;
    } while (offset > 0);
    return true;
}

int read_quiet(int handle, std::span<std::uint8_t> into, int& code)
{
    int got = 0;
    sys_file_read(handle, std::as_writable_bytes(into.first(std::min<std::size_t>(into.size(), INT_MAX))), got, code);
    return code != 0 ? -1 : got;
}

} // namespace

FileReadOps& file_read_ops()
{
    return toolkit_context().record<FileReadOps>(ContextSlot::file_read, [] {
        return FileReadOps{exists, open_reporting, length_reporting, seek_reporting, read_reporting, IFileCloseHandle};
    });
}

const FileReadOps& file_read_ops_quiet()
{
    static const FileReadOps ops{exists, open_quiet, length_quiet, seek_quiet, read_quiet, sys_file_close};
    return ops;
}

} // namespace korv
