// Enhanced metafiles of the metafile slots.
#include "graphics/metafile_win.h"

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/services/hardcopy.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "graphics/gdi_handles.h"
#include "graphics/gdi_primitives.h"
#include "graphics/metafile_slots.h"

namespace korv {
namespace {

struct Entry {
    HDC context = nullptr;          // recording context, or after a load a screen context
    HENHMETAFILE handle = nullptr;  // the closed metafile
    bool screen_context = false;    // context is GetDC(nullptr) of a loaded metafile
};

struct BackEnd {
    std::array<Entry, metafile_slot_count> entries{};
    int reference_resolution = 0;
    HDC current = nullptr;
};

BackEnd& back_end()
{
    return toolkit_context().record<BackEnd>(ContextSlot::metafile_back_end);
}

Entry* entry(int index)
{
    return index >= 0 && index < metafile_slot_count ? &back_end().entries[static_cast<std::size_t>(index)] : nullptr;
}

// A recording entry is closed before its metafile is used.
void close_recording(Entry& e)
{
    if (e.context && !e.handle) {
        if (back_end().current == e.context) {
            back_end().current = nullptr;
            if (graphics_state().target_kind == target_metafile)
                IGrSelect(target_window);
        }
        e.handle = CloseEnhMetaFile(e.context);
        e.context = nullptr;
    }
}

void empty(Entry& e)
{
    close_recording(e);
    if (e.handle)
        DeleteEnhMetaFile(e.handle);
    if (e.screen_context && e.context)
        ReleaseDC(nullptr, e.context);
    e = Entry{};
}

// The reference device: a context of the selected printer when the
// hardcopy side can make one, else the screen.
class Reference {
public:
    // An information context on the default printer once it is known,
    // else the screen.
    Reference()
    {
        printer_ = OwnedDc(reinterpret_cast<HDC>(hardcopy_services().printer_information_context()));
        if (!printer_)
            screen_ = WindowDc(nullptr);
    }
    HDC get() const { return printer_ ? printer_.get() : screen_.get(); }

private:
    OwnedDc printer_;
    WindowDc screen_;
};

} // namespace

MetafileReference emf_create(int index, int width_points, int height_points)
{
    MetafileReference out;
    Entry* e = entry(index);
    if (!e)
        return out;
    empty(*e);
    const Reference reference;
    out.horizontal_pixels = GetDeviceCaps(reference.get(), HORZRES);
    out.vertical_pixels = GetDeviceCaps(reference.get(), VERTRES);
    out.horizontal_mm = GetDeviceCaps(reference.get(), HORZSIZE);
    out.vertical_mm = GetDeviceCaps(reference.get(), VERTSIZE);
    // The frame in hundredths of a millimetre.
    const RECT frame{0, 0, static_cast<LONG>(static_cast<long long>(width_points) * 2540 / 72),
                     static_cast<LONG>(static_cast<long long>(height_points) * 2540 / 72)};
    e->context = CreateEnhMetaFileA(reference.get(), nullptr, &frame, nullptr);
    back_end().reference_resolution = GetDeviceCaps(reference.get(), LOGPIXELSX);
    return out;
}

void emf_delete(int index)
{
    if (Entry* e = entry(index))
        empty(*e);
}

int emf_load_file(int index, long long size, int& system_code, std::string_view path)
{
    system_code = 0;
    Entry* e = entry(index);
    if (!e)
        return 1;
    empty(*e);
    HANDLE file = CreateFileA(std::string(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        system_code = static_cast<int>(GetLastError());
        return 1;
    }
    // The caller's size: more than the file holds, or none, is a short read.
    const DWORD file_size = GetFileSize(file, nullptr);
    std::vector<BYTE> bytes;
    DWORD read = 0;
    bool whole = size > 0 && static_cast<unsigned long long>(size) <= file_size;
    if (whole) {
        bytes.resize(static_cast<std::size_t>(size));
        whole = ReadFile(file, bytes.data(), static_cast<DWORD>(size), &read, nullptr) && read == size;
    }
    system_code = whole ? 0 : static_cast<int>(GetLastError());
    CloseHandle(file);
    if (!whole)
        return 2;
    e->handle = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!e->handle) {
        system_code = static_cast<int>(GetLastError());
        return 2;
    }
    e->context = GetDC(nullptr);
    e->screen_context = true;
    return 0;
}

void emf_play(int index, int left, int top, int right, int bottom)
{
    Entry* e = entry(index);
    HDC dc = window_tables().drawing_dc;
    if (!e || !dc)
        return;
    close_recording(*e);
    if (!e->handle)
        return;
    HRGN clip = window_tables().clip_region;
    if (clip)
        SelectClipRgn(dc, clip);
    const RECT r{left, top, right, bottom};
    PlayEnhMetaFile(dc, e->handle, &r);
    SelectClipRgn(dc, nullptr);
}

int emf_copy_to_file(int index, int& system_code, std::string_view path)
{
    system_code = 0;
    Entry* e = entry(index);
    if (!e)
        return 1;
    close_recording(*e);
    if (!e->handle)
        return 1;
    HENHMETAFILE copy = CopyEnhMetaFileA(e->handle, std::string(path).c_str());
    if (!copy) {
        system_code = static_cast<int>(GetLastError());
        return 1;
    }
    DeleteEnhMetaFile(copy);
    return 0;
}

int emf_select_target(int index, int width, int height)
{
    Entry* e = entry(index);
    if (!e || !e->context || e->handle)
        return 1;
    back_end().current = e->context;
    SetWindowExtEx(e->context, width, height, nullptr);
    WindowTables& t = window_tables();
    t.drawing_dc = e->context;
    t.metafile_context = true;
    t.dc_window = -1;
    gdi_context_prepare(e->context);
    return 0;
}

HENHMETAFILE emf_copy(int index)
{
    Entry* e = entry(index);
    if (!e)
        return nullptr;
    close_recording(*e);
    return e->handle ? CopyEnhMetaFileA(e->handle, nullptr) : nullptr;
}

bool emf_recording(int index)
{
    const Entry* e = entry(index);
    return e && e->context && !e->handle;
}

HENHMETAFILE emf_handle(int index)
{
    const Entry* e = entry(index);
    return e ? e->handle : nullptr;
}

int emf_reference_resolution() { return back_end().reference_resolution; }
HDC emf_current_context() { return back_end().current; }
void emf_current_context_clear() { back_end().current = nullptr; }

bool metafile_slot_create_enhanced(int number, int width_points, int height_points)
{
    MetafileSlot* s = metafile_slot(number);
    if (!s || s->kind != metafile_free || width_points < 0 || height_points < 0)
        return false;
    const MetafileReference r = emf_create(number - 1, width_points, height_points);
    if (!emf_recording(number - 1))
        return false;
    *s = MetafileSlot{};
    s->kind = metafile_enhanced;
    s->in_use = 1;
    s->width_points = width_points;
    s->height_points = height_points;
    // The drawable in pixels of the reference device.
    const long long ppi = emf_reference_resolution() > 0 ? emf_reference_resolution() : 96;
    s->device_width = static_cast<int>(static_cast<long long>(width_points) * ppi / 72);
    s->device_height = static_cast<int>(static_cast<long long>(height_points) * ppi / 72);
    (void)r;
    return true;
}

} // namespace korv
