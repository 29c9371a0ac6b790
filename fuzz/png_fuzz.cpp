// The png reader on any bytes, with and without transparency.
#include "graphics/formats/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    korv::png_decode({data, size}, false);
    korv::png_decode({data, size}, true);
    return 0;
}
