// The grid editor in a real child window under Wine: creation results,
// the commands a read-only field leaves, New, the caller's commands, and
// closing with and without unsaved changes.
#include <gtest/gtest.h>

#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"
#include "grid/grid_editor_win.h"
#include "grid/grid_print_win.h"
#include "grid/grid_routines.h"
#include "testing/cups_pdf.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/grid.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

#include <cstdio>
#include <functional>
#include <fstream>
#include <sstream>
#include <vector>

using namespace dialog_test;
using namespace korv::testing;
using namespace korv;

namespace {

class GridEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        WDialogLoad(1600);
        window = -1;
        WindowOpenChild(window, winflag::defaults | winflag::status_bar, -999999, -999999, 500, 300, 0, {}, 0,
                        "Grid editor");
        pump_dialog_messages();
    }
    void TearDown() override
    {
        if (window > 0 && win_slot(window)->frame)
            WindowCloseChild(window);
        unload_all();
    }
    HWND frame() const { return win_slot(window)->frame; }
    GridEditorRecord* editor() const { return grid_editor_of(frame()); }
    GridModel& cells() const { return grid_control_of(editor()->grid)->model(); }
    bool has_item(HMENU menu, UINT id) const { return GetMenuState(menu, id, MF_BYCOMMAND) != 0xFFFFFFFF; }

    int window = -1;
};

TEST_F(GridEditorTest, CreationResults)
{
    EXPECT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(cells().column_count(), 6);
    // Shortcuts stand after character 8 in the labels.
    char label[64] = {};
    GetMenuStringA(editor()->file_menu, 32101, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, "&New\bCtrl+N");
    GetMenuStringA(editor()->edit_menu, 32122, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, "Cu&t\bCtrl+X");
    // The second text stays empty; the find text is the editor's.
    int error = -1;
    grid_editor_find_text_put(error, "needle");
    EXPECT_EQ(error, 0);
    char text[16] = "x";
    grid_editor_text_get(window, 2, text, sizeof text);
    EXPECT_STREQ(text, "");
    grid_editor_text_get(window, 1, text, sizeof text);
    EXPECT_STREQ(text, "needle");
    EXPECT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_has_record);
    int other = -1;
    WindowOpenChild(other, winflag::defaults, -999999, -999999, 300, 200, 0, {}, 0, "Other");
    EXPECT_EQ(grid_editor_create(IDOK, 2, 0, 0, -1, "", ""), grid_editor_no_grid);
    WindowCloseChild(other);
}

TEST_F(GridEditorTest, AReadOnlyFieldLeavesNoChangingCommands)
{
    WDialogLoad(1660);
    ASSERT_EQ(grid_editor_create(1661, 2, 0, 0, -1, "", ""), grid_editor_ok);
    GridEditorRecord* e = editor();
    for (UINT id : {32101u, 32103u})
        EXPECT_FALSE(has_item(e->file_menu, id)) << id;
    for (UINT id : {32122u, 32124u, 32125u, 32127u, 32128u, 32129u, 32130u})
        EXPECT_FALSE(has_item(e->edit_menu, id)) << id;
    EXPECT_TRUE(has_item(e->file_menu, 32102u)) << "Open stays";
    EXPECT_TRUE(has_item(e->file_menu, 32104u)) << "Save As stays";
    EXPECT_TRUE(has_item(e->edit_menu, 32123u));
}

TEST_F(GridEditorTest, NewEmptiesTheGridAndCommandsReachTheProgram)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    grid_cell_put_value(cells(), 0, 0, 0, "Ann", "");
    cells().modified_1 = cells().modified_2 = 0;
    WEventTypeEnable(2, 1);
    wevent_wait_until_quiet();
    // Posted, so that the command runs while the program waits for events.
    PostMessageA(frame(), WM_COMMAND, 32101, 0);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 2);
    EXPECT_EQ(e.record.slot(2), 32101);
    std::string text;
    grid_cell_display_text(cells(), 0, 0, text);
    EXPECT_EQ(text, "");
    int value = 0;
    int id = 0;
    grid_query(id, 6, value);
    ASSERT_EQ(id, 0);
    EXPECT_EQ(value, 1) << "no change since New";

    PostMessageA(frame(), WM_COMMAND, 40001, 0);
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 2);
    EXPECT_EQ(e.record.slot(2), 40001);
}

