// Setting a grid up from its [Grids] entry, and rebuilding its columns
// with another choice: the hidden template dialog whose controls become
// the columns' hidden controls, the column header items, the row headings
// and the cell area.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
// The template dialog's controls carry field records like a dialog's own,
// so that its extras block (ranges, lengths, colours) lands in them.
#include "dialogs/dialog_internal.h"
#include "grid/grid_editor_win.h"
#include "grid/grid_extras_entry.h"
#include "grid/grid_routines.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <new>
#include <string>

namespace korv {

namespace {

constexpr char cell_area_class[] = "ZOQGRIDCLIENT";

bool is_number_class(ATOM atom)
{
    const ControlClassAtoms& a = control_class_atoms();
    return atom != 0 && (atom == a.integer_edit || atom == a.integer_spin || atom == a.real_edit ||
                         atom == a.real_spin || atom == a.double_edit || atom == a.double_spin);
}

ATOM class_atom(HWND control) { return static_cast<ATOM>(GetClassLongA(control, GCW_ATOM)); }

std::string window_text(HWND w)
{
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(w), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(w, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

std::string class_name_of(HWND w)
{
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

bool is_edit_kind(GridCellType type) { return static_cast<int>(type) <= static_cast<int>(GridCellType::double_precision); }

GridColumnSpec spec_of(HWND control, const FieldRecord* record)
{
    const ControlClassAtoms& a = control_class_atoms();
    const ATOM atom = class_atom(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    GridColumnSpec spec;
    if (atom == a.edit) {
        spec.type = GridCellType::text;
        spec.max_length = record && record->maximum_length > 0 ? record->maximum_length : grid_default_text_length;
    } else if (atom == a.integer_edit || atom == a.integer_spin) {
        spec.type = GridCellType::integer;
    } else if (atom == a.real_edit || atom == a.real_spin) {
        spec.type = GridCellType::real;
    } else if (atom == a.double_edit || atom == a.double_spin) {
        spec.type = GridCellType::double_precision;
    } else if (atom == a.button && (style & 0xF) == BS_AUTOCHECKBOX) {
        spec.type = GridCellType::check_box;
    } else if (atom == a.combobox) {
        spec.type = GridCellType::menu;
    } else {
        spec.type = GridCellType::text;
        spec.max_length = 1; // one byte a cell, nothing to type
    }
    spec.all_protected = is_edit_kind(spec.type) && (style & ES_READONLY) != 0;
    spec.spinner = atom == a.integer_spin || atom == a.real_spin || atom == a.double_spin;
    return spec;
}

// The template's controls in order, a spinner standing with its field.
std::vector<HWND> template_controls(HWND dialog)
{
    std::vector<HWND> controls;
    std::vector<HWND> partners;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (std::find(partners.begin(), partners.end(), c) != partners.end())
            continue;
        controls.push_back(c);
        if (const FieldRecord* r = field_record_of(c); r && r->updown_partner)
            partners.push_back(r->updown_partner);
    }
    return controls;
}

std::vector<std::string> combo_items(HWND combo)
{
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        if (length >= 0)
            SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        items.push_back(std::move(item));
    }
    return items;
}

void destroy_column_control(HWND control)
{
    if (!control)
        return;
    if (const FieldRecord* r = field_record_of(control); r && r->updown_partner)
        DestroyWindow(r->updown_partner);
    // Number fields free their own record; the others carry the one the
    // column gave them.
    if (!is_number_class(class_atom(control)))
        delete field_record_detach(control);
    DestroyWindow(control);
}

// The pixels of 4 horizontal dialog units of the dialog that asks for the
// widths, or of the template dialog when no dialog is current.
int width_unit(HWND template_dialog)
{
    RECT r{0, 0, 4, 8};
    HWND current = dialog_current_window();
    MapDialogRect(current ? current : template_dialog, &r);
    return r.right;
}

// The column's properties in the model, from its template control.
void describe_column(GridRecord& g, int c, HWND control)
{
    GridColumn& col = g.model().columns[static_cast<std::size_t>(c)];
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (const FieldRecord* r = field_record_of(control)) {
        col.minimum = r->minimum;
        col.maximum = r->maximum;
        col.format = r->format;
        col.foreground = r->foreground;
        col.background = r->background;
        col.small_step = r->small_step;
        col.large_step = r->large_step;
        col.step_base = r->step_base;
    }
    col.alignment = (style & ES_RIGHT) ? 2 : (style & ES_CENTER) ? 1 : 0;
    col.letter_case = (style & ES_UPPERCASE) ? 1 : (style & ES_LOWERCASE) ? 2 : 0;
    if (col.type == GridCellType::menu)
        col.items = combo_items(control);
}

bool build_column(GridRecord& g, int c, HWND control, int width)
{
    GridColumnControl& t = g.templates[static_cast<std::size_t>(c)];
    const FieldRecord* r = field_record_of(control);
    RECT rect;
    GetWindowRect(control, &rect);
    if (r && r->updown_partner) {
        RECT spin;
        GetWindowRect(r->updown_partner, &spin);
        rect.right = std::max(rect.right, spin.right);
        t.spinner = true;
    }
    RECT area{};
    GetClientRect(g.cell_area, &area);
    t.width = std::min<int>(width >= 0 ? width : rect.right - rect.left, std::max<int>(area.right, 2));
    describe_column(g, c, control);
    const GridColumn& col = g.model().columns[static_cast<std::size_t>(c)];
    if (col.type == GridCellType::menu) {
        RECT dropped{};
        SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        t.dropped_height = dropped.bottom - dropped.top;
    }
    t.window = grid_column_control_copy(g, control, col, t.width, t.dropped_height);
    if (!t.window)
        return false;
    if (g.header) {
        HDITEMA hd{};
        std::string caption = window_text(control);
        hd.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        hd.cxy = t.width - 1;
        hd.pszText = caption.data();
        hd.fmt = HDF_STRING | HDF_CENTER;
        SendMessageA(g.header, HDM_INSERTITEMA, static_cast<WPARAM>(c + 1), reinterpret_cast<LPARAM>(&hd));
        g.model().column_headings[static_cast<std::size_t>(c + 1)] = caption;
    }
    return true;
}

} // namespace

bool grid_cell_area_make(GridRecord& g)
{
    if (g.cell_area)
        return true;
    RECT r;
    GetClientRect(g.frame, &r);
    g.cell_area = CreateWindowExA(0, cell_area_class, "", WS_CHILD | WS_VISIBLE, g.row_heading_width,
                                  g.header_height, std::max<int>(r.right - g.row_heading_width, 1),
                                  std::max<int>(r.bottom - g.header_height, g.row_height), g.frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    return g.cell_area != nullptr;
}

namespace {

// The template controls the columns take: in order, or at the chosen
// positions. Empty when a position names no control.
std::vector<HWND> chosen_controls(HWND dialog, int columns, const GridColumnChoice* choice)
{
    const std::vector<HWND> controls = template_controls(dialog);
    std::vector<HWND> chosen;
    for (int c = 0; c < columns; ++c) {
        const int position = choice ? choice->positions[c] : c + 1;
        if (position < 1 || position > static_cast<int>(controls.size()))
            return {};
        chosen.push_back(controls[static_cast<std::size_t>(position - 1)]);
    }
    return chosen;
}

bool build_columns(GridRecord& g, HWND dialog, const GridColumnChoice* choice)
{
    GridModel& m = g.model();
    const int columns = g.columns_to_build;
    if (!grid_cell_area_make(g) || columns < 1 || columns > grid_max_columns || (choice && !choice->positions))
        return false;
    const std::vector<HWND> controls = chosen_controls(dialog, columns, choice);
    if (controls.empty())
        return false;
    std::vector<GridColumnSpec> specs;
    for (HWND control : controls)
        specs.push_back(spec_of(control, field_record_of(control)));
    // The rows, their headings and the declared column count outlive a
    // rebuild; every cell starts empty.
    const std::vector<char> row_texts = m.row_texts;
    const int rows_in_use = m.rows_in_use;
    const int declared = m.declared_columns;
    if (!grid_allocate(m, m.rows_created, specs))
        return false;
    if (row_texts.size() == m.row_texts.size())
        m.row_texts = row_texts;
    m.rows_in_use = std::clamp(rows_in_use, 0, m.rows_created);
    if (declared > 0)
        m.declared_columns = declared;
    g.templates.assign(specs.size(), GridColumnControl{});
    if (g.header) {
        HDITEMA corner{};
        char empty[1] = "";
        corner.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        corner.cxy = g.row_heading_width + 1;
        corner.pszText = empty;
        corner.fmt = HDF_STRING;
        SendMessageA(g.header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&corner));
    }
    const bool sized = choice && choice->widths && choice->widths[0] != -1;
    const int unit = sized ? width_unit(dialog) : 0;
    for (int c = 0; c < columns; ++c) {
        const int width = sized ? unit * std::max(choice->widths[c], 0) / 4 : -1;
        if (!build_column(g, c, controls[static_cast<std::size_t>(c)], width)) {
            grid_column_controls_destroy(g);
            m.columns.clear();
            return false;
        }
    }
    return true;
}

int row_heading_pixels(GridRecord& g, int dialog_units)
{
    HDC dc = GetDC(g.frame);
    HGDIOBJ old = g.font ? SelectObject(dc, g.font) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(g.frame, dc);
    return dialog_units * tm.tmAveCharWidth / 4;
}

} // namespace

// The hidden template dialog: its controls get field records (the number
// fields make their own) that its extras block fills; it answers nothing.
INT_PTR CALLBACK grid_template_dialog_proc(HWND dialog, UINT message, WPARAM, LPARAM l)
{
    if (message == WM_INITDIALOG) {
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!is_number_class(class_atom(c)) && !field_record_of(c))
                field_record_attach(c, new FieldRecord{});
        dialog_parse_extras(dialog, static_cast<int>(l), -1);
    } else if (message == WM_DESTROY) {
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!is_number_class(class_atom(c)))
                delete field_record_detach(c);
    }
    return 0;
}

namespace {

HWND template_dialog_create(HWND frame, int identifier)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(identifier), GetAncestor(frame, GA_ROOT),
                              grid_template_dialog_proc, identifier);
}

} // namespace

