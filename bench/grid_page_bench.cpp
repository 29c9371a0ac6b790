// A page step of a grid on the screen, at 262,143 and at 10,000 rows: the
// grid goes to its last row, then pages up 200 times, each step painted.
// Run by bench/run_grid_bench.sh under Wine.
#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/grid.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

void pump_messages()
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < 50);
}

double page_steps(int id)
{
    HWND grid = GetDlgItem(korv::dialog_current_window(), id);
    HWND cells = FindWindowExA(grid, nullptr, "ZOQGRIDCLIENT", nullptr);
    int rows = 0;
    grid_query(id, korv::grid_query_code::rows_in_use, rows);
    if (!grid || !cells || id < 0)
        return -1;
    for (int r = 0; r < rows; r += 997)
        grid_cell_put_value(id, 0, r, 0, "row", "", 4, 1);
    grid_goto_cell(id, 0, rows - 1, -1);
    UpdateWindow(cells);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        SendMessageA(grid, WM_VSCROLL, SB_PAGEUP, 0);
        UpdateWindow(cells);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 200;
}

} // namespace

int main()
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480, 0, {}, 0,
               "Grid bench");
    WDialogLoad(1700);
    WDialogShow(-1, -1, 0, 2);
    pump_messages();
    const double tall = page_steps(1701);
    const double short_grid = page_steps(1702);
    std::printf("page step: 262,143 rows %.1f us, 10,000 rows %.1f us, ratio %.2f\n", tall * 1e6, short_grid * 1e6,
                tall / short_grid);
    WRootWindowClose();
    return 0;
}
