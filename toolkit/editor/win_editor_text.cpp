// The editor's text: clearing and pasting, formats, positions in the
// program's counting, the modified state and the whole-text streams.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "korvanthide/startup.h"
#include "editor/win_editor.h"
#include "editor/edit_operations.h"
#include "editor/editor_operations_win.h"

namespace korv {

namespace {

namespace cmd = editor_command;

void button_state(HWND bar, int command, BYTE state)
{
    if (bar != nullptr && SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) != -1) {
        SendMessageA(bar, TB_SETSTATE, static_cast<WPARAM>(command), MAKELPARAM(state, 0));
    }
}

CHARFORMATA selection_format(HWND control, DWORD mask)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

PARAFORMAT selection_paragraph(HWND control)
{
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    SendMessageA(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

// Keeps the position cache across a format change, which the control may
// report as a text change.
class CacheKeeper {
public:
    explicit CacheKeeper(EditorWindowRecord& record)
        : record_(record), control_(record.cache_control), program_(record.cache_program)
    {
    }
    ~CacheKeeper()
    {
        record_.cache_control = control_;
        record_.cache_program = program_;
    }
    CacheKeeper(const CacheKeeper&) = delete;
    CacheKeeper& operator=(const CacheKeeper&) = delete;

private:
    EditorWindowRecord& record_;
    int control_;
    int program_;
};

DWORD CALLBACK stream_to_vector(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* text = reinterpret_cast<std::vector<char>*>(cookie);
    text->insert(text->end(), buffer, buffer + count);
    *done = count;
    return 0;
}

struct VectorReader {
    const std::vector<char>* text = nullptr;
    std::size_t at = 0;
};

DWORD CALLBACK stream_from_vector(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* reader = reinterpret_cast<VectorReader*>(cookie);
    const std::size_t left = reader->text->size() - reader->at;
    const std::size_t n = std::min<std::size_t>(left, static_cast<std::size_t>(std::max(count, 0L)));
    std::memcpy(buffer, reader->text->data() + reader->at, n);
    reader->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

bool counting_mapped(const EditorWindowRecord& record)
{
    return edit_richedit_version() >= 2 && !record.flags.one_char_line_ends;
}

} // namespace

// ---- clearing, pasting, formats ----

void edit_text_clear(EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    int numerator = 0;
    int denominator = 0;
    const bool zoom = edit_richedit_version() >= 3;
    if (zoom) {
        SendMessageA(control, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                     reinterpret_cast<LPARAM>(&denominator));
    }
    SetWindowTextA(control, "");
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(record.font), FALSE);
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING;
    format.wAlignment = PFA_LEFT;
    SendMessageA(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    if (zoom) {
        SendMessageA(control, EM_SETZOOM, static_cast<WPARAM>(numerator), static_cast<LPARAM>(denominator));
    }
}

void edit_paste(EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    if (record.flags.viewer) {
        return;
    }
    if (record.flags.formatted) {
        SendMessageA(control, WM_PASTE, 0, 0);
        return;
    }
    // Plain text takes the clipboard's text without its formatting.
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(record.frame)) {
        return;
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            const std::size_t size = GlobalSize(data);
            const std::string text(bytes, strnlen(bytes, size));
            SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

void edit_format_state_update(EditorWindowRecord& record)
{
    if (!record.flags.formatted || record.flags.viewer) {
        return;
    }
    HWND control = edit_control(record);
    const CHARFORMATA format =
        selection_format(control, CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_PROTECTED);
    const PARAFORMAT paragraph = selection_paragraph(control);
    const bool unprotected = (format.dwMask & CFM_PROTECTED) != 0 && (format.dwEffects & CFE_PROTECTED) == 0;
    const BYTE base = unprotected ? TBSTATE_ENABLED : 0;
    const bool bullets = (paragraph.dwMask & PFM_NUMBERING) != 0 && paragraph.wNumbering == PFN_BULLET;
    const bool bullets_mixed = (paragraph.dwMask & PFM_NUMBERING) == 0;
    if (HWND bar = record.toolbar) {
        struct Attribute {
            int command;
            DWORD mask;
            DWORD effect;
        };
        for (const Attribute& a : {Attribute{cmd::bold, CFM_BOLD, CFE_BOLD},
                                   Attribute{cmd::italic, CFM_ITALIC, CFE_ITALIC},
                                   Attribute{cmd::underline, CFM_UNDERLINE, CFE_UNDERLINE}}) {
            BYTE state = base;
            if ((format.dwMask & a.mask) == 0) state |= TBSTATE_INDETERMINATE;
            else if ((format.dwEffects & a.effect) != 0) state |= TBSTATE_CHECKED;
            button_state(bar, a.command, state);
        }
        BYTE bullet_state = base;
        if (bullets_mixed) bullet_state |= TBSTATE_INDETERMINATE;
        else if (bullets) bullet_state |= TBSTATE_CHECKED;
        button_state(bar, cmd::bullets, bullet_state);
        const bool mixed = (paragraph.dwMask & PFM_ALIGNMENT) == 0;
        for (int command : {cmd::align_left, cmd::align_centre, cmd::align_right}) {
            button_state(bar, command, static_cast<BYTE>(base | (mixed ? TBSTATE_INDETERMINATE : 0)));
        }
        if (!mixed) {
            const int current = paragraph.wAlignment == PFA_RIGHT    ? cmd::align_right
                                : paragraph.wAlignment == PFA_CENTER ? cmd::align_centre
                                                                     : cmd::align_left;
            button_state(bar, current, static_cast<BYTE>(base | TBSTATE_CHECKED));
        }
    }
    if (record.format_menu != nullptr) {
        CheckMenuItem(record.format_menu, cmd::bullets,
                      MF_BYCOMMAND | (bullets || bullets_mixed ? MF_CHECKED : MF_UNCHECKED));
    }
}

void edit_font_choose(HWND frame, EditorWindowRecord& record)
{
    CacheKeeper keep(record);
    HWND control = edit_control(record);
    CHARFORMATA format = selection_format(control, CFM_ALL);
    LOGFONTA logical{};
    HDC screen = GetDC(control);
    const int pixels = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(control, screen);
    logical.lfHeight = -MulDiv(format.yHeight, pixels, 1440);
    logical.lfWeight = (format.dwMask & CFM_BOLD) == 0 ? 0 : (format.dwEffects & CFE_BOLD) != 0 ? 700 : 400;
    logical.lfItalic = (format.dwEffects & CFE_ITALIC) != 0;
    logical.lfUnderline = (format.dwEffects & CFE_UNDERLINE) != 0;
    logical.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) != 0;
    logical.lfCharSet = format.bCharSet;
    logical.lfPitchAndFamily = format.bPitchAndFamily;
    std::memcpy(logical.lfFaceName, format.szFaceName, sizeof logical.lfFaceName);
    logical.lfFaceName[sizeof logical.lfFaceName - 1] = '\0';
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = frame;
    choose.lpLogFont = &logical;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FORCEFONTEXIST | CF_TTONLY;
    if ((format.dwMask & (CFM_BOLD | CFM_ITALIC)) != (CFM_BOLD | CFM_ITALIC)) choose.Flags |= CF_NOSTYLESEL;
    if ((format.dwMask & CFM_FACE) == 0) choose.Flags |= CF_NOFACESEL;
    if ((format.dwMask & CFM_SIZE) == 0) choose.Flags |= CF_NOSIZESEL;
    const bool automatic = (format.dwMask & CFM_COLOR) == 0 || (format.dwEffects & CFE_AUTOCOLOR) != 0;
    choose.rgbColors = automatic ? GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
    choose.nFontType = SCREEN_FONTTYPE;
    if (record.flags.extended_toolbar) {
        choose.Flags |= CF_ENABLEHOOK;
        choose.lpfnHook = edit_font_dialog_hook;
        choose.lCustData = (format.dwEffects & CFE_UNDERLINE) != 0 ? 1 : 0;
    }
    if (!ChooseFontA(&choose)) {
        return;
    }
    CHARFORMATA chosen{};
    chosen.cbSize = sizeof chosen;
    chosen.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_FACE | CFM_COLOR | CFM_SIZE;
    if (logical.lfWeight == 700) chosen.dwEffects |= CFE_BOLD;
    if (logical.lfItalic) chosen.dwEffects |= CFE_ITALIC;
    if (logical.lfUnderline) chosen.dwEffects |= CFE_UNDERLINE;
    if (logical.lfStrikeOut) chosen.dwEffects |= CFE_STRIKEOUT;
    chosen.crTextColor = choose.rgbColors;
    chosen.yHeight = choose.iPointSize * 2;  // tenths of a point to twips
    chosen.bCharSet = logical.lfCharSet;
    chosen.bPitchAndFamily = logical.lfPitchAndFamily;
    std::memcpy(chosen.szFaceName, logical.lfFaceName, sizeof chosen.szFaceName);
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&chosen));
    edit_format_state_update(record);
}

UINT_PTR CALLBACK edit_font_dialog_hook(HWND dialog, UINT message, WPARAM /*w*/, LPARAM l)
{
    if (message != WM_INITDIALOG) return FALSE;
    const auto* choose = reinterpret_cast<const CHOOSEFONTA*>(l);
    EnableWindow(GetDlgItem(dialog, 1041), choose != nullptr && choose->lCustData != 0);
    return TRUE;
}

void edit_bullet_toggle(EditorWindowRecord& record)
{
    CacheKeeper keep(record);
    HWND control = edit_control(record);
    const PARAFORMAT current = selection_paragraph(control);
    const bool all = (current.dwMask & PFM_NUMBERING) != 0 && current.wNumbering == PFN_BULLET;
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_NUMBERING;
    format.wNumbering = all ? 0 : PFN_BULLET;
    SendMessageA(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    edit_format_state_update(record);
}

void edit_style_toggle(EditorWindowRecord& record, int command)
{
    CacheKeeper keep(record);
    HWND control = edit_control(record);
    const DWORD mask = command == cmd::bold ? CFM_BOLD : command == cmd::italic ? CFM_ITALIC : CFM_UNDERLINE;
    const DWORD effect = command == cmd::bold ? CFE_BOLD : command == cmd::italic ? CFE_ITALIC : CFE_UNDERLINE;
    const CHARFORMATA current = selection_format(control, mask);
    const bool uniform = (current.dwMask & mask) != 0;
    const bool on = uniform ? (current.dwEffects & effect) == 0 : true;
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    format.dwEffects = on ? effect : 0;
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format));
    edit_format_state_update(record);
}

