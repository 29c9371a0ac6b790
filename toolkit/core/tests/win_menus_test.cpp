// Menus and toolbars from this test's resources on real windows.
#include "korvanthide/menus.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "test_frames.h"
#include "core/win_menus.h"

namespace {

using korv::testing::close_test_window;
using korv::testing::FrameOptions;
using korv::testing::open_test_window;

constexpr int window = 3;

WindowSlot& slot() { return *korv::win_slot(window); }

std::string item_text(HMENU menu, UINT command)
{
    char text[128] = {};
    GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

UINT item_id(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return info.wID;
}

// One window for the suite; each test gets menu 500 afresh.
class MenuWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        FrameOptions options;
        options.status_bar = true;
        options.menu_help = 500;
        open_test_window(window, options);
    }
    static void TearDownTestSuite() { close_test_window(window); }
    void SetUp() override
    {
        slot().menu = korv::win_menu_load(500);
        ASSERT_NE(slot().menu, nullptr);
        SetMenu(slot().frame, slot().menu);
        korv::window_tables().current = window;
    }
    void TearDown() override
    {
        for (int side = 0; side < 4; ++side) {
            int id = 0, w = 0, h = 0;
            korv::win_toolbar_load(id, window, side, w, h);
        }
        SetMenu(slot().frame, nullptr);
        korv::win_menu_strings_free(slot().menu, window);
        DestroyMenu(slot().menu);
        slot().menu = nullptr;
        if (HRSRC help = FindResourceA(nullptr, MAKEINTRESOURCEA(500), "ZOQMENUSTRING")) {
            slot().menu_help = LoadResource(nullptr, help);
        }
    }
    HWND bar(int side) const { return slot().toolbars[static_cast<std::size_t>(side)]; }
    void load_toolbar(int identifier, int side)
    {
        int id = identifier, w = 0, h = 0;
        korv::win_toolbar_load(id, window, side, w, h);
        ASSERT_EQ(id, identifier);
    }
};

