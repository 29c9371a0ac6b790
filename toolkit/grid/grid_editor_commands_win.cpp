// The grid editor's longer commands: the save question, CSV and HTML files
// with their file selection, printing, sorting, rows, finding and going to
// a cell.
#include "grid/grid_editor_win.h"

#include "korvanthide/common_dialogs.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/events.h"
#include "core/context.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"
#include "grid/grid_html.h"
#include "grid/grid_print_win.h"
#include "grid/grid_routines.h"
#include "grid/grid_search.h"

#include <algorithm>
#include <functional>
#include <array>
#include <string>
#include <vector>

namespace korv {

namespace {

constexpr std::string_view csv_filter = "CSV Files|*.csv|All Files|*.*|";
constexpr std::string_view html_filter = "HTML Files|*.htm;*.html|All Files|*.*|";
constexpr std::string_view editor_title = "Korvanthide Grid Editor";

// The dialogs the commands show (toolkit/grid/grid_editor_dialogs.rc).
namespace dialog_resource {
constexpr int find = 32106;
constexpr int goto_cell = 32107;
constexpr int goto_row_or_column = 32108;
constexpr int sort = 32109;
constexpr int print = 32112;
constexpr int save_html = 32114;
} // namespace dialog_resource

// Remembered between commands, for every grid editor.
struct CommandMemory {
    bool descending = false;
    bool sort_match_case = false;
    bool html_table_only = false, html_letters = false, html_centred = false, html_colours = true;
    std::string html_title;
    int html_border = 1;
};
CommandMemory& memory()
{
    return toolkit_context().record<CommandMemory>(ContextSlot::grid_editor_commands);
}

GridRecord* grid_of(const GridEditorRecord& e) { return grid_control_of(e.grid); }

void message(std::string_view text, std::string_view caption, int icon = 3)
{
    WMessageBox(0, icon, 1, text, caption);
}

// Keeps the caller's last error number, and the current dialog, around a
// command.
class CommandScope {
public:
    explicit CommandScope(const GridEditorRecord& e)
        : saved_error_(error_state().last_error), dialog_(dialog_result_state().current_dialog),
          window_(window_tables().current)
    {
        error_state().last_error = 0;
        window_tables().current = e.window;
    }
    ~CommandScope()
    {
        window_tables().current = window_;
        if (dialog_ != 0 && dialog_ != dialog_result_state().current_dialog)
            WDialogSelect(dialog_);
        if (keep_error_)
            error_state().last_error = saved_error_;
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
    void keep_new_error() { keep_error_ = false; }

private:
    int saved_error_;
    int dialog_;
    int window_;
    bool keep_error_ = true;
};

} // namespace

// The file selection of the save and load commands; false when it was
// cancelled. The filter is taken to its last non-blank character; a blank
// title leaves the dialog its own; the filter index, when given, starts at
// it (1 without) and receives the one chosen.
bool grid_select_file(std::string_view filter, int flags, std::string& name, std::string_view title,
                      int* filter_index)
{
    std::array<char, 260> buffer{};
    std::copy_n(name.begin(), std::min(name.size(), buffer.size() - 1), buffer.begin());
    const std::string entries(filter.substr(0, std::min<std::size_t>(filter.find_last_not_of(' ') + 1, 1000)));
    const std::string heading(title.substr(0, 260));
    int index = filter_index ? *filter_index : 1;
    WSelectFile(-1, entries, flags, buffer, heading, index, 1);
    if (filter_index)
        *filter_index = index;
    if (dialog_result_state().answer != 1)
        return false;
    std::string_view chosen(buffer.data(), buffer.size());
    chosen = chosen.substr(0, chosen.find('\0'));
    chosen = chosen.substr(0, chosen.find_last_not_of(' ') + 1);
    name = chosen;
    return true;
}

namespace {

bool load_dialog(int resource)
{
    WDialogLoad(resource);
    if (error_state().last_error != 0) {
        error_state().last_error = 0;
        WMessageBox(0, 1, 1, "Unable to load required dialog", "Error");
        return false;
    }
    return true;
}

// Shows the current dialog semi-modeless at the editor's client origin
// and waits for its push buttons; `pressed` says whether a button ends the
// wait. Other events are not for the dialog and are let go.
int wait_for_buttons(const GridEditorRecord& e, const std::function<bool(int button)>& pressed)
{
    const int dialog = dialog_result_state().current_dialog;
    int snapshot = 0;
    dialog_window_snapshots(1, e.window, snapshot);
    WDialogShowAtWindow(0, 3, e.window);
    int button = 0;
    for (;;) {
        int type = 0;
        EventRecord record;
        WEventWait(type, record);
        if (type == event::push_button && record.slot(1) == dialog && pressed(record.slot(2))) {
            button = record.slot(2);
            break;
        }
        if (type == event::push_button && record.slot(1) == dialog)
            continue;
        if (dialog_index_by_id(dialog) < 0)
            break; // the dialog went away underneath
    }
    WDialogSelect(dialog);
    WDialogHide();
    dialog_window_snapshots(0, e.window, snapshot);
    return button;
}

int query(int code)
{
    int value = 0;
    int id = 0;
    grid_query(id, code, value);
    return value;
}

void empty_row(GridModel& m, int row, bool headings)
{
    for (int c = 0; c < m.column_count(); ++c) {
        if (m.columns[static_cast<std::size_t>(c)].type == GridCellType::menu)
            grid_cell_put_menu(m, c, row, 1);
        else
            grid_cell_clear(m, c, row, grid_clear_keep_menus);
    }
    if (headings && m.has_row_headings())
        m.set_row_heading(row, "");
}

} // namespace

int grid_editor_save_prompt(GridEditorRecord& e, HWND)
{
    const GridRecord* g = grid_of(e);
    if (!g || g->cells->modified_1 != 1)
        return 1;
    const std::string question = e.texts.file_name.empty() ? std::string("Do you want to save changes?")
                                                     : "Do you want to save changes to " + e.texts.file_name + "?";
    WMessageBox(4, 3, 1, question, editor_title);
    switch (dialog_result_state().answer) {
    case 1: return grid_editor_save_csv(e, false, -1, -1, -1, -1) ? 1 : 0;
    case 2: return 1;
    default: return 0;
    }
}

bool grid_editor_save_csv(GridEditorRecord& e, bool ask, int first_row, int last_row, int first_column,
                          int last_column)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return false;
    CommandScope scope(e);
    const bool selection = first_row != -1;
    std::string name = e.texts.file_name;
    if (ask || name.empty()) {
        if (selection)
            name = name.substr(0, name.find_last_of("\\/") == std::string::npos ? 0 : name.find_last_of("\\/") + 1);
        if (!grid_select_file(e.filter.empty() ? csv_filter : std::string_view(e.filter), 35, name, "", &e.filter_index))
            return false;
        if (!selection)
            e.texts.file_name = name;
    }
    GridRange range;
    if (selection)
        range = {first_column, last_column, first_row, last_row};
    else
        range = {0, g->cells->column_count() - 1, 0, g->cells->rows_in_use - 1};
    const int saved_mode = error_state().report_mode;
    error_state().report_mode = 0;
    const bool saved = grid_save_csv(g->model(), name, range, e.heading_line ? 2 : 0, e.backups, "WGridSave");
    error_state().report_mode = saved_mode;
    if (saved)
        return true;
    message(error_state().last_error == err::file_open ? "Error opening file" : "Error writing file", "File Error");
    return false;
}

bool grid_editor_load_csv(GridEditorRecord& e, bool ask)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return false;
    CommandScope scope(e);
    std::string name = e.texts.file_name.substr(0, 259);
    if (ask && !grid_select_file(e.filter.empty() ? csv_filter : std::string_view(e.filter), 160, name, "", &e.filter_index))
        return false;
    const int saved_mode = error_state().report_mode;
    error_state().report_mode = 0;
    WGridLoad(0, name, e.rows_grow ? 1 : 0, e.heading_line ? 2 : 0);
    error_state().report_mode = saved_mode;
    const int error = error_state().last_error;
    if (error == err::file_open || error == err::file_read_write) {
        message(error == err::file_open ? "Error opening file" : "Error reading file", "File Error");
        return false;
    }
    if (error == err::two_decimal_points || error == err::invalid_character)
        message("Non-numeric data found for numeric cell", "Data Error");
    else if (error == err::number_too_large || error == err::value_out_of_range)
        message("Out of range value found for numeric cell", "Data Error");
    else if (error == err::grid_file_too_large)
        message("File contains too many rows/columns", "Data Error");
    else if (error == err::menu_cell_value)
        message("Non-matching data found for menu cell", "Data Error");
    g->model().move_to(0, 0);
    e.texts.file_name = name;
    return true;
}

