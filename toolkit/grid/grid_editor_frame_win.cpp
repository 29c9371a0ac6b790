// The grid editor's frame procedure: its commands, menu greying and help,
// the current cell in the status bar, layout, and closing.
#include "grid/grid_editor_win.h"
#include "korvanthide/grid_win.h"

#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"
#include "korvanthide/menus.h"
#include "grid/grid_cells.h"
#include "grid/grid_classes.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_control_win.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace korv {

namespace {

namespace cmd = grid_editor_command;

GridRecord* grid_of(const GridEditorRecord& e) { return grid_control_of(e.grid); }

void post_command(HWND frame, WPARAM w, LPARAM l) { win_event_post(event::command, 0, w, l, frame); }

void status_cell(GridEditorRecord& e, int packed)
{
    if (!e.status_bar)
        return;
    const std::string row = "\t\t" + std::to_string(packed & 0x3FFFF);
    const std::string column = "\t\t" + std::to_string(packed >> 18);
    SendMessageA(e.status_bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(row.c_str()));
    SendMessageA(e.status_bar, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>(column.c_str()));
    UpdateWindow(e.status_bar);
}

bool is_child(HWND window) { return window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0; }

HMENU slot_menu(int window)
{
    const WindowSlot* s = win_slot(window);
    return s ? s->menu : nullptr;
}

// The editor's menu bar goes: split windows that borrowed it have none
// again, and a top-level window showing it shows the first menu above the
// pane instead.
void menu_give_back(GridEditorRecord& e, HWND frame)
{
    if (!e.menu_bar)
        return;
    for (int w = 0; w < window_slots; ++w)
        if (WindowSlot* s = win_slot(w); w != e.window && s && s->menu == e.menu_bar)
            s->menu = nullptr;
    HWND top = GetAncestor(frame, GA_ROOT);
    if (!top || top == frame || GetMenu(top) != e.menu_bar)
        return;
    HMENU shown = nullptr;
    for (HWND at = frame; !shown && is_child(at);) {
        HWND client = GetParent(at);
        at = client ? GetParent(client) : nullptr;
        shown = slot_menu(win_number_from_handle(at));
    }
    SetMenu(top, shown);
    DrawMenuBar(top);
}

void on_cell_change(GridEditorRecord& e, LPARAM packed)
{
    status_cell(e, static_cast<int>(packed));
    if (e.mode == 1)
        return;
    EventState& events = event_state();
    if (!events.enable.flags[event::field_changed - 1])
        return;
    PostedEvent& p = events.store;
    p.type = event::field_changed;
    p.time = static_cast<int>(GetMessageTime());
    p.window = e.window;
    p.first = p.second = 0;
    p.source = 0;
    p.field = -1;
    p.x = events.first_field_change ? e.previous_cell : p.x;
    p.y = static_cast<int>(packed);
    p.waiting = 0;
    e.previous_cell = static_cast<int>(packed);
}

HWND text_editor(const GridEditorRecord& e)
{
    const GridRecord* g = grid_of(e);
    return g ? grid_cell_text_editor(*g) : nullptr;
}

bool block_selected(const GridEditorRecord& e)
{
    const GridRecord* g = grid_of(e);
    return g && !g->cells->selection.empty();
}

void whole_grid(const GridRecord& g, int& r1, int& r2, int& c1, int& c2)
{
    r1 = 0;
    r2 = g.cells->rows_in_use - 1;
    c1 = 0;
    c2 = g.cells->column_count() - 1;
}

bool command_greyed(const GridEditorRecord& e, UINT id);

// What a built-in command works on.
struct Command {
    GridEditorRecord& e;
    GridRecord& g;
    HWND frame;
    WPARAM w;
    LPARAM l;
    int id() const { return LOWORD(w); }
    GridModel& model() const { return g.model(); }
    // The program hears of a command that changed the grid or its file.
    void report() const { post_command(frame, w, l); }
};

bool save_question_passed(const Command& c)
{
    return !c.e.may_save || grid_editor_save_prompt(c.e, c.frame) == 1;
}

// The grid holds other contents now: a new name, nothing modified.
void contents_replaced(const Command& c)
{
    grid_editor_caption(c.e, c.frame);
    c.model().modified_1 = c.model().modified_2 = 0;
    c.report();
}

void new_grid(Command& c)
{
    if (!save_question_passed(c))
        return;
    grid_clear_all(c.e.grid, 0);
    c.e.texts.file_name.clear();
    contents_replaced(c);
}

void open_grid(Command& c)
{
    if (save_question_passed(c) && grid_editor_load_csv(c.e, true))
        contents_replaced(c);
}

void save_grid(Command& c)
{
    if (!grid_editor_save_csv(c.e, c.id() == cmd::save_as, -1, -1, -1, -1))
        return;
    c.model().modified_1 = 0;
    grid_editor_caption(c.e, c.frame);
    c.report();
}

void save_selection(Command& c)
{
    const GridBlock& b = c.model().selection;
    grid_editor_save_csv(c.e, true, b.first_row, b.last_row, b.first_column, b.last_column);
}

void save_html(Command& c)
{
    if (grid_editor_save_html(c.e))
        c.report();
}

void print_grid(Command& c)
{
    int r1 = 0, r2 = 0, c1 = 0, c2 = 0;
    whole_grid(c.g, r1, r2, c1, c2);
    if (grid_editor_print(c.e, r1, r2, c1, c2))
        c.report();
}

void print_selection(Command& c)
{
    const GridBlock& b = c.model().selection;
    if (grid_editor_print(c.e, b.first_row, b.last_row, b.first_column, b.last_column))
        c.report();
}

void exit_editor(Command& c) { PostMessageA(c.frame, WM_CLOSE, 0, 0); }

// Cut, Copy and Delete: on the selected block, else on the in-place text
// editor.
void cut_copy_clear(Command& c)
{
    GridModel& m = c.model();
    const int id = c.id();
    if (block_selected(c.e)) {
        if (id == cmd::copy)
            grid_copy_selection(c.g);
        else if (c.e.read_only || !grid_selection_writable(m))
            return;
        else if (id == cmd::clear || grid_copy_selection(c.g))
            grid_clear_selected_cells(c.g);
    } else if (HWND edit = text_editor(c.e)) {
        if (id != cmd::clear)
            SendMessageA(edit, WM_COPY, 0, 0);
        if (id != cmd::copy && !c.e.read_only)
            SendMessageA(edit, WM_CLEAR, 0, 0);
    }
}

// A text of one cell goes into the in-place editor, a block of cells into
// the grid from the current cell.
void paste(Command& c)
{
    const std::string text = grid_clipboard_text();
    if (text.empty())
        return;
    if (grid_clipboard_text_kind(text) == 1) {
        if (HWND edit = text_editor(c.e))
            SendMessageA(edit, WM_PASTE, 0, 0);
    } else if (grid_paste_allowed(c.model(), text)) {
        grid_paste(c.g);
    }
}

void select_all(Command& c)
{
    int r1 = 0, r2 = 0, c1 = 0, c2 = 0;
    whole_grid(c.g, r1, r2, c1, c2);
    grid_select_range(c.g, r1, r2, c1, c2);
}

void sort(Command& c)
{
    if (grid_editor_sort(c.e))
        c.report();
}

void change_rows(Command& c)
{
    if (c.id() == cmd::delete_row)
        grid_editor_delete_rows(c.e);
    else
        grid_editor_insert_rows(c.e, c.id() == cmd::insert_row_after);
    c.model().modified_1 = c.model().modified_2 = 1;
    c.report();
}

void find(Command& c) { grid_editor_find(c.e, c.id() == cmd::find_next); }

void go_to(Command& c) { grid_editor_goto(c.e, c.id() - cmd::goto_cell + 1); }

bool may_new(const Command& c) { return c.e.may_new; }
bool may_open(const Command& c) { return c.e.may_open; }
bool may_save(const Command& c) { return c.id() == cmd::save ? c.e.may_save : c.e.may_save_as; }
bool may_save_selection(const Command& c) { return c.e.may_save_as && block_selected(c.e); }
bool may_save_html(const Command& c) { return c.e.may_save_html; }
bool block(const Command& c) { return block_selected(c.e); }
bool writable(const Command& c) { return !c.e.read_only; }
bool may_sort(const Command& c) { return !command_greyed(c.e, cmd::sort) && !c.e.read_only; }
bool may_change_rows(const Command& c)
{
    return !command_greyed(c.e, static_cast<UINT>(c.id())) && c.e.may_change_rows;
}
bool may_find(const Command& c) { return c.e.may_find; }

// The built-in commands: each runs when its guard (if any) lets it. A
// command of the caller's own menu is only reported.
struct CommandEntry {
    int id;
    bool (*guard)(const Command&);
    void (*run)(Command&);
};
constexpr CommandEntry commands[] = {
    {cmd::new_file, may_new, new_grid},
    {cmd::open, may_open, open_grid},
    {cmd::save, may_save, save_grid},
    {cmd::save_as, may_save, save_grid},
    {cmd::save_selection, may_save_selection, save_selection},
    {cmd::save_as_html, may_save_html, save_html},
    {cmd::print, nullptr, print_grid},
    {cmd::print_selection, block, print_selection},
    {cmd::exit, nullptr, exit_editor},
    {cmd::cut, nullptr, cut_copy_clear},
    {cmd::copy, nullptr, cut_copy_clear},
    {cmd::clear, nullptr, cut_copy_clear},
    {cmd::paste, writable, paste},
    {cmd::select_all, nullptr, select_all},
    {cmd::sort, may_sort, sort},
    {cmd::insert_row_before, may_change_rows, change_rows},
    {cmd::insert_row_after, may_change_rows, change_rows},
    {cmd::delete_row, may_change_rows, change_rows},
    {cmd::find, may_find, find},
    {cmd::find_next, may_find, find},
    {cmd::goto_cell, nullptr, go_to},
    {cmd::goto_row, nullptr, go_to},
    {cmd::goto_column, nullptr, go_to},
};

void on_command(GridEditorRecord& e, HWND frame, WPARAM w, LPARAM l)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return;
    Command c{e, *g, frame, w, l};
    const auto entry = std::find_if(std::begin(commands), std::end(commands),
                                    [&c](const CommandEntry& k) { return k.id == c.id(); });
    if (entry == std::end(commands))
        c.report();
    else if (!entry->guard || entry->guard(c))
        entry->run(c);
}

