// Turning a toolkit child window into a grid editor: its record, menus,
// accelerators, toolbar, status bar and its own copy of the field's grid.
#include "grid/grid_editor_win.h"

#include "korvanthide/dialogs_win.h"
#include "grid/grid_classes.h"
#include "grid/grid_control_win.h"
#include "grid/grid_routines.h"
#include "korvanthide/menus.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace korv {

namespace {

namespace cmd = grid_editor_command;

constexpr int option_no_toolbar = 32;
constexpr int option_no_new_open = 256;
constexpr int option_no_save_as = 512;
constexpr int option_no_print = 1024;
constexpr int option_headings_move = 2048;
constexpr int option_no_find = 4096;
constexpr int option_no_save = 8192;
constexpr int option_backups = 131072;
constexpr int option_no_html = 262144;
constexpr int option_protection_ignored = 524288;
constexpr int option_rows_grow = 1048576;
constexpr int option_no_rows = 2097152;
constexpr int option_no_menus = 8388608;
constexpr int option_heading_line = 33554432;

constexpr int grid_identifier = 1002;
constexpr int toolbar_identifier = 1001;

// With a built-in accelerator table the labels carry their shortcuts.
std::string label(const char* text, const char* shortcut, bool with_shortcut)
{
    // Character 8 before the shortcut puts it at the menu's right edge.
    std::string s = text;
    if (with_shortcut && shortcut) {
        s += '\b';
        s += shortcut;
    }
    return s;
}

void add(HMENU menu, UINT id, const std::string& text) { AppendMenuA(menu, MF_STRING, id, text.c_str()); }

void build_menus(GridEditorRecord& e, bool shortcuts)
{
    e.file_menu = CreatePopupMenu();
    if (e.may_new)
        add(e.file_menu, cmd::new_file, label("&New", "Ctrl+N", shortcuts));
    if (e.may_open)
        add(e.file_menu, cmd::open, label("&Open", "Ctrl+O", shortcuts));
    if (e.may_save)
        add(e.file_menu, cmd::save, label("&Save", "Ctrl+S", shortcuts));
    if (e.may_save_as) {
        add(e.file_menu, cmd::save_as, label("Save &As", "F12", shortcuts));
        add(e.file_menu, cmd::save_selection, "Save S&election");
    }
    if (e.may_save_html)
        add(e.file_menu, cmd::save_as_html, "Save As &HTML");
    if (e.may_new || e.may_open || e.may_save || e.may_save_as || e.may_save_html)
        AppendMenuA(e.file_menu, MF_SEPARATOR, 0, nullptr);
    if (e.may_print) {
        add(e.file_menu, cmd::print, label("&Print", "Ctrl+P", shortcuts));
        add(e.file_menu, cmd::print_selection, "Prin&t Selection");
        AppendMenuA(e.file_menu, MF_SEPARATOR, 0, nullptr);
    }
    add(e.file_menu, cmd::exit, "E&xit");

    e.edit_menu = CreatePopupMenu();
    if (!e.read_only)
        add(e.edit_menu, cmd::cut, "Cu&t\bCtrl+X");
    add(e.edit_menu, cmd::copy, "&Copy\bCtrl+C");
    if (!e.read_only) {
        add(e.edit_menu, cmd::paste, "&Paste\bCtrl+V");
        add(e.edit_menu, cmd::clear, "&Delete\bDel");
    }
    AppendMenuA(e.edit_menu, MF_SEPARATOR, 0, nullptr);
    add(e.edit_menu, cmd::select_all, "Select &All\bCtrl+A");
    if (!e.read_only) {
        AppendMenuA(e.edit_menu, MF_SEPARATOR, 0, nullptr);
        add(e.edit_menu, cmd::sort, "&Sort");
    }
    if (e.may_change_rows) {
        add(e.edit_menu, cmd::insert_row_before, "&Insert Row Before Current\bCtrl+I");
        add(e.edit_menu, cmd::insert_row_after, "&Insert Row After Current\bCtrl+Shift+I");
        add(e.edit_menu, cmd::delete_row, "D&elete Row\bCtrl+E");
    }

    e.search_menu = CreatePopupMenu();
    if (e.may_find) {
        add(e.search_menu, cmd::find, label("&Find", "Ctrl+F", shortcuts));
        add(e.search_menu, cmd::find_next, label("Find &Next", "F3", shortcuts));
        AppendMenuA(e.search_menu, MF_SEPARATOR, 0, nullptr);
    }
    add(e.search_menu, cmd::goto_cell, "&Goto Cell");
    add(e.search_menu, cmd::goto_row, "Goto Ro&w");
    add(e.search_menu, cmd::goto_column, "Goto &Column");
}

void insert_popups(GridEditorRecord& e)
{
    const std::pair<HMENU, const char*> popups[] = {
        {e.file_menu, "&File"}, {e.edit_menu, "&Edit"}, {e.search_menu, "&Search"}};
    const UINT ids[] = {cmd::file_menu, cmd::edit_menu, cmd::search_menu};
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_SUBMENU | MIIM_TYPE | MIIM_ID;
        item.fType = MFT_STRING;
        item.wID = ids[i];
        item.hSubMenu = popups[i].first;
        item.dwTypeData = const_cast<char*>(popups[i].second);
        InsertMenuItemA(e.menu_bar, static_cast<UINT>(i), TRUE, &item);
    }
}

