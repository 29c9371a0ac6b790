// The bitmap viewer end to end: real windows on the display, real messages,
// events read back through the event wait.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "korvanthide/bitmaps.h"
#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/errors_text.h"
#include "graphics/bitmap_viewer.h"
#include "testing/gui_support.h"
#include "testing/report_capture.h"
#include "graphics/bitmap_slots.h"

namespace {

using namespace korv;

constexpr int option_keys_only = 1;

using korv::testing::drain;
using korv::testing::Event;
using korv::testing::poll_event;
using korv::testing::poll_until;

// A real right click at the middle of a window, through the input queue.
void right_click(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    korv::testing::click_screen({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, korv::testing::Button::right);
}

// Records the palette-change messages a window receives, then hands them on.
WNDPROC spied_proc = nullptr;
std::vector<WPARAM> palette_changes;

LRESULT CALLBACK palette_spy(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_PALETTECHANGED)
        palette_changes.push_back(w);
    return CallWindowProcA(spied_proc, window, message, w, l);
}

class Viewer : public ::testing::Test {
protected:
    std::vector<std::string> reports;
    korv::testing::ReportCapture capture{reports};

    void SetUp() override
    {
        WindowOpen(7, -999999, -999999, 640, 480, 0, {}, 0, "Viewer test");
        drain();
    }
    void TearDown() override
    {
        korv::testing::hold_keys({VK_CONTROL}, false);
        bmp_destroy_all();
        WRootWindowClose();
    }
    int child(int flags = 7, int width = 500, int height = 400)
    {
        int window = -1;
        WindowOpenChild(window, flags, 10, 10, width, height, 0, {}, 0, "Bild");
        EXPECT_GT(window, 0);
        drain();
        return window;
    }
    int bitmap(int w, int h)
    {
        int handle = 0;
        WBitmapCreate(handle, w, h, 0x00FF00);
        return handle;
    }
    HWND viewer_of(int window) { return win_content_record(win_slot(window)->frame)->subject; }
    void make_current(int window)
    {
        int width = 0, height = 0;
        win_select(window, width, height);
    }
    int query(int window, int code)
    {
        int value = -1;
        bmp_viewer_scroll_position(window, code, value);
        return value;
    }
};

TEST_F(Viewer, RootWindowIsRefusedAndBadModesDoNothing)
{
    const int handle = bitmap(20, 20);
    WBitmapView(handle);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Error=1022"), std::string::npos);
    EXPECT_EQ(win_content_record(win_slot(0)->frame), nullptr);
    const int window = child();
    WBitmapView(handle, 0, 0, 4);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[1].find("Error=1039"), std::string::npos);
    EXPECT_EQ(win_content_record(win_slot(window)->frame), nullptr);
}

