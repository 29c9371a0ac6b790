// Byte-level files by handle, files by name, directories and the directory
// search, and the public file routines built on them.
#include "core/context.h"
#include "core/win_os.h"

#include <shellapi.h>

#include <algorithm>

#include "korvanthide/errors.h"
#include "korvanthide/files.h"
#include "korvanthide/fixed_text.h"
#include "core/os_helpers.h"
#include "core/sys_files.h"

namespace korv {

OsFilesState& os_files_state()
{
    return toolkit_context().record<OsFilesState>(ContextSlot::os_files);
}

void report_file_error(int number, int code, std::string_view routine)
{
    ErrorState& state = error_state();
    state.file_code = code;
    state.detail_category = 2;
    err_report(number, routine);
}

void report_os_error(int number, int code, std::string_view routine)
{
    error_state().other_code = code;
    err_report(number, routine);
}

// ---------------------------------------------------------------------------
// Files by handle

void sys_file_open(std::string_view name, int mode, int& handle, int& code)
{
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD disposition = OPEN_EXISTING;
    if (mode == 1) {
        access = GENERIC_WRITE;
        share = FILE_SHARE_READ;
        disposition = CREATE_ALWAYS;
    } else if (mode == 2) {
        access = GENERIC_READ | GENERIC_WRITE;
        share = FILE_SHARE_READ;
    }
    const std::string path(name);
    HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = last_error_code();
        handle = -1;
        return;
    }
    code = 0;
    handle = handle_to_int(h);
}

void sys_file_close(int handle)
{
    if (handle != -1 && handle != 0)
        CloseHandle(handle_from_int(handle));
}

void sys_file_read(int handle, std::span<std::byte> buffer, int& bytes_read, int& code)
{
    DWORD got = 0;
    if (!ReadFile(handle_from_int(handle), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                  nullptr)) {
        code = last_error_code();
        bytes_read = 0;
        return;
    }
    code = 0;
    bytes_read = static_cast<int>(got);
}

void sys_file_read_swapped(int handle, std::span<std::byte> buffer, int& bytes_read,
                           int group_size, int& code)
{
    sys_file_read(handle, buffer, bytes_read, code);
    if (bytes_read > 0)
        reverse_byte_groups(buffer.first(static_cast<std::size_t>(bytes_read)), group_size);
}

void sys_file_write(int handle, std::span<const std::byte> buffer, int& bytes_written, int& code)
{
    DWORD put = 0;
    if (!WriteFile(handle_from_int(handle), buffer.data(), static_cast<DWORD>(buffer.size()), &put,
                   nullptr)) {
        code = last_error_code();
        bytes_written = 0;
        return;
    }
    code = 0;
    bytes_written = static_cast<int>(put);
}

void sys_file_write_swapped(int handle, std::span<std::byte> buffer, int& bytes_written,
                            int group_size, int& code)
{
    reverse_byte_groups(buffer, group_size);
    sys_file_write(handle, buffer, bytes_written, code);
    reverse_byte_groups(buffer, group_size);
}

void sys_file_seek(int handle, int& offset, int origin, int& code)
{
    const DWORD method = origin == 1 ? FILE_CURRENT : origin == 2 ? FILE_END : FILE_BEGIN;
    SetLastError(NO_ERROR);
    const DWORD position = SetFilePointer(handle_from_int(handle), offset, nullptr, method);
    if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        code = last_error_code();
        offset = -1;
        return;
    }
    code = 0;
    offset = static_cast<int>(position);
}

// ---------------------------------------------------------------------------
// Files by name

void sys_file_delete(std::string_view name, int& code)
{
    code = DeleteFileA(std::string(name).c_str()) ? 0 : last_error_code();
}

void sys_file_move(int& code, std::string_view old_name, std::string_view new_name)
{
    code = MoveFileA(std::string(old_name).c_str(), std::string(new_name).c_str())
               ? 0
               : last_error_code();
}

