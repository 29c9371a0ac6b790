#include "dialogs/extras_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every entry as one line of text, so that a test states the whole
// reading of a block at once.
class Recorder : public korv::ExtrasSink {
public:
    std::vector<std::string> log;
    std::size_t grid_uses = 0;

    void range(int f, std::string_view lo, std::string_view hi) override
    {
        log.push_back("range " + std::to_string(f) + " [" + std::string(lo) + "] [" +
                      std::string(hi) + "]");
    }
    void menu(int f, int sel, const std::vector<std::string>& items) override
    {
        std::string s = "menu " + std::to_string(f) + " sel " + std::to_string(sel);
        for (const auto& i : items)
            s += " |" + i + "|";
        log.push_back(s);
    }
    void check(int f, int state) override
    {
        log.push_back("check " + std::to_string(f) + " " + std::to_string(state));
    }
    void tab_page(int f, int page, std::string_view caption) override
    {
        log.push_back("tab " + std::to_string(f) + " " + std::to_string(page) + " |" +
                      std::string(caption) + "|");
    }
    void tabs_done(int f, int page) override
    {
        log.push_back("tabs " + std::to_string(f) + " page " + std::to_string(page));
    }
    std::size_t grid(int f, std::string_view rest) override
    {
        log.push_back("grid " + std::to_string(f) + " |" + std::string(rest.substr(0, 6)) + "|");
        return f == 30 ? grid_uses : 0;
    }
    void colours(int f, int a, int b, int c, int d, int e, int g) override
    {
        log.push_back("colours " + std::to_string(f) + " " + std::to_string(a) + " " +
                      std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d) +
                      " " + std::to_string(e) + " " + std::to_string(g));
    }
    void trackbar(int f, int fr, int li, int pa, int st, int en) override
    {
        log.push_back("trackbar " + std::to_string(f) + " " + std::to_string(fr) + " " +
                      std::to_string(li) + " " + std::to_string(pa) + " " + std::to_string(st) +
                      " " + std::to_string(en));
    }
    void length(int f, int m) override
    {
        log.push_back("length " + std::to_string(f) + " " + std::to_string(m));
    }
    void dialog(int flag, bool has_ref, int ref, int align) override
    {
        log.push_back("dialog " + std::to_string(flag) +
                      (has_ref ? " ref " + std::to_string(ref) + " align " + std::to_string(align)
                               : std::string(" noref")));
    }
    void format(int f, std::string_view t) override
    {
        log.push_back("format " + std::to_string(f) + " |" + std::string(t) + "|");
    }
    void treeview(int f, int menu, int sel) override
    {
        log.push_back("tree " + std::to_string(f) + " " + std::to_string(menu) + " " +
                      std::to_string(sel));
    }
    void font(int f, int pts, std::string_view face, int weight, int italic) override
    {
        log.push_back("font " + std::to_string(f) + " " + std::to_string(pts) + " |" +
                      std::string(face) + "| " + std::to_string(weight) + " " +
                      std::to_string(italic));
    }
    void flags(int f, int v) override
    {
        log.push_back("flags " + std::to_string(f) + " " + std::to_string(v));
    }
};

std::vector<std::string> read(std::string_view block, std::size_t grid_uses = 0)
{
    Recorder r;
    r.grid_uses = grid_uses;
    korv::parse_extras(std::span<const char>(block.data(), block.size()), r);
    return r.log;
}

using Log = std::vector<std::string>;

struct Case {
    const char* name;
    std::string block;
    Log expected;
};

class ExtrasReader : public ::testing::TestWithParam<Case> {};

TEST_P(ExtrasReader, ReadsEntries)
{
    EXPECT_EQ(read(GetParam().block), GetParam().expected) << GetParam().name;
}

