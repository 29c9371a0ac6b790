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
#include "core/context.h"
#include "core/output/file_commit.h"
#include "graphics/gdi_geometry.h"
#include "hardcopy/drivers/drivers.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/win_gdi_back_end.h"
#include "hardcopy/control/printer_settings.h"

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
    return toolkit_context().record<HWND>(ContextSlot::clipboard_window, [] {
        return CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    });
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

GdiBackEnd& metafile_back_end()
{
    return toolkit_context().record<GdiBackEnd>(ContextSlot::metafile_gdi);
}

} // namespace

int hc_metafile_open(int& width, int& height, int type, int system_dashes, int geometric, int clipboard,
                     std::string_view file, const std::string& description, const std::string& placeable_header)
{
    const int error = metafile_back_end().open_metafile(width, height, type, system_dashes != 0, geometric != 0,
                                                        clipboard != 0, std::string(file), description,
                                                        placeable_header);
    if (error == 0 && type == 2)
        hc_metafile_dash_pattern();
    return error;
}

int hc_metafile_close() { return metafile_back_end().close_metafile(); }
void hc_metafile_colour(int red, int green, int blue) { metafile_back_end().colour(RGB(red, green, blue)); }
void hc_metafile_colour_invert(int& red, int& green, int& blue) { hc_printer_colour_invert(red, green, blue); }

void hc_metafile_line(int x1, int y1, int x2, int y2)
{
    hc_metafile_make_pen();
    metafile_back_end().line(x1, y1, x2, y2);
}

void hc_metafile_polyline(int count)
{
    hc_metafile_make_pen();
    metafile_back_end().polyline(hc_buffered_points(count));
}

void hc_metafile_polyline_reals(int first, int last)
{
    const DeviceParameters& p = device_parameters();
    const GraphicsState& g = graphics_state();
    const HardcopyState& hc = hardcopy_state();
    last = std::min({last, static_cast<int>(p.poly_x.size()) - 1, static_cast<int>(p.poly_y.size()) - 1});
    if (first < 0 || last < first)
        return;
    gdi_points_alloc(last - first + 1);
    for (int i = first; i <= last; ++i)
        gdi_point_put(static_cast<int>(p.poly_x[static_cast<std::size_t>(i)] * hc.scale_x),
                      static_cast<int>(hc.scale_y * (g.device_limit_y - p.poly_y[static_cast<std::size_t>(i)])),
                      i - first);
    hc_metafile_polyline(last - first + 1);
    gdi_points_free();
}

void hc_metafile_ellipse(int cx, int cy, int rx, int ry, int fill_style)
{
    if (fill_style < 3)
        hc_metafile_make_pen();
    metafile_back_end().ellipse(cx, cy, rx, ry, fill_style);
}

void hc_metafile_rectangle(int left, int top, int right, int bottom)
{
    metafile_back_end().rectangle(left, top, right, bottom);
}

void hc_metafile_pie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye)
{
    metafile_back_end().pie(cx, cy, rx, ry, xs, ys, xe, ye);
}

void hc_metafile_arc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int fill_style)
{
    hc_metafile_make_pen();
    metafile_back_end().arc(cx, cy, rx, ry, xs, ys, xe, ye, fill_style);
}

void hc_metafile_polygon(int count) { metafile_back_end().polygon(hc_buffered_points(count), false); }

void hc_metafile_gradient_triangles(const int* x, const int* y, const std::int32_t* colours, const int* triangles,
                                    int vertex_count, int triangle_count, int& failed)
{
    failed = metafile_back_end().gradient_triangles(x, y, colours, vertex_count, triangles, triangle_count);
}

void hc_metafile_image_pixel(int x, int y, std::int32_t colour) { metafile_back_end().image_pixel(x, y, colour); }
void hc_metafile_pixel(int x, int y) { metafile_back_end().pixel(x, y); }

void hc_metafile_font(int& width, int& height, int& ascent, int angle, int face, int style, std::string_view name)
{
    metafile_back_end().font(width, height, ascent, angle, face, style, name);
}

void hc_metafile_text(int x1, int y1, int x2, int y2, int alignment, int opaque, std::string_view text)
{
    metafile_back_end().text(x1, y1, x2, y2, alignment, opaque != 0, text);
}

void hc_metafile_text_extent(int& width, std::string_view text) { width = metafile_back_end().text_width(text); }
void hc_metafile_clip(int left, int top, int right, int bottom) { metafile_back_end().clip(left, top, right, bottom); }
void hc_metafile_line_style(int line_type) { metafile_back_end().line_style(line_type); }

void hc_metafile_line_width(int width)
{
    metafile_back_end().line_width(width);
    hc_metafile_dash_pattern();
}

void hc_metafile_end_cap(int cap) { metafile_back_end().end_cap(cap); }
void hc_metafile_line_join(int join) { metafile_back_end().line_join(join); }
void hc_metafile_make_pen() { metafile_back_end().make_pen(); }
void hc_metafile_dash_pattern() { metafile_back_end().dash_pattern(); }

