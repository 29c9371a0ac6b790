// The raster image driver's speed on an A4 page at 300 dpi, 24 bits: open,
// a picture with hatched and solid fills over half the page, the page's
// end, the PNG written, close; median of five. The same picture goes
// through the PostScript driver on a portrait A4 page, which
// bench/run_drivers_bench.sh then has ghostscript render at 300 dpi as the
// peer. The 1- and 8-bit pages and a 300 dpi PCL page are timed beside it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"

using namespace korv;

namespace {

double now_ms()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void picture()
{
    IGrColourModeSelect(24);
    IGrColourN(0x0000FF);
    IGrFillStyleSet(1, 3, 1);
    IGrRectangle(0.05f, 0.05f, 0.5f, 0.5f);
    IGrColourN(0xFF0000);
    IGrFillStyleSet(2, 2, 2);
    IGrRectangle(0.5f, 0.05f, 0.95f, 0.5f);
    IGrColourN(0x00A000);
    IGrFillStyleSet(4);
    IGrRectangle(0.05f, 0.5f, 0.5f, 0.95f);
    IGrColourN(0x808000);
    IGrRectangle(0.5f, 0.5f, 0.95f, 0.95f);
    IGrColourN(0);
    IGrFillStyleSet(0);
    for (int i = 0; i < 40; ++i) {
        const float f = static_cast<float>(i) / 40.0f;
        IGrRectangle(0.02f + f * 0.2f, 0.02f + f * 0.2f, 0.98f - f * 0.2f, 0.98f - f * 0.2f);
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One page through driver n with these options, five times: the median in ms.
double timed(int driver, const std::vector<std::pair<int, int>>& options, const std::string& file)
{
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        device_parameters().count = 0;
        hc_dispatch_select(1, driver);
        for (const auto& [n, v] : options)
            hc_set_option(n, v);
        const double start = now_ms();
        IGrHardCopy(file);
        IGrArea(0, 0, 1, 1);
        picture();
        IGrHardCopy("S");
        runs.push_back(now_ms() - start);
    }
    return median(runs);
}

} // namespace

int main()
{
    // Start-up brings the drivers; no window is opened, so nothing is drawn
    // on a screen.
    WToolkitStart();
    const std::vector<std::pair<int, int>> a4_pixels = {{option_page_width, 2480}, {option_page_height, 3508},
                                                       {option_image_file_type, 3}};
    auto depth = [&](int bits) {
        auto o = a4_pixels;
        o.emplace_back(option_colour_depth, bits);
        return o;
    };
    const double png24 = timed(driver_raster_image, depth(24), "page24.png");
    const double png8 = timed(driver_raster_image, depth(8), "page8.png");
    const double png1 = timed(driver_raster_image, depth(1), "page1.png");
    const double ps = timed(driver_postscript,
                            {{option_page_width, 595}, {option_page_height, 842}, {option_x_offset, 0},
                             {option_y_offset, 0}, {option_orientation, 0}},
                            "page.ps");
    printer_plotter_settings() = PrinterPlotterSettings{};
    hc_printer_type_init(28);
    const double pcl = timed(driver_raster_printer,
                             {{option_page_width, 595}, {option_page_height, 842}, {option_orientation, 0},
                              {option_raster_resolution, 1}},
                             "page.prn");
    std::printf("png24_ms %.1f\npng8_ms %.1f\npng1_ms %.1f\nps_ms %.1f\npcl300_ms %.1f\n", png24, png8, png1, ps, pcl);
    return 0;
}
