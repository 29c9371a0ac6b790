#include "hardcopy/control/print_image.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "korvanthide/error_numbers.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "hardcopy/control/win_printer_dc.h"
#include "hardcopy/control/printer_settings.h"

namespace korv {

namespace {

struct PrintImage {
    HDC dc = nullptr;
    int page_width = 0, page_height = 0;
};

PrintImage& print_image()
{
    return toolkit_context().record<PrintImage>(ContextSlot::print_image);
}

} // namespace

int hc_dib_colour_table_size(int header_size, int bit_count, unsigned used_colours)
{
    const int entry = header_size == static_cast<int>(sizeof(BITMAPCOREHEADER)) ? 3 : 4;
    if (entry == 4 && used_colours != 0)
        return static_cast<int>(used_colours & 0xFFFF) * entry;
    switch (bit_count) {
    case 1: return 2 * entry;
    case 4: return 16 * entry;
    case 8: return 256 * entry;
    default: return 0;
    }
}

void hc_print_image_start(int page_width, int page_height, int x_offset, int y_offset, int& error, int landscape,
                          int copies, const std::string& document)
{
    PrintImage& s = print_image();
    if (s.dc != nullptr)
        hc_print_image_end();
    OwnedDc printer = hc_printer_dc(landscape, copies);
    if (!printer) {
        error = 1;
        return;
    }
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = document.c_str();
    if (StartDocA(printer.get(), &doc) <= 0) {
        error = 1;
        return;
    }
    s.dc = printer.release();
    const int rx = GetDeviceCaps(s.dc, LOGPIXELSX), ry = GetDeviceCaps(s.dc, LOGPIXELSY);
    s.page_width = page_width * rx / 72;
    s.page_height = page_height * ry / 72;
    StartPage(s.dc);
    SetWindowOrgEx(s.dc, GetDeviceCaps(s.dc, PHYSICALOFFSETX) - x_offset * rx / 72,
                   GetDeviceCaps(s.dc, PHYSICALOFFSETY) - y_offset * ry / 72, nullptr);
    SetBkMode(s.dc, TRANSPARENT);
}

void hc_print_image_transfer(int x1, int y1, int x2, int y2, int& error)
{
    PrintImage& s = print_image();
    HDC source = window_tables().drawing_dc;
    const int width = x2 - x1 + 1, height = y2 - y1 + 1;
    if (s.dc == nullptr || source == nullptr || width < 1 || height < 1) {
        error = err::image_transfer;
        return;
    }
    HDC work = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    bool ok = work != nullptr && bitmap != nullptr;
    if (ok) {
        HGDIOBJ old_bitmap = SelectObject(work, bitmap);
        ok = BitBlt(work, 0, 0, width, height, source, x1, y1, SRCCOPY) != 0;
        SelectObject(work, old_bitmap);
    }
    int bits = ok ? GetDeviceCaps(source, PLANES) * GetDeviceCaps(source, BITSPIXEL) : 0;
    bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    HPALETTE palette = window_tables().display_palette;
    HPALETTE old_palette = nullptr;
    if (ok) {
        old_palette = SelectPalette(work, palette != nullptr ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)),
                                    FALSE);
        RealizePalette(work);
    }
    std::vector<unsigned char> memory;
    if (ok) {
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(bits);
        header.biCompression = BI_RGB;
        const std::size_t table = static_cast<std::size_t>(std::max(0, hc_dib_colour_table_size(sizeof header, bits, 0)));
        memory.resize(sizeof header + table);
        std::memcpy(memory.data(), &header, sizeof header);
        auto* info = reinterpret_cast<BITMAPINFO*>(memory.data());
        ok = GetDIBits(work, bitmap, 0, static_cast<UINT>(height), nullptr, info, DIB_RGB_COLORS) != 0;
        if (ok) {
            std::size_t image = info->bmiHeader.biSizeImage;
            if (image == 0) {
                image = static_cast<std::size_t>((bits * width + 31) / 32) * 4 * static_cast<std::size_t>(height);
                if (info->bmiHeader.biCompression != BI_RGB)
                    image = image * 3 / 2;
            }
            // A screen's rectangle stays far below this; more is a bad header.
            constexpr std::size_t image_limit = std::size_t{1} << 28;
            const std::size_t at = memory.size();
            ok = image <= image_limit;
            if (ok) {
                memory.resize(at + image);
                info = reinterpret_cast<BITMAPINFO*>(memory.data());
                ok = GetDIBits(work, bitmap, 0, static_cast<UINT>(height), memory.data() + at, info, DIB_RGB_COLORS) != 0 &&
                     StretchDIBits(s.dc, 0, 0, s.page_width, s.page_height, 0, 0, width, height, memory.data() + at, info,
                                   DIB_RGB_COLORS, SRCCOPY) != static_cast<int>(GDI_ERROR);
            }
        }
    }
    if (work != nullptr) {
        if (old_palette != nullptr)
            SelectPalette(work, old_palette, FALSE);
        DeleteDC(work);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (!ok)
        error = err::image_transfer;
}

void hc_print_image_end()
{
    PrintImage& s = print_image();
    if (s.dc == nullptr)
        return;
    EndPage(s.dc);
    EndDoc(s.dc);
    DeleteDC(s.dc);
    s.dc = nullptr;
}

void hc_printer_name_query(int which, std::span<char> text)
{
    const PrinterSelection& chosen = windows_printer_settings().selection;
    if (which == 4)
        text_assign(text, chosen.device.data());
    else if (which == 5)
        text_assign(text, chosen.port.data());
}

} // namespace korv
