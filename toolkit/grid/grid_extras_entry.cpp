#include "grid/grid_extras_entry.h"

#include "grid/grid_model.h"

#include <algorithm>
#include <cstdint>

namespace korv {

namespace {

class EntryText {
public:
    explicit EntryText(std::string_view text) : text_(text) {}

    std::size_t position() const { return pos_; }
    bool at_end() const { return pos_ >= text_.size(); }

    void skip_blanks()
    {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }

    // An optional minus and the digits behind it, as the extras block
    // writes numbers; anything else reads as 0. Then past the word and the
    // blanks after it, staying on the line.
    int read_int()
    {
        skip_blanks();
        bool negative = false;
        if (pos_ < text_.size() && text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::int64_t v = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            v = std::min<std::int64_t>(v * 10 + (text_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\n')
            ++pos_;
        skip_blanks();
        return static_cast<int>(negative ? -v : v);
    }

    // The line from here to its line feed (not included).
    std::string_view line() const
    {
        const auto lf = text_.find('\n', pos_);
        return text_.substr(pos_, (lf == std::string_view::npos ? text_.size() : lf) - pos_);
    }
    void to_line_end() { pos_ += line().size(); }
    void past_line_feed()
    {
        to_line_end();
        if (pos_ < text_.size())
            ++pos_;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A row-heading line: blanks before its line feed are dropped, but a
// carriage return counts as a character, so blanks before it stay; the
// carriage return itself is not kept.
std::string row_text(std::string_view line)
{
    const auto last = line.find_last_not_of(' ');
    line = last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return std::string(line.substr(0, grid_row_heading_length));
}

} // namespace

bool GridsEntry::sizes_valid() const
{
    return rows >= 0 && rows <= grid_max_rows && columns >= 1 && columns <= grid_max_columns;
}

GridsEntry grid_read_extras_entry(std::string_view text, int style)
{
    GridsEntry entry;
    EntryText t(text);
    entry.columns = t.read_int();
    entry.rows = t.read_int();
    entry.consumed = t.position();
    entry.template_dialog = t.read_int();
    if (!(style & grid_style_row_headings))
        return entry;

    t.past_line_feed();
    t.skip_blanks();
    entry.has_heading_width = true;
    entry.heading_line = t.position();
    entry.heading_width = t.read_int();
    GridRowLines lines = grid_read_row_lines(text.substr(entry.heading_line), entry.rows, style);
    entry.row_texts = std::move(lines.texts);
    entry.consumed = entry.heading_line + lines.consumed;
    return entry;
}

GridRowLines grid_read_row_lines(std::string_view text, int rows, int style)
{
    GridRowLines lines;
    EntryText t(text);
    t.to_line_end();
    lines.consumed = t.position();
    if (style & grid_style_no_row_texts)
        return lines;
    for (int row = 0; row < rows && !t.at_end(); ++row) {
        t.past_line_feed();
        if (t.at_end())
            break;
        lines.texts.push_back(row_text(t.line()));
        t.to_line_end();
        lines.consumed = t.position();
    }
    return lines;
}

} // namespace korv
