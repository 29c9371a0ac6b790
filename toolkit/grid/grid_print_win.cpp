// Printing a block of grid cells as a table on the Windows printer, and
// the two print-setting records that keep printer, paper, margins, scale
// and options between jobs.
#include "grid/grid_print_win.h"

#include "korvanthide/dialogs_win.h"
#include "core/context.h"
#include "dialogs/page_setup.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"
#include "grid/grid_editor_win.h"
#include "grid/grid_print_layout.h"
#include "grid/grid_routines.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace korv {

namespace {

// The margin units are the page set-up's own unit flags.
static_assert(grid_units_inches == PSD_INTHOUSANDTHSOFINCHES && grid_units_millimetres == PSD_INHUNDREDTHSOFMILLIMETERS);

struct GridPrintSettings {
    PAGESETUPDLGA setup{};
    int units = grid_units_inches;
    RECT box{};
    int scale = 100;
    std::array<int, 5> options{1, 1, 1, 0, 0};
    bool device = false;
};

struct GridPrintState {
    std::array<GridPrintSettings, 2> records;
    bool defaults_ready = false;
};

GridPrintState& print_state()
{
    return toolkit_context().record<GridPrintState>(ContextSlot::grid_print);
}

GridPrintSettings& record_of(int choice) { return print_state().records[choice == 1 ? 0 : 1]; }

// The printer named in a record, with its device mode, locked for one use.
class LockedDevice {
public:
    explicit LockedDevice(const PAGESETUPDLGA& s) : setup_(s)
    {
        names_ = s.hDevNames ? static_cast<DEVNAMES*>(GlobalLock(s.hDevNames)) : nullptr;
        mode_ = s.hDevMode ? static_cast<DEVMODEA*>(GlobalLock(s.hDevMode)) : nullptr;
    }
    ~LockedDevice()
    {
        if (names_)
            GlobalUnlock(setup_.hDevNames);
        if (mode_)
            GlobalUnlock(setup_.hDevMode);
    }
    LockedDevice(const LockedDevice&) = delete;
    LockedDevice& operator=(const LockedDevice&) = delete;

