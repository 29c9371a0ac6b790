// The hardcopy drivers, one file each. Each is a Device that the dispatcher
// reaches by its driver number.
#pragma once

#include <cstdint>
#include <string_view>

#include "korvanthide/graphics_state.h"

namespace korv {

Device& hc_postscript(); // 2: PostScript or EPS
Device& hc_svg();        // 3: SVG
Device& hc_dxf();        // 8: DXF
Device& hc_hpgl();       // 1: HP-GL pen plotter
Device& hc_pcl_hpgl2();      // 12: HP-GL/2 inside a PCL job
Device& hc_raster_image(); // 6: PNG, BMP or PCX images
Device& hc_raster_printer(); // 4: PCL, ESC/P or ESC/P2 jobs
Device& hc_cgm();       // 9: binary CGM

struct DriverDefaults;

// The selection of the Windows printer (10) and metafile (11) drivers, and
// drivers that only select: they stand in for the two where the platform
// has no Windows API.
DriverDefaults hc_windows_printer_defaults();
DriverDefaults hc_windows_metafile_defaults();
Device& hc_windows_printer_selection();
Device& hc_windows_metafile_selection();
// The printer back end's colour inversion by option 6: 1 inverts every
// colour, 2 only the near-black and near-white ones (every component 246
// or more, or 9 or less).
void hc_printer_colour_invert(int& red, int& green, int& blue);

// Windows tree only: the driver routines of the Windows printer (10) and
// metafile (11).
void hc_windows_printer(int& op);
void hc_windows_metafile(int& op);
// Plays a metafile file (type 1 placeable, 2 enhanced, else plain) or,
// with a name of one character, the clipboard's enhanced metafile into the
// rectangle of the screen's drawing context (device 0), the printer's (10)
// or the metafile being recorded (11), turned by the rotation. error: 0, 1
// no file, 2 not a metafile, 1094 the clipboard refused, 1095 no enhanced
// metafile on it.
void hc_metafile_play(int type, int left, int top, int right, int bottom, int device, int rotation, int x_offset,
                      int y_offset, int& error, std::string_view name);

// The DXF colour number (1..255) nearest to a colour, and the colour of a
// number, both as R + 256 G + 65536 B.
int hc_dxf_nearest_colour_index(std::int32_t rgb);
std::int32_t hc_dxf_palette_entry(int n);

} // namespace korv
