// WEditFile: a toolkit child window becomes a rich-text editor or viewer on
// the system RichEdit control, or takes one more file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/menus.h"
#include "korvanthide/startup.h"
#include "core/context.h"
#include "core/win_menus_shared.h"
#include "core/win_module.h"
#include "editor/win_editor.h"

namespace korv {

namespace {

namespace cmd = editor_command;

WindowSlot& slot_of(int window)
{
    return window_tables().windows[static_cast<std::size_t>(window)];
}

bool has_child_style(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
}

bool has_caption(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// The frame of the window whose client holds a child frame.
HWND grandparent_of(HWND frame)
{
    HWND parent = GetParent(frame);
    return parent != nullptr ? GetParent(parent) : nullptr;
}

std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<ACCEL> accelerator_entries(const std::vector<EditorAccelerator>& table)
{
    std::vector<ACCEL> entries;
    for (const EditorAccelerator& a : table) {
        ACCEL entry{};
        entry.fVirt = static_cast<BYTE>(FVIRTKEY | (a.ctrl ? FCONTROL : 0) | (a.shift ? FSHIFT : 0));
        entry.key = static_cast<WORD>(a.key);
        entry.cmd = static_cast<WORD>(a.command);
        entries.push_back(entry);
    }
    return entries;
}

HACCEL accelerators_make(const std::vector<ACCEL>& entries)
{
    if (entries.empty()) {
        return nullptr;
    }
    std::vector<ACCEL> copy = entries;
    return CreateAcceleratorTableA(copy.data(), static_cast<int>(copy.size()));
}

HMENU popup_build(const EditorMenuPopup& popup)
{
    HMENU menu = CreatePopupMenu();
    for (const EditorMenuItem& item : popup.items) {
        MENUITEMINFOA info = menu_item_info(MIIM_FTYPE);
        std::string text = item.text;
        if (item.command == 0) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_ID | MIIM_STRING | MIIM_STATE;
            info.fType = MFT_STRING;
            info.wID = static_cast<UINT>(item.command);
            info.dwTypeData = text.data();
            info.fState = (item.checked ? MFS_CHECKED : 0) | (item.grey ? MFS_GRAYED : 0);
        }
        InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    }
    return menu;
}

// The built-in popups in front of whatever the bar holds.
void menus_insert(EditorWindowRecord& record, HMENU bar, std::string_view view_label)
{
    const auto popups = editor_builtin_menus(record.flags, edit_richedit_version(),
                                             record.builtin_accelerators != nullptr, view_label);
    UINT position = 0;
    for (const EditorMenuPopup& popup : popups) {
        HMENU menu = popup_build(popup);
        std::string title = popup.title;
        MENUITEMINFOA info = menu_item_info(MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE);
        info.fType = MFT_STRING;
        info.wID = static_cast<UINT>(popup.command);
        info.hSubMenu = menu;
        info.dwTypeData = title.data();
        InsertMenuItemA(bar, position++, TRUE, &info);
        switch (popup.command) {
        case cmd::file_menu: record.file_menu = menu; break;
        case cmd::edit_menu: record.edit_menu = menu; break;
        case cmd::search_menu: record.search_menu = menu; break;
        case cmd::format_menu: record.format_menu = menu; break;
        case cmd::view_menu: record.view_menu = menu; break;
        default: break;
        }
    }
}

bool bitmap_exists(int identifier)
{
    return FindResourceA(module_instance(), MAKEINTRESOURCEA(identifier), RT_BITMAP) != nullptr;
}

// The editor's own toolbar; the images come from the program's bitmaps or,
// for the file and edit buttons, from the system's standard images.
HWND toolbar_build(EditorWindowRecord& record, HWND frame)
{
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                               0, 0, 0, 0, frame, reinterpret_cast<HMENU>(editor_toolbar_id),
                               module_instance(), nullptr);
    if (bar == nullptr) {
        return nullptr;
    }
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    SendMessageA(bar, TB_SETPADDING, 0, MAKELPARAM(6, 6));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(22, 22));

    const int colours = display_info().colour_count;
    const bool few_colours = colours > 0 && colours <= 256;
    namespace bitmap = editor_toolbar_bitmap;
    const int file_images = few_colours ? bitmap::file_few_colours : bitmap::file;
    const int format_images = few_colours ? bitmap::format_few_colours : bitmap::format;
    const int extended_images = few_colours ? bitmap::extended_few_colours : bitmap::extended;

