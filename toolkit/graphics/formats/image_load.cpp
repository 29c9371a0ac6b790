// The public routines of graphics files: the file is read whole and handed
// to the recognition and the decoders.
#include "korvanthide/images.h"

#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "korvanthide/errors.h"
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"

namespace korv {
namespace {

// A file larger than this is not read: it cannot hold a picture of the
// largest size read (2^26 pixels of 4 bytes with its headers).
constexpr std::uint64_t largest_file = std::uint64_t{300} << 20;

// The name without its trailing blanks and zero bytes.
std::string file_name(std::string_view name)
{
    const auto end = name.find_last_not_of(std::string_view(" \0", 2));
    return std::string(end == std::string_view::npos ? std::string_view{} : name.substr(0, end + 1));
}

// The whole file, or nothing when it cannot be opened or is too large.
std::optional<std::vector<std::uint8_t>> read_file(std::string_view name)
{
    const std::string path = file_name(name);
    if (path.empty())
        return std::nullopt;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const auto size = static_cast<std::streamoff>(in.tellg());
    if (size < 0 || static_cast<std::uint64_t>(size) > largest_file)
        return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        in.seekg(0);
        if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
            return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace
} // namespace korv

void IGrFileInfo(std::string_view name, std::span<int> info)
{
    using namespace korv;
    if (info.empty())
        return;
    const auto file = read_file(name);
    const int entries = static_cast<int>(std::min<std::size_t>(info.size(), 9));
    if (!file) {
        info[0] = format_unreadable;
        return;
    }
    const ImageFileInfo found = image_file_info(*file, entries);
    if (found[0] == format_unreadable) {
        info[0] = format_unreadable;
        return;
    }
    std::copy_n(found.begin(), entries, info.begin());
}

void IGrLoadImageData(std::string_view name, std::span<std::int32_t> pixels, std::span<std::int32_t> colour_table,
                      std::optional<int> transparency)
{
    using namespace korv;
    constexpr const char* routine = "IGrLoadImageData";
    const auto file = read_file(name);
    const int code = file ? image_file_info(*file, 1)[0] : format_unreadable;
    if (code != image_format_bmp && code != image_format_pcx && code != image_format_png &&
        code != image_format_icon && code != image_format_cursor) {
        err_report(image_error_unsupported, routine);
        return;
    }
    const DecodedImage image = image_decode(*file, code, transparency.value_or(0) % 2 != 0);
    if (image.error != 0 && !image.partial) {
        err_report(image.error, routine);
        return;
    }
    const std::size_t width = static_cast<std::size_t>(image.width);
    if (width * static_cast<std::size_t>(image.height) > pixels.size()) {
        err_report(image_error_damaged, routine);
        return;
    }
    for (std::size_t y = 0; y < image.row_read.size(); ++y)
        if (image.row_read[y])
            std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y * width), width,
                        pixels.begin() + static_cast<std::ptrdiff_t>(y * width));
    if (image.error != 0) {
        err_report(image.error, routine);
        return;
    }
    if (image.colour_count > 0 && image.colour_count <= 256)
        std::copy_n(image.colours.begin(), std::min<std::size_t>(colour_table.size(), image.colour_count),
                    colour_table.begin());
}
