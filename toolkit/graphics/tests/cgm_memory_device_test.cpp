// The in-memory CGM device and the metafile slots, read back element by element.
#include "graphics/cgm_memory_device.h"
#include "graphics/formats/cgm_elements.h"
#include "graphics/formats/image_write.h"
#include "graphics/metafile_slots.h"

#include "korvanthide/bitmaps.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/errors_text.h"
#include "testing/report_capture.h"
#include "graphics/screen_device.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

using namespace korv;

namespace {

struct Element {
    int element_class, id;
    std::vector<std::uint8_t> params;
    int word(std::size_t i) const { return static_cast<std::int16_t>(params[2 * i] << 8 | params[2 * i + 1]); }
};

// Splits a binary CGM into its elements, joining partitions.
std::vector<Element> elements(const MetafileSlot& s)
{
    std::vector<Element> out;
    const auto& b = s.buffer;
    std::size_t pos = 0;
    auto word = [&]() {
        const int w = b.at(pos) << 8 | b.at(pos + 1);
        pos += 2;
        return w;
    };
    while (pos < static_cast<std::size_t>(s.bytes_used)) {
        const int head = word();
        Element e{head >> 12, (head >> 5) & 127, {}};
        int length = head & 31;
        bool more = false;
        if (length == 31) {
            const int w = word();
            length = w & 0x7FFF;
            more = (w & 0x8000) != 0;
        }
        while (true) {
            e.params.insert(e.params.end(), b.begin() + static_cast<long>(pos), b.begin() + static_cast<long>(pos + length));
            pos += static_cast<std::size_t>(length + length % 2);
            if (!more)
                break;
            const int w = word();
            length = w & 0x7FFF;
            more = (w & 0x8000) != 0;
        }
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<Element> of(const std::vector<Element>& all, int element_class, int id)
{
    std::vector<Element> out;
    for (const auto& e : all)
        if (e.element_class == element_class && e.id == id)
            out.push_back(e);
    return out;
}

class CgmDevice : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    CgmMemoryDevice device;
    DeviceParameters p;
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};

    void SetUp() override
    {
        metafile_slots_clear();
        record(72, 72);
    }
    void TearDown() override
    {
        metafile_slots_clear();
    }
    void record(int width_points, int height_points, int capacity = 1 << 20)
    {
        metafile_slots_clear();
        ASSERT_TRUE(metafile_slot_create_cgm(1, width_points, height_points, capacity));
        auto& g = graphics_state();
        g.target_kind = target_metafile;
        g.target_number = 1;
        g.colour_mode = 2;
        g.cur_rgb = 0x0000FF;
        device.operate(DeviceOperation::MetafileHeader, p);
        device.operate(DeviceOperation::Open, p);
        device.operate(DeviceOperation::Colour, p);
    }
    MetafileSlot& slot() { return *metafile_slot(1); }
};

TEST_F(CgmDevice, HeaderGivesTheVdcExtentFromThePoints)
{
    auto extent = of(elements(slot()), 2, 6);
    ASSERT_EQ(extent.size(), 1u);
    EXPECT_EQ((std::vector<int>{extent[0].word(2), extent[0].word(3)}), (std::vector<int>{600, 600}));
    EXPECT_EQ(elements(slot()).front().id, 1); // BEGIN METAFILE first
    EXPECT_EQ(of(elements(slot()), 1, 13)[0].params.size(), 260u);

    record(4000, 3000);
    extent = of(elements(slot()), 2, 6);
    EXPECT_EQ((std::vector<int>{extent[0].word(2), extent[0].word(3)}), (std::vector<int>{32767, 24575}));
    EXPECT_EQ(slot().device_width, 32767);
}

TEST_F(CgmDevice, LineColourIsWrittenOnlyWhenItChanges)
{
    p.px1 = 1, p.py1 = 2, p.px2 = 30, p.py2 = 40;
    device.operate(DeviceOperation::Line, p);
    device.operate(DeviceOperation::Line, p);
    EXPECT_EQ(of(elements(slot()), 5, 4).size(), 1u);
    EXPECT_EQ(of(elements(slot()), 4, 1).size(), 2u);
    device.operate(DeviceOperation::Open, p);
    device.operate(DeviceOperation::Line, p);
    const auto colours = of(elements(slot()), 5, 4);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[1].params, (std::vector<std::uint8_t>{255, 0, 0, 0}));
}

