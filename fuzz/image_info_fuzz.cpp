// Recognition and picture information of any bytes.
#include "graphics/formats/image_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    korv::image_file_info({data, size}, 9);
    return 0;
}
