// Coloured painting of an editor's visible lines: the text control keeps
// editing, scrolling and layout, and every paint draws each visible line
// itself, in the colours of the spans a program's hook gives.
#include "editor/editor_operations_win.h"

#include "korvanthide/editor_operations.h"
#include "core/context.h"
#include "editor/editor_paint_spans.h"
#include "editor/edit_operations.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace korv {

namespace {

constexpr int line_buffer_size = 32768;

// The toolkit's colouring: no spans, every line in the window colours.
void edit_colour_hook(int, int, int, int, int*, int*, std::int32_t*, int& count, const char*, int) { count = 0; }

EditColourHook& colour_hook()
{
    return toolkit_context().record<EditColourHook>(ContextSlot::editor_colour_hook, [] { return edit_colour_hook; });
}

WNDPROC previous_proc(HWND control)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// The client position of a character, as the control places it; false
// for a position it cannot place.
bool edit_char_position(HWND control, int position, POINT& point)
{
    if (edit_richedit_version() == 2) {
        const LRESULT packed = SendMessageA(control, EM_POSFROMCHAR, static_cast<WPARAM>(position), 0);
        if (packed == -1) return false;
        point = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
        return true;
    }
    POINTL at{-1, -1};
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), position);
    point = {at.x, at.y};
    return at.x != -1 || at.y != -1;
}

struct PaintContext {
    HWND control;
    HDC dc;
    int line_height;
    CHARRANGE selection;
    bool all_selected;
    HBRUSH window_brush;
    HBRUSH highlight_brush;
};

bool selected(const PaintContext& p, int position)
{
    return p.all_selected || (position >= p.selection.cpMin && position < p.selection.cpMax);
}

// Draws count characters of a line from control position `position`, each
// piece between tabs where the control puts its first character; a tab's
// cell shows the highlight when selected.
void edit_paint_run(const PaintContext& p, std::string_view text, int position, int count)
{
    int i = 0;
    while (i < count) {
        if (text[static_cast<std::size_t>(i)] == '\t') {
            POINT from{}, to{};
            if (selected(p, position + i) && edit_char_position(p.control, position + i, from)
                && edit_char_position(p.control, position + i + 1, to) && to.y == from.y) {
                RECT cell{from.x, from.y, to.x, from.y + p.line_height};
                FillRect(p.dc, &cell, p.highlight_brush);
            }
            ++i;
            continue;
        }
        int end = i;
        while (end < count && text[static_cast<std::size_t>(end)] != '\t') ++end;
        POINT at{};
        if (edit_char_position(p.control, position + i, at))
            TextOutA(p.dc, at.x, at.y, text.data() + i, end - i);
        i = end;
    }
}

void colours(HDC dc, int text, int back)
{
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
}

