// The range checks and side effects of hc_set_option.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "graphics/testing/recording_device.h"
#include "hardcopy/drivers/drivers.h"
#include "testing/hardcopy_driver.h"

using namespace korv;

namespace {

class Options : public ::testing::Test {
protected:
    HardcopyState saved = hardcopy_state();
    PrinterPlotterSettings saved_printer = printer_plotter_settings();
    char saved_separator = toolkit_settings().path_separator;
    GraphicsStateSaver saver;

    void SetUp() override
    {
        hardcopy_state().options = {};
        hardcopy_state().driver_record = 10;
        printer_plotter_settings().resolution_count = 3;
        printer_plotter_settings().option24_limit = 1;
        toolkit_settings().path_separator = '\\';
        graphics_state().hardcopy_active = 0;
    }
    void TearDown() override
    {
        hardcopy_state() = saved;
        printer_plotter_settings() = saved_printer;
        toolkit_settings().path_separator = saved_separator;
    }
    static int get(int n) { return hardcopy_state().options.get(n); }
    static std::string default_name()
    {
        const auto& name = hardcopy_state().default_output_name;
        return std::string(text_trimmed({name.data(), name.size()}));
    }
};

// Each row sets one option from a known value and expects what is stored.
TEST_F(Options, RangeChecks)
{
    struct Case {
        int option, before, value, after;
    } cases[] = {
        {1, 500, 0, 500},    {1, 500, -5, 500},   {1, 500, 612, 612},   {2, 400, 0, 400},  {3, 0, -7, -7},
        {5, 1, 4, 1},        {5, 1, -1, 1},       {5, 1, 0, 0},         {6, 1, 3, 1},      {6, 1, 2, 2},
        {6, 1, -1, 1},       {7, 0, 5, 5},        {8, 2, -3, 1},        {8, 2, 0, 1},      {8, 2, 4, 4},
        {9, 5, 0, 1},        {9, 5, 12, 12},      {10, 1, 3, 1},        {10, 1, 2, 2},     {11, 0, -1, 0},
        {12, 80, 50, 100},   {12, 80, 99, 100},   {12, 80, 150, 150},   {13, 1, 0, 1},     {13, 1, 4, 1},
        {13, 1, 3, 3},       {14, 0, 5, 0},       {15, 0, 9, 9},        {16, 255, 9, 255}, {16, 255, 256, 255},
        {16, 255, 10, 10},   {17, 0, 3, 3},       {21, 4, 128, 4},      {21, 4, 0, 4},     {21, 4, 127, 127},
        {23, 8, 24, 8},      {24, 0, 2, 0},       {24, 0, 1, 1},        {24, 0, -1, 0},    {30, 0, -9, -9},
        {101, 80, 0, 80},    {101, 80, 5, 5},     {104, 9, -1, 9},      {105, 1, 5, 1},    {105, 1, 0, 1},
        {105, 1, 4, 4},      {106, 0, -3, -3},    {108, 8, 0, 8},       {110, 3, 0, 0},
    };
    for (const Case& c : cases) {
        *hardcopy_state().options.find(c.option) = c.before;
        hc_set_option(c.option, c.value);
        EXPECT_EQ(get(c.option), c.after) << "option " << c.option << " = " << c.value;
    }
}

TEST_F(Options, NumbersThatNameNoOptionChangeNothing)
{
    for (int n = 1; n <= 110; ++n)
        if (HardcopyOptions::valid(n))
            *hardcopy_state().options.find(n) = n;
    const HardcopyOptions before = hardcopy_state().options;
    for (int n : {0, -1, 31, 100, 111, 1000})
        hc_set_option(n, 7);
    EXPECT_EQ(hardcopy_state().options.low, before.low);
    EXPECT_EQ(hardcopy_state().options.high, before.high);
}

TEST_F(Options, OrientationArrangesThePageSides)
{
    hc_set_option(1, 540);
    hc_set_option(2, 756);
    hc_set_option(5, 3);
    EXPECT_EQ(get(1), 756);
    EXPECT_EQ(get(2), 540);
    EXPECT_EQ(get(5), 1);
    hc_set_option(5, 2);
    EXPECT_EQ(get(1), 540);
    EXPECT_EQ(get(2), 756);
    EXPECT_EQ(get(5), 0);
    hc_set_option(5, 1);
    EXPECT_EQ(get(1), 540);
    EXPECT_EQ(get(5), 1);
}

TEST_F(Options, PageSizeUpdatesThePageAspect)
{
    hc_set_option(1, 800);
    hc_set_option(2, 400);
    EXPECT_FLOAT_EQ(graphics_state().page_aspect, 2.0f);
    graphics_state().rotation = 90;
    hc_set_option(2, 200);
    EXPECT_FLOAT_EQ(graphics_state().page_aspect, 0.25f);
}

TEST_F(Options, ColourDepthDependsOnTheDriver)
{
    struct Case {
        int record, value;
        bool stored;
    } cases[] = {
        {10, 24, false}, {6, 24, true}, {6, 1, true}, {6, 4, true}, {6, 2, false}, {6, 3, false},
        {8, 3, true},    {8, 24, true}, {8, 1, false}, {2, 8, false},
    };
    for (const Case& c : cases) {
        *hardcopy_state().options.find(23) = 99;
        hardcopy_state().driver_record = c.record;
        hc_set_option(23, c.value);
        EXPECT_EQ(get(23), c.stored ? c.value : 99) << "driver " << c.record << " depth " << c.value;
    }
}

TEST_F(Options, FileTypeOptionsChangeTheDefaultNamesExtension)
{
    struct Case {
        int record, option, value;
        const char* before;
        const char* after;
    } cases[] = {
        {2, 22, 1, "radediva.ps", "radediva.eps"},
        {2, 22, 0, "radediva.eps", "radediva.ps"},
        {2, 22, 1, "plotfile", "plotfile.eps"},
        {2, 22, 1, "out.dir\\plot", "out.dir\\plot.eps"},
        {2, 22, 1, "a.b.c", "a.b.eps"},
        {10, 22, 1, "radediva.ps", "radediva.ps"},
        {2, 22, 1, "", ""},
        {6, 26, 1, "radediva.png", "radediva.bmp"},
        {6, 26, 2, "radediva.png", "radediva.bmp"},
        {6, 26, 3, "radediva.bmp", "radediva.png"},
        {6, 26, 0, "radediva.png", "radediva.pcx"},
        {2, 26, 1, "radediva.ps", "radediva.ps"},
    };
    for (const Case& c : cases) {
        hardcopy_state().driver_record = c.record;
        text_assign(hardcopy_state().default_output_name, c.before);
        hc_set_option(c.option, c.value);
        EXPECT_EQ(default_name(), c.after) << c.before << " option " << c.option << " = " << c.value;
        EXPECT_EQ(get(c.option), c.value); // stored whatever the driver
    }
}

TEST_F(Options, AFullLengthNameIsCutNotOverrun)
{
    hardcopy_state().driver_record = 2;
    text_assign(hardcopy_state().default_output_name, std::string(259, 'n') + "x");
    hc_set_option(22, 1);
    EXPECT_EQ(default_name(), std::string(259, 'n') + "x");
    text_assign(hardcopy_state().default_output_name, std::string(257, 'n') + ".ps");
    hc_set_option(22, 1);
    EXPECT_EQ(default_name(), std::string(257, 'n') + ".ep");
}

TEST_F(Options, RasterResolutionIsCopiedToTheRasterIndex)
{
    hardcopy_state().raster_resolution_index = 0;
    hc_set_option(13, 2);
    EXPECT_EQ(hardcopy_state().raster_resolution_index, 2);
    hc_set_option(13, 9);
    EXPECT_EQ(hardcopy_state().raster_resolution_index, 2);
}

TEST_F(Options, LineOptionsReachTheOpenOutput)
{
    korv::testing::RecordingDevice driver(korv::testing::RecordingDevice::Side::hardcopy);
    korv::testing::ScopedHardcopyDriver install(10, &driver);
    hardcopy_state().driver_number = 10;
    hc_set_option(9, 3);
    EXPECT_TRUE(driver.log.empty()); // no output open
    graphics_state().hardcopy_active = 1;
    hc_set_option(9, 0);
    hc_set_option(10, 2);
    hc_set_option(10, 3); // refused: nothing sent
    hc_set_option(11, 1);
    hc_set_option(8, 2);
    EXPECT_EQ(driver.codes(), (std::vector<int>{30, 36, 37}));
}

} // namespace

// What option 6 does to the colours of the Windows printer and metafile.
TEST_F(Options, ColourInversion)
{
    struct Case {
        int option;
        std::array<int, 3> in, out;
    } cases[] = {
        {0, {250, 250, 250}, {250, 250, 250}}, {1, {250, 128, 0}, {5, 127, 255}},
        {2, {250, 250, 250}, {5, 5, 5}},       {2, {250, 250, 200}, {250, 250, 200}},
        {2, {9, 0, 3}, {246, 255, 252}},       {2, {10, 0, 3}, {10, 0, 3}},
    };
    for (const Case& c : cases) {
        hc_set_option(option_colour_inversion, c.option);
        std::array<int, 3> rgb = c.in;
        hc_printer_colour_invert(rgb[0], rgb[1], rgb[2]);
        EXPECT_EQ(rgb, c.out) << c.option << ": " << c.in[0] << ' ' << c.in[1] << ' ' << c.in[2];
    }
}
