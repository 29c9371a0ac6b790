// Reader of a dialog's extras block: the text resource stored beside a
// dialog template under the same number, which sets up what a template
// cannot describe (list items, ranges, tab pages, colours, formats, ...).
//
// The block is single-byte text, lines ended by a line feed, sections
// opened by keyword lines ("[Ranges]", "[Menus]", ...). Every other line
// starts with a field identifier followed by the section's values. The
// reader walks the block once and hands each entry to a sink; applying an
// entry to the dialog's windows is the sink's business.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

// The block's bytes as the resource holds them; the text may end at a zero
// byte before the resource does.
using DialogExtrasBlock = std::span<const char>;

enum class ExtrasSection {
    none,
    ranges,
    menus,
    checks,
    tabs,
    grids,
    colours,
    trackbars,
    lengths,
    dialog,
    formats,
    treeviews,
    fonts,
    flags,
};

class ExtrasSink {
public:
    virtual ~ExtrasSink() = default;
    // The two range values as the texts that stood in the block; the sink
    // converts them (an unreadable number counts as 0).
    virtual void range(int field, std::string_view minimum, std::string_view maximum) {}
    virtual void menu(int field, int selected, const std::vector<std::string>& items) {}
    virtual void check(int field, int state) {}
    // One page line of a [Tabs] entry, in order, then the end of the entry.
    virtual void tab_page(int field, int page_dialog, std::string_view caption) {}
    virtual void tabs_done(int field, int page) {}
    // The rest of the block after the grid's identifier; returns how many
    // characters the grid set-up used from it.
    virtual std::size_t grid(int field, std::string_view rest) { return 0; }
    virtual void colours(int field, int fr, int fg, int fb, int br, int bg, int bb) {}
    virtual void trackbar(int field, int frequency, int line, int page, int start, int end) {}
    virtual void length(int field, int maximum) {}
    // The [Dialog] line: the resize flag, then, when the line goes on, the
    // reference field and its alignment number.
    virtual void dialog(int resize_flag, bool has_reference, int reference, int alignment) {}
    virtual void format(int field, std::string_view text) {}
    virtual void treeview(int field, int menu, int selected) {}
    virtual void font(int field, int points, std::string_view face, int weight, int italic) {}
    virtual void flags(int field, int value) {}
};

// Walks the block, bounded both by its size and by the zero byte that ends
// its text, and hands every entry to the sink. Malformed lines are applied
// as far as they read; nothing is reported.
void parse_extras(DialogExtrasBlock block, ExtrasSink& sink);

// 0 when text begins with keyword, or when either ends where they first
// differ; else the difference of the first differing characters.
int dialog_prefix_compare(std::string_view keyword, std::string_view text);

} // namespace korv
