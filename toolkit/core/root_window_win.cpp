// The root window: registering the toolkit's classes, loading the optional
// libraries, building the frame with its bars and client window, starting
// the graphics layer, and tearing the whole window system down again.
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "korvanthide/bitmaps.h"
#include "korvanthide/compression.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/menus.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/services/content_kinds.h"
#include "core/services/hardcopy.h"
#include "core/services/install.h"
#include "core/win_module.h"
#include "core/services/grid.h"
#include "graphics/metafile_slots.h"
#include "core/compression_mail.h"
#include "core/win_menus.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"

namespace korv {

namespace {

constexpr char root_class[] = "KORVANTHIDE";
constexpr char frame_class[] = "DARIVUROV";
constexpr char client_class[] = "ZUVEDAZAZI";
constexpr char split_h_class[] = "KORVSPLITH";
constexpr char split_v_class[] = "KORVSPLITV";
constexpr int centred = -999999;

[[noreturn]] void fatal(const char* text)
{
    MessageBoxA(nullptr, text, "Korvanthide Window", MB_OK | MB_ICONERROR);
    // A window system that could not be built is a failed run.
    ExitProcess(1);
}

ATOM register_class(HINSTANCE instance, const char* name, WNDPROC procedure, UINT style,
                    HICON icon, HCURSOR cursor, HBRUSH background)
{
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof cls;
    cls.style = style;
    cls.lpfnWndProc = procedure;
    cls.hInstance = instance;
    cls.hIcon = icon;
    cls.hCursor = cursor;
    cls.hbrBackground = background;
    cls.lpszClassName = name;
    return RegisterClassExA(&cls);
}

// The class atom of a registered class (0 when it is not registered).
ATOM class_atom(HINSTANCE instance, const char* name)
{
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return static_cast<ATOM>(GetClassInfoExA(instance, name, &info));
}

// A dialog procedure that handles nothing: the probe dialog only shows its
// template's style and size.
INT_PTR CALLBACK probe_dialog_proc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

DialogProbe win_dialog_probe(int dialog, HWND owner)
{
    const HINSTANCE instance = module_instance();
    DialogProbe probe;
    if (FindResourceA(instance, MAKEINTRESOURCEA(dialog), MAKEINTRESOURCEA(5)) == nullptr) {
        probe.result = -1;
        return probe;
    }
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(dialog), owner, probe_dialog_proc, 0);
    if (window == nullptr) {
        probe.result = -4;
        return probe;
    }
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const bool child_control = (style & WS_CHILD) != 0 && (style & DS_CONTROL) != 0;
    const bool framed = (style & WS_CAPTION) == WS_CAPTION || (style & WS_SYSMENU) != 0;
    if (!child_control || framed) {
        probe.result = -2;
    } else {
        RECT r{};
        GetWindowRect(window, &r);
        probe.result = 1;
        probe.width = r.right - r.left;
        probe.height = r.bottom - r.top;
        probe.anchored = dialog_extras_anchor(window, dialog);
    }
    DestroyWindow(window);
    return probe;
}

namespace {

// Which RichEdit answers character positions through a point record (3.0
// and later) and which only through its result (2.0).
int richedit_probe(HINSTANCE instance, HWND owner)
{
    HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10,
                                owner, nullptr, instance, nullptr);
    if (edit == nullptr) {
        return 2;
    }
    SetWindowTextA(edit, "ab");
    POINTL first{-99, -99};
    POINTL second{-99, -99};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 1);
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), 1);
    DestroyWindow(edit);
    const bool untouched = first.x == -99 && first.y == -99 && second.x == -99 && second.y == -99;
    return untouched ? 2 : 3;
}

int rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The display palette of a 256-colour display: the first `levels` entries
// of the colour model, the 16 text colours, the window text and window colours.
HPALETTE display_palette_create(const WindowTables& tables, int levels)
{
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (levels + 18));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(levels + 18);
    auto put = [&](int i, int value) {
        palette->palPalEntry[i] = {static_cast<BYTE>(value & 0xFF),
                                   static_cast<BYTE>((value >> 8) & 0xFF),
                                   static_cast<BYTE>((value >> 16) & 0xFF), 0};
    };
    if (levels == 16) {
        const int d = 0xBF;
        const int f = 0xFF;
        const int fixed[16] = {rgb(f, f, f), rgb(0, 0, d), rgb(0, d, 0), rgb(0, d, d),
                               rgb(d, 0, 0), rgb(d, 0, d), rgb(d, d, 0), rgb(0x40, 0x40, 0x40),
                               rgb(0xBF, 0xBF, 0xBF), rgb(0, 0, f), rgb(0, f, 0), rgb(0, f, f),
                               rgb(f, 0, 0), rgb(f, 0, f), rgb(f, f, 0), rgb(0, 0, 0)};
        for (int i = 0; i < 16; ++i) {
            put(i, fixed[i]);
        }
    } else {
        const int step = 256 / levels;
        for (int w = 0; w < levels; ++w) {
            int j = w * step;
            if (j >= 16 && j <= 239) {
                j += step - 1;
            }
            put(w, gr_colour_table_get(j));
        }
    }
    for (int i = 0; i < 16; ++i) {
        put(levels + i, tables.text_colours[static_cast<std::size_t>(i)]);
    }
    auto system = [](int index) {
        const COLORREF c = GetSysColor(index);
        return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
    };
    put(levels + 16, system(COLOR_WINDOWTEXT));
    put(levels + 17, system(COLOR_WINDOW));
    return CreatePalette(palette);
}

void libraries_load(WindowTables& tables)
{
    tables.msimg32 = LoadLibraryA("msimg32.dll");
    tables.gradient_fill =
        tables.msimg32 != nullptr ? GetProcAddress(tables.msimg32, "GradientFill") : nullptr;
    // The mail routines keep their own hold on mapi32 and its entry points,
    // with the root window as the parent of the mail program's dialogs.
    sys_mail_library_open(tables.windows[0].frame);
    tables.dwmapi = LoadLibraryA("dwmapi.dll");
    tables.dwm_composition_enabled =
        tables.dwmapi != nullptr ? GetProcAddress(tables.dwmapi, "DwmIsCompositionEnabled")
                                 : nullptr;
}

void libraries_release(WindowTables& tables)
{
    sys_mail_library_close();
    for (HMODULE* library : {&tables.msimg32, &tables.dwmapi}) {
        if (*library != nullptr) {
            FreeLibrary(*library);
            *library = nullptr;
        }
    }
    tables.gradient_fill = nullptr;
    tables.dwm_composition_enabled = nullptr;
}

DWORD frame_style(int flags)
{
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (flags & winflag::system_menu) style |= WS_SYSMENU;
    if (flags & winflag::minimise_box) style |= WS_MINIMIZEBOX;
    if (flags & winflag::maximise_box) style |= WS_MAXIMIZEBOX;
    if (flags & winflag::maximised) style |= WS_MAXIMIZE;
    if (!(flags & winflag::fixed_size)) style |= WS_THICKFRAME;
    return style;
}

constexpr DWORD client_style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The root window's place and size while it is built: the client size
// asked for, the frame's place and outer size, and how it is shown.
struct RootGeometry {
    int flags = 0;
    int x = 0;
    int y = 0;
    int width = 0;   // client
    int height = 0;
    int frame_width = 0;
    int frame_height = 0;
    bool centre_x = false;
    bool centre_y = false;
    bool maximised = false;
    bool hidden = false;
};

// The bars the frame grew by: the toolbars of sides 0..3 and the status bar.
struct RootBars {
    std::array<int, 4> toolbars{};
    int status = 0;
};