namespace {

// Volume and index of an existing file, to tell two names of one file apart
// from two files.
bool file_identity(const std::string& name, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE h = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return known;
}

bool same_file(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return file_identity(a, x) && file_identity(b, y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

} // namespace

// The copy goes to a temporary file beside the target and is renamed over it
// only when complete, so a copy that fails part-way never costs the old
// target.
void sys_file_copy(std::string_view source, std::string_view target, int& code)
{
    const std::string from(source);
    const std::string to(target);
    if (same_file(from, to)) {
        code = ERROR_SHARING_VIOLATION;  // what the system answers a copy onto itself
        return;
    }
    const std::string directory(directory_part(to));
    char temporary[MAX_PATH + 14] = {};
    if (directory.size() >= MAX_PATH ||
        GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "kcp", 0, temporary) == 0) {
        code = last_error_code();
        return;
    }
    if (!CopyFileA(from.c_str(), temporary, FALSE) ||
        !MoveFileExA(temporary, to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        code = last_error_code();
        DeleteFileA(temporary);
        return;
    }
    code = 0;
}

void sys_file_attributes_set(int attributes, int& code, std::string_view name)
{
    code = SetFileAttributesA(std::string(name).c_str(), static_cast<DWORD>(attributes))
               ? 0
               : last_error_code();
}

void sys_file_info(FileInfo& info, std::string_view name)
{
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA(std::string(name).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        info.size = -1;
        return;
    }
    FindClose(search);
    info.size = static_cast<int>(data.nFileSizeLow);
    info.size_kb = size_in_kilobytes((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    info.attributes = static_cast<int>(data.dwFileAttributes);
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &t);
    info.year = t.wYear;
    info.month = t.wMonth;
    info.day = t.wDay;
    info.hour = t.wHour;
    info.minute = t.wMinute;
    info.second = t.wSecond;
}

void sys_file_times_get(FileTimes& times, std::string_view name, int& code)
{
    times = FileTimes{};
    HANDLE h = CreateFileA(std::string(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = last_error_code();
        return;
    }
    FILETIME created{}, accessed{}, written{};
    code = GetFileTime(h, &created, &accessed, &written) ? 0 : last_error_code();
    CloseHandle(h);
    if (code != 0)
        return;
    times = {created.dwLowDateTime, created.dwHighDateTime, accessed.dwLowDateTime,
             accessed.dwHighDateTime, written.dwLowDateTime, written.dwHighDateTime};
}

void sys_file_times_set(const FileTimes& times, std::string_view name, int& code)
{
    HANDLE h = CreateFileA(std::string(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = last_error_code();
        return;
    }
    const FILETIME created{times.creation_low, times.creation_high};
    const FILETIME accessed{times.access_low, times.access_high};
    const FILETIME written{times.write_low, times.write_high};
    code = SetFileTime(h, &created, &accessed, &written) ? 0 : last_error_code();
    CloseHandle(h);
}

void sys_full_path(int& code, std::string_view name, std::span<char> buffer)
{
    const std::string in(name);
    const DWORD needed = GetFullPathNameA(in.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        code = last_error_code();
        text_copy_terminated(buffer.data(), buffer.size(), {});
        return;
    }
    std::string full(needed, '\0');
    const DWORD got = GetFullPathNameA(in.c_str(), needed, full.data(), nullptr);
    full.resize(got < needed ? got : 0);
    code = 0;
    text_copy_terminated(buffer.data(), buffer.size(), full);
}

// ---------------------------------------------------------------------------
// Directories

void sys_dir_current(std::span<char> buffer, int& code, int& truncated)
{
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::string path(needed, '\0');
    const DWORD got = needed ? GetCurrentDirectoryA(needed, path.data()) : 0;
    if (got == 0 || got >= needed) {
        code = last_error_code();
        truncated = 0;
        text_copy_terminated(buffer.data(), buffer.size(), {});
        return;
    }
    path.resize(got);
    code = 0;
    truncated = got + 1 > buffer.size() ? 1 : 0;
    text_copy_terminated(buffer.data(), buffer.size(), path);
}

void sys_dir_change(std::string_view path, int& code)
{
    code = SetCurrentDirectoryA(std::string(path).c_str()) ? 0 : last_error_code();
}

void sys_dir_create(std::string_view path, int& code)
{
    code = CreateDirectoryA(std::string(path).c_str(), nullptr) ? 0 : last_error_code();
}

void sys_dir_remove(std::string_view path, int& code)
{
    code = RemoveDirectoryA(std::string(path).c_str()) ? 0 : last_error_code();
}

namespace {

void take_entry(const WIN32_FIND_DATAA& data, DirEntry& entry)
{
    entry.name = data.cFileName;
    entry.attributes = static_cast<int>(data.dwFileAttributes);
    entry.size = static_cast<int>(data.nFileSizeLow);
    FILETIME local{};
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    entry.dos_date_time = (std::uint32_t{date} << 16) | time;
}

} // namespace

void sys_dir_first(int continue_search, std::string_view pattern, DirEntry& entry, int& found,
                   int& code)
{
    OsFilesState& state = os_files_state();
    WIN32_FIND_DATAA data{};
    found = 0;
    if (continue_search == 0) {
        // A new search replaces the kept one, which is closed first.
        sys_dir_search_close();
        HANDLE search = FindFirstFileA(std::string(pattern).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) {
            code = last_error_code();
            return;
        }
        state.dir_search = search;
    } else {
        if (state.dir_search == INVALID_HANDLE_VALUE) {
            code = ERROR_INVALID_HANDLE;
            return;
        }
        if (!FindNextFileA(state.dir_search, &data)) {
            code = last_error_code();
            return;
        }
    }
    take_entry(data, entry);
    found = 1;
    code = 0;
}

void sys_dir_search_close()
{
    OsFilesState& state = os_files_state();
    if (state.dir_search != INVALID_HANDLE_VALUE)
        FindClose(state.dir_search);
    state.dir_search = INVALID_HANDLE_VALUE;
}

void sys_find_executable(int& result, std::string_view document, std::span<char> program)
{
    char path[MAX_PATH] = {};
    const auto r = reinterpret_cast<std::intptr_t>(
        FindExecutableA(std::string(document).c_str(), nullptr, path));
    if (r == 2) {
        result = 1;
    } else if (r <= 31) {
        result = -1;
    } else {
        result = text_copy_terminated(program.data(), program.size(), path) ? 0 : err::text_too_small;
    }
}

} // namespace korv

// ---------------------------------------------------------------------------
// Public routines

namespace {


template <typename Byte>
void read_bytes(int handle, std::span<Byte> buffer, int count, int& bytes_read)
{
    // A count outside the caller's buffer is refused rather than read past it.
    if (count < 0 || static_cast<std::size_t>(count) > buffer.size()) {
        bytes_read = -1;
        korv::report_file_error(korv::err::file_read_write, ERROR_INVALID_PARAMETER, "IFileReadChar");
        return;
    }
    int code = 0;
    korv::sys_file_read(handle, std::as_writable_bytes(buffer.first(static_cast<std::size_t>(count))),
                        bytes_read, code);
    if (code != 0) {
        bytes_read = -1;
        korv::report_file_error(korv::err::file_read_write, code, "IFileReadChar");
    }
}

template <typename Byte>
void write_bytes(int handle, std::span<const Byte> buffer, int count, int& bytes_written)
{
    if (count < 0 || static_cast<std::size_t>(count) > buffer.size()) {
        bytes_written = -1;
        korv::report_file_error(korv::err::file_read_write, ERROR_INVALID_PARAMETER, "IFileWriteChar");
        return;
    }
    int code = 0;
    korv::sys_file_write(handle, std::as_bytes(buffer.first(static_cast<std::size_t>(count))),
                         bytes_written, code);
    if (code != 0) {
        bytes_written = -1;
        korv::report_file_error(korv::err::file_read_write, code, "IFileWriteChar");
    }
}

} // namespace

void IFileOpen(std::string_view name, int mode, int& handle)
{
    handle = -1;
    const std::string_view path = korv::file_name_trimmed(name);
    if (mode < 0 || mode > 2 || path.empty()) {
        korv::report_file_error(korv::err::file_open, 0, "IFileOpen");
        return;
    }
    int code = 0;
    korv::sys_file_open(path, mode, handle, code);
    if (code != 0) {
        handle = -1;
        korv::report_file_error(korv::err::file_open, code, "IFileOpen");
    }
}

void IFileCloseHandle(int handle)
{
    korv::sys_file_close(handle);
}

void IFileReadChar(int handle, std::span<char> buffer, int count, int& bytes_read)
{
    read_bytes(handle, buffer, count, bytes_read);
}

void IFileReadChar(int handle, std::span<signed char> buffer, int count, int& bytes_read)
{
    read_bytes(handle, buffer, count, bytes_read);
}

void IFileReadChar(int handle, std::span<unsigned char> buffer, int count, int& bytes_read)
{
    read_bytes(handle, buffer, count, bytes_read);
}

void IFileWriteChar(int handle, std::span<const char> buffer, int count, int& bytes_written)
{
    write_bytes(handle, buffer, count, bytes_written);
}

void IFileWriteChar(int handle, std::span<const signed char> buffer, int count, int& bytes_written)
{
    write_bytes(handle, buffer, count, bytes_written);
}

void IFileWriteChar(int handle, std::span<const unsigned char> buffer, int count,
                    int& bytes_written)
{
    write_bytes(handle, buffer, count, bytes_written);
}

void IFileSeek(int handle, int& offset, int origin)
{
    if (origin < 0 || origin > 2)
        return;
    int code = 0;
    korv::sys_file_seek(handle, offset, origin, code);
    if (code != 0) {
        offset = -1;
        korv::report_file_error(korv::err::file_read_write, code, "IFileSeek");
    }
}

namespace {

constexpr int directory_attribute = 16;

// Ends a search that ran out: anything but "no more files" is a failure.
void finish_search(int code, std::string_view routine)
{
    if (code != korv::sys_no_more_files)
        korv::report_os_error(korv::err::operating_system, code, routine);
    korv::sys_dir_search_close();
}

} // namespace

void IOsDeleteFile(std::string_view pattern_text)
{
    const std::string_view pattern = korv::text_trimmed(pattern_text);
    if (pattern.empty())
        return;
    const std::string_view directory = korv::directory_part(pattern);
    korv::DirEntry entry;
    int found = 0, code = 0;
    korv::sys_dir_first(0, pattern, entry, found, code);
    if (!found) {
        korv::report_os_error(korv::err::operating_system, code, "IOsDeleteFile");
        return;
    }
    while (found) {
        if ((entry.attributes & directory_attribute) == 0) {
            int delete_code = 0;
            korv::sys_file_delete(std::string(directory) + entry.name, delete_code);
            if (delete_code != 0)
                korv::report_os_error(korv::err::operating_system, delete_code, "IOsDeleteFile");
        }
        korv::sys_dir_first(1, {}, entry, found, code);
    }
    finish_search(code, "IOsDeleteFile");
}

void IOsCopyFile(std::string_view source_text, std::string_view target_text)
{
    const std::string_view source = korv::text_trimmed(source_text);
    if (source.empty())
        return;
    const std::string_view directory = korv::directory_part(source);
    const std::string_view target = korv::text_trimmed(target_text);

    if (korv::has_wildcard(source)) {
        const std::string target_directory = korv::copy_target_directory(target);
        korv::DirEntry entry;
        int found = 0, code = 0;
        korv::sys_dir_first(0, source, entry, found, code);
        if (!found) {
            korv::report_os_error(korv::err::operating_system, code, "IOsCopyFile");
            return;
        }
        while (found) {
            if ((entry.attributes & directory_attribute) == 0) {
                int copy_code = 0;
                korv::sys_file_copy(std::string(directory) + entry.name,
                                    target_directory + entry.name, copy_code);
                if (copy_code != 0) {
                    korv::report_os_error(korv::err::operating_system, copy_code, "IOsCopyFile");
                    korv::sys_dir_search_close();
                    return;
                }
            }
            korv::sys_dir_first(1, {}, entry, found, code);
        }
        finish_search(code, "IOsCopyFile");
        return;
    }

    const std::string full_target = korv::copy_target(source, target);
    if (full_target == source) {
        korv::report_os_error(korv::err::same_file, 0, "IOsCopyFile");
        return;
    }
    int code = 0;
    korv::sys_file_copy(source, full_target, code);
    if (code != 0)
        korv::report_os_error(korv::err::operating_system, code, "IOsCopyFile");
}
