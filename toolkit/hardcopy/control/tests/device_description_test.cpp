#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "hardcopy/control/device_description.h"

#include <gtest/gtest.h>

using namespace korv;

namespace {

struct Keys {
    int printer, plotter, hpgl2;
};

const PrinterPlotterSettings& decode(Keys keys)
{
    hc_device_description_reset();
    auto& s = printer_plotter_settings();
    s.printer_value = keys.printer;
    s.plotter_value = keys.plotter;
    s.hpgl2_value = keys.hpgl2;
    hc_settings_decode();
    return s;
}

} // namespace

TEST(PrinterTypeTable, HoldsThirtyNineFiveCharacterCodes)
{
    ASSERT_EQ(PrinterTypeTable.size(), 39u);
    for (const std::string_view code : PrinterTypeTable)
        EXPECT_EQ(code.size(), 5u);
    EXPECT_EQ(PrinterTypeTable[0], std::string_view("\0\0\0\0\0", 5));
    EXPECT_EQ(PrinterTypeTable[27], " 1M0 ");
    EXPECT_EQ(PrinterTypeTable[38], "43C22");
}

TEST(PrinterTypeDecoding, InvalidTypesFallBackToTypeTwentyEightUngiven)
{
    for (int printer : {0, 1, 27, 39, -5}) {
        const auto& s = decode({printer, 0, 0});
        EXPECT_EQ(s.printer_type, 28) << printer;
        EXPECT_EQ(s.printer_type_given, 0) << printer;
        EXPECT_EQ(s.printer_family, 7) << printer;
        EXPECT_EQ(s.hpgl2_model, 1) << printer;
    }
    EXPECT_EQ(decode({28, 0, 0}).printer_type_given, 1);
}

TEST(PrinterTypeDecoding, TableCases)
{
    struct Case {
        int printer;
        int family, planes, mode, limit, count;
        std::array<int, 4> resolutions;
        int pass_advance, rows, hpgl2;
    };
    const Case cases[] = {
        {2, 1, 1, 0, 0, 3, {240, 120, 60, 0}, 23, 8, 1},
        {13, 9, 3, 1, 1, 2, {180, 90, 0, 0}, 0, 1, 1},
        {29, 7, 1, 0, 2, 4, {600, 300, 200, 150}, 0, 1, 3},
        {37, 6, 3, 2, 1, 3, {720, 360, 180, 0}, 0, 1, 1},
        {19, 4, 1, 0, 0, 4, {360, 180, 120, 60}, 29, 24, 1},
        {33, 8, 1, 0, 2, 3, {300, 150, 75, 0}, 0, 1, 1},
        {32, 8, 3, 2, 2, 4, {300, 150, 100, 75}, 0, 1, 2},
    };
    for (const Case& c : cases) {
        const auto& s = decode({c.printer, 0, 0});
        SCOPED_TRACE(c.printer);
        EXPECT_EQ(s.printer_type, c.printer);
        EXPECT_EQ(s.printer_type_given, 1);
        EXPECT_EQ(s.printer_family, c.family);
        EXPECT_EQ(s.colour_planes, c.planes);
        EXPECT_EQ(s.raster_mode, c.mode);
        EXPECT_EQ(s.option24_limit, c.limit);
        EXPECT_EQ(s.resolution_count, c.count);
        EXPECT_EQ(s.resolutions, c.resolutions);
        EXPECT_EQ(s.pass_advance, c.pass_advance);
        EXPECT_EQ(s.rows_per_pass, c.rows);
        EXPECT_EQ(s.hpgl2_model, c.hpgl2);
    }
}

TEST(PrinterTypeDecoding, LaterTypeKeepsEarlierPassAdvanceAndSurplusResolutions)
{
    decode({29, 0, 0});
    hc_printer_type_init(2);   // pass advance 23, three resolutions
    hc_printer_type_init(36);  // family 6: pass advance stays
    const auto& s = printer_plotter_settings();
    EXPECT_EQ(s.pass_advance, 23);
    EXPECT_EQ(s.rows_per_pass, 1);
    EXPECT_EQ(s.resolutions, (std::array<int, 4>{720, 360, 180, 150}));
}