// Whether a command is greyed by the grid's state; menus, keys and the
// toolbar all ask, so none of them passes protection or a read-only grid.
bool command_greyed(const GridEditorRecord& e, UINT id)
{
    const GridRecord* g = grid_of(e);
    if (!g)
        return true;
    const GridModel& m = *g->cells;
    const bool block = !m.selection.empty();
    const auto protected_from = [&](int first_row) {
        if (e.protection_ignored)
            return false;
        for (const GridColumn& c : m.columns)
            for (int r = std::max(first_row, 0); r < m.rows_in_use; ++r)
                if (c.flags(r) & grid_cell_protected)
                    return true;
        return false;
    };
    HWND edit = text_editor(e);
    DWORD start = 0, end = 0;
    if (edit)
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool edit_read_only = edit && (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
    switch (id) {
    case cmd::save_selection:
    case cmd::print_selection:
        return !block;
    case cmd::cut:
    case cmd::clear:
        return block ? (m.read_only() || !grid_selection_writable(m))
                     : (!edit || end <= start || edit_read_only || m.read_only());
    case cmd::copy:
        return !block && (!edit || end <= start);
    case cmd::paste: {
        const std::string clip = grid_clipboard_text();
        const int kind = clip.empty() ? 0 : grid_clipboard_text_kind(clip);
        return kind == 2 ? !grid_paste_allowed(m, clip) : (kind == 0 || !edit || edit_read_only || m.read_only());
    }
    case cmd::sort:
        return m.read_only() || protected_from(0);
    case cmd::insert_row_after:
        return m.read_only() || protected_from(m.current_row + 1) || m.current_row == m.rows_created - 1 ||
               (m.current_row == m.rows_in_use - 1 && !e.rows_grow);
    case cmd::insert_row_before:
    case cmd::delete_row:
        return m.read_only() || protected_from(m.current_row);
    case cmd::find_next:
        return e.texts.find_text.empty();
    default:
        return false;
    }
}

void on_init_popup(const GridEditorRecord& e, HMENU popup)
{
    static const UINT file_ids[] = {cmd::save_selection, cmd::print_selection};
    static const UINT edit_ids[] = {cmd::cut,  cmd::copy,           cmd::paste,           cmd::clear,
                                    cmd::sort, cmd::insert_row_before, cmd::insert_row_after, cmd::delete_row};
    const auto grey_all = [&](const UINT* ids, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            EnableMenuItem(popup, ids[i], MF_BYCOMMAND | (command_greyed(e, ids[i]) ? MF_GRAYED : MF_ENABLED));
    };
    if (popup == e.file_menu)
        grey_all(file_ids, 2);
    else if (popup == e.edit_menu)
        grey_all(edit_ids, 8);
    else if (popup == e.search_menu)
        EnableMenuItem(popup, cmd::find_next,
                       MF_BYCOMMAND | (command_greyed(e, cmd::find_next) ? MF_GRAYED : MF_ENABLED));
}

const char* help_text(UINT id)
{
    static const std::pair<UINT, const char*> texts[] = {
        {cmd::file_menu, "Commands to Load and Save files"},
        {cmd::new_file, "Clears the grid"},
        {cmd::open, "Loads an existing grid"},
        {cmd::save, "Saves the grid"},
        {cmd::save_as, "Saves the grid with a new name"},
        {cmd::save_selection, "Saves the selected cells"},
        {cmd::save_as_html, "Saves the grid as an HTML document"},
        {cmd::print, "Prints the grid"},
        {cmd::print_selection, "Prints the selected cells"},
        {cmd::exit, "Closes the grid; prompts you to save changes"},
        {cmd::edit_menu, "Commands for Editing and Sorting cells"},
        {cmd::cut, "Cuts the selected cells and places them on the clipboard"},
        {cmd::copy, "Copies the selected cells and places them on the clipboard"},
        {cmd::paste, "Inserts clipboard contents"},
        {cmd::clear, "Clears the selected cells"},
        {cmd::select_all, "Selects the entire grid"},
        {cmd::sort, "Sorts the rows of the grid"},
        {cmd::insert_row_before, "Inserts a row into the grid, before the current row"},
        {cmd::insert_row_after, "Inserts a row into the grid, after the current row"},
        {cmd::delete_row, "Deletes a row from the grid"},
        {cmd::search_menu, "Commands for Searching and Navigation"},
        {cmd::find, "Finds the specified string value"},
        {cmd::find_next, "Repeats the last find"},
        {cmd::goto_cell, "Moves to the specified cell"},
        {cmd::goto_row, "Moves to the specified row"},
        {cmd::goto_column, "Moves to the specified column"},
        {0, ""},
    };
    for (const auto& [item, text] : texts)
        if (item == id)
            return text;
    return nullptr;
}

// The built-in items' help in the status bar's simple part; true when the
// item was one of them.
bool menu_help(const GridEditorRecord& e, WPARAM w, LPARAM l)
{
    if (!e.status_bar)
        return false;
    const HMENU menu = reinterpret_cast<HMENU>(l);
    UINT id = LOWORD(w);
    if (HIWORD(w) & MF_POPUP) {
        const HMENU popup = GetSubMenu(menu, static_cast<int>(id));
        id = popup == e.file_menu     ? cmd::file_menu
             : popup == e.edit_menu   ? cmd::edit_menu
             : popup == e.search_menu ? cmd::search_menu
                                      : 0xFFFF;
    }
    const char* text = help_text(id);
    if (!text)
        return false;
    SendMessageA(e.status_bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
    return true;
}

// The frame's size that shows the whole grid, less what the frame already
// is when that is smaller.
SIZE fitted_size(const GridEditorRecord& e, HWND frame, int rows)
{
    const GridRecord* g = grid_of(e);
    SIZE size{0, 0};
    if (!g)
        return size;
    long width = 1, height = 0;
    for (const GridColumnControl& t : g->templates)
        width += t.width - 1;
    width = std::min(width, 10000L) + g->row_heading_width;
    height = std::min(static_cast<long>(g->row_height - 1) * rows + 1, 10000L) + g->header_height;
    const auto bar_height = [](HWND bar) {
        RECT r{};
        if (bar)
            GetWindowRect(bar, &r);
        return r.bottom - r.top;
    };
    height += bar_height(e.status_bar) + bar_height(e.toolbar);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(e.grid, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(e.grid, GWL_EXSTYLE)));
    if (GetWindowLongA(e.grid, GWL_STYLE) & WS_VSCROLL)
        r.right += GetSystemMetrics(SM_CXVSCROLL);
    if (GetWindowLongA(e.grid, GWL_STYLE) & WS_HSCROLL)
        r.bottom += GetSystemMetrics(SM_CYHSCROLL);
    RECT outer{0, 0, r.right - r.left, r.bottom - r.top};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)), GetMenu(frame) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)));
    size.cx = outer.right - outer.left;
    size.cy = outer.bottom - outer.top;
    return size;
}

