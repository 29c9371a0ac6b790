// Bounded waits in tests, scaled for slow or loaded machines.
#pragma once

namespace korv::testing {

// KORV_TEST_TIME_FACTOR (a positive number, default 1) times `base_ms`.
unsigned long scaled_ms(unsigned long base_ms);

} // namespace korv::testing
