// How the editor lays printed text out when the text control does not:
// paragraphs at their line ends, tabs expanded, each paragraph wrapped at
// blanks to the page's width, whole lines per page.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

// How many leading characters of a text fit into a width; the caller's
// measure of its font.
using TextFit = std::function<int(std::string_view text)>;

// The printed lines of a text: split at CR, LF or CR LF, tabs expanded to
// the next multiple of `tab_size` characters, each paragraph broken after
// the last blank that fits (inside a word when none does; at least one
// character a line). Blanks at a break are dropped.
std::vector<std::string> edit_print_lines(std::string_view text, int tab_size, const TextFit& fit);

// The first line of each page for lines_per_page lines a page; empty when
// a page holds no line while lines remain.
std::vector<std::size_t> edit_print_pages(std::size_t line_count, int lines_per_page);

} // namespace korv
