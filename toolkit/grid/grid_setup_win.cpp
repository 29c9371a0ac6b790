// Setting a grid up from its [Grids] entry: the hidden template dialog
// whose controls become the columns, the column header items, the
// row-heading controls and the cell area.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
// The template dialog's controls carry field records like a dialog's own,
// so that its extras block (ranges, lengths, colours) lands in them.
#include "dialogs/dialog_internal.h"
#include "grid/grid_extras_entry.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

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

INT_PTR CALLBACK template_dialog_proc(HWND dialog, UINT message, WPARAM, LPARAM l)
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

std::string window_text(HWND w)
{
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(w), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(w, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

struct TemplateColumn {
    HWND control;
    GridColumnSpec spec;
};

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
    const bool editable_kind = static_cast<int>(spec.type) <= static_cast<int>(GridCellType::double_precision);
    spec.all_protected = editable_kind && (style & ES_READONLY) != 0;
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

void fill_column(GridControl& g, int c, HWND control)
{
    GridColumn& col = g.model().columns[static_cast<std::size_t>(c)];
    GridColumnTemplate& t = g.templates[static_cast<std::size_t>(c)];
    const FieldRecord* r = field_record_of(control);
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    t.class_name = name;
    t.style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    t.ex_style = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
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
    t.width = std::min<int>(rect.right - rect.left, std::max<int>(area.right, 2));
    if (r) {
        col.minimum = r->minimum;
        col.maximum = r->maximum;
        col.format = r->format;
        col.foreground = r->foreground;
        col.background = r->background;
        t.small_step = r->small_step;
        t.large_step = r->large_step;
        t.step_base = r->step_base;
    }
    col.alignment = (t.style & ES_RIGHT) ? 2 : (t.style & ES_CENTER) ? 1 : 0;
    col.letter_case = (t.style & ES_UPPERCASE) ? 1 : (t.style & ES_LOWERCASE) ? 2 : 0;
    if (col.type == GridCellType::menu) {
        const int count = static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const LRESULT length = SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::string item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
            if (length >= 0)
                SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
            col.items.push_back(std::move(item));
        }
        RECT dropped{};
        SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        t.dropped_height = dropped.bottom - dropped.top;
    }
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
}

bool build_columns(GridControl& g, HWND dialog, int columns, int rows)
{
    GridModel& m = g.model();
    if (!g.cell_area) {
        RECT r;
        GetClientRect(g.frame, &r);
        g.cell_area = CreateWindowExA(0, cell_area_class, "", WS_CHILD | WS_VISIBLE, g.row_heading_width,
                                      g.header_height, std::max<int>(r.right - g.row_heading_width, 1),
                                      std::max<int>(r.bottom - g.header_height, g.row_height), g.frame,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
        if (!g.cell_area)
            return false;
    }
    const std::vector<HWND> controls = template_controls(dialog);
    if (static_cast<int>(controls.size()) < columns)
        return false;
    std::vector<GridColumnSpec> specs;
    for (int c = 0; c < columns; ++c)
        specs.push_back(spec_of(controls[static_cast<std::size_t>(c)], field_record_of(controls[static_cast<std::size_t>(c)])));
    const std::vector<std::string> row_texts = [&] {
        std::vector<std::string> keep;
        for (int r = 0; r < m.rows_created && !m.row_texts.empty(); ++r)
            keep.emplace_back(m.row_heading(r));
        return keep;
    }();
    if (!grid_allocate(m, rows, specs))
        return false;
    for (std::size_t r = 0; r < row_texts.size(); ++r)
        m.set_row_heading(static_cast<int>(r), row_texts[r]);
    g.templates.assign(specs.size(), GridColumnTemplate{});
    if (g.header) {
        HDITEMA corner{};
        char empty[1] = "";
        corner.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        corner.cxy = g.row_heading_width + 1;
        corner.pszText = empty;
        corner.fmt = HDF_STRING;
        SendMessageA(g.header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&corner));
    }
    for (int c = 0; c < columns; ++c)
        fill_column(g, c, controls[static_cast<std::size_t>(c)]);
    return true;
}

int row_heading_pixels(GridControl& g, int dialog_units)
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

std::size_t grid_apply_extras_entry(HWND frame, std::string_view rest)
{
    GridControl* g = grid_control_of(frame);
    if (!g)
        return 0;
    GridModel& m = g->model();
    const GridsEntry entry = grid_read_extras_entry(rest, m.style);
    // A grid is set up once; a second entry for it changes nothing.
    if (g->set_up)
        return entry.consumed;
    bool built = entry.sizes_valid();
    HWND dialog = nullptr;
    if (built) {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(entry.template_dialog),
                                    GetAncestor(frame, GA_ROOT), template_dialog_proc, entry.template_dialog);
        built = dialog != nullptr;
    }
    if (built) {
        if (m.has_row_headings())
            g->row_heading_width = row_heading_pixels(*g, entry.heading_width);
        m.rows_in_use = m.rows_created = entry.rows;
        if (m.has_row_headings()) {
            m.row_texts.assign(static_cast<std::size_t>(entry.rows) * grid_row_text_size, 0);
            for (std::size_t r = 0; r < entry.row_texts.size(); ++r)
                m.set_row_heading(static_cast<int>(r), entry.row_texts[r]);
        }
        built = build_columns(*g, dialog, entry.columns, entry.rows);
    }
    if (built) {
        g->template_dialog = entry.template_dialog;
        g->set_up = 1;
        RECT r;
        GetClientRect(frame, &r);
        MoveWindow(g->cell_area, g->row_heading_width, g->header_height,
                   std::max<int>(r.right - g->row_heading_width, 1),
                   std::max<int>(r.bottom - g->header_height, g->row_height), FALSE);
        grid_fit_rows(*g);
        grid_layout(*g);
        SendMessageA(frame, gm_header_widths, 0, 0);
        if (IsWindowEnabled(frame))
            grid_cell_editor_open(*g);
    }
    if (dialog)
        DestroyWindow(dialog);
    const std::size_t consumed = entry.consumed;
    if (!built)
        DestroyWindow(frame);
    return consumed;
}

} // namespace korv