const Case cases[] = {
    {"converter block: keyword lines with trailing blanks, menus back to back",
     std::string("[Menus] \n 1004     1     1 \nwei\xdf \n 1019     2     1 \n0 - 1 \n0 - 255 \n"
                 "[Ranges] \n 1001               0             100 \n"
                 "[Trackbars] \n 1032              30               1              10    "
                 "           0               0 \n"
                 "[Colours] \n 1015 256 256 256 255 149 149 \n[Formats] \n"),
     {"menu 1004 sel 1 |wei\xdf|", "menu 1019 sel 1 |0 - 1| |0 - 255|",
      "range 1001 [0] [100]", "trackbar 1032 30 1 10 0 0",
      "colours 1015 256 256 256 255 149 149"}},
    {"lines before the first keyword are ignored",
     "7 8 9 \n[Checks] \n 12 1 \n", {"check 12 1"}},
    {"a number directly followed by the line feed reads as that number",
     "[Ranges]\n 1001 0 100\n 1002 -5 2.5\r\n[Lengths]\n 7 11\n",
     {"range 1001 [0] [100]", "range 1002 [-5] [2.5]", "length 7 11"}},
    {"menu item lines keep leading blanks and lose trailing ones",
     "[Menus]\n 5 2 0\n  a b  \nc\n 6 1 1 \nx \n",
     {"menu 5 sel 0 |  a b| |c|", "menu 6 sel 1 |x|"}},
    {"a menu count beyond the block ends at the block's end",
     "[Menus]\n 5 4 1\none\ntwo", {"menu 5 sel 1 |one| |two|"}},
    {"an empty line inside a section carries no entry",
     "[Menus]\n\n 5 1 1\nitem\n   \n[Flags]\n 3 1\n",
     {"menu 5 sel 1 |item|", "flags 3 1"}},
    {"tab captions drop their last character",
     "[Tabs] \n 20 2 102 \n 101 First \n 102 Second\n",
     {"tab 20 101 |First|", "tab 20 102 |Secon|", "tabs 20 page 102"}},
    {"dialog line with flag only, with reference, with alignment",
     "[Dialog]\n 1 \n[Dialog]\n 1 1005 \n[Dialog]\n 0 1005 1 \n",
     {"dialog 1 noref", "dialog 1 ref 1005 align 0", "dialog 0 ref 1005 align 1"}},
    {"format is the rest of the line without trailing blanks; empty does nothing",
     "[Formats] \n 1021 (F8.3)   \n 1022 \n", {"format 1021 |(F8.3)|"}},
    {"fonts: face up to the comma, then weight and italic",
     "[Fonts]\n 1005 12 Times New Roman , 700 1 \n",
     {"font 1005 12 |Times New Roman| 700 1"}},
    {"fonts: no comma in the rest of the block sets no font",
     "[Fonts]\n 1005 12 Arial 700 1 \n 1006 8 Arial \n", {}},
    {"numbers: plus sign and letters read as 0, minus is kept",
     "[Checks]\n +5 1\n x 2\n-3 -4\n", {"check 0 1", "check 0 2", "check -3 -4"}},
    {"tree and flags entries", "[Treeviews]\n 40 300 12\n[Flags]\n 41 1\n",
     {"tree 40 300 12", "flags 41 1"}},
    {"nothing beyond the zero byte is read",
     std::string("[Checks]\n 1 1\n", 14) + std::string("\0 2 1\n", 6), {"check 1 1"}},
};

INSTANTIATE_TEST_SUITE_P(Blocks, ExtrasReader, ::testing::ValuesIn(cases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ExtrasReaderBounds, StopsAtTheResourceSizeWithoutAZeroByte)
{
    // The resource's bytes end inside an entry: no read goes beyond them.
    const std::string whole = "[Menus]\n 5 3 1\nalpha\nbeta\ngamma\n";
    const std::string cut = whole.substr(0, whole.find("beta") + 2);
    EXPECT_EQ(read(cut), (Log{"menu 5 sel 1 |alpha| |be|"}));
    EXPECT_EQ(read(std::string_view("[Ranges]\n 9 1.5 2", 16)), (Log{"range 9 [1.5] []"}));
}

TEST(ExtrasReaderBounds, GridEntryAdvancesByWhatTheGridUsed)
{
    // The grid reads its own lines after the identifier; the reader goes on
    // after what it used and then to the end of that line.
    const std::string block = "[Grids]\n 30 3 4 500\nrow heading\n 31 1 1 501\n[Flags]\n 30 1\n";
    EXPECT_EQ(read(block, 0),
              (Log{"grid 30 |3 4 50|", "grid 0 |headin|", "grid 31 |1 1 50|", "flags 30 1"}));
    const std::size_t used = std::string("3 4 500\nrow heading").size();
    EXPECT_EQ(read(block, used), (Log{"grid 30 |3 4 50|", "grid 31 |1 1 50|", "flags 30 1"}));
    // A grid that claims more than there is cannot move the reader past the end.
    EXPECT_EQ(read("[Grids]\n 30 1 1 5\n", 1000), (Log{"grid 30 |1 1 5\n|"}));
}

TEST(ExtrasReaderBounds, PrefixCompare)
{
    EXPECT_EQ(korv::dialog_prefix_compare("[Menus]", "[Menus] x"), 0);
    EXPECT_EQ(korv::dialog_prefix_compare("[Menus]", "[Men"), 0);
    EXPECT_LT(korv::dialog_prefix_compare("[Menus]", "[Range"), 0);
    EXPECT_GT(korv::dialog_prefix_compare("[Tabs]", "[Menus]"), 0);
}

} // namespace
