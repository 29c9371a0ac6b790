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
using namespace korv::testing;
using namespace korv;

namespace {

class GridControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        WDialogLoad(1600);
        WDialogShow(-1, -1, 0, 2);
        pump_dialog_messages();
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
        pump_dialog_messages();
    }

    GridRecord* g = nullptr;
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

std::string class_of(HWND w)
{
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    CharUpperA(name); // the system classes answer in mixed case
    return name;
}

TEST_F(GridControlTest, EachColumnKeepsAHiddenCopyOfItsTemplateControl)
{
    const char* classes[] = {"EDIT", "INTEGERSPIN", "REALEDIT", "DOUBLEEDIT", "BUTTON", "COMBOBOX"};
    ASSERT_EQ(g->templates.size(), 6u);
    for (int c = 0; c < 6; ++c) {
        HWND w = g->templates[c].window;
        ASSERT_TRUE(IsWindow(w)) << c;
        EXPECT_EQ(class_of(w), classes[c]);
        EXPECT_EQ(GetParent(w), g->cell_area);
        EXPECT_FALSE(IsWindowVisible(w));
        EXPECT_EQ(GetDlgCtrlID(w), -1);
        EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
        EXPECT_EQ((GetWindowLongA(w, GWL_STYLE) & ES_MULTILINE) != 0, c < 4) << c;
        ASSERT_NE(field_record_of(w), nullptr) << c;
        EXPECT_EQ(field_record_of(w)->foreground, -1);
    }
    EXPECT_EQ(field_record_of(g->templates[0].window)->maximum_length, 1024);
    EXPECT_EQ(SendMessageA(g->templates[0].window, EM_GETLIMITTEXT, 0, 0), 1024);
    EXPECT_EQ(field_record_of(g->templates[1].window)->small_step, 1) << "a spinner's own steps";
    EXPECT_NE(field_record_of(g->templates[1].window)->updown_partner, nullptr);
    EXPECT_EQ(SendMessageA(g->templates[5].window, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(g->templates[5].window, CB_GETCURSEL, 0, 0), 0) << "the template's selection";

    // A format given through a routine reaches the column's control, and
    // the editor opened on the column takes it from there.
    WGridPutCellDouble(1601, 4, 2, 1.5, "(F8.3)");
    EXPECT_EQ(field_record_of(g->templates[3].window)->format, "(F8.3)");
    focus_cell(3, 3);
    ASSERT_NE(field_record_of(g->editor), nullptr);
    EXPECT_EQ(field_record_of(g->editor)->format, "(F8.3)");

    HWND menu = g->templates[5].window;
    HWND spinner = field_record_of(g->templates[1].window)->updown_partner;
    unload_all();
    EXPECT_FALSE(IsWindow(menu));
    EXPECT_FALSE(IsWindow(spinner));
}

int header_width(HWND header, int item)
{
    HDITEMA hd{};
    hd.mask = HDI_WIDTH;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&hd));
    return hd.cxy;
}

std::string header_text(HWND header, int item)
{
    char text[64] = {};
    HDITEMA hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text;
    hd.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&hd));
    return text;
}

