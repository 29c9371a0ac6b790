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
// Writes the bytes to path; with backup, a target that exists is first
// copied to path + ".bak".
GridFileResult grid_file_commit(const std::string& path, std::string_view bytes, bool backup = false);

// The file calls that saves use; tests put their own in to reach the
// failure paths.
const FileCommitOps*& grid_file_commit_ops();

} // namespace korv
