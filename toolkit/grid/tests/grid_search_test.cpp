#include "grid/grid_cells.h"
#include "grid/grid_search.h"
#include "grid/tests/grid_test_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace korv;
using namespace korv::testing;

namespace {

// A prefix and a number (built in two steps: the one-expression form
// draws a false overlap warning from the cross compiler).
std::string numbered(const char* prefix, int n)
{
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

std::string column_texts(const TestGrid& t, int column)
{
    std::string s;
    for (int r = 0; r < t.grid.rows_in_use; ++r)
        s += (t.text(column, r).empty() ? "_" : t.text(column, r)) + (r + 1 < t.grid.rows_in_use ? "," : "");
    return s;
}

void put_texts(GridModel& g, int column, const std::vector<std::string>& texts)
{
    for (std::size_t r = 0; r < texts.size(); ++r)
        grid_cell_put_value(g, column, static_cast<int>(r), 0, texts[r], "");
}

TEST(GridSort, EmptyCellsGoLastEitherWay)
{
    TestGrid t(3, {typed_column(GridCellType::integer), text_column()});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 0, 3, "3", "");
    grid_cell_put_value(g, 0, 2, 1, "1", "");
    put_texts(g, 1, {"c", "e", "a"});
    WGridSort(test_grid_id, 1);
    EXPECT_EQ(column_texts(t, 0), "1,3,_");
    EXPECT_EQ(column_texts(t, 1), "a,c,e") << "rows move whole";
    WGridSort(test_grid_id, 1, grid_sort_descending);
    EXPECT_EQ(column_texts(t, 0), "3,1,_");
    EXPECT_EQ(take_error(), 0);
}

TEST(GridSort, TextKeysCompareUnsignedBytesPaddedWithBlanks)
{
    TestGrid t(3, {text_column()});
    GridModel& g = t.grid;
    put_texts(g, 0, {"b", "B", "a"});
    WGridSort(test_grid_id, 1);
    EXPECT_EQ(column_texts(t, 0), "B,a,b");
    WGridSort(test_grid_id, 1, grid_sort_case_blind);
    EXPECT_EQ(t.text(0, 0), "a");

    put_texts(g, 0, {"", "\xFE", "ab "});
    WGridSort(test_grid_id, 1);
    EXPECT_EQ(t.text(0, 1), "\xFE");
    EXPECT_EQ(t.text(0, 2), "") << "empty sorts after byte 254 ascending";
    put_texts(g, 0, {"", "\x1F", "!"});
    WGridSort(test_grid_id, 1, grid_sort_descending);
    EXPECT_EQ(column_texts(t, 0), "!,_,\x1F") << "blank key: after '!', before a control byte";
}

TEST(GridSort, EqualKeysMoveOnlyWhereThePartitionExchangesThem)
{
    TestGrid t(7, {typed_column(GridCellType::menu), text_column()}, 0x400);
    GridModel& g = t.grid;
    for (int r = 0; r < 7; ++r) {
        grid_cell_put_value(g, 1, r, 0, std::to_string(r), "");
        g.set_row_heading(r, numbered("H", r));
    }
    g.modified_1 = g.modified_2 = 0;
    WGridSort(test_grid_id, 1);
    EXPECT_EQ(column_texts(t, 1), "0,1,2,3,4,5,6");
    EXPECT_EQ(g.modified_1, 0);

    grid_cell_put_menu(g, 0, 0, 2);
    grid_cell_put_menu(g, 0, 6, 1);
    WGridSort(test_grid_id, 1, grid_sort_headings);
    // Seven rows partition around row 0's key 2: rows 0 and 6 are exchanged,
    // and the six equal keys before it then stay where they are.
    EXPECT_EQ(column_texts(t, 1), "6,1,2,3,4,5,0") << "unselected menu cells first";
    EXPECT_EQ(g.row_heading(6), "H0");
    EXPECT_EQ(g.modified_1, 1);
}

TEST(GridSort, ProtectionMovesWithNumbersOnly)
{
    TestGrid t(2, {typed_column(GridCellType::integer), text_column()});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 0, 2, "2", "");
    grid_cell_put_value(g, 0, 1, 1, "1", "");
    g.columns[0].flags(0) |= grid_cell_protected;
    g.columns[1].flags(0) |= grid_cell_protected;
    WGridSort(test_grid_id, 1);
    EXPECT_TRUE(g.columns[0].flags(1) & grid_cell_protected);
    EXPECT_TRUE(g.columns[1].flags(0) & grid_cell_protected);
}

// The rows' order as the sort's steps give it, taken naively: a partition
// around the first key of every range of seven or more, an exchange pass
// below that. Rows with equal keys end where these steps put them.
void reference_sort(std::vector<std::pair<std::string, int>>& keys, int first, int last)
{
    if (last >= first + 6) {
        const std::string pivot = keys[first].first;
        int i = first, j = last + 1;
        for (;;) {
            while (keys[i].first < pivot)
                ++i;
            do
                --j;
            while (pivot < keys[j].first);
            if (i >= j)
                break;
            if (keys[i].first != keys[j].first)
                std::swap(keys[i], keys[j]);
            ++i;
        }
        if (i == j)
            ++i;
        if (first < j)
            reference_sort(keys, first, j);
        if (i < last)
            reference_sort(keys, i, last);
        return;
    }
    for (int i = first; i < last; ++i)
        for (int j = i + 1; j <= last; ++j)
            if (keys[j].first < keys[i].first)
                std::swap(keys[i], keys[j]);
}

