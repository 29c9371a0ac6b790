// A grid as a dialog field: how the grid routines find it, its copy into
// and out of a modal instance of its dialog, and its clearing.
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs_win.h"
#include "korvanthide/window.h"
#include "dialogs/field_classes.h"
#include "grid/grid_cells.h"
#include "grid/grid_editor_win.h"
#include "grid/grid_classes.h"
#include "grid/grid_routines.h"
#include "korvanthide/grid_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace korv {

HWND grid_window_of_id(int id)
{
    if (id == 0) {
        const WindowSlot* slot = win_slot(window_tables().current);
        const WindowContentRecord* r = slot && slot->frame ? win_content_record(slot->frame) : nullptr;
        return r && r->kind == ContentKind::grid_editor && grid_control_of(r->subject) ? r->subject : nullptr;
    }
    HWND dialog = dialog_current_window();
    HWND field = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!field || static_cast<ATOM>(GetClassLongA(field, GCW_ATOM)) != grid_class_atoms().grid)
        return nullptr;
    return field;
}

namespace {

GridModel* grid_by_id(int id)
{
    GridRecord* g = grid_control_of(grid_window_of_id(id));
    return g ? &g->model() : nullptr;
}

void copy_header_items(HWND from, HWND to, int count)
{
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        HDITEMA hd{};
        hd.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        hd.pszText = text;
        hd.cchTextMax = sizeof text;
        SendMessageA(from, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
        const bool exists = SendMessageA(to, HDM_GETITEMCOUNT, 0, 0) > i;
        SendMessageA(to, exists ? HDM_SETITEMA : HDM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&hd));
    }
    // Columns rebuilt fewer than before leave no headings behind.
    for (auto i = SendMessageA(to, HDM_GETITEMCOUNT, 0, 0) - 1; i >= count; --i)
        SendMessageA(to, HDM_DELETEITEM, static_cast<WPARAM>(i), 0);
}

bool owns_column_controls(const GridRecord& g)
{
    return std::any_of(g.templates.begin(), g.templates.end(),
                       [&](const GridColumnControl& t) { return g.owns(t); });
}

// Column controls of d's own, copied from s's.
void copy_column_controls(GridRecord& d, const GridRecord& s)
{
    grid_column_controls_destroy(d);
    for (std::size_t c = 0; c < s.templates.size() && c < d.model().columns.size(); ++c) {
        GridColumnControl t = s.templates[c];
        t.window = d.cell_area ? grid_column_control_copy(d, t.window, d.model().columns[c], t.width,
                                                          t.dropped_height)
                               : nullptr;
        d.templates.push_back(t);
        grid_column_control_sync(d, static_cast<int>(c));
    }
}

// The destination's editor takes what the source's holds, typing not yet
// stored included: its text, and by class its check state, its selection,
// or its field record's value, has-value flag and modified state.
void copy_editor_state(GridRecord& d, const GridRecord& s)
{
    if (!d.editor || !s.editor)
        return;
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(s.editor), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        std::max(GetWindowTextA(s.editor, text.data(), static_cast<int>(text.size())), 0)));
    grid_editor_text_set(d, text.c_str());
    char name[32] = {};
    GetClassNameA(s.editor, name, sizeof name);
    if (lstrcmpiA(name, "BUTTON") == 0) {
        SendMessageA(d.editor, BM_SETCHECK, SendMessageA(s.editor, BM_GETCHECK, 0, 0), 0);
    } else if (lstrcmpiA(name, "COMBOBOX") == 0) {
        const LRESULT selected = SendMessageA(s.editor, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR)
            SendMessageA(d.editor, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    } else {
        FieldRecord* to = field_record_of(d.editor);
        const FieldRecord* from = field_record_of(s.editor);
        if (to && from) {
            to->value = from->value;
            to->has_value = from->has_value;
        }
        SendMessageA(d.editor, EM_SETMODIFY, SendMessageA(s.editor, EM_GETMODIFY, 0, 0), 0);
    }
}

} // namespace

