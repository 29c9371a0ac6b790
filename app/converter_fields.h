// What a change of each dialog field means for the converter's colour: the
// field table (how the field is read, where its value goes and from which
// model the refresh then converts) and the reading of the hexadecimal code.
#pragma once

#include <optional>
#include <string_view>

#include "colour_fields.h"
#include "colour_models.h"

// How a field's value is read from the dialog.
enum class FieldRead { trackbar, integer, real, menu };

// The model code (kModelRgb ...) of the values last changed, from which
// the refresh converts; 0 before any change.
using SourceModel = int;
// The entry last chosen in a name list, from 1.
using NameIndex = int;

// The converter's state that a field change writes into.
struct ConverterColourState {
    ColourRecord colour;
    SourceModel source_model = 0;
    NameIndex name_index = 0;
    RangeSelections ranges;
};

struct FieldTableEntry {
    FieldRead read;
    int model;  // the source model after the change
};

// The field's entry, or nothing for a field whose change changes nothing
// (the codes, buttons, labels, pictures and the alias field).
std::optional<FieldTableEntry> cc_field_table(int field);

// Stores a value read from `field` (by its entry's read kind) into the
// colour, range selections or name index, scaled as the field shows it,
// and makes the entry's model the source model. A field without an entry
// changes nothing. Returns the value stored into a colour component, when
// one was stored.
std::optional<float> cc_field_apply(int field, double value, ConverterColourState& state);

// The component of the colour that a trackbar shows, or nullptr for a
// field that is no trackbar.
float* cc_trackbar_component(int field, ColourRecord& colour);

// Reads a hexadecimal colour code RRGGBB. Blanks count as 0 ("FF" is
// FF0000); anything else but hexadecimal digits, or more than six places,
// gives nothing.
std::optional<RgbColour> cc_parse_hex_code(std::string_view text);
