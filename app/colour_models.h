// The converter's colour in five models and the conversions between them.
// Everything here is single precision: the integers the dialog shows are
// truncated from these results, so another precision changes them.
#pragma once

#include <string>

struct RgbColour {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};
struct CmykColour {
    float c = 0.0f, m = 0.0f, y = 0.0f, k = 0.0f;
};
struct CmyColour {
    float c = 0.0f, m = 0.0f, y = 0.0f;
};
// Hue in degrees 0..360, lightness and saturation 0..1.
struct HlsColour {
    float h = 0.0f, l = 0.0f, s = 0.0f;
};
// Hue in degrees 0..360, saturation and value 0..1.
struct HsvColour {
    float h = 0.0f, s = 0.0f, v = 0.0f;
};

// One colour held in every model at once. The model the user changed last
// keeps its values as entered; the refresh overwrites the others.
struct ColourRecord {
    RgbColour rgb;
    CmykColour cmyk;
    CmyColour cmy;
    HlsColour hls;
    HsvColour hsv;
};

// Model codes: which values were changed last, and so what the refresh
// converts from. 6 and 7 are not used.
constexpr int kModelRgb = 1;
constexpr int kModelCmyk = 2;
constexpr int kModelCmy = 3;
constexpr int kModelHls = 4;
constexpr int kModelHsv = 5;
constexpr int kModelGermanName = 8;
constexpr int kModelEnglishName = 9;

void cc_rgb_to_hls(float r, float g, float b, float& h, float& l, float& s);
void cc_hls_to_rgb(float h, float l, float s, float& r, float& g, float& b);
float cc_hls_component(float m1, float m2, float hue);
void cc_rgb_to_hsv(float r, float g, float b, float& h, float& s, float& v);
void cc_hsv_to_rgb(float h, float s, float v, float& r, float& g, float& b);
void cc_rgb_to_cmyk(float r, float g, float b, float& c, float& m, float& y, float& k);
void cc_cmyk_to_rgb(float c, float m, float y, float k, float& r, float& g, float& b);
// CMY is RGB turned round: each output is 1 minus its input, both ways.
void cc_rgb_to_cmy(float r, float g, float b, float& c, float& m, float& y);
void cc_cmy_to_rgb(float c, float m, float y, float& r, float& g, float& b);

// Each value clamped to 0..1, in place.
void cc_clamp_rgb(float& r, float& g, float& b);
void cc_clamp_cmy(float& c, float& m, float& y);
// C, M, Y, K clamped to 0..1, then C, M and Y lowered to at most 1 - K.
void cc_cmyk_clamp(float& c, float& m, float& y, float& k);
// Hue brought into 0..360 by R_MODP, the other two clamped to 0..1.
void cc_hls_normalise(float& h, float& l, float& s);
void cc_hsv_normalise(float& h, float& s, float& v);

// The remainder of x by y, made non-negative: 0..|y| inclusive, since a tiny
// negative remainder plus |y| rounds to |y|. Never -0. y == 0 is a fatal
// error: a message on the standard output, then the program ends.
float R_MODP(float x, float y);

// The message R_MODP writes before it ends the program.
std::string cc_r_modp_fatal_text(float y);
