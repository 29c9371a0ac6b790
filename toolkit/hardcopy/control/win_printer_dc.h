// Device contexts of the Windows printer the settings and the page set-up
// chose.
#pragma once

#include "graphics/gdi_handles.h"

namespace korv {

// Creates a device context for the selected printer whose device mode
// carries the orientation, the copies and, once the page set-up chose a
// paper, its choices. Empty when the printer cannot be opened.
OwnedDc hc_printer_dc(int landscape, int copies);

} // namespace korv
