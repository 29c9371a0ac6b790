#include "core/window_ops_layout.h"
#include "core/child_windows.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace korv;

TEST(StatusBarLayout, Edges)
{
    const struct {
        std::vector<int> widths;
        int client;
        std::vector<int> edges;
    } cases[] = {
        {{100, -1, 80}, 500, {100, 420, 500}},
        {{100, 200}, 500, {100, 300}},
        {{-1}, 640, {640}},
        {{50, 60, -1}, 300, {50, 110, 300}},
        {{-1, 30, 40}, 300, {230, 260, 300}},
        {{}, 300, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusbar_edges(c.widths, c.client), c.edges);
}

TEST(TextColours, EntriesAndRequests)
{
    EXPECT_EQ(text_colour_defaults()[1], 0x0000BF);  // dark red
    EXPECT_EQ(text_colour_defaults()[8], 0x404040);  // dark grey
    EXPECT_EQ(text_colour_defaults()[13], 0xFF0000); // blue
    EXPECT_EQ(text_background_entry(16), 17);       // the system window colour
    EXPECT_EQ(text_background_entry(17), -1);
    EXPECT_EQ(text_foreground_entry(16), 16);
    EXPECT_EQ(text_foreground_entry(-1), -1);
}

TEST(SystemColours, Codes)
{
    EXPECT_EQ(system_colour_index(6, false), 8);
    EXPECT_EQ(system_colour_index(26, false), 15);
    EXPECT_EQ(system_colour_index(13, false), 4);
    EXPECT_EQ(system_colour_index(13, true), 30);
    EXPECT_EQ(system_colour_index(16, true), 29);
    EXPECT_EQ(system_colour_index(5, false), -1);
    EXPECT_EQ(system_colour_index(27, false), -1);
    EXPECT_EQ(statusbar_style_of(0), 0x100);
    EXPECT_EQ(statusbar_style_of(2), 0x200);
    EXPECT_EQ(statusbar_style_of(1), 0);
}

TEST(WindowOpsLayout, ExtremeWidthsAndUnitsAreHeld)
{
    constexpr int top = std::numeric_limits<int>::max();
    const int widths[3] = {top, top, 5};
    EXPECT_EQ(statusbar_edges(widths, 800), (std::vector<int>{top, top, top}));
    const int behind[3] = {-1, top, top};
    EXPECT_EQ(statusbar_edges(behind, 800)[0], std::numeric_limits<int>::min());
    EXPECT_EQ(child_units_to_position(9999, std::numeric_limits<int>::min()), std::numeric_limits<int>::min());
    EXPECT_EQ(child_units_to_size(-9999999, top), std::numeric_limits<int>::min());
}
