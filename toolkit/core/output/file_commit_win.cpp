// The file calls of a commit on Windows.
#include <windows.h>

#include "core/output/file_commit.h"

namespace korv {

namespace {

bool make_temporary(const std::string& directory, std::string& name)
{
    char temporary[MAX_PATH] = {};
    if (GetTempFileNameA(directory.c_str(), "kvt", 0, temporary) == 0)
        return false;
    name = temporary;
    return true;
}

// Writes everything and closes the file; a failed close is a failed write
// (the last buffered bytes may not have reached the disk).
CommitResult write_and_close(HANDLE file, std::string_view bytes)
{
    CommitResult result;
    while (!bytes.empty()) {
        // WriteFile takes a 32-bit count.
        const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            result = {CommitStatus::cannot_write, GetLastError()};
            break;
        }
        if (written == 0) {
            result = {CommitStatus::cannot_write, ERROR_DISK_FULL};
            break;
        }
        bytes.remove_prefix(written);
    }
    if (!CloseHandle(file) && result.ok())
        result = {CommitStatus::cannot_write, GetLastError()};
    return result;
}

CommitResult write_new(const std::string& name, std::string_view bytes)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {CommitStatus::cannot_open, GetLastError()};
    return write_and_close(file, bytes);
}

bool replace(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

void remove_file(const std::string& name) { DeleteFileA(name.c_str()); }

// A file that cannot be created afresh (hidden or system files refuse
// CREATE_ALWAYS) may still be opened and cut.
CommitResult write_in_place(const std::string& name, std::string_view bytes)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        // The old content goes before anything is written: a file that
        // cannot be cut is left as it was.
        if (file != INVALID_HANDLE_VALUE && !SetEndOfFile(file)) {
            const DWORD code = GetLastError();
            CloseHandle(file);
            return {CommitStatus::cannot_write, code};
        }
    }
    if (file == INVALID_HANDLE_VALUE)
        return {CommitStatus::cannot_open, GetLastError()};
    return write_and_close(file, bytes);
}

const FileCommitOps win_ops{make_temporary, write_new, replace, remove_file, write_in_place};

} // namespace

const FileCommitOps& platform_file_commit_ops() { return win_ops; }

} // namespace korv
