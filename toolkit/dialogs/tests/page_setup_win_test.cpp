// The toolkit's page set-up dialog (this program holds resource 32010) on
// the real default printer, answered through its controls; the printer
// set-up behind it; and the refusal without a printer.
#include "dialogs/page_setup.h"

#include "korvanthide/bitmaps.h"
#include "korvanthide/graphics_state.h"

#include "dialogs/tests/dialog_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using korv::testing::answer_dialogs;
using korv::testing::answers_given;

namespace {

const std::string title = "Seite einrichten";

struct Block {
    PAGESETUPDLGA b{};
    Block(int units_flag)
    {
        b.lStructSize = sizeof(b);
        b.Flags = PSD_RETURNDEFAULT | static_cast<DWORD>(units_flag);
        EXPECT_EQ(korv::cdlg_page_setup_system(b), 1);
        b.Flags = static_cast<DWORD>(units_flag) | PSD_MARGINS;
    }
    ~Block()
    {
        if (b.hDevMode) GlobalFree(b.hDevMode);
        if (b.hDevNames) GlobalFree(b.hDevNames);
    }
    short orientation() const
    {
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(b.hDevMode));
        const short o = mode->dmOrientation;
        GlobalUnlock(b.hDevMode);
        return o;
    }
};

std::string field_text(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> combo_items(HWND dialog, int id)
{
    std::vector<std::string> items;
    HWND combo = GetDlgItem(dialog, id);
    const int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[128] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// Runs the toolkit's dialog on the block until the queued answers are used.
int run(PAGESETUPDLGA& block) { return korv::cdlg_page_setup_select(block); }

class PageSetup : public ::testing::Test {
protected:
    void SetUp() override { dialog_test::toolkit_up(); }
    void TearDown() override { dialog_test::unload_all(); }
};

} // namespace

TEST_F(PageSetup, ListsMarginsPreviewAndOrientation)
{
    Block block(PSD_INTHOUSANDTHSOFINCHES);
    ASSERT_GT(block.b.ptPaperSize.y, block.b.ptPaperSize.x);
    block.b.rtMargin = {1000, 500, 700, 1200};
    std::vector<std::string> papers;
    std::string caption, left, bottom;
    COLORREF page_pixel = 0, outside_pixel = 0;
    std::string turned_left, turned_top;
    answer_dialogs({{title, 1209,
                     [&](HWND d) {
                         papers = combo_items(d, 1033);
                         caption = field_text(d, 1038);
                         left = field_text(d, 1039);
                         bottom = field_text(d, 1044);
                         HWND preview = GetDlgItem(d, 1024);
                         RECT r{};
                         GetClientRect(preview, &r);
                         HDC dc = GetDC(preview);
                         page_pixel = GetPixel(dc, r.right / 2, r.bottom / 2);
                         outside_pixel = GetPixel(dc, r.right / 14, r.bottom / 2);
                         ReleaseDC(preview, dc);
                     }},
                    {title, IDOK, [&](HWND d) {
                         turned_left = field_text(d, 1039);
                         turned_top = field_text(d, 1042);
                     }}});
    const korv::GraphicsState before = korv::graphics_state();
    ASSERT_EQ(run(block.b), 1);
    EXPECT_EQ(answers_given(), 2);
    // The program's drawing target and the bitmap limit are as they were.
    EXPECT_EQ(korv::graphics_state().target_kind, before.target_kind);
    EXPECT_EQ(korv::graphics_state().target_number, before.target_number);
    EXPECT_EQ(korv::graphics_state().colour_mode, before.colour_mode);
    EXPECT_EQ(korv::bmp_handle_limit(), 50);

    ASSERT_FALSE(papers.empty());
    for (std::size_t i = 1; i < papers.size(); ++i) EXPECT_LE(papers[i - 1], papers[i]);
    EXPECT_EQ(caption, "Margins (inches)");
    EXPECT_EQ(left, "1.0");
    EXPECT_EQ(bottom, "1.2");
    EXPECT_EQ(page_pixel, RGB(255, 255, 255));
    EXPECT_EQ(outside_pixel, GetSysColor(COLOR_BTNFACE));
    // Landscape: the old bottom is the left margin, the old left the top.
    EXPECT_EQ(turned_left, "1.2");
    EXPECT_EQ(turned_top, "1.0");
    EXPECT_EQ(block.orientation(), DMORIENT_LANDSCAPE);
    EXPECT_GT(block.b.ptPaperSize.x, block.b.ptPaperSize.y);
    EXPECT_EQ(block.b.rtMargin.left, 1200);
    EXPECT_EQ(block.b.rtMargin.top, 1000);
    EXPECT_EQ(block.b.rtMargin.right, 500);
    EXPECT_EQ(block.b.rtMargin.bottom, 700);
}

TEST_F(PageSetup, PaperSizesFromTheDriverInBothUnits)
{
    const struct {
        int flag;
        LONG width, height;
        const char* caption;
    } cases[] = {{PSD_INTHOUSANDTHSOFINCHES, 8500, 11000, "Margins (inches)"},
                 {PSD_INHUNDREDTHSOFMILLIMETERS, 21590, 27940, "Margins (millimetres)"}};
    for (const auto& c : cases) {
        Block block(c.flag);
        block.b.rtMargin = {2540, 2540, 2540, 2540};
        std::string caption, left;
        answer_dialogs({{title, IDOK, [&](HWND d) {
                             caption = field_text(d, 1038);
                             left = field_text(d, 1039);
                             HWND combo = GetDlgItem(d, 1033);
                             SetFocus(combo);
                             SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>("US Letter"));
                         }}});
        ASSERT_EQ(run(block.b), 1) << c.caption;
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(block.b.ptPaperSize.x, c.width) << c.caption;
        EXPECT_EQ(block.b.ptPaperSize.y, c.height) << c.caption;
        // Confirmed unchanged, a margin comes back as it went in.
        EXPECT_EQ(block.b.rtMargin.left, 2540) << c.caption;
        EXPECT_EQ(block.b.rtMargin.bottom, 2540) << c.caption;
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(block.b.hDevMode));
        EXPECT_EQ(mode->dmPaperSize, DMPAPER_LETTER);
        GlobalUnlock(block.b.hDevMode);
    }
}

