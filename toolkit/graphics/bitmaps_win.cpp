// Memory bitmaps: the slot table, the bitmap layer and the three public
// routines.
#include "korvanthide/bitmaps.h"

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/win_module.h"
#include "graphics/bitmaps_pixels.h"
#include "graphics/bitmaps_win.h"
#include "graphics/gdi_handles.h"
#include "graphics/gdi_primitives.h"
#include "graphics/bitmap_slots.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace korv {

namespace {

struct BitmapSlots {
    std::array<HBITMAP, bitmap_slot_count> bitmap{};
    std::array<int, bitmap_slot_count> width{};
    std::array<int, bitmap_slot_count> height{};
    std::array<std::int32_t, bitmap_slot_count> fill_colour{};
    int handle_limit = 50;
    HBITMAP target_bitmap = nullptr;
    DWORD raster_op = SRCCOPY;
    int stretch_mode = BLACKONWHITE;
};

BitmapSlots& slots()
{
    return toolkit_context().record<BitmapSlots>(ContextSlot::bitmap_slots);
}

bool slot_in_use(int slot)
{
    return slot >= 0 && slot < bitmap_slot_count && slots().bitmap[static_cast<std::size_t>(slot)] != nullptr;
}

HBITMAP& slot_bitmap(int slot)
{
    return slots().bitmap[static_cast<std::size_t>(slot)];
}

// A context of the current window's client area (the screen's when no
// window is open), from which new bitmaps and contexts are made.
WindowDc reference_dc()
{
    const auto& t = window_tables();
    const int w = t.current;
    HWND client = w >= 0 && w <= max_window ? t.windows[static_cast<std::size_t>(w)].client : nullptr;
    return WindowDc(client);
}

// True while the bitmap is selected into the drawing context.
bool is_drawing_target(HBITMAP bitmap)
{
    const auto& t = window_tables();
    return bitmap && t.bitmap_context && t.drawing_dc && GetCurrentObject(t.drawing_dc, OBJ_BITMAP) == bitmap;
}

// A context with the bitmap selected: the drawing context when the bitmap
// is the drawing target, else a temporary one deleted at the end.
class BitmapDc {
public:
    // `reference` is a context of the window the bitmap was made for, when
    // the caller holds one already.
    explicit BitmapDc(HBITMAP bitmap, HDC reference = nullptr)
    {
        if (is_drawing_target(bitmap)) {
            dc_ = window_tables().drawing_dc;
            return;
        }
        own_ = OwnedDc(CreateCompatibleDC(reference != nullptr ? reference : reference_dc().get()));
        dc_ = own_.get();
        if (!dc_)
            return;
        bitmap_ = SelectedObject(dc_, bitmap);
        if (gdi_palette_display())
            palette_ = SelectedPalette(dc_, window_tables().display_palette);
    }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    HDC get() const { return dc_; }
    // A context of its own, unclipped (not the drawing context).
    bool owned() const { return static_cast<bool>(own_); }

private:
    // Declared in the order they are made: the palette and the bitmap are
    // selected back out before the context is deleted.
    OwnedDc own_;
    SelectedObject bitmap_;
    SelectedPalette palette_;
    HDC dc_ = nullptr;
};

// The colour written for an RGB value: the nearest palette entry on
// palette displays, else the nearest colour the context shows.
COLORREF written_colour(HDC dc, std::int32_t rgb)
{
    const auto value = static_cast<COLORREF>(rgb) & 0xFFFFFF;
    if (gdi_palette_display())
        return PALETTEINDEX(GetNearestPaletteIndex(window_tables().display_palette, value));
    return GetNearestColor(dc, value);
}

// Fills x1..x2 by y1..y2: a null-pen rectangle reaches one pixel less than
// the box it is given.
void fill_box(HDC dc, int x1, int y1, int x2, int y2, std::int32_t colour)
{
    const GdiBrush brush(CreateSolidBrush(written_colour(dc, colour)));
    const int old_mode = SetROP2(dc, R2_COPYPEN);
    {
        const SelectedObject pen(dc, GetStockObject(NULL_PEN));
        const SelectedObject fill(dc, brush.get());
        Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
    }
    SetROP2(dc, old_mode);
}

HBITMAP bmp_make_compatible(int width, int height, std::int32_t colour)
{
    if (width < 1 || height < 1)
        return nullptr;
    const WindowDc reference = reference_dc();
    GdiBitmap bitmap(CreateCompatibleBitmap(reference.get(), width, height));
    if (!bitmap)
        return nullptr;
    {
        const BitmapDc dc(bitmap.get(), reference.get());
        if (!dc.get())
            return nullptr;
        fill_box(dc.get(), 0, 0, width - 1, height - 1, colour);
    }
    return bitmap.release();
}

// A bitmap that is about to be replaced or deleted stops being the drawing
// target first; the window becomes the target again.
void leave_target(HBITMAP bitmap)
{
    if (is_drawing_target(bitmap) || slots().target_bitmap == bitmap) {
        IGrSelect(1);
        slots().target_bitmap = nullptr;
    }
}

// Puts a new bitmap of a new size in the slot in place of the old one.
void replace(int slot, HBITMAP bitmap, int width, int height)
{
    HBITMAP old = slot_bitmap(slot);
    slot_bitmap(slot) = bitmap;
    slots().width[static_cast<std::size_t>(slot)] = width;
    slots().height[static_cast<std::size_t>(slot)] = height;
    DeleteObject(old);
}

bool rectangle_fits(std::size_t available, int x1, int y1, int x2, int y2)
{
    if (x2 < x1 || y2 < y1)
        return false;
    const long long n = (static_cast<long long>(x2) - x1 + 1) * (static_cast<long long>(y2) - y1 + 1);
    return n <= static_cast<long long>(available);
}

// Reads x1..x2 by y1..y2 of an unclipped context holding `bitmap` with one
// transfer into a 32-bit picture, as GetPixel reads each pixel: RGB with
// red in the low byte, CLR_INVALID outside the bitmap. Pixel by pixel, a
// preview-sized bitmap costs milliseconds. False when the transfer cannot
// be set up (the caller then reads pixel by pixel).
bool read_pixels_whole(HDC dc, HBITMAP bitmap, std::span<std::int32_t> pixels, int x1, int y1, int x2, int y2)
{
    BITMAP size{};
    if (GetObjectA(bitmap, sizeof size, &size) == 0)
        return false;
    const long long row = static_cast<long long>(x2) - x1 + 1;
    const long long rows = static_cast<long long>(y2) - y1 + 1;
    std::fill_n(pixels.begin(), row * rows, static_cast<std::int32_t>(CLR_INVALID));
    const int left = std::max(x1, 0);
    const int top = std::max(y1, 0);
    const int right = std::min<long long>(x2, static_cast<long long>(size.bmWidth) - 1);
    const int bottom = std::min<long long>(y2, static_cast<long long>(size.bmHeight) - 1);
    if (left > right || top > bottom)
        return true;
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const GdiBitmap picture(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture || bits == nullptr)
        return false;
    bool done = false;
    if (const OwnedDc copy(CreateCompatibleDC(dc)); copy) {
        const SelectedObject selected(copy.get(), picture.get());
        done = BitBlt(copy.get(), 0, 0, width, height, dc, left, top, SRCCOPY) != FALSE;
        GdiFlush();
    }
    if (done) {
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                // The picture holds blue in the low byte.
                const std::uint32_t v = source[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                               static_cast<std::size_t>(x)];
                pixels[static_cast<std::size_t>((top - y1 + y) * row + (left - x1 + x))] =
                    static_cast<std::int32_t>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
            }
        }
    }
    return done;
}

} // namespace

