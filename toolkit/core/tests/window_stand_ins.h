// What the stand-ins of the neighbouring layers were asked to do.
#pragma once

#include <string>
#include <vector>

namespace korv {

struct StandInLog {
    int graphics_starts = 0;
    std::vector<std::string> hardcopy_options;
};

StandInLog& stand_in_log();

} // namespace korv
