// The CGM driver: the elements it writes, taken apart by a walker of the
// binary encoding, and LibreOffice importing its files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "korvanthide/hardcopy.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

struct Element {
    int element_class = 0, id = 0;
    std::string params; // all partitions joined, without pad bytes
    bool long_form = false;
    std::size_t offset = 0;
};

int word(const std::string& s, std::size_t at)
{
    return static_cast<unsigned char>(s[at]) << 8 | static_cast<unsigned char>(s[at + 1]);
}

int signed_word(const std::string& s, std::size_t at)
{
    const int w = word(s, at);
    return w >= 0x8000 ? w - 0x10000 : w;
}

// Every element of a binary CGM; false when one runs past the end or
// leaves the next one at an odd offset.
bool walk(const std::string& file, std::vector<Element>& out)
{
    std::size_t i = 0;
    while (i + 2 <= file.size()) {
        if (i % 2 != 0)
            return false;
        Element e;
        e.offset = i;
        const int header = word(file, i);
        i += 2;
        e.element_class = header >> 12;
        e.id = (header >> 5) & 0x7F;
        int length = header & 31;
        bool more = false;
        if (length == 31) {
            e.long_form = true;
            do {
                if (i + 2 > file.size())
                    return false;
                const int w = word(file, i);
                i += 2;
                more = (w & 0x8000) != 0;
                length = w & 0x7FFF;
                if (i + static_cast<std::size_t>(length) > file.size())
                    return false;
                e.params.append(file, i, static_cast<std::size_t>(length));
                i += static_cast<std::size_t>(length + length % 2);
            } while (more);
        } else {
            if (i + static_cast<std::size_t>(length) > file.size())
                return false;
            e.params.append(file, i, static_cast<std::size_t>(length));
            i += static_cast<std::size_t>(length + length % 2);
        }
        out.push_back(e);
    }
    return i == file.size();
}

class Cgm : public DriverTest {
protected:
    Cgm() : DriverTest(driver_cgm, hc_cgm()) {}

    std::vector<Element> elements(const std::string& name)
    {
        std::vector<Element> e;
        EXPECT_TRUE(walk(read(name), e));
        return e;
    }
    static std::vector<Element> of(const std::vector<Element>& all, int c, int id)
    {
        std::vector<Element> found;
        for (const Element& e : all)
            if (e.element_class == c && e.id == id)
                found.push_back(e);
        return found;
    }
};

TEST_F(Cgm, HeadersExtentAndStrings)
{
    select();
    open("a.cgm", "Farbtafel!");
    finish();
    const auto all = elements("a.cgm");
    ASSERT_GT(all.size(), 15u);
    EXPECT_EQ(all[0].element_class, 0);
    EXPECT_EQ(all[0].id, 1);
    // An even title: the count counts the length byte and the title, a pad follows.
    EXPECT_EQ(all[0].params, std::string("\x0a" "Farbtafel!"));
    EXPECT_EQ(all[1].offset, 14u);
    const auto extent = of(all, 2, 6);
    ASSERT_EQ(extent.size(), 1u);
    EXPECT_EQ(word(extent[0].params, 4), 6300);
    EXPECT_EQ(word(extent[0].params, 6), 4500);
    EXPECT_EQ(of(all, 1, 13).at(0).params.size(), 260u);
    EXPECT_EQ(of(all, 0, 5).size(), 1u); // nothing drawn: the picture still ends
    EXPECT_EQ(all.back().element_class, 0);
    EXPECT_EQ(all.back().id, 2);
}

