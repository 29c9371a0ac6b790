// What every file-writing driver does alike: the selection entry, opening
// the plot file on unit 2, the colour of the current colour mode.
#pragma once

#include <cstdint>
#include <vector>

#include "korvanthide/graphics_state.h"
#include "core/services/hardcopy.h"

namespace korv {

// Operation 1: the number probe (count -999) or the driver's defaults.
// True when the driver was selected in full.
bool hc_driver_select(DeviceParameters& p, int number);

// Opens unit 2 for operation 18; on failure (already reported) hardcopy
// output is switched off and false returned. An error number set before
// the open survives a successful open.
bool hc_driver_open_output();

// Marks the current page as drawn on.
void hc_page_drawn();

// Palette index in colour mode 1, RGB value in mode 2: what
// gr_colour_components takes.
int hc_current_colour();
int hc_previous_colour();

// The RGB value of the current colour, in either colour mode.
int hc_current_rgb();

// Operation 38's image: the file named in the parameter block read into
// pixels (R + 256 G + 65536 B, top row first) of the image size the block
// gives, nothing reported. On failure the loader's error number goes into
// the phase word and the system code into the count word, and false comes
// back; else the phase word becomes 0.
bool hc_driver_read_image(DeviceParameters& p, std::vector<std::int32_t>& pixels, int& width, int& height);

// Option n of the hardcopy options.
int hc_option(int n);

} // namespace korv