    bool ok() const { return names_ != nullptr; }
    const char* name(WORD offset) const { return reinterpret_cast<const char*>(names_) + offset; }
    HDC context(bool information_only) const
    {
        if (!names_)
            return nullptr;
        const char* driver = name(names_->wDriverOffset);
        const char* device = name(names_->wDeviceOffset);
        const char* output = name(names_->wOutputOffset);
        return information_only ? CreateICA(driver, device, output, mode_) : CreateDCA(driver, device, output, mode_);
    }
    DEVMODEA* mode() const { return mode_; }

private:
    const PAGESETUPDLGA& setup_;
    DEVNAMES* names_ = nullptr;
    DEVMODEA* mode_ = nullptr;
};

void fill_record(GridPrintSettings& r)
{
    r.setup = {};
    r.setup.lStructSize = sizeof r.setup;
    r.setup.hInstance = GetModuleHandleA(nullptr);
    r.setup.Flags = PSD_RETURNDEFAULT;
    // Without a default printer the record keeps no device; printing then
    // reports that no job ran.
    r.device = PageSetupDlgA(&r.setup) != FALSE && r.setup.hDevNames != nullptr;
    r.units = (r.setup.Flags & PSD_INHUNDREDTHSOFMILLIMETERS) ? grid_units_millimetres : grid_units_inches;
    r.scale = 100;
    r.options = {1, 1, 1, 1, 1};
    if (!r.device)
        return;
    LockedDevice device(r.setup);
    if (HDC ic = device.context(true)) {
        const bool two_colours = GetDeviceCaps(ic, NUMCOLORS) == 2;
        r.options[3] = r.options[4] = two_colours ? 0 : 1;
        DeleteDC(ic);
    }
}

std::string display_text(const GridModel& m, int column, int row)
{
    std::string text;
    grid_cell_display_text(m, column, row, text, grid_text_painted);
    return text;
}

int text_width(HDC dc, std::string_view text)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void rule(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

struct PrintJob {
    HDC dc = nullptr;
    HFONT cell_font = nullptr;
    HFONT check_font = nullptr;
    int H = 0, A = 0, heading = 0, line = 0;
    int left = 0, right = 0, top = 0, bottom = 0;
    int row_heading_width = 0;
    std::vector<int> widths;
};

std::int32_t colour_or(std::int32_t first, std::int32_t second) { return first != -1 ? first : second; }

// The row-heading column of a page at x, which moves past it: the corner
// heading on a page with the heading row and the band's row texts; then,
// with row headings or rules between columns, a rule at each side (the
// left one below the heading row when that has no corner text).
void grid_print_row_headings(const GridModel& m, const PrintJob& job, int first_row, int last_row, bool heading_row,
                             bool column_rules, int band_bottom, int& x)
{
    HDC dc = job.dc;
    const int start = x;
    const int cells_top = job.top + (heading_row ? job.heading : 0);
    const std::string corner(m.column_heading(0));
    if (m.has_row_headings()) {
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        SetTextColor(dc, RGB(0, 0, 0));
        if (heading_row && !corner.empty())
            TextOutA(dc, x + job.A / 2, job.top + job.H / 4, corner.c_str(), static_cast<int>(corner.size()));
        for (int row = first_row; row <= last_row; ++row) {
            const std::string text(m.row_heading(row));
            TextOutA(dc, x + job.A / 2, cells_top + (row - first_row) * job.line, text.c_str(),
                     static_cast<int>(text.size()));
        }
        x += job.row_heading_width;
    }
    if (m.has_row_headings() || column_rules) {
        rule(dc, start, heading_row && corner.empty() ? cells_top : job.top, start, band_bottom);
        rule(dc, x, job.top, x, band_bottom);
    }
}

// One page of a band: the row-heading column, then the page's columns.
void print_page(const GridRecord& g, const GridPrintSettings& r, const PrintJob& job, int first_row, int last_row,
                const GridPrintPage& page, bool heading_row, bool first_page_of_band)
{
    const GridModel& m = *g.cells;
    HDC dc = job.dc;
    StartPage(dc);
    SelectObject(dc, job.cell_font);
    SetBkMode(dc, TRANSPARENT);
    int x = job.left;
    const int cells_top = job.top + (heading_row ? job.heading : 0);
    const int band_bottom = cells_top + (last_row - first_row + 1) * job.line + (r.options[0] ? 0 : job.H / 2);
    if (first_page_of_band || r.options[2])
        grid_print_row_headings(m, job, first_row, last_row, heading_row, r.options[1] != 0, band_bottom, x);
    else
        rule(dc, x, job.top, x, band_bottom);
    const int cells_left = x;
    for (int c = page.first_column; c <= page.last_column; ++c) {
        const GridColumn& col = m.columns[static_cast<std::size_t>(c)];
        const int w = std::min(job.widths[static_cast<std::size_t>(c)], std::max(job.right - x, 1));
        if (heading_row) {
            const std::string heading(m.column_heading(c + 1));
            SetTextAlign(dc, TA_CENTER | TA_TOP);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, x + w / 2, job.top + job.H / 4, heading.c_str(), static_cast<int>(heading.size()));
        }
        int tx = x + job.A / 2;
        UINT align = TA_LEFT;
        if (col.type == GridCellType::check_box || (col.type <= GridCellType::double_precision && col.alignment == 1)) {
            tx = x + w / 2;
            align = TA_CENTER;
        } else if (col.type <= GridCellType::double_precision && col.alignment == 2) {
            tx = x + w - job.A / 2;
            align = TA_RIGHT;
        }
        SetTextAlign(dc, align | TA_TOP);
        SelectObject(dc, col.type == GridCellType::check_box ? job.check_font : job.cell_font);
        for (int row = first_row; row <= last_row; ++row) {
            GridColourTriple fg, bg;
            grid_cell_colours(m, c, row, fg, bg);
            const std::int32_t text_colour = fg.red >= 0 ? RGB(fg.red, fg.green, fg.blue) : -1;
            const std::int32_t back_colour = bg.red >= 0 ? RGB(bg.red, bg.green, bg.blue) : -1;
            SetTextColor(dc, r.options[3] && text_colour != -1 ? static_cast<COLORREF>(text_colour) : RGB(0, 0, 0));
            const bool opaque = r.options[4] && back_colour != -1;
            if (opaque)
                SetBkColor(dc, static_cast<COLORREF>(colour_or(back_colour, 0xFFFFFF)));
            const int y = cells_top + (row - first_row) * job.line;
            const int clip_top = r.options[0] ? y - job.H / 4 : y;
            const RECT clip{x + 1, clip_top, x + w + 1, clip_top + job.line};
            const std::string text = display_text(m, c, row);
            ExtTextOutA(dc, tx, y, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &clip, text.c_str(),
                        static_cast<UINT>(text.size()), nullptr);
        }
        x += w;
        if (r.options[1] || c == page.last_column)
            rule(dc, x, job.top, x, band_bottom);
    }
    SelectObject(dc, job.cell_font);
    if (heading_row) {
        rule(dc, job.left, cells_top, x, cells_top);
        if (!m.column_heading(0).empty())
            rule(dc, job.left, job.top, cells_left, job.top);
    }
    rule(dc, heading_row ? cells_left : job.left, job.top, x, job.top);
    if (r.options[0])
        for (int row = first_row; row <= last_row; ++row) {
            const int y = cells_top + (row - first_row + 1) * job.line - job.H / 4;
            rule(dc, job.left, y, x, y);
        }
    else
        rule(dc, job.left, band_bottom, x, band_bottom);
    EndPage(dc);
}

HFONT make_font(const LOGFONTA& screen, int height, bool symbols)
{
    LOGFONTA f = screen;
    f.lfHeight = -height;
    f.lfWidth = f.lfEscapement = f.lfOrientation = 0;
    f.lfOutPrecision = OUT_TT_PRECIS;
    f.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    f.lfQuality = DEFAULT_QUALITY;
    if (symbols) {
        f.lfCharSet = SYMBOL_CHARSET;
        f.lfPitchAndFamily = 0;
        lstrcpynA(f.lfFaceName, "Wingdings", LF_FACESIZE);
    }
    return CreateFontIndirectA(&f);
}

// The job's document name: for the second record the grid editor's file
// name when the grid is the editor's, else the title; "Untitled" for none.
std::string document_name(int id, int choice, std::string_view title)
{
    std::string name(title.substr(0, title.find('\0')));
    if (choice != 1 && id == 0) {
        const WindowSlot* slot = win_slot(window_tables().current);
        const GridEditorRecord* e = slot ? grid_editor_of(slot->frame) : nullptr;
        name = e ? e->texts.file_name : std::string();
    }
    return name.empty() ? std::string("Untitled") : name;
}

// The printed width of every column of the block (text extents measured
// once for the whole job) and of the row-heading column; sizes scale by
// scale / per from the screen to the printer.
void measure_columns(const GridRecord& g, PrintJob& job, int scale, int per, int first_row, int last_row,
                     int first_column, int last_column)
{
    const GridModel& m = *g.cells;
    HDC dc = job.dc;
    job.widths.clear();
    for (int c = first_column; c <= last_column; ++c) {
        const GridColumn& col = m.columns[static_cast<std::size_t>(c)];
        int w = g.templates[static_cast<std::size_t>(c)].width * scale / per;
        SelectObject(dc, col.type == GridCellType::check_box ? job.check_font : job.cell_font);
        for (int row = first_row; row <= last_row; ++row)
            w = std::max(w, text_width(dc, display_text(m, c, row)) + job.A);
        job.widths.push_back(w);
    }
    SelectObject(dc, job.cell_font);
    if (m.has_row_headings()) {
        job.row_heading_width = g.row_heading_width * scale / per;
        job.row_heading_width = std::max(job.row_heading_width, text_width(dc, m.column_heading(0)) + job.A);
        for (int row = 0; row < m.rows_in_use; ++row)
            job.row_heading_width = std::max(job.row_heading_width, text_width(dc, m.row_heading(row)) + job.A);
    }
}

} // namespace

