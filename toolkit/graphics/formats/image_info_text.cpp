// Text passages and whole-file walks of graphics file recognition. The
// text formats are read as lines of at most 128 characters; numbers are
// converted with the toolkit's conversion routines, with reports silenced.
#include "graphics/formats/image_info_text.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "korvanthide/error_numbers.h"
#include "korvanthide/conversions.h"
#include "korvanthide/errors.h"
#include "graphics/formats/byte_cursor.h"

namespace korv {
namespace {

constexpr std::size_t record_length = 128;
constexpr const char* routine = "IGrFileInfo";

// A text file read a line at a time, each line without its line end and
// cut to `length`. A line that runs on for more than longest_line bytes
// without a line end ends the reading: such a file is no text.
class LineReader {
public:
    static constexpr std::size_t longest_line = 65536;

    explicit LineReader(ByteSource& file, std::size_t length = record_length) : file_(file), length_(length) {}

    std::optional<std::string> next()
    {
        if (pos_ >= file_.size())
            return std::nullopt;
        std::string line;
        std::uint64_t total = 0;
        char last = 0;
        while (true) {
            const std::uint64_t left = file_.size() - pos_;
            if (left == 0)
                break;
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, 256));
            const auto block = total < longest_line ? file_.at(pos_, n) : std::nullopt;
            if (!block) {
                pos_ = file_.size();
                return std::nullopt;
            }
            const std::string_view text(reinterpret_cast<const char*>(block->data()), n);
            const auto lf = text.find('\n');
            const std::string_view part = text.substr(0, lf);
            if (line.size() < length_)
                line.append(part.substr(0, length_ - line.size()));
            if (!part.empty())
                last = part.back();
            total += part.size();
            pos_ += part.size();
            if (lf != std::string_view::npos) {
                ++pos_;
                break;
            }
        }
        // A CR before the line end belongs to the line end.
        if (last == '\r' && total <= length_)
            line.pop_back();
        return line;
    }

private:
    ByteSource& file_;
    std::size_t length_;
    std::uint64_t pos_ = 0;
};

// Sets the report mode to 0 for the passages whose conversions may fail.
class Silenced {
public:
    Silenced() : mode_(error_state().report_mode) { error_state().report_mode = 0; }
    ~Silenced() { error_state().report_mode = mode_; }
    Silenced(const Silenced&) = delete;
    Silenced& operator=(const Silenced&) = delete;

private:
    int mode_;
};

std::size_t first_nonblank(const std::string& s)
{
    const auto p = s.find_first_not_of(' ');
    return p == std::string::npos ? s.size() : p;
}

// The next integer of an HP-GL parameter list; commas separate numbers
// like blanks and a semicolon ends the list.
int next_parameter(std::string& s)
{
    const std::size_t end = std::min(s.find(';'), s.size());
    std::string list = s.substr(0, end);
    std::replace(list.begin(), list.end(), ',', ' ');
    int value = 0;
    INextInteger(list, value);
    // The number and the separators before the next one are used up.
    const auto next = list.find_first_not_of(' ');
    std::fill_n(s.begin(), next == std::string::npos ? end : next, ' ');
    return value;
}

// The first two integers between the first two double quotes of s.
bool quoted_pair(const std::string& s, int& a, int& b)
{
    const auto q1 = s.find('"');
    const auto q2 = q1 == std::string::npos ? q1 : s.find('"', q1 + 1);
    if (q2 == std::string::npos)
        return false;
    std::string inner = s.substr(q1 + 1, q2 - q1 - 1);
    a = next_parameter(inner);
    b = next_parameter(inner);
    return true;
}

struct PlotterScan {
    long long width = -1, height = -1;
    int model = -1;
};

