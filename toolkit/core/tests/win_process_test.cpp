// Starting programs and waiting for them, with a small child program that
// sleeps or exits with a given status.
#include "korvanthide/files.h"

#include "core/tests/win_osfiles_fixture.h"
#include "core/sys_files.h"

namespace {

using namespace osfiles_test;
using Processes = InTempDir;

std::string child(const std::string& arguments)
{
    std::string line(1, '"');
    line += program_directory();
    line += "core_osfiles_child.exe\" ";
    line += arguments;
    return line;
}

int exit_status(int process)
{
    int running = 1, status = -1;
    for (int i = 0; i < 500 && running; ++i) {
        korv::sys_process_status(process, running, status);
        if (running)
            Sleep(10);
    }
    return running ? -999 : status;
}

TEST_F(Processes, TimeOutLeavesTheProgramRunningOrEndsIt)
{
    int result = 0, code = 0, process = 0;
    korv::sys_execute(child("sleep 20000"), korv::execute_wait | korv::execute_hidden, 0, result,
                      code, process);
    EXPECT_EQ(result, 1034);
    ASSERT_NE(process, 0);
    int running = 0, status = 0;
    korv::sys_process_status(process, running, status);
    EXPECT_EQ(running, 1);
    korv::sys_process_terminate(process, 9);
    EXPECT_EQ(exit_status(process), 9);
    korv::sys_process_close(process);

    korv::sys_execute(child("sleep 20000"),
                      korv::execute_wait | korv::execute_hidden | korv::execute_terminate_on_timeout,
                      50, result, code, process);
    EXPECT_EQ(result, 1034);
    EXPECT_EQ(process, 0);  // ended and closed here
}

TEST_F(Processes, WaitingUntilTheEnd)
{
    struct Case {
        std::string command;
        int flags, timeout;
    };
    const Case cases[] = {
        {child("exit 7"), korv::execute_wait | korv::execute_hidden, -1},
        {child("sleep 100"), korv::execute_wait | korv::execute_hidden, 20000},
        {"cmd.exe /c exit 3", korv::execute_wait | korv::execute_hidden, -1},
        {"exit 3", korv::execute_wait | korv::execute_hidden | korv::execute_through_interpreter,
         20000},
    };
    for (const Case& c : cases) {
        int result = -1, code = -1, process = -1;
        korv::sys_execute(c.command, c.flags, c.timeout, result, code, process);
        EXPECT_EQ(result, 0) << c.command;
        EXPECT_EQ(code, 0) << c.command;
        EXPECT_EQ(process, 0) << c.command;
    }
}

TEST_F(Processes, DetachedStartHandsOutTheProcess)
{
    int result = -1, code = -1, process = 0;
    korv::sys_execute(child("exit 5"), korv::execute_hidden, 0, result, code, process);
    EXPECT_EQ(result, 0);
    ASSERT_NE(process, 0);
    EXPECT_EQ(exit_status(process), 5);
    korv::sys_process_close(process);
}

TEST_F(Processes, MissingProgramIsResult13WithTheSystemCode)
{
    for (const char* command : {"no_such_program_here.exe", ""}) {
        int result = 0, code = 0, process = 7;
        korv::sys_execute(command, korv::execute_wait, -1, result, code, process);
        EXPECT_EQ(result, 13) << command;
        EXPECT_NE(code, 0) << command;
        EXPECT_EQ(process, 0);
    }
    int result = 0;
    korv::sys_process_start(result, "no_such_program_here.exe");
    EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
}

} // namespace
