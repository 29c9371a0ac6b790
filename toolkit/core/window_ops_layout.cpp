#include "core/window_ops_layout.h"

#include <algorithm>
#include <limits>

namespace korv {

std::vector<int> statusbar_edges(std::span<const int> widths, int client_width)
{
    const std::size_t n = widths.size();
    std::vector<int> edges(n, 0);
    // A program's widths may be any int: the sums are worked out wide and
    // held to the int range.
    const auto held = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    long long right = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (widths[i] == -1) {
            // The stretching part: the parts behind it keep their widths at
            // the right end.
            edges[n - 1] = client_width;
            for (std::size_t k = n - 1; k-- > i;)
                edges[k] = held(static_cast<long long>(edges[k + 1]) - (widths[k + 1] == -1 ? 0 : widths[k + 1]));
            return edges;
        }
        right += widths[i];
        edges[i] = held(right);
    }
    return edges;
}

int statusbar_style_of(int border)
{
    switch (border) {
    case 0:
        return 0x100; // SBT_NOBORDERS
    case 2:
        return 0x200; // SBT_POPOUT
    default:
        return 0;
    }
}

const std::array<std::int32_t, 16>& text_colour_defaults()
{
    static const std::array<std::int32_t, 16> colours = {
        0x000000, 0x0000BF, 0x00BFBF, 0x00BF00, 0xBFBF00, 0xBF0000, 0xBF00BF, 0xBFBFBF,
        0x404040, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
    };
    return colours;
}

int text_foreground_entry(int foreground)
{
    return foreground >= 0 && foreground <= 16 ? foreground : -1;
}

int text_background_entry(int background)
{
    if (background == 16)
        return 17;
    return background >= 0 && background <= 15 ? background : -1;
}

int system_colour_index(int code, bool flat_menus)
{
    // COLOR_ values of the platform.
    constexpr int window_text = 8, window = 5, btn_text = 18, btn_face = 15, highlight_text = 14, highlight = 13,
                  menu_text = 7, menu = 4, menu_bar = 30, btn_highlight = 20, light_3d = 22, dark_shadow_3d = 21,
                  btn_shadow = 16, info_text = 23, info_bk = 24, gray_text = 17, menu_hilight = 29;
    switch (code) {
    case 6:
        return window_text;
    case 7:
        return window;
    case 8:
    case 25:
        return btn_text;
    case 9:
    case 26:
        return btn_face;
    case 10:
    case 15:
        return highlight_text;
    case 11:
        return highlight;
    case 12:
        return menu_text;
    case 13:
        return flat_menus ? menu_bar : menu;
    case 14:
        return menu;
    case 16:
        return flat_menus ? menu_hilight : highlight;
    case 17:
        return btn_highlight;
    case 18:
        return light_3d;
    case 19:
    case 24:
        return dark_shadow_3d;
    case 20:
        return btn_shadow;
    case 21:
        return info_text;
    case 22:
        return info_bk;
    case 23:
        return gray_text;
    default:
        return -1;
    }
}

} // namespace korv
