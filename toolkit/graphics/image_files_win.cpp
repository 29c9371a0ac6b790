// Drawing image files on GDI contexts and saving areas of them.
#include "graphics/image_files_win.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "graphics/formats/byte_source.h"
#include "graphics/formats/image_decode.h"
#include "graphics/formats/image_info.h"
#include "graphics/formats/image_write.h"
#include "graphics/gdi_handles.h"

namespace korv {
namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bgrx; // top row first, as a 32-bit DIB holds it
};

std::uint32_t to_dib(std::int32_t rgb)
{
    const auto v = static_cast<std::uint32_t>(rgb);
    return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
}

BITMAPINFO dib_header(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::string trimmed_name(std::string_view name)
{
    const auto end = name.find_last_not_of(std::string_view(" \0", 2));
    return std::string(end == std::string_view::npos ? std::string_view{} : name.substr(0, end + 1));
}

// The file's picture by the reader of its type, read through the system's
// file calls (the routine reports nothing; the caller does); status 0 or
// the error.
int read_picture(int type, std::string_view name, Picture& picture, int& system_code)
{
    FileSource file(file_read_ops_quiet(), trimmed_name(name));
    if (!file.is_open()) {
        system_code = file.open_code();
        return image_status_cannot_open;
    }
    const DecodedImage image = image_decode(file, type, false);
    if (file.failed()) {
        system_code = file.read_code();
        return image_status_io;
    }
    // A damaged or short file draws nothing.
    if (image.error != 0)
        return image.error;
    picture.width = image.width;
    picture.height = image.height;
    picture.bgrx.resize(image.pixels.size());
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        picture.bgrx[i] = to_dib(image.pixels[i]);
    return 0;
}

// A BMP file into the working picture: status 0 or the error.
int img_read_bmp(std::string_view name, Picture& picture, int& system_code)
{
    return read_picture(image_format_bmp, name, picture, system_code);
}

// The picture turned clockwise on the screen by the rotation: pixel (x, y)
// goes to (y, w-1-x) for 90, (w-1-x, h-1-y) for 180 and (h-1-y, x) for 270.
Picture turned(const Picture& p, int rotation)
{
    Picture out;
    const bool swap = rotation != 180;
    out.width = swap ? p.height : p.width;
    out.height = swap ? p.width : p.height;
    out.bgrx.resize(p.bgrx.size());
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int nx = 0, ny = 0;
            if (rotation == 90) {
                nx = y;
                ny = p.width - 1 - x;
            } else if (rotation == 180) {
                nx = p.width - 1 - x;
                ny = p.height - 1 - y;
            } else {
                nx = p.height - 1 - y;
                ny = x;
            }
            out.bgrx[static_cast<std::size_t>(ny) * static_cast<std::size_t>(out.width) + static_cast<std::size_t>(nx)] =
                p.bgrx[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)];
        }
    return out;
}

bool is_turn(int rotation) { return rotation == 90 || rotation == 180 || rotation == 270; }

XFORM turn_of(int rotation, int dx, int dy)
{
    XFORM x{1, 0, 0, 1, static_cast<FLOAT>(dx), static_cast<FLOAT>(dy)};
    if (rotation == 90)
        x.eM11 = 0, x.eM12 = -1, x.eM21 = 1, x.eM22 = 0;
    else if (rotation == 180)
        x.eM11 = -1, x.eM22 = -1;
    else if (rotation == 270)
        x.eM11 = 0, x.eM12 = 1, x.eM21 = -1, x.eM22 = 0;
    return x;
}

// The device pixels the transform puts a logical rectangle on (corners
// included).
ImageRectangle mapped(const XFORM& x, ImageRectangle r)
{
    const auto at = [&x](int px, int py) {
        return POINT{static_cast<LONG>(px * x.eM11 + py * x.eM21 + x.eDx), static_cast<LONG>(px * x.eM12 + py * x.eM22 + x.eDy)};
    };
    const POINT a = at(r.left, r.top), b = at(r.right + 1, r.bottom + 1);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) - 1, std::max(a.y, b.y) - 1};
}

