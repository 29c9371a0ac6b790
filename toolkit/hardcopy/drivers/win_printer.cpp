// Driver 10: the graphics layer's output on the default Windows printer, in
// printer dots, one document from the open to the close and a page from
// each end of page to the next drawing.
#include <windows.h>

#include <algorithm>
#include <string>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "hardcopy/control/win_printer_dc.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/win_gdi_back_end.h"

namespace korv {

int GdiBackEnd::open_printer(int width, int height, int x_offset, int y_offset, int landscape, int copies,
                             const std::string& title, int& resolution_x, int& resolution_y, int& colours)
{
    target_ = Target::printer;
    if (dc_ == nullptr) {
        OwnedDc printer = hc_printer_dc(landscape, copies);
        if (!printer) {
            const DWORD code = GetLastError();
            return code != 0 ? static_cast<int>(code) : ERROR_INVALID_PRINTER_NAME;
        }
        DOCINFOA doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = title.c_str();
        // A document that cannot start leaves no context behind.
        if (StartDocA(printer.get(), &doc) <= 0) {
            const DWORD code = GetLastError();
            return code != 0 ? static_cast<int>(code) : ERROR_CANCELLED;
        }
        dc_ = printer.release();
    }
    colours = GetDeviceCaps(dc_, NUMCOLORS);
    resolution_x = std::max(1, GetDeviceCaps(dc_, LOGPIXELSX));
    resolution_y = std::max(1, GetDeviceCaps(dc_, LOGPIXELSY));
    dpi_ = resolution_x;
    origin_x_ = GetDeviceCaps(dc_, PHYSICALOFFSETX) - x_offset * resolution_x / 72;
    origin_y_ = GetDeviceCaps(dc_, PHYSICALOFFSETY) - y_offset * resolution_y / 72;
    page_extent_ = {std::max(1, width * resolution_x / 72), std::max(1, height * resolution_y / 72)};
    if (clip_ != nullptr) {
        SelectClipRgn(dc_, nullptr);
        DeleteObject(clip_);
        clip_ = nullptr;
    }
    return 0;
}

void GdiBackEnd::close_printer()
{
    if (dc_ == nullptr)
        return;
    release_font_and_clip();
    if (!page_pending_)
        EndPage(dc_);
    EndDoc(dc_);
    DeleteDC(dc_);
    dc_ = nullptr;
    page_pending_ = false;
}

namespace {

GdiBackEnd& printer_back_end()
{
    return toolkit_context().record<GdiBackEnd>(ContextSlot::printer_gdi);
}

// The back end of a routine that draws: a pending page is started first.
GdiBackEnd& printer_page()
{
    if (printer_back_end().page_pending())
        hc_printer_start_page();
    return printer_back_end();
}

} // namespace

void hc_printer_open(int width, int height, int x_offset, int y_offset, int& resolution_x, int& resolution_y,
                     int& colours, int& error_flag, int& error_code, int landscape, int copies,
                     std::string_view document)
{
    error_code = printer_back_end().open_printer(width, height, x_offset, y_offset, landscape, copies,
                                                 std::string(document), resolution_x, resolution_y, colours);
    error_flag = error_code != 0 ? 1 : 0;
    if (error_flag != 0)
        return;
    hc_printer_dash_pattern();
    hc_printer_start_page();
}

void hc_printer_start_page() { printer_back_end().start_page(); }
void hc_printer_end_page() { printer_back_end().end_page(); }
void hc_printer_close() { printer_back_end().close_printer(); }
void hc_printer_colour(int red, int green, int blue) { printer_back_end().colour(RGB(red, green, blue)); }

void hc_printer_line(int x1, int y1, int x2, int y2)
{
    GdiBackEnd& back = printer_page();
    hc_printer_make_pen();
    back.line(x1, y1, x2, y2);
}

void hc_printer_polyline(int count)
{
    GdiBackEnd& back = printer_page();
    hc_printer_make_pen();
    back.polyline(hc_buffered_points(count));
}

void hc_printer_ellipse(int cx, int cy, int rx, int ry, int fill_style)
{
    GdiBackEnd& back = printer_page();
    // A filled ellipse is drawn with its own pen.
    if (fill_style < 3)
        hc_printer_make_pen();
    back.ellipse(cx, cy, rx, ry, fill_style);
}

void hc_printer_rectangle(int left, int top, int right, int bottom) { printer_page().rectangle(left, top, right, bottom); }

void hc_printer_pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye)
{
    printer_page().pie(cx, cy, rx, ry, xs, ys, xe, ye);
}

void hc_printer_arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style)
{
    GdiBackEnd& back = printer_page();
    hc_printer_make_pen();
    back.arc(cx, cy, rx, ry, xs, ys, xe, ye, fill_style);
}

void hc_printer_polygon(int count, int outline) { printer_page().polygon(hc_buffered_points(count), outline != 0); }

void hc_printer_gradient_triangles(const int* x, const int* y, const std::int32_t* colours, const int* triangles,
                                   int vertex_count, int triangle_count, int& failed)
{
    failed = printer_page().gradient_triangles(x, y, colours, vertex_count, triangles, triangle_count);
}

void hc_printer_image_pixel(int x, int y, std::int32_t colour) { printer_page().image_pixel(x, y, colour); }
void hc_printer_thick_point(int x, int y) { printer_page().thick_point(x, y); }

void hc_printer_font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name)
{
    printer_page().font(width, height, ascent, angle, face, style, name);
}

void hc_printer_text(int x1, int y1, int x2, int y2, int alignment, int opaque, std::string_view text)
{
    printer_page().text(x1, y1, x2, y2, alignment, opaque != 0, text);
}

