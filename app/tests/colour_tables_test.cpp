#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <string>

#include "colour_tables.h"

namespace {

// The k of a component k/255 stored to six decimals.
int k_of(float x)
{
    return static_cast<int>(std::lround(static_cast<double>(x) * 255.0));
}

std::string hex_of(const NamedColour& e)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (float x : {e.red, e.green, e.blue}) {
        hex += digits[k_of(x) / 16];
        hex += digits[k_of(x) % 16];
    }
    return hex;
}

struct TableShape {
    const char* label;
    const NamedColourTable& table;
    int entries;
    int distinct;
    std::size_t longest;
};

TEST(ColourTables, ShapeOrderAndStoredComponents)
{
    const TableShape shapes[] = {
        {"German", german_colour_table(), 206, 197, 21},
        {"English", english_colour_table(), 1333, 795, 20},
    };
    for (const TableShape& s : shapes) {
        SCOPED_TRACE(s.label);
        ASSERT_EQ(s.table.count, s.entries);
        std::set<std::string_view> names;
        std::size_t longest = 0;
        for (int i = 1; i <= s.table.count; ++i) {
            const std::string_view name = s.table.name(i);
            names.insert(name);
            longest = std::max(longest, name.size());
            EXPECT_EQ(s.table.at(i).name[kColourNameLength], '\0');
            // Latin-1 byte order: char_traits<char> compares as unsigned char,
            // so "ß" and the umlauts come after "z".
            if (i > 1) {
                EXPECT_LE(s.table.name(i - 1), name) << i;
            }
            // The entries of a repeated name each have their own colour.
            for (int j = i - 1; j >= 1 && s.table.name(j) == name; --j) {
                EXPECT_NE(hex_of(s.table.at(j)), hex_of(s.table.at(i))) << j << " and " << i << " " << name;
            }
            for (float x : {s.table.at(i).red, s.table.at(i).green, s.table.at(i).blue}) {
                const int k = k_of(x);
                ASSERT_GE(k, 0);
                ASSERT_LE(k, 255);
                // k/255 to six decimals; 80, 131 and 182 one unit higher in
                // the last place so that 255 x truncates to k.
                const double want = (k == 80 || k == 131 || k == 182) ? std::round(k / 255.0 * 1e6 + 1) / 1e6
                                                                      : std::round(k / 255.0 * 1e6) / 1e6;
                EXPECT_EQ(x, static_cast<float>(want)) << i << " " << name;
            }
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(s.distinct));
        EXPECT_EQ(longest, s.longest);
    }
}

TEST(ColourTables, GermanRowsAsListed)
{
    const struct {
        int index;
        const char* name;
        const char* hex;
    } rows[] = {
        {1, "aliceblau", "F0F8FF"},   {2, "aliceblau", "F0FFFF"},   {40, "dunkelschiefergrau", "2F4F4F"},
        {52, "dunkles schiefergrau", "2F4F4F"}, {85, "hellrosa", "FFB6C1"}, {100, "k\366nigsblau", "4169E1"},
        {135, "mittelorchideenfarbig", "BA55D3"}, {169, "rot", "FF0000"}, {182, "schwarz", "000000"},
        {198, "weiss", "FFFFFF"},     {201, "wei\337", "FFFFFF"},   {206, "zyan", "00FFFF"},
    };
    const NamedColourTable& t = german_colour_table();
    for (const auto& row : rows) {
        EXPECT_EQ(t.name(row.index), row.name) << row.index;
        EXPECT_EQ(hex_of(t.at(row.index)), row.hex) << row.index;
    }
}

