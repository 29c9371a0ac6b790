// Printing an editor's text, its selection or a range on a Windows
// printer, with the margins of one of the editor's two page set-up
// records, and the program's access to those records.
#include "editor/editor_operations_win.h"

#include "korvanthide/editor_operations.h"
#include "core/context.h"
#include "core/win_module.h"
#include "dialogs/page_setup.h"
#include "editor/editor_print_layout.h"
#include "editor/edit_operations.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace korv {

namespace {

// Record 0 prints for programs without a dialog, record 1 for the Print
// commands after the page set-up dialog. Both live for the whole run.
struct EditorPageSetupTable {
    std::array<PAGESETUPDLGA, 2> records{};
    bool initialised = false;
};

EditorPageSetupTable& page_setups()
{
    return toolkit_context().record<EditorPageSetupTable>(ContextSlot::editor_page_setups);
}

PAGESETUPDLGA* page_record(int number)
{
    if (number != 0 && number != 1) return nullptr;
    return &page_setups().records[static_cast<std::size_t>(number)];
}

HWND root_frame() { return window_tables().windows[0].frame; }

bool locale_metric()
{
    std::array<char, 4> measure{};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure.data(), 2);
    return measure[0] != '1';
}

// The screen's pixels per inch, to carry the editor's font to the printer.
int screen_pixels(int index)
{
    HDC screen = GetDC(nullptr);
    const int pixels = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return pixels > 0 ? pixels : 96;
}

// A printer context, deleted at the end; a started document that did not
// end is aborted, so that no blank job reaches the printer.
class PrintJob {
public:
    explicit PrintJob(HDC dc) : dc_(dc) {}
    ~PrintJob()
    {
        if (started_) AbortDoc(dc_);
        if (font_ != nullptr) {
            SelectObject(dc_, previous_font_);
            DeleteObject(font_);
        }
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    HDC dc() const { return dc_; }
    bool start(const std::string& name)
    {
        DOCINFOA doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = name.c_str();
        started_ = StartDocA(dc_, &doc) > 0;
        return started_;
    }
    bool end()
    {
        const bool ended = EndDoc(dc_) > 0;
        started_ = !ended;
        return ended;
    }
    void font(HFONT font)
    {
        font_ = font;
        previous_font_ = static_cast<HFONT>(SelectObject(dc_, font));
    }
    HFONT font() const { return font_; }

private:
    HDC dc_;
    bool started_ = false;
    HFONT font_ = nullptr;
    HFONT previous_font_ = nullptr;
};

// The control lays the pages out itself: false when a page took no text
// while text remained, or a page failed.
bool print_by_control(HWND control, HDC dc, const PixelRect& area, const PrinterMetrics& printer,
                      const PageRecordValues& page, CHARRANGE range)
{
    auto twips_x = [&](int pixels) { return MulDiv(pixels, 1440, printer.pixels_x); };
    auto twips_y = [&](int pixels) { return MulDiv(pixels, 1440, printer.pixels_y); };
    FORMATRANGE format{};
    format.hdc = format.hdcTarget = dc;
    format.rc = {twips_x(area.left), twips_y(area.top), twips_x(area.right), twips_y(area.bottom)};
    format.rcPage = {0, 0, MulDiv(page.paper_width, 1440, page.units_per_inch),
                     MulDiv(page.paper_height, 1440, page.units_per_inch)};
    format.chrg = range;
    bool printed = true;
    while (format.chrg.cpMin < format.chrg.cpMax) {
        if (StartPage(dc) <= 0) {
            printed = false;
            break;
        }
        const auto next = static_cast<LONG>(SendMessageA(control, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&format)));
        if (EndPage(dc) <= 0 || next <= format.chrg.cpMin) {
            printed = false;
            break;
        }
        format.chrg.cpMin = next;
    }
    SendMessageA(control, EM_FORMATRANGE, FALSE, 0);
    return printed;
}

