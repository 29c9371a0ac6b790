#include "korvanthide/errors.h"
#include "core/errors_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korv;

namespace {

// Captures every output of the reporter; system texts come from a fixed
// table so the expected reports are exact.
class ErrorsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = error_outputs();
        error_state() = ErrorState{};
        ErrorOutputs& out = error_outputs();
        out = ErrorOutputs{};
        out.console_line = [this](std::string_view s) { log_.push_back("console:" + std::string(s)); };
        out.debug_log_line = [this](std::string_view s) { log_.push_back(std::string(s)); };
        out.system_text = [](int code) -> std::string {
            return code == 2 ? "The system cannot find the file specified.\r\n" : "";
        };
        out.end_program = [this] { log_.push_back("end"); };
    }
    void TearDown() override
    {
        error_outputs() = saved_;
        error_state() = ErrorState{};
    }
    std::string report_line(int number, std::string_view routine)
    {
        log_.clear();
        err_report_mode_set(2);
        err_report(number, routine);
        if (log_.size() == 1)
            return log_[0];
        std::string lines = std::to_string(log_.size());
        lines += " lines";
        return lines;
    }

    std::vector<std::string> log_;
    ErrorOutputs saved_;
};

TEST_F(ErrorsTest, ReportTexts)
{
    struct Case {
        int number;
        const char* routine;
        int detail_category, file_code, other_code;
        const char* expected;
    };
    const Case cases[] = {
        {1007, "WDialogLoad", 0, 0, 0,
         "Routine:WDialogLoad Error=1007:Dialog not present in resource - unable to load"},
        {1003, "YYWINSEL", 0, 0, 0, "Internal routine:YYWINSEL Error=1003:Invalid window handle"},
        {1003, "yywinsel", 0, 0, 0, "Internal routine:yywinsel Error=1003:Invalid window handle"},
        {1003, "XXSEL", 0, 0, 0, "Internal routine:XXSEL Error=1003:Invalid window handle"},
        {1003, "Yywinsel", 0, 0, 0, "Routine:Yywinsel Error=1003:Invalid window handle"},
        {1003, "xXsel", 0, 0, 0, "Routine:xXsel Error=1003:Invalid window handle"},
        {5, "IFileOpen", 0, 0, 0, "Routine:IFileOpen Error=   5:"},
        {12345, "IFileOpen", 0, 0, 0, "Routine:IFileOpen Error=****:"},
        {-5, "IFileOpen", 0, 0, 0, "Routine:IFileOpen Error=  -5:"},
        {-1000, "IFileOpen", 0, 0, 0, "Routine:IFileOpen Error=****:"},
        {18, "IRealToString   ", 0, 0, 0,
         "Routine:IRealToString Error=  18:Numeric to string conversion error"},
        {1, "IFileOpen", 1, 2, 0, "Routine:IFileOpen Error=   1:Error opening file or device"},
        {1, "IFileOpen", 2, 2, 0,
         "Routine:IFileOpen Error=   1:Error opening file or device: "
         "The system cannot find the file specified."},
        {2, "IFileReadChar", 2, 0, 0,
         "Routine:IFileReadChar Error=   2:Error reading/writing file or device:"},
        {13, "IOsExecute", 0, 2, 2,
         "Routine:IOsExecute Error=  13:Operating system error: "
         "The system cannot find the file specified."},
        {1035, "IGrOpenGL", 0, 0, 2,
         "Routine:IGrOpenGL Error=1035:Failed to enable OpenGL graphics: "
         "The system cannot find the file specified."},
        {1044, "WCompress", 0, 0, -5,
         "Routine:WCompress Error=1044:Zlib compression/decompression error: buffer error"},
        {1044, "WCompress", 0, 0, 42, "Routine:WCompress Error=1044:Zlib compression/decompression error:"},
        {1083, "IOsSendMail", 0, 0, 25,
         "Routine:IOsSendMail Error=1083:Error invoking e-mail program: "
         "One or more recipients were invalid or did not resolve to any address."},
        {1106, "IDbExec", 0, 0, 0, "Routine:IDbExec Error=1106:SQL statement execution failed:"},
        {1114, "ISound", 0, 0, 7, "Routine:ISound Error=1114:Error in call to ALSA sound api:"},
        {3, "IFileClose", 2, 2, 2, "Routine:IFileClose Error=   3:Error closing file or device"},
    };
    for (const Case& c : cases) {
        error_state().detail_category = c.detail_category;
        error_state().file_code = c.file_code;
        error_state().other_code = c.other_code;
        EXPECT_EQ(report_line(c.number, c.routine), c.expected) << c.number << " " << c.routine;
        EXPECT_EQ(error_state().last_error, c.number);
        EXPECT_EQ(error_state().report_mode, 2);
        EXPECT_EQ(error_state().detail_category, c.detail_category) << "never reset by the reporter";
    }
}

TEST_F(ErrorsTest, ReportTextIsBoundedAndDetailNeedsRoom)
{
    // A routine name long enough to fill the buffer: cut at 300, no detail.
    const std::string name(400, 'N');
    error_state().other_code = -5;
    const std::string line = report_line(1044, name);
    EXPECT_EQ(line, "Routine:" + name.substr(0, 292));

    // Text of 297 characters before the detail still gets ": " and a cut detail.
    const std::string fits(297 - std::string_view("Routine: Error=1044:Zlib compression/decompression error").size(), 'n');
    const std::string with_detail = report_line(1044, fits);
    EXPECT_EQ(with_detail.size(), 300u);
    EXPECT_EQ(with_detail.substr(297), ": b");

    const std::string no_room(fits + "n");
    EXPECT_EQ(report_line(1044, no_room).size(), 298u);
}