TEST_F(PageSetup, CancelKeepsTheBlock)
{
    Block block(PSD_INHUNDREDTHSOFMILLIMETERS);
    block.b.rtMargin = {1000, 2000, 3000, 4000};
    const POINT paper = block.b.ptPaperSize;
    answer_dialogs({{title, 1209}, {title, IDCANCEL}});
    EXPECT_EQ(run(block.b), 0);
    EXPECT_EQ(block.b.rtMargin.left, 1000);
    EXPECT_EQ(block.b.rtMargin.bottom, 4000);
    EXPECT_EQ(block.b.ptPaperSize.x, paper.x);
    EXPECT_EQ(block.orientation(), DMORIENT_PORTRAIT);
}

TEST_F(PageSetup, PrinterSetupTurnsTheDialog)
{
    Block block(PSD_INTHOUSANDTHSOFINCHES);
    block.b.rtMargin = {1000, 500, 700, 1200};
    int landscape_checked = 0;
    answer_dialogs({{title, 1301},
                    {"Print Setup", IDOK, [](HWND d) { SendDlgItemMessageA(d, 1057, BM_CLICK, 0, 0); }},
                    {title, IDOK, [&](HWND d) {
                         landscape_checked = IsDlgButtonChecked(d, 1209) == BST_CHECKED ? 1 : 0;
                     }}});
    ASSERT_EQ(run(block.b), 1);
    EXPECT_EQ(answers_given(), 3);
    EXPECT_EQ(landscape_checked, 1);
    EXPECT_EQ(block.orientation(), DMORIENT_LANDSCAPE);
    EXPECT_EQ(block.b.rtMargin.left, 1200);
}

TEST_F(PageSetup, NoPrinterNoDialog)
{
    char saved[512] = {};
    GetProfileStringA("windows", "Device", "", saved, sizeof saved);
    Block block(PSD_INTHOUSANDTHSOFINCHES);
    ASSERT_TRUE(WriteProfileStringA("windows", "Device", "Nowhere,winspool,LPT9:"));

    // No handles and a default printer that is gone: nothing is asked.
    PAGESETUPDLGA empty{};
    empty.lStructSize = sizeof(empty);
    empty.Flags = PSD_RETURNDEFAULT;
    EXPECT_EQ(korv::cdlg_page_setup_system(empty), 0);
    EXPECT_EQ(empty.hDevMode, nullptr);
    EXPECT_EQ(korv::cdlg_page_setup_select(empty), 0);

    // Handles naming a printer that is gone.
    const char names[] = "winspool\0Nowhere\0LPT9:\0";
    HGLOBAL gone = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + sizeof names);
    auto* dn = static_cast<DEVNAMES*>(GlobalLock(gone));
    dn->wDriverOffset = sizeof(DEVNAMES);
    dn->wDeviceOffset = sizeof(DEVNAMES) + 9;
    dn->wOutputOffset = sizeof(DEVNAMES) + 17;
    std::memcpy(reinterpret_cast<char*>(dn) + sizeof(DEVNAMES), names, sizeof names);
    GlobalUnlock(gone);
    std::swap(block.b.hDevNames, gone);
    EXPECT_EQ(korv::cdlg_page_setup_select(block.b), 0);
    EXPECT_EQ(korv::page_printer_dc(block.b), nullptr);
    std::swap(block.b.hDevNames, gone);
    GlobalFree(gone);

    WriteProfileStringA("windows", "Device", saved);
    EXPECT_TRUE(korv::page_printer_present(""));
}