TEST(GridSort, GivesTheOrderOfItsStepsOnRandomSortedAndReversedRows)
{
    constexpr int rows = 3000;
    TestGrid t(rows, {text_column(6), typed_column(GridCellType::real)});
    GridModel& g = t.grid;
    std::mt19937 random(7);
    std::vector<std::pair<std::string, int>> reference;
    for (int r = 0; r < rows; ++r) {
        std::string word;
        for (int n = random() % 4; n > 0; --n)
            word += "aAbB "[random() % 5];
        grid_cell_put_value(g, 0, r, 0, word, "");
        grid_cell_put_value(g, 1, r, r, "x", "");
        std::string key = word;
        std::transform(key.begin(), key.end(), key.begin(), [](char c) { return c == 'a' ? 'A' : c == 'b' ? 'B' : c; });
        const auto last = key.find_last_not_of(' ');
        key.erase(last == std::string::npos ? 0 : last + 1);
        reference.emplace_back(word.empty() ? "\xFF" : key, r);
    }
    reference_sort(reference, 0, rows - 1);
    WGridSort(test_grid_id, 1, grid_sort_case_blind, -5, rows + 100);
    EXPECT_EQ(take_error(), 0);
    for (int r = 0; r < rows; ++r)
        ASSERT_EQ(g.columns[1].real_value(r), static_cast<float>(reference[r].second)) << r;

    // Sorted rows stay as they are; distinct keys in falling order turn
    // round; falling keys with ties go through the steps like any others.
    for (const bool distinct : {true, false}) {
        reference.clear();
        for (int r = 0; r < rows; ++r) {
            const int key = distinct ? rows - r : (rows - r) / 3;
            grid_cell_put_value(g, 0, r, 0, numbered("k", 10000 + key), "");
            grid_cell_put_value(g, 1, r, r, "x", "");
            reference.emplace_back(numbered("k", 10000 + key), r);
        }
        for (int pass = 0; pass < 2; ++pass) {
            reference_sort(reference, 0, rows - 1);
            WGridSort(test_grid_id, 1);
            for (int r = 0; r < rows; ++r)
                ASSERT_EQ(g.columns[1].real_value(r), static_cast<float>(reference[r].second)) << distinct << pass << r;
        }
    }
}

TEST(GridSort, AFullGridInOrderOrInReverseSortsAtOnce)
{
    // A partition around the first key of rows in order splits off one row
    // at a time; such ranges are recognised instead.
    TestGrid t(grid_max_rows, {typed_column(GridCellType::integer)});
    GridModel& g = t.grid;
    for (int r = 0; r < grid_max_rows; ++r)
        grid_cell_put_value(g, 0, r, r + 1, "x", "");
    g.modified_1 = 0;
    WGridSort(test_grid_id, 1);
    EXPECT_EQ(g.modified_1, 0) << "nothing moved";
    WGridSort(test_grid_id, 1, grid_sort_descending);
    for (int r = 0; r < grid_max_rows; ++r)
        ASSERT_EQ(g.columns[0].int_value(r), grid_max_rows - r) << r;
    EXPECT_EQ(g.modified_1, 1);
}

TEST(GridSort, ReportsWithoutADialogEvenForTheGridEditor)
{
    TestGrid t(2, {text_column()});
    t.dialog_current = false;
    WGridSort(0, 1);
    EXPECT_EQ(take_error(), 1005);
    t.dialog_current = true;
    WGridSort(test_grid_id, 2);
    EXPECT_EQ(take_error(), 1017);
}

TEST(GridFind, SearchesColumnByColumnAndMakesTheHitCurrent)
{
    TestGrid t(3, {typed_column(GridCellType::integer), text_column(), typed_column(GridCellType::check_box)});
    GridModel& g = t.grid;
    grid_cell_put_value(g, 0, 1, 312, "312", "");
    put_texts(g, 1, {"x", "y", "a12b"});
    int found = 5;
    WGridFind(test_grid_id, "12", 0, &found);
    EXPECT_EQ(found, -1);
    EXPECT_EQ(g.current_column, 1) << "integer columns are skipped without flag 4";
    EXPECT_EQ(g.current_row, 2);
    WGridFind(test_grid_id, "12", grid_find_numbers, &found);
    EXPECT_EQ(g.current_column, 0);
    EXPECT_EQ(g.current_row, 1);

    WGridFind(test_grid_id, "12", grid_find_after_current | grid_find_numbers, &found);
    EXPECT_EQ(g.current_column, 1);
    WGridFind(test_grid_id, "12", grid_find_after_current | grid_find_numbers, &found);
    EXPECT_EQ(found, 0) << "the current cell held the last match";
    EXPECT_EQ(g.current_column, 1);

    WGridFind(test_grid_id, "A12B", 0, &found);
    EXPECT_EQ(found, 0);
    WGridFind(test_grid_id, "A12B", grid_find_case_blind, &found);
    EXPECT_EQ(found, -1);
    WGridFind(test_grid_id, "y   ", 0, &found);
    EXPECT_EQ(found, -1) << "trailing blanks match the cell's padding";
    EXPECT_EQ(g.current_row, 1);
    WGridFind(test_grid_id, "12", 0, &found, 3);
    EXPECT_EQ(found, 0) << "check-box columns are never searched";
}

} // namespace
