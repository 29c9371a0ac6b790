#include "core/tests/win_osfiles_fixture.h"
#include "core/errors_text.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace osfiles_test {

namespace {

std::string temp_base()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "korv_osfiles_" + std::to_string(GetCurrentProcessId());
}

// Removes a directory with everything in it.
void remove_tree(const std::string& dir)
{
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

// The debug log is created once per run, in the directory current at that
// moment, and stays open: it gets a directory that outlives the tests.
class LogEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // Directories of earlier runs, whose logs are closed now.
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((std::string(base) + "korv_osfiles_*").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do
                remove_tree(std::string(base) + data.cFileName);
            while (FindNextFileA(h, &data));
            FindClose(h);
        }
        CreateDirectoryA(temp_base().c_str(), nullptr);
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(temp_base().c_str());
        korv::sys_debug_log_open();
        SetCurrentDirectoryA(previous);
    }
};

const auto* const log_environment = ::testing::AddGlobalTestEnvironment(new LogEnvironment);

} // namespace

std::string read_whole(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_whole(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool exists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string program_directory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string debug_log()
{
    // The log stays open for writing; read it through a handle that allows that.
    HANDLE h = CreateFileA((temp_base() + "\\debug").c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(h);
    return text;
}

bool log_ends_with(const std::string& line)
{
    const std::string text = debug_log();
    const std::string tail = line + "\r\n";
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void InTempDir::SetUp()
{
    static int counter = 0;
    dir_ = temp_base() + "\\t" + std::to_string(++counter);
    CreateDirectoryA(dir_.c_str(), nullptr);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    previous_ = previous;
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
    korv::error_state() = korv::ErrorState{};
}

void InTempDir::TearDown()
{
    korv::error_state() = korv::ErrorState{};
    SetCurrentDirectoryA(previous_.c_str());
    remove_tree(dir_);
}

} // namespace osfiles_test