TEST_F(CgmDevice, LongPolylinesAreSplitSharingTheirEndPoints)
{
    const int n = 20000;
    for (int i = 1; i <= n; ++i) {
        p.poly_x.push_back(static_cast<float>(i % 30000));
        p.poly_y.push_back(0);
    }
    p.count = n;
    device.operate(DeviceOperation::Polyline, p);
    const auto lines = of(elements(slot()), 4, 1);
    ASSERT_EQ(lines.size(), 3u);
    const std::pair<int, int> ranges[3] = {{1, 8191}, {8191, 16381}, {16381, 20000}};
    for (int k = 0; k < 3; ++k) {
        const auto& e = lines[static_cast<std::size_t>(k)];
        const std::size_t points = e.params.size() / 4;
        EXPECT_EQ(e.word(0), ranges[k].first);
        EXPECT_EQ(e.word(2 * (points - 1)), ranges[k].second);
    }

    // A filled polygon keeps its first 8191 points.
    p.count = 9000;
    device.operate(DeviceOperation::PolygonSolid, p);
    EXPECT_EQ(of(elements(slot()), 4, 7).back().params.size(), 4u * 8191u);
}

TEST_F(CgmDevice, ImageRowsAreRunLengthCells)
{
    const std::string name = ::testing::TempDir() + "white.bmp";
    ByteSink file;
    const std::vector<std::int32_t> white = {0xFFFFFF};
    bmp_encode({1, 1, white}, file);
    ASSERT_TRUE(file.commit(name).ok());
    p.image_file_set(name);
    p.px2 = 1, p.py2 = 1;
    device.operate(DeviceOperation::ImageFile, p);
    EXPECT_EQ(p.phase, 0);
    const auto cells = of(elements(slot()), 4, 9);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(std::vector<std::uint8_t>(cells[0].params.begin() + 20, cells[0].params.end()),
              (std::vector<std::uint8_t>{0, 1, 255, 255, 255, 0}));
    // The row's word: 6 bytes, the last row.
    const auto& b = slot().buffer;
    const std::size_t at = static_cast<std::size_t>(slot().bytes_used) - 8;
    EXPECT_EQ(b[at] << 8 | b[at + 1], 6);

    // A run's count is a signed 16-bit number: a longer run of one colour
    // is split.
    ByteSink long_file;
    bmp_encode({40000, 1, std::vector<std::int32_t>(40000, 0xFFFFFF)}, long_file);
    ASSERT_TRUE(long_file.commit(name).ok());
    p.px2 = 40000;
    device.operate(DeviceOperation::ImageFile, p);
    EXPECT_EQ(p.phase, 0);
    const auto long_cells = of(elements(slot()), 4, 9);
    ASSERT_EQ(long_cells.size(), 2u);
    EXPECT_EQ(std::vector<std::uint8_t>(long_cells[1].params.begin() + 20, long_cells[1].params.end()),
              (std::vector<std::uint8_t>{0x7F, 0xFF, 255, 255, 255, 0x1C, 0x41, 255, 255, 255}));

    // A file that cannot be read, or a damaged one: its error in the phase
    // word, no element.
    const int used = slot().bytes_used;
    p.image_file_set(::testing::TempDir() + "missing.png");
    device.operate(DeviceOperation::ImageFile, p);
    EXPECT_NE(p.phase, 0);
    EXPECT_EQ(slot().bytes_used, used);
    ByteSink png;
    int zlib = 0;
    ASSERT_EQ(png_encode({1, 1, white}, png, zlib), 0);
    std::string wide = png.bytes();
    wide[17] = 1; // 70000 columns
    wide[18] = 0x11;
    wide[19] = 0x70;
    const std::string damaged = ::testing::TempDir() + "wide.png";
    {
        std::ofstream(damaged, std::ios::binary) << wide;
    }
    p.image_file_set(damaged);
    device.operate(DeviceOperation::ImageFile, p);
    EXPECT_EQ(p.phase, 2);
    EXPECT_EQ(slot().bytes_used, used);
    std::remove(name.c_str());
    std::remove(damaged.c_str());
}