TEST_F(Viewer, SmallBitmapShrinksTheFrameAndAnswersQueries)
{
    const int window = child();
    const int handle = bitmap(100, 80);
    WBitmapView(handle, 0, 0, 2, 3);
    EXPECT_TRUE(reports.empty());
    HWND viewer = viewer_of(window);
    ASSERT_NE(viewer, nullptr);
    // The frame shrinks to the bitmap (its width no further than a frame
    // with a caption can go).
    RECT c{}, outer{};
    GetClientRect(viewer, &c);
    GetWindowRect(win_slot(window)->frame, &outer);
    EXPECT_LT(outer.right - outer.left, 300);
    EXPECT_GE(c.right, 100);
    EXPECT_LE(c.right, 100 + GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(c.bottom, 80);
    SCROLLINFO s{};
    s.cbSize = sizeof s;
    s.fMask = SIF_PAGE;
    GetScrollInfo(viewer, SB_HORZ, &s);
    EXPECT_EQ(s.nPage, 100u);
    GetScrollInfo(viewer, SB_VERT, &s);
    EXPECT_EQ(s.nPage, 80u);
    EXPECT_EQ(query(window, 101), 100);
    EXPECT_EQ(query(window, 102), 80);
    EXPECT_EQ(query(window, 3), handle);
    EXPECT_FALSE(IsWindowVisible(win_slot(window)->client));

    // The shown bitmap cannot be destroyed.
    WBitmapDestroy(handle);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Error=1036"), std::string::npos);
    EXPECT_EQ(bmp_viewer_find(handle - 1), window);

    // Taking the viewer off gives the window its client area back.
    int dialog = 0, status = -1;
    win_contents_detach(dialog, 0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(win_content_record(win_slot(window)->frame), nullptr);
    EXPECT_TRUE(IsWindowVisible(win_slot(window)->client));
    EXPECT_EQ(bmp_viewer_find(handle - 1), 0);
    WBitmapDestroy(handle);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(Viewer, KeysDragAndClicksBecomeEvents)
{
    const int window = child(7, 300, 200);
    const int handle = bitmap(1000, 800);
    WBitmapView(handle, 0, 0, 2, 3);
    HWND viewer = viewer_of(window);
    drain();
    WEventTypeEnable(event::viewer_scrolled, 1);

    korv::testing::hold_keys({VK_CONTROL}, true);
    PostMessageA(viewer, WM_KEYDOWN, VK_END, 0);
    Event e = poll_event();
    korv::testing::hold_keys({VK_CONTROL}, false);
    ASSERT_EQ(e.type, event::viewer_scrolled);
    EXPECT_GT(e.record.first(), 0);
    EXPECT_EQ(e.record.first(), query(window, 4));
    EXPECT_EQ(e.record.source(), event::source_viewer);
    EXPECT_EQ(e.record.window(), window);
    const int right = query(window, 4);
    drain();

    // Dragging 10 pixels right moves the picture 10 pixels towards 0; the
    // release gives the window's own cursor back.
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    win_slot(window)->cursor = cross;
    SendMessageA(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEALL));
    SendMessageA(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 20));
    SendMessageA(viewer, WM_LBUTTONUP, 0, MAKELPARAM(60, 20));
    EXPECT_EQ(query(window, 4), right - 10);
    EXPECT_EQ(GetCursor(), cross);
    win_slot(window)->cursor = nullptr;
    drain();

    // A right click is event 4 with source kind 2; a double click is 16
    // only while that type is enabled.
    PostMessageA(viewer, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 9));
    e = poll_event();
    ASSERT_EQ(e.type, event::mouse_down);
    EXPECT_EQ(e.record.first(), 3);
    EXPECT_EQ(e.record.source(), event::source_viewer);
    EXPECT_EQ(e.record.pixel_x(), 7);
    drain();
    PostMessageA(viewer, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(7, 9));
    EXPECT_EQ(poll_event().type, event::mouse_down);
    drain();
    WEventTypeEnable(event::double_click, 1);
    PostMessageA(viewer, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(7, 9));
    EXPECT_EQ(poll_event().type, event::double_click);
    drain();

    // The close box of a modeless viewer is a close request; the window stays.
    PostMessageA(win_slot(window)->frame, WM_CLOSE, 0, 0);
    e = poll_event();
    EXPECT_EQ(e.type, event::close_request);
    EXPECT_EQ(e.record.window(), window);
    EXPECT_TRUE(IsWindow(win_slot(window)->frame));
}

