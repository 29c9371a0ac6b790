#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_csv.h"
#include "grid/grid_extras_entry.h"
#include "grid/grid_html.h"
#include "grid/grid_print_layout.h"
#include "grid/tests/grid_test_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace korv;
using namespace korv::testing;

namespace {

TEST(GridsEntry, ReadsSizesRowHeadingsAndWhatItUsed)
{
    const std::string sixty(60, 'x');
    struct Case {
        std::string text;
        int style;
        int template_dialog;
        std::vector<std::string> rows;
        std::string rest; // the text after what the entry used
    };
    const Case cases[] = {
        {"3 10 200 trailing\nnext", 0, 200, {}, "200 trailing\nnext"},
        {"2 3 300\n 40\nAlpha\nBeta   \r\nGamma  \n[Menus]", 0x400, 300, {"Alpha", "Beta   ", "Gamma"}, "\n[Menus]"},
        {"2 3 300\n40\nAlpha\nBeta\n", 0x480, 300, {}, "\nAlpha\nBeta\n"},
        {"2 2 300\n40\n" + sixty + "\n", 0x400, 300, {std::string(50, 'x')}, "\n"},
        {"2 5 300\n40\nOnly\n", 0x400, 300, {"Only"}, "\n"},
    };
    for (const Case& c : cases) {
        const GridsEntry e = grid_read_extras_entry(c.text, c.style);
        EXPECT_EQ(e.row_texts, c.rows) << c.text;
        EXPECT_EQ(c.text.substr(e.consumed), c.rest) << c.text;
        EXPECT_EQ(e.has_heading_width, (c.style & 0x400) != 0);
        if (e.has_heading_width) {
            EXPECT_EQ(e.heading_width, 40);
            // The grid reads the row lines itself from the width line on.
            const GridRowLines lines = grid_read_row_lines(std::string_view(c.text).substr(e.heading_line), e.rows, c.style);
            EXPECT_EQ(lines.texts, c.rows) << c.text;
            EXPECT_EQ(e.heading_line + lines.consumed, e.consumed) << c.text;
        }
        EXPECT_EQ(e.template_dialog, c.template_dialog);
    }
    const GridsEntry e = grid_read_extras_entry("3 10 200", 0);
    EXPECT_EQ(e.columns, 3);
    EXPECT_EQ(e.rows, 10);
}

TEST(GridsEntry, SizesOutsideThePackedCellFailTheBuild)
{
    EXPECT_TRUE(grid_read_extras_entry("8191 262143 1", 0).sizes_valid());
    for (const char* text : {"8192 10 1", "0 10 1", "2 262144 1", "2 -1 1"})
        EXPECT_FALSE(grid_read_extras_entry(text, 0).sizes_valid()) << text;

    GridModel grid;
    EXPECT_FALSE(grid_allocate(grid, grid_max_rows + 1, {text_column()}));
    EXPECT_FALSE(grid_allocate(grid, 10, std::vector<GridColumnSpec>(grid_max_columns + 1)));
    EXPECT_FALSE(grid_allocate(grid, grid_max_rows, {text_column(1 << 20)})); // storage beyond any process
    EXPECT_TRUE(grid.columns.empty());
    EXPECT_TRUE(grid_allocate(grid, grid_max_rows, {typed_column(GridCellType::integer)}));
}

TEST(GridCells, TypeCodesAndDisplayTexts)
{
    TestGrid t(3, {text_column(), typed_column(GridCellType::integer), typed_column(GridCellType::real),
                   typed_column(GridCellType::double_precision), typed_column(GridCellType::check_box),
                   typed_column(GridCellType::menu)});
    const int expected[] = {4, 5, 6, 7, 9, 11};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(grid_type_code(t.grid.columns[c].type), expected[c]);

    GridModel& g = t.grid;
    g.columns[5].items = {"Apple", "Apricot"};
    grid_cell_put_value(g, 1, 0, -2147483647.0 - 1, "x", "");
    grid_cell_put_value(g, 3, 0, 2.5, "2.5", "(F8.2)");
    grid_cell_put_check(g, 4, 0, 1);
    grid_cell_put_menu(g, 5, 0, 2);
    EXPECT_EQ(t.text(1, 0), "-2147483648");
    EXPECT_EQ(t.text(3, 0), "2.50");
    EXPECT_EQ(t.text(4, 0), "Yes");
    EXPECT_EQ(t.text(4, 1), "No");
    EXPECT_EQ(t.text(5, 0), "Apricot");
    std::string painted;
    grid_cell_display_text(g, 4, 0, painted, grid_text_painted);
    EXPECT_EQ(painted, "\xFC");
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(t.text(c, 1), "") << "an empty number cell shows nothing";
    EXPECT_EQ(t.text(5, 1), "Apple") << "menu index 0 is the first item";
}

TEST(GridCells, PutValueReadsZeroFromItsTextAndKeepsFormatsThatDifferOnlyInCase)
{
    TestGrid t(2, {typed_column(GridCellType::double_precision)});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 0, 0.0, "2.5", "(F8.2)");
    EXPECT_EQ(g.columns[0].double_value(0), 2.5);
    grid_cell_put_value(g, 0, 1, 3.0, "0.0", "(f8.2)");
    EXPECT_EQ(g.columns[0].double_value(1), 3.0);
    EXPECT_TRUE(g.columns[0].flags(1) & grid_cell_holds_value);
    EXPECT_EQ(g.columns[0].format, "(F8.2)");
    EXPECT_EQ(g.modified_1, 1);
    grid_cell_put_value(g, 0, 1, 4.0, "", "(F8.2)");
    EXPECT_EQ(g.columns[0].flags(1) & (grid_cell_holds_value | grid_cell_held_value), 0);
    EXPECT_EQ(t.text(0, 1), "");
}

