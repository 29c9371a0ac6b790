// The raster device and the raster image driver: pixels, pens and dashes,
// fills, the page bitmap's sizing, and PNG, BMP and PCX files read back by
// pngcheck, python3-pil and ImageMagick.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "korvanthide/drawing.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/raster_device.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

class RasterImage : public DriverTest {
protected:
    RasterImage() : DriverTest(driver_raster_image, hc_raster_image()) {}

    RasterBitmapRecord& page() { return static_cast<RasterDevice&>(hc_raster_image()).page; }
    static std::uint32_t u32(const std::string& s, std::size_t at)
    {
        return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8 |
               static_cast<unsigned char>(s[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
    }
    static std::uint32_t be32(const std::string& s, std::size_t at)
    {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
               static_cast<unsigned char>(s[at + 1]) << 16 | static_cast<unsigned char>(s[at + 2]) << 8 |
               static_cast<unsigned char>(s[at + 3]);
    }
    // A small page with solid and two-colour fills, lines of every type and a polyline.
    void picture()
    {
        colour_rgb(255, 0, 0);
        rectangle(10, 10, 60, 40, 4);
        colour_rgb(0, 0, 255);
        rectangle(70, 10, 120, 40, 3);
        colour_rgb(0, 128, 0);
        for (int t = 0; t < 8; ++t) {
            line_type(t);
            line(5, 50 + 5.0f * static_cast<float>(t), 150, 50 + 5.0f * static_cast<float>(t));
        }
        line_type(0);
        colour_rgb(0, 0, 0);
        polyline({5, 95, 80, 140, 150, 95});
    }
};

TEST_F(RasterImage, DefaultPageIsAnEightBitPng)
{
    select();
    EXPECT_EQ(std::string(text_trimmed(text_view(hardcopy_state().default_output_name))), "radediva.png");
    open("a.png");
    EXPECT_EQ(page().width, 1024);
    EXPECT_EQ(page().height, 768);
    colour_rgb(255, 0, 0);
    rectangle(100, 100, 300, 200, 4);
    finish();
    const std::string png = read("a.png");
    ASSERT_GT(png.size(), 33u + 12 + 768);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(be32(png, 16), 1024u);
    EXPECT_EQ(be32(png, 20), 768u);
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 3);
    EXPECT_EQ(be32(png, 33), 768u); // PLTE length: 256 entries
    EXPECT_EQ(png.substr(37, 4), "PLTE");
    if (!readers_available())
        return;
    std::string out;
    ASSERT_EQ(run("pngcheck -v " + path("a.png").string(), &out), 0) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), 'I') > 0, true);
    EXPECT_NE(out.find("chunk IDAT"), std::string::npos);
    std::ofstream(path("read.py")) << "import sys\nfrom PIL import Image\n"
                                      "im = Image.open(sys.argv[1]).convert('RGB')\n"
                                      "print(*im.getpixel((200, 768 - 150)), *im.getpixel((50, 50)))\n";
    ASSERT_EQ(run("/usr/bin/python3 " + path("read.py").string() + " " + path("a.png").string(), &out), 0) << out;
    EXPECT_EQ(out, "255 0 0 255 255 255\n");
}

TEST_F(RasterImage, BmpLayoutsAndRunLengthSizes)
{
    select();
    hc_set_option(option_image_file_type, 1);
    hc_set_option(option_colour_depth, 24);
    open("b.bmp");
    line(0, 0, 100, 100);
    finish();
    const std::string plain = read("b.bmp");
    EXPECT_EQ(plain.size(), 54u + 768u * 3072u);
    EXPECT_EQ(u32(plain, 2), plain.size());
    EXPECT_EQ(u32(plain, 10), 54u);

    hc_set_option(option_image_file_type, 2);
    hc_set_option(option_colour_depth, 8);
    open("c.bmp");
    colour_rgb(255, 0, 0);
    rectangle(100, 100, 300, 200, 4);
    finish();
    const std::string packed = read("c.bmp");
    EXPECT_EQ(u32(packed, 2), packed.size());
    EXPECT_EQ(u32(packed, 30), 1u);
    EXPECT_EQ(u32(packed, 34), packed.size() - 1024 - 54);
    EXPECT_LT(packed.size(), 20000u);
    EXPECT_TRUE(packed.ends_with(std::string("\0\0\0\1", 4)));
}

