// Writes files for the readers nobody here wrote, into the current folder:
// area.bmp, area.pcx and area.png saved from a memory bitmap of a known
// pattern (31 by 17: red x*8, green y*15, blue (x+y)*5), small.bmp,
// small.pcx and small.png of its top-left 2 by 2 pixels, area.rgb with the
// bitmap's pixels as the display holds them (red, green, blue bytes),
// depth.txt with the display's bits per pixel, and slot.emf, an
// enhanced-metafile slot into which a solid red rectangle was drawn over
// the middle half of a 200 by 100 point page.
#include "korvanthide/bitmaps.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "graphics/image_files_win.h"
#include "graphics/metafile_slots.h"
#include "graphics/metafile_win.h"
#include "graphics/bitmap_slots.h"

#include <cstdio>
#include <string>
#include <vector>

int main()
{
    using namespace korv;
    WindowOpen(7 | 0x80, 0, 0, 640, 480);
    const int w = 31, h = 17;
    std::vector<std::int32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(x * 8 + 256 * (y * 15) + 65536 * ((x + y) * 5));
    int handle = 0, status = -1;
    WBitmapCreate(handle, w, h, 0);
    bmp_put_pixels(handle - 1, pixels, 0, 0, w - 1, h - 1, status);
    IGrSelect(2, handle);
    for (const auto& [type, name] : {std::pair{1, "area"}, {2, "area"}, {15, "area"}}) {
        const char* extension = type == 1 ? ".bmp" : type == 2 ? ".pcx" : ".png";
        int system_code = 0;
        if (img_save_area(window_tables().drawing_dc, type, {0, 0, w - 1, h - 1}, system_code,
                          std::string(name) + extension) != 0 ||
            img_save_area(window_tables().drawing_dc, type, {0, 0, 1, 1}, system_code, std::string("small") + extension) != 0)
            return 1;
    }
    // The display's depth, which a BMP save keeps.
    const HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    if (std::FILE* f = std::fopen("depth.txt", "w")) {
        std::fprintf(f, "%d\n", depth);
        std::fclose(f);
    }
    std::vector<std::int32_t> shown(pixels.size());
    bmp_get_pixels(handle - 1, shown, 0, 0, w - 1, h - 1, status);
    if (status != 0)
        return 1;
    std::string rgb;
    for (const std::int32_t p : shown)
        rgb += {static_cast<char>(p & 0xFF), static_cast<char>(p >> 8 & 0xFF), static_cast<char>(p >> 16 & 0xFF)};
    if (std::FILE* f = std::fopen("area.rgb", "wb")) {
        std::fwrite(rgb.data(), 1, rgb.size(), f);
        std::fclose(f);
    }
    IGrSelect(1);

    if (!metafile_slot_create_enhanced(1, 200, 100))
        return 2;
    IGrSelect(4, 1);
    if (error_state().last_error != 0)
        return 3;
    IGrColourModeSelect(24);
    IGrColourN(0x0000FF);
    IGrFillStyleSet(4);
    IGrRectangle(0.25f, 0.25f, 0.75f, 0.75f);
    IGrSelect(1);
    int system_code = 0;
    if (emf_copy_to_file(0, system_code, "slot.emf") != 0)
        return 4;
    WRootWindowClose();
    std::puts("written");
    return 0;
}
