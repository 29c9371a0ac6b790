// Image files on GDI device contexts: drawing a BMP, PCX or PNG file or the
// clipboard bitmap into a rectangle, and saving a rectangle of a context as
// a file or to the clipboard. Files are decoded by the platform-free readers;
// only 32-bit DIBs built from their pixels reach GDI.
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

// Draws image type 0 (the clipboard bitmap), 1 BMP, 2 PCX or 15 PNG into
// the rectangle of dc, stretched to fill it or unscaled at its top-left
// corner, turned by 0, 90, 180 or 270 degrees; clip (may be null) bounds
// file pictures. Stretch modes 1..4 are set for the transfer only. Returns
// the status; system_code gets the platform's error code of statuses 1 and
// 2, or zlib's of 1044.
int img_draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, int rotation,
                  int& system_code, std::string_view file_name);

// Saves the rectangle of dc as type 0 (clipboard), 1 BMP, 2 PCX or 15 PNG
// (any other type: nothing, status 0). The file is written beside its
// place and renamed over it at the end, so a failure leaves no half file.
int img_save_area(HDC dc, int type, ImageRectangle r, int& system_code, std::string_view file_name);

} // namespace korv