TEST_F(MenuWindow, CommandTableAndGreyPass)
{
    HMENU menu = slot().menu;
    HMENU edit = GetSubMenu(menu, 1);
    EXPECT_EQ(item_id(edit, 0), 500u);            // path 2, 1
    EXPECT_EQ(item_id(menu, 0), 510u);            // the File popup item
    EXPECT_EQ(item_text(menu, 500), "Cu&t");
    // The resource's inactive item is shown grey.
    EXPECT_NE(GetMenuState(menu, 202, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // A menu set straight on a window gets the identifiers only.
    HMENU plain = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(500));
    korv::win_menu_command_ids(plain, 500);
    EXPECT_EQ(item_id(GetSubMenu(plain, 1), 0), 500u);
    EXPECT_EQ(GetMenuState(plain, 202, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(plain);

    EXPECT_EQ(korv::win_menu_load(999), nullptr);
}

TEST_F(MenuWindow, ToolbarSizesImagesAndStartingStates)
{
    load_toolbar(600, 0);
    ASSERT_NE(bar(0), nullptr);
    ASSERT_EQ(SendMessageA(bar(0), TB_BUTTONCOUNT, 0, 0), 4);
    const LRESULT size = SendMessageA(bar(0), TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(size), 22);
    EXPECT_EQ(HIWORD(size), 21);
    struct Expect {
        int index, command, image;
        bool separator, enabled, checked;
    };
    // 101 is checked in the menu, 102 grey, 103 not in the menu.
    for (const Expect& e : {Expect{0, 101, 0, false, true, true}, Expect{1, 0, 0, true, true, false},
                            Expect{2, 102, 1, false, false, false},
                            Expect{3, 103, 2, false, true, false}}) {
        TBBUTTON button{};
        SendMessageA(bar(0), TB_GETBUTTON, static_cast<WPARAM>(e.index), reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ((button.fsStyle & TBSTYLE_SEP) != 0, e.separator) << e.index;
        if (e.separator) continue;
        EXPECT_EQ(button.idCommand, e.command);
        EXPECT_EQ(button.iBitmap, e.image) << e.index;
        EXPECT_EQ((button.fsState & TBSTATE_ENABLED) != 0, e.enabled) << e.index;
        EXPECT_EQ((button.fsState & TBSTATE_CHECKED) != 0, e.checked) << e.index;
    }
    RECT r{};
    GetWindowRect(bar(0), &r);
    EXPECT_EQ(r.bottom - r.top, 27);
    EXPECT_EQ(slot().toolbar_thickness[0], 27);

    load_toolbar(600, 1);
    GetWindowRect(bar(1), &r);
    EXPECT_EQ(r.right - r.left, 25);
    EXPECT_EQ(slot().toolbar_thickness[1], 25);

    // A missing bitmap leaves the buttons; a missing resource gives -1 and
    // no bar; a closed window -2.
    load_toolbar(601, 3);
    EXPECT_EQ(SendMessageA(bar(3), TB_BUTTONCOUNT, 0, 0), 1);
    int id = 999, w = 0, h = 0;
    korv::win_toolbar_load(id, window, 2, w, h);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(bar(2), nullptr);
    id = 600;
    korv::win_toolbar_load(id, 40, 0, w, h);
    EXPECT_EQ(id, -2);
}

TEST_F(MenuWindow, ToolbarKeepsThePlaceGivenToIt)
{
    // A toolbar left to itself moves to the top of its parent when sized.
    load_toolbar(600, 2);
    MoveWindow(bar(2), 300, 40, 25, 200, TRUE);
    korv::testing::pump_messages(20);
    RECT r{};
    GetWindowRect(bar(2), &r);
    MapWindowPoints(nullptr, slot().frame, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 25);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(MenuWindow, TooltipsKeptCutAndFreedWithTheLastToolbar)
{
    int command = 103;
    korv::win_toolbar_tooltip_set(command, "Before any toolbar");
    EXPECT_EQ(command, -1);

    load_toolbar(600, 0);
    command = 103;
    korv::win_toolbar_tooltip_set(command, std::string(100, 'x'));
    EXPECT_EQ(command, 103);
    ASSERT_NE(korv::win_toolbar_tooltip_find(window, 103), nullptr);
    EXPECT_EQ(std::string(korv::win_toolbar_tooltip_find(window, 103)), std::string(79, 'x'));

    command = 101;
    korv::win_toolbar_tooltip_set(command, "Open   ");
    EXPECT_EQ(std::string(korv::win_toolbar_tooltip_find(window, 101)), "Open");
    command = 101;
    korv::win_toolbar_tooltip_set(command, " ");  // empty: the record is freed
    EXPECT_EQ(korv::win_toolbar_tooltip_find(window, 101), nullptr);

    command = 777;
    korv::win_toolbar_tooltip_set(command, "No such button");
    EXPECT_EQ(command, -1);

    int id = 0, w = 0, h = 0;
    korv::win_toolbar_load(id, window, 0, w, h);
    EXPECT_EQ(slot().tooltips, nullptr);
    load_toolbar(600, 0);
    EXPECT_EQ(korv::win_toolbar_tooltip_find(window, 103), nullptr);
}

TEST_F(MenuWindow, CheckEnableAndStateReachMenuAndButtons)
{
    load_toolbar(600, 0);
    int state = 0;
    korv::win_menu_item_check(101, state);
    EXPECT_EQ(state, 1);  // a button was set
    EXPECT_EQ(GetMenuState(slot().menu, 101, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(korv::win_menu_item_state(101, 2), 0);

    state = 0;
    korv::win_menu_item_enable(104, state);  // menu only
    EXPECT_EQ(state, 0);
    EXPECT_EQ(korv::win_menu_item_state(104, 1), 0);
    EXPECT_NE(GetMenuState(slot().menu, 104, MF_BYCOMMAND) & MF_GRAYED, 0u);

    state = 0;
    korv::win_menu_item_enable(103, state);  // toolbar only
    EXPECT_EQ(state, 1);
    EXPECT_EQ(korv::win_menu_item_state(103, 1), 0);
    EXPECT_EQ(SendMessageA(bar(0), TB_ISBUTTONENABLED, 103, 0), 0);

    state = 1;
    korv::win_menu_item_check(999, state);
    EXPECT_EQ(state, -1);
    EXPECT_EQ(korv::win_menu_item_state(999, 1), -1);
    EXPECT_EQ(korv::win_menu_item_state(101, 7), 0);
}

TEST_F(MenuWindow, TextInsertDeleteAndHelpStrings)
{
    int command = 104;
    korv::win_menu_item_text_set(command, "&Leave   ");
    EXPECT_EQ(command, 104);
    EXPECT_EQ(item_text(slot().menu, 104), "&Leave");

    HMENU file = GetSubMenu(slot().menu, 0);  // 101, 102, 104
    command = 102;
    korv::win_menu_item_insert(command, 1, 120, "Before");
    command = 102;
    korv::win_menu_item_insert(command, 2, 121, "After");
    command = 102;
    korv::win_menu_item_insert(command, 99, 0, "");
    EXPECT_EQ(GetMenuItemCount(file), 6);
    EXPECT_EQ(item_id(file, 1), 120u);
    EXPECT_EQ(item_id(file, 2), 102u);
    EXPECT_EQ(item_id(file, 3), 121u);
    EXPECT_EQ(GetMenuState(file, 5, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    command = 888;
    korv::win_menu_item_insert(command, 1, 122, "Nowhere");
    EXPECT_EQ(command, -1);

    // An attached string wins over the resource's text for the command.
    EXPECT_EQ(korv::win_menu_help_text(window, 101), "Opens a file");
    command = 101;
    korv::win_menu_item_help_set(command, "Attached help");
    EXPECT_EQ(korv::win_menu_help_text(window, 101), "Attached help");
    command = 301;
    korv::win_menu_item_help_set(command, "Deep attached");
    EXPECT_EQ(korv::win_menu_attached_count(window), 2);
    command = 101;
    korv::win_menu_item_help_set(command, "");
    EXPECT_EQ(korv::win_menu_help_text(window, 101), "Opens a file");
    EXPECT_EQ(korv::win_menu_attached_count(window), 1);

    // Deleting a popup takes its items' strings with it.
    command = 510;
    korv::win_menu_item_delete(command);
    EXPECT_EQ(command, 510);
    command = 301;
    korv::win_menu_item_delete(command);
    EXPECT_EQ(command, 301);
    EXPECT_EQ(korv::win_menu_attached_count(window), 0);
    command = 301;
    korv::win_menu_item_delete(command);
    EXPECT_EQ(command, -1);
    EXPECT_EQ(korv::win_menu_help_text(window, 999), std::nullopt);
}

TEST_F(MenuWindow, ReplacingAndRemovingTheMenu)
{
    int identifier = 999;
    korv::win_root_menu_set(identifier, window);
    EXPECT_EQ(identifier, -1);
    identifier = 500;
    korv::win_root_menu_set(identifier, 41);
    EXPECT_EQ(identifier, -2);

    identifier = 700;
    korv::win_root_menu_set(identifier, window);
    EXPECT_EQ(identifier, 700);
    EXPECT_EQ(GetMenu(slot().frame), slot().menu);
    EXPECT_EQ(item_text(slot().menu, 701), "&Other");
    EXPECT_EQ(korv::win_menu_help_text(window, 701), "Popup help");

    identifier = 0;
    korv::win_root_menu_set(identifier, window);
    EXPECT_EQ(slot().menu, nullptr);
    EXPECT_EQ(GetMenu(slot().frame), nullptr);
    EXPECT_EQ(korv::win_has_bars(window), 0);
}

// The popup menu's loop: find the menu window, read it, choose an item.
struct PopupProbe {
    bool open_checked = false;
    std::optional<std::string> help;
    bool seen = false;
};
PopupProbe probe;

void CALLBACK popup_timer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = korv::testing::menu_window();
    if (popup == nullptr || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    probe.seen = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    probe.open_checked = (GetMenuState(menu, 101, MF_BYCOMMAND) & MF_CHECKED) != 0;
    probe.help = korv::win_menu_help_text(window, 701);
    // Down selects the first item, Return chooses it.
    korv::testing::press_keys({{VK_DOWN}, {VK_RETURN}});
}

TEST_F(MenuWindow, PopupMenuTakesStatesAndReportsItsCommandToTheClient)
{
    // The window's menu has 101 checked; the popup resource has it plain.
    korv::testing::last_command_reset();
    probe = PopupProbe{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, popup_timer);
    int identifier = 700;
    korv::win_popup_menu(identifier, 20, 20, 1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(identifier, 700);
    ASSERT_TRUE(probe.seen);
    EXPECT_TRUE(probe.open_checked);
    EXPECT_EQ(probe.help, "Popup help");
    korv::testing::pump_messages(50);
    EXPECT_EQ(korv::testing::last_command(), 101);
    EXPECT_FALSE(korv::win_popup_help_present());

    identifier = 999;
    korv::win_popup_menu(identifier, 0, 0, 0);
    EXPECT_EQ(identifier, -1);
}

} // namespace
