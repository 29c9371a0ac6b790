// Toolkit start-up on Windows: the display, the environment, the settings
// file, the command line and the version box.
#include "korvanthide/errors.h"
#include "korvanthide/files.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "core/context.h"
#include "core/services/hardcopy.h"
#include "core/services/install.h"
#include "core/settings.h"
#include "core/startup_logic.h"
#include "graphics/metafile_slots.h"
#include "core/sys_files.h"
#include "core/startup_services.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>

namespace korv {

namespace {

// Longest environment value start-up takes: a path.
using EnvValue = std::array<char, path_length>;

std::string environment(std::string_view name)
{
    EnvValue value;
    IOsVariable(name, value);
    return std::string(text_trimmed(text_view(value)));
}

bool file_exists(const std::string& path)
{
    FileInfo info;
    sys_file_info(info, path);
    return info.size != -1;
}

// The command line as start-up captured it.
struct CommandLineState {
    bool captured = false;
    std::string line;
};

CommandLineState& command_line_state()
{
    return toolkit_context().record<CommandLineState>(ContextSlot::process_command_line);
}

// The box of an abnormal end: task-modal, without an owner, OK and the stop
// icon. Kept apart so that it can follow the toolkit's message box.
void abnormal_exit_box(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), "Korvanthide", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

// Reads the settings file on the unit start-up opened; a read error ends
// the reading like the file's end does.
bool read_settings(const std::string& path)
{
    int handle = -1, code = 0;
    sys_file_open(path, 0, handle, code);
    if (handle == -1)
        return false;
    SettingsReader reader;
    std::array<std::byte, 4096> buffer;
    while (true) {
        int got = 0;
        sys_file_read(handle, buffer, got, code);
        if (got <= 0)
            break;
        reader.feed(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                                     static_cast<std::size_t>(got)));
    }
    reader.finish();
    sys_file_close(handle);
    return reader.version_requested();
}

} // namespace

void sys_display_info_init()
{
    DisplayInfo& info = display_info();
    HWND desktop = GetDesktopWindow();
    if (HDC dc = GetDC(desktop)) {
        info.screen_width = GetDeviceCaps(dc, HORZRES);
        info.screen_height = GetDeviceCaps(dc, VERTRES);
        info.pixels_per_inch = GetDeviceCaps(dc, LOGPIXELSX);
        info.colour_planes = GetDeviceCaps(dc, PLANES);
        info.bits_per_pixel = GetDeviceCaps(dc, BITSPIXEL);
        ReleaseDC(desktop, dc);
    }
    if (info.bits_per_pixel > 24)
        info.bits_per_pixel = 24;
    const int bits = info.colour_planes * info.bits_per_pixel;
    info.colour_count = bits >= 1 && bits <= 30 ? 1 << bits : 0;
    switch (info.colour_count) {
    case 2: info.palette_class = 2; break;
    case 16: info.palette_class = 8; break;
    case 256: info.palette_class = 16; break;
    default: info.palette_class = 256; break;
    }
    int platform = 0;
    sys_os_platform(platform);
    info.windows_nt = platform == 4 ? 1 : 0;
    sys_os_version(info.windows_major, info.windows_minor);
}

void sys_beep(int kind)
{
    if (sys_beep_enabled() || kind == 1)
        MessageBeep(MB_OK);
}

void sys_install_dir_init()
{
    ToolkitSettings& settings = toolkit_settings();
    settings.path_separator = '\\';
    char decimal[4] = {};
    settings.decimal_separator =
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal) > 0 ? decimal[0]
                                                                                         : '.';
    settings.decimal_comma = 0;
    const std::string korvan = environment("KORVAN");
    text_assign(settings.install_dir,
                install_dir_from(korvan, korvan.empty() ? environment("QUDE") : std::string{}));
    settings.lfn_gen = 40;
}