void paint_line(const PaintContext& p, const EditorWindowRecord& record, int line_start, std::string_view line)
{
    const int length = static_cast<int>(line.size());
    if (p.all_selected) {
        colours(p.dc, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
        if (length == 0) {
            POINT at{};
            if (edit_char_position(p.control, line_start, at)) TextOutA(p.dc, at.x, at.y, " ", 1);
        } else {
            edit_paint_run(p, line, line_start, length);
        }
        return;
    }
    const LineSelection part = edit_line_selection(p.selection.cpMin, p.selection.cpMax, line_start, length);
    std::array<int, edit_span_limit> firsts{}, lasts{};
    std::array<std::int32_t, edit_span_limit> span_colours{};
    int count = 0;
    const std::string text(line);
    colour_hook()(win_number_from_handle(record.frame), part.first, part.last, edit_span_limit, firsts.data(),
                  lasts.data(), span_colours.data(), count, text.c_str(), length);
    const std::vector<ColourSpan> spans = edit_spans_clean(firsts, lasts, span_colours, count, length);
    for (const PaintRun& run : edit_paint_runs(length, spans)) {
        switch (run.kind) {
        case PaintRun::window: colours(p.dc, COLOR_WINDOWTEXT, COLOR_WINDOW); break;
        case PaintRun::highlight: colours(p.dc, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT); break;
        case PaintRun::coloured:
            SetTextColor(p.dc, static_cast<COLORREF>(run.colour));
            SetBkColor(p.dc, GetSysColor(COLOR_WINDOW));
            break;
        }
        edit_paint_run(p, line.substr(static_cast<std::size_t>(run.first)), line_start + run.first, run.count);
    }
    const int line_end = line_start + length;
    POINT at{};
    if (selected(p, line_end) && p.selection.cpMin != p.selection.cpMax
        && edit_char_position(p.control, line_end, at)) {
        colours(p.dc, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
        TextOutA(p.dc, at.x, at.y, " ", 1);
    }
}

void paint(HWND control, const EditorWindowRecord& record)
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(control, &ps);
    int line_height = std::max(record.line_height, 1);
    HFONT font = record.font;
    HFONT zoom_font = nullptr;
    int numerator = 0, denominator = 0;
    if (edit_richedit_version() >= 3) {
        SendMessageA(control, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator));
        if (numerator > 0 && denominator > 0) {
            line_height = std::max(MulDiv(record.line_height, numerator, denominator), 1);
            zoom_font = CreateFontA(-MulDiv(record.line_height_inner, numerator, denominator), 0, 0, 0, FW_NORMAL,
                                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, VARIABLE_PITCH | FF_MODERN, "Courier New");
            font = zoom_font;
        }
    }
    const HGDIOBJ old_font = SelectObject(dc, font);

    RECT client{};
    GetClientRect(control, &client);
    auto background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(control, GCLP_HBRBACKGROUND));
    HBRUSH window_brush = GetSysColorBrush(COLOR_WINDOW);
    if (background == nullptr) background = window_brush;
    RECT edge{client.left, client.top, client.left + 1, client.bottom};
    FillRect(dc, &edge, background);
    edge = {client.right - 1, client.top, client.right, client.bottom};
    FillRect(dc, &edge, background);
    IntersectClipRect(dc, client.left + 1, client.top, client.right - 1, client.bottom);
    SetBkMode(dc, OPAQUE);

    CHARRANGE selection{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const PaintContext p{control, dc, line_height, selection, selection.cpMin == 0 && selection.cpMax == -1,
                         window_brush, GetSysColorBrush(COLOR_HIGHLIGHT)};
    const int lines = static_cast<int>(SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    std::vector<char> buffer(line_buffer_size + 1, '\0');
    int line = static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    bool first = true;
    int bottom = client.top;
    for (; line < lines; ++line, first = false) {
        const int start = static_cast<int>(SendMessageA(control, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        POINT top{};
        if (start < 0 || !edit_char_position(control, start, top) || top.y >= client.bottom) break;
        *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(line_buffer_size);
        const auto copied = static_cast<int>(
            SendMessageA(control, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data())));
        const std::string_view text =
            edit_line_text(std::string_view(buffer.data(), static_cast<std::size_t>(std::clamp(copied, 0, line_buffer_size))));
        RECT band{client.left, first ? client.top : top.y, client.right, top.y + line_height + 1};
        FillRect(dc, &band, window_brush);
        paint_line(p, record, start, text);
        bottom = top.y + line_height;
    }
    if (line >= lines) {
        RECT rest{client.left, bottom, client.right, client.bottom};
        if (rest.bottom > rest.top) FillRect(dc, &rest, window_brush);
    }
    SelectObject(dc, old_font);
    if (zoom_font != nullptr) DeleteObject(zoom_font);
    EndPaint(control, &ps);
}

// Ctrl+wheel zooms in the control; the text keeps its first line and
// selection and is laid out anew at the new zoom.
LRESULT zoom_wheel(HWND control, const EditorWindowRecord& record, WPARAM w, LPARAM l)
{
    const int first = static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    CHARRANGE selection{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const bool hide = !record.flags.text_hidden;
    const LRESULT result = CallWindowProcA(previous_proc(control), control, WM_MOUSEWHEEL, w, l);
    if (hide) SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageA(control, EM_LINESCROLL, 0,
                 first - static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0)));
    if (hide) SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    RECT r{};
    GetWindowRect(control, &r);
    SetWindowPos(control, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    SetWindowPos(control, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(control, nullptr, TRUE);
    return result;
}

} // namespace

LRESULT CALLBACK edit_paint_proc(HWND control, UINT message, WPARAM w, LPARAM l)
{
    const EditorWindowRecord* record = edit_record(GetParent(control));
    if (record != nullptr && record->flags.custom_paint) {
        if (message == WM_PAINT) {
            paint(control, *record);
            return 0;
        }
        if (message == WM_MOUSEWHEEL && (GET_KEYSTATE_WPARAM(w) & MK_CONTROL) != 0)
            return zoom_wheel(control, *record, w, l);
    }
    const WNDPROC previous = previous_proc(control);
    return previous != nullptr ? CallWindowProcA(previous, control, message, w, l)
                               : DefWindowProcA(control, message, w, l);
}

void edit_colour_hook_set(EditColourHook hook) { colour_hook() = hook != nullptr ? hook : edit_colour_hook; }

void edit_paint_enable()
{
    HWND frame = nullptr;
    EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr || record->flags.custom_paint) return;
    HWND control = edit_control(*record);
    record->flags.custom_paint = true;
    SetWindowLongPtrA(control, GWLP_USERDATA, GetWindowLongPtrA(control, GWLP_WNDPROC));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&edit_paint_proc));
    InvalidateRect(control, nullptr, TRUE);
}

} // namespace korv
