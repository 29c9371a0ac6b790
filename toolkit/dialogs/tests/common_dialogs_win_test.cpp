// The colour, file and directory dialogs of the system, answered from a
// timer: values typed into their fields, buttons clicked.
#include "korvanthide/common_dialogs.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/window_ops.h"
#include "dialogs/common_dialogs.h"
#include "dialogs/common_dialogs_frame.h"
#include "testing/gui_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace korv;
using korv::testing::answer_dialogs;
using korv::testing::answers_given;

namespace {

// Edit fields of the colour dialog's red, green and blue values, and its
// button that adds the colour to the custom colours.
constexpr int colour_red = 706, colour_green = 707, colour_blue = 708, colour_add = 712;

int field_number(HWND dialog, int id)
{
    char text[16] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return std::atoi(text);
}

void type_colour(HWND dialog, int red, int green, int blue)
{
    SetDlgItemInt(dialog, colour_red, static_cast<UINT>(red), FALSE);
    SetDlgItemInt(dialog, colour_green, static_cast<UINT>(green), FALSE);
    SetDlgItemInt(dialog, colour_blue, static_cast<UINT>(blue), FALSE);
}

std::string temp_folder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    std::string folder = std::string(path) + "korv_cdlg";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace

TEST(ColourDialog, RgbChoiceAndCancel)
{
    std::array<int, 3> rgb = {255, 0, 0};
    std::array<int, 3> start{};
    answer_dialogs({{"Colour", IDOK, [&](HWND d) {
                         start = {field_number(d, colour_red), field_number(d, colour_green),
                                  field_number(d, colour_blue)};
                         type_colour(d, 10, 128, 250);
                     }}});
    WSelectColourRGB(rgb);
    EXPECT_EQ(answers_given(), 1);
    EXPECT_EQ(start, (std::array<int, 3>{255, 0, 0})); // the dialog started at pure red
    EXPECT_EQ(rgb, (std::array<int, 3>{10, 128, 250}));
    EXPECT_EQ(WToolkitQuery(4), 1);

    answer_dialogs({{"Colour", IDCANCEL, [&](HWND d) { type_colour(d, 1, 2, 3); }}});
    WSelectColourRGB(rgb);
    EXPECT_EQ(rgb, (std::array<int, 3>{10, 128, 250}));
    EXPECT_EQ(WToolkitQuery(4), 0);
}

TEST(ColourDialog, CustomColoursLastTheRunAndTheTitleIsShown)
{
    std::int32_t colour = 0x00FF00;
    answer_dialogs({{"Farbwahl", IDOK, [&](HWND d) {
                         type_colour(d, 1, 2, 3);
                         korv::testing::click_button(d, colour_add);
                         // Let the click reach the dialog before OK.
                         korv::testing::pump_messages(200);
                     }}});
    WSelectColour(colour, "Farbwahl");
    EXPECT_EQ(colour, 0x030201);
    EXPECT_EQ(cdlg_custom_colours()[0], 0x030201);
    // The next dialog starts with them; the caller's array replaces them.
    const std::array<std::int32_t, 16> mine{0x111111};
    int seen = 0;
    answer_dialogs({{"Colour", IDCANCEL, [&](HWND) { seen = cdlg_custom_colours()[0]; }}});
    WSelectColour(colour, std::nullopt, std::span<const std::int32_t, 16>(mine));
    EXPECT_EQ(seen, 0x111111);
    EXPECT_EQ(colour, 0x030201);
}

TEST(FileDialog, StartsInTheGivenFolderAndReturnsTheChoice)
{
    const std::string folder = temp_folder();
    const std::string file = folder + "\\daten.txt";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);

    std::array<char, 200> name{};
    text_assign(name, folder + "\\");
    int index = 1;
    char start[MAX_PATH] = {};
    answer_dialogs({{"Datei", IDOK, [&](HWND d) {
                         GetCurrentDirectoryA(MAX_PATH, start);
                         // The file name field of the explorer-style dialog.
                         HWND edit = GetDlgItem(d, 0x47C);
                         if (!edit)
                             edit = GetDlgItem(d, 0x480);
                         SetWindowTextA(edit, "daten.txt");
                     }}});
    WSelectFile(-1, std::string_view("Text|*.txt|Alle|*.*|\0", 21), 0x80 | 8, name, "Datei", index, 0);
    EXPECT_EQ(answers_given(), 1);
    EXPECT_EQ(WToolkitQuery(4), 1);
    EXPECT_EQ(std::string(text_trimmed(text_view(name))), file);
    EXPECT_EQ(index, 1);

    // Cancelled: the name stays as it was.
    const std::string before(name.data(), name.size());
    answer_dialogs({{"Select File", IDCANCEL}});
    WSelectFile(0, {}, 0, name, "   ", index, 1);
    EXPECT_EQ(WToolkitQuery(4), 0);
    EXPECT_EQ(std::string(name.data(), name.size()), before);
    DeleteFileA(file.c_str());
}

TEST(FileDialog, ANameLongerThanTheVariableIsRefused)
{
    const std::string folder = temp_folder();
    std::array<char, 8> name{};
    text_assign(name, "x");
    int index = 0;
    error_state().last_error = 0;
    answer_dialogs({{"Select File", IDOK, [&](HWND d) {
                         HWND edit = GetDlgItem(d, 0x47C);
                         if (!edit)
                             edit = GetDlgItem(d, 0x480);
                         SetWindowTextA(edit, (folder + "\\ein_langer_name.txt").c_str());
                     }}});
    WSelectFile(0, {}, 1 | 4, name, "", index, 0);
    EXPECT_EQ(WToolkitQuery(4), 0);
    EXPECT_EQ(error_state().last_error, 1023);
    EXPECT_EQ(std::string(name.data(), name.size()), "x       ");
}

TEST(DirectoryDialog, ChosenAndRefusedPaths)
{
    const std::string folder = temp_folder();
    const std::string file = folder + "\\keine_mappe.txt";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);

    std::array<char, 261> dir{};
    text_copy_terminated(dir.data(), dir.size(), folder);
    int result = 0;
    answer_dialogs({{"Verzeichnis", IDOK}});
    cdlg_browse_directory(1, result, 0, dir, "Verzeichnis");
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(dir.data(), folder.c_str());

    // A typed path naming a file keeps the dialog open with a warning,
    // whatever the flags; then Cancel.
    bool warned = false;
    answer_dialogs({{"Verzeichnis", IDOK,
                     [&](HWND d) {
                         for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                             char cls[16] = {};
                             GetClassNameA(c, cls, sizeof cls);
                             if (std::string(cls) == "Edit" && IsWindowVisible(c))
                                 SetWindowTextA(c, file.c_str());
                         }
                     }},
                    {"Invalid Directory", IDOK, [&](HWND) { warned = true; }},
                    {"Verzeichnis", IDCANCEL}});
    cdlg_browse_directory(1, result, 4 | 0x40, dir, "Verzeichnis");
    EXPECT_TRUE(warned);
    EXPECT_EQ(result, 2);
    DeleteFileA(file.c_str());
}