TEST_F(ErrorsTest, ModeZeroOnlyStoresAndModeSetIgnoresOutOfRange)
{
    err_report(1007, "WDialogLoad");
    EXPECT_EQ(error_state().last_error, 1007);
    EXPECT_TRUE(log_.empty());

    for (int bad : {5, -1, 100}) {
        err_report_mode_set(3);
        err_report_mode_set(bad);
        EXPECT_EQ(error_state().report_mode, 3) << bad;
    }
    err_report_mode_set(0);
    EXPECT_EQ(error_state().report_mode, 0);
}

TEST_F(ErrorsTest, ConsoleLineHasLeadingBlank)
{
    err_report_mode_set(1);
    err_report(1005, "WDialogPutString");
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0], "console: Routine:WDialogPutString Error=1005:No dialog currently selected");
}

TEST_F(ErrorsTest, StatusBarModeWritesRootAndRestoresCurrentWindow)
{
    ErrorOutputs& out = error_outputs();
    err_report_mode_set(3);
    err_report(1003, "WindowSelect"); // no window layer: nothing shown
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(error_state().last_error, 1003);

    out.current_window = [this] { log_.push_back("query"); return 7; };
    out.select_window = [this](int w) {
        log_.push_back("select " + std::to_string(w));
        err_report(1003, "YYWINSEL"); // a failure inside the report is not shown
    };
    out.statusbar_text = [this](int part, std::string_view s) {
        log_.push_back("part " + std::to_string(part) + ":" + std::string(s));
    };
    err_report(1006, "WDialogGetReal");
    const std::vector<std::string> expected = {
        "query", "select 0", "part 1:Routine:WDialogGetReal Error=1006:Invalid field identifier",
        "select 7"};
    EXPECT_EQ(log_, expected);
    EXPECT_EQ(error_state().last_error, 1006);
    EXPECT_EQ(error_state().report_mode, 3);
}

TEST_F(ErrorsTest, MessageBoxEndsProgramOnlyOnItsOwnCancel)
{
    ErrorOutputs& out = error_outputs();
    err_report_mode_set(4);
    err_report(1007, "WDialogLoad"); // no box available: not an end
    EXPECT_TRUE(log_.empty());

    struct Shown {
        int buttons, icon, def;
        std::string message, title;
    };
    std::vector<Shown> shown;
    int answer = 1;
    out.message_box = [&](int b, int i, int d, std::string_view m, std::string_view t) {
        shown.push_back({b, i, d, std::string(m), std::string(t)});
        err_report(1004, "WMessageBox"); // nested failure: stored, not shown
        return answer;
    };
    for (int a : {1, -1, 2, 0}) {
        log_.clear();
        answer = a;
        err_report(1007, "WDialogLoad");
        EXPECT_EQ(log_, a == 0 ? std::vector<std::string>{"end"} : std::vector<std::string>{})
            << "answer " << a;
        EXPECT_EQ(error_state().last_error, 1007);
        EXPECT_EQ(error_state().report_mode, 4);
    }
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].buttons, 1);
    EXPECT_EQ(shown[0].icon, 3);
    EXPECT_EQ(shown[0].def, 1);
    EXPECT_EQ(shown[0].title, "Library Error");
    EXPECT_EQ(shown[0].message,
              "Routine:WDialogLoad\rError=1007\rDialog not present in resource - unable to load");

    shown.clear();
    error_state().other_code = -3;
    err_report(1044, "xxinflate");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message,
              "Internal routine:xxinflate\rError=1044\rZlib compression/decompression error: data error");
}

TEST_F(ErrorsTest, RoutineNameFieldForSharedRoutines)
{
    err_routine_name_set("WDialogPutReal");
    EXPECT_EQ(err_routine_name(), "WDialogPutReal");
    err_report_mode_set(2);
    err_report_current(1009);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0], "Routine:WDialogPutReal Error=1009:Attempt to store an out of range dialog field value");

    err_routine_name_set("A name far longer than the thirty-two places of the field");
    EXPECT_EQ(err_routine_name(), "A name far longer than the thirt");
}

TEST_F(ErrorsTest, MessageTextByCategory)
{
    EXPECT_EQ(err_catalogue_size(), 147u);
    char buf[12];
    struct Case {
        int code, category;
        const char* expected;
    };
    const Case cases[] = {
        {1, 1, "Error openin"},  {3, 1, "Error closin"}, {1116, 1, "Invalid edit"},
        {5, 1, "            "},  {0, 1, "            "}, {-4, 3, "insufficient"},
        {1, 3, "stream end  "},  {7, 3, "            "}, {9, 6, "There were t"},
        {4, 6, "            "},  {2, 2, "The system c"}, {2, 4, "The system c"},
        {0, 2, "            "},  {1, 5, "            "},
    };
    for (const Case& c : cases) {
        std::fill(std::begin(buf), std::end(buf), 'x');
        err_message_text(c.code, buf, c.category);
        EXPECT_EQ(std::string(buf, sizeof buf), c.expected) << c.code << "/" << c.category;
    }
    for (int category : {0, 7, -1}) {
        std::fill(std::begin(buf), std::end(buf), 'x');
        err_message_text(1, buf, category);
        EXPECT_EQ(std::string(buf, sizeof buf), "xxxxxxxxxxxx") << category;
    }
    char diag[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    err_diagnostic_strings_get(1, diag);
    EXPECT_EQ(diag[0], '\0');
    diag[0] = 'x';
    err_diagnostic_strings_get(3, diag);
    EXPECT_EQ(diag[0], 'x');
}

} // namespace