void grid_editor_delete_rows(GridEditorRecord& e)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return;
    CommandScope scope(e);
    GridModel& m = g->model();
    if (m.rows_in_use == 1 && e.rows_grow) {
        empty_row(m, 0, e.headings_move);
        return;
    }
    WGridDeleteRows(0, m.current_row + 1, 1, e.rows_grow ? 1 : 0, e.headings_move ? 1 : 0);
}

void grid_editor_insert_rows(GridEditorRecord& e, bool after)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return;
    CommandScope scope(e);
    GridModel& m = g->model();
    const int r = m.current_row + 1, n = m.rows_in_use;
    if (r == n && after) {
        // Only a grid that may grow gets a new last row, and only when the
        // rows really grew is it emptied.
        if (e.rows_grow && n < m.rows_created) {
            WGridRows(0, n + 1);
            empty_row(m, n, e.headings_move);
        }
        return;
    }
    WGridInsertRows(0, r + (after ? 1 : 0), 1, e.rows_grow ? 1 : 0, e.headings_move ? 1 : 0);
}

bool grid_editor_sort(GridEditorRecord& e)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return false;
    CommandScope scope(e);
    const GridModel& m = *g->cells;
    std::vector<std::string> names;
    for (int c = 0; c < m.column_count(); ++c) {
        std::string heading(m.column_heading(c + 1));
        names.push_back(heading.empty() ? "Column " + std::to_string(c + 1) : heading);
    }
    std::vector<std::string_view> items(names.begin(), names.end());
    if (!load_dialog(dialog_resource::sort))
        return false;
    WDialogPutMenu(1002, items, static_cast<int>(items.size()), m.current_column + 1);
    WDialogPutRadioButton(memory().descending ? 1005 : 1004);
    WDialogPutCheckBox(1006, memory().sort_match_case ? 1 : 0);
    WDialogShow(-1, -1, 0, 1);
    bool sorted = false;
    if (dialog_result_state().exit_button == 1) {
        int column = 1, direction = 1, match = 0;
        WDialogGetMenu(1002, column);
        WDialogGetRadioButton(1004, direction);
        WDialogGetCheckBox(1006, match);
        memory().descending = direction == 2;
        memory().sort_match_case = match == 1;
        const int flags = (memory().descending ? grid_sort_descending : 0) |
                          (memory().sort_match_case ? 0 : grid_sort_case_blind) |
                          (e.headings_move ? grid_sort_headings : 0);
        WGridSort(0, std::max(column, 1), flags, 1, m.rows_in_use);
        sorted = true;
    }
    WDialogUnload();
    return sorted;
}

