#include "dialog_test_support.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/events.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "dialogs/dialog_internal.h"

namespace dialog_test {

void toolkit_up()
{
    static bool opened = false;
    if (!opened) {
        opened = true;
        WToolkitStart();
        // The converter's root window: hidden, with a 640 by 480 client area.
        WindowOpen(135, -999999, -999999, 640, 480, 0, {}, 0, "Dialog tests");
    }
    korv::event_enable_reset();
}

void unload_all()
{
    korv::DialogTable& t = korv::dialog_table();
    while (t.loaded > 0) {
        korv::dialog_result_state().current_dialog = 1;
        t.current_slot = t.loaded;
        int slot = t.loaded;
        korv::dialog_hide(slot);
        korv::dialog_unload(0, t.loaded);
    }
    korv::dialog_result_state() = {};
    korv::window_tables().active_dialog = nullptr;
    korv::testing::pump_dialog_messages(20);
}

HWND field(int id) { return GetDlgItem(korv::dialog_current_window(), id); }

} // namespace dialog_test
