// The dialog extras block reader on any text, with a sink that takes every
// entry and uses up what a grid entry offers.
#include "dialogs/extras_reader.h"

namespace {

class TakeAll : public korv::ExtrasSink {
public:
    std::size_t grid(int, std::string_view rest) override { return rest.size() / 2; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TakeAll sink;
    korv::parse_extras({reinterpret_cast<const char*>(data), size}, sink);
    return 0;
}
