#include "dialogs/extras_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace korv {

namespace {

// Item, caption and format lines keep at most this many characters, the
// size of the line buffer the block has always been read with.
constexpr std::size_t line_limit = 1024;
// Face names beyond this do not fit a logical font.
constexpr std::size_t face_limit = 31;

struct Keyword {
    std::string_view text;
    ExtrasSection section;
};

constexpr Keyword keywords[] = {
    {"[Ranges]", ExtrasSection::ranges},       {"[Menus]", ExtrasSection::menus},
    {"[Checks]", ExtrasSection::checks},       {"[Tabs]", ExtrasSection::tabs},
    {"[Grids]", ExtrasSection::grids},         {"[Colours]", ExtrasSection::colours},
    {"[Trackbars]", ExtrasSection::trackbars}, {"[Lengths]", ExtrasSection::lengths},
    {"[Dialog]", ExtrasSection::dialog},       {"[Formats]", ExtrasSection::formats},
    {"[Treeviews]", ExtrasSection::treeviews}, {"[Fonts]", ExtrasSection::fonts},
    {"[Flags]", ExtrasSection::flags},
};

std::string_view trim_trailing_blanks(std::string_view s)
{
    const auto end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

// A cursor over the block's text. It never reads past the end of the text
// (the zero byte or the resource's size, whichever comes first).
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool at_end() const { return pos_ >= text_.size(); }
    char peek() const { return at_end() ? '\0' : text_[pos_]; }
    bool at_line_end() const { return at_end() || peek() == '\n'; }
    std::size_t position() const { return pos_; }
    std::string_view rest() const { return text_.substr(pos_); }
    void advance(std::size_t n) { pos_ = std::min(text_.size(), pos_ + n); }

    void skip_blanks()
    {
        while (!at_end() && peek() == ' ')
            ++pos_;
    }

    // The line from here up to (not including) its line feed.
    std::string_view line() const
    {
        const auto lf = text_.find('\n', pos_);
        return text_.substr(pos_, (lf == std::string_view::npos ? text_.size() : lf) - pos_);
    }

    // Past the line feed of the current line.
    void next_line()
    {
        const auto lf = text_.find('\n', pos_);
        pos_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    }

    // Moves to the end of the current line, leaving the line feed unread.
    void to_line_end() { pos_ += line().size(); }

    // A number in the block's own notation: an optional minus sign and the
    // digits that follow it; anything else reads as 0. Values beyond the
    // 32-bit range are held at its ends.
    int read_int()
    {
        const std::string_view tok = token();
        std::size_t i = 0;
        bool negative = false;
        if (i < tok.size() && tok[i] == '-') {
            negative = true;
            ++i;
        }
        std::int64_t v = 0;
        for (; i < tok.size() && tok[i] >= '0' && tok[i] <= '9'; ++i)
            v = std::min<std::int64_t>(v * 10 + (tok[i] - '0'), std::int64_t{1} << 32);
        if (negative)
            v = -v;
        skip_token();
        v = std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
        return static_cast<int>(v);
    }

    // The characters up to the next blank or line end, then past them and
    // the blanks behind. A value that ends its line is read whole: the line
    // feed (and a carriage return before it) ends it like a blank, and the
    // reader stays on the line.
    std::string_view read_word()
    {
        const std::string_view tok = token();
        skip_token();
        return tok;
    }

private:
    std::string_view token() const
    {
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != ' ' && text_[end] != '\n' &&
               text_[end] != '\r')
            ++end;
        return text_.substr(pos_, end - pos_);
    }

