#include "converter_fields.h"

#include <cmath>
#include <cstddef>

namespace {

// Where a field's value goes.
enum class Target {
    rgb_r, rgb_g, rgb_b,
    cmyk_c, cmyk_m, cmyk_y, cmyk_k,
    cmy_c, cmy_m, cmy_y,
    hls_h, hls_l, hls_s,
    hsv_h, hsv_s, hsv_v,
    range_rgb, range_cmyk, range_cmy, range_hls_hue, range_hls_ls, range_hsv_hue, range_hsv_sv,
    german_name, english_name,
};

// How the value read becomes the stored value.
enum class Scale {
    none,
    percent,     // trackbar position x 0.01
    per_255,     // integer / 255
    cmyk_range,  // by the CMYK range selection: 2 / 100, 3 / 255, else not stored
    cmy_range,
    hls_hue_range,  // by the hue range: 2 x 360 / 240, 3 x 360 / 255, 4 as read, else not stored
    hsv_hue_range,
    turn,        // a fraction of a full turn, x 360
};

struct Entry {
    int field;
    FieldRead read;
    Target target;
    Scale scale;
    int model;
};

constexpr Entry FieldTable[] = {
    {1001, FieldRead::trackbar, Target::rgb_r, Scale::percent, kModelRgb},
    {1002, FieldRead::trackbar, Target::rgb_g, Scale::percent, kModelRgb},
    {1003, FieldRead::trackbar, Target::rgb_b, Scale::percent, kModelRgb},
    {1016, FieldRead::integer, Target::rgb_r, Scale::per_255, kModelRgb},
    {1017, FieldRead::integer, Target::rgb_g, Scale::per_255, kModelRgb},
    {1018, FieldRead::integer, Target::rgb_b, Scale::per_255, kModelRgb},
    {1021, FieldRead::real, Target::rgb_r, Scale::none, kModelRgb},
    {1022, FieldRead::real, Target::rgb_g, Scale::none, kModelRgb},
    {1023, FieldRead::real, Target::rgb_b, Scale::none, kModelRgb},

    {1005, FieldRead::trackbar, Target::cmyk_c, Scale::percent, kModelCmyk},
    {1006, FieldRead::trackbar, Target::cmyk_m, Scale::percent, kModelCmyk},
    {1007, FieldRead::trackbar, Target::cmyk_y, Scale::percent, kModelCmyk},
    {1025, FieldRead::trackbar, Target::cmyk_k, Scale::percent, kModelCmyk},
    {1009, FieldRead::integer, Target::cmyk_c, Scale::cmyk_range, kModelCmyk},
    {1011, FieldRead::integer, Target::cmyk_m, Scale::cmyk_range, kModelCmyk},
    {1013, FieldRead::integer, Target::cmyk_y, Scale::cmyk_range, kModelCmyk},
    {1028, FieldRead::integer, Target::cmyk_k, Scale::cmyk_range, kModelCmyk},
    {1010, FieldRead::real, Target::cmyk_c, Scale::none, kModelCmyk},
    {1012, FieldRead::real, Target::cmyk_m, Scale::none, kModelCmyk},
    {1014, FieldRead::real, Target::cmyk_y, Scale::none, kModelCmyk},
    {1029, FieldRead::real, Target::cmyk_k, Scale::none, kModelCmyk},

    {1066, FieldRead::trackbar, Target::cmy_c, Scale::percent, kModelCmy},
    {1067, FieldRead::trackbar, Target::cmy_m, Scale::percent, kModelCmy},
    {1068, FieldRead::trackbar, Target::cmy_y, Scale::percent, kModelCmy},
    {1035, FieldRead::integer, Target::cmy_c, Scale::cmy_range, kModelCmy},
    {1071, FieldRead::integer, Target::cmy_m, Scale::cmy_range, kModelCmy},
    {1073, FieldRead::integer, Target::cmy_y, Scale::cmy_range, kModelCmy},
    {1069, FieldRead::real, Target::cmy_c, Scale::none, kModelCmy},
    {1072, FieldRead::real, Target::cmy_m, Scale::none, kModelCmy},
    {1074, FieldRead::real, Target::cmy_y, Scale::none, kModelCmy},

    {1044, FieldRead::trackbar, Target::hls_h, Scale::none, kModelHls},
    {1045, FieldRead::trackbar, Target::hls_l, Scale::percent, kModelHls},
    {1046, FieldRead::trackbar, Target::hls_s, Scale::percent, kModelHls},
    {1049, FieldRead::integer, Target::hls_h, Scale::hls_hue_range, kModelHls},
    {1051, FieldRead::integer, Target::hls_l, Scale::per_255, kModelHls},
    {1053, FieldRead::integer, Target::hls_s, Scale::per_255, kModelHls},
    {1050, FieldRead::real, Target::hls_h, Scale::turn, kModelHls},
    {1052, FieldRead::real, Target::hls_l, Scale::none, kModelHls},
    {1054, FieldRead::real, Target::hls_s, Scale::none, kModelHls},

    {1032, FieldRead::trackbar, Target::hsv_h, Scale::none, kModelHsv},
    {1033, FieldRead::trackbar, Target::hsv_s, Scale::percent, kModelHsv},
    {1034, FieldRead::trackbar, Target::hsv_v, Scale::percent, kModelHsv},
    {1037, FieldRead::integer, Target::hsv_h, Scale::hsv_hue_range, kModelHsv},
    {1039, FieldRead::integer, Target::hsv_s, Scale::per_255, kModelHsv},
    {1041, FieldRead::integer, Target::hsv_v, Scale::per_255, kModelHsv},
    {1038, FieldRead::real, Target::hsv_h, Scale::turn, kModelHsv},
    {1040, FieldRead::real, Target::hsv_s, Scale::none, kModelHsv},
    {1042, FieldRead::real, Target::hsv_v, Scale::none, kModelHsv},

    {kRgbRangeMenu, FieldRead::menu, Target::range_rgb, Scale::none, kModelRgb},
    {kCmykRangeMenu, FieldRead::menu, Target::range_cmyk, Scale::none, kModelCmyk},
    {kCmyRangeMenu, FieldRead::menu, Target::range_cmy, Scale::none, kModelCmy},
    {kHlsHueRangeMenu, FieldRead::menu, Target::range_hls_hue, Scale::none, kModelHls},
    {kHlsLightnessSaturationRangeMenu, FieldRead::menu, Target::range_hls_ls, Scale::none, kModelHls},
    {kHsvHueRangeMenu, FieldRead::menu, Target::range_hsv_hue, Scale::none, kModelHsv},
    {kHsvSaturationValueRangeMenu, FieldRead::menu, Target::range_hsv_sv, Scale::none, kModelHsv},
    {kGermanListField, FieldRead::menu, Target::german_name, Scale::none, kModelGermanName},
    {kEnglishListField, FieldRead::menu, Target::english_name, Scale::none, kModelEnglishName},
};

const Entry* find_entry(int field)
{
    for (const Entry& e : FieldTable) {
        if (e.field == field) {
            return &e;
        }
    }
    return nullptr;
}

float* component(Target target, ColourRecord& c)
{
    switch (target) {
    case Target::rgb_r: return &c.rgb.r;
    case Target::rgb_g: return &c.rgb.g;
    case Target::rgb_b: return &c.rgb.b;
    case Target::cmyk_c: return &c.cmyk.c;
    case Target::cmyk_m: return &c.cmyk.m;
    case Target::cmyk_y: return &c.cmyk.y;
    case Target::cmyk_k: return &c.cmyk.k;
    case Target::cmy_c: return &c.cmy.c;
    case Target::cmy_m: return &c.cmy.m;
    case Target::cmy_y: return &c.cmy.y;
    case Target::hls_h: return &c.hls.h;
    case Target::hls_l: return &c.hls.l;
    case Target::hls_s: return &c.hls.s;
    case Target::hsv_h: return &c.hsv.h;
    case Target::hsv_s: return &c.hsv.s;
    case Target::hsv_v: return &c.hsv.v;
    default: return nullptr;
    }
}

int* selection(Target target, ConverterColourState& s)
{
    switch (target) {
    case Target::range_rgb: return &s.ranges.rgb;
    case Target::range_cmyk: return &s.ranges.cmyk;
    case Target::range_cmy: return &s.ranges.cmy;
    case Target::range_hls_hue: return &s.ranges.hls_hue;
    case Target::range_hls_ls: return &s.ranges.hls_lightness_saturation;
    case Target::range_hsv_hue: return &s.ranges.hsv_hue;
    case Target::range_hsv_sv: return &s.ranges.hsv_saturation_value;
    case Target::german_name:
    case Target::english_name: return &s.name_index;
    default: return nullptr;
    }
}

// A menu selection or an integer read as an int; the toolkit gives whole
// numbers here, the guard only keeps a wild value from being undefined.
int as_int(double value)
{
    if (!(value > -2147483648.0 && value < 2147483648.0)) {
        return 0;
    }
    return static_cast<int>(value);
}

// The scaled value, or nothing where the range selection shows the
// component in no integer field of this kind.
std::optional<float> scaled(Scale scale, float v, const RangeSelections& ranges)
{
    auto by_percent_range = [v](int range) -> std::optional<float> {
        if (range == 2) {
            return v / 100.0f;
        }
        if (range == 3) {
            return v / 255.0f;
        }
        return std::nullopt;
    };
    auto by_hue_range = [v](int range) -> std::optional<float> {
        switch (range) {
        case 2: return v * 360.0f / 240.0f;
        case 3: return v * 360.0f / 255.0f;
        case 4: return v;
        default: return std::nullopt;
        }
    };
    switch (scale) {
    case Scale::none: return v;
    case Scale::percent: return v * 0.01f;
    case Scale::per_255: return v / 255.0f;
    case Scale::cmyk_range: return by_percent_range(ranges.cmyk);
    case Scale::cmy_range: return by_percent_range(ranges.cmy);
    case Scale::hls_hue_range: return by_hue_range(ranges.hls_hue);
    case Scale::hsv_hue_range: return by_hue_range(ranges.hsv_hue);
    case Scale::turn: return v * 360.0f;
    }
    return std::nullopt;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c == ' ') {
        return 0;
    }
    return -1;
}

} // namespace

