// Window operations on a real frame with a client window and a status bar,
// entered in the window tables as window 0.
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "core/win_module.h"
#include "core/window_ops_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace korv;

namespace {

class Window : public ::testing::Test {
protected:
    HWND frame = nullptr, client = nullptr, bar = nullptr;
    GraphicsStateSaver saver;

    void SetUp() override
    {
        INITCOMMONCONTROLSEX cc{sizeof cc, ICC_BAR_CLASSES};
        InitCommonControlsEx(&cc);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = module_instance();
        wc.lpszClassName = "WindowOpsTest";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&wc);
        RECT r{0, 0, 500, 300};
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        frame = CreateWindowExA(0, "WindowOpsTest", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, module_instance(), nullptr);
        client = CreateWindowExA(0, "WindowOpsTest", "", WS_CHILD | WS_VISIBLE, 0, 0, 500, 270, frame, nullptr,
                                 module_instance(), nullptr);
        bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 500, 10, frame,
                              reinterpret_cast<HMENU>(999), module_instance(), nullptr);
        SendMessageA(bar, WM_SIZE, 0, 0);
        auto& t = window_tables();
        WindowSlot& s = t.windows[0];
        s.frame = frame;
        s.client = client;
        s.status_bar = bar;
        s.flags = 7;
        s.status_widths.fill(0);
        s.status_widths[0] = -1;
        s.status_styles.fill(0);
        t.current = 0;
        win_text_state_reset();
    }
    void TearDown() override
    {
        auto& t = window_tables();
        t.windows[0] = WindowSlot{};
        DestroyWindow(frame);
    }
    std::vector<int> parts()
    {
        std::array<int, 8> edges{};
        const int n = static_cast<int>(SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data())));
        return {edges.begin(), edges.begin() + n};
    }
    std::string part_text(int index)
    {
        char text[4096] = {};
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
};

} // namespace

TEST_F(Window, StatusBarPartsKeepTheirWidthsBehindTheStretchingOne)
{
    win_statusbar_part_define(1, 100, 1);
    win_statusbar_part_define(2, -1, 0);
    win_statusbar_part_define(3, 80, 2);
    win_statusbar_parts_apply(3);
    EXPECT_EQ(parts(), (std::vector<int>{100, 420, 500}));
    win_statusbar_text(2, "Mitte   ");
    EXPECT_EQ(part_text(1), "Mitte");
    EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)) & SBT_NOBORDERS, SBT_NOBORDERS);
    win_statusbar_part_define(1, 100, 1);
    win_statusbar_part_define(2, 200, 1);
    win_statusbar_parts_apply(2);
    EXPECT_EQ(parts(), (std::vector<int>{100, 300}));
}

TEST_F(Window, StatusBarTextsAreCutAndBounded)
{
    win_statusbar_text(1, "Fehler   ");
    EXPECT_EQ(part_text(0), "Fehler");
    win_statusbar_text(0, "nothing");
    win_statusbar_text(256, "nothing");
    EXPECT_EQ(part_text(0), "Fehler");
    std::array<char, 3> small{};
    win_statusbar_text_get(1, small);
    EXPECT_EQ(std::string(small.data(), small.size()), "Feh");
    std::array<char, 8> wide{};
    win_statusbar_text_get(1, wide);
    EXPECT_EQ(std::string(wide.data(), wide.size()), "Fehler  ");
    // A text longer than any fixed read-back buffer survives re-applying.
    const std::string long_text(2000, 'x');
    win_statusbar_text(1, long_text);
    win_statusbar_parts_apply(1);
    EXPECT_EQ(part_text(0), long_text);
}

TEST_F(Window, PlacementThatKeepsEverythingChangesNothing)
{
    RECT before{};
    GetWindowRect(frame, &before);
    int width = -999999, height = -999999;
    win_placement_set(-999999, -999999, width, height, -1);
    RECT after{};
    GetWindowRect(frame, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    RECT c{};
    GetClientRect(client, &c);
    EXPECT_EQ(width, c.right);
    EXPECT_EQ(height, c.bottom);
    int state = -1;
    win_state_get(state);
    EXPECT_EQ(state, 1);
}

TEST_F(Window, Queries)
{
    EXPECT_EQ(win_info_query(4), 0);
    EXPECT_EQ(win_info_query(3), 7);
    EXPECT_EQ(win_info_query(15), 50);
    EXPECT_EQ(win_info_query(99), 0);
    POINT origin{0, 0};
    ClientToScreen(client, &origin);
    EXPECT_EQ(win_info_query(7), origin.x);
    int colour = -1;
    win_system_colour(7, colour);
    EXPECT_EQ(colour, static_cast<int>(GetSysColor(COLOR_WINDOW)));
    int icon = 4711;
    win_title_icon_set(icon, 1, std::string_view("Neu\0rest", 8));
    EXPECT_EQ(icon, -2);
    char title[32] = {};
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Neu");
}

TEST_F(Window, TextColoursAndOutput)
{
    auto& t = window_tables();
    WTextColourSet(9, 16);
    EXPECT_EQ(t.text_foreground, 9);
    EXPECT_EQ(t.text_background, 17);
    WTextColourSet(17, 17);
    EXPECT_EQ(t.text_foreground, 9);
    EXPECT_EQ(t.text_background, 17);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 50);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    t.drawing_dc = dc;
    win_fill_rectangle(0, 0, 199, 49, 0xFFFFFF);
    win_fill_rectangle(5, 5, 2, 2, 0x0000FF); // corners in any order, both included
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 6, 5), RGB(255, 255, 255));
    WTextColourSet(0, 15);
    WTextAttributeSet(1);
    int x = 10, y = 30;
    win_text_draw(x, y, std::string_view("Hallo\0", 6));
    int width = 0;
    win_text_width(width, "Hallo");
    EXPECT_GT(width, 0);
    EXPECT_EQ(x, 10 + width);
    EXPECT_EQ(GetPixel(dc, 12, 32), RGB(0, 0, 0)); // the underline 2 pixels below the baseline
    t.drawing_dc = nullptr;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(Window, CursorsByWindowAndDefault)
{
    int shape = -1;
    win_cursor_shape_set(3, 1, 1, 0); // a cross over window 0
    win_attribute_get(shape, 1, 0);
    EXPECT_EQ(shape, 3);
    EXPECT_EQ(win_slot(0)->cursor, LoadCursorA(nullptr, IDC_CROSS));
    win_cursor_shape_set(1, 2, 1, 0); // the default only
    win_attribute_get(shape, 1, 0);
    EXPECT_EQ(shape, 3);
    win_attribute_get(shape, 2, 0);
    EXPECT_EQ(shape, 1);
    win_cursor_shape_set(4, 0, 1, 0); // everything back to one default
    win_attribute_get(shape, 1, 0);
    EXPECT_EQ(shape, 4);
    EXPECT_EQ(win_slot(0)->cursor, nullptr);
    win_pointer_move(10, 20, 1);
    POINT p{}, origin{0, 0};
    GetCursorPos(&p);
    ClientToScreen(client, &origin);
    EXPECT_EQ(p.x, origin.x + 10);
    EXPECT_EQ(p.y, origin.y + 20);
}
