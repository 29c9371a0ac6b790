// Images shown in static fields and buttons: resources, memory bitmaps and metafiles.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "korvanthide/bitmaps.h"
#include "core/win_module.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/win_fields.h"
#include "graphics/bitmaps_win.h"
#include "graphics/metafile_win.h"

namespace korv {

namespace {

void destroy_image(HANDLE image, UINT type)
{
    if (image == nullptr)
        return;
    if (type == IMAGE_BITMAP)
        DeleteObject(image);
    else if (type == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(image));
    else if (type == IMAGE_ENHMETAFILE)
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(image));
}

// A style the field has already is not set again: setting it sends the
// field two style-change messages and asks the window server for nothing new.
void set_style(HWND w, LONG old_style, LONG new_style)
{
    if (new_style != old_style)
        SetWindowLongA(w, GWL_STYLE, new_style);
}

HBITMAP copy_memory_bitmap(int handle)
{
    if (handle < 1 || handle > bmp_handle_limit())
        return nullptr;
    int width = 0;
    int height = 0;
    bmp_size(handle - 1, width, height);
    if (width <= 0 || height <= 0)
        return nullptr;
    if (HBITMAP copy = nullptr; bmp_copy(handle - 1, copy))
        return copy;
    std::vector<std::int32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    int status = 0;
    bmp_get_pixels(handle - 1, pixels, 0, 0, width - 1, height - 1, status);
    if (status != 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Pixel arrays hold red in the low byte; DIB rows want blue there.
    for (std::int32_t& p : pixels) {
        const auto v = static_cast<std::uint32_t>(p);
        p = static_cast<std::int32_t>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
    }
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    if (bmp != nullptr)
        SetDIBits(screen, bmp, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bmp;
}

} // namespace

int field_put_image(int id, int image, int kind)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    HANDLE made = nullptr;
    UINT type = IMAGE_BITMAP;
    HINSTANCE instance = module_instance();
    switch (kind) {
    case 2:
        type = IMAGE_ICON;
        made = LoadImageA(instance, image == 0 ? "ICON1" : MAKEINTRESOURCEA(image), IMAGE_ICON, 0, 0, 0);
        break;
    case 3:
        made = copy_memory_bitmap(image);
        break;
    case 4:
        type = IMAGE_ENHMETAFILE;
        made = emf_copy(image - 1);
        break;
    case 5: {
        type = IMAGE_ENHMETAFILE;
        HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(image), "ZOQMETAFILE");
        HGLOBAL data = res ? LoadResource(instance, res) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        const DWORD size = res ? SizeofResource(instance, res) : 0;
        if (bytes != nullptr && size > 0)
            made = SetEnhMetaFileBits(size, static_cast<const BYTE*>(bytes));
        break;
    }
    default:
        made = LoadImageA(instance, MAKEINTRESOURCEA(image), IMAGE_BITMAP, 0, 0, 0);
        break;
    }
    if (made == nullptr)
        return -2;
    if (is_class(w, atoms().static_text)) {
        const LONG style = GetWindowLongA(w, GWL_STYLE);
        const LONG low = type == IMAGE_BITMAP ? SS_BITMAP : type == IMAGE_ICON ? SS_ICON : SS_ENHMETAFILE;
        set_style(w, style, (style & ~0x1F) | low);
        HANDLE old = reinterpret_cast<HANDLE>(
            SendMessageA(w, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(made)));
        if (old != made)
            destroy_image(old, type);
    } else if (is_class(w, atoms().button) && type != IMAGE_ENHMETAFILE) {
        const LONG style = GetWindowLongA(w, GWL_STYLE);
        set_style(w, style, (style & ~(BS_BITMAP | BS_ICON)) | (type == IMAGE_BITMAP ? BS_BITMAP : BS_ICON));
        if (type == IMAGE_BITMAP)
            dialog_draw_transparent_bitmap(static_cast<HBITMAP>(made));
        HANDLE old = reinterpret_cast<HANDLE>(
            SendMessageA(w, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(made)));
        if (old != made)
            destroy_image(old, type);
    } else {
        destroy_image(made, type);
        return -1;
    }
    redraw_now(w);
    return 0;
}

} // namespace korv
