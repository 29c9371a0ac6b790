// What every file-writing driver does alike: the selection entry, opening
// the plot file on unit 2, the colour of the current colour mode.
#pragma once

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

// Option n of the hardcopy options.
int hc_option(int n);

} // namespace korv