TEST_F(Viewer, InsideAParentModalBecomesModeless)
{
    const int handle = bitmap(50, 40);
    const int window = child(7 | winflag::inside_parent, 6000, 6000);
    WBitmapView(handle, 0, 0, 1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Error=1039"), std::string::npos);
    EXPECT_NE(win_content_record(win_slot(window)->frame), nullptr);
}

TEST_F(Viewer, BlockingViewerDisablesTheOtherWindowsUntilItCloses)
{
    const int handle = bitmap(60, 50);
    const int window = child();
    HWND root = win_slot(0)->frame;
    WBitmapView(handle, 0, 0, 3);
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(IsWindowEnabled(root));
    EXPECT_TRUE(IsWindowEnabled(win_slot(window)->frame));
    WindowCloseChild(window);
    EXPECT_TRUE(IsWindowEnabled(root));
    EXPECT_EQ(bmp_viewer_find(handle - 1), 0);
}

TEST_F(Viewer, ViewerTakingTheFocusMakesItsPaneTheActivePane)
{
    const int handle = bitmap(300, 200);
    const int window = child(7, 600, 400);
    int pane1 = -1, pane2 = -1;
    win_split(pane1, pane2, 0, -1, SplitPane{7, 7101, -1, "Links"}, SplitPane{7, 7102, -1, "Rechts"});
    ASSERT_GT(pane1, 0);
    ASSERT_GT(pane2, 0);
    HWND top = win_slot(window)->frame;
    const SplitWindowRecord* split = win_split_record(top);
    ASSERT_NE(split, nullptr);
    make_current(pane2);
    WBitmapView(handle, 0, 0, 2, option_keys_only);
    ASSERT_TRUE(reports.empty());
    HWND viewer = viewer_of(pane2);
    drain();
    ASSERT_EQ(split->focused_pane, win_slot(pane1)->frame);
    ASSERT_EQ(GetMenu(top), win_slot(pane1)->menu);

    // The user clicks into the picture: the viewer takes the focus, its
    // pane becomes the active one and the window shows that pane's menu.
    SetForegroundWindow(top);
    right_click(viewer);
    EXPECT_TRUE(poll_until([&] { return GetFocus() == viewer; }));
    EXPECT_EQ(split->focused_pane, win_slot(pane2)->frame);
    EXPECT_NE(win_slot(pane2)->menu, nullptr);
    EXPECT_EQ(GetMenu(top), win_slot(pane2)->menu);

    // A command from the window's menu now reaches the program for the
    // viewer's pane.
    drain();
    PostMessageA(top, WM_COMMAND, MAKEWPARAM(7112, 0), 0);
    const Event e = poll_event();
    EXPECT_EQ(e.type, event::command);
    EXPECT_EQ(e.record.window(), pane2);
}

TEST_F(Viewer, ClickInsideAParentRaisesAndActivatesTheViewersFrame)
{
    const int handle = bitmap(300, 200);
    int below = -1, above = -1;
    WindowOpenChild(below, 7 | winflag::inside_parent, 10, 10, 500, 400, 0, {}, 0, "Bild");
    make_current(below);
    WBitmapView(handle, 0, 0, 2, option_keys_only);
    ASSERT_TRUE(reports.empty());
    WindowOpenChild(above, 7 | winflag::inside_parent, 10, 10, 150, 100, 0, {}, 0, "Oben");
    ASSERT_GT(below, 0);
    ASSERT_GT(above, 0);
    drain();
    HWND frame = win_slot(below)->frame;
    HWND client = GetParent(frame);
    HWND viewer = viewer_of(below);
    ASSERT_EQ(GetWindow(client, GW_CHILD), win_slot(above)->frame);

    // The user clicks into the picture, clear of the window above it.
    SetForegroundWindow(win_slot(0)->frame);
    right_click(viewer);
    EXPECT_TRUE(poll_until([&] { return GetWindow(client, GW_CHILD) == frame; }));
    EXPECT_EQ(GetFocus(), viewer);
    EXPECT_EQ(window_tables().last_active, frame);
}

TEST_F(Viewer, PaletteMessagesReachTheViewer)
{
    const int window = child();
    const int handle = bitmap(120, 90);
    WBitmapView(handle, 0, 0, 2, 3);
    HWND frame = win_slot(window)->frame;
    HWND viewer = viewer_of(window);
    HWND root = win_slot(0)->frame;
    // This display has true colour and the toolkit no palette: nothing to
    // realise.
    EXPECT_EQ(SendMessageA(frame, WM_QUERYNEWPALETTE, 0, 0), FALSE);

    // The palette the toolkit keeps on a 256-colour display.
    std::vector<BYTE> block(offsetof(LOGPALETTE, palPalEntry) + 16 * sizeof(PALETTEENTRY));
    auto* head = reinterpret_cast<LOGPALETTE*>(block.data());
    auto* entries = reinterpret_cast<PALETTEENTRY*>(block.data() + offsetof(LOGPALETTE, palPalEntry));
    head->palVersion = 0x300;
    head->palNumEntries = 16;
    for (int i = 0; i < 16; ++i)
        entries[i] = {static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 16), 0, 0};
    HPALETTE palette = CreatePalette(head);
    ASSERT_NE(palette, nullptr);
    window_tables().display_palette = palette;
    palette_changes.clear();
    spied_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(viewer, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(palette_spy)));

    EXPECT_EQ(SendMessageA(frame, WM_QUERYNEWPALETTE, 0, 0), TRUE);
    // A change made by another window is handed to the viewer (not to the
    // hidden client), and so is the viewer's own, which it then leaves.
    SendMessageA(frame, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(root), 0);
    SendMessageA(frame, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(viewer), 0);
    EXPECT_EQ(palette_changes, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(root), reinterpret_cast<WPARAM>(viewer)}));

    // Painting with the palette selected still shows the picture.
    InvalidateRect(viewer, nullptr, FALSE);
    UpdateWindow(viewer);
    HDC dc = GetDC(viewer);
    EXPECT_EQ(GetPixel(dc, 10, 10) & 0xFFFFFF, 0x00FF00u);
    ReleaseDC(viewer, dc);

    SetWindowLongPtrA(viewer, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spied_proc));
    window_tables().display_palette = nullptr;
    DeleteObject(palette);
}

