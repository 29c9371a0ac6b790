#include "hardcopy/control/printer_page_setup.h"

#include "korvanthide/printer.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/win_module.h"
#include "dialogs/common_dialogs_frame.h"
#include "dialogs/page_setup.h"
#include "hardcopy/control/printer_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace korv {

namespace {

// PageSetupBlock: kept for the whole run with its device handles; its
// flags hold the units of its last call.
struct PrinterPageSetup {
    PAGESETUPDLGA block{};
};

PrinterPageSetup& printer_page_setup()
{
    return toolkit_context().record<PrinterPageSetup>(ContextSlot::printer_page_setup);
}

template <std::size_t N>
void copy_name(std::array<char, N>& field, const std::string& name)
{
    field.fill('\0');
    std::memcpy(field.data(), name.data(), std::min(name.size(), N - 1));
}

void free_handles(PAGESETUPDLGA& block)
{
    if (block.hDevMode != nullptr) GlobalFree(block.hDevMode);
    if (block.hDevNames != nullptr) GlobalFree(block.hDevNames);
    block.hDevMode = block.hDevNames = nullptr;
}

// What the Windows printer driver reads of the confirmed choice.
void selection_store(const PAGESETUPDLGA& block)
{
    WindowsPrinterSettings& settings = windows_printer_settings();
    PrinterSelection& s = settings.selection;
    const DeviceNames names = page_printer_names(block.hDevNames);
    copy_name(s.driver, names.driver);
    copy_name(s.device, names.device);
    copy_name(s.port, names.port);
    if (auto* mode = static_cast<DEVMODEA*>(GlobalLock(block.hDevMode)); mode != nullptr) {
        s.paper_size = mode->dmPaperSize;
        s.paper_length = mode->dmPaperLength;
        s.paper_width = mode->dmPaperWidth;
        s.scale = mode->dmScale;
        s.default_source = mode->dmDefaultSource;
        s.print_quality = mode->dmPrintQuality;
        s.colour = mode->dmColor;
        s.duplex = mode->dmDuplex;
        s.y_resolution = mode->dmYResolution;
        s.truetype_option = mode->dmTTOption;
        s.collate = mode->dmCollate;
        s.media_type = static_cast<std::int32_t>(mode->dmMediaType);
        s.dither_type = static_cast<std::int32_t>(mode->dmDitherType);
        GlobalUnlock(block.hDevMode);
    }
    s.chosen = 1;
    settings.page_setup = {static_cast<int>(block.Flags), block.ptPaperSize.x, block.ptPaperSize.y};
}

// The printer's colours through an information context; nothing when it
// cannot be made.
void colour_count(const PAGESETUPDLGA& block, int& colours)
{
    const DeviceNames names = page_printer_names(block.hDevNames);
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(block.hDevMode));
    HDC info = CreateICA(names.driver.c_str(), names.device.c_str(), nullptr, mode);
    if (mode != nullptr) GlobalUnlock(block.hDevMode);
    if (info == nullptr) return;
    colours = GetDeviceCaps(info, NUMCOLORS);
    DeleteDC(info);
}

} // namespace

void cdlg_page_setup(int& page_width, int& page_height, int& printable_width, int& printable_height,
                     int& left, int& top, int& orientation, int& copies, int units, int& colours,
                     int& answer)
{
    answer = 0;
    HWND const active = window_tables().active_dialog;
    PrinterPageSetup& kept = printer_page_setup();
    PAGESETUPDLGA& block = kept.block;
    const int flag = units >= 2 ? page_flag_hundredths_mm : page_flag_thousandths;
    block.lStructSize = sizeof block;
    block.hwndOwner = window_tables().windows[0].frame;
    block.hInstance = module_instance();
    block.lpfnPageSetupHook = nullptr;
    block.lpfnPagePaintHook = nullptr;
    block.lpPageSetupTemplateName = nullptr;
    block.hPageSetupTemplate = nullptr;

    PageRecordValues values;
    if (windows_printer_settings().selection.chosen == 1 && block.hDevMode != nullptr) {
        // The system refuses its defaults while the block holds a printer:
        // the kept paper is carried into the new units instead.
        values = page_record_read(block);
        if (values.units_per_inch != page_units_per_inch(flag))
            page_record_convert_units(values, page_units_per_inch(flag));
    } else {
        free_handles(block);
        block.Flags = PSD_RETURNDEFAULT | static_cast<DWORD>(flag);
        if (cdlg_page_setup_system(block) == 0) return;
        values = page_record_read(block);
    }

    const bool landscape = orientation == 1;
    page_paper_turn(values.paper_width, values.paper_height, landscape);
    values.landscape = landscape;
    values.copies = copies;
    values.margins = {left, top, values.paper_width - printable_width - left,
                      values.paper_height - printable_height - top};
    page_record_write(block, values);
    block.Flags = static_cast<DWORD>(flag) | PSD_MARGINS;

    int confirmed = 0;
    cdlg_blocking_frame([&](HWND owner) {
        block.hwndOwner = owner;
        confirmed = cdlg_page_setup_select(block);
    });
    window_tables().active_dialog = active;
    if (confirmed == 0) return;

    const PageRecordValues chosen = page_record_read(block);
    page_width = chosen.paper_width;
    page_height = chosen.paper_height;
    printable_width = chosen.paper_width - chosen.margins.left - chosen.margins.right;
    printable_height = chosen.paper_height - chosen.margins.top - chosen.margins.bottom;
    left = chosen.margins.left;
    top = chosen.margins.top;
    orientation = chosen.landscape ? 1 : 0;
    copies = chosen.copies;
    selection_store(block);
    colour_count(block, colours);
    answer = 1;
}

} // namespace korv
