// The PCX reader on any bytes.
#include "graphics/formats/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    korv::pcx_decode({data, size});
    return 0;
}
