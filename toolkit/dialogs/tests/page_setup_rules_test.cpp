#include "dialogs/page_setup_rules.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace korv;

namespace {

PageRecordValues millimetre_record()
{
    PageRecordValues r;
    r.units_per_inch = 2540;
    r.paper_width = 21000;
    r.paper_height = 29700;
    r.margins = {2000, 2500, 2000, 2500};
    return r;
}

} // namespace

TEST(PageSetupUnits, ConvertRoundsBothWays)
{
    EXPECT_EQ(page_units_convert(1000, 1000, 2540), 2540);
    EXPECT_EQ(page_units_convert(2540, 2540, 1000), 1000);
    EXPECT_EQ(page_units_convert(999, 1000, 2540), 2537);  // 2537.46
    EXPECT_EQ(page_units_convert(-1000, 1000, 2540), -2540);
    EXPECT_EQ(page_units_convert(1234, 1000, 1000), 1234);
    EXPECT_EQ(page_units_per_inch(page_flag_thousandths | page_flag_margins), 1000);
    EXPECT_EQ(page_units_per_inch(page_flag_hundredths_mm), 2540);
    EXPECT_EQ(page_units_flag(-1, true), page_flag_hundredths_mm);
    EXPECT_EQ(page_units_flag(-1, false), page_flag_thousandths);
    EXPECT_EQ(page_units_flag(1, true), page_flag_thousandths);
    EXPECT_EQ(page_units_flag(2, false), page_flag_hundredths_mm);

    PageRecordValues r;
    r.paper_width = 8500;
    r.paper_height = 11000;
    r.margins = {1000, 1000, 1000, 1000};
    page_record_convert_units(r, 2540);
    EXPECT_EQ(r.paper_width, 21590);
    EXPECT_EQ(r.margins, (PageMargins{2540, 2540, 2540, 2540}));
    page_record_convert_units(r, 1000);
    EXPECT_EQ(r.paper_width, 8500);
    EXPECT_EQ(r.margins.left, 1000);
}

TEST(PageSetupPoints, GetAndSetInRecordUnits)
{
    PageRecordValues r = millimetre_record();
    page_points_set(r, 3, 72);
    EXPECT_EQ(r.margins.left, 2540);
    EXPECT_EQ(page_points_get(r, 3), 72);
    page_points_set(r, 4, 36);
    EXPECT_EQ(r.margins.top, 1270);
    page_points_set(r, 1, 144);  // right kept as left + extent
    EXPECT_EQ(r.margins.right, 2540 + 5080);
    EXPECT_EQ(page_points_get(r, 1), 144);
    page_points_set(r, 2, 72);
    EXPECT_EQ(page_points_get(r, 2), 72);
    EXPECT_EQ(page_points_get(r, 5), 0);
    EXPECT_EQ(page_points_get(r, 9), 0);
    const PageRecordValues before = r;
    page_points_set(r, 9, 500);
    EXPECT_EQ(r.margins, before.margins);
}

TEST(PageSetupPoints, OrientationSwapsPaperOnce)
{
    PageRecordValues r = millimetre_record();
    page_points_set(r, 5, 1);
    EXPECT_TRUE(r.landscape);
    EXPECT_EQ(r.paper_width, 29700);
    page_points_set(r, 5, 1);
    EXPECT_EQ(r.paper_width, 29700);
    EXPECT_EQ(page_points_get(r, 5), 1);
    page_points_set(r, 5, 7);  // not an orientation
    EXPECT_TRUE(r.landscape);
    page_points_set(r, 5, 0);
    EXPECT_EQ(r.paper_width, 21000);
    EXPECT_FALSE(r.landscape);

    // 3: landscape with the extents exchanged when across is the shorter.
    r.margins = {100, 200, 300, 900};  // across 200, down 700
    page_points_set(r, 5, 3);
    EXPECT_EQ(r.margins, (PageMargins{100, 200, 800, 400}));
    page_points_set(r, 5, 2);
    EXPECT_EQ(r.margins, (PageMargins{100, 200, 300, 900}));
}

TEST(PageSetupTurning, MarginsAndPaper)
{
    const PageMargins portrait{10, 20, 30, 40};
    const PageMargins landscape = page_margins_turned(portrait, true);
    EXPECT_EQ(landscape, (PageMargins{40, 10, 20, 30}));
    EXPECT_EQ(page_margins_turned(landscape, false), portrait);

    int w = 21000, h = 29700;
    page_paper_turn(w, h, true);
    EXPECT_EQ(w, 29700);
    page_paper_turn(w, h, true);
    EXPECT_EQ(w, 29700);
    page_paper_turn(w, h, false);
    EXPECT_EQ(w, 21000);
}

