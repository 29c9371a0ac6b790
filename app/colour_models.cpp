#include "colour_models.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// min(max(x, 0), 1), except that NaN and -0 come out as 0.
float clamp_unit(float x)
{
    if (!(x > 0.0f)) {
        return 0.0f;
    }
    return x > 1.0f ? 1.0f : x;
}

// The hue of RGB from its largest component and the spread d = max - min,
// in degrees 0..360. Red is tested first, then green; exact comparisons.
float hue_of(float r, float g, float b, float mx, float d)
{
    const float rc = (mx - r) / d;
    const float gc = (mx - g) / d;
    const float bc = (mx - b) / d;
    float h;
    if (r == mx) {
        h = bc - gc;
    } else if (g == mx) {
        h = 2.0f + rc - bc;
    } else {
        h = 4.0f + gc - rc;
    }
    return R_MODP(h * 60.0f, 360.0f);
}

} // namespace

std::string cc_r_modp_fatal_text(float y)
{
    char number[64];
    const auto end = std::to_chars(number, number + sizeof number, y, std::chars_format::fixed, 6).ptr;
    return " \nR_MODP - Fatal error!\n  R_MODP ( X, Y ) called with Y = " + std::string(number, end) + "\n";
}

float R_MODP(float x, float y)
{
    if (y == 0.0f) {
        const std::string text = cc_r_modp_fatal_text(y);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        std::exit(0);
    }
    float r = std::fmod(x, y);  // exact, with the sign of x
    if (r < 0.0f) {
        r += std::fabs(y);
    }
    // fmod(-720, 360) is -0, which would show as "-0.0000".
    return r == 0.0f ? 0.0f : r;
}

void cc_rgb_to_hls(float r, float g, float b, float& h, float& l, float& s)
{
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    l = (mx + mn) * 0.5f;
    if (mx == mn) {
        s = 0.0f;
        h = 0.0f;
        return;
    }
    const float d = mx - mn;
    s = l <= 0.5f ? d / (mx + mn) : d / (2.0f - mx - mn);
    h = hue_of(r, g, b, mx, d);
}

void cc_rgb_to_hsv(float r, float g, float b, float& h, float& s, float& v)
{
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    v = mx;
    s = mx == 0.0f ? 0.0f : (mx - mn) / mx;
    h = s == 0.0f ? 0.0f : hue_of(r, g, b, mx, mx - mn);
}

float cc_hls_component(float m1, float m2, float hue)
{
    const float h = R_MODP(hue, 360.0f);
    if (h < 60.0f) {
        return m1 + (m2 - m1) * h / 60.0f;
    }
    if (h < 180.0f) {
        return m2;
    }
    if (h < 240.0f) {
        return m1 + (m2 - m1) * (240.0f - h) / 60.0f;
    }
    return m1;
}

void cc_hls_to_rgb(float h, float l, float s, float& r, float& g, float& b)
{
    const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    if (s == 0.0f) {
        r = g = b = l;
        return;
    }
    r = cc_hls_component(m1, m2, h + 120.0f);
    g = cc_hls_component(m1, m2, h);
    b = cc_hls_component(m1, m2, h - 120.0f);
}

void cc_hsv_to_rgb(float h, float s, float v, float& r, float& g, float& b)
{
    if (s == 0.0f) {
        r = g = b = v;
        return;
    }
    const float sixth = R_MODP(h, 360.0f) / 60.0f;
    // A NaN hue has no sector (and converting it to int is undefined).
    const int i = sixth >= 0.0f && sixth <= 6.0f ? static_cast<int>(sixth) : 0;
    const float f = sixth - static_cast<float>(i);
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - s * f);
    const float t = v * ((1.0f - s) + s * f);
    switch (i) {
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    case 5: r = v; g = p; b = q; break;
    // 6 comes from a hue a hair below 0, which R_MODP reduces to exactly
    // 360: the same colour as sector 0.
    default: r = v; g = t; b = p; break;
    }
}

void cc_rgb_to_cmyk(float r, float g, float b, float& c, float& m, float& y, float& k)
{
    k = std::min({1.0f - r, 1.0f - g, 1.0f - b});
    c = (1.0f - r) - k;
    m = (1.0f - g) - k;
    y = (1.0f - b) - k;
}

void cc_cmyk_to_rgb(float c, float m, float y, float k, float& r, float& g, float& b)
{
    r = 1.0f - c - k;
    g = 1.0f - m - k;
    b = 1.0f - y - k;
}

void cc_rgb_to_cmy(float r, float g, float b, float& c, float& m, float& y)
{
    c = 1.0f - r;
    m = 1.0f - g;
    y = 1.0f - b;
}

void cc_cmy_to_rgb(float c, float m, float y, float& r, float& g, float& b)
{
    cc_rgb_to_cmy(c, m, y, r, g, b);
}

void cc_clamp_rgb(float& r, float& g, float& b)
{
    r = clamp_unit(r);
    g = clamp_unit(g);
    b = clamp_unit(b);
}

void cc_clamp_cmy(float& c, float& m, float& y)
{
    cc_clamp_rgb(c, m, y);
}

void cc_cmyk_clamp(float& c, float& m, float& y, float& k)
{
    cc_clamp_rgb(c, m, y);
    k = clamp_unit(k);
    const float most = 1.0f - k;
    c = std::min(c, most);
    m = std::min(m, most);
    y = std::min(y, most);
}

void cc_hls_normalise(float& h, float& l, float& s)
{
    h = R_MODP(h, 360.0f);
    l = clamp_unit(l);
    s = clamp_unit(s);
}

void cc_hsv_normalise(float& h, float& s, float& v)
{
    h = R_MODP(h, 360.0f);
    s = clamp_unit(s);
    v = clamp_unit(v);
}
