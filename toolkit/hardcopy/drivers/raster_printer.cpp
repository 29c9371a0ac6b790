// Driver 4: each page drawn into the raster device's bitmap at a resolution
// of the configured raster printer, and written as a printer job: PCL
// raster rows (families 7-10), ESC/P2 raster rows (family 6) or ESC/P bit
// image bands for 8- and 24-pin heads (families 1-5).
#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/raster_device.h"
#include "hardcopy/drivers/raster_printer.h"
#include "hardcopy/output/output_units.h"

namespace korv {

// PCL mode 1: pairs of a repeat count (one less than the bytes) and a byte.
std::string hc_rasprn_run_pairs(std::string_view row)
{
    std::string out;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t n = 1;
        while (i + n < row.size() && row[i + n] == row[i] && n < 256)
            ++n;
        out += static_cast<char>(n - 1);
        out += row[i];
        i += n;
    }
    return out;
}

// PCL mode 2 (PackBits): runs of two or more equal bytes, literals up to
// the next run worth taking.
std::string hc_rasprn_pcl_packbits(std::string_view row)
{
    std::string out;
    const std::size_t n = row.size();
    for (std::size_t i = 0; i < n;) {
        std::size_t run = 1;
        while (i + run < n && row[i + run] == row[i] && run < 128)
            ++run;
        if (run >= 2 || i + 1 == n) {
            out += static_cast<char>(1 - static_cast<int>(run));
            out += row[i];
            i += run;
            continue;
        }
        std::size_t j = i;
        while (j < n && j - i < 127) {
            const bool pair = j + 1 < n && row[j] == row[j + 1];
            if (pair && (j + 2 == n || row[j + 2] == row[j] || j + 1 - i == 127))
                break;
            ++j;
        }
        out += static_cast<char>(j - i - 1);
        out.append(row.substr(i, j - i));
        i = j;
    }
    return out;
}

// TIFF PackBits for ESC/P2: runs from two equal bytes on, pieces of at
// most 128 bytes, and a run of 129 cut 127 + 2 so that no piece is one byte.
std::string hc_rasprn_packbits(std::string_view row)
{
    std::string out;
    const std::size_t n = row.size();
    std::size_t literal_start = 0;
    const auto flush_literal = [&](std::size_t end) {
        for (std::size_t i = literal_start; i < end;) {
            const std::size_t piece = std::min<std::size_t>(128, end - i);
            out += static_cast<char>(piece - 1);
            out.append(row.substr(i, piece));
            i += piece;
        }
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && row[i + run] == row[i])
            ++run;
        if (run < 2) {
            ++i;
            continue;
        }
        flush_literal(i);
        for (std::size_t left = run; left > 0;) {
            std::size_t piece = std::min<std::size_t>(128, left);
            if (left - piece == 1)
                piece = 127;
            out += static_cast<char>(1 - static_cast<int>(piece));
            out += row[i];
            left -= piece;
        }
        i += run;
        literal_start = i;
    }
    flush_literal(n);
    return out;
}


