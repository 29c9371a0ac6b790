// The file calls of a commit on POSIX systems, where the native tests run.
#include "core/context.h"
#include "core/output/file_commit.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace korv {

namespace {

// A few attempts are enough: a name is only taken when another process
// made the same one at the same moment.
constexpr int temporary_attempts = 100;

bool make_temporary(const std::string& directory, std::string& name)
{
    unsigned& counter = toolkit_context().record<unsigned>(ContextSlot::temporary_names);
    for (int i = 0; i < temporary_attempts; ++i) {
        std::string candidate = directory;
        if (candidate.back() != '/')
            candidate += '/';
        candidate += "kvt" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".tmp";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            close(fd);
            name = std::move(candidate);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

CommitResult write_all(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            const unsigned long code = done < 0 ? static_cast<unsigned long>(errno) : ENOSPC;
            close(fd);
            return {CommitStatus::cannot_write, code};
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    if (close(fd) != 0)
        return {CommitStatus::cannot_write, static_cast<unsigned long>(errno)};
    return {};
}

CommitResult write_new(const std::string& name, std::string_view bytes)
{
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return {CommitStatus::cannot_open, static_cast<unsigned long>(errno)};
    return write_all(fd, bytes);
}

bool replace(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void remove_file(const std::string& name) { std::remove(name.c_str()); }

const FileCommitOps posix_ops{make_temporary, write_new, replace, remove_file, write_new};

} // namespace

const FileCommitOps& platform_file_commit_ops() { return posix_ops; }

} // namespace korv