void grid_editor_goto(GridEditorRecord& e, int kind)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return;
    CommandScope scope(e);
    namespace q = grid_query_code;
    const int columns = query(q::columns), rows = query(q::rows_in_use), column = query(q::current_column),
              row = query(q::current_row);
    if (!load_dialog(kind == 1 ? dialog_resource::goto_cell : dialog_resource::goto_row_or_column))
        return;
    if (kind == 1) {
        WDialogPutInteger(1002, column);
        WDialogRangeInteger(1002, 1, columns);
        WDialogPutInteger(1004, row);
        WDialogRangeInteger(1004, 1, rows);
    } else {
        WDialogTitle(kind == 2 ? "Goto Row" : "Goto Column");
        WDialogPutString(1001, kind == 2 ? "&Row" : "&Column");
        WDialogPutInteger(1002, kind == 2 ? row : column);
        WDialogRangeInteger(1002, 1, kind == 2 ? rows : columns);
    }
    WDialogShow(-1, -1, 0, 1);
    if (dialog_result_state().exit_button == 1) {
        int first = 0, second = 0;
        WDialogGetInteger(1002, first);
        if (kind == 1)
            WDialogGetInteger(1004, second);
        const int c = kind == 1 ? first : kind == 3 ? first : column;
        const int r = kind == 1 ? second : kind == 2 ? first : row;
        if (c >= 1 && c <= columns && r >= 1 && r <= rows)
            g->model().move_to(c - 1, r - 1);
    }
    WDialogUnload();
}