    int base_file = 0;
    const bool standard = !bitmap_exists(file_images);
    if (standard) {
        SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    } else {
        TBADDBITMAP images{module_instance(), static_cast<UINT_PTR>(file_images)};
        base_file = static_cast<int>(SendMessageA(bar, TB_ADDBITMAP, 11, reinterpret_cast<LPARAM>(&images)));
    }
    const bool formatting = record.flags.formatted && !record.flags.viewer && bitmap_exists(format_images);
    int base_format = 0;
    if (formatting) {
        TBADDBITMAP images{module_instance(), static_cast<UINT_PTR>(format_images)};
        base_format = static_cast<int>(SendMessageA(bar, TB_ADDBITMAP, 7, reinterpret_cast<LPARAM>(&images)));
    }
    const bool extended = record.flags.formatted && !record.flags.viewer
                          && record.flags.extended_toolbar && bitmap_exists(extended_images);
    int base_extended = 0;
    if (extended) {
        TBADDBITMAP images{module_instance(), static_cast<UINT_PTR>(extended_images)};
        base_extended = static_cast<int>(SendMessageA(bar, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&images)));
    }

    std::vector<TBBUTTON> buttons;
    for (const EditorToolbarButton& b :
         editor_toolbar_buttons(record.flags, edit_richedit_version(), formatting, extended)) {
        TBBUTTON button{};
        if (b.command == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            switch (b.group) {
            case 0: button.iBitmap = base_file + (standard ? editor_standard_image(b.image) : b.image); break;
            case 1: button.iBitmap = base_format + b.image; break;
            default: button.iBitmap = base_extended + b.image; break;
            }
            button.idCommand = b.command;
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = static_cast<BYTE>((b.disabled ? 0 : TBSTATE_ENABLED)
                                               | (b.checked ? TBSTATE_CHECKED : 0));
        }
        buttons.push_back(button);
    }
    SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    record.toolbar_tips = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    return bar;
}

void status_parts_set(EditorWindowRecord& record, HWND frame)
{
    if (record.status_bar == nullptr) {
        return;
    }
    int edges[5] = {140, 170, 210, 250, -1};
    SendMessageA(record.status_bar, SB_SETPARTS, has_caption(frame) ? 4 : 5,
                 reinterpret_cast<LPARAM>(edges));
    edit_status_text(record, 0, editor_line_column_text(1, 1));
    edit_status_keys(record);
}

int window_height(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

// The command line with its prompt at the bottom of the layout area.
void command_line_build(EditorWindowRecord& record, HWND frame, RECT& area)
{
    const DisplayInfo& display = display_info();
    const bool old_windows = display.windows_major > 0 && display.windows_major < 4;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (old_windows ? WS_BORDER : 0);
    const DWORD ex_style = old_windows ? 0 : WS_EX_CLIENTEDGE;
    RECT line{0, 0, 10, record.line_height};
    AdjustWindowRectEx(&line, style, FALSE, ex_style);
    int height = line.bottom - line.top + (old_windows ? 6 : 2);
    const HINSTANCE instance = module_instance();
    const int width = std::max(0L, area.right - area.left);
    if (record.flags.history && !old_windows) {
        record.command_line = CreateWindowExA(
            ex_style, "COMBOBOX", "",
            style | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS | WS_VSCROLL, area.left,
            area.bottom - height, width, height + 10 * record.line_height, frame,
            reinterpret_cast<HMENU>(editor_command_line_id), instance, nullptr);
        if (record.command_line != nullptr) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            GetComboBoxInfo(record.command_line, &info);
            record.command_edit = info.hwndItem;
            RECT box{};
            GetWindowRect(record.command_line, &box);
            height = box.bottom - box.top;
        }
    } else {
        record.command_line = CreateWindowExA(ex_style, "EDIT", "", style | ES_AUTOHSCROLL, area.left,
                                              area.bottom - height, width, height, frame,
                                              reinterpret_cast<HMENU>(editor_command_line_id),
                                              instance, nullptr);
        record.command_edit = record.command_line;
    }
    if (record.command_line == nullptr) {
        return;
    }
    record.command_line_height = height;
    RECT one{0, 0, 10, record.line_height};
    AdjustWindowRectEx(&one, style, FALSE, ex_style);
    record.prompt_offset = (height - (one.bottom - one.top)) / 2;
    record.prompt_frame = CreateWindowExA(ex_style, "STATIC", "", style | SS_CENTER, area.left,
                                          area.bottom - height, 0, height, frame,
                                          reinterpret_cast<HMENU>(editor_prompt_id), instance, nullptr);
    record.prompt_text = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 0,
                                         record.prompt_offset, 0, one.bottom - one.top,
                                         record.prompt_frame,
                                         reinterpret_cast<HMENU>(editor_prompt_id), instance, nullptr);
    const WPARAM font = reinterpret_cast<WPARAM>(record.font);
    for (HWND w : {record.command_line, record.command_edit, record.prompt_frame, record.prompt_text}) {
        if (w != nullptr) SendMessageA(w, WM_SETFONT, font, FALSE);
    }
    SetWindowLongPtrA(record.command_edit, GWLP_USERDATA,
                      GetWindowLongPtrA(record.command_edit, GWLP_WNDPROC));
    SetWindowLongPtrA(record.command_edit, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&edit_command_line_proc));
    area.bottom -= height;
}

