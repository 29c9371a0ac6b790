// The SVG driver: its groups and elements, and xmllint and librsvg reading
// its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

class Svg : public DriverTest {
protected:
    Svg() : DriverTest(driver_svg, hc_svg()) {}

    static bool has(const std::vector<std::string>& l, const std::string& s)
    {
        return std::find(l.begin(), l.end(), s) != l.end();
    }
    static long count(const std::vector<std::string>& l, const std::string& s)
    {
        return std::count(l.begin(), l.end(), s);
    }
    // The picture's pixels, rendered by librsvg, as "r g b" at each point.
    std::string pixels(const std::string& name, const std::vector<std::pair<int, int>>& at)
    {
        std::string out;
        EXPECT_EQ(run("rsvg-convert -b white -o " + path("page.png").string() + " " + path(name).string(), &out), 0) << out;
        std::string script = "from PIL import Image\nim = Image.open('" + path("page.png").string() +
                             "').convert('RGB')\nprint(im.size)\n";
        for (const auto& [x, y] : at)
            script += "print(*im.getpixel((" + std::to_string(x) + ", " + std::to_string(y) + ")))\n";
        std::ofstream(path("read.py")) << script;
        EXPECT_EQ(run("/usr/bin/python3 " + path("read.py").string(), &out), 0) << out;
        return out;
    }
};

TEST_F(Svg, DocumentAndStrokeGroups)
{
    select();
    open("a.svg");
    line_type(1);
    line_type(1);
    hc_set_option(option_line_join, 1);
    finish();
    const auto l = lines("a.svg");
    ASSERT_GE(l.size(), 5u);
    EXPECT_EQ(l[0], "<?xml version=\"1.0\"?>");
    EXPECT_EQ(l[1], "<!DOCTYPE svg SYSTEM \"\">");
    EXPECT_EQ(l[2], "<svg width=\"640\" height=\"480\" xmlns=\"http://www.w3.org/2000/svg\">");
    EXPECT_EQ(l[3], "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
                    "stroke-linecap:butt\">");
    EXPECT_EQ(l[4], "</g>");
    EXPECT_EQ(l[5], "<g style=\"fill:none;stroke:#000000;stroke-dasharray:1 5;stroke-width:1;stroke-linejoin:miter;"
                    "stroke-linecap:butt\">");
    EXPECT_EQ(l[6], "</g>");
    EXPECT_EQ(l[7], "<g style=\"fill:none;stroke:#000000;stroke-dasharray:1 5;stroke-width:1;stroke-linejoin:round;"
                    "stroke-linecap:butt\">");
    EXPECT_EQ(l[8], "</g></svg>");
    EXPECT_EQ(l.size(), 9u);
}

TEST_F(Svg, ElementsAndNumberForms)
{
    select();
    hc_set_option(option_colour_inversion, 2);
    open("b.svg");
    line(10, 20, 12.5f, 40);
    line(-3, 479.74f, 0.25f, 0);
    unit_scale();
    DeviceParameters& p = device_parameters();
    p.rx1 = 100, p.ry1 = 100;
    gr_send_hardcopy(DeviceOperation::Point);
    pie(320, 240, 100, 0, 270, 4);
    colour_rgb(12, 12, 12);
    pie(320, 240, 100, 0, 90, 4);
    rectangle(10, 10, 100, 100, 0);
    ellipse(320, 240, 40, 20, 0);
    text("a<b&c \xfc\x80\x01>", 100, 100);
    finish();
    const auto l = lines("b.svg");
    EXPECT_TRUE(has(l, "<line x1=\"10\" y1=\"460\" x2=\"12.5\" y2=\"440\"/>"));
    EXPECT_TRUE(has(l, "<line x1=\"-3\" y1=\"0.25\" x2=\"0.25\" y2=\"480\"/>"));
    EXPECT_TRUE(has(l, "<line x1=\"100\" y1=\"380\" x2=\"100\" y2=\"380\" />"));
    // Inversion 2: black strokes white; a dark grey stays.
    EXPECT_NE(l[3].find("stroke:#ffffff"), std::string::npos);
    EXPECT_TRUE(has(l, "<g style=\"stroke:none;fill:#ffffff\">"));
    EXPECT_TRUE(has(l, "<g style=\"stroke:none;fill:#0c0c0c\">"));
    EXPECT_TRUE(has(l, "<path d=\"M 420,240 A 100,100 0 1 0 320,340 L 320,240 L 420,240\"/>"));
    EXPECT_TRUE(has(l, "<path d=\"M 420,240 A 100,100 0 0 0 320,140 L 320,240 L 420,240\"/>"));
    // Fill styles 0-2: no rectangle; the ellipse only stroked.
    EXPECT_FALSE(std::any_of(l.begin(), l.end(), [](const std::string& s) { return s.starts_with("<polygon"); }));
    EXPECT_TRUE(has(l, "<ellipse cx=\"320\" cy=\"240\" rx=\"40\" ry=\"20\"/>"));
    EXPECT_TRUE(has(l, "<text transform=\"translate(150,380)\">a&#60;b&#38;c &#252;&#8364;></text>"));
    EXPECT_TRUE(std::any_of(l.begin(), l.end(), [](const std::string& s) {
        return s.starts_with("<g style=\"fill:#0c0c0c;stroke:none;font-family:'Courier New',Courier;text-anchor:middle;"
                             "font-size:14.08\">");
    }));
}

