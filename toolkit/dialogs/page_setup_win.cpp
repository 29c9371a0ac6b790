// The page set-up entry, the printer set-up, and what the printer driver
// says of its papers and sources.
#include "dialogs/page_setup.h"

#include "korvanthide/startup.h"
#include "core/context.h"
#include "core/win_module.h"
#include "dialogs/common_dialogs_frame.h"

#include <winspool.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace korv {

namespace {

// A locked global memory block, unlocked when the view ends.
template <class T>
class GlobalView {
public:
    explicit GlobalView(HGLOBAL handle)
        : handle_(handle), data_(handle ? static_cast<T*>(GlobalLock(handle)) : nullptr)
    {
    }
    ~GlobalView()
    {
        if (data_ != nullptr) GlobalUnlock(handle_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    T* get() const { return data_; }
    T* operator->() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }
    std::size_t size() const { return data_ ? GlobalSize(handle_) : 0; }

private:
    HGLOBAL handle_;
    T* data_;
};

// The page set-up block of the dialog on the screen, while it is there.
PAGESETUPDLGA*& block_in_use()
{
    return toolkit_context().record<PAGESETUPDLGA*>(ContextSlot::page_setup_in_use);
}

// The printer set-up block is kept for the run, so that the dialog starts
// where the user left it.
PRINTDLGA& printer_setup_block()
{
    return toolkit_context().record<PRINTDLGA>(ContextSlot::printer_setup, [] {
        PRINTDLGA b{};
        b.lStructSize = sizeof(b);
        b.Flags = PD_PRINTSETUP;
        b.nFromPage = b.nToPage = 0xFFFF;
        b.nMinPage = 1;
        b.nMaxPage = 0xFFFF;
        return b;
    });
}

// A terminated text at an offset of a device-names block, bounded by it.
std::string names_text(const char* base, std::size_t size, WORD offset)
{
    if (offset >= size) return {};
    const char* text = base + offset;
    const std::size_t room = size - offset;
    const void* end = std::memchr(text, '\0', room);
    return std::string(text, end ? static_cast<const char*>(end) - text : room);
}

// The device and port of the block in use, and its device mode.
struct InUsePrinter {
    DeviceNames names;
    HGLOBAL device_mode = nullptr;
};
bool in_use_printer(InUsePrinter& printer)
{
    if (block_in_use() == nullptr || block_in_use()->hDevMode == nullptr || block_in_use()->hDevNames == nullptr)
        return false;
    printer.names = page_printer_names(block_in_use()->hDevNames);
    printer.device_mode = block_in_use()->hDevMode;
    return !printer.names.device.empty();
}

// DeviceCapabilitiesA for the printer in use: its answer (0 or above), with
// output into `out` when given.
int capability(const InUsePrinter& printer, WORD what, char* out)
{
    GlobalView<DEVMODEA> mode(printer.device_mode);
    const int n = static_cast<int>(DeviceCapabilitiesA(printer.names.device.c_str(), printer.names.port.c_str(),
                                                       what, out, mode.get()));
    return std::max(n, 0);
}

constexpr int paper_name_width = 64;
constexpr int source_name_width = 24;

} // namespace

PAGESETUPDLGA* page_setup_in_use() { return block_in_use(); }

DeviceNames page_printer_names(HGLOBAL device_names)
{
    GlobalView<DEVNAMES> names(device_names);
    if (!names || names.size() < sizeof(DEVNAMES)) return {};
    const char* base = reinterpret_cast<const char*>(names.get());
    const std::size_t size = names.size();
    return {names_text(base, size, names->wDriverOffset), names_text(base, size, names->wDeviceOffset),
            names_text(base, size, names->wOutputOffset)};
}

bool page_printer_present(const std::string& device)
{
    std::string name = device;
    if (name.empty()) {
        std::array<char, 512> entry{};
        GetProfileStringA("windows", "Device", "", entry.data(), static_cast<DWORD>(entry.size()));
        name = std::string(entry.data());
        name = name.substr(0, name.find(','));
    }
    if (name.empty()) return false;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name.data(), &printer, nullptr)) return false;
    ClosePrinter(printer);
    return true;
}

