// Target selection, the drawable size and the graphics start-up, checked
// on recording devices over test platform services.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "hardcopy/control/hardcopy_state.h"
#include "graphics/testing/recording_device.h"
#include "testing/hardcopy_driver.h"
#include "testing/report_capture.h"
#include "graphics/screen_device.h"

using namespace korv;
using korv::testing::RecordingDevice;
using korv::testing::ScopedPlatform;
using korv::testing::ScopedScreenDevice;
using korv::testing::TestPlatform;

namespace {

class Selection : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HardcopyState saved_hardcopy = hardcopy_state();
    ErrorState saved_errors = error_state();
    RecordingDevice gdi;
    RecordingDevice cgm;
    TestPlatform platform;
    ScopedScreenDevice scoped_gdi{&gdi};
    ScopedPlatform scoped_platform{&platform};
    Device* previous_cgm = gr_memory_device_install(&cgm);

    void SetUp() override
    {
        error_state().report_mode = 0;
        error_state().last_error = 0;
        platform.windows = {{0, {640, 480}}, {2, {300, 200}}};
        platform.bitmaps = {{0, {75, 60}}, {2, {40, 30}}, {4, {0, 60}}, {50, {10, 10}}};
        platform.metafiles = {{1, 6, {500, 400}, 0}, {2, 3, {320, 240}, 0}, {3, 3, {320, 240}, 1}, {4, 0, {1, 1}, 0}};
        GraphicsState& g = graphics_state();
        g = GraphicsState{};
        YYWINSEL(0, 0);
        gdi.reset();
        platform.calls.clear();
    }
    void TearDown() override
    {
        gr_memory_device_install(previous_cgm);
        hardcopy_state() = saved_hardcopy;
        error_state() = saved_errors;
    }
};

TEST_F(Selection, BitmapZeroFailsBackToTheCurrentWindowWithoutOperationOne)
{
    IGrSelect(target_bitmap, 1);
    EXPECT_EQ(graphics_state().drawable_width, 75);
    gdi.reset();
    IGrSelect(target_bitmap, 0);
    const GraphicsState& g = graphics_state();
    EXPECT_EQ(error_state().last_error, 1019);
    EXPECT_EQ(g.target_kind, target_window);
    EXPECT_EQ(g.target_number, 0);
    EXPECT_EQ(g.drawable_width, 640);
    EXPECT_EQ(g.drawable_height, 480);
    EXPECT_EQ(gdi.count_of(+DeviceOperation::Select), 0);
}

// Every way a selection can fail reports 1019 and leaves the current window
// as the target at its client size.
TEST_F(Selection, FailuresReport1019AndFallBackToTheWindow)
{
    struct Case {
        int kind;
        std::optional<int> number;
        int dialog;
        int limit;
        bool released; // whether the previous target was given up first
    } cases[] = {
        {0, 1, 0, 50, false},  {5, 1, 0, 50, false},  {-1, {}, 0, 50, false}, {2, 0, 0, 50, true},
        {2, 51, 0, 50, true},  {2, 2, 0, 50, true},   {2, -3, 0, 50, true},   {3, 7, 0, 50, false},
        {3, 8, 101, 50, true}, {4, 0, 0, 50, true},   {4, 21, 0, 50, true},   {4, 3, 0, 50, true},
        {4, 4, 0, 50, true},   {4, 9, 0, 50, true},   {1, 7, 0, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " number " << c.number.value_or(-99));
        IGrSelect(target_bitmap, 3); // a bitmap target to fall back from
        platform.dialog = c.dialog;
        platform.fields = {{7, {50, 50}}};
        platform.limit = c.limit;
        platform.calls.clear();
        gdi.reset();
        error_state().last_error = 0;
        IGrSelect(c.kind, c.number);
        const GraphicsState& g = graphics_state();
        EXPECT_EQ(error_state().last_error, 1019);
        EXPECT_EQ(g.target_kind, target_window);
        EXPECT_EQ(g.target_number, 0);
        EXPECT_EQ(g.target_dialog, 0);
        EXPECT_EQ(g.memory_device, 0);
        EXPECT_EQ(g.drawable_width, 640);
        EXPECT_EQ(gdi.count_of(+DeviceOperation::Select), 0);
        EXPECT_EQ(!platform.calls.empty() && platform.calls.front() == "release", c.released);
    }
}