// Whether the control lays out a page on this printer at all.
bool control_formats(HWND control, HDC dc, CHARRANGE range)
{
    FORMATRANGE format{};
    format.hdc = format.hdcTarget = dc;
    format.rc = {0, 0, 1440 * 4, 1440 * 4};
    format.rcPage = format.rc;
    format.chrg = range;
    const auto next = static_cast<LONG>(SendMessageA(control, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&format)));
    SendMessageA(control, EM_FORMATRANGE, FALSE, 0);
    return next > range.cpMin;
}

// The editor's own layout: the range's text in the editor's font at its
// size, wrapped to the area, whole lines a page.
bool print_by_layout(const EditorWindowRecord& record, PrintJob& job, const PixelRect& area,
                     const PrinterMetrics& printer, CHARRANGE range)
{
    HWND control = edit_control(record);
    std::string text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, '\0');
    TEXTRANGEA part{range, text.data()};
    const auto copied = SendMessageA(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&part));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size() - 1))));

    LOGFONTA font{};
    HGDIOBJ source = record.font != nullptr ? static_cast<HGDIOBJ>(record.font) : GetStockObject(SYSTEM_FONT);
    GetObjectA(source, sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, printer.pixels_y, screen_pixels(LOGPIXELSY));
    font.lfWidth = MulDiv(font.lfWidth, printer.pixels_x, screen_pixels(LOGPIXELSX));
    job.font(CreateFontIndirectA(&font));
    HDC dc = job.dc();
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int line_height = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1);

    const int width = area.right - area.left;
    const TextFit fit = [dc, width](std::string_view line) {
        int fits = 0;
        SIZE size{};
        GetTextExtentExPointA(dc, line.data(), static_cast<int>(line.size()), width, &fits, nullptr, &size);
        return fits;
    };
    const std::vector<std::string> lines = edit_print_lines(text, 8, fit);
    const int per_page = (area.bottom - area.top) / line_height;
    const std::vector<std::size_t> pages = edit_print_pages(lines.size(), per_page);
    if (pages.empty()) return false;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (StartPage(dc) <= 0) return false;
        // A new page may start with the context's defaults again.
        SelectObject(dc, job.font());
        SetBkMode(dc, TRANSPARENT);
        const std::size_t end = page + 1 < pages.size() ? pages[page + 1] : lines.size();
        int y = area.top;
        for (std::size_t i = pages[page]; i < end; ++i, y += line_height)
            TextOutA(dc, area.left, y, lines[i].data(), static_cast<int>(lines[i].size()));
        if (EndPage(dc) <= 0) return false;
    }
    return true;
}

void print_refused(HWND frame, int setup)
{
    if (setup != 1) return;
    MessageBoxA(frame, "Unable to print text", "Print Error", MB_OK | MB_ICONWARNING);
}

// A dialog's owner for the program's page set-up: the active dialog or the
// focus, taken up out of child windows.
HWND setup_owner()
{
    HWND owner = window_tables().active_dialog != nullptr ? window_tables().active_dialog : GetFocus();
    for (int depth = 0; owner != nullptr && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD) != 0 && depth < 64;
         ++depth) {
        HWND parent = GetParent(owner);
        owner = parent != nullptr ? GetParent(parent) : nullptr;
    }
    return owner != nullptr ? owner : root_frame();
}

void record_prepare(PAGESETUPDLGA& block, HWND owner)
{
    block.lStructSize = sizeof block;
    block.hwndOwner = owner;
    block.hInstance = module_instance();
    block.lpfnPageSetupHook = nullptr;
    block.lpfnPagePaintHook = nullptr;
    block.lpPageSetupTemplateName = nullptr;
    block.hPageSetupTemplate = nullptr;
}

} // namespace

void edit_page_setup_init()
{
    EditorPageSetupTable& table = page_setups();
    if (table.initialised) return;
    for (PAGESETUPDLGA& block : table.records) {
        block = PAGESETUPDLGA{};
        record_prepare(block, root_frame());
        // Without a units flag the system leaves the paper size empty.
        block.Flags = PSD_RETURNDEFAULT | static_cast<DWORD>(page_units_flag(-1, locale_metric()));
        if (cdlg_page_setup_system(block) == 0) return;  // no printer yet: asked again next time
    }
    table.initialised = true;
}

