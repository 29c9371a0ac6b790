// The file calls of the image readers in the platform-free tree: POSIX
// files, failures reported under the names and numbers of the toolkit's
// byte-level file routines, as on Windows.
#include "graphics/formats/byte_source.h"
#include "core/context.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvanthide/errors.h"

namespace korv {
namespace {

void report(int number, int code, std::string_view routine)
{
    error_state().file_code = code;
    error_state().detail_category = 2;
    err_report(number, routine);
}

bool exists(std::string_view name)
{
    struct stat st {};
    return stat(std::string(name).c_str(), &st) == 0;
}

void open_quiet(std::string_view name, int& handle, int& code)
{
    handle = ::open(std::string(name).c_str(), O_RDONLY);
    code = handle == -1 ? errno : 0;
    struct stat st {};
    // A folder is not a file to read.
    if (handle != -1 && (fstat(handle, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(handle);
        handle = -1;
        code = EISDIR;
    }
}

std::int64_t length_quiet(int handle, int& code)
{
    const off_t end = lseek(handle, 0, SEEK_END);
    code = end < 0 ? errno : 0;
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

bool seek_quiet(int handle, std::uint64_t offset, int& code)
{
    const bool ok = lseek(handle, static_cast<off_t>(offset), SEEK_SET) >= 0;
    code = ok ? 0 : errno;
    return ok;
}

int read_quiet(int handle, std::span<std::uint8_t> into, int& code)
{
    const ssize_t got = ::read(handle, into.data(), std::min<std::size_t>(into.size(), INT_MAX));
    code = got < 0 ? errno : 0;
    return got < 0 ? -1 : static_cast<int>(got);
}

void close_file(int handle) { ::close(handle); }

void open_reporting(std::string_view name, int& handle, int& code)
{
    open_quiet(name, handle, code);
    if (handle == -1)
        report(err::file_open, code, "IFileOpen");
}

std::int64_t length_reporting(int handle, int& code)
{
    const std::int64_t length = length_quiet(handle, code);
    if (length < 0)
        report(err::file_read_write, code, "IFileSeek");
    return length;
}

bool seek_reporting(int handle, std::uint64_t offset, int& code)
{
    const bool ok = seek_quiet(handle, offset, code);
    if (!ok)
        report(err::file_read_write, code, "IFileSeek");
    return ok;
}

int read_reporting(int handle, std::span<std::uint8_t> into, int& code)
{
    const int got = read_quiet(handle, into, code);
    if (got < 0)
        report(err::file_read_write, code, "IFileReadChar");
    return got;
}

} // namespace

FileReadOps& file_read_ops()
{
    return toolkit_context().record<FileReadOps>(ContextSlot::file_read, [] {
        return FileReadOps{exists, open_reporting, length_reporting, seek_reporting, read_reporting, close_file};
    });
}

const FileReadOps& file_read_ops_quiet()
{
    static const FileReadOps ops{exists, open_quiet, length_quiet, seek_quiet, read_quiet, close_file};
    return ops;
}

} // namespace korv
