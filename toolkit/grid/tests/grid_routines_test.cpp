#include "grid/grid_cells.h"
#include "grid/tests/grid_test_grid.h"

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::testing;

namespace {

// A prefix and a number (built in two steps: the one-expression form
// draws a false overlap warning from the cross compiler).
std::string numbered(const char* prefix, int n)
{
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

TEST(GridRoutines, FindTheirGridOrReport)
{
    TestGrid t(3, {typed_column(GridCellType::integer)});
    t.dialog_current = false;
    WGridPutCellInteger(test_grid_id, 1, 1, 5);
    EXPECT_EQ(take_error(), 1005);
    t.dialog_current = true;
    WGridPutCellInteger(8, 1, 1, 5);
    EXPECT_EQ(take_error(), 1006);
    WGridPutCellInteger(0, 1, 1, 5);
    EXPECT_EQ(take_error(), 1006) << "no grid editor is current";
    WGridInsertRows(test_grid_id, 1, 0);
    EXPECT_EQ(take_error(), 1113);
    t.dialog_current = false;
    WGridInsertRows(test_grid_id, 1, 0);
    EXPECT_EQ(take_error(), 1113) << "the count is checked before the dialog";
}

TEST(GridRoutines, RowsInUseStayWithinTheRowsCreated)
{
    TestGrid t(10, {typed_column(GridCellType::integer)});
    GridModel& g = t.grid;
    g.current_row = 8;
    WGridRows(test_grid_id, 0);
    EXPECT_EQ(take_error(), 1113);
    EXPECT_EQ(g.rows_in_use, 10);
    WGridRows(test_grid_id, 4);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(g.rows_in_use, 4);
    EXPECT_EQ(g.current_row, 3);
    WGridRows(test_grid_id, 11);
    EXPECT_EQ(take_error(), 1018);
    EXPECT_EQ(g.rows_in_use, 10);
}

TEST(GridRoutines, NumberPutsCheckTypeRowAndRange)
{
    TestGrid t(10, {typed_column(GridCellType::double_precision), typed_column(GridCellType::check_box),
                    typed_column(GridCellType::integer), text_column()});
    GridModel& g = t.grid;
    g.rows_shown = 3; // rows 1-3 shown, the rest scrolled out
    WGridPutCellDouble(test_grid_id, 1, 2, 2.5, "(F8.2)");
    WGridPutCellDouble(test_grid_id, 1, 9, 2.5);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(t.text(0, 1), "2.50");
    EXPECT_EQ(t.text(0, 8), "2.50") << "a scrolled-out row shows its value through the column's format";
    WGridPutCellDouble(test_grid_id, 1, 9, 7.25, "(F6.1)");
    EXPECT_EQ(t.text(0, 1), "2.5") << "a new format changes every cell of the column";

    WGridPutCellDouble(test_grid_id, 2, 1, 1.0);
    EXPECT_EQ(take_error(), 1111);
    WGridPutCellDouble(test_grid_id, 1, 11, 1.0);
    EXPECT_EQ(take_error(), 1017);
    WGridPutCellDouble(test_grid_id, 1, 0, 1.0);
    EXPECT_EQ(take_error(), 1017);

    g.columns[0].minimum = 0;
    g.columns[0].maximum = 5;
    WGridPutCellDouble(test_grid_id, 1, 2, 6.0);
    EXPECT_EQ(take_error(), 1009);
    EXPECT_EQ(t.text(0, 1), "2.5");

    WGridPutCellReal(test_grid_id, 3, 1, 3e10f);
    EXPECT_EQ(take_error(), 1009) << "no integer beyond 32 bits is stored";
    WGridPutCellInteger(test_grid_id, 3, 9, 7);
    EXPECT_EQ(t.text(2, 8), "7");
    WGridPutCellDouble(test_grid_id, 4, 9, 2.5, "(F8.2)");
    EXPECT_EQ(t.text(3, 8), "2.50") << "text cells take the formatted number on any row";
}

struct RowsFixture {
    RowsFixture() : t(5, {typed_column(GridCellType::integer), typed_column(GridCellType::menu)}, 0x400)
    {
        t.grid.columns[1].items = {"A", "B", "C"};
        for (int r = 0; r < 5; ++r) {
            grid_cell_put_value(t.grid, 0, r, r + 1, std::to_string(r + 1), "");
            grid_cell_put_menu(t.grid, 1, r, 3);
            t.grid.set_row_heading(r, numbered("R", r + 1));
        }
        t.grid.columns[0].flags(3) |= grid_cell_protected;
    }
    std::string column0() const
    {
        std::string s;
        for (int r = 0; r < t.grid.rows_in_use; ++r)
            s += (t.text(0, r).empty() ? "_" : t.text(0, r)) + (r + 1 < t.grid.rows_in_use ? "," : "");
        return s;
    }
    TestGrid t;
};

TEST(GridRoutines, DeleteRowsMovesCellsProtectionAndHeadings)
{
    RowsFixture f;
    WGridDeleteRows(test_grid_id, 3, 10);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(f.column0(), "1,2,_,_,_") << "the count is lowered to the rows left";
    EXPECT_EQ(grid_cell_menu(f.t.grid, 1, 4), 1) << "emptied menu cells show the first item";

    RowsFixture g;
    WGridDeleteRows(test_grid_id, 2, 1, 0, 1);
    EXPECT_EQ(g.column0(), "1,3,4,5,_");
    EXPECT_TRUE(g.t.grid.columns[0].flags(2) & grid_cell_protected) << "protection moved up with row 4";
    EXPECT_EQ(g.t.grid.row_heading(1), "R3");
    EXPECT_EQ(g.t.grid.row_heading(4), "");

    RowsFixture h;
    WGridDeleteRows(test_grid_id, 5, 1, 1);
    EXPECT_EQ(h.t.grid.rows_in_use, 4);
    EXPECT_EQ(h.column0(), "1,2,3,4");
}

TEST(GridRoutines, InsertRowsPushesTheLastRowOutOrGrows)
{
    RowsFixture f;
    WGridInsertRows(test_grid_id, 2);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(f.column0(), "1,_,2,3,4");
    EXPECT_EQ(grid_cell_menu(f.t.grid, 1, 1), 1);
    EXPECT_EQ(f.t.grid.row_heading(1), "R2") << "headings stay without the flag";

    RowsFixture g;
    g.t.grid.rows_in_use = 3;
    WGridInsertRows(test_grid_id, 1, 3, 1, 1);
    EXPECT_EQ(g.t.grid.rows_in_use, 5) << "grown up to the rows created";
    EXPECT_EQ(g.column0(), "_,_,_,1,2");
    EXPECT_EQ(g.t.grid.row_heading(3), "R1");
    EXPECT_EQ(g.t.grid.row_heading(0), "");
}

TEST(GridRoutines, QueryAnswersFromOne)
{
    TestGrid t(6, {text_column(), text_column()});
    GridModel& g = t.grid;
    g.current_column = 1;
    g.current_row = 4;
    int v = -5;
    int id = test_grid_id;
    grid_query(id, 10, v);
    ASSERT_EQ(id, test_grid_id);
    EXPECT_EQ(v, 0) << "nothing selected";
    grid_query(id, 4, v);
    EXPECT_EQ(v, 2);
    grid_query(id, 5, v);
    EXPECT_EQ(v, 5);
    grid_query(id, 6, v);
    EXPECT_EQ(v, 1) << "no change yet";
    grid_cell_put_value(g, 0, 0, 0, "x", "");
    grid_query(id, 6, v);
    EXPECT_EQ(v, 0);
    grid_query(id, 6, v);
    EXPECT_EQ(v, 0) << "reading the flag does not clear it";
    v = 42;
    grid_query(id, 17, v);
    EXPECT_EQ(v, 42);
    int missing = 3;
    grid_query(missing, 1, v);
    EXPECT_EQ(missing, -1);
}

} // namespace