TEST_F(RasterImage, NarrowPagesAndPcxRuns)
{
    select();
    hc_set_option(option_page_width, 7);
    hc_set_option(option_page_height, 3);
    hc_set_option(option_colour_depth, 1);
    hc_set_option(option_image_file_type, 0);
    open("d.pcx");
    line(0, 0, 6, 0);
    finish();
    const std::string pcx = read("d.pcx");
    EXPECT_EQ(pcx[1], 3);
    EXPECT_EQ(static_cast<unsigned char>(pcx[66]), 2u); // a line of 7 pixels holds 2 bytes
    hc_set_option(option_image_file_type, 1);
    open("d.bmp");
    line(0, 0, 6, 0);
    finish();
    EXPECT_EQ(read("d.bmp").size(), 54u + 8 + 3 * 4);

    hc_set_option(option_page_width, 100);
    hc_set_option(option_colour_depth, 8);
    hc_set_option(option_image_file_type, 0);
    open("e.pcx");
    colour_index(200);
    DeviceParameters& p = device_parameters();
    p.rx1 = 50, p.ry1 = 0;
    gr_send_hardcopy(DeviceOperation::Point);
    finish();
    const std::string e = read("e.pcx");
    // The top row: 100 blank bytes; the bottom row: one pixel of 200.
    EXPECT_EQ(e.substr(128, 4), std::string("\xff\x00\xe5\x00", 4));
    EXPECT_NE(e.find(std::string("\xf2\x00\xc1\xc8\xf1\x00", 6)), std::string::npos);
    ASSERT_GT(e.size(), 769u);
    EXPECT_EQ(e[e.size() - 769], '\x0c'); // the palette record
}

TEST_F(RasterImage, UndrawnPageWritesNothingAndShortMemoryShrinksThePage)
{
    select();
    open("f.png");
    finish();
    EXPECT_EQ(read("f.png").size(), 0u);

    hc_raster_fail_next_allocation();
    open("g.png");
    EXPECT_EQ(error_state().last_error, 34);
    EXPECT_EQ(page().width, static_cast<int>(1024 / std::sqrt(196608.0 / 176947.0)));
    EXPECT_EQ(page().height, static_cast<int>(768 / std::sqrt(196608.0 / 176947.0)));
    EXPECT_EQ(graphics_state().hardcopy_active, 1);
    finish();
    // The request was for one page only.
    open("h.png");
    EXPECT_EQ(page().width, 1024);
    finish();
}

TEST_F(RasterImage, EveryFormatAndDepthReadsBackAlike)
{
    KORV_NEEDS_READERS();
    const char* names[] = {"png", "bmp", "rle.bmp", "pcx"};
    const int types[] = {3, 1, 2, 0};
    for (int depth : {1, 4, 8, 24}) {
        select();
        hc_set_option(option_page_width, 157);
        hc_set_option(option_page_height, 150);
        hc_set_option(option_colour_depth, depth);
        for (int f = 0; f < 4; ++f) {
            hc_set_option(option_image_file_type, types[f]);
            open(std::to_string(depth) + "." + names[f]);
            unit_scale();
            picture();
            finish();
        }
    }
    std::ofstream(path("compare.py"))
        << "import subprocess, sys\nfrom PIL import Image\n"
           "def magick(f, w, h):\n"
           "    raw = subprocess.run(['convert-im6.q16', f, '-depth', '8', 'rgb:-'], check=True, capture_output=True).stdout\n"
           "    return Image.frombytes('RGB', (w, h), raw)\n"
           "d = sys.argv[1]\n"
           "for depth in (1, 4, 8, 24):\n"
           "    ref = Image.open(f'{d}/{depth}.png').convert('RGB')\n"
           "    w, h = ref.size\n"
           "    others = {'bmp': Image.open(f'{d}/{depth}.bmp').convert('RGB'),\n"
           "              'rle': magick(f'{d}/{depth}.rle.bmp', w, h),\n"
           "              'pcx': Image.open(f'{d}/{depth}.pcx').convert('RGB') if depth == 1 else magick(f'{d}/{depth}.pcx', w, h)}\n"
           "    for name, im in others.items():\n"
           "        print(depth, name, im.size == ref.size and im.tobytes() == ref.tobytes())\n"
           "    inked = sum(1 for p in ref.getdata() if p != (255, 255, 255))\n"
           "    print(depth, 'inked', inked > 1000)\n";
    std::string out;
    ASSERT_EQ(run("/usr/bin/python3 " + path("compare.py").string() + " " + dir_.string(), &out), 0) << out;
    EXPECT_EQ(out.find("False"), std::string::npos) << out;
    for (int depth : {1, 4, 8, 24})
        EXPECT_EQ(run("pngcheck -q " + path(std::to_string(depth) + ".png").string(), &out), 0) << out;
}

