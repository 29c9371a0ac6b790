// Shared by the Win32 files of the operating-system services: handle
// conversion, reporting and the services' state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// Handles travel as 32-bit ints at the interface (-1 no file).
inline int handle_to_int(HANDLE h)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}
inline HANDLE handle_from_int(int h)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(h));
}

inline int last_error_code()
{
    return static_cast<int>(GetLastError());
}

// One search at a time for the whole program.
struct OsFilesState {
    HANDLE dir_search = INVALID_HANDLE_VALUE;
};
OsFilesState& os_files_state();

// Reporting for the public routines: a file error (1, 2) with the system
// code as the file code, or an operating-system error (13, 55) with it as
// the other code.
void report_file_error(int number, int code, std::string_view routine);
void report_os_error(int number, int code, std::string_view routine);

} // namespace korv
