// The grid's windows under Wine, read back as a user would see them: what
// the in-place editor keeps, when the grid counts as modified, cell changes
// reported from a click that brings the focus in, whole rows, the current
// row kept in view, painting, the header controls and the rows in use.
#include <gtest/gtest.h>

#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/grid.h"
#include "korvanthide/grid_win.h"

#include <commctrl.h>

#include <vector>

using namespace dialog_test;
using namespace korv::testing;
using namespace korv;

namespace {

constexpr int grid_id = 1861;

class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        WDialogLoad(1860);
        WDialogShow(-1, -1, 0, 2);
        pump_dialog_messages();
        g = grid_control_of(field(grid_id));
        ASSERT_NE(g, nullptr);
        ASSERT_TRUE(g->set_up);
    }
    void TearDown() override { unload_all(); }

    GridModel& m() { return g->model(); }
    void focus_cell(int column, int row)
    {
        grid_move_to_cell(*g, column, row, true, false);
        pump_dialog_messages();
    }
    double number(int column, int row)
    {
        int id = grid_id, empty = -1;
        double value = -1;
        grid_cell_get_number(id, column, row, value, empty);
        EXPECT_EQ(empty, 0);
        return value;
    }
    int query(int code)
    {
        int id = grid_id, value = -1;
        grid_query(id, code, value);
        return value;
    }

    // Halves the grid's height: the current row 5 stays the last visible.
    void shrink_and_check();

    GridRecord* g = nullptr;
};

// Leaving a double cell used to read its display text back, so that
// 3.14159265 under "(G15.5E2)" became 3.1416.
TEST_F(GridWindowTest, AnUntouchedNumberEditorKeepsEveryDigit)
{
    WGridPutCellDouble(grid_id, 2, 3, 3.14159265);
    ASSERT_EQ(error_state().last_error, 0);
    focus_cell(1, 2);
    EXPECT_EQ(window_text(g->editor), "3.1416");
    EXPECT_EQ(number(1, 2), 3.14159265) << "the open editor answers with its value";
    post_key(VK_DOWN);
    pump_dialog_messages();
    EXPECT_EQ(number(1, 2), 3.14159265) << "visited and left";
    focus_cell(1, 2);
    SendMessageA(g->frame, WM_VSCROLL, SB_LINEDOWN, 0);
    pump_dialog_messages();
    EXPECT_EQ(m().top_row, 1);
    EXPECT_EQ(number(1, 2), 3.14159265) << "scrolled while its editor was open";
    focus_cell(1, 2);
    WGridInsertRows(grid_id, 2);
    EXPECT_EQ(error_state().last_error, 0);
    EXPECT_EQ(number(1, 3), 3.14159265) << "moved down by a row inserted before it";

    // What the user types is what the cell takes.
    focus_cell(1, 3);
    SendMessageA(g->editor, EM_SETSEL, 0, -1);
    post_text("2.5");
    pump_dialog_messages();
    EXPECT_EQ(number(1, 3), 2.5) << "the open editor reads what was typed";
    post_key(VK_UP);
    pump_dialog_messages();
    EXPECT_EQ(m().current_row, 2);
    EXPECT_EQ(number(1, 3), 2.5);
}

// Loading a cell into the editor used to count as the user's change.
TEST_F(GridWindowTest, LoadingAndVisitingCellsChangesNothing)
{
    EXPECT_EQ(query(6), 1) << "unmodified after the dialog is loaded";
    EXPECT_EQ(query(7), 0);
    WGridPutCellDouble(grid_id, 2, 1, 1.5);
    grid_cell_put_value(m(), 0, 1, 0, "text", "");
    m().modified_1 = m().modified_2 = 0;
    focus_cell(0, 0);
    for (int i = 0; i < 10; ++i) {
        post_key(i % 3 == 2 ? VK_DOWN : VK_RIGHT);
        pump_dialog_messages();
    }
    EXPECT_EQ(m().current_row, 3);
    EXPECT_EQ(query(6), 1) << "ten cells visited with the keyboard";
    EXPECT_EQ(query(7), 0);
    focus_cell(0, 0);
    post_text("x");
    pump_dialog_messages();
    EXPECT_EQ(query(6), 0) << "typing is a change";
    EXPECT_EQ(query(7), 1);
}