TEST(GridCells, ClearingKeepsProtectionAndResetsMenusOnlyWhenAsked)
{
    TestGrid t(3, {typed_column(GridCellType::integer), typed_column(GridCellType::menu)});
    GridModel& g = t.grid;
    g.rows_in_use = 2;
    g.columns[0].flags(2) = grid_cell_protected | grid_cell_holds_value;
    g.columns[0].set_int(2, 9);
    grid_cell_clear(g, 0, 2, grid_clear_keep_menus);
    EXPECT_EQ(g.columns[0].int_value(2), 9) << "row beyond the rows in use";
    grid_cell_clear(g, 0, 2, grid_clear_created_rows);
    EXPECT_EQ(g.columns[0].int_value(2), 0);
    EXPECT_EQ(g.columns[0].flags(2), grid_cell_protected);
    g.columns[1].set_int(0, 3);
    grid_cell_clear(g, 1, 0, grid_clear_created_rows);
    EXPECT_EQ(g.columns[1].int_value(0), 3);
    grid_cell_clear(g, 1, 0, grid_clear_menus_too);
    EXPECT_EQ(g.columns[1].int_value(0), 0);
}

TEST(GridCells, CellColoursFallBackAndClearByRed256)
{
    TestGrid t(2, {text_column()});
    GridModel& g = t.grid;
    g.foreground = 0x010203;
    GridColourTriple fg, bg;
    grid_cell_colours(g, 0, 0, fg, bg);
    EXPECT_EQ(fg.red, 3);
    EXPECT_EQ(fg.blue, 1);
    EXPECT_EQ(bg.red, -1);
    ASSERT_TRUE(grid_cell_colours_store(g, 0, 0, {-1, -1, -1}, {255, 0, 0}));
    grid_cell_colours(g, 0, 0, fg, bg);
    EXPECT_EQ(fg.red, -1) << "only the background was set";
    EXPECT_EQ(bg.red, 255);
    grid_cell_colours_store(g, 0, 0, {256, 0, 0}, {-1, 0, 0});
    grid_cell_colours(g, 0, 0, fg, bg);
    EXPECT_EQ(fg.red, -1);
    EXPECT_EQ(bg.red, 255);
}

