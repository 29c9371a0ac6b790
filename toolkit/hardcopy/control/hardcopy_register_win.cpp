// The hardcopy plug-in's Windows entries of the base's service table (the
// default printer, an information context on it and print commands) and the
// Windows printer and metafile drivers in their slots.
#include "core/services/hardcopy.h"

#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "hardcopy/control/win_printer_dc.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/control/printer_settings.h"
#include "hardcopy/control/control.h"
#include "plugin_register.h"

namespace korv {

namespace {

int printer_defaults(GraphicsPlatform::PrinterPage& page)
{
    int larger = 0;
    int smaller = 0;
    int error = 0;
    hc_printer_defaults(0, larger, smaller, page.width, page.height, page.x_offset, page.y_offset,
                        page.orientation, page.copies, page.colours, error);
    return error;
}

HDC__* printer_information_context()
{
    const WindowsPrinterSettings& w = windows_printer_settings();
    if (w.printer_read == 0)
        return nullptr;
    return CreateICA(w.selection.driver.data(), w.selection.device.data(), nullptr, nullptr);
}

} // namespace

void hardcopy_services_register_win()
{
    HardcopyServices& s = hardcopy_services();
    s.defaults_init = hc_hardcopy_defaults_init;
    s.printer_defaults = printer_defaults;
    s.printer_information_context = printer_information_context;
    s.print_command = YYPRNCMD;
    hc_driver_install(driver_windows_printer, hc_windows_printer);
    hc_driver_install(driver_windows_metafile, hc_windows_metafile);
}

} // namespace korv
