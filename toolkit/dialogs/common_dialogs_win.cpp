// The file, colour and directory dialogs of the system, and the screen
// position of a client area.
#include "korvanthide/common_dialogs.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/files.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "core/win_module.h"
#include "dialogs/common_dialogs.h"
#include "dialogs/common_dialogs_frame.h"

#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korv {

namespace {

constexpr std::size_t path_capacity = 260;
constexpr std::size_t title_capacity = 256;
constexpr std::size_t filter_capacity = 1000;
constexpr std::size_t colour_title_capacity = 255;

char path_separator()
{
    const char c = toolkit_settings().path_separator;
    return c == ' ' ? '\\' : c;
}

std::string current_directory()
{
    std::array<char, path_capacity> buffer{};
    int code = 0, truncated = 0;
    sys_dir_current(buffer, code, truncated);
    return std::string(text_trimmed(text_view(buffer)));
}

// The filter list of the file dialog, or empty for none.
std::string filter_of(int number, std::string_view text)
{
    if (number == -1)
        return cdlg_filter_list(text.substr(0, std::min(text.size(), filter_capacity)));
    if (number > 0) {
        std::array<char, filter_capacity + 1> buffer{};
        const int n = LoadStringA(module_instance(), static_cast<UINT>(number), buffer.data(),
                                  static_cast<int>(buffer.size()));
        return cdlg_filter_list(std::string_view(buffer.data(), static_cast<std::size_t>(std::max(n, 0))));
    }
    return {};
}

// What a confirmed dialog leaves in its file buffer: one name up to its
// terminator, or for several names everything up to the double terminator.
std::string_view chosen_names(const std::vector<char>& buffer, bool several)
{
    const std::string_view all(buffer.data(), buffer.size());
    if (!several)
        return all.substr(0, all.find('\0'));
    const auto end = all.find(std::string_view("\0\0", 2));
    return end == std::string_view::npos ? all : all.substr(0, end);
}

// ---- colour dialog ----

std::string& colour_title()
{
    return toolkit_context().record<std::string>(ContextSlot::colour_dialog_title, [] { return "Colour"; });
}

UINT_PTR CALLBACK cdlg_colour_hook(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetWindowTextA(dialog, colour_title().c_str());
        return TRUE;
    }
    return FALSE;
}

void cdlg_colour_dialog(std::int32_t& colour, std::array<std::int32_t, 16>& table, int& answer, int& error,
                        std::string_view title)
{
    std::array<COLORREF, 16> entries{};
    std::copy(table.begin(), table.end(), entries.begin());
    colour_title() = std::string(text_trimmed(title));
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.rgbResult = static_cast<COLORREF>(colour) & 0xFFFFFF;
    cc.lpCustColors = entries.data();
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
    cc.lpfnHook = cdlg_colour_hook;
    BOOL chosen = FALSE;
    cdlg_blocking_frame([&](HWND owner) {
        cc.hwndOwner = owner;
        chosen = ChooseColorA(&cc);
    });
    error = 0;
    if (chosen) {
        colour = static_cast<std::int32_t>(cc.rgbResult);
        answer = 1;
        std::copy(entries.begin(), entries.end(), table.begin());
        return;
    }
    answer = 0;
    error = static_cast<int>(CommDlgExtendedError());
}