void sys_temp_file_names_init()
{
    const std::string dir = temp_dir_from(environment("TEMP"), environment("TMP"));
    FileNameTable& names = file_name_table();
    text_assign(names.entry(3), temp_file_name(dir, ".plt", file_exists));
    text_assign(names.entry(4), temp_file_name(dir, ".dmp", file_exists));
}

int sys_command_line_argument(int n, std::span<char> text)
{
    CommandLineState& state = command_line_state();
    if (!state.captured) {
        state.line = command_line_kept(sys_command_line());
        state.captured = true;
    }
    const std::vector<std::string> words = command_line_words(state.line);
    const int after_first = words.empty() ? 0 : static_cast<int>(words.size()) - 1;
    if (n == 0) {
        text_assign(text, sys_module_file_name());
        return 0;
    }
    if (n < 0 || n > after_first)
        return after_first;
    text_assign(text, words[static_cast<std::size_t>(n)]);
    return n;
}

void sys_local_date(int& year, int& month, int& day)
{
    sys_date_get(year, month, day);
}

void sys_local_month_day(int& month, int& day)
{
    int year = 0;
    sys_date_get(year, month, day);
}

void sys_abnormal_exit(std::string_view message, int code)
{
    if (!text_trimmed(message).empty())
        abnormal_exit_box(abnormal_exit_text(message, code));
    // Console reports written so far still reach their reader.
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}

} // namespace korv

void WToolkitStart(std::string_view settings_file)
{
    using namespace korv;
    ToolkitState& state = toolkit_state();
    if (state.startup_marker == startup_done_marker)
        return;
    state.startup_marker = startup_done_marker;
    toolkit_install();

    ToolkitSettings& settings = toolkit_settings();
    sys_display_info_init();
    sys_install_dir_init();
    settings.lfn_ploti = 42;

    state.undefined_integer = -999;
    state.undefined_real = -999.0f;
    state.undefined_double = -999.0;
    ErrorState& errors = error_state();
    errors.last_error = 0;
    errors.file_code = 0;
    errors.other_code = 0;
    errors.report_mode = 0;
    errors.detail_category = 0;
    // Nothing reaches the screen or a printer before the root window opens.
    GraphicsState& graphics = graphics_state();
    graphics.screen_active = 0;
    graphics.hardcopy_active = 0;
    graphics.drawable_aspect = 1.32f;
    hardcopy_services().description_reset();
    metafile_slots_clear();

    editor_buffer_table().allocate();
    sys_beep_enable(1);

    text_assign(settings.char_dir, char_dir_from(text_view(settings.install_dir)));
    text_assign(settings.settings_file,
                settings_path_from(environment("KORVINIT"), text_view(settings.install_dir),
                                   file_exists));

    FileNameTable& names = file_name_table();
    names.entry(0) = blank_path();
    names.entry(1) = blank_path();
    text_assign(names.entry(2), "standard.chr");
    sys_temp_file_names_init();

    std::array<char, 1> debug_mode;
    IOsVariable("KORVDEBUG", debug_mode);
    err_report_mode_set(report_mode_from(text_view(debug_mode)));
    errors.last_error = 0;

    sys_command_line_argument(-1, {});

    // A given file that exists is the settings file even when it cannot be
    // opened; then nothing is read.
    bool version_requested = false;
    const std::string given(text_trimmed(settings_file));
    const std::string found(text_trimmed(text_view(settings.settings_file)));
    if (!given.empty() && file_exists(given))
        version_requested = read_settings(given);
    else if (!found.empty())
        version_requested = read_settings(found);

    const std::string char_dir(text_trimmed(text_view(settings.char_dir)));
    if (!char_dir.empty())
        text_assign(settings.char_dir, with_separator(char_dir));

    hardcopy_services().settings_decode();
    hardcopy_services().defaults_init(0);

    if (version_requested)
        sys_abnormal_exit("Korvanthide version " + std::string(toolkit_version), 0);
}
