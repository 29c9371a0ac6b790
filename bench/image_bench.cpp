// Reads image files through IGrLoadImageData, five times each, into a
// pixel array, and prints the median time of each file in milliseconds:
// "name median_ms". Built natively and for Windows.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "korvanthide/errors.h"
#include "korvanthide/images.h"

int main(int argc, char** argv)
{
    for (int a = 1; a < argc; ++a) {
        int info[3] = {};
        IGrFileInfo(argv[a], info);
        if (info[1] <= 0 || info[2] <= 0)
            return 1;
        std::vector<std::int32_t> pixels(static_cast<std::size_t>(info[1]) * static_cast<std::size_t>(info[2]));
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            IGrLoadImageData(argv[a], pixels);
            const auto end = std::chrono::steady_clock::now();
            if (korv::error_state().last_error != 0) {
                std::fprintf(stderr, "%s: error %d\n", argv[a], korv::error_state().last_error);
                return 2;
            }
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.1f\n", argv[a], times[2]);
    }
    return 0;
}
