// Committing a finished file: the bytes go to a new file beside the target,
// which then replaces it, so that a failed write never leaves half a file
// in place of a good one. Only when no file can be made beside the target
// (a folder that refuses new files) is the target itself emptied and
// written.
#pragma once

#include <string>
#include <string_view>

namespace korv {

enum class CommitStatus { written, cannot_open, cannot_write };

struct CommitResult {
    CommitStatus status = CommitStatus::written;
    // The operating system's error code of the failure (GetLastError on
    // Windows, errno elsewhere); 0 when written.
    unsigned long system_code = 0;

    bool ok() const { return status == CommitStatus::written; }
};

CommitResult commit_file(const std::string& target, std::string_view bytes);

// The file calls a commit makes; each platform supplies one set. Tests may
// pass their own to reach the failure paths.
struct FileCommitOps {
    // Makes a new empty file in `directory` and gives its name.
    bool (*make_temporary)(const std::string& directory, std::string& name);
    // Creates or overwrites `name` with the bytes.
    CommitResult (*write_new)(const std::string& name, std::string_view bytes);
    // Puts `from` in place of `to`, replacing it.
    bool (*replace)(const std::string& from, const std::string& to);
    void (*remove)(const std::string& name);
    // Writes the bytes into `name` itself, also where it cannot be created
    // afresh (an existing file is cut first; one that cannot be cut is left
    // as it was and the write fails).
    CommitResult (*write_in_place)(const std::string& name, std::string_view bytes);
};

const FileCommitOps& platform_file_commit_ops();
CommitResult commit_file(const std::string& target, std::string_view bytes, const FileCommitOps& ops);

// The folder part of a file name, with its separator, or "." when it has
// none.
std::string directory_of(const std::string& name);

} // namespace korv
