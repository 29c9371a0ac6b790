// Under Windows: a print command runs through the command interpreter on the
// finished plot file, which is then deleted.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/startup.h"

namespace {

std::string read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PrintCommand : public ::testing::Test {
protected:
    std::string dir;
    char previous[MAX_PATH] = {};
    korv::GraphicsPlatform* before = nullptr;

    void SetUp() override
    {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        // A console the command left behind may hold the directory for a
        // moment, so it is emptied here rather than removed at the end.
        dir = std::string(base) + "korv_print_command";
        CreateDirectoryA(dir.c_str(), nullptr);
        remove_files();
        GetCurrentDirectoryA(MAX_PATH, previous);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
        korv::text_assign(korv::file_name_table().entry(3), "zoq$$00.plt");
        before = korv::gr_platform_services_install(nullptr);
        korv::gr_platform_install();
        korv::device_parameters().count = 0;
        korv::hc_dispatch_select(1, korv::driver_postscript);
    }
    void TearDown() override
    {
        korv::gr_platform_services_install(before);
        korv::hardcopy_state() = korv::HardcopyState{};
        remove_files();
        SetCurrentDirectoryA(previous);
    }
    void remove_files()
    {
        for (const char* name : {"zoq$$00.plt", "result.txt", "second.txt"})
            DeleteFileA((dir + "\\" + name).c_str());
    }
    // The start of a PostScript plot with its title.
    static std::string plot(const std::string& title) { return "%!PS-Adobe-3.0\r\n%%Title: " + title + "\r\n"; }
};

TEST_F(PrintCommand, RunsOnThePlotFileAndDeletesIt)
{
    IGrHardCopy("copy @ result.txt", "first plot");
    EXPECT_EQ(korv::text_trimmed(korv::device_parameters().image_file_view()), "zoq$$00.plt");
    IGrHardCopy("S", " ");
    EXPECT_TRUE(read_file(dir + "\\result.txt").starts_with(plot("first plot")));
    EXPECT_FALSE(exists(dir + "\\zoq$$00.plt"));
    const auto& command = korv::hardcopy_state().print_command;
    EXPECT_EQ(korv::text_trimmed({command.data(), command.size()}), "");
}

// The first plot is printed before the plot file is reused for the second.
TEST_F(PrintCommand, TwoCommandsBeforeStopPrintBothPlots)
{
    IGrHardCopy("copy @ result.txt", "first");
    IGrHardCopy("copy @ second.txt", "second");
    EXPECT_TRUE(read_file(dir + "\\result.txt").starts_with(plot("first")));
    IGrHardCopy("s");
    EXPECT_TRUE(read_file(dir + "\\second.txt").starts_with(plot("second")));
    EXPECT_FALSE(exists(dir + "\\zoq$$00.plt"));
}

} // namespace