namespace {

void put16(std::string& s, unsigned v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

// The metafile never outlines a polygon.
void metafile_polygon(int count, int) { hc_metafile_polygon(count); }

constexpr GdiBackEndRoutines metafile_routines = {
    hc_metafile_colour,  hc_metafile_colour_invert, hc_metafile_line,      hc_metafile_polyline,
    hc_metafile_ellipse, hc_metafile_rectangle,     hc_metafile_pie,       hc_metafile_arc,
    metafile_polygon,    hc_metafile_gradient_triangles, hc_metafile_image_pixel, hc_metafile_font,
    hc_metafile_text,    hc_metafile_text_extent,   hc_metafile_clip,      hc_metafile_line_style,
    hc_metafile_line_width, hc_metafile_end_cap,    hc_metafile_line_join,
};

class WindowsMetafileDriver : public GdiDriver {
public:
    WindowsMetafileDriver() : GdiDriver(metafile_routines) {}

private:
    bool enhanced_ = true;
    float units_per_tenth_ = 1;

    void select(DeviceParameters& p) override { hc_driver_select(p, hc_windows_metafile_defaults()); }
    void open(DeviceParameters& p) override;
    void close() override;
    // A metafile has one page.
    void end_page() override { hardcopy_state().page_drawn = 0; }
    void point(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void clip() override
    {
        if (enhanced_)
            GdiDriver::clip();
    }
    void text_width(DeviceParameters& p) override
    {
        if (enhanced_)
            GdiDriver::text_width(p);
    }
    void line_width() override;
    int polygon_limit() const override
    {
        return static_cast<int>(enhanced_ ? enhanced_points_limit : plain_points_limit);
    }
    bool baseline_offset() const override { return false; }
    int shading_level() const override { return enhanced_ ? GdiDriver::shading_level() : 1; }
    HDC image_context() const override { return hc_windows_metafile_context(); }
    std::string placeable_header() const;
};

std::string WindowsMetafileDriver::placeable_header() const
{
    const unsigned right = static_cast<unsigned>(hc_option(option_page_width) * 1000 / 72);
    const unsigned bottom = static_cast<unsigned>(hc_option(option_page_height) * 1000 / 72);
    std::string header = "\xD7\xCD\xC6\x9A";
    put16(header, 0);
    put16(header, 0);
    put16(header, 0);
    put16(header, right);
    put16(header, bottom);
    put16(header, 1000);
    header.append(4, '\0');
    put16(header, (0x54F9u ^ right ^ bottom) & 0xFFFF);
    return header;
}

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
        std::string title(text_trimmed(text_view(hc.title)));
        if (p.px1 == 0 || title.empty())
            title = "Korvanthide graphic";
        std::string description = "ZOQ metafile driver";
        description += '\0';
        description += title;
        description += '\0';
        description += '\0';
        const int error = hc_metafile_open(width, height, type, hc_option(option_metafile_system_dashes),
                                           hc_option(option_metafile_geometric_pens), p.count != 0 ? 1 : 0,
                                           text_trimmed(p.image_file_view()), description, placeable_header());
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
        back_colour(colour_);
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

void WindowsMetafileDriver::close()
{
    if (const int error = hc_metafile_close(); error != 0)
        err_report_current(error);
}

void WindowsMetafileDriver::point(DeviceParameters& p)
{
    hc_page_drawn();
    const POINT a = at(p.rx1, p.ry1);
    hc_metafile_pixel(a.x, a.y);
}

void WindowsMetafileDriver::polyline(DeviceParameters& p)
{
    const int n = std::max(0, std::min({p.count, static_cast<int>(p.poly_x.size()), static_cast<int>(p.poly_y.size())}));
    if (enhanced_ || n <= static_cast<int>(plain_points_limit)) {
        GdiDriver::polyline(p);
        return;
    }
    hc_page_drawn();
    // Pieces of at most the limit, each starting where the last ended.
    const int piece = static_cast<int>(plain_points_limit);
    for (int first = 0; first + 1 < n; first += piece - 1)
        hc_metafile_polyline_reals(first, std::min(n - 1, first + piece - 1));
}

void WindowsMetafileDriver::line_width()
{
    const int width = hc_option(option_line_width);
    hc_metafile_line_width(enhanced_ ? static_cast<int>(static_cast<float>(width) * units_per_tenth_) : width);
}

WindowsMetafileDriver& metafile_driver()
{
    return toolkit_context().record<WindowsMetafileDriver>(ContextSlot::windows_metafile_driver);
}

} // namespace

// Driver 11: the same operations as the printer's; any other is ignored.
void hc_windows_metafile(int& op) { metafile_driver().operate(op, device_parameters()); }

HDC hc_windows_metafile_context() { return metafile_back_end().dc(); }

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
                        const SIZE e = metafile_back_end().extent();
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
