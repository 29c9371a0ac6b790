// The register routine of every plug-in, called by the install file
// (install.cpp, install_win.cpp) and nowhere else. Each fills the base's
// tables with the plug-in's answers: its service table in
// toolkit/core/services/, its content kinds, its field-class hooks and its
// hardcopy driver slots. A new plug-in adds its routine here.
#pragma once

namespace korv {

// The text editor: the editor services and content kind 1. Windows only.
void editor_services_register();
// The grid: its window classes, the grid editor's content kind and the
// directory through which the grid routines find grids. Windows only.
void grid_services_register();
// Hardcopy, the part without the Windows API: the control entries and
// every driver slot (stand-ins that only select for the Windows printer
// and metafile).
void hardcopy_services_register();
// Hardcopy's Windows part: the default printer, print commands and the
// Windows printer and metafile drivers in their slots.
void hardcopy_services_register_win();

} // namespace korv