PageRecordValues page_record_read(const PAGESETUPDLGA& block)
{
    PageRecordValues r;
    r.units_per_inch = page_units_per_inch(static_cast<int>(block.Flags));
    r.paper_width = block.ptPaperSize.x;
    r.paper_height = block.ptPaperSize.y;
    r.margins = {block.rtMargin.left, block.rtMargin.top, block.rtMargin.right, block.rtMargin.bottom};
    GlobalView<DEVMODEA> mode(block.hDevMode);
    if (mode) {
        r.landscape = mode->dmOrientation == DMORIENT_LANDSCAPE;
        r.copies = mode->dmCopies;
    }
    return r;
}

void page_record_write(PAGESETUPDLGA& block, const PageRecordValues& r)
{
    block.Flags &= ~static_cast<DWORD>(page_flag_thousandths | page_flag_hundredths_mm);
    block.Flags |= static_cast<DWORD>(r.units_per_inch == 1000 ? page_flag_thousandths : page_flag_hundredths_mm);
    block.ptPaperSize = {r.paper_width, r.paper_height};
    block.rtMargin = {r.margins.left, r.margins.top, r.margins.right, r.margins.bottom};
    GlobalView<DEVMODEA> mode(block.hDevMode);
    if (mode) {
        mode->dmOrientation = static_cast<short>(r.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
        mode->dmCopies = static_cast<short>(r.copies);
        mode->dmFields |= DM_ORIENTATION | DM_COPIES;
    }
}

HDC page_printer_dc(const PAGESETUPDLGA& block)
{
    const DeviceNames names = page_printer_names(block.hDevNames);
    if (names.device.empty() || !page_printer_present(names.device)) return nullptr;
    GlobalView<DEVMODEA> mode(block.hDevMode);
    return CreateDCA(names.driver.c_str(), names.device.c_str(),
                     names.port.empty() ? nullptr : names.port.c_str(), mode.get());
}

PrinterMetrics page_printer_metrics(HDC printer)
{
    PrinterMetrics m;
    m.offset_x = GetDeviceCaps(printer, PHYSICALOFFSETX);
    m.offset_y = GetDeviceCaps(printer, PHYSICALOFFSETY);
    m.physical_width = GetDeviceCaps(printer, PHYSICALWIDTH);
    m.physical_height = GetDeviceCaps(printer, PHYSICALHEIGHT);
    m.printable_width = GetDeviceCaps(printer, HORZRES);
    m.printable_height = GetDeviceCaps(printer, VERTRES);
    m.pixels_x = GetDeviceCaps(printer, LOGPIXELSX);
    m.pixels_y = GetDeviceCaps(printer, LOGPIXELSY);
    return m;
}

int cdlg_page_setup_system(PAGESETUPDLGA& block)
{
    // The system dialog looks for the printer itself and fails badly on
    // one that is gone; ask first.
    const std::string device = page_printer_names(block.hDevNames).device;
    if (!page_printer_present(device)) return 0;
    return PageSetupDlgA(&block) ? 1 : 0;
}

int cdlg_page_setup_select(PAGESETUPDLGA& block)
{
    const int major = display_info().windows_major;
    const bool own_dialog = FindResourceA(module_instance(), MAKEINTRESOURCEA(page_setup_dialog_resource),
                                          MAKEINTRESOURCEA(5)) != nullptr;  // RT_DIALOG
    if ((major > 0 && major < 6) || !own_dialog) return cdlg_page_setup_system(block);

    // The toolkit's dialog asks the printer of the block for its papers.
    if (block.hDevMode == nullptr || block.hDevNames == nullptr) return 0;
    if (!page_printer_present(page_printer_names(block.hDevNames).device)) return 0;
    PageDialogValues values = page_dialog_values(page_record_read(block));
    PAGESETUPDLGA* const previous = block_in_use();
    block_in_use() = &block;
    const int answer = cdlg_page_setup_dialog(values);
    block_in_use() = previous;
    if (answer != 1) return 0;
    // Read again: the printer set-up may have replaced the device mode.
    PageRecordValues record = page_record_read(block);
    page_record_take(record, values);
    page_record_write(block, record);
    return 1;
}

void cdlg_printer_setup(int& orientation, int& copies, int& answer)
{
    answer = 0;
    InUsePrinter printer;
    if (!in_use_printer(printer) || !page_printer_present(printer.names.device)) return;
    PRINTDLGA& setup = printer_setup_block();
    setup.hDevMode = block_in_use()->hDevMode;
    setup.hDevNames = block_in_use()->hDevNames;
    {
        GlobalView<DEVMODEA> mode(setup.hDevMode);
        if (!mode) return;
        mode->dmOrientation = static_cast<short>(orientation + 1);
        mode->dmCopies = static_cast<short>(copies);
        mode->dmFields |= DM_ORIENTATION | DM_COPIES;
    }
    BOOL confirmed = FALSE;
    cdlg_blocking_frame([&](HWND owner) {
        setup.hwndOwner = owner;
        confirmed = PrintDlgA(&setup);
    });
    if (!confirmed) {
        // The dialog gives back the same handles; the block keeps owning them.
        setup.hDevMode = setup.hDevNames = nullptr;
        return;
    }
    block_in_use()->hDevMode = setup.hDevMode;
    block_in_use()->hDevNames = setup.hDevNames;
    setup.hDevMode = setup.hDevNames = nullptr;
    GlobalView<DEVMODEA> mode(block_in_use()->hDevMode);
    if (mode) {
        orientation = mode->dmOrientation - 1;
        copies = mode->dmCopies;
    }
    answer = 1;
}

void cdlg_printer_capability_count(int what, int& count)
{
    count = 0;
    InUsePrinter printer;
    if (!in_use_printer(printer)) return;
    if (what == 1) count = capability(printer, DC_PAPERNAMES, nullptr);
    if (what == 2) count = capability(printer, DC_BINNAMES, nullptr);
}

void cdlg_printer_capability_list(int what, std::span<char> list)
{
    InUsePrinter printer;
    if (!in_use_printer(printer) || (what != 1 && what != 2)) return;
    const WORD kind = what == 1 ? DC_PAPERNAMES : DC_BINNAMES;
    const std::size_t width = what == 1 ? paper_name_width : source_name_width;
    const int count = capability(printer, kind, nullptr);
    if (count <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(count) * width + width, '\0');
    capability(printer, kind, names.data());
    std::memcpy(list.data(), names.data(), std::min(list.size(), static_cast<std::size_t>(count) * width));
}

void cdlg_printer_capability_list(int what, std::span<std::int16_t> list)
{
    InUsePrinter printer;
    if (!in_use_printer(printer) || (what != 3 && what != 4)) return;
    const WORD kind = what == 3 ? DC_PAPERS : DC_BINS;
    const int count = capability(printer, kind, nullptr);
    if (count <= 0) return;
    std::vector<WORD> numbers(static_cast<std::size_t>(count) + 1, 0);
    capability(printer, kind, reinterpret_cast<char*>(numbers.data()));
    const std::size_t n = std::min(list.size(), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < n; ++i) list[i] = static_cast<std::int16_t>(numbers[i]);
}

void cdlg_devmode_get_paper(int& paper, int& source)
{
    if (block_in_use() == nullptr) return;
    GlobalView<DEVMODEA> mode(block_in_use()->hDevMode);
    if (!mode) return;
    paper = mode->dmPaperSize;
    source = mode->dmDefaultSource;
}

void cdlg_devmode_set_paper(int paper, int source)
{
    if (block_in_use() == nullptr) return;
    GlobalView<DEVMODEA> mode(block_in_use()->hDevMode);
    if (!mode) return;
    mode->dmPaperSize = static_cast<short>(paper);
    mode->dmDefaultSource = static_cast<short>(source);
    mode->dmFields |= DM_PAPERSIZE | DM_DEFAULTSOURCE;
    // A printer without sources gets none asked of it.
    if (source < 0) mode->dmFields &= ~static_cast<DWORD>(DM_DEFAULTSOURCE);
}

void cdlg_printer_paper_dimensions(int position, int /*count*/, int& width, int& height)
{
    width = height = 0;
    InUsePrinter printer;
    if (!in_use_printer(printer)) return;
    // Room for the driver's own count, whatever the caller believes it is.
    const int count = capability(printer, DC_PAPERSIZE, nullptr);
    if (position < 0 || position >= count) return;
    std::vector<POINT> sizes(static_cast<std::size_t>(count) + 1);
    capability(printer, DC_PAPERSIZE, reinterpret_cast<char*>(sizes.data()));
    width = sizes[static_cast<std::size_t>(position)].x;
    height = sizes[static_cast<std::size_t>(position)].y;
}

} // namespace korv
