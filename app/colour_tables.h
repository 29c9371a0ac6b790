// The two compiled-in tables of named colours (German and English) and the
// search for the entry nearest to a colour.
#pragma once

#include <iterator>
#include <span>
#include <string_view>

// The longest name a table entry can hold.
constexpr int kColourNameLength = 21;
// The length of the names cc_nearest_named_colour hands out.
constexpr int kNearestNameLength = 20;

// A Latin-1 name padded with blanks to kColourNameLength characters, and its
// components k/255 to six decimals (so 255 times one may truncate to k - 1).
struct NamedColour {
    char name[kColourNameLength + 1];
    float red, green, blue;
};

// Entries sorted by name in Latin-1 byte order, numbered from 1. A name that
// occurs more than once takes adjacent entries, each with its own colour.
struct NamedColourTable {
    const NamedColour* entries;
    int count;

    bool has(int index) const { return index >= 1 && index <= count; }
    // index must satisfy has(index).
    const NamedColour& at(int index) const { return entries[index - 1]; }
    std::string_view padded_name(int index) const
    {
        return {at(index).name, static_cast<std::size_t>(kColourNameLength)};
    }
    std::string_view name(int index) const;  // without the trailing blanks
};

const NamedColourTable& german_colour_table();   // 206 entries
const NamedColourTable& english_colour_table();  // 1333 entries

// The nearest entry of each table to (r, g, b): the first whose components
// all equal them, else the first at the least distance. Names are cut or
// padded to the outputs' lengths (kNearestNameLength in the dialog).
void cc_nearest_named_colour(float r, float g, float b, int& german_index, std::span<char> german_name,
                             int& english_index, std::span<char> english_name);

// The index alone, for one table.
int cc_nearest_entry(const NamedColourTable& table, float r, float g, float b);
