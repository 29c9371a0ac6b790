// The hardcopy drivers' selection entries as they stand before the driver
// files exist: each answers the number probe and, on a full operation 1,
// stores its page defaults, device description, capability string, default
// output file name and its number. Every other operation is ignored.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "korvanthide/hardcopy.h"
#include "core/services/hardcopy.h"

namespace korv {

// What a driver stores when it is selected.
struct DriverDefaults {
    int number = 0;
    // Options set on selection, as (option, value) pairs; option 0 ends the list.
    std::array<std::pair<int, int>, 12> options{};
    int resolution_x = 0, resolution_y = 0;
    int colour_count = 0, colour_limit = 0;
    float real_value = 1.7e38f;
    int word_a = 8, word_b = 360, platform_level = 2, true_colour = 1, shading = 0;
    int word_f = 1, word_g = 0, word_h = 0;
    int print_command_flag = 0;
    std::string_view capability_flags;
    std::string_view default_output_name;
    // The raster resolution index a raster printer sets; -1 leaves it.
    int raster_index = -1;
    // The Windows printer takes its page and colours from the default printer.
    bool reads_printer = false;
    // The Windows drivers take the platform level (word C) and the shading
    // level (word E) from the platform.
    bool platform_words = false;
};

// The defaults of driver number n, or nothing when n names no driver.
std::optional<DriverDefaults> hc_driver_defaults(int n);

// A built-in driver: the selection entry, nothing else yet.
class SelectionOnlyDriver : public Device {
public:
    explicit SelectionOnlyDriver(int number) : number_(number) {}
    void select(DeviceParameters& p) override;

private:
    int number_;
};

} // namespace korv