void on_min_max(const GridEditorRecord& e, HWND frame, MINMAXINFO& info)
{
    const GridRecord* g = grid_of(e);
    if (!g)
        return;
    const SIZE fitted = fitted_size(e, frame, g->cells->rows_in_use);
    info.ptMaxSize.x = std::min<LONG>(info.ptMaxSize.x, fitted.cx);
    info.ptMaxSize.y = std::min<LONG>(info.ptMaxSize.y, fitted.cy);
    RECT desktop{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
    info.ptMaxSize.x = std::min<LONG>(info.ptMaxSize.x, desktop.right - desktop.left + 2 * GetSystemMetrics(SM_CXEDGE));
    info.ptMaxSize.y = std::min<LONG>(info.ptMaxSize.y, desktop.bottom - desktop.top + 2 * GetSystemMetrics(SM_CYEDGE));
    info.ptMaxTrackSize = info.ptMaxSize;
    int broadest = 0;
    for (const GridColumnControl& t : g->templates)
        broadest = std::max(broadest, t.width);
    const SIZE one_row = fitted_size(e, frame, 1);
    info.ptMinTrackSize.x = std::min<LONG>(one_row.cx, broadest + g->row_heading_width + 2 * GetSystemMetrics(SM_CXFRAME));
    info.ptMinTrackSize.y = one_row.cy;
}

void layout(GridEditorRecord& e, HWND frame)
{
    RECT r;
    GetClientRect(frame, &r);
    int top = 0, bottom = r.bottom;
    if (e.status_bar) {
        SendMessageA(e.status_bar, WM_SIZE, 0, 0);
        RECT s;
        GetWindowRect(e.status_bar, &s);
        bottom -= s.bottom - s.top;
    }
    if (e.toolbar) {
        SendMessageA(e.toolbar, TB_AUTOSIZE, 0, 0);
        RECT t;
        GetWindowRect(e.toolbar, &t);
        top += t.bottom - t.top;
    }
    if (e.grid)
        MoveWindow(e.grid, 0, top, r.right, std::max(bottom - top, 1), TRUE);
}

// A press while the focus is outside the frame brings the frame up and
// gives it the focus, which its grid passes on to the cell editor; false
// when the focus is in it already and the press needs nothing more.
bool button_activation(HWND frame)
{
    HWND focus = GetFocus();
    if (focus == frame || IsChild(frame, focus))
        return false;
    win_frame_click_activate(frame, nullptr);
    return true;
}

void on_close(GridEditorRecord& e, HWND frame)
{
    if (e.may_save && grid_editor_save_prompt(e, frame) != 1)
        return;
    if (e.mode == 1) {
        e.modal_end = true;
        GridEditorSavedState& saved = grid_editor_last_modal();
        if (const GridRecord* g = grid_of(e)) {
            saved.modified_1 = g->cells->modified_1;
            saved.modified_2 = g->cells->modified_2;
        }
        saved.texts = e.texts;
        DestroyWindow(frame);
        return;
    }
    win_event_post(event::close_request, 0, 0, 0, frame);
}

void on_destroy(GridEditorRecord* e, HWND frame)
{
    if (e->mode == 3) {
        --dialog_table().semi_modeless_count;
        dialog_enable_other_windows(frame, 1);
    }
    if (e->mode == 1) {
        // A modal editor's window goes with it: its table entries too, and
        // those of the windows it owns.
        WindowTables& tables = window_tables();
        if (tables.client_dc && tables.current == e->window) {
            if (const WindowSlot* slot = win_slot(e->window))
                ReleaseDC(slot->client, tables.client_dc);
            tables.client_dc = nullptr;
            if (tables.dc_window == e->window) {
                tables.drawing_dc = nullptr;
                tables.dc_window = -1;
            }
        }
        for (int n = 1; n < static_cast<int>(tables.windows.size()); ++n) {
            HWND other = tables.windows[static_cast<std::size_t>(n)].frame;
            if (n != e->window && other && GetWindow(other, GW_OWNER) == frame)
                win_slot_release(n);
        }
        win_slot_release(e->window);
        if (tables.last_active == frame)
            tables.last_active = tables.windows[0].frame;
    }
    menu_give_back(*e, frame);
    if (e->menu_bar && GetMenu(frame) != e->menu_bar) {
        // A pane's bar is on no window, so nothing destroys it with one.
        win_menu_strings_free(e->menu_bar, e->window);
        if (WindowSlot* slot = win_slot(e->window); slot && slot->menu == e->menu_bar)
            slot->menu = nullptr;
        DestroyMenu(e->menu_bar);
    }
    if (e->accelerators)
        DestroyAcceleratorTable(e->accelerators);
    if (e->caller_accelerators)
        DestroyAcceleratorTable(e->caller_accelerators);
    win_content_record_set(frame, nullptr);
    delete e;
}

} // namespace