HACCEL build_accelerators(const GridEditorRecord& e)
{
    std::vector<ACCEL> keys;
    const auto key = [&keys](BYTE modifiers, WORD vk, WORD id) {
        keys.push_back({static_cast<BYTE>(FVIRTKEY | FNOINVERT | modifiers), vk, id});
    };
    if (e.may_new) key(FCONTROL, 'N', cmd::new_file);
    if (e.may_open) key(FCONTROL, 'O', cmd::open);
    if (e.may_save) key(FCONTROL, 'S', cmd::save);
    if (e.may_save_as) key(0, VK_F12, cmd::save_as);
    if (e.may_print) key(FCONTROL, 'P', cmd::print);
    if (e.may_find) {
        key(FCONTROL, 'F', cmd::find);
        key(0, VK_F3, cmd::find_next);
    }
    if (e.may_change_rows) {
        key(FCONTROL, 'I', cmd::insert_row_before);
        key(FCONTROL | FSHIFT, 'I', cmd::insert_row_after);
        key(FCONTROL, 'E', cmd::delete_row);
    }
    return keys.empty() ? nullptr : CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

void build_toolbar(GridEditorRecord& e, HWND frame)
{
    e.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0,
                                frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(toolbar_identifier)), nullptr,
                                nullptr);
    if (!e.toolbar)
        return;
    SendMessageA(e.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(e.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    SendMessageA(e.toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(22, 21));
    // No toolbar pictures of the toolkit's own: the common controls' standard ones.
    TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(e.toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
    std::vector<TBBUTTON> buttons;
    const auto button = [&buttons](int image, int id) {
        TBBUTTON b{};
        b.iBitmap = image;
        b.idCommand = id;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = id == 0 ? BTNS_SEP : BTNS_BUTTON;
        buttons.push_back(b);
    };
    if (e.may_new) button(STD_FILENEW, cmd::new_file);
    if (e.may_open) button(STD_FILEOPEN, cmd::open);
    if (e.may_save) button(STD_FILESAVE, cmd::save);
    if (e.may_print) button(STD_PRINT, cmd::print);
    if (e.may_find) {
        button(STD_FIND, cmd::find);
        button(0, 0);
    }
    if (!e.read_only) button(STD_CUT, cmd::cut);
    button(STD_COPY, cmd::copy);
    if (!e.read_only) button(STD_PASTE, cmd::paste);
    SendMessageA(e.toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(e.toolbar, TB_AUTOSIZE, 0, 0);
    e.tooltips = reinterpret_cast<HWND>(SendMessageA(e.toolbar, TB_GETTOOLTIPS, 0, 0));
}

bool is_child(HWND window) { return window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0; }

// The frame whose client window holds `frame`.
HWND grandparent_of(HWND frame)
{
    HWND client = frame ? GetParent(frame) : nullptr;
    return client ? GetParent(client) : nullptr;
}

// A pane's editor lends its menu bar to the split windows between it and
// the host that have none of their own, and becomes their active pane.
void hand_menu_to_host(HWND frame, int host, HMENU bar)
{
    const WindowSlot* host_slot = host >= 0 ? win_slot(host) : nullptr;
    HWND host_frame = host_slot ? host_slot->frame : nullptr;
    if (!host_frame || !win_split_record(host_frame) || !IsChild(host_frame, frame))
        return;
    HWND below = frame;
    for (HWND at = grandparent_of(frame); at; at = grandparent_of(at)) {
        SplitWindowRecord* split = win_split_record(at);
        if (!split)
            break;
        if (WindowSlot* s = win_slot(split->window); s && !s->menu) {
            s->menu = bar;
            split->focused_pane = below;
        }
        if (at == host_frame)
            break;
        below = at;
    }
}

void set_status(HWND bar, int part, const char* text, int style = 0)
{
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part | style), reinterpret_cast<LPARAM>(text));
}

void build_status(GridEditorRecord& e, HWND frame)
{
    if (!e.status_bar)
        return;
    const bool captioned = (GetWindowLongA(frame, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    int edges[] = {30, 90, 140, 200, -1};
    SendMessageA(e.status_bar, SB_SETPARTS, captioned ? 4 : 5, reinterpret_cast<LPARAM>(edges));
    set_status(e.status_bar, 0, "Row", SBT_NOBORDERS);
    set_status(e.status_bar, 1, "\t\t1");
    set_status(e.status_bar, 2, "\tColumn", SBT_NOBORDERS);
    set_status(e.status_bar, 3, "\t\t1");
}

} // namespace

GridEditorRecord* grid_editor_of(HWND frame)
{
    WindowContentRecord* r = frame ? win_content_record(frame) : nullptr;
    return r && r->kind == ContentKind::grid_editor ? static_cast<GridEditorRecord*>(r) : nullptr;
}

void grid_editor_caption(GridEditorRecord& e, HWND frame)
{
    if ((GetWindowLongA(frame, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) {
        if (e.status_bar)
            set_status(e.status_bar, 4, e.texts.file_name.c_str());
        return;
    }
    std::string caption = e.saved_caption;
    if (!e.texts.file_name.empty())
        caption += " - [" + e.texts.file_name + "]";
    SetWindowTextA(frame, caption.c_str());
}

namespace {

// The command flags of the options and the grid's read-only style.
void set_command_flags(GridEditorRecord& e_, int options, bool read_only)
{
    GridEditorRecord* e = &e_;
    e->read_only = read_only;
    e->may_new = !(options & option_no_new_open) && !read_only;
    e->may_open = !(options & option_no_new_open);
    e->may_save = !(options & option_no_save) && !read_only;
    e->may_save_as = !(options & (option_no_save_as | option_no_save));
    e->may_save_html = !(options & (option_no_html | option_no_save));
    e->may_print = !(options & option_no_print);
    e->may_find = !(options & option_no_find);
    e->may_change_rows = !(options & option_no_rows) && !read_only;
    e->protection_ignored = (options & option_protection_ignored) != 0;
    e->backups = (options & option_backups) != 0;
    e->headings_move = (options & option_headings_move) != 0;
    e->rows_grow = (options & option_rows_grow) != 0;
    e->heading_line = (options & option_heading_line) != 0;
}

// The File, Edit and Search popups on the editor's menu bar: the caller's
// menu resource after them (not in mode 1), the window's old menu replaced,
// and, for a pane (host not -2), the bar handed to the split windows above.
void install_menus(GridEditorRecord& e_, WindowSlot& slot_, HWND frame, int menu, bool inside_parent, int host,
                   int& result)
{
    GridEditorRecord* e = &e_;
    WindowSlot* slot = &slot_;
    const int n = e->window;
    const bool pane = host != -2;
    build_menus(*e, e->accelerators != nullptr);
    if (menu != 0 && e->mode == 1) {
        result = grid_editor_menu_in_modal;
        e->menu_bar = CreateMenu();
    } else if (menu != 0) {
        e->menu_bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu));
        if (e->menu_bar) {
            win_menu_command_ids(e->menu_bar, menu);
        } else {
            result = grid_editor_menu_missing;
            e->menu_bar = CreateMenu();
        }
    } else {
        e->menu_bar = CreateMenu();
    }
    insert_popups(*e);
    if (slot->menu && slot->menu != e->menu_bar) {
        // The old menu may show on the top-level window above a pane.
        HWND top = GetAncestor(frame, GA_ROOT);
        if (GetMenu(top) == slot->menu)
            SetMenu(top, inside_parent ? e->menu_bar : nullptr);
        win_menu_strings_free(slot->menu, n);
        DestroyMenu(slot->menu);
    }
    if (!inside_parent)
        SetMenu(frame, e->menu_bar);
    slot->menu = e->menu_bar;
    slot->accelerators = nullptr;
    slot->menu_help = nullptr;
    if (pane)
        hand_menu_to_host(frame, host, e->menu_bar);
}

// The editor's own grid, a copy of the field's, filling the frame's client
// area.
void make_editor_grid(GridEditorRecord& e_, HWND frame, HWND source)
{
    GridEditorRecord* e = &e_;
    const DWORD style = (static_cast<DWORD>(GetWindowLongA(source, GWL_STYLE)) | 0x100 | grid_style_wants_all_keys |
                         grid_style_tab_moves | WS_CHILD | WS_VISIBLE) & ~WS_DISABLED;
    RECT area;
    GetClientRect(frame, &area);
    e->grid = CreateWindowExA(WS_EX_CLIENTEDGE, "ZOQGRID", "", style, 0, 0, area.right, area.bottom, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(grid_identifier)), nullptr, nullptr);
    e->subject = e->grid;
    if (e->grid) {
        SendMessageA(e->grid, WM_SETFONT, SendMessageA(source, WM_GETFONT, 0, 0), FALSE);
        grid_clone_from(e->grid, source);
    }
}

// Mode 1 takes the window's toolbars away, the other modes keep them in
// the record; then the editor's toolbar and the status bar's parts.
void install_bars(GridEditorRecord& e, WindowSlot& slot, HWND frame, int options)
{
    if (e.mode == 1) {
        for (HWND& bar : slot.toolbars)
            if (bar) {
                DestroyWindow(bar);
                bar = nullptr;
            }
    } else {
        e.toolbars = slot.toolbars;
    }
    if (!(options & option_no_toolbar))
        build_toolbar(e, frame);
    e.status_bar = slot.status_bar;
    build_status(e, frame);
}

// Which client windows have something to repaint.
std::array<bool, window_slots> pending_updates()
{
    std::array<bool, window_slots> pending{};
    for (int w = 0; w < window_slots; ++w) {
        HWND client = window_tables().windows[static_cast<std::size_t>(w)].client;
        pending[static_cast<std::size_t>(w)] = client && GetUpdateRect(client, nullptr, FALSE);
    }
    return pending;
}

// Creating the grid repaints the panes around it; those that had nothing
// to repaint before are left so.
void validate_quiet_panes(HWND outermost, const std::array<bool, window_slots>& pending)
{
    for (int w = 0; w < window_slots; ++w) {
        HWND client = window_tables().windows[static_cast<std::size_t>(w)].client;
        if (client && !pending[static_cast<std::size_t>(w)] && (client == outermost || IsChild(outermost, client)))
            ValidateRect(client, nullptr);
    }
}

} // namespace

int grid_editor_create(int field, int mode, int menu, int options, int filter_index, std::string_view file,
                       std::string_view filter, int host)
{
    WindowTables& tables = window_tables();
    const int n = tables.current;
    WindowSlot* slot = win_slot(n);
    if (n == 0 || !slot || !slot->frame)
        return grid_editor_no_window;
    HWND frame = slot->frame;
    if (win_content_record(frame))
        return grid_editor_has_record;
    if (slot->client && GetWindow(slot->client, GW_CHILD))
        return grid_editor_client_busy;
    HWND dialog = dialog_current_window();
    HWND source = dialog ? GetDlgItem(dialog, field) : nullptr;
    GridRecord* source_grid = source && static_cast<ATOM>(GetClassLongA(source, GCW_ATOM)) == grid_class_atoms().grid
                                   ? grid_control_of(source)
                                   : nullptr;
    if (!source_grid)
        return grid_editor_no_grid;
    int result = grid_editor_ok;
    // A window inside its parent cannot block the others. Its menus show on
    // the top-level window above when it is a pane of split windows there;
    // an outer child keeps none.
    const bool inside_parent = is_child(frame);
    bool outer_child = false;
    bool pane = false;
    HWND outermost = frame;
    std::array<bool, window_slots> pending_update{};
    if (inside_parent) {
        if (win_split_record(grandparent_of(frame))) {
            pane = true;
            HWND at = grandparent_of(frame);
            while (at && is_child(at) && win_split_record(grandparent_of(at)))
                at = grandparent_of(at);
            outermost = at ? at : frame;
            outer_child = at && is_child(at);
        } else {
            outer_child = true;
        }
        if (mode == 2 && menu != 0 && outer_child)
            result = grid_editor_inside_parent_menu;
        if (mode == 1 || mode == 3) {
            if (mode == 1) {
                int status = 0;
                dialog_window_snapshots(0, -1, status);
            }
            result = grid_editor_inside_parent_mode;
            mode = 2;
        }
        if (pane)
            pending_update = pending_updates();
    }

    auto* e = new (std::nothrow) GridEditorRecord;
    if (!e)
        return grid_editor_not_allocated;
    e->kind = ContentKind::grid_editor;
    e->window = n;
    e->mode = (mode >= 1 && mode <= 3) ? mode : 2;
    set_command_flags(*e, options, (GetWindowLongA(source, GWL_STYLE) & grid_style_read_only) != 0);
    e->filter = std::string(filter.substr(0, 1000));
    e->filter_index = filter_index == -1 ? 1 : filter_index;
    e->accelerators = build_accelerators(*e);
    win_content_record_set(frame, e);
    if (slot->client)
        ShowWindow(slot->client, SW_HIDE);

    if (!(options & option_no_menus) && !outer_child)
        install_menus(*e, *slot, frame, menu, inside_parent, pane ? host : -2, result);
    if (menu != 0 && e->mode != 1) {
        e->caller_accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu));
        if (HRSRC help = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu), "ZOQMENUSTRING"))
            slot->menu_help = LoadResource(GetModuleHandleA(nullptr), help);
    }
    install_bars(*e, *slot, frame, options);

    make_editor_grid(*e, frame, source);
    char caption[1024] = {};
    GetWindowTextA(frame, caption, sizeof caption);
    e->saved_caption = caption;
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(grid_editor_frame_proc));
    RECT client;
    GetClientRect(frame, &client);
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    grid_editor_fit_window(*e, frame);

    if (!file.empty()) {
        e->texts.file_name = std::string(file.substr(0, 259));
        if (grid_editor_load_csv(*e, false))
            grid_editor_caption(*e, frame);
        else
            e->texts.file_name.clear();
    }
    if (e->mode == 3)
        ++dialog_table().semi_modeless_count;
    EnableWindow(frame, TRUE);
    ShowWindow(frame, SW_SHOW);
    win_activate(frame);
    if (e->grid)
        SetFocus(e->grid);
    if (e->mode != 2)
        dialog_disable_other_windows(frame, 1);
    if (pane)
        validate_quiet_panes(outermost, pending_update);
    return result;
}

