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
#include "hardcopy/control/win_printer_dc.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/win_gdi_back_end.h"

namespace korv {

int GdiBackEnd::open_printer(int x_offset, int y_offset, int landscape, int copies, const std::string& title,
                             int& resolution_x, int& resolution_y, int& colours)
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
    dash_pattern();
    origin_x_ = GetDeviceCaps(dc_, PHYSICALOFFSETX) - x_offset * resolution_x / 72;
    origin_y_ = GetDeviceCaps(dc_, PHYSICALOFFSETY) - y_offset * resolution_y / 72;
    start_page();
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

class WindowsPrinterDriver : public GdiDriver {
public:
    void select(DeviceParameters& p) override;
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override { back_.close_printer(); }
    void end_page(DeviceParameters&) override
    {
        hardcopy_state().page_drawn = 0;
        back_.end_page();
    }
    void colour(DeviceParameters& p) override;
    void point(DeviceParameters& p) override;
    void line_width(DeviceParameters&) override;

private:
    int printer_error_ = 0;
    int resolution_x_ = 600, resolution_y_ = 600;

    bool colour_fills() const override;
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
            int colours = 0;
            error = back_.open_printer(hc_option(option_x_offset), hc_option(option_y_offset),
                                       hc_option(option_orientation), hc_option(option_copies), title, resolution_x_,
                                       resolution_y_, colours);
            if (error == 0)
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
        back_.colour(colour_);
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

void WindowsPrinterDriver::colour(DeviceParameters& p)
{
    if (hc_option(option_monochrome) == 0) {
        GdiDriver::colour(p);
        return;
    }
    // Black and white: every colour but white prints black.
    const GraphicsState& g = graphics_state();
    previous_ = colour_;
    const bool white = g.colour_mode == 2 ? (g.cur_rgb & 0xFFFFFF) == 0xFFFFFF : g.cur_index == 0;
    colour_ = white ? RGB(255, 255, 255) : RGB(0, 0, 0);
    back_.colour(colour_);
}

void WindowsPrinterDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    const POINT a = at(p.rx1, p.ry1);
    back_.thick_point(a.x, a.y);
}

void WindowsPrinterDriver::line_width(DeviceParameters&)
{
    const auto dots = [](int resolution) {
        return std::max(1, static_cast<int>(static_cast<float>(resolution) * hc_option(option_line_width) / 720.0f + 0.5f));
    };
    back_.line_width((dots(resolution_x_) + dots(resolution_y_) - 2) / 2);
}

} // namespace

Device& hc_windows_printer_driver()
{
    static WindowsPrinterDriver driver;
    return driver;
}

POINT hc_windows_printer_origin()
{
    const GdiBackEnd& b = static_cast<WindowsPrinterDriver&>(hc_windows_printer_driver()).back_end();
    return {b.origin_x(), b.origin_y()};
}

HDC hc_windows_printer_context()
{
    return static_cast<WindowsPrinterDriver&>(hc_windows_printer_driver()).back_end().dc();
}

} // namespace korv
