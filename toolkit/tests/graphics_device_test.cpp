#include <gtest/gtest.h>

#include "korvanthide/graphics_state.h"
#include "hardcopy/control/hardcopy_state.h"
#include "graphics/testing/recording_device.h"
#include "testing/hardcopy_driver.h"
#include "graphics/screen_device.h"

using korv::DeviceOperation;
using korv::testing::RecordingDevice;
using korv::testing::ScopedHardcopyDriver;
using korv::testing::ScopedScreenDevice;

namespace {

// Every operation number reaches the method of that operation: the
// recording device logs each method under its own code.
TEST(DeviceDispatch, EachCodeReachesItsNamedMethod)
{
    RecordingDevice device;
    korv::DeviceParameters p;
    for (int op = 1; op <= 40; ++op)
        device.operate(op, p);
    std::vector<int> expected;
    for (int op = 1; op <= 40; ++op)
        expected.push_back(op);
    EXPECT_EQ(device.codes(), expected);
}

TEST(DeviceDispatch, UnknownCodesReachTheBaseMethodAndChangeNothing)
{
    RecordingDevice recording;
    korv::Device plain;
    korv::DeviceParameters p;
    p.count = 7;
    for (int op : {0, -1, 41, 1000}) {
        recording.operate(op, p);
        plain.operate(op, p);
    }
    EXPECT_EQ(recording.codes(), (std::vector<int>{0, -1, 41, 1000}));
    EXPECT_EQ(p.count, 7);
}

TEST(DeviceParameters, FixedFieldCopiesAreBoundedAndPadded)
{
    korv::DeviceParameters p;
    EXPECT_TRUE(p.text_set("abc"));
    EXPECT_EQ(p.text_view().substr(0, 4), "abc ");
    EXPECT_FALSE(p.text_set(std::string(2000, 'x')));
    EXPECT_EQ(p.text_view(), std::string(1024, 'x'));
    EXPECT_FALSE(p.image_file_set(std::string(300, 'f')));
    EXPECT_EQ(p.image_file_view(), std::string(260, 'f'));
    EXPECT_TRUE(p.image_file_set("a.bmp"));
    EXPECT_EQ(p.image_file_view().substr(0, 6), "a.bmp ");
}

class Senders : public ::testing::Test {
protected:
    void SetUp() override { saved_ = korv::graphics_state(); }
    void TearDown() override
    {
        korv::graphics_state() = saved_;
        korv::hardcopy_state().driver_number = 10;
    }

private:
    korv::GraphicsState saved_;
};

// Which device each sender reaches, by the active flags and the memory-device flag.
TEST_F(Senders, ReachTheDeviceTheFlagsName)
{
    struct Case {
        int screen_active, hardcopy_active, memory_device;
        int gdi, cgm, hardcopy; // operations each device receives from one send to each side
    } cases[] = {
        {1, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}, {2, 0, 0, 1, 0, 0},
        {1, 0, 1, 0, 1, 0}, {1, 1, 0, 1, 0, 1}, {0, 2, 0, 0, 0, 1},  {0, -1, 1, 0, 0, 0},
    };
    RecordingDevice gdi, cgm, hardcopy;
    ScopedScreenDevice screen(&gdi);
    korv::Device* previous_cgm = korv::gr_memory_device_install(&cgm);
    ScopedHardcopyDriver driver(3, &hardcopy);
    korv::hardcopy_state().driver_number = 3;
    for (const Case& c : cases) {
        gdi.reset();
        cgm.reset();
        hardcopy.reset();
        korv::GraphicsState& g = korv::graphics_state();
        g.screen_active = c.screen_active;
        g.hardcopy_active = c.hardcopy_active;
        g.memory_device = c.memory_device;
        korv::gr_send_screen(DeviceOperation::Line);
        korv::gr_send_hardcopy(DeviceOperation::Line);
        SCOPED_TRACE(testing::Message() << c.screen_active << c.hardcopy_active << c.memory_device);
        EXPECT_EQ(gdi.count_of(2), c.gdi);
        EXPECT_EQ(cgm.count_of(2), c.cgm);
        EXPECT_EQ(hardcopy.count_of(2), c.hardcopy);
    }
    korv::gr_memory_device_install(previous_cgm);
}

// With its slot empty the sender reaches the do-nothing device: no crash,
// no fall-back to the device of the other slot, and queries leave the
// parameter block as it was.
TEST_F(Senders, NoInstalledDeviceIsHarmless)
{
    RecordingDevice other;
    korv::Device* previous = korv::gr_screen_device_install(nullptr);
    korv::Device* previous_cgm = korv::gr_memory_device_install(&other);
    korv::DeviceParameters& p = korv::device_parameters();
    const korv::DeviceParameters saved = p;
    p.count = 7;
    p.px1 = 3;
    p.rx1 = 2.5f;
    korv::GraphicsState& g = korv::graphics_state();
    g.screen_active = 1;
    for (int memory_device : {0, 1}) {
        SCOPED_TRACE(memory_device);
        g.memory_device = memory_device;
        if (memory_device == 1) {
            korv::gr_memory_device_install(nullptr);
            korv::gr_screen_device_install(&other);
        }
        korv::gr_send_screen(DeviceOperation::Clear);
        korv::gr_send_screen(DeviceOperation::TextWidth);
        korv::gr_send_screen(DeviceOperation::ReadPixel);
        EXPECT_TRUE(other.log.empty());
        EXPECT_EQ(p.count, 7);
        EXPECT_EQ(p.px1, 3);
        EXPECT_EQ(p.rx1, 2.5f);
    }
    p = saved;
    korv::gr_screen_device_install(previous);
    korv::gr_memory_device_install(previous_cgm);
}

TEST(GraphicsStateSaver, PutsTheWholeStateBack)
{
    korv::GraphicsState& g = korv::graphics_state();
    const korv::GraphicsState before = g;
    {
        korv::GraphicsStateSaver saver;
        g.line_type = 5;
        g.cur_rgb = 0x123456;
        g.font_name[0] = 'Z';
    }
    EXPECT_EQ(g.line_type, before.line_type);
    EXPECT_EQ(g.cur_rgb, before.cur_rgb);
    EXPECT_EQ(g.font_name, before.font_name);
}

TEST(RecordingDevice, RecordsParametersAndStateAndAnswersQueries)
{
    RecordingDevice device;
    device.text_width_per_char = 2.5f;
    device.pixel = 0x0080FF;
    korv::DeviceParameters p;
    p.px1 = 3;
    p.phase = 4;
    p.text_set("hello");
    korv::graphics_state().line_width = 7;
    device.operate(DeviceOperation::TextWidth, p);
    device.operate(DeviceOperation::ReadPixel, p);
    ASSERT_EQ(device.log.size(), 2u);
    EXPECT_EQ(device.log[0].text(), "hello");
    EXPECT_EQ(device.log[0].state.line_width, 7);
    EXPECT_FLOAT_EQ(p.rx1, 10.0f);
    EXPECT_EQ(p.count, 1);
    EXPECT_EQ(p.px1, 0x0080FF);
    korv::graphics_state().line_width = 1;
}

} // namespace
