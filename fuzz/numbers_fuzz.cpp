// Text-to-number conversion on any text: the public routines and the
// walks through lists of numbers.
#include "korvanthide/conversions.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    int i = 0;
    float r = 0;
    double d = 0;
    IStringToInteger(text, i);
    IStringToReal(text, r);
    korv::conv_string_to_double(text, d);
    std::string walk = text;
    for (int k = 0; k < 4; ++k) {
        INextInteger(walk, i);
        INextReal(walk, r);
    }
    return 0;
}
