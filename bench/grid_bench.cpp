// Speed of the grid's cells: filling through the public puts, sorting and
// finding, each beside the standard library doing the same work on the
// same strings in this process, and saving and loading a comma-separated
// file. The grids are fields of a dialog that is loaded and never shown.
// Run by bench/run_grid_bench.sh under Wine, which sets the files' times
// beside python3's csv module.
#include "korvanthide/dialogs.h"
#include "korvanthide/grid.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"

#include "bench_timing.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double resident_bytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize);
}

std::string word(std::mt19937& random)
{
    std::string w(1 + random() % 15, ' ');
    for (char& c : w)
        c = static_cast<char>('a' + random() % 26);
    return w;
}

int rows_of(int id)
{
    int rows = 0;
    grid_query(id, korv::grid_query_code::rows_created, rows);
    return rows;
}

// Column 1 text, 2 integer, 3 double shown as (F10.2), 4 check box, 5 menu
// of three items; rows count from 0 in the back ends.
void put_row(int id, int row, const std::string& text, std::mt19937& random)
{
    int grid = id;
    const double zero = 0;
    grid_cell_put_value(grid, 0, row, zero, text.c_str(), "", static_cast<int>(text.size()) + 1, 1);
    WGridPutCellInteger(id, 2, row + 1, static_cast<int>(random() % 1000000));
    WGridPutCellDouble(id, 3, row + 1, (random() % 100000) / 100.0, "(F10.2)");
    grid_cell_put_check(grid, 3, row, row & 1);
    grid_cell_put_menu(grid, 4, row, 1 + row % 3);
}

void run(int id)
{
    const int rows = rows_of(id);
    std::mt19937 random(static_cast<unsigned>(rows));
    std::vector<std::string> words(static_cast<std::size_t>(rows));
    for (auto& w : words)
        w = word(random);
    words.back() = "zzzzqqqq";
    for (int r = 0; r + 1 < rows; ++r)
        if (words[static_cast<std::size_t>(r)].find("zzzzqqqq") != std::string::npos)
            words[static_cast<std::size_t>(r)] = "a";

    WGridRows(id, rows);
    auto start = Clock::now();
    for (int r = 0; r < rows; ++r)
        put_row(id, r, words[static_cast<std::size_t>(r)], random);
    const double fill = seconds_since(start);
    std::printf("rows %d\n", rows);
    std::printf("  fill through the public puts: %.3f s, %.3f us a cell\n", fill, fill * 1e6 / (5.0 * rows));

    std::vector<std::string> copy = words;
    start = Clock::now();
    std::sort(copy.begin(), copy.end());
    const double std_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(id, 1);
    const double word_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(id, 2);
    const double int_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(id, 1);
    const double resort_unsorted = seconds_since(start);
    start = Clock::now();
    WGridSort(id, 1);
    const double resort = seconds_since(start);
    std::printf("  sort words %.4f s (std::sort %.4f s, ratio %.2f); integers %.4f s; words again %.4f s, "
                "then on sorted input %.4f s\n",
                word_sort, std_sort, word_sort / std_sort, int_sort, resort_unsorted, resort);

    // A find also makes the found cell the current one, which under Wine is
    // window work of some milliseconds whatever the grid's size; the
    // standard library's side does the same move to the row it found, so
    // the ratio sets search beside search. Medians of five.
    const auto from_top = [id] {
        int grid = id;
        grid_goto_cell(grid, 0, 0, -1);
    };
    const auto median_of_five = [&](auto&& work) {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            from_top();
            const auto begin = Clock::now();
            work();
            times.push_back(seconds_since(begin));
        }
        return figures(times).median;
    };
    std::size_t hits = 0;
    const double std_find = median_of_five([&] {
        hits = 0;
        int hit_row = -1;
        for (std::size_t r = 0; r < words.size(); ++r)
            if (words[r].find("zzzzqqqq") != std::string::npos) {
                ++hits;
                if (hit_row < 0)
                    hit_row = static_cast<int>(r);
            }
        int grid = id;
        if (hit_row >= 0)
            grid_goto_cell(grid, 0, hit_row, -1);
    });
    int found = 0, found_with_numbers = 0;
    const double find = median_of_five([&] { WGridFind(id, "zzzzqqqq", 0, &found); });
    const double find_numbers = median_of_five([&] { WGridFind(id, "zzzzqqqq", 4, &found_with_numbers); });
    std::printf("  find %.5f s (std::string::find and the same move %.5f s, ratio %.2f, %zu hit), with numbers "
                "%.5f s; found %s, %s\n",
                find, std_find, find / std_find, hits, find_numbers, found ? "yes" : "no",
                found_with_numbers ? "yes" : "no");
}

// Saves and loads a grid of 100,000 rows; the file stays for the run
// script's reader.
void run_files(int id, const char* file)
{
    const int rows = rows_of(id);
    std::mt19937 random(5);
    WGridRows(id, rows);
    for (int r = 0; r < rows; ++r) {
        std::string w = word(random);
        w += word(random).substr(0, 9);
        put_row(id, r, w, random);
    }
    auto start = Clock::now();
    WGridSave(id, file);
    const double save = seconds_since(start);
    start = Clock::now();
    WGridLoad(id, file);
    const double load = seconds_since(start);
    std::printf("files, %d rows\n", rows);
    std::printf("  WGridSave %.3f s, %.2f us a row\n", save, save * 1e6 / rows);
    std::printf("  WGridLoad %.3f s, %.2f us a row\n", load, load * 1e6 / rows);
    std::printf("files seconds %.6f %.6f\n", save, load);
}

} // namespace

int main(int argc, char** argv)
{
    WToolkitStart();
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480, 0, {}, 0,
               "Grid bench");
    // The grids take their cells when the dialog loads: its growth of the
    // working set beside the cells' layout (text, integer, double, check
    // box and menu values, and a flag byte a cell).
    const double before = resident_bytes();
    WDialogLoad(1800);
    const double growth = resident_bytes() - before;
    const double cells = 5.0 * (262143 + 10000 + 100000);
    const double layout = (262143 + 10000) * (16.0 + 4 + 8 + 4 + 4 + 5) + 100000 * (25.0 + 4 + 8 + 4 + 4 + 5);
    std::printf("storage: layout %.2f bytes a cell, working set growth on loading the grids %.2f bytes a cell\n",
                layout / cells, growth / cells);
    grid_redraw_suspend();
    run(1801);
    run(1802);
    run_files(1803, argc > 1 ? argv[1] : "korv_grid_bench.csv");
    WDialogUnload();
    WRootWindowClose();
    return 0;
}
