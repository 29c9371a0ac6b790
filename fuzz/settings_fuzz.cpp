// The settings file reader on any text, fed in two chunks.
#include "core/settings.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    korv::SettingsReader reader;
    reader.feed(text.substr(0, size / 2));
    reader.feed(text.substr(size / 2));
    reader.finish();
    return 0;
}
