// The grid's window classes and its cell-change message, registered when
// the root window opens so that dialogs can hold grid fields.
#pragma once

#include <windows.h>

namespace korv {

struct GridClassAtoms {
    ATOM grid = 0;          // class ZOQGRID: how the dialog manager tells a grid field
    UINT cell_change = 0;   // registered message GM_CELLCHANGE
    int print_defaults_ready = 0;  // the grid's print defaults were set up
};

GridClassAtoms& grid_class_atoms();

// 1 while a grid re-lays out its columns or cell area; number fields check
// nothing meanwhile.
int& grid_layout_busy();

// Registers ZOQGRID, ZOQGRIDCLIENT and GM_CELLCHANGE and clears the print
// defaults flag; does nothing while ZOQGRID is registered. False when a
// class could not be registered.
bool grid_register_classes();
// Unregisters both classes (the root window closes).
void grid_unregister_classes();

// Window procedures of the two classes.
LRESULT CALLBACK grid_window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK grid_client_proc(HWND window, UINT message, WPARAM w, LPARAM l);

} // namespace korv
