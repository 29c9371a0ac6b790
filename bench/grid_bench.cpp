// Speed of the grid's cells: filling through the public puts, sorting and
// finding, each beside the standard library doing the same work on the
// same strings in this process. Run by bench/run_grid_bench.sh.
#include "grid/grid_cells.h"
#include "grid/grid_model.h"
#include "grid/grid_routines.h"
#include "grid/grid_search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace korv;

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long resident_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

std::string word(std::mt19937& random)
{
    std::string w(1 + random() % 15, ' ');
    for (char& c : w)
        c = static_cast<char>('a' + random() % 26);
    return w;
}

void run(int rows)
{
    std::mt19937 random(rows);
    std::vector<std::string> words(static_cast<std::size_t>(rows));
    for (auto& w : words)
        w = word(random);
    words.back() = "zzzzqqqq";
    for (int r = 0; r + 1 < rows; ++r)
        if (words[static_cast<std::size_t>(r)].find("zzzzqqqq") != std::string::npos)
            words[static_cast<std::size_t>(r)] = "a";

    GridModel grid;
    grid.style = 0;
    const long before = resident_kib();
    auto start = Clock::now();
    grid_allocate(grid, rows,
                  {{GridCellType::text, 15, false}, {GridCellType::integer, 0, false},
                   {GridCellType::double_precision, 0, false}, {GridCellType::check_box, 0, false},
                   {GridCellType::menu, 0, false}});
    grid.columns[4].items = {"one", "two", "three"};
    grid.rows_shown = 25;
    GridDirectory& d = grid_directory();
    d.dialog_current = [] { return true; };
    d.find = [&grid](int id) { return id == 1 ? &grid : nullptr; };
    for (int r = 0; r < rows; ++r) {
        grid_cell_put_value(grid, 0, r, 0, words[static_cast<std::size_t>(r)], "");
        WGridPutCellInteger(1, 2, r + 1, static_cast<int>(random() % 1000000));
        WGridPutCellDouble(1, 3, r + 1, (random() % 100000) / 100.0, "(F10.2)");
        grid_cell_put_check(grid, 3, r, r & 1);
        grid_cell_put_menu(grid, 4, r, 1 + r % 3);
    }
    const double fill = seconds_since(start);
    const long after = resident_kib();
    const double cells = 5.0 * rows;
    const double layout = rows * (16.0 + 4 + 8 + 4 + 4 + 5);
    std::printf("rows %d\n", rows);
    std::printf("  set-up and fill: %.3f s, %.3f us a cell\n", fill, fill * 1e6 / cells);
    std::printf("  storage: %.2f bytes a cell (layout %.2f), resident growth %.2f bytes a cell\n",
                grid_storage_bytes(grid) / cells, layout / cells, (after - before) * 1024.0 / cells);

    std::vector<std::string> copy = words;
    start = Clock::now();
    std::sort(copy.begin(), copy.end());
    const double std_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(1, 1);
    const double word_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(1, 2);
    const double int_sort = seconds_since(start);
    start = Clock::now();
    WGridSort(1, 1);
    const double resort_unsorted = seconds_since(start);
    start = Clock::now();
    WGridSort(1, 1);
    const double resort = seconds_since(start);
    std::printf("  sort words %.4f s (std::sort %.4f s, ratio %.2f); integers %.4f s; words again %.4f s, "
                "then on sorted input %.4f s\n",
                word_sort, std_sort, word_sort / std_sort, int_sort, resort_unsorted, resort);

    std::size_t hits = 0;
    start = Clock::now();
    for (const auto& w : words)
        hits += w.find("zzzzqqqq") != std::string::npos;
    const double std_find = seconds_since(start);
    grid.current_column = grid.current_row = 0;
    int found = 0;
    start = Clock::now();
    WGridFind(1, "zzzzqqqq", 0, &found);
    const double find = seconds_since(start);
    grid.current_column = grid.current_row = 0;
    start = Clock::now();
    WGridFind(1, "zzzzqqqq", grid_find_numbers, &found);
    const double find_numbers = seconds_since(start);
    std::printf("  find %.5f s (std::string::find %.5f s, ratio %.2f, %zu hit), with numbers %.5f s\n", find,
                std_find, find / std_find, hits, find_numbers);
    d = GridDirectory{};
}

