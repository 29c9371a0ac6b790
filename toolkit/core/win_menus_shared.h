// What the menu and toolbar sources share.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "korvanthide/window.h"
#include "core/menus_data.h"

namespace korv {

struct MenuState {
    // Items of each window's menus that carry an attached help string.
    std::array<int, window_slots> attached{};
    // The ZOQMENUSTRING resource of the floating popup menu while it shows.
    ResourceBytes popup_help;
    bool popup_help_present = false;
};

MenuState& menu_state();
// The slot of window 0..50, else nullptr.
WindowSlot* menu_slot(int window);
// A resource of the program with its size; empty when missing.
ResourceBytes resource_bytes(int identifier, const char* type);
// A menu-item record of the size this system takes, with `mask`.
MENUITEMINFOA menu_item_info(UINT mask);
// A caller's text without a terminator's tail and trailing blanks.
std::string text_trimmed_copy(std::string_view text);

} // namespace korv
