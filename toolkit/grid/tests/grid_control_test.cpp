// The grid field in a real dialog under Wine: set-up from the [Grids]
// entry, keys and selection events, the clipboard, scrolling, clearing and
// painting, read back as a user would see them.
#include <gtest/gtest.h>

#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"
#include "grid/grid_routines.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"

#include <commctrl.h>

#include <utility>
#include <vector>

using namespace dialog_test;
using namespace korv;

namespace {

class GridControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        WDialogLoad(1600);
        WDialogShow(-1, -1, 0, 2);
        pump();
        g = grid_control_of(field(1601));
        ASSERT_NE(g, nullptr);
        ASSERT_TRUE(g->set_up);
    }
    void TearDown() override { unload_all(); }

    GridModel& m() { return g->model(); }
    std::string cell(int column, int row)
    {
        g->editor_store();
        std::string text;
        grid_cell_display_text(m(), column, row, text);
        return text;
    }
    void focus_cell(int column, int row)
    {
        grid_move_to_cell(*g, column, row, true, false);
        pump();
    }

    GridControl* g = nullptr;
};

TEST_F(GridControlTest, ColumnsComeFromTheTemplateDialog)
{
    ASSERT_EQ(m().column_count(), 6);
    EXPECT_EQ(m().rows_in_use, 10);
    const int codes[] = {4, 5, 6, 7, 9, 11};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(grid_type_code(m().columns[c].type), codes[c]);
    // A drop-down list has no caption of its own: its text is the item shown.
    const char* captions[] = {"Name", "Count", "Real", "Double", "Tick", "Apple"};
    for (int c = 0; c < 6; ++c) {
        char text[64] = {};
        HDITEMA hd{};
        hd.mask = HDI_TEXT;
        hd.pszText = text;
        hd.cchTextMax = sizeof text;
        SendMessageA(g->header, HDM_GETITEMA, static_cast<WPARAM>(c + 1), reinterpret_cast<LPARAM>(&hd));
        EXPECT_STREQ(text, captions[c]);
    }
    EXPECT_EQ(m().columns[5].items, (std::vector<std::string>{"Apple", "Apricot"}));
    EXPECT_EQ(m().row_heading(1), "Two");
    ASSERT_NE(g->editor, nullptr);
}

TEST_F(GridControlTest, TypingGoesToTheEditorAndTabWrapsToTheNextRow)
{
    focus_cell(0, 0);
    type_text("Ann");
    key(VK_TAB);
    pump();
    type_text("42");
    key(VK_TAB);
    pump();
    EXPECT_EQ(cell(0, 0), "Ann");
    EXPECT_EQ(cell(1, 0), "42");
    EXPECT_EQ(m().current_column, 2);

    focus_cell(5, 3);
    key(VK_TAB);
    pump();
    EXPECT_EQ(m().current_column, 0);
    EXPECT_EQ(m().current_row, 4);
}

TEST_F(GridControlTest, SelectionsPostTheirBlockAndShiftKeysExtendIt)
{
    WEventTypeEnable(10, 1);
    focus_cell(2, 3);
    drain_events();
    const auto shift_click = [this](int column, int row) {
        const RECT r = g->cell_rect(column, row);
        PostMessageA(g->cell_area, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(r.left + 3, r.top + 3));
    };
    shift_click(4, 7);
    Event e;
    ASSERT_TRUE(wait_event(e));
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(1), 1600);
    EXPECT_EQ(e.record.slot(2), 1601);
    EXPECT_EQ(e.record.slot(4), 2);
    EXPECT_EQ(e.record.slot(13), 786436);
    EXPECT_EQ(e.record.slot(14), 1310728);
    shift_click(2, 3);
    ASSERT_TRUE(wait_event(e));
    EXPECT_EQ(e.record.slot(4), 2);
    EXPECT_EQ(e.record.slot(13), 0);
    EXPECT_EQ(e.record.slot(14), 0);
    drain_events();

    focus_cell(1, 2);
    hold_shift(true);
    for (int i = 0; i < 3; ++i) {
        key(VK_DOWN); // each key to the editor of the cell it left
        pump();
    }
    EXPECT_EQ(m().selection.first_row, 2);
    EXPECT_EQ(m().selection.last_row, 5);
    EXPECT_EQ(g->anchor_row, 2);
    key(VK_UP);
    pump();
    EXPECT_EQ(m().selection.last_row, 4);
    hold_shift(false);
    key(VK_UP);
    pump();
    EXPECT_TRUE(m().selection.empty());
}

