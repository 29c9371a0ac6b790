#include "testing/cups_pdf.h"

#include "testing/test_time.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace korv::testing {
namespace {

struct FoundFile {
    std::string name;
    unsigned long long written;
};

// Files in a Unix directory seen through Wine's Z: drive.
std::vector<FoundFile> files_in(const std::string& dir)
{
    std::vector<FoundFile> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const unsigned long long written =
            (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
            found.ftLastWriteTime.dwLowDateTime;
        files.push_back({dir + "\\" + found.cFileName, written});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// cups-pdf makes the file before it writes into it: a PDF is only finished
// once its last bytes hold the end-of-file marker.
bool finished(const std::string& name)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char tail[64] = {};
    DWORD got = 0;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size > 0) {
        const DWORD want = size < sizeof tail ? size : static_cast<DWORD>(sizeof tail);
        if (SetFilePointer(file, static_cast<LONG>(size - want), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
            ReadFile(file, tail, want, &got, nullptr);
    }
    CloseHandle(file);
    return std::string_view(tail, got).find("%%EOF") != std::string_view::npos;
}

// cups-pdf names the file after the job's title, in the output directory
// of the user that printed: root's, the anonymous one, or $HOME's.
std::vector<std::string> pdf_dirs()
{
    std::vector<std::string> dirs = {"Z:\\root\\PDF", "Z:\\var\\spool\\cups-pdf\\ANONYMOUS"};
    char home[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("HOME", home, MAX_PATH);
    if (length > 0 && length < MAX_PATH && home[0] == '/') {
        std::string dir = std::string("Z:") + home + "/PDF";
        for (char& c : dir)
            if (c == '/')
                c = '\\';
        if (dir != dirs[0])
            dirs.push_back(dir);
    }
    return dirs;
}

} // namespace

PrintedPdfWatch::PrintedPdfWatch()
{
    for (const std::string& dir : pdf_dirs())
        for (const FoundFile& file : files_in(dir))
            before_[file.name] = file.written;
}

std::string PrintedPdfWatch::wait_for(const std::string& title) const
{
    const std::vector<std::string> dirs = pdf_dirs();
    const DWORD limit = scaled_ms(120'000);
    const DWORD start = GetTickCount();
    do {
        for (const std::string& dir : dirs)
            for (const FoundFile& file : files_in(dir)) {
                if (!file.name.ends_with(".pdf") || file.name.find(title) == std::string::npos)
                    continue;
                const auto earlier = before_.find(file.name);
                if (earlier != before_.end() && earlier->second == file.written)
                    continue;
                if (finished(file.name))
                    return file.name;
            }
        Sleep(100);
    } while (GetTickCount() - start < limit);
    return {};
}

} // namespace korv::testing
