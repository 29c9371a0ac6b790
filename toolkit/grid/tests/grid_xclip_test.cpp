// The grid's clipboard against an outside program: the block copied here
// is read by xclip on the test's X display, and text xclip offers is
// pasted here (grid_xclip_check.sh runs both sides). The two sides take
// turns through marker files in the working directory.
#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs.h"

#include <cstdio>
#include <string>

using namespace korv;

namespace {

bool wait_for(const char* marker)
{
    for (int i = 0; i < 600; ++i) {
        if (GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES)
            return true;
        korv::testing::pump_dialog_messages(50); // the X selection is served from the message loop
    }
    return false;
}

void mark(const char* marker)
{
    if (FILE* f = std::fopen(marker, "w"))
        std::fclose(f);
}

int check(bool ok, const char* what)
{
    std::printf("%s %s\n", ok ? "ok" : "FAILED", what);
    return ok ? 0 : 1;
}

std::string cell(GridRecord& g, int column, int row)
{
    g.editor_store();
    std::string text;
    grid_cell_display_text(g.model(), column, row, text);
    return text;
}

} // namespace

int main()
{
    dialog_test::toolkit_up();
    WDialogLoad(1680);
    WDialogShow(-1, -1, 0, 2);
    korv::testing::pump_dialog_messages();
    GridRecord* g = grid_control_of(dialog_test::field(1681));
    if (!g)
        return check(false, "grid set up");
    GridModel& m = g->model();
    grid_cell_put_value(m, 0, 0, 5, "5", "");
    grid_cell_put_value(m, 0, 1, 17, "17", "");
    grid_cell_put_check(m, 1, 0, 1);
    grid_select_range(*g, 0, 1, 0, 1);
    int failures = check(grid_copy_selection(*g), "copy");
    mark("grid_copied.flag");
    if (!wait_for("grid_offered.flag"))
        return failures + check(false, "xclip offered text");

    grid_move_to_cell(*g, 0, 2, true, false);
    grid_paste(*g);
    failures += check(cell(*g, 0, 2) == "1", "1.5 stores 1 in the integer column");
    failures += check(cell(*g, 0, 3) == "", "2E3 is refused in the integer column");
    failures += check(cell(*g, 2, 3) == "2000.0", "2E3 is 2000 in the real column");
    failures += check(cell(*g, 1, 2) == "Yes", "yes ticks");
    failures += check(cell(*g, 1, 3) == "No", "Y unticks");
    failures += check(cell(*g, 3, 2) == "Apple", "app selects Apple");
    failures += check(cell(*g, 4, 2) == "", "11 is refused against 0..10");
    failures += check(cell(*g, 4, 3) == "7", "7 lies in 0..10");
    mark("grid_pasted.flag");
    dialog_test::unload_all();
    return failures;
}
