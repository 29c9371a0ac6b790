// The graphics start-up and the target selection on a real root window:
// WindowOpen starts the graphics on the recording device installed first,
// and selections and resizes follow the real client area.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/hardcopy.h"
#include "hardcopy/control/hardcopy_state.h"
#include "testing/gui_support.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "graphics/testing/recording_device.h"
#include "testing/hardcopy_driver.h"
#include "graphics/screen_device.h"

namespace {

using korv::testing::RecordingDevice;

SIZE client_size()
{
    RECT r{};
    GetClientRect(korv::win_slot(0)->client, &r);
    return {r.right, r.bottom};
}

class RootGraphics : public ::testing::Test {
protected:
    RecordingDevice screen;
    korv::Device* previous = korv::gr_screen_device_install(&screen);

    static void SetUpTestSuite() { WToolkitStart(); }
    void SetUp() override
    {
        korv::error_state().report_mode = 0;
        WindowOpen(7, 0, 0, 400, 300);
    }
    void TearDown() override
    {
        WRootWindowClose();
        korv::gr_screen_device_install(previous);
    }
};

TEST_F(RootGraphics, StartUpDrivesTheInstalledDeviceInOrder)
{
    const std::vector<int> codes = screen.codes();
    // Open; the area of the new drawable (its clip and the character angle
    // and size that follow the page dimensions); select; both colours;
    // drawing mode, line type, width, join and cap; character size.
    const std::vector<int> start = {18, 24, 33, 21, 1, 3, 3, 27, 29, 30, 36, 37, 21};
    ASSERT_GE(codes.size(), start.size());
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + static_cast<long>(start.size())), start);
    EXPECT_EQ(&korv::gr_screen_device(), &screen); // the window did not replace it

    const korv::GraphicsState& g = korv::graphics_state();
    const SIZE size = client_size();
    EXPECT_EQ(g.target_kind, korv::target_window);
    EXPECT_EQ(g.target_number, 0);
    EXPECT_EQ(g.drawable_width, size.cx);
    EXPECT_EQ(g.drawable_height, size.cy);
    EXPECT_EQ(g.area_ix2, size.cx - 1);
    EXPECT_GT(g.device_colour_count, 0);
    EXPECT_EQ(g.hardcopy_active, 0);
    EXPECT_EQ(korv::hardcopy_state().driver_number, 10);
    EXPECT_EQ(korv::hardcopy_state().driver_record, 10);
}

TEST_F(RootGraphics, FailedSelectionsFallBackToTheRootWindow)
{
    const SIZE size = client_size();
    for (int kind : {2, 3, 4, 0}) {
        screen.reset();
        korv::error_state().last_error = 0;
        IGrSelect(kind, kind == 2 ? 0 : 9);
        EXPECT_EQ(korv::error_state().last_error, 1019) << kind;
        EXPECT_EQ(korv::graphics_state().target_kind, korv::target_window);
        EXPECT_EQ(korv::graphics_state().drawable_width, size.cx);
        EXPECT_EQ(screen.count_of(1), 0);
    }
    korv::error_state().last_error = 0;
    IGrSelect(1, 7); // no window 7
    EXPECT_EQ(korv::error_state().last_error, 1019);
    screen.reset();
    IGrSelect(1);
    EXPECT_EQ(screen.count_of(1), 1);
}

TEST_F(RootGraphics, ResizingTheRootMovesTheDrawable)
{
    MoveWindow(korv::win_slot(0)->frame, 0, 0, 500, 420, TRUE);
    // The resize reaches the graphics when its event is handed out.
    korv::testing::Event event;
    for (int n = 0; n < 20 && event.type != 8; ++n) {
        if (!korv::testing::wevent_wait(event))
            break;
    }
    ASSERT_EQ(event.type, 8);
    const SIZE size = client_size();
    EXPECT_EQ(korv::graphics_state().drawable_width, size.cx);
    EXPECT_EQ(korv::graphics_state().drawable_height, size.cy);
    EXPECT_EQ(korv::graphics_state().area_iy2, size.cy - 1);
}

SIZE window_client(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

TEST_F(RootGraphics, AGraphicsFieldOfTheCurrentDialogIsATarget)
{
    WDialogLoad(700);
    WDialogShow(-1, -1, 0, 2);
    HWND dialog = korv::dialog_current_window();
    ASSERT_NE(dialog, nullptr);
    const korv::GraphicsState& g = korv::graphics_state();

    screen.reset();
    IGrSelect(3, 701);
    const SIZE field = window_client(GetDlgItem(dialog, 701));
    EXPECT_EQ(g.target_kind, korv::target_dialog_field);
    EXPECT_EQ(g.target_number, 701);
    EXPECT_EQ(g.target_dialog, 700);
    EXPECT_EQ(g.drawable_width, field.cx);
    EXPECT_EQ(g.drawable_height, field.cy);
    EXPECT_EQ(screen.count_of(1), 1);

    IGrSelect(3); // the dialog itself
    const SIZE whole = window_client(dialog);
    EXPECT_EQ(g.target_number, 0);
    EXPECT_EQ(g.drawable_width, whole.cx);

    korv::error_state().last_error = 0;
    IGrSelect(3, 799); // no such field
    EXPECT_EQ(korv::error_state().last_error, 1019);
    EXPECT_EQ(g.target_kind, korv::target_window);
    EXPECT_EQ(g.target_dialog, 0);

    WDialogUnload();
    korv::error_state().last_error = 0;
    IGrSelect(3, 701); // no current dialog
    EXPECT_EQ(korv::error_state().last_error, 1019);
}

// Closing the root window closes open hardcopy output.
TEST_F(RootGraphics, ClosingTheRootClosesHardcopyOutput)
{
    RecordingDevice driver(RecordingDevice::Side::hardcopy);
    driver.driver_number = 3;
    korv::testing::ScopedHardcopyDriver install(3, &driver);
    korv::hardcopy_state().driver_number = 3;
    IGrHardCopy("bild.svg");
    EXPECT_EQ(korv::graphics_state().hardcopy_active, 1);
    driver.reset();
    WRootWindowClose();
    EXPECT_EQ(driver.codes(), (std::vector<int>{19}));
    EXPECT_EQ(korv::graphics_state().hardcopy_active, 0);
    korv::hardcopy_state().driver_number = 10;
}

} // namespace
