// A page step of a grid on the screen, at 262,143 and at 10,000 rows: the
// grid goes to its last row, then pages up 200 times, each step painted.
// Run by bench/run_grid_bench.sh under Wine.
#include "dialogs/tests/dialog_test_support.h"
#include "grid/grid_cells.h"
#include "grid/grid_control_win.h"

#include "korvanthide/dialogs.h"

#include <chrono>
#include <cstdio>

using namespace korv;

namespace {

double page_steps(HWND field)
{
    GridRecord* g = grid_control_of(field);
    if (!g)
        return -1;
    for (int r = 0; r < g->model().rows_in_use; r += 997)
        grid_cell_put_value(g->model(), 0, r, 0, "row", "");
    grid_move_to_cell(*g, 0, g->model().rows_in_use - 1, true, false);
    UpdateWindow(g->cell_area);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        SendMessageA(g->frame, WM_VSCROLL, SB_PAGEUP, 0);
        UpdateWindow(g->cell_area);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 200;
}

} // namespace

int main()
{
    dialog_test::toolkit_up();
    WDialogLoad(1700);
    WDialogShow(-1, -1, 0, 2);
    korv::testing::pump_dialog_messages();
    const double tall = page_steps(dialog_test::field(1701));
    const double short_grid = page_steps(dialog_test::field(1702));
    std::printf("page step: 262,143 rows %.1f us, 10,000 rows %.1f us, ratio %.2f\n", tall * 1e6, short_grid * 1e6,
                tall / short_grid);
    return 0;
}
