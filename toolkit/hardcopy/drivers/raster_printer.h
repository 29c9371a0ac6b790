// The row encoders of the raster printer driver.
#pragma once

#include <string>
#include <string_view>

namespace korv {

// PCL compression mode 1: pairs of a repeat count (one less than the
// bytes) and a byte.
std::string hc_rasprn_run_pairs(std::string_view row);
// PCL compression mode 2 (PackBits).
std::string hc_rasprn_pcl_packbits(std::string_view row);
// TIFF PackBits as ESC/P2 takes it: no piece of one byte, so 129 equal
// bytes are cut 127 + 2.
std::string hc_rasprn_packbits(std::string_view row);

} // namespace korv