TEST_F(Svg, StyleChangeInsideAFillGroupClosesItOnce)
{
    select();
    open("c.svg");
    graphics_state().fill_style = 4;
    DeviceParameters& p = device_parameters();
    p.phase = 0;
    p.rx1 = 10, p.ry1 = 10, p.rx2 = 50, p.ry2 = 50;
    gr_send_hardcopy(DeviceOperation::RectangleFill);
    colour_rgb(255, 0, 0); // arrives while the fill group is open
    p.phase = -1;
    gr_send_hardcopy(DeviceOperation::RectangleFill);
    finish();
    const auto l = lines("c.svg");
    EXPECT_EQ(count(l, "</g>"), 2);
    EXPECT_EQ(l.back(), "</g></svg>");
    if (!readers_available())
        return;
    std::string out;
    EXPECT_EQ(run("xmllint --noout " + path("c.svg").string(), &out), 0) << out;
}

TEST_F(Svg, LongPolylinesClipPathsAndTexts)
{
    select();
    open("d.svg");
    std::vector<float> xy;
    for (int i = 0; i < 200; ++i) {
        xy.push_back(static_cast<float>(i) * 3.123f);
        xy.push_back(240.0f + static_cast<float>(i % 7) * 11.37f);
    }
    polyline(xy);
    IGrArea(0.25f, 0.25f, 0.75f, 0.75f);
    colour_rgb(0, 0, 255);
    rectangle(0, 0, 640, 480, 4);
    IGrArea(0.5f, 0.5f, 1, 1);
    rectangle(0, 0, 640, 480, 4);
    finish();
    const auto l = lines("d.svg");
    long breaks = 0;
    for (const auto& line : l) {
        EXPECT_LE(line.size(), 256u);
        breaks += line.find("\"/>") == std::string::npos && line.find(',') != std::string::npos &&
                  line.find('<') == std::string::npos;
    }
    EXPECT_GT(breaks, 5);
    EXPECT_TRUE(std::any_of(l.begin(), l.end(), [](const std::string& s) {
        return s.starts_with("<defs><clipPath id=\"clip1\"><rect width=\"320");
    }));
    EXPECT_TRUE(has(l, "<g style=\"stroke:none;fill:#0000ff;clip-path:url(#clip2)\">"));
    if (!readers_available())
        return;
    std::string out;
    EXPECT_EQ(run("xmllint --noout " + path("d.svg").string(), &out), 0) << out;
}

TEST_F(Svg, LibrsvgDrawsThePicture)
{
    KORV_NEEDS_READERS();
    select();
    open("e.svg");
    colour_rgb(255, 0, 0);
    rectangle(100, 100, 200, 200, 4);
    colour_rgb(0, 0, 255);
    ellipse(400, 300, 50, 30, 4);
    colour_rgb(0, 128, 0);
    pie(500, 100, 60, 0, 90, 4);
    colour_rgb(0, 0, 0);
    polyline({10, 400, 600, 400, 600, 420}, 15);
    text("Gr\xfc\xdf" "e", 300, 50);
    finish();
    std::string out;
    ASSERT_EQ(run("xmllint --noout " + path("e.svg").string(), &out), 0) << out;
    // Pixels from the top left: y is 480 - y of the page.
    const std::string seen = pixels("e.svg", {{150, 330}, {400, 180}, {520, 360}, {480, 360}, {5, 5}});
    EXPECT_EQ(seen, "(640, 480)\n255 0 0\n0 0 255\n0 128 0\n255 255 255\n255 255 255\n");
}

} // namespace