// The open or save dialog: answer 1 with the chosen names in file_name and
// the filter in use in filter_index; else answer 0, file_name unchanged and
// the dialog's extended error (0 when the user cancelled).
void cdlg_file_dialog(int filter_number, std::string_view filter_text, int flags, std::span<char> file_name,
                      std::string_view title, int& filter_index, int& answer, DWORD& error)
{
    const bool save = (flags & 1) != 0;
    if (save)
        flags &= ~0x10;
    const bool several = (flags & 0x10) != 0;

    // The directory part starts the dialog; the file part fills a buffer of
    // the caller's length (and its terminator), so that nothing the dialog
    // returns is longer than the caller's variable.
    const std::string_view given(file_name.data(), std::min(file_name.size(), path_capacity));
    const SplitPath split = cdlg_split_path(given, path_separator());
    std::string directory = split.directory.empty() ? current_directory() : split.directory;
    std::vector<char> buffer(file_name.size() + 1, '\0');
    std::copy_n(split.file.begin(), std::min(split.file.size(), file_name.size()), buffer.begin());

    std::string caption(text_trimmed(title.substr(0, title.find('\0'))));
    if (caption.size() > title_capacity)
        caption.resize(title_capacity);
    if (caption.empty())
        caption = "Select File";
    const std::string filter = filter_of(filter_number, filter_text);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filter_index, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = directory.c_str();
    ofn.lpstrTitle = caption.c_str();
    ofn.Flags = OFN_HIDEREADONLY;
    if (!(flags & 4))
        ofn.Flags |= OFN_PATHMUSTEXIST;
    if (!(flags & 8))
        ofn.Flags |= OFN_NOCHANGEDIR;
    if (save && (flags & 2))
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!save && (flags & 0x80))
        ofn.Flags |= OFN_FILEMUSTEXIST;
    else if (!save && (flags & 2))
        ofn.Flags |= OFN_CREATEPROMPT;
    if (several)
        ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if ((flags & 0x20) && display_info().windows_major > 3)
        ofn.lpstrDefExt = "";

    BOOL confirmed = FALSE;
    cdlg_blocking_frame([&](HWND owner) {
        ofn.hwndOwner = owner;
        confirmed = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    });
    if (confirmed) {
        answer = 1;
        error = 0;
        text_assign(file_name, chosen_names(buffer, several));
        filter_index = static_cast<int>(ofn.nFilterIndex);
    } else {
        answer = 0;
        error = CommDlgExtendedError();
    }
}

// ---- directory browser ----

struct Browse {
    std::string directory;
    int flags = 0;
    HWND edit = nullptr;
    WNDPROC dialog_proc = nullptr;
};

Browse& browse()
{
    return toolkit_context().record<Browse>(ContextSlot::folder_browse);
}

bool ask_create(HWND dialog, const std::string& path)
{
    if (MessageBoxA(dialog, "The specified directory does not exist.\nDo you wish to create it?",
                    "Create Directory?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (CreateDirectoryA(path.c_str(), nullptr))
        return true;
    MessageBoxA(dialog, "An error occurred creating\nthe specified directory.", "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

LRESULT CALLBACK cdlg_browse_ok_check(HWND dialog, UINT message, WPARAM w, LPARAM l)
{
    Browse& b = browse();
    if (message == WM_COMMAND && LOWORD(w) == IDOK && b.edit) {
        std::array<char, path_capacity> text{};
        GetWindowTextA(b.edit, text.data(), static_cast<int>(path_capacity)); // at most 259 and the zero
        b.directory = text.data();
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(b.directory.c_str()));
        const DWORD attributes = GetFileAttributesA(b.directory.c_str());
        bool proceed = true;
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (b.flags & 0x40)
                proceed = ask_create(dialog, b.directory);
            else if (!(b.flags & 4)) {
                MessageBoxA(dialog, "The specified directory does not exist.\nSpecify a valid directory.",
                            "Invalid Directory", MB_OK | MB_ICONEXCLAMATION);
                proceed = false;
            }
        } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            MessageBoxA(dialog, "The specified path is not a valid directory name.\nSpecify a valid directory.",
                        "Invalid Directory", MB_OK | MB_ICONEXCLAMATION);
            proceed = false;
        }
        if (!proceed)
            return 0;
    }
    return CallWindowProcA(b.dialog_proc, dialog, message, w, l);
}

int CALLBACK cdlg_browse_callback(HWND dialog, UINT message, LPARAM l, LPARAM)
{
    Browse& b = browse();
    if (message == BFFM_INITIALIZED) {
        // The label that shows the title (the first static text of the
        // dialog) gives way to an edit field for the path; its text becomes
        // the caption.
        HWND label = nullptr;
        for (HWND c = GetWindow(dialog, GW_CHILD); c && !label; c = GetWindow(c, GW_HWNDNEXT)) {
            char name[16] = {};
            GetClassNameA(c, name, sizeof name);
            if (lstrcmpiA(name, "Static") == 0)
                label = c;
        }
        RECT r{};
        if (label) {
            std::array<char, 512> caption{};
            GetWindowTextA(label, caption.data(), static_cast<int>(caption.size()));
            SetWindowTextA(dialog, caption.data());
            ShowWindow(label, SW_HIDE);
            GetWindowRect(label, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        }
        RECT units{0, 0, 0, 13};
        MapDialogRect(dialog, &units);
        b.edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", b.directory.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, r.left, r.top, r.right - r.left,
                                 units.bottom, dialog, nullptr, module_instance(), nullptr);
        if (b.edit) {
            SendMessageA(b.edit, EM_LIMITTEXT, path_capacity, 0);
            if (label)
                SendMessageA(b.edit, WM_SETFONT, SendMessageA(label, WM_GETFONT, 0, 0), FALSE);
        }
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(b.directory.c_str()));
        if (b.flags & (4 | 0x40))
            SendMessageA(dialog, BFFM_ENABLEOK, 0, TRUE);
        b.dialog_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cdlg_browse_ok_check)));
    } else if (message == BFFM_SELCHANGED) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(l), path))
            b.directory = path;
        else
            SendMessageA(dialog, BFFM_ENABLEOK, 0, FALSE);
        if (b.edit)
            SetWindowTextA(b.edit, b.directory.c_str());
    }
    return 0;
}

} // namespace

