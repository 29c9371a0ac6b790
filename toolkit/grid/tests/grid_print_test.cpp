// Prints a grid to the default printer (cups-pdf's queue) and names the
// PDF it made on its last line, for grid_print_check.sh to read with
// pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"
#include "grid/grid_print_win.h"
#include "testing/cups_pdf.h"

#include "korvanthide/dialogs.h"

#include <cstdio>
#include <string>

using namespace dialog_test;
using namespace korv::testing;
using namespace korv;

namespace {

TEST(GridPrint, ABandTooWideForThePagePrintsAcrossThenDown)
{
    toolkit_up();
    WDialogLoad(1640);
    WDialogShow(-1, -1, 0, 2);
    pump_dialog_messages();
    GridRecord* g = grid_control_of(field(1641));
    ASSERT_NE(g, nullptr);
    for (int r = 0; r < 80; ++r)
        for (int c = 0; c < 3; ++c) {
            std::string text = "r";
            text += std::to_string(r + 1);
            text += "c";
            text += std::to_string(c + 1);
            grid_cell_put_value(g->model(), c, r, 0, text, "");
        }
    // Half-inch margins all round.
    grid_print_margin_set(3, 36, 1);
    grid_print_margin_set(4, 36, 1);
    grid_print_margin_set(1, 0, 1);
    grid_print_margin_set(2, 0, 1);
    EXPECT_EQ(grid_print_margin_query(3, 1), 36);
    std::string title = "korvgrid";
    title += std::to_string(GetCurrentProcessId());
    title += "x";
    title += std::to_string(GetTickCount());
    int ok = 0;
    const korv::testing::PrintedPdfWatch watch;
    grid_print(1641, ok, 0, 79, 0, 2, 1, title);
    ASSERT_EQ(ok, 1);
    const std::string pdf = watch.wait_for(title);
    ASSERT_FALSE(pdf.empty()) << "no PDF named after " << title;
    std::printf("PDF %s\n", pdf.c_str());
    unload_all();
}

} // namespace
