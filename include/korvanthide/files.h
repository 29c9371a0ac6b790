// Operating-system services and byte-level files.
//
// Two layers. The public routines (IFile..., IOs...) take blank-padded texts
// and report failures through the error reporter. The system-call layer
// (korv::sys_...) reports nothing: each failure comes back as the system's
// error code in an argument (0 for success), and the caller decides.
//
// Handles are the 32-bit system handles of the program's process, carried as
// int; -1 means no file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------
// Public routines

// Opens the name (from its first character that is neither blank nor zero
// byte to its last non-blank one). Mode 0 reads an existing file (others may
// read and write it), 1 creates or empties a file for writing (others may
// read), 2 reads and writes an existing file in place. On failure the handle
// is -1 and error 1 is reported.
void IFileOpen(std::string_view name, int mode, int& handle);
void IFileCloseHandle(int handle);

// Reads up to count bytes into buffer; 0 bytes read means the end of the
// file. A failed read (or a count outside the buffer) reports error 2 and
// gives -1. The three forms behave alike.
void IFileReadChar(int handle, std::span<char> buffer, int count, int& bytes_read);
void IFileReadChar(int handle, std::span<signed char> buffer, int count, int& bytes_read);
void IFileReadChar(int handle, std::span<unsigned char> buffer, int count, int& bytes_read);

// Writes count bytes of buffer at the current position. A failed write (or a
// count outside the buffer) reports error 2 and gives -1.
void IFileWriteChar(int handle, std::span<const char> buffer, int count, int& bytes_written);
void IFileWriteChar(int handle, std::span<const signed char> buffer, int count, int& bytes_written);
void IFileWriteChar(int handle, std::span<const unsigned char> buffer, int count, int& bytes_written);

// Moves the position: origin 0 from the start, 1 from the current position,
// 2 from the end; offset comes back as the new position from the start. Any
// other origin does nothing. A failed seek reports error 2 and gives -1.
void IFileSeek(int handle, int& offset, int origin);

// Deletes every file that matches a name or wildcard pattern (directories
// are left alone). Error 13 with the system code.
void IOsDeleteFile(std::string_view pattern);

// Copies one file, or with a wildcard source every matching file into the
// target directory, overwriting. A target ending in "\" or ":" (or blank)
// takes the source's file name. Error 13 with the system code; 55 when source
// and target are the same name.
void IOsCopyFile(std::string_view source, std::string_view target);

// The value of an environment variable (trailing blanks of the name cut),
// blank-padded; blank when it is not set or empty. A value longer than the
// text reports 1023 and leaves the text blank.
void IOsVariable(std::string_view name, std::span<char> value);

namespace korv {

// The system-call layer, as far as the other subsystems use it.

// Starts a program and optionally waits for it. result: 0, 13 (start or wait
// failed; code holds the system code) or 1034 (the time-out passed).
// process is the process handle when the caller is to keep it (no wait, or a
// time-out without terminate), else 0; the caller closes it with
// sys_process_close. A negative time-out waits without limit, keeping the
// program's windows painted.
void sys_execute(std::string_view command, int flags, int timeout_ms, int& result, int& code,
                 int& process);
[[noreturn]] void sys_exit_process(int exit_code);

// truncated 1 when the path needs more places than the buffer's size less 1.
void sys_dir_current(std::span<char> buffer, int& code, int& truncated);

// Modes as IFileOpen. handle -1 and the system code on failure.
void sys_file_open(std::string_view name, int mode, int& handle, int& code);
void sys_file_close(int handle);
// 0 bytes without error at the end of the file; 0 bytes and the code on
// failure.
void sys_file_read(int handle, std::span<std::byte> buffer, int& bytes_read, int& code);
// origin 0 start, 1 current, 2 end, anything else start. offset comes back
// as the new position, -1 with the code on failure.
void sys_file_seek(int handle, int& offset, int origin, int& code);

// Size (low 32 bits), local time of the last write, attributes and size in
// 1024-byte units (a partly used one counting whole). When the file is not
// found only size is set, to -1. A running directory search is not touched.
struct FileInfo {
    int size = -1;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int attributes = 0;
    int size_kb = 0;
};
void sys_file_info(FileInfo& info, std::string_view name);

// 2 Win32s, 3 Windows 95/98/Me, 4 Windows NT.
void sys_os_platform(int& code);
// The system's text for an error code, terminated, cut at the buffer's size.
void sys_format_message(int code, std::span<char> buffer);
std::string sys_format_message(int code);

} // namespace korv