TEST_F(GridControlTest, ColumnsAreRebuiltWithAnotherChoiceAndWidths)
{
    const int template_width = g->templates[0].width;
    focus_cell(0, 1);
    post_text("Ann");
    focus_cell(1, 1);
    grid_select_range(*g, 0, 1, 0, 1);

    // Position 3 is the real field: the integer field and its spinner count as one.
    const int picks[] = {6, 3, 1};
    const int widths[] = {60, 40, 80};
    int id = 1601;
    grid_columns_rebuild(id, 3, picks, widths);
    pump_dialog_messages();
    ASSERT_EQ(id, 1601);
    EXPECT_EQ(error_state().last_error, 0);
    ASSERT_EQ(m().column_count(), 3);
    EXPECT_EQ(SendMessageA(g->header, HDM_GETITEMCOUNT, 0, 0), 4);
    RECT unit{0, 0, 4, 8};
    MapDialogRect(GetParent(g->frame), &unit);
    const char* headings[] = {"Apple", "Real", "Name"};
    const int codes[] = {11, 6, 4};
    const char* classes[] = {"COMBOBOX", "REALEDIT", "EDIT"};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(header_text(g->header, c + 1), headings[c]);
        EXPECT_EQ(header_width(g->header, c + 1), unit.right * widths[c] / 4 - 1) << c;
        EXPECT_EQ(grid_type_code(m().columns[c].type), codes[c]);
        EXPECT_EQ(class_of(g->templates[c].window), classes[c]);
        EXPECT_EQ(cell(c, 1), c == 0 ? "Apple" : "") << "every cell starts empty, a menu cell on its first item";
    }
    EXPECT_EQ(m().rows_in_use, 10);
    EXPECT_EQ(m().row_heading(1), "Two");
    EXPECT_TRUE(m().selection.empty());
    EXPECT_EQ(m().current_column, 0);
    EXPECT_EQ(m().current_row, 0);
    ASSERT_NE(g->editor, nullptr);
    EXPECT_EQ(class_of(g->editor), "COMBOBOX");
    EXPECT_EQ(SendMessageA(g->editor, CB_GETCOUNT, 0, 0), 2) << "the editor's list comes from the column's control";

    focus_cell(2, 2);
    post_text("Bo");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(cell(2, 2), "Bo");

    // A first width of -1 keeps the template's widths.
    const int keep[] = {-1, 0, 0};
    const int back[] = {1, 2, 3};
    grid_columns_rebuild(id, 3, back, keep);
    ASSERT_EQ(id, 1601);
    EXPECT_EQ(g->templates[0].width, template_width);
    EXPECT_EQ(header_text(g->header, 2), "Count");
    EXPECT_EQ(m().declared_columns, 6) << "the [Grids] entry's count is kept";
}

TEST_F(GridControlTest, AFailedRebuildLeavesNoColumnsAndAnswersMinusOne)
{
    const int picks[] = {1, 9};
    const int widths[] = {-1, 0};
    int id = 1601;
    grid_columns_rebuild(id, 2, picks, widths);
    pump_dialog_messages();
    EXPECT_EQ(id, -1);
    EXPECT_EQ(error_state().last_error, 0) << "the back ends report nothing themselves";
    EXPECT_EQ(m().column_count(), 0);
    EXPECT_TRUE(g->templates.empty());
    EXPECT_EQ(g->editor, nullptr);
    EXPECT_EQ(SendMessageA(g->header, HDM_GETITEMCOUNT, 0, 0), 0);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    id = 1601;
    const int one[] = {2};
    grid_columns_rebuild(id, 1, one, widths);
    EXPECT_EQ(id, 1601);
    ASSERT_EQ(m().column_count(), 1);
    EXPECT_EQ(class_of(g->editor), "INTEGERSPIN");

    id = 4242;
    grid_columns_rebuild(id, 1, one, widths);
    EXPECT_EQ(id, -1) << "no such grid";
    EXPECT_EQ(error_state().last_error, 0) << "the back ends report nothing themselves";
}

TEST_F(GridControlTest, TypingGoesToTheEditorAndTabWrapsToTheNextRow)
{
    focus_cell(0, 0);
    post_text("Ann");
    post_key(VK_TAB);
    pump_dialog_messages();
    post_text("42");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(cell(0, 0), "Ann");
    EXPECT_EQ(cell(1, 0), "42");
    EXPECT_EQ(m().current_column, 2);

    focus_cell(5, 3);
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(m().current_column, 0);
    EXPECT_EQ(m().current_row, 4);
}

TEST_F(GridControlTest, EnterInATextCellPressesTheDialogsDefaultButton)
{
    focus_cell(0, 1);
    wevent_wait_until_quiet();
    post_text("Bo");
    post_key(VK_RETURN);
    bool pressed = false;
    for (const Event& e : wevent_wait_until_quiet())
        pressed = pressed || (e.type == 3 && e.record.slot(2) == IDOK);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(cell(0, 1), "Bo") << "the editor takes no line break";
}

TEST_F(GridControlTest, LeftMovesTheCaretUntilItStandsAtTheStart)
{
    focus_cell(2, 1);
    post_text("12");
    pump_dialog_messages();
    int columns[3];
    for (int& column : columns) {
        post_key(VK_LEFT);
        pump_dialog_messages();
        column = m().current_column;
    }
    EXPECT_EQ(columns[0], 2);
    EXPECT_EQ(columns[1], 2);
    EXPECT_EQ(columns[2], 1);
    EXPECT_EQ(cell(2, 1), "12.000");
}

