// The PostScript and EPS driver: the statements it writes, and ghostscript
// reading its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;
using korv::testing::Pixmap;
using korv::testing::write_bmp;

namespace {

class PostScript : public DriverTest {
protected:
    PostScript() : DriverTest(driver_postscript, hc_postscript()) {}

    bool has(const std::vector<std::string>& l, const std::string& s)
    {
        return std::find(l.begin(), l.end(), s) != l.end();
    }
    // Index of the first line s, or -1.
    long at(const std::vector<std::string>& l, const std::string& s)
    {
        const auto i = std::find(l.begin(), l.end(), s);
        return i == l.end() ? -1 : i - l.begin();
    }
    // Renders the file at 72 dpi on a letter page.
    Pixmap render(const std::string& name)
    {
        Pixmap pixmap;
        std::string out;
        EXPECT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sPAPERSIZE=letter -sDEVICE=ppmraw -r72 -o " +
                          path("page.ppm").string() + " " + path(name).string(),
                      &out),
                  0)
            << out;
        EXPECT_TRUE(pixmap.read(path("page.ppm").string()));
        return pixmap;
    }
};

TEST_F(PostScript, ProbeAnswersOnlyTheNumber)
{
    hardcopy_state().options.low.fill(7);
    device_parameters().count = -999;
    hc_postscript().operate(1, device_parameters());
    EXPECT_EQ(device_parameters().count, 2);
    EXPECT_EQ(hardcopy_state().options.get(option_page_width), 7);
}

TEST_F(PostScript, HeaderPrologueFontsAndLandscapePage)
{
    select();
    open("a.ps", "Farbtafel");
    finish();
    const auto l = lines("a.ps");
    ASSERT_GT(l.size(), 80u);
    EXPECT_EQ(l[0], "%!PS-Adobe-3.0");
    EXPECT_EQ(l[1], "%%Title: Farbtafel");
    EXPECT_EQ(l[2], "%%Creator: Z.O.Q. PostScript driver");
    EXPECT_EQ(l[3], "%%EndComments");
    EXPECT_EQ(l[4], "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def");
    EXPECT_EQ(l[8], "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def");
    EXPECT_EQ(l[9], "%%EndProlog");
    EXPECT_EQ(l[10], "/Courier ff");
    EXPECT_TRUE(has(l, "/Times-Italic ff"));
    EXPECT_TRUE(has(l, "currentdict end /Times-3 exch definefont pop"));
    EXPECT_TRUE(has(l, "currentdict end /Symbol exch definefont pop"));
    const long rotate = at(l, "90.0 ro");
    ASSERT_GE(rotate, 0);
    EXPECT_EQ(l[static_cast<std::size_t>(rotate) + 1], "42.0 -560.0 translate");
    EXPECT_EQ(l[static_cast<std::size_t>(rotate) + 2], "newpath");
    EXPECT_EQ(l[static_cast<std::size_t>(rotate) + 3], "%%Page: 1 1");
    // The opening state: width, join and cap, the clip.
    EXPECT_TRUE(has(l, "0.50 w"));
    EXPECT_TRUE(has(l, "0 setlinejoin"));
    EXPECT_TRUE(has(l, "5.0 setmiterlimit"));
    EXPECT_TRUE(has(l, "initclip"));
    EXPECT_TRUE(read("a.ps").ends_with("%%EOF\r\ninitgraphics\r\n \x04"));

    hc_set_option(option_orientation, 0);
    open("b.ps");
    finish();
    const auto portrait = lines("b.ps");
    EXPECT_FALSE(has(portrait, "90.0 ro"));
    EXPECT_TRUE(has(portrait, "42.0 -20.0 translate"));
    EXPECT_FALSE(has(portrait, "%%Title: Farbtafel"));
}

TEST_F(PostScript, PathsColoursTextsAndPages)
{
    select();
    hc_set_option(option_postscript_path_points, 10);
    graphics_state().text_alignment = 0;
    open("c.ps");
    line(10, 10, 100, 10);
    line(100, 10, 100, 100);
    colour_rgb(255, 0, 0);
    colour_rgb(255, 0, 0);
    graphics_state().device_char_angle = 45.5f;
    text("a(b)", 50, 60);
    graphics_state().device_char_angle = 0;
    line(0, 0, 1, 1);
    polyline({0, 0, 10, 0, 10, 10, 0, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 60, 0, 70, 0, 80, 0, 90});
    DeviceParameters& p = device_parameters();
    p.count = 0;
    gr_send_hardcopy(DeviceOperation::EndPage);
    finish();
    const auto l = lines("c.ps");
    const long first = at(l, "10.0 10.0 m");
    ASSERT_GE(first, 0);
    const auto next = [&](long i) { return l[static_cast<std::size_t>(first + i)]; };
    EXPECT_EQ(next(1), "100.0 10.0 l");
    EXPECT_EQ(next(2), "100.0 100.0 l"); // joined to the first line: no second m
    // The red is written only when the text is shown; the black path first.
    EXPECT_EQ(next(3), "0.0 0.0 0.0 g");
    EXPECT_EQ(next(4), "s");
    EXPECT_EQ(next(5), "1.0 0.0 0.0 g");
    EXPECT_EQ(next(6), "/Courier-1 ff [ 16.6 0 0 18.0 0 0] ms");
    EXPECT_EQ(next(7), "50.0 60.0 m");
    EXPECT_EQ(next(8), "45.0 ro");
    EXPECT_EQ(next(9), "(a\\(b\\)) lsh");
    EXPECT_EQ(next(10), "315.0 ro");
    EXPECT_EQ(next(11), "0.0 0.0 m"); // a line after a text starts afresh
    // Ten segments a path: the polyline goes on from its last point.
    const long poly = at(l, "0.0 70.0 l");
    ASSERT_GE(poly, 0);
    EXPECT_EQ(l[static_cast<std::size_t>(poly) + 1], "s");
    EXPECT_EQ(l[static_cast<std::size_t>(poly) + 2], "0.0 70.0 m");
    EXPECT_EQ(l[static_cast<std::size_t>(poly) + 3], "0.0 80.0 l");
    EXPECT_TRUE(has(l, "/#copies 1 def"));
    EXPECT_TRUE(has(l, "gsave showpage grestore"));
    EXPECT_TRUE(has(l, "%%Page: 2 2"));
}

