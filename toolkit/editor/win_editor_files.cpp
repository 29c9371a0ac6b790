// Editor files: reading RTF or plain text into the current buffer, saving
// it (committed through a file beside the target), the save prompt and the
// file each buffer keeps open.
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/files.h"
#include "korvanthide/startup.h"
#include "core/output/byte_sink.h"
#include "editor/win_editor.h"
#include "editor/edit_operations.h"

namespace korv {

namespace {

// A file behind a RichEdit stream, with the first system error met.
struct StreamFile {
    HANDLE file = nullptr;
    DWORD code = 0;
};

DWORD CALLBACK stream_read(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* stream = reinterpret_cast<StreamFile*>(cookie);
    DWORD got = 0;
    if (!ReadFile(stream->file, buffer, static_cast<DWORD>(count), &got, nullptr)) {
        stream->code = GetLastError();
        *done = 0;
        return 1;
    }
    *done = static_cast<LONG>(got);
    return 0;
}

// RichEdit hands the text out in pieces; they are gathered and written in
// one commit.
DWORD CALLBACK stream_write(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    reinterpret_cast<ByteSink*>(cookie)->put(buffer, static_cast<std::size_t>(count));
    *done = count;
    return 0;
}

HANDLE& open_file_of(EditorWindowRecord& record)
{
    return record.open_files[static_cast<std::size_t>(record.current_buffer)];
}

bool is_read_only(HWND control)
{
    return (GetWindowLongA(control, GWL_STYLE) & ES_READONLY) != 0;
}

// Writes the text to `name`, committed last (see file_commit.h).
// 0 written, 1 cannot open, 2 cannot write.
int file_write(HWND control, const std::string& name, bool rtf, DWORD& code)
{
    ByteSink sink;
    EDITSTREAM block{reinterpret_cast<DWORD_PTR>(&sink), 0, stream_write};
    SendMessageA(control, EM_STREAMOUT, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&block));
    if (block.dwError != 0) {
        code = ERROR_WRITE_FAULT;
        return 2;
    }
    const CommitResult result = sink.commit(name);
    code = result.system_code;
    switch (result.status) {
    case CommitStatus::written:
        return 0;
    case CommitStatus::cannot_open:
        return 1;
    case CommitStatus::cannot_write:
        break;
    }
    return 2;
}

// The save-as dialog; false when cancelled.
bool save_dialog(HWND frame, EditorWindowRecord& record)
{
    const std::string filter = editor_dialog_filter(record.filter, record.flags.formatted);
    const std::size_t buffer = static_cast<std::size_t>(record.current_buffer);
    OPENFILENAMEA block{};
    block.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    block.hwndOwner = frame;
    block.lpstrFilter = filter.c_str();
    block.nFilterIndex = static_cast<DWORD>(record.filter_index[buffer]);
    // The dialog writes the chosen name into the record's own field.
    std::array<char, editor_path_limit> chosen = record.file_name;
    block.lpstrFile = chosen.data();
    block.nMaxFile = static_cast<DWORD>(chosen.size());
    block.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    const int major = display_info().windows_major;
    block.lpstrDefExt = major == 0 || major >= 4 ? "" : nullptr;
    const bool blocking = record.mode == 2;
    if (blocking) dialog_disable_other_windows(frame, 1);
    const BOOL chosen_ok = GetSaveFileNameA(&block);
    if (blocking) dialog_enable_other_windows(frame, 1);
    const bool inside = (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0;
    if (inside) {
        SetFocus(frame);
        win_activate(frame);
    }
    if (!chosen_ok) {
        return false;
    }
    chosen.back() = '\0';
    edit_file_name_set(record, chosen.data());
    record.filter_index[buffer] = static_cast<int>(block.nFilterIndex);
    edit_buffer_name_put(edit_window_number(record), record.current_buffer, edit_file_name(record));
    if (record.flags.several_buffers) {
        edit_view_item_set(record, record.current_buffer, edit_file_name(record));
    }
    edit_title_update(frame);
    return true;
}

int read_file(HWND frame, EditorWindowRecord& record, int message_flag)
{
    HWND control = edit_control(record);
    const std::string name(edit_file_name(record));
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (!(message_flag == 1 && record.flags.no_open_message)) {
            edit_error_box(frame, "Open Error", code, name);
        }
        open_file_of(record) = nullptr;
        return 0;
    }
    open_file_of(record) = file;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);