TEST_F(Selection, AWindowThatIsNotOpenIsReportedByBothRoutines)
{
    std::vector<std::string> reports;
    {
        const korv::testing::ReportCapture capture{reports};
        IGrSelect(target_window, 9);
    }
    for (std::string& report : reports)
        report.erase(0, report.find_first_not_of(' '));
    EXPECT_EQ(reports, (std::vector<std::string>{"Internal routine:YYWINSEL Error=1003:Invalid window handle",
                                                 "Routine:IGrSelect Error=1019:Invalid target drawing surface"}));
}

TEST_F(Selection, SuccessfulSelectionsTakeTheTargetsSizeAndSendSelect)
{
    struct Case {
        int kind;
        std::optional<int> number;
        int target_number, width, height, dialog;
    } cases[] = {
        {2, {}, 1, 75, 60, 0},  {2, 3, 3, 40, 30, 0},   {2, 51, 51, 10, 10, 0}, {3, {}, 0, 120, 90, 101},
        {3, 7, 7, 50, 40, 101}, {4, 2, 2, 320, 240, 0}, {1, 2, 2, 300, 200, 0}, {1, {}, 2, 300, 200, 0},
    };
    platform.limit = 51;
    platform.dialog = 101;
    platform.fields = {{0, {120, 90}}, {7, {50, 40}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " number " << c.number.value_or(-99));
        gdi.reset();
        error_state().last_error = 55;
        IGrSelect(c.kind, c.number);
        const GraphicsState& g = graphics_state();
        EXPECT_EQ(error_state().last_error, 55); // a success keeps the last error
        EXPECT_EQ(g.target_kind, c.kind);
        EXPECT_EQ(g.target_number, c.target_number);
        EXPECT_EQ(g.target_dialog, c.dialog);
        EXPECT_EQ(g.drawable_width, c.width);
        EXPECT_EQ(g.drawable_height, c.height);
        EXPECT_EQ(g.device_width, c.width);
        EXPECT_FLOAT_EQ(g.device_limit_y, static_cast<float>(c.height) - 0.01f);
        EXPECT_EQ(g.area_ix2, c.width - 1); // the area follows the new size
        ASSERT_FALSE(gdi.log.empty());
        EXPECT_EQ(gdi.log.back().op, +DeviceOperation::Select);
    }
}

TEST_F(Selection, EnteringAndLeavingTheCgmDeviceResendsTheDrawingState)
{
    const std::vector<int> resend = {1, 18, 30, 29, 35, 24};
    IGrSelect(target_metafile, 1);
    EXPECT_EQ(graphics_state().memory_device, 1);
    EXPECT_EQ(graphics_state().drawable_width, 500);
    std::vector<int> cgm_ops = cgm.codes();
    ASSERT_GE(cgm_ops.size(), resend.size());
    EXPECT_EQ(std::vector<int>(cgm_ops.end() - 6, cgm_ops.end()), resend);
    EXPECT_EQ(gdi.count_of(1), 0);
    EXPECT_EQ(err_routine_name(), "IGrSelect");

    cgm.reset();
    IGrSelect(target_window);
    EXPECT_EQ(graphics_state().memory_device, 0);
    EXPECT_EQ(cgm.log.size(), 0u);
    std::vector<int> gdi_ops = gdi.codes();
    ASSERT_GE(gdi_ops.size(), resend.size());
    EXPECT_EQ(std::vector<int>(gdi_ops.end() - 6, gdi_ops.end()), resend);

    // Moving between two GDI targets sends only the selection.
    gdi.reset();
    IGrSelect(target_bitmap, 1);
    EXPECT_EQ(gdi.count_of(18), 0);
    EXPECT_EQ(gdi.count_of(1), 1);
}

