#include <gtest/gtest.h>

#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/printer.h"
#include "graphics/testing/recording_device.h"
#include "hardcopy/control/device_description.h"
#include "hardcopy/control/control.h"
#include "testing/hardcopy_driver.h"

namespace {

using korv::testing::RecordingDevice;
using korv::testing::ScopedHardcopyDriver;

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override { saved_ = korv::hardcopy_state(); }
    void TearDown() override { korv::hardcopy_state() = saved_; }

    static int probe(int driver)
    {
        korv::hardcopy_state().driver_number = driver;
        korv::device_parameters().count = -999;
        korv::hc_dispatch(1);
        return korv::device_parameters().count;
    }

private:
    korv::HardcopyState saved_;
};

TEST_F(Dispatch, ProbeAnswersOnlyForDriverNumbers)
{
    for (int n : {1, 2, 3, 4, 6, 8, 9, 10, 11, 12})
        EXPECT_EQ(probe(n), n);
    for (int n : {0, 5, 7, 13, -1, 99})
        EXPECT_EQ(probe(n), -999) << n;
    // The probe changes nothing else.
    EXPECT_EQ(korv::hardcopy_state().driver_record, 0);
}

TEST_F(Dispatch, SelectEntryActsOnlyOnOperationOne)
{
    korv::hc_dispatch_select(2, 4);
    EXPECT_EQ(korv::hardcopy_state().driver_number, 10);
    korv::device_parameters().count = 0;
    korv::hc_dispatch_select(1, 4);
    const korv::HardcopyState& hc = korv::hardcopy_state();
    EXPECT_EQ(hc.driver_number, 4);
    EXPECT_EQ(hc.driver_record, 4);
    EXPECT_EQ(korv::text_trimmed({hc.default_output_name.data(), hc.default_output_name.size()}), "radediva.prn");
    EXPECT_EQ(hc.print_command_flag, 1);
}

// A full selection stores the driver's page, description and output name.
TEST_F(Dispatch, SelectionStoresEachDriversDefaults)
{
    struct Case {
        int driver, width, height, colours, print_flag;
        const char* name;
        const char* flags;
    } cases[] = {
        {2, 756, 540, 256, 1, "radediva.ps", "00000111111111100010011011110"},
        {3, 640, 480, 256, 0, "radediva.svg", "00000111111111100010011011110"},
        {6, 1024, 768, 256, 0, "radediva.png", "00000111111111110010011111000"},
        {8, 756, 540, 255, 0, "radediva.dxf", "00000100000011000010000000010"},
        {9, 756, 540, 256, 0, "radediva.cgm", "00000110111111100010011011100"},
        {11, 756, 540, 256, 0, "", "00000111111111100010011011110"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.driver);
        korv::hardcopy_state().options = {};
        korv::device_parameters().count = 0;
        korv::hc_dispatch_select(1, c.driver);
        const korv::HardcopyState& hc = korv::hardcopy_state();
        EXPECT_EQ(hc.options.get(1), c.width);
        EXPECT_EQ(hc.options.get(2), c.height);
        EXPECT_EQ(hc.options.get(9), 5); // driver-independent defaults were reset
        EXPECT_EQ(korv::graphics_state().hardcopy_colour_count, c.colours);
        EXPECT_EQ(hc.print_command_flag, c.print_flag);
        EXPECT_EQ(korv::text_trimmed({hc.default_output_name.data(), hc.default_output_name.size()}), c.name);
        EXPECT_EQ(korv::device_capabilities().hardcopy.flags_view(), c.flags);
        EXPECT_EQ(hc.driver_record, c.driver);
    }
}

// The plotter, HP-GL/2 and raster printer drivers take their page from the
// models and the printer type read from the settings.
TEST_F(Dispatch, SelectionFollowsTheDeviceDescription)
{
    const korv::PrinterPlotterSettings saved_printer = korv::printer_plotter_settings();
    struct Case {
        int driver, plotter, hpgl2, family, planes, resolutions, limit;
        std::array<int, 6> options; // 1, 2, 3, 4, 5, 13
        int colours, raster_index;
        const char* flags;
    } cases[] = {
        {1, 3, 0, 0, 0, 0, 0, {1111, 778, 28, 0, 1, 0}, 6, 0, "00000100000011100010001001010"},
        {1, 0, 0, 0, 0, 0, 0, {742, 530, 28, 0, 1, 0}, 4, 0, "00000100000000000010000000010"},
        {1, 4, 0, 0, 0, 0, 0, {744, 542, 28, 0, 1, 0}, 4, 0, "00000100000000000010000000000"},
        {12, 0, 4, 0, 0, 0, 0, {1122, 769, 0, 0, 1, 0}, 256, 0, "00000100011111100010011011110"},
        {12, 0, 3, 0, 0, 0, 0, {769, 561, 0, 0, 1, 0}, 2, 0, "00000100000011100010001001110"},
        {4, 0, 0, 8, 3, 4, 2, {576, 432, 100, 70, 1, 2}, 8, 2, "00000111111111110010011011000"},
        {4, 0, 0, 3, 1, 2, 0, {576, 432, 0, 0, 0, 2}, 2, 2, "00000111111111110010011011000"},
        {4, 0, 0, 9, 3, 1, 1, {576, 432, 100, 70, 1, 1}, 8, 1, "00000111111111110010011011000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "driver " << c.driver << " plotter " << c.plotter << " hpgl2 "
                                          << c.hpgl2 << " family " << c.family);
        korv::PrinterPlotterSettings& printer = korv::printer_plotter_settings();
        printer.plotter_model = c.plotter;
        printer.hpgl2_model = c.hpgl2;
        printer.printer_family = c.family;
        printer.colour_planes = c.planes;
        printer.resolution_count = c.resolutions;
        printer.option24_limit = c.limit;
        korv::hardcopy_state().options = {};
        korv::hardcopy_state().raster_resolution_index = 0;
        korv::device_parameters().count = 0;
        korv::hc_dispatch_select(1, c.driver);
        const korv::HardcopyOptions& o = korv::hardcopy_state().options;
        EXPECT_EQ((std::array<int, 6>{o.get(1), o.get(2), o.get(3), o.get(4), o.get(5), o.get(13)}), c.options);
        EXPECT_EQ(korv::graphics_state().hardcopy_colour_count, c.colours);
        EXPECT_EQ(korv::hardcopy_state().raster_resolution_index, c.raster_index);
        EXPECT_EQ(korv::device_capabilities().hardcopy.flags_view(), c.flags);
        if (c.driver == 4) {
            EXPECT_EQ(o.get(24), c.limit);
        }
    }
    korv::printer_plotter_settings() = saved_printer;
}