// Walks the command records of an HP-GL file (pcl false) or of the HP-GL/2
// part of a PCL job (pcl true).
PlotterScan scan_plotter(ByteSource& file, bool pcl)
{
    PlotterScan scan;
    LineReader lines(file);
    while (auto line = lines.next()) {
        std::string r = std::move(*line);
        r.resize(record_length, ' ');
        while (true) {
            const std::size_t p = first_nonblank(r);
            if (p + 1 >= r.size())
                break;
            const std::string mnemonic = r.substr(p, 2);
            std::fill_n(r.begin(), p + 2, ' ');
            if (pcl && mnemonic == "CO" && r[p + 2] == ':') {
                int a = 0, b = 0;
                if (quoted_pair(r, a, b) && a == 13)
                    scan.model = b;
                break;
            }
            if (mnemonic == "SC") {
                const int a = next_parameter(r), b = next_parameter(r);
                if (a == -13)
                    scan.model = pcl ? b - 10 : b;
                break;
            }
            if (mnemonic == "IP") {
                const long long x1 = next_parameter(r), y1 = next_parameter(r);
                const long long x2 = next_parameter(r), y2 = next_parameter(r);
                if (pcl) {
                    scan.width = (72 * (x2 - x1) + 72) / 1016;
                    scan.height = (72 * (y2 - y1) + 72) / 1016;
                } else {
                    scan.width = x2 - x1 + 1;
                    scan.height = y2 - y1 + 1;
                }
                break;
            }
            const auto semicolon = r.find(';');
            if (semicolon == std::string::npos)
                break;
            std::fill_n(r.begin(), semicolon + 1, ' ');
        }
        if (scan.width >= 0 && scan.height >= 0 && scan.model >= 0)
            break;
    }
    return scan;
}

int clamp_int(long long v) { return static_cast<int>(std::clamp<long long>(v, -2147483647LL, 2147483647LL)); }

// Pages of an HP-GL file: each SC -3 and each CO:"3 ..." starts one.
int img_hpgl_count(ByteSource& file)
{
    int pages = 0;
    LineReader lines(file, 10);
    while (auto line = lines.next()) {
        const std::string& r = *line;
        const std::size_t p = first_nonblank(r);
        if (p + 2 > r.size())
            continue;
        const std::string rest = r.substr(p + 2);
        if (r.compare(p, 2, "SC") == 0 && !rest.empty() && rest[0] != ' ' && text_integer(rest) == -3)
            ++pages;
        int a = 0, b = 0;
        if (r.compare(p, 2, "CO") == 0 && rest.starts_with(":") && quoted_pair(rest, a, b) && a == 3)
            ++pages;
    }
    return std::max(pages, 1);
}

void plotter_info(ByteSource& file, bool pcl, int entries, ImageFileInfo& info)
{
    const PlotterScan scan = scan_plotter(file, pcl);
    info[4] = scan.model;
    if (!pcl && scan.model >= 1 && scan.model <= 10) {
        static constexpr int units[10] = {1016, 1021, 1021, 1016, 1016, 1016, 1016, 1016, 1016, 1016};
        static constexpr int pens[10] = {4, 6, 6, 4, 6, 8, 8, 8, 6, 6};
        if (scan.width >= 0)
            info[1] = clamp_int(scan.width * 72 / units[scan.model - 1]);
        if (scan.height >= 0)
            info[2] = clamp_int(scan.height * 72 / units[scan.model - 1]);
        info[3] = pens[scan.model - 1];
    } else if (pcl) {
        static constexpr int colours[5] = {2, 256, 2, 256, 256};
        if (scan.width >= 0)
            info[1] = clamp_int(scan.width);
        if (scan.height >= 0)
            info[2] = clamp_int(scan.height);
        if (scan.model >= 1 && scan.model <= 5)
            info[3] = colours[scan.model - 1];
    }
    if (entries >= 6)
        info[5] = img_hpgl_count(file);
}

void postscript_info(ByteSource& file, ImageFileInfo& info)
{
    LineReader lines(file);
    lines.next();
    auto second = lines.next();
    if (!second)
        return;
    std::string line = std::move(*second);
    const std::size_t p = first_nonblank(line);
    constexpr std::string_view box = "%%BoundingBox:";
    if (line.compare(p, box.size(), box) != 0) {
        info[3] = 0;
        return;
    }
    info[3] = 1;
    std::fill_n(line.begin(), p + box.size(), ' ');
    int values[4] = {};
    for (int& v : values)
        INextInteger(line, v);
    info[1] = values[2];
    info[2] = values[3];
}

