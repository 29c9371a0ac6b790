#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "dialog_cache.h"
#include "recording_toolkit.h"

namespace {

using Calls = std::vector<std::string>;

TEST(DialogCache, PassesOnOnlyWritesThatChangeAField)
{
    RecordingToolkit dialog;
    DialogCache cache(dialog);
    auto write_all = [&](int position, int integer, float real, std::string_view text) {
        cache.put_trackbar(1001, position, 0, 100);
        cache.put_integer(1016, integer);
        cache.put_real(1021, real);
        cache.put_string(1082, text);
        cache.flush();
    };
    write_all(50, 127, 0.5f, "7F0000");
    write_all(50, 127, 0.5f, "7F0000");
    write_all(51, 127, 0.5f, "7F0000");
    write_all(51, 127, -0.0f, "7F0000");
    write_all(51, 127, 0.0f, "800000");
    EXPECT_EQ(dialog.calls, (Calls{"put_trackbar 1001 50 0 100", "put_integer 1016 127", "put_real 1021 0.5",
                                   "put_string 1082 \"7F0000\"", "put_trackbar 1001 51 0 100", "put_real 1021 -0",
                                   "put_real 1021 0", "put_string 1082 \"800000\""}));

    // A field the user may have changed is written again, even unchanged.
    dialog.calls.clear();
    cache.forget(1082);
    cache.forget(1016);
    write_all(51, 127, 0.0f, "800000");
    EXPECT_EQ(dialog.calls, (Calls{"put_integer 1016 127", "put_string 1082 \"800000\""}));

    // A trackbar the user moved is where the user put it.
    dialog.calls.clear();
    cache.note_trackbar(1001, 60);
    write_all(60, 127, 0.0f, "800000");
    write_all(51, 127, 0.0f, "800000");
    EXPECT_EQ(dialog.calls, Calls{"put_trackbar 1001 51 0 100"});
}

TEST(DialogCache, ListsKeepTheirItemsAndMoveTheSelection)
{
    RecordingToolkit dialog;
    DialogCache cache(dialog);
    const std::string_view names[] = {"aqua                 ", "blau                 ", "gelb                 "};
    const std::string_view others[] = {"rot", "schwarz"};
    cache.put_menu(1004, names, 2);
    cache.put_menu(1004, names, 2);
    cache.put_menu(1004, names, 3);
    cache.forget(1004);  // the user typed into the list's edit part
    cache.put_menu(1004, names, 3);
    cache.put_menu(1004, others, 1);
    cache.put_menu(1004, names, 0);
    EXPECT_EQ(dialog.calls, (Calls{"put_menu 1004 3 2", "select_menu_item 1004 3", "select_menu_item 1004 3",
                                   "put_menu 1004 2 1", "put_menu 1004 3 0"}));
    EXPECT_EQ(dialog.fields[1004].items, (std::vector<std::string>{"aqua", "blau", "gelb"}));
}

TEST(DialogCache, HiddenFieldsAreWrittenWhenShown)
{
    RecordingToolkit dialog;
    DialogCache cache(dialog);
    cache.field_state(1016, 3);
    cache.put_integer(1016, 255);
    cache.put_integer(1016, 127);
    cache.flush();
    EXPECT_EQ(dialog.calls, Calls{"field_state 1016 3"});

    // Shown in one refresh: the value goes in first, then the field shows,
    // after the refresh's other writes.
    dialog.calls.clear();
    cache.field_state(1021, 3);
    cache.field_state(1016, 1);
    cache.put_integer(1016, 128);
    cache.put_real(1021, 0.5f);
    cache.flush();
    EXPECT_EQ(dialog.calls, (Calls{"field_state 1021 3", "put_integer 1016 128", "field_state 1016 1"}));
    EXPECT_EQ(dialog.fields[1016].text, "128");

    // Shown again with what it shows already: no write. Shown and hidden
    // again within one refresh: nothing at all.
    dialog.calls.clear();
    cache.field_state(1016, 3);
    cache.flush();
    cache.field_state(1016, 1);
    cache.put_integer(1016, 128);
    cache.flush();
    cache.field_state(1021, 1);
    cache.field_state(1021, 3);
    cache.flush();
    EXPECT_EQ(dialog.calls, (Calls{"field_state 1016 3", "field_state 1016 1"}));

    // What a hidden field was given last is what it shows.
    dialog.calls.clear();
    cache.put_real(1021, 0.25f);
    cache.field_state(1021, 1);
    cache.flush();
    EXPECT_EQ(dialog.calls, (Calls{"put_real 1021 0.25", "field_state 1021 1"}));
}

TEST(DialogCache, PreviewsAreRebuiltWhenTheirPixelsChange)
{
    RecordingToolkit dialog;
    DialogCache cache(dialog);
    cache.show_preview(1024, 0.5f, 1, 1, 75, 60);
    cache.show_preview(1024, 0.5001f, 1, 1, 75, 60);  // the same pixels
    cache.show_preview(1078, 0.5f, 1, 1, 75, 60);
    cache.show_preview(1024, 0.4999f, 1, 1, 75, 60);
    EXPECT_EQ(dialog.calls.size(), 3u);
    EXPECT_EQ(dialog.fields[1024].preview, 127 + 256 * 255 + 65536 * 255);
    EXPECT_EQ(dialog.fields[1078].preview, 128 + 256 * 255 + 65536 * 255);
}

TEST(DialogCache, PreviewPixel)
{
    const struct {
        float x;
        int component;
    } cases[] = {{0, 0}, {0.5f, 128}, {1, 255}, {0.999f, 255}, {254.5f / 256, 254}, {-0.1f, 0}, {2, 255}, {NAN, 0}};
    for (const auto& t : cases) {
        EXPECT_EQ(cc_preview_pixel(t.x, 0, 0), t.component) << t.x;
        EXPECT_EQ(cc_preview_pixel(0, 0, t.x), 65536 * t.component) << t.x;
    }
}

TEST(DialogCache, RemembersWhatItWrote)
{
    RecordingToolkit dialog;
    DialogCache cache(dialog);
    EXPECT_FALSE(cache.written_number(1016));
    cache.put_integer(1016, 128);
    cache.put_real(1021, 0.25f);
    cache.put_string(1082, "FF0000");
    EXPECT_EQ(cache.written_number(1016)->integer_value, 128);
    EXPECT_TRUE(cache.written_number(1016)->integer);
    EXPECT_EQ(cache.written_number(1021)->real_value, 0.25f);
    EXPECT_EQ(cache.written_text(1082), "FF0000");
    EXPECT_FALSE(cache.written_text(1016));
    cache.forget(1082);
    EXPECT_FALSE(cache.written_text(1082));
}

} // namespace