void hc_printer_text_extent(int& width, std::string_view text) { width = printer_back_end().text_width(text); }
void hc_printer_clip(int left, int top, int right, int bottom) { printer_page().clip(left, top, right, bottom); }
void hc_printer_line_style(int line_type) { printer_back_end().line_style(line_type); }

void hc_printer_line_width(int width)
{
    printer_back_end().line_width(width);
    hc_printer_dash_pattern();
}

void hc_printer_end_cap(int cap) { printer_back_end().end_cap(cap); }
void hc_printer_line_join(int join) { printer_back_end().line_join(join); }
void hc_printer_make_pen() { printer_back_end().make_pen(); }
void hc_printer_dash_pattern() { printer_back_end().dash_pattern(); }

namespace {

constexpr GdiBackEndRoutines printer_routines = {
    hc_printer_colour,  hc_printer_colour_invert, hc_printer_line,       hc_printer_polyline,
    hc_printer_ellipse, hc_printer_rectangle,     hc_printer_pie,        hc_printer_arc,
    hc_printer_polygon, hc_printer_gradient_triangles, hc_printer_image_pixel, hc_printer_font,
    hc_printer_text,    hc_printer_text_extent,   hc_printer_clip,       hc_printer_line_style,
    hc_printer_line_width, hc_printer_end_cap,    hc_printer_line_join,
};

class WindowsPrinterDriver : public GdiDriver {
public:
    WindowsPrinterDriver() : GdiDriver(printer_routines) {}

private:
    int printer_error_ = 0;
    int resolution_x_ = 600, resolution_y_ = 600;

    void select(DeviceParameters& p) override;
    void open(DeviceParameters& p) override;
    void close() override { hc_printer_close(); }
    void end_page() override
    {
        hardcopy_state().page_drawn = 0;
        hc_printer_end_page();
    }
    void colour() override;
    void point(DeviceParameters& p) override;
    void line_width() override;
    bool colour_fills() const override;
    HDC image_context() const override { return hc_windows_printer_context(); }
};

void WindowsPrinterDriver::select(DeviceParameters& p)
{
    const bool full = p.count != -999 && p.phase != -998;
    hc_driver_select(p, hc_windows_printer_defaults());
    if (full) {
        GraphicsPlatform::PrinterPage page;
        printer_error_ = gr_platform().printer_defaults(page);
    }
}

void WindowsPrinterDriver::open(DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    if (p.phase > 0) {
        int error = printer_error_;
        if (error == 0) {
            std::string title(text_trimmed(text_view(hc.title)));
            if (p.px1 == 0 || title.empty())
                title = "Korvanthide graphic";
            int colours = 0, failed = 0;
            hc_printer_open(hc_option(option_page_width), hc_option(option_page_height), hc_option(option_x_offset),
                            hc_option(option_y_offset), resolution_x_, resolution_y_, colours, failed, error,
                            hc_option(option_orientation), hc_option(option_copies), title);
            if (failed == 0)
                g.hardcopy_colour_count = colours < 0 ? 256 : std::min(colours, 256);
        }
        if (error != 0) {
            ErrorState& e = error_state();
            e.detail_category = 2;
            e.file_code = error;
            err_report_current(err::file_open);
            g.hardcopy_active = 0;
            return;
        }
        colour_ = previous_ = RGB(255, 255, 255);
        back_colour(colour_);
    }
    const int page_width = hc_option(option_page_width) * resolution_x_ / 72;
    const int page_height = hc_option(option_page_height) * resolution_y_ / 72;
    if (g.device_width > 0 && g.device_height > 0) {
        sx_ = static_cast<float>(page_width) / static_cast<float>(g.device_width);
        sy_ = static_cast<float>(page_height) / static_cast<float>(g.device_height);
    }
    hc.scale_x = sx_;
    hc.scale_y = sy_;
}

bool WindowsPrinterDriver::colour_fills() const
{
    const int style = graphics_state().fill_style;
    return style > 2 || ((style == 1 || style == 2) && hc_option(option_monochrome) != 0);
}

void WindowsPrinterDriver::colour()
{
    if (hc_option(option_monochrome) == 0) {
        GdiDriver::colour();
        return;
    }
    // Black and white: every colour but white prints black.
    const GraphicsState& g = graphics_state();
    previous_ = colour_;
    const bool white = g.colour_mode == 2 ? (g.cur_rgb & 0xFFFFFF) == 0xFFFFFF : g.cur_index == 0;
    colour_ = white ? RGB(255, 255, 255) : RGB(0, 0, 0);
    back_colour(colour_);
}

void WindowsPrinterDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    const POINT a = at(p.rx1, p.ry1);
    hc_printer_thick_point(a.x, a.y);
}

// Option 9 is in tenths of a point: a one-pixel line becomes width 0, the
// thinnest pen.
void WindowsPrinterDriver::line_width()
{
    const auto dots = [](int resolution) {
        return std::max(1, static_cast<int>(static_cast<float>(resolution) * hc_option(option_line_width) / 720.0f + 0.5f));
    };
    hc_printer_line_width((dots(resolution_x_) + dots(resolution_y_) - 2) / 2);
}

WindowsPrinterDriver& printer_driver()
{
    return toolkit_context().record<WindowsPrinterDriver>(ContextSlot::windows_printer_driver);
}

} // namespace

// Driver 10: operations 1, 2, 3, 5, 7, 9, 11, 13, 15, 18-22, 24-26, 29, 30,
// 32-38 and 40; any other is ignored.
void hc_windows_printer(int& op) { printer_driver().operate(op, device_parameters()); }

POINT hc_windows_printer_origin()
{
    const GdiBackEnd& b = printer_back_end();
    return {b.origin_x(), b.origin_y()};
}

HDC hc_windows_printer_context() { return printer_back_end().dc(); }

} // namespace korv