TEST(PageSetupPrinter, MinimumMarginsAndTextArea)
{
    PrinterMetrics printer;
    printer.pixels_x = printer.pixels_y = 300;
    printer.physical_width = 2550;  // Letter at 300 dpi
    printer.physical_height = 3300;
    printer.offset_x = 75;          // a quarter inch all round
    printer.offset_y = 75;
    printer.printable_width = 2400;
    printer.printable_height = 3150;
    EXPECT_EQ(page_minimum_margins(printer, 1000), (PageMargins{250, 250, 250, 250}));

    PageRecordValues r;
    r.paper_width = 8500;
    r.paper_height = 11000;
    r.margins = {1000, 2000, 1000, 1000};
    EXPECT_EQ(page_text_area(r, printer), (PixelRect{225, 525, 2175, 2925}));
    // Below the minimum: printed at the minimum, not outside the printable area.
    r.margins = {0, 100, 0, 0};
    EXPECT_EQ(page_text_area(r, printer), (PixelRect{0, 0, 2400, 3150}));
    // Margins meeting each other leave nothing.
    r.margins = {4500, 1000, 4500, 1000};
    EXPECT_FALSE(page_text_area(r, printer));
    printer.pixels_x = 0;
    r.margins = {1000, 1000, 1000, 1000};
    EXPECT_FALSE(page_text_area(r, printer));
}

TEST(PageSetupDialog, ValuesRoundTrip)
{
    PageRecordValues r = millimetre_record();
    r.margins = {2540, 1000, 3000, 4000};
    r.copies = 3;
    PageDialogValues v = page_dialog_values(r);
    EXPECT_EQ(v.units, 2);
    EXPECT_EQ(v.divisor(), 100);
    EXPECT_EQ(v.printable_width, 21000 - 2540 - 3000);
    EXPECT_EQ(v.right(), 3000);
    EXPECT_EQ(v.bottom(), 4000);
    v.orientation = 1;
    v.copies = 2;
    PageRecordValues back = r;
    page_record_take(back, v);
    EXPECT_EQ(back.margins, r.margins);
    EXPECT_TRUE(back.landscape);
    EXPECT_EQ(back.copies, 2);
    EXPECT_EQ(back.units_per_inch, 2540);
}

TEST(PageSetupDialog, MarginFields)
{
    // Shown and read back unchanged: the exact margin, not its picture.
    EXPECT_FLOAT_EQ(page_margin_shown(2540, 100), 25.4f);
    EXPECT_EQ(page_margin_read(25.4f, 2540, 100), 2540);
    EXPECT_EQ(page_margin_read(1.2f, 1234, 1000), 1234);
    EXPECT_EQ(page_margin_read(1.0f, 1000, 1000), 1000);
    // Changed: rounded into the record's units.
    EXPECT_EQ(page_margin_read(2.0f, 1000, 1000), 2000);
    EXPECT_EQ(page_margin_read(12.7f, 2540, 100), 1270);
    // A negative margin shows as 0 and comes back as 0.
    EXPECT_FLOAT_EQ(page_margin_shown(-50, 100), 0.0f);
    EXPECT_EQ(page_margin_read(0.0f, -50, 100), 0);

    EXPECT_EQ(page_paper_side(2100, 2), 21000);
    EXPECT_EQ(page_paper_side(2100, 0), 8267);
    EXPECT_EQ(page_paper_side(2794, 0), 11000);
}

TEST(PageSetupDialog, PaperListsSortedWithoutBlanks)
{
    constexpr int width = 8;
    char names[5 * width] = {};
    const char* given[] = {"Letter", "   ", "A4", "Legal  ", "A4"};
    for (int i = 0; i < 5; ++i) std::memcpy(names + i * width, given[i], std::strlen(given[i]));
    const std::int16_t numbers[] = {1, 99, 9, 5, 70};

    auto papers = page_paper_list(names, width, numbers, 5, true);
    ASSERT_EQ(papers.size(), 4u);
    EXPECT_EQ(papers[0].name, "A4");
    EXPECT_EQ(papers[0].number, 9);
    EXPECT_EQ(papers[0].position, 2);
    EXPECT_EQ(papers[1].number, 70);  // equal names keep their order
    EXPECT_EQ(papers[2].name, "Legal");
    EXPECT_EQ(papers[3].name, "Letter");
    EXPECT_EQ(page_list_selection(papers, 5), 2);
    EXPECT_EQ(page_list_selection(papers, 42), 0);

    // Sources keep blank names; counts beyond what was fetched are cut.
    auto sources = page_paper_list(names, width, numbers, 9, false);
    EXPECT_EQ(sources.size(), 5u);
    EXPECT_EQ(sources[0].name, "");
    EXPECT_TRUE(page_paper_list(names, width, numbers, -3, true).empty());
    EXPECT_TRUE(page_paper_list({}, width, numbers, 5, true).empty());
}

TEST(PageSetupDialog, PreviewGeometry)
{
    auto portrait = page_preview_area(2000, 1000, false);
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->width, 1000);
    EXPECT_EQ(portrait->height, 2000);
    EXPECT_DOUBLE_EQ(portrait->x0, 0.25);
    EXPECT_DOUBLE_EQ(portrait->x1, 0.75);
    EXPECT_DOUBLE_EQ(portrait->y0, 0.0);
    auto landscape = page_preview_area(1000, 2000, true);
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->width, 2000);
    EXPECT_DOUBLE_EQ(landscape->y0, 0.25);
    EXPECT_FALSE(page_preview_area(0, 2000, true));
    EXPECT_FALSE(page_preview_area(1000, -1, false));

    EXPECT_TRUE(page_preview_has_printable({10, 10, 10, 10}, 100, 100));
    EXPECT_FALSE(page_preview_has_printable({50, 10, 50, 10}, 100, 100));
    EXPECT_FALSE(page_preview_has_printable({10, 60, 10, 40}, 100, 100));
}
