// The window operations on windows that hold something: taking off an
// editor, an embedded dialog or a split; placing a pane, a window with an
// editor, a maximised child and a hidden window with a dialog.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "editor_gui_support.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace opt = korv::EditorOptionFlags;
namespace flag = korv::winflag;
constexpr int keep = -999999;

void make_current(int n)
{
    int width = 0, height = 0;
    korv::win_select(n, width, height);
}

SIZE client_of(int n)
{
    RECT r{};
    GetClientRect(slot(n).client, &r);
    return {r.right, r.bottom};
}

class WindowContents : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WToolkitStart();
        WindowOpen(flag::defaults | flag::hidden, keep, keep, 800, 600, 0, {}, 0, "Contents");
        drain();
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void TearDown() override { child_windows_close(); }
};

} // namespace

TEST_F(WindowContents, DetachByKind)
{
    int dialog = 7, status = -1;
    korv::window_tables().current = 49;  // no window there
    korv::win_contents_detach(dialog, 0, status);
    EXPECT_EQ(status, 1);
    const int plain = open_window("Leer");
    korv::win_contents_detach(dialog, 0, status);
    EXPECT_EQ(status, 2);
    (void)plain;

    // An editor: the window is as it was before.
    const int n = open_window("Titel", flag::defaults | flag::status_bar);
    const SIZE before = client_of(n);
    WEditFile("", 2, 0, opt::command_line, 4, 0);
    drain();
    ASSERT_NE(editor_of(n), nullptr);
    HWND text = text_of(n);
    HWND toolbar = editor_of(n)->toolbar;
    ASSERT_NE(GetMenu(slot(n).frame), nullptr);
    korv::win_contents_detach(dialog, 0, status);
    drain();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(editor_of(n), nullptr);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_FALSE(IsWindow(toolbar));
    EXPECT_EQ(GetMenu(slot(n).frame), nullptr);
    EXPECT_EQ(window_text(slot(n).frame), "Titel");
    EXPECT_EQ(SendMessageA(slot(n).status_bar, SB_GETPARTS, 0, 0), 1);
    EXPECT_EQ(client_of(n).cx, before.cx);
    EXPECT_EQ(client_of(n).cy, before.cy);
    EXPECT_TRUE(IsWindowVisible(slot(n).client));
    // The window takes its events again like any other.
    korv::win_contents_detach(dialog, 0, status);
    EXPECT_EQ(status, 2);

    // A dialog inside a window: the frame can be sized again.
    int d = -1;
    WindowOpenChild(d, flag::defaults, keep, keep, 0, 0, 0, {}, 350, "Dialog");
    drain();
    ASSERT_GT(d, 0);
    ASSERT_NE(korv::win_content_record(slot(d).frame), nullptr);
    HWND embedded = korv::win_content_record(slot(d).frame)->subject;
    dialog = 350;
    korv::win_contents_detach(dialog, flag::maximise_box, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(korv::win_content_record(slot(d).frame), nullptr);
    EXPECT_FALSE(IsWindow(embedded));
    EXPECT_TRUE(GetWindowLongA(slot(d).frame, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(slot(d).frame, GWL_STYLE) & WS_MAXIMIZEBOX);

    // A split window: it closes with its panes.
    const int s = open_window("Geteilt");
    int pane1 = -1, pane2 = -1;
    korv::win_split(pane1, pane2, 0, 100, {}, {});
    drain();
    ASSERT_GT(pane1, 0);
    make_current(s);
    korv::win_contents_detach(dialog, 0, status);
    drain();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(slot(pane1).frame, nullptr);
    EXPECT_EQ(slot(pane2).frame, nullptr);
    EXPECT_EQ(slot(s).frame, nullptr);
}

TEST_F(WindowContents, PlacingAWindowThatHoldsAnEditor)
{
    const int n = open_window("Editor");
    WEditFile("", 2, 0, 0, 4, 0);
    drain();
    ASSERT_NE(editor_of(n)->toolbar, nullptr);
    int width = 300, height = 200;
    korv::win_placement_set(keep, keep, width, height, -1);
    drain();
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 200);
}

TEST_F(WindowContents, PlacingAPaneMovesTheBar)
{
    const int s = open_window("Geteilt", flag::defaults, 600);
    int pane1 = -1, pane2 = -1;
    korv::win_split(pane1, pane2, 0, -1, {}, {});
    drain();
    ASSERT_GT(pane1, 0);
    make_current(pane1);
    RECT split_client{};
    GetClientRect(slot(s).client, &split_client);
    RECT frame_before{};
    GetWindowRect(slot(pane1).frame, &frame_before);
    int width = 150, height = keep;
    korv::win_placement_set(keep, keep, width, height, -1);
    drain();
    EXPECT_EQ(width, 150);
    RECT first{}, second{}, bar{};
    GetWindowRect(slot(pane1).frame, &first);
    GetWindowRect(slot(pane2).frame, &second);
    GetWindowRect(korv::win_split_record(slot(s).frame)->subject, &bar);
    EXPECT_EQ(first.left, frame_before.left);  // the pane stays where it is
    // The bar and the second pane follow it, without a gap.
    EXPECT_EQ(bar.left, first.right);
    EXPECT_EQ(second.left, bar.right);
}

TEST_F(WindowContents, MaximisedChildComesBackToItsNewPlace)
{
    // An editor's window keeps a restore rectangle while maximised.
    const int n = open_window("Gross");
    WEditFile("", 2, 0, opt::no_toolbar, 4, 0);
    drain();
    int width = keep, height = keep;
    korv::win_placement_set(keep, keep, width, height, 2);
    drain();
    ASSERT_TRUE(IsZoomed(slot(n).frame));
    width = 260;
    height = 170;
    korv::win_placement_set(30, 40, width, height, -1);
    drain();
    ASSERT_TRUE(IsZoomed(slot(n).frame));
    ShowWindow(slot(n).frame, SW_RESTORE);
    drain();
    EXPECT_EQ(client_of(n).cx, 260);
    EXPECT_EQ(client_of(n).cy, 170);
}

TEST_F(WindowContents, HiddenWindowShowsItsDialog)
{
    int d = -1;
    WindowOpenChild(d, flag::defaults | flag::hidden, keep, keep, 0, 0, 0, {}, 350, "Versteckt");
    drain();
    ASSERT_GT(d, 0);
    HWND embedded = korv::win_content_record(slot(d).frame)->subject;
    ASSERT_FALSE(IsWindowVisible(slot(d).frame));
    int width = keep, height = keep;
    korv::win_placement_set(keep, keep, width, height, 1);
    drain();
    EXPECT_TRUE(IsWindowVisible(slot(d).frame));
    EXPECT_TRUE(IsWindowVisible(embedded));
}