HWND text_control_build(EditorWindowRecord& record, HWND frame, const RECT& area)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (record.flags.viewer) style |= ES_READONLY;
    if (!record.flags.word_wrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    const char* type = edit_richedit_version() == 1 ? "RICHEDIT" : "RichEdit20A";
    HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, type, "", style, area.left, area.top,
                                   std::max(0L, area.right - area.left),
                                   std::max(0L, area.bottom - area.top), frame,
                                   reinterpret_cast<HMENU>(editor_text_id), module_instance(), nullptr);
    if (control != nullptr && !record.flags.word_wrap) {
        // Without word wrap lines run on to the right.
        SendMessageA(control, EM_SETTARGETDEVICE, 0, 1);
    }
    return control;
}

// Gives back what a new editor made when it cannot be finished.
void editor_abandon(EditorWindowRecord* record, HWND frame, WindowSlot& slot)
{
    for (HWND w : {record->toolbar, record->command_line, record->prompt_frame, edit_control(*record)}) {
        if (w != nullptr) DestroyWindow(w);
    }
    if (record->builtin_accelerators != nullptr) DestroyAcceleratorTable(record->builtin_accelerators);
    if (record->pane_accelerators != nullptr) DestroyAcceleratorTable(record->pane_accelerators);
    if (record->font != nullptr && !record->stock_font) DeleteObject(record->font);
    win_content_record_set(frame, nullptr);
    delete record;
    if (slot.client != nullptr) ShowWindow(slot.client, SW_SHOW);
}

void owner_reactivate()
{
    HWND owner = dialog_owner_window();
    if (owner == nullptr || !IsWindow(owner)) owner = window_tables().windows[0].frame;
    if (owner != nullptr) {
        win_activate(owner);
        SetFocus(owner);
    }
}

// ---- adding a file to an editor the window holds ----

void editor_add_file(int& error, EditorWindowRecord& record, HWND frame, const std::string& file,
                     int filter_index)
{
    std::string path;
    if (!file.empty() && !edit_full_path(file, path)) {
        error_state().file_code = ERROR_FILENAME_EXCED_RANGE;
        error = err::file_open;
        return;
    }
    const int window = edit_window_number(record);
    HWND control = edit_control(record);
    const bool reuse = record.flags.several_buffers && record.buffers == 1
                       && edit_control_length(control) == 0
                       && SendMessageA(control, EM_GETMODIFY, 0, 0) == 0
                       && record.open_files[static_cast<std::size_t>(record.current_buffer)] == nullptr
                       && edit_file_name(record).empty();
    if (record.flags.several_buffers && !reuse) {
        edit_buffer_name_put(window, record.current_buffer, edit_file_name(record));
        for (int n = 1; n <= record.buffers; ++n) {
            std::array<char, editor_path_limit> stored{};
            edit_buffer_name_get(window, n, stored);
            if (!path.empty() && lstrcmpiA(stored.data(), path.c_str()) == 0) {
                if (n != record.current_buffer) edit_buffer_switch(frame, n);
                return;
            }
        }
        if (record.buffers >= editor_buffer_limit) {
            error = err::no_editor_buffer;
            return;
        }
        edit_view_item_check(record, record.current_buffer, false);
        edit_buffer_store(window, record.current_buffer);
        edit_buffer_name_put(window, record.current_buffer, edit_file_name(record));
        edit_file_name_set(record, path);
        const int n = ++record.buffers;
        record.current_buffer = n;
        record.bookmark[static_cast<std::size_t>(n)] = -1;
        record.bookmark_length[static_cast<std::size_t>(n)] = -1;
        if (!file.empty() && edit_file_read(frame, 1) == 0) {
            record.protection = 0;
            edit_text_clear(record);
            record.protection = 1;
            SendMessageA(control, EM_SETMODIFY, FALSE, 0);
            edit_format_state_update(record);
            record.program_value = 0;
        }
        edit_buffer_name_put(window, n, edit_file_name(record));
        edit_view_item_append(record, n, edit_file_name(record));
    } else {
        edit_file_name_set(record, path);
        if (!file.empty()) {
            edit_file_close(frame);
            if (edit_file_read(frame, 1) == 0) {
                edit_file_name_set(record, "");
            } else if (record.flags.several_buffers) {
                edit_view_item_set(record, 1, edit_file_name(record));
            }
        }
    }
    record.filter_index[static_cast<std::size_t>(record.current_buffer)] =
        filter_index == -1 ? 1 : filter_index;
    edit_title_update(frame);
}

