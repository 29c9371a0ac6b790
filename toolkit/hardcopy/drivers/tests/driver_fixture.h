// A hardcopy driver under test: the graphics state of a toolkit without a
// screen side, the driver installed under its number, plot files in a
// directory of their own, and the outside readers that check them (run in
// the native tree only: under Wine there are none).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "hardcopy/control/hardcopy_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/control/control.h"

namespace korv::testing {

class DriverTest : public ::testing::Test {
protected:
    DriverTest(int number, Device& driver) : number_(number), driver_(driver) {}

    void SetUp() override;
    void TearDown() override;

    // Selects the driver as a program does, with the graphics area the whole page.
    void select();
    // IGrHardCopy with a file of the test directory; "" keeps the default name.
    void open(const std::string& name, std::optional<std::string_view> title = std::nullopt);
    void finish();
    // Makes one device unit one page unit, through the rescaling open.
    void unit_scale();
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }
    std::string read(const std::string& name) const;
    std::vector<std::string> lines(const std::string& name) const; // without CR LF

    // Operations as the graphics layer sends them, in device units.
    void line(float x1, float y1, float x2, float y2);
    void polyline(const std::vector<float>& xy, int op = 32);
    void rectangle(float x1, float y1, float x2, float y2, int style);
    void ellipse(float x, float y, float rx, float ry, int style);
    void pie(float x, float y, float r, float start_degrees, float end_degrees, int style);
    void text(std::string_view s, float x, float y);
    void colour_rgb(int r, int g, int b);
    void colour_index(int index);
    void line_type(int type);
    // Operation 38 with an image file of w by h pixels; its parameter block.
    DeviceParameters& image(const std::string& file, int w, int h);

    // Runs a command line of the host; its exit status, with stdout in out.
    static int run(const std::string& command, std::string* out = nullptr);
    static bool readers_available();

    int number_;
    Device& driver_;
    std::filesystem::path dir_;

private:
    GraphicsState saved_state_;
    HardcopyState saved_hardcopy_;
    ErrorState saved_errors_;
    PrinterPlotterSettings saved_printer_;
    HardcopyDriverSlot previous_;
};

// A binary PPM as ghostscript and ImageMagick write it.
struct Pixmap {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool read(const std::string& file);
    // Red, green, blue at (x, y) from the top left.
    std::array<int, 3> at(int x, int y) const;
    // Pixels off white by more than 60 in any channel.
    int inked(int x1, int y1, int x2, int y2) const;
};

// A 24-bit BMP of w by h pixels, left half red, right half blue.
void write_bmp(const std::string& file, int w, int h);

} // namespace korv::testing

#define KORV_NEEDS_READERS()                                         \
    do {                                                             \
        if (!korv::testing::DriverTest::readers_available())         \
            GTEST_SKIP() << "outside readers run on the host only";  \
    } while (0)
