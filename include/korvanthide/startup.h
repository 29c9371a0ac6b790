// Toolkit start-up: the settings file, the environment, the display, and the
// records that start-up fills for the rest of the toolkit.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The first toolkit call of a program; later calls do nothing. Reads the
// display, the installation and temporary directories, the environment and
// the optional settings file (the given name when it exists, else KORVINIT,
// else korvan.ini here or in the installation directory). Failures are
// silent; a settings key beginning with VER shows the version and ends the
// program with exit status 0.
void WToolkitStart(std::string_view settings_file = {});

namespace korv {

inline constexpr std::size_t path_length = 260;
using PathText = std::array<char, path_length>;

constexpr PathText blank_path()
{
    PathText text{};
    text.fill(' ');
    return text;
}

// Fixed-length texts are blank-padded.
struct ToolkitSettings {
    PathText settings_file = blank_path();
    PathText install_dir = blank_path();   // ends in the separator when from KORVAN
    PathText char_dir = blank_path();      // CHARDIR; ends in the separator when not blank
    int lfn_gen = 0;                       // general I/O unit (LFNGEN)
    int lfn_ploti = 0;                     // plot I/O unit (LFNPLOTI)
    char path_separator = ' ';
    char decimal_separator = ' ';          // the user locale's
    int decimal_comma = 0;                 // 1: numbers are written with decimal_separator
};

ToolkitSettings& toolkit_settings();

// Entry 0 the hardcopy dump output file, 1 unused, 2 the character-set file
// (CHARSET), 3 the temporary plot file, 4 the temporary dump file.
struct FileNameTable {
    std::array<PathText, 5> names = {blank_path(), blank_path(), blank_path(), blank_path(),
                                     blank_path()};
    PathText& entry(int n) { return names.at(static_cast<std::size_t>(n)); }
};

FileNameTable& file_name_table();

struct DisplayInfo {
    int screen_width = 0;
    int screen_height = 0;
    int pixels_per_inch = 0;   // horizontal
    int colour_planes = 0;
    int bits_per_pixel = 0;    // more than 24 counts as 24
    int colour_count = 0;      // 2 ^ (planes x bits)
    int palette_class = 0;     // 2, 8, 16 or 256
    int windows_nt = 0;        // 1 on the NT platform
    int windows_major = 0;
    int windows_minor = 0;
};

DisplayInfo& display_info();

struct ToolkitState {
    int startup_marker = 0;  // -9999 once started
    // What readers of a field or cell without a value give back.
    int undefined_integer = 0;
    float undefined_real = 0.0f;
    double undefined_double = 0.0;
    bool beeps_on = false;   // the default beep sounds
};

ToolkitState& toolkit_state();

// Stored editor buffers, by window number 0..50 and buffer number 1..35.
// Allocated by start-up; the editor owns what the rows mean.
struct EditorBufferRecord {
    int text_size = 0;
    int text_length = 0;
    int selection_start = 0;
    int selection_end = 0;
    int unchanged = 0;
    int program_value = 0;
    int first_visible_line = 0;
    bool name_stored = false;
    bool text_stored = false;
    std::string file_name;   // 260 characters once stored
    std::vector<char> text;
};

class EditorBufferTable {
public:
    static constexpr int window_count = 51;
    static constexpr int buffer_count = 35;

    // Makes every row empty (allocating the rows on first use).
    void allocate();
    // Frees every row; the table is then unallocated.
    void release();
    bool allocated() const { return !rows_.empty(); }
    // The row of a window 0..50 and buffer 1..35; throws std::out_of_range
    // for other numbers or an unallocated table.
    EditorBufferRecord& row(int window, int buffer);

private:
    std::vector<EditorBufferRecord> rows_;
};

EditorBufferTable& editor_buffer_table();

} // namespace korv
