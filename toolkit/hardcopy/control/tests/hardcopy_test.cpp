// IGrHardCopy's option handling, the print command and the start of a new
// output, checked on a recording driver over test platform services.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/startup.h"
#include "graphics/testing/recording_device.h"
#include "testing/hardcopy_driver.h"

using namespace korv;
using korv::testing::RecordingDevice;
using korv::testing::ScopedHardcopyDriver;
using korv::testing::ScopedPlatform;
using korv::testing::TestPlatform;

namespace {

// A driver's selection entry alone: every other operation is ignored, so
// nothing is written.
struct SelectionOnly : Device {
    void select(DeviceParameters& p) override { driver->select(p); }
    Device* driver = nullptr;
};

// Selects driver n as the start-up does and watches it from then on: the
// recording device forwards every operation to the toolkit's driver.
struct WatchedDriver {
    explicit WatchedDriver(int n) : recording(RecordingDevice::Side::hardcopy, &built_in), install(n, &recording)
    {
        built_in.driver = install.previous().device;
        device_parameters().count = 0;
        hc_dispatch_select(1, n);
        recording.reset();
    }
    SelectionOnly built_in;
    RecordingDevice recording;
    ScopedHardcopyDriver install;
};

class HardCopy : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HardcopyState saved = hardcopy_state();
    ErrorState saved_errors = error_state();
    FileNameTable saved_names = file_name_table();
    TestPlatform platform;
    ScopedPlatform scoped{&platform};

    void SetUp() override
    {
        hardcopy_state() = HardcopyState{};
        error_state().report_mode = 0;
        error_state().last_error = 0;
        text_assign(file_name_table().entry(3), "zoq$$00.plt");
        GraphicsState& g = graphics_state();
        g = GraphicsState{};
        g.drawable_width = g.device_width = 640;
        g.drawable_height = g.device_height = 480;
        g.device_limit_x = 639.99f;
        g.device_limit_y = 479.99f;
    }
    void TearDown() override
    {
        hardcopy_state() = saved;
        error_state() = saved_errors;
        file_name_table() = saved_names;
    }
    static std::string file() { return std::string(text_trimmed(device_parameters().image_file_view())); }
    static std::string command()
    {
        const auto& c = hardcopy_state().print_command;
        return std::string(text_trimmed({c.data(), c.size()}));
    }
};

TEST_F(HardCopy, StopOptionOnlyFinishesAndCloses)
{
    for (const char* stop : {"S", "s"}) {
        WatchedDriver driver(2);
        hardcopy_state().driver_number = 2;
        graphics_state().hardcopy_active = 1;
        hardcopy_state().page_drawn = -1;
        IGrHardCopy(stop, " ");
        EXPECT_EQ(driver.recording.codes(), (std::vector<int>{20, 19}));
        EXPECT_EQ(driver.recording.log[0].params.phase, 32);
        EXPECT_EQ(driver.recording.log[0].params.count, 1);
        EXPECT_EQ(graphics_state().hardcopy_active, 0);
        EXPECT_TRUE(platform.calls.empty());
        EXPECT_EQ(err_routine_name(), "IGrHardCopy");
        hardcopy_state().page_drawn = 0;
    }
}

TEST_F(HardCopy, NothingIsSentWhenNoOutputIsOpen)
{
    WatchedDriver driver(10);
    hardcopy_state().page_drawn = -1;
    IGrHardCopy("S", " ");
    EXPECT_TRUE(driver.recording.log.empty());
}

// Which output each option opens, with the status word the driver sees.
TEST_F(HardCopy, OptionsNameTheOutput)
{
    struct Case {
        int driver;
        std::optional<std::string_view> option;
        const char* file;
        int count;
        const char* stored_command;
    } cases[] = {
        {2, std::nullopt, "radediva.ps", 1, ""},
        {2, "   ", "radediva.ps", 1, ""},
        {2, "S2", "S2", 0, ""},
        {2, "SS", "SS", 0, ""},
        {2, "out.ps", "out.ps", 0, ""},
        {2, "copy @ lpt1:", "zoq$$00.plt", 0, "copy @ lpt1:"},
        {1, "lpr @ -P x", "zoq$$00.plt", 0, "lpr @ -P x"},
        {3, "copy @ lpt1:", "copy @ lpt1:", 0, ""},
        {2, "a@b.ps", "a@b.ps", 0, ""},
        {2, "a @b.ps", "a @b.ps", 0, ""},
        {11, std::nullopt, "", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.driver << " " << c.option.value_or("(absent)"));
        hardcopy_state() = HardcopyState{};
        graphics_state().hardcopy_active = 0;
        WatchedDriver driver(c.driver);
        IGrHardCopy(c.option, "Titel");
        ASSERT_GE(driver.recording.log.size(), 2u);
        const auto& open = driver.recording.log[1];
        EXPECT_EQ(open.op, 18);
        EXPECT_EQ(open.params.phase, 1);
        EXPECT_EQ(open.params.count, c.count);
        EXPECT_EQ(open.image_file(), c.file);
        EXPECT_EQ(command(), c.stored_command);
        EXPECT_EQ(graphics_state().hardcopy_active, 1);
    }
}

TEST_F(HardCopy, OpeningSendsTheCurrentSettingsInOrder)
{
    WatchedDriver driver(3);
    hardcopy_state().driver_number = 3;
    graphics_state().prev_index = -1;
    graphics_state().prev_rgb = 0xFFFFFF;
    IGrHardCopy("bild.svg");
    EXPECT_EQ(driver.recording.codes(), (std::vector<int>{1, 18, 33, 21, 30, 29, 36, 37, 24, 21, 3}));
    EXPECT_EQ(driver.recording.log[0].params.count, -999); // only the driver's number is asked
    EXPECT_EQ(driver.recording.log[1].params.px1, 0);       // no title given
    EXPECT_EQ(hardcopy_state().last_pen_x, -9999.0f);
    EXPECT_EQ(graphics_state().prev_index, 0); // worked out from the RGB value
}