TEST_F(PostScript, InversionAndMonochrome)
{
    select();
    hc_set_option(option_colour_inversion, 2);
    open("d.ps");
    colour_rgb(0, 0, 0);
    line(0, 0, 5, 5);
    colour_rgb(128, 5, 5);
    line(5, 5, 9, 9);
    colour_rgb(255, 255, 255);
    finish();
    const auto l = lines("d.ps");
    EXPECT_TRUE(has(l, "1.0 1.0 1.0 g"));
    EXPECT_TRUE(has(l, "0.50 0.02 0.02 g"));
}

TEST_F(PostScript, LongTextsGoOnOverLinesAndGhostscriptShowsThem)
{
    KORV_NEEDS_READERS();
    select();
    open("e.ps");
    std::string long_text;
    for (int i = 0; i < 60; ++i)
        long_text += "Wort(" + std::to_string(i) + ")\\ ";
    text(long_text, 20, 400);
    text("Zweite", 20, 300);
    finish();
    for (const auto& line : lines("e.ps"))
        EXPECT_LE(line.size(), 255u);
    std::string out;
    ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -o - " + path("e.ps").string(), &out), 0) << out;
    EXPECT_NE(out.find("Wort(59)\\"), std::string::npos) << out;
    EXPECT_NE(out.find("Zweite"), std::string::npos);
}

TEST_F(PostScript, GhostscriptDrawsThePicture)
{
    KORV_NEEDS_READERS();
    select();
    open("f.ps");
    colour_rgb(255, 0, 0);
    rectangle(100, 100, 200, 200, 4);
    colour_rgb(0, 0, 255);
    ellipse(400, 300, 50, 50, 4);
    colour_rgb(0, 0, 0);
    rectangle(300, 100, 350, 150, 1); // left to the graphics layer's hatching
    line(10, 500, 700, 500);
    finish();
    const Pixmap page = render("f.ps");
    ASSERT_EQ(page.width, 612);
    // Landscape: the page's (x, y) lands at (560 - y, x + 42) on the paper.
    const auto pixel = [&](float x, float y) { return page.at(static_cast<int>(560 - y), static_cast<int>(792 - (x + 42))); };
    EXPECT_EQ(pixel(150, 150), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(400, 300), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(pixel(325, 125), (std::array<int, 3>{255, 255, 255}));
    EXPECT_GT(page.inked(560 - 503, 792 - 342, 560 - 497, 792 - 338), 0); // the line at y = 500
}

TEST_F(PostScript, EncapsulatedFileKeepsToItsBox)
{
    select();
    hc_set_option(option_encapsulated, 1);
    EXPECT_EQ(std::string(text_trimmed(text_view(hardcopy_state().default_output_name))), "radediva.eps");
    hc_set_option(option_orientation, 0);
    open("g.eps");
    IGrArea(0.1f, 0.1f, 0.5f, 0.5f);
    colour_rgb(0, 128, 0);
    rectangle(0, 0, 700, 500, 4);
    finish();
    const auto l = lines("g.eps");
    EXPECT_EQ(l[0], "%!PS-Adobe-3.0 EPSF-3.0");
    EXPECT_EQ(l[1], "%%BoundingBox: 0 0 756 540");
    EXPECT_FALSE(has(l, "gsave showpage grestore"));
    EXPECT_FALSE(has(l, "initclip"));
    EXPECT_EQ(l.back(), "%%EOF");
    if (!readers_available())
        return;
    std::string out;
    ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox " + path("g.eps").string(), &out), 0) << out;
    // The rectangle cut to the clip box of the area 0.1..0.5 of the page.
    EXPECT_NE(out.find("%%HiResBoundingBox: 75.59"), std::string::npos) << out;
}

TEST_F(PostScript, ImagesFillTheClipBox)
{
    select();
    hc_set_option(option_orientation, 0);
    open("h.ps");
    write_bmp(path("image.bmp").string(), 100, 50);
    IGrArea(0.25f, 0.25f, 0.75f, 0.75f);
    EXPECT_EQ(image(path("image.bmp").string(), 100, 50).phase, 0);
    finish();
    const auto l = lines("h.ps");
    EXPECT_TRUE(has(l, "/picstr 300 string def"));
    EXPECT_TRUE(has(l, "100 50 8 [100 0 0 -50 0 50]"));
    EXPECT_EQ(std::count_if(l.begin(), l.end(), [](const std::string& s) { return s.size() == 240; }), 125);
    if (!readers_available())
        return;
    const Pixmap page = render("h.ps");
    // Portrait: the page's (x, y) lands at (x + 42, y - 20) on the paper.
    const auto pixel = [&](float x, float y) { return page.at(static_cast<int>(x + 42), static_cast<int>(792 - (y - 20))); };
    EXPECT_EQ(pixel(756 * 0.3f, 540 * 0.5f), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(756 * 0.7f, 540 * 0.5f), (std::array<int, 3>{0, 0, 255}));
}

} // namespace
