// Image files on GDI device contexts: drawing a BMP, PCX or PNG file or the
// clipboard bitmap into a rectangle, and saving a rectangle of a context as
// a file or to the clipboard. Files are decoded by the platform-free readers
// and reach GDI as 32-bit DIBs; saved areas leave GDI as bitmaps of the
// display's depth.
#pragma once

#include <windows.h>

#include <string_view>

#include "korvanthide/error_numbers.h"

namespace korv {

// Status codes of both routines (the catalogue's numbers).
inline constexpr int image_status_cannot_open = err::file_open;
inline constexpr int image_status_io = err::file_read_write;
inline constexpr int image_status_bitmap = err::bitmap_transfer;
inline constexpr int image_status_save = err::image_save_api;
inline constexpr int image_status_clipboard = err::clipboard;
inline constexpr int image_status_clipboard_type = err::clipboard_type;

struct ImageRectangle {
    int left = 0, top = 0, right = 0, bottom = 0; // device pixels, y down, inclusive
};

// A turn of the picture and the offsets of the world transform that turns
// it (the rectangle is then given turned).
struct ImageTurn {
    int rotation = 0, dx = 0, dy = 0;
};

// The offsets that bring a picture drawn into the turned rectangle back
// onto the page rectangle (both in a context's pixels, y down). For 90 and
// 270 degrees the turned rectangle has the page rectangle's sides
// exchanged; for 180 it is the page rectangle.
ImageTurn img_turn_onto(int rotation, ImageRectangle page, ImageRectangle turned);

// Draws image type 0 (the clipboard bitmap), 1 BMP, 2 PCX or 15 PNG into
// the rectangle of dc, stretched to fill it or unscaled at its top-left
// corner; the file is read by the reader of its type. A turn of 90, 180 or
// 270 degrees goes through the world transform on the NT platform (the
// picture drawn unturned into the rectangle), elsewhere the picture is
// turned pixel by pixel. clip (may be null) bounds file pictures. Stretch
// modes 1..4 are set for the transfer only. Returns the status;
// system_code gets the platform's error code of statuses 1 and 2, or
// zlib's of 1044.
int img_draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, const ImageTurn& turn,
                  int& system_code, std::string_view file_name);

// Saves the rectangle of dc as type 0 (clipboard), 1 BMP, 2 PCX or 15 PNG
// (any other type: nothing, status 0), at the display's depth with the
// toolkit's palette: on a display of 256 colours or fewer an 8-bit BMP, a
// one-plane PCX and a palette PNG. The file is written beside its place
// and renamed over it at the end, so a failure leaves no half file.
int img_save_area(HDC dc, int type, ImageRectangle r, int& system_code, std::string_view file_name);

// The size in bytes of the colour table that follows a bitmap header.
int img_dib_palette_size(const BITMAPINFOHEADER& header);

} // namespace korv
