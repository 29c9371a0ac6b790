// The page set-up of the toolkit's Windows printer through the toolkit's
// own dialog (this program holds resource 32010): the choice reaches the
// printer settings, from which the hardcopy side takes its page.
#include "hardcopy/control/printer_page_setup.h"

#include "korvanthide/printer.h"
#include "dialogs/tests/dialog_test_support.h"
#include "hardcopy/control/printer_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using korv::testing::answer_dialogs;

namespace {

struct Page {
    int width = 0, height = 0, printable_width = 6500, printable_height = 9000;
    int left = 1000, top = 1000, orientation = 0, copies = 1, colours = 12345, answer = -1;
    void run(int units)
    {
        korv::cdlg_page_setup(width, height, printable_width, printable_height, left, top, orientation, copies,
                              units, colours, answer);
    }
};

} // namespace

TEST(PrinterPageSetup, ChoiceReachesThePrinterSettings)
{
    dialog_test::toolkit_up();
    korv::windows_printer_settings().selection.chosen = 0;  // start-up has read the printer
    Page page;
    answer_dialogs({{"Seite einrichten", IDOK, [](HWND d) {
                         SendDlgItemMessageA(d, 1033, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>("US Letter"));
                     }}});
    page.run(0);
    ASSERT_EQ(page.answer, 1);
    EXPECT_EQ(page.width, 8500);
    EXPECT_EQ(page.height, 11000);
    EXPECT_EQ(page.left, 1000);
    EXPECT_EQ(page.top, 1000);
    EXPECT_EQ(page.orientation, 0);
    EXPECT_NE(page.colours, 12345);  // the printer was asked

    const korv::WindowsPrinterSettings& settings = korv::windows_printer_settings();
    EXPECT_EQ(settings.selection.chosen, 1);
    EXPECT_STREQ(settings.selection.device.data(), "PDF");
    EXPECT_EQ(settings.selection.paper_size, DMPAPER_LETTER);
    EXPECT_EQ(settings.page_setup.paper_width, 8500);
    EXPECT_NE(settings.page_setup.flags & 4, 0);

    int larger = 0, smaller = 0, width = 0, height = 0, x = 0, y = 0, orientation = 0, copies = 0, colours = 0,
        error = -1;
    korv::hc_printer_defaults(0, larger, smaller, width, height, x, y, orientation, copies, colours, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(larger, 792);
    EXPECT_EQ(smaller, 612);

    // Cancelled in millimetres: nothing changes.
    Page again = page;
    answer_dialogs({{"Seite einrichten", IDCANCEL}});
    again.run(2);
    EXPECT_EQ(again.answer, 0);
    EXPECT_EQ(again.width, page.width);
    EXPECT_EQ(again.left, page.left);
    EXPECT_EQ(settings.page_setup.paper_width, 8500);
    dialog_test::unload_all();
}