// A click that brought the focus in from another field used to change the
// current cell without reporting it.
TEST_F(GridWindowTest, AClickFromAnotherFieldReportsTheNewCurrentCell)
{
    WEventTypeEnable(10, 1);
    SetFocus(field(1863));
    pump_dialog_messages();
    wevent_wait_until_quiet();
    const RECT cell = g->cell_rect(2, 4);
    post_click(g->cell_area, cell.left + 3, cell.top + 3);
    const auto reported = [](const std::vector<Event>& events, int packed) {
        for (const Event& e : events)
            if (e.type == 10 && e.record.slot(1) == 1860 && e.record.slot(14) == packed)
                return true;
        return false;
    };
    std::vector<Event> events = wevent_wait_until_quiet();
    EXPECT_EQ(m().current_column, 2);
    EXPECT_EQ(m().current_row, 4);
    EXPECT_TRUE(reported(events, grid_packed_cell(2, 4))) << events.size() << " events";

    // Scrolling that moves the current cell reports it too.
    focus_cell(2, 0);
    wevent_wait_until_quiet();
    PostMessageA(g->frame, WM_VSCROLL, SB_LINEDOWN, 0);
    events = wevent_wait_until_quiet();
    EXPECT_EQ(m().current_row, 1);
    EXPECT_TRUE(reported(events, grid_packed_cell(2, 1)));
}

int client_height(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    return r.bottom;
}

