// The settings file: lines of keyword=value that choose the character-set
// directory and file, the error report mode, the two I/O units and the
// hardcopy printer, plotter and HP-GL/2 types.
#pragma once

#include <string>
#include <string_view>

namespace korv {

// Longest line that is looked at. A longer line is read to its end and
// dropped whole: parsing its pieces would take the tail of a long CHARDIR as
// a line of its own.
inline constexpr std::size_t settings_line_length = 270;

// Reads the settings text in chunks as it comes from the file and applies
// each line to the toolkit's records: ToolkitSettings (CHARDIR, LFNGEN,
// LFNPLOTI), FileNameTable entry 2 (CHARSET), the error report mode (DEBUG)
// and PrinterPlotterSettings (PRINTER, PLOTTER, HPGL2 values).
class SettingsReader {
public:
    void feed(std::string_view chunk);
    // Applies a last line that has no line end.
    void finish();
    // A key beginning with VER was seen.
    bool version_requested() const { return version_requested_; }

private:
    void line_end();

    std::string line_;
    bool overlong_ = false;
    bool version_requested_ = false;
};

// Applies one line (without its line end).
void settings_apply_line(std::string_view line, bool& version_requested);

} // namespace korv