TEST_F(CgmDevice, FullBufferRefusesWholeElements)
{
    record(72, 72, 0);
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_cgm(1, 72, 72, 3));
    reports.clear();
    const std::uint8_t four[4] = {1, 2, 3, 4};
    YYGCGM1(four);
    EXPECT_EQ(slot().bytes_used, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Internal routine:YYGCGM1 Error=1062"), std::string::npos);
    YYGCGM1(std::span(four, 3));
    EXPECT_EQ(slot().bytes_used, 3);
}

TEST_F(CgmDevice, ShadedPolygonWritesFourElementsPerTriangle)
{
    p.poly_x = {0, 100, 100, 0};
    p.poly_y = {0, 0, 100, 100};
    p.shade_value = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    p.shade_count = 4;
    device.operate(DeviceOperation::ShadedPolygon, p);
    const auto all = elements(slot());
    EXPECT_EQ(of(all, 5, 43).size(), 2u);
    EXPECT_EQ(of(all, 5, 31).size(), 2u);
    EXPECT_EQ(of(all, 4, 7).size(), 2u);
    EXPECT_EQ(of(all, 5, 43)[0].params.size(), 22u);
}

TEST_F(CgmDevice, SelectedSlotRecordsTheDrawing)
{
    // The slot as drawing target: the selection readies the device, and a
    // solid rectangle becomes a RECTANGLE element in the fill colour.
    auto& g = graphics_state();
    g.screen_active = 1;
    Device* previous = gr_memory_device_install(&cgm_memory_device());
    IGrSelect(4, 1);
    EXPECT_EQ(g.memory_device, 1);
    EXPECT_EQ(g.drawable_width, 600);
    IGrColourModeSelect(24);
    IGrColourN(0x0000FF);
    IGrFillStyleSet(4);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    device.operate(DeviceOperation::Close, p);
    const auto all = elements(slot());
    ASSERT_EQ(of(all, 4, 11).size(), 1u);
    const auto fills = of(all, 5, 23);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back().params, (std::vector<std::uint8_t>{255, 0, 0, 0}));
    EXPECT_EQ(all.back().element_class, 0);
    EXPECT_EQ(all.back().id, 2);
    g.memory_device = 0;
    gr_memory_device_install(previous);
}

TEST(MetafileSlots, DestroyChecksAndFrees)
{
    std::vector<std::string> reports;
    const korv::testing::ReportCapture capture{reports};
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_cgm(2, 10, 10, 100));
    ASSERT_TRUE(metafile_slot_create_cgm(7, 10, 10, 100));
    for (int n : {0, 21, 3})
        WMetafileDestroy(n);
    ASSERT_EQ(reports.size(), 3u);
    for (const auto& r : reports)
        EXPECT_NE(r.find("Routine:WMetafileDestroy Error=1060:Invalid metafile handle"), std::string::npos) << r;
    EXPECT_EQ(metafile_slot(2)->kind, metafile_cgm);
    EXPECT_EQ(metafile_slot(7)->capacity, 100);

    // The root window's close destroys exactly the slots that hold metafiles.
    reports.clear();
    metafile_slots_release();
    EXPECT_TRUE(reports.empty());
    for (int n = 1; n <= metafile_slot_count; ++n) {
        EXPECT_EQ(metafile_slot(n)->kind, metafile_free);
        EXPECT_EQ(metafile_slot(n)->capacity, 0);
        EXPECT_EQ(metafile_slot(n)->bytes_used, 0);
    }
}

// The bytes one operation appends to the slot.
using Bytes = std::vector<std::uint8_t>;

