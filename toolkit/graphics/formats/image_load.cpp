// The public routines of graphics files: the file is opened through the
// toolkit's byte-level file routines, its length taken by a seek to its
// end, and only the bytes that recognition and reading need are read.
#include "korvanthide/images.h"

#include <algorithm>
#include <string>

#include "korvanthide/errors.h"
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"

namespace korv {
namespace {

// A look at a file's head reads this much first; a walk through a text
// file reads in pieces that grow from there.
constexpr std::size_t first_look = 512;

// The name without its trailing blanks and zero bytes.
std::string file_name(std::string_view name)
{
    const auto end = name.find_last_not_of(std::string_view(" \0", 2));
    return std::string(end == std::string_view::npos ? std::string_view{} : name.substr(0, end + 1));
}

// The recognition on an open file; code -1 when it holds fewer than 4
// bytes or its length cannot be learnt.
ImageFileInfo info_of(FileSource& file, int entries)
{
    ImageFileInfo info;
    info.fill(-1);
    if (!file.is_open() || file.failed())
        return info;
    return image_file_info(file, entries);
}

// A name that is blank or names no file ends the recognition before the
// file routines are asked; a file that exists and cannot be opened is
// reported by them.
bool named_file_exists(const std::string& path)
{
    return !path.empty() && file_read_ops().exists(path);
}

} // namespace
} // namespace korv

void IGrFileInfo(std::string_view name, std::span<int> info)
{
    using namespace korv;
    if (info.empty())
        return;
    info[0] = format_unreadable;
    const std::string path = file_name(name);
    if (!named_file_exists(path))
        return;
    const int entries = static_cast<int>(std::min<std::size_t>(info.size(), 9));
    FileSource file(file_read_ops(), path, first_look);
    const ImageFileInfo found = info_of(file, entries);
    if (found[0] == format_unreadable)
        return;
    std::copy_n(found.begin(), entries, info.begin());
}

void IGrLoadImageData(std::string_view name, std::span<std::int32_t> pixels, std::span<std::int32_t> colour_table,
                      std::optional<int> transparency)
{
    using namespace korv;
    constexpr const char* routine = "IGrLoadImageData";
    std::array<int, 7> info{};
    IGrFileInfo(name, info);
    const int code = info[0];
    if (code != image_format_bmp && code != image_format_pcx && code != image_format_png &&
        code != image_format_icon && code != image_format_cursor) {
        err_report(image_error_unsupported, routine);
        return;
    }
    FileSource file(file_read_ops(), file_name(name));
    if (!file.is_open())
        return;
    const DecodedImage image = image_decode(file, code, transparency.value_or(0) % 2 != 0);
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
