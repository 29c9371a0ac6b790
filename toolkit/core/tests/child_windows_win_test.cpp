// Child windows opened in and closed from a root frame with a client area
// of 401 by 201 pixels.
#include "korvanthide/common_dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/child_windows.h"
#include "core/services/content_kinds.h"
#include "core/win_menus.h"
#include "core/win_module.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

using namespace korv;

namespace {

// A root window with a status bar and a client area of 401 by 201 pixels.
class ChildWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        WindowOpen(7 | 0x20, 0, 0, 401, 201);
        error_state().last_error = 0;
    }
    void TearDown() override { WRootWindowClose(); }
    static RECT client_of(int n)
    {
        RECT r{};
        GetClientRect(win_slot(n)->client, &r);
        return r;
    }
    HWND root() const { return win_slot(0)->frame; }
};

} // namespace

TEST(ChildUnits, PositionsAndSizes)
{
    EXPECT_EQ(child_units_to_size(5000, 401), 200);
    EXPECT_EQ(child_units_to_size(5000, 201), 100);
    EXPECT_EQ(child_units_to_position(9999, 401), 400);
    EXPECT_EQ(child_units_to_position(5000, 401), 200);
}

TEST_F(ChildWindows, InsideParentInWindowUnits)
{
    int child = 0;
    WindowOpenChild(child, 0x17, 0, 0, 5000, 5000);
    ASSERT_EQ(child, 1);
    EXPECT_EQ(error_state().last_error, 0);
    const RECT c = client_of(1);
    EXPECT_EQ(c.right, 200);
    EXPECT_EQ(c.bottom, 100);
    RECT frame{};
    GetWindowRect(win_slot(1)->frame, &frame);
    POINT at{frame.left, frame.top};
    ScreenToClient(win_slot(0)->client, &at);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
    // The new window is current, for the window and the graphics layer.
    EXPECT_EQ(win_info_query(4), 1);
    EXPECT_EQ(graphics_state().current_window, 1);
    EXPECT_EQ(graphics_state().drawable_width, 200);
    EXPECT_EQ(win_slot(1)->flags, 0x17);
    // Where a dialog shown at this window would go.
    POINT origin{0, 0};
    ClientToScreen(win_slot(1)->client, &origin);
    int x = 0, y = 0;
    cdlg_client_origin_on_screen(1, x, y);
    EXPECT_EQ(x, origin.x);
    EXPECT_EQ(y, origin.y);
}

TEST_F(ChildWindows, DefaultPositionIsCentredInTheParent)
{
    int child = 0;
    WindowOpenChild(child, 0x10, -999999, -999999, 5000, 5000);
    ASSERT_EQ(child, 1);
    RECT frame{};
    GetWindowRect(win_slot(1)->frame, &frame);
    POINT at{frame.left, frame.top};
    ScreenToClient(win_slot(0)->client, &at);
    EXPECT_EQ(at.x, (401 - (frame.right - frame.left)) / 2);
    EXPECT_EQ(at.y, (201 - (frame.bottom - frame.top)) / 2);
}

TEST_F(ChildWindows, RefusedParentsAreReportedAndKeepTheCurrentWindow)
{
    int child = 0;
    WindowOpenChild(child, 0x10, 0, 0, 5000, 5000, 0, {}, 0, {}, 7);
    EXPECT_EQ(child, -1);
    EXPECT_EQ(error_state().last_error, 1003);
    EXPECT_EQ(win_info_query(4), 0);
    ShowWindow(root(), SW_HIDE);
    WindowOpenChild(child, 0x10, 0, 0, 5000, 5000);
    EXPECT_EQ(error_state().last_error, 1016);
    ShowWindow(root(), SW_SHOW);
    DialogWindowRecord record;
    record.kind = ContentKind::dialog;
    win_content_record_set(root(), &record);
    WindowOpenChild(child, 0x10, 0, 0, 5000, 5000);
    EXPECT_EQ(error_state().last_error, 1046);
    record.kind = ContentKind::editor;
    WindowOpenChild(child, 0x10, 0, 0, 5000, 5000);
    EXPECT_EQ(error_state().last_error, 1056);
    win_content_record_set(root(), nullptr);
    EXPECT_EQ(child, -1);
    EXPECT_EQ(win_info_query(4), 0);
}

TEST_F(ChildWindows, FullTableGivesMinusOneWithoutReport)
{
    int child = 0;
    for (int i = 1; i <= 50; ++i) {
        WindowOpenChild(child, 0x80, 0, 0, 20, 20);
        ASSERT_EQ(child, i);
    }
    int free_slots = -1;
    win_free_slot_count(free_slots);
    EXPECT_EQ(free_slots, 0);
    WindowOpenChild(child, 0x80, 0, 0, 20, 20);
    EXPECT_EQ(child, -1);
    EXPECT_EQ(error_state().last_error, 0);
}

