// The editor's operations against the control's own messages, each ratio
// measured in this process: ascending range reads in the program's
// counting against EM_GETTEXTRANGE at the same (pre-mapped) positions, and
// printing 50 pages through the editor against the same lines drawn with
// TextOutA on the same printer. Run by bench/run_editor_bench.sh.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "korvanthide/editor.h"
#include "korvanthide/editor_operations.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

namespace {

int open_editor()
{
    int window = -1;
    WindowOpenChild(window, korv::winflag::defaults, -999999, -999999, 600, 400, 0, {}, 0, "Bench");
    WEditFile("", 2, 0, 0, 4, 10);
    return window;
}

BOOL CALLBACK take_rich_edit(HWND child, LPARAM found)
{
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (_strnicmp(name, "RichEdit", 8) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The editor's text control: the frame's child of a RichEdit class.
HWND control_of(int window)
{
    HWND found = nullptr;
    EnumChildWindows(korv::window_tables().windows[static_cast<std::size_t>(window)].frame, take_rich_edit,
                     reinterpret_cast<LPARAM>(&found));
    return found;
}

void range_reads()
{
    const int window = open_editor();
    std::string text;
    // 40,000 lines of 40 bytes with their line ends: 1.6 MB.
    for (int i = 0; i < 40000; ++i) {
        std::string line = "line " + std::to_string(i) + " of the benchmark text";
        line.resize(38, '.');
        text += line + "\r\n";
    }
    int status = 0;
    korv::edit_text_set(status, text);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    // Program positions and, counted plainly, the control's.
    constexpr int calls = 2000;
    constexpr int length = 20;
    const int step = static_cast<int>(text.size() - length) / calls;
    std::vector<int> control(text.size() + 1);
    for (std::size_t i = 0, c = 0; i <= text.size(); ++i) {
        control[i] = static_cast<int>(c);
        if (i < text.size() && text[i] != '\r') ++c;
    }
    HWND edit = control_of(window);
    std::array<char, length + 1> buffer{};

    korv::edit_text_show(0);
    double start = now_ms();
    for (int k = 0; k < calls; ++k) {
        int from = k * step;
        korv::edit_range_text_get(from, length, buffer);
    }
    const double ours = now_ms() - start;
    start = now_ms();
    for (int k = 0; k < calls; ++k) {
        const int from = k * step;
        TEXTRANGEA range{{control[static_cast<std::size_t>(from)], control[static_cast<std::size_t>(from + length)]},
                         buffer.data()};
        SendMessageA(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    }
    const double peer = now_ms() - start;
    korv::edit_text_show(1);
    std::printf("range reads: %d calls of %d over %d lines (%zu bytes): edit_range_text_get %.1f ms, "
                "EM_GETTEXTRANGE %.1f ms, ratio %.2f (goal <= 4)\n",
                calls, length, lines, text.size(), ours, peer, ours / std::max(peer, 0.001));
    WindowCloseChild(window);
}

void pages()
{
    const int window = open_editor();
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        lines.push_back("Printed line " + std::to_string(i) + " of fifty pages");
        text += lines.back() + "\r\n";
    }
    int status = 0;
    korv::edit_text_set(status, text);
    korv::edit_page_setup_set(3, 72, 0);
    korv::edit_page_setup_set(4, 72, 0);

    double start = now_ms();
    int result = 0;
    korv::edit_print_range(result, -1, -1, "korvbench_editor");
    const double ours = now_ms() - start;

    // The same lines on the same printer, placed by hand.
    char device[512] = {};
    GetProfileStringA("windows", "Device", "", device, sizeof device);
    const std::string name = std::string(device).substr(0, std::string(device).find(','));
    start = now_ms();
    HDC dc = CreateDCA("winspool", name.c_str(), nullptr, nullptr);
    DOCINFOA doc{sizeof doc, "korvbench_textout", nullptr, nullptr, 0};
    StartDocA(dc, &doc);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    HFONT font = CreateFontA(-MulDiv(10, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                             "Courier New");
    TEXTMETRICA metrics{};
    int page_count = 0;
    for (std::size_t i = 0; i < lines.size();) {
        StartPage(dc);
        HGDIOBJ old = SelectObject(dc, font);
        GetTextMetricsA(dc, &metrics);
        const int height = GetDeviceCaps(dc, VERTRES) - 2 * dpi;
        int y = dpi;
        for (; i < lines.size() && y + metrics.tmHeight <= dpi + height; ++i, y += metrics.tmHeight)
            TextOutA(dc, dpi, y, lines[i].data(), static_cast<int>(lines[i].size()));
        SelectObject(dc, old);
        EndPage(dc);
        ++page_count;
    }
    EndDoc(dc);
    DeleteDC(dc);
    DeleteObject(font);
    const double peer = now_ms() - start;
    std::printf("printing: %zu lines, edit_print_range %.0f ms (result %d), TextOutA %d pages %.0f ms, "
                "ratio %.2f (goal <= 1.5)\n",
                lines.size(), ours, result, page_count, peer, ours / std::max(peer, 0.001));
    WindowCloseChild(window);
}

} // namespace

int main()
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480, 0, {}, 0,
               "Editor bench");
    range_reads();
    pages();
    WRootWindowClose();
    return 0;
}
