// The Windows printer driver against the real default printer, the CUPS
// queue "PDF": a picture printed through IGrHardCopy lands as one PDF page,
// which the host's poppler reads after this test (read_windows_outputs.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "hardcopy/control/hardcopy_state.h"
#include "graphics/formats/image_write.h"
#include "graphics/metafile_slots.h"
#include "graphics/metafile_win.h"
#include "hardcopy/control/print_image.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/win_gdi_back_end.h"
#include "testing/cups_pdf.h"
#include "hardcopy/control/printer_settings.h"

using namespace korv;

namespace {

std::string profile_device()
{
    char value[552] = {};
    GetProfileStringA("windows", "Device", "", value, sizeof value);
    return value;
}

class PrinterDriver : public ::testing::Test {
protected:
    GraphicsStateSaver saver;
    HardcopyState saved = hardcopy_state();
    ErrorState saved_errors = error_state();

    void SetUp() override
    {
        windows_printer_settings() = {};
        gr_platform_install();
        error_state().report_mode = 0;
        error_state().last_error = 0;
        GraphicsState& g = graphics_state();
        g.screen_active = 0;
        g.drawable_width = 640;
        g.drawable_height = 480;
        device_parameters().count = 0;
        device_parameters().phase = 0;
        hc_dispatch_select(1, driver_windows_printer);
    }
    void TearDown() override
    {
        IGrHardCopy("S");
        hardcopy_state() = saved;
        error_state() = saved_errors;
        windows_printer_settings() = {};
    }
    static void colour(int r, int g, int b)
    {
        GraphicsState& s = graphics_state();
        s.colour_mode = 2;
        s.prev_rgb = s.cur_rgb;
        s.cur_rgb = r + 256 * g + 65536 * b;
        gr_send_hardcopy(DeviceOperation::Colour);
    }
    static void fill(int op, float x1, float y1, float x2, float y2, int style)
    {
        graphics_state().fill_style = style;
        DeviceParameters& p = device_parameters();
        p.phase = 0;
        p.rx1 = x1, p.ry1 = y1, p.rx2 = x2, p.ry2 = y2, p.rx3 = 1;
        gr_send_hardcopy(op);
        p.phase = -1;
        gr_send_hardcopy(op);
    }
};

TEST_F(PrinterDriver, PrintsThePictureAsOnePdfPage)
{
    DeleteFileA("printer_page.pdf");
    const std::string title = "korvdriver" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
    const korv::testing::PrintedPdfWatch watch;
    IGrHardCopy(std::nullopt, title);
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    DeviceParameters& p = device_parameters();
    colour(255, 0, 0);
    fill(9, 100, 100, 300, 250, 4);
    colour(0, 0, 255);
    fill(5, 450, 300, 60, 40, 4);
    colour(0, 0, 0);
    p.phase = 0;
    p.rx1 = 20, p.ry1 = 20, p.rx2 = 600, p.ry2 = 20;
    gr_send_hardcopy(DeviceOperation::Line);
    graphics_state().text_alignment = 0;
    p.text_set("Farbtafel");
    p.px1 = 9;
    p.rx1 = 100, p.ry1 = 400, p.rx4 = 300, p.ry4 = 400;
    gr_send_hardcopy(DeviceOperation::Text);
    IGrHardCopy("S");

    const std::string found = watch.wait_for(title);
    ASSERT_FALSE(found.empty()) << "no PDF named after " << title;
    // The host's reader checks the page after this test.
    ASSERT_TRUE(CopyFileA(found.c_str(), "printer_page.pdf", FALSE));
    DeleteFileA(found.c_str());
}

// A printed page's PDF under a name the host reads, with its page size and
// offsets in points beside it (name.page) when asked.
void keep_pdf(const korv::testing::PrintedPdfWatch& watch, const std::string& title, const char* name, bool page = false)
{
    const std::string found = watch.wait_for(title);
    ASSERT_FALSE(found.empty()) << "no PDF named after " << title;
    ASSERT_TRUE(CopyFileA(found.c_str(), name, FALSE));
    DeleteFileA(found.c_str());
    if (page) {
        const std::string sizes = std::to_string(hc_option(option_page_width)) + " " +
                                  std::to_string(hc_option(option_page_height)) + " " +
                                  std::to_string(hc_option(option_x_offset)) + " " +
                                  std::to_string(hc_option(option_y_offset));
        std::FILE* f = std::fopen((std::string(name) + ".page").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(sizes.c_str(), f);
        std::fclose(f);
    }
}

std::string job_title(const char* what)
{
    return what + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
}

TEST_F(PrinterDriver, TurnedPictureLandsOnTheClipBox)
{
    // A 40 by 20 picture: red, green over blue, black. Drawn at a page
    // rotation of 90 degrees into the middle half of the page (host check:
    // read_windows_outputs.sh), it turns a quarter to the left: green
    // top-left, black top-right, red bottom-left, blue bottom-right.
    std::vector<std::int32_t> picture;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            picture.push_back(y < 10 ? (x < 20 ? 0x0000FF : 0x00FF00) : (x < 20 ? 0xFF0000 : 0x000000));
    ByteSink png;
    int zlib = 0;
    ASSERT_EQ(png_encode({40, 20, picture}, png, zlib), 0);
    ASSERT_TRUE(png.commit("quarters.png").ok());
    const int saved_nt = display_info().windows_nt;
    display_info().windows_nt = 1;
    const std::string title = job_title("korvturned");
    const korv::testing::PrintedPdfWatch watch;
    IGrHardCopy(std::nullopt, title);
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    GraphicsState& g = graphics_state();
    const float w = static_cast<float>(g.device_width), h = static_cast<float>(g.device_height);
    g.area_px1 = 0.25f * w, g.area_px2 = 0.75f * w, g.area_py1 = 0.25f * h, g.area_py2 = 0.75f * h;
    g.rotation = 90;
    DeviceParameters& p = device_parameters();
    p.px1 = 15, p.px2 = 40, p.py2 = 20, p.py3 = 4;
    p.image_file_set("quarters.png");
    gr_send_hardcopy(DeviceOperation::ImageFile);
    g.rotation = 0;
    display_info().windows_nt = saved_nt;
    EXPECT_EQ(p.phase, 0);
    IGrHardCopy("S");
    keep_pdf(watch, title, "printer_turned.pdf", true);
}

TEST_F(PrinterDriver, MonochromeAndANewPage)
{
    // Option 7: every colour but white prints black. After an end of page
    // the next line starts a second page.
    const std::string title = job_title("korvmono");
    const korv::testing::PrintedPdfWatch watch;
    IGrHardCopy(std::nullopt, title);
    ASSERT_EQ(graphics_state().hardcopy_active, 1) << error_state().last_error;
    hc_set_option(option_monochrome, 1);
    colour(255, 0, 0);
    fill(9, 100, 100, 300, 250, 4);
    gr_send_hardcopy(DeviceOperation::EndPage);
    DeviceParameters& p = device_parameters();
    p.phase = 0;
    p.rx1 = 20, p.ry1 = 20, p.rx2 = 600, p.ry2 = 400;
    gr_send_hardcopy(DeviceOperation::Line);
    IGrHardCopy("S");
    hc_set_option(option_monochrome, 0);
    keep_pdf(watch, title, "printer_mono.pdf");
}

TEST_F(PrinterDriver, MetafileSlotsTakeAnInformationContextOnThePrinter)
{
    // Once the default printer has been read, an enhanced-metafile slot is
    // made for it (its resolution); before that for the screen.
    PrinterDefaults page;
    hc_printer_defaults(1, page.larger, page.smaller, page.width, page.height, page.x_offset, page.y_offset,
                        page.orientation, page.copies, page.colours, page.error);
    ASSERT_EQ(windows_printer_settings().printer_read, 1);
    const PrinterSelection& chosen = windows_printer_settings().selection;
    HDC information = CreateICA(chosen.driver.data(), chosen.device.data(), nullptr, nullptr);
    ASSERT_NE(information, nullptr);
    const int printer_resolution = GetDeviceCaps(information, LOGPIXELSX);
    DeleteDC(information);
    HDC screen = GetDC(nullptr);
    const int screen_resolution = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(printer_resolution, screen_resolution);
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_enhanced(1, 144, 72));
    EXPECT_EQ(emf_reference_resolution(), printer_resolution);
    windows_printer_settings().printer_read = 0;
    metafile_slots_release();
    metafile_slots_clear();
    ASSERT_TRUE(metafile_slot_create_enhanced(1, 144, 72));
    EXPECT_EQ(emf_reference_resolution(), screen_resolution);
    metafile_slots_release();
}

TEST_F(PrinterDriver, DeviceNamingNoPrinterIsErrorOne)
{
    const std::string saved_device = profile_device();
    WriteProfileStringA("windows", "Device", "NoSuchPrinter,wineps.drv,CUPS:NoSuchPrinter");
    windows_printer_settings() = {};
    windows_printer_settings().reread_request = 1;
    device_parameters().count = 0;
    hc_dispatch_select(1, driver_windows_printer);
    IGrHardCopy("plot");
    WriteProfileStringA("windows", "Device", saved_device.c_str());
    EXPECT_EQ(error_state().last_error, 1);
    EXPECT_EQ(err_routine_name(), "IGrHardCopy");
    EXPECT_EQ(graphics_state().hardcopy_active, 0);
}

TEST(GdiDashes, ScaledToTheDeviceAndWidenedByThePen)
{
    EXPECT_EQ(hc_dash_lengths(3, 600, 96, 3), (std::vector<DWORD>{6, 27, 50, 27}));
    EXPECT_EQ(hc_dash_lengths(7, 96, 96, 3), (std::vector<DWORD>{8, 6, 4, 6, 4, 6}));
    EXPECT_TRUE(hc_dash_lengths(0, 600, 96, 1).empty());
}

// The back end on a memory bitmap, read back pixel for pixel: a solid line
// gets back the last pixel GDI leaves out, along its axis or diagonal; at
// any other slope the printer sets the thin line's end pixel, for a single
// line and for a polyline's last segment alike, and a metafile does not.
TEST(PrinterBackEnd, SolidLinesGetTheirLastPixelBack)
{
    struct Case {
        const char* what;
        GdiBackEnd::Target target;
        std::vector<POINT> points; // two points: a line; more: a polyline
        POINT end;                 // the pixel to look at
        bool inked;
    };
    using T = GdiBackEnd::Target;
    const std::vector<Case> cases = {
        {"horizontal line", T::printer, {{10, 10}, {20, 10}}, {20, 10}, true},
        {"diagonal line", T::printer, {{10, 10}, {20, 20}}, {20, 20}, true},
        {"sloped line", T::printer, {{10, 10}, {20, 13}}, {20, 13}, true},
        {"sloped last segment", T::printer, {{4, 30}, {10, 30}, {20, 33}}, {20, 33}, true},
        {"vertical last segment", T::printer, {{4, 30}, {10, 30}, {10, 38}}, {10, 38}, true},
        {"sloped line, metafile", T::plain_metafile, {{10, 10}, {20, 13}}, {20, 13}, false},
        {"sloped last segment, metafile", T::plain_metafile, {{4, 30}, {10, 30}, {20, 33}}, {20, 33}, false},
    };
    for (const Case& c : cases) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        std::fill_n(static_cast<std::uint32_t*>(bits), 40 * 40, 0xFFFFFFu);
        GdiBackEnd back;
        back.attach(memory, c.target);
        back.colour(RGB(0, 0, 0));
        back.line_width(0);
        back.make_pen();
        if (c.points.size() == 2)
            back.line(c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y);
        else
            back.polyline(c.points);
        back.detach();
        GdiFlush();
        const std::uint32_t at = static_cast<const std::uint32_t*>(bits)[c.end.y * 40 + c.end.x] & 0xFFFFFF;
        EXPECT_EQ(at == 0, c.inked) << c.what;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
}

TEST(PrintImage, ARectangleOfTheDrawingLandsOnThePage)
{
    EXPECT_EQ(hc_dib_colour_table_size(40, 8, 0), 1024);
    EXPECT_EQ(hc_dib_colour_table_size(12, 4, 0), 48);
    EXPECT_EQ(hc_dib_colour_table_size(40, 8, 10), 40);
    EXPECT_EQ(hc_dib_colour_table_size(40, 24, 0), 0);

    windows_printer_settings() = {};
    PrinterDefaults page;
    hc_printer_defaults(1, page.larger, page.smaller, page.width, page.height, page.x_offset, page.y_offset,
                        page.orientation, page.copies, page.colours, page.error);
    ASSERT_EQ(page.error, 0);
    std::array<char, 20> name{};
    hc_printer_name_query(4, name);
    EXPECT_EQ(text_trimmed(text_view(name)), "PDF");
    hc_printer_name_query(5, name);
    EXPECT_EQ(text_trimmed(text_view(name)), "CUPS:PDF");

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    const RECT all{0, 0, 40, 30};
    FillRect(memory, &all, green);
    DeleteObject(green);
    HDC saved = window_tables().drawing_dc;
    window_tables().drawing_dc = memory;

    DeleteFileA("print_image_page.pdf");
    const std::string title = "korvimage" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
    const korv::testing::PrintedPdfWatch watch;
    int error = 0;
    hc_print_image_start(page.width, page.height, page.x_offset, page.y_offset, error, 1, 1, title);
    EXPECT_EQ(error, 0);
    hc_print_image_transfer(0, 0, 39, 29, error);
    EXPECT_EQ(error, 0);
    hc_print_image_end();
    window_tables().drawing_dc = saved;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);

    const std::string found = watch.wait_for(title);
    ASSERT_FALSE(found.empty()) << "no PDF named after " << title;
    ASSERT_TRUE(CopyFileA(found.c_str(), "print_image_page.pdf", FALSE));
    DeleteFileA(found.c_str());
}

} // namespace