int bmp_handle_limit()
{
    return slots().handle_limit;
}

void bmp_handle_limit_set(int limit)
{
    slots().handle_limit = limit;
}

void bmp_create(int& handle, int width, int height, std::int32_t colour)
{
    handle = 0;
    for (int slot = 0; slot < bitmap_slot_count; ++slot) {
        if (slot_in_use(slot))
            continue;
        HBITMAP bitmap = bmp_make_compatible(width, height, colour);
        if (!bitmap)
            continue;
        slot_bitmap(slot) = bitmap;
        const auto k = static_cast<std::size_t>(slot);
        slots().width[k] = width;
        slots().height[k] = height;
        slots().fill_colour[k] = colour;
        handle = slot + 1;
        return;
    }
}

void bmp_destroy(int slot, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    if (bmp_viewer_find(slot) != 0) {
        status = err::bitmap_in_viewer;
        return;
    }
    leave_target(slot_bitmap(slot));
    DeleteObject(slot_bitmap(slot));
    slot_bitmap(slot) = nullptr;
    slots().width[static_cast<std::size_t>(slot)] = 0;
    slots().height[static_cast<std::size_t>(slot)] = 0;
    status = 0;
}

void bmp_destroy_all()
{
    for (int slot = 0; slot < bitmap_slot_count; ++slot) {
        if (!slot_in_use(slot))
            continue;
        DeleteObject(slot_bitmap(slot));
        slot_bitmap(slot) = nullptr;
    }
    slots().target_bitmap = nullptr;
}