void dxf_info(ByteSource& file, ImageFileInfo& info)
{
    LineReader reader(file);
    std::vector<std::string> lines;
    while (lines.size() < 16)
        if (auto line = reader.next())
            lines.push_back(std::move(*line));
        else
            break;
    auto extent = [&](std::size_t line_number, int& entry) {
        if (lines.size() < line_number)
            return;
        std::string line = lines[line_number - 1];
        float value = 0;
        INextReal(line, value);
        entry = clamp_int(static_cast<long long>(std::clamp(72.0 * value, -2.0e9, 2.0e9)));
    };
    extent(14, info[1]);
    extent(16, info[2]);
}

void svg_info(ByteSource& file, ImageFileInfo& info)
{
    LineReader lines(file);
    lines.next();
    while (auto next = lines.next()) {
        std::string line = std::move(*next);
        std::transform(line.begin(), line.end(), line.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        if (line.find("<svg ") == std::string::npos)
            continue;
        auto attribute = [&](std::string_view name, int& entry) {
            const auto at = line.find(name);
            if (at == std::string::npos)
                return;
            const auto open = line.find('"', at + name.size());
            const auto close = open == std::string::npos ? open : line.find('"', open + 1);
            if (close == std::string::npos)
                return;
            float value = 0;
            IStringToReal(std::string_view(line).substr(open + 1, close - open - 1), value);
            entry = clamp_int(static_cast<long long>(std::clamp(static_cast<double>(value), -2.0e9, 2.0e9)));
        };
        attribute("width=", info[1]);
        attribute("height=", info[2]);
        return;
    }
}

// The CGM scan's readers at a 1-based position of an element's parameters:
// a big-endian integer, 16-bit signed for precision 16 and 32-bit for any
// other; a 4-byte IEEE single real. Nothing when the parameters end first.
std::optional<std::int32_t> img_be_int_get(std::span<const std::uint8_t> params, std::size_t position, int precision)
{
    if (position < 1 || position > params.size())
        return std::nullopt;
    ByteCursor c(params.subspan(position - 1));
    if (precision == 16) {
        const auto v = c.i16_be();
        return v ? std::optional<std::int32_t>(*v) : std::nullopt;
    }
    return c.i32_be();
}

std::optional<float> img_be_real_get(std::span<const std::uint8_t> params, std::size_t position)
{
    if (position < 1 || position > params.size())
        return std::nullopt;
    ByteCursor c(params.subspan(position - 1));
    const auto bits = c.u32_be();
    return bits ? std::optional<float>(std::bit_cast<float>(*bits)) : std::nullopt;
}

// The aspect of an extent x1, y1, x2, y2: reals at positions 1, 5, 9 and
// 13, or integers of the VDC precision one after the other; nothing when
// it cannot be read.
std::optional<double> extent_aspect(std::span<const std::uint8_t> params, int vdc_type, int precision)
{
    double v[4];
    std::size_t position = 1;
    for (double& d : v) {
        if (vdc_type == 1) {
            const auto f = img_be_real_get(params, position);
            if (!f)
                return std::nullopt;
            d = std::isfinite(*f) ? *f : 0.0;
            position += 4;
        } else {
            const auto i = img_be_int_get(params, position, precision);
            if (!i)
                return std::nullopt;
            d = *i;
            position += precision == 16 ? 2 : 4;
        }
    }
    const double w = v[2] - v[0], h = v[3] - v[1];
    return w == 0 || h == 0 ? 1.0 : w / h;
}

} // namespace

int text_integer(std::string_view text)
{
    int value = 0;
    err_silently([&] { IStringToInteger(text, value); });
    return value;
}

bool dxf_after_comments(ByteSource& file)
{
    LineReader lines(file, 20);
    while (true) {
        const auto code = lines.next();
        const auto value_line = code ? lines.next() : std::nullopt;
        if (!value_line)
            return false;
        std::string_view trimmed = *code;
        trimmed.remove_prefix(std::min(trimmed.find_first_not_of(' '), trimmed.size()));
        trimmed = trimmed.substr(0, trimmed.find_last_not_of(' ') + 1);
        if (trimmed == "999")
            continue;
        const std::string& value = *value_line;
        return trimmed == "0" && std::string_view(value).substr(first_nonblank(value)).starts_with("SECTION");
    }
}

void text_format_info(ByteSource& file, int code, int entries, ImageFileInfo& info)
{
    const Silenced quiet;
    switch (code) {
    case format_hpgl:
        plotter_info(file, false, entries, info);
        break;
    case format_hpgl2_pcl:
        plotter_info(file, true, entries, info);
        break;
    case format_postscript:
        postscript_info(file, info);
        break;
    case format_dxf:
        dxf_info(file, info);
        break;
    case format_svg:
        svg_info(file, info);
        break;
    default:
        break;
    }
}

