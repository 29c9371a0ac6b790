// The converter's help viewer, end to end: child windows of a hidden root
// window become read-only viewers of a small RTF file, and close requests
// come back to the program, which closes the windows.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_gui_support.h"
#include "korvanthide/errors.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"
#include "testing/report_capture.h"

namespace {

using namespace editor_test;
using namespace korv::testing;

constexpr int info_options = 0xA367;
// The help file's name as the converter passes it: 30 characters.
const std::string help_name = "Chromalversor3.rtf            ";

const std::string help_rtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
    "\\pard\\b Chromalversor Hilfe\\b0\\par\n"
    "Jede \\'c4nderung wird in f\\'fcnf Modelle umgerechnet.\\par\n"
    "}\n";

int open_info()
{
    int window = -1;
    WindowOpenChild(window, korv::winflag::defaults, -999999, -999999, 500, 700, 0, {}, 0, "Info");
    drain();
    return window;
}

std::vector<std::string> menu_texts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) == 0) {
            texts.push_back("-");
        } else {
            texts.push_back(text);
        }
    }
    return texts;
}

class InfoViewer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_window_open("Chromalversor");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void SetUp() override
    {
        file_write(dir.path("Chromalversor3.rtf"), help_rtf);
        korv::error_state().last_error = 0;
    }
    void TearDown() override { child_windows_close(); }
    WorkDirectory dir;
};

TEST_F(InfoViewer, ShowsTheHelpFileFormattedAndReadOnly)
{
    const int n = open_info();
    ASSERT_GT(n, 0);
    WEditFile(help_name, 2, 0, info_options, 3, 10);
    drain();
    EXPECT_EQ(korv::error_state().last_error, 0);
    HWND frame = slot(n).frame;
    const EditorWindowRecord* record = korv::edit_record(frame);
    ASSERT_NE(record, nullptr);
    HWND control = record->subject;

    const std::string text = window_text(control);
    EXPECT_NE(text.find("Chromalversor Hilfe\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Jede \xc4nderung wird in f\xfcnf Modelle umgerechnet."), std::string::npos) << text;
    EXPECT_EQ(window_text(frame), "Info - [" + dir.path("Chromalversor3.rtf") + "]");

    // The title is bold, the text below is not.
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD;
    SendMessageA(control, EM_SETSEL, 0, 5);
    SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_NE(format.dwEffects & CFE_BOLD, 0u);
    SendMessageA(control, EM_SETSEL, 22, 26);
    SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);

    // Read-only, word-wrapped, no toolbar; the file is not held.
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_EQ(style & WS_HSCROLL, 0);
    EXPECT_EQ(record->toolbar, nullptr);
    EXPECT_TRUE(file_free(dir.path("Chromalversor3.rtf")));
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, 0);
    type_text("xyz");
    settle();
    EXPECT_EQ(window_text(control), text);

    // The viewer's menus.
    HMENU bar = GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menu_texts(bar), (std::vector<std::string>{"&File", "&Edit", "&Search"}));
    EXPECT_EQ(menu_texts(GetSubMenu(bar, 0)),
              (std::vector<std::string>{"&Print\bCtrl+P", "Prin&t Selection\bCtrl+Shift+P", "-", "E&xit"}));
    EXPECT_EQ(menu_texts(GetSubMenu(bar, 1)), (std::vector<std::string>{"&Copy\bCtrl+C", "-", "Select &All\bCtrl+A"}));
    EXPECT_EQ(menu_texts(GetSubMenu(bar, 2)),
              (std::vector<std::string>{"&Find\bCtrl+F", "Find &Next\bF3", "-", "&Set Bookmark\bShift+F2",
                                        "Goto &Bookmark\bF2"}));
}

TEST_F(InfoViewer, TwoViewersAndClosingEitherLeavesTheOther)
{
    const int first = open_info();
    WEditFile(help_name, 2, 0, info_options, 3, 10);
    const int second = open_info();
    WEditFile(help_name, 2, 0, info_options, 3, 10);
    drain();
    ASSERT_NE(first, second);
    const EditorWindowRecord* one = korv::edit_record(slot(first).frame);
    const EditorWindowRecord* two = korv::edit_record(slot(second).frame);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    const std::string text = window_text(two->subject);

    // The close request goes to the program, which closes the window.
    request_close(slot(first).frame);
    const Event close = wait_event();
    ASSERT_EQ(close.type, korv::event::close_request);
    EXPECT_EQ(close.record.slot(1), first);
    EXPECT_NE(slot(first).frame, nullptr);  // not closed by itself
    WindowCloseChild(first);
    drain();
    EXPECT_EQ(slot(first).frame, nullptr);

    ASSERT_NE(slot(second).frame, nullptr);
    EXPECT_EQ(korv::edit_record(slot(second).frame), two);
    EXPECT_EQ(window_text(two->subject), text);

    request_close(slot(second).frame);
    const Event again = wait_event();
    ASSERT_EQ(again.type, korv::event::close_request);
    EXPECT_EQ(again.record.slot(1), second);
    WindowCloseChild(second);
    EXPECT_EQ(slot(second).frame, nullptr);
}

TEST_F(InfoViewer, MissingFileLeavesAnEmptyWindowThatCloses)
{
    DeleteFileA(dir.path("Chromalversor3.rtf").c_str());
    std::vector<std::string> reports;
    int n = -1;
    {
        const ReportCapture capture{reports};
        n = open_info();
        WEditFile(help_name, 2, 0, info_options, 3, 10);
    }
    const std::string report = reports.empty() ? "" : reports.back();

    EXPECT_EQ(korv::error_state().last_error, 1);
    EXPECT_NE(report.find("Routine:WEditFile Error=   1:Error opening file or device"), std::string::npos)
        << report;
    HWND frame = slot(n).frame;
    EXPECT_EQ(korv::win_content_record(frame), nullptr);
    EXPECT_EQ(window_text(frame), "Info");

    request_close(frame);
    const Event close = wait_event();
    ASSERT_EQ(close.type, korv::event::close_request);
    EXPECT_EQ(close.record.slot(1), n);
    WindowCloseChild(n);
    EXPECT_EQ(slot(n).frame, nullptr);
}

TEST_F(InfoViewer, ExitCommandAsksTheProgramToClose)
{
    const int n = open_info();
    WEditFile(help_name, 2, 0, info_options, 3, 10);
    drain();
    SetForegroundWindow(slot(n).frame);
    press_keys({{'F', false, false, true}, {'X'}});  // Alt+F opens File, X is E&xit
    const Event close = wait_event();
    ASSERT_EQ(close.type, korv::event::close_request);
    EXPECT_EQ(close.record.slot(1), n);
}

TEST_F(InfoViewer, NamesNoPathCanHoldAreRefused)
{
    const int n = open_info();
    WEditFile(std::string(300, 'a') + ".rtf", 2, 0, 64, 3, 10);
    EXPECT_EQ(korv::error_state().last_error, 1);
    EXPECT_EQ(korv::win_content_record(slot(n).frame), nullptr);
}

} // namespace