HWND modal_frame = nullptr;

void CALLBACK close_modal(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    PostMessageA(modal_frame, WM_CLOSE, 0, 0);
}

// Caret blinks and other system timers reaching a window of the program.
int blinks = 0, other_timers = 0;
LRESULT CALLBACK counting_proc(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == 0x118)
        (LOWORD(wp) == 0xFFF6 ? blinks : other_timers)++;
    return DefWindowProcA(w, message, wp, lp);
}

TEST_F(Viewer, ModalLoopKeepsTheCaretBlinkOnlyWhileTheCaretFlagIsSet)
{
    WNDCLASSA c{};
    c.lpfnWndProc = counting_proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "KorvBlinkCounter";
    RegisterClassA(&c);
    HWND counter = CreateWindowA("KorvBlinkCounter", "", 0, 0, 0, 10, 10, nullptr, nullptr, c.hInstance, nullptr);
    ASSERT_NE(counter, nullptr);
    for (const int flag : {1, 0}) {
        blinks = other_timers = 0;
        event_state().caret_filter = flag;
        const int handle = bitmap(60, 50);
        const int window = child();
        modal_frame = win_slot(window)->frame;
        make_current(window);
        PostMessageA(counter, 0x118, 0xFFF6, 0);
        PostMessageA(counter, 0x118, 7, 0);
        SetTimer(nullptr, 0, 200, close_modal);
        WBitmapView(handle, 0, 0, 1);
        EXPECT_EQ(blinks, flag != 0 ? 0 : 1) << flag;
        EXPECT_EQ(other_timers, 1) << flag;
        WBitmapDestroy(handle);
    }
    event_state().caret_filter = 1;
    DestroyWindow(counter);
}

TEST_F(Viewer, ModalViewerReturnsWhenItsFrameCloses)
{
    const int handle = bitmap(60, 50);
    const int window = child();
    modal_frame = win_slot(window)->frame;
    HWND root = win_slot(0)->frame;
    // A window the viewer's frame owns goes with it.
    int owned = -1;
    WindowOpenChild(owned, 7 | winflag::popup, 20, 20, 200, 150, 0, {}, 0, "Lupe", window);
    ASSERT_GT(owned, 0);
    HWND owned_frame = win_slot(owned)->frame;
    ASSERT_EQ(GetWindow(owned_frame, GW_OWNER), modal_frame);
    make_current(window);
    SetTimer(nullptr, 0, 200, close_modal);
    WBitmapView(handle, 0, 0, 1);
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(IsWindow(modal_frame));
    EXPECT_FALSE(IsWindow(owned_frame));
    EXPECT_EQ(win_is_open(owned), 0);
    EXPECT_EQ(win_is_open(window), 0);
    int free_slots = 0;
    win_free_slot_count(free_slots);
    EXPECT_EQ(free_slots, max_window);
    EXPECT_EQ(window_tables().current, 0);
    EXPECT_NE(window_tables().last_active, modal_frame);
    EXPECT_TRUE(IsWindowEnabled(root));
    // The bitmap is free again.
    EXPECT_EQ(bmp_viewer_find(handle - 1), 0);
}

} // namespace