int img_cgm_scan(ByteSource& file, double& aspect)
{
    SourceCursor c(file);
    int integer_precision = 16, vdc_precision = 16, vdc_type = 0, pictures = 0;
    std::optional<double> maximum_extent, extent;
    bool damaged = false;
    while (!c.at_end()) {
        const auto word = c.u16_be();
        if (!word) {
            damaged = true;
            break;
        }
        const int element_class = *word >> 12, id = (*word >> 5) & 127;
        std::size_t length = *word & 31;
        if (element_class == 1 && id == 12) {
            // Defaults replacement: its parameters are elements, read as
            // such; a long form's length word is stepped over.
            if (length == 31 && !c.u16_be()) {
                damaged = true;
                break;
            }
            continue;
        }
        // Only the elements read below keep their parameters; the others
        // are stepped over.
        const bool wanted = (element_class == 0 && (id == 2 || id == 5)) ||
                            (element_class == 1 && (id == 3 || id == 4 || id == 17)) ||
                            (element_class == 2 && id == 6) || (element_class == 3 && id == 1);
        std::vector<std::uint8_t> params;
        bool more = length == 31;
        const auto take = [&](std::size_t n) {
            if (!wanted)
                return c.skip(n);
            const auto p = c.bytes(n);
            if (p)
                params.insert(params.end(), p->begin(), p->end());
            return p.has_value();
        };
        if (!more && !take(length + (length % 2))) {
            damaged = true;
            break;
        }
        while (more) {
            const auto part = c.u16_be();
            if (!part) {
                damaged = true;
                break;
            }
            more = (*part & 0x8000) != 0;
            length = *part & 0x7FFF;
            if (!take(length + (length % 2))) {
                damaged = true;
                break;
            }
        }
        if (damaged)
            break;
        ByteCursor pc(params);
        if (element_class == 0 && id == 2)
            break;
        if (element_class == 0 && id == 5) {
            ++pictures;
        } else if (element_class == 1 && id == 3) {
            const auto v = pc.i16_be();
            damaged = !v;
            vdc_type = v.value_or(vdc_type);
        } else if (element_class == 1 && id == 4) {
            const auto v = img_be_int_get(params, 1, integer_precision);
            damaged = !v;
            integer_precision = v.value_or(integer_precision);
        } else if (element_class == 3 && id == 1) {
            const auto v = img_be_int_get(params, 1, integer_precision);
            damaged = !v;
            vdc_precision = v.value_or(vdc_precision);
        } else if ((element_class == 1 && id == 17) || (element_class == 2 && id == 6)) {
            const auto a = extent_aspect(params, vdc_type, vdc_precision);
            damaged = !a;
            (element_class == 1 ? maximum_extent : extent) = a ? a : (element_class == 1 ? maximum_extent : extent);
        }
        if (damaged)
            break;
    }
    if (damaged)
        err_report(err::file_read_write, routine);
    aspect = maximum_extent.value_or(extent.value_or(1.0));
    return std::max(pictures, 1);
}

int img_pic_opcode_count(ByteSource& file)
{
    SourceCursor c(file);
    int pictures = 0;
    bool damaged = !c.skip(17);
    while (!damaged) {
        const auto op = c.u8();
        if (!op)
            break;
        const int code = *op;
        if (code == 0x30 || code == 0xE0) {
            const auto n = c.u8();
            damaged = !n || !c.skip(4 * static_cast<std::size_t>(*n) + 4);
        } else if (code >= 0x60 && code <= 0x6F) {
            ++pictures;
        } else if (code == 0xA0 || code == 0xA2 || code == 0xAC) {
            damaged = !c.skip(4);
        } else if (code == 0xA7) {
            damaged = !c.skip(1);
        } else if (code == 0xA8) {
            damaged = !c.skip(1);
            while (!damaged) {
                const auto b = c.u8();
                damaged = !b;
                if (b == 0)
                    break;
            }
        }
    }
    if (damaged)
        err_report(err::file_read_write, routine);
    return std::max(pictures, 1);
}

} // namespace korv