TEST_F(CgmDevice, OperationsWriteTheirElementsByteForByte)
{
    auto& g = graphics_state();
    g.drawable_width = g.drawable_height = 600;
    g.area_span_x = g.area_span_y = 1;
    g.area_span_px = g.area_span_py = 600;
    g.drawable_aspect = 1;
    g.line_type = 3;
    g.line_width = 5;
    g.char_width = 0.05f;
    g.char_height = 0.1f;
    g.font_family = 2;
    g.font_style = 1;
    g.screen_clip_x1 = 10, g.screen_clip_y1 = 20, g.screen_clip_x2 = 300, g.screen_clip_y2 = 400;
    g.device_char_cos = 1, g.device_char_sin_x = 0, g.device_char_sin_y = 0;
    g.fill_style = 4;
    g.text_alignment = 0;
    const auto appended = [&](DeviceOperation op) {
        const int before = slot().bytes_used;
        device.operate(op, p);
        return Bytes(slot().buffer.begin() + before, slot().buffer.begin() + slot().bytes_used);
    };
    // LINE TYPE: line type 3 is CGM type 4. LINE WIDTH: 5 tenths of a
    // point on a 600-unit, 72-point slot are 5 * 600 / 720 = 4 units.
    EXPECT_EQ(appended(DeviceOperation::LineType), (Bytes{0x50, 0x42, 0, 4}));
    EXPECT_EQ(appended(DeviceOperation::LineWidth), (Bytes{0x50, 0x62, 0, 4}));
    // CLIP INDICATOR on, CLIP RECTANGLE of the clip box.
    EXPECT_EQ(appended(DeviceOperation::Clip), (Bytes{0x30, 0xC2, 0, 1, 0x30, 0xA8, 0, 10, 0, 20, 1, 0x2C, 1, 0x90}));
    // Ellipse outline: the edge elements, empty interior, the ellipse with
    // its second diameter 0.5 * 100 up, and the edge off again.
    p.px1 = 300, p.py1 = 300, p.px2 = 100, p.rx2 = 100, p.rx3 = 0.5f;
    const Bytes ellipse = {0x42, 0x2C, 0x01, 0x2C, 0x01, 0x2C, 0x01, 0x90, 0x01, 0x2C, 0x01, 0x2C, 0x01, 0x5E};
    Bytes outline = {0x53, 0xC2, 0, 1, 0x53, 0xA4, 255, 0, 0, 0, 0x53, 0x62, 0, 4, 0x53, 0x82, 0, 20, 0x52, 0xC2, 0, 4};
    outline.insert(outline.end(), ellipse.begin(), ellipse.end());
    outline.insert(outline.end(), {0x53, 0xC2, 0, 0});
    EXPECT_EQ(appended(DeviceOperation::EllipseOutline), outline);
    // Again: the edge colour, type and width are cached.
    Bytes again = {0x53, 0xC2, 0, 1, 0x52, 0xC2, 0, 4};
    again.insert(again.end(), ellipse.begin(), ellipse.end());
    again.insert(again.end(), {0x53, 0xC2, 0, 0});
    EXPECT_EQ(appended(DeviceOperation::EllipseOutline), again);
    // Filled: FILL COLOUR, solid interior, the ellipse.
    Bytes filled = {0x52, 0xE4, 255, 0, 0, 0, 0x52, 0xC2, 0, 1};
    filled.insert(filled.end(), ellipse.begin(), ellipse.end());
    EXPECT_EQ(appended(DeviceOperation::EllipseFill), filled);
    // Arial bold is font 6; 0.55 * 0.1 * 600 = 33 units high.
    EXPECT_EQ(appended(DeviceOperation::CharacterSize), (Bytes{0x51, 0x42, 0, 6, 0x51, 0xE2, 0, 33}));
    EXPECT_EQ(g.device_cell_height, 60);
    // Orientation of a 30-unit cell: up (0, 36), base (30, 0); turned by
    // 90 degrees: up (-36, 0), base (0, 30).
    EXPECT_EQ(appended(DeviceOperation::CharacterAngle), (Bytes{0x52, 0x08, 0, 0, 0, 36, 0, 30, 0, 0}));
    g.device_char_cos = 0, g.device_char_sin_x = 1, g.device_char_sin_y = 1;
    EXPECT_EQ(appended(DeviceOperation::CharacterAngle), (Bytes{0x52, 0x08, 0xFF, 0xDC, 0, 0, 0, 0, 0, 30}));
    // Restricted text from (100, 100) to (160, 100): TEXT COLOUR, TEXT
    // ALIGNMENT left-bottom, then widths 60 and 1.25 * 33, the point, final
    // and the even string.
    p.text_set("AB");
    p.px1 = 2;
    p.rx1 = 100, p.ry1 = 100, p.rx3 = 160, p.ry3 = 100;
    EXPECT_EQ(appended(DeviceOperation::Text),
              (Bytes{0x51, 0xC4, 255, 0, 0, 0, 0x52, 0x4C, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0,
                     0x40, 0xAD, 0, 60, 0, 41, 0, 100, 0, 100, 0, 1, 2, 'A', 'B', 0}));
    // Centred, with an opaque box in the previous colour, as TEXT at the middle.
    g.text_kind = 1;
    g.font_style = 8;
    EXPECT_EQ(appended(DeviceOperation::Text),
              (Bytes{0x40, 0x89, 0, 100, 0, 100, 0, 1, 2, 'A', 'B', 0}));
    g.text_kind = 0;
    g.text_alignment = 1;
    g.prev_rgb = 0x00FF00;
    EXPECT_EQ(appended(DeviceOperation::Text),
              (Bytes{0x30, 0x82, 0, 0, 0x30, 0x64, 0, 255, 0, 0, 0x52, 0x4C, 0, 2, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0,
                     0x40, 0xAD, 0, 60, 0, 41, 0, 130, 0, 100, 0, 1, 2, 'A', 'B', 0, 0x30, 0x82, 0, 1}));
}