TEST_F(HardCopy, ASecondOutputEndsThePageAndClosesTheFirst)
{
    WatchedDriver driver(3);
    IGrHardCopy("eins.svg");
    hardcopy_state().page_drawn = -1; // the driver drew on the page
    driver.recording.reset();
    IGrHardCopy("zwei.svg");
    const std::vector<int> codes = driver.recording.codes();
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 4), (std::vector<int>{20, 19, 1, 18}));
    EXPECT_EQ(driver.recording.log[3].image_file(), "zwei.svg");
    EXPECT_EQ(graphics_state().hardcopy_active, 1);
}

TEST_F(HardCopy, TitleFlagSaysWhetherATitleWasGiven)
{
    WatchedDriver driver(11);
    hardcopy_state().driver_number = 11;
    IGrHardCopy(std::nullopt, std::string(300, 't'));
    EXPECT_EQ(driver.recording.log[1].params.px1, 1);
    EXPECT_EQ(std::string(hardcopy_state().title.data(), 200), std::string(200, 't'));
}

TEST_F(HardCopy, DriverNumbersWithoutADriverOpenNothing)
{
    for (int n : {5, 7, 0}) {
        hardcopy_state().driver_number = n;
        error_state().last_error = 0;
        IGrHardCopy("plot.out");
        EXPECT_EQ(graphics_state().hardcopy_active, 0);
        EXPECT_EQ(error_state().last_error, 0);
    }
}

// A driver that cannot open its output clears the active flag; nothing follows.
TEST_F(HardCopy, AFailedOpenSendsNoSettings)
{
    struct FailingDriver : SelectionOnly {
        void open(DeviceParameters&) override { graphics_state().hardcopy_active = 0; }
    } failing;
    RecordingDevice recording(RecordingDevice::Side::hardcopy, &failing);
    ScopedHardcopyDriver install(2, &recording);
    failing.driver = install.previous().device;
    hardcopy_state().driver_number = 2;
    IGrHardCopy("x.ps");
    EXPECT_EQ(recording.codes(), (std::vector<int>{1, 18}));
    EXPECT_EQ(graphics_state().hardcopy_active, 0);
}

TEST_F(HardCopy, WithoutTheScreenThePageIsTheDeviceSpace)
{
    WatchedDriver driver(2);
    hardcopy_state().driver_number = 2;
    graphics_state().screen_active = 0;
    IGrHardCopy("p.ps");
    const GraphicsState& g = graphics_state();
    EXPECT_EQ(g.device_width, 756);
    EXPECT_EQ(g.device_height, 540);
    EXPECT_FLOAT_EQ(g.device_limit_x, 755.99f);
    EXPECT_EQ(g.device_colour_count, 256);
    EXPECT_EQ(g.area_ix2, 755);
}

TEST_F(HardCopy, APageWithoutASizeKeepsTheDeviceSpace)
{
    WatchedDriver driver(10); // no printer: the page stays 0 by 0
    graphics_state().screen_active = 0;
    IGrHardCopy();
    EXPECT_EQ(graphics_state().device_width, 640);
    EXPECT_FLOAT_EQ(graphics_state().device_limit_y, 479.99f);
}

TEST_F(HardCopy, PrintCommandRunsOnStopAndIsForgotten)
{
    WatchedDriver driver(2);
    hardcopy_state().driver_number = 2;
    IGrHardCopy("copy @ lpt1:");
    IGrHardCopy("S");
    ASSERT_EQ(platform.calls.size(), 2u);
    const std::string expected = "copy zoq$$00.plt lpt1:" + std::string(260 - 12, ' ');
    EXPECT_EQ(platform.calls[0], "print " + expected);
    EXPECT_EQ(platform.calls[1], "delete zoq$$00.plt");
    EXPECT_EQ(command(), "");
    platform.calls.clear();
    IGrHardCopy("s");
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(HardCopy, AnotherOutputKeepsThePendingCommand)
{
    WatchedDriver driver(2);
    hardcopy_state().driver_number = 2;
    IGrHardCopy("copy @ lpt1:");
    IGrHardCopy("other.ps");
    EXPECT_EQ(command(), "copy @ lpt1:");
    EXPECT_TRUE(platform.calls.empty());
    IGrHardCopy("S");
    EXPECT_EQ(platform.calls.size(), 2u);
}

// The plot waiting for its command is printed before the plot file is
// written again for a second command.
TEST_F(HardCopy, ASecondCommandPrintsTheWaitingPlotFirst)
{
    WatchedDriver driver(2);
    hardcopy_state().driver_number = 2;
    IGrHardCopy("copy @ lpt1:");
    IGrHardCopy("print @ /d:lpt2");
    ASSERT_EQ(platform.calls.size(), 2u);
    EXPECT_EQ(platform.calls[0].substr(0, 28), "print copy zoq$$00.plt lpt1:");
    EXPECT_EQ(command(), "print @ /d:lpt2");
    EXPECT_EQ(file(), "zoq$$00.plt");
    IGrHardCopy("S");
    ASSERT_EQ(platform.calls.size(), 4u);
    EXPECT_EQ(platform.calls[2].substr(0, 32), "print print zoq$$00.plt /d:lpt2 ");
}

} // namespace
