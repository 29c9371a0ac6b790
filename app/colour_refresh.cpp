#include "colour_refresh.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

#include "colour_tables.h"
#include "korvanthide/fixed_text.h"

namespace {

constexpr int kDecimalTextLength = 20;
constexpr int kAliasTextLength = 100;

// Truncation toward zero of a shown value. The colour is in range here; the
// guards only keep a NaN or an overflow from being undefined.
int trunc_shown(float x)
{
    if (std::isnan(x)) {
        return 0;
    }
    if (x >= 2147483647.0f) {
        return INT_MAX;
    }
    if (x <= -2147483648.0f) {
        return INT_MIN;
    }
    return static_cast<int>(x);
}

FieldVisibility visibility(const ComponentFieldGroup& group, int selection, int last_integer_selection)
{
    if (selection == 1) {
        return {&group, kFieldShown, kFieldHidden};
    }
    if (selection >= 2 && selection <= last_integer_selection) {
        return {&group, kFieldHidden, kFieldShown};
    }
    return {&group, 0, 0};
}

// Fills the rest of the working copy (and the same groups of the record)
// from the working RGB.
void cmyk_from_rgb(ColourRecord& w, ColourRecord& colour)
{
    cc_rgb_to_cmyk(w.rgb.r, w.rgb.g, w.rgb.b, w.cmyk.c, w.cmyk.m, w.cmyk.y, w.cmyk.k);
    cc_cmyk_clamp(w.cmyk.c, w.cmyk.m, w.cmyk.y, w.cmyk.k);
    colour.cmyk = w.cmyk;
}

void cmy_from_rgb(ColourRecord& w, ColourRecord& colour)
{
    cc_rgb_to_cmy(w.rgb.r, w.rgb.g, w.rgb.b, w.cmy.c, w.cmy.m, w.cmy.y);
    cc_clamp_cmy(w.cmy.c, w.cmy.m, w.cmy.y);
    colour.cmy = w.cmy;
}

void hls_from_rgb(ColourRecord& w, ColourRecord& colour)
{
    cc_rgb_to_hls(w.rgb.r, w.rgb.g, w.rgb.b, w.hls.h, w.hls.l, w.hls.s);
    cc_hls_normalise(w.hls.h, w.hls.l, w.hls.s);
    colour.hls = w.hls;
}

void hsv_from_rgb(ColourRecord& w, ColourRecord& colour)
{
    cc_rgb_to_hsv(w.rgb.r, w.rgb.g, w.rgb.b, w.hsv.h, w.hsv.s, w.hsv.v);
    cc_hsv_normalise(w.hsv.h, w.hsv.s, w.hsv.v);
    colour.hsv = w.hsv;
}

void clamp_rgb_into(ColourRecord& w, ColourRecord& colour)
{
    cc_clamp_rgb(w.rgb.r, w.rgb.g, w.rgb.b);
    colour.rgb = w.rgb;
}

// The source group's values are clamped or normalised on the working copy
// only and give the working RGB; every other group is then converted from
// it and stored into both. A model that converts nothing changes nothing.
void convert(int model, int name_index, ColourRecord& colour, ColourRecord& w)
{
    switch (model) {
    case kModelRgb:
        w.rgb = colour.rgb;
        cc_clamp_rgb(w.rgb.r, w.rgb.g, w.rgb.b);
        break;
    case kModelCmyk:
        w.cmyk = colour.cmyk;
        cc_cmyk_clamp(w.cmyk.c, w.cmyk.m, w.cmyk.y, w.cmyk.k);
        cc_cmyk_to_rgb(w.cmyk.c, w.cmyk.m, w.cmyk.y, w.cmyk.k, w.rgb.r, w.rgb.g, w.rgb.b);
        clamp_rgb_into(w, colour);
        break;
    case kModelCmy:
        w.cmy = colour.cmy;
        cc_clamp_cmy(w.cmy.c, w.cmy.m, w.cmy.y);
        cc_cmy_to_rgb(w.cmy.c, w.cmy.m, w.cmy.y, w.rgb.r, w.rgb.g, w.rgb.b);
        clamp_rgb_into(w, colour);
        break;
    case kModelHls:
        w.hls = colour.hls;
        cc_hls_normalise(w.hls.h, w.hls.l, w.hls.s);
        cc_hls_to_rgb(w.hls.h, w.hls.l, w.hls.s, w.rgb.r, w.rgb.g, w.rgb.b);
        clamp_rgb_into(w, colour);
        break;
    case kModelHsv:
        w.hsv = colour.hsv;
        cc_hsv_normalise(w.hsv.h, w.hsv.s, w.hsv.v);
        cc_hsv_to_rgb(w.hsv.h, w.hsv.s, w.hsv.v, w.rgb.r, w.rgb.g, w.rgb.b);  // in range: not clamped
        colour.rgb = w.rgb;
        break;
    case kModelGermanName:
    case kModelEnglishName: {
        const NamedColourTable& table = model == kModelGermanName ? german_colour_table() : english_colour_table();
        const NamedColour& entry = table.at(name_index);
        w.rgb = {entry.red, entry.green, entry.blue};
        colour.rgb = w.rgb;
        cc_clamp_rgb(w.rgb.r, w.rgb.g, w.rgb.b);
        break;
    }
    default:
        return;
    }
    if (model != kModelCmyk) {
        cmyk_from_rgb(w, colour);
    }
    if (model != kModelCmy) {
        cmy_from_rgb(w, colour);
    }
    if (model != kModelHls) {
        hls_from_rgb(w, colour);
    }
    if (model != kModelHsv) {
        hsv_from_rgb(w, colour);
    }
}

// Fills the writes of one component's trackbar, integer and real field.
class FieldWriter {
public:
    explicit FieldWriter(DialogView& view) : view_(view) {}

