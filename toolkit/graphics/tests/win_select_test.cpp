// Under Windows: a failed target selection in report mode 2 ends up in the
// debug log, and the Windows platform services answer for the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "graphics/screen_device.h"

namespace {

std::string read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// This must stay the only test of the program that reports: the debug log
// is created by the first report of a run, in the current directory.
TEST(WindowsSelection, BitmapZeroWithKorvdebugTwoAppendsToTheDebugLog)
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    // The log stays open until the program ends, so the directory is
    // emptied at the start of the next run rather than at the end.
    const std::string dir = std::string(base) + "korv_select_debug";
    CreateDirectoryA(dir.c_str(), nullptr);
    DeleteFileA((dir + "\\debug").c_str());
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));

    SetEnvironmentVariableA("KORVDEBUG", "2");
    WToolkitStart();
    SetEnvironmentVariableA("KORVDEBUG", nullptr);
    EXPECT_EQ(korv::error_state().report_mode, 2);
    IGrSelect(2, 0);
    korv::err_report_mode_set(0);
    const std::string log = read_file(dir + "\\debug");

    SetCurrentDirectoryA(previous);
    EXPECT_EQ(log, "Routine:IGrSelect Error=1019:Invalid target drawing surface\r\n");
    EXPECT_EQ(korv::error_state().last_error, 1019);
}

TEST(WindowsSelection, PlatformServicesDescribeTheRealSystem)
{
    korv::GraphicsPlatform* before = korv::gr_platform_services_install(nullptr);
    korv::Device* screen_before = korv::gr_screen_device_install(nullptr);
    korv::gr_platform_install();
    korv::GraphicsPlatform& platform = korv::gr_platform();
    EXPECT_EQ(platform.platform_level(), 2); // Wine reports the NT platform
    const int gradient = platform.gradient_level();
    EXPECT_TRUE(gradient == 1 || gradient == 2);
    EXPECT_EQ(platform.bitmap_limit(), 50);
    int width = 0;
    int height = 0;
    EXPECT_EQ(platform.bitmap_select(3, width, height), 1); // an empty slot
    korv::Device& gdi = korv::gr_screen_device();

    // A second install keeps what is installed, so a test's own device stays.
    korv::Device own;
    korv::gr_screen_device_install(&own);
    korv::gr_platform_install();
    EXPECT_EQ(&korv::gr_platform(), &platform);
    EXPECT_EQ(&korv::gr_screen_device(), &own);
    EXPECT_NE(&gdi, &own);
    korv::gr_screen_device_install(screen_before);
    korv::gr_platform_services_install(before);
}

} // namespace
