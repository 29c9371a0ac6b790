#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "colour_tables.h"
#include "converter.h"
#include "recording_toolkit.h"

namespace {

constexpr std::int32_t kWhite = 0xFFFFFF;

// The converter after start-up on a simulated dialog.
struct Running {
    RecordingToolkit dialog;
    Converter converter{dialog};

    Running() { converter.start(); }

    bool event(int type, int first, int second = 0, int window = 101)
    {
        EventRecord r;
        r.slot(1) = window;
        r.slot(2) = first;
        r.slot(3) = second;
        return converter.handle_event(type, r);
    }
    void field_changed(int left, int entered) { event(10, left, entered); }
    void move(int trackbar, int position)
    {
        dialog.move_trackbar(trackbar, position);
        field_changed(trackbar, trackbar);
    }
    void choose(int list, int item)
    {
        dialog.choose_item(list, item);
        field_changed(list, list);
    }
    const std::string& text(int field) { return dialog.fields[field].text; }
    std::int32_t preview(int field) { return dialog.fields[field].preview; }
    RgbColour rgb() const { return converter.state().colour.rgb; }
};

TEST(Converter, StartsWithWhite)
{
    Running c;
    EXPECT_EQ(c.text(1082), "FFFFFF");
    EXPECT_EQ(c.text(1087), "16777215");
    EXPECT_EQ(c.text(1004), "weiss");
    EXPECT_EQ(c.text(1056), "gray100");
    EXPECT_EQ(c.text(1062), "wei\337, grey100, white");
    EXPECT_EQ(c.preview(1024), kWhite);
    EXPECT_EQ(c.preview(1078), kWhite);
    EXPECT_EQ(c.dialog.fields[1004].items.size(), 206u);
    EXPECT_EQ(c.dialog.fields[1056].items.size(), 1333u);

    // The real RGB fields and the integer CMYK and CMY fields show.
    for (int f : {1021, 1022, 1023, 1009, 1011, 1013, 1028, 1035, 1071, 1073, 1037, 1049, 1040, 1042, 1052, 1054}) {
        EXPECT_EQ(c.dialog.fields[f].state, 1) << f;
    }
    for (int f : {1016, 1017, 1018, 1010, 1012, 1014, 1029, 1069, 1072, 1074, 1038, 1050, 1039, 1041, 1051, 1053}) {
        EXPECT_EQ(c.dialog.fields[f].state, 3) << f;
    }
    EXPECT_EQ(c.text(1021), c.text(1023));
    EXPECT_EQ(c.dialog.fields[1021].value, 1.0);
    EXPECT_EQ(c.text(1009), "0");

    const struct {
        int menu;
        std::vector<std::string> items;
        int selected;
    } menus[] = {
        {1019, {"0 - 1", "0 - 255"}, 1},
        {1020, {"0 - 1", "0 - 100", "0 - 255"}, 2},
        {1075, {"0 - 1", "0 - 100", "0 - 255"}, 2},
        {1036, {"0 - 1", "1 - 240", "1 - 255", "0 - 360"}, 4},
        {1057, {"0 - 1", "0 - 255"}, 1},
        {1059, {"0 - 1", "1 - 240", "1 - 255", "0 - 360"}, 4},
        {1060, {"0 - 1", "0 - 255"}, 1},
    };
    for (const auto& m : menus) {
        EXPECT_EQ(c.dialog.fields[m.menu].items, m.items) << m.menu;
        EXPECT_EQ(c.dialog.fields[m.menu].selected, m.selected) << m.menu;
    }

    // Spinner steps and the hue trackbars come before anything is shown.
    const std::vector<std::string> first(c.dialog.calls.begin(), c.dialog.calls.begin() + 18);
    EXPECT_EQ(first.front(), "spinner_step 1021 0.01 0.1");
    EXPECT_EQ(first[14], "spinner_step 1038 1 10");
    EXPECT_EQ(first[16], "put_trackbar 1044 0 0 360");
    EXPECT_EQ(first[17], "put_trackbar 1032 0 0 360");
}

TEST(Converter, RedTrackbarToFifty)
{
    Running c;
    c.move(1001, 50);
    EXPECT_EQ(c.text(1082), "7FFFFF");
    EXPECT_EQ(c.text(1087), "16777087");
    EXPECT_EQ(c.preview(1024), 128 + 256 * 255 + 65536 * 255);
    EXPECT_EQ(c.preview(1078), kWhite);  // the comparison keeps white
    EXPECT_EQ(c.dialog.fields[1001].position, 50);
}

TEST(Converter, MovedTrackbarKeepsItsPosition)
{
    // 100 x (p x 0.01) truncates to p - 1 for these positions.
    for (int trackbar : {1001, 1005, 1067, 1045, 1034}) {
        for (int p : {5, 10, 30, 99, 49, 0, 100}) {
            Running c;
            c.move(trackbar, p);
            EXPECT_EQ(c.dialog.fields[trackbar].position, p) << trackbar;
            const int next = trackbar == 1034 ? 1033 : trackbar + 1;
            c.field_changed(trackbar, next);  // Tab on to the next trackbar
            EXPECT_EQ(c.dialog.fields[trackbar].position, p) << trackbar << " after Tab";
        }
    }
    // A hue moved to 360 (which the conversion takes as 0) stays at 360.
    for (int hue : {1044, 1032}) {
        Running c;
        c.move(hue == 1044 ? 1046 : 1033, 100);  // full saturation, so the hue counts
        c.move(hue, 360);
        EXPECT_EQ(c.dialog.fields[hue].position, 360) << hue;
    }
    // Once the colour moves on through another model, the trackbar shows it
    // as computed.
    Running c;
    c.move(1001, 5);
    c.move(1034, 50);  // HSV value
    EXPECT_EQ(c.dialog.fields[1001].position, static_cast<int>(100.0f * c.rgb().r));
}

TEST(Converter, HexadecimalCodeTypedAndLeft)
{
    Running c;
    c.move(1045, 30);  // some HLS change first: the code wins whatever the source was
    c.dialog.type(1082, "FF");
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.rgb().r, 1.0f);
    EXPECT_EQ(c.rgb().g, 0.0f);
    EXPECT_EQ(c.rgb().b, 0.0f);
    EXPECT_EQ(c.text(1082), "FF0000");
    EXPECT_EQ(c.text(1004), "rot");

