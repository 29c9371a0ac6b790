// IGrLoadImageData under Wine: reads each file given five times into a
// pixel array and prints the median time in milliseconds: "name median_ms".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "korvanthide/errors.h"
#include "korvanthide/images.h"

int main(int argc, char** argv)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int a = 1; a < argc; ++a) {
        int info[3] = {};
        IGrFileInfo(argv[a], info);
        if (info[1] <= 0 || info[2] <= 0)
            return 1;
        std::vector<std::int32_t> pixels(static_cast<std::size_t>(info[1]) * static_cast<std::size_t>(info[2]));
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            IGrLoadImageData(argv[a], pixels);
            QueryPerformanceCounter(&end);
            if (korv::error_state().last_error != 0)
                return 2;
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.1f\n", argv[a], times[2]);
    }
    return 0;
}
