// Toolbars on the four sides of toolkit windows, their tooltip texts and
// the stacking of a window's bars.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "korvanthide/menus.h"
#include "korvanthide/window.h"
#include "core/menus_data.h"
#include "core/services/editor.h"
#include "core/win_menus_shared.h"
#include "core/win_module.h"
#include "core/win_menus.h"

namespace korv {

namespace {

int window_height(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

bool toolbar_has(HWND bar, int command)
{
    return bar != nullptr
           && SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) != -1;
}

// Button state from the window's menu: enabled unless the item is grey,
// checked when it is; a command the menu lacks is enabled.
BYTE button_state(HMENU menu, int command)
{
    const UINT flags = menu != nullptr
                           ? GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND)
                           : static_cast<UINT>(-1);
    if (flags == static_cast<UINT>(-1)) {
        return TBSTATE_ENABLED;
    }
    BYTE state = 0;
    if ((flags & (MF_GRAYED | MF_DISABLED)) == 0) state |= TBSTATE_ENABLED;
    if ((flags & MF_CHECKED) != 0) state |= TBSTATE_CHECKED;
    return state;
}

// Where a new bar goes in the frame's client area.
RECT toolbar_place(const WindowSlot& slot, int side, int thickness)
{
    RECT area{};
    GetClientRect(slot.frame, &area);
    if (HWND editor_bar = editor_services().bars(slot.frame).toolbar; editor_bar != nullptr) {
        RECT bar{};
        GetWindowRect(editor_bar, &bar);
        MapWindowPoints(nullptr, slot.frame, reinterpret_cast<POINT*>(&bar), 2);
        area.top = std::max(area.top, bar.bottom);
    }
    if (slot.status_bar != nullptr && IsWindowVisible(slot.status_bar)) {
        area.bottom -= window_height(slot.status_bar);
    }
    switch (side) {
    case 0: return {area.left, area.top, area.right, area.top + thickness};
    case 3: return {area.left, area.bottom - thickness, area.right, area.bottom};
    default: break;
    }
    area.top += slot.toolbar_thickness[0];
    area.bottom -= slot.toolbar_thickness[3];
    if (side == 1) return {area.left, area.top, area.left + thickness, area.bottom};
    return {area.right - thickness, area.top, area.right, area.bottom};
}

int toolbar_button_total(const WindowSlot& slot)
{
    int total = 0;
    for (HWND bar : slot.toolbars) {
        if (bar != nullptr) total += static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    }
    return total;
}

bool no_toolbar_left(const WindowSlot& slot)
{
    return std::all_of(slot.toolbars.begin(), slot.toolbars.end(),
                       [](HWND bar) { return bar == nullptr; });
}

HWND toolbar_create(WindowSlot& slot, int identifier, int side, const ToolbarResource& resource,
                    int& thickness)
{
    const ToolbarGeometry geometry =
        toolbar_geometry(resource.image_width, resource.image_height, side);
    thickness = geometry.thickness;
    const RECT place = toolbar_place(slot, side, thickness);
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT
                                   | TBSTYLE_TOOLTIPS,
                               place.left, place.top, place.right - place.left,
                               place.bottom - place.top, slot.frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifier)),
                               module_instance(), nullptr);
    if (bar == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrA(bar, GWLP_USERDATA, GetWindowLongPtrA(bar, GWLP_WNDPROC));
    SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&win_toolbar_proc));

    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(resource.image_width, resource.image_height));
    // The control keeps a button at least its padding wider than its image;
    // padding of 6 lets the button be exactly 6 larger than the image.
    SendMessageA(bar, TB_SETPADDING, 0, MAKELPARAM(6, 6));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(geometry.button_width, geometry.button_height));

    const bool vertical = toolbar_side_vertical(side);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int command : resource.commands) {
        TBBUTTON button{};
        if (command == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = button_state(slot.menu, command);
            button.fsStyle = TBSTYLE_BUTTON;
        }
        if (vertical) button.fsState |= TBSTATE_WRAP;
        buttons.push_back(button);
    }
    if (image > 0) {
        TBADDBITMAP bitmap{module_instance(), static_cast<UINT_PTR>(identifier)};
        SendMessageA(bar, TB_ADDBITMAP, static_cast<WPARAM>(image), reinterpret_cast<LPARAM>(&bitmap));
    }
    if (!buttons.empty()) {
        SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    }
    // Adding buttons may have let the bar size itself: it keeps its place.
    MoveWindow(bar, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    return bar;
}

} // namespace

