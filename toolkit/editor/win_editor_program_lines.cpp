// The program's access to the editor's command line, its prompt and its
// history.
#include "editor/editor_operations_win.h"

#include "korvanthide/editor_operations.h"
#include "editor/edit_operations.h"

#include <algorithm>
#include <string>

namespace korv {

namespace {

std::string window_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, std::max(length, 0))));
    return text;
}

bool has_history(const EditorWindowRecord& record)
{
    return record.flags.history && record.command_line != nullptr && record.command_line != record.command_edit;
}

} // namespace

void edit_prompt_set(int& status, std::string_view text)
{
    HWND frame = nullptr;
    EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) {
        status = 1;
        return;
    }
    if (record->prompt_frame == nullptr || record->prompt_text == nullptr) {
        status = 2;
        return;
    }
    const std::string terminated(text);
    SetWindowTextA(record->prompt_text, terminated.c_str());
    int width = 0;
    if (!text.empty()) {
        HDC dc = GetDC(record->prompt_text);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(record->prompt_text, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, terminated.c_str(), static_cast<int>(terminated.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(record->prompt_text, dc);
        RECT outer{0, 0, extent.cx, 0};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(record->prompt_frame, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(record->prompt_frame, GWL_EXSTYLE)));
        width = outer.right - outer.left;
    }
    RECT frame_box{};
    GetWindowRect(record->prompt_frame, &frame_box);
    SetWindowPos(record->prompt_frame, nullptr, 0, 0, width, frame_box.bottom - frame_box.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT inner{};
    GetClientRect(record->prompt_frame, &inner);
    RECT text_box{};
    GetWindowRect(record->prompt_text, &text_box);
    SetWindowPos(record->prompt_text, nullptr, 0, record->prompt_offset, inner.right,
                 text_box.bottom - text_box.top, SWP_NOZORDER);
    edit_layout(frame, *record);
    status = 0;
}

void edit_command_line_set(int& status, std::string_view text, int caret)
{
    HWND frame = nullptr;
    EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) {
        status = 1028;
        return;
    }
    if (record->command_edit == nullptr) {
        status = 1032;
        return;
    }
    if (has_history(*record)) SendMessageA(record->command_line, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    // Straight to the edit field's own procedure, past the editor's key
    // handling.
    const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(record->command_edit, GWLP_USERDATA));
    const std::string terminated(text);
    if (own != nullptr)
        CallWindowProcA(own, record->command_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
    else
        SetWindowTextA(record->command_edit, terminated.c_str());
    SendMessageA(record->command_edit, EM_SETSEL, static_cast<WPARAM>(caret), caret);
    SendMessageA(record->command_edit, EM_SCROLLCARET, 0, 0);
    status = 0;
}

void edit_command_line_get(int& status, std::span<char> buffer)
{
    HWND frame = nullptr;
    const EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) {
        status = 1;
        return;
    }
    if (record->command_edit == nullptr) {
        status = 3;
        return;
    }
    status = edit_copy_bounded(window_text(record->command_edit), buffer);
}

void edit_history_check(int& status)
{
    HWND frame = nullptr;
    const EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) status = 1028;
    else status = has_history(*record) ? 0 : 1092;
}

void edit_history_clear(int& status)
{
    HWND frame = nullptr;
    const EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr) {
        status = 1;
        return;
    }
    if (!has_history(*record)) {
        status = 2;
        return;
    }
    SendMessageA(record->command_line, CB_RESETCONTENT, 0, 0);
    status = 0;
}

void edit_history_insert(int index, std::string_view text)
{
    HWND frame = nullptr;
    const EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr || !has_history(*record)) return;
    const std::string terminated(text);
    SendMessageA(record->command_line, CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(terminated.c_str()));
}

void edit_history_get(int index, std::span<char> buffer)
{
    HWND frame = nullptr;
    const EditorWindowRecord* record = edit_current(frame);
    if (record == nullptr || !has_history(*record)) return;
    const LRESULT length = SendMessageA(record->command_line, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return;
    std::string entry(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(record->command_line, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(length));
    edit_copy_bounded(entry, buffer);
}

} // namespace korv
