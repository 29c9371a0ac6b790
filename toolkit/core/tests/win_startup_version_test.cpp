// A settings key beginning with VER: the version box, answered from here,
// and the end of the program with exit status 0.
#include "core/tests/win_startup_runner.h"

#include <gtest/gtest.h>

using namespace startup_test;

namespace {

struct Search {
    DWORD process;
    HWND box;
};

BOOL CALLBACK find_box(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (process == search->process && IsWindowVisible(window) && std::string(title) == "Korvanthide") {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_text(HWND child, LPARAM data)
{
    char class_name[16] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(class_name, "Static") == 0 && text[0] != '\0')
        *reinterpret_cast<std::string*>(data) = text;
    return TRUE;
}

struct BoxRun {
    std::string text;
    DWORD exit_code = 0;
    bool report_written = false;
};

BoxRun run_with_settings(const std::string& settings)
{
    TempDir dir;
    dir.write("korvan.ini", settings);
    std::string temp = dir.path();
    temp.pop_back();
    PROCESS_INFORMATION process = start_probe(dir, {{"TEMP", temp}}, "");
    BoxRun run;
    if (!process.hProcess)
        return run;
    Search search{process.dwProcessId, nullptr};
    for (int tries = 0; tries < 300 && !search.box; ++tries) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(find_box, reinterpret_cast<LPARAM>(&search));
    }
    if (search.box) {
        EnumChildWindows(search.box, find_text, reinterpret_cast<LPARAM>(&run.text));
        PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 0xDEAD);
    GetExitCodeProcess(process.hProcess, &run.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.report_written = dir.exists("report.txt");
    return run;
}

} // namespace

TEST(StartupVersion, KeyBeginningWithVerShowsTheVersionAndEndsWithStatusZero)
{
    for (const char* settings : {"PRINTER=12\r\nVERSION=\r\n", "ver = 1\n", "Verbose=yes\n"}) {
        const BoxRun run = run_with_settings(settings);
        EXPECT_EQ(run.text, "Abnormal exit (code 0) : Korvanthide version 9.20c") << settings;
        EXPECT_EQ(run.exit_code, 0u) << settings;
        EXPECT_FALSE(run.report_written) << settings;
    }
}

TEST(StartupVersion, ShorterOrLaterKeysShowNothing)
{
    for (const char* settings : {"VE=1\n", "=VERSION\n", "XVERSION=1\n"}) {
        const BoxRun run = run_with_settings(settings);
        EXPECT_EQ(run.text, "") << settings;
        EXPECT_EQ(run.exit_code, 0u) << settings;
        EXPECT_TRUE(run.report_written) << settings;
    }
}
