// Reads and decodes image files to packed RGB, five times each, and prints
// the median time of each file in milliseconds: "name median_ms".
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <span>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    for (int a = 1; a < argc; ++a) {
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            // Mapped, as python3-pil maps the files it reads.
            const int fd = open(argv[a], O_RDONLY);
            struct stat st {};
            if (fd < 0 || fstat(fd, &st) != 0)
                return 1;
            const std::size_t size = static_cast<std::size_t>(st.st_size);
            void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            close(fd);
            if (map == MAP_FAILED)
                return 1;
            const std::span<const std::uint8_t> file(static_cast<const std::uint8_t*>(map), size);
            const auto image = korv::image_decode(file, korv::image_format_code(file), false);
            munmap(map, size);
            const auto end = std::chrono::steady_clock::now();
            if (image.error != 0) {
                std::fprintf(stderr, "%s: error %d\n", argv[a], image.error);
                return 1;
            }
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.1f\n", argv[a], times[2]);
    }
    return 0;
}
