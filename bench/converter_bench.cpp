// How long the converter takes from a trackbar move to a finished refresh:
// the program's own start-up and event loop run in this process, a key press
// is posted to a trackbar, and the clock stops when the event it caused has
// been handled and the dialog has painted. Prints the median and the 95th
// percentile per trackbar.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "converter.h"
#include "converter_program.h"
#include "converter_writer.h"
#include "korvanthide/events.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/window.h"

namespace {

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

// Times each kind of toolkit call the converter makes, to show where a
// refresh spends its time.
class TimingToolkit final : public ConverterToolkit {
public:
    explicit TimingToolkit(ConverterToolkit& inner) : inner_(inner) {}

    void put_trackbar(int f, int p, int s, int e) override { timed(0, [&] { inner_.put_trackbar(f, p, s, e); }); }
    void put_integer(int f, int v) override { timed(1, [&] { inner_.put_integer(f, v); }); }
    void put_real(int f, float v) override { timed(2, [&] { inner_.put_real(f, v); }); }
    void put_string(int f, std::string_view t) override { timed(3, [&] { inner_.put_string(f, t); }); }
    void put_menu(int f, std::span<const std::string_view> i, int s) override
    {
        timed(4, [&] { inner_.put_menu(f, i, s); });
    }
    void select_menu_item(int f, int s) override { timed(5, [&] { inner_.select_menu_item(f, s); }); }
    void field_state(int f, int s) override { timed(6, [&] { inner_.field_state(f, s); }); }
    void spinner_step(int f, float a, float b) override { inner_.spinner_step(f, a, b); }
    void show_preview(int f, float r, float g, float b, int w, int h) override
    {
        timed(7, [&] { inner_.show_preview(f, r, g, b, w, h); });
    }
    int get_trackbar(int f) override { return inner_.get_trackbar(f); }
    int get_integer(int f) override { return inner_.get_integer(f); }
    float get_real(int f) override { return inner_.get_real(f); }
    int get_menu(int f) override { return inner_.get_menu(f); }
    void get_string(int f, std::span<char> t) override { inner_.get_string(f, t); }
    int focused_field() override { return inner_.focused_field(); }
    void refuse_field(int f) override { inner_.refuse_field(f); }
    int select_colour(std::array<int, 3>& rgb) override { return inner_.select_colour(rgb); }
    int show_info() override { return inner_.show_info(); }
    void close_window(int w) override { inner_.close_window(w); }

