// The reporter's Windows outputs, each run in a fresh child process in a
// directory of its own: the debug log's names and lines, and the console.
#include "korvanthide/errors.h"
#include "core/errors_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Handle {
    HANDLE h = nullptr;
    explicit Handle(HANDLE handle) : h(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    HANDLE get() const { return h; }
};

std::string directory_of_this_program()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

// A fresh empty directory under the temporary directory, removed with
// what the test put in it.
class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "korv_errors_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++counter);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempDir()
    {
        for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
            const std::string p = file(name);
            if (!DeleteFileA(p.c_str()))
                RemoveDirectoryA(p.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string file(const char* name) const { return path_ + "\\" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct ChildResult {
    DWORD exit_code = 999;
    std::string output;
};

ChildResult run_child(const TempDir& dir, const std::string& args)
{
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    EXPECT_TRUE(CreatePipe(&read_end, &write_end, &sa, 0));
    Handle reader(read_end), writer(write_end);
    SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writer.get();
    si.hStdError = writer.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string exe = directory_of_this_program() + "core_errors_child.exe";
    std::string command = "\"" + exe + "\" " + args;
    ChildResult result;
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        dir.path().c_str(), &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe;
        return result;
    }
    Handle process(pi.hProcess), thread(pi.hThread);
    CloseHandle(writer.h);
    writer.h = nullptr;
    char buffer[512];
    DWORD n = 0;
    while (ReadFile(reader.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        result.output.append(buffer, n);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &result.exit_code);
    return result;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string system_text(DWORD code)
{
    char buffer[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                   buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    return text.substr(0, text.find_last_not_of(" \r\n") + 1);
}

TEST(ErrorsDebugLog, FirstReportReplacesDebugFileAndWritesCrLfLines)
{
    TempDir dir;
    std::ofstream(dir.file("debug"), std::ios::binary) << "an older run's log, longer than the new one "
                                                         << std::string(2000, 'x');
    const ChildResult r = run_child(dir, "2 1:IFileOpen:2:2:0 1007:WDialogLoad:0:0:0 "
                                         "1:IFileOpen:1:2:0 5:YYWINSEL:0:0:0 value:count:-42 value:" +
                                         std::string(120, 'n') + ":7");
    EXPECT_EQ(r.exit_code, 0u);
    ASSERT_FALSE(system_text(2).empty());
    const std::string expected =
        "Routine:IFileOpen Error=   1:Error opening file or device: " + system_text(2) + "\r\n"
        "Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load\r\n"
        "Routine:IFileOpen Error=   1:Error opening file or device\r\n"
        "Internal routine:YYWINSEL Error=   5:\r\n"
        "count=-42\r\n" +
        // A value line keeps to 100 characters: the name gives way.
        std::string(96, 'n') + "=7\r\n";
    EXPECT_EQ(read_file(dir.file("debug")), expected);
    EXPECT_FALSE(exists(dir.file("debug.txt")));
    EXPECT_TRUE(r.output.empty()) << r.output;
}

TEST(ErrorsDebugLog, FallsBackToTxtThenDat)
{
    const std::string line = "Routine:IFileSeek Error=   2:Error reading/writing file or device\r\n";
    {
        TempDir dir;
        CreateDirectoryA(dir.file("debug").c_str(), nullptr);
        EXPECT_EQ(run_child(dir, "2 2:IFileSeek:1:38:0").exit_code, 0u);
        EXPECT_EQ(read_file(dir.file("debug.txt")), line);
        EXPECT_FALSE(exists(dir.file("debug.dat")));
    }
    {
        TempDir dir;
        CreateDirectoryA(dir.file("debug").c_str(), nullptr);
        CreateDirectoryA(dir.file("debug.txt").c_str(), nullptr);
        EXPECT_EQ(run_child(dir, "2 2:IFileSeek:1:38:0").exit_code, 0u);
        EXPECT_EQ(read_file(dir.file("debug.dat")), line);
    }
    {
        // No name can be created: the lines are lost and nothing fails.
        TempDir dir;
        for (const char* name : {"debug", "debug.txt", "debug.dat"})
            CreateDirectoryA(dir.file(name).c_str(), nullptr);
        EXPECT_EQ(run_child(dir, "2 2:IFileSeek:1:38:0 3:IFileClose:0:0:0").exit_code, 0u);
    }
}

TEST(ErrorsDebugLog, OtherModesCreateNoLog)
{
    TempDir dir;
    ChildResult r = run_child(dir, "0 1007:WDialogLoad:0:0:0");
    EXPECT_EQ(r.exit_code, 0u);
    EXPECT_TRUE(r.output.empty());
    EXPECT_FALSE(exists(dir.file("debug")));

    r = run_child(dir, "1 1007:WDialogLoad:0:0:0 1044:WUnCompress:0:0:-3");
    EXPECT_EQ(r.exit_code, 0u);
    EXPECT_FALSE(exists(dir.file("debug")));
    // The console gets each text as one line behind a blank; the C library
    // may turn the line end into CR LF.
    std::string out = r.output;
    for (std::size_t p; (p = out.find("\r\n")) != std::string::npos;)
        out.erase(p, 1);
    EXPECT_EQ(out, " Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load\n"
                   " Routine:WUnCompress Error=1044:Zlib compression/decompression error: data error\n");
}

TEST(ErrorsMessageBox, OnlyThisBoxsCancelEndsTheProgramWithStatusZero)
{
    TempDir dir;
    EXPECT_EQ(run_child(dir, "4 exit:5 box:0 1007:WDialogLoad:0:0:0 9:IFileOpen:0:0:0").exit_code, 0u);
    EXPECT_EQ(run_child(dir, "4 exit:5 box:1 1007:WDialogLoad:0:0:0").exit_code, 5u);
    EXPECT_EQ(run_child(dir, "4 exit:5 box:-1 1007:WDialogLoad:0:0:0").exit_code, 5u)
        << "a box that could not be shown does not end the program";
    EXPECT_EQ(run_child(dir, "4 exit:5 1007:WDialogLoad:0:0:0").exit_code, 5u);
    EXPECT_FALSE(exists(dir.file("debug")));
}

TEST(ErrorsSystemText, CategoriesTwoAndFourGiveTheSystemsText)
{
    char buffer[600];
    korv::err_message_text(5, buffer, 2);
    const std::string expected = system_text(5);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(std::string(buffer, expected.size()), expected);
    EXPECT_EQ(std::string(buffer + expected.size(), sizeof buffer - expected.size()),
              std::string(sizeof buffer - expected.size(), ' '));
    char other[600];
    korv::err_message_text(5, other, 4);
    EXPECT_EQ(std::string(other, sizeof other), std::string(buffer, sizeof buffer));
}

} // namespace