void grid_editor_find(GridEditorRecord& e, bool again)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return;
    CommandScope scope(e);
    const GridModel& m = *g->cells;
    bool texts = false, numbers = false;
    for (const GridColumn& c : m.columns) {
        texts = texts || c.type == GridCellType::text;
        numbers = numbers || (c.type >= GridCellType::integer && c.type <= GridCellType::double_precision);
    }
    if (!texts && !numbers) {
        message("Grid contains no searchable columns", "Find");
        return;
    }
    if (!texts)
        e.texts.search_numbers = true;
    if (!again) {
        if (!load_dialog(dialog_resource::find))
            return;
        WDialogPutString(1002, e.texts.find_text);
        WDialogPutCheckBox(1003, e.texts.match_case ? 1 : 0);
        WDialogPutCheckBox(1004, e.texts.search_numbers ? 1 : 0);
        WDialogFieldState(1004, texts && numbers ? 1 : 3);
        const int pressed = wait_for_buttons(e, [](int button) {
            if (button == 2)
                return true;
            if (button != 1)
                return false;
            int length = 0;
            WDialogGetStringLength(1002, length);
            if (length == 0)
                MessageBeep(MB_OK);
            return length > 0;
        });
        const bool go = pressed == 1;
        if (go) {
            std::array<char, 1024> text{};
            WDialogGetString(1002, text);
            std::string_view t(text.data(), text.size());
            e.texts.find_text = std::string(t.substr(0, t.find_last_not_of(' ') + 1));
            int match = 0, numeric = 0;
            WDialogGetCheckBox(1003, match);
            WDialogGetCheckBox(1004, numeric);
            e.texts.match_case = match == 1;
            e.texts.search_numbers = !texts || numeric == 1;
        }
        WDialogUnload();
        if (!go || e.texts.find_text.empty())
            return;
    }
    int found = 0;
    WGridFind(0, e.texts.find_text,
              grid_find_after_current | (e.texts.match_case ? 0 : grid_find_case_blind) |
                  (e.texts.search_numbers ? grid_find_numbers : 0),
              &found);
    if (found == 0)
        message("End of grid reached", "Find", 4);
}

bool grid_editor_print(GridEditorRecord& e, int first_row, int last_row, int first_column, int last_column)
{
    CommandScope scope(e);
    if (!load_dialog(dialog_resource::print))
        return false;
    int options[5] = {};
    int scale = 100;
    grid_print_options_get(options, scale, 2);
    WDialogPutCheckBox(1002, options[0]);
    WDialogPutCheckBox(1003, options[1]);
    WDialogPutRadioButton(options[2] ? 1006 : 1005);
    WDialogPutRadioButton(options[3] ? (options[4] ? 1010 : 1009) : 1008);
    WDialogPutInteger(1012, scale);
    const int pressed = wait_for_buttons(e, [](int button) {
        if (button == 1014)
            grid_page_setup(-1, 2);
        return button == 1 || button == 2;
    });
    bool printed = false;
    if (pressed == 1) {
        int rows = 0, columns = 0, headings = 1, colours = 1;
        WDialogGetCheckBox(1002, rows);
        WDialogGetCheckBox(1003, columns);
        WDialogGetRadioButton(1005, headings);
        WDialogGetRadioButton(1008, colours);
        WDialogGetInteger(1012, scale);
        const int chosen[5] = {rows, columns, headings == 2 ? 1 : 0, colours >= 2 ? 1 : 0, colours == 3 ? 1 : 0};
        grid_print_options_set(chosen, scale, 2);
        int ok = 0;
        grid_print(0, ok, first_row, last_row, first_column, last_column, 2, "");
        if (ok == 0)
            message("No printer installed", "Error", 1);
        printed = ok == 1;
    }
    WDialogUnload();
    return printed;
}

