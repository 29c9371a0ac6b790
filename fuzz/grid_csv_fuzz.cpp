// libFuzzer target: comma-separated files loaded into a grid of every
// column type, and [Grids] entries read for every row-heading style.
#include "grid/grid_cells.h"
#include "grid/grid_csv.h"
#include "grid/grid_extras_entry.h"
#include "grid/grid_model.h"
#include "grid/grid_routines.h"

#include "korvanthide/errors.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korv;
    error_state().report_mode = 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int flags = size > 0 ? data[0] : 0;

    GridModel grid;
    grid.style = (flags & 1 ? grid_style_column_headings : 0) | (flags & 2 ? grid_style_row_headings : 0);
    if (!grid_allocate(grid, 6, {{GridCellType::text, 8, false}, {GridCellType::integer, 0, false},
                                 {GridCellType::real, 0, false}, {GridCellType::double_precision, 0, false},
                                 {GridCellType::check_box, 0, false}, {GridCellType::menu, 0, false}}))
        return 0;
    grid.rows_in_use = 3;
    grid.rows_shown = 2;
    grid.columns[1].minimum = -50;
    grid.columns[1].maximum = 50;
    grid.columns[3].format = "(F8.2)";
    grid.columns[5].items = {"Red", "Green"};
    // Growing rows goes through the routines, which find the grid as field 1.
    GridDirectory& directory = grid_directory();
    directory.dialog_current = [] { return true; };
    directory.find = [&grid](int id) { return id == 1 ? &grid : nullptr; };
    grid_csv_load(grid, 1, bytes, (flags & 4) != 0, (flags & 8) ? grid_csv_headings : 0);
    directory = GridDirectory{};
    // What was loaded writes back.
    std::string text;
    for (int r = 0; r < grid.rows_in_use; ++r)
        for (int c = 0; c < grid.column_count(); ++c)
            grid_cell_display_text(grid, c, r, text);
    (void)grid_csv_text(grid, {0, grid.column_count() - 1, 0, grid.rows_in_use - 1}, flags >> 4);

    const GridsEntry entry = grid_read_extras_entry(bytes, (flags & 0x10 ? 0x400 : 0) | (flags & 0x20 ? 0x80 : 0));
    if (entry.consumed > bytes.size())
        __builtin_trap();
    for (const std::string& row : entry.row_texts)
        if (row.size() > 50)
            __builtin_trap();
    return 0;
}
