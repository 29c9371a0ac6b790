#include "grid/grid_print_layout.h"

#include <algorithm>
#include <cmath>

namespace korv {

int grid_inches_to_millimetres(int thousandths)
{
    return static_cast<int>(std::lround(thousandths * 2.54));
}

int grid_millimetres_to_inches(int hundredths)
{
    return static_cast<int>(std::lround(hundredths / 2.54));
}

int grid_margin_to_points(int value, int units)
{
    return units == grid_units_inches ? value * 72 / 1000 : value * 72 / 2540;
}

int grid_points_to_margin(int points, int units)
{
    return units == grid_units_inches ? points * 1000 / 72 : points * 2540 / 72;
}

int grid_rows_per_page(int printable_height, int line_height, bool heading_row)
{
    int rows = line_height > 0 ? printable_height / line_height : 1;
    if (heading_row)
        --rows;
    return std::max(rows, 1);
}

std::vector<GridPrintPage> grid_column_pages(const std::vector<int>& widths, int first_x, int right_limit,
                                             int repeated_x)
{
    std::vector<GridPrintPage> pages;
    int x = first_x;
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        const int w = widths[static_cast<std::size_t>(c)];
        if (pages.empty()) {
            pages.push_back({c, c});
        } else if (x + w > right_limit) {
            pages.push_back({c, c});
            x = repeated_x;
        }
        pages.back().last_column = c;
        x += std::min(w, std::max(right_limit - x, 0));
    }
    return pages;
}

} // namespace korv