void grid_editor_detach(HWND frame)
{
    GridEditorRecord* e = grid_editor_of(frame);
    if (!e)
        return;
    WindowSlot* slot = win_slot(e->window);
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(win_frame_proc));
    if (e->grid)
        DestroyWindow(e->grid);
    if (e->toolbar)
        DestroyWindow(e->toolbar);
    if (e->menu_bar) {
        menu_give_back(*e, frame);
        if (!is_child(frame))
            SetMenu(frame, nullptr);
        DestroyMenu(e->menu_bar);
        if (slot && slot->menu == e->menu_bar)
            slot->menu = nullptr;
    }
    if (e->status_bar) {
        int whole = -1;
        SendMessageA(e->status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        SendMessageA(e->status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    }
    if (e->mode == 3)
        --dialog_table().semi_modeless_count;
    if (e->mode != 2)
        dialog_enable_other_windows(frame, 1);
    if (!e->saved_caption.empty())
        SetWindowTextA(frame, e->saved_caption.c_str());
    if (e->accelerators)
        DestroyAcceleratorTable(e->accelerators);
    if (e->caller_accelerators)
        DestroyAcceleratorTable(e->caller_accelerators);
    win_content_record_set(frame, nullptr);
    delete e;
    if (slot && slot->client) {
        ShowWindow(slot->client, SW_SHOW);
        RECT r;
        GetClientRect(frame, &r);
        SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    }
}

void grid_editor_fit_window(GridEditorRecord& e, HWND frame)
{
    const GridRecord* g = grid_of(e);
    if (!g)
        return;
    const SIZE need = fitted_size(e, frame, g->cells->rows_in_use);
    RECT now;
    GetWindowRect(frame, &now);
    const int width = std::min<int>(now.right - now.left, need.cx);
    const int height = std::min<int>(now.bottom - now.top, need.cy);
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool grid_editor_keys(HWND frame, HWND from, UINT message, WPARAM w, LPARAM l)
{
    const GridEditorRecord* e = grid_editor_of(frame);
    if (!e)
        return false;
    MSG key{from, message, w, l, static_cast<DWORD>(GetMessageTime()), {}};
    return (e->accelerators && TranslateAcceleratorA(frame, e->accelerators, &key)) ||
           (e->caller_accelerators && TranslateAcceleratorA(frame, e->caller_accelerators, &key));
}

GridEditorTexts* grid_editor_texts(int window)
{
    const WindowSlot* slot = window >= 0 ? win_slot(window) : nullptr;
    GridEditorRecord* e = slot ? grid_editor_of(slot->frame) : nullptr;
    return e ? &e->texts : nullptr;
}

LRESULT CALLBACK grid_editor_frame_proc(HWND frame, UINT message, WPARAM w, LPARAM l)
{
    GridEditorRecord* e = grid_editor_of(frame);
    if (!e)
        return win_frame_proc(frame, message, w, l);
    if (message == grid_class_atoms().cell_change && message != 0) {
        on_cell_change(*e, l);
        win_pane_make_active(frame);
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (l == 0 || reinterpret_cast<HWND>(l) == e->toolbar) {
            on_command(*e, frame, w, l);
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        on_init_popup(*e, reinterpret_cast<HMENU>(w));
        return 0;
    case WM_SIZE:
        if (w != SIZE_MINIMIZED)
            layout(*e, frame);
        return 0;
    case WM_GETMINMAXINFO:
        on_min_max(*e, frame, *reinterpret_cast<MINMAXINFO*>(l));
        return 0;
    case WM_ENTERMENULOOP:
        if (e->status_bar) {
            SendMessageA(e->status_bar, SB_SIMPLE, TRUE, 0);
            SendMessageA(e->status_bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
        }
        break;
    case WM_EXITMENULOOP:
        if (e->status_bar)
            SendMessageA(e->status_bar, SB_SIMPLE, FALSE, 0);
        break;
    case WM_MENUSELECT:
        if (menu_help(*e, w, l))
            return 0;
        break;
    case WM_CLOSE:
        on_close(*e, frame);
        return 0;
    case WM_DESTROY:
        on_destroy(e, frame);
        return win_frame_proc(frame, message, w, l);
    case WM_SETFOCUS:
        if (e->grid)
            SetFocus(e->grid);
        return 0;
    case WM_MOUSEACTIVATE:
        if (button_activation(frame))
            return 0;
        break;
    case WM_PARENTNOTIFY:
        if ((LOWORD(w) == WM_LBUTTONDOWN || LOWORD(w) == WM_RBUTTONDOWN || LOWORD(w) == WM_MBUTTONDOWN) &&
            button_activation(frame))
            return 0;
        break;
    case WM_NOTIFY: {
        const NMHDR* n = reinterpret_cast<const NMHDR*>(l);
        if (n->code == TTN_NEEDTEXTA && n->hwndFrom == e->tooltips) {
            auto* tip = reinterpret_cast<NMTTDISPINFOA*>(l);
            static const std::pair<UINT_PTR, const char*> texts[] = {
                {cmd::new_file, "New"}, {cmd::open, "Open"}, {cmd::save, "Save"}, {cmd::print, "Print"},
                {cmd::find, "Find"},    {cmd::cut, "Cut"},   {cmd::copy, "Copy"}, {cmd::paste, "Paste"}};
            tip->lpszText = const_cast<char*>("");
            for (const auto& [id, text] : texts)
                if (id == tip->hdr.idFrom)
                    tip->lpszText = const_cast<char*>(text);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return win_frame_proc(frame, message, w, l);
}

} // namespace korv
