#include "korvanthide/fixed_text.h"

#include <algorithm>
#include <cstring>

namespace korv {

bool text_assign(std::span<char> dest, std::string_view src)
{
    const std::size_t n = std::min(dest.size(), src.size());
    std::copy_n(src.data(), n, dest.data());
    std::fill(dest.begin() + static_cast<std::ptrdiff_t>(n), dest.end(), ' ');
    return n == src.size();
}

std::string_view text_trimmed(std::string_view text)
{
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

bool text_copy_terminated(char* dest, std::size_t capacity, std::string_view src)
{
    if (capacity == 0)
        return src.empty();
    const std::size_t n = std::min(capacity - 1, src.size());
    // An empty text may come without any storage behind it.
    if (n > 0)
        std::memcpy(dest, src.data(), n);
    dest[n] = '\0';
    return n == src.size();
}

} // namespace korv