int window_height(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

TEST_F(GridWindowTest, AGridShowsWholeRowsUnlessItKeepsItsHeight)
{
    GridRecord* fitted = grid_control_of(field(1864));
    GridRecord* kept = grid_control_of(field(1865));
    ASSERT_TRUE(fitted && kept);
    EXPECT_EQ(client_height(fitted->frame), (fitted->row_height - 1) * fitted->visible_rows + 1);
    const int kept_height = window_height(kept->frame);
    EXPECT_NE(client_height(kept->frame), (kept->row_height - 1) * kept->visible_rows + 1)
        << "the dialog's own height, not one of whole rows";

    HFONT big = CreateFontA(-23, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    const int old_row_height = fitted->row_height;
    SendMessageA(fitted->frame, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    SendMessageA(kept->frame, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    pump_dialog_messages();
    EXPECT_GT(fitted->row_height, old_row_height);
    EXPECT_EQ(client_height(fitted->frame), (fitted->row_height - 1) * fitted->visible_rows + 1);
    EXPECT_EQ(window_height(kept->frame), kept_height);
    unload_all();
    DeleteObject(big);
}

TEST_F(GridWindowTest, AShrinkingCellAreaKeepsTheCurrentRowAsItsLastRow)
{
    ASSERT_GE(g->visible_rows, 6);
    focus_cell(0, 5);
    shrink_and_check();
}

// The number is not checked while the cell area is refitted: the grid
// still scrolls, and the focus stays in the editor.
TEST_F(GridWindowTest, AShrinkingCellAreaScrollsPastAnUnreadableNumber)
{
    ASSERT_GE(g->visible_rows, 6);
    focus_cell(1, 5);
    SetWindowTextA(g->editor, "1..2");
    SendMessageA(g->editor, EM_SETMODIFY, 1, 0);
    shrink_and_check();
    EXPECT_EQ(GetFocus(), g->editor);
}

void GridWindowTest::shrink_and_check()
{
    RECT r;
    GetWindowRect(g->frame, &r);
    SetWindowPos(g->frame, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) / 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump_dialog_messages();
    ASSERT_LT(g->visible_rows, 6);
    EXPECT_EQ(m().current_row, 5);
    EXPECT_EQ(m().top_row + g->visible_rows - 1, 5);
}

// The pixels of a window's client area.
std::vector<COLORREF> pixels(HWND w, const RECT& r)
{
    std::vector<COLORREF> out;
    HDC dc = GetDC(w);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.push_back(GetPixel(dc, x, y));
    ReleaseDC(w, dc);
    return out;
}

// The leftmost and rightmost x where a cell shows text-coloured pixels.
std::pair<int, int> ink(HWND w, const RECT& r)
{
    std::pair<int, int> span{r.right, r.left};
    HDC dc = GetDC(w);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT)) {
                span.first = std::min(span.first, x);
                span.second = std::max(span.second, x);
            }
    ReleaseDC(w, dc);
    return span;
}

TEST_F(GridWindowTest, TextsTakeTheirColumnsAlignmentAndCheckBoxesTheButtonsLook)
{
    focus_cell(0, 6);
    grid_cell_put_value(m(), 0, 1, 0, "ab", "");
    WGridPutCellDouble(grid_id, 2, 3, 7);
    grid_cell_put_check(m(), 2, 3, 1);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
    const RECT left = g->cell_rect(0, 1), right = g->cell_rect(1, 2);
    const auto left_ink = ink(g->cell_area, left), right_ink = ink(g->cell_area, right);
    EXPECT_LT(left_ink.first - left.left, (left.right - left.left) / 4) << "a left-aligned text starts at the left";
    EXPECT_GT(right_ink.second - right.left, 3 * (right.right - right.left) / 4) << "ES_RIGHT ends at the right";

    // A ticked and an empty box as the column's own button draws them.
    const RECT ticked = g->cell_rect(2, 3), empty = g->cell_rect(2, 4);
    const int w = ticked.right - ticked.left, h = ticked.bottom - ticked.top;
    HWND column_control = g->templates[2].window;
    HWND button = CreateWindowExA(0, "BUTTON", "", static_cast<DWORD>(GetWindowLongA(column_control, GWL_STYLE)) |
                                                       WS_VISIBLE, 0, 0, g->templates[2].width, g->row_height,
                                  g->cell_area, nullptr, nullptr, nullptr);
    SendMessageA(button, WM_SETFONT, SendMessageA(g->frame, WM_GETFONT, 0, 0), FALSE);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, g->templates[2].width, g->row_height);
    HGDIOBJ old = SelectObject(memory, image);
    std::vector<COLORREF> reference[2];
    for (int state = 0; state < 2; ++state) {
        SendMessageA(button, BM_SETCHECK, static_cast<WPARAM>(state), 0);
        SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reference[state].push_back(GetPixel(memory, x, y));
    }
    SelectObject(memory, old);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyWindow(button);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
    EXPECT_EQ(pixels(g->cell_area, ticked), reference[1]);
    EXPECT_EQ(pixels(g->cell_area, empty), reference[0]);
    EXPECT_NE(reference[0], reference[1]);

    // Highlighted, the button face turns into the highlight colour.
    grid_select_range(*g, 3, 3, 2, 2);
    RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
    const std::vector<COLORREF> lit = pixels(g->cell_area, ticked);
    ASSERT_EQ(lit.size(), reference[1].size());
    for (std::size_t i = 0; i < lit.size(); ++i) {
        if (reference[1][i] == GetSysColor(COLOR_BTNFACE))
            ASSERT_EQ(lit[i], GetSysColor(COLOR_HIGHLIGHT)) << i;
        else
            ASSERT_EQ(lit[i], reference[1][i]) << i;
    }
}

TEST_F(GridWindowTest, AHighlightedCheckBoxEditorShowsTheButtonOnTheHighlight)
{
    grid_cell_put_check(m(), 2, 3, 1);
    focus_cell(2, 3);
    ASSERT_NE(g->editor, nullptr);
    RECT client;
    GetClientRect(g->editor, &client);
    RedrawWindow(g->editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
    const std::vector<COLORREF> plain = pixels(g->editor, client);

    grid_select_range(*g, 3, 4, 2, 2);
    RedrawWindow(g->editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump_dialog_messages();
    const std::vector<COLORREF> lit = pixels(g->editor, client);
    ASSERT_EQ(lit.size(), plain.size());
    int face = 0, marks = 0;
    for (std::size_t i = 0; i < lit.size(); ++i) {
        if (plain[i] == GetSysColor(COLOR_BTNFACE)) {
            ++face;
            EXPECT_EQ(lit[i], GetSysColor(COLOR_HIGHLIGHT)) << i;
        } else if (plain[i] != lit[i]) {
            ++marks;
        }
    }
    EXPECT_GT(face, 0);
    EXPECT_LT(marks, static_cast<int>(lit.size()) / 4) << "the box and its tick keep their own colours";
}

// What the cell area paints: the union of the update rectangles of its
// paints since the last reset.
struct PaintRecorder {
    static inline WNDPROC previous = nullptr;
    static inline RECT painted{};
    static LRESULT CALLBACK proc(HWND w, UINT message, WPARAM wp, LPARAM lp)
    {
        RECT r;
        if (message == WM_PAINT && GetUpdateRect(w, &r, FALSE))
            UnionRect(&painted, &painted, &r);
        return CallWindowProcA(previous, w, message, wp, lp);
    }
    explicit PaintRecorder(HWND area) : area_(area)
    {
        UpdateWindow(area);
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(area, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintRecorder::proc)));
        painted = RECT{};
    }
    ~PaintRecorder() { SetWindowLongPtrA(area_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    HWND area_;
};

TEST_F(GridWindowTest, BlockChangesAndScrollsRepaintOnlyWhatChanged)
{
    focus_cell(0, 0);
    RECT old_block{}, new_block{};
    EXPECT_FALSE(grid_selection_rect(*g, old_block));
    grid_select_range(*g, 1, 2, 1, 2);
    ASSERT_TRUE(grid_selection_rect(*g, old_block));
    const RECT first = g->cell_rect(1, 1), last = g->cell_rect(2, 2);
    EXPECT_EQ(old_block.left, first.left - 1);
    EXPECT_EQ(old_block.top, first.top - 1);
    EXPECT_GE(old_block.right, last.right);
    EXPECT_GE(old_block.bottom, last.bottom);
    {
        PaintRecorder recorder(g->cell_area);
        grid_select_range(*g, 4, 4, 0, 0);
        ASSERT_TRUE(grid_selection_rect(*g, new_block));
        RECT both;
        UnionRect(&both, &old_block, &new_block);
        EXPECT_TRUE(EqualRect(&PaintRecorder::painted, &both)) << "the old and the new block, nothing else";
    }
    grid_clear_selection(*g);
    focus_cell(0, 3);
    RECT client;
    GetClientRect(g->cell_area, &client);
    {
        PaintRecorder recorder(g->cell_area);
        SendMessageA(g->frame, WM_VSCROLL, SB_LINEDOWN, 0);
        ASSERT_EQ(m().top_row, 1);
        EXPECT_GT(PaintRecorder::painted.top, client.bottom / 2) << "the cells moved; the row uncovered is painted";
    }
}

TEST_F(GridWindowTest, HeadersShowTheArrowAndLetHitsThroughWhenInert)
{
    ASSERT_NE(g->header, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(g->header, GWLP_WNDPROC)), grid_header_proc);
    EXPECT_EQ(SendMessageA(g->header, WM_SETCURSOR, reinterpret_cast<WPARAM>(g->header),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1)
        << "no resizable columns: the arrow";
    EXPECT_NE(SendMessageA(g->header, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    SendMessageA(g->frame, GM_SETUPDONE, 0, 0);
    EXPECT_EQ(SendMessageA(g->header, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(GridWindowTest, FewerRowsInUseMoveTheCurrentCellAndReportItNext)
{
    focus_cell(2, 8);
    const DialogRecord* d = dialog_record_of(dialog_current_window());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->current_field, grid_id);
    WGridRows(grid_id, 3);
    EXPECT_EQ(m().current_row, 2);
    EXPECT_EQ(d->last_extra_word, grid_packed_cell(2, 2));
}

TEST_F(GridWindowTest, ClearingEveryCellAndAShiftClickOnASpinner)
{
    grid_cell_put_value(m(), 0, 4, 0, "gone", "");
    grid_cell_put_check(m(), 2, 4, 1);
    int id = grid_id;
    grid_cell_protect(id, 0, 4, 0);
    grid_clear_all(g->frame, 1);
    EXPECT_EQ(m().columns[0].text(4), "");
    EXPECT_EQ(m().columns[2].int_value(4), 0);
    EXPECT_TRUE(m().columns[0].flags(4) & grid_cell_protected) << "protection stays";

    // A press with Shift held on the up-down control goes to its buddy.
    HWND dialog = dialog_current_window();
    HWND edit = field(1863);
    HWND updown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, 0, 0, 16, 20,
                                  dialog, nullptr, nullptr, nullptr);
    SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(10, 0));
    SendMessageA(updown, UDM_SETPOS, 0, 5);
    SetWindowLongPtrA(updown, GWLP_USERDATA,
                      SetWindowLongPtrA(updown, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(grid_updown_shift_click_proc)));
    SetWindowTextA(edit, "5");
    SetFocus(field(grid_id));
    pump_dialog_messages();
    SendMessageA(updown, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(8, 3));
    SendMessageA(updown, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(8, 3));
    EXPECT_EQ(window_text(edit), "5") << "not stepped";
    EXPECT_EQ(GetFocus(), edit) << "the buddy took the press";
    SendMessageA(updown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
    SendMessageA(updown, WM_LBUTTONUP, 0, MAKELPARAM(8, 3));
    EXPECT_EQ(window_text(edit), "6") << "without Shift the control steps";
    DestroyWindow(updown);
}

} // namespace
