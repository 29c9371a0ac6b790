// The DXF driver: its sections, entities and colour numbers, and ezdxf
// reading its files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

using Groups = std::vector<std::pair<std::string, std::string>>;

class Dxf : public DriverTest {
protected:
    Dxf() : DriverTest(driver_dxf, hc_dxf()) {}

    Groups groups(const std::string& name)
    {
        const auto l = lines(name);
        Groups g;
        for (std::size_t i = 0; i + 1 < l.size(); i += 2)
            g.emplace_back(l[i], l[i + 1]);
        return g;
    }
    // The groups of the first entity of that type after the start of ENTITIES, up to the next 0 group.
    static Groups entity(const Groups& all, const std::string& type, int nth = 0)
    {
        bool entities = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == std::pair<std::string, std::string>{"2", "ENTITIES"})
                entities = true;
            if (!entities || all[i] != std::pair<std::string, std::string>{"0", type} || nth-- > 0)
                continue;
            Groups e;
            for (std::size_t j = i + 1; j < all.size() && all[j].first != "0"; ++j)
                e.push_back(all[j]);
            return e;
        }
        return {};
    }
    static std::string value(const Groups& e, const std::string& code)
    {
        for (const auto& [c, v] : e)
            if (c == code)
                return v;
        return "(none)";
    }
    static int count(const Groups& all, const std::string& type)
    {
        int n = 0;
        for (const auto& g : all)
            n += g == std::pair<std::string, std::string>{"0", type};
        return n;
    }
};

TEST_F(Dxf, HeaderTablesAndSections)
{
    select();
    open("a.dxf");
    finish();
    const Groups g = groups("a.dxf");
    ASSERT_GT(g.size(), 100u);
    EXPECT_EQ(g[0], (std::pair<std::string, std::string>{"0", "SECTION"}));
    EXPECT_EQ(g[1], (std::pair<std::string, std::string>{"2", "HEADER"}));
    EXPECT_EQ(g[5], (std::pair<std::string, std::string>{"9", "$EXTMAX"}));
    EXPECT_EQ(g[6], (std::pair<std::string, std::string>{"10", "10.5"}));
    EXPECT_EQ(g[7], (std::pair<std::string, std::string>{"20", "7.5"}));
    EXPECT_EQ(g[13], (std::pair<std::string, std::string>{"10", "5.25"}));
    EXPECT_EQ(g[14], (std::pair<std::string, std::string>{"20", "3.75"}));
    EXPECT_EQ(count(g, "LTYPE"), 7);
    EXPECT_EQ(count(g, "LAYER"), 9);
    EXPECT_EQ(g.back(), (std::pair<std::string, std::string>{"0", "EOF"}));
    EXPECT_TRUE(read("a.dxf").ends_with("0\r\nENDSEC\r\n0\r\nEOF\r\n"));
}

TEST_F(Dxf, ColourNumbersByDepth)
{
    EXPECT_EQ(hc_dxf_nearest_colour_index(0x0000ff), 1);
    EXPECT_EQ(hc_dxf_nearest_colour_index(0xffffff), 7);
    EXPECT_NE(hc_dxf_nearest_colour_index(0), 0);
    EXPECT_EQ(hc_dxf_palette_entry(32), 0x0052b9);
    EXPECT_EQ(hc_dxf_palette_entry(72), 0x48a552);

    select();
    open("b.dxf");
    colour_rgb(255, 0, 0);
    line(0, 0, 10, 10);
    colour_rgb(0, 0, 0);
    line(0, 0, 10, 10);
    colour_rgb(250, 10, 10);
    line(0, 0, 10, 10);
    finish();
    Groups g = groups("b.dxf");
    EXPECT_EQ(value(entity(g, "LINE", 0), "62"), "1");
    EXPECT_NE(value(entity(g, "LINE", 1), "62"), "0");
    EXPECT_EQ(value(entity(g, "LINE", 2), "62"), "1");

    hc_set_option(option_colour_depth, 24);
    open("c.dxf");
    colour_rgb(255, 0, 0);
    line(0, 0, 10, 10);
    finish();
    g = groups("c.dxf");
    EXPECT_EQ(value(entity(g, "LINE"), "420"), "16711680");
    EXPECT_EQ(value(entity(g, "LINE"), "62"), "(none)");

    hc_set_option(option_colour_depth, 3);
    open("d.dxf");
    colour_index(15);
    line(0, 0, 10, 10);
    colour_index(16);
    line(0, 0, 10, 10);
    colour_index(47);
    line(0, 0, 10, 10);
    colour_index(48);
    line(0, 0, 10, 10);
    finish();
    g = groups("d.dxf");
    EXPECT_EQ(value(entity(g, "LINE", 0), "62"), "7");
    EXPECT_EQ(value(entity(g, "LINE", 1), "62"), "1");
    EXPECT_EQ(value(entity(g, "LINE", 2), "62"), "1");
    EXPECT_EQ(value(entity(g, "LINE", 3), "62"), "2");
}

