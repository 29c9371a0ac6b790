#include <gtest/gtest.h>

#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "toolkit/graphics/testing/recording_device.h"

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

} // namespace