void cdlg_browse_directory(int title_mode, int& result, int flags, std::span<char> directory, std::string_view title)
{
    Browse& b = browse();
    b = Browse{};
    const auto given = std::string_view(directory.data(), directory.size());
    b.directory = std::string(text_trimmed(given.substr(0, given.find('\0'))));
    if (b.directory.size() > path_capacity)
        b.directory.resize(path_capacity);
    b.flags = flags;
    const std::string caption =
        title_mode == 1 ? std::string(title.substr(0, title.find('\0'))) : std::string("Select Directory");
    BROWSEINFOA info{};
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = cdlg_browse_callback;
    PIDLIST_ABSOLUTE chosen = nullptr;
    cdlg_blocking_frame([&](HWND owner) {
        info.hwndOwner = owner;
        chosen = SHBrowseForFolderA(&info);
    });
    result = chosen ? 1 : 2;
    if (chosen)
        CoTaskMemFree(chosen);
    // The caller's buffer keeps its zero byte after the path.
    text_copy_terminated(directory.data(), directory.size(), b.directory);
    b.edit = nullptr;
}

void cdlg_client_origin_on_screen(int window, int& x, int& y)
{
    HWND client = nullptr;
    if (window >= 0 && window <= max_window) {
        client = window_tables().windows[static_cast<std::size_t>(window)].client;
    } else if (window == -1) {
        HWND w = window_tables().active_dialog;
        if (!w || !IsWindow(w))
            w = dialog_owner_window();
        // Up from a dialog through the client area to its frame.
        while (w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) {
            HWND up = GetParent(w);
            HWND upper = up ? GetParent(up) : nullptr;
            if (!upper)
                break;
            w = upper;
        }
        client = w;
    }
    POINT p{0, 0};
    if (client)
        ClientToScreen(client, &p);
    x = p.x;
    y = p.y;
}

} // namespace korv

void WSelectFile(int filter_number, std::string_view filter_text, int flags, std::span<char> file_name,
                 std::string_view title, int& filter_index, int snapshot_switch)
{
    using namespace korv;
    const WindowSnapshots snapshots(snapshot_switch != 0);
    auto& result = dialog_result_state();
    DWORD error = 0;
    cdlg_file_dialog(filter_number, filter_text, flags, file_name, title, filter_index, result.answer, error);
    if (error == FNERR_BUFFERTOOSMALL)
        err_report(err::text_too_small, "WSelectFile");
    else if (error != 0)
        err_report(err::common_dialog, "WSelectFile");
    result.exit_field = 0;
}

void WSelectColour(std::int32_t& colour, std::optional<std::string_view> title,
                   std::optional<std::span<const std::int32_t, 16>> custom_colours)
{
    using namespace korv;
    auto& table = cdlg_custom_colours();
    if (custom_colours)
        std::copy(custom_colours->begin(), custom_colours->end(), table.begin());
    const std::string kept_title =
        title ? std::string(title->substr(0, std::min(title->size(), colour_title_capacity))) : "Colour";
    int answer = 0, error = 0;
    {
        const WindowSnapshots snapshots;
        cdlg_colour_dialog(colour, table, answer, error, kept_title);
    }
    if (answer != 1 && error != 0)
        err_report(err::common_dialog, "WSelectColour");
    dialog_result_state().answer = answer;
    dialog_result_state().exit_field = 0;
}

void WSelectColourRGB(std::array<int, 3>& red_green_blue)
{
    std::int32_t colour = korv::gr_rgb_pack(red_green_blue[0], red_green_blue[1], red_green_blue[2]);
    WSelectColour(colour);
    // Components outside 0..255 come back as given after Cancel too.
    if (korv::dialog_result_state().answer == 1)
        korv::gr_rgb_unpack(colour, &red_green_blue[0], &red_green_blue[1], &red_green_blue[2]);
}
