#include "korvanthide/startup.h"
#include "core/startup_logic.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace korv;

namespace {

FileExists existing(std::set<std::string> files)
{
    return [files = std::move(files)](const std::string& path) { return files.count(path) > 0; };
}

} // namespace

TEST(InstallDir, FromKorvanElseQude)
{
    struct Case {
        const char* korvan;
        const char* qude;
        const char* dir;
    };
    const Case cases[] = {
        {"C:\\Tools\\Lib", "", "C:\\Tools\\Lib\\"},
        {"C:\\Tools\\Lib\\   ", "", "C:\\Tools\\Lib\\"},
        {"C:\\Tools\\Lib", "D:\\Tools\\qude\\bin", "C:\\Tools\\Lib\\"},
        {"", "D:\\Tools\\qude\\bin", "D:\\Tools\\"},
        {"   ", "D:\\Tools\\qude\\bin", "D:\\Tools\\"},
        {"", "D:\\QUDE\\x\\Qude\\bin", "D:\\QUDE\\x\\"},
        {"", "D:\\Tools\\bin", ""},
        {"", "QUDE", ""},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(install_dir_from(c.korvan, c.qude), c.dir) << c.korvan << "|" << c.qude;
}

TEST(InstallDir, CharacterSetDirectory)
{
    EXPECT_EQ(char_dir_from("C:\\Tools\\Lib\\"), "C:\\Tools\\Lib\\charsets");
    EXPECT_EQ(char_dir_from("D:\\Tools\\"), "D:\\Tools\\charsets");
    EXPECT_EQ(char_dir_from("   "), "");
    EXPECT_EQ(with_separator("C:\\Tools\\Lib\\charsets"), "C:\\Tools\\Lib\\charsets\\");
    EXPECT_EQ(with_separator("x\\"), "x\\");
    EXPECT_EQ(with_separator(""), "");
}

TEST(SettingsPath, SearchOrder)
{
    struct Case {
        const char* korvinit;
        const char* install;
        std::set<std::string> files;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\my.ini", "C:\\K\\", {"C:\\my.ini", "korvan.ini"}, "C:\\my.ini"},
        {"C:\\missing.ini", "C:\\K\\", {"korvan.ini", "C:\\K\\korvan.ini"}, "korvan.ini"},
        {"", "C:\\K\\", {"C:\\K\\korvan.ini"}, "C:\\K\\korvan.ini"},
        {"", "C:\\K\\", {}, ""},
        {"", "", {}, "korvan.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settings_path_from(c.korvinit, c.install, existing(c.files)), c.path) << c.korvinit;
}

TEST(TempFiles, DirectoryAndFirstFreeNumber)
{
    EXPECT_EQ(temp_dir_from("C:\\Temp", "C:\\Tmp"), "C:\\Temp\\");
    EXPECT_EQ(temp_dir_from("", "C:\\Tmp\\"), "C:\\Tmp\\");
    EXPECT_EQ(temp_dir_from("", ""), "C:\\");

    EXPECT_EQ(temp_file_name("T\\", ".plt", existing({})), "T\\zoq$$00.plt");
    EXPECT_EQ(temp_file_name("T\\", ".plt", existing({"T\\zoq$$00.plt", "T\\zoq$$01.plt",
                                                      "T\\zoq$$03.plt"})),
              "T\\zoq$$02.plt");
    EXPECT_EQ(temp_file_name("T\\", ".dmp", existing({"T\\zoq$$00.plt"})), "T\\zoq$$00.dmp");
    EXPECT_EQ(temp_file_name("T\\", ".plt", [](const std::string&) { return true; }),
              "T\\zoq$$99.plt");
}

TEST(AbnormalExit, CodeMovedLeftAgainstItsLabel)
{
    EXPECT_EQ(abnormal_exit_text("Korvanthide version 9.20c", 0),
              "Abnormal exit (code 0) : Korvanthide version 9.20c");
    EXPECT_EQ(abnormal_exit_text("x", -12), "Abnormal exit (code -12) : x");
    EXPECT_EQ(abnormal_exit_text("x", 9999), "Abnormal exit (code 9999) : x");
    EXPECT_EQ(abnormal_exit_text("x", 10000), "Abnormal exit (code ****) : x");
}

TEST(CommandLine, WordsAndQuotes)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(command_line_words("\"C:\\Program Files\\x.exe\"  a \"b c\" d"),
              (Words{"C:\\Program Files\\x.exe", "a", "b c", "d"}));
    EXPECT_EQ(command_line_words("x.exe \"open"), (Words{"x.exe", "open"}));
    EXPECT_EQ(command_line_words("x.exe \"\" y"), (Words{"x.exe", "", "y"}));
    EXPECT_EQ(command_line_words("   "), Words{});

    EXPECT_EQ(command_line_kept(std::string("a b\0c d", 7)), std::string("a b    "));
    EXPECT_EQ(command_line_kept(std::string(3000, 'x')).size(), command_line_capacity);
}

TEST(KorvDebug, FirstCharacterGivesTheMode)
{
    EXPECT_EQ(report_mode_from("2"), 2);
    EXPECT_EQ(report_mode_from("4"), 4);
    EXPECT_LT(report_mode_from(" "), 0);
    EXPECT_LT(report_mode_from(""), 0);
}

TEST(EditorBuffers, RowsByWindowAndBufferNumber)
{
    EditorBufferTable table;
    EXPECT_FALSE(table.allocated());
    EXPECT_THROW(table.row(0, 1), std::out_of_range);
    table.allocate();
    table.row(50, 35).name_stored = true;
    table.row(0, 1).text_stored = true;
    EXPECT_TRUE(table.row(50, 35).name_stored);
    EXPECT_FALSE(table.row(50, 34).name_stored);
    for (auto [w, b] : {std::pair{-1, 1}, std::pair{51, 1}, std::pair{0, 0}, std::pair{0, 36}})
        EXPECT_THROW(table.row(w, b), std::out_of_range) << w << "," << b;
    table.allocate();
    EXPECT_FALSE(table.row(0, 1).text_stored);
    table.release();
    EXPECT_FALSE(table.allocated());
}
