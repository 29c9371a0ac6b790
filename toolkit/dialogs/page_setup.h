// Page set-up and printer set-up: the system's page set-up dialog or the
// toolkit's own (dialog resource 32010) behind one entry, the printer
// set-up behind its printer button, and what the printer driver says of
// its papers and paper sources. Callers keep page set-up blocks of their
// own; no routine here runs without a printer that can be opened.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>
#include <span>
#include <string>

#include "dialogs/page_setup_rules.h"

namespace korv {

inline constexpr int page_setup_dialog_resource = 32010;

// Runs the system's page set-up dialog with the block (Windows before
// version 6, or no dialog resource 32010 in the program), else the
// toolkit's own with the block's values, writing them back on OK.
// 1 confirmed, 0 cancelled or no printer.
int cdlg_page_setup_select(PAGESETUPDLGA& block);

// The system's page set-up call with its guard: 0 without touching the
// block when its printer (or, without device handles, the default
// printer) cannot be opened, or when the system refuses.
int cdlg_page_setup_system(PAGESETUPDLGA& block);

// The toolkit's page set-up dialog on one call's values: 1 OK, 0 Cancel,
// -1 when dialog 32010 cannot be loaded (the load's report stands).
int cdlg_page_setup_dialog(PageDialogValues& values);

// The printer set-up dialog for the page set-up block in use (valid while
// the toolkit's page set-up dialog runs).
void cdlg_printer_setup(int& orientation, int& copies, int& answer);

// What the printer of the block in use offers: 1 paper names, 2 source
// names; lists 3 and 4 are their numbers.
void cdlg_printer_capability_count(int what, int& count);
// The list the driver gives: 1 and 2 names as fixed fields (64 bytes per
// paper, 24 per source), 3 and 4 16-bit numbers. Only as many entries as
// the span holds room for are written.
void cdlg_printer_capability_list(int what, std::span<char> list);
void cdlg_printer_capability_list(int what, std::span<std::int16_t> list);
void cdlg_devmode_get_paper(int& paper, int& source);
void cdlg_devmode_set_paper(int paper, int source);
// Paper at a position of the driver's list, in tenths of a millimetre;
// 0 by 0 for a position outside it.
void cdlg_printer_paper_dimensions(int position, int count, int& width, int& height);

// The block the toolkit's dialog is editing, or nullptr.
PAGESETUPDLGA* page_setup_in_use();

// ---- shared with the record keepers ----

// A page set-up block's values, read through its device mode.
PageRecordValues page_record_read(const PAGESETUPDLGA& block);
// Writes paper, margins, units and the device mode's orientation and
// copies back into the block.
void page_record_write(PAGESETUPDLGA& block, const PageRecordValues& values);

// The names of a device-names block: empty when there is none.
struct DeviceNames {
    std::string driver, device, port;
};
DeviceNames page_printer_names(HGLOBAL device_names);
// Whether the printer named (empty: the profile's default) can be opened.
bool page_printer_present(const std::string& device);
// A device context for the block's printer, or nullptr.
HDC page_printer_dc(const PAGESETUPDLGA& block);
// What the printer context says of its page.
PrinterMetrics page_printer_metrics(HDC printer);

} // namespace korv