TEST_F(ChildWindows, ClosingTakesDownWhatLiesInside)
{
    int other = 0, outer = 0, inner = 0, owned = 0;
    WindowOpenChild(other, 0x87, 0, 0, 30, 30);
    WindowOpenChild(outer, 0x7, 10, 10, 300, 200);
    WindowOpenChild(inner, 0x17, 0, 0, 5000, 5000, 0, {}, 0, {}, outer);
    WindowOpenChild(owned, 0x187, 0, 0, 30, 30, 0, {}, 0, {}, outer);
    ASSERT_EQ(owned, 4);
    auto& t = window_tables();
    t.windows[1].reactivate = t.windows[2].frame;
    HWND outer_back = t.windows[2].reactivate;
    WindowCloseChild(outer);
    EXPECT_EQ(win_is_open(1), 1);
    EXPECT_EQ(win_is_open(2), 0);
    EXPECT_EQ(win_is_open(3), 0);
    EXPECT_EQ(win_is_open(4), 0);
    EXPECT_EQ(t.windows[2].flags, -1);
    EXPECT_EQ(t.windows[1].reactivate, outer_back);
    // The current window went down with it: window 0 is current again.
    EXPECT_EQ(win_info_query(4), 0);
    EXPECT_EQ(graphics_state().current_window, 0);
    WindowCloseChild(0);
    EXPECT_EQ(error_state().last_error, 1003);
    error_state().last_error = 0;
    WindowCloseChild(51);
    EXPECT_EQ(error_state().last_error, 1003);
    EXPECT_NE(t.windows[0].frame, nullptr);
}

TEST_F(ChildWindows, SplitWindowAndItsPanes)
{
    int host = 0, pane1 = 0, pane2 = 0;
    WindowOpenChild(host, 0x7, 10, 10, 300, 200);
    ASSERT_EQ(host, 1);
    win_split(pane1, pane2, 0, 100, {}, {});
    ASSERT_EQ(pane1, 2);
    ASSERT_EQ(pane2, 3);
    RECT f1{}, f2{};
    GetWindowRect(win_slot(2)->frame, &f1);
    GetWindowRect(win_slot(3)->frame, &f2);
    EXPECT_EQ(f1.right - f1.left, 100);
    EXPECT_EQ(f2.left - f1.right, GetSystemMetrics(SM_CXSIZEFRAME)); // the bar between them
    EXPECT_EQ(f2.right - f1.left, 300);
    int width = 0, height = 0, n = 3;
    win_select(n, width, height);
    EXPECT_EQ(win_split_parent(), 1);
    n = 1;
    win_select(n, width, height);
    EXPECT_EQ(win_split_parent(), -1);
    // A window that is already split refuses a second split.
    int again1 = 0, again2 = 0;
    win_split(again1, again2, 1, -1, {}, {});
    EXPECT_EQ(again1, -4);
    // Closing a pane closes both and makes the split window plain again.
    WindowCloseChild(pane1);
    EXPECT_EQ(win_is_open(2), 0);
    EXPECT_EQ(win_is_open(3), 0);
    EXPECT_EQ(win_is_open(1), 1);
    EXPECT_EQ(win_content_record(win_slot(1)->frame), nullptr);
    // Halves along a horizontal bar.
    n = 1;
    win_select(n, width, height);
    win_split(pane1, pane2, 1, -1, {}, {});
    ASSERT_EQ(pane1, 2);
    GetWindowRect(win_slot(2)->frame, &f1);
    EXPECT_EQ(f1.bottom - f1.top, (200 - GetSystemMetrics(SM_CXSIZEFRAME)) / 2);
}

// The panes are asked through the table of their kinds, nested splits
// included; the grid editor's stand-in lets its pane close.
TEST_F(ChildWindows, SplitWindowClosesOnlyWhenEveryPaneKindAgrees)
{
    int host = 0, pane1 = 0, pane2 = 0;
    WindowOpenChild(host, 0x7, 10, 10, 300, 200);
    win_split(pane1, pane2, 0, 100, {}, {});
    ASSERT_EQ(pane2, 3);
    int inner1 = 0, inner2 = 0, n = pane1, width = 0, height = 0;
    win_select(n, width, height);
    win_split(inner1, inner2, 1, -1, {}, {});
    ASSERT_EQ(inner2, 5);
    HWND split = win_slot(1)->frame;
    WindowContentRecord grid_editor;
    grid_editor.kind = ContentKind::grid_editor;
    win_content_record_set(win_slot(5)->frame, &grid_editor);
    EXPECT_EQ(win_panes_query_close(split), 1);
    ContentKindServices& kind = content_kind_services(ContentKind::grid_editor);
    const auto stand_in = kind.may_close;
    kind.may_close = [](HWND) { return 0; };
    EXPECT_EQ(win_panes_query_close(split), 0);
    kind.may_close = stand_in;
    win_content_record_set(win_slot(5)->frame, nullptr);
}