TEST_F(GridControlTest, SelectionsPostTheirBlockAndShiftKeysExtendIt)
{
    WEventTypeEnable(10, 1);
    focus_cell(2, 3);
    wevent_wait_until_quiet();
    const auto shift_click = [this](int column, int row) {
        const RECT r = g->cell_rect(column, row);
        PostMessageA(g->cell_area, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(r.left + 3, r.top + 3));
    };
    shift_click(4, 7);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(1), 1600);
    EXPECT_EQ(e.record.slot(2), 1601);
    EXPECT_EQ(e.record.slot(4), 2);
    EXPECT_EQ(e.record.slot(13), 786436);
    EXPECT_EQ(e.record.slot(14), 1310728);
    shift_click(2, 3);
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.record.slot(4), 2);
    EXPECT_EQ(e.record.slot(13), 0);
    EXPECT_EQ(e.record.slot(14), 0);
    wevent_wait_until_quiet();

    focus_cell(1, 2);
    hold_keys({VK_SHIFT}, true);
    for (int i = 0; i < 3; ++i) {
        post_key(VK_DOWN); // each key to the editor of the cell it left
        pump_dialog_messages();
    }
    EXPECT_EQ(m().selection.first_row, 2);
    EXPECT_EQ(m().selection.last_row, 5);
    EXPECT_EQ(g->anchor_row, 2);
    post_key(VK_UP);
    pump_dialog_messages();
    EXPECT_EQ(m().selection.last_row, 4);
    hold_keys({VK_SHIFT}, false);
    post_key(VK_UP);
    pump_dialog_messages();
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
    EXPECT_EQ(SendMessageA(g->templates[5].window, CB_GETCOUNT, 0, 0), 0) << "the column's own list is emptied too";
}

TEST_F(GridControlTest, PaintsCellColoursAndTheSelectedBlock)
{
    focus_cell(0, 0);
    ASSERT_TRUE(grid_cell_colours_store(m(), 1, 2, {-1, -1, -1}, {255, 0, 0}));
    grid_select_range(*g, 4, 5, 2, 3);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
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
        GridRecord* g = instance ? grid_control_of(GetDlgItem(instance, 1601)) : nullptr;
        if (!g || !g->editor)
            return;
        char text[64] = {};
        GetWindowTextA(g->editor, text, sizeof text);
        shown = text;
        SetWindowTextA(g->editor, "in the instance");
        PostMessageA(instance, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(instance, IDOK)));
    }
};

// Rebuilds the columns of the modal instance's grid, then presses OK.
struct ModalRebuild {
    static inline int id = 0;
    static void CALLBACK run(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        HWND instance = dialog_table().windows[0];
        if (!instance)
            return;
        const int picks[] = {3, 1};
        const int widths[] = {-1, 0};
        id = 1601;
        grid_columns_rebuild(id, 2, picks, widths);
        PostMessageA(instance, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(instance, IDOK)));
    }
};

TEST_F(GridControlTest, ColumnsRebuiltInTheModalInstanceStayWithTheDialog)
{
    WDialogHide();
    SetTimer(nullptr, 0, 50, ModalRebuild::run);
    WDialogShow(-1, -1, 0, 1);
    EXPECT_EQ(ModalRebuild::id, 1601);
    ASSERT_EQ(m().column_count(), 2);
    ASSERT_EQ(g->templates.size(), 2u);
    for (const GridColumnControl& t : g->templates) {
        ASSERT_TRUE(IsWindow(t.window));
        EXPECT_EQ(GetParent(t.window), g->cell_area);
    }
    EXPECT_EQ(class_of(g->templates[0].window), "REALEDIT");
    EXPECT_EQ(SendMessageA(g->header, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(header_text(g->header, 2), "Name");
    ASSERT_NE(g->editor, nullptr);
    EXPECT_EQ(class_of(g->editor), "REALEDIT");
}

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
        HWND popup = menu_window();
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
    pump_dialog_messages();
    GridRecord* g = grid_control_of(field(1621));
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