// ---- a new editor ----

struct Request {
    int mode = 2;
    int menu = 0;
    int options = 0;
    int font = 0;
    int size = 0;
    int filter_index = -1;
    int host = -1;
    std::string file;
    std::string filter;
};

// Where the frame stands: inside a parent it is a pane of a split window
// (whose outermost frame is outermost) or an outer child window.
struct Placement {
    bool inside = false;
    bool outer_child = false;
    bool pane = false;
    HWND outermost = nullptr;
    // Client windows that had something to repaint before the editor came.
    std::array<bool, window_slots> pending_update{};
};

// Step 2: a frame inside a parent refuses a menu of an outer child and the
// modal modes, which it turns into mode 2.
Placement placement_of(int& error, Request& request, HWND frame)
{
    Placement where;
    where.inside = has_child_style(frame);
    where.outermost = frame;
    if (!where.inside) return where;
    if (win_split_record(grandparent_of(frame)) != nullptr) {
        where.pane = true;
        HWND at = grandparent_of(frame);
        while (at != nullptr && has_child_style(at) && win_split_record(grandparent_of(at)) != nullptr) {
            at = grandparent_of(at);
        }
        where.outermost = at != nullptr ? at : frame;
        where.outer_child = at != nullptr && has_child_style(at);
    } else {
        where.outer_child = true;
    }
    if (request.mode == 2 && request.menu != 0 && where.outer_child) {
        error = err::editor_menu_inside_parent;
    }
    if (request.mode == 1 || request.mode == 3) {
        if (request.mode == 1) {
            int status = 0;
            dialog_window_snapshots(0, -1, status);
        }
        error = err::editor_mode;
        request.mode = 2;
    }
    if (where.pane) {
        for (int n = 0; n <= max_window; ++n) {
            HWND client = slot_of(n).client;
            where.pending_update[static_cast<std::size_t>(n)] =
                client != nullptr && GetUpdateRect(client, nullptr, FALSE) != 0;
        }
    }
    return where;
}

// Step 3: the record, hung on the frame; nullptr without memory.
EditorWindowRecord* record_make(const Request& request, HWND frame, const WindowSlot& slot)
{
    auto* record = new (std::nothrow) EditorWindowRecord{};
    if (record == nullptr) return nullptr;
    record->kind = ContentKind::editor;
    record->frame = frame;
    record->protection = 1;
    record->current_buffer = 1;
    record->buffers = 1;
    record->cache_control = -1;
    record->cache_program = -1;
    record->bookmark.fill(-1);
    record->bookmark_length.fill(-1);
    record->flags = EditorCommandFlags::from_options(request.options);
    record->filter = editor_filter_convert(request.filter);
    record->filter_index[1] = request.filter_index == -1 ? 1 : request.filter_index;
    record->status_bar = slot.status_bar;
    record->mode = request.mode;
    win_content_record_set(frame, record);
    return record;
}

// A pane of the split window `host`: every split window between the pane
// and the host that has no menu shows the editor's, with the pane as its
// focused pane, and the pane translates keys with its own accelerators.
void host_menu_share(EditorWindowRecord& record, HMENU bar, int host, HWND frame)
{
    if (host < 0 || host > max_window) return;
    HWND host_frame = slot_of(host).frame;
    if (host_frame == nullptr || win_split_record(host_frame) == nullptr || !IsChild(host_frame, frame)) return;
    HWND below = frame;
    for (HWND at = grandparent_of(frame); at != nullptr; at = grandparent_of(at)) {
        SplitWindowRecord* split = win_split_record(at);
        if (split == nullptr) break;
        WindowSlot& split_slot = slot_of(split->window >= 0 ? split->window : 0);
        if (split_slot.menu == nullptr) {
            split_slot.menu = bar;
            split->focused_pane = below;
        }
        if (at == host_frame) break;
        below = at;
    }
    record.pane_accelerators =
        accelerators_make(accelerator_entries(editor_pane_accelerators(record.flags, edit_richedit_version())));
}