    void component(const ComponentFields& f, int trackbar, int integer, float real)
    {
        // The layout holds the fields in the order they are filled here.
        put(trackbar, 0.0f);
        put(integer, 0.0f);
        put(0, real);
    }

    // Percentage trackbar, integer trunc(255x), real x.
    void plain(const ComponentFields& f, float x)
    {
        component(f, trunc_shown(100.0f * x), trunc_shown(255.0f * x), x);
    }

    // CMYK and CMY: the integer field rounds by the range selection.
    void rounded(const ComponentFields& f, float x, int selection)
    {
        int integer;
        if (selection == 2) {
            integer = std::min(trunc_shown(100.0f * x + 0.5f), 100);
        } else if (selection == 3) {
            integer = std::min(trunc_shown(255.0f * x + 0.5f), 255);
        } else {
            integer = trunc_shown(100.0f * x);
        }
        component(f, trunc_shown(100.0f * x), integer, x);
    }

    // A hue in degrees; the field the range selection hides keeps what the
    // previous refresh wrote into it.
    void hue(const ComponentFields& f, float h, int selection)
    {
        int integer = previous(f.integer).integer;
        float real = previous(f.real).real;
        if (selection == 1) {
            real = h / 360.0f;
        } else if (selection == 2 || selection == 3) {
            const float scaled = h * (selection == 2 ? 240.0f : 255.0f) / 360.0f;
            integer = trunc_shown(scaled);
            real = scaled;
        } else if (selection == 4) {
            integer = trunc_shown(h);
        }
        component(f, trunc_shown(h), integer, real);
    }

private:
    const FieldWrite& previous(int field) const { return *view_.find(field); }

    void put(int integer, float real)
    {
        FieldWrite& w = view_.fields[next_++];
        w.integer = integer;
        w.real = real;
    }

    DialogView& view_;
    int next_ = 0;
};

std::string hex_code(int r, int g, int b)
{
    std::string code;
    for (int v : {r, g, b}) {
        if (v < 0 || v > 255) {
            code += "**";  // does not fit two places
            continue;
        }
        constexpr char digits[] = "0123456789ABCDEF";
        code += digits[v / 16];
        code += digits[v % 16];
    }
    return code;
}

std::string decimal_code(int r, int g, int b)
{
    const long long n = r + 256LL * g + 65536LL * b;
    std::array<char, kDecimalTextLength> text;
    text.fill(' ');
    int position = 0;
    cc_append_integer(text, position, static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX)));
    return {text.data(), static_cast<std::size_t>(position)};
}

// The names of the entries whose colour equals rgb exactly, German first,
// leaving out the entry each list shows.
std::string alias_text(const RgbColour& rgb, int german_shown, int english_shown)
{
    std::array<char, kAliasTextLength> text;
    text.fill(' ');
    int position = 0;
    const std::pair<const NamedColourTable*, int> tables[] = {{&german_colour_table(), german_shown},
                                                              {&english_colour_table(), english_shown}};
    for (const auto& [table, shown] : tables) {
        for (int i = 1; i <= table->count; ++i) {
            const NamedColour& e = table->at(i);
            if (i == shown || e.red != rgb.r || e.green != rgb.g || e.blue != rgb.b) {
                continue;
            }
            if (position >= 1) {
                cc_append_text(text, position, ", ");
            }
            cc_append_text(text, position, table->name(i));
        }
    }
    return {text.data(), static_cast<std::size_t>(position)};
}

} // namespace

