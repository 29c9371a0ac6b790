// The operations through which a program reads and changes the editor of
// the current window in its own counting, and queries any editor.
#include "editor/editor_operations_win.h"

#include "korvanthide/editor_operations.h"
#include "core/context.h"
#include "editor/edit_operations.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace korv {

namespace {

bool counting_mapped(const EditorWindowRecord& record)
{
    return edit_richedit_version() >= 2 && !record.flags.one_char_line_ends;
}

CHARRANGE selection_of(HWND control)
{
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void select(HWND control, int start, int end)
{
    CHARRANGE range{start, end};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int first_visible_line(HWND control)
{
    return static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void scroll_to_line(HWND control, int line)
{
    SendMessageA(control, EM_LINESCROLL, 0, line - first_visible_line(control));
}

// The control's text from..to in its own counting.
std::string text_range(HWND control, int from, int to)
{
    if (to <= from) return {};
    std::string text(static_cast<std::size_t>(to - from) + 1, '\0');
    TEXTRANGEA range{{from, to}, text.data()};
    const LRESULT copied = SendMessageA(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, to - from)));
    return text;
}

void repaint(HWND control)
{
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

// Keeps the user's selection and the position cache across a format
// change, which the control may report as a text change; the change is
// not painted until it is done unless the program hides the text itself.
class FormatScope {
public:
    explicit FormatScope(EditorWindowRecord& record)
        : record_(record), control_(edit_control(record)), selection_(selection_of(control_)),
          cache_control_(record.cache_control), cache_program_(record.cache_program),
          first_line_(first_visible_line(control_))
    {
        SendMessageA(control_, EM_HIDESELECTION, TRUE, 0);
        if (!record.flags.text_hidden) SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
    }
    ~FormatScope()
    {
        SendMessageA(control_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        scroll_to_line(control_, first_line_);
        SendMessageA(control_, EM_HIDESELECTION, FALSE, 0);
        if (!record_.flags.text_hidden) {
            SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(control_, nullptr, TRUE);
        }
        record_.cache_control = cache_control_;
        record_.cache_program = cache_program_;
    }
    FormatScope(const FormatScope&) = delete;
    FormatScope& operator=(const FormatScope&) = delete;

private:
    EditorWindowRecord& record_;
    HWND control_;
    CHARRANGE selection_;
    int cache_control_;
    int cache_program_;
    int first_line_;
};

// What edit_text_show(0) remembers: one state for all editors.
struct HiddenState {
    CHARRANGE selection{};
    int first_line = 0;
};
HiddenState& hidden_state()
{
    return toolkit_context().record<HiddenState>(ContextSlot::editor_hidden);
}

void query_modal(int code, int& value)
{
    const EditorModalResult& r = editor_modal_result();
    namespace q = edit_query_code;
    switch (code) {
    case q::unchanged: value = r.unchanged; return;
    case q::text_length: value = r.text_length; return;
    case q::program_value: value = r.program_value; return;
    case q::selection_start: value = r.selection_start + 1; return;
    case q::selection_end: value = std::min(r.selection_end, r.text_length); return;
    case q::current_buffer: value = r.current_buffer; return;
    case q::buffers: value = r.buffers; return;
    case q::first_visible_line: value = r.first_visible_line; return;
    case q::history_entries: value = 0; return;
    case q::font_code: value = r.font_code; return;
    case q::font_size: value = r.font_size; return;
    case q::find_flags: value = edit_find_bits(r.find_flags); return;
    default: return;
    }
}

int history_count(const EditorWindowRecord& record)
{
    if (!record.flags.history || record.command_line == nullptr) return 0;
    return std::max(static_cast<int>(SendMessageA(record.command_line, CB_GETCOUNT, 0, 0)), 0);
}

void copy_search_text(std::array<char, editor_search_limit>& field, std::string_view text)
{
    field.fill('\0');
    const std::size_t n = std::min(text.size(), field.size() - 1);
    std::memcpy(field.data(), text.data(), n);
}

// The editor of the current window, or nullptr when it has none.
EditorWindowRecord* current_editor()
{
    HWND frame = nullptr;
    return edit_current(frame);
}

// The same, with `out` set to `none` when there is no editor: how the
// operations that answer with a status say so.
EditorWindowRecord* current_editor_or(int& out, int none, HWND& frame)
{
    EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) out = none;
    return record;
}

EditorWindowRecord* current_editor_or(int& out, int none)
{
    HWND frame = nullptr;
    return current_editor_or(out, none, frame);
}

// The current editor if it holds formatted text; otherwise nullptr, with
// status -1 for no editor and -2 for plain text.
EditorWindowRecord* formatted_editor(int& status)
{
    EditorWindowRecord* record = current_editor_or(status, -1);
    if (record != nullptr && !record->flags.formatted) {
        status = -2;
        return nullptr;
    }
    return record;
}

} // namespace

EditorWindowRecord* edit_of_window(int window)
{
    if (window < 0 || window > max_window) return nullptr;
    return edit_record(window_tables().windows[static_cast<std::size_t>(window)].frame);
}

EditorWindowRecord* edit_current(HWND& frame)
{
    const int window = window_tables().current;
    if (window < 0 || window > max_window) return nullptr;
    frame = window_tables().windows[static_cast<std::size_t>(window)].frame;
    return edit_record(frame);
}

MappedRange edit_position_map(EditorWindowRecord& record, int start, int end)
{
    HWND control = edit_control(record);
    const int length = edit_control_length(control);
    if (!counting_mapped(record))
        return {std::clamp(start, 0, length), std::clamp(end, 0, length)};
    PositionCache cache{record.cache_control, record.cache_program};
    const PositionCache origin = edit_position_origin(cache, start, end);
    const int to = std::min(origin.control + edit_position_fetch_count(origin, start, end), length);
    const std::string text = text_range(control, origin.control, to);
    MappedRange mapped = edit_position_walk(cache, text, start, end);
    record.cache_control = cache.control;
    record.cache_program = cache.program;
    mapped.start = std::clamp(mapped.start, 0, length);
    mapped.end = std::clamp(mapped.end, 0, length);
    return mapped;
}

void edit_query(int window, int code, int& value)
{
    namespace q = edit_query_code;
    if (code == q::richedit_version) {
        value = edit_richedit_version();
        return;
    }
    if (window == -1) {
        query_modal(code, value);
        return;
    }
    EditorWindowRecord* record = edit_of_window(window);
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    switch (code) {
    case q::unchanged: value = SendMessageA(control, EM_GETMODIFY, 0, 0) != 0 ? 0 : 1; return;
    case q::text_length: value = edit_text_length(*record); return;
    case q::program_value: value = record->program_value; return;
    case q::selection_start: value = edit_program_position(*record, selection_of(control).cpMin) + 1; return;
    case q::selection_end:
        value = std::min(edit_program_position(*record, selection_of(control).cpMax), edit_text_length(*record));
        return;
    case q::current_buffer: value = record->current_buffer; return;
    case q::buffers: value = record->buffers; return;
    case q::first_visible_line: value = first_visible_line(control); return;
    case q::history_entries: value = history_count(*record); return;
    case q::font_code: value = record->font_code; return;
    case q::font_size: value = record->font_size; return;
    case q::find_flags: value = edit_find_bits(record->find_block.Flags); return;
    case q::last_visible_line: {
        RECT client{};
        GetClientRect(control, &client);
        value = first_visible_line(control) + client.bottom / std::max(record->line_height, 1);
        return;
    }
    case q::line_count: value = static_cast<int>(SendMessageA(control, EM_GETLINECOUNT, 0, 0)); return;
    case q::one_char_line_ends: value = record->flags.one_char_line_ends ? 1 : 0; return;
    default: return;
    }
}

void edit_query_string(int window, int code, int& length, std::span<char> buffer)
{
    namespace q = edit_query_text;
    std::string text;
    if (window == -1) {
        const EditorModalResult& r = editor_modal_result();
        if (code == q::find) text = r.find_text;
        else if (code == q::replace) text = r.replace_text;
        else if (code == q::file_name) text = r.file_name;
        else return;
    } else {
        const EditorWindowRecord* record = edit_of_window(window);
        if (record == nullptr) return;
        if (code == q::find) text = record->find_text.data();
        else if (code == q::replace) text = record->replace_text.data();
        else if (code == q::file_name) text = edit_file_name(*record);
        else return;
    }
    edit_copy_bounded(text, buffer);
    length = static_cast<int>(text.size());
}

void edit_text_set(int& status, std::string_view text)
{
    EditorWindowRecord* record = current_editor_or(status, 1);
    if (record == nullptr) return;
    const std::string terminated(text);
    const int protection = record->protection;
    record->protection = 0;
    SetWindowTextA(edit_control(*record), terminated.c_str());
    record->protection = protection;
    status = 0;
}

void edit_text_get(int& status, std::span<char> buffer)
{
    const EditorWindowRecord* record = current_editor_or(status, 1);
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    status = edit_copy_bounded(text_range(control, 0, edit_control_length(control)), buffer);
}

void edit_range_replace(int& start, int end, std::string_view text)
{
    EditorWindowRecord* record = current_editor_or(start, -1);
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    if (!text.empty() || start != end) {
        SendMessageA(control, edit_richedit_version() == 1 ? EM_EMPTYUNDOBUFFER : EM_STOPGROUPTYPING, 0, 0);
        const MappedRange range = edit_position_map(*record, start, end);
        const std::string terminated(text);
        SendMessageA(control, EM_HIDESELECTION, TRUE, 0);
        select(control, range.start, range.end);
        const int protection = record->protection;
        record->protection = 0;
        SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(terminated.c_str()));
        record->protection = protection;
        SendMessageA(control, EM_HIDESELECTION, FALSE, 0);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
        if (!record->flags.text_hidden) repaint(control);
    }
    start = 0;
}

void edit_range_text_get(int& start, int length, std::span<char> buffer)
{
    EditorWindowRecord* record = current_editor_or(start, -1);
    if (record == nullptr) return;
    std::string text;
    if (length > 0) {
        const MappedRange range = edit_position_map(*record, start, start + length);
        text = text_range(edit_control(*record), range.start, range.end);
    }
    edit_copy_bounded(text, buffer);
    start = 0;
}

void edit_selection_set(int& start, int end)
{
    EditorWindowRecord* record = current_editor_or(start, -1);
    if (record == nullptr) return;
    const MappedRange range = edit_position_map(*record, start, end);
    HWND control = edit_control(*record);
    select(control, range.start, range.end);
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
}

void edit_caret_set(int position)
{
    EditorWindowRecord* record = current_editor();
    if (record == nullptr) return;
    const MappedRange at = edit_position_map(*record, position, position);
    HWND control = edit_control(*record);
    select(control, at.start, at.start);
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
    if (!record->flags.text_hidden) repaint(control);
}

void edit_line_position(int code, int value, int& result)
{
    EditorWindowRecord* record = current_editor_or(result, -2);
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    if (code == 1) {
        const MappedRange at = edit_position_map(*record, value, value);
        result = static_cast<int>(SendMessageA(control, EM_EXLINEFROMCHAR, 0, at.start));
        return;
    }
    const int first = static_cast<int>(SendMessageA(control, EM_LINEINDEX, static_cast<WPARAM>(value), 0));
    result = first >= 0 ? edit_program_position(*record, first) : first;
}

void edit_scroll_to_line(int line)
{
    EditorWindowRecord* record = current_editor();
    if (record != nullptr) scroll_to_line(edit_control(*record), line);
}

void edit_modified_set(int unchanged, int program_value)
{
    EditorWindowRecord* record = current_editor();
    if (record != nullptr) edit_modified_set(*record, unchanged, program_value);
}

void edit_undo_clear()
{
    EditorWindowRecord* record = current_editor();
    if (record != nullptr) edit_undo_clear(*record);
}

void edit_char_format_set(int& status, int start, int end, int bold, int italic, int underline,
                          int strike_out, int size, int colour, int background, std::string_view face)
{
    EditorWindowRecord* record = formatted_editor(status);
    if (record == nullptr) return;
    CHARFORMAT2A format{};
    const bool extended = edit_richedit_version() >= 2;
    format.cbSize = extended ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    auto effect = [&](int value, DWORD mask, DWORD bit, bool on) {
        if (value == -1) return;
        format.dwMask |= mask;
        if (on) format.dwEffects |= bit;
    };
    effect(bold, CFM_BOLD, CFE_BOLD, bold == 1);
    effect(italic, CFM_ITALIC, CFE_ITALIC, italic == 1);
    effect(underline, CFM_UNDERLINE, CFE_UNDERLINE, underline > 0);
    effect(strike_out, CFM_STRIKEOUT, CFE_STRIKEOUT, strike_out == 1);
    if (size != -1) {
        format.dwMask |= CFM_SIZE;
        format.yHeight = size * 20;
    }
    if (colour != -2) {
        format.dwMask |= CFM_COLOR;
        if (colour == -1) format.dwEffects |= CFE_AUTOCOLOR;
        else format.crTextColor = static_cast<COLORREF>(colour);
    }
    if (extended && background != -2) {
        format.dwMask |= CFM_BACKCOLOR;
        if (background == -1) format.dwEffects |= CFE_AUTOBACKCOLOR;
        else format.crBackColor = static_cast<COLORREF>(background);
    }
    if (!face.empty()) {
        format.dwMask |= CFM_FACE | CFM_CHARSET;
        format.bCharSet = DEFAULT_CHARSET;
        std::memcpy(format.szFaceName, face.data(), std::min(face.size(), sizeof format.szFaceName - 1));
    }
    const MappedRange range = edit_position_map(*record, start - 1, end);
    {
        FormatScope scope(*record);
        select(edit_control(*record), range.start, range.end);
        SendMessageA(edit_control(*record), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    status = 0;
}

void edit_paragraph_format_set(int& status, int start, int end, int bullets, int alignment)
{
    EditorWindowRecord* record = formatted_editor(status);
    if (record == nullptr) return;
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    if (bullets != -1) {
        format.dwMask |= PFM_NUMBERING;
        format.wNumbering = bullets == 1 ? PFN_BULLET : 0;
    }
    if (alignment != -1) {
        format.dwMask |= PFM_ALIGNMENT;
        format.wAlignment = alignment == 1 ? PFA_CENTER : alignment == 2 ? PFA_RIGHT : PFA_LEFT;
    }
    const MappedRange range = edit_position_map(*record, start - 1, end);
    {
        FormatScope scope(*record);
        select(edit_control(*record), range.start, range.end);
        SendMessageA(edit_control(*record), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
    status = 0;
}

void edit_text_show(int flag)
{
    EditorWindowRecord* record = current_editor();
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    HiddenState& state = hidden_state();
    if (flag == 0) {
        if (record->flags.text_hidden) return;
        state.selection = selection_of(control);
        state.first_line = first_visible_line(control);
        SendMessageA(control, WM_SETREDRAW, FALSE, 0);
        record->flags.text_hidden = true;
        return;
    }
    if (!record->flags.text_hidden) return;
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&state.selection));
    scroll_to_line(control, state.first_line);
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    record->flags.text_hidden = false;
    repaint(control);
}

void edit_redraw(int window)
{
    EditorWindowRecord* record = edit_of_window(window);
    if (record != nullptr) repaint(edit_control(*record));
}

void edit_backup_set(int flag)
{
    EditorWindowRecord* record = current_editor();
    if (record != nullptr) record->flags.backup = flag == 1;
}

void edit_font_set(int font_code, int size, int& error)
{
    HWND frame = nullptr;
    EditorWindowRecord* record = current_editor_or(error, 1028, frame);
    if (record == nullptr) return;
    HWND control = edit_control(*record);
    const HFONT old = record->font;
    const bool old_stock = record->stock_font;
    const bool was_modified = SendMessageA(control, EM_GETMODIFY, 0, 0) != 0;
    error = edit_font_make(*record, font_code == -1 ? record->font_code : font_code,
                           size == -1 ? record->font_size : size);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(record->font), TRUE);
    if (!record->flags.formatted && !was_modified) {
        SendMessageA(control, EM_SETMODIFY, FALSE, 0);
        edit_title_update(frame);
    }
    if (old != nullptr && !old_stock && old != record->font) DeleteObject(old);
}

void edit_filter_index_set(int index, int& status)
{
    EditorWindowRecord* record = current_editor_or(status, 1);
    if (record == nullptr) return;
    record->filter_index[static_cast<std::size_t>(std::clamp(record->current_buffer, 1, editor_buffer_limit))] = index;
    status = 0;
}

void edit_search_text_set(int which, int& status, std::string_view text)
{
    EditorWindowRecord* record = current_editor_or(status, 1028);
    if (record == nullptr) return;
    copy_search_text(which == 1 ? record->find_text : record->replace_text, text);
    status = 0;
}

void edit_find_flags_set(int flags, int& status)
{
    EditorWindowRecord* record = current_editor_or(status, 1028);
    if (record == nullptr) return;
    record->find_block.Flags = edit_find_flags(flags, record->find_block.Flags);
    status = 0;
}

void edit_buffer_select(int buffer, int& status)
{
    HWND frame = nullptr;
    EditorWindowRecord* record = current_editor_or(status, 1, frame);
    if (record == nullptr) return;
    if (!record->flags.several_buffers || buffer < 1 || buffer > record->buffers) {
        status = 2;
        return;
    }
    edit_buffer_switch(frame, buffer);
    status = 0;
}

void edit_text_size(int& count)
{
    const EditorWindowRecord* record = current_editor();
    count = record == nullptr ? 1 : static_cast<int>(edit_text_out(*record).size());
}

void edit_text_out(std::span<char> buffer)
{
    const EditorWindowRecord* record = current_editor();
    if (record == nullptr) return;
    const std::vector<char> text = edit_text_out(*record);
    std::memcpy(buffer.data(), text.data(), std::min(buffer.size(), text.size()));
}

void edit_text_in(std::span<const char> text)
{
    EditorWindowRecord* record = current_editor();
    if (record == nullptr) return;
    edit_text_in(*record, std::vector<char>(text.begin(), text.end()));
}

} // namespace korv
