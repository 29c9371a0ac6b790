// Byte-level files, copying and deleting by pattern, the directory search and
// file information, on real files in a temporary directory under Wine.
#include "korvanthide/files.h"

#include <array>
#include <vector>

#include "core/tests/win_osfiles_fixture.h"
#include "core/sys_files.h"

namespace {

using namespace osfiles_test;
using Files = InTempDir;

const korv::ErrorState& errors()
{
    return korv::error_state();
}

TEST_F(Files, OpenRefusesBadModesAndNamesWithoutDetail)
{
    write_whole("there.txt", "x");
    struct Case {
        std::string_view name;
        int mode;
        int file_code;
    };
    const Case cases[] = {
        {"there.txt", 3, 0},
        {"there.txt", -1, 0},
        {"    ", 0, 0},
        {"missing.txt", 0, ERROR_FILE_NOT_FOUND},
        {"missing.txt", 2, ERROR_FILE_NOT_FOUND},  // mode 2 needs an existing file
        {"nodir\\new.txt", 1, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        korv::error_state() = korv::ErrorState{};
        int handle = 12345;
        IFileOpen(c.name, c.mode, handle);
        EXPECT_EQ(handle, -1) << c.name << " mode " << c.mode;
        EXPECT_EQ(errors().last_error, 1) << c.name << " mode " << c.mode;
        EXPECT_EQ(errors().file_code, c.file_code) << c.name << " mode " << c.mode;
        EXPECT_EQ(errors().detail_category, 2);
    }
}

TEST_F(Files, FailedOpenIsLoggedWithTheSystemText)
{
    korv::err_report_mode_set(2);
    int handle = 0;
    IFileOpen(" missing.txt ", 0, handle);
    // One line: the system text's own line break is not kept.
    std::string detail = korv::sys_format_message(ERROR_FILE_NOT_FOUND);
    detail.erase(detail.find_last_not_of(" \r\n") + 1);
    const std::string expected = "Routine:IFileOpen Error=   1:Error opening file or device: " + detail;
    EXPECT_TRUE(log_ends_with(expected)) << debug_log();
}

TEST_F(Files, NamesArePaddedAndModeTwoWritesInPlace)
{
    int h = -1, n = 0;
    IFileOpen(std::string_view("\0 data.bin   ", 13), 1, h);
    ASSERT_NE(h, -1);
    IFileWriteChar(h, std::string_view("hello world"), 11, n);
    EXPECT_EQ(n, 11);
    IFileCloseHandle(h);

    IFileOpen("data.bin", 2, h);
    ASSERT_NE(h, -1);
    IFileWriteChar(h, std::string_view("J"), 1, n);
    int position = 0;
    IFileSeek(h, position, 0);
    std::array<char, 32> buffer{};
    IFileReadChar(h, buffer, 32, n);
    EXPECT_EQ(std::string(buffer.data(), static_cast<std::size_t>(n)), "Jello world");
    // At the end: 0 bytes and no error.
    IFileReadChar(h, buffer, 32, n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(errors().last_error, 0);
    IFileCloseHandle(h);
}

TEST_F(Files, SeekOriginsAndFailures)
{
    write_whole("ten.bin", "0123456789");
    int h = -1;
    IFileOpen("ten.bin", 0, h);
    ASSERT_NE(h, -1);
    struct Case {
        int offset, origin, position;
    };
    const Case cases[] = {
        {0, 2, 10},   // to the end: the length
        {3, 0, 3},
        {2, 1, 5},
        {-1, 2, 9},
        {4, 7, 4},    // unknown origin: nothing happens, the offset stays
    };
    for (const Case& c : cases) {
        int offset = c.offset;
        IFileSeek(h, offset, c.origin);
        EXPECT_EQ(offset, c.position) << c.offset << "," << c.origin;
    }
    EXPECT_EQ(errors().last_error, 0);
    int before_start = -5;
    IFileSeek(h, before_start, 0);
    EXPECT_EQ(before_start, -1);
    EXPECT_EQ(errors().last_error, 2);
    EXPECT_NE(errors().file_code, 0);
    IFileCloseHandle(h);
}

TEST_F(Files, ReadAndWriteFailuresGiveMinusOne)
{
    int h = -1, n = 0;
    IFileOpen("out.bin", 1, h);
    ASSERT_NE(h, -1);
    std::array<unsigned char, 4> buffer{};
    IFileReadChar(h, std::span<unsigned char>(buffer), 4, n);  // opened for writing only
    EXPECT_EQ(n, -1);
    EXPECT_EQ(errors().last_error, 2);
    EXPECT_EQ(errors().file_code, ERROR_ACCESS_DENIED);

    // A count beyond the caller's buffer is refused, not read or written past it.
    korv::error_state() = korv::ErrorState{};
    const std::array<signed char, 4> four{1, 2, 3, 4};
    IFileWriteChar(h, std::span<const signed char>(four), 5, n);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(errors().last_error, 2);
    IFileCloseHandle(h);
    EXPECT_EQ(read_whole("out.bin"), "");

    korv::error_state() = korv::ErrorState{};
    IFileOpen("out.bin", 0, h);
    IFileWriteChar(h, std::span<const signed char>(four), 4, n);  // opened for reading only
    EXPECT_EQ(n, -1);
    EXPECT_EQ(errors().last_error, 2);
    IFileReadChar(h, std::span<unsigned char>(buffer), -1, n);
    EXPECT_EQ(n, -1);
    IFileCloseHandle(h);
}

TEST_F(Files, SwappedTransfersReverseWholeGroupsAndKeepTheBuffer)
{
    int h = -1, n = 0, code = 0;
    korv::sys_file_open("swap.bin", 1, h, code);
    ASSERT_EQ(code, 0);
    std::array<std::byte, 4> four{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}};
    korv::sys_file_write_swapped(h, four, n, 4, code);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(four, (std::array<std::byte, 4>{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}}));
    std::array<std::byte, 5> five{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}, std::byte{5}};
    korv::sys_file_write_swapped(h, five, n, 2, code);
    korv::sys_file_close(h);
    EXPECT_EQ(read_whole("swap.bin"), std::string("\4\3\2\1\2\1\4\3\5", 9));

