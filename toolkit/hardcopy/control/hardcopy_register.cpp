// The hardcopy plug-in's entries of the base's service table and its
// drivers, as far as they need no Windows API (see hardcopy_register_win.cpp
// for the rest).
#include "core/services/hardcopy.h"

#include <utility>

#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/control/device_description.h"
#include "hardcopy/control/control.h"
#include "hardcopy/control/hardcopy_state.h"
#include "plugin_register.h"

namespace korv {

namespace {

void setting_store(HardcopySetting key, int value)
{
    PrinterPlotterSettings& settings = printer_plotter_settings();
    switch (key) {
    case HardcopySetting::printer:
        settings.printer_value = value;
        return;
    case HardcopySetting::plotter:
        settings.plotter_value = value;
        return;
    case HardcopySetting::hpgl2:
        settings.hpgl2_value = value;
        return;
    }
}

void hard_copy(std::optional<std::string_view> option, std::optional<std::string_view> title)
{
    IGrHardCopy(option, title);
}

// Every driver in its slot. The Windows printer and metafile only select
// here: the Windows tree puts its own drivers in their place.
void drivers_install()
{
    const std::pair<HardcopyDriver, Device*> drivers[] = {
        {driver_hpgl, &hc_hpgl()},
        {driver_postscript, &hc_postscript()},
        {driver_svg, &hc_svg()},
        {driver_raster_printer, &hc_raster_printer()},
        {driver_raster_image, &hc_raster_image()},
        {driver_dxf, &hc_dxf()},
        {driver_cgm, &hc_cgm()},
        {driver_windows_printer, &hc_windows_printer_selection()},
        {driver_windows_metafile, &hc_windows_metafile_selection()},
        {driver_hpgl2_pcl, &hc_pcl_hpgl2()},
    };
    for (const auto& [number, driver] : drivers)
        hc_driver_install(number, driver);
}

} // namespace

void hardcopy_services_register()
{
    HardcopyServices& s = hardcopy_services();
    s.description_reset = [] {
        hardcopy_state().driver_record = 0;
        hc_device_description_reset();
    };
    s.setting_store = setting_store;
    s.settings_decode = hc_settings_decode;
    s.hard_copy = hard_copy;
    s.dispatch = hc_dispatch;
    s.graphics_start = hc_graphics_start;
    s.page = hc_page;
    drivers_install();
}

} // namespace korv