TEST(GridClipboard, CopiesDisplayTextsWithTabsAndLineEnds)
{
    TestGrid t(2, {typed_column(GridCellType::integer), typed_column(GridCellType::check_box)});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 0, 5, "5", "");
    grid_cell_put_value(g, 0, 1, 17, "17", "");
    grid_cell_put_check(g, 1, 0, 1);
    EXPECT_EQ(grid_block_text(g, {0, 1, 0, 1}), "5\tYes\r\n17\tNo\r\n");
    grid_cell_clear(g, 0, 0, grid_clear_keep_menus);
    EXPECT_EQ(grid_block_text(g, {0, 0, 0, 1}), "\tYes\r\n");
}

TEST(GridClipboard, PastedValuesConvertByCellType)
{
    TestGrid t(1, {typed_column(GridCellType::integer), typed_column(GridCellType::real),
                   typed_column(GridCellType::check_box), typed_column(GridCellType::menu), text_column(4)});
    GridModel& g = t.grid;
    g.columns[3].items = {"Banana", "Apple", "Apricot"};
    struct Case {
        int column;
        std::string value;
        bool taken;
        std::string shown;
    };
    const Case cases[] = {
        {0, "1.5", true, "1"},      {0, "2E3", false, "1"},     {0, "abc", false, "1"},
        {0, "", false, "1"},        {0, "99999999999", false, "1"}, {1, "2E3", true, "2000.0"},
        {1, "1d2", true, "100.00"}, {2, "yes", true, "Yes"},    {2, "Y", true, "No"},
        {3, "app", true, "Apple"},  {3, "kiwi", false, "Apple"}, {4, "abcdefg", true, "abcd"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid_paste_value(g, c.column, 0, c.value), c.taken) << c.value;
        EXPECT_EQ(t.text(c.column, 0), c.shown) << c.value;
    }
    g.columns[0].minimum = 0;
    g.columns[0].maximum = 10;
    EXPECT_FALSE(grid_paste_value(g, 0, 0, "11"));
    EXPECT_TRUE(grid_paste_value(g, 0, 0, "10"));
}

TEST(GridClipboard, BlocksPasteFromTheCurrentCellAndDropWhatFallsOutside)
{
    TestGrid t(3, {text_column(), text_column(), text_column()});
    GridModel& g = t.grid;
    const std::string block = "a\tb\tc\r\nd\te\tf\r\n";
    int rows = 0, columns = 0;
    grid_clipboard_block_size(block, rows, columns);
    EXPECT_EQ(rows, 2) << "a trailing CR LF counts no row";
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(grid_clipboard_text_kind(block), 2);
    EXPECT_EQ(grid_clipboard_text_kind("value"), 1);

    g.current_column = 1;
    g.current_row = 2;
    const GridBlock reached = grid_paste_text(g, block);
    EXPECT_EQ(t.text(1, 2), "a");
    EXPECT_EQ(t.text(2, 2), "b");
    EXPECT_EQ(reached.last_column, 2);
    EXPECT_EQ(reached.last_row, 2) << "the second row lies below the grid";

    g.columns[2].flags(2) |= grid_cell_protected;
    EXPECT_FALSE(grid_paste_allowed(g, block));
    g.current_column = 0;
    g.current_row = 0;
    EXPECT_TRUE(grid_paste_allowed(g, "x\r\n"));
    EXPECT_FALSE(grid_paste_allowed(g, "x\ty\tz\r\n1\r\n2\r\n")) << "the block reaches the protected cell";
}

TEST(GridClipboard, ClearingABlockEmptiesItsCellsAndTheSelection)
{
    TestGrid t(2, {typed_column(GridCellType::integer), typed_column(GridCellType::menu)});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 1, 4, "4", "");
    grid_cell_put_menu(g, 1, 1, 2);
    g.selection = {1, 1, 0, 1};
    EXPECT_TRUE(grid_selection_writable(g));
    const GridBlock b = grid_clear_block_cells(g);
    EXPECT_EQ(b.first_row, 1);
    EXPECT_TRUE(g.selection.empty());
    EXPECT_EQ(t.text(0, 1), "");
    EXPECT_EQ(grid_cell_menu(g, 1, 1), 1);
}

