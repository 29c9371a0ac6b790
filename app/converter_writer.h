// Writes what a refresh shows into the dialog, through the toolkit's field
// routines, in the converter's fixed order: field visibility; the RGB block,
// the hexadecimal and decimal codes, then CMYK, CMY, HLS and HSV (each
// component as trackbar, integer field, real field); both name lists; the
// alias text; the preview, and the comparison preview when asked.
#pragma once

#include <span>

#include "colour_refresh.h"
#include "converter_toolkit.h"

// The previews' size in pixels.
constexpr int kPreviewWidth = 75;
constexpr int kPreviewHeight = 60;

// Sets the state of the first n fields of the list, in order (1 shows a
// field, 3 hides it).
void cc_set_field_states(ConverterToolkit& dialog, std::span<const int> fields, int n, int state);

// Writes the view. `model` is the model the refresh converted from: after a
// choice in the English list (9) that list is filled first.
void cc_write_refresh(const DialogView& view, int model, ConverterToolkit& dialog);