void grid_print_defaults()
{
    GridPrintState& s = print_state();
    if (s.defaults_ready)
        return;
    fill_record(s.records[0]);
    fill_record(s.records[1]);
    s.records[1].options[3] = s.records[0].options[3];
    s.records[1].options[4] = s.records[0].options[4];
    s.defaults_ready = true;
}

void grid_page_setup(int units, int choice)
{
    grid_print_defaults();
    GridPrintSettings& r = record_of(choice);
    int wanted = units < 2 ? grid_units_inches : grid_units_millimetres;
    if (units == -1) {
        char measure[4] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
        wanted = measure[0] == '1' ? grid_units_inches : grid_units_millimetres;
    }
    if (r.units != wanted) {
        const auto convert = [wanted](LONG& v) {
            v = wanted == grid_units_millimetres ? grid_inches_to_millimetres(v) : grid_millimetres_to_inches(v);
        };
        RECT& m = r.setup.rtMargin;
        convert(m.left), convert(m.top), convert(m.right), convert(m.bottom);
        convert(r.setup.ptPaperSize.x), convert(r.setup.ptPaperSize.y);
        r.units = wanted;
    }
    // Without a printer the dialog has nothing to show.
    if (!r.device)
        return;
    r.setup.Flags = static_cast<DWORD>(wanted) | PSD_MARGINS;
    r.setup.hwndOwner = GetActiveWindow();
    if (!cdlg_page_setup_select(r.setup))
        return;
    LockedDevice device(r.setup);
    HDC dc = device.context(false);
    if (!dc)
        return;
    const int unit = r.units == grid_units_inches ? 1000 : 2540;
    const int px = std::max(GetDeviceCaps(dc, LOGPIXELSX), 1), py = std::max(GetDeviceCaps(dc, LOGPIXELSY), 1);
    const int left = GetDeviceCaps(dc, PHYSICALOFFSETX), top = GetDeviceCaps(dc, PHYSICALOFFSETY);
    RECT& minimum = r.setup.rtMinMargin;
    minimum.left = left * unit / px;
    minimum.top = top * unit / py;
    minimum.right = (GetDeviceCaps(dc, PHYSICALWIDTH) - GetDeviceCaps(dc, HORZRES) - left) * unit / px;
    minimum.bottom = (GetDeviceCaps(dc, PHYSICALHEIGHT) - GetDeviceCaps(dc, VERTRES) - top) * unit / py;
    DeleteDC(dc);
}

