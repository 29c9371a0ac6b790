// Drawing image files on GDI contexts and saving areas of them.
#include "graphics/image_files_win.h"

#include <fstream>
#include <new>
#include <string>
#include <vector>

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
std::int32_t from_dib(std::uint32_t v) { return static_cast<std::int32_t>((v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF)); }

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

// A file's picture through the platform-free readers; status 0 or the error.
int read_picture(std::string_view name, Picture& picture, int& system_code)
{
    std::ifstream in(trimmed_name(name), std::ios::binary | std::ios::ate);
    if (!in) {
        system_code = static_cast<int>(GetLastError());
        return image_status_cannot_open;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        system_code = static_cast<int>(GetLastError());
        return image_status_io;
    }
    const DecodedImage image = image_decode(bytes, image_format_code(bytes), false);
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

// The picture turned clockwise on the screen by the rotation: pixel (x, y)
// goes to (y, w-1-x) for 90, (w-1-x, h-1-y) for 180 and (h-1-y, x) for 270.
Picture turned(const Picture& p, int rotation)
{
    if (rotation != 90 && rotation != 180 && rotation != 270)
        return p;
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

int draw_picture(HDC dc, HRGN clip, const Picture& p, ImageRectangle r, bool stretch, int stretch_mode)
{
    const BITMAPINFO info = dib_header(p.width, p.height);
    int previous_mode = 0;
    if (stretch && stretch_mode >= 1 && stretch_mode <= 4) {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        const int modes[4] = {BLACKONWHITE, COLORONCOLOR, WHITEONBLACK,
                              version.dwPlatformId == VER_PLATFORM_WIN32_NT ? HALFTONE : BLACKONWHITE};
        previous_mode = SetStretchBltMode(dc, modes[stretch_mode - 1]);
    }
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

// A memory context with a 32-bit DIB section holding a copy of an area.
class AreaCopy {
public:
    AreaCopy(HDC source, ImageRectangle r)
        : width_(r.right - r.left + 1), height_(r.bottom - r.top + 1)
    {
        if (width_ < 1 || height_ < 1)
            return;
        dc_ = OwnedDc(CreateCompatibleDC(source));
        BITMAPINFO info = dib_header(width_, height_);
        bitmap_ = GdiBitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (!dc_ || !bitmap_)
            return;
        const SelectedObject selected(dc_.get(), bitmap_.get());
        ok_ = BitBlt(dc_.get(), 0, 0, width_, height_, source, r.left, r.top, SRCCOPY) != 0;
        GdiFlush();
    }

    bool ok() const { return ok_; }
    std::vector<std::int32_t> pixels() const
    {
        std::vector<std::int32_t> out(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        const auto* src = static_cast<const std::uint32_t*>(bits_);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = from_dib(src[i]);
        return out;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    // The bitmap is declared first so that it outlives the context.
    GdiBitmap bitmap_;
    OwnedDc dc_;
    void* bits_ = nullptr;
    bool ok_ = false;
};

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

int draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, int rotation,
              int& system_code, std::string_view file_name)
{
    if (!dc)
        return image_status_bitmap;
    Picture picture;
    if (type == 0) {
        // The clipboard picture is drawn as it is: not turned, not clipped.
        const int status = clipboard_picture(picture);
        return status != 0 ? status : draw_picture(dc, nullptr, picture, r, stretch, stretch_mode);
    }
    if (type != image_format_bmp && type != image_format_pcx && type != image_format_png)
        return image_error_unsupported;
    if (const int status = read_picture(file_name, picture, system_code))
        return status;
    return draw_picture(dc, clip, turned(picture, rotation), r, stretch, stretch_mode);
}

int save_area(HDC dc, int type, ImageRectangle r, int& system_code, std::string_view file_name)
{
    if (type == 0)
        return save_to_clipboard(dc, r);
    if (type != image_format_bmp && type != image_format_pcx && type != image_format_png)
        return 0;
    const AreaCopy area(dc, r);
    if (!area.ok())
        return image_status_save;
    const std::vector<std::int32_t> pixels = area.pixels();
    const RgbPicture picture{area.width(), area.height(), pixels};
    ByteSink sink;
    if (type == image_format_bmp) {
        bmp_encode(picture, sink);
    } else if (type == image_format_pcx) {
        pcx_encode(picture, sink);
    } else if (png_encode(picture, sink, system_code) != 0) {
        return image_error_zlib;
    }
    const CommitResult written = sink.commit(trimmed_name(file_name));
    if (written.ok())
        return 0;
    system_code = static_cast<int>(written.system_code);
    return written.status == CommitStatus::cannot_open ? image_status_cannot_open : image_status_io;
}

} // namespace

int img_draw_file(int type, HDC dc, HRGN clip, ImageRectangle r, bool stretch, int stretch_mode, int rotation,
                  int& system_code, std::string_view file_name)
{
    system_code = 0;
    try {
        return draw_file(type, dc, clip, r, stretch, stretch_mode, rotation, system_code, file_name);
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
