// The raster printer driver: the job's commands by printer type, and a
// decoder that takes PCL, ESC/P2 and ESC/P jobs apart and rebuilds their
// dots, which must equal the page bitmap as it stood at the page's end.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/raster_device.h"
#include "hardcopy/drivers/raster_printer.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;

namespace {

// Dots by plane (or colour pass), row and column of the printed page.
struct Dots {
    int columns = 0;
    std::vector<std::vector<std::vector<bool>>> planes;
    void set(int plane, int row, int column)
    {
        if (plane >= static_cast<int>(planes.size()))
            planes.resize(static_cast<std::size_t>(plane) + 1);
        auto& rows = planes[static_cast<std::size_t>(plane)];
        if (row >= static_cast<int>(rows.size()))
            rows.resize(static_cast<std::size_t>(row) + 1);
        auto& r = rows[static_cast<std::size_t>(row)];
        if (column >= static_cast<int>(r.size()))
            r.resize(static_cast<std::size_t>(column) + 1);
        r[static_cast<std::size_t>(column)] = true;
    }
    bool at(int plane, int row, int column) const
    {
        if (plane >= static_cast<int>(planes.size()))
            return false;
        const auto& rows = planes[static_cast<std::size_t>(plane)];
        if (row >= static_cast<int>(rows.size()))
            return false;
        const auto& r = rows[static_cast<std::size_t>(row)];
        return column < static_cast<int>(r.size()) && r[static_cast<std::size_t>(column)];
    }
};

unsigned char byte_at(const std::string& s, std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; }

void bits_into(Dots& d, int plane, int row, const std::string& bytes, int first_column = 0)
{
    for (std::size_t k = 0; k < bytes.size(); ++k)
        for (int j = 0; j < 8; ++j)
            if ((static_cast<unsigned char>(bytes[k]) & (0x80 >> j)) != 0)
                d.set(plane, row, first_column + static_cast<int>(8 * k) + j);
}

// TIFF PackBits, as PCL mode 2 and ESC/P2 write it; reads until `want` bytes.
std::string unpack_bits(const std::string& s, std::size_t& i, std::size_t want, std::size_t end)
{
    std::string out;
    while (out.size() < want && i < end) {
        const int control = static_cast<signed char>(s[i++]);
        if (control >= 0) {
            out.append(s, i, static_cast<std::size_t>(control) + 1);
            i += static_cast<std::size_t>(control) + 1;
        } else if (control != -128) {
            out.append(static_cast<std::size_t>(1 - control), s[i++]);
        }
    }
    return out;
}

// PCL: ESC*b<count>V and W rows in modes 0, 1 and 2; a row of planes ends with W.
Dots decode_pcl(const std::string& job, int& planes)
{
    Dots d;
    planes = job.find("3u") != std::string::npos ? 3 : 1;
    int mode = 0, row = 0, plane = 0;
    for (std::size_t i = 0; i < job.size();) {
        if (job.compare(i, 3, "\x1b*b") != 0) {
            ++i;
            continue;
        }
        std::size_t j = i + 3;
        int n = 0;
        while (j < job.size() && std::isdigit(static_cast<unsigned char>(job[j])))
            n = 10 * n + (job[j++] - '0');
        const char command = job[j++];
        if (command == 'M') {
            mode = n;
        } else if (command == 'V' || command == 'W') {
            std::string data = job.substr(j, static_cast<std::size_t>(n));
            std::string row_bytes;
            if (mode == 0) {
                row_bytes = data;
            } else if (mode == 1) {
                for (std::size_t k = 0; k + 1 < data.size(); k += 2)
                    row_bytes.append(static_cast<std::size_t>(byte_at(data, k)) + 1, data[k + 1]);
            } else {
                std::size_t k = 0;
                row_bytes = unpack_bits(data, k, 1 << 20, data.size());
            }
            bits_into(d, plane, row, row_bytes);
            j += static_cast<std::size_t>(n);
            if (command == 'W') {
                ++row;
                plane = 0;
            } else {
                ++plane;
            }
        }
        i = j;
    }
    return d;
}

// ESC/P2: rows of ESC . c v h m nL nH, each colour pass after ESC r n.
Dots decode_escp2(const std::string& job)
{
    Dots d;
    int row = 0, pass = 0;
    for (std::size_t i = 0; i < job.size();) {
        if (job.compare(i, 2, "\x1br") == 0) {
            // r 0 black (kept as pass 3), 1 magenta (plane 1), 2 cyan (plane 0), 4 yellow (plane 2)
            static constexpr int passes[] = {3, 1, 0, 0, 2};
            pass = passes[std::min(4, static_cast<int>(byte_at(job, i + 2)))];
            i += 3;
        } else if (job.compare(i, 3, std::string("\x1b(v", 3)) == 0) {
            ++row;
            i += 7;
        } else if (job.compare(i, 2, "\x1b.") == 0) {
            const int compressed = byte_at(job, i + 2);
            const std::size_t n = byte_at(job, i + 6) + 256u * byte_at(job, i + 7);
            std::size_t k = i + 8;
            std::string bytes;
            if (compressed != 0) {
                bytes = unpack_bits(job, k, n / 8, job.size());
            } else {
                bytes = job.substr(k, n / 8);
                k += n / 8;
            }
            bits_into(d, pass, row, bytes);
            i = k;
        } else {
            ++i;
        }
    }
    return d;
}

// ESC/P: bands of ESC K, L, Z, ESC * m or ESC [g bit images, one or two
// interleaved passes a band, ended by CR LF.
Dots decode_escp(const std::string& job, int pins, int interleave)
{
    Dots d;
    int band = 0, pass = 1;
    for (std::size_t i = 0; i < job.size();) {
        if (byte_at(job, i) != 0x1b) {
            ++i;
            continue;
        }
        const char c = job[i + 1];
        std::size_t data = 0, columns = 0;
        if (c == 'K' || c == 'L' || c == 'Z') {
            columns = byte_at(job, i + 2) + 256u * byte_at(job, i + 3);
            data = i + 4;
        } else if (c == '*') {
            columns = byte_at(job, i + 3) + 256u * byte_at(job, i + 4);
            data = i + 5;
        } else if (c == '3' && interleave == 2) {
            pass = byte_at(job, i + 2) == 1 ? 1 : 2;
            i += 3;
            continue;
        } else {
            i += 2;
            continue;
        }
        const int bytes_per_column = pins / 8;
        for (std::size_t col = 0; col < columns; ++col)
            for (int b = 0; b < bytes_per_column; ++b) {
                const unsigned char byte = byte_at(job, data + col * static_cast<std::size_t>(bytes_per_column) + static_cast<std::size_t>(b));
                for (int j = 0; j < 8; ++j)
                    if ((byte & (0x80 >> j)) != 0)
                        d.set(0, band * pins * interleave + pass - 1 + interleave * (8 * b + j), static_cast<int>(col));
            }
        i = data + columns * static_cast<std::size_t>(bytes_per_column);
        if (interleave == 1 || pass == 2)
            ++band;
    }
    return d;
}

class RasterPrinter : public DriverTest {
protected:
    RasterPrinter() : DriverTest(driver_raster_printer, hc_raster_printer()) {}

