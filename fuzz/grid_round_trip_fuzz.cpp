// A grid of every column type loaded from any comma-separated bytes, then
// saved and loaded again, twice, into grids of the same make: the third
// save is the second, byte for byte. Then the same bytes pasted at a cell as clipboard
// text, through the paste conversions of every column type.
#include "grid/grid_cells.h"
#include "grid/grid_clipboard_text.h"
#include "grid/grid_csv.h"
#include "grid/grid_model.h"

#include "korvanthide/errors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool make_grid(korv::GridModel& grid, int flags)
{
    using namespace korv;
    grid.style = (flags & 1 ? grid_style_column_headings : 0) | (flags & 2 ? grid_style_row_headings : 0);
    if (!grid_allocate(grid, 5, {{GridCellType::text, 8, false}, {GridCellType::integer, 0, false},
                                 {GridCellType::real, 0, false}, {GridCellType::double_precision, 0, false},
                                 {GridCellType::check_box, 0, false}, {GridCellType::menu, 0, false}}))
        return false;
    grid.rows_in_use = 4;
    grid.rows_shown = 2;
    grid.columns[1].minimum = -50;
    grid.columns[1].maximum = 50;
    grid.columns[3].format = "(F8.2)";
    grid.columns[5].items = {"Red", "Green"};
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korv;
    error_state().report_mode = 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int flags = size > 0 ? data[0] : 0;
    // Unquoted files do not keep texts with commas: only quoted ones are
    // expected to come back.
    const int save_flags = (flags >> 4) & grid_csv_undefined_values;

    // The file format trims what it reads (trailing blanks, a carriage
    // return), so the first save may differ from the bytes; from then on
    // saving and loading again changes nothing.
    GridModel first, second, third;
    if (!make_grid(first, flags) || !make_grid(second, flags) || !make_grid(third, flags))
        return 0;
    grid_csv_load(first, 0, bytes, false, 0);
    const GridRange all{0, first.column_count() - 1, 0, first.rows_in_use - 1};
    const std::string saved = grid_csv_text(first, all, save_flags);
    grid_csv_load(second, 0, saved, false, 0);
    const std::string again = grid_csv_text(second, all, save_flags);
    grid_csv_load(third, 0, again, false, 0);
    if (grid_csv_text(third, all, save_flags) != again)
        __builtin_trap();

    GridModel pasted;
    if (!make_grid(pasted, flags))
        return 0;
    pasted.current_column = (flags >> 2) % pasted.column_count();
    pasted.current_row = (flags >> 5) % pasted.rows_in_use;
    int rows = 0, columns = 0;
    grid_clipboard_block_size(bytes, rows, columns);
    if (grid_paste_allowed(pasted, bytes)) {
        const GridBlock reached = grid_paste_text(pasted, bytes);
        (void)reached;
    }
    for (int c = 0; c < pasted.column_count(); ++c)
        grid_paste_value(pasted, c, 0, bytes.substr(0, 40));
    std::string text;
    for (int r = 0; r < pasted.rows_in_use; ++r)
        for (int c = 0; c < pasted.column_count(); ++c)
            grid_cell_display_text(pasted, c, r, text);
    return 0;
}
