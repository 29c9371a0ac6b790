// The floor for the converter's refresh: a program without the toolkit that
// makes the window-system calls one refresh after a trackbar move needs,
// written straight to Win32. A key press is posted to a trackbar; the
// dialog's procedure reads its position and writes 4 other trackbars, 7 edit
// texts (5 of them numbers with an up-down partner), the selection of a combo
// box of 206 items and a new 75 by 60 bitmap into a picture; then the dialog
// is updated once. Prints the median and the 95th percentile of the moves in
// the same form as the converter benchmark.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_timing.h"

namespace {

constexpr int kDialog = 100;
constexpr int kMoved = 200;
constexpr int kWrittenTrackbars[] = {201, 202, 203, 204};
constexpr int kEdits[] = {300, 301, 302, 303, 304, 305, 306};
constexpr int kNumberEdits = 5;  // the first five: numbers with an up-down partner
constexpr int kList = 400;
constexpr int kListItems = 206;
constexpr int kPicture = 500;
constexpr int kPreviewWidth = 75;
constexpr int kPreviewHeight = 60;

int refreshed_position = -1;  // the trackbar position the last refresh showed

void set_preview(HWND picture, COLORREF colour)
{
    std::vector<DWORD> pixels(kPreviewWidth * kPreviewHeight,
                              GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kPreviewWidth;
    info.bmiHeader.biHeight = -kPreviewHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    const auto old = reinterpret_cast<HBITMAP>(
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (old != nullptr && old != bitmap) {
        DeleteObject(old);
    }
}

// What the converter writes after a move, with numbers of its kind.
void refresh(HWND dialog)
{
    const int p = static_cast<int>(SendDlgItemMessageA(dialog, kMoved, TBM_GETPOS, 0, 0));
    const float x = static_cast<float>(p) * 0.01f;
    for (int i = 0; i < 4; ++i) {
        SendDlgItemMessageA(dialog, kWrittenTrackbars[i], TBM_SETPOS, TRUE, (p * (i + 3)) % 101);
    }
    char text[32];
    for (int i = 0; i < 5; ++i) {
        if (i % 2 == 0) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(255.0f * x) + i);
        } else {
            std::snprintf(text, sizeof text, "%.5f", static_cast<double>(x) / (i + 1));
        }
        SetDlgItemTextA(dialog, kEdits[i], text);
    }
    const int r = static_cast<int>(255.0f * x);
    std::snprintf(text, sizeof text, "%02X%02X%02X", r, 255 - r, 128);
    SetDlgItemTextA(dialog, kEdits[5], text);
    std::snprintf(text, sizeof text, "%d", r + 256 * (255 - r) + 65536 * 128);
    SetDlgItemTextA(dialog, kEdits[6], text);
    SendDlgItemMessageA(dialog, kList, CB_SETCURSEL, static_cast<WPARAM>((p * 2) % kListItems), 0);
    set_preview(GetDlgItem(dialog, kPicture), RGB(r, 255 - r, 128));
    refreshed_position = p;
}

INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG: {
        HWND list = GetDlgItem(dialog, kList);
        char item[32];
        for (int i = 0; i < kListItems; ++i) {
            std::snprintf(item, sizeof item, "colour name %03d", i);
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        // The converter's number fields are edits with an up-down partner
        // attached, as here. The partner hooks every message its edit gets,
        // so the floor has them too: that cost is the window system's.
        for (int i = 0; i < kNumberEdits; ++i) {
            HWND partner = CreateWindowExA(0, UPDOWN_CLASSA, " ",
                                           WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ARROWKEYS | UDS_ALIGNRIGHT, 0, 0,
                                           1, 1, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
            SendMessageA(partner, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kEdits[i])), 0);
        }
        for (int id = kMoved; id <= kWrittenTrackbars[3]; ++id) {
            SendDlgItemMessageA(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
            SendDlgItemMessageA(dialog, id, TBM_SETTICFREQ, 10, 0);
            SendDlgItemMessageA(dialog, id, TBM_SETPAGESIZE, 0, 10);
        }
        return TRUE;
    }
    case WM_HSCROLL:
        if (LOWORD(wparam) != SB_ENDSCROLL && reinterpret_cast<HWND>(lparam) == GetDlgItem(dialog, kMoved)) {
            refresh(dialog);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

// Posts one key press to the trackbar and pumps messages until the refresh
// it causes has run; then the dialog is updated once.
void move(HWND dialog, HWND trackbar, bool up, int position)
{
    PostMessageA(trackbar, WM_KEYDOWN, static_cast<WPARAM>(up ? VK_RIGHT : VK_LEFT), 1);
    MSG msg;
    while (refreshed_position != position && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    UpdateWindow(dialog);
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialog), nullptr, dialog_proc, 0);
    if (dialog == nullptr) {
        std::fprintf(stderr, "bare refresh bench: no dialog\n");
        return 1;
    }
    HWND trackbar = GetDlgItem(dialog, kMoved);
    SetFocus(trackbar);
    UpdateWindow(dialog);

    // From 0 up to 100 and back, four times; the first round is not timed:
    // 600 moves. With KORV_BENCH_TRACE set, one round of moves between
    // markers in the debug output, for counting what a move asks of Wine
    // beside the converter benchmark's (run with WINEDEBUG=+server,+debugstr).
    const bool trace = std::getenv("KORV_BENCH_TRACE") != nullptr;
    int position = 0;
    std::vector<double> samples;
    for (int round = 0; round < (trace ? 2 : 4); ++round) {
        for (int target : {100, 0}) {
            while (position != target) {
                const bool up = position < target;
                position += up ? 1 : -1;
                if (trace && round > 0) {
                    OutputDebugStringA("@@begin move");
                }
                const double start = now_ms();
                move(dialog, trackbar, up, position);
                if (trace && round > 0) {
                    OutputDebugStringA("@@end move");
                }
                if (round > 0) {
                    samples.push_back(now_ms() - start);
                }
            }
        }
    }
    const Figures f = figures(samples);
    std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", "bare program", samples.size(), f.median, f.p95);
    std::fflush(stdout);
    DestroyWindow(dialog);
    return 0;
}
