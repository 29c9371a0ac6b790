// What the graphics layer and start-up ask of hardcopy. The hardcopy
// plug-in fills the table when it registers (hardcopy_services_register and
// hardcopy_services_register_win); until then every entry answers as a
// toolkit without hardcopy would: no driver, no printer. The options and the
// state of the drivers live in the plug-in
// (toolkit/hardcopy/control/hardcopy_state.h).
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "korvanthide/graphics_state.h"

struct HDC__;

namespace korv {

// What the graphics layer reads of the hardcopy page: the page size
// (options 1 and 2, in points) and the scale factors (page units per device
// unit) that the drivers set on operations 1 and 18.
struct HardcopyPage {
    int width = 0, height = 0;
    float scale_x = 0, scale_y = 0;
};

// The settings-file keys that belong to the hardcopy device description.
enum class HardcopySetting { printer, plotter, hpgl2 };

struct HardcopyServices {
    // Start-up: forgets the driver of the last full selection and clears
    // the device description; takes a PRINTER, PLOTTER or HPGL2 value of
    // the settings file; decodes them once the file is read; sets the dump
    // defaults (device 2 PostScript, else the Windows printer).
    std::function<void()> description_reset = [] {};
    std::function<void(HardcopySetting key, int value)> setting_store = [](HardcopySetting, int) {};
    std::function<void()> settings_decode = [] {};
    std::function<void(int device)> defaults_init = [](int) {};

    // IGrHardCopy and hc_dispatch.
    std::function<void(std::optional<std::string_view> option, std::optional<std::string_view> title)> hard_copy =
        [](std::optional<std::string_view>, std::optional<std::string_view>) {};
    std::function<void(int op)> dispatch = [](int) {};
    // The hardcopy steps of the graphics start-up: the page is no longer
    // drawn on, open output is finished, and the current driver is selected
    // afresh; with options_kept (the start-up's "P") the options and the
    // default output name survive the selection when a driver was selected
    // before.
    std::function<void(bool options_kept)> graphics_start = [](bool) {};
    // The page as the graphics layer reads it.
    std::function<HardcopyPage()> page = [] { return HardcopyPage{}; };

    // The default Windows printer's page: 0, or the system's error code
    // (without the plug-in no printer can be read).
    std::function<int(GraphicsPlatform::PrinterPage& page)> printer_defaults = [](GraphicsPlatform::PrinterPage&) {
        return 1;
    };
    // An information context on the default printer once it has been
    // read, which the caller deletes; nullptr before that, or when none
    // can be made.
    std::function<HDC__*()> printer_information_context = []() -> HDC__* { return nullptr; };
    // Runs a print command and waits for it.
    std::function<void(std::string_view command)> print_command = [](std::string_view) {};
};

HardcopyServices& hardcopy_services();

} // namespace korv
