#include "dialogs/page_setup_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>

namespace korv {

namespace {

// a * b / c in 64 bits, truncated toward zero like the integer arithmetic
// the page set-up keeps; 0 for a zero divisor.
int scaled(long long a, long long b, long long c)
{
    if (c == 0) return 0;
    return static_cast<int>(a * b / c);
}

} // namespace

int page_units_per_inch(int flags) { return (flags & page_flag_thousandths) != 0 ? 1000 : 2540; }

int page_units_flag(int units, bool locale_metric)
{
    if (units == -1) return locale_metric ? page_flag_hundredths_mm : page_flag_thousandths;
    return units >= 2 ? page_flag_hundredths_mm : page_flag_thousandths;
}

int page_units_convert(int value, int from_per_inch, int to_per_inch)
{
    if (from_per_inch == to_per_inch || from_per_inch <= 0) return value;
    const double converted = static_cast<double>(value) * to_per_inch / from_per_inch;
    return static_cast<int>(std::lround(converted));
}

void page_record_convert_units(PageRecordValues& record, int to_per_inch)
{
    const int from = record.units_per_inch;
    for (int* side : {&record.paper_width, &record.paper_height, &record.margins.left,
                      &record.margins.top, &record.margins.right, &record.margins.bottom})
        *side = page_units_convert(*side, from, to_per_inch);
    record.units_per_inch = to_per_inch;
}

int page_points_get(const PageRecordValues& record, int code)
{
    const PageMargins& m = record.margins;
    const int units = record.units_per_inch;
    switch (code) {
    case 1: return scaled(m.right - m.left, 72, units);
    case 2: return scaled(m.bottom - m.top, 72, units);
    case 3: return scaled(m.left, 72, units);
    case 4: return scaled(m.top, 72, units);
    case 5: return record.landscape ? 1 : 0;
    default: return 0;
    }
}

void page_points_set(PageRecordValues& record, int code, int value)
{
    PageMargins& m = record.margins;
    const int units = record.units_per_inch;
    switch (code) {
    case 1: m.right = m.left + scaled(value, units, 72); return;
    case 2: m.bottom = m.top + scaled(value, units, 72); return;
    case 3: m.left = scaled(value, units, 72); return;
    case 4: m.top = scaled(value, units, 72); return;
    case 5: break;
    default: return;
    }
    if (value < 0 || value > 3) return;
    const bool landscape = value == 1 || value == 3;
    if (record.landscape != landscape) {
        std::swap(record.paper_width, record.paper_height);
        record.landscape = landscape;
    }
    const int across = m.right - m.left;
    const int down = m.bottom - m.top;
    if ((value == 2 && across > down) || (value == 3 && across < down)) {
        m.right = m.left + down;
        m.bottom = m.top + across;
    }
}

void page_paper_turn(int& width, int& height, bool landscape)
{
    if (landscape ? width < height : height < width) std::swap(width, height);
}

PageMargins page_margins_turned(const PageMargins& m, bool to_landscape)
{
    if (to_landscape) return {m.bottom, m.left, m.top, m.right};
    return {m.top, m.right, m.bottom, m.left};
}

PageMargins page_minimum_margins(const PrinterMetrics& p, int units_per_inch)
{
    return {scaled(p.offset_x, units_per_inch, p.pixels_x),
            scaled(p.offset_y, units_per_inch, p.pixels_y),
            scaled(p.physical_width - p.printable_width - p.offset_x, units_per_inch, p.pixels_x),
            scaled(p.physical_height - p.printable_height - p.offset_y, units_per_inch, p.pixels_y)};
}

std::optional<PixelRect> page_text_area(const PageRecordValues& record, const PrinterMetrics& p)
{
    const int units = record.units_per_inch;
    if (units <= 0 || p.pixels_x <= 0 || p.pixels_y <= 0) return std::nullopt;
    const PageMargins& m = record.margins;
    // On the paper first, then moved to the printable area's origin and
    // kept inside it.
    const int left = scaled(m.left, p.pixels_x, units);
    const int top = scaled(m.top, p.pixels_y, units);
    const int right = scaled(record.paper_width - m.right, p.pixels_x, units);
    const int bottom = scaled(record.paper_height - m.bottom, p.pixels_y, units);
    PixelRect area{std::max(left, p.offset_x) - p.offset_x, std::max(top, p.offset_y) - p.offset_y,
                   std::min(right, p.offset_x + p.printable_width) - p.offset_x,
                   std::min(bottom, p.offset_y + p.printable_height) - p.offset_y};
    if (area.right <= area.left || area.bottom <= area.top) return std::nullopt;
    return area;
}

PageDialogValues page_dialog_values(const PageRecordValues& record)
{
    PageDialogValues v;
    v.page_width = record.paper_width;
    v.page_height = record.paper_height;
    v.left = record.margins.left;
    v.top = record.margins.top;
    v.printable_width = v.page_width - v.left - record.margins.right;
    v.printable_height = v.page_height - v.top - record.margins.bottom;
    v.orientation = record.landscape ? 1 : 0;
    v.copies = record.copies;
    v.units = record.units_per_inch == 1000 ? 0 : 2;
    return v;
}

void page_record_take(PageRecordValues& record, const PageDialogValues& v)
{
    record.paper_width = v.page_width;
    record.paper_height = v.page_height;
    record.margins = {v.left, v.top, v.right(), v.bottom()};
    record.landscape = v.orientation == 1;
    record.copies = v.copies;
}

float page_margin_shown(int value, int divisor)
{
    if (value < 0 || divisor <= 0) return 0.0f;
    return static_cast<float>(static_cast<double>(value) / divisor);
}

int page_margin_read(float field, int shown_from, int divisor)
{
    // The field shows one decimal; a value that still reads as what was
    // shown gives back the exact margin instead of its rounded picture.
    const double shown = std::round(page_margin_shown(shown_from, divisor) * 10.0) / 10.0;
    if (std::fabs(field - shown) < 0.01) return std::max(shown_from, 0);
    return static_cast<int>(std::lround(static_cast<double>(field) * divisor));
}

int page_paper_side(int tenths_mm, int units)
{
    if (units >= 2) return tenths_mm * 10;
    return scaled(tenths_mm, 1000, 254);
}

std::vector<PaperEntry> page_paper_list(std::span<const char> names, int width,
                                        std::span<const std::int16_t> numbers, int count,
                                        bool drop_blank)
{
    std::vector<PaperEntry> list;
    if (count <= 0 || width <= 0) return list;
    const auto field = static_cast<std::size_t>(width);
    const std::size_t available = std::min(names.size() / field, numbers.size());
    const std::size_t n = std::min(static_cast<std::size_t>(count), available);
    for (std::size_t i = 0; i < n; ++i) {
        std::string_view name(names.data() + i * field, field);
        name = name.substr(0, name.find('\0'));
        const auto last = name.find_last_not_of(' ');
        name = last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
        if (drop_blank && name.empty()) continue;
        list.push_back({std::string(name), numbers[i], static_cast<int>(i)});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const PaperEntry& a, const PaperEntry& b) { return a.name < b.name; });
    return list;
}

int page_list_selection(const std::vector<PaperEntry>& list, int number)
{
    for (std::size_t i = list.size(); i-- > 0;)
        if (list[i].number == number) return static_cast<int>(i);
    return 0;
}

std::optional<PreviewPage> page_preview_area(int page_width, int page_height, bool landscape)
{
    if (page_width <= 0 || page_height <= 0) return std::nullopt;
    PreviewPage page;
    const int smaller = std::min(page_width, page_height);
    const int larger = std::max(page_width, page_height);
    page.width = landscape ? larger : smaller;
    page.height = landscape ? smaller : larger;
    if (landscape) {
        const double half = page.height * 0.5 / page.width;
        page.y0 = 0.5 - half;
        page.y1 = 0.5 + half;
    } else {
        const double half = page.width * 0.5 / page.height;
        page.x0 = 0.5 - half;
        page.x1 = 0.5 + half;
    }
    return page;
}

bool page_preview_has_printable(const PageMargins& m, int width, int height)
{
    return m.left + m.right < width && m.top + m.bottom < height;
}

} // namespace korv
