// The main dialog's colour fields and range menus, as the converter's logic
// sees them.
#pragma once

#include <array>

// The selected item (from 1) of each range menu. Item 1 ("0 - 1") shows a
// component in its real field, any other item in its integer field.
struct RangeSelections {
    int rgb = 1;                   // "0 - 1", "0 - 255"
    int cmyk = 2;                  // "0 - 1", "0 - 100", "0 - 255"
    int cmy = 2;                   // as for CMYK
    int hls_hue = 4;               // "0 - 1", "1 - 240", "1 - 255", "0 - 360"
    int hls_lightness_saturation = 1;  // "0 - 1", "0 - 255"
    int hsv_hue = 4;               // as for the HLS hue
    int hsv_saturation_value = 1;  // "0 - 1", "0 - 255"
};

// Range menus.
constexpr int kRgbRangeMenu = 1019;
constexpr int kCmykRangeMenu = 1020;
constexpr int kCmyRangeMenu = 1075;
constexpr int kHlsHueRangeMenu = 1059;
constexpr int kHlsLightnessSaturationRangeMenu = 1060;
constexpr int kHsvHueRangeMenu = 1036;
constexpr int kHsvSaturationValueRangeMenu = 1057;

// The three fields that show one component.
struct ComponentFields {
    int trackbar;
    int integer;
    int real;
};

inline constexpr std::array<ComponentFields, 3> kRgbFields{{{1001, 1016, 1021}, {1002, 1017, 1022}, {1003, 1018, 1023}}};
inline constexpr std::array<ComponentFields, 4> kCmykFields{
    {{1005, 1009, 1010}, {1006, 1011, 1012}, {1007, 1013, 1014}, {1025, 1028, 1029}}};
inline constexpr std::array<ComponentFields, 3> kCmyFields{{{1066, 1035, 1069}, {1067, 1071, 1072}, {1068, 1073, 1074}}};
// Hue, lightness, saturation.
inline constexpr std::array<ComponentFields, 3> kHlsFields{{{1044, 1049, 1050}, {1045, 1051, 1052}, {1046, 1053, 1054}}};
// Hue, saturation, value.
inline constexpr std::array<ComponentFields, 3> kHsvFields{{{1032, 1037, 1038}, {1033, 1039, 1040}, {1034, 1041, 1042}}};

constexpr int kHexCodeField = 1082;
constexpr int kDecimalCodeField = 1087;
constexpr int kGermanListField = 1004;
constexpr int kEnglishListField = 1056;
constexpr int kAliasField = 1062;
constexpr int kPreviewField = 1024;
constexpr int kComparisonPreviewField = 1078;

// Real and integer fields that are shown or hidden together; the first
// count entries of each list are used, in this order.
struct ComponentFieldGroup {
    std::array<int, 4> real;
    std::array<int, 4> integer;
    int count;
};

namespace ComponentFieldLists {
inline constexpr ComponentFieldGroup rgb{{1021, 1022, 1023}, {1016, 1017, 1018}, 3};
inline constexpr ComponentFieldGroup cmyk{{1010, 1012, 1014, 1029}, {1009, 1011, 1013, 1028}, 4};
inline constexpr ComponentFieldGroup cmy{{1069, 1072, 1074}, {1035, 1071, 1073}, 3};
inline constexpr ComponentFieldGroup hsv_hue{{1038}, {1037}, 1};
inline constexpr ComponentFieldGroup hsv_saturation_value{{1040, 1042}, {1039, 1041}, 2};
inline constexpr ComponentFieldGroup hls_hue{{1050}, {1049}, 1};
inline constexpr ComponentFieldGroup hls_lightness_saturation{{1052, 1054}, {1051, 1053}, 2};
} // namespace ComponentFieldLists