TEST_F(GridEditorTest, AClickFromAnotherWindowShowsTheNewCellInTheStatusBar)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    GridRecord* g = grid_control_of(editor()->grid);
    int other = -1;
    WindowOpenChild(other, winflag::defaults, 600, 500, 200, 100, 0, {}, 0, "Other");
    win_activate(win_slot(other)->frame);
    SetFocus(win_slot(other)->frame);
    pump_dialog_messages();
    WEventTypeEnable(10, 1);
    wevent_wait_until_quiet();
    const RECT cell = g->cell_rect(2, 4);
    ASSERT_TRUE(click(g->cell_area, cell.left + 3, cell.top + 3));
    bool reported = false;
    for (const Event& e : wevent_wait_until_quiet())
        reported = reported || (e.type == 10 && e.record.slot(14) == grid_packed_cell(2, 4));
    EXPECT_EQ(cells().current_column, 2);
    EXPECT_EQ(cells().current_row, 4);
    EXPECT_TRUE(reported);
    char row[32] = {}, column[32] = {};
    SendMessageA(editor()->status_bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(row));
    SendMessageA(editor()->status_bar, SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(column));
    EXPECT_STREQ(row, "\t\t5");
    EXPECT_STREQ(column, "\t\t3");
    WindowCloseChild(other);
}

TEST_F(GridEditorTest, ClosingAsksOnlyWithUnsavedChanges)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    WEventTypeEnable(9, 1);
    wevent_wait_until_quiet();
    grid_editor_modal_loop(); // modes 2 and 3: the modified flags start cleared
    // Cells visited with the keyboard are no change; the status bar follows.
    for (int i = 0; i < 4; ++i) {
        post_key(i % 2 ? VK_DOWN : VK_RIGHT);
        pump_dialog_messages();
    }
    EXPECT_EQ(cells().modified_1, 0);
    char status[32] = {};
    SendMessageA(editor()->status_bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "		3") << "row 3";
    wevent_wait_until_quiet();
    PostMessageA(frame(), WM_CLOSE, 0, 0);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 9);

    cells().modified_1 = 1;
    korv::testing::answer_dialogs({{"Korvanthide Grid Editor", IDCANCEL}});
    PostMessageA(frame(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(wevent_wait(e, 3000)) << "Cancel keeps the window without a request";
    EXPECT_EQ(korv::testing::answers_given(), 1);

    korv::testing::answer_dialogs({{"Korvanthide Grid Editor", IDNO}});
    PostMessageA(frame(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(wevent_wait(e, 5000));
    EXPECT_EQ(e.type, 9);
}

TEST_F(GridEditorTest, OpeningAFileWithTextInANumberColumnSaysSoAndLoads)
{
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string file = std::string(directory) + "korv_grid_editor.csv";
    std::ofstream(file, std::ios::binary) << "Ann,abc,1.5,1.5,Yes,Apple\r\n";
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    GridEditorRecord* e = editor();
    e->texts.file_name = file;
    korv::testing::answer_dialogs({{"Data Error", IDOK}});
    EXPECT_TRUE(grid_editor_load_csv(*e, false));
    EXPECT_EQ(korv::testing::answers_given(), 1);
    std::string text;
    grid_cell_display_text(cells(), 0, 0, text);
    EXPECT_EQ(text, "Ann");
    EXPECT_EQ(e->texts.file_name, file);
    std::remove(file.c_str());
}

TEST_F(GridEditorTest, TypedCellsAreSavedToTheFileChosen)
{
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string file = std::string(directory) + "korv_grid_data.csv";
    std::remove(file.c_str());
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    GridRecord* g = grid_control_of(editor()->grid);
    grid_move_to_cell(*g, 0, 0, true, false);
    pump_dialog_messages();
    post_text("Ann");
    post_key(VK_TAB);
    pump_dialog_messages();
    post_text("42");
    pump_dialog_messages();
    korv::testing::answer_dialogs({{"Select File", IDOK, [&](HWND d) {
                                        HWND edit = GetDlgItem(d, 0x47C);
                                        if (!edit)
                                            edit = GetDlgItem(d, 0x480);
                                        SetWindowTextA(edit, file.c_str());
                                    }}});
    // Ctrl+S in the cell goes through the editor's accelerators.
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    post_key('S');
    pump_dialog_messages(200);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    EXPECT_EQ(korv::testing::answers_given(), 1);
    EXPECT_EQ(editor()->texts.file_name, file);
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str().substr(0, 27), "\"Ann\",42,\"\",\"\",No,\"Apple\"\r\n");
    EXPECT_EQ(cells().modified_1, 0);
    std::remove(file.c_str());
}

TEST_F(GridEditorTest, DetachingLeavesAPlainChildWindow)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    HWND grid = editor()->grid;
    int dialog = 1600, status = -1;
    win_contents_detach(dialog, 0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(win_content_record(frame()), nullptr);
    EXPECT_FALSE(IsWindow(grid));
    EXPECT_EQ(GetMenu(frame()), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame(), GWLP_WNDPROC)), win_frame_proc);
    EXPECT_TRUE(IsWindowVisible(win_slot(window)->client));
    EXPECT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok) << "the window takes a new editor";
}

