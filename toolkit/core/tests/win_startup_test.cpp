// The start-up of a program, each case in a fresh process: environment,
// settings file, temporary names, printer.
#include "core/tests/win_startup_runner.h"

#include <gtest/gtest.h>

using namespace startup_test;

namespace {

std::string temp_env(const TempDir& dir)
{
    std::string path = dir.path();
    path.pop_back();
    return path;
}

} // namespace

TEST(Startup, DefaultsWithoutSettingsOrVariables)
{
    TempDir dir;
    const ProbeResult r = run_probe(dir, {{"TEMP", temp_env(dir)}}, "- ");
    ASSERT_EQ(r.exit_code, 0u);
    const std::map<std::string, std::string> expected = {
        {"settings_file", "korvan.ini"},
        {"install_dir", ""},
        {"char_dir", ""},
        {"lfn_gen", "40"},
        {"lfn_ploti", "42"},
        {"path_separator", "\\"},
        {"decimal_comma", "0"},
        {"dump_file", ""},
        {"charset", "standard.chr"},
        {"temp_plot", dir.path() + "zoq$$00.plt"},
        {"temp_dump", dir.path() + "zoq$$00.dmp"},
        {"report_mode", "0"},
        {"last_error", "0"},
        {"startup_marker", "-9999"},
        {"undefined_integer", "-999"},
        {"undefined_real", "-999.000000"},
        {"editor_buffers", "1"},
        {"beeps", "1"},
        {"printer_type", "28"},
        {"printer_type_given", "0"},
        {"plotter_model", "1"},
        {"hpgl2_model", "1"},
        {"dump_slot_3", "72"},
        {"dump_slot_4", "72"},
        {"dump_slot_5", "1"},
        {"dump_slot_7", "1"},
        {"dump_slot_8", "1"},
        {"dump_slot_19", "3"},
        {"dump_slot_24", "2"},
        {"dump_slot_25", "10"},
        {"windows_nt", "1"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(r.report.at(name), value) << name;
    EXPECT_FALSE(r.report.at("decimal_separator").empty());
    EXPECT_GT(std::stoi(r.report.at("screen_width")), 0);
    EXPECT_GT(std::stoi(r.report.at("colour_count")), 0);
}

TEST(Startup, DefaultPrinterGivesTheDumpPage)
{
    TempDir dir;
    const ProbeResult r = run_probe(dir, {{"TEMP", temp_env(dir)}});
    ASSERT_EQ(r.exit_code, 0u);
    EXPECT_EQ(r.report.at("printer_available"), "1");
    const int larger = std::stoi(r.report.at("printer_page_larger"));
    const int smaller = std::stoi(r.report.at("printer_page_smaller"));
    // The CUPS PDF queue's A4 or Letter paper.
    EXPECT_TRUE((larger == 841 && smaller == 594) || (larger == 792 && smaller == 612))
        << larger << " x " << smaller;
    EXPECT_EQ(std::stoi(r.report.at("dump_slot_1")), larger - 144);
    EXPECT_EQ(std::stoi(r.report.at("dump_slot_2")), smaller - 144);
}

TEST(Startup, InstallationDirectoryFromKorvanOrQude)
{
    struct Case {
        Environment env;
        const char* install;
        const char* chars;
    };
    const Case cases[] = {
        {{{"KORVAN", "C:\\Tools\\Lib"}}, "C:\\Tools\\Lib\\", "C:\\Tools\\Lib\\charsets\\"},
        {{{"QUDE", "D:\\Tools\\qude\\bin"}}, "D:\\Tools\\", "D:\\Tools\\charsets\\"},
        {{{"KORVAN", "C:\\K"}, {"QUDE", "D:\\Tools\\qude\\bin"}}, "C:\\K\\", "C:\\K\\charsets\\"},
        {{{"QUDE", "D:\\Tools\\bin"}}, "", ""},
        {{{"KORVAN", std::string(261, 'k')}}, "", ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Environment env = c.env;
        env["TEMP"] = temp_env(dir);
        const ProbeResult r = run_probe(dir, env);
        ASSERT_EQ(r.exit_code, 0u);
        EXPECT_EQ(r.report.at("install_dir"), c.install);
        EXPECT_EQ(r.report.at("char_dir"), c.chars);
        EXPECT_EQ(r.report.at("last_error"), "0");
    }
}

TEST(Startup, SettingsFileKeys)
{
    TempDir dir;
    dir.write("korvan.ini",
              "DEBUG=2\r\n"
              "CHARDIR=  C:\\my fonts\\set one  \r\n"
              "charset\t=\town.chr\r\n"
              "printer = 12 further words\r\n"
              "PR=3\r\n"
              "PRINTER=abc\r\n"
              "=PRINTER=5\r\n"
              "LFNGEN=42\r\n"
              "LFNPLOTI=40\r\n"
              "LFNPLOTI=44\r\n"
              "PLOTTER=12\r\n"
              "CHARDIRECTORY=elsewhere\r\n"
              "LFNGEN=43");
    const ProbeResult r = run_probe(dir, {{"TEMP", temp_env(dir)}});
    ASSERT_EQ(r.exit_code, 0u);
    EXPECT_EQ(r.report.at("settings_file"), "korvan.ini");
    EXPECT_EQ(r.report.at("char_dir"), "C:\\my fonts\\set one\\");
    EXPECT_EQ(r.report.at("charset"), "own.chr");
    EXPECT_EQ(r.report.at("printer_type"), "12");
    EXPECT_EQ(r.report.at("printer_type_given"), "1");
    EXPECT_EQ(r.report.at("lfn_ploti"), "44");
    EXPECT_EQ(r.report.at("lfn_gen"), "43");
    EXPECT_EQ(r.report.at("plotter_model"), "1");
    EXPECT_EQ(r.report.at("hpgl2_model"), "2");
    EXPECT_EQ(r.report.at("report_mode"), "2");
    // The bad numbers were converted silently: nothing was logged.
    EXPECT_FALSE(dir.exists("debug"));
    EXPECT_EQ(r.report.at("last_error"), "0");
}

TEST(Startup, WhichSettingsFileIsRead)
{
    TempDir dir;
    TempDir elsewhere;
    dir.write("korvan.ini", "PRINTER=3\n");
    const std::string own = elsewhere.write("own.ini", "PRINTER=4\n");
    const std::string given = elsewhere.write("given.ini", "PRINTER=5\n");
    const std::string later = elsewhere.write("later.ini", "PRINTER=6\nKORVAN=x\n");
    struct Case {
        Environment env;
        std::string args;
        const char* printer;
        std::string path;
    };
    const Case cases[] = {
        {{}, "", "3", "korvan.ini"},
        {{{"KORVINIT", own}}, "", "4", own},
        {{{"KORVINIT", elsewhere.path() + "none.ini"}}, "", "3", "korvan.ini"},
        {{{"KORVINIT", own}}, "\"" + given + "\"", "5", own},
        {{}, "\"" + elsewhere.path() + "none.ini\"", "3", "korvan.ini"},
        {{}, "\"" + given + "\" \"" + later + "\"", "5", "korvan.ini"},
    };
    for (const Case& c : cases) {
        Environment env = c.env;
        env["TEMP"] = temp_env(dir);
        const ProbeResult r = run_probe(dir, env, c.args);
        ASSERT_EQ(r.exit_code, 0u) << c.args;
        EXPECT_EQ(r.report.at("printer_type"), c.printer) << c.args;
        EXPECT_EQ(r.report.at("settings_file"), c.path) << c.args;
    }
}

TEST(Startup, InstalledSettingsFile)
{
    TempDir dir;
    TempDir install;
    install.write("korvan.ini", "PRINTER=7\n");
    Environment env = {{"TEMP", temp_env(dir)}, {"KORVAN", temp_env(install)}};
    ProbeResult r = run_probe(dir, env);
    ASSERT_EQ(r.exit_code, 0u);
    EXPECT_EQ(r.report.at("settings_file"), install.path() + "korvan.ini");
    EXPECT_EQ(r.report.at("printer_type"), "7");

    TempDir empty_install;
    env["KORVAN"] = temp_env(empty_install);
    r = run_probe(dir, env);
    EXPECT_EQ(r.report.at("settings_file"), "");
    EXPECT_EQ(r.report.at("printer_type"), "28");
}

TEST(Startup, ReportModeFromKorvDebug)
{
    struct Case {
        const char* value;
        const char* mode;
    };
    const Case cases[] = {{"1", "1"}, {"4", "4"}, {"7", "0"}, {"12", "0"}, {"x", "0"}};
    for (const Case& c : cases) {
        TempDir dir;
        const ProbeResult r = run_probe(dir, {{"TEMP", temp_env(dir)}, {"KORVDEBUG", c.value}});
        ASSERT_EQ(r.exit_code, 0u);
        EXPECT_EQ(r.report.at("report_mode"), c.mode) << c.value;
        EXPECT_EQ(r.report.at("last_error"), "0") << c.value;
    }
}

TEST(Startup, TemporaryNamesSkipExistingFiles)
{
    TempDir dir;
    TempDir tmp;
    tmp.write("zoq$$00.plt", "");
    tmp.write("zoq$$01.plt", "");
    tmp.write("zoq$$00.dmp", "");
    ProbeResult r = run_probe(dir, {{"TMP", temp_env(tmp)}});
    ASSERT_EQ(r.exit_code, 0u);
    EXPECT_EQ(r.report.at("temp_plot"), tmp.path() + "zoq$$02.plt");
    EXPECT_EQ(r.report.at("temp_dump"), tmp.path() + "zoq$$01.dmp");

    r = run_probe(dir, {});
    EXPECT_EQ(r.report.at("temp_plot"), "C:\\zoq$$00.plt");
}

TEST(Startup, CommandLineArguments)
{
    TempDir dir;
    const ProbeResult r = run_probe(dir, {{"TEMP", temp_env(dir)}});
    ASSERT_EQ(r.exit_code, 0u);
    // The probe's first argument is its report file.
    EXPECT_EQ(r.report.at("argument_1"), dir.path() + "report.txt");
    EXPECT_EQ(r.report.at("argument_count"), "1");
    EXPECT_EQ(r.report.at("argument_0_result"), "0");
    EXPECT_TRUE(r.report.at("argument_0").ends_with("\\core_startup_probe.exe"))
        << r.report.at("argument_0");
}