void grid_print_options_get(int options[5], int& scale, int choice)
{
    grid_print_defaults();
    const GridPrintSettings& r = record_of(choice);
    for (int i = 0; i < 5; ++i)
        options[i] = r.options[static_cast<std::size_t>(i)] == 1 ? 1 : 0;
    scale = r.scale;
}

void grid_print_options_set(const int options[5], int scale, int choice)
{
    // The defaults come first, so that what a program sets before its first
    // job is kept.
    grid_print_defaults();
    GridPrintSettings& r = record_of(choice);
    for (int i = 0; i < 5; ++i)
        r.options[static_cast<std::size_t>(i)] = options[i] == 1 ? 1 : 0;
    r.scale = scale;
}

int grid_print_margin_query(int code, int choice)
{
    grid_print_defaults();
    const GridPrintSettings& r = record_of(choice);
    const RECT& m = r.setup.rtMargin;
    switch (code) {
    case 1: return grid_margin_to_points(m.right - m.left, r.units);
    case 2: return grid_margin_to_points(m.bottom - m.top, r.units);
    case 3: return grid_margin_to_points(m.left, r.units);
    case 4: return grid_margin_to_points(m.top, r.units);
    case 5: {
        LockedDevice device(r.setup);
        return device.mode() && device.mode()->dmOrientation != DMORIENT_PORTRAIT ? 1 : 0;
    }
    default: return 0;
    }
}

void grid_print_margin_set(int code, int value, int choice)
{
    grid_print_defaults();
    GridPrintSettings& r = record_of(choice);
    RECT& m = r.setup.rtMargin;
    switch (code) {
    case 1: m.right = m.left + grid_points_to_margin(value, r.units); break;
    case 2: m.bottom = m.top + grid_points_to_margin(value, r.units); break;
    case 3: m.left = grid_points_to_margin(value, r.units); break;
    case 4: m.top = grid_points_to_margin(value, r.units); break;
    case 5: {
        if (value < 0 || value > 3)
            return;
        LockedDevice device(r.setup);
        const short wanted = (value == 0 || value == 2) ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
        if (device.mode() && device.mode()->dmOrientation != wanted) {
            std::swap(r.setup.ptPaperSize.x, r.setup.ptPaperSize.y);
            device.mode()->dmOrientation = wanted;
        }
        const int w = m.right - m.left, h = m.bottom - m.top;
        if ((value == 2 && w > h) || (value == 3 && w < h)) {
            m.right = m.left + h;
            m.bottom = m.top + w;
        }
        break;
    }
    default: break;
    }
}

