// The window layer: per-window tables indexed by window number (0 the root
// window, 1..50 child windows), the record hung on a converted frame, the
// root window's opening and closing, and the small window-layer services
// that dialogs, graphics, the editor and the grid call.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "korvanthide/events.h"

// Tooltip texts of a window's toolbar buttons, kept by the toolbar loader;
// a record with command 0 is free.
struct ToolbarTooltipRecord {
    int command = 0;
    std::array<char, 80> text{};  // terminated
};
struct ToolbarTooltipTable {
    std::vector<ToolbarTooltipRecord> records;
};

// Window flags (WindowOpen, WindowOpenChild).
namespace korv::winflag {
inline constexpr int system_menu = 0x1;
inline constexpr int minimise_box = 0x2;
inline constexpr int maximise_box = 0x4;
inline constexpr int maximised = 0x8;
inline constexpr int inside_parent = 0x10;
inline constexpr int status_bar = 0x20;
inline constexpr int fixed_size = 0x40;
inline constexpr int hidden = 0x80;
inline constexpr int popup = 0x100;
inline constexpr int on_top = 0x200;
inline constexpr int tool_window = 0x10000;
inline constexpr int defaults = 7;
} // namespace korv::winflag

namespace korv {
inline constexpr int max_window = 50;      // window numbers 0..50
inline constexpr int window_slots = 51;
inline constexpr int status_parts = 255;
inline constexpr int no_rectangle = -999;  // first word of an unused restore rectangle
} // namespace korv

// Everything kept about one window number. A slot is free while frame is 0.
struct WindowSlot {
    HWND frame = nullptr;
    HWND client = nullptr;                       // class ZUVEDAZAZI
    HWND status_bar = nullptr;
    std::array<HWND, 4> toolbars{};              // 0 top, 1 left, 2 right, 3 bottom
    std::array<int, 4> toolbar_thickness{};
    HMENU menu = nullptr;
    HACCEL accelerators = nullptr;
    HGLOBAL menu_help = nullptr;                 // ZOQMENUSTRING resource of the menu
    HBRUSH background_brush = nullptr;
    int background_colour = -1;                  // RGB, -1 none
    int sound_device = 0;                        // MCI device, 0 none
    HWND reactivate = nullptr;                   // activated when this window closes
    HCURSOR cursor = nullptr;
    std::array<int, 4> restore_rectangle{korv::no_rectangle, 0, 0, 0};
    int flags = -1;                              // flags opened with; -1 once closed
    std::array<int, korv::status_parts> status_widths{};
    std::array<int, korv::status_parts> status_styles{};
    std::unique_ptr<ToolbarTooltipTable> tooltips;
};

struct WindowTables {
    std::array<WindowSlot, korv::window_slots> windows{};
    int current = 0;  // current window of the window layer

    // Drawing contexts: the current window's client context, the context the
    // screen device draws into, and whose context is held.
    HDC client_dc = nullptr;
    HDC drawing_dc = nullptr;
    int dc_window = -1;          // window whose client context is held, -1 none
    bool bitmap_context = false;
    bool metafile_context = false;
    HPEN pen = nullptr;          // current pen of the drawing context
    HPEN replaced_pen = nullptr;
    HBRUSH brush = nullptr;      // current brush of the drawing context
    HBRUSH replaced_brush = nullptr;
    HRGN clip_region = nullptr;
    int drawing_mode = 13;       // R2_COPYPEN
    HBITMAP pattern = nullptr;   // 8 by 8 pixels, compatible with the drawing context

    HWND last_active = nullptr;  // frame whose client last had the focus
    HWND active_dialog = nullptr;
    int root_open = 0;           // -1 while the root window is open
    bool root_hidden = false;

    int richedit_version = 0;    // 1 riched32 only, 2 RichEdit 2.0, 3 later
    UINT find_replace_message = 0;
    UINT cgm_clipboard_format = 0;
    ATOM frame_class = 0;        // DARIVUROV
    ATOM client_class = 0;       // ZUVEDAZAZI

    HMODULE msimg32 = nullptr;
    HMODULE dwmapi = nullptr;
    HMODULE richedit = nullptr;
    FARPROC gradient_fill = nullptr;
    FARPROC dwm_composition_enabled = nullptr;

    HPALETTE display_palette = nullptr;  // 256-colour displays only
    int palette_levels = 16;

    // Window text state (the text routines keep it up to date).
    int text_foreground = 0;
    int text_background = 15;
    int text_attribute = 0;
    std::array<int, 16> text_colours{};  // TextColourTable16
    int system_text_colour = 0;
    int system_window_colour = 0xFFFFFF;

    bool decimal_comma = false;
};