bool grid_editor_save_html(GridEditorRecord& e)
{
    GridRecord* g = grid_of(e);
    if (!g)
        return false;
    CommandScope scope(e);
    const GridModel& m = *g->cells;
    // The proposal: the file's name with its extension, after the last
    // path separator, changed to .htm.
    std::string proposal = e.texts.file_name;
    const auto separator = proposal.find_last_of("\\/");
    const auto dot = proposal.find_last_of('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
        proposal.resize(dot);
    if (!proposal.empty())
        proposal += ".htm";
    if (!load_dialog(dialog_resource::save_html))
        return false;
    CommandMemory& k = memory();
    WDialogPutString(1002, proposal);
    WDialogPutRadioButton(k.html_table_only ? 1006 : 1005);
    WDialogPutRadioButton(k.html_letters ? 1009 : 1008);
    WDialogPutCheckBox(1010, k.html_centred ? 1 : 0);
    WDialogPutCheckBox(1011, k.html_colours ? 1 : 0);
    WDialogPutString(1013, k.html_title);
    WDialogPutInteger(1015, k.html_border);
    const bool block = !m.selection.empty();
    WDialogFieldState(1018, block ? 1 : 0);
    WDialogPutRadioButton(block ? 1018 : 1017);
    // The name the file selection left: it has asked about replacing.
    std::string browsed;
    const auto field_name = [] {
        std::array<char, 260> text{};
        WDialogGetString(1002, text);
        std::string_view t(text.data(), text.size());
        return std::string(t.substr(0, t.find_last_not_of(' ') + 1));
    };
    const int pressed = wait_for_buttons(e, [&](int button) {
        if (button == 1003) {
            std::string name = field_name();
            if (grid_select_file(html_filter, 35, name, "", nullptr)) {
                browsed = name;
                WDialogPutString(1002, name);
            }
            return false;
        }
        if (button != 1)
            return button == 2;
        const std::string name = field_name();
        if (name.empty()) {
            message("You must enter a filename", "Select File");
            WDialogSetField(1002);
            return false;
        }
        if (name != browsed && GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
            WMessageBox(3, 3, 2, "File already exists:\r" + name + "\rDo you want to replace it?", "Select File");
            if (dialog_result_state().answer != 1) {
                WDialogSetField(1002);
                return false;
            }
        }
        return true;
    });
    bool saved = false;
    if (pressed == 1) {
        std::array<char, 1024> title{};
        const std::string file = field_name();
        WDialogGetString(1013, title);
        int page = 1, letters = 1, centred = 0, colours = 1, whole = 1;
        WDialogGetRadioButton(1005, page);
        WDialogGetRadioButton(1008, letters);
        WDialogGetCheckBox(1010, centred);
        WDialogGetCheckBox(1011, colours);
        WDialogGetInteger(1015, k.html_border);
        WDialogGetRadioButton(1017, whole);
        k.html_table_only = page == 2;
        k.html_letters = letters == 2;
        k.html_centred = centred == 1;
        k.html_colours = colours == 1;
        std::string_view t(title.data(), title.size());
        k.html_title = std::string(t.substr(0, t.find_last_not_of(' ') + 1));
        WDialogUnload();
        const int flags = (k.html_table_only ? 1 : 0) | (k.html_centred ? 2 : 0) | (k.html_letters ? 4 : 0) |
                          (k.html_colours ? 0 : 8);
        const GridBlock b = m.selection;
        const bool selection = whole == 2 && !b.empty();
        GridHtmlPage layout;
        layout.title = k.html_title;
        layout.border = k.html_border;
        layout.flags = flags;
        const GridRange range = selection ? GridRange{b.first_column, b.last_column, b.first_row, b.last_row}
                                          : GridRange{0, m.column_count() - 1, 0, m.rows_in_use - 1};
        const int saved_mode = error_state().report_mode;
        error_state().report_mode = 0;
        saved = grid_save_html(g->model(), file, range, layout, e.backups, "WGridSaveHTML");
        error_state().report_mode = saved_mode;
        if (!saved)
            message(error_state().last_error == err::file_open ? "Error opening file" : "Error writing file",
                    "File Error");
        return saved;
    }
    WDialogUnload();
    return saved;
}

} // namespace korv
