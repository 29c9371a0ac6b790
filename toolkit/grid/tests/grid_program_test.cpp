// A program of the toolkit's own kind: it includes only the public headers
// and reaches a dialog's grid field through the grid routines and their
// back ends.
#include <gtest/gtest.h>

#include <korvanthide/dialogs.h>
#include <korvanthide/dialogs_win.h>
#include <korvanthide/errors.h>
#include <korvanthide/grid.h>
#include <korvanthide/grid_win.h>
#include <korvanthide/startup.h>
#include <korvanthide/window.h>

#include <cstring>
#include <windows.h>

namespace {

constexpr int grid = 1601;

TEST(GridProgram, CallsTheGridRoutinesThroughThePublicHeaders)
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults, -999999, -999999, 640, 480, 0, {}, 0, "Grid program");
    WDialogLoad(1600);
    WDialogShow(-1, -1, 0, 2);

    int id = grid, value = 0;
    grid_query(id, 1, value);
    EXPECT_EQ(value, 6);
    WGridPutCellDouble(grid, 4, 2, 3.14159265);
    WGridPutCellInteger(grid, 2, 2, 17);
    WGridPutCellReal(grid, 3, 2, 1.5f);
    double number = 0;
    int empty = 1;
    grid_cell_get_number(id, 3, 1, number, empty);
    EXPECT_EQ(number, 3.14159265);
    grid_cell_put_check(id, 4, 1, 1);
    grid_cell_put_menu(id, 5, 1, 2);
    char text[32] = {};
    grid_cell_get_text(id, 1, 1, text, sizeof text);
    EXPECT_STREQ(text, "17");
    grid_column_range_put(id, 1, 0, 100);
    grid_check_range(id, 1, 101);
    EXPECT_EQ(id, -3);
    id = grid;
    grid_column_int_steps_put(id, 1, 2, 10, 0);
    EXPECT_EQ(id, grid) << "the Count column is an integer spinner";
    grid_cell_protect(id, 0, 0, 0);
    grid_select_block(id, 0, 0, 1, 1);
    grid_query(id, 12, value);
    EXPECT_EQ(value, 2);
    grid_deselect(id);
    grid_goto_cell(id, 3, 1, 0);
    grid_query(id, 4, value);
    EXPECT_EQ(value, 4);
    grid_redraw_suspend();
    WGridInsertRows(grid, 1);
    WGridDeleteRows(grid, 1);
    grid_redraw_resume(id);
    grid_cell_get_number(id, 3, 1, number, empty);
    EXPECT_EQ(number, 3.14159265);
    int found = 0;
    WGridFind(grid, "17", 4, &found);
    EXPECT_EQ(found, -1);
    WGridSort(grid, 2, 1);
    grid_menu_items_clear(id, 5, 0);
    grid_menu_item_add(id, 5, 0, "Plum");
    grid_menu_item_text(id, 5, 1, text, sizeof text);
    EXPECT_STREQ(text, "Plum");
    grid_set_row_count(id, 5);
    grid_query(id, 3, value);
    EXPECT_EQ(value, 5);
    grid_clear_all(GetDlgItem(korv::dialog_current_window(), grid), 0);
    grid_cell_get_text(id, 1, 1, text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(id, grid);
    int error = 0;
    grid_editor_find_text_put(error, "x");
    EXPECT_EQ(error, 1006) << "the current window is no grid editor";
    WDialogUnload();
}

} // namespace
