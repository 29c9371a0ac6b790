// The toolkit's single error reporter and its message catalogue.
//
// Every public routine reports a failure by handing a number and its own
// name to err_report; nothing else in the toolkit shows or logs errors.
// By the report mode the text is dropped (0), written to the console (1),
// appended to the debug log file (2), shown in the root window's status
// bar (3) or shown in a message box whose Cancel ends the program (4).
#pragma once

#include "korvanthide/error_numbers.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace korv {

struct ErrorState {
    std::int32_t last_error = 0;      // number of the most recent report
    std::int32_t file_code = 0;       // goes with errors 1 and 2
    std::int32_t other_code = 0;      // goes with 13, 1035, 1044, 1072, 1083, 1084
    std::int32_t report_mode = 0;     // 0 silent .. 4 message box
    std::int32_t detail_category = 0; // 2: file_code is a system error code; 1: an I/O status
    // Name under which shared internal routines report, blank-padded.
    std::array<char, 32> routine_name = blank_routine_name();

    static constexpr std::array<char, 32> blank_routine_name()
    {
        std::array<char, 32> name{};
        name.fill(' ');
        return name;
    }
};

ErrorState& error_state();

// Stores the number, and shows the report text by the current mode.
void err_report(int number, std::string_view routine);
// Reports under the name kept in ErrorState::routine_name (trailing blanks cut);
// for internal routines shared by several public routines.
void err_report_current(int number);

// Sets the report mode when mode is 0..4; any other value is ignored.
void err_report_mode_set(int mode);
void err_number_store(int number);

// Runs run() with nothing shown and the last error number cleared; true when
// it reported nothing. The report mode and the last error number are put
// back afterwards, so a quiet check leaves no trace in the error state.
template <class Run>
bool err_silently(Run&& run)
{
    ErrorState& state = error_state();
    const std::int32_t saved_mode = state.report_mode;
    const std::int32_t saved_error = state.last_error;
    state.report_mode = 0;
    state.last_error = 0;
    run();
    const bool reported_nothing = state.last_error == 0;
    state.report_mode = saved_mode;
    state.last_error = saved_error;
    return reported_nothing;
}

// Stores a routine's name for the shared routines it calls (cut or padded to 32).
void err_routine_name_set(std::string_view name);
// The stored routine name without trailing blanks.
std::string_view err_routine_name();

// Where report texts go. The platform layer fills the system texts and the
// debug log; the window layer fills the status-bar and message-box entries
// when it exists. An empty entry means that output is not available: mode 2
// then writes nothing, mode 3 shows nothing, mode 4 acts as a box that could
// not be shown.
struct ErrorOutputs {
    // Mode 1: one line of text; by default written to standard output.
    std::function<void(std::string_view)> console_line;
    // Mode 2: one line appended to the debug log.
    std::function<void(std::string_view)> debug_log_line;
    // The system's text for a system error code (empty when none).
    std::function<std::string(int code)> system_text;
    // Mode 3: the current window number, making a window current, and
    // writing a text into a part of the current window's status bar.
    std::function<int()> current_window;
    std::function<void(int window)> select_window;
    std::function<void(int part, std::string_view text)> statusbar_text;
    // Mode 4: shows a message box (button set, icon, default answer, message,
    // title) and gives this box's own answer: 1 OK, 0 Cancel, 2 Abort/No,
    // -1 when it could not be shown.
    std::function<int(int buttons, int icon, int default_answer, std::string_view message,
                      std::string_view title)>
        message_box;
    // Ends the program after Cancel in mode 4; by default exit status 0.
    std::function<void()> end_program;
};

ErrorOutputs& error_outputs();

} // namespace korv