void grid_editor_modal_loop()
{
    WindowSlot* slot = win_slot(window_tables().current);
    HWND frame = slot ? slot->frame : nullptr;
    GridEditorRecord* e = grid_editor_of(frame);
    if (!e)
        return;
    if (GridRecord* g = grid_control_of(e->grid))
        g->model().modified_1 = g->model().modified_2 = 0;
    if (e->mode != 1)
        return;
    e->modal_end = false;
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // A quit request belongs to the program's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1)
            break;
        if (e->accelerators && TranslateAcceleratorA(frame, e->accelerators, &message)) {
            // taken as a command
        } else if (!(message.message == 0x118 && LOWORD(message.wParam) == 0xFFF6)) {
            // The system's caret blink is kept from every window, as the
            // toolkit's own message pump does.
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (grid_editor_of(frame) != e || e->modal_end)
            break;
    }
    if (IsWindow(frame) && grid_editor_of(frame) == e)
        DestroyWindow(frame);
    // The blocking dialog's owner, else the root window, takes over again.
    HWND owner = dialog_owner_window();
    if (!owner || !IsWindow(owner))
        owner = window_tables().windows[0].frame;
    dialog_enable_other_windows(owner, 1);
    if (owner) {
        win_activate(owner);
        SetFocus(owner);
    }
}

} // namespace korv
