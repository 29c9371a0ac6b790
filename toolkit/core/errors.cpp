// The error reporter: builds the report text and hands it to the output of
// the current report mode. The outputs that need Windows are reached through
// ErrorOutputs, so this file stays platform-free.
#include "korvanthide/errors.h"

#include "korvanthide/fixed_text.h"
#include "core/context.h"
#include "core/errors_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace korv {
namespace {

// The database diagnostic: a five-character state and a message. Nothing in
// the toolkit stores one, so both stay empty; the detail of 1106 and 1108
// is then blank.
struct DatabaseDiagnostic {
    std::array<char, 6> state{};
    std::array<char, 512> message{};
};

DatabaseDiagnostic& database_diagnostic()
{
    return toolkit_context().record<DatabaseDiagnostic>(ContextSlot::database_diagnostic);
}

std::string_view trim_right(std::string_view text)
{
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// The part of a buffer before its first zero byte.
std::string_view before_zero(std::string_view text)
{
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

// The number in integer format of width 4: right-justified, or four
// asterisks when it does not fit.
std::string number_places(int number)
{
    if (number < -999 || number > 9999)
        return "****";
    std::array<char, 8> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    std::string text(4 - static_cast<std::size_t>(end - digits.data()), ' ');
    text.append(digits.data(), end);
    return text;
}

bool internal_name(std::string_view routine)
{
    if (routine.size() < 2)
        return false;
    const std::string_view two = routine.substr(0, 2);
    return two == "YY" || two == "yy" || two == "XX" || two == "xx";
}

// The detail that goes with a number: its category and code, or category 0
// for none.
struct DetailSource {
    int category = 0;
    int code = 0;
};

DetailSource detail_source(int number, const ErrorState& st)
{
    switch (number) {
    case err::file_open:
    case err::file_read_write:
        return st.detail_category == 2 ? DetailSource{2, st.file_code} : DetailSource{};
    case err::operating_system:
    case err::image_save_api:
    case err::mail_attachments:
        return {2, st.other_code};
    case err::opengl:
        return {4, st.other_code};
    case err::compression:
        return {3, st.other_code};
    case err::sql_statement:
    case err::rowset_fetch:
        return {5, st.other_code};
    case err::mail_program:
        return {6, st.other_code};
    case err::sound_api:
        return {7, st.other_code};
    default:
        return {};
    }
}

// Appends src to text without letting text grow beyond the report buffer.
void append_bounded(std::string& text, std::string_view src)
{
    if (text.size() < err_report_capacity)
        text.append(src.substr(0, err_report_capacity - text.size()));
}

void console_default(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

ErrorOutputs make_default_outputs()
{
    ErrorOutputs outputs;
    outputs.console_line = console_default;
    outputs.end_program = [] { std::exit(0); };
    err_outputs_platform(outputs);
    return outputs;
}

void show_in_status_bar(const ErrorOutputs& out, std::string_view text)
{
    if (!out.current_window || !out.select_window || !out.statusbar_text)
        return;
    const int current = out.current_window();
    out.select_window(0);
    out.statusbar_text(1, text);
    // The reporting routine may be in the middle of drawing into its own
    // window; give it back the window it had.
    out.select_window(current);
}

void show_in_message_box(const ErrorOutputs& out, const ErrorReportText& report)
{
    if (!out.message_box)
        return;
    std::string message = report.head;
    message += '\r';
    message += report.number;
    message += '\r';
    message += report.message;
    // OK and Cancel, exclamation icon, OK the default.
    const int answer = out.message_box(1, 3, 1, message, "Library Error");
    // Only this box's own Cancel ends the program: a box that could not be
    // shown leaves no answer of its own and must not end it.
    if (answer == 0 && out.end_program)
        out.end_program();
}

} // namespace

ErrorState& error_state()
{
    return toolkit_context().record<ErrorState>(ContextSlot::errors);
}

ErrorOutputs& error_outputs()
{
    return toolkit_context().record<ErrorOutputs>(ContextSlot::report_outputs, make_default_outputs);
}

void err_number_store(int number)
{
    error_state().last_error = number;
}

void err_report_mode_set(int mode)
{
    if (mode >= 0 && mode <= 4)
        error_state().report_mode = mode;
}

void err_routine_name_set(std::string_view name)
{
    text_assign(error_state().routine_name, name);
}

std::string_view err_routine_name()
{
    const auto& name = error_state().routine_name;
    return trim_right(std::string_view(name.data(), name.size()));
}

void err_message_text(int code, std::span<char> dest, int category)
{
    switch (category) {
    case 1:
        text_assign(dest, err_catalogue_text(code));
        break;
    case 2:
    case 4: {
        std::string text;
        if (code != 0 && error_outputs().system_text)
            text = error_outputs().system_text(code);
        // The system's text is fetched into a buffer of 512 with its zero byte.
        std::string_view view = before_zero(text);
        view = view.substr(0, std::min(view.size(), err_detail_capacity - 1));
        // The system ends its texts with a line break; kept, it would split
        // a report in the debug log and the status bar into two lines.
        while (!view.empty() && (view.back() == '\r' || view.back() == '\n' || view.back() == ' '))
            view.remove_suffix(1);
        text_assign(dest, view);
        break;
    }
    case 3:
        text_assign(dest, err_compression_text(code));
        break;
    case 5: {
        // The state in the first five places, a blank, the message from the
        // seventh on; everything from the first zero byte on is blank.
        const auto& diag = database_diagnostic();
        std::string text(diag.state.data(), 5);
        text += ' ';
        text.append(diag.message.data(), diag.message.size());
        text_assign(dest, before_zero(text));
        break;
    }
    case 6:
        text_assign(dest, err_mail_text(code));
        break;
    default:
        break;
    }
}

void err_diagnostic_strings_get(int which, std::span<char> dest)
{
    const auto& diag = database_diagnostic();
    std::string_view src;
    if (which == 1)
        src = before_zero({diag.state.data(), diag.state.size()});
    else if (which == 2)
        src = before_zero({diag.message.data(), diag.message.size()});
    else
        return;
    if (!dest.empty())
        text_copy_terminated(dest.data(), dest.size(), src);
}

ErrorReportText err_report_text_build(int number, std::string_view routine)
{
    const ErrorState& st = error_state();
    ErrorReportText report;

    report.head = internal_name(routine) ? "Internal routine:" : "Routine:";
    report.head += routine;
    report.head.resize(trim_right(report.head).size());
    report.head.resize(std::min(report.head.size(), err_report_capacity));
    report.number = "Error=" + number_places(number);

    std::string text = report.head;
    append_bounded(text, " ");
    append_bounded(text, report.number);
    append_bounded(text, ":");
    const std::string_view catalogue = err_catalogue_text(number);
    append_bounded(text, catalogue.empty() ? std::string_view(" ") : catalogue);

    const DetailSource detail = detail_source(number, st);
    if (detail.category != 0) {
        text.resize(trim_right(text).size());
        if (text.size() < err_report_capacity - 2) {
            std::array<char, err_detail_capacity> buffer{};
            buffer.fill(' ');
            err_message_text(detail.code, buffer, detail.category);
            text += ": ";
            append_bounded(text, std::string_view(buffer.data(), buffer.size()));
        }
    }

    report.full = std::string(trim_right(text));
    const std::size_t message_start = report.head.size() + 1 + report.number.size() + 1;
    if (report.full.size() > message_start)
        report.message = report.full.substr(message_start);
    return report;
}

void err_report(int number, std::string_view routine)
{
    err_number_store(number);
    ErrorState& st = error_state();
    if (st.report_mode <= 0)
        return;

    // Whatever fails while the report is shown only stores its own number.
    const int mode = st.report_mode;
    st.report_mode = 0;
    struct Restore {
        ErrorState& st;
        int mode;
        int number;
        ~Restore()
        {
            st.report_mode = mode;
            st.last_error = number;
        }
    } restore{st, mode, number};

    const ErrorReportText report = err_report_text_build(number, routine);
    const ErrorOutputs& out = error_outputs();
    switch (mode) {
    case 1:
        if (out.console_line)
            out.console_line(" " + report.full);
        break;
    case 2:
        if (out.debug_log_line)
            out.debug_log_line(report.full);
        break;
    case 3:
        show_in_status_bar(out, report.full);
        break;
    case 4:
        show_in_message_box(out, report);
        break;
    default:
        break;
    }
}

void err_report_current(int number)
{
    // The name is copied: a routine called while the report is shown may
    // store another.
    const std::string name(err_routine_name());
    err_report(number, name);
}

} // namespace korv
