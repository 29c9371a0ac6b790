// Running the print command on a finished plot file.
#include "korvanthide/errors.h"
#include "korvanthide/files.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/control.h"

namespace korv {

namespace {

// Hidden, waited for, through the command interpreter.
constexpr int print_command_flags = 115;
constexpr int wait_without_limit = -1;

} // namespace

void YYPRNCMD(std::string_view command)
{
    int result = 0;
    int code = 0;
    int process = 0;
    sys_execute(command, print_command_flags, wait_without_limit, result, code, process);
    if (result == 0)
        return;
    if (result == err::operating_system)
        error_state().other_code = code;
    err_report(result, "YYPRNCMD");
}

} // namespace korv