namespace {

// ESC/P band data is handed to the printer in pieces of this size.
constexpr std::size_t band_buffer = 40000;
constexpr int left_margin_limit = 39999;

// The colour passes of ESC/P and ESC/P2: yellow, magenta, cyan from planes
// 2, 1, 0, then black (-1), each selected before it is printed.
const std::array<std::string, 4> colour_selections = {std::string("\x1br\x04", 3), std::string("\x1br\x01", 3),
                                                      std::string("\x1br\x02", 3), std::string("\x1br\x00", 3)};
constexpr std::array<int, 4> pass_planes = {2, 1, 0, -1};

// PCL row compression: mode 1 run pairs, mode 2 packed bits.
std::string hc_rasprn_compress_row(std::string_view row, int mode)
{
    return mode == 1 ? hc_rasprn_run_pairs(row) : hc_rasprn_pcl_packbits(row);
}

std::string digits(long long v, int width)
{
    std::string s = std::to_string(std::max(0LL, v));
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

std::string low_high(int n)
{
    std::string s;
    s += static_cast<char>(n & 0xFF);
    s += static_cast<char>((n >> 8) & 0xFF);
    return s;
}

DriverDefaults printer_defaults()
{
    const PrinterPlotterSettings& printer = printer_plotter_settings();
    const bool page_printer = printer.printer_family > 5;
    const int resolution = std::min(printer.resolution_count, 2);
    DriverDefaults d = hc_raster_defaults(driver_raster_printer);
    d.options = {{{option_page_width, 576},
                  {option_page_height, 432},
                  {option_x_offset, page_printer ? 100 : 0},
                  {option_y_offset, page_printer ? 70 : 0},
                  {option_orientation, page_printer ? 1 : 0},
                  {option_raster_resolution, resolution},
                  {option_device_on_off, 3},
                  {option_page_start_command, 0},
                  {option_compression, std::min(printer.option24_limit, 2)}}};
    d.raster_index = resolution;
    d.colour_count = 1 << std::clamp(printer.colour_planes, 0, 8);
    d.colour_limit = 8;
    d.print_command_flag = 1;
    d.capability_flags = "00000111111111110010011011000";
    d.default_output_name = "radediva.prn";
    return d;
}

class RasterPrinterDriver : public RasterDevice {
public:
    void open(DeviceParameters& p) override;
    void end_page(DeviceParameters& p) override;

private:
    DriverDefaults defaults() const override { return printer_defaults(); }
    int resolution_ = 0;
    int columns_ = 0, rows_ = 0;
    int plane_ = 0; // -1: the black pass of a colour ESC/P printer

    // The command strings of the page being written: its start and end;
    // the row header (ESC/P2: its start; ESC/P: the band header, its count
    // at count_at); the ESC/P2 row advance and dot unit; the ESC/P left
    // margin, interleave and spacing of the interleave passes; the PCL
    // compression mode.
    struct PageCommands {
        std::string start, end, row_header, row_advance;
        std::array<std::string, 2> spacing;
        int count_at = 0, unit = 0, margin = 0, interleave = 1, compression = 0;
    };
    PageCommands commands_;
    // The printer's family and the page's turn, read once a page: the dots
    // are fetched one by one.
    int family_ = 0;
    bool turned_ = false;

    bool landscape() const { return hc_option(option_orientation) != 0; }
    std::pair<double, double> offsets() const;
    // Whether the printer dot (c, r) of the current plane or pass prints;
    // (0, 0) is the top left of the printed page.
    bool hc_rasprn_pixel_fetch(int c, int r) const;
    std::string packed_row(int r) const;
    // The page's command strings by the printer's family.
    void hc_rasprn_page(int columns, int rows);
    void pcl_page();
    void escp2_page();
    void escp_page();
    void escp_band_header(int family, int h, int n);
    // The page start, every row, the page end; a failed write stops it.
    void hc_rasprn_rows(int unit);
    bool pcl_rows(int handle);
    bool escp2_rows(int handle);
    bool escp_rows(int handle);
    std::string escp_pass(int handle, int first_row, bool fits);
    std::string hc_rasprn_plane_index(std::string& data) const;
};


void RasterPrinterDriver::open(DeviceParameters& p)
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    if (p.phase > 0) {
        const int planes = hc_option(option_colour_inversion) == 1 || s.colour_planes != 3 ? 1 : 3;
        page.planes = planes;
        page.bits = planes == 1 ? 1 : 3;
        if (planes == 1)
            device_capabilities().hardcopy.true_colour = 0;
        page.clear_value = s.raster_mode == 1 ? 0xFFFFFFFFu : 0u;
        int index = std::clamp(hardcopy_state().raster_resolution_index, 1, std::max(1, s.resolution_count));
        // At lower resolutions until the page fits in memory.
        for (;;) {
            const int h = s.resolutions[static_cast<std::size_t>(std::clamp(index, 1, 4) - 1)];
            int v = h;
            if (s.printer_family == 5)
                v = 180;
            else if (s.printer_family >= 1 && s.printer_family <= 4 && s.pass_advance > 0)
                v = 216 * s.rows_per_pass / s.pass_advance * (h > 100 ? 2 : 1);
            const int across = landscape() ? v : h, up = landscape() ? h : v;
            page.width = static_cast<int>(static_cast<long long>(hc_option(option_page_width)) * across / 72);
            page.height = static_cast<int>(static_cast<long long>(hc_option(option_page_height)) * up / 72);
            page.resolution_x = static_cast<float>(across);
            page.resolution_y = static_cast<float>(up);
            resolution_ = h;
            if (h > 0 && page.allocate(32))
                break;
            if (index < s.resolution_count) {
                ++index;
                continue;
            }
            stop_page_too_large();
            return;
        }
        hardcopy_state().raster_resolution_index = index;
        columns_ = landscape() ? page.height : page.width;
        rows_ = landscape() ? page.width : page.height;
        page.printer_columns = columns_;
        page.printer_rows = rows_;
        // The whole page is cleared, not only whole printer bands: rows past
        // the last band would otherwise print the previous page again.
        page.usable_words = page.total_words;
    }
    open_page(p);
}

void RasterPrinterDriver::end_page(DeviceParameters& p)
{
    HardcopyState& hc = hardcopy_state();
    if (hc.page_drawn == 0 || !page.allocated())
        return;
    hc_rasprn_page(columns_, rows_);
    hc_rasprn_rows(plot_unit);
    hc.page_drawn = 0;
    RasterDevice::clear(p);
}

bool RasterPrinterDriver::hc_rasprn_pixel_fetch(int c, int r) const
{
    const int x = turned_ ? page.last_column - r : c;
    const int y = turned_ ? page.last_row - c : page.last_row - r;
    const std::uint32_t v = page.value_at(x, y);
    if (page.planes == 1)
        return v != 0;
    if (family_ >= 7)
        return (v >> plane_ & 1u) != 0;
    if (plane_ < 0)
        return v == 7;
    return (v >> plane_ & 1u) != 0 && v != 7;
}

std::string RasterPrinterDriver::packed_row(int r) const
{
    std::string row(static_cast<std::size_t>((columns_ + 7) / 8), '\0');
    for (int c = 0; c < columns_; ++c)
        if (hc_rasprn_pixel_fetch(c, r))
            row[static_cast<std::size_t>(c / 8)] = static_cast<char>(row[static_cast<std::size_t>(c / 8)] | (0x80 >> (c % 8)));
    return row;
}

// The offsets of the printed page in points, across and down the paper.
std::pair<double, double> RasterPrinterDriver::offsets() const
{
    const double x = hc_option(option_x_offset), y = hc_option(option_y_offset);
    return landscape() ? std::pair{y, x} : std::pair{x, y};
}

void RasterPrinterDriver::hc_rasprn_page(int columns, int rows)
{
    columns_ = columns;
    rows_ = rows;
    commands_ = PageCommands{};
    family_ = printer_plotter_settings().printer_family;
    turned_ = landscape();
    const int family = family_;
    if (family >= 7)
        pcl_page();
    else if (family == 6)
        escp2_page();
    else
        escp_page();
}

void RasterPrinterDriver::pcl_page()
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    const int bytes = (columns_ + 7) / 8;
    const auto [ox, oy] = offsets();
    const int device_on_off = hc_option(option_device_on_off);
    const int compression = std::clamp(hc_option(option_compression), 0, 2);
    std::string& start = commands_.start;
    if (device_on_off != 0 && device_on_off != 1)
        start += "\x1b" "E";
    start += std::string("\x1b&a") + digits(std::min(9999LL, static_cast<long long>(10 * ox)), 4) + "h" +
             digits(std::min(9999LL, static_cast<long long>(10 * oy)), 4) + "V";
    start += "\x1b*t" + digits(resolution_, 3) + "R";
    start += "\x1b*r";
    if (s.printer_type > 11)
        start += digits(8LL * bytes, 4) + "s";
    if (page.planes == 3)
        start += s.raster_mode == 1 ? "3u" : "-3u";
    start += "1A";
    if ((s.printer_family == 9 || s.printer_family == 10) && hc_option(option_page_start_command) != 0)
        start += "\x1b&k3W";
    if (compression != 0)
        start += "\x1b*b" + std::to_string(compression) + "M";
    commands_.compression = compression;
    if (s.printer_family == 7 || s.printer_type == 32)
        commands_.end += "\x1b&l" + digits(std::clamp(hc_option(option_copies), 1, 99), 2) + "X";
    commands_.end += "\x1b*rB";
    if (device_on_off % 2 != 0)
        commands_.end += "\x1b" "E";
}