// The device's primitives on a page of its own.
class RasterPrimitives : public DriverTest {
protected:
    RasterPrimitives() : DriverTest(driver_raster_image, hc_raster_image()) {}
    RasterDevice& device() { return static_cast<RasterDevice&>(hc_raster_image()); }
    void SetUp() override
    {
        DriverTest::SetUp();
        select();
        hc_set_option(option_page_width, 64);
        hc_set_option(option_page_height, 32);
        open("p.png");
        unit_scale();
    }
    std::string row(int y, int x1, int x2)
    {
        std::string s;
        for (int x = x1; x <= x2; ++x)
            s += device().page.value_at(x, y) != 0 ? '#' : '.';
        return s;
    }
};

TEST_F(RasterPrimitives, EdgesPensAndDashes)
{
    EXPECT_EQ(hc_raster_edge_x(0, 10, 10, 0, 5), 5);
    EXPECT_EQ(hc_raster_edge_x(0, 3, 10, 3, 3), 32767);
    EXPECT_EQ(device().pen_a(), 0);
    EXPECT_EQ(device().pen_b(), 0);

    colour_index(1);
    line_type(1);
    line(0, 5, 60, 5.4f);
    // Pattern 0x104 at two pixels a unit (150 dpi): units 2 and 8 only.
    EXPECT_EQ(row(5, 0, 25), "....##..........##........");

    line_type(2);
    polyline({0, 10, 5, 10.4f, 30, 10.8f});
    // 0xE07: three units on, six off, three on and into the next round's
    // three; two pixels a unit; the pattern goes on over the joint at x = 5.
    EXPECT_EQ(row(10, 0, 30), "######............############.");
}

TEST_F(RasterPrimitives, MonochromeFillsInkWhatTheirColourInks)
{
    finish();
    hc_set_option(option_colour_depth, 1);
    open("mono.png");
    unit_scale();
    colour_rgb(0, 0, 0);
    rectangle(2, 2, 20, 20, 4);
    colour_rgb(255, 255, 255);
    rectangle(10, 10, 30, 30, 4);
    colour_rgb(128, 128, 128);
    rectangle(40, 2, 55, 20, 4);
    RasterBitmapRecord& b = device().page;
    EXPECT_EQ(b.value_at(5, 5), 1u);   // black: inked
    EXPECT_EQ(b.value_at(15, 15), 0u); // white: blank, over the black
    int inked = 0;
    for (int y = 4; y < 12; ++y)
        for (int x = 42; x < 50; ++x)
            inked += static_cast<int>(b.value_at(x, y));
    EXPECT_GT(inked, 16); // mid grey: about half
    EXPECT_LT(inked, 48);
}

