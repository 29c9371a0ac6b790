// Against the real default printer: the CUPS queue "PDF" that the test set-up
// installs, which Wine lists as "PDF,wineps.drv,CUPS:PDF".
#include "korvanthide/printer.h"
#include "hardcopy/control/win_printer_dc.h"
#include "testing/cups_pdf.h"
#include "hardcopy/control/printer_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace korv;

namespace {

PrinterDefaults read_defaults(int reread)
{
    PrinterDefaults p;
    hc_printer_defaults(reread, p.larger, p.smaller, p.width, p.height, p.x_offset, p.y_offset,
                        p.orientation, p.copies, p.colours, p.error);
    return p;
}

std::string profile_device()
{
    char value[552] = {};
    GetProfileStringA("windows", "Device", "", value, sizeof value);
    return value;
}

// Puts another Device value in place for one test and the old one back
// afterwards, whatever the test does.
class DeviceValue {
public:
    explicit DeviceValue(const char* value) : saved_(profile_device())
    {
        WriteProfileStringA("windows", "Device", value);
    }
    ~DeviceValue()
    {
        WriteProfileStringA("windows", "Device", saved_.c_str());
        windows_printer_settings() = {};
    }

private:
    std::string saved_;
};

std::string whole_file(const std::string& name)
{
    std::string bytes;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

} // namespace

TEST(WindowsPrinter, DefaultPrinterGivesALandscapePageWithMargins)
{
    windows_printer_settings() = {};
    const PrinterDefaults page = read_defaults(1);
    ASSERT_EQ(page.error, 0);
    const PrinterSelection& chosen = windows_printer_settings().selection;
    EXPECT_STREQ(chosen.device.data(), "PDF");
    EXPECT_STREQ(chosen.driver.data(), "wineps.drv");
    EXPECT_STREQ(chosen.port.data(), "CUPS:PDF");
    EXPECT_EQ(windows_printer_settings().printer_read, 1);
    // The queue's paper (A4 or Letter), in points, truncated.
    HDC ic = CreateICA("wineps.drv", "PDF", nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    const int w = GetDeviceCaps(ic, PHYSICALWIDTH) * 72 / GetDeviceCaps(ic, LOGPIXELSX);
    const int h = GetDeviceCaps(ic, PHYSICALHEIGHT) * 72 / GetDeviceCaps(ic, LOGPIXELSY);
    DeleteDC(ic);
    EXPECT_TRUE((w == 594 && h == 841) || (w == 612 && h == 792)) << w << " x " << h;
    EXPECT_EQ(page.larger, h);
    EXPECT_EQ(page.smaller, w);
    EXPECT_EQ(page.width, page.larger - 144);
    EXPECT_EQ(page.height, page.smaller - 144);
    EXPECT_EQ(page.x_offset, 72);
    EXPECT_EQ(page.y_offset, 72);
    EXPECT_EQ(page.orientation, 1);
    EXPECT_EQ(page.copies, 1);
    EXPECT_NE(page.colours, 0);
}

TEST(WindowsPrinter, PageSetupChoiceHoldsUntilTheProfileIsReadAgain)
{
    windows_printer_settings() = {};
    ASSERT_EQ(read_defaults(0).error, 0);
    WindowsPrinterSettings& settings = windows_printer_settings();
    settings.selection.chosen = 1;
    settings.page_setup = {4, 8500, 11000};  // Letter in thousandths of an inch
    PrinterDefaults page = read_defaults(0);
    EXPECT_EQ(page.error, 0);
    EXPECT_EQ(page.larger, 792);
    EXPECT_EQ(page.smaller, 612);
    EXPECT_EQ(settings.selection.chosen, 1);

    settings.page_setup = {0, 21000, 29700};  // A4 in hundredths of a millimetre
    page = read_defaults(0);
    EXPECT_EQ(page.larger, 842);
    EXPECT_EQ(page.smaller, 595);

    read_defaults(1);
    EXPECT_EQ(settings.selection.chosen, 0);
}

TEST(WindowsPrinter, PrintsOneLandscapePageThatCupsPdfWrites)
{
    windows_printer_settings() = {};
    ASSERT_EQ(read_defaults(1).error, 0);
    OwnedDc dc = hc_printer_dc(1, 1);
    ASSERT_TRUE(dc);
    HDC hdc = dc.get();
    EXPECT_GT(GetDeviceCaps(hdc, PHYSICALWIDTH), GetDeviceCaps(hdc, PHYSICALHEIGHT));

    const std::string title = "korvtest" + std::to_string(GetCurrentProcessId()) + "x" +
                              std::to_string(GetTickCount());
    const korv::testing::PrintedPdfWatch watch;
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    ASSERT_GT(StartDocA(hdc, &doc), 0);
    ASSERT_GT(StartPage(hdc), 0);
    TextOutA(hdc, 300, 300, "Korvanthide", 11);
    Rectangle(hdc, 200, 200, 1200, 800);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(EndDoc(hdc), 0);
    dc = OwnedDc();

    const std::string found = watch.wait_for(title);
    ASSERT_FALSE(found.empty()) << "no PDF named after " << title;
    const std::string pdf = whole_file(found);
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    DeleteFileA(found.c_str());
}

TEST(WindowsPrinter, MissingOrMalformedDeviceIsAnErrorWithNoPage)
{
    for (const char* value : {"NoSuchPrinter,wineps.drv,CUPS:NoSuchPrinter", "NoCommas",
                              "OnlyOne,comma", ""}) {
        DeviceValue device(value);
        windows_printer_settings() = {};
        const PrinterDefaults page = read_defaults(1);
        EXPECT_NE(page.error, 0) << value;
        EXPECT_EQ(page.larger, 0) << value;
        EXPECT_EQ(page.width, 0) << value;
        EXPECT_EQ(page.copies, 0) << value;
        EXPECT_FALSE(hc_printer_dc(0, 1)) << value;
    }
    EXPECT_EQ(profile_device(), "PDF,wineps.drv,CUPS:PDF");
}

TEST(WindowsPrinter, StartupDefaultsMarkThePrinterAvailable)
{
    windows_printer_settings() = {};
    hc_device_description_reset();
    hc_settings_decode();
    hc_hardcopy_defaults_init(0);
    EXPECT_EQ(hardcopy_device_state().printer_available, 1);
    EXPECT_GT(hardcopy_dump_settings().slot(1), hardcopy_dump_settings().slot(2));
    EXPECT_EQ(hardcopy_dump_settings().slot(1), hardcopy_device_state().printer_page_larger - 144);
    {
        DeviceValue device("NoSuchPrinter,wineps.drv,CUPS:NoSuchPrinter");
        windows_printer_settings().reread_request = 1;
        hc_hardcopy_defaults_init(0);
        EXPECT_EQ(hardcopy_device_state().printer_available, 0);
        EXPECT_EQ(hardcopy_dump_settings().slot(1), 0);
    }
}
