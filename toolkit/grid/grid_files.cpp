#include "grid/grid_files.h"

#include "korvanthide/error_numbers.h"
#include "core/context.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace korv {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t chunk = 65000;

GridFileResult result_of(const CommitResult& r)
{
    if (r.ok())
        return {};
    return {r.status == CommitStatus::cannot_open ? err::file_open : err::file_read_write, r.system_code};
}

} // namespace

const FileCommitOps*& grid_file_commit_ops()
{
    return toolkit_context().record<const FileCommitOps*>(ContextSlot::grid_file_commit);
}

GridFileResult grid_file_read(const std::string& path, std::string& bytes)
{
    bytes.clear();
    errno = 0;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return {err::file_open, static_cast<unsigned long>(errno)};
    std::string buffer(chunk, '\0');
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
        bytes.append(buffer.data(), got);
        if (got < buffer.size())
            break;
    }
    if (std::ferror(file.get()))
        return {err::file_read_write, static_cast<unsigned long>(errno != 0 ? errno : EIO)};
    return {};
}

GridFileResult GridFileReader::open(const std::string& path)
{
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    result_ = file_ ? GridFileResult{} : GridFileResult{err::file_open, static_cast<unsigned long>(errno)};
    return result_;
}

long GridFileReader::read(char* into, std::size_t count)
{
    auto* f = static_cast<std::FILE*>(file_);
    if (!f || result_.error != 0)
        return -1;
    errno = 0;
    const std::size_t got = std::fread(into, 1, count, f);
    if (got < count && std::ferror(f)) {
        result_ = {err::file_read_write, static_cast<unsigned long>(errno != 0 ? errno : EIO)};
        return -1;
    }
    return static_cast<long>(got);
}

bool GridFileReader::rewind()
{
    auto* f = static_cast<std::FILE*>(file_);
    if (!f || std::fseek(f, 0, SEEK_SET) != 0) {
        result_ = {err::file_read_write, static_cast<unsigned long>(errno != 0 ? errno : EIO)};
        return false;
    }
    return true;
}

GridFileReader::~GridFileReader()
{
    if (file_)
        std::fclose(static_cast<std::FILE*>(file_));
}

GridFileResult grid_file_commit(const std::string& path, std::string_view bytes, bool backup)
{
    const FileCommitOps& ops = grid_file_commit_ops() ? *grid_file_commit_ops() : platform_file_commit_ops();
    if (backup) {
        std::string previous;
        if (grid_file_read(path, previous).error == 0) {
            const GridFileResult copied = result_of(commit_file(path + ".bak", previous, ops));
            if (copied.error != 0)
                return copied;
        }
    }
    return result_of(commit_file(path, bytes, ops));
}

} // namespace korv