void RasterPrinterDriver::escp2_page()
{
    const int h = std::max(1, resolution_);
    const int u = 3600 / h;
    const auto [ox, oy] = offsets();
    const int v = std::max(0, static_cast<int>(oy * h / 72));
    const int x = std::max(0, static_cast<int>(ox * h / 72));
    commands_.start = "\x1b@";
    commands_.start += std::string("\x1b(G\x01\x00\x01", 6);
    commands_.start += std::string("\x1b(U\x01\x00", 5) + static_cast<char>(u);
    commands_.start += std::string("\x1b(V\x02\x00", 5) + low_high(v);
    commands_.row_header = "\x1b\\" + low_high(x);
    commands_.unit = u;
    commands_.row_advance = std::string("\x1b(v\x02\x00\x01\x00", 7);
    commands_.end = hc_option(option_device_on_off) % 2 != 0 ? "\x1b@\f" : "\x1b@";
}

// The ESC/P band header and where its count goes, by family and resolution.
void RasterPrinterDriver::escp_band_header(int family, int h, int n)
{
    std::string& header = commands_.row_header;
    commands_.count_at = 2;
    if (family == 4) {
        static constexpr std::array<std::pair<int, int>, 4> modes = {{{60, 8}, {120, 9}, {180, 11}, {360, 12}}};
        int m = 12;
        for (const auto& [dpi, mode] : modes)
            if (dpi == h)
                m = mode;
        header = std::string("\x1b[g") + low_high(3 * n + 1) + static_cast<char>(m);
        commands_.count_at = 3;
    } else if (family == 5) {
        static constexpr std::array<std::pair<int, int>, 4> modes = {{{90, 38}, {120, 33}, {180, 39}, {360, 40}}};
        int m = 39;
        for (const auto& [dpi, mode] : modes)
            if (dpi == h)
                m = mode;
        header = std::string("\x1b*") + static_cast<char>(m) + low_high(n);
        commands_.count_at = 3;
    } else if (h == 60 || (family == 3 && h == 80)) {
        header = "\x1bK" + low_high(n);
    } else if (h == 80) {
        header = std::string("\x1b*\x04") + low_high(n);
        commands_.count_at = 3;
    } else if (h == 90) {
        header = std::string("\x1b*\x06") + low_high(n);
        commands_.count_at = 3;
    } else if (h == 240) {
        header = "\x1bZ" + low_high(n);
    } else {
        header = "\x1bL" + low_high(n);
    }
}