HWND grid_column_control_copy(GridRecord& g, HWND from, const GridColumn& col, int width, int dropped_height)
{
    const bool check_box = col.type == GridCellType::check_box;
    DWORD style = static_cast<DWORD>(GetWindowLongA(from, GWL_STYLE)) | WS_BORDER | WS_CHILD;
    style &= ~static_cast<DWORD>(WS_VISIBLE | WS_DISABLED | WS_POPUP);
    if (col.type == GridCellType::menu)
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
    if (is_edit_kind(col.type)) {
        // Multi-line: the painting asks it where the first character of a
        // cell's text goes.
        style |= ES_MULTILINE;
        if (g.model().read_only())
            style |= ES_READONLY;
    }
    if (check_box && g.model().read_only())
        style = (style & ~0xFu) | BS_CHECKBOX;
    if (!IsWindowEnabled(g.frame))
        style |= WS_DISABLED;
    const int height = g.row_height + (col.type == GridCellType::menu ? dropped_height : 0);
    const std::string class_name = class_name_of(from);
    HWND control = CreateWindowExA(WS_EX_NOPARENTNOTIFY, class_name.c_str(), check_box ? std::string(29, ' ').c_str() : "",
                                   style, 0, 0, std::max(width, 1), height, g.cell_area,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    if (!control)
        return nullptr;
    FieldRecord* record = field_record_of(control);
    if (!record) {
        record = new (std::nothrow) FieldRecord{};
        if (!record) {
            DestroyWindow(control);
            return nullptr;
        }
        field_record_attach(control, record);
    }
    if (g.font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), 0);
    if (col.type == GridCellType::integer)
        SendMessageA(control, EM_LIMITTEXT, 11, 0);
    else if (is_edit_kind(col.type))
        SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(col.max_length), 0);
    if (const FieldRecord* source = field_record_of(from)) {
        record->small_step = source->small_step;
        record->large_step = source->large_step;
        record->step_base = source->step_base;
        record->value = source->value;
        if (source->updown_partner && record->updown_partner) {
            const LRESULT range = SendMessageA(source->updown_partner, UDM_GETRANGE, 0, 0);
            SendMessageA(record->updown_partner, UDM_SETRANGE, 0, range);
        }
    }
    record->maximum_length = col.max_length;
    record->has_value = 0;
    if (col.type == GridCellType::menu) {
        for (const std::string& item : combo_items(from))
            SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(SendMessageA(from, CB_GETCURSEL, 0, 0)), 0);
    }
    return control;
}

