// The converter wired to the toolkit: the dialog field routines, the
// colour-choice dialog, the Info windows and the main loop.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "converter.h"
#include "converter_program.h"
#include "korvanthide/bitmaps.h"
#include "korvanthide/common_dialogs.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/drawing.h"
#include "korvanthide/editor.h"
#include "korvanthide/events.h"
#include "korvanthide/files.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"

namespace {

constexpr int kMainDialog = 101;
constexpr int kRootFlags = korv::winflag::defaults | korv::winflag::hidden;
constexpr int kSemiModeless = 3;
constexpr int kMemoryBitmap = 3;

// The help viewer: the file by its bare name (30 characters, blank-padded),
// modeless, read-only, formatted, word-wrapped, without toolbar and without
// the commands that would open, save or close files.
constexpr std::string_view kHelpFile = "Chromalversor3.rtf            ";
constexpr int kViewerModeless = 2;
constexpr int kViewerOptions = 0xA367;
constexpr int kViewerFont = 3;
constexpr int kViewerSize = 10;
constexpr int kInfoWidth = 500;
constexpr int kInfoHeight = 700;

class ToolkitPort final : public ConverterToolkit {
public:
    void put_trackbar(int field, int position, int selection_start, int selection_end) override
    {
        WDialogPutTrackBar(field, position, selection_start, selection_end);
    }
    void put_integer(int field, int value) override { WDialogPutInteger(field, value); }
    void put_real(int field, float value) override { WDialogPutReal(field, value); }
    void put_string(int field, std::string_view text) override { WDialogPutString(field, text); }
    void put_menu(int field, std::span<const std::string_view> items, int selected) override
    {
        WDialogPutMenu(field, items, static_cast<int>(items.size()), selected);
    }
    void select_menu_item(int field, int selected) override
    {
        // The items are in place: only the selection moves, which the
        // combo box also shows in its edit part.
        const HWND list = GetDlgItem(korv::dialog_current_window(), field);
        if (list != nullptr) {
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected - 1), 0);
        }
    }
    void field_state(int field, int state) override { WDialogFieldState(field, state); }
    void spinner_step(int field, float small_step, float large_step) override
    {
        WDialogSpinnerStep(field, small_step, large_step);
    }
    void show_preview(int field, float r, float g, float b, int width, int height) override
    {
        cc_show_preview(field, r, g, b, width, height);
    }

    int get_trackbar(int field) override
    {
        int position = 0;
        WDialogGetTrackBar(field, position);
        return position;
    }
    int get_integer(int field) override
    {
        int value = 0;
        WDialogGetInteger(field, value);
        return value;
    }
    float get_real(int field) override
    {
        float value = 0.0f;
        WDialogGetReal(field, value);
        return value;
    }
    int get_menu(int field) override
    {
        int item = 0;
        WDialogGetMenu(field, item);
        return item;
    }
    void get_string(int field, std::span<char> text) override { WDialogGetString(field, text); }

    int focused_field() override
    {
        const HWND dialog = korv::dialog_current_window();
        const HWND focus = GetFocus();
        if (dialog == nullptr || focus == nullptr || GetParent(focus) != dialog) {
            return 0;
        }
        return GetDlgCtrlID(focus);
    }
    void refuse_field(int field) override
    {
        korv::dialog_beep(2);
        WDialogSetField(field);
    }
    int select_colour(std::array<int, 3>& rgb) override
    {
        WSelectColourRGB(rgb);
        return WToolkitQuery(4);
    }
    int show_info() override { return cc_show_info(); }
    void close_window(int window) override { WindowCloseChild(window); }
};

} // namespace

ConverterToolkit& cc_toolkit()
{
    static ToolkitPort port;
    return port;
}

void cc_show_preview(int field, float r, float g, float b, int width, int height)
{
    // The bitmap is made in the preview's colour, so every pixel already
    // holds it: writing the same colour into each of them again changes
    // nothing and costs a transfer pixel by pixel.
    int bitmap = 0;
    WBitmapCreate(bitmap, width, height, cc_preview_pixel(r, g, b));
    if (bitmap == 0) {
        return;  // reported; the field keeps its picture
    }
    WDialogPutImage(field, bitmap, kMemoryBitmap);
    WBitmapDestroy(bitmap);
}

int cc_show_info()
{
    int window = -1;
    WindowOpenChild(window, korv::winflag::defaults, -999999, -999999, kInfoWidth, kInfoHeight, 0, {}, 0, "Info");
    if (window < 1) {
        return -1;  // no free window: the viewer would land in another window
    }
    // Windows opened while the semi-modeless dialog is shown start disabled;
    // the help must be readable and closable beside the dialog.
    const HWND frame = korv::window_tables().windows.at(static_cast<std::size_t>(window)).frame;
    if (frame != nullptr) {
        EnableWindow(frame, TRUE);
    }
    WEditFile(kHelpFile, kViewerModeless, 0, kViewerOptions, kViewerFont, kViewerSize);
    return window;
}

void cc_toolkit_start()
{
    WToolkitStart();
    WindowOpen(kRootFlags, -999999, -999999, 640, 480, 0, {}, 0, "Chromalversor");
    IGrColourModeSelect(24);
    IGrFillStyleSet(4);
    WDialogLoad(kMainDialog);
    WDialogShow(-1, -1, 0, kSemiModeless);
}

void cc_main()
{
    cc_toolkit_start();
    Converter converter(cc_toolkit());
    converter.start();
    WEventTypeEnable(korv::event::field_changed, 1);

    int type = 0;
    EventRecord record;
    do {
        WEventWait(type, record);
    } while (converter.handle_event(type, record));

    WRootWindowClose();
    korv::sys_exit_process(0);
}
