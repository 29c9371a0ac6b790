// The HP-GL/2 in PCL driver: the job around the plot, pens and their
// colours, encoded polylines, fill patterns, and hp2xx reading the job.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

class Hpgl2 : public DriverTest {
protected:
    Hpgl2() : DriverTest(driver_hpgl2_pcl, hc_pcl_hpgl2()) {}

    void TearDown() override
    {
        gr_colour_table_defaults();
        DriverTest::TearDown();
    }
    void model(int m)
    {
        printer_plotter_settings().hpgl2_model = m;
        select();
    }
    // One device unit one plotter user unit.
    void user_units()
    {
        graphics_state().device_limit_x = graphics_state().device_limit_y = 32760;
        device_parameters().phase = 0;
        gr_send_hardcopy(DeviceOperation::Open);
    }
    static bool has(const std::vector<std::string>& l, const std::string& s)
    {
        return std::find(l.begin(), l.end(), s) != l.end();
    }
    static long count_prefix(const std::vector<std::string>& l, const std::string& s)
    {
        return std::count_if(l.begin(), l.end(), [&](const std::string& x) { return x.starts_with(s); });
    }
};

TEST_F(Hpgl2, ColourModelJob)
{
    model(2);
    open("a.plt", "Farb\"tafel");
    device_parameters().phase = 32;
    gr_send_hardcopy(DeviceOperation::EndPage);
    finish();
    const auto l = lines("a.plt");
    ASSERT_GE(l.size(), 12u);
    EXPECT_EQ(l[0], "\x1b%0B");
    EXPECT_EQ(l[1], "CO\"Farbtafel\";");
    EXPECT_TRUE(l[2].starts_with("IN; IP 0 0 "));
    EXPECT_TRUE(l[3].starts_with("RO90; IP 0 0 "));
    EXPECT_EQ(l[4], "DT\x04");
    EXPECT_EQ(l[5], "DI1. 0.");
    EXPECT_EQ(l[6], "TR0");
    EXPECT_EQ(l[7], "AD1,14;SA");
    EXPECT_EQ(l[8], "NP256");
    EXPECT_EQ(l[9], "CO\"13 2 1.2 9\";");
    EXPECT_EQ(l[10], "CO\"2 0\";");
    EXPECT_EQ(l[11], "SC0 32760 0 32760");
    // The job ends with the page end and the way back to PCL.
    ASSERT_GE(l.size(), 15u);
    EXPECT_EQ(l[l.size() - 3], "CO\"3 32\";");
    EXPECT_EQ(l[l.size() - 2], "\x1b%1A\x1b&l01X\f\x1b%0B");
    EXPECT_EQ(l.back(), "\x1b%0A");
}

TEST_F(Hpgl2, PensAreDefinedOncePerFile)
{
    model(2);
    gr_colour_table_set(5, 255 + 256 * 128);
    open("b.plt");
    colour_index(5);
    line(0, 0, 10, 10);
    colour_index(6);
    colour_index(5);
    finish();
    auto l = lines("b.plt");
    EXPECT_EQ(std::count(l.begin(), l.end(), "PC5 255 128 0"), 1);
    EXPECT_TRUE(has(l, "PU;SP 5"));
    open("c.plt");
    colour_index(5);
    finish();
    l = lines("c.plt");
    EXPECT_EQ(std::count(l.begin(), l.end(), "PC5 255 128 0"), 1);

    hc_set_option(option_colour_inversion, 2);
    gr_colour_table_set(7, 0);
    gr_colour_table_set(8, 0xffffff);
    gr_colour_table_set(9, 0x808080);
    open("d.plt");
    colour_index(7);
    colour_index(8);
    colour_index(9);
    finish();
    l = lines("d.plt");
    EXPECT_TRUE(has(l, "PC7 255 255 255"));
    EXPECT_TRUE(has(l, "PC8 0 0 0"));
    EXPECT_TRUE(has(l, "PC9 128 128 128"));
}