    void skip_token()
    {
        while (!at_end() && peek() != ' ' && peek() != '\n')
            ++pos_;
        skip_blanks();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool blank_line(std::string_view line)
{
    return line.find_first_not_of(" \r") == std::string_view::npos;
}

// Reads `count` whole lines after the entry line; the reader stays at the
// line feed of the last line read, so that the caller's skip to the next
// line lands on the entry that follows.
template <typename Fn> void read_item_lines(Cursor& c, int count, Fn&& each)
{
    for (int i = 0; i < count; ++i) {
        c.to_line_end();
        if (c.at_end())
            return;
        c.advance(1); // the line feed of the previous line
        if (c.at_end())
            return;
        each(c);
    }
}

void read_entry(ExtrasSection section, Cursor& c, ExtrasSink& sink)
{
    const int field = c.read_int();
    switch (section) {
    case ExtrasSection::none:
        break;
    case ExtrasSection::ranges: {
        const auto minimum = c.read_word();
        const auto maximum = c.read_word();
        sink.range(field, minimum, maximum);
        break;
    }
    case ExtrasSection::menus: {
        const int count = c.read_int();
        const int selected = c.read_int();
        std::vector<std::string> items;
        read_item_lines(c, count, [&](Cursor& cur) {
            std::string_view item = cur.line().substr(0, line_limit);
            items.emplace_back(trim_trailing_blanks(item));
        });
        sink.menu(field, selected, items);
        break;
    }
    case ExtrasSection::checks:
        sink.check(field, c.read_int());
        break;
    case ExtrasSection::tabs: {
        const int count = c.read_int();
        const int page = c.read_int();
        read_item_lines(c, count, [&](Cursor& cur) {
            cur.skip_blanks();
            const int dialog = cur.read_int();
            // Every line of the block ends with a blank, which the caption
            // drops as its last character.
            std::string_view caption = cur.line().substr(0, line_limit);
            if (!caption.empty())
                caption.remove_suffix(1);
            sink.tab_page(field, dialog, caption);
        });
        sink.tabs_done(field, page);
        break;
    }
    case ExtrasSection::grids: {
        const std::string_view rest = c.rest();
        c.advance(std::min(sink.grid(field, rest), rest.size()));
        break;
    }
    case ExtrasSection::colours: {
        int v[6];
        for (int& x : v)
            x = c.read_int();
        sink.colours(field, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    }
    case ExtrasSection::trackbars: {
        int v[5];
        for (int& x : v)
            x = c.read_int();
        sink.trackbar(field, v[0], v[1], v[2], v[3], v[4]);
        break;
    }
    case ExtrasSection::lengths:
        sink.length(field, c.read_int());
        break;
    case ExtrasSection::dialog: {
        if (c.at_line_end() || blank_line(c.line())) {
            sink.dialog(field, false, 0, 0);
            break;
        }
        const int reference = c.read_int();
        const int alignment = c.at_line_end() || blank_line(c.line()) ? 0 : c.read_int();
        sink.dialog(field, true, reference, alignment);
        break;
    }
    case ExtrasSection::formats: {
        const std::string_view text = trim_trailing_blanks(c.line().substr(0, line_limit));
        if (!text.empty())
            sink.format(field, text);
        break;
    }
    case ExtrasSection::treeviews: {
        const int menu = c.read_int();
        sink.treeview(field, menu, c.read_int());
        break;
    }
    case ExtrasSection::fonts: {
        const int points = c.read_int();
        // The face name runs to the next comma, which may stand on a later
        // line; without one the entry sets no font.
        const std::string_view rest = c.rest();
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos) {
            c.advance(rest.size());
            break;
        }
        const std::string_view face = trim_trailing_blanks(rest.substr(0, comma)).substr(0, face_limit);
        c.advance(comma + 1);
        c.skip_blanks();
        const int weight = c.read_int();
        const int italic = c.read_int();
        sink.font(field, points, face, weight, italic);
        break;
    }
    case ExtrasSection::flags:
        sink.flags(field, c.read_int());
        break;
    }
}

} // namespace

int dialog_prefix_compare(std::string_view keyword, std::string_view text)
{
    const std::size_t n = std::min(keyword.size(), text.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (keyword[i] != text[i])
            return static_cast<unsigned char>(keyword[i]) - static_cast<unsigned char>(text[i]);
    }
    return 0;
}

void parse_extras(DialogExtrasBlock block, ExtrasSink& sink)
{
    std::string_view text(block.data(), block.size());
    text = text.substr(0, text.find('\0'));
    Cursor c(text);
    ExtrasSection section = ExtrasSection::none;
    while (!c.at_end()) {
        c.skip_blanks();
        const std::string_view line = c.line();
        // An empty line carries no entry; reading one as field 0 would let
        // a [Menus] or [Tabs] entry swallow the lines after it.
        if (blank_line(line)) {
            c.next_line();
            continue;
        }
        bool keyword_line = false;
        if (line.front() == '[') {
            for (const Keyword& k : keywords) {
                if (dialog_prefix_compare(k.text, line) == 0) {
                    section = k.section;
                    keyword_line = true;
                    break;
                }
            }
        }
        if (!keyword_line)
            read_entry(section, c, sink);
        c.next_line();
    }
}

} // namespace korv