// Step 5: the menu bar, the program's menu (not in a modal editor) with the
// built-in menus inserted, in place of the window's menu.
void menus_make(int& error, EditorWindowRecord& record, const Request& request, int window, HWND frame,
                bool inside)
{
    WindowSlot& slot = slot_of(window);
    HMENU bar = nullptr;
    if (request.menu != 0 && request.mode != 1) {
        bar = LoadMenuA(module_instance(), MAKEINTRESOURCEA(request.menu));
        if (bar != nullptr) {
            win_menu_command_ids(bar, request.menu);
        } else {
            error = err::menu_load;
        }
    } else if (request.menu != 0) {
        error = err::user_menu_modal;
    }
    if (bar == nullptr) bar = CreateMenu();
    std::string first_name;
    if (!request.file.empty()) edit_full_path(request.file, first_name);
    menus_insert(record, bar, editor_view_label(1, first_name));
    record.menu_bar = bar;
    if (!inside) SetMenu(frame, bar);
    if (slot.menu != nullptr && slot.menu != bar) {
        // The old menu may show on the top-level window above a pane.
        HWND top = GetAncestor(frame, GA_ROOT);
        if (GetMenu(top) == slot.menu) SetMenu(top, bar);
        win_menu_strings_free(slot.menu, window);
        DestroyMenu(slot.menu);
    }
    slot.accelerators = nullptr;
    slot.menu_help = nullptr;
    slot.menu = bar;
    host_menu_share(record, bar, request.host, frame);
    if (!inside) DrawMenuBar(frame);
}

// Step 6: the window's own toolbars: gone in a modal editor, else kept.
void window_toolbars_take(EditorWindowRecord& record, int mode, int window, HWND frame)
{
    WindowSlot& slot = slot_of(window);
    if (mode != 1) {
        record.toolbars = slot.toolbars;
        return;
    }
    bool any = false;
    for (std::size_t side = 0; side < 4; ++side) {
        if (slot.toolbars[side] != nullptr) {
            DestroyWindow(slot.toolbars[side]);
            slot.toolbars[side] = nullptr;
            slot.toolbar_thickness[side] = 0;
            any = true;
        }
    }
    if (any) {
        win_toolbar_tooltips_free(window);
        if (!IsIconic(frame)) {
            RECT client{};
            GetClientRect(frame, &client);
            SendMessageA(frame, WM_SIZE, IsZoomed(frame) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                         MAKELPARAM(client.right, client.bottom));
        }
    }
}

// Step 7: the caller's accelerators and help strings.
void caller_resources_load(EditorWindowRecord& record, const Request& request, WindowSlot& slot)
{
    if (request.mode == 1 || request.menu == 0) return;
    record.caller_accelerators = LoadAcceleratorsA(module_instance(), MAKEINTRESOURCEA(request.menu));
    if (HRSRC help = FindResourceA(module_instance(), MAKEINTRESOURCEA(request.menu), "ZOQMENUSTRING")) {
        slot.menu_help = LoadResource(module_instance(), help);
    }
}

// Step 8: the editor's toolbar and status bar and the window's toolbars
// around the text; gives the area left for the text.
RECT bars_arrange(EditorWindowRecord& record, HWND frame, const WindowSlot& slot)
{
    RECT area{};
    GetClientRect(frame, &area);
    if (record.flags.toolbar) {
        record.toolbar = toolbar_build(record, frame);
        if (record.toolbar != nullptr) area.top += window_height(record.toolbar);
    }
    if (record.status_bar != nullptr) {
        status_parts_set(record, frame);
        area.bottom -= window_height(record.status_bar);
    }
    if (HWND top = slot.toolbars[0]) {
        MoveWindow(top, area.left, area.top, area.right - area.left, slot.toolbar_thickness[0], TRUE);
        area.top += slot.toolbar_thickness[0];
    }
    if (slot.toolbars[3] != nullptr) area.bottom -= slot.toolbar_thickness[3];
    if (HWND left = slot.toolbars[1]) {
        MoveWindow(left, area.left, area.top, slot.toolbar_thickness[1], area.bottom - area.top, TRUE);
        area.left += slot.toolbar_thickness[1];
    }
    if (HWND right = slot.toolbars[2]) {
        MoveWindow(right, area.right - slot.toolbar_thickness[2], area.top, slot.toolbar_thickness[2],
                   area.bottom - area.top, TRUE);
        area.right -= slot.toolbar_thickness[2];
    }
    return area;
}

