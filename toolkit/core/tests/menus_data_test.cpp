#include "core/menus_data.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

namespace {

using korv::ResourceBytes;

// Little-endian words, and texts with their terminating zero byte.
struct Bytes {
    std::vector<unsigned char> data;
    Bytes& words(std::initializer_list<int> values)
    {
        for (int v : values) {
            data.push_back(static_cast<unsigned char>(v & 0xFF));
            data.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
        }
        return *this;
    }
    Bytes& text(const std::string& s)
    {
        for (char c : s)
            data.push_back(static_cast<unsigned char>(c));
        data.push_back(0);
        return *this;
    }
    ResourceBytes view() const { return {data.data(), data.size()}; }
};

TEST(MenuCommandTable, EntriesUntilZeroCommandOrEndOfData)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::vector<std::pair<int, std::vector<int>>> expected;
    };
    const Case cases[] = {
        {"ends right after the first entry", Bytes().words({500, 2, 1, 0}), {{500, {2, 1}}}},
        {"zero command ends", Bytes().words({500, 2, 1, 0, 0, 700, 1, 0}), {{500, {2, 1}}}},
        {"popup item and empty path",
         Bytes().words({510, 1, 0, 520, 0, 530, 3, 2, 4, 0}),
         {{510, {1}}, {520, {}}, {530, {3, 2, 4}}}},
        {"entry cut by the end is dropped", Bytes().words({500, 2, 1, 0, 600, 1}), {{500, {2, 1}}}},
        {"odd trailing byte", Bytes().words({500, 1, 0}).text(""), {{500, {1}}}},
        {"empty", Bytes(), {}},
    };
    for (const Case& c : cases) {
        const auto entries = korv::menu_command_table_parse(c.bytes.view());
        ASSERT_EQ(entries.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].command, c.expected[i].first) << c.name;
            EXPECT_EQ(entries[i].path, c.expected[i].second) << c.name;
        }
    }
}

TEST(MenuHelpStrings, FindsTextsWithoutAlignment)
{
    // Texts of odd length put the next command word at an odd offset.
    Bytes help;
    help.words({101}).text("Opens a file").words({102}).text("Quit").words({103}).text("").words({0});
    help.words({104}).text("after the end");
    EXPECT_EQ(korv::menu_help_find(help.view(), 101), "Opens a file");
    EXPECT_EQ(korv::menu_help_find(help.view(), 102), "Quit");
    EXPECT_EQ(korv::menu_help_find(help.view(), 103), "");
    EXPECT_EQ(korv::menu_help_find(help.view(), 104), std::nullopt);
    EXPECT_EQ(korv::menu_help_find(help.view(), 999), std::nullopt);

    Bytes unterminated;
    unterminated.words({101});
    unterminated.data.push_back('x');
    EXPECT_EQ(korv::menu_help_find(unterminated.view(), 101), std::nullopt);
}

TEST(ToolbarResource, ButtonsSeparatorsAndImages)
{
    const auto bar = korv::toolbar_resource_parse(Bytes().words({16, 15, 101, 0, 102, 0, 0, 103}).view());
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->image_width, 16);
    EXPECT_EQ(bar->image_height, 15);
    EXPECT_EQ(bar->commands, (std::vector<int>{101, 0, 102}));
    EXPECT_EQ(bar->image_count(), 2);

    const auto unended = korv::toolbar_resource_parse(Bytes().words({16, 16, 0, 7}).view());
    ASSERT_TRUE(unended);
    EXPECT_EQ(unended->commands, (std::vector<int>{0, 7}));

    for (const Bytes& bad : {Bytes().words({16}), Bytes().words({0, 15, 1, 0, 0}),
                             Bytes().words({16, 300, 1, 0, 0})}) {
        EXPECT_FALSE(korv::toolbar_resource_parse(bad.view()));
    }
}

TEST(ToolbarGeometry, ButtonAndBarSizes)
{
    struct Case {
        int side, button_width, button_height, thickness;
    };
    for (const Case& c : {Case{0, 22, 21, 27}, Case{3, 22, 21, 27}, Case{1, 22, 21, 25},
                          Case{2, 22, 21, 25}}) {
        const korv::ToolbarGeometry g = korv::toolbar_geometry(16, 15, c.side);
        EXPECT_EQ(g.button_width, c.button_width) << c.side;
        EXPECT_EQ(g.button_height, c.button_height) << c.side;
        EXPECT_EQ(g.thickness, c.thickness) << c.side;
    }
}

TEST(TooltipRecords, ChoiceAndStoredText)
{
    const std::vector<int> records{7, 0, 9, 0, 11};
    EXPECT_EQ(korv::tooltip_record_choice(records, 9), 2);
    EXPECT_EQ(korv::tooltip_record_choice(records, 12), 3);  // the last free record
    EXPECT_EQ(korv::tooltip_record_choice(std::vector<int>{7, 9}, 12), -1);
    EXPECT_EQ(korv::tooltip_record_choice(std::vector<int>{}, 12), -1);

    const std::string hundred(100, 'x');
    EXPECT_EQ(korv::tooltip_text_stored(hundred), std::string(79, 'x'));
    EXPECT_EQ(korv::tooltip_text_stored("Open   "), "Open");
    EXPECT_EQ(korv::tooltip_text_stored(" "), "");
    EXPECT_EQ(korv::tooltip_text_stored(""), "");
}

TEST(MenuInsertPosition, BeforeAfterAndBeyond)
{
    struct Case {
        int found, relative, count, expected;
    };
    for (const Case& c : {Case{2, 1, 5, 2}, Case{2, 2, 5, 3}, Case{2, 99, 5, 5},
                          Case{4, 2, 5, 5}, Case{0, 0, 5, 0}, Case{1, -100, 5, 0}}) {
        EXPECT_EQ(korv::menu_insert_position(c.found, c.relative, c.count), c.expected)
            << c.found << " " << c.relative;
    }
}

} // namespace

TEST(ToolbarGeometry, HugeImagesAreHeldAtTheLimit)
{
    const auto g = korv::toolbar_geometry(std::numeric_limits<int>::max(), 16, 0);
    EXPECT_EQ(g.button_width, std::numeric_limits<int>::max());
    EXPECT_EQ(g.button_height, 22);
}
