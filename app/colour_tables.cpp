#include "colour_tables.h"

#include <cmath>

#include "korvanthide/fixed_text.h"

std::string_view NamedColourTable::name(int index) const
{
    return korv::text_trimmed(padded_name(index));
}

int cc_nearest_entry(const NamedColourTable& table, float r, float g, float b)
{
    float best = 1.0e30f;
    int found = 1;
    for (int i = 1; i <= table.count; ++i) {
        const NamedColour& e = table.at(i);
        if (e.red == r && e.green == g && e.blue == b) {
            return i;
        }
        const float dr = r - e.red;
        const float dg = g - e.green;
        const float db = b - e.blue;
        const float d = std::sqrt(dr * dr + dg * dg + db * db);
        if (best > d) {  // strictly: of equal distances the first wins
            best = d;
            found = i;
        }
    }
    return found;
}

void cc_nearest_named_colour(float r, float g, float b, int& german_index, std::span<char> german_name,
                             int& english_index, std::span<char> english_name)
{
    const NamedColourTable& german = german_colour_table();
    const NamedColourTable& english = english_colour_table();
    german_index = cc_nearest_entry(german, r, g, b);
    english_index = cc_nearest_entry(english, r, g, b);
    korv::text_assign(german_name, german.name(german_index));
    korv::text_assign(english_name, english.name(english_index));
}