std::optional<FieldTableEntry> cc_field_table(int field)
{
    const Entry* e = find_entry(field);
    if (e == nullptr) {
        return std::nullopt;
    }
    return FieldTableEntry{e->read, e->model};
}

std::optional<float> cc_field_apply(int field, double value, ConverterColourState& state)
{
    const Entry* e = find_entry(field);
    if (e == nullptr) {
        return std::nullopt;
    }
    state.source_model = e->model;
    if (int* chosen = selection(e->target, state)) {
        *chosen = as_int(value);
        return std::nullopt;
    }
    // Trackbars and integer fields give whole numbers; both go through the
    // same single-precision scaling as a real.
    const float v = e->read == FieldRead::real ? static_cast<float>(value) : static_cast<float>(as_int(value));
    const std::optional<float> stored = scaled(e->scale, v, state.ranges);
    if (stored) {
        *component(e->target, state.colour) = *stored;
    }
    return stored;
}

float* cc_trackbar_component(int field, ColourRecord& colour)
{
    const Entry* e = find_entry(field);
    if (e == nullptr || e->read != FieldRead::trackbar) {
        return nullptr;
    }
    return component(e->target, colour);
}

std::optional<RgbColour> cc_parse_hex_code(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.size() > 6) {
        return std::nullopt;
    }
    int k[3] = {0, 0, 0};
    for (std::size_t i = 0; i < 6; ++i) {
        const int d = hex_digit(i < text.size() ? text[i] : ' ');
        if (d < 0) {
            return std::nullopt;
        }
        k[i / 2] = k[i / 2] * 16 + d;
    }
    return RgbColour{static_cast<float>(k[0]) / 255.0f, static_cast<float>(k[1]) / 255.0f,
                     static_cast<float>(k[2]) / 255.0f};
}
