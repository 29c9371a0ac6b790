// Shaded polygons, image files and saved areas on real GDI memory bitmaps,
// and enhanced-metafile slots, under Wine.
#include "korvanthide/bitmaps.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/images.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/services/hardcopy.h"
#include "graphics/formats/image_decode.h"
#include "graphics/gdi_primitives.h"
#include "graphics/formats/image_write.h"
#include "graphics/image_files_win.h"
#include "graphics/metafile_slots.h"
#include "graphics/metafile_win.h"
#include "graphics/presentation_graphics.h"
#include "graphics/stroke_font.h"
#include "graphics/bitmap_slots.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace korv;

namespace {

constexpr std::int32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, white = 0xFFFFFF;

int channel(std::int32_t rgb, int k) { return (rgb >> (8 * k)) & 0xFF; }

std::vector<std::int32_t> pattern(int w, int h)
{
    std::vector<std::int32_t> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.push_back((x * 40 % 256) + 256 * (y * 50 % 256) + 65536 * ((x + y) * 20 % 256));
    return p;
}

std::string temp_file(const std::string& name) { return ::testing::TempDir() + name; }

class OnBitmap : public ::testing::Test {
protected:
    int handle = 0;
    void SetUp() override
    {
        WindowOpen(7 | 0x80, 0, 0, 640, 480);
        error_state().last_error = 0;
    }
    void TearDown() override
    {
        IGrSelect(1);
        bmp_destroy_all();
        WRootWindowClose();
    }
    void target(int w, int h, std::int32_t colour = white)
    {
        WBitmapCreate(handle, w, h, colour);
        ASSERT_GT(handle, 0);
        IGrSelect(2, handle);
        ASSERT_EQ(error_state().last_error, 0);
    }
    std::vector<std::int32_t> pixels()
    {
        int w = 0, h = 0, status = -1;
        bmp_size(handle - 1, w, h);
        std::vector<std::int32_t> out(static_cast<std::size_t>(w * h));
        bmp_get_pixels(handle - 1, out, 0, 0, w - 1, h - 1, status);
        EXPECT_EQ(status, 0);
        return out;
    }
    // Operation 38 of a file into the whole bitmap: the status.
    int draw_file(int code, const std::string& name, bool stretch)
    {
        auto& p = device_parameters();
        p.px1 = code;
        p.py1 = stretch ? 1 : 0;
        p.py3 = 2;
        p.image_file_set(name);
        gr_send_screen(DeviceOperation::ImageFile);
        return p.phase;
    }
};

// What the root window's graphics start-up sets up beside the drawing state.
TEST_F(OnBitmap, StartUpSetsTextAndGraphDefaults)
{
    const auto& f = graphics_state().char_width_factor;
    EXPECT_FLOAT_EQ(f[64], 1.54f);
    EXPECT_FLOAT_EQ(f[87], 1.50f);
    EXPECT_FLOAT_EQ(f[105], 0.46f);
    EXPECT_EQ(stroke_fonts().standard.name, "standard.chr");
    EXPECT_EQ(stroke_fonts().standard.glyphs.size(), 3455u);
    EXPECT_EQ(pg_state().pg_type, 4);
    EXPECT_EQ(pg_state().pg_set_count, 500);
    for (int n = 1; n <= metafile_slot_count; ++n)
        EXPECT_EQ(metafile_slot(n)->kind, metafile_free);
}

TEST_F(OnBitmap, ShadedSquareByGradientFillAndPixelByPixel)
{
    for (int shading : {2, 1}) {
        target(40, 40);
        ASSERT_EQ(device_capabilities().screen.shading, 2) << "GradientFill is loaded by the root window";
        device_capabilities().screen.shading = shading;
        auto& p = device_parameters();
        p.poly_x = {0, 39, 39, 0};
        p.poly_y = {0, 0, 39, 39};
        p.shade_value = {red, green, blue, white};
        p.shade_count = 4;
        gr_send_screen(DeviceOperation::ShadedPolygon);
        const auto px = pixels();
        const auto at = [&](int x, int y_up) { return px[static_cast<std::size_t>((39 - y_up) * 40 + x)]; };
        // One pixel inside each corner (GradientFill leaves the right and
        // bottom edges to the neighbouring shape).
        for (const auto& [x, y, c] : std::vector<std::tuple<int, int, std::int32_t>>{
                 {1, 1, red}, {38, 1, green}, {38, 38, blue}, {1, 38, white}})
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(channel(at(x, y), k), channel(c, k), 16) << shading << " " << x << "," << y;
        // The centre lies on the shared diagonal: the mix of its two ends.
        const std::int32_t centre = at(20, 20);
        const auto near_mix = [&](std::int32_t a, std::int32_t b) {
            for (int k = 0; k < 3; ++k)
                if (std::abs(channel(centre, k) - (channel(a, k) + channel(b, k)) / 2) > 12)
                    return false;
            return true;
        };
        EXPECT_TRUE(near_mix(red, blue) || near_mix(green, white)) << shading << " centre " << std::hex << centre;
        IGrSelect(1);
        WBitmapDestroy(handle);
    }
}

TEST_F(OnBitmap, FilesDrawPixelForPixel)
{
    const int w = 7, h = 5;
    const auto picture = pattern(w, h);
    for (const auto& [code, name] : std::vector<std::pair<int, std::string>>{
             {1, "drawn.bmp"}, {2, "drawn.pcx"}, {15, "drawn.png"}}) {
        ByteSink sink;
        int zlib = 0;
        if (code == 1)
            bmp_encode({w, h, picture}, sink);
        else if (code == 2)
            pcx_encode({w, h, picture}, sink);
        else
            png_encode({w, h, picture}, sink, zlib);
        ASSERT_TRUE(sink.commit(temp_file(name)).ok());
        target(12, 9);
        ASSERT_EQ(draw_file(code, temp_file(name), false), 0) << name;
        const auto px = pixels();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(px[static_cast<std::size_t>(y * 12 + x)], picture[static_cast<std::size_t>(y * w + x)])
                    << name << " " << x << "," << y;
        // Drawn 7 wide: the PCX line's pad byte is no pixel.
        EXPECT_EQ(px[static_cast<std::size_t>(w)], white) << name;
        IGrSelect(1);
        WBitmapDestroy(handle);
    }

    // Turned by 90 degrees, pixel (x, y) of the picture to (y, w-1-x) of
    // the turned one. Without world transforms the turned picture is put
    // at the clip box's top-left corner; through the transform it is drawn
    // unturned at the turned box's top-left corner, which the turn takes
    // to the clip box's bottom-left corner.
    for (const int nt : {0, 1}) {
        const int saved_nt = display_info().windows_nt;
        display_info().windows_nt = nt;
        graphics_state().rotation = 90;
        target(12, 9);
        ASSERT_EQ(draw_file(1, temp_file("drawn.bmp"), false), 0);
        graphics_state().rotation = 0;
        display_info().windows_nt = saved_nt;
        const auto turned = pixels();
        const int top = nt != 0 ? 9 - w : 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(turned[static_cast<std::size_t>((top + w - 1 - x) * 12 + y)],
                          picture[static_cast<std::size_t>(y * w + x)])
                    << "turned " << x << "," << y << " nt " << nt;
        EXPECT_EQ(turned[static_cast<std::size_t>((nt != 0 ? 0 : 8) * 12)], white) << nt;
        IGrSelect(1);
        WBitmapDestroy(handle);
    }

    // Stretched, a 2 by 2 picture fills the clip box.
    const std::vector<std::int32_t> four = {red, green, blue, white};
    ByteSink small;
    bmp_encode({2, 2, four}, small);
    ASSERT_TRUE(small.commit(temp_file("four.bmp")).ok());
    target(10, 10, 0);
    ASSERT_EQ(draw_file(1, temp_file("four.bmp"), true), 0);
    const auto px = pixels();
    EXPECT_EQ(px[0], red);
    EXPECT_EQ(px[9], green);
    EXPECT_EQ(px[90], blue);
    EXPECT_EQ(px[99], white);
    IGrSelect(1);
    WBitmapDestroy(handle);

    // Turned through the world transform, it fills the clip box all the
    // same: the corners top-left, top-right, bottom-left, bottom-right.
    const int saved_nt = display_info().windows_nt;
    display_info().windows_nt = 1;
    for (const auto& [rotation, corners] : std::vector<std::pair<int, std::array<std::int32_t, 4>>>{
             {90, {green, white, red, blue}}, {180, {white, blue, green, red}}, {270, {blue, red, white, green}}}) {
        graphics_state().rotation = rotation;
        target(10, 10, 0);
        ASSERT_EQ(draw_file(1, temp_file("four.bmp"), true), 0);
        graphics_state().rotation = 0;
        const auto turned = pixels();
        EXPECT_EQ((std::array<std::int32_t, 4>{turned[0], turned[9], turned[90], turned[99]}), corners) << rotation;
        IGrSelect(1);
        WBitmapDestroy(handle);
    }
    display_info().windows_nt = saved_nt;
}

TEST_F(OnBitmap, DamagedFilesAndTheClipboardDrawNothing)
{
    target(8, 8);
    // A PNG whose header claims 70000 columns.
    ByteSink png;
    int zlib = 0;
    const auto picture = pattern(2, 2);
    png_encode({2, 2, picture}, png, zlib);
    std::string bytes = png.bytes();
    bytes[16] = 0;
    bytes[17] = 1;
    bytes[18] = 0x11;
    bytes[19] = 0x70;
    {
        std::ofstream(temp_file("wide.png"), std::ios::binary) << bytes;
    }
    EXPECT_EQ(draw_file(15, temp_file("wide.png"), false), 2);
    EXPECT_EQ(pixels(), std::vector<std::int32_t>(64, white));
    // The type chooses the reader: a good PNG given as a BMP or a PCX is a
    // format the reader does not read. A missing file cannot be opened.
    ByteSink good;
    png_encode({40, 40, pattern(40, 40)}, good, zlib);
    ASSERT_GT(good.size(), 128u);
    ASSERT_TRUE(good.commit(temp_file("good.png")).ok());
    EXPECT_EQ(draw_file(1, temp_file("good.png"), false), 27);
    EXPECT_EQ(draw_file(2, temp_file("good.png"), false), 27);
    EXPECT_EQ(draw_file(15, temp_file("good.png"), false), 0);
    EXPECT_EQ(draw_file(15, temp_file("none.png"), false), 1);
    EXPECT_EQ(device_parameters().count, ERROR_FILE_NOT_FOUND);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    EXPECT_EQ(draw_file(0, "", false), 1095);
    (void)zlib;
}

TEST_F(OnBitmap, SavedAreasReadBackAsDrawn)
{
    const int w = 3, h = 2;
    target(w, h);
    const auto picture = pattern(w, h);
    int status = -1;
    bmp_put_pixels(handle - 1, picture, 0, 0, w - 1, h - 1, status);
    ASSERT_EQ(status, 0);
    IGrSelect(2, handle);
    HDC dc = window_tables().drawing_dc;
    for (const auto& [code, name] : std::vector<std::pair<int, std::string>>{
             {1, "area.bmp"}, {2, "area.pcx"}, {15, "area.png"}}) {
        int system_code = 0;
        ASSERT_EQ(img_save_area(dc, code, {0, 0, w - 1, h - 1}, system_code, temp_file(name)), 0) << name;
        std::ifstream in(temp_file(name), std::ios::binary);
        const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto back = image_decode(file, code, false);
        ASSERT_EQ(back.error, 0) << name;
        EXPECT_EQ(std::vector<std::int32_t>(back.pixels.begin(), back.pixels.end()), picture) << name;
        if (code == 2) {
            EXPECT_EQ(file[66] | file[67] << 8, 4);
            EXPECT_EQ(file[8] | file[9] << 8, 2);
            EXPECT_EQ(file[65], 3);
        }
    }
    // Saved to the clipboard and drawn from it: the same pixels.
    int system_code = 0;
    ASSERT_EQ(img_save_area(dc, 0, {0, 0, w - 1, h - 1}, system_code, ""), 0);
    IGrSelect(1);
    int copy = 0;
    WBitmapCreate(copy, w, h, 0);
    IGrSelect(2, copy);
    auto& p = device_parameters();
    p.px1 = 0;
    p.py1 = 0;
    gr_send_screen(DeviceOperation::ImageFile);
    EXPECT_EQ(p.phase, 0);
    handle = copy;
    EXPECT_EQ(pixels(), picture);
}

TEST_F(OnBitmap, EnhancedMetafileSlots)
{
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_enhanced(3, 72, 36));
    IGrSelect(4, 3);
    EXPECT_EQ(error_state().last_error, 0);
    IGrSelect(1);
    // A recording slot that is copied is closed first, and no longer takes drawing.
    int system_code = 0;
    ASSERT_EQ(emf_copy_to_file(2, system_code, temp_file("slot.emf")), 0);
    ENHMETAHEADER header{};
    ASSERT_TRUE(GetEnhMetaFileHeader(emf_handle(2), sizeof header, &header));
    EXPECT_EQ(header.rclFrame.right, 2540);
    EXPECT_EQ(header.rclFrame.bottom, 1270);
    IGrSelect(4, 3);
    EXPECT_EQ(error_state().last_error, 1019);
    // Loading nothing, or more than the file holds: status 2, entry empty.
    EXPECT_EQ(emf_load_file(4, 0, system_code, temp_file("slot.emf")), 2);
    EXPECT_EQ(emf_handle(4), nullptr);
    EXPECT_EQ(emf_load_file(4, 1 << 30, system_code, temp_file("slot.emf")), 2);
    std::ifstream in(temp_file("slot.emf"), std::ios::binary | std::ios::ate);
    EXPECT_EQ(emf_load_file(4, static_cast<long long>(in.tellg()), system_code, temp_file("slot.emf")), 0);
    EXPECT_NE(emf_handle(4), nullptr);
    emf_delete(4);
    WMetafileDestroy(3);
    EXPECT_EQ(metafile_slot(3)->kind, metafile_free);

