// Graphics files: recognising them and reading BMP, PCX, PNG, icon and
// cursor files into arrays of RGB values.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Fills up to info.size() (at most 9) entries: the format code 1..18 (0 not
// recognised, -1 unreadable or shorter than 4 bytes), then width, height,
// colours or subtype or picture count, compression or version, bits per
// pixel or page count, alpha flag or image count, and a cursor's hot spot
// plus 1. Entries a format does not give are -1. The name may end in blanks
// or a zero byte.
void IGrFileInfo(std::string_view name, std::span<int> info);

// Reads a BMP, PCX, PNG, icon or cursor file into pixels (red + 256 green +
// 65536 blue, top row first; room for the width times the height that
// IGrFileInfo gives). An image with at most 256 colours also fills the
// colour table up to its size. An odd transparency option puts
// transparency into the top byte (255 invisible) from a PNG's alpha or an
// icon's mask. Errors: 27 not a format read here; 2 a damaged file or an
// image larger than the array (nothing written), or a file that ends early
// (the rows before the end are written); 1044 damaged compressed data.
void IGrLoadImageData(std::string_view name, std::span<std::int32_t> pixels,
                      std::span<std::int32_t> colour_table = {}, std::optional<int> transparency = std::nullopt);