// The refusal names what the window holds.
TEST_F(ChildWindows, AWindowHoldingADialogRefusesASplitAsSuch)
{
    int host = 0, pane1 = 0, pane2 = 0;
    WindowOpenChild(host, 0x7, 10, 10, 300, 200);
    ASSERT_EQ(host, 1);
    DialogWindowRecord record;
    record.kind = ContentKind::dialog;
    win_content_record_set(win_slot(host)->frame, &record);
    win_split(pane1, pane2, 0, 100, {}, {});
    win_content_record_set(win_slot(host)->frame, nullptr);
    EXPECT_EQ(pane1, -3);
    EXPECT_EQ(pane2, -3);
    EXPECT_EQ(win_is_open(2), 0);
}

// The split window's frame has no menu of its own: a pane's menu shows in
// its bar.
TEST_F(ChildWindows, APaneMenuShowsInTheBarOfTheSplitWindow)
{
    int host = 0, pane1 = 0, pane2 = 0;
    WindowOpenChild(host, 0x7, 10, 10, 300, 200);
    win_split(pane1, pane2, 0, 100, {}, {});
    ASSERT_EQ(pane1, 2);
    int identifier = 610;
    win_root_menu_set(identifier, pane1);
    EXPECT_EQ(identifier, 610);
    ASSERT_NE(win_slot(pane1)->menu, nullptr);
    EXPECT_EQ(GetMenu(win_slot(host)->frame), win_slot(pane1)->menu);
}

TEST_F(ChildWindows, ErrorModeThreeWritesIntoTheRootStatusBar)
{
    int child = 0;
    WindowOpenChild(child, 0x17, 0, 0, 5000, 5000);
    ASSERT_EQ(child, 1);
    const int mode = error_state().report_mode;
    error_state().report_mode = 3;
    err_report(22, "IGrRectangle");
    error_state().report_mode = mode;
    char text[256] = {};
    SendMessageA(win_slot(0)->status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Routine:IGrRectangle Error=  22:Width/height=0 for a rectangle/triangle/parallelogram");
    EXPECT_EQ(error_state().last_error, 22);
    // The reporting routine keeps its window.
    EXPECT_EQ(win_info_query(4), 1);
    EXPECT_EQ(graphics_state().current_window, 1);
}

TEST_F(ChildWindows, ToolbarsGrowTheFrameAndKeepTheClientSize)
{
    int child = 0;
    WindowOpenChild(child, 0x7, 20, 20, 300, 150, 0, {600, 0, 0, 0});
    ASSERT_EQ(child, 1);
    const WindowSlot& s = *win_slot(1);
    ASSERT_NE(s.toolbars[0], nullptr);
    const RECT c = client_of(1);
    EXPECT_EQ(c.right, 300);
    EXPECT_EQ(c.bottom, 150);
    // The client lies below the toolbar.
    RECT bar{}, client{};
    GetWindowRect(s.toolbars[0], &bar);
    GetWindowRect(s.client, &client);
    EXPECT_GE(client.top, bar.bottom);
}

TEST_F(ChildWindows, ClosingReleasesTheSlotAndWhatHangsOnIt)
{
    // Both the window closed by name and the one inside it that goes down
    // with it give back their tooltip tables and pending redraws.
    int outer = 0, inner = 0;
    WindowOpenChild(outer, 0x7, 10, 10, 300, 200);
    WindowOpenChild(inner, 0x17, 0, 0, 5000, 5000, 0, {}, 0, {}, outer);
    ASSERT_GT(outer, 0);
    ASSERT_GT(inner, 0);
    for (int n : {outer, inner}) {
        win_slot(n)->tooltips = std::make_unique<ToolbarTooltipTable>();
        event_state().pending[static_cast<std::size_t>(n)].type = 5;
    }
    WindowCloseChild(outer);
    for (int n : {outer, inner}) {
        const WindowSlot& s = *win_slot(n);
        EXPECT_EQ(s.frame, nullptr) << n;
        EXPECT_EQ(s.flags, -1) << n;
        EXPECT_EQ(s.tooltips, nullptr) << n;
        EXPECT_EQ(event_state().pending[static_cast<std::size_t>(n)].type, 0) << n;
    }
}

TEST_F(ChildWindows, MenuTakesItsCommandTableAndKeepsItsLook)
{
    int child = 0;
    WindowOpenChild(child, 0x7, 10, 10, 300, 200, 610);
    ASSERT_GT(child, 0);
    HMENU menu = win_slot(child)->menu;
    ASSERT_NE(menu, nullptr);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
    EXPECT_EQ(info.wID, 700u);
    const UINT state = GetMenuState(GetSubMenu(menu, 0), 612, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_DISABLED);
    EXPECT_FALSE(state & MF_GRAYED);
    WindowCloseChild(child);
}