// Whether the platform turns bitmaps by the world transform. Some draw a
// bitmap only into the corners of its turned rectangle, unturned; there
// the picture is turned here instead, into the same place.
bool bitmaps_turn()
{
    static const bool turns = [] {
        const OwnedDc dc(CreateCompatibleDC(nullptr));
        BITMAPINFO info = dib_header(2, 2);
        void* bits = nullptr;
        GdiBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!dc || !bitmap)
            return false;
        const SelectedObject selected(dc.get(), bitmap.get());
        std::fill_n(static_cast<std::uint32_t*>(bits), 4, 0u);
        // A 2 by 1 picture, red then white, turned by 90 degrees: white
        // above red in the left column.
        const std::uint32_t picture[2] = {0xFF0000u, 0xFFFFFFu};
        const BITMAPINFO one_row = dib_header(2, 1);
        SetGraphicsMode(dc.get(), GM_ADVANCED);
        const XFORM x = turn_of(90, 0, 2);
        SetWorldTransform(dc.get(), &x);
        StretchDIBits(dc.get(), 0, 0, 2, 1, 0, 0, 2, 1, picture, &one_row, DIB_RGB_COLORS, SRCCOPY);
        ModifyWorldTransform(dc.get(), nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc.get(), GM_COMPATIBLE);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        return (p[0] & 0xFFFFFF) == 0xFFFFFF && (p[2] & 0xFFFFFF) == 0xFF0000;
    }();
    return turns;
}

int stretch_blt_mode(int stretch_mode)
{
    const int modes[4] = {BLACKONWHITE, COLORONCOLOR, WHITEONBLACK,
                          display_info().windows_nt != 0 ? HALFTONE : BLACKONWHITE};
    return modes[stretch_mode - 1];
}

int blit(HDC dc, HRGN clip, const Picture& p, ImageRectangle r, bool stretch, int stretch_mode)
{
    const BITMAPINFO info = dib_header(p.width, p.height);
    int previous_mode = 0;
    if (stretch && stretch_mode >= 1 && stretch_mode <= 4)
        previous_mode = SetStretchBltMode(dc, stretch_blt_mode(stretch_mode));
    if (clip)
        SelectClipRgn(dc, clip);
    const int width = stretch ? r.right - r.left + 1 : p.width;
    const int height = stretch ? r.bottom - r.top + 1 : p.height;
    const int lines = StretchDIBits(dc, r.left, r.top, width, height, 0, 0, p.width, p.height, p.bgrx.data(), &info,
                                    DIB_RGB_COLORS, SRCCOPY);
    if (clip)
        SelectClipRgn(dc, nullptr);
    if (previous_mode != 0)
        SetStretchBltMode(dc, previous_mode);
    return lines == 0 || lines == static_cast<int>(GDI_ERROR) ? image_status_bitmap : 0;
}

// A turned picture: on the NT platform through the world transform with
// the offsets, the picture drawn as unturned into the rectangle; elsewhere
// turned pixel by pixel into the rectangle as it is.
int draw_picture(HDC dc, HRGN clip, const Picture& p, ImageRectangle r, bool stretch, int stretch_mode,
                 const ImageTurn& turn)
{
    if (!is_turn(turn.rotation))
        return blit(dc, clip, p, r, stretch, stretch_mode);
    if (display_info().windows_nt == 0)
        return blit(dc, clip, turned(p, turn.rotation), r, stretch, stretch_mode);
    const XFORM x = turn_of(turn.rotation, turn.dx, turn.dy);
    if (bitmaps_turn()) {
        const int previous = SetGraphicsMode(dc, GM_ADVANCED);
        if (previous != 0 && SetWorldTransform(dc, &x)) {
            const int status = blit(dc, clip, p, r, stretch, stretch_mode);
            ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
            SetGraphicsMode(dc, previous);
            return status;
        }
        if (previous != 0)
            SetGraphicsMode(dc, previous);
    }
    // Where the transform would have put the picture, turned here.
    const ImageRectangle logical = stretch ? r : ImageRectangle{r.left, r.top, r.left + p.width - 1, r.top + p.height - 1};
    return blit(dc, clip, turned(p, turn.rotation), mapped(x, logical), true, stretch ? stretch_mode : 0);
}

