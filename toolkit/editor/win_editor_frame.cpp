// The editor's frame procedure: the built-in commands, the text control's
// notifications, menus and their help, layout, focus, closing and the end
// of the window.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"
#include "korvanthide/menus.h"
#include "editor/editor_operations_win.h"
#include "editor/win_editor.h"

namespace korv {

namespace {

namespace cmd = editor_command;

WindowSlot* slot_of(int window)
{
    return window >= 0 && window <= max_window ? &window_tables().windows[static_cast<std::size_t>(window)]
                                               : nullptr;
}

bool is_inside_parent(HWND frame)
{
    return (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0;
}

int window_height(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

CHARRANGE selection_of(HWND control)
{
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

bool selection_empty(HWND control)
{
    const CHARRANGE range = selection_of(control);
    return range.cpMin == range.cpMax;
}

// Protected when any part of the selection is: the format reports the
// protection as on, or as mixed.
bool selection_protected(HWND control)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwMask & CFM_PROTECTED) == 0 || (format.dwEffects & CFE_PROTECTED) != 0;
}

void item_grey(HMENU menu, int command, bool grey)
{
    EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
}

void button_enable(HWND bar, int command, bool on)
{
    if (bar != nullptr) {
        SendMessageA(bar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(on ? TRUE : FALSE, 0));
    }
}

bool key_down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// ---- commands ----

void text_reset(EditorWindowRecord& record)
{
    record.protection = 0;
    edit_text_clear(record);
    record.protection = 1;
    SendMessageA(edit_control(record), EM_SETMODIFY, FALSE, 0);
    edit_format_state_update(record);
    record.program_value = 0;
}

void command_new(HWND frame, EditorWindowRecord& record)
{
    const int window = edit_window_number(record);
    if (record.flags.several_buffers) {
        if (record.buffers >= editor_buffer_limit) {
            return;
        }
        const int old = record.current_buffer;
        edit_view_item_check(record, old, false);
        edit_buffer_store(window, old);
        edit_buffer_name_put(window, old, edit_file_name(record));
        text_reset(record);
        edit_post_command(frame, cmd::new_file);
        const int n = ++record.buffers;
        const auto b = static_cast<std::size_t>(n);
        record.filter_index[b] = record.filter_index[static_cast<std::size_t>(old)];
        record.bookmark[b] = -1;
        record.bookmark_length[b] = -1;
        record.open_files[b] = nullptr;
        record.current_buffer = n;
        edit_file_name_set(record, "");
        edit_title_update(frame);
        edit_view_item_append(record, n, "");
        return;
    }
    if (edit_save_prompt(frame, record) == 0) {
        return;
    }
    edit_file_close(frame);
    edit_file_name_set(record, "");
    text_reset(record);
    record.bookmark[static_cast<std::size_t>(record.current_buffer)] = -1;
    edit_title_update(frame);
    edit_post_command(frame, cmd::new_file);
}

void command_open(HWND frame, EditorWindowRecord& record)
{
    if (record.flags.several_buffers ? record.buffers >= editor_buffer_limit
                                     : edit_save_prompt(frame, record) == 0) {
        return;
    }
    const int window = edit_window_number(record);
    const std::string filter = editor_dialog_filter(record.filter, record.flags.formatted);
    std::array<char, editor_path_limit> chosen = record.file_name;
    OPENFILENAMEA block{};
    block.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    block.hwndOwner = frame;
    block.lpstrFilter = filter.c_str();
    block.nFilterIndex = static_cast<DWORD>(record.filter_index[static_cast<std::size_t>(record.current_buffer)]);
    block.lpstrFile = chosen.data();
    block.nMaxFile = static_cast<DWORD>(chosen.size());
    block.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    block.lpstrDefExt = "";
    if (record.mode == 2) dialog_disable_other_windows(frame, 1);
    const BOOL ok = GetOpenFileNameA(&block);
    if (record.mode == 2) dialog_enable_other_windows(frame, 1);
    if (is_inside_parent(frame)) {
        SetFocus(frame);
        win_activate(frame);
    }
    if (!ok) {
        return;
    }
    chosen.back() = '\0';
    std::string path;
    if (!edit_full_path(chosen.data(), path)) {
        edit_error_box(frame, "Open Error", ERROR_FILENAME_EXCED_RANGE, chosen.data());
        return;
    }

    HWND control = edit_control(record);
    const bool several = record.flags.several_buffers;
    const bool reuse = several && record.buffers == 1 && edit_control_length(control) == 0
                       && SendMessageA(control, EM_GETMODIFY, 0, 0) == 0
                       && record.open_files[static_cast<std::size_t>(record.current_buffer)] == nullptr
                       && edit_file_name(record).empty();
    if (several) {
        edit_buffer_name_put(window, record.current_buffer, edit_file_name(record));
        for (int n = 1; n <= record.buffers; ++n) {
            std::array<char, editor_path_limit> stored{};
            edit_buffer_name_get(window, n, stored);
            if (lstrcmpiA(stored.data(), path.c_str()) == 0) {
                if (n != record.current_buffer) edit_buffer_switch(frame, n);
                edit_post_command(frame, cmd::view_menu + n);
                return;
            }
        }
    }
    const int previous = record.current_buffer;
    const int previous_count = record.buffers;
    const std::string previous_name(edit_file_name(record));
    const bool adding = several && !reuse;
    if (adding) {
        edit_view_item_check(record, previous, false);
        edit_buffer_store(window, previous);
        const int n = ++record.buffers;
        const auto b = static_cast<std::size_t>(n);
        record.bookmark[b] = -1;
        record.bookmark_length[b] = -1;
        record.open_files[b] = nullptr;
        record.current_buffer = n;
    }
    record.filter_index[static_cast<std::size_t>(record.current_buffer)] = static_cast<int>(block.nFilterIndex);
    edit_file_name_set(record, path);
    if (edit_file_read(frame, 0) != 0) {
        if (adding) {
            edit_buffer_name_put(window, record.current_buffer, path);
            edit_view_item_append(record, record.current_buffer, path);
        } else if (reuse) {
            edit_view_item_set(record, 1, path);
        }
        edit_title_update(frame);
        edit_post_command(frame, cmd::open);
        return;
    }
    // Not read: what was current comes back.
    if (adding) {
        record.current_buffer = previous;
        record.buffers = previous_count;
        edit_buffer_restore(window, previous);
        edit_view_item_check(record, previous, true);
    }
    edit_file_name_set(record, record.read_lost_text && !adding ? std::string_view{} : previous_name);
    edit_title_update(frame);
}

void command_close(HWND frame, EditorWindowRecord& record)
{
    if (!record.flags.several_buffers || edit_save_prompt(frame, record) == 0) {
        return;
    }
    const int window = edit_window_number(record);
    if (record.buffers == 1) {
        record.protection = 0;
        edit_file_close(frame);
        edit_file_name_set(record, "");
        edit_text_clear(record);
        SendMessageA(edit_control(record), EM_SETMODIFY, FALSE, 0);
        record.program_value = 0;
        record.bookmark[1] = -1;
        edit_title_update(frame);
        record.protection = 1;
        edit_view_item_set(record, 1, "");
    } else {
        const int closing = record.current_buffer;
        edit_file_close(frame);
        edit_buffer_free(window, closing);
        for (int k = closing; k < record.buffers; ++k) {
            const auto to = static_cast<std::size_t>(k);
            record.open_files[to] = record.open_files[to + 1];
            record.filter_index[to] = record.filter_index[to + 1];
            record.bookmark[to] = record.bookmark[to + 1];
            record.bookmark_length[to] = record.bookmark_length[to + 1];
        }
        const auto last = static_cast<std::size_t>(record.buffers);
        record.open_files[last] = nullptr;
        record.filter_index[last] = 0;
        record.bookmark[last] = -1;
        record.bookmark_length[last] = -1;
        for (int k = closing; k < record.buffers; ++k) {
            std::array<char, editor_path_limit> stored{};
            edit_buffer_name_get(window, k, stored);
            edit_view_item_set(record, k, stored.data());
        }
        DeleteMenu(record.view_menu, static_cast<UINT>(record.buffers - 1), MF_BYPOSITION);
        --record.buffers;
        if (record.current_buffer > record.buffers) {
            record.current_buffer = record.buffers;
        }
        edit_view_item_check(record, record.current_buffer, true);
        edit_buffer_restore(window, record.current_buffer);
        std::array<char, editor_path_limit> stored{};
        edit_buffer_name_get(window, record.current_buffer, stored);
        edit_file_name_set(record, stored.data());
        edit_title_update(frame);
    }
    edit_post_command(frame, cmd::close);
}

void command(HWND frame, EditorWindowRecord& record, int id)
{
    HWND control = edit_control(record);
    const EditorCommandFlags& f = record.flags;
    const bool formatting = f.formatted && !f.viewer;
    switch (id) {
    case cmd::new_file:
        if (f.new_allowed) command_new(frame, record);
        return;
    case cmd::open:
        if (f.open_allowed) command_open(frame, record);
        return;
    case cmd::save:
        if (f.save_allowed && edit_file_save(frame, 0) != 0) edit_post_command(frame, id);
        return;
    case cmd::save_as:
        if (f.save_as_allowed && edit_file_save(frame, 1) != 0) edit_post_command(frame, id);
        return;
    case cmd::print:
    case cmd::print_selection:
        if (!f.print_allowed) return;
        if (f.commands_reported) {
            edit_post_command(frame, id);
        } else if (edit_print(frame, record, id == cmd::print_selection ? 1 : 0, 1, 0, 0, {}) != 0) {
            edit_post_command(frame, id);
        }
        return;
    case cmd::close: command_close(frame, record); return;
    case cmd::exit: SendMessageA(frame, WM_CLOSE, 0, 0); return;
    case cmd::undo: SendMessageA(control, EM_UNDO, 0, 0); return;
    case cmd::cut: SendMessageA(control, WM_CUT, 0, 0); return;
    case cmd::copy: SendMessageA(control, WM_COPY, 0, 0); return;
    case cmd::paste: edit_paste(record); return;
    case cmd::clear: SendMessageA(control, WM_CLEAR, 0, 0); return;
    case cmd::select_all: {
        CHARRANGE all{0, -1};
        SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
        return;
    }
    case cmd::redo: SendMessageA(control, EM_REDO, 0, 0); return;
    case cmd::find: edit_find_open(frame, record, false); return;
    case cmd::find_next: edit_find_next(frame, record, record.find_block); return;
    case cmd::replace:
        if (!f.viewer) edit_find_open(frame, record, true);
        return;
    case cmd::set_bookmark: edit_bookmark_set(record); return;
    case cmd::goto_bookmark: edit_bookmark_goto(record); return;
    case cmd::font:
        if (formatting) edit_font_choose(frame, record);
        return;
    case cmd::bullets:
        if (formatting) edit_bullet_toggle(record);
        return;
    case cmd::align_left:
    case cmd::align_centre:
    case cmd::align_right:
        if (formatting) edit_align_set(record, id);
        return;
    case cmd::bold:
    case cmd::italic:
    case cmd::underline:
        if (formatting) edit_style_toggle(record, id);
        return;
    default:
        break;
    }
    if (id > cmd::view_menu && id <= cmd::view_menu + editor_buffer_limit) {
        const int n = id - cmd::view_menu;
        if (record.flags.several_buffers && n <= record.buffers && n != record.current_buffer) {
            edit_buffer_switch(frame, n);
        }
    }
    edit_post_command(frame, id);
}

// ---- notifications of the text control ----

void text_changed(HWND frame, EditorWindowRecord& record)
{
    edit_undo_buttons_update(record);
    record.program_value = 1;
    record.cache_control = -1;
    record.cache_program = -1;
    if (record.flags.modified_mark) edit_title_update(frame);
    edit_bookmark_follow(record);
}

// Split panes: the pane with the focus becomes the active pane all the
// way up, and the outermost frame shows the right menu.
void pane_focused(HWND frame, EditorWindowRecord& record)
{
    if (!is_inside_parent(frame)) {
        return;
    }
    HWND below = frame;
    HWND outer = frame;
    HMENU holder_menu = nullptr;
    for (int depth = 0; depth <= max_window && is_inside_parent(below); ++depth) {
        HWND client = GetParent(below);
        HWND holder = client != nullptr ? GetParent(client) : nullptr;
        SplitWindowRecord* split = win_split_record(holder);
        if (split == nullptr) break;
        split->focused_pane = below;
        if (depth == 0) {
            const WindowSlot* split_slot = slot_of(split->window);
            holder_menu = split_slot != nullptr ? split_slot->menu : nullptr;
        }
        outer = holder;
        below = holder;
    }
    if (outer == frame) {
        return;
    }
    const WindowSlot* own = slot_of(edit_window_number(record));
    HMENU wanted = own != nullptr && own->menu != nullptr ? own->menu : holder_menu;
    HWND top = GetAncestor(outer, GA_ROOT);
    if (wanted != nullptr && GetMenu(top) != wanted) {
        SetMenu(top, wanted);
    }
}

LRESULT key_filter(HWND frame, EditorWindowRecord& record, const MSGFILTER& filter)
{
    if (filter.msg != WM_KEYDOWN) {
        return 0;
    }
    const int key = static_cast<int>(filter.wParam);
    const bool ctrl = key_down(VK_CONTROL);
    const bool shift = key_down(VK_SHIFT);
    const bool alt = key_down(VK_MENU);
    switch (key) {
    case VK_CAPITAL:
    case VK_NUMLOCK:
        edit_status_keys(record);
        return 0;
    case VK_INSERT:
        if (shift && !ctrl && !alt) {
            edit_paste(record);
            return 1;
        }
        if (!ctrl && !shift) {
            record.insert_mode = record.insert_mode != 0 ? 0 : 1;
            edit_status_keys(record);
        }
        return 0;
    case 'V':
        if (ctrl && !shift && !alt) {
            edit_paste(record);
            return 1;
        }
        return 0;
    case VK_OEM_COMMA:
    case VK_OEM_PERIOD:
        // The control's own font-size keys change nothing in plain text.
        return ctrl && shift && !record.flags.formatted ? 1 : 0;
    default:
        return 0;
    }
}

void selection_changed(EditorWindowRecord& record, const SELCHANGE& change)
{
    HWND control = edit_control(record);
    if (!IsWindowVisible(control)) {
        return;
    }
    const bool empty = change.chrg.cpMin == change.chrg.cpMax;
    if (record.toolbar != nullptr) {
        if (!empty) {
            if (record.edit_menu != nullptr) item_grey(record.edit_menu, cmd::copy, false);
            button_enable(record.toolbar, cmd::copy, true);
            button_enable(record.toolbar, cmd::cut, !selection_protected(control));
        } else {
            button_enable(record.toolbar, cmd::copy, false);
            button_enable(record.toolbar, cmd::cut, false);
        }
        edit_format_state_update(record);
    }
    if (HWND top = record.toolbars[0]) {
        button_enable(top, cmd::cut, !empty);
        button_enable(top, cmd::copy, !empty);
    }
    const LONG end = change.chrg.cpMax;
    const LONG line = static_cast<LONG>(SendMessageA(control, EM_EXLINEFROMCHAR, 0, end));
    const LONG start = static_cast<LONG>(SendMessageA(control, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    edit_status_text(record, 0,
                     editor_line_column_text(static_cast<unsigned>(line + 1),
                                             static_cast<unsigned>(std::max(0L, end - start) + 1)));
}

LRESULT notify(HWND frame, EditorWindowRecord& record, UINT message, WPARAM w, LPARAM l)
{
    auto* header = reinterpret_cast<NMHDR*>(l);
    if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        if (record.toolbar_tips == nullptr || header->hwndFrom != record.toolbar_tips) {
            return win_frame_proc(frame, message, w, l);
        }
        const auto text = editor_tooltip_text(static_cast<int>(header->idFrom), record.flags.extended_toolbar);
        if (!text) {
            return 0;
        }
        if (header->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(l);
            info->hinst = nullptr;
            info->lpszText = const_cast<char*>(text->data());
        } else {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(l);
            info->hinst = nullptr;
            const int n = MultiByteToWideChar(CP_ACP, 0, text->data(), static_cast<int>(text->size()),
                                              info->szText, 79);
            info->szText[std::max(0, n)] = L'\0';
            info->lpszText = info->szText;
        }
        return 0;
    }
    if (header->hwndFrom != edit_control(record)) {
        return DefWindowProcA(frame, message, w, l);
    }
    switch (header->code) {
    case EN_MSGFILTER: return key_filter(frame, record, *reinterpret_cast<MSGFILTER*>(l));
    case EN_SELCHANGE: selection_changed(record, *reinterpret_cast<SELCHANGE*>(l)); return 0;
    case EN_PROTECTED: {
        const auto* change = reinterpret_cast<ENPROTECTED*>(l);
        if (change->msg == WM_COPY) return 0;
        return record.protection == 1 ? 1 : 0;
    }
    default: return 0;
    }
}

// ---- menus ----

void menu_opening(EditorWindowRecord& record, HMENU menu)
{
    HWND control = edit_control(record);
    const bool empty = selection_empty(control);
    if (menu == record.file_menu) {
        item_grey(menu, cmd::print_selection, empty);
    } else if (menu == record.edit_menu) {
        item_grey(menu, cmd::undo, SendMessageA(control, EM_CANUNDO, 0, 0) == 0);
        if (edit_richedit_version() >= 2) {
            item_grey(menu, cmd::redo, SendMessageA(control, EM_CANREDO, 0, 0) == 0);
        }
        const bool locked = selection_protected(control);
        if (empty) {
            item_grey(menu, cmd::cut, true);
            item_grey(menu, cmd::copy, true);
            item_grey(menu, cmd::clear, true);
        } else {
            item_grey(menu, cmd::copy, false);
            item_grey(menu, cmd::cut, locked);
            item_grey(menu, cmd::clear, locked);
        }
        item_grey(menu, cmd::paste, !IsClipboardFormatAvailable(CF_TEXT) || locked);
    } else if (menu == record.search_menu) {
        item_grey(menu, cmd::find_next, record.find_text[0] == '\0');
        item_grey(menu, cmd::goto_bookmark,
                  record.bookmark[static_cast<std::size_t>(record.current_buffer)] < 0);
    } else if (menu == record.format_menu) {
        const bool locked = selection_protected(control);
        item_grey(menu, cmd::font, locked);
        item_grey(menu, cmd::bullets, locked);
    }
}

void status_simple(const EditorWindowRecord& record, const char* text)
{
    SendMessageA(record.status_bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
}

LRESULT menu_selected(HWND frame, EditorWindowRecord& record, UINT message, WPARAM w, LPARAM l)
{
    const UINT flags = HIWORD(w);
    auto* menu = reinterpret_cast<HMENU>(l);
    if ((flags & MF_SYSMENU) != 0 && flags != 0xFFFF) {
        return win_frame_proc(frame, message, w, l);
    }
    int id = LOWORD(w);
    if (flags == 0xFFFF && menu == nullptr) {
        id = 0;
    } else if ((flags & MF_POPUP) != 0) {
        MENUITEMINFOA info{};
        info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
        info.fMask = MIIM_ID;
        id = GetMenuItemInfoA(menu, static_cast<UINT>(LOWORD(w)), TRUE, &info) ? static_cast<int>(info.wID) : -1;
    }
    if (id != 0) {
        if (const auto attached = win_menu_help_text(edit_window_number(record), id)) {
            status_simple(record, attached->c_str());
            return 0;
        }
    }
    if (const auto text = editor_menu_help(id, record.flags)) {
        const std::string copy(*text);
        status_simple(record, copy.c_str());
        return 0;
    }
    return win_frame_proc(frame, message, w, l);
}

void context_menu(HWND frame, EditorWindowRecord& record, LPARAM l)
{
    if (record.edit_menu == nullptr) {
        return;
    }
    POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    if (l == -1) {
        // From the keyboard: one line below the caret.
        HWND control = edit_control(record);
        GetCaretPos(&at);
        ClientToScreen(control, &at);
        int line = record.line_height;
        if (edit_richedit_version() >= 3) {
            int numerator = 0;
            int denominator = 0;
            SendMessageA(control, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                         reinterpret_cast<LPARAM>(&denominator));
            if (numerator > 0 && denominator > 0) line = line * numerator / denominator;
        }
        at.y += line;
    }
    menu_opening(record, record.edit_menu);
    TrackPopupMenu(record.edit_menu, TPM_LEFTBUTTON, at.x, at.y, 0, frame, nullptr);
}

// ---- size and focus ----

void placement_keep(HWND frame, int window, WPARAM kind)
{
    WindowSlot* slot = slot_of(window);
    if (slot == nullptr || !is_inside_parent(frame)) {
        return;
    }
    win_restore_rectangle_keep(frame, *slot, kind);
    if (kind == SIZE_MINIMIZED) {
        SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
        HWND client = GetParent(frame);
        HWND holder = client != nullptr ? GetParent(client) : nullptr;
        if (holder != nullptr) SendMessageA(holder, WM_NCACTIVATE, TRUE, 0);
    }
}

LRESULT button_activation(HWND frame, EditorWindowRecord& record)
{
    win_frame_click_activate(frame, record.focus);
    return 0;
}

// ---- closing ----

void buffer_make_current(HWND frame, EditorWindowRecord& record, int n)
{
    const int window = edit_window_number(record);
    const int old = record.current_buffer;
    edit_buffer_exchange(window, old, n);
    edit_buffer_name_put(window, old, edit_file_name(record));
    edit_view_item_check(record, old, false);
    edit_view_item_check(record, n, true);
    record.current_buffer = n;
    std::array<char, editor_path_limit> stored{};
    edit_buffer_name_get(window, n, stored);
    edit_file_name_set(record, stored.data());
    edit_title_update(frame);
}

void modal_result_store(EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    EditorModalResult& result = editor_modal_result();
    result.unchanged = SendMessageA(control, EM_GETMODIFY, 0, 0) != 0 ? 0 : 1;
    result.text_length = edit_text_length(record);
    result.program_value = record.program_value;
    const CHARRANGE range = selection_of(control);
    result.selection_start = edit_program_position(record, range.cpMin);
    result.selection_end = edit_program_position(record, range.cpMax);
    result.current_buffer = record.current_buffer;
    result.buffers = record.buffers;
    result.first_visible_line = static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    result.font_code = record.font_code;
    result.font_size = record.font_size;
    result.find_text = record.find_text.data();
    result.replace_text = record.replace_text.data();
    result.file_name = edit_file_name(record);
    result.find_flags = record.find_block.Flags;
}

LRESULT close_request(HWND frame, EditorWindowRecord& record)
{
    if (edit_buffers_save_prompt(frame, record) == 0) {
        return 0;
    }
    if (record.mode == 1) {
        record.modal_end = true;
        modal_result_store(record);
        return DefWindowProcA(frame, WM_CLOSE, 0, 0);
    }
    win_event_post(event::close_request, 0, 0, 0, frame);
    return 0;
}

void destroyed(HWND frame, EditorWindowRecord* record)
{
    WindowTables& tables = window_tables();
    const int window = edit_window_number(*record);
    WindowSlot* slot = slot_of(window);
    edit_resources_free(*record);
    if (slot != nullptr) {
        if (slot->menu != nullptr && slot->menu == record->menu_bar) {
            win_menu_strings_free(record->menu_bar, window);
            // A bar shown on the frame goes with it; one never shown does not.
            if (GetMenu(frame) != record->menu_bar) DestroyMenu(record->menu_bar);
            slot->menu = nullptr;
        }
        slot->menu_help = nullptr;
        slot->toolbars = {};
    }
    if (record->mode == 1 && slot != nullptr) {
        if (tables.client_dc != nullptr && tables.current == window) {
            ReleaseDC(slot->client, tables.client_dc);
            tables.client_dc = nullptr;
            if (tables.dc_window == window) {
                tables.drawing_dc = nullptr;
                tables.dc_window = -1;
            }
        }
        for (int n = 1; n <= max_window; ++n) {
            HWND other = tables.windows[static_cast<std::size_t>(n)].frame;
            if (n != window && other != nullptr && GetWindow(other, GW_OWNER) == frame) {
                win_slot_release(n);
            }
        }
        win_slot_release(window);
        if (tables.last_active == frame) tables.last_active = tables.windows[0].frame;
    }
    win_content_record_set(frame, nullptr);
    if (record->previous_proc != nullptr) {
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_proc));
    }
    if (record->mode != 1) {
        delete record;
    }
}

void find_message(HWND frame, EditorWindowRecord& record, LPARAM l)
{
    auto* block = reinterpret_cast<FINDREPLACEA*>(l);
    if ((block->Flags & FR_DIALOGTERM) != 0) {
        record.find_dialog = nullptr;
        return;
    }
    if ((block->Flags & FR_FINDNEXT) != 0) {
        edit_find_next(frame, record, *block);
        if (record.flags.commands_reported) edit_post_command(frame, cmd::find);
    } else if ((block->Flags & FR_REPLACE) != 0) {
        edit_replace_next(frame, record, *block);
        if (record.flags.commands_reported) edit_post_command(frame, cmd::replace);
    } else if ((block->Flags & FR_REPLACEALL) != 0) {
        edit_replace_all(frame, record, *block);
        if (record.flags.commands_reported) edit_post_command(frame, cmd::replace);
    }
}

} // namespace

int edit_buffers_save_prompt(HWND frame, EditorWindowRecord& record)
{
    const int window = edit_window_number(record);
    const int start = record.current_buffer;
    bool allowed = edit_save_prompt(frame, record) != 0;
    if (allowed && record.flags.several_buffers) {
        for (int n = 1; n <= record.buffers && allowed; ++n) {
            // The buffer current at the start was asked first; it is not
            // asked again when the loop reaches its number.
            if (n == start || edit_buffer_unchanged(window, n) != 0) continue;
            buffer_make_current(frame, record, n);
            allowed = edit_save_prompt(frame, record) != 0;
        }
    }
    if (!allowed && record.flags.several_buffers && record.current_buffer != start) {
        buffer_make_current(frame, record, start);
    }
    return allowed ? 1 : 0;
}

void edit_post_command(HWND frame, int command)
{
    win_event_post(event::command, 0, MAKEWPARAM(command, 0), 0, frame);
}

void edit_status_text(const EditorWindowRecord& record, int part, std::string_view text)
{
    if (record.status_bar == nullptr) {
        return;
    }
    const std::string copy(text);
    SendMessageA(record.status_bar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(copy.c_str()));
}

void edit_status_keys(const EditorWindowRecord& record)
{
    edit_status_text(record, 1, (GetKeyState(VK_CAPITAL) & 1) != 0 ? "\tCAPS" : "");
    edit_status_text(record, 2, (GetKeyState(VK_NUMLOCK) & 1) != 0 ? "\tNUM" : "");
    edit_status_text(record, 3, record.insert_mode != 0 ? "\tINS" : "\tOVR");
}

void edit_undo_buttons_update(EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    const bool undo = SendMessageA(control, EM_CANUNDO, 0, 0) != 0;
    const bool redo = edit_richedit_version() >= 2 && SendMessageA(control, EM_CANREDO, 0, 0) != 0;
    for (HWND bar : {record.toolbar, record.toolbars[0]}) {
        button_enable(bar, cmd::undo, undo);
        if (edit_richedit_version() >= 2) button_enable(bar, cmd::redo, redo);
    }
}

void edit_layout(HWND frame, EditorWindowRecord& record)
{
    RECT area{};
    GetClientRect(frame, &area);
    if (record.status_bar != nullptr) {
        SendMessageA(record.status_bar, WM_SIZE, 0, 0);
        if (IsWindowVisible(record.status_bar)) area.bottom -= window_height(record.status_bar);
    }
    if (record.toolbar != nullptr) {
        SendMessageA(record.toolbar, TB_AUTOSIZE, 0, 0);
        area.top += window_height(record.toolbar);
    }
    const WindowSlot* slot = slot_of(edit_window_number(record));
    if (slot != nullptr) {
        if (HWND top = slot->toolbars[0]) {
            MoveWindow(top, area.left, area.top, area.right - area.left, slot->toolbar_thickness[0], TRUE);
            area.top += slot->toolbar_thickness[0];
        }
        if (HWND bottom = slot->toolbars[3]) {
            MoveWindow(bottom, area.left, area.bottom - slot->toolbar_thickness[3], area.right - area.left,
                       slot->toolbar_thickness[3], TRUE);
            area.bottom -= slot->toolbar_thickness[3];
        }
        if (HWND left = slot->toolbars[1]) {
            MoveWindow(left, area.left, area.top, slot->toolbar_thickness[1], area.bottom - area.top, TRUE);
            area.left += slot->toolbar_thickness[1];
        }
        if (HWND right = slot->toolbars[2]) {
            MoveWindow(right, area.right - slot->toolbar_thickness[2], area.top, slot->toolbar_thickness[2],
                       area.bottom - area.top, TRUE);
            area.right -= slot->toolbar_thickness[2];
        }
    }
    if (record.command_line != nullptr) {
        const int height = record.command_line_height;
        RECT prompt{};
        GetWindowRect(record.prompt_frame, &prompt);
        const int prompt_width = prompt.right - prompt.left;
        const int top = area.bottom - height;
        MoveWindow(record.prompt_frame, area.left, top, prompt_width, height, TRUE);
        const bool combo = record.command_line != record.command_edit;
        MoveWindow(record.command_line, area.left + prompt_width, top,
                   std::max(0L, area.right - area.left - prompt_width),
                   combo ? height + 10 * record.line_height : height, TRUE);
        area.bottom = top;
    }
    const int width = std::max(0L, area.right - area.left);
    const int height = std::max(0L, area.bottom - area.top);
    MoveWindow(edit_control(record), area.left, area.top, width, height, TRUE);
    if (slot != nullptr && slot->client != nullptr) {
        MoveWindow(slot->client, area.left, area.top, width, height, FALSE);
    }
}

LRESULT CALLBACK edit_frame_proc(HWND frame, UINT message, WPARAM w, LPARAM l)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        return DefWindowProcA(frame, message, w, l);
    }
    HWND control = edit_control(*record);
    const UINT find_message_id = window_tables().find_replace_message;
    if (find_message_id != 0 && message == find_message_id) {
        find_message(frame, *record, l);
        return 0;
    }
    switch (message) {
    case WM_COMMAND: {
        const int code = HIWORD(w);
        const int id = LOWORD(w);
        auto* from = reinterpret_cast<HWND>(l);
        if (from != nullptr && from == control) {
            if (code == EN_SETFOCUS) {
                record->focus = control;
                pane_focused(frame, *record);
            } else if (code == EN_CHANGE) {
                text_changed(frame, *record);
            } else if (code == EN_VSCROLL && edit_richedit_version() == 2) {
                InvalidateRect(control, nullptr, FALSE);
            }
            return 0;
        }
        if (from != nullptr && from == record->command_line && record->command_line != nullptr
            && (code == CBN_SETFOCUS || (code == EN_SETFOCUS && record->command_line == record->command_edit))) {
            record->focus = record->command_line;
            pane_focused(frame, *record);
            return 0;
        }
        // Commands come from menus and accelerators (no control) or from
        // toolbars; other controls only notify.
        const WindowSlot* slot = slot_of(edit_window_number(*record));
        const bool toolbar = from != nullptr
                             && (from == record->toolbar
                                 || (slot != nullptr
                                     && std::find(slot->toolbars.begin(), slot->toolbars.end(), from)
                                            != slot->toolbars.end()));
        if ((code == 0 || code == 1) && (from == nullptr || toolbar)) {
            if (id >= cmd::first && id <= cmd::last) {
                command(frame, *record, id);
            } else {
                edit_post_command(frame, id);
            }
            return 0;
        }
        return DefWindowProcA(frame, message, w, l);
    }
    case WM_NOTIFY:
        return notify(frame, *record, message, w, l);
    case WM_INITMENUPOPUP:
        menu_opening(*record, reinterpret_cast<HMENU>(w));
        return 0;
    case WM_MENUSELECT:
        if (record->status_bar == nullptr) break;
        return menu_selected(frame, *record, message, w, l);
    case WM_ENTERMENULOOP:
        if (record->status_bar == nullptr) break;
        SendMessageA(record->status_bar, SB_SIMPLE, TRUE, 0);
        status_simple(*record, "");
        return 0;
    case WM_EXITMENULOOP:
        if (record->status_bar == nullptr) break;
        SendMessageA(record->status_bar, SB_SIMPLE, FALSE, 0);
        return 0;
    case WM_CONTEXTMENU:
        context_menu(frame, *record, l);
        return 0;
    case WM_SIZE:
        placement_keep(frame, edit_window_number(*record), w);
        if (w != SIZE_MINIMIZED) edit_layout(frame, *record);
        return 0;
    case WM_SETFOCUS:
        window_tables().last_active = frame;
        window_tables().active_dialog = nullptr;
        if (record->focus != nullptr) SetFocus(record->focus);
        return 0;
    case WM_MOUSEACTIVATE:
        return button_activation(frame, *record);
    case WM_PARENTNOTIFY:
        if (LOWORD(w) == WM_LBUTTONDOWN || LOWORD(w) == WM_RBUTTONDOWN || LOWORD(w) == WM_MBUTTONDOWN) {
            return button_activation(frame, *record);
        }
        break;
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_NCHITTEST:
    case WM_EXITSIZEMOVE:
        return win_frame_proc(frame, message, w, l);
    case WM_ERASEBKGND:
        return 0;
    case WM_CLOSE:
        return close_request(frame, *record);
    case WM_DESTROY:
        destroyed(frame, record);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(frame, message, w, l);
}

} // namespace korv
