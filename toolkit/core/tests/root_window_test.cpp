// The root window and its events, end to end: real windows, real messages
// posted into the queue, events read back through WEventWait.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/menus.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/win_module.h"
#include "core/win_menus.h"
#include "core/window_layer.h"
#include "testing/gui_support.h"
#include "testing/report_capture.h"

namespace {

const char* const toolkit_classes[] = {"KORVANTHIDE", "DARIVUROV",   "ZUVEDAZAZI",   "KORVSPLITH",
                                       "KORVSPLITV",  "ZOQGRID",     "ZOQGRIDCLIENT"};

bool class_registered(const char* name)
{
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(korv::module_instance(), name, &info) != 0;
}

HWND root_frame() { return korv::win_slot(0)->frame; }
HWND root_client() { return korv::win_slot(0)->client; }

using korv::testing::drain;
using korv::testing::Event;
using korv::testing::hold_keys;

// The next event; the give-up timer's event when none comes in time.
Event wait()
{
    Event e;
    korv::testing::wevent_wait(e, 5000);
    return e;
}

class RootWindow : public ::testing::Test {
protected:
    void open(int flags)
    {
        WindowOpen(flags, -999999, -999999, 640, 480, 0, {}, 0, "Korvanthide test");
        ASSERT_NE(root_frame(), nullptr);
        drain();
    }
    void TearDown() override
    {
        WRootWindowClose();
        hold_keys({VK_CONTROL, VK_SHIFT}, false);
    }
};

TEST_F(RootWindow, HiddenRootAndClassesLiveWithIt)
{
    for (const char* name : toolkit_classes) {
        EXPECT_FALSE(class_registered(name)) << name;
    }
    open(135);
    EXPECT_FALSE(IsWindowVisible(root_frame()));
    EXPECT_TRUE(korv::window_tables().root_hidden);
    EXPECT_EQ(korv::win_slot(0)->flags, 135);
    RECT client{};
    GetClientRect(root_client(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    for (const char* name : toolkit_classes) {
        EXPECT_TRUE(class_registered(name)) << name;
    }

    // A second opening leaves the first window alone.
    HWND first = root_frame();
    WindowOpen(7, 0, 0, 100, 100);
    EXPECT_EQ(root_frame(), first);
    EXPECT_FALSE(IsWindowVisible(first));

    WRootWindowClose();
    EXPECT_FALSE(IsWindow(first));
    for (const char* name : toolkit_classes) {
        EXPECT_FALSE(class_registered(name)) << name;
    }
    EXPECT_EQ(korv::win_slot(0)->frame, nullptr);
    EXPECT_EQ(korv::win_slot(0)->flags, -1);
    EXPECT_EQ(korv::window_tables().root_open, 0);
    // Closing again with nothing open does nothing.
    WRootWindowClose();
    EXPECT_EQ(korv::graphics_state().hardcopy_active, 0);
}

TEST_F(RootWindow, FieldChangeTypeOffUntilEnabledAndAfterReopen)
{
    open(135);
    EXPECT_EQ(korv::win_event_enable_get(10), 0);
    WEventTypeEnable(10, 1);
    EXPECT_EQ(korv::win_event_enable_get(10), 1);
    WRootWindowClose();
    open(135);
    EXPECT_EQ(korv::win_event_enable_get(10), 0);
    EXPECT_EQ(korv::win_event_enable_get(9), 1);
}

TEST_F(RootWindow, LeftClickGivesPixelsAndWindowUnits)
{
    open(7);
    ASSERT_TRUE(PostMessageA(root_client(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20)));
    const Event e = wait();
    ReleaseCapture();
    EXPECT_EQ(e.type, 4);
    EXPECT_EQ(e.record.slot(1), 0);
    EXPECT_EQ(e.record.slot(2), 1);
    EXPECT_EQ(e.record.slot(3), 6);  // Shift and the left button
    EXPECT_EQ(e.record.slot(4), 0);
    EXPECT_EQ(e.record.slot(5), -1);
    EXPECT_EQ(e.record.slot(13), 10);
    EXPECT_EQ(e.record.slot(14), 20);
    EXPECT_EQ(e.record.slot(6), 164);  // (10 + 0.5) * 9999 / 640
    EXPECT_EQ(e.record.slot(7), 427);  // (20 + 0.5) * 9999 / 480
}

TEST_F(RootWindow, KeysAreMappedToToolkitCodes)
{
    open(7);
    // Key-down messages as the keyboard posts them; the pump's translation
    // adds the character messages.
    struct Case {
        std::initializer_list<int> held;
        UINT message;
        WPARAM key;
        int code;
    };
    const Case cases[] = {
        {{VK_CONTROL}, WM_KEYDOWN, VK_F1, 341},
        {{VK_CONTROL, VK_SHIFT}, WM_KEYDOWN, VK_F5, 345},  // Ctrl wins over Shift
        {{VK_SHIFT}, WM_KEYDOWN, VK_TAB, 274},
        {{VK_SHIFT}, WM_KEYDOWN, 'A', 'A'},
        {{}, WM_KEYDOWN, 'A', 'a'},
        {{}, WM_KEYDOWN, VK_PRIOR, 262},
        {{VK_SHIFT}, WM_KEYDOWN, VK_UP, 262},
        {{}, WM_KEYDOWN, VK_NUMPAD3, 283},
        {{}, WM_CHAR, 'x', 'x'},
    };
    for (const Case& c : cases) {
        hold_keys(c.held, true);
        // Shift alone posts nothing; the key after it is the event.
        PostMessageA(root_client(), WM_KEYDOWN, VK_SHIFT, 0);
        PostMessageA(root_client(), c.message, c.key, 0);
        const Event e = wait();
        hold_keys(c.held, false);
        EXPECT_EQ(e.type, 1) << c.key;
        EXPECT_EQ(e.record.slot(2), c.code) << c.key;
        EXPECT_EQ(e.record.slot(1), 0);
        EXPECT_EQ(e.record.slot(3), -1);
    }
}

TEST_F(RootWindow, CloseBoxPostsCloseRequestAndWindowStays)
{
    open(7);
    ASSERT_TRUE(PostMessageA(root_frame(), WM_CLOSE, 0, 0));
    const Event e = wait();
    EXPECT_EQ(e.type, 9);
    EXPECT_EQ(e.record.slot(1), 0);
    EXPECT_EQ(e.record.slot(2), -1);
    EXPECT_TRUE(IsWindow(root_frame()));
}

TEST_F(RootWindow, QuitIsKeptForTheOuterLoop)
{
    open(7);
    PostQuitMessage(7);
    PostMessageA(root_frame(), WM_CLOSE, 0, 0);
    const Event e = wait();
    EXPECT_EQ(e.type, 9);
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(RootWindow, MouseButtonsWheelAndDoubleClicks)
{
    open(7);
    struct Case {
        UINT message;
        WPARAM w;
        int x, y;
        int type, button, modifiers;
    };
    POINT screen{30, 40};
    ClientToScreen(root_client(), &screen);
    const Case cases[] = {
        {WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, 5, 6, 4, 3, 17},
        {WM_MBUTTONDBLCLK, MK_MBUTTON, 7, 8, 4, 2, 8},  // double clicks off: a press
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), screen.x, screen.y, 4, 5, 2},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 120), screen.x, screen.y, 4, 4, 0},
    };
    for (const Case& c : cases) {
        PostMessageA(root_client(), c.message, c.w, MAKELPARAM(c.x, c.y));
        const Event e = wait();
        ReleaseCapture();
        EXPECT_EQ(e.type, c.type) << c.message;
        EXPECT_EQ(e.record.slot(2), c.button) << c.message;
        EXPECT_EQ(e.record.slot(3), c.modifiers) << c.message;
        if (c.message == WM_MOUSEWHEEL) {
            EXPECT_EQ(e.record.slot(13), 30);
            EXPECT_EQ(e.record.slot(14), 40);
        }
    }
    WEventTypeEnable(16, 1);
    PostMessageA(root_client(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(wait().type, 16);
    ReleaseCapture();
    WEventTypeEnable(5, 1);
    PostMessageA(root_client(), WM_LBUTTONUP, 0, MAKELPARAM(2, 3));
    const Event up = wait();
    EXPECT_EQ(up.type, 5);
    EXPECT_EQ(up.record.slot(2), 1);
}

TEST_F(RootWindow, ExposesWhileBusyComeOnceAsWholeArea)
{
    open(7);
    // The program is busy: repaints happen outside any wait.
    RECT part{5, 5, 50, 50};
    InvalidateRect(root_client(), &part, TRUE);
    UpdateWindow(root_client());
    RECT other{100, 100, 120, 130};
    InvalidateRect(root_client(), &other, TRUE);
    UpdateWindow(root_client());
    EXPECT_EQ(korv::event_state().pending[0].type, 7);

    const Event e = wait();
    EXPECT_EQ(e.type, 7);
    EXPECT_EQ(e.record.slot(1), 0);
    EXPECT_EQ(e.record.slot(13), 0);
    EXPECT_EQ(e.record.slot(14), 0);
    EXPECT_EQ(e.record.slot(15), 640);
    EXPECT_EQ(e.record.slot(16), 480);
    EXPECT_EQ(korv::event_state().pending[0].type, 0);
}

TEST_F(RootWindow, ResizeWhileBusyIsHandedOutAndSizesTheDrawable)
{
    open(7);
    RECT frame{};
    GetWindowRect(root_frame(), &frame);
    SetWindowPos(root_frame(), nullptr, 0, 0, frame.right - frame.left - 40,
                 frame.bottom - frame.top - 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Event e = wait();
    EXPECT_EQ(e.type, 8);
    EXPECT_EQ(e.record.slot(2), 600);
    EXPECT_EQ(e.record.slot(3), 450);
    EXPECT_EQ(e.record.slot(15), 600);
    EXPECT_EQ(e.record.slot(16), 450);
    EXPECT_EQ(korv::graphics_state().drawable_width, 600);
    EXPECT_EQ(korv::graphics_state().client_height, 450);
}

TEST_F(RootWindow, FrameTimerFiresOnceClientTimerKeepsRunning)
{
    open(7);
    korv::win_timer_set(1, 55, 0);  // frame
    Event e = wait();
    EXPECT_EQ(e.type, 13);
    EXPECT_EQ(e.record.slot(2), 55);
    EXPECT_FALSE(KillTimer(root_frame(), 55));  // already gone

    korv::win_timer_set(1, 56, 1);  // client
    EXPECT_EQ(wait().record.slot(2), 56);
    EXPECT_EQ(wait().record.slot(2), 56);
    korv::win_timer_set(0, 56, 1);
    EXPECT_FALSE(KillTimer(root_client(), 56));

    // The timed wait ends on its own timer, which it stops.
    korv::win_timed_wait(1);
    EXPECT_FALSE(KillTimer(root_client(), 999));
    EXPECT_EQ(korv::testing::poll_event().type, -1);
}

TEST_F(RootWindow, CommandsAndNonClientPresses)
{
    open(7);
    PostMessageA(root_frame(), WM_COMMAND, MAKEWPARAM(40001, 0), 0);
    Event e = wait();
    EXPECT_EQ(e.type, 2);
    EXPECT_EQ(e.record.slot(2), 40001);

    WEventTypeEnable(12, 1);
    POINT p{2, 2};
    PostMessageA(root_frame(), WM_NCRBUTTONDOWN, HTBORDER, MAKELPARAM(p.x, p.y));
    e = wait();
    EXPECT_EQ(e.type, 12);
    EXPECT_EQ(e.record.slot(2), 3);
}

TEST_F(RootWindow, ToolbarTooltipFromItsTableElseTheStringResource)
{
    open(135);
    int id = 330, w = 0, h = 0;
    korv::win_toolbar_load(id, 0, 0, w, h);
    ASSERT_EQ(id, 330);
    int command = 40011;
    korv::win_toolbar_tooltip_set(command, "Kept text");
    ASSERT_EQ(command, 40011);
    HWND bar = korv::win_slot(0)->toolbars[0];
    HWND tips = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);

    const auto ask = [&](HWND from, int button) {
        NMTTDISPINFOA info{};
        info.hdr.hwndFrom = from;
        info.hdr.idFrom = static_cast<UINT_PTR>(button);
        info.hdr.code = TTN_GETDISPINFOA;
        char none[] = "none";
        info.lpszText = none;
        SendMessageA(root_frame(), WM_NOTIFY, static_cast<WPARAM>(button),
                     reinterpret_cast<LPARAM>(&info));
        return std::string(info.lpszText);
    };
    EXPECT_EQ(ask(tips, 40011), "Kept text");
    EXPECT_EQ(ask(tips, 40010), "Save from the resource");
    // A tooltip control of no toolkit toolbar is not answered.
    EXPECT_EQ(ask(root_client(), 40010), "none");
}

TEST_F(RootWindow, WindowNumbersOfHandles)
{
    open(135);
    EXPECT_EQ(korv::win_number_from_handle(nullptr), -1);
    EXPECT_EQ(korv::win_number_from_handle(root_frame()), 0);
    EXPECT_EQ(korv::win_number_from_handle(root_client()), 0);
    EXPECT_EQ(korv::win_number_from_handle(GetDesktopWindow()), -1);
}

TEST_F(RootWindow, MenuAcceleratorBecomesCommand)
{
    WindowOpen(7, -999999, -999999, 640, 480, 300);
    drain();
    ASSERT_NE(korv::win_slot(0)->menu, nullptr);
    ASSERT_NE(korv::win_slot(0)->accelerators, nullptr);
    RECT client{};
    GetClientRect(root_client(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);

    hold_keys({VK_CONTROL}, true);
    PostMessageA(root_client(), WM_KEYDOWN, 'S', 0);
    const Event e = wait();
    hold_keys({VK_CONTROL}, false);
    EXPECT_EQ(e.type, 2);
    EXPECT_EQ(e.record.slot(2), 40010);
}

TEST_F(RootWindow, StatusBarLeavesClientItsSize)
{
    open(0x27);
    HWND bar = korv::win_slot(0)->status_bar;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetDlgCtrlID(bar), 999);
    RECT client{};
    GetClientRect(root_client(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

TEST_F(RootWindow, DefaultsFillEightyPercentCentred)
{
    WindowOpen();
    drain();
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    RECT client{};
    GetClientRect(root_client(), &client);
    EXPECT_EQ(client.right, screen_width * 8 / 10);
    EXPECT_EQ(client.bottom, screen_height * 8 / 10);
    RECT frame{};
    GetWindowRect(root_frame(), &frame);
    EXPECT_EQ(frame.left, (screen_width - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (screen_height - (frame.bottom - frame.top)) / 2);
    const LONG style = GetWindowLongA(root_frame(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(IsWindowVisible(root_frame()));
}

TEST_F(RootWindow, EmbeddedDialogSizesAndFixesTheWindow)
{
    WindowOpen(7, -999999, -999999, 640, 480, 0, {}, 310);
    drain();
    const auto* record = korv::win_content_record(root_frame());
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->kind, korv::ContentKind::dialog);
    RECT dialog{};
    GetWindowRect(record->subject, &dialog);
    RECT client{};
    GetClientRect(root_client(), &client);
    EXPECT_EQ(client.right, dialog.right - dialog.left);
    EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
    // No resize anchor: fixed size, no maximise box.
    const LONG style = GetWindowLongA(root_frame(), GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    WRootWindowClose();
    EXPECT_FALSE(IsWindow(record->subject));
}

TEST_F(RootWindow, UnusableDialogsAreReportedAndWindowKeepsItsSize)
{
    std::vector<std::string> reports;
    {
        const korv::testing::ReportCapture capture{reports};
        WindowOpen(7, -999999, -999999, 640, 480, 0, {}, 320);  // has a caption
        drain();
        EXPECT_EQ(korv::win_content_record(root_frame()), nullptr);
        RECT client{};
        GetClientRect(root_client(), &client);
        EXPECT_EQ(client.right, 640);
        EXPECT_EQ(client.bottom, 480);
        WRootWindowClose();
        WindowOpen(7, -999999, -999999, 640, 480, 0, {}, 999);  // no such resource
    }
    EXPECT_TRUE(korv::testing::reported(reports, "Routine:WindowOpen Error=1045"));
    EXPECT_TRUE(korv::testing::reported(reports, "Routine:WindowOpen Error=1007"));
}

TEST_F(RootWindow, HiddenRootResizeReachesTheGraphics)
{
    open(135);
    RECT frame{};
    GetWindowRect(root_frame(), &frame);
    SetWindowPos(root_frame(), nullptr, 0, 0, frame.right - frame.left + 20,
                 frame.bottom - frame.top + 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(korv::graphics_state().client_width, 660);
    EXPECT_EQ(korv::graphics_state().client_height, 490);
    // Not an event: nothing is kept for the next wait.
    EXPECT_EQ(korv::event_state().pending[0].type, 0);
}

TEST_F(RootWindow, ClickInAnotherWindowUsesThatWindowsUnits)
{
    open(7);
    int child = 0;
    WindowOpenChild(child, 0x17, 0, 0, 5000, 5000);
    ASSERT_EQ(child, 1);
    drain();
    IGrSelect(1, 0);
    const int target_width = korv::graphics_state().drawable_width;
    HWND child_client = korv::win_slot(1)->client;
    RECT inner{};
    GetClientRect(child_client, &inner);
    ASSERT_LT(inner.right, 640);

    PostMessageA(child_client, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    Event e = wait();
    ReleaseCapture();
    EXPECT_EQ(e.type, 4);
    EXPECT_EQ(e.record.slot(1), 1);
    EXPECT_EQ(e.record.slot(6), static_cast<int>(10.5f * 9999.0f / inner.right));
    EXPECT_EQ(e.record.slot(7), static_cast<int>(20.5f * 9999.0f / inner.bottom));
    EXPECT_EQ(korv::graphics_state().target_number, 0);
    EXPECT_EQ(korv::graphics_state().drawable_width, target_width);
}

// Answers the window layer's failure box as soon as it shows.
DWORD WINAPI answer_failure_box(LPVOID)
{
    for (;;) {
        if (HWND box = FindWindowA(nullptr, "Korvanthide Window")) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

TEST(RootWindowFatal, UnregistrableClassEndsTheRunWithFailure)
{
    // A frame class still in use cannot be made afresh.
    EXPECT_EXIT(
        {
            WNDCLASSA cls{};
            cls.lpfnWndProc = DefWindowProcA;
            cls.hInstance = korv::module_instance();
            cls.lpszClassName = "KORVANTHIDE";
            RegisterClassA(&cls);
            CreateWindowExA(0, "KORVANTHIDE", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            korv::module_instance(), nullptr);
            CreateThread(nullptr, 0, answer_failure_box, nullptr, 0, nullptr);
            WindowOpen(135, -999999, -999999, 640, 480);
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace

TEST_F(RootWindow, MaximisedWindowShowsItsColourAtOnce)
{
    namespace flag = korv::winflag;
    WindowOpen(flag::defaults | flag::maximised, -999999, -999999, 640, 480, 0, {}, 0, "Gross", 16, 0x00FF00);
    RECT client{};
    GetClientRect(root_client(), &client);
    ASSERT_GT(client.right, 640);
    // The background is there before anything else is drawn or handled.
    HDC dc = GetDC(root_client());
    const COLORREF corner = GetPixel(dc, client.right - 2, client.bottom - 2);
    ReleaseDC(root_client(), dc);
    EXPECT_EQ(corner, RGB(0, 255, 0));
    WRootWindowClose();
    drain();
}

TEST_F(RootWindow, MaximisedWindowStretchesItsAnchoredDialog)
{
    namespace flag = korv::winflag;
    WindowOpen(flag::defaults | flag::maximised, -999999, -999999, 640, 480, 0, {}, 340, "Gross");
    RECT client{};
    GetClientRect(root_client(), &client);
    ASSERT_GT(client.right, 640);
    const auto* record = korv::win_content_record(root_frame());
    ASSERT_NE(record, nullptr);
    RECT dialog{};
    GetWindowRect(record->subject, &dialog);
    EXPECT_EQ(dialog.right - dialog.left, client.right);
    EXPECT_EQ(dialog.bottom - dialog.top, client.bottom);
    WRootWindowClose();
    drain();
}
