// One scene through every file driver: lines of each dash, a solid and a
// hatched rectangle, a solid triangle, a text with markup and Latin-1
// characters, an image. Each file goes to its format's reader
// (read_scene.py); a format no reader here draws is compared with its
// stored file, which regenerate_scene.sh writes anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/tests/driver_fixture.h"

using namespace korv;
using korv::testing::DriverTest;
using korv::testing::write_bmp;

namespace {

// The text in the toolkit's code page: e acute, the euro sign, markup
// characters and parentheses.
constexpr std::string_view scene_text = "\xe9 \x80 < & (Farbe)";

struct SceneCase {
    int driver;
    Device& (*device)();
    const char* file;
    // The options that put the page upright with no offsets.
    std::vector<std::pair<int, int>> options;
    // True: compared with the stored file; false: read by read_scene.py.
    bool stored;
};

std::string stored_path(const std::string& file)
{
#ifdef _WIN32
    // Wine's drive Z: is the host's root.
    return "Z:" KORV_DRIVER_TESTS "/scene/" + file;
#else
    return KORV_DRIVER_TESTS "/scene/" + file;
#endif
}

class Scene : public DriverTest, public ::testing::WithParamInterface<SceneCase> {
protected:
    Scene() : DriverTest(GetParam().driver, GetParam().device()) {}

    void draw()
    {
        const GraphicsState& g = graphics_state();
        const float w = g.device_limit_x, h = g.device_limit_y;
        IGrArea(0, 0, 1, 1);
        colour_rgb(0, 0, 0);
        for (int t = 0; t < 8; ++t) {
            line_type(t);
            const float y = h * (0.92f - 0.04f * static_cast<float>(t));
            line(0.05f * w, y, 0.45f * w, y);
        }
        line_type(0);
        colour_rgb(0, 0, 255);
        IGrFillStyleSet(4);
        IGrRectangle(0.55f, 0.6f, 0.75f, 0.9f);
        colour_rgb(255, 0, 0);
        IGrFillStyleSet(2, 2, 2);
        IGrRectangle(0.8f, 0.6f, 0.95f, 0.9f);
        colour_rgb(0, 160, 0);
        IGrFillStyleSet(4);
        polyline({0.6f * w, 0.25f * h, 0.75f * w, 0.25f * h, 0.6f * w, 0.45f * h}, 11);
        IGrFillStyleSet(0);
        colour_rgb(0, 0, 0);
        text(scene_text, 0.05f * w, 0.25f * h);
        write_bmp(path("image.bmp").string(), 40, 20);
        IGrArea(0.05f, 0.05f, 0.35f, 0.15f);
        image(path("image.bmp").string(), 40, 20);
        IGrArea(0, 0, 1, 1);
    }
};

TEST_P(Scene, EveryDriverWritesTheSceneItsReaderTakes)
{
    const SceneCase& c = GetParam();
    // The raster printer's job is a PCL printer's.
    printer_plotter_settings() = PrinterPlotterSettings{};
    hc_printer_type_init(28);
    select();
    for (const auto& [n, v] : c.options)
        hc_set_option(n, v);
    open(c.file);
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    draw();
    finish();
    ASSERT_EQ(error_state().last_error, 0);
    const std::string written = read(c.file);
    ASSERT_FALSE(written.empty());
    if (const char* again = std::getenv("KORV_SCENE_REGENERATE"); again != nullptr && c.stored) {
        std::ofstream(std::string(again) + "/" + c.file, std::ios::binary) << written;
        return;
    }
    if (c.stored) {
        std::ifstream in(stored_path(c.file), std::ios::binary);
        ASSERT_TRUE(in) << stored_path(c.file);
        std::ostringstream expected;
        expected << in.rdbuf();
        EXPECT_TRUE(written == expected.str()) << c.file << " differs from its stored file";
        return;
    }
    KORV_NEEDS_READERS();
    std::string out;
    EXPECT_EQ(run("/usr/bin/python3 " KORV_DRIVER_TESTS "/read_scene.py " + path(c.file).string(), &out), 0) << out;
}

const std::vector<std::pair<int, int>> upright = {{option_x_offset, 0}, {option_y_offset, 0}, {option_orientation, 0}};

std::vector<std::pair<int, int>> with(std::vector<std::pair<int, int>> options, std::pair<int, int> more)
{
    options.push_back(more);
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    FileDrivers, Scene,
    ::testing::Values(SceneCase{driver_postscript, hc_postscript, "scene.ps", upright, false},
                      SceneCase{driver_postscript, hc_postscript, "scene.eps", with(upright, {option_encapsulated, 1}), false},
                      SceneCase{driver_svg, hc_svg, "scene.svg", upright, false},
                      SceneCase{driver_dxf, hc_dxf, "scene.dxf", upright, false},
                      SceneCase{driver_hpgl, hc_hpgl, "scene.plt", {}, false},
                      SceneCase{driver_raster_image, hc_raster_image, "scene.png", {{option_colour_depth, 24}}, false},
                      SceneCase{driver_raster_image, hc_raster_image, "scene.bmp", {{option_image_file_type, 1}}, false},
                      SceneCase{driver_hpgl2_pcl, hc_pcl_hpgl2, "scene2.plt", {}, true},
                      SceneCase{driver_cgm, hc_cgm, "scene.cgm", {}, true},
                      SceneCase{driver_raster_printer, hc_raster_printer, "scene.prn", {}, true}),
    [](const ::testing::TestParamInfo<SceneCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name)
            if (ch == '.')
                ch = '_';
        return name;
    });

} // namespace
