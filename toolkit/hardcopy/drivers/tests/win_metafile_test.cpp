// The metafile driver: an enhanced metafile on the clipboard, placeable and
// enhanced files (read on the host by libwmf and emf2svg after this test),
// and pages too large for a plain metafile.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/window.h"
#include "core/services/hardcopy.h"
#include "hardcopy/drivers/drivers.h"

using namespace korv;

namespace {

class MetafileDriver : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HardcopyState saved = hardcopy_state();
    ErrorState saved_errors = error_state();

    void SetUp() override
    {
        error_state().report_mode = 0;
        error_state().last_error = 0;
        GraphicsState& g = graphics_state();
        g.screen_active = 0;
        g.drawable_width = 756;
        g.drawable_height = 540;
        device_parameters().count = 0;
        device_parameters().phase = 0;
        hc_dispatch_select(1, driver_windows_metafile);
    }
    void TearDown() override
    {
        IGrHardCopy("S");
        hardcopy_state() = saved;
        error_state() = saved_errors;
    }
    static void picture()
    {
        GraphicsState& s = graphics_state();
        DeviceParameters& p = device_parameters();
        s.colour_mode = 2;
        s.cur_rgb = 0x0000FF;
        gr_send_hardcopy(DeviceOperation::Colour);
        s.fill_style = 4;
        p.phase = 0;
        p.rx1 = 100, p.ry1 = 100, p.rx2 = 300, p.ry2 = 250;
        gr_send_hardcopy(DeviceOperation::RectangleFill);
        p.phase = -1;
        gr_send_hardcopy(DeviceOperation::RectangleFill);
        s.cur_rgb = 0;
        gr_send_hardcopy(DeviceOperation::Colour);
        p.phase = 0;
        p.rx1 = 10, p.ry1 = 10, p.rx2 = 700, p.ry2 = 500;
        gr_send_hardcopy(DeviceOperation::Line);
    }
    static std::string read(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
};

TEST_F(MetafileDriver, NoNameLeavesAnEnhancedMetafileOnTheClipboard)
{
    IGrHardCopy();
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    picture();
    // A shaded triangle, green at its right corner.
    DeviceParameters& p = device_parameters();
    p.poly_x = {500, 740, 500};
    p.poly_y = {300, 300, 530};
    p.shade_value = {0x0000FF, 0x00FF00, 0xFF0000};
    p.shade_count = 3;
    gr_send_hardcopy(DeviceOperation::ShadedPolygon);
    IGrHardCopy("S");
    EXPECT_EQ(error_state().last_error, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_NE(emf, nullptr);
    char description[128] = {};
    const UINT length = GetEnhMetaFileDescriptionA(emf, sizeof description, description);
    EXPECT_EQ(std::string(description, length), std::string("ZOQ metafile driver\0Korvanthide graphic\0\0", 41));
    // Played into a bitmap, the rectangle shows its red.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 378, 270);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT all{0, 0, 378, 270};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(memory, emf, &all);
    CloseClipboard();
    const COLORREF centre = GetPixel(memory, 100, 270 - 88);
    EXPECT_EQ(GetRValue(centre), 255);
    EXPECT_LT(GetBValue(centre), 48);
    const COLORREF shaded = GetPixel(memory, 362, 270 - 153);
    EXPECT_GT(GetGValue(shaded), 160) << std::hex << shaded;
    EXPECT_LT(GetRValue(shaded), 96);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(MetafileDriver, PlaceableAndEnhancedFiles)
{
    hc_set_option(option_metafile_type, 1);
    DeleteFileA("picture.wmf");
    IGrHardCopy("picture.wmf");
    picture();
    IGrHardCopy("S");
    const std::string wmf = read("picture.wmf");
    ASSERT_GT(wmf.size(), 40u);
    EXPECT_EQ(wmf.substr(0, 10), std::string("\xD7\xCD\xC6\x9A\0\0\0\0\0\0", 10));
    const unsigned right = 756 * 1000 / 72, bottom = 540 * 1000 / 72;
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(wmf[at]) | static_cast<unsigned char>(wmf[at + 1]) << 8);
    };
    EXPECT_EQ(u16(10), right);
    EXPECT_EQ(u16(12), bottom);
    EXPECT_EQ(wmf.substr(14, 6), std::string("\xE8\x03\0\0\0\0", 6));
    EXPECT_EQ(u16(20), (0x54F9u ^ right ^ bottom) & 0xFFFF);

    hc_set_option(option_metafile_type, 2);
    DeleteFileA("picture.emf");
    IGrHardCopy("picture.emf");
    picture();
    IGrHardCopy("S");
    EXPECT_GT(read("picture.emf").size(), 100u);
}

TEST_F(MetafileDriver, FilesPlayIntoTheDrawingContext)
{
    hc_set_option(option_metafile_type, 1);
    IGrHardCopy("play.wmf");
    picture();
    IGrHardCopy("S");
    hc_set_option(option_metafile_type, 2);
    IGrHardCopy("play.emf");
    picture();
    IGrHardCopy("S");
    std::ofstream("short.wmf", std::ios::binary) << "0123456789";
    std::ofstream("noise.emf", std::ios::binary) << std::string(100, 'x');

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 378, 270);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HDC saved = window_tables().drawing_dc;
    window_tables().drawing_dc = memory;
    const RECT all{0, 0, 378, 270};
    for (const auto& [type, name] : {std::pair{1, "play.wmf"}, std::pair{2, "play.emf"}}) {
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        int error = -1;
        hc_metafile_play(type, 0, 0, 377, 269, 0, 0, 0, 0, error, name);
        EXPECT_EQ(error, 0) << name;
        const COLORREF centre = GetPixel(memory, 100, 270 - 88);
        EXPECT_GT(GetRValue(centre), 200) << name;
        EXPECT_LT(GetBValue(centre), 60) << name;
    }
    int error = 0;
    hc_metafile_play(1, 0, 0, 377, 269, 0, 0, 0, 0, error, "missing.wmf");
    EXPECT_EQ(error, 1);
    hc_metafile_play(1, 0, 0, 377, 269, 0, 0, 0, 0, error, "short.wmf");
    EXPECT_EQ(error, 2);
    hc_metafile_play(2, 0, 0, 377, 269, 0, 0, 0, 0, error, "noise.emf");
    EXPECT_EQ(error, 2);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    hc_metafile_play(2, 0, 0, 377, 269, 0, 0, 0, 0, error, "C");
    EXPECT_EQ(error, 1095);
    window_tables().drawing_dc = saved;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(MetafileDriver, PlainPagesBeyondSixteenBitsAreRefused)
{
    hc_set_option(option_metafile_type, 0);
    hc_set_option(option_page_width, 3300);
    DeleteFileA("large.wmf");
    IGrHardCopy("large.wmf");
    EXPECT_EQ(error_state().last_error, 34);
    EXPECT_EQ(graphics_state().hardcopy_active, 0);
    EXPECT_EQ(GetFileAttributesA("large.wmf"), INVALID_FILE_ATTRIBUTES);
}

} // namespace