TEST_F(CgmDevice, PiesWriteEveryArcPoint)
{
    auto& g = graphics_state();
    g.drawable_width = g.drawable_height = 600;
    g.fill_style = 4;
    // Radius 100 from angle 0 to 1.5 on a drawable twice as wide as high
    // against a square slot: the vertical radius 50 becomes 25, in the
    // parameters. Step pi / (100 * 75 / 600 + 25) = pi / 37: arc points at
    // 0 .. 17 steps, then the end point.
    g.drawable_aspect = 2;
    p.px1 = 300, p.py1 = 300;
    p.rx1 = 300, p.ry1 = 300, p.rx2 = 100, p.ry2 = 50, p.rx3 = 0, p.ry3 = 1.5f;
    device.operate(DeviceOperation::PieFill, p);
    EXPECT_FLOAT_EQ(p.ry2, 25);
    auto pies = of(elements(slot()), 4, 7);
    ASSERT_EQ(pies.size(), 1u);
    ASSERT_EQ(pies[0].params.size(), 4u * 20);
    EXPECT_EQ((std::vector<int>{pies[0].word(0), pies[0].word(1), pies[0].word(2), pies[0].word(3)}),
              (std::vector<int>{300, 300, 400, 300}));
    EXPECT_EQ((std::vector<int>{pies[0].word(38), pies[0].word(39)}), (std::vector<int>{307, 324}));

    // A whole circle of radius 40000: 5025 steps a half turn, 10050 arc
    // points, more than one partition holds; none is dropped.
    g.drawable_aspect = 1;
    p.rx2 = 40000, p.ry2 = 40000, p.rx3 = 0, p.ry3 = static_cast<float>(2 * std::numbers::pi);
    device.operate(DeviceOperation::PieFill, p);
    pies = of(elements(slot()), 4, 7);
    ASSERT_EQ(pies.size(), 2u);
    const std::size_t points = pies[1].params.size() / 4;
    EXPECT_GE(points, 10050u);
    EXPECT_LE(points, 10054u);
    EXPECT_EQ((std::vector<int>{pies[1].word(2 * points - 2), pies[1].word(2 * points - 1)}),
              (std::vector<int>{static_cast<std::int16_t>(40299), 300}));
    // A pie that does not fit what is left of the slot is refused whole.
    record(72, 72, 4000);
    reports.clear();
    device.operate(DeviceOperation::PieFill, p);
    EXPECT_TRUE(of(elements(slot()), 4, 7).empty());
    EXPECT_EQ(error_state().last_error, 1062);
}

} // namespace