// What python3's csv module takes for the same work: reading with int(),
// float(), the Yes test and a dict for the menu, writing with "%.2f".
constexpr const char* python_csv = R"(import csv, sys, time
menu = {'one': 1, 'two': 2, 'three': 3}
t = time.perf_counter()
rows = []
with open(sys.argv[1], newline='', encoding='latin-1') as f:
    for text, i, d, tick, m in csv.reader(f):
        rows.append((text, int(i), float(d), tick == 'Yes', menu.get(m, 0)))
read = time.perf_counter() - t
t = time.perf_counter()
names = {v: k for k, v in menu.items()}
with open(sys.argv[1] + '.py', 'w', newline='', encoding='latin-1') as f:
    w = csv.writer(f, lineterminator='\r\n')
    for text, i, d, tick, m in rows:
        w.writerow([text, i, '%.2f' % d, 'Yes' if tick else 'No', names.get(m, '')])
write = time.perf_counter() - t
print(read, write)
)";

void run_files()
{
    constexpr int rows = 100000;
    std::mt19937 random(5);
    GridModel grid;
    grid_allocate(grid, rows,
                  {{GridCellType::text, 24, false}, {GridCellType::integer, 0, false},
                   {GridCellType::double_precision, 0, false}, {GridCellType::check_box, 0, false},
                   {GridCellType::menu, 0, false}});
    grid.columns[2].format = "(F10.2)";
    grid.columns[4].items = {"one", "two", "three"};
    grid.rows_shown = 25;
    GridDirectory& d = grid_directory();
    d.dialog_current = [] { return true; };
    d.find = [&grid](int id) { return id == 1 ? &grid : nullptr; };
    for (int r = 0; r < rows; ++r) {
        std::string w = word(random);
        w += word(random).substr(0, 9);
        grid_cell_put_value(grid, 0, r, 0, w, "");
        WGridPutCellInteger(1, 2, r + 1, static_cast<int>(random() % 1000000));
        WGridPutCellDouble(1, 3, r + 1, (random() % 100000) / 100.0);
        grid_cell_put_check(grid, 3, r, r & 1);
        grid_cell_put_menu(grid, 4, r, 1 + r % 3);
    }
    const std::string file = "/tmp/korv_grid_bench.csv";
    auto start = Clock::now();
    WGridSave(1, file);
    const double save = seconds_since(start);
    start = Clock::now();
    WGridLoad(1, file);
    const double load = seconds_since(start);
    std::ofstream("/tmp/korv_grid_bench.py") << python_csv;
    double py_read = 0, py_write = 0;
    if (FILE* pipe = popen("/usr/bin/python3 /tmp/korv_grid_bench.py /tmp/korv_grid_bench.csv", "r")) {
        if (std::fscanf(pipe, "%lf %lf", &py_read, &py_write) != 2)
            py_read = py_write = 0;
        pclose(pipe);
    }
    std::printf("files, %d rows\n", rows);
    std::printf("  WGridSave %.3f s, %.2f us a row; python csv writer %.3f s; ratio %.2f\n", save, save * 1e6 / rows,
                py_write, save / py_write);
    std::printf("  WGridLoad %.3f s, %.2f us a row; python csv reader %.3f s; ratio %.2f\n", load, load * 1e6 / rows,
                py_read, load / py_read);
    std::remove(file.c_str());
    std::remove((file + ".py").c_str());
    d = GridDirectory{};
}

} // namespace

int main()
{
    run(grid_max_rows);
    run(10000);
    run_files();
}
