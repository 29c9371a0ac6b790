// The dialog table and the life cycle of dialogs: loading, the table's
// limit, selecting, unloading, modal shows with their copy-back, and the
// error reports of the public routines.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "dialog_test_support.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

using namespace dialog_test;
using namespace korv::testing;

namespace {

class DialogLife : public ::testing::Test {
protected:
    // The toolkit starts as a program run with KORVDEBUG=2 would.
    static void SetUpTestSuite()
    {
        SetEnvironmentVariableA("KORVDEBUG", "2");
        toolkit_up();
        SetEnvironmentVariableA("KORVDEBUG", nullptr);
    }
    void SetUp() override
    {
        toolkit_up();
        korv::err_number_store(0);
    }
    void TearDown() override { unload_all(); }
    static int last_error() { return korv::error_state().last_error; }
};


// This must stay the only test of the program that reports in mode 2: the
// debug log is created by the first report of a run, in the current directory.
TEST_F(DialogLife, MissingTemplateIsLoggedWithKorvdebugTwo)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "korv_dialog_log_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.c_str());
    ASSERT_EQ(korv::error_state().report_mode, 2);
    WDialogLoad(999);
    korv::err_report_mode_set(0);
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(last_error(), 1007);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 0);
    EXPECT_EQ(korv::dialog_table().loaded, 0);
    HANDLE file = CreateFileA((dir + "\\debug").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[512] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(buffer, read),
              "Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load\r\n");
}

TEST_F(DialogLife, TheTableHoldsAHundredDialogs)
{
    for (int id = 1000; id < 1100; ++id)
        WDialogLoad(600, id);
    EXPECT_EQ(last_error(), 0);
    EXPECT_EQ(korv::dialog_table().loaded, 100);
    EXPECT_EQ(korv::dialog_free_slots(), 0);

    WDialogLoad(600, 2000);
    EXPECT_EQ(last_error(), 1087);
    EXPECT_EQ(korv::dialog_table().loaded, 100);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 1099);

    // A loaded identifier only becomes current; no window is made.
    HWND before = korv::dialog_table().windows[51];
    WDialogLoad(600, 1050);
    EXPECT_EQ(korv::dialog_table().loaded, 100);
    EXPECT_EQ(korv::dialog_current_window(), before);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 1050);
}

TEST_F(DialogLife, SameTemplateUnderTwoIdentifiersMakesTwoDialogs)
{
    WDialogLoad(600, 1);
    WDialogPutString(601, "first");
    WDialogLoad(600, 2);
    WDialogPutString(601, "second");
    EXPECT_EQ(korv::dialog_table().loaded, 2);
    WDialogSelect(1);
    char text[10];
    WDialogGetString(601, text);
    EXPECT_EQ(std::string(text, 10), "first     ");
    WDialogSelect(3);
    EXPECT_EQ(last_error(), 1008);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 1);
}

TEST_F(DialogLife, UnloadingALowerSlotKeepsTheCurrentDialog)
{
    WDialogLoad(600, 1);
    WDialogLoad(600, 2);
    WDialogLoad(600, 3);
    WDialogPutString(601, "three");
    korv::DialogTable& t = korv::dialog_table();
    HWND third = t.windows[3];
    HBITMAP marker = CreateBitmap(1, 1, 1, 1, nullptr);
    t.dialog_snapshots[3].bitmap = marker;

    // The window layer closes the window that holds dialog 1.
    korv::dialog_embedded_close(t.windows[1]);

    EXPECT_EQ(t.loaded, 2);
    EXPECT_EQ(korv::dialog_current_window(), third);
    EXPECT_EQ(t.dialog_snapshots[2].bitmap, marker);
    EXPECT_EQ(t.dialog_snapshots[3].bitmap, nullptr);
    t.dialog_snapshots[2] = {};
    DeleteObject(marker);
    char text[5];
    WDialogGetString(601, text);
    EXPECT_EQ(std::string(text, 5), "three");
}

TEST_F(DialogLife, RoutinesWithoutACurrentDialog)
{
    WDialogShow();
    EXPECT_EQ(last_error(), 1005);
    korv::err_number_store(0);
    WDialogHide(); // nothing to hide, nothing reported
    EXPECT_EQ(last_error(), 0);
    WDialogUnload();
    EXPECT_EQ(last_error(), 1005);
    int value = 0;
    korv::err_number_store(0);
    WDialogGetInteger(601, value);
    EXPECT_EQ(last_error(), 1005);
}

// Answers the modal instance from inside its own message loop.
struct ModalScript {
    static inline std::string typed;
    static inline int button = 0;
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        HWND instance = korv::dialog_table().windows[0];
        ASSERT_NE(instance, nullptr);
        HWND edit = GetDlgItem(instance, 501);
        SetFocus(edit);
        for (char c : typed)
            PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        PostMessageA(GetDlgItem(instance, button), BM_CLICK, 0, 0);
    }
};

