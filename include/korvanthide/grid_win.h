// The grid routine that takes a grid window rather than an identifier: the
// dialog manager's field clearing calls it for a grid field.
#pragma once

#include <windows.h>

// Empties every cell of the grid (menu cells at their first item); flag 1
// also empties the menu columns' item lists. Protection, colours, row
// headings and the rows in use stay.
void grid_clear_all(HWND grid, int flag);