TEST(PlotterAndHpgl2Decoding, TableCases)
{
    struct Case {
        Keys keys;
        int plotter, plotter_given, hpgl2, hpgl2_given;
    };
    const Case cases[] = {
        {{0, 0, 0}, 1, 0, 1, 0},
        {{0, 7, 0}, 7, 1, 1, 0},
        {{0, 12, 0}, 1, 0, 2, 1},    // an HP-GL/2 variant survives the printer's default
        {{0, 12, 4}, 1, 0, 4, 1},    // unless HPGL2 names a model
        {{0, 16, 0}, 1, 0, 1, 0},
        {{38, 0, 7}, 1, 0, 5, 0},    // an invalid HPGL2 follows the printer type
        {{38, 0, 3}, 1, 0, 3, 1},
        {{2, 0, 3}, 1, 0, 3, 1},
        {{2, 0, 0}, 1, 0, 1, 0},     // no HP-GL/2 mark: the model comes from the type
        {{35, 0, 0}, 1, 0, 2, 0},
    };
    for (const Case& c : cases) {
        const auto& s = decode(c.keys);
        SCOPED_TRACE(testing::Message() << c.keys.printer << "/" << c.keys.plotter << "/"
                                        << c.keys.hpgl2);
        EXPECT_EQ(s.plotter_model, c.plotter);
        EXPECT_EQ(s.plotter_model_given, c.plotter_given);
        EXPECT_EQ(s.hpgl2_model, c.hpgl2);
        EXPECT_EQ(s.hpgl2_model_given, c.hpgl2_given);
    }
}

TEST(HardcopyDefaults, WindowsPrinterPageAndCommonSlots)
{
    decode({28, 0, 0});
    PrinterDefaults printer;
    printer.larger = 842;
    printer.smaller = 595;
    printer.width = 698;
    printer.height = 451;
    printer.x_offset = printer.y_offset = 72;
    printer.orientation = printer.copies = 1;
    hc_hardcopy_defaults_apply(0, printer);
    auto& dump = hardcopy_dump_settings();
    const std::pair<int, int> expected[] = {{1, 698}, {2, 451}, {3, 72}, {4, 72}, {5, 1},
                                            {6, 0},   {7, 1},   {8, 1},  {13, 0}, {19, 3},
                                            {20, 0},  {24, 2},  {25, 10}};
    for (auto [slot, value] : expected)
        EXPECT_EQ(dump.slot(slot), value) << "slot " << slot;
    EXPECT_EQ(hardcopy_device_state().printer_available, 1);
    EXPECT_EQ(hardcopy_device_state().printer_page_larger, 842);
    EXPECT_EQ(hardcopy_device_state().printer_page_smaller, 595);
}

TEST(HardcopyDefaults, UnreadablePrinterLeavesPageZeroAndUnavailable)
{
    decode({13, 0, 0});
    PrinterDefaults failed;
    failed.error = 1801;
    hc_hardcopy_defaults_apply(0, failed);
    auto& dump = hardcopy_dump_settings();
    for (int slot : {1, 2, 3, 4, 5, 8})
        EXPECT_EQ(dump.slot(slot), 0) << slot;
    EXPECT_EQ(dump.slot(24), 1);
    EXPECT_EQ(dump.slot(25), 10);
    EXPECT_EQ(hardcopy_device_state().printer_available, 0);
}

TEST(HardcopyDefaults, PostScriptDumpDevice)
{
    decode({0, 0, 0});
    hc_hardcopy_defaults_apply(2, PrinterDefaults{});
    auto& dump = hardcopy_dump_settings();
    const std::pair<int, int> expected[] = {{1, 756}, {2, 540}, {3, 42}, {4, -20}, {5, 1},
                                            {7, 1},   {8, 1},   {22, 0}, {25, 2}};
    for (auto [slot, value] : expected)
        EXPECT_EQ(dump.slot(slot), value) << "slot " << slot;
    EXPECT_EQ(text_trimmed(text_view(file_name_table().entry(0))), "korvdump.ps");
}
