// The root window's menu and toolbars end to end: what WindowOpen makes of
// its menu resource, its toolbar sides and the help strings, and the menu
// help the user sees in the status bar while menus are open.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "korvanthide/events.h"
#include "korvanthide/menus.h"
#include "korvanthide/window.h"
#include "core/win_menus.h"
#include "testing/gui_support.h"

namespace {

using korv::testing::drain;
using korv::testing::press;

WindowSlot& root() { return *korv::win_slot(0); }

RECT frame_rect()
{
    RECT r{};
    GetWindowRect(root().frame, &r);
    return r;
}

constexpr int with_status_bar = 0x27;

class RootWindowBars : public ::testing::Test {
protected:
    void TearDown() override { WRootWindowClose(); }
};

TEST_F(RootWindowBars, MenuTableAcceleratorsHelpAndToolbarsAtOpening)
{
    WindowOpen(with_status_bar, -999999, -999999, 640, 480, 400);
    drain();
    const RECT plain = frame_rect();
    HMENU menu = root().menu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 2), 404u);
    MENUITEMINFOA popup{};
    popup.cbSize = sizeof popup;
    popup.fMask = MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &popup));
    EXPECT_EQ(popup.wID, 410u);
    EXPECT_NE(root().accelerators, nullptr);
    EXPECT_NE(root().menu_help, nullptr);
    WRootWindowClose();

    // Toolbars on the top and the left: the client keeps its size, the
    // frame grows by the bars and a centred frame moves back by half.
    WindowOpen(with_status_bar, -999999, -999999, 640, 480, 400, {420, 420, 0, 0});
    drain();
    ASSERT_NE(root().toolbars[0], nullptr);
    ASSERT_NE(root().toolbars[1], nullptr);
    EXPECT_EQ(root().toolbar_thickness[0], 27);  // 15 + 6 + 6
    EXPECT_EQ(root().toolbar_thickness[1], 25);  // 16 + 6 + 3
    RECT client{};
    GetClientRect(root().client, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    const RECT barred = frame_rect();
    EXPECT_EQ(barred.right - barred.left, plain.right - plain.left + 25);
    EXPECT_EQ(barred.bottom - barred.top, plain.bottom - plain.top + 27);
    EXPECT_EQ(barred.left, plain.left - 12);
    EXPECT_EQ(barred.top, plain.top - 13);
    // The client lies beside the left bar and under the top bar.
    RECT inner{};
    GetWindowRect(root().client, &inner);
    RECT top{};
    GetWindowRect(root().toolbars[0], &top);
    RECT left{};
    GetWindowRect(root().toolbars[1], &left);
    EXPECT_EQ(inner.top, top.bottom);
    EXPECT_EQ(inner.left, left.right);
    // The bar's buttons carry the commands the table gave the menu.
    EXPECT_NE(SendMessageA(root().toolbars[0], TB_COMMANDTOINDEX, 404, 0), -1);
}

// Reads the status bar each time the timer fires while a menu is open and
// then presses the next key, until the keys run out.
struct MenuProbe {
    std::vector<WORD> keys;
    std::vector<std::string> seen;
    bool started = false;
    UINT_PTR timer = 0;
};
MenuProbe probe;

void CALLBACK probe_tick(HWND, UINT, UINT_PTR, DWORD)
{
    // The frame switches its status bar to the simple part when a menu
    // loop begins.
    if (!probe.started) {
        if (SendMessageA(root().status_bar, SB_ISSIMPLE, 0, 0) == 0) return;
        probe.started = true;
    }
    if (probe.seen.size() >= probe.keys.size()) return;
    // A simple bar answers for its one part under index 0.
    char text[256] = {};
    SendMessageA(root().status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    probe.seen.emplace_back(text);
    press(probe.keys[probe.seen.size() - 1]);
}

void probe_start(std::vector<WORD> keys)
{
    probe = MenuProbe{};
    probe.keys = std::move(keys);
    probe.timer = SetTimer(nullptr, 0, 60, probe_tick);
}

void probe_finish()
{
    korv::testing::poll_until([] { return probe.seen.size() >= probe.keys.size(); }, 2000);
    KillTimer(nullptr, probe.timer);
    drain();
}

TEST_F(RootWindowBars, MenuHelpTakesAttachedStringsThenTheResourceThenThePopups)
{
    WindowOpen(with_status_bar, -999999, -999999, 640, 480, 400);
    drain();
    int command = 402;
    korv::win_menu_item_help_set(command, "Attached text");
    ASSERT_EQ(command, 402);

    // Alt selects the File popup on the bar; Down opens it on Open; Down,
    // Down; Esc, Esc leave the menu.
    SetForegroundWindow(root().frame);
    probe_start({VK_DOWN, VK_DOWN, VK_DOWN, VK_ESCAPE, VK_ESCAPE});
    press(VK_MENU);
    probe_finish();
    ASSERT_EQ(probe.seen.size(), 5u);
    probe.seen.pop_back();
    EXPECT_EQ(probe.seen,
              (std::vector<std::string>{"File commands", "Opens a file", "Attached text", "Renumbered"}));
    EXPECT_EQ(SendMessageA(root().status_bar, SB_ISSIMPLE, 0, 0), 0);

    // A floating popup's own strings come last.
    probe_start({VK_DOWN, VK_ESCAPE});
    int popup = 430;
    korv::win_popup_menu(popup, 10, 10, 1);
    probe_finish();
    ASSERT_EQ(popup, 430);
    ASSERT_EQ(probe.seen.size(), 2u);
    EXPECT_EQ(probe.seen[1], "Popup help");

    // The attached string goes with the window.
    EXPECT_EQ(korv::win_menu_attached_count(0), 1);
    WRootWindowClose();
    EXPECT_EQ(korv::win_menu_attached_count(0), 0);
}

} // namespace