TEST_F(Selection, AnEnhancedMetafileSlotIsDrawnThroughTheGdiDevice)
{
    IGrSelect(target_metafile, 2);
    EXPECT_EQ(graphics_state().memory_device, 0);
    EXPECT_EQ(cgm.log.size(), 0u);
    EXPECT_EQ(platform.calls.back(), "metafile_select 2");
    EXPECT_EQ(gdi.log.back().op, 1);
}

// A drawable without pixels keeps the previous size: nothing divides by it.
TEST_F(Selection, AZeroSizedDrawableKeepsThePreviousSize)
{
    IGrSelect(target_bitmap, 5); // slot 4 is 0 by 60 pixels
    const GraphicsState& g = graphics_state();
    EXPECT_EQ(g.target_number, 5);
    EXPECT_EQ(g.drawable_width, 640);
    EXPECT_EQ(g.drawable_height, 480);
    EXPECT_FLOAT_EQ(g.device_limit_x, 639.99f);

    IGrSelect(target_window);
    gr_window_resized(0, 0, 0);
    EXPECT_EQ(g.drawable_width, 640);
    EXPECT_EQ(g.area_ix2, 639);
    gr_window_resized(0, 320, 0);
    EXPECT_EQ(g.drawable_width, 640);
}

TEST_F(Selection, ResizeNotificationsFollowOnlyTheTarget)
{
    const GraphicsState& g = graphics_state();
    gr_window_resized(2, 100, 100); // not the current window
    EXPECT_EQ(g.drawable_width, 640);
    gr_window_resized(0, 800, 600);
    EXPECT_EQ(g.drawable_width, 800);
    EXPECT_EQ(g.client_height, 600);
    EXPECT_EQ(g.area_iy2, 599);

    platform.dialog = 101;
    platform.fields = {{7, {50, 40}}};
    IGrSelect(target_dialog_field, 7);
    gr_field_resized(102, 7, 60, 60); // another dialog
    EXPECT_EQ(g.drawable_width, 50);
    gr_field_resized(101, 8, 60, 60); // another field
    EXPECT_EQ(g.drawable_width, 50);
    gr_field_resized(101, 7, 60, 70);
    EXPECT_EQ(g.drawable_height, 70);
}

TEST_F(Selection, WithoutTheScreenSideOnlyThePixelAreaFollows)
{
    GraphicsState& g = graphics_state();
    g.screen_active = 0;
    g.device_width = 756;
    g.device_height = 540;
    gdi.reset();
    gr_window_resized(0, 200, 100);
    EXPECT_EQ(g.drawable_width, 200);
    EXPECT_EQ(g.device_width, 756); // the page stays the device space
    EXPECT_EQ(g.screen_clip_x2, 199);
    EXPECT_EQ(gdi.codes(), (std::vector<int>{24}));
    EXPECT_EQ(g.screen_active, 0);
}

class StartUp : public Selection {
protected:
    RecordingDevice hardcopy{RecordingDevice::Side::hardcopy};
};

TEST_F(StartUp, SendsTheScreenOperationsInOrder)
{
    gr_colour_table_defaults();
    graphics_state().current_window = 0;
    gr_graphics_start(" ");
    EXPECT_EQ(gdi.codes(), (std::vector<int>{18, 24, 33, 21, 1, 3, 3, 27, 29, 30, 36, 37, 21, 21}));
    const GraphicsState& g = graphics_state();
    EXPECT_EQ(g.target_kind, target_window);
    EXPECT_EQ(g.drawable_width, 640);
    EXPECT_EQ(g.prev_index, 0);
    EXPECT_EQ(g.cur_index, 223);
    EXPECT_EQ(g.cur_rgb, 0);
    EXPECT_EQ(g.prev_rgb, 0xFFFFFF);
    EXPECT_EQ(g.device_colour_count, 256);
    EXPECT_EQ(g.screen_active, 1);
    EXPECT_EQ(g.hardcopy_active, 0);
    // Both colours reached the device, the previous one first.
    EXPECT_EQ(gdi.log[5].state.cur_index, 0);
    EXPECT_EQ(gdi.log[6].state.cur_index, 223);
    EXPECT_EQ(gdi.log[6].state.prev_index, 0);
}

