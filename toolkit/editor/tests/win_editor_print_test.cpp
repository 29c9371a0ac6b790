// Editor printing on the real default printer (cups-pdf's queue "PDF"):
// each job's PDF is copied to editor_print_out\, where a reader nobody here
// wrote checks its text, page count, title and word positions
// (editor_print_check.sh). Also the page set-up records in points, the
// system's page set-up answered through its margin fields, and a missing
// printer.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor_gui_support.h"
#include "korvanthide/editor_operations.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"
#include "testing/cups_pdf.h"
#include "editor/edit_operations.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace cmd = korv::editor_command;

// Where the test started: the tests below may work in a directory of their own.
std::string& out_dir()
{
    static std::string dir;
    return dir;
}

std::vector<std::string> files_in(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        names.push_back(dir + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Waits for the finished file of the job that `watch` saw start, whose name
// holds `title`, and moves it to editor_print_out\<label>.pdf.
bool collect(const korv::testing::PrintedPdfWatch& watch, const std::string& title, const std::string& label)
{
    CreateDirectoryA(out_dir().c_str(), nullptr);
    const std::string name = watch.wait_for(title);
    if (name.empty())
        return false;
    const std::string target = out_dir() + "\\" + label + ".pdf";
    return CopyFileA(name.c_str(), target.c_str(), FALSE) && DeleteFileA(name.c_str());
}

std::string unique(const std::string& stem)
{
    return stem + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
}

std::string profile_device()
{
    char device[512] = {};
    GetProfileStringA("windows", "Device", "", device, sizeof device);
    return device;
}

class EditorPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char here[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, here);
        out_dir() = std::string(here) + "\\editor_print_out";
        // What an earlier run left must not pass for this run's output.
        for (const std::string& name : files_in(out_dir())) DeleteFileA(name.c_str());
        root_window_open("Editor print");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void TearDown() override { child_windows_close(); }
    int editor(const std::string& text, const char* file = "")
    {
        const int n = open_window("Druck");
        WEditFile(file, 2, 0, 0, 4, 10);
        drain();
        int status = -1;
        korv::edit_text_set(status, text);
        settle();
        return n;
    }
};

} // namespace

// First, while no page set-up record has been read: a printer that is gone
// gives nothing and takes nothing down.
TEST_F(EditorPrint, MissingPrinterAnswersZero)
{
    const std::string saved = profile_device();
    ASSERT_TRUE(WriteProfileStringA("windows", "Device", "Nowhere,winspool,LPT9:"));
    editor("abc");
    int result = -1;
    korv::edit_print_range(result, 0, 2, "nowhere");
    EXPECT_EQ(result, 0);
    korv::edit_page_setup_dialog(2, 0, result);
    EXPECT_EQ(result, 0);
    korv::edit_page_setup_set(3, 72, 0);
    int value = -1;
    korv::edit_page_setup_get(3, value, 0);
    EXPECT_EQ(value, 0);
    WriteProfileStringA("windows", "Device", saved.c_str());
}

TEST_F(EditorPrint, RecordsInPointsAndUnits)
{
    // Record 1 in inches through its dialog, confirmed as it stands; a left
    // margin of 72 points is 1000 thousandths of an inch.
    korv::testing::answer_dialogs({{"Setup Page", IDOK}});
    int result = 0;
    korv::edit_page_setup_dialog(0, 1, result);
    ASSERT_EQ(result, 1);
    korv::edit_page_setup_set(3, 72, 1);
    int value = 0;
    korv::edit_page_setup_get(3, value, 1);
    EXPECT_EQ(value, 72);
    // Switched to millimetres: the dialog shows 25.4 and 72 points stay.
    std::string left;
    korv::testing::answer_dialogs({{"Setup Page", IDOK, [&](HWND d) {
                                        char text[32] = {};
                                        GetDlgItemTextA(d, 1155, text, sizeof text);
                                        left = text;
                                    }}});
    korv::edit_page_setup_dialog(2, 1, result);
    ASSERT_EQ(result, 1);
    EXPECT_NEAR(std::stod(left), 25.4, 0.001);
    korv::edit_page_setup_get(3, value, 1);
    EXPECT_EQ(value, 72);
    korv::edit_page_setup_set(3, 36, 1);
    korv::edit_page_setup_get(3, value, 1);
    EXPECT_EQ(value, 36);

    int orientation = -1;
    korv::edit_page_setup_set(5, 1, 0);
    korv::edit_page_setup_get(5, orientation, 0);
    EXPECT_EQ(orientation, 1);
    korv::edit_page_setup_set(5, 0, 0);
}

