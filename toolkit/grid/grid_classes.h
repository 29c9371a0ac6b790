// The grid's window classes and its cell-change message, registered when
// the root window opens so that dialogs can hold grid fields.
#pragma once

#include <windows.h>

namespace korv {

struct GridClassAtoms {
    ATOM grid = 0;          // class ZOQGRID, the class of a grid field
    UINT cell_change = 0;   // registered message GM_CELLCHANGE
    int print_defaults_ready = 0;  // the grid's print defaults were set up
};

GridClassAtoms& grid_class_atoms();

// 1 while a grid re-lays out its columns or its cell area; number fields
// check nothing meanwhile (the grid services' layout_busy).
int& grid_layout_busy();

// Registers ZOQGRID, ZOQGRIDCLIENT and GM_CELLCHANGE, clears the print
// defaults flag and hands the dialog manager the grid field's hooks; does
// nothing while ZOQGRID is registered. False when a class could not be
// registered.
bool grid_register_classes();
// Unregisters both classes (the root window closes).
void grid_classes_unregister();

// What the dialog manager asks of a grid field (grid_field_hooks_win.cpp).
struct FieldClassHooks;
FieldClassHooks grid_field_hooks(const GridClassAtoms& atoms);
// Set-up from [Grids] lines, the modal copy and clearing (grid_field_win.cpp).
void grid_field_hooks_complete(FieldClassHooks& hooks);
// Lets the grid routines find grids in the current dialog.
void grid_directory_install();

// What the window layer asks of a grid editor's record (content kind 4).
void grid_editor_kind_register();

} // namespace korv