TEST_F(Dxf, EntitiesOfTheShapes)
{
    select();
    open("e.dxf");
    unit_scale();
    line_type(2);
    line(72, 144, 144, 144);
    line_type(0);
    line(72, 144, 144, 144);
    DeviceParameters& p = device_parameters();
    p.rx1 = 360, p.ry1 = 216, p.rx2 = 72, p.rx4 = 90, p.ry4 = -45;
    gr_send_hardcopy(DeviceOperation::Arc);
    ellipse(360, 216, 72, 72, 0);
    const int circle_phase = p.phase;
    rectangle(-100, -100, 72, 72, 4);
    rectangle(0, 0, 72, 72, 0);
    text("Zeile\r\n\x01zwei", 72, 72);
    finish();
    const Groups g = groups("e.dxf");
    const Groups dashed = entity(g, "LINE", 0);
    ASSERT_GE(dashed.size(), 4u);
    EXPECT_EQ(dashed[0].first, "8");
    EXPECT_EQ(dashed[1].first, "62");
    EXPECT_EQ(dashed[2], (std::pair<std::string, std::string>{"6", "DASHED"}));
    EXPECT_EQ(value(dashed, "39"), "0.006944");
    EXPECT_EQ(value(dashed, "10"), "1.");
    EXPECT_EQ(value(dashed, "21"), "2.");
    EXPECT_EQ(value(entity(g, "LINE", 1), "6"), "(none)");
    const Groups arc = entity(g, "ARC");
    EXPECT_EQ(value(arc, "40"), "1.");
    EXPECT_EQ(value(arc, "50"), "45.");
    EXPECT_EQ(value(arc, "51"), "90.");
    EXPECT_EQ(value(entity(g, "CIRCLE"), "40"), "1.");
    EXPECT_EQ(circle_phase, -1); // the ellipse call's closing send, not the circle
    const Groups solid = entity(g, "SOLID");
    EXPECT_EQ(value(solid, "10"), "0.");
    EXPECT_EQ(value(solid, "21"), "1.");
    EXPECT_EQ(count(g, "SOLID"), 1);
    EXPECT_EQ(value(entity(g, "TEXT"), "1"), "Zeile   zwei");
    EXPECT_EQ(value(entity(g, "TEXT"), "7"), "STANDARD");
}

TEST_F(Dxf, EzdxfReadsAndAuditsThePicture)
{
    KORV_NEEDS_READERS();
    select();
    open("f.dxf");
    colour_rgb(255, 0, 0);
    for (int t = 0; t < 8; ++t) {
        line_type(t);
        line(20, 20 + 20.0f * static_cast<float>(t), 300, 20 + 20.0f * static_cast<float>(t));
    }
    line_type(0);
    polyline({400, 20, 500, 120, 600, 20});
    colour_rgb(0, 0, 255);
    rectangle(400, 300, 500, 400, 4);
    ellipse(200, 400, 50, 50, 0);
    text("Hallo", 100, 250);
    DeviceParameters& p = device_parameters();
    p.rx1 = 600, p.ry1 = 400, p.rx2 = 60, p.rx4 = 0, p.ry4 = 120;
    gr_send_hardcopy(DeviceOperation::Arc);
    finish();
    std::ofstream(path("audit.py")) << "import sys, ezdxf\n"
                                       "doc = ezdxf.readfile(sys.argv[1])\n"
                                       "auditor = doc.audit()\n"
                                       "print(len(auditor.errors), len(auditor.fixes))\n"
                                       "print(sorted(e.dxftype() for e in doc.modelspace()))\n"
                                       "print(doc.modelspace().query('SOLID')[0].dxf.color)\n";
    std::string out;
    ASSERT_EQ(run("/usr/bin/python3 " + path("audit.py").string() + " " + path("f.dxf").string(), &out), 0) << out;
    EXPECT_EQ(out, "0 0\n['ARC', 'CIRCLE', 'LINE', 'LINE', 'LINE', 'LINE', 'LINE', 'LINE', 'LINE', 'LINE', "
                   "'POLYLINE', 'SOLID', 'TEXT']\n5\n");
}

} // namespace