TEST_F(RasterPrimitives, ColourValuesAndCheckerboards)
{
    RasterBitmapRecord& b = device().page;
    b.bits = 3;
    graphics_state().colour_mode = 2;
    graphics_state().cur_rgb = 200 + 256 * 100 + 65536 * 30;
    EXPECT_EQ(device().colour_value(), 1u);
    printer_plotter_settings().raster_mode = 2;
    EXPECT_EQ(device().colour_value(), 6u);
    printer_plotter_settings().raster_mode = 0;
    b.bits = 8;

    colour_index(10);
    colour_index(20);
    rectangle(0, 0, 7, 3, 3);
    // Current colour on odd x + y at 8 bits.
    EXPECT_EQ(b.value_at(1, 0), 20u);
    EXPECT_EQ(b.value_at(0, 0), 10u);
    EXPECT_EQ(b.value_at(2, 1), 20u);
    EXPECT_EQ(b.value_at(1, 1), 10u);
    rectangle(10, 5, 5, 8, 4); // x2 below x1: nothing
    EXPECT_EQ(b.value_at(7, 6), 0u);
}

} // namespace

namespace {

// Images and shaded polygons drawn into the page.
class RasterImages : public RasterPrimitives {
protected:
    // A 20 by 10 image file: red left half, blue right half, written by
    // this driver itself.
    std::string image()
    {
        hc_set_option(option_page_width, 20);
        hc_set_option(option_page_height, 10);
        hc_set_option(option_colour_depth, 24);
        open("image.png");
        unit_scale();
        colour_rgb(255, 0, 0);
        rectangle(0, 0, 9, 9, 4);
        colour_rgb(0, 0, 255);
        rectangle(10, 0, 19, 9, 4);
        finish();
        return path("image.png").string();
    }
    void page24()
    {
        hc_set_option(option_page_width, 64);
        hc_set_option(option_page_height, 32);
        hc_set_option(option_colour_depth, 24);
        open("page.png");
        unit_scale();
        GraphicsState& g = graphics_state();
        g.area_px1 = 10, g.area_py1 = 5, g.area_px2 = 29, g.area_py2 = 14;
        gr_send_hardcopy(DeviceOperation::Clip);
    }
    void draw_image(const std::string& file, int rotation)
    {
        graphics_state().rotation = rotation;
        DriverTest::image(file, 20, 10);
        graphics_state().rotation = 0;
    }
};

TEST_F(RasterImages, ImagesFillTheClipBoxTurnedWithThePage)
{
    finish();
    const std::string file = image();
    page24();
    draw_image(file, 0);
    EXPECT_EQ(device_parameters().phase, 0);
    EXPECT_EQ(device().page.value_at(10, 5), 0x0000FFu); // first pixel of the last row: red
    EXPECT_EQ(device().page.value_at(29, 14), 0xFF0000u); // top right: blue
    draw_image(file, 180);
    EXPECT_EQ(device().page.value_at(10, 5), 0xFF0000u); // element W - 1, blue, bottom left
    EXPECT_EQ(device().page.value_at(29, 14), 0x0000FFu);
    EXPECT_EQ(device().page.value_at(5, 5), 0xFFFFFFu); // outside the clip box

    draw_image(path("missing.png").string(), 0);
    EXPECT_NE(device_parameters().phase, 0);
}

TEST_F(RasterImages, ShadedPolygonsAreDitheredIntoThePage)
{
    finish();
    page24();
    GraphicsState& g = graphics_state();
    g.area_px1 = 0, g.area_py1 = 0, g.area_px2 = 63, g.area_py2 = 31;
    gr_send_hardcopy(DeviceOperation::Clip);
    DeviceParameters& p = device_parameters();
    p.poly_x = {2, 60, 2};
    p.poly_y = {2, 2, 30};
    p.shade_value = {0x0000FF, 0x00FF00, 0xFF0000};
    p.shade_count = 3;
    gr_send_hardcopy(DeviceOperation::ShadedPolygon);
    const auto near = [&](int x, int y) { return device().page.value_at(x, y); };
    EXPECT_GT(near(4, 3) & 0xFF, 0xC0u);          // red corner
    EXPECT_GT((near(56, 3) >> 8) & 0xFF, 0xC0u);  // green corner
    EXPECT_GT((near(3, 27) >> 16) & 0xFF, 0xC0u); // blue corner
    EXPECT_EQ(near(60, 30), 0xFFFFFFu);           // outside the triangle
}

} // namespace
