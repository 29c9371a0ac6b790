// Halftone masks of a colour and the dither tables.
#include <gtest/gtest.h>

#include <bit>
#include <memory>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "hardcopy/drivers/halftone.h"

using namespace korv;

namespace {

class Halftone : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HardcopyState saved = hardcopy_state();

    void SetUp() override
    {
        graphics_state().colour_mode = 2;
        graphics_state().hardcopy_colour_count = 256;
        hc_halftone_overrides_reset();
    }
    void TearDown() override { hardcopy_state() = saved; }
    HalftoneMasks of(int r, int g, int b, int mode = 0)
    {
        graphics_state().cur_rgb = r + 256 * g + 65536 * b;
        return hc_halftone_masks(mode);
    }
};

TEST_F(Halftone, LevelMasks)
{
    EXPECT_EQ(hc_halftone_level_mask(1, 128.0f / 255.0f), 0xAA55AA55u);
    EXPECT_EQ(hc_halftone_level_mask(1, 7.0f / 32.0f), 0x11442202u);
    EXPECT_EQ(hc_halftone_level_mask(2, 0), 0u);
    EXPECT_EQ(hc_halftone_level_mask(3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(std::popcount(hc_halftone_level_mask(1, 248.0f / 255.0f)), 31);
    for (int n = 1; n < 31; ++n)
        for (int plane = 1; plane <= 3; ++plane)
            EXPECT_EQ(std::popcount(hc_halftone_level_mask(plane, static_cast<float>(n) / 32.0f)), n) << n;
}

TEST_F(Halftone, MasksOfTheCurrentColour)
{
    HalftoneMasks m = of(0, 0, 0);
    EXPECT_EQ(m.plane1 | m.plane2 | m.plane3, 0u);
    m = of(255, 255, 255);
    EXPECT_EQ(m.plane1 & m.plane2 & m.plane3, 0xFFFFFFFFu);
    m = of(128, 128, 128);
    EXPECT_EQ(m.plane2, m.plane1);
    EXPECT_EQ(m.plane3, m.plane1);
    m = of(255, 0, 0, 2); // complemented for a printer of cyan, magenta, yellow
    EXPECT_EQ(m.plane1, 0u);
    EXPECT_EQ(m.plane2, 0xFFFFFFFFu);

    *hardcopy_state().options.find(option_colour_inversion) = 2;
    EXPECT_EQ(of(5, 5, 5).plane1, hc_halftone_level_mask(1, 250.0f / 255.0f));
    EXPECT_EQ(of(128, 5, 5).plane1, 0xAA55AA55u);

    graphics_state().hardcopy_colour_count = 2;
    *hardcopy_state().options.find(option_colour_inversion) = 1;
    m = of(255, 255, 255);
    EXPECT_EQ(m.plane1, 0xFFFFFFFFu);
    EXPECT_EQ(m.plane3, 0xFFFFFFFFu);
    *hardcopy_state().options.find(option_colour_inversion) = 0;
    graphics_state().colour_mode = 1;
    graphics_state().cur_index = 5;
    halftone_override_table()[5] = {0, 0x12345678u};
    EXPECT_EQ(hc_halftone_masks(0).plane1, 0x12345678u);
}

TEST_F(Halftone, DitherTables)
{
    auto tables = std::make_unique<RasterDitherTables>();
    hc_raster_mask_tables(*tables);
    const std::size_t black = RasterDitherTables::index(0, 0, 0), white = RasterDitherTables::index(15, 15, 15);
    EXPECT_EQ(tables->red[black] | tables->green[black] | tables->blue[black], 0u);
    EXPECT_EQ(tables->red[white] & tables->green[white] & tables->blue[white], 0xFFFFFFFFu);
    const std::size_t red = RasterDitherTables::index(0, 0, 15);
    EXPECT_EQ(tables->red[red], 0xFFFFFFFFu);
    EXPECT_EQ(tables->green[red], 0u);
    const std::size_t grey = RasterDitherTables::index(7, 7, 7);
    EXPECT_EQ(tables->green[grey], tables->red[grey]);
}

} // namespace