void win_toolbar_load(int& identifier, int window, int side, int& width, int& height)
{
    width = -1;
    height = -1;
    WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->frame == nullptr || side < 0 || side > 3) {
        identifier = -2;
        return;
    }
    const std::size_t s = static_cast<std::size_t>(side);
    WindowContentRecord* record = win_content_record(slot->frame);
    int old_thickness = 0;
    if (HWND old = slot->toolbars[s]) {
        old_thickness = slot->toolbar_thickness[s];
        DestroyWindow(old);
        slot->toolbars[s] = nullptr;
        slot->toolbar_thickness[s] = 0;
        if (record != nullptr) record->toolbars[s] = nullptr;
        if (no_toolbar_left(*slot)) {
            win_toolbar_tooltips_free(window);
        }
    }

    int thickness = 0;
    if (identifier != 0) {
        const std::optional<ToolbarResource> resource =
            toolbar_resource_parse(resource_bytes(identifier, MAKEINTRESOURCEA(10)));
        HWND bar = resource ? toolbar_create(*slot, identifier, side, *resource, thickness) : nullptr;
        if (bar == nullptr) {
            identifier = -1;
            thickness = 0;
        } else {
            slot->toolbars[s] = bar;
            slot->toolbar_thickness[s] = thickness;
            win_bars_zorder(window);
            const int total = toolbar_button_total(*slot);
            if (slot->tooltips == nullptr) {
                slot->tooltips = std::make_unique<ToolbarTooltipTable>();
            }
            if (static_cast<int>(slot->tooltips->records.size()) < total) {
                slot->tooltips->records.resize(static_cast<std::size_t>(total));
            }
            if (record != nullptr) record->toolbars[s] = bar;
        }
    }

    const int change = thickness - old_thickness;
    if (change == 0 || IsIconic(slot->frame)) {
        return;
    }
    const bool zoomed = IsZoomed(slot->frame) != 0;
    if (zoomed && std::abs(change) > 1) {
        // A maximised window keeps its client size for when it is restored.
        WINDOWPLACEMENT place{};
        place.length = sizeof place;
        GetWindowPlacement(slot->frame, &place);
        if (toolbar_side_vertical(side)) place.rcNormalPosition.right += change;
        else place.rcNormalPosition.bottom += change;
        SetWindowPlacement(slot->frame, &place);
    }
    RECT client{};
    GetClientRect(slot->frame, &client);
    SendMessageA(slot->frame, WM_SIZE, zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
                 MAKELPARAM(client.right, client.bottom));
    RECT inner{};
    GetClientRect(slot->client != nullptr ? slot->client : slot->frame, &inner);
    width = inner.right;
    height = inner.bottom;
}

void win_toolbar_tooltip_set(int& command, std::string_view text)
{
    const int current = window_tables().current;
    const WindowSlot* current_slot = menu_slot(current);
    const bool current_has = current_slot != nullptr
                             && std::any_of(current_slot->toolbars.begin(),
                                            current_slot->toolbars.end(),
                                            [](HWND bar) { return bar != nullptr; });
    WindowSlot& slot = *menu_slot(current_has ? current : 0);
    if (std::none_of(slot.toolbars.begin(), slot.toolbars.end(),
                     [command](HWND bar) { return toolbar_has(bar, command); })) {
        command = -1;
        return;
    }
    if (slot.tooltips == nullptr) {
        return;
    }
    std::vector<ToolbarTooltipRecord>& records = slot.tooltips->records;
    std::vector<int> commands;
    for (const ToolbarTooltipRecord& r : records) commands.push_back(r.command);
    const int choice = tooltip_record_choice(commands, command);
    if (choice < 0) {
        return;
    }
    ToolbarTooltipRecord& record = records[static_cast<std::size_t>(choice)];
    const std::string stored = tooltip_text_stored(text);
    record = ToolbarTooltipRecord{};
    if (!stored.empty()) {
        record.command = command;
        std::memcpy(record.text.data(), stored.data(), stored.size());
    }
}

const char* win_toolbar_tooltip_find(int window, int command)
{
    const WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->tooltips == nullptr || command == 0) {
        return nullptr;
    }
    for (const ToolbarTooltipRecord& r : slot->tooltips->records) {
        if (r.command == command) return r.text.data();
    }
    return nullptr;
}

void win_toolbar_tooltips_free(int window)
{
    if (WindowSlot* slot = menu_slot(window)) {
        slot->tooltips.reset();
    }
}

void win_bars_zorder(int window)
{
    const WindowSlot* slot = menu_slot(window);
    if (slot == nullptr || slot->frame == nullptr) {
        return;
    }
    const EditorBars editor = editor_services().bars(slot->frame);
    std::vector<HWND> order{editor.toolbar, slot->status_bar};
    order.insert(order.end(), slot->toolbars.begin(), slot->toolbars.end());
    order.insert(order.end(), {editor.command_line, editor.prompt_frame, editor.prompt_text});
    HWND after = HWND_TOP;
    for (HWND bar : order) {
        if (bar == nullptr) continue;
        SetWindowPos(bar, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = bar;
    }
}

LRESULT CALLBACK win_toolbar_proc(HWND bar, UINT message, WPARAM w, LPARAM l)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(bar, GWLP_USERDATA));
    if (message == WM_SIZE || previous == nullptr) {
        return DefWindowProcA(bar, message, w, l);
    }
    return CallWindowProcA(previous, bar, message, w, l);
}

} // namespace korv