    RasterBitmapRecord& page() { return static_cast<RasterDevice&>(hc_raster_printer()).page; }
    void printer(int type)
    {
        printer_plotter_settings() = PrinterPlotterSettings{};
        hc_printer_type_init(type);
        select();
    }
    // A page of colour fills and lines; the bitmap as it stands before the page ends.
    RasterBitmapRecord draw(const std::string& name)
    {
        open(name);
        unit_scale();
        colour_rgb(255, 0, 0);
        rectangle(10, 10, 100, 60, 4);
        colour_rgb(0, 0, 0);
        rectangle(120, 20, 200, 90, 4);
        colour_rgb(0, 255, 255);
        rectangle(60, 40, 150, 120, 4);
        colour_rgb(0, 0, 0);
        line(5, 5, 280, 200);
        line(5, 200, 280, 5);
        return page();
    }
    // Whether the printed dot (c, r) of a plane or pass is set in the bitmap.
    static bool expected(const RasterBitmapRecord& b, bool landscape, int plane, int c, int r, bool black_rule)
    {
        const int x = landscape ? b.last_column - r : c;
        const int y = landscape ? b.last_row - c : b.last_row - r;
        const std::uint32_t v = b.value_at(x, y);
        if (b.planes == 1)
            return v != 0;
        if (!black_rule)
            return (v >> plane & 1u) != 0;
        if (plane == 3)
            return v == 7;
        return (v >> plane & 1u) != 0 && v != 7;
    }
    void compare(const RasterBitmapRecord& b, const Dots& d, int planes, bool black_rule)
    {
        const bool landscape = hardcopy_state().options.get(option_orientation) != 0;
        const int columns = landscape ? b.height : b.width, rows = landscape ? b.width : b.height;
        int differences = 0, dots = 0;
        for (int p = 0; p < planes; ++p)
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c) {
                    const bool want = expected(b, landscape, p, c, r, black_rule);
                    dots += want;
                    differences += want != d.at(p, r, c);
                }
        EXPECT_GT(dots, 1000);
        EXPECT_EQ(differences, 0);
    }
};

