// The metafile driver: an enhanced metafile on the clipboard, placeable and
// enhanced files (read on the host by libwmf and emf2svg after this test),
// and pages too large for a plain metafile.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "hardcopy/control/hardcopy_state.h"
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

// The records of a plain metafile file (after a placeable header when
// skip is 22): function number and parameter words.
struct Record {
    int function;
    std::vector<std::int16_t> words;
};
std::vector<Record> plain_records(const std::string& bytes, std::size_t skip)
{
    std::vector<Record> out;
    const auto word = [&](std::size_t at) {
        return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    std::size_t at = skip + 18;
    while (at + 6 <= bytes.size()) {
        const std::size_t size = static_cast<std::uint16_t>(word(at)) | static_cast<std::size_t>(static_cast<std::uint16_t>(word(at + 2))) << 16;
        if (size < 3 || at + 2 * size > bytes.size())
            break;
        Record r{static_cast<std::uint16_t>(word(at + 4)), {}};
        for (std::size_t i = 3; i < size; ++i)
            r.words.push_back(word(at + 2 * i));
        out.push_back(std::move(r));
        at += 2 * size;
    }
    return out;
}
std::vector<Record> of(const std::vector<Record>& all, int function)
{
    std::vector<Record> out;
    for (const auto& r : all)
        if (r.function == function)
            out.push_back(r);
    return out;
}

constexpr int meta_polyline = 0x0325, meta_scale_viewport_ext = 0x0412, meta_set_window_org = 0x020B,
              meta_lineto = 0x0213, meta_moveto = 0x0214, meta_pie = 0x081A, meta_rectangle = 0x041B,
              meta_create_pen = 0x02FA, meta_create_brush = 0x02FC;

TEST_F(MetafileDriver, LongPolylinesGoInPiecesOfSixteenBitCounts)
{
    // A placeable file (read on the host by libwmf) with one diagonal of
    // 70,000 points: pieces of 32,767 points, each starting at the last
    // point of the one before.
    hc_set_option(option_metafile_type, 1);
    DeleteFileA("long.wmf");
    IGrHardCopy("long.wmf");
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    GraphicsState& s = graphics_state();
    DeviceParameters& p = device_parameters();
    s.colour_mode = 2;
    s.cur_rgb = 0;
    gr_send_hardcopy(DeviceOperation::Colour);
    const int n = 70000;
    p.poly_x.resize(n);
    p.poly_y.resize(n);
    for (int i = 0; i < n; ++i) {
        p.poly_x[static_cast<std::size_t>(i)] = 20 + 716.0f * static_cast<float>(i) / (n - 1);
        p.poly_y[static_cast<std::size_t>(i)] = 20 + 500.0f * static_cast<float>(i) / (n - 1);
    }
    p.count = n;
    gr_send_hardcopy(DeviceOperation::Polyline);
    IGrHardCopy("S");
    const auto lines = of(plain_records(read("long.wmf"), 22), meta_polyline);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ((std::vector<int>{lines[0].words[0], lines[1].words[0], lines[2].words[0]}),
              (std::vector<int>{32767, 32767, 70000 - 2 * 32766}));
    // Each piece's last point is put one pixel further, as every solid
    // line's is.
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const auto& before = lines[k - 1].words;
        EXPECT_LE(std::abs(lines[k].words[1] - before[before.size() - 2]), 1) << k;
        EXPECT_LE(std::abs(lines[k].words[2] - before.back()), 1) << k;
    }
}