// Step 12, after the control is made: the client window at the text's
// place, the font, the text limit, the find block and the notifications.
void text_control_attach(EditorWindowRecord& record, HWND control, HWND frame, const WindowSlot& slot,
                         const RECT& area, bool inside)
{
    record.subject = control;
    if (slot.client != nullptr) {
        MoveWindow(slot.client, area.left, area.top, std::max(0L, area.right - area.left),
                   std::max(0L, area.bottom - area.top), FALSE);
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(record.font), FALSE);
    SendMessageA(control, EM_EXLIMITTEXT, 0, record.text_limit);
    record.find_text.fill('\0');
    record.replace_text.fill('\0');
    FINDREPLACEA& block = record.find_block;
    block = FINDREPLACEA{};
    block.lStructSize = sizeof(FINDREPLACEA);
    block.hwndOwner = frame;
    block.hInstance = module_instance();
    block.Flags = FR_DOWN;
    if (inside) block.Flags |= FR_ENABLEHOOK;
    if (edit_richedit_version() == 1) block.Flags |= FR_NOUPDOWN | FR_HIDEUPDOWN;
    block.lpstrFindWhat = record.find_text.data();
    block.wFindWhatLen = static_cast<WORD>(record.find_text.size());
    block.lpstrReplaceWith = record.replace_text.data();
    block.wReplaceWithLen = static_cast<WORD>(record.replace_text.size());
    block.lpfnHook = edit_find_dialog_hook;
    DWORD mask = ENM_CHANGE | ENM_SCROLLEVENTS | ENM_MOUSEEVENTS | ENM_SELCHANGE | ENM_PROTECTED;
    if (record.status_bar != nullptr) mask |= ENM_KEYEVENTS;
    SendMessageA(control, EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask));
}

// Step 13: the frame procedure, the caption and the first file.
void first_file_show(EditorWindowRecord& record, const Request& request, HWND frame)
{
    record.previous_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&edit_frame_proc)));
    std::array<char, editor_caption_limit> caption{};
    GetWindowTextA(frame, caption.data(), static_cast<int>(caption.size()));
    record.saved_caption = caption.data();
    std::string path;
    if (!request.file.empty()) {
        edit_full_path(request.file, path);
    }
    edit_file_name_set(record, path);
    if (!request.file.empty()) {
        edit_file_read(frame, 1);
    }
    edit_title_update(frame);
}

// Steps 14 and 15: focus and state; the editor shown and active, the other
// windows blocked by a modal editor, and a pane's neighbours not repainted
// for the editor's sake.
void editor_show(EditorWindowRecord& record, const Request& request, HWND frame, const Placement& where)
{
    HWND control = record.subject;
    record.focus = record.command_line != nullptr ? record.command_line : control;
    SetFocus(record.focus);
    SendMessageA(control, EM_SETMODIFY, FALSE, 0);
    record.program_value = 0;
    record.mode = request.mode;
    if (request.mode == 3) ++dialog_table().semi_modeless_count;

    if (!IsWindowEnabled(frame)) {
        EnableWindow(frame, TRUE);
        SetFocus(record.focus);
    }
    ShowWindow(frame, SW_SHOW);
    win_activate(frame);
    if (request.mode == 1 || request.mode == 3) {
        dialog_disable_other_windows(frame, 1);
    }
    if (where.pane) {
        for (int n = 0; n <= max_window; ++n) {
            HWND client = slot_of(n).client;
            if (client != nullptr && !where.pending_update[static_cast<std::size_t>(n)]
                && (client == where.outermost || IsChild(where.outermost, client))) {
                ValidateRect(client, nullptr);
            }
        }
    }
}

