// Runs the start-up probe in a child process with a chosen environment and
// current directory, and reads back its report.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace startup_test {

// A fresh directory under the temporary directory, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // ends in "\"
    // Writes a file in the directory (name relative to it) and gives its path.
    std::string write(const std::string& name, const std::string& content) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
};

// Variables the start-up reads; an empty value leaves the variable unset.
using Environment = std::map<std::string, std::string>;

struct ProbeResult {
    DWORD exit_code = 0;
    std::map<std::string, std::string> report;  // empty when none was written
};

// Starts the probe with args in dir and returns its process; the caller
// waits. The variables start-up reads are removed from the inherited
// environment and those given are set.
PROCESS_INFORMATION start_probe(const TempDir& dir, const Environment& env,
                                const std::string& args);
// Runs the probe to its end (args after the report file).
ProbeResult run_probe(const TempDir& dir, const Environment& env, const std::string& args = "");

} // namespace startup_test
