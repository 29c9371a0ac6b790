// Shared by the Windows tests of the file and process services: every test
// runs in a fresh directory of its own under the temporary directory, with
// the error state cleared.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "korvanthide/errors.h"

namespace osfiles_test {

std::string read_whole(const std::string& name);
void write_whole(const std::string& name, const std::string& bytes);
bool exists(const std::string& name);
// The program's own directory, where the child program is built beside it.
std::string program_directory();
// The debug log of this run, and whether its last report is line (a report
// is one line ending CR LF, though a system text may hold a line end too).
std::string debug_log();
bool log_ends_with(const std::string& line);

class InTempDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string dir_;
    std::string previous_;
};

} // namespace osfiles_test
