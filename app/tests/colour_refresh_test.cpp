#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "colour_refresh.h"
#include "colour_tables.h"

namespace {

// The converter after start-up: the default range selections, one refresh
// behind it or none.
struct Converter {
    ColourRecord colour;
    RangeSelections ranges;
    RefreshWorkspace workspace;

    const DialogView& refresh(int model, int name_index = 0, int flags = 0)
    {
        cc_compute_refresh(model, name_index, flags, ranges, colour, workspace);
        return workspace.shown;
    }
    const DialogView& rgb(float r, float g, float b)
    {
        colour.rgb = {r, g, b};
        return refresh(kModelRgb);
    }
    int integer(int field) const { return workspace.shown.find(field)->integer; }
    float real(int field) const { return workspace.shown.find(field)->real; }
};

struct Expected {
    const char* hex;
    const char* decimal;
    int german;
    int english;
    const char* alias;
};

void expect_shown(const DialogView& v, const Expected& e)
{
    EXPECT_EQ(v.hex, e.hex);
    EXPECT_EQ(v.decimal, e.decimal);
    EXPECT_EQ(v.german_index, e.german);
    EXPECT_EQ(v.english_index, e.english);
    EXPECT_EQ(v.alias, e.alias);
}

TEST(ColourRefresh, StartUpWhite)
{
    Converter c;
    const DialogView& v = c.rgb(1, 1, 1);
    expect_shown(v, {"FFFFFF", "16777215", 198, 364, "wei\337, grey100, white"});
    EXPECT_EQ(german_colour_table().name(v.german_index), "weiss");
    EXPECT_EQ(english_colour_table().name(v.english_index), "gray100");
    for (const ComponentFields& f : kRgbFields) {
        EXPECT_EQ(c.real(f.real), 1.0f);
        EXPECT_EQ(c.integer(f.integer), 255);
        EXPECT_EQ(c.integer(f.trackbar), 100);
    }
    for (const ComponentFields& f : kCmykFields) {
        EXPECT_EQ(c.integer(f.integer), 0);
    }
    for (const ComponentFields& f : kCmyFields) {
        EXPECT_EQ(c.integer(f.integer), 0);
    }
    EXPECT_EQ(c.real(kHlsFields[1].real), 1.0f);  // lightness
    EXPECT_EQ(c.real(kHsvFields[2].real), 1.0f);  // value
    EXPECT_EQ(v.preview.r, 1.0f);
    EXPECT_FALSE(v.comparison_preview);
    EXPECT_TRUE(c.refresh(kModelRgb, 0, -1).comparison_preview);
}

TEST(ColourRefresh, NamesCodesAndAliases)
{
    const struct {
        const char* what;
        int model, name_index;
        RgbColour rgb;  // for the RGB model
        Expected shown;
    } cases[] = {
        {"white chosen in the English list", kModelEnglishName, 1323, {},
         {"FFFFFF", "16777215", 198, 1323, "wei\337, gray100, grey100"}},
        {"weiß chosen in the German list", kModelGermanName, 201, {},
         {"FFFFFF", "16777215", 201, 364, "weiss, grey100, white"}},
        {"black", kModelRgb, 0, {0, 0, 0}, {"000000", "0", 182, 59, "gray0, grey0"}},
        {"pure red", kModelRgb, 0, {1, 0, 0}, {"FF0000", "255", 169, 1095, "red1"}},
        {"pure blue", kModelRgb, 0, {0, 0, 1}, {"0000FF", "16711680", 15, 62, "blue1"}},
        // 0.941176 x 255 truncates to 239.
        {"aliceblau", kModelGermanName, 1, {}, {"EFF8FF", "16775407", 1, 12, ""}},
        // 182 is stored as 0.713726, so it shows B6 and not B5.
        {"hellrosa", kModelGermanName, 85, {}, {"FFB6C1", "12695295", 85, -1, nullptr}},
        {"dunkelschiefergrau", kModelGermanName, 40, {},
         {"2F4F4F", "5197615", 40, 234, "dunkles schiefergrau, darkslate grey, darkslategray, darkslategrey"}},
        // Typed as a code, 47/255 is not the stored 0.184314: no exact match.
        {"typed 2F4F4F", kModelRgb, 0, {47 / 255.0f, 79 / 255.0f, 79 / 255.0f},
         {"2F4F4F", "5197615", 40, 234, ""}},
        {"R = 0.5", kModelRgb, 0, {0.5f, 0, 0}, {"7F0000", "127", 38, -1, nullptr}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.what);
        Converter c;
        c.colour.rgb = t.rgb;
        const DialogView& v = c.refresh(t.model, t.name_index);
        Expected want = t.shown;
        if (want.english < 0) {  // the English list and the alias are not the point here
            want.english = v.english_index;
            want.alias = v.alias.c_str();
        }
        expect_shown(v, want);
    }
    EXPECT_EQ(std::string("dunkles schiefergrau, darkslate grey, darkslategray, darkslategrey").size(), 66u);
}

TEST(ColourRefresh, RedIntegerAndAliceblauInteger)
{
    Converter c;
    c.rgb(0.5f, 0, 0);
    EXPECT_EQ(c.integer(1016), 127);
    c.rgb(1, 0, 0);
    EXPECT_EQ(c.integer(1016), 255);
    c.refresh(kModelGermanName, 1);
    EXPECT_EQ(c.integer(1016), 239);
    EXPECT_EQ(c.integer(1017), 248);
}

TEST(ColourRefresh, CmykIntegersRoundByRange)
{
    const struct {
        float cyan;
        int range;
        int shown;
    } cases[] = {
        {0.994f, 2, 99}, {0.995f, 2, 100}, {0.994f, 3, 253}, {1.0f, 3, 255}, {0.994f, 1, 99}, {0.5f, 2, 50},
    };
    for (const auto& t : cases) {
        Converter c;
        c.ranges.cmyk = t.range;
        c.colour.cmyk = {t.cyan, 0, 0, 0};
        c.refresh(kModelCmyk);
        EXPECT_EQ(c.integer(1009), t.shown) << t.cyan << " in range " << t.range;
        EXPECT_EQ(c.integer(1005), static_cast<int>(100.0f * t.cyan));  // the trackbar truncates
    }
}

TEST(ColourRefresh, HueFieldsByRange)
{
    const struct {
        int range;
        int integer;
        float real;
    } cases[] = {
        {2, 239, 359.9f * 240.0f / 360.0f},
        {3, 254, 359.9f * 255.0f / 360.0f},
        {4, 359, 0.0f},           // the real field keeps its value (0 at load)
        {1, 0, 359.9f / 360.0f},  // the integer field keeps its value
    };
    for (const auto& t : cases) {
        Converter c;
        c.ranges.hsv_hue = t.range;
        c.ranges.hls_hue = t.range;
        c.colour.hsv = {359.9f, 1, 1};
        c.refresh(kModelHsv);
        EXPECT_EQ(c.integer(1032), 359);
        EXPECT_EQ(c.integer(1037), t.integer) << t.range;
        EXPECT_EQ(c.real(1038), t.real) << t.range;

        c.colour.hls = {359.9f, 0.5f, 1};
        c.refresh(kModelHls);
        EXPECT_EQ(c.integer(1044), 359);
        EXPECT_EQ(c.integer(1049), t.integer) << t.range;
        EXPECT_EQ(c.real(1050), t.real) << t.range;
    }
}

TEST(ColourRefresh, HiddenHueFieldKeepsItsPreviousValue)
{
    Converter c;
    c.colour.hsv = {120, 1, 1};
    c.refresh(kModelHsv);  // range 4: integer 120, real kept at 0
    EXPECT_EQ(c.integer(1037), 120);
    EXPECT_EQ(c.real(1038), 0.0f);

    c.ranges.hsv_hue = 1;
    c.colour.hsv = {240, 1, 1};
    c.refresh(kModelHsv);  // range 1: real 240/360, integer kept at 120
    EXPECT_EQ(c.integer(1037), 120);
    EXPECT_EQ(c.real(1038), 240.0f / 360.0f);

    c.ranges.hsv_hue = 4;
    c.colour.hsv = {60, 1, 1};
    c.refresh(kModelHsv);
    EXPECT_EQ(c.integer(1037), 60);
    EXPECT_EQ(c.real(1038), 240.0f / 360.0f);
}

TEST(ColourRefresh, SourceModelKeepsItsOwnValues)
{
    Converter c;
    c.colour.cmyk = {0.3f, 0.3f, 0.3f, 0.5f};
    c.refresh(kModelCmyk);
    EXPECT_FLOAT_EQ(c.real(1010), 0.3f);
    EXPECT_FLOAT_EQ(c.real(1029), 0.5f);
    EXPECT_FLOAT_EQ(c.colour.rgb.r, 0.2f);
    EXPECT_FLOAT_EQ(c.colour.cmy.c, 0.8f);
    EXPECT_EQ(c.colour.cmyk.k, 0.5f);  // not re-derived from RGB (0.8)

    // Out of range as entered: the record keeps it, the fields show it clamped.
    c.colour.rgb = {1.5f, -0.2f, 0.5f};
    c.refresh(kModelRgb);
    EXPECT_EQ(c.colour.rgb.r, 1.5f);
    EXPECT_EQ(c.colour.rgb.g, -0.2f);
    EXPECT_EQ(c.real(1021), 1.0f);
    EXPECT_EQ(c.real(1022), 0.0f);
    EXPECT_EQ(c.integer(1018), 127);
}

TEST(ColourRefresh, HlsLightnessAboveOneIsWhite)
{
    Converter c;
    c.colour.hls = {200, 1.5f, 0.7f};
    EXPECT_EQ(c.refresh(kModelHls).hex, "FFFFFF");
    EXPECT_EQ(c.real(1052), 1.0f);
}

TEST(ColourRefresh, NothingToConvertKeepsTheColour)
{
    // Model 0 (the first "übernehmen" before any change) and a name index no
    // entry has (a name typed into a list) leave colour and fields alone.
    for (const auto& [model, index] : std::vector<std::pair<int, int>>{
             {0, 0}, {6, 0}, {kModelGermanName, 0}, {kModelGermanName, 207}, {kModelEnglishName, 1334},
             {kModelEnglishName, -1}}) {
        SCOPED_TRACE(model);
        Converter c;
        c.rgb(1, 0, 0);
        const ColourRecord before = c.colour;
        const DialogView& v = c.refresh(model, index);
        EXPECT_EQ(v.hex, "FF0000");
        EXPECT_EQ(v.german_index, 169);
        EXPECT_EQ(v.english_index, 1095);
        EXPECT_EQ(v.alias, "red1");
        EXPECT_EQ(c.integer(1016), 255);
        EXPECT_EQ(c.colour.rgb.r, before.rgb.r);
        EXPECT_EQ(c.colour.hsv.h, before.hsv.h);
    }
    Converter fresh;  // nothing converted yet: all zero, black
    EXPECT_EQ(fresh.refresh(0).hex, "000000");
}

TEST(ColourRefresh, VisibilityByRange)
{
    Converter c;
    c.ranges = {2, 1, 3, 1, 2, 3, 0};  // the last one no item of its menu
    const DialogView& v = c.refresh(0);
    const struct {
        const ComponentFieldGroup* group;
        int real, integer;
    } want[] = {
        {&ComponentFieldLists::rgb, kFieldHidden, kFieldShown},
        {&ComponentFieldLists::cmyk, kFieldShown, kFieldHidden},
        {&ComponentFieldLists::cmy, kFieldHidden, kFieldShown},
        {&ComponentFieldLists::hls_hue, kFieldShown, kFieldHidden},
        {&ComponentFieldLists::hls_lightness_saturation, kFieldHidden, kFieldShown},
        {&ComponentFieldLists::hsv_hue, kFieldHidden, kFieldShown},
        {&ComponentFieldLists::hsv_saturation_value, 0, 0},
    };
    for (std::size_t i = 0; i < v.visibility.size(); ++i) {
        EXPECT_EQ(v.visibility[i].group, want[i].group) << i;
        EXPECT_EQ(v.visibility[i].real_state, want[i].real) << i;
        EXPECT_EQ(v.visibility[i].integer_state, want[i].integer) << i;
    }
    c.ranges = {3, 4, 4, 5, 3, 4, 2};  // beyond the menus: unchanged
    for (std::size_t i : {0u, 1u, 2u, 3u, 4u}) {
        EXPECT_EQ(c.refresh(0).visibility[i].real_state, 0) << i;
    }
    EXPECT_EQ(c.refresh(0).visibility[5].integer_state, kFieldShown);
}

TEST(ColourRefresh, WriteOrder)
{
    // RGB, then the codes, then CMYK, CMY, HLS, HSV; each component as
    // trackbar, integer field, real field.
    const int order[] = {1001, 1016, 1021, 1002, 1017, 1022, 1003, 1018, 1023, 1005, 1009, 1010,
                         1006, 1011, 1012, 1007, 1013, 1014, 1025, 1028, 1029, 1066, 1035, 1069,
                         1067, 1071, 1072, 1068, 1073, 1074, 1044, 1049, 1050, 1045, 1051, 1052,
                         1046, 1053, 1054, 1032, 1037, 1038, 1033, 1039, 1040, 1034, 1041, 1042};
    const DialogView v;
    for (int i = 0; i < kFieldWriteCount; ++i) {
        EXPECT_EQ(v.fields[i].field, order[i]) << i;
        EXPECT_EQ(v.fields[i].kind, static_cast<FieldKind>(i % 3)) << i;
        const bool hue_trackbar = order[i] == 1044 || order[i] == 1032;
        EXPECT_EQ(v.fields[i].selection_end, i % 3 ? 0 : hue_trackbar ? 360 : 100) << i;
    }
    EXPECT_EQ(v.fields[kWritesBeforeCodes].field, 1005);
}

TEST(ColourRefresh, AppendText)
{
    const struct {
        const char* before;
        int position;
        const char* string;
        const char* after;
        int advanced;
    } cases[] = {
        {"xxxxxxxxxx", 0, "abc", "abc       ", 3},
        {"xxxxxxxxxx", 2, "ab", "xxab      ", 4},
        {"xxxxxxxxxx", 8, "abcdef", "xxxxxxxxab", 10},  // cut; the position stops at the end
        {"xxxxxxxxxx", 10, "abc", "xxxxxxxxxx", 10},
        {"xxxxxxxxxx", 3, "", "xxx       ", 3},
    };
    for (const auto& t : cases) {
        std::string text = t.before;
        int position = t.position;
        cc_append_text(text, position, t.string);
        EXPECT_EQ(text, t.after) << t.position << " " << t.string;
        EXPECT_EQ(position, t.advanced) << t.position << " " << t.string;
    }
}

TEST(ColourRefresh, AppendInteger)
{
    const struct {
        int value;
        const char* digits;
    } cases[] = {
        {0, "0"}, {7, "7"}, {16777215, "16777215"}, {-42, "-42"}, {INT_MAX, "2147483647"}, {INT_MIN, "**********"},
    };
    for (const auto& t : cases) {
        std::array<char, 20> text;
        text.fill('x');
        int position = 0;
        cc_append_integer(text, position, t.value);
        EXPECT_EQ(std::string(text.data(), position), t.digits);
    }
    // Appending goes on from where the text stands.
    std::array<char, 12> text;
    int position = 0;
    cc_append_integer(text, position, 12);
    cc_append_text(text, position, ", ");
    cc_append_integer(text, position, 345678901);
    EXPECT_EQ(std::string(text.data(), text.size()), "12, 34567890");
    EXPECT_EQ(position, 12);
}

} // namespace