    c.dialog.type(1082, "0000FF");
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.text(1087), "16711680");
    EXPECT_EQ(c.preview(1024), 255 * 65536);

    // No code: the colour stays and the code is written again.
    c.dialog.type(1082, "00ZZ00");
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.text(1082), "0000FF");
    EXPECT_EQ(c.rgb().b, 1.0f);
    c.dialog.type(1082, "0000FF0");
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.text(1082), "0000FF");

    // The code is read in its six places: what is typed beyond them is not.
    c.dialog.type(1082, "FFFF001");
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.text(1082), "FFFF00");
    EXPECT_EQ(c.rgb().g, 1.0f);
}

TEST(Converter, PassingThroughTheCodeKeepsAChosenName)
{
    Running c;
    c.choose(1004, 1);  // aliceblau: 0.941176 shows as EF, which reads back lighter
    ASSERT_EQ(c.text(1082), "EFF8FF");
    c.field_changed(1004, 1082);
    c.field_changed(1082, 1087);
    EXPECT_EQ(c.converter.state().source_model, kModelGermanName);
    EXPECT_EQ(c.text(1004), "aliceblau");
}

TEST(Converter, TypedNumberIsTakenWhenLeft)
{
    Running c;
    c.choose(1019, 2);  // RGB "0 - 255": the integer fields show
    EXPECT_EQ(c.dialog.fields[1016].state, 1);
    EXPECT_EQ(c.dialog.fields[1021].state, 3);
    EXPECT_EQ(c.text(1016), "255");

    c.field_changed(1019, 1016);
    c.dialog.type(1016, "128");
    c.field_changed(1016, 1017);  // Tab
    EXPECT_EQ(c.rgb().r, 128 / 255.0f);
    EXPECT_EQ(c.text(1082), "80FFFF");
    EXPECT_EQ(c.text(1016), "128");

    // Typed into a real field, then a trackbar of another model clicked:
    // the typed value counts first.
    c.choose(1019, 1);
    c.field_changed(1019, 1022);
    c.dialog.type(1022, "0.5");
    c.field_changed(1022, 1003);
    EXPECT_EQ(c.rgb().g, 0.5f);
    EXPECT_EQ(c.text(1082), "807FFF");

    // Not a number: the field refuses it and the colour stays.
    const RgbColour typed = c.rgb();
    c.field_changed(1003, 1021);
    c.dialog.type(1021, "1-2");
    c.field_changed(1021, 1079);
    EXPECT_EQ(c.rgb().r, typed.r);

    // Left untouched: nothing is read from it.
    const RgbColour before = c.rgb();
    c.field_changed(1003, 1023);
    c.field_changed(1023, 1001);
    EXPECT_EQ(c.rgb().b, before.b);
}

