// Recognition of 18 graphics file formats, with what can be learnt cheaply
// about the picture (the information array of IGrFileInfo). The file is
// read through a byte source: only the bytes the steps need.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "graphics/formats/byte_source.h"

namespace korv {

// Format codes.
enum ImageFormatCode : int {
    format_unreadable = -1,
    format_unknown = 0,
    format_bmp = 1,
    format_pcx = 2,
    format_windows_metafile = 3,
    format_hpgl = 4,
    format_hpgl2_pcl = 5,
    format_cgm = 6,
    format_lotus_pic = 7,
    format_acorn_draw = 8,
    format_tektronix = 9,
    format_postscript = 10,
    format_pcl = 11,
    format_epson = 12,
    format_epson_unidirectional = 13,
    format_dxf = 14,
    format_png = 15,
    format_svg = 16,
    format_icon = 17,
    format_cursor = 18,
};

// Nine entries: code, width, height, colours/subtype/count, compression or
// version, bits per pixel or pages, alpha or image count, hot spot x + 1 and
// y + 1. Entries the format does not set are -1; a file of fewer than 4
// bytes gives code -1 and nothing else.
using ImageFileInfo = std::array<int, 9>;

// The format code from the first 128 bytes (zeros past a shorter file).
int image_format_code(ByteSource& file);
inline int image_format_code(std::span<const std::uint8_t> file)
{
    MemorySource source(file);
    return image_format_code(source);
}

// The code and, when entries >= 2, the information. Text formats are read
// line by line from the file; the picture counts of CGM and Lotus PIC files
// and the page count of HP-GL files (only asked for with 6 entries or more)
// walk the whole file. Short or damaged CGM and PIC files report error 2
// under "IGrFileInfo" and give the count found so far.
ImageFileInfo image_file_info(ByteSource& file, int entries);
inline ImageFileInfo image_file_info(std::span<const std::uint8_t> file, int entries)
{
    MemorySource source(file);
    return image_file_info(source, entries);
}

} // namespace korv