TEST_F(GridEditorTest, RowCommandsStopAtProtectedCellsWhateverTheirRoute)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    GridModel& m = cells();
    m.columns[0].flags(5) |= grid_cell_protected;
    grid_move_to_cell(*grid_control_of(editor()->grid), 0, 2, true, false);
    const int rows = m.rows_in_use;
    SendMessageA(frame(), WM_COMMAND, 32130, 0); // Delete Row, as its key would send it
    EXPECT_EQ(m.rows_in_use, rows);
    EXPECT_TRUE(m.columns[0].flags(5) & grid_cell_protected) << "nothing moved";
    SendMessageA(frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(editor()->edit_menu), 1);
    EXPECT_TRUE(GetMenuState(editor()->edit_menu, 32130, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(editor()->edit_menu, 32127, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(GridEditorTest, FindAsksForItsTextBesideTheEditorAndFindNextGoesOn)
{
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    grid_cell_put_value(cells(), 0, 4, 0, "a needle", "");
    grid_cell_put_value(cells(), 0, 7, 0, "NEEDLE", "");
    korv::testing::answer_dialogs({{"Find", 1, [](HWND d) { SetWindowTextA(GetDlgItem(d, 1002), "needle"); }}});
    SendMessageA(frame(), WM_COMMAND, 32141, 0);
    EXPECT_EQ(korv::testing::answers_given(), 1);
    EXPECT_EQ(editor()->texts.find_text, "needle");
    EXPECT_EQ(cells().current_row, 4);
    SendMessageA(frame(), WM_COMMAND, 32142, 0);
    EXPECT_EQ(cells().current_row, 7) << "letter case is ignored unless asked";
    korv::testing::answer_dialogs({{"Find", IDOK}});
    SendMessageA(frame(), WM_COMMAND, 32142, 0);
    EXPECT_EQ(korv::testing::answers_given(), 1) << "End of grid reached";
    EXPECT_EQ(dialog_result_state().answer, 1) << "the box is shown after the find dialog has gone";
    EXPECT_EQ(cells().current_row, 7);
}

TEST_F(GridEditorTest, AFrameLargerThanItsGridShrinksToFit)
{
    int big = -1;
    WindowOpenChild(big, winflag::defaults | winflag::status_bar, 0, 0, 1200, 900, 0, {}, 0, "Big");
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    RECT r;
    GetWindowRect(win_slot(big)->frame, &r);
    EXPECT_LT(r.right - r.left, 1200);
    EXPECT_LT(r.bottom - r.top, 900);
    GridEditorRecord* e = grid_editor_of(win_slot(big)->frame);
    ASSERT_NE(e, nullptr);
    RECT grid;
    GetClientRect(e->grid, &grid);
    GridRecord* g = grid_control_of(e->grid);
    EXPECT_GE(grid.bottom, (g->row_height - 1) * 10 + 1 + g->header_height) << "every row stays in sight";
    WindowCloseChild(big);
}

TEST_F(GridEditorTest, SaveAsHtmlProposesTheNameAndKeepsTheOldFile)
{
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string base = std::string(directory) + "korv_grid_page";
    std::ofstream(base + ".htm", std::ios::binary) << "old";
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 131072, -1, "", ""), grid_editor_ok);
    editor()->texts.file_name = base + ".csv";
    grid_cell_put_value(cells(), 0, 0, 0, "Ann", "");
    std::string proposed;
    korv::testing::answer_dialogs({{"Save As HTML", 1, [&](HWND d) {
                                        char text[MAX_PATH] = {};
                                        GetWindowTextA(GetDlgItem(d, 1002), text, sizeof text);
                                        proposed = text;
                                    }},
                                   {"Select File", IDYES}});
    SendMessageA(frame(), WM_COMMAND, 32108, 0);
    EXPECT_EQ(korv::testing::answers_given(), 2);
    EXPECT_EQ(proposed, base + ".htm");
    std::ifstream page(base + ".htm", std::ios::binary), kept(base + ".htm.bak", std::ios::binary);
    std::stringstream page_bytes, kept_bytes;
    page_bytes << page.rdbuf();
    kept_bytes << kept.rdbuf();
    EXPECT_EQ(page_bytes.str().substr(0, 8), "<html>\r\n");
    EXPECT_NE(page_bytes.str().find("\r\nAnn\r\n"), std::string::npos);
    EXPECT_EQ(kept_bytes.str(), "old");
    page.close();
    kept.close();
    std::remove((base + ".htm").c_str());
    std::remove((base + ".htm.bak").c_str());
}

// Closes the modal editor's window from inside its loop.
struct ModalClose {
    static inline HWND frame = nullptr;
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        if (GridEditorRecord* e = grid_editor_of(frame))
            e->texts.find_text = "needle";
        PostMessageA(frame, WM_CLOSE, 0, 0);
    }
};

