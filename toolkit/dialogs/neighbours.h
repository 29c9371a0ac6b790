// Entry points of the grid subsystem that the dialog manager calls, taken
// from its header once that header is part of the build.
#pragma once

#include <windows.h>

#if __has_include("korvanthide/grid_classes.h")
#include "korvanthide/grid_classes.h"
#else
namespace korv {
struct GridClassAtoms {
    ATOM grid = 0;
    UINT cell_change = 0;
    int print_defaults_ready = 0;
};
GridClassAtoms& grid_class_atoms();
int& grid_layout_busy();
} // namespace korv
#endif