// Step 16: a modal editor runs its own loop until it closes, then gives
// back its record and the other windows.
void modal_loop_run(EditorWindowRecord* record, HWND frame)
{
    record->modal_end = false;
    MSG message{};
    while (!record->modal_end) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (IsWindow(frame) && record->builtin_accelerators != nullptr
            && TranslateAcceleratorA(frame, record->builtin_accelerators, &message)) {
            continue;
        }
        if (record->find_dialog != nullptr && IsDialogMessageA(record->find_dialog, &message)) {
            continue;
        }
        if (message.message == 0x118 && LOWORD(message.wParam) == 0xFFF6) {
            continue;  // the caret blink is not handed on
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (IsWindow(frame)) {
        // The loop ended without the window closing (a quit): close it now.
        record->modal_end = true;
        DestroyWindow(frame);
    }
    delete record;
    dialog_enable_other_windows(dialog_owner_window(), 1);
    owner_reactivate();
}

void editor_make(int& error, Request& request, int window, HWND frame)
{
    WindowSlot& slot = slot_of(window);
    // 1. Nothing may live in the client window.
    if (slot.client != nullptr && GetWindow(slot.client, GW_CHILD) != nullptr) {
        error = err::inside_parent_windows;
        return;
    }
    const Placement where = placement_of(error, request, frame);
    EditorWindowRecord* record = record_make(request, frame, slot);
    if (record == nullptr) {
        error = err::editor_init;
        return;
    }
    // 4. Accelerators; the client window stays hidden at the text's size.
    record->builtin_accelerators =
        accelerators_make(accelerator_entries(editor_builtin_accelerators(record->flags)));
    if (slot.client != nullptr) ShowWindow(slot.client, SW_HIDE);
    if (!where.outer_child && record->flags.menu_bar) {
        menus_make(error, *record, request, window, frame, where.inside);
    }
    window_toolbars_take(*record, request.mode, window, frame);
    caller_resources_load(*record, request, slot);
    RECT area = bars_arrange(*record, frame, slot);

    // 9., 10. Font and command line.
    if (const int font_error = edit_font_make(*record, request.font, request.size); font_error != 0) {
        error = font_error;
    }
    if (record->flags.command_line) {
        if (request.mode == 1) {
            error = err::command_line_inside_parent;
        } else {
            command_line_build(*record, frame, area);
        }
    }

    // 11., 12. Bars in order, then the text control.
    win_bars_zorder(window);
    record->insert_mode = 1;
    HWND control = text_control_build(*record, frame, area);
    if (control == nullptr) {
        error = err::editor_init;
        slot.menu = nullptr;
        if (record->menu_bar != nullptr) {
            if (GetMenu(frame) == record->menu_bar) SetMenu(frame, nullptr);
            DestroyMenu(record->menu_bar);
        }
        editor_abandon(record, frame, slot);
        return;
    }
    text_control_attach(*record, control, frame, slot, area, where.inside);
    first_file_show(*record, request, frame);
    editor_show(*record, request, frame, where);
    if (request.mode == 1) {
        modal_loop_run(record, frame);
    }
}

} // namespace

EditorWindowRecord* edit_record(HWND frame)
{
    WindowContentRecord* record = win_content_record(frame);
    return record != nullptr && record->kind == ContentKind::editor
               ? static_cast<EditorWindowRecord*>(record)
               : nullptr;
}

EditorModalResult& editor_modal_result()
{
    return toolkit_context().record<EditorModalResult>(ContextSlot::editor_modal_result);
}

int edit_window_number(const EditorWindowRecord& record)
{
    return win_number_from_handle(record.frame);
}

int edit_richedit_version()
{
    const int version = window_tables().richedit_version;
    return version > 0 ? version : 2;
}

bool edit_full_path(std::string_view name, std::string& path)
{
    std::array<char, editor_path_limit> full{};
    const std::string terminated(name);
    const DWORD length = GetFullPathNameA(terminated.c_str(), static_cast<DWORD>(full.size()),
                                          full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        path.clear();
        return false;
    }
    path.assign(full.data(), length);
    return true;
}

int edit_font_make(EditorWindowRecord& record, int code, int size)
{
    const EditorFontSpec spec =
        editor_font_spec(code, size, edit_richedit_version(), display_info().windows_major);
    HFONT font = nullptr;
    bool stock = false;
    switch (spec.kind) {
    case EditorFontKind::system:
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        stock = true;
        break;
    case EditorFontKind::system_fixed:
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
        stock = true;
        break;
    case EditorFontKind::menu: {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            font = CreateFontIndirectA(&metrics.lfMenuFont);
        }
        break;
    }
    case EditorFontKind::named: {
        HDC screen = GetDC(nullptr);
        const int pixels = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        LOGFONTA logical{};
        logical.lfHeight = spec.points > 0 ? editor_font_height(spec.points, pixels) : 0;
        logical.lfWeight = FW_NORMAL;
        logical.lfCharSet = spec.oem_charset ? OEM_CHARSET : DEFAULT_CHARSET;
        logical.lfOutPrecision = OUT_TT_PRECIS;
        const BYTE families[4] = {FF_DONTCARE, FF_ROMAN, FF_SWISS, FF_MODERN};
        logical.lfPitchAndFamily = static_cast<BYTE>((spec.fixed_pitch ? FIXED_PITCH : VARIABLE_PITCH)
                                                     | families[std::clamp(spec.family, 0, 3)]);
        const std::size_t face = std::min(spec.face.size(), sizeof logical.lfFaceName - 1);
        std::memcpy(logical.lfFaceName, spec.face.data(), face);
        font = CreateFontIndirectA(&logical);
        break;
    }
    }
    int error = 0;
    if (font == nullptr) {
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
        stock = true;
        error = err::editor_font;
    }
    record.font = font;
    record.stock_font = stock;
    record.font_code = code;
    record.font_size = size;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    record.line_height = metrics.tmHeight;
    record.line_height_inner = metrics.tmHeight - metrics.tmInternalLeading;
    return error;
}

