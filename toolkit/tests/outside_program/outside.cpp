// Uses the converter-free toolkit as a program does, with nothing but its
// public headers: a dialog with a text field and a grid, a drawing in a
// child window, and a file of the SVG driver. Prints what a user would see,
// one line each, for the test that built it to compare.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "korvanthide/dialogs.h"
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

namespace {

constexpr int svg_driver = 3;

std::string trimmed(const char* text, std::size_t length)
{
    std::string s(text, length);
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

// The headings of the grid field as its header control shows them.
std::string grid_headings()
{
    HWND dialog = FindWindowA(nullptr, "Outside");
    HWND grid = dialog ? FindWindowExA(dialog, nullptr, "ZOQGRID", nullptr) : nullptr;
    HWND header = grid ? FindWindowExA(grid, nullptr, WC_HEADERA, nullptr) : nullptr;
    if (header == nullptr)
        return "none";
    std::string headings;
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::array<char, 64> text{};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (text[0] != '\0')
            headings += std::string(headings.empty() ? "" : ",") + text.data();
    }
    return headings;
}

// Two pixels of the drawing window's client area as the screen shows them:
// near its lower left and near its upper right corner.
std::string drawn_pixels()
{
    HWND frame = FindWindowA(nullptr, "Drawing");
    HWND client = frame ? FindWindowExA(frame, nullptr, "ZUVEDAZAZI", nullptr) : nullptr;
    if (client == nullptr)
        return "none";
    RECT area{};
    GetClientRect(client, &area);
    HDC dc = GetDC(client);
    const COLORREF lower_left = GetPixel(dc, 4, area.bottom - 5);
    const COLORREF upper_right = GetPixel(dc, area.right - 5, 4);
    ReleaseDC(client, dc);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%06lX %06lX", static_cast<unsigned long>(lower_left),
                  static_cast<unsigned long>(upper_right));
    return text.data();
}

void red_square()
{
    IGrArea(0, 0, 1, 1);
    IGrUnits(0, 0, 1, 1);
    IGrColourModeSelect(24);
    IGrColourN(0x0000FF);
    IGrFillStyleSet(4);
    IGrRectangle(0, 0, 0.5f, 0.5f);
}

} // namespace

int main()
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480);

    WDialogLoad(100);
    WDialogShow(-1, -1, 0, 2);
    WDialogPutString(101, "Korvanthide");
    std::array<char, 20> text{};
    WDialogGetString(101, text);
    std::printf("dialog: %s\n", trimmed(text.data(), text.size()).c_str());
    std::printf("grid: %s\n", grid_headings().c_str());

    // A red square in the lower left quarter of a child window.
    int window = 0;
    WindowOpenChild(window, korv::winflag::defaults, 0, 0, 240, 200, 0, {}, 0, "Drawing", 0, 0xFFFFFF);
    IGrSelect(1, window);
    red_square();
    std::printf("drawing: %s\n", drawn_pixels().c_str());

    // The same square through the SVG driver into a file.
    korv::hc_dispatch_select(1, svg_driver);
    IGrHardCopy("outside.svg");
    red_square();
    IGrHardCopy("S");

    WRootWindowClose();
    return 0;
}
