// The driver dispatch and what only the hardcopy side calls of the control:
// the option defaults, the dispatcher, putting drivers in place, the print
// command.
#pragma once

#include <string_view>

#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"

namespace korv {

// The driver-independent defaults every driver takes when it is selected.
void hc_reset_options();

// Hands op to the driver of the current driver number.
void hc_dispatch(int op);

// A driver routine: carries out one operation code on DeviceParameters.
using HardcopyDriverRoutine = void (*)(int& op);

// The driver in a slot: a device or a driver routine, one of the two; both
// empty for a number without a driver.
struct HardcopyDriverSlot {
    HardcopyDriverSlot() = default;
    HardcopyDriverSlot(Device* d) : device(d) {}
    HardcopyDriverSlot(HardcopyDriverRoutine r) : routine(r) {}

    Device* device = nullptr;
    HardcopyDriverRoutine routine = nullptr;
};

// Puts a driver in the slot of number 0..12 and returns the one it
// replaces. The slots are the only place the dispatcher finds a driver: the
// register routines fill them, and a test puts its own driver in place of
// one and puts back what it was given.
HardcopyDriverSlot hc_driver_install(int number, HardcopyDriverSlot driver);

// Runs a print command through the command interpreter and waits for it.
void YYPRNCMD(std::string_view command);

} // namespace korv
