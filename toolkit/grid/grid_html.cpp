#include "grid/grid_html.h"

#include "grid/grid_cells.h"

#include <array>
#include <cstdio>
#include <new>

namespace korv {

namespace {

// Texts longer than this are cut, as the grid's text buffer holds them.
constexpr std::size_t longest_text = 1023;
constexpr std::string_view nbsp = "&nbsp;";

class HtmlLines {
public:
    template <class... Parts> void line(std::string_view first, Parts... rest)
    {
        if constexpr (sizeof...(rest) == 0) {
            grid_html_write_line(out_, first, status_);
        } else {
            std::string text(first);
            (text.append(std::string_view(rest)), ...);
            grid_html_write_line(out_, text, status_);
        }
    }
    // A page that could not be written whole is not handed on.
    std::string take()
    {
        if (status_ != 0)
            throw std::bad_alloc();
        return std::move(out_);
    }

private:
    std::string out_;
    int status_ = 0;
};

std::string hex_colour(int red, int green, int blue)
{
    std::array<char, 8> digits{};
    std::snprintf(digits.data(), digits.size(), "%02x%02x%02x", red & 0xFF, green & 0xFF, blue & 0xFF);
    return digits.data();
}

std::string_view cut(std::string_view text) { return text.substr(0, longest_text); }

std::string_view trim_right(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

constexpr std::string_view alignment_word(int alignment)
{
    return alignment == 2 ? "right" : alignment == 1 ? "center" : "left";
}

int column_alignment(const GridColumn& c)
{
    if (c.type == GridCellType::check_box)
        return 1;
    if (c.type == GridCellType::menu)
        return 0;
    return c.alignment;
}

void write_cell(HtmlLines& html, const GridModel& grid, int column, int row, int flags, std::string& text)
{
    const GridColumn& c = grid.columns[static_cast<std::size_t>(column)];
    GridColourTriple fg, bg;
    if (!(flags & grid_html_no_colours))
        grid_cell_colours(grid, column, row, fg, bg);
    const std::string_view align = alignment_word(column_alignment(c));
    if (bg.red >= 0)
        html.line("<td align=", align, " bgcolor=#", hex_colour(bg.red, bg.green, bg.blue), ">");
    else
        html.line("<td align=", align, ">");
    if (fg.red >= 0)
        html.line("<font color=#", hex_colour(fg.red, fg.green, fg.blue), ">");
    switch (c.type) {
    case GridCellType::check_box: {
        const bool ticked = grid_cell_check(grid, column, row) == 1;
        if (flags & grid_html_check_letters)
            html.line(ticked ? "Y" : "N");
        else
            html.line(ticked ? "<font face=\"Symbol\">&middot;</font>" : nbsp);
        break;
    }
    case GridCellType::menu:
        grid_cell_display_text(grid, column, row, text);
        html.line(grid_cell_menu(grid, column, row) == 0 ? nbsp : cut(text));
        break;
    default:
        grid_cell_display_text(grid, column, row, text);
        html.line(text.empty() ? nbsp : cut(text));
        break;
    }
    if (fg.red >= 0)
        html.line("</font>");
    html.line("</td>");
}

} // namespace

void grid_html_write_line(std::string& file, std::string_view text, int& status)
{
    if (status != 0)
        return;
    try {
        file.append(text);
        file.append("\r\n");
    } catch (const std::bad_alloc&) {
        status = 2;
    }
}

std::string grid_html_text(const GridModel& grid, const GridRange& range, const GridHtmlPage& page)
{
    HtmlLines html;
    const bool framed = !(page.flags & grid_html_table_only);
    const bool centred = (page.flags & grid_html_centred) != 0;
    const std::string_view title = page.title ? trim_right(*page.title) : std::string_view{};
    if (framed) {
        html.line("<html>");
        html.line("<head>");
        if (page.title)
            html.line("<title>", title, "</title>");
        html.line("</head>");
        if (page.background) {
            const std::int32_t b = *page.background;
            html.line("<body bgcolor=#", hex_colour(b, b >> 8, b >> 16), ">");
        } else {
            html.line("<body>");
        }
    }
    if (centred)
        html.line("<center>");
    if (!title.empty())
        html.line("<h2>", title, "</h2>");
    html.line("<table border=", std::to_string(page.border >= 1 ? page.border : 0), " cellpadding=5>");

    if (grid.has_column_headings()) {
        html.line("<tr>");
        if (grid.has_row_headings())
            html.line("<td></td>");
        for (int c = range.first_column; c <= range.last_column; ++c) {
            const std::string_view heading = cut(grid.column_heading(c + 1));
            html.line("<th align=center>");
            html.line(heading.empty() ? nbsp : heading);
            html.line("</th>");
        }
        html.line("</tr>");
    }
    std::string text;
    for (int r = range.first_row; r <= range.last_row; ++r) {
        html.line("<tr>");
        if (grid.has_row_headings()) {
            const std::string_view heading = grid.row_heading(r);
            html.line("<td align=left>");
            html.line(heading.empty() ? nbsp : heading);
            html.line("</td>");
        }
        for (int c = range.first_column; c <= range.last_column; ++c)
            write_cell(html, grid, c, r, page.flags, text);
        html.line("</tr>");
    }
    html.line("</table>");
    if (centred)
        html.line("</center>");
    if (framed) {
        html.line("</body>");
        html.line("</html>");
    }
    return html.take();
}

} // namespace korv
