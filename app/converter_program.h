// The converter program on the toolkit: its main routine, the help window
// and the preview pictures. Built in the Windows tree only.
#pragma once

#include "converter_toolkit.h"

// Starts the toolkit, shows the dialog and handles events until the user
// ends the program; then closes the toolkit and ends the process with
// status 0.
[[noreturn]] void cc_main();

// Start-up before the converter writes anything: the toolkit, the hidden
// root window, RGB colours with solid fills, and dialog 101 shown
// semi-modeless.
void cc_toolkit_start();

// Opens an Info window showing the help file Chromalversor3.rtf from the
// current folder; gives its window number, -1 when the window table is
// full.
int cc_show_info();

// Fills the picture field with one colour through a memory bitmap.
void cc_show_preview(int field, float r, float g, float b, int width, int height);

// The toolkit routines behind the converter's ConverterToolkit.
ConverterToolkit& cc_toolkit();
