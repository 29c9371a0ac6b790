#include "core/output/file_commit.h"

namespace korv {

std::string directory_of(const std::string& name)
{
    const std::size_t end = name.find_last_of("\\/:");
    return end == std::string::npos ? std::string(".") : name.substr(0, end + 1);
}

CommitResult commit_file(const std::string& target, std::string_view bytes, const FileCommitOps& ops)
{
    std::string temporary;
    if (ops.make_temporary(directory_of(target), temporary)) {
        const CommitResult result = ops.write_new(temporary, bytes);
        if (result.status == CommitStatus::cannot_write) {
            ops.remove(temporary);
            return result;
        }
        if (result.ok() && ops.replace(temporary, target))
            return result;
        ops.remove(temporary);
    }
    return ops.write_in_place(target, bytes);
}

CommitResult commit_file(const std::string& target, std::string_view bytes)
{
    return commit_file(target, bytes, platform_file_commit_ops());
}

} // namespace korv
