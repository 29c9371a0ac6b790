// The driver dispatch and what only the hardcopy side calls of the control:
// the option defaults, the dispatcher, putting drivers in place, the print
// command.
#pragma once

#include <string_view>

#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "core/services/hardcopy.h"

namespace korv {

// The driver-independent defaults every driver takes when it is selected.
void hc_reset_options();

// Hands op to the driver of the current driver number.
void hc_dispatch(int op);

// A driver routine: carries out one operation code on DeviceParameters.
using HardcopyDriverRoutine = void (*)(int& op);

// Puts a device, or a driver routine, in place of driver number 1..12
// (nullptr puts back what stood before: a device goes before a routine, a
// routine before the built-in driver); returns the one it replaces.
Device* hc_driver_install(int number, Device* driver);
HardcopyDriverRoutine hc_driver_install(int number, HardcopyDriverRoutine routine);

// Runs a print command through the command interpreter and waits for it.
void YYPRNCMD(std::string_view command);

// The built-in driver of number n (drivers 10 and 11 only select where the
// platform has no Windows drivers), or nullptr when n names no driver.
Device* hc_built_in_driver(int n);

} // namespace korv