    // A picture recorded into a slot plays into the drawing target, fitted
    // into the rectangle given.
    ASSERT_TRUE(metafile_slot_create_enhanced(5, 100, 100));
    error_state().last_error = 0;
    IGrSelect(4, 5);
    ASSERT_EQ(error_state().last_error, 0);
    IGrColourModeSelect(24);
    IGrColourN(0x0000FF);
    IGrFillStyleSet(4);
    IGrRectangle(0.0f, 0.0f, 1.0f, 1.0f);
    IGrSelect(1);
    target(20, 20);
    emf_play(4, 0, 0, 20, 20);
    EXPECT_EQ(pixels()[10 * 20 + 10], red);
    WMetafileDestroy(5);
}

TEST_F(OnBitmap, MetafileReferenceDeviceAndLineWidths)
{
    // The hardcopy side's information context on the default printer is
    // the reference when it gives one; otherwise the screen.
    int printer_resolution = 0;
    if (hardcopy_services().printer_information_context) {
        if (HDC printer = reinterpret_cast<HDC>(hardcopy_services().printer_information_context())) {
            printer_resolution = GetDeviceCaps(printer, LOGPIXELSX);
            DeleteDC(printer);
        }
    }
    HDC screen = GetDC(nullptr);
    const int screen_resolution = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_enhanced(1, 144, 72));
    EXPECT_EQ(emf_reference_resolution(), printer_resolution != 0 ? printer_resolution : screen_resolution);
    const auto saved = hardcopy_services().printer_information_context;
    hardcopy_services().printer_information_context = []() -> HDC__* { return nullptr; };
    ASSERT_TRUE(metafile_slot_create_enhanced(2, 144, 72));
    EXPECT_EQ(emf_reference_resolution(), screen_resolution);
    hardcopy_services().printer_information_context = saved;

    // Line widths on a metafile follow the slot's scale; a slot without a
    // width in points keeps the plain width.
    auto& g = graphics_state();
    IGrSelect(4, 2);
    ASSERT_EQ(error_state().last_error, 0);
    g.line_width = 3;
    g.metafile_line_width = 20;
    gr_send_screen(DeviceOperation::LineWidth);
    EXPECT_EQ(gdi_state().line_width, 20 * metafile_slot(2)->device_width / (10 * 144));
    metafile_slot(2)->width_points = 0;
    gr_send_screen(DeviceOperation::LineWidth);
    EXPECT_EQ(gdi_state().line_width, 3);
    IGrSelect(1);
    metafile_slots_release();
}

} // namespace
