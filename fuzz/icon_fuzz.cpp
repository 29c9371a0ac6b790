// The icon reader on any bytes, with and without transparency.
#include "graphics/formats/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    korv::icon_decode({data + 1, size - 1}, data[0] & 1);
    return 0;
}