TEST_F(GridEditorTest, AModalEditorRunsItsLoopAndLeavesItsState)
{
    ASSERT_EQ(grid_editor_create(1601, 1, 0, 0, -1, "", ""), grid_editor_ok);
    ModalClose::frame = frame();
    cells().modified_2 = 1;
    SetTimer(nullptr, 0, 50, ModalClose::run);
    grid_editor_modal_loop();
    EXPECT_FALSE(IsWindow(ModalClose::frame)) << "a modal editor destroys its window";
    int value = -1;
    int id = -2;
    grid_query(id, 6, value);
    ASSERT_EQ(id, -2);
    EXPECT_EQ(value, 1);
    grid_query(id, 7, value);
    EXPECT_EQ(value, 0) << "the loop starts with both flags cleared";
    EXPECT_EQ(grid_editor_last_modal().texts.find_text, "needle");
    window = -1;
}


WindowSlot& slot_of(int n) { return *win_slot(n); }

// A left click with the mouse at a point of a window's client area.
void mouse_click(HWND window, int x, int y)
{
    ASSERT_TRUE(click(window, x, y)) << "the point is in sight";
    pump_dialog_messages(200);
}

// A split window with a grid-editor pane hosted by it and a plain pane.
struct SplitWithGrid {
    int outer = -1, grid_pane = -1, other_pane = -1;
    HWND top = nullptr;
    GridEditorRecord* editor = nullptr;
    int result = -1;
    explicit SplitWithGrid(int menu)
    {
        WindowOpenChild(outer, winflag::defaults | winflag::status_bar, -999999, -999999, 700, 400, menu, {}, 0,
                        "Split");
        top = slot_of(outer).frame;
        win_split(grid_pane, other_pane, 0, -1, {}, {});
        int width = 0, height = 0;
        win_select(grid_pane, width, height);
        result = grid_editor_create(1601, 2, 0, 0, -1, "", "", outer);
        editor = grid_editor_of(slot_of(grid_pane).frame);
        pump_dialog_messages();
    }
    void activate_other() { mouse_click(slot_of(other_pane).client, 20, 20); }
    void activate_grid()
    {
        const GridRecord* g = grid_control_of(editor->grid);
        mouse_click(g->cell_area, 10, g->row_height + g->row_height / 2);
    }
};