TEST_F(Hpgl2, TwoColourPensAndFillPatterns)
{
    model(1);
    open("e.plt");
    colour_index(0);
    colour_index(200);
    graphics_state().hardcopy_colour_count = 2;
    rectangle(10, 10, 100, 100, 4);
    finish();
    const auto l = lines("e.plt");
    EXPECT_TRUE(has(l, "PU;SP0"));
    EXPECT_TRUE(has(l, "PU;SP1"));
    EXPECT_FALSE(has(l, "AD1,14;SA"));
    const auto rf = std::find(l.begin(), l.end(), "RF1,8,4,");
    ASSERT_NE(rf, l.end());
    EXPECT_EQ(rf[1].size(), 32u);
    EXPECT_TRUE(rf[1].ends_with(","));
    EXPECT_TRUE(rf[2].ends_with(";"));
    EXPECT_EQ(rf[3], "FT11 1");
    EXPECT_TRUE(has(l, "CO\" 6 4 2 3 1\";"));
}

TEST_F(Hpgl2, EncodedPolylines)
{
    model(4);
    open("f.plt");
    user_units();
    polyline({100, 100, 99, 116});
    std::vector<float> forty, long_line;
    for (int i = 0; i < 40; ++i) {
        forty.push_back(static_cast<float>(1000 + 37 * i));
        forty.push_back(static_cast<float>(1000 + 11 * (i % 5)));
    }
    polyline(forty, 15);
    for (int i = 0; i < 400; ++i) {
        long_line.push_back(static_cast<float>(i * 40));
        long_line.push_back(static_cast<float>(3000 + 2000 * (i % 2)));
    }
    polyline(long_line);
    DeviceParameters& p = device_parameters();
    p.phase = 0;
    gr_send_hardcopy(DeviceOperation::EndPage);
    finish();
    const auto l = lines("f.plt");
    EXPECT_TRUE(has(l, "PE7b?`;"));
    EXPECT_TRUE(has(l, "CO\"14 400\";"));
    EXPECT_GE(count_prefix(l, "PE7"), 4);
    for (const auto& line : l) {
        EXPECT_EQ(line.find('\x1b'), std::string::npos); // model 4: no PCL
        if (line.starts_with("PE7")) {
            EXPECT_TRUE(line.ends_with(";"));
            EXPECT_LE(line.size(), 255u);
        }
    }
    EXPECT_TRUE(has(l, "PG"));
}

TEST_F(Hpgl2, Hp2xxReadsTheJob)
{
    KORV_NEEDS_READERS();
    model(2);
    open("g.plt");
    colour_rgb(255, 0, 0);
    line(0, 0, 760, 0);
    line(760, 0, 760, 550);
    line(760, 550, 0, 550);
    line(0, 550, 0, 0);
    std::vector<float> wave;
    for (int i = 0; i < 100; ++i) {
        wave.push_back(50 + 6.0f * static_cast<float>(i));
        wave.push_back(300 + 80 * std::sin(static_cast<float>(i) / 8));
    }
    polyline(wave);
    colour_rgb(0, 0, 255);
    rectangle(500, 50, 650, 150, 4);
    text("Hallo", 100, 100);
    finish();
    std::string out;
    ASSERT_EQ(run("hp2xx -q -m png -f " + path("g.png").string() + " " + path("g.plt").string(), &out), 0) << out;
    std::ofstream(path("read.py")) << "import sys\nfrom PIL import Image\n"
                                      "im = Image.open(sys.argv[1]).convert('L')\n"
                                      "w, h = im.size\n"
                                      "px = im.load()\n"
                                      "dark = sum(1 for y in range(h) for x in range(w) if px[x, y] < 200)\n"
                                      "print(w > 100 and h > 100, dark > 500)\n";
    ASSERT_EQ(run("/usr/bin/python3 " + path("read.py").string() + " " + path("g.png").string(), &out), 0) << out;
    EXPECT_EQ(out, "True True\n");
}

} // namespace