void grid_print(int id, int& ok, int first_row, int last_row, int first_column, int last_column, int choice,
                std::string_view title)
{
    ok = 0;
    GridModel* model = grid_directory().find ? grid_directory().find(id) : nullptr;
    GridRecord* g = model ? dynamic_cast<GridRecord*>(model->view) : nullptr;
    if (!g)
        return;
    grid_print_defaults();
    const GridPrintSettings& r = record_of(choice);
    if (!r.device)
        return;
    g->editor_store();
    LockedDevice device(r.setup);
    HDC dc = device.context(false);
    if (!dc)
        return;
    const GridModel& m = *g->cells;
    last_row = std::min(last_row, m.rows_in_use - 1);
    last_column = std::min(last_column, m.column_count() - 1);
    first_row = std::max(first_row, 0);
    first_column = std::max(first_column, 0);

    const int px = GetDeviceCaps(dc, LOGPIXELSX), py = GetDeviceCaps(dc, LOGPIXELSY);
    HDC screen = GetDC(g->frame);
    HGDIOBJ old_screen_font = g->font ? SelectObject(screen, g->font) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    LOGFONTA screen_font{};
    GetObjectA(g->font ? g->font : GetStockObject(DEFAULT_GUI_FONT), sizeof screen_font, &screen_font);
    GetTextFaceA(screen, LF_FACESIZE, screen_font.lfFaceName);
    const int sx = GetDeviceCaps(screen, LOGPIXELSX), sy = GetDeviceCaps(screen, LOGPIXELSY);
    if (old_screen_font)
        SelectObject(screen, old_screen_font);
    ReleaseDC(g->frame, screen);

    PrintJob job;
    job.dc = dc;
    const int height = (tm.tmHeight - tm.tmInternalLeading) * py * r.scale / (sy * 100);
    job.cell_font = make_font(screen_font, height, false);
    job.check_font = make_font(screen_font, height, true);
    const int unit = r.units == grid_units_inches ? 1000 : 2540;
    job.left = r.setup.rtMargin.left * px / unit;
    job.right = (r.setup.ptPaperSize.x - r.setup.rtMargin.right) * px / unit;
    job.top = r.setup.rtMargin.top * py / unit;
    job.bottom = (r.setup.ptPaperSize.y - r.setup.rtMargin.bottom) * py / unit;
    if (job.right <= job.left)
        job.right = GetDeviceCaps(dc, HORZRES);
    if (job.bottom <= job.top)
        job.bottom = GetDeviceCaps(dc, VERTRES);

    const std::string name = document_name(id, choice, title);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    if (StartDocA(dc, &doc) <= 0) {
        DeleteObject(job.cell_font);
        DeleteObject(job.check_font);
        DeleteDC(dc);
        return;
    }
    HGDIOBJ old_font = SelectObject(dc, job.cell_font);
    TEXTMETRICA ptm{};
    GetTextMetricsA(dc, &ptm);
    job.H = ptm.tmHeight;
    job.A = ptm.tmAveCharWidth;
    job.heading = job.H * 3 / 2;
    job.line = r.options[0] ? job.H * 3 / 2 : job.H;

    measure_columns(*g, job, px * r.scale, sx * 100, first_row, last_row, first_column, last_column);

    const bool column_headings = m.has_column_headings();
    int rows_per_page = grid_rows_per_page(job.bottom - job.top, job.line, column_headings);
    const int start_x = job.left + (m.has_row_headings() ? job.row_heading_width : 0);
    const int repeated_x = r.options[2] ? start_x : job.left;
    std::vector<GridPrintPage> pages = grid_column_pages(job.widths, start_x, job.right, repeated_x);
    for (GridPrintPage& p : pages) {
        p.first_column += first_column;
        p.last_column += first_column;
    }
    const std::vector<int> widths = job.widths;
    job.widths.assign(static_cast<std::size_t>(m.column_count()), 0);
    for (std::size_t i = 0; i < widths.size(); ++i)
        job.widths[static_cast<std::size_t>(first_column) + i] = widths[i];

    bool first_band = true;
    for (int band = first_row; band <= last_row;) {
        const int band_last = std::min(last_row, band + rows_per_page - 1);
        const bool heading_row = column_headings && (r.options[2] || first_band);
        for (std::size_t p = 0; p < pages.size(); ++p)
            print_page(*g, r, job, band, band_last, pages[p], heading_row, p == 0);
        band = band_last + 1;
        if (first_band && column_headings && !r.options[2])
            ++rows_per_page;
        first_band = false;
    }
    EndDoc(dc);
    SelectObject(dc, old_font);
    DeleteObject(job.cell_font);
    DeleteObject(job.check_font);
    DeleteDC(dc);
    ok = 1;
}

} // namespace korv
