// Driver 11: the graphics layer's output recorded as a Windows metafile:
// plain, placeable (a plain one behind a 22-byte header) or enhanced, to a
// file or, without a file name, to the clipboard.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/output/file_commit.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/win_gdi_back_end.h"

namespace korv {

namespace {

constexpr int clipboard_refused = 1094;
// Plain metafiles count in signed 16-bit words: pages in tenths of a point
// and placeable frames in thousandths of an inch must fit.
constexpr int plain_page_limit = 3276;
constexpr int placeable_page_limit = 2359;
// A plain metafile counts the points of a polyline or polygon in a signed
// 16-bit word: longer polylines go in pieces of this many points, and
// longer polygons are cut (the system's recorder fails on more). An
// enhanced metafile takes up to 65535.
constexpr std::size_t plain_points_limit = 32767;
constexpr std::size_t enhanced_points_limit = 65535;

// The window the clipboard is opened with: the root window when there is
// one, else a hidden window of our own (with no window at all, Windows
// takes the data only from a window that owns the clipboard).
HWND clipboard_window()
{
    if (HWND root = window_tables().windows[0].frame; root != nullptr && IsWindow(root))
        return root;
    static HWND own = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return own;
}

} // namespace

int GdiBackEnd::open_metafile(int& width, int& height, int type, bool system_dashes, bool geometric, bool clipboard,
                              const std::string& file, const std::string& description, const std::string& placeable_header)
{
    clipboard_ = clipboard;
    metafile_type_ = type;
    frame_width_ = width * 254 / 72;
    frame_height_ = height * 254 / 72;
    origin_x_ = origin_y_ = 0;
    page_pending_ = false;
    placeable_file_.clear();
    if (type == 2) {
        target_ = Target::enhanced_metafile;
        const bool printer = windows_printer_settings().printer_read != 0;
        const PrinterSelection& chosen = windows_printer_settings().selection;
        HDC reference = printer ? CreateICA(chosen.driver.data(), chosen.device.data(), nullptr, nullptr) : nullptr;
        const bool screen = reference == nullptr;
        if (screen)
            reference = GetDC(nullptr);
        dpi_ = std::max(1, GetDeviceCaps(reference, LOGPIXELSX));
        const auto pixels = [reference](int tenths, int resolution, int size) {
            return static_cast<int>(static_cast<double>(tenths) * GetDeviceCaps(reference, resolution) * 25.4 /
                                    (std::max(1, GetDeviceCaps(reference, size)) * 720.0));
        };
        width = pixels(width, HORZRES, HORZSIZE);
        height = pixels(height, VERTRES, VERTSIZE);
        const RECT frame{0, 0, frame_width_, frame_height_};
        dc_ = CreateEnhMetaFileA(reference, clipboard ? nullptr : file.c_str(), &frame, description.c_str());
        if (screen)
            ReleaseDC(nullptr, reference);
        else
            DeleteDC(reference);
        system_dashes_ = system_dashes;
        geometric_ = geometric;
        dash_pattern();
    } else {
        target_ = Target::plain_metafile;
        if (type == 1 && !clipboard) {
            // The placeable file is written whole at the close; that it can
            // be made is learnt now.
            std::string probe;
            if (!platform_file_commit_ops().make_temporary(directory_of(file), probe)) {
                const DWORD code = GetLastError();
                return code != 0 ? static_cast<int>(code) : ERROR_ACCESS_DENIED;
            }
            platform_file_commit_ops().remove(probe);
            placeable_file_ = file;
            placeable_header_ = placeable_header;
        }
        dc_ = CreateMetaFileA(type == 0 && !clipboard ? file.c_str() : nullptr);
        if (dc_ != nullptr)
            SetMapMode(dc_, MM_ANISOTROPIC);
    }
    if (dc_ == nullptr) {
        const DWORD code = GetLastError();
        return code != 0 ? static_cast<int>(code) : ERROR_CANNOT_MAKE;
    }
    // Kept here too: a plain metafile's context keeps no state to ask.
    extent_ = {width + 1, height + 1};
    SetWindowExtEx(dc_, extent_.cx, extent_.cy, nullptr);
    clip_ = nullptr;
    SetBkMode(dc_, TRANSPARENT);
    forget_pen();
    return 0;
}

int GdiBackEnd::close_metafile()
{
    if (dc_ == nullptr)
        return 0;
    release_font_and_clip();
    HENHMETAFILE enhanced = nullptr;
    HMETAFILE plain = nullptr;
    if (target_ == Target::enhanced_metafile)
        enhanced = CloseEnhMetaFile(dc_);
    else
        plain = CloseMetaFile(dc_);
    dc_ = nullptr;
    int error = 0;
    bool handed_over = false;
    if (clipboard_) {
        if (!OpenClipboard(clipboard_window())) {
            error = clipboard_refused;
        } else {
            EmptyClipboard();
            if (enhanced != nullptr) {
                handed_over = SetClipboardData(CF_ENHMETAFILE, enhanced) != nullptr;
            } else if (plain != nullptr) {
                HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
                if (auto* picture = memory != nullptr ? static_cast<METAFILEPICT*>(GlobalLock(memory)) : nullptr) {
                    picture->mm = MM_ANISOTROPIC;
                    picture->xExt = frame_width_;
                    picture->yExt = frame_height_;
                    picture->hMF = CopyMetaFileA(plain, nullptr);
                    GlobalUnlock(memory);
                    if (SetClipboardData(CF_METAFILEPICT, memory) == nullptr)
                        GlobalFree(memory);
                }
            }
            CloseClipboard();
            if (enhanced != nullptr && !handed_over)
                error = clipboard_refused;
        }
    } else if (!placeable_file_.empty() && plain != nullptr) {
        const UINT size = GetMetaFileBitsEx(plain, 0, nullptr);
        std::string bytes = placeable_header_;
        bytes.resize(placeable_header_.size() + size);
        GetMetaFileBitsEx(plain, size, bytes.data() + placeable_header_.size());
        if (!commit_file(placeable_file_, bytes).ok())
            error = err::file_read_write;
    }
    if (enhanced != nullptr && !handed_over)
        DeleteEnhMetaFile(enhanced);
    if (plain != nullptr)
        DeleteMetaFile(plain);
    metafile_type_ = 0;
    return error;
}

namespace {

void put16(std::string& s, unsigned v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

class WindowsMetafileDriver : public GdiDriver {
public:
    void select(DeviceParameters& p) override { hc_driver_select(p, hc_windows_metafile_defaults()); }
    void open(DeviceParameters& p) override;
    void close(DeviceParameters&) override;
    void end_page(DeviceParameters&) override { hardcopy_state().page_drawn = 0; }
    void point(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void clip(DeviceParameters& p) override
    {
        if (enhanced_)
            GdiDriver::clip(p);
    }
    void text_width(DeviceParameters& p) override
    {
        if (enhanced_)
            GdiDriver::text_width(p);
    }
    void line_width(DeviceParameters&) override;

private:
    bool enhanced_ = true;
    float units_per_tenth_ = 1;

    bool outlined_polygons() const override { return false; }
    std::size_t polygon_limit() const override { return enhanced_ ? enhanced_points_limit : plain_points_limit; }
    bool baseline_offset() const override { return false; }
    int shading_level() const override { return enhanced_ ? GdiDriver::shading_level() : 1; }
};

void WindowsMetafileDriver::open(DeviceParameters& p)
{
    GraphicsState& g = graphics_state();
    HardcopyState& hc = hardcopy_state();
    const int page_width = hc_option(option_page_width), page_height = hc_option(option_page_height);
    int width = page_width * 10, height = page_height * 10;
    if (p.phase > 0) {
        const int type = hc_option(option_metafile_type);
        enhanced_ = type == 2;
        const int limit = type == 1 ? placeable_page_limit : plain_page_limit;
        if (!enhanced_ && (page_width > limit || page_height > limit)) {
            err_report_current(err::page_too_large);
            g.hardcopy_active = 0;
            return;
        }
        const unsigned right = static_cast<unsigned>(page_width * 1000 / 72);
        const unsigned bottom = static_cast<unsigned>(page_height * 1000 / 72);
        std::string header = "\xD7\xCD\xC6\x9A";
        put16(header, 0);
        put16(header, 0);
        put16(header, 0);
        put16(header, right);
        put16(header, bottom);
        put16(header, 1000);
        header.append(4, '\0');
        put16(header, (0x54F9u ^ right ^ bottom) & 0xFFFF);
        std::string title(text_trimmed(text_view(hc.title)));
        if (p.px1 == 0 || title.empty())
            title = "Korvanthide graphic";
        std::string description = "ZOQ metafile driver";
        description += '\0';
        description += title;
        description += '\0';
        description += '\0';
        const std::string file(text_trimmed(p.image_file_view()));
        const int error = back_.open_metafile(width, height, type, hc_option(option_metafile_system_dashes) != 0,
                                              hc_option(option_metafile_geometric_pens) != 0, p.count != 0, file,
                                              description, header);
        if (error != 0) {
            ErrorState& e = error_state();
            e.detail_category = 2;
            e.file_code = error;
            err_report_current(err::file_open);
            g.hardcopy_active = 0;
            return;
        }
        if (enhanced_ && page_width > 0)
            units_per_tenth_ = static_cast<float>(width) / static_cast<float>(page_width * 10);
        colour_ = previous_ = RGB(255, 255, 255);
        back_.colour(colour_);
    } else if (enhanced_) {
        width = static_cast<int>(static_cast<float>(width) * units_per_tenth_);
        height = static_cast<int>(static_cast<float>(height) * units_per_tenth_);
    }
    if (g.device_limit_x > 0 && g.device_limit_y > 0) {
        sx_ = static_cast<float>(width) / g.device_limit_x;
        sy_ = static_cast<float>(height) / g.device_limit_y;
    }
    hc.scale_x = sx_;
    hc.scale_y = sy_;
}

void WindowsMetafileDriver::close(DeviceParameters&)
{
    if (const int error = back_.close_metafile(); error != 0)
        err_report_current(error);
}

void WindowsMetafileDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    const POINT a = at(p.rx1, p.ry1);
    back_.pixel(a.x, a.y);
}

void WindowsMetafileDriver::polyline(DeviceParameters& p)
{
    const std::size_t n = static_cast<std::size_t>(
        std::max(0, std::min({p.count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())})));
    if (enhanced_ || n <= plain_points_limit) {
        GdiDriver::polyline(p);
        return;
    }
    hc_page_drawn();
    // Pieces of at most the limit, each starting where the last ended; the
    // points truncated, not rounded.
    for (std::size_t first = 0; first + 1 < n; first += plain_points_limit - 1) {
        const std::size_t last = std::min(n - 1, first + plain_points_limit - 1);
        std::vector<POINT> piece;
        for (std::size_t i = first; i <= last; ++i)
            piece.push_back({static_cast<LONG>(p.poly_x[i] * sx_),
                             static_cast<LONG>(sy_ * (graphics_state().device_limit_y - p.poly_y[i]))});
        back_.polyline(piece);
    }
}

void WindowsMetafileDriver::line_width(DeviceParameters&)
{
    const int width = hc_option(option_line_width);
    back_.line_width(enhanced_ ? static_cast<int>(static_cast<float>(width) * units_per_tenth_) : width);
}

} // namespace

Device& hc_windows_metafile_driver()
{
    static WindowsMetafileDriver driver;
    return driver;
}

HDC hc_windows_metafile_context()
{
    return static_cast<WindowsMetafileDriver&>(hc_windows_metafile_driver()).back_end().dc();
}

SIZE GdiBackEnd::extent() const { return extent_; }

namespace {

// Turns the context by the rotation and moves it by the offsets while a
// metafile plays, on the NT platform, where world transforms exist.
class PlayTransform {
public:
    PlayTransform(HDC dc, int rotation, int x_offset, int y_offset) : dc_(dc)
    {
        if (display_info().windows_nt == 0)
            return;
        previous_mode_ = SetGraphicsMode(dc, GM_ADVANCED);
        XFORM x{1, 0, 0, 1, static_cast<FLOAT>(x_offset), static_cast<FLOAT>(y_offset)};
        switch (rotation) {
        case 90: x.eM11 = 0, x.eM12 = -1, x.eM21 = 1, x.eM22 = 0; break;
        case 180: x.eM11 = -1, x.eM12 = 0, x.eM21 = 0, x.eM22 = -1; break;
        case 270: x.eM11 = 0, x.eM12 = 1, x.eM21 = -1, x.eM22 = 0; break;
        default: break;
        }
        SetWorldTransform(dc, &x);
        turned_ = true;
    }
    ~PlayTransform()
    {
        if (!turned_)
            return;
        ModifyWorldTransform(dc_, nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc_, previous_mode_);
    }
    PlayTransform(const PlayTransform&) = delete;
    PlayTransform& operator=(const PlayTransform&) = delete;

private:
    HDC dc_;
    int previous_mode_ = GM_COMPATIBLE;
    bool turned_ = false;
};

std::string file_bytes(const std::string& name, bool& found)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    found = file != INVALID_HANDLE_VALUE;
    std::string bytes;
    if (!found)
        return bytes;
    // Metafiles beyond this size are not read: no picture of the toolkit
    // comes near it.
    constexpr DWORD size_limit = 1u << 28;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size <= size_limit) {
        bytes.resize(size);
        DWORD got = 0;
        if (size > 0 && (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size))
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

} // namespace

void hc_metafile_play(int type, int left, int top, int right, int bottom, int device, int rotation, int x_offset,
                      int y_offset, int& error, std::string_view name)
{
    error = 0;
    HDC dc = device == 10 ? hc_windows_printer_context()
             : device == 11 ? hc_windows_metafile_context()
                            : window_tables().drawing_dc;
    if (dc == nullptr) {
        error = err::file_open;
        return;
    }
    const bool screen = device != 10 && device != 11;
    if (screen && window_tables().clip_region != nullptr)
        SelectClipRgn(dc, window_tables().clip_region);
    {
        PlayTransform turn(dc, rotation, x_offset, y_offset);
        const RECT box{left, top, right, bottom};
        if (name.size() == 1) {
            if (!OpenClipboard(clipboard_window())) {
                error = clipboard_refused;
            } else {
                HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
                if (emf == nullptr)
                    error = clipboard_refused + 1;
                else
                    PlayEnhMetaFile(dc, emf, &box);
                CloseClipboard();
            }
        } else {
            bool found = false;
            std::string bytes = file_bytes(std::string(name), found);
            // A placeable file's header is skipped; a file shorter than
            // the header holds no metafile at all.
            const std::size_t skip = type == 1 ? 22 : 0;
            if (!found) {
                error = err::file_open;
            } else if (bytes.size() <= skip) {
                error = err::file_read_write;
            } else if (type == 2) {
                HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                                      reinterpret_cast<const BYTE*>(bytes.data()));
                if (emf == nullptr) {
                    error = err::file_read_write;
                } else {
                    PlayEnhMetaFile(dc, emf, &box);
                    DeleteEnhMetaFile(emf);
                }
            } else {
                HMETAFILE wmf = SetMetaFileBitsEx(static_cast<UINT>(bytes.size() - skip),
                                                  reinterpret_cast<const BYTE*>(bytes.data() + skip));
                if (wmf == nullptr) {
                    error = err::file_read_write;
                } else {
                    const int saved = SaveDC(dc);
                    SetMapMode(dc, MM_ANISOTROPIC);
                    if (device == 11 && hc_option(option_metafile_type) != 2) {
                        // Into a plain metafile being recorded: it has no
                        // device units of its own, so its window moves and
                        // its viewport is scaled from its own extents.
                        const SIZE e = static_cast<WindowsMetafileDriver&>(hc_windows_metafile_driver()).back_end().extent();
                        const int w = std::max(1, right - left), h = std::max(1, bottom - top);
                        SetWindowOrgEx(dc, -(left * e.cx / w), -(top * e.cy / h), nullptr);
                        ScaleViewportExtEx(dc, right - left + 1, std::max<LONG>(1, e.cx), bottom - top + 1,
                                           std::max<LONG>(1, e.cy), nullptr);
                    } else {
                        // The printer's rectangle is on the page; its context
                        // counts from the printable area.
                        const POINT origin = device == 10 ? hc_windows_printer_origin() : POINT{0, 0};
                        SetViewportOrgEx(dc, left - origin.x, top - origin.y, nullptr);
                        SetViewportExtEx(dc, right - left + 1, bottom - top + 1, nullptr);
                    }
                    PlayMetaFile(dc, wmf);
                    RestoreDC(dc, saved);
                    DeleteMetaFile(wmf);
                }
            }
        }
    }
    if (screen)
        SelectClipRgn(dc, nullptr);
}

} // namespace korv
