// The system-call layer of the file, process and system services that only
// the core's own routines call. Each failure comes back as the system's
// error code in an argument (0 for success); nothing here reports. Handles
// are the 32-bit system handles of the process, carried as int; -1 means
// no file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korv {

// ---------------------------------------------------------------------------
// Processes

// sys_execute flag bits.
inline constexpr int execute_hidden = 1;
inline constexpr int execute_wait = 2;
inline constexpr int execute_terminate_on_timeout = 4;
inline constexpr int execute_through_interpreter = 16;

// CreateProcess with a new console, shown normally; result 0 or the system
// code. The process handle is not kept.
void sys_process_start(int& result, std::string_view command);
// running 1 while the process runs; otherwise 0 and its exit code.
void sys_process_status(int process, int& running, int& exit_code);
void sys_process_terminate(int process, int exit_code);
void sys_process_close(int process);
// A task-modal error box without an owner window.
void sys_fatal_box(std::string_view caption, std::string_view text);

// ---------------------------------------------------------------------------
// Files by handle

// As sys_file_read, then reverses the byte order within every whole group of
// group_size bytes read (group_size 0: none).
void sys_file_read_swapped(int handle, std::span<std::byte> buffer, int& bytes_read,
                           int group_size, int& code);
void sys_file_write(int handle, std::span<const std::byte> buffer, int& bytes_written, int& code);
// Writes the bytes with the order reversed within every whole group; the
// caller's buffer is left as it was.
void sys_file_write_swapped(int handle, std::span<std::byte> buffer, int& bytes_written,
                            int group_size, int& code);

// ---------------------------------------------------------------------------
// Files by name and directories

void sys_file_delete(std::string_view name, int& code);
void sys_file_move(int& code, std::string_view old_name, std::string_view new_name);
// Overwrites an existing target.
void sys_file_copy(std::string_view source, std::string_view target, int& code);
void sys_file_attributes_set(int attributes, int& code, std::string_view name);

// Creation, last-access and last-write times, each as low and high halves.
// Getting them from a file that cannot be opened gives all zeros and code.
struct FileTimes {
    std::uint32_t creation_low = 0, creation_high = 0;
    std::uint32_t access_low = 0, access_high = 0;
    std::uint32_t write_low = 0, write_high = 0;
};
void sys_file_times_get(FileTimes& times, std::string_view name, int& code);
void sys_file_times_set(const FileTimes& times, std::string_view name, int& code);

// The full path, terminated, into buffer (cut at its size).
void sys_full_path(int& code, std::string_view name, std::span<char> buffer);
void sys_dir_change(std::string_view path, int& code);
void sys_dir_create(std::string_view path, int& code);
void sys_dir_remove(std::string_view path, int& code);

// The directory search: one at a time for the whole program. With
// continue_search 0 a new search for pattern starts (closing any kept one);
// otherwise the next entry of the kept search is taken and pattern is not
// looked at. found 1 with the entry; else found 0 and the code (18 after the
// last entry).
struct DirEntry {
    std::string name;
    int attributes = 0;
    std::uint32_t dos_date_time = 0;  // DOS date in the high half, time in the low
    int size = 0;                     // low 32 bits
};
inline constexpr int sys_no_more_files = 18;
void sys_dir_first(int continue_search, std::string_view pattern, DirEntry& entry, int& found,
                   int& code);
void sys_dir_search_close();

// result 0 with the program's path, 1 when the document is not found, 1023
// when the path does not fit the buffer, -1 on any other failure.
void sys_find_executable(int& result, std::string_view document, std::span<char> program);

// ---------------------------------------------------------------------------
// Disks and system information

void sys_disk_free_bytes(int& bytes);
void sys_disk_free_mb(int& megabytes);
void sys_volume_serial(std::uint32_t& serial, std::string_view root);
void sys_drive_type(int& type, std::string_view root);
void sys_os_version(int& major, int& minor);
// 1 U.S., 2 metric.
void sys_measurement_system(int& code);
void sys_date_get(int& year, int& month, int& day);
void sys_time_get(int& hour, int& minute, int& second, int& millisecond);

// ---------------------------------------------------------------------------
// Environment, registry, user and program

// length is the variable's length: 0 when not set, larger than the buffer's
// size less 1 when it does not fit (then the buffer holds nothing useful).
void sys_env_get(int& length, std::string_view name, std::span<char> buffer);
void sys_env_set(std::string_view name, std::string_view value);
std::string sys_command_line();
std::string sys_module_file_name();
// truncated 1 when the name was cut to the buffer's size less 1.
void sys_user_name(int& code, int& truncated, std::span<char> buffer);

// Root keys are the registry's predefined handles as 32-bit values
// (0x80000000 HKEY_CLASSES_ROOT, 0x80000001 HKEY_CURRENT_USER, ...).
void sys_reg_key_delete(std::uint32_t root, int& result, std::string_view key);
void sys_reg_value_delete(std::uint32_t root, int& result, std::string_view key,
                          std::string_view value);
// With an empty data buffer only type and size are set. On a failure other
// than "more data" the type is -2 and the size 0. When the key cannot be
// opened nothing is set.
void sys_reg_value_query(std::uint32_t root, int& type, int& size, std::string_view key,
                         std::string_view value, std::span<std::byte> data);
void sys_reg_value_set(std::uint32_t root, int type, int& result, std::string_view key,
                       std::string_view value, std::span<const std::byte> data);

} // namespace korv