TEST_F(EditorPrint, RangesOnThePdfQueue)
{
    const korv::testing::PrintedPdfWatch watch;
    editor("First line here\r\nSecond line\r\nThird and last");
    const std::string three = unique("korvthree");
    korv::edit_page_setup_set(5, 0, 0);
    korv::edit_page_setup_set(3, 144, 0);
    korv::edit_page_setup_set(4, 108, 0);
    int result = 0;
    korv::edit_print_range(result, -1, -1, three);
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(watch, three, "three"));

    const std::string moved = unique("korvmoved");
    korv::edit_page_setup_set(3, 72, 0);
    korv::edit_print_range(result, -1, -1, moved);
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(watch, moved, "three_left72"));

    // A range in the program's counting: "Second line" starts at 17.
    const std::string part = unique("korvpart");
    korv::edit_print_range(result, 17, 28, part);
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(watch, part, "range"));

    // Margins that leave no room: no job.
    korv::edit_page_setup_set(3, 5000, 0);
    korv::edit_print_range(result, -1, -1, unique("korvnone"));
    EXPECT_EQ(result, 0);
    korv::edit_page_setup_set(3, 72, 0);
}

TEST_F(EditorPrint, ManyLinesAndLandscape)
{
    const korv::testing::PrintedPdfWatch watch;
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "line" + std::to_string(i) + " of many\r\n";
    editor(text);
    korv::edit_page_setup_set(3, 72, 0);
    korv::edit_page_setup_set(4, 72, 0);
    const std::string many = unique("korvmany");
    int result = 0;
    korv::edit_print_range(result, -1, -1, many);
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(watch, many, "lines300"));

    editor("Landscape page");
    korv::edit_page_setup_set(5, 1, 0);
    const std::string wide = unique("korvwide");
    korv::edit_print_range(result, -1, -1, wide);
    korv::edit_page_setup_set(5, 0, 0);
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(watch, wide, "landscape"));

    editor("No name given");
    const korv::testing::PrintedPdfWatch untitled;
    korv::edit_print_range(result, -1, -1, "");
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(collect(untitled, "Untitled", "untitled"));
}

TEST_F(EditorPrint, PrintSelectionFromTheMenu)
{
    const korv::testing::PrintedPdfWatch watch;
    WorkDirectory dir;
    const std::string name = unique("korvsel");
    file_write(dir.path(name + ".txt"), "0123456789ABCDEFGHIJklmnopqrstuvwxyz");
    const int n = open_window("Auswahl");
    WEditFile(name + ".txt", 2, 0, 0, 4, 10);
    drain();
    CHARRANGE chosen{10, 20};
    SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&chosen));
    // Record 1 in inches, then the Print Selection command's page set-up
    // answered with a left margin of two inches.
    int result = 0;
    korv::testing::answer_dialogs({{"Setup Page", IDOK}});
    korv::edit_page_setup_dialog(0, 1, result);
    ASSERT_EQ(result, 1);
    std::string shown;
    korv::testing::answer_dialogs({{"Setup Page", IDOK, [&](HWND d) {
                                        SetDlgItemTextA(d, 1155, "2");
                                        char text[32] = {};
                                        GetDlgItemTextA(d, 1155, text, sizeof text);
                                        shown = text;
                                    }}});
    SendMessageA(slot(n).frame, WM_COMMAND, MAKEWPARAM(cmd::print_selection, 0), 0);
    settle();
    EXPECT_FALSE(shown.empty());
    ASSERT_TRUE(collect(watch, name, "selection"));
}
