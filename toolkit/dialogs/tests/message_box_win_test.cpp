// The message box and the error reporter's message-box mode, answered by
// mouse clicks from a timer.
#include "korvanthide/common_dialogs.h"
#include "core/errors_text.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/window_ops.h"
#include "testing/gui_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace korv;
using korv::testing::answer_dialogs;
using korv::testing::answers_given;
using korv::testing::box_message;

namespace {

bool is_default(HWND dialog, int button)
{
    return (GetWindowLongA(GetDlgItem(dialog, button), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

} // namespace

TEST(ToolkitMessageBox, AnswersByButton)
{
    bool no_default = false;
    answer_dialogs({{"Frage", IDNO, [&](HWND d) { no_default = is_default(d, IDNO); }}});
    WMessageBox(4, 2, 2, "Speichern?   ", "Frage   ");
    EXPECT_EQ(answers_given(), 1);
    EXPECT_TRUE(no_default);
    EXPECT_EQ(WToolkitQuery(4), 2);
    EXPECT_EQ(WToolkitQuery(2), 0);

    answer_dialogs({{"Frage", IDCANCEL}});
    WMessageBox(4, 2, 1, "Speichern?", "Frage");
    EXPECT_EQ(WToolkitQuery(4), 0);

    bool ok_alone = false;
    answer_dialogs({{"Hinweis", IDOK, [&](HWND d) { ok_alone = !GetDlgItem(d, IDCANCEL) && !GetDlgItem(d, IDNO); }}});
    WMessageBox(9, 0, 2, "Fertig", "Hinweis");
    EXPECT_TRUE(ok_alone);
    EXPECT_EQ(WToolkitQuery(4), 1);

    answer_dialogs({{"Abbruch", IDIGNORE, [&](HWND d) { ok_alone = is_default(d, IDIGNORE); }}});
    WMessageBox(5, 1, 0, "Weiter?", "Abbruch");
    EXPECT_TRUE(ok_alone);
    EXPECT_EQ(WToolkitQuery(4), 0);
}

TEST(ToolkitMessageBox, ReportModeFourGoesOnAfterOk)
{
    cdlg_error_outputs_install();
    std::string shown;
    bool has_cancel = false;
    answer_dialogs({{"Library Error", IDOK, [&](HWND d) {
                         shown = box_message(d);
                         has_cancel = GetDlgItem(d, IDCANCEL) != nullptr;
                     }}});
    const int mode = error_state().report_mode;
    error_state().report_mode = 4;
    err_report(22, "IGrRectangle");
    error_state().report_mode = mode;
    EXPECT_EQ(answers_given(), 1);
    EXPECT_TRUE(has_cancel);
    EXPECT_NE(shown.find("IGrRectangle"), std::string::npos);
    EXPECT_NE(shown.find("Width/height=0"), std::string::npos);
    EXPECT_EQ(error_state().last_error, 22);
}

TEST(ToolkitMessageBox, ReportModeFourCancelEndsTheProgram)
{
    // The reporting program runs as a child; this test answers its box.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string child(path);
    child = child.substr(0, child.find_last_of("\\/") + 1) + "dialogs_error_box_child.exe";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + child + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND box = nullptr;
    for (int i = 0; i < 300 && !box; ++i) {
        Sleep(100);
        box = korv::testing::find_dialog("Library Error");
    }
    ASSERT_NE(box, nullptr);
    // A click that reaches the box before it takes input is lost: click
    // again while the box is still there.
    DWORD waited = WAIT_TIMEOUT;
    for (int i = 0; i < 30 && waited != WAIT_OBJECT_0; ++i) {
        if (IsWindow(box))
            korv::testing::click_button(box, IDCANCEL);
        waited = WaitForSingleObject(pi.hProcess, 1000);
    }
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u); // ended by Cancel, not by going on (3)
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
