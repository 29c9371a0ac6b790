// Fixed-length texts: the toolkit's public routines take a caller's text as
// a buffer of known length, padded with blanks. Inputs are string_views;
// outputs are spans that are always filled to their full length.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace korv {

// Copies src into dest like a fixed-length assignment: cut at dest's end,
// the rest filled with blanks. Returns true when nothing was cut.
bool text_assign(std::span<char> dest, std::string_view src);

// The significant part of a fixed-length text: trailing blanks removed.
std::string_view text_trimmed(std::string_view text);

// A view of a caller's fixed-length output text, for reading it back.
inline std::string_view text_view(std::span<const char> text)
{
    return {text.data(), text.size()};
}

// Copies into a terminated C buffer of capacity bytes (including the zero),
// cutting where needed. Returns false when src was cut.
bool text_copy_terminated(char* dest, std::size_t capacity, std::string_view src);

} // namespace korv
