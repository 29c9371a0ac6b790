// Recognition of graphics files by their first 128 bytes, and the picture
// information of the binary formats.
#include "graphics/formats/image_info.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "korvanthide/errors.h"
#include "graphics/formats/image_info_text.h"

namespace korv {
namespace {

constexpr std::size_t header_length = 128;

// The header's multi-byte readers: a little-endian value, 32-bit for width
// 4 and 16-bit unsigned for any other width; a 32-bit big-endian value.
std::int32_t img_le_int_get(std::span<const std::uint8_t> bytes, int width)
{
    if (width != 4)
        return bytes[0] | bytes[1] << 8;
    return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint32_t img_be32_get(std::span<const std::uint8_t> bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

struct Header {
    std::array<std::uint8_t, header_length> bytes{}; // zeros past a short file

    explicit Header(ByteSource& file)
    {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), header_length));
        if (const auto head = file.at(0, n))
            std::copy(head->begin(), head->end(), bytes.begin());
    }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }
    bool at(std::size_t pos, std::string_view s) const { return pos <= header_length && text().substr(pos).starts_with(s); }
    bool contains(std::string_view s) const { return text().find(s) != std::string_view::npos; }
    std::span<const std::uint8_t> from(std::size_t pos) const { return std::span(bytes).subspan(pos); }
    std::uint32_t le32(std::size_t pos) const { return static_cast<std::uint32_t>(img_le_int_get(from(pos), 4)); }
    int le16(std::size_t pos) const { return img_le_int_get(from(pos), 2); }
    std::int32_t sle32(std::size_t pos) const { return img_le_int_get(from(pos), 4); }
    std::uint32_t be32(std::size_t pos) const { return img_be32_get(from(pos)); }
};

bool line_break_at(const Header& h, std::size_t pos)
{
    return pos < header_length && (h.bytes[pos] == '\r' || h.bytes[pos] == '\n');
}

int saturate(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -2147483647LL - 1, 2147483647LL));
}

// 2 to the power of bits, 0 from 32 bits on.
int colours_of(int bits) { return bits >= 0 && bits < 31 ? 1 << bits : (bits == 31 ? 0x7FFFFFFF : 0); }

void bitmap_entries(ImageFileInfo& info, int bits, std::uint32_t compression)
{
    info[3] = colours_of(bits == 32 ? 24 : bits);
    info[4] = compression == 0 || compression == 3 ? 0 : 1;
    info[5] = bits;
}

bool is_metafile(const Header& h)
{
    static constexpr std::uint8_t plain[6] = {1, 0, 9, 0, 0, 3};
    return std::memcmp(h.bytes.data(), plain, 6) == 0 || h.le32(0) == 0x9AC6CDD7u || h.le32(40) == 0x464D4520u;
}

void metafile_info(const Header& h, ImageFileInfo& info)
{
    info[4] = -1;
    if (h.le32(0) == 0x9AC6CDD7u) {
        info[3] = 1;
        const int inch = h.le16(14);
        if (inch != 0) {
            info[1] = saturate(72LL * (h.le16(10) - h.le16(6) + 1) / inch);
            info[2] = saturate(72LL * (h.le16(12) - h.le16(8) + 1) / inch);
        }
    } else if (h.le32(40) == 0x464D4520u) {
        info[3] = 2;
        info[1] = saturate((72LL * (static_cast<long long>(h.sle32(32)) - h.sle32(24)) + 72) / 2540);
        info[2] = saturate((72LL * (static_cast<long long>(h.sle32(36)) - h.sle32(28)) + 72) / 2540);
    } else {
        info[3] = 0;
    }
}

void icon_info(ByteSource& file, const Header& h, int code, ImageFileInfo& info)
{
    info[1] = h.bytes[6] == 0 ? 256 : h.bytes[6];
    info[2] = h.bytes[7] == 0 ? 256 : h.bytes[7];
    info[6] = h.le16(4);
    if (code == format_cursor) {
        info[7] = h.le16(10) + 1;
        info[8] = h.le16(12) + 1;
    }
    const std::uint64_t image = h.le32(18);
    const auto bits = source_u16_le(file, image + 14);
    const auto compression = source_u32_le(file, image + 16);
    if (bits && compression)
        bitmap_entries(info, *bits, *compression);
}