TEST_F(StartUp, SelectsTheWindowsPrinterDriver)
{
    platform.printer_error = 0;
    platform.printer = {792, 612, 72, 72, 1, 1, 2};
    hardcopy_state().driver_record = 0;
    gr_graphics_start(" ");
    const HardcopyState& hc = hardcopy_state();
    EXPECT_EQ(hc.driver_number, 10);
    EXPECT_EQ(hc.driver_record, 10);
    EXPECT_EQ(hc.options.get(1), 792);
    EXPECT_EQ(hc.options.get(7), 1); // a two-colour printer prints monochrome
    EXPECT_EQ(hc.options.get(9), 5);
    EXPECT_EQ(graphics_state().hardcopy_colour_count, 2);
    EXPECT_EQ(device_capabilities().hardcopy.flags_view(), "00000111111111100010011011110");
}

TEST_F(StartUp, HiddenScreenSideSendsNothingButTheClip)
{
    gr_graphics_start("xh");
    EXPECT_EQ(graphics_state().screen_active, 0);
    EXPECT_EQ(gdi.codes(), (std::vector<int>{24}));
}

// With "P" the options survive the driver selection through their checks.
TEST_F(StartUp, OptionPKeepsTheOptionsThroughTheSetter)
{
    HardcopyState& hc = hardcopy_state();
    hc.driver_number = 2;
    hc.driver_record = 2;
    hc.options = {};
    for (const auto& [n, v] : {std::pair{1, 600}, {2, 800}, {8, 3}, {12, 50}, {13, 0}, {16, 0}, {22, 1}, {105, 9}})
        *hc.options.find(n) = v;
    text_assign(hc.default_output_name, "mine.eps");
    gr_graphics_start("P");
    EXPECT_EQ(hc.options.get(1), 600);
    EXPECT_EQ(hc.options.get(2), 800);
    EXPECT_EQ(hc.options.get(8), 3);
    EXPECT_EQ(hc.options.get(12), 100); // comes back through the range check
    EXPECT_EQ(hc.options.get(16), 255); // refused: the driver's default stays
    EXPECT_EQ(hc.options.get(105), 1);
    EXPECT_EQ(text_trimmed({hc.default_output_name.data(), hc.default_output_name.size()}), "mine.eps");

    gr_graphics_start(" ");
    EXPECT_EQ(hc.options.get(1), 756);
    EXPECT_EQ(hc.options.get(8), 1);
    EXPECT_EQ(text_trimmed({hc.default_output_name.data(), hc.default_output_name.size()}), "radediva.ps");
}

TEST_F(StartUp, ClosesOpenOutputAndSelectsInFullAfterAFailedProbe)
{
    HardcopyState& hc = hardcopy_state();
    korv::testing::ScopedHardcopyDriver driver(3, &hardcopy);
    hardcopy.driver_number = 3;
    hc.driver_number = 3;
    graphics_state().hardcopy_active = 1;
    hc.page_drawn = -1;
    device_parameters().count = -999; // what a probe of no driver leaves behind
    gr_graphics_start(" ");
    // The selection of the window reaches the open output before it closes;
    // the page flag is cleared first, so no end of page is sent.
    EXPECT_EQ(hardcopy.codes(), (std::vector<int>{18, 24, 33, 21, 3, 3, 21, 19, 1}));
    EXPECT_EQ(hardcopy.log.back().params.count, 0);
    EXPECT_EQ(hc.page_drawn, 0);
    EXPECT_EQ(graphics_state().hardcopy_active, 0);
}

} // namespace