void edit_align_set(EditorWindowRecord& record, int command)
{
    CacheKeeper keep(record);
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = static_cast<WORD>(command == cmd::align_centre ? PFA_CENTER
                                          : command == cmd::align_right ? PFA_RIGHT
                                                                        : PFA_LEFT);
    SendMessageA(edit_control(record), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    edit_format_state_update(record);
}

// ---- positions, the modified state, streams ----

int edit_control_length(HWND control)
{
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    const LRESULT length = SendMessageA(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    return length > 0 ? static_cast<int>(length) : 0;
}

int edit_line_break_count(HWND control, int position)
{
    // Character by character, so that no copy of the text is made however
    // far the position lies.
    int count = 0;
    for (int at = 0; at < position; ++at) {
        std::array<char, 2> character{};
        TEXTRANGEA range{{at, at + 1}, character.data()};
        SendMessageA(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        count += character[0] == '\r' ? 1 : 0;
    }
    return count;
}

int edit_hard_line_end_count(HWND control, int position)
{
    // A block of characters per message: a length or position query on a
    // large text costs a handful of messages and no copy of the text. The
    // control finds a block's start from the text's start, so blocks are
    // large; two bytes a character leave room for a multi-byte code page.
    constexpr int chunk = 65536;
    std::vector<char> block(2 * static_cast<std::size_t>(std::clamp(position, 0, chunk)) + 2);
    const LRESULT room = static_cast<LRESULT>(block.size()) - 2;
    int count = 0;
    for (int at = 0; at < position; at += chunk) {
        TEXTRANGEA range{{at, std::min(position, at + chunk)}, block.data()};
        const LRESULT copied = SendMessageA(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        if (copied <= 0) break;
        count += static_cast<int>(std::count(block.begin(), block.begin() + std::min(copied, room), '\r'));
    }
    return count;
}

int edit_text_length(const EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    const int length = edit_control_length(control);
    return counting_mapped(record) ? length + edit_hard_line_end_count(control, length) : length;
}

int edit_program_position(const EditorWindowRecord& record, int position)
{
    if (!counting_mapped(record)) {
        return position;
    }
    HWND control = edit_control(record);
    // Without word wrap every line ends in a line end: the line number is
    // the count of those before the position.
    if ((GetWindowLongA(control, GWL_STYLE) & WS_HSCROLL) != 0) {
        return position + static_cast<int>(SendMessageA(control, EM_EXLINEFROMCHAR, 0, position));
    }
    return position + edit_hard_line_end_count(control, position);
}

void edit_modified_set(EditorWindowRecord& record, int unchanged, int program_value)
{
    SendMessageA(edit_control(record), EM_SETMODIFY, unchanged != 0 ? FALSE : TRUE, 0);
    record.program_value = program_value;
    if (record.flags.modified_mark) {
        edit_title_update(record.frame);
    }
}

void edit_undo_clear(EditorWindowRecord& record)
{
    SendMessageA(edit_control(record), EM_EMPTYUNDOBUFFER, 0, 0);
    for (int command : {cmd::undo, cmd::redo}) {
        if (record.toolbar != nullptr) {
            SendMessageA(record.toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(FALSE, 0));
        }
    }
}

std::vector<char> edit_text_out(const EditorWindowRecord& record)
{
    std::vector<char> text;
    EDITSTREAM block{reinterpret_cast<DWORD_PTR>(&text), 0, stream_to_vector};
    SendMessageA(edit_control(record), EM_STREAMOUT, record.flags.formatted ? SF_RTF : SF_TEXT,
                 reinterpret_cast<LPARAM>(&block));
    return text;
}

void edit_text_in(EditorWindowRecord& record, const std::vector<char>& text)
{
    VectorReader reader{&text, 0};
    EDITSTREAM block{reinterpret_cast<DWORD_PTR>(&reader), 0, stream_from_vector};
    const int protection = record.protection;
    record.protection = 0;
    SendMessageA(edit_control(record), EM_STREAMIN, record.flags.formatted ? SF_RTF : SF_TEXT,
                 reinterpret_cast<LPARAM>(&block));
    record.protection = protection;
}

// ---- buffers ----

void edit_buffer_store(int window, int buffer)
{
    EditorBufferTable& table = editor_buffer_table();
    if (window < 0 || window > max_window || buffer < 1 || buffer > editor_buffer_limit) {
        return;
    }
    EditorWindowRecord* record = edit_record(window_tables().windows[static_cast<std::size_t>(window)].frame);
    if (record == nullptr) {
        return;
    }
    if (!table.allocated()) table.allocate();
    EditorBufferRecord& row = table.row(window, buffer);
    HWND control = edit_control(*record);
    row.text = edit_text_out(*record);
    row.text_size = static_cast<int>(row.text.size());
    row.text_stored = true;
    const CHARRANGE range = [control] {
        CHARRANGE r{};
        SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }();
    row.text_length = edit_text_length(*record);
    row.selection_start = edit_program_position(*record, range.cpMin) + 1;
    row.selection_end = std::min(edit_program_position(*record, range.cpMax), row.text_length);
    row.unchanged = SendMessageA(control, EM_GETMODIFY, 0, 0) != 0 ? 0 : 1;
    row.program_value = record->program_value;
    row.first_visible_line = static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void edit_buffer_restore(int window, int buffer)
{
    EditorBufferTable& table = editor_buffer_table();
    if (window < 0 || window > max_window || buffer < 1 || buffer > editor_buffer_limit || !table.allocated()) {
        return;
    }
    EditorWindowRecord* record = edit_record(window_tables().windows[static_cast<std::size_t>(window)].frame);
    if (record == nullptr) {
        return;
    }
    EditorBufferRecord& row = table.row(window, buffer);
    // A row without a stored text has nothing to give back; the editor
    // keeps what it shows.
    if (!row.text_stored) {
        return;
    }
    HWND control = edit_control(*record);
    edit_text_in(*record, row.text);
    const MappedRange mapped = edit_position_map(*record, row.selection_start - 1, row.selection_end);
    CHARRANGE range{mapped.start, mapped.end};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
    const int first = static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageA(control, EM_LINESCROLL, 0, row.first_visible_line - first);
    edit_modified_set(*record, row.unchanged, row.program_value);
    edit_undo_clear(*record);
    row.text.clear();
    row.text.shrink_to_fit();
    row.text_stored = false;
}

void edit_buffer_exchange(int window, int current, int buffer)
{
    if (buffer == current) {
        return;
    }
    edit_buffer_store(window, current);
    edit_buffer_restore(window, buffer);
}

void edit_buffer_switch(HWND frame, int buffer)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr || buffer < 1 || buffer > record->buffers) {
        return;
    }
    const int window = edit_window_number(*record);
    const int old = record->current_buffer;
    edit_view_item_check(*record, old, false);
    edit_view_item_check(*record, buffer, true);
    record->current_buffer = buffer;
    edit_buffer_exchange(window, old, buffer);
    edit_buffer_name_put(window, old, edit_file_name(*record));
    std::array<char, editor_path_limit> stored{};
    edit_buffer_name_get(window, buffer, stored);
    edit_file_name_set(*record, stored.data());
    edit_title_update(frame);
    // Laid out and painted anew at its size.
    HWND control = edit_control(*record);
    RECT r{};
    GetWindowRect(control, &r);
    SetWindowPos(control, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    SetWindowPos(control, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

void edit_view_item_set(EditorWindowRecord& record, int buffer, std::string_view name)
{
    if (record.view_menu == nullptr) {
        return;
    }
    std::string label = editor_view_label(buffer, name);
    MENUITEMINFOA info{};
    info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
    info.fMask = MIIM_STRING;
    info.dwTypeData = label.data();
    SetMenuItemInfoA(record.view_menu, static_cast<UINT>(buffer - 1), TRUE, &info);
}

void edit_view_item_append(EditorWindowRecord& record, int buffer, std::string_view name)
{
    if (record.view_menu == nullptr) {
        return;
    }
    std::string label = editor_view_label(buffer, name);
    MENUITEMINFOA info{};
    info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.fType = MFT_STRING;
    info.fState = MFS_CHECKED;
    info.wID = static_cast<UINT>(cmd::view_menu + buffer);
    info.dwTypeData = label.data();
    InsertMenuItemA(record.view_menu, static_cast<UINT>(GetMenuItemCount(record.view_menu)), TRUE, &info);
}

void edit_view_item_check(EditorWindowRecord& record, int buffer, bool checked)
{
    if (record.view_menu != nullptr) {
        CheckMenuItem(record.view_menu, static_cast<UINT>(buffer - 1),
                      MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

// ---- bookmarks ----

void edit_bookmark_set(EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const auto b = static_cast<std::size_t>(record.current_buffer);
    record.bookmark[b] = range.cpMax;
    record.bookmark_length[b] = edit_control_length(control);
}

void edit_bookmark_goto(EditorWindowRecord& record)
{
    const int mark = record.bookmark[static_cast<std::size_t>(record.current_buffer)];
    if (mark < 0) {
        return;
    }
    HWND control = edit_control(record);
    CHARRANGE range{mark, mark};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
}

void edit_bookmark_follow(EditorWindowRecord& record)
{
    const auto b = static_cast<std::size_t>(record.current_buffer);
    if (record.bookmark[b] < 0) {
        return;
    }
    HWND control = edit_control(record);
    const int length = edit_control_length(control);
    const int change = length - record.bookmark_length[b];
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (record.bookmark[b] >= range.cpMin - change) {
        record.bookmark[b] = std::max(0, record.bookmark[b] + change);
    }
    record.bookmark_length[b] = length;
}

} // namespace korv