void binary_info(ByteSource& file, const Header& h, int code, int entries, ImageFileInfo& info)
{
    switch (code) {
    case format_bmp: {
        info[1] = h.sle32(18);
        const long long height = h.sle32(22);
        info[2] = saturate(height < 0 ? -height : height);
        bitmap_entries(info, h.le16(28), h.le32(30));
        break;
    }
    case format_pcx:
        info[1] = h.le16(8) - h.le16(4) + 1;
        info[2] = h.le16(10) - h.le16(6) + 1;
        info[5] = h.bytes[3] * h.bytes[65];
        info[3] = colours_of(info[5]);
        info[4] = h.bytes[1];
        break;
    case format_windows_metafile:
        metafile_info(h, info);
        break;
    case format_cgm: {
        double aspect = 1;
        info[3] = img_cgm_scan(file, aspect);
        info[1] = 1000;
        info[2] = saturate(static_cast<long long>(std::clamp(1000.0 / aspect, -2.0e9, 2.0e9)));
        info[4] = -1;
        break;
    }
    case format_lotus_pic:
        info[1] = 3201;
        info[2] = 2312;
        if (entries >= 4)
            info[3] = img_pic_opcode_count(file);
        info[4] = -1;
        break;
    case format_acorn_draw:
        info[1] = h.sle32(32) / 640;
        info[2] = h.sle32(36) / 640;
        break;
    case format_pcl: {
        info[3] = h.contains("s3u1A") || h.contains("s-3u1A") ? 8 : 2;
        const auto t = h.text().find("\x1B*t");
        info[4] = -1;
        if (t != std::string_view::npos) {
            const int dpi = text_integer(h.text().substr(t + 3, 3));
            info[4] = dpi > 0 ? dpi : -1;
        }
        break;
    }
    case format_epson:
    case format_epson_unidirectional: {
        info[3] = h.contains(std::string_view("\x1Br\x04", 3)) ? 8 : 0;
        if (code == format_epson) {
            const auto t = h.text().find(std::string_view("\x1B(U\x01\x00", 5));
            const int unit = t != std::string_view::npos && t + 5 < header_length ? h.bytes[t + 5] : 0;
            info[4] = unit > 0 ? 3600 / unit : -1;
        }
        break;
    }
    case format_png: {
        info[1] = saturate(h.be32(16));
        info[2] = saturate(h.be32(20));
        const int depth = h.bytes[24], type = h.bytes[25];
        info[3] = type == 2 || type == 6 ? 16777216 : (type == 3 ? colours_of(depth) : -1);
        info[4] = h.bytes[28];
        info[5] = type == 2 || type == 6 ? 24 : (type == 3 ? depth : -1);
        info[6] = type == 6 ? 1 : 0;
        break;
    }
    case format_icon:
    case format_cursor:
        icon_info(file, h, code, info);
        break;
    default:
        break;
    }
}

} // namespace

int image_format_code(ByteSource& file)
{
    const Header h(file);
    std::size_t s = 0;
    while (s < header_length && (h.bytes[s] == ' ' || h.bytes[s] == 0))
        ++s;
    if (s < header_length) {
        if (h.at(s, "IN"))
            return format_hpgl;
        if (h.at(s, "\x1B%0B"))
            return format_hpgl2_pcl;
        if (h.at(s, "%!PS"))
            return format_postscript;
        if (h.at(s, "0") && line_break_at(h, s + 1) && h.text().substr(0, 20).find("SECTION") != std::string_view::npos)
            return format_dxf;
        if (h.at(s, "999") && line_break_at(h, s + 3))
            return dxf_after_comments(file) ? format_dxf : format_unknown;
    }
    if ((h.contains("<?xml ") || h.contains("<?XML ")) && (h.contains("<!doctype svg") || h.contains("<!DOCTYPE svg")))
        return format_svg;
    const auto& b = h.bytes;
    if (b[0] == 10 && b[2] == 1)
        return format_pcx;
    if (h.at(0, "BM") && h.le32(6) == 0 && h.le32(14) != 12)
        return format_bmp;
    if (is_metafile(h))
        return format_windows_metafile;
    if (b[0] == 0 && b[1] >= 16 && b[2] < 32)
        return format_cgm;
    if (b[0] == 1 && b[4] == 1 && b[6] == 8 && b[8] == 0x44 && b[13] == 12)
        return format_lotus_pic;
    if (h.at(0, "Draw"))
        return format_acorn_draw;
    if (h.at(0, "\x1B[?38h"))
        return format_tektronix;
    if (h.at(0, "\x1B" "E") || h.at(0, "\x1B&a"))
        return format_pcl;
    if (h.at(0, "\x1B@"))
        return format_epson;
    if (h.at(0, "\x1BU\x01"))
        return format_epson_unidirectional;
    if (h.at(0, "\x89PNG\r\n\x1A\n"))
        return format_png;
    if (h.at(0, std::string_view("\0\0\1\0", 4)))
        return format_icon;
    if (h.at(0, std::string_view("\0\0\2\0", 4)))
        return format_cursor;
    return format_unknown;
}

ImageFileInfo image_file_info(ByteSource& file, int entries)
{
    ImageFileInfo info;
    info.fill(-1);
    if (file.size() < 4)
        return info;
    info[0] = image_format_code(file);
    if (entries < 2)
        return info;
    const Header h(file);
    switch (info[0]) {
    case format_hpgl:
    case format_hpgl2_pcl:
    case format_postscript:
    case format_dxf:
    case format_svg:
        text_format_info(file, info[0], entries, info);
        break;
    default:
        binary_info(file, h, info[0], entries, info);
        break;
    }
    return info;
}

} // namespace korv
