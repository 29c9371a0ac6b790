#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "colour_refresh.h"
#include "converter_writer.h"
#include "recording_toolkit.h"

namespace {

int field_of(const std::string& call)
{
    std::istringstream in(call);
    std::string name;
    int field = 0;
    in >> name >> field;
    return field;
}

std::string name_of(const std::string& call)
{
    return call.substr(0, call.find(' '));
}

DialogView refreshed(float r, float g, float b, int model = kModelRgb, int name_index = 0, int flags = 0,
                     RangeSelections ranges = {})
{
    ColourRecord colour;
    colour.rgb = {r, g, b};
    RefreshWorkspace workspace;
    cc_compute_refresh(model, name_index, flags, ranges, colour, workspace);
    return workspace.shown;
}

TEST(RefreshWriter, WritesEveryFieldInOrder)
{
    RecordingToolkit dialog;
    cc_write_refresh(refreshed(1, 1, 1, kModelRgb, 0, -1), kModelRgb, dialog);

    // Visibility by the default ranges: RGB real, CMYK and CMY integer,
    // HLS hue integer, HLS L S real, HSV hue integer, HSV S V real; within a
    // group the real fields first.
    const std::vector<std::string> states = {
        "field_state 1021 1", "field_state 1022 1", "field_state 1023 1",
        "field_state 1016 3", "field_state 1017 3", "field_state 1018 3",
        "field_state 1010 3", "field_state 1012 3", "field_state 1014 3", "field_state 1029 3",
        "field_state 1009 1", "field_state 1011 1", "field_state 1013 1", "field_state 1028 1",
        "field_state 1069 3", "field_state 1072 3", "field_state 1074 3",
        "field_state 1035 1", "field_state 1071 1", "field_state 1073 1",
        "field_state 1050 3", "field_state 1049 1",
        "field_state 1052 1", "field_state 1054 1", "field_state 1051 3", "field_state 1053 3",
        "field_state 1038 3", "field_state 1037 1",
        "field_state 1040 1", "field_state 1042 1", "field_state 1039 3", "field_state 1041 3",
    };
    ASSERT_GT(dialog.calls.size(), states.size());
    EXPECT_EQ(std::vector<std::string>(dialog.calls.begin(), dialog.calls.begin() + states.size()), states);

    const std::vector<int> writes = {
        1001, 1016, 1021, 1002, 1017, 1022, 1003, 1018, 1023, 1082, 1087,
        1005, 1009, 1010, 1006, 1011, 1012, 1007, 1013, 1014, 1025, 1028, 1029,
        1066, 1035, 1069, 1067, 1071, 1072, 1068, 1073, 1074,
        1044, 1049, 1050, 1045, 1051, 1052, 1046, 1053, 1054,
        1032, 1037, 1038, 1033, 1039, 1040, 1034, 1041, 1042,
        1004, 1056, 1062, 1024, 1078,
    };
    std::vector<int> written;
    for (std::size_t i = states.size(); i < dialog.calls.size(); ++i) {
        written.push_back(field_of(dialog.calls[i]));
    }
    EXPECT_EQ(written, writes);

    const std::vector<std::string> some = {
        "put_trackbar 1001 100 0 100", "put_integer 1016 255", "put_real 1021 1",
        "put_string 1082 \"FFFFFF\"", "put_string 1087 \"16777215\"", "put_trackbar 1044 0 0 360",
        "put_trackbar 1032 0 0 360", "put_menu 1004 206 198", "put_menu 1056 1333 364",
        "put_string 1062 \"wei\337, grey100, white\"", "show_preview 1024 1 1 1 75 60",
        "show_preview 1078 1 1 1 75 60",
    };
    for (const std::string& call : some) {
        EXPECT_NE(std::find(dialog.calls.begin(), dialog.calls.end(), call), dialog.calls.end()) << call;
    }
    EXPECT_EQ(dialog.fields[1004].text, "weiss");
    EXPECT_EQ(dialog.fields[1056].text, "gray100");
}

TEST(RefreshWriter, ListsAndPreviewsByModelAndFlags)
{
    RecordingToolkit english;
    cc_write_refresh(refreshed(0, 0, 0, kModelEnglishName, 1323), kModelEnglishName, english);
    std::vector<std::string> menus;
    for (const std::string& c : english.calls) {
        if (name_of(c) == "put_menu" || name_of(c) == "show_preview") {
            menus.push_back(c);
        }
    }
    // The list the name was chosen in comes first and keeps it; no
    // comparison preview without the flag.
    EXPECT_EQ(menus, (std::vector<std::string>{"put_menu 1056 1333 1323", "put_menu 1004 206 198",
                                               "show_preview 1024 1 1 1 75 60"}));
}

TEST(RefreshWriter, RangeOutsideTheMenuLeavesVisibility)
{
    RangeSelections ranges;
    ranges.rgb = 7;
    ranges.hls_hue = 0;
    RecordingToolkit dialog;
    cc_write_refresh(refreshed(1, 0, 0, kModelRgb, 0, 0, ranges), kModelRgb, dialog);
    for (const std::string& c : dialog.calls) {
        if (name_of(c) == "field_state") {
            const int f = field_of(c);
            EXPECT_TRUE(f != 1021 && f != 1016 && f != 1050 && f != 1049) << c;
        }
    }
}

TEST(RefreshWriter, FieldStatesTakeTheFirstEntries)
{
    RecordingToolkit dialog;
    const int list[] = {1010, 1012, 1014, 1029};
    cc_set_field_states(dialog, list, 2, 3);
    cc_set_field_states(dialog, list, 0, 1);
    cc_set_field_states(dialog, list, 9, 1);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"field_state 1010 3", "field_state 1012 3",
                                                       "field_state 1010 1", "field_state 1012 1",
                                                       "field_state 1014 1", "field_state 1029 1"}));
}

} // namespace