TEST_F(GridEditorTest, AGridPaneShowsItsMenuOnTheSplitWindowWhileItIsActive)
{
    SplitWithGrid split(1690);
    ASSERT_EQ(split.result, grid_editor_ok);
    ASSERT_NE(split.editor, nullptr);
    const HMENU own = slot_of(split.outer).menu;
    ASSERT_NE(own, nullptr);
    const HMENU bar = split.editor->menu_bar;
    EXPECT_EQ(GetMenu(split.top), bar) << "the new pane is the active one";
    EXPECT_EQ(slot_of(split.outer).menu, own) << "a split window with a menu keeps it";

    split.activate_other();
    EXPECT_EQ(GetMenu(split.top), own) << "the plain pane shows the split window's menu";
    split.activate_grid();
    EXPECT_EQ(GetMenu(split.top), bar);
    EXPECT_EQ(win_split_record(split.top)->focused_pane, slot_of(split.grid_pane).frame);

    // A command from the split window's menu bar works the grid pane.
    GridModel& m = grid_control_of(split.editor->grid)->model();
    ASSERT_TRUE(m.selection.empty());
    SendMessageA(split.top, WM_COMMAND, 32126, 0);
    EXPECT_EQ(m.selection.first_row, 0);
    EXPECT_EQ(m.selection.last_row, m.rows_in_use - 1);
    EXPECT_EQ(m.selection.last_column, m.column_count() - 1);

    WindowCloseChild(split.grid_pane);
    EXPECT_EQ(GetMenu(split.top), own) << "closing the pane gives the split window its menu back";
    EXPECT_FALSE(IsMenu(bar));
    WindowCloseChild(split.outer);
}

TEST_F(GridEditorTest, ASplitWindowWithoutMenuBorrowsThePanesUntilItGoes)
{
    for (const bool close : {true, false}) {
        SCOPED_TRACE(close ? "pane closed" : "editor detached");
        SplitWithGrid split(0);
        ASSERT_EQ(split.result, grid_editor_ok);
        const HMENU bar = split.editor->menu_bar;
        EXPECT_EQ(slot_of(split.outer).menu, bar);
        EXPECT_EQ(GetMenu(split.top), bar);
        split.activate_other();
        EXPECT_EQ(GetMenu(split.top), bar) << "the nearest menu above the plain pane is the borrowed one";

        if (close) {
            WindowCloseChild(split.grid_pane);
        } else {
            int dialog = 1600, status = -1;
            int pane = split.grid_pane, width = 0, height = 0;
            win_select(pane, width, height);
            win_contents_detach(dialog, 0, status);
            EXPECT_EQ(status, 0);
        }
        EXPECT_EQ(slot_of(split.outer).menu, nullptr) << "nothing is left pointing at the editor's menu";
        EXPECT_EQ(GetMenu(split.top), nullptr);
        EXPECT_FALSE(IsMenu(bar));
        WindowCloseChild(split.outer);
    }
}

// Drives a modal editor from inside its loop: real input to another
// toolkit window and to the editor, the caret blink posted to the other
// window, then closing.
struct ModalInput {
    static inline HWND frame = nullptr, other = nullptr, other_client = nullptr;
    static inline WNDPROC other_proc = nullptr;
    static inline int clicks = 0, blinks = 0, other_timers = 0, step = 0;
    static inline bool other_enabled = true;
    static inline std::string typed;