void edit_title_update(HWND frame)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        return;
    }
    const bool marked = record->flags.modified_mark && edit_control(*record) != nullptr
                        && SendMessageA(edit_control(*record), EM_GETMODIFY, 0, 0) != 0;
    if (has_caption(frame)) {
        const std::string title =
            editor_title(record->saved_caption, edit_file_name(*record), record->flags.hide_name, marked);
        SetWindowTextA(frame, title.c_str());
    } else if (record->status_bar != nullptr) {
        edit_status_text(*record, 4,
                         editor_status_name(edit_file_name(*record), record->flags.hide_name, marked));
    }
}

int edit_message_route(MSG& message)
{
    // The message's window and at most three parents up; only a toolkit
    // frame's user data is a record.
    const ATOM frame_class = window_tables().frame_class;
    HWND frame = nullptr;
    HWND at = message.hwnd;
    for (int level = 0; at != nullptr && level <= 3; ++level, at = GetParent(at)) {
        if (frame_class != 0 && GetClassLongA(at, GCW_ATOM) == frame_class && edit_record(at) != nullptr) {
            frame = at;
            break;
        }
    }
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        return 0;
    }
    if (record->find_dialog != nullptr && IsDialogMessageA(record->find_dialog, &message)) {
        return 1;
    }
    for (HACCEL table : {record->builtin_accelerators, record->caller_accelerators}) {
        if (table != nullptr && TranslateAcceleratorA(frame, table, &message)) {
            return 1;
        }
    }
    return 2;
}

void edit_file_name_set(EditorWindowRecord& record, std::string_view name)
{
    record.file_name.fill('\0');
    name = name.substr(0, std::min(name.find('\0'), record.file_name.size() - 1));
    std::copy(name.begin(), name.end(), record.file_name.begin());
}

namespace {

// The worker behind WEditFile, on the window layer's current window: adds
// the file to the editor the window holds, or makes the window an editor.
// The mode may come back changed to 2.
void edit_create(int& error, Request& request)
{
    const int window = window_tables().current;
    HWND frame = window > 0 && window <= max_window ? window_tables().windows[static_cast<std::size_t>(window)].frame
                                                    : nullptr;
    if (frame == nullptr) {
        error = err::not_child_window;
    } else if (EditorWindowRecord* existing = edit_record(frame)) {
        editor_add_file(error, *existing, frame, request.file, request.filter_index);
    } else if (win_content_record(frame) != nullptr) {
        error = err::window_converted;
    } else {
        editor_make(error, request, window, frame);
    }
}

} // namespace

} // namespace korv

void WEditFile(std::string_view file, int mode, int menu, int options, int font, int size,
               std::string_view filter, int filter_index, int host)
{
    using namespace korv;
    int error = 0;
    if (!editor_font_code_valid(font)) {
        error = err::editor_font_number;
        font = font_code_default;
    }
    Request request;
    request.mode = mode;
    request.menu = menu;
    request.options = options;
    request.font = font;
    request.size = std::max(size, 0);
    request.filter_index = filter_index;
    request.host = host;
    request.file = trimmed(file.substr(0, file.find('\0')));
    request.filter = trimmed(filter.substr(0, filter.find('\0')));

    // A name that must exist and does not, or that no path of this system
    // can hold, leaves the window as it was.
    if (!request.file.empty()) {
        std::string path;
        DWORD code = 0;
        if (!edit_full_path(request.file, path)) {
            code = ERROR_FILENAME_EXCED_RANGE;
        } else if ((options & EditorOptionFlags::must_exist) != 0
                   && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            code = GetLastError();
        }
        if (code != 0) {
            error_state().file_code = static_cast<std::int32_t>(code);
            error_state().detail_category = 2;
            err_report(err::file_open, "WEditFile");
            return;
        }
    }

    const int window = window_tables().current;
    HWND frame = window > 0 && window <= max_window ? window_tables().windows[static_cast<std::size_t>(window)].frame
                                                    : nullptr;
    EditorWindowRecord* existing = edit_record(frame);
    if ((options & EditorOptionFlags::several_buffers) != 0 && existing == nullptr && window > 0) {
        editor_rows_release(window);
    }
    int status = 0;
    if (request.mode == 1) {
        dialog_window_snapshots(1, window, status);
    }

    edit_create(error, request);

    auto select = [](int number) {
        // Only an open window can be made current again.
        if (number >= 0 && number <= max_window
            && window_tables().windows[static_cast<std::size_t>(number)].frame != nullptr) {
            gr_window_select_current(number);
        }
    };
    if (request.mode == 1) {
        dialog_window_snapshots(0, window, status);
        select(0);
    } else {
        select(window_tables().current);
    }
    if (error != 0) {
        err_report(error, "WEditFile");
    }
}
