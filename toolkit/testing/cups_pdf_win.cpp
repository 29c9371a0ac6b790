#include "testing/cups_pdf.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace {

// Files in a Unix directory seen through Wine's Z: drive.
std::vector<std::string> files_in(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(dir + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
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
        dirs.push_back(dir);
    }
    return dirs;
}

} // namespace

std::string printed_pdf(const std::string& title, const std::set<std::string>& earlier)
{
    const std::vector<std::string> dirs = pdf_dirs();
    for (int tries = 0; tries < 600; ++tries) {
        for (const std::string& dir : dirs)
            for (const std::string& name : files_in(dir))
                if (name.find(title) != std::string::npos && name.ends_with(".pdf") && !earlier.contains(name) &&
                    finished(name))
                    return name;
        Sleep(100);
    }
    return {};
}

std::set<std::string> printed_pdfs_now()
{
    std::set<std::string> names;
    for (const std::string& dir : pdf_dirs())
        for (const std::string& name : files_in(dir))
            names.insert(name);
    return names;
}
