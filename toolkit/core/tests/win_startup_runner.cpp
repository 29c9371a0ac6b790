#include "core/tests/win_startup_runner.h"

#include <fstream>
#include <sstream>

namespace startup_test {

namespace {

std::string directory_of_this_program()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

bool controlled(const std::string& entry)
{
    static const char* names[] = {"KORVAN=", "QUDE=", "KORVINIT=", "KORVDEBUG=", "TEMP=", "TMP="};
    for (const char* name : names)
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, entry.c_str(),
                           static_cast<int>(strlen(name)), name, -1) == CSTR_EQUAL)
            return true;
    return false;
}

std::string environment_block(const Environment& env)
{
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += strlen(p) + 1)
        if (!controlled(p))
            block.append(p).push_back('\0');
    FreeEnvironmentStringsA(strings);
    for (const auto& [name, value] : env)
        if (!value.empty())
            block.append(name + "=" + value).push_back('\0');
    block.push_back('\0');
    return block;
}

} // namespace

TempDir::TempDir()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path_ = std::string(base) + "korvstart" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((path_ + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    const std::string full = path_ + name;
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

bool TempDir::exists(const std::string& name) const
{
    return GetFileAttributesA((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

PROCESS_INFORMATION start_probe(const TempDir& dir, const Environment& env, const std::string& args)
{
    const std::string exe = directory_of_this_program() + "core_startup_probe.exe";
    std::string command = "\"" + exe + "\" \"" + dir.path() + "report.txt\" " + args;
    std::string block = environment_block(env);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, block.data(),
                        dir.path().c_str(), &startup, &process))
        process = {};
    return process;
}

ProbeResult run_probe(const TempDir& dir, const Environment& env, const std::string& args)
{
    ProbeResult result;
    DeleteFileA((dir.path() + "report.txt").c_str());
    PROCESS_INFORMATION process = start_probe(dir, env, args);
    if (!process.hProcess) {
        result.exit_code = 0xFFFFFFFF;
        return result;
    }
    // Start-up never waits for anyone here; a probe that still runs after a
    // minute is stuck (a box nobody answers) and is ended.
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 0xDEAD);
    GetExitCodeProcess(process.hProcess, &result.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream in(dir.path() + "report.txt");
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            result.report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
}

} // namespace startup_test
