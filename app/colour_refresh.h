// What the main dialog shows after a change: the colour converted from the
// model changed last into all others, every trackbar, integer and real field
// by the range menus, the codes, the nearest names and the names of exactly
// the same colour. This computes it; a writer applies it to the dialog.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "colour_fields.h"
#include "colour_models.h"

// Field states for showing and hiding a field.
constexpr int kFieldShown = 1;
constexpr int kFieldHidden = 3;

// Whether a group shows its real or its integer fields. A state of 0 means
// the range selection is none the menu offers: leave the fields as they are.
struct FieldVisibility {
    const ComponentFieldGroup* group;
    int real_state;
    int integer_state;
};

enum class FieldKind { trackbar, integer, real };

// One field write. A trackbar gets a position and passes the selection
// 0..selection_end along (which the dialog's trackbars ignore).
struct FieldWrite {
    int field = 0;
    FieldKind kind = FieldKind::trackbar;
    int integer = 0;  // trackbar position or integer value
    float real = 0.0f;
    int selection_end = 0;
};

constexpr int kFieldWriteCount = 48;
// The writes go in this order: the RGB block, then the hexadecimal and the
// decimal code, then CMYK, CMY, HLS and HSV.
constexpr int kWritesBeforeCodes = 9;

// Everything the dialog shows after one refresh, in the order it is written.
struct DialogView {
    // RGB, CMYK, CMY, HLS hue, HLS lightness and saturation, HSV hue, HSV
    // saturation and value; within each group the real fields first.
    std::array<FieldVisibility, 7> visibility{};
    std::array<FieldWrite, kFieldWriteCount> fields = field_layout();
    std::string hex = "000000";  // six upper-case hexadecimal digits
    std::string decimal;         // r + 256 g + 65536 b, without leading blanks
    int german_index = 0;        // the entry each name list shows, from 1
    int english_index = 0;
    std::string alias;           // Latin-1: other names of exactly this colour
    RgbColour preview;           // the working RGB, for the preview
    bool comparison_preview = false;  // also copy it into the comparison preview

    // The write of one field; nullptr for a field that is not written.
    const FieldWrite* find(int field) const;

    static std::array<FieldWrite, kFieldWriteCount> field_layout();
};

// The converter's working state between refreshes: zero at load.
struct RefreshWorkspace {
    ColourRecord working;  // the colour every field is written from
    DialogView shown;      // what the last refresh showed; a hidden hue field keeps it
};

// Converts from `model` (a model code; for 8 and 9 the colour of entry
// name_index of the German or English table) into every other model, on the
// working copy and into `colour` (whose source group keeps its values as
// entered), and fills workspace.shown. A model that converts nothing (0, or a
// name index no entry has) leaves the colour and rewrites the fields as they
// were. flags bit 0 asks for the comparison preview too.
void cc_compute_refresh(int model, int name_index, int flags, RangeSelections ranges, ColourRecord& colour,
                        RefreshWorkspace& workspace);

// Copies string into text from character position + 1 to the text's end
// (cut there, the rest filled with blanks) and advances position by the
// string's length, but never past the text's end.
void cc_append_text(std::span<char> text, int& position, std::string_view string);

// Appends value in decimal without leading blanks (ten places at most:
// "**********" when it needs more).
void cc_append_integer(std::span<char> text, int& position, int value);