TEST_F(GridControlTest, CopiesAndPastesThroughTheClipboard)
{
    focus_cell(0, 0);
    WGridPutCellInteger(1601, 2, 1, 5);
    WGridPutCellInteger(1601, 2, 2, 17);
    grid_cell_put_check(m(), 4, 0, 1);
    grid_select_range(*g, 0, 1, 1, 4);
    ASSERT_TRUE(grid_copy_selection(*g));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const std::string clip(static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(clip, "5\t\t\tYes\r\n17\t\t\tNo\r\n");

    // Paste values typed for the integer, real, check-box and menu columns.
    const char* block = "1.5\t2E3\t\tyes\tapp\r\n2E3\t1\t\tY\tkiwi\r\n";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, strlen(block) + 1);
    memcpy(GlobalLock(memory), block, strlen(block) + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    grid_cell_put_menu(m(), 5, 1, 2);
    focus_cell(1, 0);
    grid_paste(*g);
    EXPECT_EQ(cell(1, 0), "1");
    EXPECT_EQ(cell(2, 0), "2000.0");
    EXPECT_EQ(cell(4, 0), "Yes");
    EXPECT_EQ(cell(5, 0), "Apple");
    EXPECT_EQ(cell(1, 1), "17") << "2E3 is refused in an integer column";
    EXPECT_EQ(cell(4, 1), "No");
    EXPECT_EQ(cell(5, 1), "Apricot") << "no item begins with kiwi";
}

TEST_F(GridControlTest, ProgramRoutinesAndFieldClearingReachTheGrid)
{
    focus_cell(3, 0);
    WGridPutCellDouble(1601, 4, 1, 2.5, "(F8.2)");
    EXPECT_EQ(error_state().last_error, 0);
    char text[32] = {};
    GetWindowTextA(g->editor, text, sizeof text);
    EXPECT_STREQ(text, "2.50") << "the editor on the cell shows the new value";
    WGridRows(1601, 0);
    EXPECT_EQ(error_state().last_error, 1113);
    EXPECT_EQ(m().rows_in_use, 10);
    error_state().last_error = 0;

    WDialogClearField(1601);
    EXPECT_EQ(cell(3, 0), "");
    EXPECT_TRUE(m().columns[5].items.empty());
}

TEST_F(GridControlTest, PaintsCellColoursAndTheSelectedBlock)
{
    focus_cell(0, 0);
    ASSERT_TRUE(grid_cell_colours_store(m(), 1, 2, {-1, -1, -1}, {255, 0, 0}));
    grid_select_range(*g, 4, 5, 2, 3);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump();
    HDC dc = GetDC(g->cell_area);
    const RECT red = g->cell_rect(1, 2);
    const RECT block = g->cell_rect(3, 5);
    EXPECT_EQ(GetPixel(dc, red.left + 2, red.bottom - 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, block.left + 2, block.bottom - 2), GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(g->cell_area, dc);
}

// Works inside the modal instance's own message loop: reads what its grid's
// editor shows, types over it without committing, and presses OK.
struct ModalScript {
    static inline std::string shown;
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        HWND instance = dialog_table().windows[0];
        GridControl* g = instance ? grid_control_of(GetDlgItem(instance, 1601)) : nullptr;
        if (!g || !g->editor)
            return;
        char text[64] = {};
        GetWindowTextA(g->editor, text, sizeof text);
        shown = text;
        SetWindowTextA(g->editor, "in the instance");
        PostMessageA(instance, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(instance, IDOK)));
    }
};