TEST_F(RasterPrinter, PclDefaultsAndRows)
{
    printer(28);
    open("a.prn");
    EXPECT_EQ(page().width, 1200);
    EXPECT_EQ(page().height, 900);
    EXPECT_EQ(page().printer_columns, 900);
    EXPECT_EQ(page().printer_rows, 1200);
    colour_index(1);
    line(0, 0, 1, 1);
    finish();
    const std::string job = read("a.prn");
    EXPECT_TRUE(job.starts_with("\x1b" "E\x1b&a0700h1000V\x1b*t150R\x1b*r0904s1A\x1b*b2M"));
    EXPECT_TRUE(job.ends_with("\x1b&l01X\x1b*rB\x1b" "E"));

    hc_set_option(option_compression, 0);
    hc_set_option(option_orientation, 0);
    hc_set_option(option_device_on_off, 1);
    open("b.prn");
    unit_scale();
    colour_index(1);
    line(35, 431.9f, 38, 431.9f); // dots up to byte 10 of the first row
    finish();
    const std::string plain = read("b.prn");
    EXPECT_FALSE(plain.starts_with("\x1b" "E"));
    EXPECT_TRUE(plain.ends_with("\x1b*rB\x1b" "E"));
    EXPECT_NE(plain.find("\x1b*b010W"), std::string::npos);
    EXPECT_NE(plain.find("\x1b*b000W"), std::string::npos);
}

TEST_F(RasterPrinter, PclJobsRebuildThePage)
{
    for (int compression : {0, 1, 2}) {
        printer(28);
        hc_set_option(option_page_width, 288);
        hc_set_option(option_page_height, 216);
        hc_set_option(option_compression, compression);
        const RasterBitmapRecord b = draw("c.prn");
        finish();
        int planes = 0;
        const Dots d = decode_pcl(read("c.prn"), planes);
        EXPECT_EQ(planes, 1);
        compare(b, d, 1, false);
    }
    printer(13); // three planes
    hc_set_option(option_page_width, 288);
    hc_set_option(option_page_height, 216);
    const RasterBitmapRecord b = draw("d.prn");
    finish();
    int planes = 0;
    const Dots d = decode_pcl(read("d.prn"), planes);
    EXPECT_EQ(planes, 3);
    compare(b, d, 3, false);
}

TEST_F(RasterPrinter, EscP2JobsRebuildThePage)
{
    for (int type : {36, 37}) {
        printer(type);
        hc_set_option(option_page_width, 144);
        hc_set_option(option_page_height, 108);
        const RasterBitmapRecord b = draw("e.prn");
        finish();
        const std::string job = read("e.prn");
        EXPECT_TRUE(job.starts_with(std::string("\x1b@\x1b(G\x01\x00\x01", 8)));
        compare(b, decode_escp2(job), type == 37 ? 4 : 1, true);
    }
}

TEST_F(RasterPrinter, EscPJobsRebuildThePage)
{
    printer(2); // 8 pins, 240 dpi first: two interleaved passes a band
    hc_set_option(option_raster_resolution, 1);
    hc_set_option(option_page_width, 144);
    hc_set_option(option_page_height, 108);
    RasterBitmapRecord b = draw("f.prn");
    finish();
    std::string job = read("f.prn");
    EXPECT_NE(job.find("\x1b" "3\x01"), std::string::npos);
    EXPECT_NE(job.find("\x1b" "3\x16"), std::string::npos);
    compare(b, decode_escp(job, 8, 2), 1, false);

    printer(17); // 24 pins
    hc_set_option(option_page_width, 144);
    hc_set_option(option_page_height, 108);
    b = draw("g.prn");
    finish();
    job = read("g.prn");
    compare(b, decode_escp(job, 24, 1), 1, false);
}

TEST(RowEncoders, RunsAndLiterals)
{
    const std::string run129(129, '\x55');
    EXPECT_EQ(hc_rasprn_packbits(run129), std::string("\x82\x55\xff\x55", 4));
    EXPECT_EQ(hc_rasprn_packbits("abc"), std::string("\x02" "abc"));
    EXPECT_EQ(hc_rasprn_run_pairs(std::string(300, 'x')), std::string("\xff" "x" "\x2b" "x"));
    EXPECT_EQ(hc_rasprn_pcl_packbits("aab"), std::string("\xff" "a" "\x00" "b", 4));
}

TEST_F(RasterPrinter, NoResolutionFits)
{
    printer(28);
    hc_set_option(option_page_width, 2000000000);
    hc_set_option(option_page_height, 2000000000);
    open("h.prn");
    EXPECT_EQ(error_state().last_error, 34);
    EXPECT_EQ(graphics_state().hardcopy_active, 0);
    EXPECT_FALSE(std::filesystem::exists(path("h.prn")));
}

} // namespace
