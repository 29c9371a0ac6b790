// Disks, system information, environment, registry, user and program.
#include "core/win_os.h"

#include <climits>

#include "korvanthide/errors.h"
#include "korvanthide/files.h"
#include "korvanthide/fixed_text.h"
#include "core/sys_files.h"

namespace korv {

namespace {

using DiskFreeEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

DiskFreeEx disk_free_ex()
{
    return reinterpret_cast<DiskFreeEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
}

// The free bytes available to the caller on the current drive; false when
// the extended call is missing or fails.
bool free_bytes_ex(std::uint64_t& bytes)
{
    DiskFreeEx get = disk_free_ex();
    ULARGE_INTEGER available{}, total{}, free{};
    if (!get || !get(nullptr, &available, &total, &free))
        return false;
    bytes = available.QuadPart;
    return true;
}

// The old calculation: sectors per cluster times bytes per sector times free
// clusters, in 32 bits as the old call gives it.
std::uint32_t free_bytes_old()
{
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    if (!GetDiskFreeSpaceA(nullptr, &sectors, &bytes, &free, &total))
        return 0;
    return static_cast<std::uint32_t>(sectors) * static_cast<std::uint32_t>(bytes) *
           static_cast<std::uint32_t>(free);
}

HKEY root_key(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(root));
}

// An open registry key, closed when it goes out of scope.
struct RegKey {
    HKEY key = nullptr;
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey()
    {
        if (key)
            RegCloseKey(key);
    }
};

} // namespace

// ---------------------------------------------------------------------------
// Disks and system information

void sys_disk_free_bytes(int& bytes)
{
    int platform = 0;
    sys_os_platform(platform);
    std::uint64_t ex = 0;
    // Larger drives are reported at this cap, which still fits an int.
    constexpr std::uint64_t cap = 2147155968;
    if (platform == 4 && free_bytes_ex(ex)) {
        bytes = static_cast<int>(ex > cap ? cap : ex);
        return;
    }
    bytes = static_cast<int>(free_bytes_old());
}

void sys_disk_free_mb(int& megabytes)
{
    std::uint64_t ex = 0;
    if (free_bytes_ex(ex)) {
        megabytes = static_cast<int>(static_cast<std::uint32_t>(ex >> 20));
        return;
    }
    megabytes = static_cast<int>(free_bytes_old() >> 20);
}

void sys_volume_serial(std::uint32_t& serial, std::string_view root)
{
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD value = 0;
    if (!GetVolumeInformationA(std::string(root).c_str(), nullptr, 0, &value, nullptr, nullptr,
                               nullptr, 0))
        value = 0;
    SetErrorMode(previous);
    serial = value;
}

void sys_drive_type(int& type, std::string_view root)
{
    type = static_cast<int>(GetDriveTypeA(std::string(root).c_str()));
}

void sys_os_version(int& major, int& minor)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    major = static_cast<int>(info.dwMajorVersion);
    minor = static_cast<int>(info.dwMinorVersion);
}

void sys_os_platform(int& code)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    code = info.dwPlatformId == VER_PLATFORM_WIN32s        ? 2
           : info.dwPlatformId == VER_PLATFORM_WIN32_NT    ? 4
                                                           : 3;
}

void sys_measurement_system(int& code)
{
    char value[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, value, sizeof value);
    code = value[0] == '1' ? 1 : 2;
}

void sys_date_get(int& year, int& month, int& day)
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    year = t.wYear;
    month = t.wMonth;
    day = t.wDay;
}

void sys_time_get(int& hour, int& minute, int& second, int& millisecond)
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    hour = t.wHour;
    minute = t.wMinute;
    second = t.wSecond;
    millisecond = t.wMilliseconds;
}

std::string sys_format_message(int code)
{
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code),
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text,
                                   nullptr);
    return std::string(text, n < sizeof text ? n : 0);
}

void sys_format_message(int code, std::span<char> buffer)
{
    text_copy_terminated(buffer.data(), buffer.size(), sys_format_message(code));
}

// ---------------------------------------------------------------------------
// Environment, user and program

