// The hardcopy plug-in's entries of the base's service table, as far as
// they need no Windows API (see hardcopy_register_win.cpp for the rest).
#include "core/services/hardcopy.h"

#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/control/device_description.h"
#include "hardcopy/control/control.h"

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

} // namespace

void hardcopy_services_register()
{
    HardcopyServices& s = hardcopy_services();
    s.description_reset = hc_device_description_reset;
    s.setting_store = setting_store;
    s.settings_decode = hc_settings_decode;
    s.hard_copy = hard_copy;
    s.dispatch = hc_dispatch;
    s.set_option = hc_set_option;
    s.driver_install = hc_driver_install;
}

} // namespace korv
