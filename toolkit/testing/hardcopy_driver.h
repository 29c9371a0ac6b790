// A test's device in the slot of a hardcopy driver for one scope, put there
// through the same door as the toolkit's own drivers.
#pragma once

#include "korvanthide/graphics_state.h"
#include "hardcopy/control/control.h"

namespace korv::testing {

class ScopedHardcopyDriver {
public:
    ScopedHardcopyDriver(int number, Device* device) : number_(number), previous_(hc_driver_install(number, device)) {}
    ~ScopedHardcopyDriver() { hc_driver_install(number_, previous_); }
    ScopedHardcopyDriver(const ScopedHardcopyDriver&) = delete;
    ScopedHardcopyDriver& operator=(const ScopedHardcopyDriver&) = delete;

    // The driver the slot held before.
    const HardcopyDriverSlot& previous() const { return previous_; }

private:
    int number_;
    HardcopyDriverSlot previous_;
};

} // namespace korv::testing