TEST_F(Dispatch, WindowsPrinterReadsThePrinterUnlessOptionsAreKept)
{
    korv::testing::TestPlatform platform;
    korv::testing::ScopedPlatform scoped(&platform);
    platform.printer_error = 0;
    platform.printer = {648, 468, 72, 72, 1, 1, 256};
    platform.platform = 1;
    platform.gradient = 2;
    struct Case {
        int phase, error, width, colours, monochrome, available;
    } cases[] = {{0, 0, 648, 256, 0, 1}, {-998, 0, 0, 16, 0, 0}, {0, 1722, 0, 16, 0, 0}};
    for (const Case& c : cases) {
        korv::graphics_state().hardcopy_colour_count = 16;
        korv::hardcopy_state().options = {};
        korv::hardcopy_device_state().printer_available = 0;
        platform.printer_error = c.error;
        korv::device_parameters().count = 0;
        korv::device_parameters().phase = c.phase;
        korv::hc_dispatch_select(1, 10);
        EXPECT_EQ(korv::hardcopy_state().options.get(1), c.width) << c.phase;
        EXPECT_EQ(korv::hardcopy_state().options.get(7), c.monochrome);
        EXPECT_EQ(korv::graphics_state().hardcopy_colour_count, c.colours);
        EXPECT_EQ(korv::hardcopy_device_state().printer_available, c.available);
        EXPECT_EQ(korv::device_capabilities().hardcopy.platform_level, 1);
        EXPECT_EQ(korv::device_capabilities().hardcopy.shading, 2);
        EXPECT_EQ(korv::hardcopy_state().driver_record, 10);
    }
    korv::device_parameters().phase = 0;
}

TEST_F(Dispatch, ResetLeavesTheDriversOwnOptionsAlone)
{
    korv::HardcopyOptions& o = korv::hardcopy_state().options;
    for (int n = 1; n <= 30; ++n)
        *o.find(n) = 1000 + n;
    for (int n = 101; n <= 110; ++n)
        *o.find(n) = 1000 + n;
    korv::hc_reset_options();
    const std::pair<int, int> reset[] = {{6, 0},   {7, 0},      {8, 1},    {9, 5},    {10, 0},   {11, 0},
                                         {17, 0},  {101, 80},   {102, 60}, {103, 1},  {104, 999999},
                                         {105, 1}, {106, 0},    {107, 0},  {108, 8},  {109, 0},  {110, 3}};
    for (int n = 1; n <= 110; ++n) {
        if (!korv::HardcopyOptions::valid(n))
            continue;
        int expected = 1000 + n;
        for (const auto& [k, v] : reset)
            if (k == n)
                expected = v;
        EXPECT_EQ(o.get(n), expected) << "option " << n;
    }
}

TEST_F(Dispatch, InstalledDeviceTakesTheDriversPlace)
{
    RecordingDevice device(RecordingDevice::Side::hardcopy);
    device.driver_number = 3;
    ScopedHardcopyDriver install(3, &device);
    EXPECT_EQ(probe(3), 3);
    korv::hc_dispatch(22);
    EXPECT_EQ(device.codes(), (std::vector<int>{1, 22}));
}

std::vector<int> routine_codes;

void recording_routine(int& op) { routine_codes.push_back(op); }

// A driver routine takes its number's operations; a device put in the same
// place goes before it until it is taken away again.
TEST_F(Dispatch, InstalledRoutineTakesTheDriversPlaceBehindADevice)
{
    routine_codes.clear();
    const korv::HardcopyDriverSlot before = korv::hc_driver_install(3, recording_routine);
    korv::hardcopy_state().driver_number = 3;
    korv::hc_dispatch(22);
    {
        RecordingDevice device(RecordingDevice::Side::hardcopy);
        ScopedHardcopyDriver install(3, &device);
        korv::hc_dispatch(24);
        EXPECT_EQ(device.codes(), (std::vector<int>{24}));
    }
    korv::hc_dispatch(2);
    EXPECT_EQ(korv::hc_driver_install(3, before).routine, recording_routine);
    EXPECT_EQ(routine_codes, (std::vector<int>{22, 2}));
}

} // namespace
