#include "core/settings.h"

#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/printer.h"
#include "korvanthide/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korv;

namespace {

struct Outcome {
    int printer = 0, plotter = 0, hpgl2 = 0;
    int lfn_gen = 40, lfn_ploti = 42;
    std::string char_dir, charset;
    int mode = 0;
    bool version = false;
};

class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        reset();
        saved_console_ = error_outputs().console_line;
        error_outputs().console_line = [this](std::string_view line) {
            console_.emplace_back(line);
        };
    }
    void reset()
    {
        toolkit_settings() = {};
        toolkit_settings().lfn_gen = 40;
        toolkit_settings().lfn_ploti = 42;
        file_name_table() = {};
        printer_plotter_settings() = {};
        error_state() = {};
    }
    void TearDown() override
    {
        error_outputs().console_line = saved_console_;
        error_state() = {};
    }

    // Feeds the text in chunks of the given size, as a file read would.
    Outcome read(std::string_view text, std::size_t chunk = 4096)
    {
        SettingsReader reader;
        for (std::size_t at = 0; at < text.size(); at += chunk)
            reader.feed(text.substr(at, chunk));
        reader.finish();
        Outcome o;
        o.printer = printer_plotter_settings().printer_value;
        o.plotter = printer_plotter_settings().plotter_value;
        o.hpgl2 = printer_plotter_settings().hpgl2_value;
        o.lfn_gen = toolkit_settings().lfn_gen;
        o.lfn_ploti = toolkit_settings().lfn_ploti;
        o.char_dir = text_trimmed(text_view(toolkit_settings().char_dir));
        o.charset = text_trimmed(text_view(file_name_table().entry(2)));
        o.mode = error_state().report_mode;
        o.version = reader.version_requested();
        return o;
    }

    std::vector<std::string> console_;
    std::function<void(std::string_view)> saved_console_;
};

} // namespace

TEST_F(SettingsFile, KeysAndValues)
{
    struct Case {
        const char* text;
        int printer, plotter, hpgl2;
        bool version;
    };
    const Case cases[] = {
        {"printer = 12 further words\n", 12, 0, 0, false},
        {"PRINTER=12\nPRINTER=abc\n", 12, 0, 0, false},
        {"PR=3\n", 0, 0, 0, false},
        {"=PRINTER=5\n", 0, 0, 0, false},
        {"PRINTER=\n", 0, 0, 0, false},
        {"PRINTER 5\n", 0, 0, 0, false},
        {"PRINTERS=5\n", 0, 0, 0, false},
        {"\tPlotter\t=\t12\t\n", 0, 12, 0, false},
        {"HPGL2=-3\r\nPLOTTER=+4\r\n", 0, 4, -3, false},
        {"PRINTER=99999999999\n", 0, 0, 0, false},
        {"VERSION=\n", 0, 0, 0, true},
        {"ver=1\nPRINTER=3", 0 + 3, 0, 0, true},
        {"VE=1\n", 0, 0, 0, false},
        {"XVER=1\n", 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        reset();
        const Outcome o = read(c.text);
        EXPECT_EQ(o.printer, c.printer) << c.text;
        EXPECT_EQ(o.plotter, c.plotter) << c.text;
        EXPECT_EQ(o.hpgl2, c.hpgl2) << c.text;
        EXPECT_EQ(o.version, c.version) << c.text;
    }
}

TEST_F(SettingsFile, IoUnitsNeverShareANumber)
{
    Outcome o = read("LFNGEN=42\n");
    EXPECT_EQ(o.lfn_gen, 40);
    o = read("LFNPLOTI=40\nLFNPLOTI=44\nLFNGEN=42\n");
    EXPECT_EQ(o.lfn_ploti, 44);
    EXPECT_EQ(o.lfn_gen, 42);
}

TEST_F(SettingsFile, TextValuesKeepTheRestOfTheLine)
{
    const Outcome o = read("CHARDIR =  C:\\my fonts\\set 1  \r\nCHARSET= big one.chr\r\n"
                           "CHARDIRECTORY=D:\\other\r\n");
    EXPECT_EQ(o.char_dir, "C:\\my fonts\\set 1");
    EXPECT_EQ(o.charset, "big one.chr");
}

TEST_F(SettingsFile, DebugSetsTheReportModeWhenValid)
{
    EXPECT_EQ(read("DEBUG=3\n").mode, 3);
    EXPECT_EQ(read("DEBUG=5\n").mode, 3);
    EXPECT_EQ(read("DEBUG=x\n").mode, 3);
    EXPECT_EQ(read("DEBUG=0\n").mode, 0);
}

TEST_F(SettingsFile, BadNumbersAreReadSilently)
{
    error_state().last_error = 77;
    const Outcome o = read("DEBUG=1\nCHARDIR=C:\\fonts\nPRINTER=abc\nPLOTTER=\n");
    EXPECT_EQ(o.mode, 1);
    EXPECT_EQ(error_state().last_error, 77);
    EXPECT_TRUE(console_.empty()) << console_.front();
}

TEST_F(SettingsFile, LineLengthLimit)
{
    const std::string full = "PRINTER=7" + std::string(261, ' ');  // 270 characters
    EXPECT_EQ(read(full + "\r\n").printer, 7);
    reset();
    EXPECT_EQ(read(full + " \n").printer, 0);
    EXPECT_EQ(read(full + " ").printer, 0);
    // "=" in the last place leaves no value.
    EXPECT_FALSE(read("VERSION" + std::string(262, ' ') + "=\n").version);
    EXPECT_TRUE(read("VERSION" + std::string(261, ' ') + "=\n").version);
}

TEST_F(SettingsFile, OverlongLineIsDroppedWholeNotParsedInPieces)
{
    const std::string overlong = "CHARDIR=" + std::string(262, 'a') + " PRINTER=9\n";
    for (std::size_t chunk : {1u, 7u, 270u, 4096u}) {
        reset();
        const Outcome o = read(overlong + "PLOTTER=3\n", chunk);
        EXPECT_EQ(o.printer, 0) << chunk;
        EXPECT_EQ(o.char_dir, "") << chunk;
        EXPECT_EQ(o.plotter, 3) << chunk;
    }
}

TEST_F(SettingsFile, ChunkBoundariesDoNotMatter)
{
    const std::string text = "PRINTER=13\r\nPLOTTER=5\r\nHPGL2=2\r\nCHARSET=x.chr";
    for (std::size_t chunk : {1u, 2u, 5u, 11u}) {
        reset();
        const Outcome o = read(text, chunk);
        EXPECT_EQ(o.printer, 13) << chunk;
        EXPECT_EQ(o.plotter, 5) << chunk;
        EXPECT_EQ(o.hpgl2, 2) << chunk;
        EXPECT_EQ(o.charset, "x.chr") << chunk;
    }
}
