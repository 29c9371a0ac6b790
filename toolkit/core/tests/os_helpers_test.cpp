#include "core/os_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace std::string_view_literals;

TEST(OsHelpers, FileNameTrimmedFromFirstSignificantToLastNonBlank)
{
    struct Case {
        std::string_view text, expected;
    };
    const Case cases[] = {
        {"  a.txt   ", "a.txt"},
        {"\0\0 b c.dat "sv, "b c.dat"},
        {"     ", ""},
        {"\0 \0"sv, ""},
        {"x", "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(korv::file_name_trimmed(c.text), c.expected) << c.text;
}

TEST(OsHelpers, DirectoryPartEndsAtLastBackslashOrColon)
{
    struct Case {
        std::string_view name, directory;
    };
    const Case cases[] = {
        {"C:\\data\\*.txt", "C:\\data\\"},
        {"C:*.txt", "C:"},
        {"a\\b:c", "a\\b:"},
        {"plain.txt", ""},
        {"dir\\", "dir\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(korv::directory_part(c.name), c.directory) << c.name;
}

TEST(OsHelpers, CopyTargetsTakeTheSourceNameForDirectories)
{
    struct Case {
        std::string_view source, target, expected;
    };
    const Case cases[] = {
        {"C:\\in\\a.txt", "D:\\out\\", "D:\\out\\a.txt"},
        {"C:\\in\\a.txt", "D:", "D:a.txt"},
        {"C:\\in\\a.txt", "", "a.txt"},
        {"a.txt", "b.txt", "b.txt"},
        {"a.txt", "out", "out"},  // a name without "\" is a file name
    };
    for (const Case& c : cases)
        EXPECT_EQ(korv::copy_target(c.source, c.target), c.expected) << c.source << " " << c.target;

    EXPECT_EQ(korv::copy_target_directory("out"), "out\\");
    EXPECT_EQ(korv::copy_target_directory("out\\"), "out\\");
    EXPECT_EQ(korv::copy_target_directory("D:"), "D:");
    EXPECT_TRUE(korv::has_wildcard("a?.txt"));
    EXPECT_TRUE(korv::has_wildcard("*"));
    EXPECT_FALSE(korv::has_wildcard("a.txt"));
}

TEST(OsHelpers, CommandLineThroughTheInterpreter)
{
    EXPECT_EQ(korv::execute_command_line("prog a b", false, true), "prog a b");
    EXPECT_EQ(korv::execute_command_line("copy x y", true, true), "cmd.exe /c copy x y");
    // The old interpreter's prefix is 15 characters: the whole command stays.
    const std::string long_command(300, 'q');
    const std::string line = korv::execute_command_line(long_command, true, false);
    EXPECT_EQ(line, "command.com /c " + long_command);
    EXPECT_EQ(line.size(), 315u);
}

std::vector<std::byte> bytes(std::initializer_list<int> values)
{
    std::vector<std::byte> out;
    for (int v : values)
        out.push_back(static_cast<std::byte>(v));
    return out;
}

TEST(OsHelpers, ByteGroupsReverseWholeGroupsOnly)
{
    struct Case {
        std::vector<std::byte> in;
        int group;
        std::vector<std::byte> out;
    };
    const Case cases[] = {
        {bytes({1, 2, 3, 4}), 4, bytes({4, 3, 2, 1})},
        {bytes({1, 2, 3, 4}), 2, bytes({2, 1, 4, 3})},
        {bytes({1, 2, 3, 4, 5, 6}), 3, bytes({3, 2, 1, 6, 5, 4})},  // the odd middle byte stays
        {bytes({1, 2, 3, 4, 5}), 2, bytes({2, 1, 4, 3, 5})},        // the partial group is left
        {bytes({1, 2, 3}), 4, bytes({1, 2, 3})},
        {bytes({1, 2, 3}), 0, bytes({1, 2, 3})},
        {bytes({1, 2, 3}), -2, bytes({1, 2, 3})},
    };
    for (const Case& c : cases) {
        // Exactly sized, so the sanitizer sees any reach past the end.
        std::vector<std::byte> data = c.in;
        korv::reverse_byte_groups(data, c.group);
        EXPECT_EQ(data, c.out) << "group " << c.group << " size " << c.in.size();
    }
}

TEST(OsHelpers, KilobytesRoundPartlyUsedUnitsUp)
{
    struct Case {
        std::uint64_t size;
        int kb;
    };
    const Case cases[] = {
        {0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {0x100000000ull, 4194304}, {~0ull, 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(korv::size_in_kilobytes(c.size), c.kb) << c.size;
}

} // namespace