void sys_env_get(int& length, std::string_view name, std::span<char> buffer)
{
    const DWORD size = buffer.size() > UINT_MAX ? UINT_MAX : static_cast<DWORD>(buffer.size());
    const DWORD n = GetEnvironmentVariableA(std::string(name).c_str(),
                                            size ? buffer.data() : nullptr, size);
    length = static_cast<int>(n);
    // A value that did not fit leaves nothing useful in the buffer.
    if (n >= size && size > 0)
        buffer[0] = '\0';
}

void sys_env_set(std::string_view name, std::string_view value)
{
    SetEnvironmentVariableA(std::string(name).c_str(), std::string(value).c_str());
}

std::string sys_command_line()
{
    return GetCommandLineA();
}

std::string sys_module_file_name()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void sys_user_name(int& code, int& truncated, std::span<char> buffer)
{
    char name[257] = {};
    DWORD size = sizeof name;
    truncated = 0;
    if (!GetUserNameA(name, &size)) {
        code = last_error_code();
        text_copy_terminated(buffer.data(), buffer.size(), {});
        return;
    }
    code = 0;
    truncated = text_copy_terminated(buffer.data(), buffer.size(), name) ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Registry

void sys_reg_key_delete(std::uint32_t root, int& result, std::string_view key)
{
    result = static_cast<int>(RegDeleteKeyA(root_key(root), std::string(key).c_str()));
}

void sys_reg_value_delete(std::uint32_t root, int& result, std::string_view key,
                          std::string_view value)
{
    RegKey k;
    if (RegOpenKeyExA(root_key(root), std::string(key).c_str(), 0, KEY_SET_VALUE, &k.key) !=
        ERROR_SUCCESS) {
        k.key = nullptr;
        result = 2;
        return;
    }
    result = static_cast<int>(RegDeleteValueA(k.key, std::string(value).c_str()));
}

void sys_reg_value_query(std::uint32_t root, int& type, int& size, std::string_view key,
                         std::string_view value, std::span<std::byte> data)
{
    RegKey k;
    if (RegOpenKeyExA(root_key(root), std::string(key).c_str(), 0, KEY_QUERY_VALUE, &k.key) !=
        ERROR_SUCCESS) {
        k.key = nullptr;
        return;
    }
    // The caller's size is its capacity, never more than the buffer it gave.
    DWORD capacity = size < 0 ? 0 : static_cast<DWORD>(size);
    if (capacity > data.size())
        capacity = static_cast<DWORD>(data.size());
    DWORD value_type = 0;
    const LONG r = RegQueryValueExA(k.key, std::string(value).c_str(), nullptr, &value_type,
                                    capacity ? reinterpret_cast<BYTE*>(data.data()) : nullptr,
                                    &capacity);
    if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) {
        type = -2;
        size = 0;
        return;
    }
    type = static_cast<int>(value_type);
    size = static_cast<int>(capacity);
}

void sys_reg_value_set(std::uint32_t root, int type, int& result, std::string_view key,
                       std::string_view value, std::span<const std::byte> data)
{
    RegKey k;
    DWORD disposition = 0;
    LONG r = RegCreateKeyExA(root_key(root), std::string(key).c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &k.key, &disposition);
    if (r != ERROR_SUCCESS) {
        k.key = nullptr;
        result = static_cast<int>(r);
        return;
    }
    r = RegSetValueExA(k.key, std::string(value).c_str(), 0, static_cast<DWORD>(type),
                       reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    result = static_cast<int>(r);
}

} // namespace korv

// ---------------------------------------------------------------------------

void IOsVariable(std::string_view name, std::span<char> value)
{
    std::string buffer(value.size() + 1, '\0');
    int length = 0;
    korv::sys_env_get(length, korv::text_trimmed(name), buffer);
    if (length > static_cast<int>(value.size())) {
        korv::text_assign(value, {});
        korv::err_report(korv::err::text_too_small, "IOsVariable");
        return;
    }
    korv::text_assign(value, std::string_view(buffer.data(), static_cast<std::size_t>(length)));
}