std::array<FieldWrite, kFieldWriteCount> DialogView::field_layout()
{
    std::array<FieldWrite, kFieldWriteCount> layout{};
    std::size_t n = 0;
    auto add = [&](std::span<const ComponentFields> block, bool hue_first) {
        bool first = true;
        for (const ComponentFields& f : block) {
            const int end = hue_first && first ? 360 : 100;
            layout[n++] = {f.trackbar, FieldKind::trackbar, 0, 0.0f, end};
            layout[n++] = {f.integer, FieldKind::integer, 0, 0.0f, 0};
            layout[n++] = {f.real, FieldKind::real, 0, 0.0f, 0};
            first = false;
        }
    };
    add(kRgbFields, false);
    add(kCmykFields, false);
    add(kCmyFields, false);
    add(kHlsFields, true);
    add(kHsvFields, true);
    return layout;
}

const FieldWrite* DialogView::find(int field) const
{
    for (const FieldWrite& w : fields) {
        if (w.field == field) {
            return &w;
        }
    }
    return nullptr;
}

void cc_append_text(std::span<char> text, int& position, std::string_view string)
{
    const int length = static_cast<int>(text.size());
    const int start = std::clamp(position, 0, length);
    korv::text_assign(text.subspan(static_cast<std::size_t>(start)), string);
    const long long advanced = static_cast<long long>(start) + static_cast<long long>(string.size());
    position = static_cast<int>(std::min<long long>(advanced, length));
}

void cc_append_integer(std::span<char> text, int& position, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const std::string_view shown(digits, static_cast<std::size_t>(end - digits));
    cc_append_text(text, position, shown.size() <= 10 ? shown : std::string_view("**********"));
}

void cc_compute_refresh(int model, int name_index, int flags, RangeSelections ranges, ColourRecord& colour,
                        RefreshWorkspace& workspace)
{
    DialogView& view = workspace.shown;
    ColourRecord& w = workspace.working;

    view.visibility = {
        visibility(ComponentFieldLists::rgb, ranges.rgb, 2),
        visibility(ComponentFieldLists::cmyk, ranges.cmyk, 3),
        visibility(ComponentFieldLists::cmy, ranges.cmy, 3),
        visibility(ComponentFieldLists::hls_hue, ranges.hls_hue, 4),
        visibility(ComponentFieldLists::hls_lightness_saturation, ranges.hls_lightness_saturation, 2),
        visibility(ComponentFieldLists::hsv_hue, ranges.hsv_hue, 4),
        visibility(ComponentFieldLists::hsv_saturation_value, ranges.hsv_saturation_value, 2),
    };

    // A name typed into a list (or an empty list) designates no entry: such
    // a choice converts nothing and the colour stays.
    if ((model == kModelGermanName && !german_colour_table().has(name_index)) ||
        (model == kModelEnglishName && !english_colour_table().has(name_index))) {
        model = 0;
    }
    convert(model, name_index, colour, w);

    FieldWriter writer(view);
    writer.plain(kRgbFields[0], w.rgb.r);
    writer.plain(kRgbFields[1], w.rgb.g);
    writer.plain(kRgbFields[2], w.rgb.b);
    const float cmyk[] = {w.cmyk.c, w.cmyk.m, w.cmyk.y, w.cmyk.k};
    for (int i = 0; i < 4; ++i) {
        writer.rounded(kCmykFields[i], cmyk[i], ranges.cmyk);
    }
    const float cmy[] = {w.cmy.c, w.cmy.m, w.cmy.y};
    for (int i = 0; i < 3; ++i) {
        writer.rounded(kCmyFields[i], cmy[i], ranges.cmy);
    }
    writer.hue(kHlsFields[0], w.hls.h, ranges.hls_hue);
    writer.plain(kHlsFields[1], w.hls.l);
    writer.plain(kHlsFields[2], w.hls.s);
    writer.hue(kHsvFields[0], w.hsv.h, ranges.hsv_hue);
    writer.plain(kHsvFields[1], w.hsv.s);
    writer.plain(kHsvFields[2], w.hsv.v);

    const int r = trunc_shown(255.0f * w.rgb.r);
    const int g = trunc_shown(255.0f * w.rgb.g);
    const int b = trunc_shown(255.0f * w.rgb.b);
    view.hex = hex_code(r, g, b);
    view.decimal = decimal_code(r, g, b);

    // A chosen name stays selected even where an earlier entry has the same
    // colour; the other list shows the nearest entry.
    const int german_nearest = cc_nearest_entry(german_colour_table(), w.rgb.r, w.rgb.g, w.rgb.b);
    const int english_nearest = cc_nearest_entry(english_colour_table(), w.rgb.r, w.rgb.g, w.rgb.b);
    view.german_index = model == kModelGermanName ? name_index : german_nearest;
    view.english_index = model == kModelEnglishName ? name_index : english_nearest;

    view.alias = alias_text(w.rgb, view.german_index, view.english_index);
    view.preview = w.rgb;
    view.comparison_preview = (flags & 1) != 0;
}