    static LRESULT CALLBACK record(HWND w, UINT message, WPARAM wp, LPARAM lp)
    {
        if (message == WM_LBUTTONDOWN)
            ++clicks;
        if (message == 0x118)
            (LOWORD(wp) == 0xFFF6 ? blinks : other_timers)++;
        return CallWindowProcA(other_proc, w, message, wp, lp);
    }
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD)
    {
        GridEditorRecord* e = grid_editor_of(frame);
        if (!e) {
            KillTimer(nullptr, id);
            return;
        }
        if (step == 0) {
            other_enabled = IsWindowEnabled(other) != 0;
            RECT r;
            GetWindowRect(other_client, &r);
            click_screen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            PostMessageA(other_client, 0x118, 0xFFF6, 0);
            PostMessageA(other_client, 0x118, 7, 0);
            SetForegroundWindow(frame);
            SetFocus(grid_control_of(e->grid)->editor);
            press_keys({{'K'}, {'V'}});
        } else if (step == 8) {
            typed = window_text(grid_control_of(e->grid)->editor);
            PostMessageA(frame, WM_CLOSE, 0, 0);
            KillTimer(nullptr, id);
        }
        ++step;
    }
};

TEST_F(GridEditorTest, AModalEditorKeepsInputFromTheOtherWindowsButTakesItsOwn)
{
    int other = -1;
    WindowOpenChild(other, winflag::defaults, 0, 0, 200, 150, 0, {}, 0, "Other");
    ModalInput::other = slot_of(other).frame;
    ModalInput::other_client = slot_of(other).client;
    ModalInput::other_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        ModalInput::other_client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ModalInput::record)));
    // The control here is the blink filter: the same messages reach the
    // window while no modal editor runs.
    PostMessageA(ModalInput::other_client, 0x118, 7, 0);
    pump_dialog_messages();
    ASSERT_EQ(ModalInput::other_timers, 1);
    ModalInput::other_timers = 0;

    int current = window, width = 0, height = 0;
    win_select(current, width, height);
    ASSERT_EQ(grid_editor_create(1601, 1, 0, 8192, -1, "", ""), grid_editor_ok);
    ModalInput::frame = frame();
    GridEditorRecord* e = editor();
    grid_move_to_cell(*grid_control_of(e->grid), 0, 0, true, false);
    SetTimer(nullptr, 0, 100, ModalInput::run);
    grid_editor_modal_loop();

    EXPECT_GE(ModalInput::step, 9) << "the loop ran until the editor closed";
    EXPECT_FALSE(ModalInput::other_enabled) << "the other window is disabled while the editor runs";
    EXPECT_EQ(ModalInput::clicks, 0) << "a click on the other window does not reach it";
    EXPECT_EQ(ModalInput::blinks, 0) << "the caret blink is kept from it";
    EXPECT_EQ(ModalInput::other_timers, 1) << "its other messages reach it";
    EXPECT_EQ(ModalInput::typed, "kv") << "the editor takes the keys typed into it";
    EXPECT_TRUE(IsWindowEnabled(ModalInput::other)) << "enabled again when the editor closes";
    window = -1;
    SetWindowLongPtrA(ModalInput::other_client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ModalInput::other_proc));
    WindowCloseChild(other);
}

// Clicks a button of a grid-editor dialog from a timer once `ready` says
// that what a nested dialog did has reached it (or after five seconds, so
// that a fault fails the test instead of hanging it).
struct LateClick {
    static inline std::string title;
    static inline int button = 1, ticks = 0;
    static inline std::function<bool(HWND)> ready;
    static inline std::function<void(HWND)> before;
    static void start(std::string dialog_title, int button_id, std::function<bool(HWND)> is_ready,
                      std::function<void(HWND)> look)
    {
        title = std::move(dialog_title);
        button = button_id;
        ready = std::move(is_ready);
        before = std::move(look);
        ticks = 0;
        SetTimer(nullptr, 0, 100, tick);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND d = find_own_dialog(title);
        if (++ticks < 50 && (!d || !IsWindowEnabled(d) || !ready(d)))
            return;
        KillTimer(nullptr, id);
        if (d) {
            before(d);
            click_button(d, button);
        }
    }
};