    if (editor_file_is_rtf(name, record.flags.formatted)) {
        StreamFile stream{file, 0};
        EDITSTREAM block{reinterpret_cast<DWORD_PTR>(&stream), 0, stream_read};
        SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&block));
        if (block.dwError != 0 || stream.code != 0) {
            edit_error_box(frame, "Read Error", stream.code != 0 ? stream.code : ERROR_READ_FAULT, {});
            edit_file_close(frame);
            // Part of the file may have gone in: nothing of it stays, and
            // no name that a later save would overwrite.
            edit_text_clear(record);
            edit_file_name_set(record, "");
            record.read_lost_text = true;
            edit_modified_set(record, 1, 0);
            return 0;
        }
        edit_modified_set(record, 1, 0);
    } else {
        // The control holds no more than its limit; a larger file is not read.
        if (size.QuadPart > editor_text_limit) {
            edit_error_box(frame, "Read Error", ERROR_NOT_ENOUGH_MEMORY, {});
            edit_file_close(frame);
            return 0;
        }
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t got = 0;
        DWORD code = 0;
        while (got < bytes.size()) {
            DWORD part = 0;
            if (!ReadFile(file, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &part, nullptr)) {
                code = GetLastError();
                break;
            }
            if (part == 0) break;
            got += part;
        }
        if (got < bytes.size()) {
            edit_error_box(frame, "Read Error", code != 0 ? code : ERROR_HANDLE_EOF, {});
            edit_file_close(frame);
            return 0;
        }
        const PlainText plain = editor_plain_text(bytes, edit_richedit_version());
        edit_text_clear(record);
        SendMessageA(control, EM_SETSEL, 0, 0);
        if (plain.split) {
            const std::string rest = plain.text.substr(3);
            const std::string head = plain.text.substr(0, 3);
            SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(rest.c_str()));
            SendMessageA(control, EM_SETSEL, 0, 0);
            SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(head.c_str()));
        } else {
            SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(plain.text.c_str()));
        }
        SendMessageA(control, EM_SETSEL, 0, 0);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
        edit_undo_clear(record);
        edit_modified_set(record, 1, 0);
    }
    edit_format_state_update(record);
    record.bookmark[static_cast<std::size_t>(record.current_buffer)] = -1;
    if (is_read_only(control)) {
        edit_file_close(frame);
    }
    return 1;
}

} // namespace

void edit_error_box(HWND frame, const char* title, DWORD code, std::string_view detail)
{
    std::string text = sys_format_message(static_cast<int>(code)).substr(0, 300);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    if (!detail.empty()) {
        text += '\n';
        text += detail;
    }
    MessageBoxA(frame, text.c_str(), title, MB_OK | MB_ICONWARNING);
}

int edit_file_read(HWND frame, int message_flag)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        return 0;
    }
    record->read_lost_text = false;
    edit_file_close(frame);  // a file the buffer still holds is let go first
    record->protection = 0;
    const int result = read_file(frame, *record, message_flag);
    record->protection = 1;
    return result;
}

int edit_file_save(HWND frame, int save_as)
{
    EditorWindowRecord* found = edit_record(frame);
    if (found == nullptr) {
        return 0;
    }
    EditorWindowRecord& record = *found;
    if ((save_as != 0 || edit_file_name(record).empty()) && !save_dialog(frame, record)) {
        return 0;
    }
    const std::string name(edit_file_name(record));
    const bool rtf = editor_file_is_rtf(name, record.flags.formatted);
    edit_file_close(frame);
    if (record.flags.backup) {
        const std::string backup = editor_backup_name(name);
        if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
            CopyFileA(name.c_str(), backup.c_str(), FALSE);
        }
    }
    DWORD code = 0;
    switch (file_write(edit_control(record), name, rtf, code)) {
    case 1:
        edit_error_box(frame, "Open Error", code, name);
        return 0;
    case 2:
        edit_error_box(frame, "Write Error", code, {});
        return 0;
    default:
        break;
    }
    SendMessageA(edit_control(record), EM_SETMODIFY, FALSE, 0);
    if (record.flags.modified_mark) {
        edit_title_update(frame);
    }
    if (!record.flags.viewer) {
        HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        open_file_of(record) = file != INVALID_HANDLE_VALUE ? file : nullptr;
    }
    return 1;
}

int edit_save_prompt(HWND frame, EditorWindowRecord& record)
{
    HWND control = edit_control(record);
    if (control == nullptr || is_read_only(control) || !record.flags.save_allowed
        || SendMessageA(control, EM_GETMODIFY, 0, 0) == 0) {
        return 1;
    }
    const std::string text = editor_save_prompt_text(edit_file_name(record), record.flags.hide_name);
    switch (MessageBoxA(frame, text.c_str(), record.saved_caption.c_str(),
                        MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: return edit_file_save(frame, 0);
    case IDNO: return 1;
    default: return 0;
    }
}

void edit_file_close(HWND frame)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        return;
    }
    HANDLE& file = open_file_of(*record);
    if (file != nullptr) {
        CloseHandle(file);
        file = nullptr;
    }
}

int edit_save_current(int save_as)
{
    const int window = window_tables().current;
    if (window < 0 || window > max_window) {
        return 0;
    }
    return edit_file_save(window_tables().windows[static_cast<std::size_t>(window)].frame, save_as);
}

} // namespace korv
