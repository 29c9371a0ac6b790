// The image readers, writers and recognition on small files built here.
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"
#include "graphics/formats/image_write.h"

#include "korvanthide/errors.h"
#include "korvanthide/images.h"

#include <gtest/gtest.h>
#include <zlib.h>
#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace korv;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::int32_t> values(const DecodedImage& image) { return {image.pixels.begin(), image.pixels.end()}; }

Bytes bytes_of(std::string_view s) { return Bytes(s.begin(), s.end()); }
Bytes bytes_of(const ByteSink& s) { return bytes_of(s.bytes()); }

void put16(Bytes& b, std::size_t at, int v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bottom-up BMP with a 40-byte header, the given colour table and rows.
Bytes bmp(int width, int height, int bits, int compression, const std::vector<std::int32_t>& table, const Bytes& rows)
{
    Bytes b(54 + 4 * table.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, static_cast<std::uint32_t>(b.size()));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, bits);
    put32(b, 30, static_cast<std::uint32_t>(compression));
    for (std::size_t i = 0; i < table.size(); ++i) {
        b[54 + 4 * i] = static_cast<std::uint8_t>(table[i] >> 16);
        b[55 + 4 * i] = static_cast<std::uint8_t>(table[i] >> 8);
        b[56 + 4 * i] = static_cast<std::uint8_t>(table[i]);
    }
    b.insert(b.end(), rows.begin(), rows.end());
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

void png_chunk(Bytes& out, std::string_view tag, const Bytes& data)
{
    const std::uint32_t n = static_cast<std::uint32_t>(data.size());
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    Bytes tagged(tag.begin(), tag.end());
    tagged.insert(tagged.end(), data.begin(), data.end());
    out.insert(out.end(), tagged.begin(), tagged.end());
    const std::uint32_t crc = img_png_crc32(tagged);
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
}

// A PNG of the given header values and filtered rows, with optional chunks
// before IDAT.
Bytes png(std::uint32_t width, std::uint32_t height, int depth, int type, const Bytes& rows,
          const std::vector<std::pair<std::string, Bytes>>& before = {})
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr(13, 0);
    for (int i = 0; i < 4; ++i) {
        ihdr[i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        ihdr[4 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    ihdr[8] = static_cast<std::uint8_t>(depth);
    ihdr[9] = static_cast<std::uint8_t>(type);
    png_chunk(out, "IHDR", ihdr);
    for (const auto& [tag, data] : before)
        png_chunk(out, tag, data);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(size);
    compress(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(size);
    png_chunk(out, "IDAT", packed);
    png_chunk(out, "IEND", {});
    return out;
}

std::vector<std::int32_t> gradient(int w, int h)
{
    std::vector<std::int32_t> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.push_back((x * 37 % 256) + 256 * (y * 91 % 256) + 65536 * ((x + y) * 13 % 256));
    return p;
}

TEST(PngHelpers, CrcAndPaeth)
{
    EXPECT_EQ(img_png_crc32(bytes_of("abc")), 0x352441C2u);
    std::uint32_t crc = 0;
    img_png_crc_call(3, crc, bytes_of("abcdef"));
    EXPECT_EQ(crc, 0x352441C2u);
    img_png_crc_call(9, crc, bytes_of("abc"));
    EXPECT_EQ(crc, 0x352441C2u);
    // Paeth with a = 10, b = 20 and c = 15, 30, 5 picks c, a, b.
    for (auto [c, expect] : {std::pair{15, 15}, {30, 10}, {5, 20}}) {
        // Row 0 gives c and b; row 1's first byte decodes to a (its own
        // predictor is the byte above), its second to the predictor alone.
        Bytes rows = {0, static_cast<std::uint8_t>(c), 20, 4, static_cast<std::uint8_t>(10 - c), 0};
        Bytes same = rows;
        img_png_unfilter(rows, 3, 2, 1);
        EXPECT_EQ(rows[4], 10);
        EXPECT_EQ(rows[5], expect) << c;
        img_png_unfilter_call(3, 2, 1, same);
        EXPECT_EQ(same, rows);
    }
}

TEST(ImageReaders, SmallFilesDecodeAsTheFormatsSay)
{
    // A 1 by 1 24-bit BMP: blue, green, red in a 4-byte row.
    auto one = bmp_decode(bmp(1, 1, 24, 0, {}, {0x30, 0x20, 0x10, 0}));
    ASSERT_EQ(one.error, 0);
    EXPECT_EQ(one.pixels[0], 0x10 + 0x2000 + 0x300000);

    // RLE8: 03 05 then end of line fills three pixels of entry 5 in the bottom row.
    std::vector<std::int32_t> table(6, 0);
    table[5] = 0x123456;
    auto rle = bmp_decode(bmp(4, 2, 8, 1, table, {3, 5, 0, 0, 1, 5, 0, 1}));
    ASSERT_EQ(rle.error, 0);
    EXPECT_EQ(rle.pixels[4], 0x123456);
    EXPECT_EQ(rle.pixels[6], 0x123456);
    EXPECT_EQ(rle.pixels[7], 0);
    EXPECT_EQ(rle.pixels[0], 0x123456);
    EXPECT_EQ(rle.pixels[1], 0);

    // A 1-bit PNG 10 pixels across: the low bits of each row's second byte are ignored.
    std::vector<std::pair<std::string, Bytes>> plte = {{"PLTE", {0, 0, 0, 255, 255, 255}}};
    auto bits = png_decode(png(10, 1, 1, 3, {0, 0xFF, 0xFF}, plte), false);
    ASSERT_EQ(bits.error, 0);
    EXPECT_EQ(bits.pixels.size(), 10u);
    EXPECT_EQ(bits.pixels[9], 0xFFFFFF);

    // A tEXt chunk before IDAT changes nothing.
    const Bytes rgb_row = {0, 1, 2, 3, 4, 5, 6};
    auto plain = png_decode(png(2, 1, 8, 2, rgb_row), false);
    auto text = png_decode(png(2, 1, 8, 2, rgb_row, {{"tEXt", bytes_of("Comment\0hello")}}), false);
    ASSERT_EQ(text.error, 0);
    EXPECT_EQ(values(text), values(plain));
    EXPECT_EQ(plain.pixels[1], 4 + 256 * 5 + 65536 * 6);

    // Alpha goes to the top byte as transparency only when asked for.
    const Bytes rgba_row = {0, 1, 2, 3, 255, 4, 5, 6, 0};
    EXPECT_EQ(png_decode(png(2, 1, 8, 6, rgba_row), true).pixels[1], 0xFF060504);
    EXPECT_EQ(png_decode(png(2, 1, 8, 6, rgba_row), false).pixels[1], 0x060504);
}

Bytes pcx_header(int width, int height, int bits, int planes, int bytes_per_line)
{
    Bytes h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<std::uint8_t>(bits);
    put16(h, 8, width - 1);
    put16(h, 10, height - 1);
    h[65] = static_cast<std::uint8_t>(planes);
    put16(h, 66, bytes_per_line);
    return h;
}

TEST(ImageReaders, PcxRunsAndPalettes)
{
    Bytes eight = pcx_header(4, 1, 8, 1, 4);
    for (std::uint8_t b : {0xC3, 0x07, 0x01})
        eight.push_back(b);
    Bytes palette(769, 0);
    palette[0] = 12;
    palette[1 + 3 * 7] = 0xAA;
    auto with = eight;
    with.insert(with.end(), palette.begin(), palette.end());
    auto image = pcx_decode(with);
    ASSERT_EQ(image.error, 0);
    EXPECT_EQ(values(image), (std::vector<std::int32_t>{0xAA, 0xAA, 0xAA, 0}));

    // Without the palette marker: error 2 and no pixels.
    palette[0] = 0;
    auto without = eight;
    without.insert(without.end(), palette.begin(), palette.end());
    auto refused = pcx_decode(without);
    EXPECT_EQ(refused.error, 2);
    EXPECT_TRUE(refused.pixels.empty());

    // A run that crosses the line end is cut there: the next line starts afresh.
    Bytes cut = pcx_header(2, 2, 8, 3, 2);
    for (std::uint8_t b : {0xC8, 0x11, 1, 2, 3, 4, 5, 6})
        cut.push_back(b);
    auto lines = pcx_decode(cut);
    ASSERT_EQ(lines.error, 0);
    EXPECT_EQ(lines.pixels[0], 0x111111);
    EXPECT_EQ(lines.pixels[2], 1 + 256 * 3 + 65536 * 5);
}

TEST(ImageReaders, IconMaskGivesTransparency)
{
    // A 2 by 1 icon of 24 bits with the mask bit set for the first pixel.
    Bytes ico(6 + 16, 0);
    put16(ico, 2, 1);
    put16(ico, 4, 1);
    ico[6] = 2;
    ico[7] = 1;
    put32(ico, 18, 22);
    Bytes header(40, 0);
    put32(header, 0, 40);
    put32(header, 4, 2);
    put32(header, 8, 2);
    put16(header, 12, 1);
    put16(header, 14, 24);
    ico.insert(ico.end(), header.begin(), header.end());
    for (std::uint8_t b : {1, 2, 3, 4, 5, 6, 0, 0, 0x80, 0, 0, 0})
        ico.push_back(b);
    auto masked = icon_decode(ico, true);
    ASSERT_EQ(masked.error, 0);
    EXPECT_EQ(static_cast<std::uint32_t>(masked.pixels[0]), 0xFF010203u);
    EXPECT_EQ(masked.pixels[1], 0x040506);
    EXPECT_EQ(icon_decode(ico, false).pixels[0], 0x010203);
}

TEST(ImageReaders, DamagedFilesGiveNoPixels)
{
    // A PNG whose header claims 70000 columns.
    auto wide = png_decode(png(70000, 1, 8, 2, Bytes(3 * 70000 + 1, 0)), false);
    EXPECT_EQ(wide.error, 2);
    EXPECT_TRUE(wide.pixels.empty());
    // Image data beyond what the header allows.
    auto overfull = png(1, 1, 8, 2, Bytes(5000, 7));
    EXPECT_EQ(png_decode(overfull, false).error, 2);
    // Damaged compressed data.
    auto bad = png(4, 4, 8, 2, Bytes(4 * 13, 1));
    bad[33 + 8 + 2] ^= 0xFF;
    bad[33 + 8 + 3] ^= 0xFF;
    const auto damaged = png_decode(bad, false);
    EXPECT_EQ(damaged.error, 1044);
    EXPECT_TRUE(damaged.pixels.empty());
    // Grey and interlaced pictures are not read.
    EXPECT_EQ(png_decode(png(1, 1, 8, 0, {0, 0}), false).error, 27);
    auto interlaced = png(1, 1, 8, 2, {0, 0, 0, 0});
    interlaced[28] = 1;
    EXPECT_EQ(png_decode(interlaced, false).error, 27);

    // A BMP whose pixel offset lies past its end.
    auto far = bmp(2, 2, 24, 0, {}, Bytes(16, 0));
    put32(far, 10, 100000);
    auto refused = bmp_decode(far);
    EXPECT_EQ(refused.error, 2);
    EXPECT_TRUE(refused.pixels.empty());
    EXPECT_EQ(bmp_decode(bmp(2, 2, 7, 0, {}, Bytes(16, 0))).error, 27);
}

TEST(ImageReaders, FilesCutShortKeepTheRowsBeforeTheCut)
{
    const int w = 16, h = 16;
    const auto pixels = gradient(w, h);
    ByteSink png_file, bmp_file;
    int code = 0;
    ASSERT_EQ(png_encode({w, h, pixels}, png_file, code), 0);
    bmp_encode({w, h, pixels}, bmp_file);

    auto png_half = bytes_of(png_file);
    png_half.resize(png_half.size() / 2);
    auto p = png_decode(png_half, false);
    EXPECT_EQ(p.error, 2);
    EXPECT_TRUE(p.partial);
    EXPECT_EQ(p.row_read[0], 1);
    EXPECT_EQ(p.row_read[h - 1], 0);
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(p.pixels[x], pixels[x]);

    auto bmp_half = bytes_of(bmp_file);
    bmp_half.resize(54 + (bmp_half.size() - 54) / 2);
    auto b = bmp_decode(bmp_half);
    EXPECT_EQ(b.error, 2);
    EXPECT_TRUE(b.partial);
    // Rows are stored bottom-up: the bottom half was read.
    EXPECT_EQ(b.row_read[h - 1], 1);
    EXPECT_EQ(b.row_read[0], 0);
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(b.pixels[(h - 1) * w + x], pixels[(h - 1) * w + x]);
}

TEST(ImageWriters, LayoutsAndRoundTrips)
{
    const auto pixels = gradient(3, 2);
    ByteSink pcx, bmp_out, png_out;
    pcx_encode({3, 2, pixels}, pcx);
    const Bytes p = bytes_of(pcx);
    EXPECT_EQ(p[66] | p[67] << 8, 4);
    EXPECT_EQ(p[8] | p[9] << 8, 2);
    EXPECT_EQ(p[65], 3);
    bmp_encode({3, 2, pixels}, bmp_out);
    const Bytes b = bytes_of(bmp_out);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[10], 54);
    int code = 0;
    ASSERT_EQ(png_encode({3, 2, pixels}, png_out, code), 0);
    for (const auto& [format, file] : {std::pair{1, b}, {2, p}, {15, bytes_of(png_out)}}) {
        const auto back = image_decode(file, format, false);
        ASSERT_EQ(back.error, 0) << format;
        EXPECT_EQ(values(back), pixels) << format;
        EXPECT_EQ(image_format_code(file), format);
    }

    ByteSink runs;
    const Bytes hundred(100, 9);
    img_pcx_run_write(200, 1, runs);
    EXPECT_EQ(bytes_of(runs), (Bytes{0xC1, 200}));
    ByteSink line;
    pcx_encode({100, 1, std::vector<std::int32_t>(100, 0x090909)}, line);
    const Bytes l = bytes_of(line);
    EXPECT_EQ(Bytes(l.begin() + 128, l.begin() + 132), (Bytes{0xC0 + 63, 9, 0xC0 + 37, 9}));
}

ImageFileInfo info_of(const Bytes& file, int entries = 9) { return image_file_info(file, entries); }

TEST(Recognition, FormatsFromTheirFirstBytes)
{
    EXPECT_EQ(info_of(bytes_of("abc"))[0], -1);
    EXPECT_EQ(info_of(Bytes(4, 0))[0], 0);
    const std::pair<std::string, int> cases[] = {
        {"   IN;SP1;", 4},
        {"%!PS-Adobe-3.0\n", 10},
        {"\x1B%0BIN;", 5},
        {"0\nSECTION\n", 14},
        {"999\ncomment\n  0\nSECTION\n", 14},
        {"999\ncomment\n  0\nEOF\n", 0},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC>\n", 16},
        {"Draw0000", 8},
        {"\x1B" "E\x1B&l0O", 11},
        {"\x1B@\x1B" "E", 12},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(info_of(bytes_of(text))[0], code) << text;

    auto header12 = bmp(1, 1, 24, 0, {}, {0, 0, 0, 0});
    put32(header12, 14, 12);
    EXPECT_NE(info_of(header12)[0], 1);
    auto top_down = bmp(3, -5, 8, 0, std::vector<std::int32_t>(256, 0), Bytes(20, 0));
    const auto b = info_of(top_down);
    EXPECT_EQ((std::vector<int>{b[0], b[1], b[2], b[3], b[4], b[5]}), (std::vector<int>{1, 3, 5, 256, 0, 8}));
}

TEST(Recognition, PictureInformation)
{
    const auto alpha = info_of(png(5, 7, 8, 6, {0, 0, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{alpha[1], alpha[2], alpha[3], alpha[5], alpha[6]}),
              (std::vector<int>{5, 7, 16777216, 24, 1}));
    const auto grey = info_of(png(5, 7, 8, 0, {0, 0}));
    EXPECT_EQ((std::vector<int>{grey[3], grey[5], grey[6]}), (std::vector<int>{-1, -1, 0}));

    // An icon directory of 0 by 0 means 256 by 256; a cursor's hot spot is given plus 1.
    Bytes ico(22 + 40, 0);
    ico[2] = 2;
    ico[4] = 1;
    put32(ico, 18, 22);
    put16(ico, 22 + 14, 8);
    const auto cursor = info_of(ico);
    EXPECT_EQ((std::vector<int>{cursor[0], cursor[1], cursor[2], cursor[3], cursor[5], cursor[6], cursor[7], cursor[8]}),
              (std::vector<int>{18, 256, 256, 256, 8, 1, 1, 1}));
    const auto code_only = info_of(ico, 1);
    EXPECT_EQ(code_only[1], -1);

    // A CGM without END PICTURE has one picture; a flat extent gives aspect 1.
    const Bytes cgm = {0x00, 0x22, 1, 'A', 0x20, 0xC8, 0, 0, 0, 0, 0, 100, 0, 0};
    const auto c = info_of(cgm);
    EXPECT_EQ((std::vector<int>{c[0], c[1], c[2], c[3]}), (std::vector<int>{6, 1000, 1000, 1}));
    const Bytes cgm2 = {0x00, 0x22, 1, 'A', 0x20, 0xC8, 0, 0, 0, 0, 0, 200, 0, 100, 0x00, 0xA0, 0x00, 0xA0, 0x00, 0x40};
    const auto c2 = info_of(cgm2);
    EXPECT_EQ((std::vector<int>{c2[1], c2[2], c2[3]}), (std::vector<int>{1000, 500, 2}));
    // A VDC extent inside a defaults replacement of the long form counts.
    const Bytes cgm3 = {0x00, 0x22, 1, 'A', 0x11, 0x9F, 0x00, 0x0A, 0x20, 0xC8, 0, 0, 0, 0, 1, 0x2C, 0, 100, 0x00, 0xA0, 0x00, 0x40};
    const auto c3 = info_of(cgm3);
    EXPECT_EQ((std::vector<int>{c3[1], c3[2], c3[3]}), (std::vector<int>{1000, 333, 1}));

    const auto ps = info_of(bytes_of("%!PS-Adobe-3.0 EPSF\n%%BoundingBox: 0 0 612 792\n"));
    EXPECT_EQ((std::vector<int>{ps[1], ps[2], ps[3]}), (std::vector<int>{612, 792, 1}));
    const auto hpgl = info_of(bytes_of("IN;SC -13 1;\nIP 0 0 1016 2032;\nPU;\n"));
    EXPECT_EQ((std::vector<int>{hpgl[1], hpgl[2], hpgl[3], hpgl[4], hpgl[5]}), (std::vector<int>{72, 144, 4, 1, 1}));
    const auto svg = info_of(bytes_of("<?xml version=\"1.0\" ?>\n<!DOCTYPE svg>\n<svg width=\"200\" height=\"100.5\">\n"));
    EXPECT_EQ((std::vector<int>{svg[1], svg[2]}), (std::vector<int>{200, 100}));
}

// Files on disk, read through the platform's file calls, with every byte
// read counted.
class ImageFiles : public ::testing::Test {
protected:
    static inline std::uint64_t bytes_read = 0;
    static inline int (*real_read)(int, std::span<std::uint8_t>, int&) = nullptr;
    static int counting_read(int handle, std::span<std::uint8_t> into, int& code)
    {
        const int got = real_read(handle, into, code);
        bytes_read += got > 0 ? static_cast<std::uint64_t>(got) : 0;
        return got;
    }

    FileReadOps saved = file_read_ops();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "korv_image_files_test";
    std::vector<std::string> reports;
    ErrorOutputs saved_outputs = error_outputs();
    int saved_mode = error_state().report_mode;

    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        real_read = saved.read;
        file_read_ops().read = counting_read;
        bytes_read = 0;
        error_outputs().console_line = [this](std::string_view t) { reports.emplace_back(t); };
        error_state().report_mode = 1;
        error_state().last_error = 0;
    }
    void TearDown() override
    {
        file_read_ops() = saved;
        error_outputs() = saved_outputs;
        error_state().report_mode = saved_mode;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string write(const std::string& name, const Bytes& bytes)
    {
        const auto path = folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
};

TEST_F(ImageFiles, RecognitionOfAHugeFileReadsItsHeadOnly)
{
    const std::string big = write("big.ps", bytes_of("%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 612 792\r\n"));
    // Beyond 2 GB, as a sparse file: nothing of it is on the disk.
    std::filesystem::resize_file(big, (std::uint64_t{1} << 31) + 4096);
    std::array<int, 9> info{};
    IGrFileInfo(big + "   ", info);
    EXPECT_EQ((std::vector<int>{info[0], info[1], info[2], info[3], info[4]}), (std::vector<int>{10, 612, 792, 1, -1}));
    EXPECT_GT(bytes_read, 0u);
    EXPECT_LT(bytes_read, 4096u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(ImageFiles, MissingAndUnopenableFiles)
{
    // A name that names no file ends the recognition unreported; the reader
    // then refuses the format.
    std::array<int, 3> info{7, 7, 7};
    IGrFileInfo((folder / "none.png").string(), info);
    EXPECT_EQ((std::vector<int>{info[0], info[1], info[2]}), (std::vector<int>{-1, 7, 7}));
    EXPECT_TRUE(reports.empty());
    IGrFileInfo("   ", info);
    EXPECT_EQ(info[0], -1);
    std::vector<std::int32_t> pixels(4, 5);
    IGrLoadImageData((folder / "none.png").string(), pixels);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("IGrLoadImageData Error=  27"), std::string::npos) << reports[0];
    // A folder exists but is no file to open: the open routine says so.
    reports.clear();
    IGrFileInfo(folder.string(), info);
    EXPECT_EQ(info[0], -1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("IFileOpen Error=   1"), std::string::npos) << reports[0];
    EXPECT_EQ(error_state().detail_category, 2);
    EXPECT_NE(error_state().file_code, 0);
}

TEST_F(ImageFiles, AFileCutShortIsReportedAndKeepsItsRows)
{
    // A 2 by 3 24-bit BMP cut inside its second row from the bottom: the
    // bottom row is kept, the rows above keep what the array held, and the
    // cut is reported, so that a caller does not draw them as read.
    Bytes rows;
    for (int row = 0; row < 3; ++row)
        rows.insert(rows.end(), {10, 20, static_cast<std::uint8_t>(30 + row), 40, 50, 60, 0, 0});
    auto cut = bmp(2, 3, 24, 0, {}, rows);
    cut.resize(54 + 8 + 3);
    const std::string name = write("cut.bmp", cut);
    std::vector<std::int32_t> pixels(6, 77);
    IGrLoadImageData(name, pixels);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("IGrLoadImageData Error=   2"), std::string::npos) << reports[0];
    EXPECT_EQ(error_state().last_error, 2);
    EXPECT_EQ(pixels, (std::vector<std::int32_t>{77, 77, 77, 77, 30 + 256 * 20 + 65536 * 10, 60 + 256 * 50 + 65536 * 40}));
}

TEST_F(ImageFiles, SixteenBitMasksCutShortAreADamagedFile)
{
    // A 1 by 1 bit-field BMP of 58 bytes: its masks would run past the end.
    auto cut = bmp(1, 1, 16, 3, {}, {});
    put32(cut, 10, 54);
    cut.resize(58, 0);
    put32(cut, 2, 58);
    const std::string name = write("masks.bmp", cut);
    std::vector<std::int32_t> pixels(1, 77);
    IGrLoadImageData(name, pixels);
    EXPECT_EQ(error_state().last_error, 2);
    EXPECT_EQ(pixels[0], 77);
    for (std::size_t size = 54; size < 66; ++size) {
        cut.resize(size, 0);
        const auto image = bmp_decode(cut);
        EXPECT_EQ(image.error, 2) << size;
        EXPECT_TRUE(image.pixels.empty()) << size;
    }
}

TEST_F(ImageFiles, AHeaderAloneCostsWhatItsBytesAreWorth)
{
    // 45 bytes: an 8192 by 8192 16-bit RGBA header, an empty IDAT and no
    // more. Its rows would take 537 MB if they were made before the data.
    Bytes file = png(8192, 8192, 16, 6, {});
    file.resize(33);
    png_chunk(file, "IDAT", {});
    ASSERT_EQ(file.size(), 45u);
#if !defined(_WIN32)
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
#endif
    const auto image = png_decode(file, false);
    EXPECT_EQ(image.error, 2);
    EXPECT_TRUE(image.partial);
    EXPECT_EQ(std::count(image.row_read.begin(), image.row_read.end(), 1), 0);
#if !defined(_WIN32)
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
#endif
}

TEST(Recognition, EveryFormatCodeWithItsInformationRow)
{
    const auto text = [](std::string_view s) { return bytes_of(s); };
    auto placeable = Bytes(40, 0);
    put32(placeable, 0, 0x9AC6CDD7u);
    put16(placeable, 10, 1000); // right; left, top 0
    put16(placeable, 12, 500);  // bottom
    put16(placeable, 14, 1000); // units an inch
    auto enhanced = Bytes(88, 0);
    put32(enhanced, 0, 1);
    put32(enhanced, 32, 2540); // frame right and bottom in hundredths of a millimetre
    put32(enhanced, 36, 1270);
    put32(enhanced, 40, 0x464D4520u);
    Bytes plain = {1, 0, 9, 0, 0, 3, 0, 0};
    Bytes pic(17, 0);
    pic[0] = 1, pic[4] = 1, pic[6] = 8, pic[8] = 0x44, pic[13] = 12;
    pic.insert(pic.end(), {0x60, 0xA0, 1, 2, 3, 4, 0xA8, 7, 'a', 'b', 0, 0x61});
    auto draw = text("Draw");
    draw.resize(40, 0);
    put32(draw, 32, 640 * 100);
    put32(draw, 36, 640 * 50);
    std::string dxf = "0\nSECTION\n";
    for (int line = 3; line <= 16; ++line)
        dxf += line == 14 ? "10.5\n" : line == 16 ? "7.5\n" : "0\n";

    struct Case {
        std::string name;
        Bytes file;
        std::vector<int> info;
    };
    const std::vector<Case> cases = {
        {"zeros", Bytes(4, 0), {0, -1, -1, -1, -1, -1, -1, -1, -1}},
        {"bmp", bmp(3, 5, 24, 0, {}, Bytes(60, 0)), {1, 3, 5, 16777216, 0, 24, -1, -1, -1}},
        {"pcx", pcx_header(5, 3, 8, 1, 6), {2, 5, 3, 256, 5, 8, -1, -1, -1}},
        {"placeable", placeable, {3, 72, 36, 1, -1, -1, -1, -1, -1}},
        {"enhanced", enhanced, {3, 72, 36, 2, -1, -1, -1, -1, -1}},
        {"plain", plain, {3, -1, -1, 0, -1, -1, -1, -1, -1}},
        {"hpgl", text("IN;SC -13 1;\nIP 0 0 1016 2032;\nSC-3\nSC-3\n"), {4, 72, 144, 4, 1, 2, -1, -1, -1}},
        {"hpgl2", text("\x1B%0BIN;\nCO:\"13 2\";\nIP 0 0 10160 7112;\n"), {5, 720, 504, 256, 2, 1, -1, -1, -1}},
        {"pic", pic, {7, 3201, 2312, 2, -1, -1, -1, -1, -1}},
        {"draw", draw, {8, 100, 50, -1, -1, -1, -1, -1, -1}},
        {"tektronix", text("\x1B[?38h"), {9, -1, -1, -1, -1, -1, -1, -1, -1}},
        {"postscript", text("%!PS-Adobe-3.0\n%%Pages: 1\n"), {10, -1, -1, 0, -1, -1, -1, -1, -1}},
        {"pcl", text("\x1B" "E\x1B*t300R\x1B(s3u1A"), {11, -1, -1, 8, 300, -1, -1, -1, -1}},
        {"pcl2", text("\x1B&a0C\x1B*tR"), {11, -1, -1, 2, -1, -1, -1, -1, -1}},
        {"epson", text(std::string("\x1B@\x1Br\x04\x1B(U\x01\x00\x0A", 11)), {12, -1, -1, 8, 360, -1, -1, -1, -1}},
        {"epson2", text("\x1B@\x1B" "E"), {12, -1, -1, 0, -1, -1, -1, -1, -1}},
        {"epson_unidirectional", text("\x1BU\x01\x1Br\x04"), {13, -1, -1, 8, -1, -1, -1, -1, -1}},
        {"dxf", text(dxf), {14, 756, 540, -1, -1, -1, -1, -1, -1}},
        {"png", png(5, 7, 4, 3, {0, 0, 0, 0}), {15, 5, 7, 16, 0, 4, 0, -1, -1}},
        {"svg", text("<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg width=\"20\" height=\"10\">\n"),
         {16, 20, 10, -1, -1, -1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        const auto got = info_of(c.file);
        EXPECT_EQ(std::vector<int>(got.begin(), got.end()), c.info) << c.name;
    }
}

TEST(ImageWriters, BitmapsOfTheDisplaysDepth)
{
    EXPECT_EQ((std::vector<int>{img_dib_palette_size(12, 1, 0), img_dib_palette_size(12, 4, 5),
                                img_dib_palette_size(12, 8, 0), img_dib_palette_size(40, 1, 0),
                                img_dib_palette_size(40, 4, 0), img_dib_palette_size(40, 8, 0),
                                img_dib_palette_size(40, 8, 0x10005), img_dib_palette_size(40, 24, 0),
                                img_dib_palette_size(40, 16, 0)}),
              (std::vector<int>{6, 48, 768, 8, 64, 1024, 20, 0, 0}));

    // A 3 by 2 bitmap of 8 bits, bottom row first, each row padded to 4
    // bytes; its colour table holds entries 0..2.
    DibImage eight;
    eight.width = 3, eight.height = 2, eight.bits = 8;
    eight.rows = {2, 2, 1, 0, 0, 1, 2, 0};
    eight.colour_table = {0, 0, 0, 0, 0, 0, 255, 0, 0, 128, 255, 0};
    const std::vector<std::int32_t> shown = {0x000000, 0x0000FF, 0x0080FF, 0x0080FF, 0x0080FF, 0x0000FF};
    ByteSink b, c, p;
    dib_bmp_file(eight, b);
    dib_pcx_file(eight, 3, c);
    int code = 0;
    ASSERT_EQ(dib_png_file(eight, 3, p, code), 0);
    const Bytes bmp_file = bytes_of(b), pcx_file = bytes_of(c), png_file = bytes_of(p);
    EXPECT_EQ(bmp_file[28], 8);
    EXPECT_EQ(bmp_file[10] | bmp_file[11] << 8, 54 + 1024);
    EXPECT_EQ(bmp_file.size(), 54u + 1024 + 8);
    EXPECT_EQ(pcx_file[65], 1);
    EXPECT_EQ(pcx_file[66] | pcx_file[67] << 8, 4);
    ASSERT_GT(pcx_file.size(), 128u + 769);
    EXPECT_EQ(pcx_file[pcx_file.size() - 769], 12);
    EXPECT_EQ((Bytes(pcx_file.end() - 768, pcx_file.end() - 759)), (Bytes{0, 0, 0, 255, 0, 0, 255, 128, 0}));
    EXPECT_EQ(png_file[24], 8);
    EXPECT_EQ(png_file[25], 3);
    EXPECT_EQ((Bytes(png_file.begin() + 33, png_file.begin() + 41)), (Bytes{0, 0, 3, 0, 'P', 'L', 'T', 'E'}));
    for (const auto& [format, file] : {std::pair{1, bmp_file}, {2, pcx_file}, {15, png_file}}) {
        const auto back = image_decode(file, format, false);
        ASSERT_EQ(back.error, 0) << format;
        EXPECT_EQ(values(back), shown) << format;
    }

    // 4 bits: a palette PNG of depth 4 with 16 colours; 16 bits (5-5-5):
    // three planes, each channel widened to 8 bits.
    DibImage four;
    four.width = 3, four.height = 1, four.bits = 4;
    four.rows = {0x12, 0x30, 0, 0};
    four.colour_table.assign(64, 0);
    four.colour_table[4 * 3 + 2] = 200;
    ByteSink q;
    ASSERT_EQ(dib_png_file(four, 3, q, code), 0);
    const Bytes four_png = bytes_of(q);
    EXPECT_EQ((std::vector<int>{four_png[24], four_png[25], four_png[36]}), (std::vector<int>{4, 3, 48}));
    EXPECT_EQ(values(png_decode(four_png, false)), (std::vector<std::int32_t>{0, 0, 200}));
    DibImage sixteen;
    sixteen.width = 2, sixteen.height = 1, sixteen.bits = 16;
    sixteen.rows = {0x1F, 0x7C, 0xE0, 0x03}; // 0x7C1F: red 31, blue 31; 0x03E0: green 31
    ByteSink r;
    dib_pcx_file(sixteen, 2, r);
    const Bytes sixteen_pcx = bytes_of(r);
    EXPECT_EQ(sixteen_pcx[65], 3);
    EXPECT_EQ(values(pcx_decode(sixteen_pcx)), (std::vector<std::int32_t>{0xFF00FF, 0x00FF00}));
}

} // namespace
