// Writes files for the readers nobody here wrote, into the current folder:
// area.bmp, area.pcx and area.png saved from a memory bitmap of a known
// pattern (31 by 17: red x*8, green y*15, blue (x+y)*5), and slot.emf, an
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

#include <cstdio>
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
    for (const auto& [type, name] : {std::pair{1, "area.bmp"}, {2, "area.pcx"}, {15, "area.png"}}) {
        int system_code = 0;
        if (img_save_area(window_tables().drawing_dc, type, {0, 0, w - 1, h - 1}, system_code, name) != 0)
            return 1;
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