TEST_F(Cgm, LongPolylinesTextsAndColours)
{
    select();
    hc_set_option(option_colour_inversion, 2);
    open("b.cgm");
    colour_rgb(255, 255, 255);
    std::vector<float> xy;
    for (int i = 0; i < 20000; ++i) {
        xy.push_back(static_cast<float>(i % 700));
        xy.push_back(static_cast<float>(i % 500));
    }
    polyline(xy);
    graphics_state().text_alignment = 0;
    text("zwanzig Zeichen lang", 100, 100);
    text("neunzehn Zeichen la", 100, 200);
    finish();
    const auto all = elements("b.cgm");
    const auto lines = of(all, 4, 1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].params.size(), 4u * 8191);
    EXPECT_EQ(lines[1].params.size(), 4u * 8191);
    EXPECT_EQ(lines[2].params.size(), 4u * (20000 - 2 * 8190));
    EXPECT_EQ(lines[1].params.substr(0, 4), lines[0].params.substr(4 * 8190, 4));
    const auto colour = of(all, 5, 4).at(0).params;
    EXPECT_EQ(colour, std::string("\0\0\0\0", 4)); // white written black
    const auto texts = of(all, 4, 5);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].long_form);
    EXPECT_EQ(texts[0].params.size(), 31u);
    EXPECT_FALSE(texts[1].long_form);
    EXPECT_EQ(texts[1].params.size(), 30u);
    for (const auto& e : all)
        if (e.element_class == 4 && (e.id == 1 || e.id == 7))
            for (std::size_t k = 0; k + 4 <= e.params.size(); k += 4) {
                ASSERT_GE(signed_word(e.params, k), 0);
                ASSERT_LE(signed_word(e.params, k), 6300);
                ASSERT_GE(signed_word(e.params, k + 2), 0);
                ASSERT_LE(signed_word(e.params, k + 2), 4500);
            }
}

TEST_F(Cgm, LibreOfficeImportsThePicture)
{
    KORV_NEEDS_READERS();
    select();
    open("c.cgm");
    colour_rgb(255, 0, 0);
    rectangle(100, 100, 300, 250, 4);
    colour_rgb(0, 0, 255);
    ellipse(450, 300, 60, 40, 4);
    pie(600, 100, 60, 0, 90, 4);
    colour_rgb(0, 0, 0);
    line(10, 10, 740, 530);
    polyline({400, 50, 500, 150, 600, 50}, 15);
    graphics_state().text_alignment = 0;
    text("Farbtafel", 100, 400);
    finish();
    std::string out;
    ASSERT_EQ(run("cd " + dir_.string() + " && timeout 120 soffice -env:UserInstallation=file://" + dir_.string() +
                      "/lo --headless --convert-to pdf c.cgm",
                  &out),
              0)
        << out;
    ASSERT_EQ(run("pdftotext " + path("c.pdf").string() + " -", &out), 0) << out;
    // A narrow restricted text may wrap: the letters count, not the lines.
    std::erase_if(out, [](char c) { return c == '\n' || c == ' '; });
    EXPECT_NE(out.find("Farbtafel"), std::string::npos) << out;
}

TEST_F(Cgm, ImagesBecomeCellArrays)
{
    select();
    open("d.cgm");
    // A 5 by 3 image file written by the raster image driver would need a
    // second driver; a 24-bit BMP is written here instead.
    std::string b = "BM";
    const auto u32 = [&b](unsigned v) {
        for (int i = 0; i < 4; ++i)
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    u32(54 + 16 * 3);
    u32(0);
    u32(54);
    u32(40);
    u32(5);
    u32(3);
    b += std::string("\1\0\x18\0", 4);
    for (int i = 0; i < 6; ++i)
        u32(0);
    for (int y = 0; y < 3; ++y) {
        b += std::string("\0\0\xff\0\0\xff\0\0\xff\xff\0\0\xff\0\0", 15);
        b += '\0';
    }
    std::ofstream(path("image.bmp"), std::ios::binary) << b;
    EXPECT_EQ(image(path("image.bmp").string(), 5, 3).phase, 0);
    finish();
    const auto cells = of(elements("d.cgm"), 4, 9);
    ASSERT_EQ(cells.size(), 1u);
    const std::string& c = cells[0].params;
    EXPECT_EQ(word(c, 12), 5);
    EXPECT_EQ(word(c, 14), 3);
    // Each row: a run of three reds and a run of two blues, ten bytes.
    ASSERT_EQ(c.size(), 20u + 3 * 10);
    EXPECT_EQ(c.substr(20, 10), std::string("\0\3\xff\0\0\0\2\0\0\xff", 10));
}

} // namespace