TEST(Converter, NameChosenInTheGermanList)
{
    Running c;
    c.choose(1004, 40);
    EXPECT_EQ(german_colour_table().name(40), "dunkelschiefergrau");
    EXPECT_EQ(c.text(1004), "dunkelschiefergrau");
    EXPECT_EQ(c.text(1062), "dunkles schiefergrau, darkslate grey, darkslategray, darkslategrey");
    EXPECT_EQ(c.text(1062).size(), 66u);
    EXPECT_EQ(c.text(1082), "2F4F4F");
}

TEST(Converter, ColourChoiceAndComparison)
{
    Running c;
    c.dialog.colour_answer = 1;
    c.dialog.colour_chosen = {0, 128, 255};
    c.event(3, 1055);
    EXPECT_EQ(c.text(1082), "0080FF");
    EXPECT_EQ(c.preview(1024), 128 * 256 + 255 * 65536);
    EXPECT_EQ(c.preview(1078), c.preview(1024));

    // Cancel keeps the colour and still brings the comparison up to date;
    // the dialog starts at the colour chosen last.
    c.move(1001, 100);
    EXPECT_NE(c.preview(1078), c.preview(1024));
    c.dialog.colour_answer = 0;
    c.event(3, 1055);
    EXPECT_EQ(c.dialog.colour_started, (std::array<int, 3>{0, 128, 255}));
    EXPECT_EQ(c.text(1082), "FF80FF");
    EXPECT_EQ(c.preview(1078), c.preview(1024));

    c.move(1001, 0);
    c.event(3, 1079);  // "übernehmen"
    EXPECT_EQ(c.preview(1078), c.preview(1024));
}

TEST(Converter, InfoWindowsAndTheEnd)
{
    Running c;
    EXPECT_TRUE(c.event(3, 1077));
    EXPECT_TRUE(c.event(3, 1077));
    EXPECT_EQ(c.converter.info_window(), 2);
    EXPECT_TRUE(c.event(9, 0, 0, 1));  // the first Info window's close box
    EXPECT_EQ(c.dialog.closed_windows, std::vector<int>{1});

    c.dialog.next_window = 99;  // the window table is full
    EXPECT_TRUE(c.event(3, 1077));
    EXPECT_EQ(c.converter.info_window(), 2);

    EXPECT_TRUE(c.event(3, 9));    // help key: nothing
    EXPECT_TRUE(c.event(4, 1));    // other event types: nothing
    EXPECT_FALSE(c.event(3, 1));   // Ende or Enter
    EXPECT_FALSE(c.event(3, 2));   // Esc or the close box
    EXPECT_FALSE(c.event(9, 0, 0, 0));  // the root window's close request
}

TEST(Converter, EndWaitsForANumber)
{
    const struct {
        int focus;
        const char* text;
        bool ends;
    } cases[] = {
        {1021, "1-2", false}, {1016, "--", false}, {1021, "", true},   {1021, "0.5", true},
        {1016, "7", true},    {1082, "XY", true},  {1062, "1-2", true}, {0, "", true},
    };
    for (const auto& t : cases) {
        Running c;
        c.dialog.focus = t.focus;
        c.dialog.type(t.focus, t.text);
        c.dialog.calls.clear();
        EXPECT_EQ(c.event(3, 1), !t.ends) << t.focus << " " << t.text;
        EXPECT_EQ(c.dialog.calls.size(), t.ends ? 0u : 1u);
        EXPECT_FALSE(c.event(3, 2));  // the cancel command ends all the same
    }
}

TEST(Converter, TrackbarStepWritesOnlyWhatChanges)
{
    Running c;
    c.move(1001, 99);
    c.dialog.calls.clear();
    c.move(1001, 98);
    EXPECT_LE(c.dialog.writes(), 30);
    for (const std::string& call : c.dialog.calls) {
        EXPECT_EQ(call.rfind("put_menu", 0), std::string::npos) << call;
        EXPECT_NE(call, "put_trackbar 1001 98 0 100");  // it is there already
    }
    c.dialog.calls.clear();
    c.move(1001, 98);
    EXPECT_EQ(c.dialog.writes(), 0);
}

TEST(Converter, RangeMenuSwitchesFields)
{
    Running c;
    c.move(1001, 50);
    c.choose(1019, 2);
    EXPECT_EQ(c.text(1016), "127");  // trunc(255 x 0.5)
    c.choose(1020, 1);  // CMYK "0 - 1": the real fields show their values
    EXPECT_EQ(c.dialog.fields[1010].state, 1);
    EXPECT_EQ(c.dialog.fields[1009].state, 3);
    EXPECT_EQ(c.dialog.fields[1010].value, 0.5f);
}

} // namespace