void grid_column_control_sync(GridRecord& g, int column)
{
    if (column < 0 || column >= static_cast<int>(g.templates.size()) || column >= g.model().column_count())
        return;
    HWND control = g.templates[static_cast<std::size_t>(column)].window;
    FieldRecord* record = control ? field_record_of(control) : nullptr;
    if (!record)
        return;
    const GridColumn& col = g.model().columns[static_cast<std::size_t>(column)];
    record->minimum = col.minimum;
    record->maximum = col.maximum;
    record->format = col.format;
    record->foreground = col.foreground;
    record->background = col.background;
    record->small_step = col.small_step;
    record->large_step = col.large_step;
    record->step_base = col.step_base;
    // An editor open in the column takes the same range and steps.
    if (FieldRecord* e = g.editor && g.model().current_column == column ? field_record_of(g.editor) : nullptr) {
        e->minimum = col.minimum;
        e->maximum = col.maximum;
        e->small_step = col.small_step;
        e->large_step = col.large_step;
        e->step_base = col.step_base;
        e->format = col.format;
    }
    if (col.type != GridCellType::menu || combo_items(control) == col.items)
        return;
    const LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
    SendMessageA(control, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : col.items)
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (selected >= 0 && selected < static_cast<LRESULT>(col.items.size()))
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void GridRecord::column_changed(int column) { grid_column_control_sync(*this, column); }

void GridRecord::range_changed(int column)
{
    if (column < 0 || column >= static_cast<int>(templates.size()))
        return;
    const GridColumn& col = model().columns[static_cast<std::size_t>(column)];
    // An up-down control holds 16-bit positions.
    const auto limit = [](double v) { return static_cast<int>(std::clamp(v, -31073.0, 31073.0)); };
    const LPARAM range = MAKELPARAM(limit(col.maximum), limit(col.minimum));
    HWND controls[] = {templates[static_cast<std::size_t>(column)].window,
                       editor && model().current_column == column ? editor : nullptr};
    for (HWND control : controls)
        if (const FieldRecord* r = control ? field_record_of(control) : nullptr; r && r->updown_partner)
            SendMessageA(r->updown_partner, UDM_SETRANGE, 0, range);
}

void grid_column_controls_destroy(GridRecord& g)
{
    // A modal instance's grid shows the loaded dialog's columns and leaves
    // their controls to it.
    for (GridColumnControl& t : g.templates)
        if (g.owns(t))
            destroy_column_control(t.window);
    g.templates.clear();
}

LRESULT grid_on_build_columns(GridRecord& g, HWND dialog, const GridColumnChoice* choice)
{
    if (!dialog || !build_columns(g, dialog, choice))
        return 0;
    for (int c = 0; c < g.model().column_count(); ++c)
        grid_column_control_sync(g, c);
    RECT r;
    GetClientRect(g.frame, &r);
    MoveWindow(g.cell_area, g.row_heading_width, g.header_height, std::max<int>(r.right - g.row_heading_width, 1),
               std::max<int>(r.bottom - g.header_height, g.row_height), FALSE);
    grid_fit_rows(g);
    if (IsWindowEnabled(g.frame) && !g.editor) {
        // The editor's place follows the columns laid out.
        grid_layout(g);
        g.set_up = 1;
        grid_cell_editor_open(g);
    }
    return 1;
}

LRESULT grid_on_set_row_headings(GridRecord& g, int width, const std::string_view* text)
{
    GridModel& m = g.model();
    try {
        m.row_texts.assign(static_cast<std::size_t>(std::max(m.rows_created, 0)) * grid_row_text_size, 0);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    g.row_heading_width = row_heading_pixels(g, width);
    if (!text)
        return 0;
    const GridRowLines lines = grid_read_row_lines(*text, m.rows_in_use, m.style);
    for (std::size_t r = 0; r < lines.texts.size(); ++r)
        m.set_row_heading(static_cast<int>(r), lines.texts[r]);
    return static_cast<LRESULT>(lines.consumed);
}

void grid_parse_extras_entry(HWND frame, std::string_view rest, std::size_t& consumed)
{
    consumed = 0;
    GridRecord* g = grid_control_of(frame);
    if (!g)
        return;
    GridModel& m = g->model();
    const GridsEntry entry = grid_read_extras_entry(rest, m.style);
    // A grid is set up once; a second entry for it changes nothing.
    if (g->set_up) {
        consumed = entry.consumed;
        return;
    }
    bool built = entry.sizes_valid();
    HWND dialog = nullptr;
    if (built) {
        SendMessageA(frame, GM_SETSIZE, static_cast<WPARAM>(entry.rows), entry.columns);
        m.declared_columns = entry.columns;
        dialog = template_dialog_create(frame, entry.template_dialog);
        built = dialog != nullptr;
    }
    consumed = entry.consumed;
    if (built && m.has_row_headings()) {
        const std::string_view text = rest.substr(entry.heading_line);
        const LRESULT used = SendMessageA(frame, GM_SETROWHEADINGS, static_cast<WPARAM>(entry.heading_width),
                                          reinterpret_cast<LPARAM>(&text));
        if (used < 0)
            built = false;
        else
            consumed = entry.heading_line + static_cast<std::size_t>(used);
    }
    if (built)
        built = SendMessageA(frame, GM_BUILDCOLUMNS, reinterpret_cast<WPARAM>(dialog), 0) == 1;
    if (built) {
        SendMessageA(frame, GM_LAYOUT, 0, 0);
        SendMessageA(frame, GM_HEADERWIDTHS, 0, 0);
        g->template_dialog = entry.template_dialog;
        g->set_up = 1;
    }
    if (dialog)
        DestroyWindow(dialog);
    if (!built)
        DestroyWindow(frame);
}
namespace {

// The current window's grid editor when `grid` is its grid.
GridEditorRecord* current_grid_editor(HWND grid)
{
    const WindowSlot* slot = win_slot(window_tables().current);
    GridEditorRecord* e = slot ? grid_editor_of(slot->frame) : nullptr;
    return e && e->subject == grid ? e : nullptr;
}

} // namespace

void grid_record_cell_change(int id, HWND frame, int packed)
{
    if (id == 0) {
        if (GridEditorRecord* e = current_grid_editor(frame))
            e->previous_cell = packed;
        return;
    }
    DialogRecord* d = dialog_record_of(dialog_current_window());
    if (d && d->current_field == id)
        d->last_extra_word = packed;
}

void grid_refit_editor_window(HWND frame)
{
    if (GridEditorRecord* e = current_grid_editor(frame))
        grid_editor_fit_window(*e, win_slot(window_tables().current)->frame);
}

namespace {

bool rebuild(int id, HWND frame, GridRecord& g, const GridColumnChoice& choice, int columns)
{
    GridModel& m = g.model();
    grid_clear_selection(g);
    const bool focus_inside = grid_focus_inside(g);
    m.current_column = m.current_row = 0;
    grid_record_cell_change(id, frame, grid_packed_cell(0, 0));
    SendMessageA(frame, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    SendMessageA(frame, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    grid_cell_editor_close(g, true);
    if (g.header)
        for (auto item = SendMessageA(g.header, HDM_GETITEMCOUNT, 0, 0) - 1; item >= 0; --item)
            SendMessageA(g.header, HDM_DELETEITEM, static_cast<WPARAM>(item), 0);
    grid_column_controls_destroy(g);
    std::vector<GridColumn>().swap(m.columns);
    g.first_visible_column = 0;
    HWND dialog = template_dialog_create(frame, g.template_dialog);
    g.columns_to_build = columns;
    const bool built =
        dialog && SendMessageA(frame, GM_BUILDCOLUMNS, reinterpret_cast<WPARAM>(dialog),
                               reinterpret_cast<LPARAM>(&choice)) == 1;
    if (dialog)
        DestroyWindow(dialog);
    SendMessageA(frame, GM_LAYOUT, 0, 0);
    if (built) {
        SendMessageA(frame, GM_HEADERWIDTHS, 0, 0);
        if (focus_inside && IsWindowVisible(frame))
            SetFocus(frame);
        if (id == 0)
            grid_refit_editor_window(frame);
    }
    if (g.cell_area)
        RedrawWindow(g.cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // A modal instance showing these cells shows the new columns too.
    if (auto* shown = dynamic_cast<GridRecord*>(m.view); shown && shown != &g)
        grid_share_columns(*shown, g);
    return built;
}

} // namespace

} // namespace korv

using namespace korv;

void grid_columns_rebuild(int& id, const int& columns, const int* control_numbers, const int* widths)
{
    HWND frame = grid_window_of_id(id);
    GridRecord* g = grid_control_of(frame);
    const bool usable = g && g->set_up && g->cell_area && columns >= 1 && columns <= grid_max_columns &&
                        control_numbers && widths;
    if (!usable || !rebuild(id, frame, *g, GridColumnChoice{control_numbers, widths}, columns))
        id = -1;
}