int edit_print(HWND frame, EditorWindowRecord& record, int range, int setup, int start, int end,
               std::string_view name)
{
    PAGESETUPDLGA* block = page_record(setup);
    if (block == nullptr) return 0;
    auto refuse = [&] {
        print_refused(frame, setup);
        if (setup == 1 && (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0) {
            SetFocus(frame);
            win_activate(frame);
        }
        return 0;
    };
    record_prepare(*block, frame);
    edit_page_setup_init();
    if (!page_setups().initialised) return refuse();
    block->Flags = (block->Flags & ~static_cast<DWORD>(PSD_RETURNDEFAULT)) | PSD_MARGINS;
    if (setup == 1 && cdlg_page_setup_select(*block) == 0) {
        if ((GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0) {
            SetFocus(frame);
            win_activate(frame);
        }
        return 0;
    }

    PrintJob job(page_printer_dc(*block));
    if (job.dc() == nullptr) return refuse();
    const PrinterMetrics printer = page_printer_metrics(job.dc());
    const PageRecordValues page = page_record_read(*block);
    const std::optional<PixelRect> area = page_text_area(page, printer);
    HWND control = edit_control(record);
    const int length = edit_control_length(control);
    CHARRANGE chars{0, length};
    if (range == 1 && setup == 1)
        SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&chars));
    else if (range == 1)
        chars = {std::clamp(start, 0, length), std::clamp(end, 0, length)};
    if (!area || chars.cpMin >= chars.cpMax) return refuse();

    std::string document(setup == 0 ? name : edit_file_name(record));
    if (document.empty()) document = "Untitled";
    if (!job.start(document)) return refuse();
    const bool printed = control_formats(control, job.dc(), chars)
                             ? print_by_control(control, job.dc(), *area, printer, page, chars)
                             : print_by_layout(record, job, *area, printer, chars);
    if (!printed || !job.end()) return refuse();
    return 1;
}

void edit_print_range(int& result, int start, int end, std::string_view name)
{
    result = 0;
    HWND frame = nullptr;
    EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) return;
    if (0 <= start && start < end) {
        const MappedRange mapped = edit_position_map(*record, start, end);
        result = edit_print(frame, *record, 1, 0, mapped.start, mapped.end, name);
    } else {
        result = edit_print(frame, *record, 0, 0, 0, 0, name);
    }
}

void edit_page_setup_dialog(int units, int number, int& result)
{
    result = 0;
    PAGESETUPDLGA* block = page_record(number);
    if (block == nullptr) return;
    edit_page_setup_init();
    if (!page_setups().initialised) return;
    const int flag = page_units_flag(units, locale_metric());
    record_prepare(*block, setup_owner());
    PageRecordValues values = page_record_read(*block);
    if (values.units_per_inch != page_units_per_inch(flag)) {
        page_record_convert_units(values, page_units_per_inch(flag));
        page_record_write(*block, values);
    }
    block->Flags = static_cast<DWORD>(flag) | PSD_MARGINS;
    if (cdlg_page_setup_select(*block) == 0) return;
    result = 1;
    HDC dc = page_printer_dc(*block);
    if (dc == nullptr) return;
    const PageMargins minimum = page_minimum_margins(page_printer_metrics(dc), page_units_per_inch(flag));
    block->rtMinMargin = {minimum.left, minimum.top, minimum.right, minimum.bottom};
    DeleteDC(dc);
}

void edit_page_setup_get(int code, int& value, int number)
{
    const PAGESETUPDLGA* block = page_record(number);
    if (block == nullptr) return;
    value = page_points_get(page_record_read(*block), code);
}

void edit_page_setup_set(int code, int value, int number)
{
    PAGESETUPDLGA* block = page_record(number);
    if (block == nullptr) return;
    edit_page_setup_init();
    if (!page_setups().initialised) return;
    PageRecordValues values = page_record_read(*block);
    page_points_set(values, code, value);
    page_record_write(*block, values);
}

} // namespace korv
