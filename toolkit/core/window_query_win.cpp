// The queries that read the dialog manager's state: WToolkitQuery, the kind
// of the current dialog, and taking a dialog off the window it lives in.
#include "korvanthide/window_ops.h"

#include <windows.h>
#include <commctrl.h>

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/drawing.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"

namespace korv {

namespace {

// A dialog's position or size; for one inside a parent window in window
// units of the parent's client area.
int dialog_value(int which, bool first)
{
    int a = 0, b = 0, inside = 0, parent = 0;
    win_position_get(which, a, b, inside, parent);
    if (inside != 1 || parent < 0)
        return first ? a : b;
    const int previous = window_tables().current;
    YYWINSEL(parent, 1);
    int u = 0, v = 0;
    gr_pixel_to_window_units(a, b, u, v);
    YYWINSEL(previous, 1);
    return first ? u : v;
}

} // namespace

void win_dialog_kind(int& kind)
{
    HWND dialog = dialog_current_window();
    kind = 0;
    if (!dialog)
        return;
    const DialogRecord* record = dialog_record_of(dialog);
    if (record && record->host_window) {
        kind = 4;
        return;
    }
    if (!(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD)) {
        kind = 1;
        return;
    }
    HWND parent = GetParent(dialog);
    char name[16] = {};
    GetClassNameA(parent, name, sizeof name);
    kind = std::string_view(name) == "#32770" ? 3 : 2;
}

void win_contents_detach(int& dialog, int flags, int& status)
{
    auto& t = window_tables();
    if (t.current < 0 || t.current > max_window || !t.windows[static_cast<std::size_t>(t.current)].frame) {
        status = 1;
        return;
    }
    HWND frame = t.windows[static_cast<std::size_t>(t.current)].frame;
    WindowContentRecord* record = win_content_record(frame);
    if (!record) {
        status = 2;
        return;
    }
    status = 0;
    if (const ContentKindServices& kind = content_kind_services(record->kind); kind.detach)
        kind.detach(frame, flags, dialog);
}

} // namespace korv

int WToolkitQuery(int code)
{
    using namespace korv;
    const DialogResultState& r = dialog_result_state();
    switch (code) {
    case 1:
        return r.exit_button;
    case 2:
        return r.exit_field;
    case 3:
        return r.current_dialog;
    case 4:
        return r.answer;
    case 5:
        return r.dialog_state;
    case 6:
    case 7:
        return dialog_value(2, code == 6);
    case 8:
    case 9:
        return dialog_value(3, code == 8);
    case 10: {
        int kind = 0;
        win_dialog_kind(kind);
        return kind;
    }
    case 11:
        return dialog_free_slots();
    default:
        return 0;
    }
}
