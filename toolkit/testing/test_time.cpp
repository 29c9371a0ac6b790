#include "testing/test_time.h"

#include <cstdlib>

namespace korv::testing {

unsigned long scaled_ms(unsigned long base_ms)
{
    static const double factor = [] {
        const char* text = std::getenv("KORV_TEST_TIME_FACTOR");
        char* end = nullptr;
        const double value = text ? std::strtod(text, &end) : 1.0;
        return text && end != text && value > 0 && value <= 1000 ? value : 1.0;
    }();
    return static_cast<unsigned long>(static_cast<double>(base_ms) * factor);
}

} // namespace korv::testing