TEST(GridClipboard, TheRangeTestOfPastedNumbers)
{
    TestGrid t(1, {typed_column(GridCellType::integer), typed_column(GridCellType::double_precision)});
    t.grid.columns[0].minimum = 0;
    t.grid.columns[0].maximum = 10;
    struct Case {
        int column;
        double value;
        int status; // from 5
    };
    const Case cases[] = {{0, 10, 5}, {0, 11, -3}, {0, -1, -3}, {1, 1e300, 5}, {2, 1, -2}, {-1, 1, -2}};
    for (const Case& c : cases) {
        int status = 5;
        grid_value_in_column_range(status, t.grid, c.column, c.value);
        EXPECT_EQ(status, c.status) << c.column << " " << c.value;
    }
}

TEST(GridCsv, TheLoaderReadsABufferAtATime)
{
    constexpr int rows = 20000;
    TestGrid t(rows, {text_column(40), typed_column(GridCellType::integer)});
    std::string file;
    for (int r = 0; r < rows; ++r)
        file += "\"row " + std::to_string(r) + ", quoted\"," + std::to_string(r) + "\r\n";
    ASSERT_GT(file.size(), 5 * grid_csv_read_buffer);
    std::size_t taken = 0, largest = 0, reads = 0;
    const GridCsvSource source = [&](char* into, std::size_t count) {
        largest = std::max(largest, count);
        ++reads;
        const std::size_t n = std::min(count, file.size() - taken);
        std::copy_n(file.data() + taken, n, into);
        taken += n;
        return static_cast<long>(n);
    };
    EXPECT_EQ(grid_csv_load(t.grid, test_grid_id, source, false, 0), 0);
    EXPECT_LE(largest, grid_csv_read_buffer);
    EXPECT_GE(reads, file.size() / grid_csv_read_buffer);
    for (int r = 0; r < rows; r += 997) {
        ASSERT_EQ(t.text(0, r), "row " + std::to_string(r) + ", quoted") << r;
        ASSERT_EQ(t.text(1, r), std::to_string(r)) << r;
    }

    // A failed read stops the load where it stood.
    taken = 0;
    const GridCsvSource failing = [&](char* into, std::size_t count) {
        if (taken > 0)
            return -1L;
        return source(into, count);
    };
    grid_cells_clear_all(t.grid, false);
    EXPECT_EQ(grid_csv_load(t.grid, test_grid_id, failing, false, 0), -1);
    EXPECT_EQ(t.text(1, 1), "1");
    EXPECT_EQ(t.text(1, rows - 1), "");
}

TEST(GridHtml, AFailedLineStopsEveryLaterOne)
{
    std::string file;
    int status = 0;
    grid_html_write_line(file, "<tr>", status);
    EXPECT_EQ(file, "<tr>\r\n");
    status = 2;
    grid_html_write_line(file, "</tr>", status);
    EXPECT_EQ(file, "<tr>\r\n");
    EXPECT_EQ(status, 2);
}

TEST(GridPrintLayout, MarginUnitsAndPages)
{
    EXPECT_EQ(grid_inches_to_millimetres(1000), 2540);
    EXPECT_EQ(grid_millimetres_to_inches(2540), 1000);
    EXPECT_EQ(grid_points_to_margin(72, grid_units_millimetres), 2540);
    EXPECT_EQ(grid_margin_to_points(2540, grid_units_millimetres), 72);
    EXPECT_EQ(grid_rows_per_page(10, 20, true), 1) << "at least one row a page";
    const auto pages = grid_column_pages({40, 40, 40}, 0, 100, 0);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].last_column, 1);
    EXPECT_EQ(pages[1].first_column, 2);
    EXPECT_EQ(grid_column_pages({500, 10}, 0, 100, 0).size(), 2u) << "a column wider than the page has it alone";
}

} // namespace
