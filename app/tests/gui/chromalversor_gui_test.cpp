// Chromalversor.exe end to end: the program runs as the user starts it and
// this test clicks, types and moves trackbars in its dialog, then reads what
// the dialog shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "program_driver.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

HWND edit_part(HWND combo)
{
    return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

std::string class_of(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK find_rich_edit(HWND child, LPARAM data)
{
    const std::string name = class_of(child);
    if (name.rfind("RichEdit", 0) == 0 || name.rfind("RICHEDIT", 0) == 0) {
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
    }
    return TRUE;
}

// The editor control inside an Info window.
HWND rich_edit(HWND frame)
{
    HWND found = nullptr;
    EnumChildWindows(frame, find_rich_edit, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A preview is compared once it is painted, not when its texts change.
#define EXPECT_PREVIEW(p, id, colour) EXPECT_EQ(p.preview_showing(id, colour), colour)
#define START_PROGRAM(p)                         \
    ProgramDriver p;                             \
    ASSERT_TRUE(p.started()) << "no dialog showing white"
#define START_PROGRAM_IN(p, folder)              \
    ProgramDriver p(folder);                     \
    ASSERT_TRUE(p.started()) << "no dialog showing white"

TEST(Chromalversor, StartsWithWhite)
{
    START_PROGRAM(p);
    EXPECT_EQ(p.text(1082), "FFFFFF");
    EXPECT_EQ(p.text(1087), "16777215");
    EXPECT_EQ(p.text(1004), "weiss");
    EXPECT_EQ(p.list_selection(1004), 198);
    EXPECT_EQ(p.text(1056), "gray100");
    EXPECT_EQ(p.list_selection(1056), 364);
    EXPECT_EQ(p.text(1062), "wei\337, grey100, white");
    EXPECT_PREVIEW(p, 1024, kWhite);
    EXPECT_PREVIEW(p, 1078, kWhite);
    EXPECT_EQ(SendMessageA(p.field(1004), CB_GETCOUNT, 0, 0), 206);
    EXPECT_EQ(SendMessageA(p.field(1056), CB_GETCOUNT, 0, 0), 1333);

    // Real RGB fields, integer CMYK and CMY fields.
    for (int id : {1021, 1022, 1023, 1009, 1011, 1013, 1028, 1035, 1071, 1073}) {
        EXPECT_TRUE(p.visible(id)) << id;
    }
    for (int id : {1016, 1017, 1018, 1010, 1012, 1014, 1029, 1069, 1072, 1074}) {
        EXPECT_FALSE(p.visible(id)) << id;
    }
    EXPECT_EQ(p.text(1009), "0");
    EXPECT_EQ(p.text(1035), "0");
    EXPECT_EQ(std::stod(p.text(1021)), 1.0);
    EXPECT_EQ(p.text(1019), "0 - 1");
    EXPECT_EQ(p.text(1020), "0 - 100");
    EXPECT_EQ(p.text(1036), "0 - 360");
}

TEST(Chromalversor, RedTrackbarToFifty)
{
    START_PROGRAM(p);
    p.click(1001);          // the trackbar takes the focus (and a page)
    p.key(VK_HOME);         // 0
    p.keys(VK_NEXT, 5);     // five pages of 10
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "7FFFFF"; })) << p.text(1082);
    EXPECT_EQ(p.text(1087), "16777087");
    EXPECT_PREVIEW(p, 1024, RGB(128, 255, 255));
    EXPECT_PREVIEW(p, 1078, kWhite);
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.trackbar(1001), 50);

    // 100 x (49 x 0.01) truncates to 48: the trackbar stays where it was put.
    p.key(VK_LEFT);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "7CFFFF"; })) << p.text(1082);
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.trackbar(1001), 49);
}

TEST(Chromalversor, HexadecimalCodeTyped)
{
    START_PROGRAM(p);
    p.retype(1082, "FF");
    p.key(VK_TAB);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "FF0000"; })) << p.text(1082);
    EXPECT_EQ(p.focus(), p.field(1087));
    EXPECT_PREVIEW(p, 1024, RGB(255, 0, 0));
    EXPECT_EQ(p.text(1004), "rot");

    p.retype(1082, "0000FF");
    p.key(VK_TAB);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1087) == "16711680"; })) << p.text(1087);
    EXPECT_EQ(p.text(1082), "0000FF");
    EXPECT_PREVIEW(p, 1024, RGB(0, 0, 255));

    // What is no code keeps the colour; the code shows again.
    p.retype(1082, "XY");
    p.key(VK_TAB);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "0000FF"; })) << p.text(1082);
    EXPECT_PREVIEW(p, 1024, RGB(0, 0, 255));
}

TEST(Chromalversor, TypedIntegerInRange255)
{
    START_PROGRAM(p);
    p.click(edit_part(p.field(1019)));
    p.key(VK_DOWN);  // "0 - 255"
    ASSERT_TRUE(p.wait_until([&] { return p.visible(1016); }));
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.text(1019), "0 - 255");
    EXPECT_FALSE(p.visible(1021));
    EXPECT_EQ(p.text(1016), "255");

    p.retype(1016, "128");
    p.key(VK_TAB);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "80FFFF"; })) << p.text(1082);
    EXPECT_EQ(p.text(1016), "128");
    EXPECT_PREVIEW(p, 1024, RGB(128, 255, 255));
}

TEST(Chromalversor, GermanNameChosen)
{
    START_PROGRAM(p);
    p.click(edit_part(p.field(1004)));
    p.keys(VK_UP, 198 - 40);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1004) == "dunkelschiefergrau"; }, 30000)) << p.text(1004);
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.list_selection(1004), 40);
    const std::string alias = p.text(1062);
    EXPECT_EQ(alias, "dunkles schiefergrau, darkslate grey, darkslategray, darkslategrey");
    EXPECT_EQ(alias.size(), 66u);
    EXPECT_EQ(p.text(1082), "2F4F4F");
}