TEST_F(DialogLife, ModalShowCopiesTheContentsBack)
{
    WEventTypeEnable(10, 1);
    WDialogLoad(500);
    ModalScript::typed = "abc";
    ModalScript::button = 3;
    SetTimer(nullptr, 0, 50, ModalScript::run);
    WDialogShow(-1, -1, 0, 1);

    EXPECT_EQ(last_error(), 0);
    EXPECT_EQ(WToolkitQuery(1), 3);
    EXPECT_EQ(WToolkitQuery(2), 501);
    EXPECT_EQ(WToolkitQuery(5), 500);
    EXPECT_EQ(korv::dialog_result_state().exit_button, 3);
    char text[3];
    WDialogGetString(501, text);
    EXPECT_EQ(std::string(text, 3), "abc");
    EXPECT_EQ(korv::dialog_table().windows[0], nullptr);
    // Nothing was posted from the instance, and the loaded dialog stayed hidden.
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_FALSE(IsWindowVisible(korv::dialog_current_window()));
}

TEST_F(DialogLife, ModalShowOfADialogLoadedUnderAnotherIdentifier)
{
    // The instance is made from the template the dialog was loaded from.
    WDialogLoad(500, 77);
    WDialogPutInteger(502, 9);
    ModalScript::typed = "x";
    ModalScript::button = IDCANCEL;
    SetTimer(nullptr, 0, 50, ModalScript::run);
    WDialogShow(-1, -1, 0, 1);
    EXPECT_EQ(last_error(), 0);
    EXPECT_EQ(WToolkitQuery(1), IDCANCEL);
    EXPECT_EQ(WToolkitQuery(5), 77);
    int value = 0;
    WDialogGetInteger(502, value);
    EXPECT_EQ(value, 9);

    // Events are posted again after the modal show.
    WEventTypeEnable(10, 1);
    WDialogShow();
    pump_dialog_messages();
    wevent_wait_until_quiet();
    WDialogSetField(501);
    post_key(VK_TAB);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(1), 77);
}

TEST_F(DialogLife, AModalInstanceThatCannotBeMadeIsReportedAndEventsGoOn)
{
    WDialogLoad(600, 5);
    // The template goes missing between loading and showing.
    korv::dialog_record_of(korv::dialog_current_window())->resource = 4711;
    WDialogShow(-1, -1, 0, 1);
    EXPECT_EQ(last_error(), 1088);
    EXPECT_EQ(korv::dialog_table().creating, 0);
    EXPECT_EQ(korv::dialog_table().windows[0], nullptr);

    WEventTypeEnable(10, 1);
    WDialogLoad(300);
    WDialogShow();
    pump_dialog_messages();
    wevent_wait_until_quiet();
    post_key(VK_TAB);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 10);
}

TEST_F(DialogLife, ModelessShowWhileASemiModelessDialogIsShownBecomesSemiModeless)
{
    WDialogLoad(600, 1);
    WDialogShow(-1, -1, 0, 3);
    EXPECT_EQ(last_error(), 0);
    EXPECT_EQ(korv::dialog_table().semi_modeless_count, 1);
    WDialogLoad(600, 2);
    WDialogShow(-1, -1, 0, 2);
    EXPECT_EQ(last_error(), 1014);
    EXPECT_EQ(korv::dialog_record_of(korv::dialog_current_window())->mode, 3);
    EXPECT_TRUE(IsWindowVisible(korv::dialog_current_window()));
    // The first dialog is disabled while the second is up.
    EXPECT_FALSE(IsWindowEnabled(korv::dialog_table().windows[1]));
    // A shown dialog shown again only comes to the front.
    korv::err_number_store(0);
    WDialogShow(-1, -1, 0, 1);
    EXPECT_EQ(last_error(), 0);
    WDialogHide();
    EXPECT_EQ(korv::dialog_table().semi_modeless_count, 1);
    EXPECT_TRUE(IsWindowEnabled(korv::dialog_table().windows[1]));
    // The hidden root window was disabled too while the dialogs were up.
    HWND root = korv::win_slot(0)->frame;
    EXPECT_FALSE(IsWindowEnabled(root));
    WDialogSelect(1);
    WDialogHide();
    EXPECT_EQ(korv::dialog_table().semi_modeless_count, 0);
    EXPECT_TRUE(IsWindowEnabled(root));
}

TEST_F(DialogLife, ShownAtTheClientOriginOfAWindow)
{
    WDialogLoad(600);
    WDialogShowAtWindow(0, 2, 0);
    EXPECT_EQ(last_error(), 0);
    POINT origin{0, 0};
    ClientToScreen(korv::win_slot(0)->client, &origin);
    RECT r{};
    GetWindowRect(korv::dialog_current_window(), &r);
    EXPECT_EQ(r.left, origin.x);
    EXPECT_EQ(r.top, origin.y);
}

} // namespace