    void reset() { totals_ = {}; }
    void print(std::size_t samples) const
    {
        static const char* const names[] = {"trackbar", "integer", "real", "text", "list fill", "list selection",
                                            "field state", "preview"};
        for (std::size_t i = 0; i < totals_.size(); ++i) {
            if (totals_[i].count != 0) {
                std::printf("    %-15s %6.2f per move, %6.3f ms each\n", names[i],
                            static_cast<double>(totals_[i].count) / static_cast<double>(samples),
                            totals_[i].ms / static_cast<double>(totals_[i].count));
            }
        }
    }

private:
    template <typename F>
    void timed(std::size_t kind, F&& call)
    {
        const double start = now_ms();
        call();
        totals_[kind].ms += now_ms() - start;
        ++totals_[kind].count;
    }
    struct Total {
        double ms = 0.0;
        long count = 0;
    };
    ConverterToolkit& inner_;
    std::array<Total, 8> totals_{};
};

// Moves the trackbar by key presses from `from` to `to` and back, `rounds`
// times; one sample per press. The trackbar takes the focus first, and the
// first press is not timed (it also carries the focus change).
std::vector<double> drive(Converter& converter, HWND dialog, int trackbar, int key_down, int key_up, int step,
                          int from, int to, int rounds)
{
    const HWND control = GetDlgItem(dialog, trackbar);
    SetFocus(control);
    const int low = static_cast<int>(SendMessageA(control, TBM_GETRANGEMIN, 0, 0));
    const int high = static_cast<int>(SendMessageA(control, TBM_GETRANGEMAX, 0, 0));
    int position = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
    std::vector<double> samples;
    const bool trace = std::getenv("KORV_BENCH_TRACE") != nullptr;
    auto press = [&](bool up, bool timed) {
        if (trace && timed)
            OutputDebugStringA("@@begin move");
        const double start = now_ms();
        PostMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(up ? key_up : key_down), 1);
        position = std::clamp(position + (up ? step : -step), low, high);
        handle_until(converter, dialog, trackbar, position);
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (timed) {
            samples.push_back(now_ms() - start);
        }
        if (trace && timed)
            OutputDebugStringA("@@end move");
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
    TimingToolkit timing(cc_toolkit());
    Converter converter(timing);
    converter.start();
    WEventTypeEnable(korv::event::field_changed, 1);
    const HWND dialog = korv::dialog_current_window();

    // With KORV_BENCH_TRACE set, a few single writes between markers in the
    // debug output, for counting what one write asks of Wine (run with
    // WINEDEBUG=+server,+debugstr or +relay).
    if (std::getenv("KORV_BENCH_TRACE") != nullptr) {
        const auto traced = [](const char* what, auto write) {
            for (int i = 0; i < 3; ++i) {
                OutputDebugStringA((std::string("@@begin ") + what).c_str());
                write(i);
                OutputDebugStringA((std::string("@@end ") + what).c_str());
            }
        };
        traced("integer", [](int i) { WDialogPutInteger(1009, 10 + i); });
        traced("real", [](int i) { WDialogPutReal(1021, 0.25F + 0.125F * static_cast<float>(i)); });
        traced("text", [](int i) { WDialogPutString(1082, i % 2 ? "00FF00" : "FF0000"); });
        traced("trackbar", [](int i) { WDialogPutTrackBar(1005, 10 + i); });
        traced("preview", [](int i) { cc_show_preview(1024, 0.1F * static_cast<float>(i), 0.5F, 0.5F, 75, 60); });
        drive(converter, dialog, 1001, VK_LEFT, VK_RIGHT, 1, 60, 50, 1);
        WRootWindowClose();
        return 0;
    }

    struct Run {
        const char* what;
        int trackbar, key_down, key_up, step, from, to, rounds;
    } runs[] = {
        {"red trackbar, line steps", 1001, VK_LEFT, VK_RIGHT, 1, 100, 0, 2},
        {nullptr, 1033, VK_PRIOR, VK_NEXT, 10, 100, 100, 0},  // full saturation, so the hue counts
        {"HSV hue trackbar, page steps", 1032, VK_PRIOR, VK_NEXT, 10, 0, 360, 4},
    };
    std::vector<double> all;
    for (const Run& r : runs) {
        timing.reset();
        const std::vector<double> samples =
            drive(converter, dialog, r.trackbar, r.key_down, r.key_up, r.step, r.from, r.to, r.rounds);
        if (r.what == nullptr) {
            continue;
        }
        const Figures f = figures(samples);
        std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", r.what, samples.size(), f.median, f.p95);
        timing.print(samples.size());
        all.insert(all.end(), samples.begin(), samples.end());
    }
    const Figures f = figures(all);
    std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", "all trackbar moves", all.size(), f.median, f.p95);

    // For comparison: the refresh as the dialog routines would be called
    // without the cache, every field rewritten and both lists refilled.
    std::vector<double> naive;
    for (int i = 0; i < 20; ++i) {
        const double start = now_ms();
        cc_write_refresh(converter.shown(), kModelRgb, cc_toolkit());
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        naive.push_back(now_ms() - start);
    }
    const Figures n = figures(naive);
    std::printf("%-30s n=%4zu  median %7.3f ms  p95 %7.3f ms\n", "every write, lists refilled", naive.size(),
                n.median, n.p95);
    std::fflush(stdout);
    WRootWindowClose();
    return 0;
}