// The colour-choice dialog of the running program, once it shows.
HWND colour_dialog(const ProgramDriver& p)
{
    HWND found = nullptr;
    p.wait_until([&] {
        for (HWND w : p.windows("")) {
            if (class_of(w) == "#32770" && GetDlgItem(w, 706) != nullptr) {
                found = w;
            }
        }
        return found != nullptr;
    });
    return found;
}

TEST(Chromalversor, ColourChoiceOkAndCancel)
{
    START_PROGRAM(p);
    p.click(1055);
    HWND chooser = colour_dialog(p);
    ASSERT_NE(chooser, nullptr);
    p.retype(GetDlgItem(chooser, 706), "0");    // red
    p.retype(GetDlgItem(chooser, 707), "128");  // green
    p.retype(GetDlgItem(chooser, 708), "255");  // blue
    p.click(GetDlgItem(chooser, IDOK));
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "0080FF"; })) << p.text(1082);
    EXPECT_PREVIEW(p, 1024, RGB(0, 128, 255));
    EXPECT_PREVIEW(p, 1078, RGB(0, 128, 255));

    // Another colour, then the chooser cancelled: the colour stays and the
    // comparison preview follows it.
    p.click(1001);
    p.key(VK_END);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "FF80FF"; })) << p.text(1082);
    EXPECT_PREVIEW(p, 1078, RGB(0, 128, 255));
    p.click(1055);
    chooser = colour_dialog(p);
    ASSERT_NE(chooser, nullptr);
    p.click(GetDlgItem(chooser, IDCANCEL));
    ASSERT_TRUE(p.wait_until([&] { return p.preview(1078) == RGB(255, 128, 255); }));
    EXPECT_EQ(p.text(1082), "FF80FF");
    EXPECT_PREVIEW(p, 1024, RGB(255, 128, 255));
}

TEST(Chromalversor, InfoViewers)
{
    START_PROGRAM(p);
    p.click(1077);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").size() == 1; }));
    const HWND first = p.windows("Info")[0];
    EXPECT_TRUE(p.wait_until([&] { return IsWindowEnabled(first) != FALSE; }));  // usable beside the dialog
    EXPECT_TRUE(IsWindowEnabled(p.dialog()));
    HWND viewer = nullptr;
    ASSERT_TRUE(p.wait_until([&] { return (viewer = rich_edit(first)) != nullptr; }));
    EXPECT_NE(GetWindowLongA(viewer, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_TRUE(p.wait_until([&] { return p.text(viewer).find("Farbgruppen") != std::string::npos; }))
        << p.text(viewer);
    EXPECT_NE(p.text(viewer).find("Chromalversor 3.1"), std::string::npos);
    EXPECT_EQ(p.text(viewer).find("\\rtf"), std::string::npos);  // shown as text, not as RTF

    p.click(1077);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").size() == 2; }));

    p.close_box(first);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").size() == 1; }));
    EXPECT_TRUE(p.running());

    // The dialog still works.
    p.click(1003);
    p.key(VK_HOME);
    ASSERT_TRUE(p.wait_until([&] { return p.text(1082) == "FFFF00"; })) << p.text(1082);

    p.close_box(p.windows("Info")[0]);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").empty(); }));
    EXPECT_TRUE(p.settle());
    EXPECT_TRUE(p.running());
}

TEST(Chromalversor, InfoWithoutTheHelpFile)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "chromalversor_no_help\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    START_PROGRAM_IN(p, folder);
    p.click(1077);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").size() == 1; }));
    const HWND info = p.windows("Info")[0];
    EXPECT_TRUE(p.wait_until([&] { return IsWindowEnabled(info) != FALSE; }));
    p.close_box(info);
    ASSERT_TRUE(p.wait_until([&] { return p.windows("Info").empty(); }));
    EXPECT_TRUE(p.settle());
    EXPECT_TRUE(p.running());
    p.click(1);
    EXPECT_EQ(p.exit_status(), 0);
    RemoveDirectoryA(folder.c_str());
}

TEST(Chromalversor, EndsWithStatusZero)
{
    const struct {
        const char* how;
        void (*end)(ProgramDriver&);
    } ways[] = {
        {"Ende", [](ProgramDriver& p) { p.click(1); }},
        {"Enter", [](ProgramDriver& p) {
             p.click(1002);
             p.key(VK_RETURN);
         }},
        {"Esc", [](ProgramDriver& p) {
             p.click(1082);
             p.key(VK_ESCAPE);
         }},
        {"close box", [](ProgramDriver& p) { p.close_box(p.dialog()); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        START_PROGRAM(p);
        way.end(p);
        EXPECT_EQ(p.exit_status(), 0);
    }
}

TEST(Chromalversor, InvalidNumberStopsEnde)
{
    START_PROGRAM(p);
    p.retype(1021, "1-2");
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.text(1021), "1-2");
    p.click(1);
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.exit_status(1000), -1);
    EXPECT_TRUE(p.running());
    EXPECT_EQ(p.focus(), p.field(1021));
    EXPECT_EQ(p.text(1021), "1-2");
    p.key(VK_RETURN);
    EXPECT_TRUE(p.settle());
    EXPECT_EQ(p.exit_status(500), -1);
    EXPECT_EQ(p.focus(), p.field(1021));

    // Esc gives the field back its number and ends all the same.
    p.key(VK_ESCAPE);
    EXPECT_EQ(p.exit_status(), 0);
}

} // namespace