    korv::sys_file_open("swap.bin", 0, h, code);
    std::array<std::byte, 6> back{};
    korv::sys_file_read_swapped(h, back, n, 4, code);
    EXPECT_EQ(n, 6);
    // Bytes 1..4 come back in order; the partial group stays as read.
    EXPECT_EQ(back, (std::array<std::byte, 6>{std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4},
                                              std::byte{2}, std::byte{1}}));
    korv::sys_file_close(h);
}

TEST_F(Files, CopyOneFile)
{
    write_whole("a.txt", "alpha");
    CreateDirectoryA("sub", nullptr);
    struct Case {
        std::string_view target;
        std::string made;
    };
    const Case cases[] = {
        {"sub\\   ", "sub\\a.txt"},  // a directory target takes the source's name
        {"b.txt", "b.txt"},
    };
    for (const Case& c : cases) {
        IOsCopyFile("a.txt  ", c.target);
        EXPECT_EQ(read_whole(c.made), "alpha") << c.target;
    }
    EXPECT_EQ(errors().last_error, 0);

    IOsCopyFile("sub\\a.txt", "sub\\a.txt");
    EXPECT_EQ(errors().last_error, 55);
    IOsCopyFile("a.txt", "A.TXT");  // letter case counts: a copy onto itself, refused by the system
    EXPECT_EQ(errors().last_error, 13);
    EXPECT_EQ(read_whole("a.txt"), "alpha");

    korv::error_state() = korv::ErrorState{};
    IOsCopyFile("nothing.txt", "c.txt");
    EXPECT_EQ(errors().last_error, 13);
    EXPECT_EQ(errors().other_code, ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, FailedCopyKeepsTheOldTargetAndLeavesNoTemporaryFile)
{
    write_whole("old.txt", "keep me");
    IOsCopyFile("missing.txt", "old.txt");
    EXPECT_EQ(errors().last_error, 13);
    EXPECT_EQ(read_whole("old.txt"), "keep me");

    korv::error_state() = korv::ErrorState{};
    write_whole("new.txt", "replaced");
    IOsCopyFile("new.txt", "old.txt");
    EXPECT_EQ(errors().last_error, 0);
    EXPECT_EQ(read_whole("old.txt"), "replaced");

    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("kcp*.tmp", &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(Files, CopyAndDeleteByPattern)
{
    write_whole("one.txt", "1");
    write_whole("two.txt", "22");
    write_whole("three.dat", "333");
    CreateDirectoryA("dir.txt", nullptr);  // matches the pattern but is skipped
    CreateDirectoryA("out", nullptr);

    IOsCopyFile("*.txt", "out");
    EXPECT_EQ(errors().last_error, 0);
    EXPECT_EQ(read_whole("out\\one.txt"), "1");
    EXPECT_EQ(read_whole("out\\two.txt"), "22");
    EXPECT_FALSE(exists("out\\three.dat"));
    EXPECT_FALSE(exists("out\\dir.txt"));

    IOsDeleteFile("out\\*.txt");
    EXPECT_EQ(errors().last_error, 0);
    EXPECT_FALSE(exists("out\\one.txt"));
    EXPECT_FALSE(exists("out\\two.txt"));

    IOsDeleteFile("dir.*");  // only a directory matches: nothing happens
    EXPECT_EQ(errors().last_error, 0);
    EXPECT_TRUE(exists("dir.txt"));

    IOsDeleteFile("none*.bin");
    EXPECT_EQ(errors().last_error, 13);
    korv::error_state() = korv::ErrorState{};
    IOsCopyFile("none*.bin", "out");
    EXPECT_EQ(errors().last_error, 13);
    korv::error_state() = korv::ErrorState{};
    IOsDeleteFile("   ");
    IOsCopyFile("", "out");
    EXPECT_EQ(errors().last_error, 0);
}

TEST_F(Files, DirectorySearchListsEveryEntryThenEnds)
{
    write_whole("a1.txt", "1");
    write_whole("a2.txt", "1234");
    std::vector<std::string> names;
    korv::DirEntry entry;
    int found = 0, code = 0;
    for (korv::sys_dir_first(0, "a*.txt", entry, found, code); found;
         korv::sys_dir_first(1, {}, entry, found, code)) {
        names.push_back(entry.name);
        EXPECT_NE(entry.dos_date_time, 0u);
    }
    EXPECT_EQ(code, korv::sys_no_more_files);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a1.txt", "a2.txt"}));

    // A new search replaces the kept one; after closing, "next" finds nothing.
    korv::sys_dir_first(0, "a2.txt", entry, found, code);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(entry.size, 4);
    korv::sys_dir_search_close();
    korv::sys_dir_first(1, {}, entry, found, code);
    EXPECT_EQ(found, 0);
}

TEST_F(Files, FileInformationAndTimes)
{
    write_whole("k.bin", std::string(1025, 'k'));
    korv::FileInfo info;
    korv::sys_file_info(info, "k.bin");
    EXPECT_EQ(info.size, 1025);
    EXPECT_EQ(info.size_kb, 2);
    EXPECT_GE(info.year, 2020);
    EXPECT_EQ(info.attributes & FILE_ATTRIBUTE_DIRECTORY, 0);
    korv::FileInfo missing;
    missing.size = 7;
    korv::sys_file_info(missing, "nothing.bin");
    EXPECT_EQ(missing.size, -1);

    korv::FileTimes times;
    int code = 0;
    korv::sys_file_times_get(times, "k.bin", code);
    ASSERT_EQ(code, 0);
    korv::FileTimes older = times;
    older.write_high -= 100;  // some days earlier
    korv::sys_file_times_set(older, "k.bin", code);
    ASSERT_EQ(code, 0);
    korv::FileTimes again;
    korv::sys_file_times_get(again, "k.bin", code);
    EXPECT_EQ(again.write_high, older.write_high);
    EXPECT_EQ(again.write_low, older.write_low);

    korv::sys_file_times_get(again, "nothing.bin", code);
    EXPECT_EQ(code, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(again.write_high, 0u);
}

TEST_F(Files, NamesAndDirectories)
{
    int code = 0, truncated = 0;
    korv::sys_dir_create("made", code);
    EXPECT_EQ(code, 0);
    korv::sys_dir_create("made", code);
    EXPECT_EQ(code, ERROR_ALREADY_EXISTS);
    korv::sys_dir_change("made", code);
    EXPECT_EQ(code, 0);
    std::array<char, 260> path{};
    korv::sys_dir_current(path, code, truncated);
    EXPECT_EQ(truncated, 0);
    EXPECT_EQ(std::string(path.data()), dir_ + "\\made");
    std::array<char, 8> small{};
    korv::sys_dir_current(small, code, truncated);
    EXPECT_EQ(truncated, 1);
    EXPECT_EQ(std::string(small.data()), (dir_ + "\\made").substr(0, 7));
    korv::sys_dir_change("..", code);
    korv::sys_dir_remove("made", code);
    EXPECT_EQ(code, 0);

    korv::sys_full_path(code, "x.txt", path);
    EXPECT_EQ(std::string(path.data()), dir_ + "\\x.txt");

    write_whole("old.txt", "o");
    korv::sys_file_move(code, "old.txt", "new.txt");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read_whole("new.txt"), "o");
    korv::sys_file_attributes_set(FILE_ATTRIBUTE_READONLY, code, "new.txt");
    korv::sys_file_delete("new.txt", code);
    EXPECT_EQ(code, ERROR_ACCESS_DENIED);
    korv::sys_file_attributes_set(FILE_ATTRIBUTE_NORMAL, code, "new.txt");
    korv::sys_file_delete("new.txt", code);
    EXPECT_EQ(code, 0);
}

} // namespace