namespace korv {
// What a frame window has been turned into: the kind of the record hung on
// it (its user data).
enum class ContentKind : int {
    none = 0,
    editor = 1,
    bitmap_viewer = 2,
    dialog = 3,         // a dialog inside the window
    grid_editor = 4,
    split = 5,
};
} // namespace korv

// The common head of every record hung on a frame; the layers that create
// records of kinds 1, 2 and 4 begin theirs with it and free them. Records of
// kinds 3 and 5 are made with `new` of their own type and freed by the
// window layer when the window closes.
struct WindowContentRecord {
    korv::ContentKind kind = korv::ContentKind::none;
    std::array<HWND, 4> toolbars{};  // sides 0..3, kept by the toolbar loader
    HWND subject = nullptr;          // viewer, dialog, grid control or splitter bar
};

// Kind 5: a split window. subject is the splitter bar.
struct SplitWindowRecord : WindowContentRecord {
    int window = -1;                   // the split window's own number
    std::array<int, 2> panes{-1, -1};  // window numbers of the two panes
    int split_flags = 0;               // 1 horizontal bar, 2 share by ratio, 4 size given for pane 2
    std::array<int, 2> pane_flags{};
    std::array<int, 2> pane_sizes{};   // along the split axis, pixels
    int drag_anchor = -999;            // -999 when no drag is under way
    int outer_width = 0;
    int outer_height = 0;
    HWND focused_pane = nullptr;
    std::array<int, 2> spare{};
};

namespace korv {

WindowTables& window_tables();

// The slot of window n; nullptr for a number outside 0..50.
WindowSlot* win_slot(int n);

// The record on a frame, or nullptr.
WindowContentRecord* win_content_record(HWND frame);
// The split record on a frame, or nullptr.
SplitWindowRecord* win_split_record(HWND frame);
// Hangs a record on a frame (nullptr removes it); the caller owns its memory.
void win_content_record_set(HWND frame, WindowContentRecord* record);

// 0..50 for a frame or client handle, else a window holding a bitmap viewer
// whose viewer window it is, else -1 (also for a null handle).
int win_number_from_handle(HWND handle);

// Focus to a toolkit window; child windows and dialogs shown active or not.
void win_activate(HWND handle);
// A pane taking the focus: it becomes the focused pane of each split window
// above it, and the outermost one shows the pane's menu, or else the menu of
// the nearest split window above that has one.
void win_pane_make_active(HWND frame);
// A click on a frame inside a toolkit client window: the frame is raised and,
// unless the focus is inside it already, focus_target (or else the frame)
// takes the focus; then the frame becomes the active toolkit window.
void win_frame_click_activate(HWND frame, HWND focus_target);

// Puts back the saved pen and brush and lets go of the drawing context.
void win_drawing_target_release();

int win_gradient_fill_available();      // 2 when GradientFill was found, else 1
int win_menuiteminfo_size();            // 44 on NT 4 and older, else 48
int win_dwm_composition_enabled();      // 0 when unavailable or failing
void win_decimal_comma_set(int flag);   // 1 on, anything else off

// Window procedures of the toolkit classes.
LRESULT CALLBACK win_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK win_client_proc(HWND window, UINT message, WPARAM w, LPARAM l);

// Posts an event of a window procedure (types 1, 2, 4-9, 12-16) from its
// Windows message: `a` the value (button, key kind), w and l the message's
// parameters. Dialog-sourced types go through win_event_post_dialog.
void win_event_post(int type, int a, WPARAM w, LPARAM l, HWND window);

// Posts a dialog event (3, 10, 11, 104-116) whose values the dialog layer
// has taken from its records; a hidden graphics field's resize reaches the
// graphics layer instead.
PostOutcome win_event_post_dialog(const EventPost& post);

// The event wait without blocking: handles the messages already queued
// and hands out an event once one is posted.
void win_message_pump_peek(int& type, EventRecord& record);

void win_timer_set(int period, int timer_id, int target);

// An inside-parent frame's normal placement across a size change of kind
// `size_kind`: stored once when it is maximised, put back and cleared when
// it is restored.
void win_restore_rectangle_keep(HWND frame, WindowSlot& slot, WPARAM size_kind);

// Frees what a closing window slot holds (editor rows, pending records,
// tooltip table, sound device) and clears the slot. Every way a window
// closes ends here, so nothing of a closed window outlives it.
void win_slot_release(int window);

// What the window layer asks of the dialog manager (numctl_register_classes,
// dialog_root_opened, dialog_embed, dialog_host, ...) is declared with the
// dialog manager's records in korvanthide/dialogs_win.h.

} // namespace korv

// Public routines.
void WindowOpen(int flags = korv::winflag::defaults, int x = -999999, int y = -999999,
                int width = 0, int height = 0, int menu = 0,
                const std::array<int, 4>& toolbars = {}, int dialog = 0,
                std::string_view title = {}, int levels = 16, int colour = -1);
void WRootWindowClose();
