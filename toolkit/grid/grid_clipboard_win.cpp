// Blocks of cells through the system clipboard as text.
#include "grid/grid_control_win.h"

#include "grid/grid_clipboard_text.h"

#include <cstring>

namespace korv {

namespace {

class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpen()
    {
        if (open_)
            CloseClipboard();
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool ok() const { return open_; }

private:
    bool open_;
};

void copy_failed()
{
    MessageBoxA(nullptr,
                "Either the clipboard is in use by another application or there is\r"
                "insufficient memory available for the amount of data being copied",
                "Unable to Copy Data to Clipboard", MB_TASKMODAL | MB_ICONERROR);
}

} // namespace

std::string grid_clipboard_text()
{
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return {};
    ClipboardOpen clipboard(nullptr);
    if (!clipboard.ok())
        return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data)
        return {};
    const char* p = static_cast<const char*>(GlobalLock(data));
    if (!p)
        return {};
    // Bounded by the memory block: a text without its zero stops there.
    const std::string text(p, strnlen(p, GlobalSize(data)));
    GlobalUnlock(data);
    return text;
}

bool grid_copy_selection(GridRecord& g)
{
    g.editor_store();
    const std::string text = grid_block_text(*g.cells, g.cells->selection);
    // The memory comes first, so that a failure leaves the clipboard as it was.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    char* p = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (!p) {
        if (memory)
            GlobalFree(memory);
        copy_failed();
        return false;
    }
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    ClipboardOpen clipboard(g.frame);
    if (!clipboard.ok() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory)) {
        GlobalFree(memory);
        copy_failed();
        return false;
    }
    return true;
}

void grid_paste(GridRecord& g)
{
    const std::string text = grid_clipboard_text();
    if (text.empty())
        return;
    grid_clear_selection(g);
    g.editor_store();
    const GridBlock reached = grid_paste_text(*g.cells, text);
    UpdateWindow(g.cell_area);
    if ((g.style() & grid_style_data_events) && !reached.empty())
        grid_post_block_event(g, 1, reached, true);
}

void grid_clear_selected_cells(GridRecord& g)
{
    g.editor_store();
    const GridBlock block = grid_clear_block_cells(*g.cells);
    if (g.style() & grid_style_data_events)
        grid_post_block_event(g, 1, block, true);
}

} // namespace korv
