// The HP-GL driver: set-up by plotter model, pens, annotation records,
// plotter fills, and hp2xx reading its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

class Hpgl : public DriverTest {
protected:
    Hpgl() : DriverTest(driver_hpgl, hc_hpgl()) {}

    void model(int m)
    {
        printer_plotter_settings().plotter_model = m;
        select();
    }
    static bool has(const std::vector<std::string>& l, const std::string& s)
    {
        return std::find(l.begin(), l.end(), s) != l.end();
    }
    static long at(const std::vector<std::string>& l, const std::string& s)
    {
        const auto i = std::find(l.begin(), l.end(), s);
        return i == l.end() ? -1 : i - l.begin();
    }
    void polygon_of(int n)
    {
        std::vector<float> xy;
        for (int i = 0; i < n; ++i) {
            const float a = static_cast<float>(i) * 6.2831853f / static_cast<float>(n);
            xy.push_back(300 + 100 * std::cos(a));
            xy.push_back(250 + 100 * std::sin(a));
        }
        polyline(xy, 15);
    }
};

TEST_F(Hpgl, ModelOnePageAndOpening)
{
    model(1);
    const HardcopyOptions& o = hardcopy_state().options;
    EXPECT_EQ(o.get(1), 742);
    EXPECT_EQ(o.get(2), 530);
    EXPECT_EQ(o.get(3), 28);
    EXPECT_EQ(o.get(4), 0);
    open("a.plt");
    finish();
    const auto l = lines("a.plt");
    ASSERT_GE(l.size(), 7u);
    EXPECT_EQ(l[0], "IN; IP 395 0 10865 7478");
    EXPECT_EQ(l[1], "RO0; IP 395 0 10865 7478");
    EXPECT_EQ(l[2], "DT\x04");
    EXPECT_EQ(l[3], "DI1. 0.");
    EXPECT_EQ(l[4], "SC-2 9 0 32760");
    EXPECT_EQ(l[5], "SC-13 1 0 32760");
    EXPECT_EQ(l[6], "SC0 32760 0 32760");
}

TEST_F(Hpgl, PensRecordsLinesAndLabels)
{
    model(7);
    hc_set_option(option_line_mode, 1);
    hc_set_option(option_line_width, 5);
    open("b.plt");
    colour_index(17);
    line(0, 0, 100, 100);
    line(100, 100, 200, 100);
    colour_index(80);
    colour_rgb(255, 255, 255);
    text("A\x04" "B", 10, 10);
    DeviceParameters& p = device_parameters();
    p.phase = 32;
    gr_send_hardcopy(DeviceOperation::EndPage);
    line(0, 0, 5, 5);
    finish();
    const auto l = lines("b.plt");
    for (const auto& line : l)
        EXPECT_TRUE(line.starts_with(" ")) << line;
    // Eight pens on model 7: index 17 is group 1, pen 2 + 1; index 80 group 3, pen 1 + 1.
    EXPECT_TRUE(has(l, " PU;SP3"));
    EXPECT_TRUE(has(l, " PU;SP2"));
    EXPECT_TRUE(has(l, " SC-1 16777215 0 32760 ;SC0 32760 0 32760"));
    const long first = at(l, " PD4254 6089");
    ASSERT_GE(first, 1);
    EXPECT_EQ(l[static_cast<std::size_t>(first) - 1], " PU0 0");
    EXPECT_EQ(l[static_cast<std::size_t>(first) + 1], " PD8509 6089"); // joined: no PU
    EXPECT_TRUE(has(l, " LBAB\x04"));
    EXPECT_TRUE(has(l, " SC-3 32 0 32760 ;SC0 32760 0 32760"));
    const long page_end = at(l, " PU;SP0 ;PG;");
    ASSERT_GE(page_end, 0);
    EXPECT_EQ(l[static_cast<std::size_t>(page_end) + 1], " SP1"); // the pen again after the page
    EXPECT_TRUE(has(l, " PW0.142"));
}

TEST_F(Hpgl, PlotterFillsUpToTheirPolygonLimit)
{
    model(6);
    hc_set_option(option_plotter_fills, 1);
    open("c.plt");
    graphics_state().fill_style = 4;
    polygon_of(127);
    const bool hatched_127 = graphics_state().fill_emulation_hardcopy != 0;
    polygon_of(128);
    const bool hatched_128 = graphics_state().fill_emulation_hardcopy != 0;
    finish();
    const auto l = lines("c.plt");
    EXPECT_FALSE(hatched_127);
    EXPECT_TRUE(hatched_128);
    EXPECT_EQ(std::count(l.begin(), l.end(), "PM0"), 1);
    EXPECT_TRUE(has(l, "FT2;PT0.28"));
    EXPECT_TRUE(has(l, "SC-12 128 0 32760"));
    EXPECT_TRUE(has(l, "SC-11 -1 0 32760 ;SC0 32760 0 32760"));
}

TEST_F(Hpgl, Hp2xxDrawsThePicture)
{
    KORV_NEEDS_READERS();
    model(1);
    open("d.plt");
    colour_index(223);
    line(0, 0, 741, 0);
    line(741, 0, 741, 529);
    line(741, 529, 0, 529);
    line(0, 529, 0, 0);
    for (int t = 0; t < 8; ++t) {
        line_type(t);
        line(50, 50 + 20.0f * static_cast<float>(t), 300, 50 + 20.0f * static_cast<float>(t));
    }
    line_type(0);
    ellipse(500, 300, 80, 80, 0);
    text("Hallo", 400, 100);
    pie(550, 150, 60, 0, 90, 4);
    finish();
    // hp2xx's picture agrees cell by cell with what was drawn (the
    // picture the script describes).
    std::string out;
    const GraphicsState& g = graphics_state();
    ASSERT_EQ(run("/usr/bin/python3 " KORV_DRIVER_TESTS "/hpgl_cells.py " + path("d.plt").string() + " " +
                      std::to_string(g.device_limit_x) + " " + std::to_string(g.device_limit_y),
                  &out),
              0)
        << out;
    std::printf("%s", out.c_str());
}

} // namespace
