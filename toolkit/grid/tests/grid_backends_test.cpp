// The grid back ends through their identifiers, on a grid model without
// windows: what each answers for a missing grid, a column or row outside
// the grid, and what it does to the cells.
#include "grid/grid_cells.h"
#include "grid/tests/grid_test_grid.h"

#include <korvanthide/grid.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace korv;
using namespace korv::testing;

namespace {

constexpr int missing = 99;

GridColumnSpec spinner(GridCellType type)
{
    GridColumnSpec spec = typed_column(type);
    spec.spinner = true;
    return spec;
}

std::vector<GridColumnSpec> all_types()
{
    return {text_column(8), spinner(GridCellType::integer), spinner(GridCellType::real),
            spinner(GridCellType::double_precision), typed_column(GridCellType::check_box),
            typed_column(GridCellType::menu)};
}

// The identifier as a routine leaves it, called with (id, column, row).
using Call = std::function<void(int& id, int column, int row)>;

int answer(const Call& call, int id, int column, int row)
{
    call(id, column, row);
    return id;
}

TEST(GridBackEnds, AnswerMissingGridsAndCellsOutsideTheGrid)
{
    TestGrid t(6, all_types(), 0x600);
    t.grid.rows_in_use = 4;
    int v = 0;
    double d = 0;
    struct Case {
        const char* name;
        Call call;
        int no_grid, bad_column, bad_row; // the identifier afterwards; test_grid_id: left alone
        int column = 5;                   // a column the routine takes
    };
    const int same = test_grid_id;
    const Case cases[] = {
        {"grid_column_type_code", [&](int& id, int c, int) { grid_column_type_code(id, c, v); }, -1, -2, same},
        {"grid_column_case", [&](int& id, int c, int) { grid_column_case(id, c, v); }, -1, -2, same},
        {"grid_check_range", [&](int& id, int c, int) { grid_check_range(id, c, 5.0); }, -1, -2, same},
        {"grid_cell_colours_put",
         [&](int& id, int c, int r) { grid_cell_colours_put(id, c, r, 1, 2, 3, -1, -1, -1); }, -1, -2, -2},
        {"grid_column_colours_put",
         [&](int& id, int c, int) { grid_column_colours_put(id, c, 1, 2, 3, -1, -1, -1); }, -1, -2, same},
        {"grid_column_range_put", [&](int& id, int c, int) { grid_column_range_put(id, c, 0, 9); }, -1, -2, same},
        {"grid_column_int_steps_put", [&](int& id, int c, int) { grid_column_int_steps_put(id, c, 2, 0, 1); }, -1,
         -2, same, 1},
        {"grid_column_real_steps_put", [&](int& id, int c, int) { grid_column_real_steps_put(id, c, 1, 2); }, -1, -2,
         same, 2},
        {"grid_column_double_steps_put", [&](int& id, int c, int) { grid_column_double_steps_put(id, c, 1, 2); }, -1,
         -2, same, 3},
        {"grid_menu_items_clear", [&](int& id, int c, int r) { grid_menu_items_clear(id, c, r); }, same, -1, same},
        {"grid_goto_cell", [&](int& id, int c, int r) { grid_goto_cell(id, c, r, -1); }, -1, -2, -2},
        {"grid_select_block", [&](int& id, int c, int r) { grid_select_block(id, 0, 0, c, r); }, -1, -2, -2},
        {"grid_deselect", [&](int& id, int, int) { grid_deselect(id); }, -1, same, same},
        {"grid_set_row_count", [&](int& id, int, int) { grid_set_row_count(id, 4); }, -1, same, same},
        {"grid_query", [&](int& id, int, int) { grid_query(id, 1, v); }, -1, same, same},
        // The routines that expect an existing grid and indices inside it
        // leave the identifier alone and do nothing otherwise.
        {"grid_cell_protect", [&](int& id, int c, int r) { grid_cell_protect(id, c, r, 0); }, same, same, same},
        {"grid_cell_protect_copy", [&](int& id, int c, int r) { grid_cell_protect_copy(id, c, 0, r); }, same, same,
         same},
        {"grid_menu_item_add", [&](int& id, int c, int r) { grid_menu_item_add(id, c, r, "x"); }, same, same, same},
        {"grid_cell_get_number", [&](int& id, int c, int r) { grid_cell_get_number(id, c, r, d, v); }, same, same,
         same},
        {"grid_cell_put_value",
         [&](int& id, int c, int r) { grid_cell_put_value(id, c, r, 1.0, "1", "", 2, 1); }, same, same, same},
        {"grid_cell_clear", [&](int& id, int c, int r) { grid_cell_clear(id, c, r, 1); }, same, same, same},
        {"grid_swap_rows", [&](int& id, int, int r) { grid_swap_rows(id, 0, r, 0); }, same, same, same},
    };
    for (const Case& c : cases) {
        const int no_grid = c.no_grid == same ? missing : c.no_grid;
        EXPECT_EQ(answer(c.call, missing, c.column, 0), no_grid) << c.name;
        EXPECT_EQ(answer(c.call, test_grid_id, 6, 0), c.bad_column) << c.name;
        EXPECT_EQ(answer(c.call, test_grid_id, c.column, 4), c.bad_row) << c.name << ": row 4 is past the rows in use";
        EXPECT_EQ(answer(c.call, test_grid_id, c.column, -1), c.bad_row == same ? same : -2) << c.name;
        EXPECT_EQ(answer(c.call, test_grid_id, c.column, 1), same) << c.name;
    }
    EXPECT_EQ(take_error(), 0) << "the back ends report nothing";
}

TEST(GridBackEnds, NeutralAnswersWithoutAGrid)
{
    TestGrid t(2, all_types());
    int id = missing;
    char buffer[16] = "untouched";
    grid_column_format(id, 0, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "(G15.5E2)");
    int alignment = 7, headings = 7, rows = 7;
    grid_column_alignment(id, 0, alignment);
    grid_headings_info(id, headings, rows);
    EXPECT_EQ(alignment + headings + rows, 0);
    int fg = 0, g = 0, b = 0, bg = 0, bgg = 0, bgb = 0;
    grid_cell_colours_get(id, 0, 0, fg, g, b, bg, bgg, bgb);
    EXPECT_EQ(fg + g + b + bg + bgg + bgb, -6);
    grid_redraw_resume(id);
    EXPECT_EQ(id, missing);
}

TEST(GridBackEnds, StepsRangesAndMenusReachTheColumn)
{
    TestGrid t(3, all_types());
    GridModel& g = t.grid;
    int id = test_grid_id;
    grid_column_int_steps_put(id, 1, 3, 0, 1);
    EXPECT_EQ(g.columns[1].small_step, 3);
    EXPECT_EQ(g.columns[1].large_step, 3) << "a large step of 0 takes the small one";
    EXPECT_EQ(g.columns[1].step_base, 1);
    grid_column_int_steps_put(id, 2, 1, 2, 0);
    EXPECT_EQ(id, -2) << "the real column takes no integer steps";
    id = test_grid_id;
    grid_column_range_put(id, 3, -1e6, 1e6);
    grid_check_range(id, 3, 2e6);
    EXPECT_EQ(id, -3);
    id = test_grid_id;
    grid_check_range(id, 3, 5e5);
    EXPECT_EQ(id, test_grid_id);

    grid_menu_item_add(id, 5, 0, "Red");
    grid_menu_item_add(id, 5, 0, "Green");
    int mismatch = -1;
    grid_cell_put_menu_text(id, 5, 1, mismatch, "green");
    EXPECT_EQ(mismatch, 0);
    int item = 0;
    grid_cell_get_menu(id, 5, 1, item);
    EXPECT_EQ(item, 2);
    char text[8] = {};
    grid_menu_item_text(id, 5, 2, text, sizeof text);
    EXPECT_STREQ(text, "Green");
    grid_menu_items_clear(id, 5, 0);
    EXPECT_TRUE(g.columns[5].items.empty());
    grid_cell_get_menu(id, 5, 1, item);
    EXPECT_EQ(item, 2) << "stored choices stay";

    grid_cell_protect(id, 0, 2, 0);
    EXPECT_TRUE(g.columns[0].flags(2) & grid_cell_protected);
    grid_cell_protect_copy(id, 0, 2, 0);
    EXPECT_TRUE(g.columns[0].flags(0) & grid_cell_protected);
    grid_cell_protect(id, 0, 2, 1);
    EXPECT_FALSE(g.columns[0].flags(2) & grid_cell_protected);
    EXPECT_EQ(id, test_grid_id);
}

TEST(GridBackEnds, CellsTextsAndHeadingsGoThroughTheirBuffers)
{
    TestGrid t(3, all_types(), 0x600);
    int id = test_grid_id;
    grid_cell_put_value(id, 0, 0, 0, "abcdefghij", "", 6, 1);
    char text[32] = {};
    grid_cell_get_text(id, 0, 0, text, sizeof text);
    EXPECT_STREQ(text, "abcde") << "cut like lstrcpynA with the text length 6";
    grid_cell_put_value(id, 3, 1, 0, "2.5", "(F8.3)", 4, 7);
    double value = 0;
    int empty = 1;
    grid_cell_get_number(id, 3, 1, value, empty);
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(empty, 0);
    grid_cell_get_text(id, 3, 1, text, sizeof text);
    EXPECT_STREQ(text, "2.500");
    grid_cell_clear(id, 3, 1, 0);
    grid_cell_get_number(id, 3, 1, value, empty);
    EXPECT_EQ(empty, 1);
    strcpy(text, "kept");
    grid_cell_get_text(id, 4, 0, text, sizeof text);
    EXPECT_STREQ(text, "kept") << "check boxes leave the buffer alone";

    grid_row_heading_put(id, 0, "a row heading longer than fifty characters, cut at fifty", 99);
    char heading[64] = {};
    grid_row_heading_get(id, 0, heading, sizeof heading);
    EXPECT_EQ(std::string(heading).size(), 50u);
    grid_column_heading_put(id, 2, "Second", 7);
    grid_column_heading_get(id, 2, heading, sizeof heading);
    EXPECT_STREQ(heading, "Second");
    int codes = 0;
    grid_swap_rows(id, 0, 2, 1);
    grid_query(id, 7, codes);
    EXPECT_EQ(codes, 1) << "a swap marks the grid modified";
    grid_row_heading_get(id, 2, heading, 4);
    EXPECT_STREQ(heading, "a r") << "row 0's heading moved to row 2, read with a length of 4";
}

TEST(GridBackEnds, RedrawFlagAndGridEditorTexts)
{
    TestGrid t(2, all_types());
    grid_redraw_suspend();
    EXPECT_EQ(grid_redraw_flag(), 0);
    int id = test_grid_id;
    grid_redraw_resume(id);
    EXPECT_EQ(grid_redraw_flag(), 1);

    // Window 3 is a grid editor; the current window is 3.
    GridEditorTexts editor;
    editor.find_text = "needle";
    GridDirectory& d = grid_directory();
    d.editor_texts = [&](int window) { return window == 3 ? &editor : nullptr; };
    d.current_window = [] { return 3; };
    int error = -1;
    grid_editor_find_text_put(error, "pin");
    EXPECT_EQ(error, 0);
    grid_editor_find_options_put(4, error);
    EXPECT_TRUE(editor.match_case);
    EXPECT_TRUE(editor.search_numbers);
    char text[8] = {};
    grid_editor_text_get(3, 1, text, sizeof text);
    EXPECT_STREQ(text, "pin");
    strcpy(text, "kept");
    grid_editor_text_get(3, 2, text, sizeof text);
    EXPECT_STREQ(text, "") << "the second text stays empty";
    grid_editor_text_get(2, 1, text, sizeof text);
    EXPECT_STREQ(text, "") << "window 2 is no grid editor: nothing written";
    grid_editor_last_modal().texts.file_name = "last.csv";
    grid_editor_text_get(-1, 3, text, sizeof text);
    EXPECT_STREQ(text, "last.cs") << "the last modal editor's, cut to the buffer";
    int options = 0;
    id = test_grid_id;
    grid_query(id, 14, options);
    EXPECT_EQ(options, 0) << "a dialog's grid has no find options";
    d.current_window = [] { return 2; };
    grid_editor_find_text_put(error, "x");
    EXPECT_EQ(error, 1006);
    grid_editor_find_options_put(0, error);
    EXPECT_EQ(error, 1006);
}

} // namespace