TEST_F(MetafileDriver, PlainMetafileRulesOfTheSharedDriver)
{
    // A plain file in tenths of a point: the back end's edge cases as
    // records. Option 6 = 2 turns near white into near black only.
    hc_set_option(option_metafile_type, 0);
    hc_set_option(option_colour_inversion, 2);
    DeleteFileA("rules.wmf");
    IGrHardCopy("rules.wmf");
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    const float sx = hardcopy_state().scale_x, sy = hardcopy_state().scale_y;
    const float top = graphics_state().device_limit_y;
    const auto rx = [&](float x) { return static_cast<int>(std::lround(x * sx)); };
    const auto ry = [&](float y) { return static_cast<int>(std::lround(sy * (top - y))); };
    GraphicsState& s = graphics_state();
    DeviceParameters& p = device_parameters();
    s.colour_mode = 2;
    const auto line = [&](float x1, float y1, float x2, float y2) {
        p.phase = 0;
        p.rx1 = x1, p.ry1 = y1, p.rx2 = x2, p.ry2 = y2;
        gr_send_hardcopy(DeviceOperation::Line);
    };
    s.cur_rgb = 250 + 256 * 250 + 65536 * 250;
    gr_send_hardcopy(DeviceOperation::Colour);
    line(10, 10, 20, 10); // horizontal: one pixel longer
    s.cur_rgb = 250 + 256 * 250 + 65536 * 200;
    gr_send_hardcopy(DeviceOperation::Colour);
    line(10, 10, 10, 30); // vertical, up the page
    line(10, 10, 20, 13); // any other slope: as given
    // A rectangle beyond the clip box is cut to it.
    s.area_px1 = 100, s.area_py1 = 100, s.area_px2 = 300, s.area_py2 = 250;
    s.fill_style = 4;
    p.phase = 0;
    p.rx1 = 50, p.ry1 = 80, p.rx2 = 400, p.ry2 = 500;
    gr_send_hardcopy(DeviceOperation::RectangleFill);
    // A pie whose two ends round to one pixel, sweeping 5 degrees from 100:
    // its end moves one pixel left and one down.
    p.rx1 = 400, p.ry1 = 300, p.rx2 = 0.01f, p.ry2 = 0.01f;
    p.rx3 = 100 * 3.14159265f / 180, p.ry3 = 105 * 3.14159265f / 180, p.rx4 = 100, p.ry4 = 5;
    gr_send_hardcopy(DeviceOperation::PieFill);
    IGrHardCopy("S");

    const auto records = plain_records(read("rules.wmf"), 0);
    // LOGPEN16: style, width x, width y, colour low word, colour high
    // word. (A recorder keeps the pens put back too, as new ones.)
    std::vector<std::vector<int>> pen_colours;
    for (const auto& pen : of(records, meta_create_pen))
        pen_colours.push_back({pen.words[3] & 0xFF, pen.words[3] >> 8 & 0xFF, pen.words[4] & 0xFF});
    const auto has_pen = [&](std::vector<int> c) { return std::find(pen_colours.begin(), pen_colours.end(), c) != pen_colours.end(); };
    EXPECT_TRUE(has_pen({5, 5, 5}));
    EXPECT_TRUE(has_pen({250, 250, 200}));
    EXPECT_FALSE(has_pen({250, 250, 250}));
    const auto ends = of(records, meta_lineto);
    ASSERT_EQ(ends.size(), 3u);
    // META_LINETO holds y, then x.
    EXPECT_EQ((std::vector<int>{ends[0].words[1], ends[0].words[0]}), (std::vector<int>{rx(20) + 1, ry(10)}));
    EXPECT_EQ((std::vector<int>{ends[1].words[1], ends[1].words[0]}), (std::vector<int>{rx(10), ry(30) - 1}));
    EXPECT_EQ((std::vector<int>{ends[2].words[1], ends[2].words[0]}), (std::vector<int>{rx(20), ry(13)}));
    const auto boxes = of(records, meta_rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    // bottom, right, top, left; the right and bottom edges reach two past.
    EXPECT_EQ((std::vector<int>{boxes[0].words[3], boxes[0].words[2], boxes[0].words[1], boxes[0].words[0]}),
              (std::vector<int>{rx(100), ry(250), rx(300) + 2, ry(100) + 2}));
    const auto pies = of(records, meta_pie);
    ASSERT_EQ(pies.size(), 1u);
    // End y, end x, start y, start x, then the box.
    EXPECT_EQ(pies[0].words[1], pies[0].words[3] - 1);
    EXPECT_EQ(pies[0].words[0], pies[0].words[2] + 1);
}

TEST_F(MetafileDriver, FillsTakeTheColourOfTheirLinesUnderInversion)
{
    // Option 6 inverts a colour once, as it comes: the pen and the brush
    // of one colour are the same. Option 1 turns black white; option 2
    // turns near black (5, 5, 5) into (250, 250, 250) and leaves mid grey.
    struct Case {
        int inversion;
        std::int32_t rgb;
        std::vector<int> drawn;
    };
    const std::vector<Case> cases = {{1, 0x000000, {255, 255, 255}},
                                     {1, 0x3C1E0A, {245, 225, 195}},
                                     {2, 0x050505, {250, 250, 250}},
                                     {2, 0x808080, {128, 128, 128}}};
    hc_set_option(option_metafile_type, 0);
    for (const Case& c : cases) {
        hc_set_option(option_colour_inversion, c.inversion);
        DeleteFileA("inverted.wmf");
        IGrHardCopy("inverted.wmf");
        ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
        GraphicsState& s = graphics_state();
        DeviceParameters& p = device_parameters();
        s.colour_mode = 2;
        s.prev_rgb = s.cur_rgb = c.rgb;
        gr_send_hardcopy(DeviceOperation::Colour);
        p.phase = 0;
        p.rx1 = 10, p.ry1 = 10, p.rx2 = 300, p.ry2 = 10;
        gr_send_hardcopy(DeviceOperation::Line);
        s.fill_style = 4;
        p.rx1 = 100, p.ry1 = 100, p.rx2 = 300, p.ry2 = 250;
        gr_send_hardcopy(DeviceOperation::RectangleFill);
        p.phase = -1;
        gr_send_hardcopy(DeviceOperation::RectangleFill);
        p.phase = 0;
        IGrHardCopy("S");
        hc_set_option(option_colour_inversion, 0);

        const auto records = plain_records(read("inverted.wmf"), 0);
        // LOGPEN16: style, width x, width y, colour; LOGBRUSH16: style,
        // colour, hatch. The colour is two words, red and green in the first.
        const auto rgb_at = [](const Record& r, std::size_t k) {
            return std::vector<int>{r.words[k] & 0xFF, r.words[k] >> 8 & 0xFF, r.words[k + 1] & 0xFF};
        };
        const auto pens = of(records, meta_create_pen), brushes = of(records, meta_create_brush);
        ASSERT_FALSE(pens.empty()) << c.rgb;
        ASSERT_FALSE(brushes.empty()) << c.rgb;
        EXPECT_EQ(rgb_at(pens.front(), 3), c.drawn) << c.rgb;
        EXPECT_EQ(rgb_at(brushes.front(), 1), c.drawn) << c.rgb;
    }
}

TEST_F(MetafileDriver, SystemDashesForOptionTwentyNine)
{
    const int saved_nt = display_info().windows_nt;
    display_info().windows_nt = 1;
    std::vector<DWORD> styles;
    for (const int system : {0, 1}) {
        hc_set_option(option_metafile_type, 2);
        hc_set_option(option_metafile_system_dashes, system);
        const std::string name = "dashes" + std::to_string(system) + ".emf";
        DeleteFileA(name.c_str());
        IGrHardCopy(name);
        ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
        graphics_state().line_type = 2;
        gr_send_hardcopy(DeviceOperation::LineType);
        DeviceParameters& p = device_parameters();
        p.rx1 = 10, p.ry1 = 10, p.rx2 = 300, p.ry2 = 10;
        gr_send_hardcopy(DeviceOperation::Line);
        IGrHardCopy("S");
        graphics_state().line_type = 0;
        const std::string bytes = read(name.c_str());
        // The pen's style: in EMR_EXTCREATEPEN after the bitmap offsets; a
        // recorder may keep a geometric pen as EMR_CREATEPEN, style first.
        for (std::size_t at = 0; at + 8 <= bytes.size();) {
            DWORD type = 0, size = 0;
            std::memcpy(&type, bytes.data() + at, 4);
            std::memcpy(&size, bytes.data() + at + 4, 4);
            if (size < 8)
                break;
            if (type == EMR_EXTCREATEPEN || type == EMR_CREATEPEN) {
                DWORD style = 0;
                std::memcpy(&style, bytes.data() + at + (type == EMR_EXTCREATEPEN ? 28 : 12), 4);
                styles.push_back(style);
            }
            at += size;
        }
    }
    display_info().windows_nt = saved_nt;
    ASSERT_EQ(styles.size(), 2u);
    EXPECT_EQ(styles[0] & (PS_STYLE_MASK | PS_TYPE_MASK), static_cast<DWORD>(PS_USERSTYLE | PS_GEOMETRIC));
    EXPECT_EQ(styles[1] & (PS_STYLE_MASK | PS_TYPE_MASK), static_cast<DWORD>(PS_DASH | PS_GEOMETRIC));
}

TEST_F(MetafileDriver, PlayingIntoAPlainMetafileScalesItsViewport)
{
    // A picture to play, then a plain file that plays it into the
    // rectangle (100, 50) to (299, 149) of its own extents.
    hc_set_option(option_metafile_type, 0);
    IGrHardCopy("inner.wmf");
    picture();
    IGrHardCopy("S");
    DeleteFileA("outer.wmf");
    IGrHardCopy("outer.wmf");
    ASSERT_EQ(graphics_state().hardcopy_active, 1);
    int error = -1;
    hc_metafile_play(0, 100, 50, 299, 149, 11, 0, 0, 0, error, "inner.wmf");
    EXPECT_EQ(error, 0);
    IGrHardCopy("S");
    const auto records = plain_records(read("outer.wmf"), 0);
    // The outer file's extents: 7560 + 1 by 5400 + 1 tenths of a point.
    const int w = 7561, h = 5401;
    const auto origins = of(records, meta_set_window_org);
    ASSERT_FALSE(origins.empty());
    EXPECT_EQ((std::vector<int>{origins.front().words[1], origins.front().words[0]}),
              (std::vector<int>{-(100 * w / 199), -(50 * h / 99)}));
    const auto scales = of(records, meta_scale_viewport_ext);
    ASSERT_EQ(scales.size(), 1u);
    // yDenom, yNum, xDenom, xNum.
    EXPECT_EQ(scales[0].words, (std::vector<std::int16_t>{static_cast<std::int16_t>(h), 100, static_cast<std::int16_t>(w), 200}));
}

} // namespace
