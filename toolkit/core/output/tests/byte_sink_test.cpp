#include "core/output/byte_sink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace korv {
namespace {

namespace fs = std::filesystem;

std::string read_whole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ByteSink, PutsBytesNumbersAndLines)
{
    ByteSink sink;
    sink.put_u8(0xAB);
    sink.put_u16_le(0x1234);
    sink.put_u16_be(0x1234);
    sink.put_u32_le(0x01020304);
    sink.put_u32_be(0x01020304);
    EXPECT_EQ(sink.bytes(), std::string("\xAB\x34\x12\x12\x34\x04\x03\x02\x01\x01\x02\x03\x04", 13));
    sink.clear();
    sink.put("M ");
    sink.put_real(0.5);
    sink.put(" ", 1);
    sink.put_fixed(-3.0, 1);
    sink.put(" ");
    sink.put_int(-7);
    sink.put_line("");
    sink.put_line("END");
    EXPECT_EQ(sink.bytes(), "M 0.5 -3.0 -7\r\nEND\r\n");
}

// A folder of its own for each test, removed afterwards.
class FileCommit : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("korv_commit_") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string target() const { return (folder_ / "out.txt").string(); }
    std::size_t files_in_folder() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(FileCommit, ReplacesTheTargetAndLeavesNoTemporaryFile)
{
    std::ofstream(target(), std::ios::binary) << "old contents, longer than the new";
    ByteSink sink;
    sink.put_line("new");
    const CommitResult result = sink.commit(target());
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.system_code, 0u);
    EXPECT_EQ(read_whole(target()), "new\r\n");
    EXPECT_EQ(files_in_folder(), 1u);

    // An empty sink gives an empty file.
    EXPECT_TRUE(ByteSink().commit(target()).ok());
    EXPECT_EQ(fs::file_size(target()), 0u);
}

TEST_F(FileCommit, AFolderThatDoesNotExistCannotBeWritten)
{
    const CommitResult result = commit_file((folder_ / "missing" / "out.txt").string(), "x");
    EXPECT_EQ(result.status, CommitStatus::cannot_open);
    EXPECT_NE(result.system_code, 0u);
    EXPECT_EQ(files_in_folder(), 0u);
}

// The failure paths, reached through file calls that fail on request.
struct Script {
    bool temporary = true;
    CommitResult temporary_write;
    bool rename = true;
    std::vector<std::string> calls;
};
Script* script = nullptr;

const FileCommitOps scripted{
    [](const std::string& directory, std::string& name) {
        script->calls.push_back("temp " + directory);
        name = directory + "tmp";
        return script->temporary;
    },
    [](const std::string& name, std::string_view) {
        script->calls.push_back("write " + name);
        return script->temporary_write;
    },
    [](const std::string& from, const std::string& to) {
        script->calls.push_back("rename " + from + " " + to);
        return script->rename;
    },
    [](const std::string& name) { script->calls.push_back("remove " + name); },
    [](const std::string& name, std::string_view) {
        script->calls.push_back("in place " + name);
        return CommitResult{CommitStatus::cannot_write, 5};
    },
};

TEST(FileCommitPaths, EachFailureEndsWithoutHalfAFileInPlace)
{
    struct Case {
        const char* what;
        bool temporary;
        CommitResult temporary_write;
        bool rename;
        std::vector<std::string> calls;
        CommitStatus status;
    };
    const CommitResult written{};
    const CommitResult write_fails{CommitStatus::cannot_write, 112};
    const CommitResult open_fails{CommitStatus::cannot_open, 5};
    const Case cases[] = {
        {"all goes well", true, written, true, {"temp d/", "write d/tmp", "rename d/tmp d/f"},
         CommitStatus::written},
        {"a failed write keeps the old file", true, write_fails, true,
         {"temp d/", "write d/tmp", "remove d/tmp"}, CommitStatus::cannot_write},
        {"no temporary file: written in place", false, written, true, {"temp d/", "in place d/f"},
         CommitStatus::cannot_write},
        {"temporary not opened: written in place", true, open_fails, true,
         {"temp d/", "write d/tmp", "remove d/tmp", "in place d/f"}, CommitStatus::cannot_write},
        {"rename refused: written in place", true, written, false,
         {"temp d/", "write d/tmp", "rename d/tmp d/f", "remove d/tmp", "in place d/f"},
         CommitStatus::cannot_write},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Script run;
        run.temporary = c.temporary;
        run.temporary_write = c.temporary_write;
        run.rename = c.rename;
        script = &run;
        const CommitResult result = commit_file("d/f", "bytes", scripted);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(run.calls, c.calls);
        script = nullptr;
    }
}

TEST(FileCommitPaths, TheFolderOfAName)
{
    EXPECT_EQ(directory_of("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(directory_of("a/b.txt"), "a/");
    EXPECT_EQ(directory_of("C:b.txt"), "C:");
    EXPECT_EQ(directory_of("b.txt"), ".");
}

} // namespace
} // namespace korv
