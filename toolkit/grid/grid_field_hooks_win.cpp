// A grid field as the dialog manager sees it: its field kind, its
// cell-change message, its read-only look and its options; its set-up from
// the [Grids] section, its copy and its clearing come from
// grid_field_win.cpp.
#include "korvanthide/dialogs_win.h"
#include "dialogs/field_classes.h"
#include "grid/grid_classes.h"

namespace korv {

namespace {

constexpr int grid_field_kind = 15;
// Grid styles: read-only (the edit control's bit), the cell editor taking
// every key (field option 1), and Tab moving between cells (option 2).
constexpr LONG style_read_only = 0x800;
constexpr LONG style_wants_all_keys = 0x1000;
constexpr LONG style_tab_moves = 0x4000;

void set_style_bit(HWND grid, LONG bit, bool on)
{
    const LONG style = GetWindowLongA(grid, GWL_STYLE);
    SetWindowLongA(grid, GWL_STYLE, on ? (style | bit) : (style & ~bit));
}

bool read_only(HWND grid) { return (GetWindowLongA(grid, GWL_STYLE) & style_read_only) != 0; }

void enable(HWND grid, int state)
{
    EnableWindow(grid, state == 1 || state == 2);
    set_style_bit(grid, style_read_only, state == 2);
    InvalidateRect(grid, nullptr, TRUE);
}

int set_option(HWND grid, int code, int value)
{
    if (code == 1 || code == 2) {
        set_style_bit(grid, code == 1 ? style_wants_all_keys : style_tab_moves, value != 0);
        return 0;
    }
    FieldRecord* r = field_record_of(grid);
    if (r == nullptr)
        return -1;
    if (code == 3)
        r->change_reporting = value != 0 ? 1 : 0;
    else if (code == 4)
        r->blank_allowed = value != 0 ? 1 : 0;
    return 0;
}

} // namespace

FieldClassHooks grid_field_hooks(const GridClassAtoms& atoms)
{
    FieldClassHooks hooks;
    hooks.atom = atoms.grid;
    hooks.kind = grid_field_kind;
    hooks.change_message = atoms.cell_change;
    hooks.read_only = read_only;
    hooks.enable = enable;
    hooks.set_option = set_option;
    grid_field_hooks_complete(hooks);
    return hooks;
}

} // namespace korv
