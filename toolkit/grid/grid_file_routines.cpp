#include "grid/grid_routines.h"

#include "korvanthide/error_numbers.h"
#include "grid/grid_files.h"
#include "grid/grid_html.h"

#include <korvanthide/errors.h>

#include <algorithm>
#include <cstring>

namespace korv {

namespace {

GridRange range_of(const GridModel& grid, std::optional<int> c1, std::optional<int> c2, std::optional<int> r1,
                   std::optional<int> r2)
{
    GridRange range;
    range.first_column = std::max(c1.value_or(1), 1) - 1;
    range.last_column = std::min(c2.value_or(grid.column_count()), grid.column_count()) - 1;
    range.first_row = std::max(r1.value_or(1), 1) - 1;
    range.last_row = std::min(r2.value_or(grid.rows_in_use), grid.rows_in_use) - 1;
    return range;
}

void report_file(const GridFileResult& result, std::string_view routine)
{
    ErrorState& state = error_state();
    state.file_code = result.os_code;
    state.detail_category = 1;
    err_report(result.error, routine);
}

bool commit(const std::string& file, std::string_view bytes, bool backup, std::string_view routine)
{
    const GridFileResult result = grid_file_commit(file, bytes, backup);
    if (result.error != 0) {
        report_file(result, routine);
        return false;
    }
    return true;
}

} // namespace

bool grid_save_csv(GridModel& grid, const std::string& file, const GridRange& range, int flags, bool backup,
                   std::string_view routine)
{
    grid.editor_store();
    return commit(file, grid_csv_text(grid, range, flags), backup, routine);
}

bool grid_save_html(GridModel& grid, const std::string& file, const GridRange& range, const GridHtmlPage& page,
                    bool backup, std::string_view routine)
{
    grid.editor_store();
    return commit(file, grid_html_text(grid, range, page), backup, routine);
}

} // namespace korv

using namespace korv;

void WGridSave(int id, std::string_view file, std::optional<int> first_column, std::optional<int> last_column,
               std::optional<int> first_row, std::optional<int> last_row, std::optional<int> flags)
{
    GridModel* grid = grid_lookup(id, "WGridSave");
    if (!grid)
        return;
    grid_save_csv(*grid, std::string(file), range_of(*grid, first_column, last_column, first_row, last_row),
                  flags.value_or(0), false, "WGridSave");
}

void WGridLoad(int id, std::string_view file, std::optional<int> grow, std::optional<int> flags)
{
    constexpr std::string_view routine = "WGridLoad";
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return;
    GridFileReader reader;
    if (reader.open(std::string(file)).error != 0) {
        report_file(reader.result(), routine);
        return;
    }
    // A zero byte means the file is no text: refuse it before any cell
    // changes. The file is scanned for one a buffer at a time first.
    std::string buffer(grid_csv_read_buffer, '\0');
    for (long got; (got = reader.read(buffer.data(), buffer.size())) > 0;) {
        if (std::memchr(buffer.data(), 0, static_cast<std::size_t>(got)) != nullptr) {
            report_file({err::file_read_write, 0}, routine);
            return;
        }
    }
    if (reader.result().error != 0 || !reader.rewind()) {
        report_file(reader.result(), routine);
        return;
    }
    std::string().swap(buffer);
    grid_redraw_suspend();
    const GridCsvSource source = [&](char* into, std::size_t count) { return reader.read(into, count); };
    const int error = grid_csv_load(*grid, id, source, grow && *grow == 1, flags.value_or(0));
    grid_redraw_resume(id);
    if (error < 0)
        report_file(reader.result(), routine);
    else if (error != 0)
        err_report(error, routine);
}

void WGridSaveHTML(int id, std::string_view file, std::optional<int> first_column, std::optional<int> last_column,
                   std::optional<int> first_row, std::optional<int> last_row, std::optional<int> flags,
                   std::optional<std::string_view> title, std::optional<int> border,
                   std::optional<std::int32_t> background)
{
    constexpr std::string_view routine = "WGridSaveHTML";
    GridModel* grid = grid_lookup(id, routine);
    if (!grid)
        return;
    GridHtmlPage page;
    page.title = title;
    page.border = border.value_or(0);
    page.background = background;
    page.flags = flags.value_or(0);
    grid->editor_store();
    commit(std::string(file),
           grid_html_text(*grid, range_of(*grid, first_column, last_column, first_row, last_row), page), false,
           routine);
}
