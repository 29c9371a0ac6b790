#include "editor/editor_print_layout.h"

#include <algorithm>

namespace korv {

namespace {

std::string tabs_expanded(std::string_view paragraph, int tab_size)
{
    std::string out;
    out.reserve(paragraph.size());
    const auto size = static_cast<std::size_t>(std::max(tab_size, 1));
    for (char c : paragraph) {
        if (c == '\t')
            out.append(size - out.size() % size, ' ');
        else
            out += c;
    }
    return out;
}

void wrap(std::string_view rest, const TextFit& fit, std::vector<std::string>& lines)
{
    if (rest.empty()) {
        lines.emplace_back();
        return;
    }
    while (!rest.empty()) {
        const auto fits = static_cast<std::size_t>(std::clamp(fit(rest), 0, static_cast<int>(rest.size())));
        std::size_t take = fits;
        if (fits < rest.size()) {
            // Break after the last blank that fits; inside the word when the
            // first word alone is too wide.
            const std::size_t blank = rest.substr(0, fits + 1).find_last_of(' ');
            take = blank != std::string_view::npos && blank > 0 ? blank : std::max<std::size_t>(fits, 1);
        }
        std::string_view line = rest.substr(0, take);
        rest.remove_prefix(take);
        const std::size_t kept = line.find_last_not_of(' ');
        lines.emplace_back(kept == std::string_view::npos ? std::string_view{} : line.substr(0, kept + 1));
        const std::size_t next = rest.find_first_not_of(' ');
        rest.remove_prefix(next == std::string_view::npos ? rest.size() : next);
    }
}

} // namespace

std::vector<std::string> edit_print_lines(std::string_view text, int tab_size, const TextFit& fit)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string expanded = tabs_expanded(text.substr(0, end), tab_size);
        wrap(expanded, fit, lines);
        if (end == std::string_view::npos) break;
        const bool pair = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (pair ? 2 : 1));
    }
    return lines;
}

std::vector<std::size_t> edit_print_pages(std::size_t line_count, int lines_per_page)
{
    std::vector<std::size_t> pages;
    if (line_count == 0) return pages;
    if (lines_per_page <= 0) return pages;
    for (std::size_t first = 0; first < line_count; first += static_cast<std::size_t>(lines_per_page))
        pages.push_back(first);
    return pages;
}

} // namespace korv
