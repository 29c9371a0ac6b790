// For the comparison with outside readers. "image_dump file code" decodes
// one image file (code 0: the code it is recognised by) and writes a line "error partial width height", then the
// pixels as raw RGB bytes, top row first (only when there was no error).
// "image_dump --write code width height file" writes a test picture of
// red x*37, green y*91 and blue (x+y)*13 (each mod 256) as BMP, PCX or PNG.
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"
#include "graphics/formats/image_write.h"

#include <string_view>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int write_sample(int code, int w, int h, const char* name)
{
    std::vector<std::int32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back((x * 37 % 256) + 256 * (y * 91 % 256) + 65536 * ((x + y) * 13 % 256));
    korv::ByteSink sink;
    const korv::RgbPicture picture{w, h, pixels};
    int zlib = 0;
    if (code == 1)
        korv::bmp_encode(picture, sink);
    else if (code == 2)
        korv::pcx_encode(picture, sink);
    else if (korv::png_encode(picture, sink, zlib) != 0)
        return 1;
    return sink.commit(name).ok() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::string_view(argv[1]) == "--write")
        return write_sample(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
    if (argc != 3)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Code 0: whatever the file is recognised as.
    int code = std::atoi(argv[2]);
    if (code == 0)
        code = korv::image_file_info(file, 9)[0];
    const auto image = korv::image_decode(file, code, false);
    std::printf("%d %d %d %d\n", image.error, image.partial ? 1 : 0, image.width, image.height);
    if (image.error == 0) {
        std::vector<std::uint8_t> rgb;
        rgb.reserve(image.pixels.size() * 3);
        for (std::int32_t p : image.pixels) {
            rgb.push_back(static_cast<std::uint8_t>(p));
            rgb.push_back(static_cast<std::uint8_t>(p >> 8));
            rgb.push_back(static_cast<std::uint8_t>(p >> 16));
        }
        std::fwrite(rgb.data(), 1, rgb.size(), stdout);
    }
    return 0;
}