TEST(ColourTables, EnglishTellingRows)
{
    const struct {
        int index;
        const char* name;
        const char* hex;
    } rows[] = {
        {10, "aliceblue", "F0FFFF"},       {11, "aliceblue", "EFF7FF"},      {12, "aliceblue", "F0F8FF"},
        {59, "black", "000000"},           {234, "darkslate gray", "2F4F4F"}, {235, "darkslate grey", "2F4F4F"},
        {239, "darkslategray", "2F4F4F"},  {240, "darkslategray", "25383C"}, {249, "darkslategrey", "2F4F4F"},
        {356, "gray", "BEBEBE"},           {357, "gray", "736F6E"},          {358, "gray", "808080"},
        {359, "gray", "BFBFBF"},           {360, "gray0", "150517"},         {361, "gray0", "000000"},
        {364, "gray100", "FFFFFF"},        {554, "grey", "BFBFBF"},          {555, "grey", "BEBEBE"},
        {556, "grey0", "000000"},          {559, "grey100", "FFFFFF"},       {1095, "red", "FF0000"},
        {1097, "red1", "F62217"},          {1098, "red1", "FF0000"},         {1323, "white", "FFFFFF"},
        {1, "10% black", nullptr},         {1333, "yellowgreen", nullptr},
    };
    const NamedColourTable& t = english_colour_table();
    for (const auto& row : rows) {
        EXPECT_EQ(t.name(row.index), row.name) << row.index;
        if (row.hex) {
            EXPECT_EQ(hex_of(t.at(row.index)), row.hex) << row.index;
        }
    }
}

// White, black, pure red and the dark slate grey stand only where their
// same-colour lists expect them.
TEST(ColourTables, ReservedColoursOnlyWhereExpected)
{
    const struct {
        const char* hex;
        std::set<int> german, english;
    } colours[] = {
        {"FFFFFF", {198, 201}, {364, 559, 1323}},
        {"000000", {182}, {59, 361, 556}},
        {"FF0000", {169}, {1095, 1098}},
        {"2F4F4F", {40, 52}, {234, 235, 239, 249}},
    };
    for (const auto& c : colours) {
        std::set<int> german, english;
        for (int i = 1; i <= german_colour_table().count; ++i) {
            if (hex_of(german_colour_table().at(i)) == c.hex) {
                german.insert(i);
            }
        }
        for (int i = 1; i <= english_colour_table().count; ++i) {
            if (hex_of(english_colour_table().at(i)) == c.hex) {
                english.insert(i);
            }
        }
        EXPECT_EQ(german, c.german) << c.hex;
        EXPECT_EQ(english, c.english) << c.hex;
    }
}

TEST(ColourTables, NearestNamedColour)
{
    const struct {
        float r, g, b;
        int german;
        const char* german_name;
        int english;
        const char* english_name;
    } cases[] = {
        // The first exact match wins, though "weiß" (201) is white too.
        {1, 1, 1, 198, "weiss", 364, "gray100"},
        {0, 0, 0, 182, "schwarz", 59, "black"},
        {1, 0, 0, 169, "rot", 1095, "red"},
        // No exact match: the least distance.
        {0.99f, 0.02f, 0.01f, 169, "rot", 1095, "red"},
        {0.005f, 0.0f, 0.002f, 182, "schwarz", 59, "black"},
    };
    for (const auto& c : cases) {
        int german = 0, english = 0;
        std::array<char, kNearestNameLength> german_name, english_name;
        cc_nearest_named_colour(c.r, c.g, c.b, german, german_name, english, english_name);
        EXPECT_EQ(german, c.german);
        EXPECT_EQ(english, c.english);
        std::string want_german = c.german_name, want_english = c.english_name;
        want_german.resize(kNearestNameLength, ' ');
        want_english.resize(kNearestNameLength, ' ');
        EXPECT_EQ(std::string(german_name.data(), german_name.size()), want_german);
        EXPECT_EQ(std::string(english_name.data(), english_name.size()), want_english);
    }
}

TEST(ColourTables, NearestOfEqualDistancesIsTheFirst)
{
    // German 38 "dunkelrot" 800000 and 96 "kastanienbraun" 800000: from a
    // colour near both, the earlier entry wins.
    const float half = german_colour_table().at(38).red;
    EXPECT_EQ(cc_nearest_entry(german_colour_table(), half, 0.001f, 0.0f), 38);
}

} // namespace
