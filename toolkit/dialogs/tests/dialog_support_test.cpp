// Around dialogs: other windows disabled by a modal show, the cancel
// command ending it, snapshots, titles and icons, the dialog size, and
// trackbar and keep-pages behaviour.
#include <gtest/gtest.h>

#include <string>

#include "dialog_test_support.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "dialogs/dialog_operations.h"

using namespace dialog_test;
using namespace korv::testing;

namespace {

class Support : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        korv::err_number_store(0);
    }
    void TearDown() override { unload_all(); }
    static int last_error() { return korv::error_state().last_error; }
};

struct EscapeScript {
    static inline bool other_enabled = true;
    static inline HWND other = nullptr;
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        other_enabled = IsWindowEnabled(other) != FALSE;
        HWND instance = korv::dialog_table().windows[0];
        HWND edit = GetDlgItem(instance, 501);
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }
};

TEST_F(Support, ModalShowDisablesOtherDialogsAndTheCancelCommandEndsIt)
{
    WDialogLoad(600, 1);
    WDialogShow();
    pump_dialog_messages();
    EscapeScript::other = korv::dialog_current_window();
    WDialogLoad(500);
    SetTimer(nullptr, 0, 50, EscapeScript::run);
    WDialogShow(-1, -1, 0, 1);
    EXPECT_FALSE(EscapeScript::other_enabled);
    EXPECT_TRUE(IsWindowEnabled(EscapeScript::other));
    EXPECT_EQ(korv::dialog_result_state().exit_button, IDCANCEL);
    EXPECT_EQ(korv::dialog_result_state().exit_field, 501);
}

TEST_F(Support, NestedSnapshotsAreTakenOnceAndGivenBackAtTheOuterEnd)
{
    WDialogLoad(400);
    WDialogShow();
    pump_dialog_messages();
    korv::dialog_record_of(korv::dialog_current_window())->graphics_dialog = 1;
    korv::DialogTable& t = korv::dialog_table();
    int out = -1;
    korv::dialog_window_snapshots(1, -1, out);
    EXPECT_EQ(out, 0);
    const HBITMAP first = t.dialog_snapshots[1].bitmap;
    ASSERT_NE(first, nullptr);
    korv::dialog_window_snapshots(1, -1, out);
    EXPECT_EQ(t.dialog_snapshots[1].bitmap, first);
    EXPECT_EQ(t.dialog_snapshots[1].nesting, 2);
    korv::dialog_window_snapshots(0, -1, out);
    EXPECT_EQ(t.dialog_snapshots[1].bitmap, first);
    EXPECT_EQ(t.snapshots_taken, 1);
    korv::dialog_window_snapshots(0, -1, out);
    EXPECT_EQ(t.dialog_snapshots[1].bitmap, nullptr);
    EXPECT_EQ(t.snapshots_taken, 0);
}

// Under a blocking dialog a plain window and a split window keep their
// pictures; a window turned into other content paints itself.
TEST_F(Support, SnapshotsKeepPlainAndSplitWindowsOnly)
{
    int plain = 0, split = 0, converted = 0, pane1 = 0, pane2 = 0;
    WindowOpenChild(plain, 0x7, 0, 0, 200, 100);
    WindowOpenChild(split, 0x7, 0, 0, 200, 100);
    korv::win_split(pane1, pane2, 0, -1, {}, {});
    WindowOpenChild(converted, 0x7, 0, 0, 200, 100);
    ASSERT_GT(converted, 0);
    HWND frame = korv::win_slot(converted)->frame;
    WindowContentRecord record;
    record.kind = korv::ContentKind::bitmap_viewer;
    korv::win_content_record_set(frame, &record);
    const auto& snapshots = korv::dialog_table().window_snapshots;
    int out = -1;
    korv::dialog_window_snapshots(1, -1, out);
    const bool plain_kept = snapshots[static_cast<std::size_t>(plain)].bitmap != nullptr;
    const bool split_kept = snapshots[static_cast<std::size_t>(split)].bitmap != nullptr;
    const bool converted_kept = snapshots[static_cast<std::size_t>(converted)].bitmap != nullptr;
    korv::dialog_window_snapshots(0, -1, out);
    korv::win_content_record_set(frame, nullptr);
    for (const int n : {converted, split, plain})
        WindowCloseChild(n);
    EXPECT_TRUE(plain_kept);
    EXPECT_TRUE(split_kept);
    EXPECT_FALSE(converted_kept);
}

TEST_F(Support, TitleAndIcon)
{
    WDialogLoad(300);
    WDialogTitle("Neu   ");
    EXPECT_EQ(window_text(korv::dialog_current_window()), "Neu");
    const LRESULT before = SendMessageA(korv::dialog_current_window(), WM_GETICON, ICON_BIG, 0);
    WDialogTitle({}, 0);
    EXPECT_EQ(last_error(), 0);
    const LRESULT icon1 = SendMessageA(korv::dialog_current_window(), WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(icon1, 0);
    EXPECT_NE(icon1, before);
    WDialogTitle("Zwei", 4242);
    EXPECT_EQ(last_error(), 1015);
    EXPECT_EQ(window_text(korv::dialog_current_window()), "Zwei");
    EXPECT_EQ(SendMessageA(korv::dialog_current_window(), WM_GETICON, ICON_BIG, 0), icon1);
    WDialogTitle({}, 77);
    EXPECT_NE(SendMessageA(korv::dialog_current_window(), WM_GETICON, ICON_BIG, 0), icon1);
}

TEST_F(Support, ShrinkingADialogHidesFieldsAndGrowingShowsThemAgain)
{
    WDialogLoad(300);
    WDialogFieldState(306, 2);
    HWND dialog = korv::dialog_current_window();
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(korv::dialog_set_size(80, 0), 0);
    EXPECT_FALSE(IsWindowVisible(field(306)) || (GetWindowLongA(field(306), GWL_STYLE) & WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongA(field(301), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(korv::field_record_of(field(306))->state, 2);
    RECT shrunk{};
    GetClientRect(dialog, &shrunk);
    EXPECT_EQ(shrunk.bottom, client.bottom);
    EXPECT_LT(shrunk.right, client.right);
    EXPECT_EQ(korv::dialog_set_size(220, 0), 0);
    EXPECT_TRUE(GetWindowLongA(field(306), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(field(306), GWL_STYLE) & ES_READONLY);
}

TEST_F(Support, TrackbarStepsPostAFieldChangeEach)
{
    WDialogLoad(400);
    WDialogShow();
    WDialogSetField(401);
    pump_dialog_messages();
    WEventTypeEnable(10, 1);
    wevent_wait_until_quiet();
    post_key(VK_RIGHT);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(2), 401);
    EXPECT_EQ(e.record.slot(3), 401);
    EXPECT_EQ(e.record.slot(14), reinterpret_cast<LONG_PTR>(field(401)));
    EXPECT_TRUE(wevent_wait_until_quiet().empty()); // the end of the scroll posts nothing
    int position = 0;
    WDialogGetTrackBar(401, position);
    EXPECT_EQ(position, 31);
}

TEST_F(Support, UnloadingCanKeepTheTabPages)
{
    WDialogLoad(900);
    ASSERT_EQ(korv::dialog_table().loaded, 3);
    WDialogUnload(1);
    EXPECT_EQ(korv::dialog_table().loaded, 2);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 0);
    WDialogSelect(911);
    EXPECT_EQ(last_error(), 0);
}

} // namespace
