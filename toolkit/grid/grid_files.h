// Whole-file reading and commit-last writing for the grid's files: a save
// goes to a new file beside the target that replaces it only when every
// byte is written, so a failed save leaves the old file intact.
#pragma once

#include "core/output/file_commit.h"

#include <string>
#include <string_view>

namespace korv {

struct GridFileResult {
    int error = 0;            // 0, 1 (cannot open or create) or 2 (cannot read, write or replace)
    unsigned long os_code = 0; // the system's error code
};

// Reads the whole file, in chunks.
GridFileResult grid_file_read(const std::string& path, std::string& bytes);
// A file read a buffer at a time.
class GridFileReader {
public:
    GridFileResult open(const std::string& path);
    // Up to count bytes: the number read, 0 at the end, -1 on a failed read
    // (result() then tells it).
    long read(char* into, std::size_t count);
    // Back to the file's first byte.
    bool rewind();
    const GridFileResult& result() const { return result_; }
    ~GridFileReader();

private:
    void* file_ = nullptr;
    GridFileResult result_;
};

// Writes the bytes to path; with backup, a target that exists is first
// copied to path + ".bak".
GridFileResult grid_file_commit(const std::string& path, std::string_view bytes, bool backup = false);

// The file calls that saves use; tests put their own in to reach the
// failure paths.
const FileCommitOps*& grid_file_commit_ops();

} // namespace korv