// The clipboard's bitmap as a picture; status 0, 1094 or 1095.
int clipboard_picture(Picture& picture)
{
    if (!OpenClipboard(nullptr))
        return image_status_clipboard;
    int status = image_status_clipboard_type;
    if (const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP described{};
        const WindowDc screen(nullptr);
        if (GetObjectA(bitmap, sizeof described, &described) != 0 && described.bmWidth > 0 && described.bmHeight > 0) {
            picture.width = described.bmWidth;
            picture.height = described.bmHeight;
            picture.bgrx.assign(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), 0);
            BITMAPINFO info = dib_header(picture.width, picture.height);
            status = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(picture.height), picture.bgrx.data(), &info,
                               DIB_RGB_COLORS) == 0
                         ? image_status_bitmap
                         : 0;
        } else {
            status = image_status_bitmap;
        }
    }
    CloseClipboard();
    return status;
}

// The area of a context at the display's depth, as GDI hands it out with
// the toolkit's palette (or the system's default one) selected: width
// columns copied, from the area's left edge on.
bool area_dib(HDC source, ImageRectangle r, int width, DibImage& out)
{
    const int height = r.bottom - r.top + 1;
    if (width < 1 || height < 1)
        return false;
    const OwnedDc work(CreateCompatibleDC(source));
    GdiBitmap bitmap(CreateCompatibleBitmap(source, width, height));
    if (!work || !bitmap)
        return false;
    BITMAP described{};
    if (GetObjectA(bitmap.get(), sizeof described, &described) == 0)
        return false;
    HPALETTE palette = window_tables().display_palette;
    const SelectedPalette realised(work.get(), palette != nullptr ? palette
                                                                  : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    {
        const SelectedObject selected(work.get(), bitmap.get());
        if (!BitBlt(work.get(), 0, 0, width, height, source, r.left, r.top, SRCCOPY))
            return false;
    }
    out.width = width;
    out.height = height;
    out.bits = described.bmPlanes * described.bmBitsPixel;
    if (out.bits != 1 && out.bits != 4 && out.bits != 8 && out.bits != 16 && out.bits != 24 && out.bits != 32)
        out.bits = 32;
    const int table = img_dib_palette_size(sizeof(BITMAPINFOHEADER), out.bits, 0);
    std::vector<std::uint8_t> info_bytes(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(table) + 16, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(info_bytes.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(out.bits);
    info->bmiHeader.biCompression = BI_RGB;
    if (GetDIBits(work.get(), bitmap.get(), 0, static_cast<UINT>(height), nullptr, info, DIB_RGB_COLORS) == 0)
        return false;
    out.rows.assign(out.stride() * static_cast<std::size_t>(height), 0);
    if (GetDIBits(work.get(), bitmap.get(), 0, static_cast<UINT>(height), out.rows.data(), info, DIB_RGB_COLORS) == 0)
        return false;
    // A platform may hand 16 bits out in its own fields: 5-6-5 has a
    // six-bit green.
    const auto* masks = reinterpret_cast<const DWORD*>(info->bmiColors);
    out.fields_565 = out.bits == 16 && info->bmiHeader.biCompression == BI_BITFIELDS && masks[1] == 0x07E0;
    out.colour_table.assign(info_bytes.begin() + sizeof(BITMAPINFOHEADER),
                            info_bytes.begin() + static_cast<std::ptrdiff_t>(sizeof(BITMAPINFOHEADER) + table));
    return true;
}

int save_to_clipboard(HDC source, ImageRectangle r)
{
    const int width = r.right - r.left + 1, height = r.bottom - r.top + 1;
    if (width < 1 || height < 1)
        return image_status_save;
    GdiBitmap bitmap(CreateCompatibleBitmap(source, width, height));
    {
        const OwnedDc dc(CreateCompatibleDC(source));
        if (!dc || !bitmap)
            return image_status_save;
        const SelectedObject selected(dc.get(), bitmap.get());
        BitBlt(dc.get(), 0, 0, width, height, source, r.left, r.top, SRCCOPY);
    }
    if (!OpenClipboard(nullptr))
        return image_status_clipboard;
    EmptyClipboard();
    // The clipboard owns the bitmap once it took it.
    if (SetClipboardData(CF_BITMAP, bitmap.get()))
        bitmap.release();
    CloseClipboard();
    return 0;
}

int draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, const ImageTurn& turn,
              int& system_code, std::string_view file_name)
{
    if (!dc)
        return image_status_bitmap;
    Picture picture;
    if (type == 0) {
        // The clipboard picture is drawn as it is: not turned, not clipped.
        const int status = clipboard_picture(picture);
        return status != 0 ? status : blit(dc, nullptr, picture, r, stretch, stretch_mode);
    }
    if (type != image_format_bmp && type != image_format_pcx && type != image_format_png)
        return image_error_unsupported;
    const int status = type == image_format_bmp ? img_read_bmp(file_name, picture, system_code)
                                                : read_picture(type, file_name, picture, system_code);
    if (status != 0)
        return status;
    return draw_picture(dc, clip, picture, r, stretch, stretch_mode, turn);
}

int save_area(HDC dc, int type, ImageRectangle r, int& system_code, std::string_view file_name)
{
    if (type == 0)
        return save_to_clipboard(dc, r);
    if (type != image_format_bmp && type != image_format_pcx && type != image_format_png)
        return 0;
    const int width = r.right - r.left + 1;
    // PCX and PNG take the area at an even width.
    DibImage dib;
    if (width < 1 || !area_dib(dc, r, type == image_format_bmp ? width : width + width % 2, dib))
        return image_status_save;
    ByteSink sink;
    if (type == image_format_bmp)
        dib_bmp_file(dib, sink);
    else if (type == image_format_pcx)
        dib_pcx_file(dib, width, sink);
    else if (dib_png_file(dib, width, sink, system_code) != 0)
        return image_error_zlib;
    const CommitResult written = sink.commit(trimmed_name(file_name));
    if (written.ok())
        return 0;
    system_code = static_cast<int>(written.system_code);
    return written.status == CommitStatus::cannot_open ? image_status_cannot_open : image_status_io;
}

} // namespace

ImageTurn img_turn_onto(int rotation, ImageRectangle page, ImageRectangle t)
{
    // The transform takes (x, y) to (y + dx, -x + dy) for 90 degrees,
    // (-x + dx, -y + dy) for 180 and (-y + dx, x + dy) for 270; a pixel
    // covers [x, x + 1), so the turned rectangle's far edges are one past
    // its last pixels.
    switch (rotation) {
    case 90:
        return {90, page.left - t.top, page.bottom + 1 + t.left};
    case 180:
        return {180, page.left + page.right + 1, page.top + page.bottom + 1};
    case 270:
        return {270, page.right + 1 + t.top, page.top - t.left};
    default:
        return {rotation, 0, 0};
    }
}

int img_dib_palette_size(const BITMAPINFOHEADER& header)
{
    return img_dib_palette_size(static_cast<int>(header.biSize), header.biBitCount, header.biClrUsed);
}

int img_draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, const ImageTurn& turn,
                  int& system_code, std::string_view file_name)
{
    system_code = 0;
    try {
        return draw_file(type, dc, clip, r, stretch, stretch_mode, turn, system_code, file_name);
    } catch (const std::bad_alloc&) {
        return image_status_bitmap;
    }
}

int img_save_area(HDC dc, int type, ImageRectangle r, int& system_code, std::string_view file_name)
{
    system_code = 0;
    try {
        return save_area(dc, type, r, system_code, file_name);
    } catch (const std::bad_alloc&) {
        return image_status_save;
    }
}

} // namespace korv