void bmp_free_slot_count(int& count)
{
    count = 0;
    for (int slot = 0; slot < 50; ++slot) // the 51st slot is the preview's
        count += slot_in_use(slot) ? 0 : 1;
}

void bmp_size(int slot, int& width, int& height)
{
    width = height = 0;
    if (!slot_in_use(slot))
        return;
    width = slots().width[static_cast<std::size_t>(slot)];
    height = slots().height[static_cast<std::size_t>(slot)];
}

void bmp_fill_rect(int slot, int x1, int y1, int x2, int y2, std::int32_t colour, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    if (colour == -1)
        colour = slots().fill_colour[static_cast<std::size_t>(slot)];
    fill_box(dc.get(), x1, y1, x2, y2, colour);
    status = 0;
}

void bmp_put_pixels(int slot, std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    // An array shorter than the rectangle is refused rather than read beyond.
    if (!rectangle_fits(pixels.size(), x1, y1, x2, y2)) {
        status = err::bitmap_transfer;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    const long long row = static_cast<long long>(x2) - x1 + 1;
    for (int y = y2; y >= y1; --y)
        for (int x = x1; x <= x2; ++x)
            SetPixel(dc.get(), x, y,
                     written_colour(dc.get(), pixels[static_cast<std::size_t>((y - y1) * row + (x - x1))]));
    status = 0;
}

void bmp_get_pixels(int slot, std::span<std::int32_t> pixels, int x1, int y1, int x2, int y2, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    if (!rectangle_fits(pixels.size(), x1, y1, x2, y2)) {
        status = err::bitmap_transfer;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    if (!dc.owned() || !read_pixels_whole(dc.get(), slot_bitmap(slot), pixels, x1, y1, x2, y2)) {
        const long long row = static_cast<long long>(x2) - x1 + 1;
        for (int y = y2; y >= y1; --y)
            for (int x = x1; x <= x2; ++x)
                pixels[static_cast<std::size_t>((y - y1) * row + (x - x1))] =
                    static_cast<std::int32_t>(GetPixel(dc.get(), x, y));
    }
    status = 0;
}

bool bmp_copy(int slot, HBITMAP& copy)
{
    copy = nullptr;
    if (!slot_in_use(slot))
        return false;
    const BitmapDc source(slot_bitmap(slot));
    if (!source.owned() || !source.get())
        return false;
    const auto k = static_cast<std::size_t>(slot);
    // Made for the context holding the slot's bitmap, the copy takes that
    // bitmap's format.
    GdiBitmap made(CreateCompatibleBitmap(source.get(), slots().width[k], slots().height[k]));
    const OwnedDc target(CreateCompatibleDC(source.get()));
    if (!made || !target)
        return false;
    {
        const SelectedObject selected(target.get(), made.get());
        if (!BitBlt(target.get(), 0, 0, slots().width[k], slots().height[k], source.get(), 0, 0, SRCCOPY))
            return false;
    }
    copy = made.release();
    return true;
}

void bmp_copy_from_screen(int slot, int x, int y, int width, int height, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    HDC target = window_tables().drawing_dc;
    const bool copied = target && BitBlt(dc.get(), 0, 0, width, height, target, x, y, slots().raster_op);
    status = copied ? 0 : err::bitmap_transfer;
}

void bmp_draw_rop(int slot, int source_x, int source_y, int x, int y, int width, int height, int direction,
                  int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    HDC target = window_tables().drawing_dc;
    BOOL done = FALSE;
    if (target && direction != 0)
        done = BitBlt(target, x, y, width, height, dc.get(), source_x, source_y, slots().raster_op);
    else if (target)
        done = BitBlt(dc.get(), x, y, width, height, target, source_x, source_y, slots().raster_op);
    status = done ? 0 : err::bitmap_transfer;
}

void bmp_draw_stretched(int slot, int stretch, int x, int y, int width, int height, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    const BitmapDc dc(slot_bitmap(slot));
    HDC target = window_tables().drawing_dc;
    if (!dc.get() || !target) {
        status = err::bitmap_transfer;
        return;
    }
    BOOL done;
    if (stretch != 0) {
        const int old_mode = SetStretchBltMode(target, slots().stretch_mode);
        const auto k = static_cast<std::size_t>(slot);
        done = StretchBlt(target, x, y, width, height, dc.get(), 0, 0, slots().width[k], slots().height[k],
                          slots().raster_op);
        if (old_mode)
            SetStretchBltMode(target, old_mode);
    } else {
        done = BitBlt(target, x, y, width, height, dc.get(), 0, 0, slots().raster_op);
    }
    status = done ? 0 : err::bitmap_transfer;
}

void bmp_draw_pixels_blended(std::span<const std::int32_t> pixels, int x1, int y1, int x2, int y2, int width,
                             int height, int mode, int factor)
{
    HDC target = window_tables().drawing_dc;
    if (!target)
        return;
    bitmap_draw_blended(
        pixels, x1, y1, x2, y2, width, height, mode, factor,
        [target](int x, int y) { return static_cast<std::int32_t>(GetPixel(target, x, y) & 0xFFFFFF); },
        [target](int x, int y, std::int32_t rgb) { SetPixel(target, x, y, written_colour(target, rgb)); });
}

void bmp_load_resource(int slot, int resource_id, int& status)
{
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    const GdiBitmap loaded(LoadBitmapA(module_instance(), MAKEINTRESOURCEA(resource_id)));
    if (!loaded) {
        status = err::bitmap_transfer;
        return;
    }
    const OwnedDc source(CreateCompatibleDC(reference_dc().get()));
    const SelectedObject selected(source.get(), loaded.get());
    const BitmapDc dc(slot_bitmap(slot));
    const auto k = static_cast<std::size_t>(slot);
    const bool copied =
        BitBlt(dc.get(), 0, 0, slots().width[k], slots().height[k], source.get(), 0, 0, SRCCOPY);
    status = copied ? 0 : err::bitmap_transfer;
}

void bmp_resource_size(int resource_id, int& width, int& height)
{
    width = height = 0;
    const GdiBitmap loaded(LoadBitmapA(module_instance(), MAKEINTRESOURCEA(resource_id)));
    if (!loaded)
        return;
    BITMAP info{};
    if (GetObjectA(loaded.get(), sizeof info, &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

void bmp_mirror(int slot, int direction, int& viewer, int& status)
{
    viewer = 0;
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    viewer = bmp_viewer_find(slot);
    const BitmapDc dc(slot_bitmap(slot));
    const auto k = static_cast<std::size_t>(slot);
    const int w = slots().width[k], h = slots().height[k];
    HDC d = dc.get();
    if (direction != 0) {
        for (int i = 0; i < h / 2; ++i)
            for (int x = 0; x < w; ++x) {
                const COLORREF a = GetPixel(d, x, i), b = GetPixel(d, x, h - 1 - i);
                SetPixel(d, x, i, b);
                SetPixel(d, x, h - 1 - i, a);
            }
    } else {
        for (int i = 0; i < w / 2; ++i)
            for (int y = 0; y < h; ++y) {
                const COLORREF a = GetPixel(d, i, y), b = GetPixel(d, w - 1 - i, y);
                SetPixel(d, i, y, b);
                SetPixel(d, w - 1 - i, y, a);
            }
    }
    status = 0;
}

void bmp_rotate(int slot, int angle, int& viewer, int& status)
{
    viewer = 0;
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    if (!bitmap_rotation_valid(angle)) {
        status = err::rotation_angle;
        return;
    }
    viewer = bmp_viewer_find(slot);
    const auto k = static_cast<std::size_t>(slot);
    const int w = slots().width[k], h = slots().height[k];
    const int nw = angle == 180 ? w : h, nh = angle == 180 ? h : w;
    HBITMAP rotated = bmp_make_compatible(nw, nh, 0);
    if (!rotated) {
        status = err::bitmap_create;
        return;
    }
    leave_target(slot_bitmap(slot));
    {
        // Pixel by pixel: blits through a world transform do not turn
        // pictures everywhere.
        const BitmapDc from(slot_bitmap(slot));
        const BitmapDc to(rotated);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const PixelPos p = bitmap_rotated_position(x, y, w, h, angle);
                SetPixel(to.get(), p.x, p.y, GetPixel(from.get(), x, y));
            }
    }
    replace(slot, rotated, nw, nh);
    status = 0;
}

void bmp_resize(int slot, int width, int height, int& viewer, int& status)
{
    viewer = 0;
    if (!slot_in_use(slot)) {
        status = err::bitmap_handle;
        return;
    }
    viewer = bmp_viewer_find(slot);
    HBITMAP resized = bmp_make_compatible(width, height, 0);
    if (!resized) {
        status = err::bitmap_create;
        return;
    }
    leave_target(slot_bitmap(slot));
    {
        const BitmapDc from(slot_bitmap(slot));
        const BitmapDc to(resized);
        const auto k = static_cast<std::size_t>(slot);
        const int old_mode = SetStretchBltMode(to.get(), slots().stretch_mode);
        StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, slots().width[k], slots().height[k],
                   slots().raster_op);
        SetStretchBltMode(to.get(), old_mode);
    }
    replace(slot, resized, width, height);
    status = 0;
}

void bmp_raster_op_set(int mode)
{
    constexpr DWORD ops[4] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT};
    if (mode >= 0 && mode <= 3)
        slots().raster_op = ops[mode];
}

void bmp_stretch_mode_set(int mode)
{
    if (mode == 2 || mode == 3)
        slots().stretch_mode = mode;
    else if (mode == 4)
        slots().stretch_mode = display_info().windows_nt ? HALFTONE : BLACKONWHITE;
    else if (mode == 0 || mode == 1)
        slots().stretch_mode = BLACKONWHITE;
}

void bmp_stretch_mode_get(int& mode)
{
    mode = slots().stretch_mode;
}

void bmp_select_target(int slot, int& status, int& width, int& height)
{
    if (!slot_in_use(slot)) {
        status = 1;
        return;
    }
    auto& t = window_tables();
    HDC dc = CreateCompatibleDC(reference_dc().get());
    if (!dc) {
        status = 1;
        return;
    }
    HBITMAP bitmap = slot_bitmap(slot);
    t.drawing_dc = dc;
    t.bitmap_context = true;
    t.dc_window = -1;
    SelectObject(dc, bitmap);
    gdi_context_prepare(dc);
    slots().target_bitmap = bitmap;
    const auto k = static_cast<std::size_t>(slot);
    width = slots().width[k];
    height = slots().height[k];
    status = 0;
}

HBITMAP bmp_slot_handle(int slot)
{
    return slot >= 0 && slot < bitmap_slot_count ? slots().bitmap[static_cast<std::size_t>(slot)] : nullptr;
}

} // namespace korv

void WBitmapCreate(int& handle, int width, int height, std::optional<std::int32_t> colour)
{
    korv::bmp_create(handle, width, height, colour.value_or(korv::gr_colour_table_get(0)));
    if (handle == 0)
        korv::err_report(korv::err::bitmap_create, "WBitmapCreate");
}

void WBitmapGetData(int handle, std::span<const std::int32_t> pixels)
{
    using namespace korv;
    if (graphics_state().target_kind == target_metafile) {
        err_report(err::bitmap_on_metafile, "WBitmapGetData");
        return;
    }
    if (handle < 1 || handle > bmp_handle_limit() || !slot_in_use(handle - 1)) {
        err_report(err::bitmap_handle, "WBitmapGetData");
        return;
    }
    int width = 0, height = 0, status = 0;
    bmp_size(handle - 1, width, height);
    bmp_put_pixels(handle - 1, pixels, 0, 0, width - 1, height - 1, status);
    if (status != 0)
        err_report(status, "WBitmapGetData");
}

void WBitmapDestroy(int handle)
{
    using namespace korv;
    if (handle < 1 || handle > bmp_handle_limit()) {
        err_report(err::bitmap_handle, "WBitmapDestroy");
        return;
    }
    int status = 0;
    bmp_destroy(handle - 1, status);
    if (status != 0)
        err_report(status, "WBitmapDestroy");
}
