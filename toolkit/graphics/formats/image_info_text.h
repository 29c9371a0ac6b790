// The parts of graphics file recognition that read text lines (HP-GL,
// HP-GL/2 in PCL, PostScript, DXF, SVG) or walk a whole binary file (the
// picture counts of CGM and Lotus PIC files).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "graphics/formats/byte_source.h"
#include "graphics/formats/image_info.h"

namespace korv {

// Whether a DXF file that starts with 999 comment pairs goes on with 0 / SECTION.
bool dxf_after_comments(ByteSource& file);
// Width, height and the per-format entries of the text formats.
void text_format_info(ByteSource& file, int code, int entries, ImageFileInfo& info);
// Pictures of a binary CGM file (at least 1) and the aspect of its last
// (maximum) VDC extent, 1 when none or when the extent is flat.
int img_cgm_scan(ByteSource& file, double& aspect);
// Pictures of a Lotus PIC file (at least 1).
int img_pic_opcode_count(ByteSource& file);
// The first word of text as an integer, reporting nothing; 0 when it is none.
int text_integer(std::string_view text);

} // namespace korv
