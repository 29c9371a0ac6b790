// How long the converter takes from a trackbar move to a finished refresh:
// the program's own start-up and event loop run in this process, a key press
// is posted to a trackbar, and the clock stops when the event it caused has
// been handled and the dialog has painted. Prints the median and the 95th
// percentile per trackbar.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/converter.h"
#include "app/converter_program.h"
#include "korvanthide/events.h"
#include "korvanthide/window.h"

namespace {

double now_ms()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// Handles events until the one the trackbar posts for reaching `position`.
void handle_until(Converter& converter, HWND dialog, int trackbar, int position)
{
    const HWND control = GetDlgItem(dialog, trackbar);
    for (;;) {
        int type = 0;
        EventRecord record;
        WEventWait(type, record);
        converter.handle_event(type, record);
        if (type == korv::event::field_changed && record.slot(3) == trackbar &&
            SendMessageA(control, TBM_GETPOS, 0, 0) == position) {
            return;
        }
    }
}

struct Figures {
    double median;
    double p95;
};

Figures figures(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<std::size_t>(q * (samples.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.95)};
}

// Moves the trackbar by key presses from `from` to `to` and back, `rounds`
// times; one sample per press. The trackbar takes the focus first, and the
// first press is not timed (it also carries the focus change).
std::vector<double> drive(Converter& converter, HWND dialog, int trackbar, int key_down, int key_up, int step,
                          int from, int to, int rounds)
{
    const HWND control = GetDlgItem(dialog, trackbar);
    SetFocus(control);
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    int position = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
    std::vector<double> samples;
    auto press = [&](bool up, bool timed) {
        const double start = now_ms();
        PostMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(up ? key_up : key_down), 1);
        position = std::clamp(position + (up ? step : -step), low, high);
        handle_until(converter, dialog, trackbar, position);
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (timed) {
            samples.push_back(now_ms() - start);
        }
    };
    press(position < high, false);
    while (position != from) {
        press(position < from, false);
    }
    for (int round = 0; round < rounds; ++round) {
        for (int target : {to, from}) {
            while (position != target) {
                press(position < target, true);
            }
        }
    }
    return samples;
}

} // namespace

int main()
{
    cc_toolkit_start();
    Converter converter(cc_toolkit());
    converter.start();
    WEventTypeEnable(korv::event::field_changed, 1);
    const HWND dialog = korv::dialog_current_window();

    struct Run {
        const char* what;
        int trackbar, key_down, key_up, step, from, to, rounds;
    } runs[] = {
        {"red trackbar, line steps", 1001, VK_LEFT, VK_RIGHT, 1, 100, 0, 2},
        {"HSV hue trackbar, page steps", 1032, VK_PRIOR, VK_NEXT, 10, 0, 360, 4},
    };
    std::vector<double> all;
    for (const Run& r : runs) {
        const std::vector<double> samples =
            drive(converter, dialog, r.trackbar, r.key_down, r.key_up, r.step, r.from, r.to, r.rounds);
        const Figures f = figures(samples);
        std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", r.what, samples.size(), f.median, f.p95);
        all.insert(all.end(), samples.begin(), samples.end());
    }
    const Figures f = figures(all);
    std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", "all trackbar moves", all.size(), f.median, f.p95);
    std::fflush(stdout);
    WRootWindowClose();
    return 0;
}