// The window classes and the common controls, which the windows and
// dialogs made from here on need.
void root_classes_register(HINSTANCE instance)
{
    event_enable_reset();
    win_classes_register(instance);
    // Makes the common-control classes available by name. Like the RichEdit
    // library it stays loaded when the root window closes.
    LoadLibraryA("comctl32.dll");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

// What needs a window before the frame exists, under a hidden owner made
// for it: the number-field and grid classes, the RichEdit library, the
// dialog manager's start, and the probe of the dialog that is to live in
// the root window, which may set the client size and fix the frame's size.
DialogProbe root_services_start(HINSTANCE instance, int dialog, RootGeometry& g)
{
    WindowTables& tables = window_tables();
    HWND temporary = CreateWindowExA(0, root_class, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     instance, nullptr);
    if (temporary == nullptr) {
        fatal("Failed to create window - aborting.");
    }
    numctl_register_classes();
    if (!grid_services().register_classes()) {
        DestroyWindow(temporary);
        fatal("Failed to register class - aborting.");
    }
    if (tables.richedit == nullptr) {
        tables.richedit = LoadLibraryA("riched20.dll");
        if (tables.richedit != nullptr) {
            tables.richedit_version = richedit_probe(instance, temporary);
        } else {
            tables.richedit = LoadLibraryA("riched32.dll");
            tables.richedit_version = 1;
        }
    }
    tables.find_replace_message = RegisterWindowMessageA("commdlg_FindReplace");
    dialog_root_opened();

    DialogProbe probe;
    if (dialog != 0) {
        probe = win_dialog_probe(dialog, temporary);
        if (probe.result == 1) {
            g.width = probe.width;
            g.height = probe.height;
            if (!probe.anchored) {
                g.flags = (g.flags | winflag::fixed_size) & ~(winflag::maximise_box | winflag::maximised);
            }
        }
    }
    DestroyWindow(temporary);
    return probe;
}

// The frame with its background, its menu (with the menu's command
// identifiers, accelerators and help strings), placed by the client size;
// the program ends when it cannot be made.
HWND root_frame_create(HINSTANCE instance, RootGeometry& g, int menu, int colour, const std::string& caption)
{
    WindowSlot& slot = window_tables().windows[0];
    HMENU menu_handle = menu != 0 ? LoadMenuA(instance, MAKEINTRESOURCEA(menu)) : nullptr;
    const DWORD style = frame_style(g.flags);
    const DWORD ex_style = (g.flags & winflag::on_top) ? WS_EX_TOPMOST : 0;
    g.maximised = (g.flags & winflag::maximised) != 0;
    g.hidden = (g.flags & winflag::hidden) != 0;

    if (colour != -1) {
        slot.background_brush = CreateSolidBrush(RGB(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    }
    slot.background_colour = colour;

    RECT frame_rect{0, 0, g.width, g.height};
    AdjustWindowRectEx(&frame_rect, style, FALSE, ex_style);
    AdjustWindowRectEx(&frame_rect, client_style, menu_handle != nullptr, 0);
    g.frame_width = frame_rect.right - frame_rect.left;
    g.frame_height = frame_rect.bottom - frame_rect.top;
    g.centre_x = g.x == centred;
    g.centre_y = g.y == centred;
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    if (g.centre_x) g.x = (screen_width - g.frame_width) / 2;
    if (g.centre_y) g.y = (screen_height - g.frame_height) / 2;

    HWND frame = CreateWindowExA(ex_style, root_class, caption.c_str(), style & ~WS_MAXIMIZE, g.x, g.y,
                                 g.frame_width, g.frame_height, nullptr, menu_handle, instance, nullptr);
    if (frame == nullptr) {
        if (menu_handle != nullptr) DestroyMenu(menu_handle);
        fatal("Failed to create window - aborting.");
    }
    slot.frame = frame;
    slot.menu = menu_handle;
    if (menu_handle != nullptr) {
        win_menu_command_ids(menu_handle, menu);
        slot.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(menu));
        if (HRSRC help = FindResourceA(instance, MAKEINTRESOURCEA(menu), "ZOQMENUSTRING")) {
            slot.menu_help = LoadResource(instance, help);
        }
    }
    return frame;
}

// Toolbars and the status bar grow the frame: the client keeps the size
// asked for, and a centred frame moves back by half of what was added.
RootBars root_bars_add(HINSTANCE instance, HWND frame, RootGeometry& g, const std::array<int, 4>& toolbars)
{
    WindowSlot& slot = window_tables().windows[0];
    RootBars bars;
    for (int side = 0; side < 4; ++side) {
        const auto s = static_cast<std::size_t>(side);
        int identifier = toolbars[s];
        if (identifier == 0) continue;
        int unused_width = 0;
        int unused_height = 0;
        win_toolbar_load(identifier, 0, side, unused_width, unused_height);
        if (identifier > 0) bars.toolbars[s] = slot.toolbar_thickness[s];
    }
    const int bars_across = bars.toolbars[1] + bars.toolbars[2];
    const int bars_down = bars.toolbars[0] + bars.toolbars[3];
    g.frame_width += bars_across;
    g.frame_height += bars_down;
    if (g.centre_x && !g.maximised) g.x -= bars_across / 2;
    if (g.centre_y && !g.maximised) g.y -= bars_down / 2;

    slot.status_styles.fill(0);
    if (g.flags & winflag::status_bar) {
        DWORD bar_style = WS_CHILD | WS_VISIBLE;
        if (!(g.flags & winflag::fixed_size)) bar_style |= SBARS_SIZEGRIP;
        slot.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", bar_style, 0, 0, g.width, 10, frame,
                                          reinterpret_cast<HMENU>(status_bar_id), instance, nullptr);
        slot.status_widths.fill(0);
        slot.status_widths[0] = -1;
        if (slot.status_bar != nullptr) {
            int parts[1] = {-1};
            SendMessageA(slot.status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
            RECT bar{};
            GetWindowRect(slot.status_bar, &bar);
            bars.status = bar.bottom - bar.top;
        }
    }
    if (bars.status > 0) {
        g.frame_height += bars.status;
        if (g.centre_y && !g.maximised) {
            g.y -= bars.status / 2;
        }
    }
    if (bars.status > 0 || bars_across > 0 || bars_down > 0) {
        SetWindowPos(frame, nullptr, g.x, g.y, g.frame_width, g.frame_height,
                     SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
        if (slot.status_bar != nullptr) SendMessageA(slot.status_bar, WM_SIZE, 0, 0);
    }
    return bars;
}

// The client window in what the bars leave of the frame.
void root_client_create(HINSTANCE instance, HWND frame, const RootBars& bars)
{
    WindowSlot& slot = window_tables().windows[0];
    RECT inside{};
    GetClientRect(frame, &inside);
    inside.left += bars.toolbars[1];
    inside.top += bars.toolbars[0];
    inside.right -= bars.toolbars[2];
    inside.bottom -= bars.status + bars.toolbars[3];
    slot.client = CreateWindowExA(0, client_class, "", client_style, inside.left, inside.top,
                                  inside.right - inside.left, inside.bottom - inside.top, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, nullptr);
    if (slot.client == nullptr) {
        fatal("Failed to create window - aborting.");
    }
}

// The probed dialog made to live in the window; gives the probe's result,
// -4 when the dialog could not be made.
int root_dialog_embed(HWND frame, int dialog, const DialogProbe& probe, const RootGeometry& g)
{
    if (probe.result != 1) return probe.result;
    HWND embedded = dialog_embed(dialog, 0, !g.hidden);
    if (embedded == nullptr) return -4;
    win_dialog_record_attach(frame, embedded);
    // A maximised window's anchored dialog takes the client's size now.
    if (g.maximised && probe.anchored) {
        HWND client = window_tables().windows[0].client;
        RECT c{};
        GetClientRect(client, &c);
        SendMessageA(client, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
        UpdateWindow(embedded);
    }
    return probe.result;
}

void root_show(HWND frame, const RootGeometry& g)
{
    WindowTables& tables = window_tables();
    const WindowSlot& slot = tables.windows[0];
    tables.root_hidden = g.hidden;
    if (g.hidden) {
        if (g.maximised) {
            RECT c{};
            GetClientRect(slot.client, &c);
            SendMessageA(frame, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(c.right, c.bottom));
        }
        return;
    }
    ShowWindow(frame, g.maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    // Shown maximised, the coloured background is there at once, before the
    // program draws.
    if (g.maximised && slot.background_brush != nullptr)
        RedrawWindow(slot.client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    ValidateRect(slot.client, nullptr);
}

// The client's drawing context with the text state, the palette of a
// 256-colour display and the fill pattern; gives the client's size.
RECT root_drawing_context_set_up(int levels)
{
    WindowTables& tables = window_tables();
    const WindowSlot& slot = tables.windows[0];
    tables.client_dc = GetDC(slot.client);
    tables.drawing_dc = tables.client_dc;
    tables.dc_window = 0;
    SetBkMode(tables.client_dc, TRANSPARENT);
    SetTextAlign(tables.client_dc, TA_BASELINE);
    RECT client_rect{};
    GetClientRect(slot.client, &client_rect);
    win_text_state_reset();
    tables.bitmap_context = false;
    tables.metafile_context = false;
    tables.clip_region = nullptr;
    tables.brush = nullptr;

    const int bits = GetDeviceCaps(tables.client_dc, BITSPIXEL) * GetDeviceCaps(tables.client_dc, PLANES);
    if (bits == 8) {
        tables.palette_levels = levels;
        tables.display_palette = display_palette_create(tables, levels);
    }
    if (tables.pattern == nullptr) {
        tables.pattern = CreateCompatibleBitmap(tables.drawing_dc, 8, 8);
    }
    tables.drawing_mode = 13;
    return client_rect;
}

// The optional libraries, the clipboard format, no kept-back events, and
// the focus in the client of a shown window.
void root_services_finish(HWND frame, bool hidden)
{
    WindowTables& tables = window_tables();
    libraries_load(tables);
    if (tables.cgm_clipboard_format == 0) {
        tables.cgm_clipboard_format = RegisterClipboardFormatA("Korvanthide CGM");
    }
    for (PendingRedrawRecord& pending : event_state().pending) {
        pending = {};
    }
    if (!hidden) {
        SetFocus(tables.windows[0].client);
    }
    tables.last_active = frame;
}

// The graphics layer starts on the client window's drawable.
void root_graphics_start(const RECT& client)
{
    GraphicsState& graphics = graphics_state();
    graphics.current_window = 0;
    graphics.client_width = client.right;
    graphics.client_height = client.bottom;
    graphics.drawable_width = client.right;
    graphics.drawable_height = client.bottom;
    win_text_font_reset();
    gr_colour_table_defaults();
    gr_platform_install();
    gr_graphics_start(" ");
}

} // namespace

void win_classes_register(HINSTANCE instance)
{
    WindowTables& tables = window_tables();
    const HICON icon = LoadIconA(instance, "icon1");
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const UINT redraw = CS_HREDRAW | CS_VREDRAW;

    // The root frame's class is made afresh for every root window.
    UnregisterClassA(root_class, instance);
    bool ok = register_class(instance, root_class, win_frame_proc, 0, icon, arrow, nullptr) != 0;
    struct Once {
        const char* name;
        WNDPROC procedure;
        UINT style;
        HICON icon;
        LPCSTR cursor;
        HBRUSH background;
    };
    const Once classes[] = {
        {frame_class, win_frame_proc, 0, icon, IDC_ARROW, nullptr},
        {client_class, win_client_proc, redraw | CS_DBLCLKS, nullptr, IDC_ARROW,
         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))},
        {split_h_class, win_splitter_proc, redraw | CS_PARENTDC, nullptr, IDC_SIZENS,
         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
        {split_v_class, win_splitter_proc, redraw | CS_PARENTDC, nullptr, IDC_SIZEWE,
         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
    };
    for (const Once& c : classes) {
        if (class_atom(instance, c.name) == 0) {
            ok = register_class(instance, c.name, c.procedure, c.style, c.icon,
                                LoadCursorA(nullptr, c.cursor), c.background) != 0
                 && ok;
        }
    }
    if (!ok) {
        fatal("Failed to register class - aborting.");
    }
    tables.frame_class = class_atom(instance, frame_class);
    tables.client_class = class_atom(instance, client_class);
}

void win_classes_unregister(HINSTANCE instance)
{
    for (const char* name : {root_class, frame_class, client_class, split_h_class, split_v_class}) {
        UnregisterClassA(name, instance);
    }
    grid_services().unregister_classes();
    WindowTables& tables = window_tables();
    tables.frame_class = 0;
    tables.client_class = 0;
}

} // namespace korv

void WindowOpen(int flags, int x, int y, int width, int height, int menu,
                const std::array<int, 4>& toolbars, int dialog, std::string_view title,
                int levels, int colour)
{
    using namespace korv;
    WindowTables& tables = window_tables();
    if (tables.root_open != 0) {
        return;
    }
    // A program that opens its root window without starting the toolkit
    // still gets its plug-ins.
    toolkit_install();
    const HINSTANCE instance = module_instance();

    RootGeometry g;
    g.flags = flags;
    g.x = x;
    g.y = y;
    g.width = width >= 1 ? width : GetSystemMetrics(SM_CXSCREEN) * 8 / 10;
    g.height = height >= 1 ? height : GetSystemMetrics(SM_CYSCREEN) * 8 / 10;
    if (levels != 16 && levels != 32 && levels != 64 && levels != 128) levels = 16;
    std::string caption(title);
    caption.erase(caption.find_last_not_of(' ') + 1);

    root_classes_register(instance);
    const DialogProbe probe = root_services_start(instance, dialog, g);
    HWND frame = root_frame_create(instance, g, menu, colour, caption);
    const RootBars bars = root_bars_add(instance, frame, g, toolbars);
    root_client_create(instance, frame, bars);
    const int dialog_result = root_dialog_embed(frame, dialog, probe, g);
    root_show(frame, g);
    const RECT client = root_drawing_context_set_up(levels);
    root_services_finish(frame, g.hidden);

    if (dialog_result < 0) {
        const int number = dialog_result == -1   ? err::dialog_missing
                           : dialog_result == -2 ? err::dialog_style
                                                 : err::dialog_create;
        err_report(number, "WindowOpen");
    }
    tables.root_open = -1;
    tables.current = 0;
    tables.windows[0].flags = g.flags;
    root_graphics_start(client);
}

void WRootWindowClose()
{
    using namespace korv;
    WindowTables& tables = window_tables();
    if (tables.root_open == 0) {
        return;
    }
    hardcopy_services().hard_copy("S", " ");
    metafile_slots_release();

    // Drawing objects.
    if (tables.pattern != nullptr) {
        DeleteObject(tables.pattern);
        tables.pattern = nullptr;
    }
    if (tables.clip_region != nullptr) {
        DeleteObject(tables.clip_region);
        tables.clip_region = nullptr;
    }
    if (tables.drawing_dc != nullptr) {
        if (tables.replaced_brush != nullptr) SelectObject(tables.drawing_dc, tables.replaced_brush);
        if (tables.replaced_pen != nullptr) SelectObject(tables.drawing_dc, tables.replaced_pen);
    }
    if (tables.brush != nullptr) DeleteObject(tables.brush);
    if (tables.pen != nullptr) DeleteObject(tables.pen);
    tables.brush = tables.replaced_brush = nullptr;
    tables.pen = tables.replaced_pen = nullptr;
    if (tables.display_palette != nullptr) {
        DeleteObject(tables.display_palette);
        tables.display_palette = nullptr;
    }
    for (int bitmap = 0; bitmap < bitmap_slot_count; ++bitmap) {
        int status = 0;
        bmp_destroy(bitmap, status);
    }

    // Records the window layer made.
    for (WindowSlot& slot : tables.windows) {
        win_content_release(slot.frame);
    }
    dialog_root_closed();
    tables.last_active = nullptr;
    tables.active_dialog = nullptr;
    libraries_release(tables);

    if (tables.client_dc != nullptr && tables.dc_window >= 0) {
        ReleaseDC(tables.windows[static_cast<std::size_t>(tables.dc_window)].client,
                  tables.client_dc);
    }
    tables.client_dc = nullptr;
    tables.drawing_dc = nullptr;
    tables.dc_window = -1;

    for (int n = max_window; n >= 0; --n) {
        WindowSlot& slot = tables.windows[static_cast<std::size_t>(n)];
        if (slot.frame != nullptr && IsWindow(slot.frame)) {
            DestroyWindow(slot.frame);
        }
        win_slot_release(n);
    }
    tables.current = 0;
    tables.bitmap_context = false;
    tables.metafile_context = false;
    event_enable_reset();
    tables.root_open = 0;
    tables.root_hidden = false;
    win_classes_unregister(module_instance());
}