void RasterPrinterDriver::escp_page()
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    const int family = s.printer_family, h = resolution_;
    const int pins = s.rows_per_pass == 24 ? 24 : 8;
    const auto [ox, oy] = offsets();
    const int x = std::max(0, static_cast<int>(ox * h / 72));
    const int v = std::clamp(static_cast<int>((family == 5 ? 2.5 : 3.0) * oy), 0, 255);
    commands_.interleave = family < 5 && h > 100 ? 2 : 1;
    commands_.margin = std::min(left_margin_limit, x * (pins / 8));
    escp_band_header(family, h, columns_ + x);
    commands_.start = "\x1bU\x01";
    if (v > 0)
        commands_.start += std::string("\x1bJ") + static_cast<char>(v);
    if (commands_.interleave == 1)
        commands_.start += std::string("\x1b" "3") + static_cast<char>(s.pass_advance);
    commands_.spacing = {std::string("\x1b" "3") + static_cast<char>(1),
                         std::string("\x1b" "3") + static_cast<char>(s.pass_advance - 1)};
    commands_.end = hc_option(option_device_on_off) % 2 != 0 ? "\x1b" "2\f" : "\x1b" "2";
}

void RasterPrinterDriver::hc_rasprn_rows(int unit)
{
    hc_unit_write(unit, commands_.start);
    if (printer_plotter_settings().status_word != 0)
        return;
    const int family = printer_plotter_settings().printer_family;
    const int handle = hc_unit_handle(unit);
    const bool written = family >= 7 ? pcl_rows(handle) : family == 6 ? escp2_rows(handle) : escp_rows(handle);
    if (written)
        hc_unit_write(unit, commands_.end);
}

bool RasterPrinterDriver::pcl_rows(int handle)
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    const int compression = commands_.compression;
    for (int r = 0; r < rows_; ++r) {
        for (int p = 0; p < page.planes; ++p) {
            plane_ = p;
            std::string row = packed_row(r);
            if (page.planes == 3 && s.raster_mode == 1 && columns_ % 8 != 0)
                row.back() = static_cast<char>(row.back() | (0xFF >> (columns_ % 8)));
            std::string data;
            if (compression == 0) {
                const std::size_t last = row.find_last_not_of('\0');
                data = last == std::string::npos ? std::string() : row.substr(0, last + 1);
            } else {
                data = hc_rasprn_compress_row(row, compression);
            }
            // Three digits as the printers expect; more when a row needs them.
            const std::string count = compression == 0 ? digits(static_cast<long long>(data.size()), 3)
                                                       : std::to_string(data.size());
            const char end = p == page.planes - 1 ? 'W' : 'V';
            hc_write_record(handle, "\x1b*b" + count + end + data, false);
        }
        if (s.status_word != 0)
            return false;
    }
    return true;
}