TEST_F(GridControlTest, TypingSurvivesTheModalInstanceBothWays)
{
    WDialogHide();
    focus_cell(0, 1);
    SetWindowTextA(g->editor, "before"); // typed, not committed
    SetTimer(nullptr, 0, 50, ModalScript::run);
    WDialogShow(-1, -1, 0, 1);
    EXPECT_EQ(ModalScript::shown, "before");
    EXPECT_EQ(cell(0, 1), "in the instance");
    ASSERT_NE(g->editor, nullptr);
    char text[64] = {};
    GetWindowTextA(g->editor, text, sizeof text);
    EXPECT_STREQ(text, "in the instance");
}

TEST_F(GridControlTest, ADividerDraggedNarrowStopsAtFourteenPixels)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = 4;
    NMHEADERA n{};
    n.hdr.hwndFrom = g->header;
    n.hdr.code = HDN_TRACKA;
    n.iItem = 1;
    n.pitem = &item;
    SendMessageA(g->frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(g->templates[0].width, 14);
    EXPECT_EQ(item.cxy, 13);
    n.iItem = 6;
    item.cxy = 4;
    SendMessageA(g->frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(g->templates[5].width, 14 + GetSystemMetrics(SM_CXVSCROLL)) << "a menu column keeps room for its arrow";
    n.iItem = 0;
    EXPECT_EQ(SendMessageA(g->frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n)), 1) << "the corner does not move";
    n.iItem = 1;
    item.mask = HDI_TEXT;
    EXPECT_EQ(SendMessageA(g->frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n)), 1) << "no width, nothing to take";
}

// Reads the open context menu from inside its own loop, then closes it.
struct MenuReader {
    static inline std::vector<std::pair<UINT, bool>> items; // identifier, grayed
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        HWND popup = FindWindowA("#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
        items.clear();
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
            if (const UINT item = GetMenuItemID(menu, i); item != 0)
                items.emplace_back(item, (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0);
        EndMenu();
    }
};

TEST_F(GridControlTest, ContextMenusOfferTextOrBlockCommands)
{
    focus_cell(0, 0);
    SetTimer(nullptr, 0, 50, MenuReader::run);
    SendMessageA(g->cell_area, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g->cell_area), MAKELPARAM(50, 50));
    ASSERT_EQ(MenuReader::items.size(), 6u);
    for (const auto& [id, grayed] : MenuReader::items)
        if (id != 32124 && id != 32224) {
            EXPECT_TRUE(grayed) << id << ": the cell area is no text target";
        }

    grid_select_range(*g, 0, 1, 0, 1);
    SetTimer(nullptr, 0, 50, MenuReader::run);
    SendMessageA(g->cell_area, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g->editor), MAKELPARAM(50, 50));
    ASSERT_EQ(MenuReader::items.size(), 6u);
    EXPECT_EQ(MenuReader::items[1], std::make_pair(32122u, false));
    EXPECT_EQ(MenuReader::items[2], std::make_pair(32123u, false));
    EXPECT_EQ(MenuReader::items[4], std::make_pair(32125u, false));
}

TEST(GridScrolling, TallGridsScrollInStepsOfTheDivisor)
{
    toolkit_up();
    WDialogLoad(1620);
    WDialogShow(-1, -1, 0, 2);
    pump();
    GridControl* g = grid_control_of(field(1621));
    ASSERT_NE(g, nullptr);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    GetScrollInfo(g->frame, SB_VERT, &si);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 49999);
    SendMessageA(g->frame, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1234), 0);
    EXPECT_EQ(g->model().top_row, 2468);
    for (int i = 0; i < 2; ++i)
        SendMessageA(g->frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-40)), 0);
    EXPECT_EQ(g->model().top_row, 2468);
    SendMessageA(g->frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-40)), 0);
    EXPECT_EQ(g->model().top_row, 2469);
    EXPECT_EQ(g->wheel_remainder, 0);
    unload_all();
}

} // namespace