// The two copies of a grid share their cells; the destination takes the
// source's view of them (columns, scroll position, current cell).
void grid_copy_from_instance(HWND destination, HWND source)
{
    GridRecord* d = grid_control_of(destination);
    GridRecord* s = grid_control_of(source);
    if (!d || !s || !s->set_up)
        return;
    grid_cell_editor_close(*d, false);
    const bool into_instance = !dialog_is_modal_instance(GetParent(source));
    if (into_instance) {
        d->cells = s->cells;
        d->shared_with = source;
        d->font = s->font;
        d->templates = s->templates;
        d->row_heading_width = s->row_heading_width;
        d->header_height = s->header_height;
        d->template_dialog = s->template_dialog;
        d->set_up = 1;
        d->inert = 0;
        grid_cell_area_make(*d);
    } else if (owns_column_controls(*s)) {
        // The instance rebuilt the columns: its controls go with it.
        copy_column_controls(*d, *s);
    } else {
        d->templates = s->templates;
    }
    if (d->header && s->header)
        copy_header_items(s->header, d->header, static_cast<int>(SendMessageA(s->header, HDM_GETITEMCOUNT, 0, 0)));
    d->first_visible_column = s->first_visible_column;
    d->cells->view = d;
    grid_fit_rows(*d);
    grid_layout(*d);
    if (s->editor && IsWindowEnabled(destination)) {
        grid_cell_editor_open(*d);
        copy_editor_state(*d, *s);
    }
    InvalidateRect(d->cell_area, nullptr, TRUE);
}


void grid_share_columns(GridRecord& shown, const GridRecord& g)
{
    grid_cell_editor_close(shown, false);
    shown.templates = g.templates;
    shown.first_visible_column = g.first_visible_column;
    if (shown.header && g.header)
        copy_header_items(g.header, shown.header, static_cast<int>(SendMessageA(g.header, HDM_GETITEMCOUNT, 0, 0)));
    grid_layout(shown);
    SendMessageA(shown.frame, GM_HEADERWIDTHS, 0, 0);
    if (IsWindowEnabled(shown.frame))
        grid_cell_editor_open(shown);
    if (shown.cell_area)
        InvalidateRect(shown.cell_area, nullptr, TRUE);
}

void grid_clone_from(HWND destination, HWND source)
{
    GridRecord* d = grid_control_of(destination);
    GridRecord* s = grid_control_of(source);
    if (!d || !s || !s->set_up)
        return;
    s->editor_store();
    const int style = d->model().style;
    d->cells = std::make_shared<GridModel>(*s->cells);
    d->model().style = style;
    d->model().view = d;
    d->model().selection = GridBlock{};
    d->model().top_row = 0;
    grid_column_controls_destroy(*d);
    d->row_heading_width = s->row_heading_width;
    d->template_dialog = s->template_dialog;
    d->set_up = 1;
    grid_cell_area_make(*d);
    // The copy lives on its own: it gets column controls of its own.
    copy_column_controls(*d, *s);
    if (d->header && s->header)
        copy_header_items(s->header, d->header, static_cast<int>(SendMessageA(s->header, HDM_GETITEMCOUNT, 0, 0)));
    grid_fit_rows(*d);
    grid_layout(*d);
    grid_cell_editor_open(*d);
}

namespace {

void grid_clear(HWND field) { grid_clear_all(field, 1); }

} // namespace

void grid_field_hooks_complete(FieldClassHooks& hooks);

void grid_directory_install()
{
    GridDirectory& d = grid_directory();
    d.dialog_current = [] { return dialog_current_window() != nullptr; };
    d.find = grid_by_id;
    d.editor_texts = grid_editor_texts;
    d.current_window = [] { return window_tables().current; };
}

void grid_field_hooks_complete(FieldClassHooks& hooks)
{
    hooks.extras_entry = [](HWND field, std::string_view rest) {
        std::size_t consumed = 0;
        grid_parse_extras_entry(field, rest, consumed);
        return consumed;
    };
    hooks.copy_from = grid_copy_from_instance;
    hooks.clear = grid_clear;
}

} // namespace korv

void grid_clear_all(HWND grid, int flag)
{
    korv::GridRecord* g = korv::grid_control_of(grid);
    if (!g || !g->set_up)
        return;
    // The editor shows its cell emptied as the cells are (its list emptied
    // with flag 1).
    korv::grid_cells_clear_all(g->model(), flag != 0);
    if (g->cell_area)
        RedrawWindow(g->cell_area, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}