bool RasterPrinterDriver::escp2_rows(int handle)
{
    const char u = static_cast<char>(commands_.unit);
    for (int r = 0; r < rows_; ++r) {
        const int passes = page.planes == 3 ? 4 : 1;
        for (int k = 0; k < passes; ++k) {
            std::string out;
            if (passes == 4) {
                plane_ = pass_planes[static_cast<std::size_t>(k)];
                out += colour_selections[static_cast<std::size_t>(k)];
            } else {
                plane_ = 0;
            }
            std::string row = packed_row(r);
            const std::size_t last = row.find_last_not_of('\0');
            row.resize(last == std::string::npos ? 0 : last + 1);
            std::string packed = hc_rasprn_packbits(row);
            const bool compressed = packed.size() < row.size();
            out += commands_.row_header;
            out += std::string("\x1b.") + static_cast<char>(compressed ? 1 : 0) + u + u + '\x01' +
                   low_high(static_cast<int>(8 * row.size()));
            out += compressed ? packed : row;
            out += '\r';
            hc_write_record(handle, out, false);
        }
        hc_write_record(handle, commands_.row_advance, false);
        if (printer_plotter_settings().status_word != 0)
            return false;
    }
    return true;
}

// One pass of an ESC/P band: the left margin's zero bytes, then for each
// column the dots of the pass's rows, eight a byte, the first in bit 7. A
// band too large for the buffer has its header first and goes out in
// pieces; the rest is left for the caller.
std::string RasterPrinterDriver::escp_pass(int handle, int first_row, bool fits)
{
    const int pins = printer_plotter_settings().rows_per_pass == 24 ? 24 : 8;
    const int interleave = commands_.interleave;
    std::string data(static_cast<std::size_t>(commands_.margin), '\0');
    if (!fits)
        hc_write_record(handle, commands_.row_header, false);
    for (int c = 0; c < columns_; ++c) {
        for (int b = 0; b < pins / 8; ++b) {
            unsigned char byte = 0;
            for (int j = 0; j < 8; ++j) {
                const int r = first_row + interleave * (8 * b + j);
                if (r < rows_ && hc_rasprn_pixel_fetch(c, r))
                    byte = static_cast<unsigned char>(byte | (0x80 >> j));
            }
            data += static_cast<char>(byte);
        }
        if (!fits && data.size() >= band_buffer) {
            hc_write_record(handle, data, false);
            data.clear();
        }
    }
    return data;
}

// A band that fits the buffer: its count trimmed to the last dot (whole
// columns of the head), and its header with that count.
std::string RasterPrinterDriver::hc_rasprn_plane_index(std::string& data) const
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    const std::size_t bytes_per_column = s.rows_per_pass == 24 ? 3 : 1;
    std::size_t count = data.find_last_not_of('\0');
    count = count == std::string::npos ? 0 : count + 1;
    count = (count + bytes_per_column - 1) / bytes_per_column * bytes_per_column;
    data.resize(count);
    const int columns = static_cast<int>(count / bytes_per_column);
    std::string header = commands_.row_header;
    header.replace(static_cast<std::size_t>(commands_.count_at), 2,
                   low_high(s.printer_family == 4 ? static_cast<int>(count) + 1 : columns));
    return header;
}

bool RasterPrinterDriver::escp_rows(int handle)
{
    const PrinterPlotterSettings& s = printer_plotter_settings();
    const int pins = s.rows_per_pass == 24 ? 24 : 8;
    const int interleave = commands_.interleave;
    const int band_rows = pins * interleave;
    const int bands = (rows_ + band_rows - 1) / band_rows;
    const bool fits = static_cast<std::size_t>(page.last_column) * static_cast<std::size_t>(pins) / 8 +
                          static_cast<std::size_t>(commands_.margin) <=
                      band_buffer;
    const int passes = page.planes == 3 ? 4 : 1;
    for (int band = 0; band < bands; ++band) {
        for (int i = 1; i <= interleave; ++i) {
            if (interleave == 2)
                hc_unit_write(plot_unit, commands_.spacing[static_cast<std::size_t>(i - 1)]);
            for (int k = 0; k < passes; ++k) {
                if (passes == 4) {
                    plane_ = pass_planes[static_cast<std::size_t>(k)];
                    hc_unit_write(plot_unit, colour_selections[static_cast<std::size_t>(k)]);
                } else {
                    plane_ = 0;
                }
                std::string data = escp_pass(handle, band * band_rows + i - 1, fits);
                if (fits)
                    hc_write_record(handle, hc_rasprn_plane_index(data), false);
                hc_write_record(handle, data, k == passes - 1);
                if (k != passes - 1)
                    hc_write_record(handle, "\r", false);
            }
            if (s.status_word != 0)
                return false;
        }
    }
    return true;
}

} // namespace

Device& hc_raster_printer()
{
    return toolkit_context().record<RasterPrinterDriver>(ContextSlot::raster_printer_driver);
}

} // namespace korv