std::string temp_file(const char* name)
{
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

TEST_F(GridEditorTest, BrowseInTheHtmlDialogPutsTheChosenNameInItsField)
{
    const std::string chosen = temp_file("korv_grid_browsed.htm");
    std::remove(chosen.c_str());
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    editor()->texts.file_name = temp_file("korv_grid_first.csv");
    grid_cell_put_value(cells(), 0, 0, 0, "Ann", "");
    korv::testing::answer_dialogs({{"Save As HTML", 1003},
                                   {"Select File", IDOK, [&](HWND d) {
                                        HWND edit = GetDlgItem(d, 0x47C);
                                        if (!edit)
                                            edit = GetDlgItem(d, 0x480);
                                        SetWindowTextA(edit, chosen.c_str());
                                    }}});
    std::string shown;
    LateClick::start(
        "Save As HTML", 1,
        [](HWND d) { return korv::testing::answers_given() == 2 && !find_own_dialog("Select File") &&
                            window_text(GetDlgItem(d, 1002)) != temp_file("korv_grid_first.htm"); },
        [&](HWND d) { shown = window_text(GetDlgItem(d, 1002)); });
    SendMessageA(frame(), WM_COMMAND, 32108, 0);
    EXPECT_EQ(korv::testing::answers_given(), 2);
    EXPECT_EQ(shown, chosen);
    std::ifstream page(chosen, std::ios::binary);
    std::stringstream bytes;
    bytes << page.rdbuf();
    EXPECT_NE(bytes.str().find("\r\nAnn\r\n"), std::string::npos) << "saved under the browsed name";
    page.close();
    std::remove(chosen.c_str());
}

TEST_F(GridEditorTest, PageSetUpFromThePrintDialogSetsTheMarginsOfThePrint)
{
    char device[256] = {};
    if (GetProfileStringA("windows", "Device", "", device, sizeof device) == 0)
        GTEST_SKIP() << "no default printer";
    ASSERT_EQ(grid_editor_create(1601, 2, 0, 0, -1, "", ""), grid_editor_ok);
    const std::string title = "korvgridmargins" + std::to_string(GetTickCount());
    const korv::testing::PrintedPdfWatch watch;
    editor()->texts.file_name = title;
    grid_cell_put_value(cells(), 0, 0, 0, "Ann", "");
    std::string units;
    korv::testing::answer_dialogs({{"Print", 1014}, {"Seite einrichten", IDOK, [&](HWND d) {
                                                         units = window_text(GetDlgItem(d, 1038));
                                                         HWND left = GetDlgItem(d, 1039);
                                                         const bool inches = units.find("inch") != std::string::npos;
                                                         SetWindowTextA(left, inches ? "2.0" : "50.8");
                                                         SendMessageA(left, EM_SETMODIFY, TRUE, 0);
                                                     }}});
    LateClick::start(
        "Print", 1,
        [](HWND) { return korv::testing::answers_given() == 2 && !find_own_dialog("Seite einrichten"); },
        [](HWND) {});
    SendMessageA(frame(), WM_COMMAND, 32105, 0);
    EXPECT_EQ(korv::testing::answers_given(), 2);
    EXPECT_FALSE(units.empty()) << "the page set-up dialog was shown";
    EXPECT_EQ(grid_print_margin_query(3, 2), 144) << "a left margin of two inches, in points";
    const std::string pdf = watch.wait_for(title);
    EXPECT_FALSE(pdf.empty()) << "the print ran";
    if (!pdf.empty())
        DeleteFileA(pdf.c_str());
}

} // namespace
