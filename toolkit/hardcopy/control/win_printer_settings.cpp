// The default Windows printer: its names from the profile, its default page
// through an information context, and printer device contexts whose device
// mode carries what the program and the page set-up chose.
#include "hardcopy/control/printer_settings.h"
#include "hardcopy/control/win_printer_dc.h"

#include "korvanthide/printer.h"
#include "korvanthide/window.h"

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <type_traits>
#include <xmmintrin.h>

namespace korv {

namespace {

// Printer drivers may change the floating-point modes; the graphics layer
// relies on its own, so the x87 control word and the SSE control register
// are put back whatever the driver did.
class FloatingPointModes {
public:
    FloatingPointModes() : csr_(_mm_getcsr()) { __asm__ volatile("fnstcw %0" : "=m"(x87_)); }
    ~FloatingPointModes()
    {
        __asm__ volatile("fldcw %0" : : "m"(x87_));
        _mm_setcsr(csr_);
    }
    FloatingPointModes(const FloatingPointModes&) = delete;
    FloatingPointModes& operator=(const FloatingPointModes&) = delete;

private:
    unsigned short x87_ = 0;
    unsigned int csr_;
};

// The system's code for the failure that just happened; a call that failed
// without setting one still gives a failure, never "no error".
int last_error_or(DWORD fallback)
{
    const DWORD code = GetLastError();
    return static_cast<int>(code != 0 ? code : fallback);
}

class PrinterHandle {
public:
    explicit PrinterHandle(const char* device)
    {
        HANDLE handle = nullptr;
        if (OpenPrinterA(const_cast<char*>(device), &handle, nullptr))
            handle_ = handle;
    }
    ~PrinterHandle()
    {
        if (handle_)
            ClosePrinter(handle_);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// Moveable global memory, locked while it lives.
class LockedGlobal {
public:
    explicit LockedGlobal(std::size_t size)
        : memory_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)),
          data_(memory_ ? GlobalLock(memory_) : nullptr)
    {
    }
    ~LockedGlobal()
    {
        if (data_)
            GlobalUnlock(memory_);
        if (memory_)
            GlobalFree(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// The window that owns the driver's dialogs and messages: the root window's
// client area (none before the root window opens).
HWND printer_parent_window()
{
    return window_tables().windows[0].client;
}

} // namespace

void hc_printer_defaults(int reread, int& larger, int& smaller, int& width, int& height,
                         int& x_offset, int& y_offset, int& orientation, int& copies,
                         int& colours, int& error)
{
    larger = smaller = width = height = x_offset = y_offset = orientation = copies = colours = 0;
    error = 0;
    FloatingPointModes saved_modes;
    WindowsPrinterSettings& settings = windows_printer_settings();

    if (reread == 1 || settings.printer_read == 0) {
        char value[552] = {};
        SetLastError(0);
        const DWORD length = GetProfileStringA("windows", "Device", "", value, sizeof value);
        PrinterNames names;
        if (length == 0) {
            error = last_error_or(ERROR_INVALID_PRINTER_NAME);
            return;
        }
        if (!parse_device_profile(std::string_view(value, length), names)) {
            error = ERROR_INVALID_PRINTER_NAME;
            return;
        }
        if (!store_printer_names(names, settings.selection)) {
            error = ERROR_INSUFFICIENT_BUFFER;
            return;
        }
        settings.printer_read = 1;
        settings.selection.chosen = 0;
    }

    SetLastError(0);
    // An information context is deleted like a device context.
    const OwnedDc ic(
        CreateICA(settings.selection.driver.data(), settings.selection.device.data(), nullptr, nullptr));
    if (!ic) {
        error = last_error_or(ERROR_INVALID_PRINTER_NAME);
        return;
    }
    int page_width = 0, page_height = 0;
    if (settings.selection.chosen != 0) {
        page_width = paper_side_points(settings.page_setup.paper_width, settings.page_setup.flags);
        page_height = paper_side_points(settings.page_setup.paper_height, settings.page_setup.flags);
    } else {
        const int dpi_x = GetDeviceCaps(ic.get(), LOGPIXELSX);
        const int dpi_y = GetDeviceCaps(ic.get(), LOGPIXELSY);
        if (dpi_x <= 0 || dpi_y <= 0) {
            error = ERROR_INVALID_PARAMETER;
            return;
        }
        page_width = GetDeviceCaps(ic.get(), PHYSICALWIDTH) * 72 / dpi_x;
        page_height = GetDeviceCaps(ic.get(), PHYSICALHEIGHT) * 72 / dpi_y;
    }
    // NUMCOLORS is -1 on printers of more than 8 bits a pixel; their depth
    // then tells a black-and-white printer from a colour one.
    int printer_colours = GetDeviceCaps(ic.get(), NUMCOLORS);
    if (printer_colours < 0)
        printer_colours = GetDeviceCaps(ic.get(), BITSPIXEL) * GetDeviceCaps(ic.get(), PLANES) == 1 ? 2 : 256;
    const PrinterDefaults page = printer_page_defaults(page_width, page_height, printer_colours);
    larger = page.larger;
    smaller = page.smaller;
    width = page.width;
    height = page.height;
    x_offset = page.x_offset;
    y_offset = page.y_offset;
    orientation = page.orientation;
    copies = page.copies;
    colours = page.colours;
}

OwnedDc hc_printer_dc(int landscape, int copies)
{
    const PrinterSelection& chosen = windows_printer_settings().selection;
    PrinterHandle printer(chosen.device.data());
    if (!printer.get())
        return {};
    char* device = const_cast<char*>(chosen.device.data());
    const LONG size = DocumentPropertiesA(printer_parent_window(), printer.get(), device, nullptr,
                                          nullptr, 0);
    if (size < static_cast<LONG>(offsetof(DEVMODEA, dmFields) + sizeof(DWORD)))
        return {};
    LockedGlobal memory(static_cast<std::size_t>(size));
    if (!memory.data())
        return {};
    auto* mode = static_cast<DEVMODEA*>(memory.data());
    if (DocumentPropertiesA(printer_parent_window(), printer.get(), device, mode, nullptr,
                            DM_OUT_BUFFER) != IDOK)
        return {};
    if (mode->dmSize + static_cast<std::size_t>(mode->dmDriverExtra) > static_cast<std::size_t>(size))
        return {};

    const DWORD supported = mode->dmFields;
    mode->dmFields = 0;
    // Sets a field that the driver supports and that lies inside the
    // device mode it filled in.
    const auto* base = reinterpret_cast<const char*>(mode);
    auto set = [&](DWORD flag, auto& field, auto value) {
        const std::size_t end =
            static_cast<std::size_t>(reinterpret_cast<const char*>(&field) - base) + sizeof field;
        if ((supported & flag) != 0 && mode->dmSize >= end) {
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
            mode->dmFields |= flag;
        }
    };
    set(DM_ORIENTATION, mode->dmOrientation, landscape != 0 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
    set(DM_COPIES, mode->dmCopies, copies);
    if (chosen.chosen != 0) {
        set(DM_PAPERSIZE, mode->dmPaperSize, chosen.paper_size);
        set(DM_PAPERLENGTH, mode->dmPaperLength, chosen.paper_length);
        set(DM_PAPERWIDTH, mode->dmPaperWidth, chosen.paper_width);
        set(DM_SCALE, mode->dmScale, chosen.scale);
        set(DM_DEFAULTSOURCE, mode->dmDefaultSource, chosen.default_source);
        set(DM_PRINTQUALITY, mode->dmPrintQuality, chosen.print_quality);
        set(DM_COLOR, mode->dmColor, chosen.colour);
        set(DM_DUPLEX, mode->dmDuplex, chosen.duplex);
        set(DM_YRESOLUTION, mode->dmYResolution, chosen.y_resolution);
        set(DM_TTOPTION, mode->dmTTOption, chosen.truetype_option);
        set(DM_COLLATE, mode->dmCollate, chosen.collate);
        set(DM_MEDIATYPE, mode->dmMediaType, chosen.media_type);
        set(DM_DITHERTYPE, mode->dmDitherType, chosen.dither_type);
    }
    if (mode->dmFields != 0 &&
        DocumentPropertiesA(printer_parent_window(), printer.get(), device, mode, mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
        return {};
    return OwnedDc(CreateDCA(chosen.driver.data(), chosen.device.data(), chosen.port.data(), mode));
}

// Start-up's dump defaults need the printer, so the whole routine lives on
// the Windows side; what it does with the answer is platform-free.
void hc_hardcopy_defaults_init(int device)
{
    PrinterDefaults printer;
    if (device != 2)
        hc_printer_defaults(windows_printer_settings().reread_request, printer.larger,
                            printer.smaller, printer.width, printer.height, printer.x_offset,
                            printer.y_offset, printer.orientation, printer.copies,
                            printer.colours, printer.error);
    hc_hardcopy_defaults_apply(device, printer);
}

} // namespace korv
