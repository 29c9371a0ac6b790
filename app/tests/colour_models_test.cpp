#include <gtest/gtest.h>

#include <cmath>

#include "colour_models.h"

namespace {

struct Triple {
    float a, b, c;
};

// Exact where the conversion is exact; one ulp-ish slack elsewhere.
void expect_triple(const Triple& got, const Triple& want, const char* what)
{
    EXPECT_NEAR(got.a, want.a, 1e-5f) << what;
    EXPECT_NEAR(got.b, want.b, 1e-6f) << what;
    EXPECT_NEAR(got.c, want.c, 1e-6f) << what;
}

struct ModelCase {
    const char* name;
    Triple rgb;
    Triple hls;
    Triple hsv;
};

const ModelCase kModelCases[] = {
    {"white", {1, 1, 1}, {0, 1, 0}, {0, 0, 1}},
    {"black", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"red", {1, 0, 0}, {0, 0.5f, 1}, {0, 1, 1}},
    {"green", {0, 1, 0}, {120, 0.5f, 1}, {120, 1, 1}},
    {"blue", {0, 0, 1}, {240, 0.5f, 1}, {240, 1, 1}},
    {"yellow (red rule)", {1, 1, 0}, {60, 0.5f, 1}, {60, 1, 1}},
    {"magenta (red rule gives -60)", {1, 0, 1}, {300, 0.5f, 1}, {300, 1, 1}},
    {"grey", {0.5f, 0.5f, 0.5f}, {0, 0.5f, 0}, {0, 0, 0.5f}},
    {"light grey", {0.8f, 0.8f, 0.8f}, {0, 0.8f, 0}, {0, 0, 0.8f}},
    {"pale red, lightness above one half", {1, 0.6f, 0.6f}, {0, 0.8f, 1}, {0, 0.4f, 1}},
};

TEST(ColourModels, RgbToHlsAndHsvAndBack)
{
    for (const ModelCase& c : kModelCases) {
        Triple hls, hsv, back;
        cc_rgb_to_hls(c.rgb.a, c.rgb.b, c.rgb.c, hls.a, hls.b, hls.c);
        expect_triple(hls, c.hls, c.name);
        cc_rgb_to_hsv(c.rgb.a, c.rgb.b, c.rgb.c, hsv.a, hsv.b, hsv.c);
        expect_triple(hsv, c.hsv, c.name);
        cc_hls_to_rgb(c.hls.a, c.hls.b, c.hls.c, back.a, back.b, back.c);
        expect_triple(back, c.rgb, c.name);
        cc_hsv_to_rgb(c.hsv.a, c.hsv.b, c.hsv.c, back.a, back.b, back.c);
        expect_triple(back, c.rgb, c.name);
    }
}

TEST(ColourModels, HsvHueAtAndJustBelowAFullTurnIsRed)
{
    // A hue a hair below 0 reduces to exactly 360, sector 6: it must still
    // convert (as sector 0), not leave the outputs as they were.
    for (float hue : {360.0f, 0.0f, -0.00001f, 720.0f}) {
        float r = -7, g = -7, b = -7;
        cc_hsv_to_rgb(hue, 1, 1, r, g, b);
        EXPECT_EQ(r, 1.0f) << hue;
        EXPECT_EQ(g, 0.0f) << hue;
        EXPECT_EQ(b, 0.0f) << hue;
    }
}

TEST(ColourModels, CmykAndCmy)
{
    struct Case {
        Triple rgb;
        float c, m, y, k;
    } cases[] = {
        {{1, 1, 1}, 0, 0, 0, 0},
        {{0, 0, 0}, 0, 0, 0, 1},
        {{1, 0, 0}, 0, 1, 1, 0},
        {{0.2f, 0.4f, 0.6f}, 0.4f, 0.2f, 0, 0.4f},
    };
    for (const Case& t : cases) {
        float c, m, y, k;
        cc_rgb_to_cmyk(t.rgb.a, t.rgb.b, t.rgb.c, c, m, y, k);
        EXPECT_NEAR(c, t.c, 1e-6f);
        EXPECT_NEAR(m, t.m, 1e-6f);
        EXPECT_NEAR(y, t.y, 1e-6f);
        EXPECT_NEAR(k, t.k, 1e-6f);
        Triple back;
        cc_cmyk_to_rgb(c, m, y, k, back.a, back.b, back.c);
        expect_triple(back, t.rgb, "CMYK back to RGB");
        Triple cmy;
        cc_rgb_to_cmy(t.rgb.a, t.rgb.b, t.rgb.c, cmy.a, cmy.b, cmy.c);
        expect_triple(cmy, {1 - t.rgb.a, 1 - t.rgb.b, 1 - t.rgb.c}, "CMY");
        cc_cmy_to_rgb(cmy.a, cmy.b, cmy.c, back.a, back.b, back.c);
        expect_triple(back, t.rgb, "CMY back to RGB");
    }
    // Neither direction clamps.
    float r, g, b;
    cc_cmyk_to_rgb(0.8f, 0, 0, 0.5f, r, g, b);
    EXPECT_NEAR(r, -0.3f, 1e-6f);
}

TEST(ColourModels, RModp)
{
    struct Case {
        float x, y, want;
    } cases[] = {
        {-30, 360, 330},   {360, 360, 0},     {720, 360, 0},    {-720, 360, 0},
        {-0.0f, 360, 0},   {725.5f, 360, 5.5f}, {-30, -360, 330}, {30, -360, 30},
        {-0.00001f, 360, 360},  // the remainder plus 360 rounds to 360
    };
    for (const Case& c : cases) {
        const float got = R_MODP(c.x, c.y);
        EXPECT_EQ(got, c.want) << c.x << " mod " << c.y;
        EXPECT_FALSE(std::signbit(got)) << c.x << " mod " << c.y << " gave -0";
    }
}

TEST(ColourModels, RModpByZeroIsFatal)
{
    EXPECT_EQ(cc_r_modp_fatal_text(0.0f), " \nR_MODP - Fatal error!\n  R_MODP ( X, Y ) called with Y = 0.000000\n");
    EXPECT_EXIT(R_MODP(5.0f, 0.0f), testing::ExitedWithCode(0), "");
}

TEST(ColourModels, Clamps)
{
    struct Case {
        float in[4], out[4];
    } cases[] = {
        {{0.8f, 0.2f, 1.3f, 0.5f}, {0.5f, 0.2f, 0.5f, 0.5f}},
        {{-0.1f, 0.3f, 0.2f, 1.5f}, {0, 0, 0, 1}},
        {{0.3f, 0.3f, 0.3f, -2}, {0.3f, 0.3f, 0.3f, 0}},
        {{-0.0f, 2, 0.9f, 0.2f}, {0, 0.8f, 0.8f, 0.2f}},
    };
    for (const Case& c : cases) {
        float v[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
        cc_cmyk_clamp(v[0], v[1], v[2], v[3]);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(v[i], c.out[i]) << i;
            EXPECT_FALSE(std::signbit(v[i])) << i;
        }
    }
    float r = -0.5f, g = 0.25f, b = 7;
    cc_clamp_rgb(r, g, b);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(g, 0.25f);
    EXPECT_EQ(b, 1.0f);
}

TEST(ColourModels, NormaliseBringsHueRoundAndClampsTheRest)
{
    float h = -30, l = 1.5f, s = 0.7f;
    cc_hls_normalise(h, l, s);
    EXPECT_EQ(h, 330.0f);
    EXPECT_EQ(l, 1.0f);
    EXPECT_EQ(s, 0.7f);
    float r, g, b;  // lightness 1 is white with any saturation
    cc_hls_to_rgb(h, l, s, r, g, b);
    EXPECT_EQ(r, 1.0f);
    EXPECT_EQ(g, 1.0f);
    EXPECT_EQ(b, 1.0f);

    float hue = 370, sat = -1, val = 2;
    cc_hsv_normalise(hue, sat, val);
    EXPECT_FLOAT_EQ(hue, 10.0f);
    EXPECT_EQ(sat, 0.0f);
    EXPECT_EQ(val, 1.0f);
}

} // namespace
