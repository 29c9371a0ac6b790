// The output units: opening, lines and records, the close that puts the
// file in place, and what a failure leaves; the fixed number fields.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/printer.h"
#include "hardcopy/output/number_fields.h"
#include "hardcopy/output/output_units.h"

using namespace korv;

namespace {

class OutputUnits : public ::testing::Test {
protected:
    ErrorState saved_errors = error_state();
    PrinterPlotterSettings saved_printer = printer_plotter_settings();
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("korv_units_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));

    void SetUp() override
    {
        std::filesystem::create_directories(dir);
        error_state() = ErrorState{};
        err_routine_name_set("IGrHardCopy");
    }
    void TearDown() override
    {
        error_state() = saved_errors;
        printer_plotter_settings() = saved_printer;
        std::filesystem::remove_all(dir);
    }
    void name(const std::string& n) { device_parameters().image_file_set(n); }
    std::string contents(const std::string& file)
    {
        std::ifstream in(dir / file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::size_t files() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
    }
};

TEST_F(OutputUnits, BlankNameIsErrorOneAndNoFile)
{
    name("");
    hc_unit_open(plot_unit);
    EXPECT_EQ(error_state().last_error, 1);
    EXPECT_EQ(error_state().file_code, 0);
    EXPECT_EQ(printer_plotter_settings().status_word, -1);
    EXPECT_EQ(hc_unit_handle(plot_unit), -1);

    error_state().last_error = 0;
    name((dir / "no such folder" / "plot.ps").string());
    hc_unit_open(plot_unit);
    EXPECT_EQ(error_state().last_error, 1);
    EXPECT_NE(error_state().file_code, 0);
    EXPECT_EQ(files(), 0u);
}

TEST_F(OutputUnits, LinesRecordsAndBytesReplaceAnOlderFile)
{
    std::ofstream(dir / "plot.txt") << "an older plot that is much longer than the new one";
    name((dir / "plot.txt").string() + "     ");
    hc_unit_open(plot_unit);
    EXPECT_EQ(printer_plotter_settings().status_word, 0);
    const int handle = hc_unit_handle(plot_unit);
    ASSERT_NE(handle, -1);
    hc_unit_write_line(plot_unit, "");
    hc_unit_write_line(plot_unit, "IN;");
    hc_unit_write(plot_unit, std::string("\x1b" "E\0\xe9", 4));
    hc_write_record(handle, "", true);
    hc_write_record(handle, "", false);
    hc_write_record(handle, "ab", false);
    // Nothing is in place before the close.
    EXPECT_EQ(contents("plot.txt"), "an older plot that is much longer than the new one");
    hc_unit_close(plot_unit);
    EXPECT_EQ(error_state().last_error, 0);
    EXPECT_EQ(contents("plot.txt"), std::string("\r\nIN;\r\n\x1b" "E\0\xe9\r\nab", 15));
    EXPECT_EQ(files(), 1u);
    EXPECT_EQ(hc_unit_handle(plot_unit), -1);

    hc_unit_write_line(plot_unit, "after the close");
    EXPECT_EQ(error_state().last_error, 2);
    EXPECT_EQ(printer_plotter_settings().status_word, -1);
}

#ifndef _WIN32
TEST_F(OutputUnits, FailedWriteKeepsTheOlderFile)
{
    std::ofstream(dir / "plot.ps") << "old";
    name((dir / "plot.ps").string());
    hc_unit_open(plot_unit);
    for (int i = 0; i < 1000; ++i)
        hc_unit_write_line(plot_unit, "0.0 0.0 m 100.0 100.0 l s");
    // The file system refuses files above 4 kB while the unit closes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    hc_unit_close(plot_unit);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(error_state().last_error, 2);
    EXPECT_NE(error_state().file_code, 0);
    EXPECT_EQ(printer_plotter_settings().status_word, -1);
    EXPECT_EQ(contents("plot.ps"), "old");
    EXPECT_EQ(files(), 1u);
}
#endif

TEST(ColourHex, DigitsRedFirstAndHeldToTheirRange)
{
    EXPECT_EQ(hc_colour_hex(255, 128, 0), "ff8000");
    EXPECT_EQ(hc_colour_hex(0, 10, 171), "000aab");
    EXPECT_EQ(hc_colour_hex(300, -4, 16), "ff0010");
}

TEST(NumberFields, FixedFieldsAndTheirOverflow)
{
    struct Case {
        double value;
        int width, decimals;
        const char* field;
    };
    const Case cases[] = {
        {12.5, 9, 2, "    12.50"},  {-3, 9, 2, "    -3.00"},   {-0.001, 8, 2, "    0.00"},
        {1e7, 9, 2, "*********"},   {0.5, 3, 2, ".50"},         {-0.25, 4, 2, "-.25"},
        {42.04, 8, 1, "    42.0"},  {1.5, 15, 6, "       1.500000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hc_real_field(c.value, c.width, c.decimals), c.field) << c.value;
    EXPECT_EQ(hc_integer_field(756, 5), "  756");
    EXPECT_EQ(hc_integer_field(10000, 4), "****");
    EXPECT_EQ(hc_integer_field(-12, 3), "-12");
    EXPECT_EQ(hc_real_short(100, 8, 2), "100");
    EXPECT_EQ(hc_real_short(12.5, 8, 2), "12.5");
    EXPECT_EQ(hc_real_short(-3, 8, 2), "-3");
    EXPECT_EQ(hc_real_short(123456789, 8, 2), "********");
}

} // namespace
