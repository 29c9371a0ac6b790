// Find, Replace and Replace All through the system's modeless find and
// replace dialogs, and Find Next without one.
#include "editor/win_editor.h"

#include <algorithm>
#include <array>
#include <string>

namespace korv {

namespace {

// The selected text is compared only when it fits this field; a longer
// selection is never the find text.
constexpr std::size_t selection_field = 1024;

CHARRANGE selection_of(HWND control)
{
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

int first_visible_line(HWND control)
{
    return static_cast<int>(SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void end_of_text_box(HWND frame, const EditorWindowRecord& record)
{
    if (record.find_dialog != nullptr) {
        // The box belongs to the dialog; the frame stays out of reach meanwhile.
        EnableWindow(frame, FALSE);
        MessageBoxA(record.find_dialog, "End of text reached", "Find", MB_OK | MB_ICONINFORMATION);
        EnableWindow(frame, TRUE);
    } else {
        MessageBoxA(frame, "End of text reached", "Find", MB_OK | MB_ICONINFORMATION);
    }
}

bool same_text(std::string a, std::string b, bool match_case)
{
    if (a.size() != b.size()) return false;
    if (!match_case && !a.empty()) {
        CharLowerBuffA(a.data(), static_cast<DWORD>(a.size()));
        CharLowerBuffA(b.data(), static_cast<DWORD>(b.size()));
    }
    return a == b;
}

} // namespace

void edit_find_open(HWND frame, EditorWindowRecord& record, bool replace)
{
    FINDREPLACEA& block = record.find_block;
    block.Flags &= ~static_cast<DWORD>(FR_DIALOGTERM);
    if (record.find_dialog != nullptr) {
        DestroyWindow(record.find_dialog);
        record.find_dialog = nullptr;
    }
    block.hwndOwner = frame;
    record.find_dialog = replace ? ReplaceTextA(&block) : FindTextA(&block);
}

int edit_find_next(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block)
{
    HWND control = edit_control(record);
    const DWORD flags = block.Flags & (FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE);
    const CHARRANGE selection = selection_of(control);
    const bool selected = selection.cpMax != selection.cpMin;
    const bool down = (flags & FR_DOWN) != 0 || edit_richedit_version() == 1;
    FINDTEXTA find{};
    if (down)
        find.chrg = {selection.cpMin + (selected ? 1 : 0), -1};
    else
        find.chrg = {selection.cpMax - (selected ? 1 : 0), 0};
    const std::string_view text(block.lpstrFindWhat != nullptr ? block.lpstrFindWhat : "");
    find.lpstrText = block.lpstrFindWhat;
    const LRESULT at = text.empty() ? -1
                                    : SendMessageA(control, EM_FINDTEXT, down ? flags | FR_DOWN : flags,
                                                   reinterpret_cast<LPARAM>(&find));
    if (at < 0) {
        end_of_text_box(frame, record);
        return 0;
    }
    const int before = first_visible_line(control);
    CHARRANGE match{static_cast<LONG>(at), static_cast<LONG>(at + static_cast<LRESULT>(text.size()))};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&match));
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
    if (first_visible_line(control) != before) {
        // The match stands with some lines of context below the top.
        SendMessageA(control, EM_LINESCROLL, 0, 6);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
    }
    return 1;
}

int edit_replace_next(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block)
{
    HWND control = edit_control(record);
    const CHARRANGE selection = selection_of(control);
    const LONG length = selection.cpMax - selection.cpMin;
    if (length > 0 && static_cast<std::size_t>(length) < selection_field) {
        std::array<char, selection_field> selected{};
        SendMessageA(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
        const std::string_view find(block.lpstrFindWhat != nullptr ? block.lpstrFindWhat : "");
        if (!find.empty() && same_text(selected.data(), std::string(find), (block.Flags & FR_MATCHCASE) != 0)) {
            SendMessageA(control, EM_REPLACESEL, TRUE,
                         reinterpret_cast<LPARAM>(block.lpstrReplaceWith != nullptr ? block.lpstrReplaceWith : ""));
        }
    }
    return edit_find_next(frame, record, block);
}

void edit_replace_all(HWND frame, EditorWindowRecord& record, FINDREPLACEA& block)
{
    HWND control = edit_control(record);
    SendMessageA(control, EM_SETSEL, 0, 0);
    // From the start downwards, whatever direction the dialog shows.
    FINDREPLACEA downwards = block;
    downwards.Flags |= FR_DOWN;
    // Each round moves past a match; the text bounds the rounds.
    const int rounds = edit_control_length(control) + 2;
    for (int i = 0; i < rounds && edit_replace_next(frame, record, downwards) != 0; ++i) {
    }
}

UINT_PTR CALLBACK edit_find_dialog_hook(HWND dialog, UINT message, WPARAM w, LPARAM /*l*/)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(w) == IDCANCEL && HIWORD(w) == 0) {
        HWND owner = GetParent(dialog);
        if (owner != nullptr) {
            SetFocus(owner);
            win_activate(owner);
        }
    }
    return FALSE;
}

} // namespace korv
