// The rules of the page set-up that need no window: units of a page set-up
// record, margins in points, turning paper and margins with the
// orientation, where text may go on a printer's page, the page set-up
// dialog's values and paper lists, and the geometry of its preview.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korv {

// Units flags of a page set-up record (the system's PSD_ values).
inline constexpr int page_flag_return_default = 1024;
inline constexpr int page_flag_margins = 2;
inline constexpr int page_flag_thousandths = 4;
inline constexpr int page_flag_hundredths_mm = 8;

// Units per inch of a record: 1000 with the thousandths flag, else 2540.
int page_units_per_inch(int flags);
// The units flag of a caller's units code: 0 and 1 thousandths of an inch,
// 2 and above hundredths of a millimetre, -1 by the locale.
int page_units_flag(int units, bool locale_metric);
// A length between units, rounded to the nearest unit: 1000 thousandths of
// an inch give 2540 and come back as 1000.
int page_units_convert(int value, int from_per_inch, int to_per_inch);

struct PageMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PageMargins&) const = default;
};

// What the routines here read and change of a page set-up record and its
// device mode.
struct PageRecordValues {
    int units_per_inch = 1000;
    int paper_width = 0, paper_height = 0;
    PageMargins margins;  // distances from the paper's edges
    bool landscape = false;
    int copies = 1;
};

// Paper and margins into other units.
void page_record_convert_units(PageRecordValues& record, int to_per_inch);

// The page set-up getter and setter in points: 1 right - left, 2 bottom -
// top, 3 left, 4 top, 5 orientation (0 portrait, 1 landscape). Other codes
// read 0 and set nothing.
int page_points_get(const PageRecordValues& record, int code);
void page_points_set(PageRecordValues& record, int code, int value);

// Paper sides turned to an orientation: the larger side across for
// landscape, down for portrait.
void page_paper_turn(int& width, int& height, bool landscape);
// Margins following the paper when it turns a quarter: to landscape the
// old bottom becomes the left, and back.
PageMargins page_margins_turned(const PageMargins& margins, bool to_landscape);

// What a printer context tells of its page, in its pixels.
struct PrinterMetrics {
    int offset_x = 0, offset_y = 0;
    int physical_width = 0, physical_height = 0;
    int printable_width = 0, printable_height = 0;
    int pixels_x = 0, pixels_y = 0;  // per inch
};
// The margins the printer cannot print in, in the record's units.
PageMargins page_minimum_margins(const PrinterMetrics& printer, int units_per_inch);

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};
// Where text goes on the printer, in pixels from the printable area's
// origin: inside the record's margins, margins below the printer's minimum
// printing at the minimum. Nothing when no room is left.
std::optional<PixelRect> page_text_area(const PageRecordValues& record, const PrinterMetrics& printer);

// The values of the toolkit's page set-up dialog for one call, in the
// record's units.
struct PageDialogValues {
    int page_width = 0, page_height = 0;
    int printable_width = 0, printable_height = 0;
    int left = 0, top = 0;
    int orientation = 0;  // 0 portrait, 1 landscape
    int copies = 1;
    int units = 0;        // 0 inches, 2 millimetres
    int divisor() const { return units >= 2 ? 100 : 1000; }
    int right() const { return page_width - left - printable_width; }
    int bottom() const { return page_height - top - printable_height; }
};
PageDialogValues page_dialog_values(const PageRecordValues& record);
// A confirmed dialog back into the record (paper, margins, orientation,
// copies; the units stay).
void page_record_take(PageRecordValues& record, const PageDialogValues& values);

// A margin as the dialog shows it: the value over the divisor, 0 when
// negative.
float page_margin_shown(int value, int divisor);
// A margin read back from its field: unchanged from what was shown, the
// value that was shown from; otherwise rounded into the record's units.
int page_margin_read(float field, int shown_from, int divisor);
// One side of a driver's paper (tenths of a millimetre) in the dialog's
// units.
int page_paper_side(int tenths_mm, int units);

// One entry of the dialog's paper or source menu.
struct PaperEntry {
    std::string name;  // without trailing blanks
    int number = 0;    // the driver's paper or source number
    int position = 0;  // where the driver listed it, from 0
};
// The driver's names (fixed fields of `width` bytes, each cut at its
// terminator) with their numbers, sorted by name; equal names keep their
// order. drop_blank removes all-blank names. Counts below 0 are none; only
// names and numbers both present are taken.
std::vector<PaperEntry> page_paper_list(std::span<const char> names, int width,
                                        std::span<const std::int16_t> numbers, int count,
                                        bool drop_blank);
// The menu position (from 0) of the last entry with that number, else 0.
int page_list_selection(const std::vector<PaperEntry>& list, int number);

// The page inside the preview's unit square, and its sides; nothing for a
// page without area.
struct PreviewPage {
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
    int width = 0, height = 0;
};
std::optional<PreviewPage> page_preview_area(int page_width, int page_height, bool landscape);
// Whether the margins leave a printable area to outline.
bool page_preview_has_printable(const PageMargins& margins, int width, int height);

} // namespace korv
