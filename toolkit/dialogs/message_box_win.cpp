// The blocking frame, the message box, and the error reporter's status-bar
// and message-box outputs.
#include "korvanthide/common_dialogs.h"
#include "core/errors_text.h"

#include "korvanthide/dialogs.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/window.h"
#include "dialogs/common_dialogs.h"
#include "dialogs/common_dialogs_frame.h"

#include <string>

namespace korv {

void cdlg_blocking_frame(const std::function<void(HWND owner)>& run)
{
    HWND owner = dialog_owner_window();
    HWND focus = GetFocus();
    dialog_disable_other_windows(owner, 1);
    run(owner);
    HWND semi = dialog_table().semi_modeless_dialog;
    dialog_enable_other_windows(semi ? semi : owner, 1);
    if (owner && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) {
        SetFocus(owner);
        win_activate(owner);
    }
    if (focus && owner && IsWindow(focus) && (focus == owner || IsChild(owner, focus)))
        SetFocus(focus);
}

WindowSnapshots::WindowSnapshots(bool on) : on_(on)
{
    int out = 0;
    if (on_)
        dialog_window_snapshots(1, -1, out);
}

WindowSnapshots::~WindowSnapshots()
{
    int out = 0;
    if (on_)
        dialog_window_snapshots(0, -1, out);
}

void cdlg_message_box(int button_set, int icon, int default_position, int& answer, std::string_view message,
                      std::string_view title)
{
    const std::string text(message), caption(title);
    const UINT style = message_box_style(button_set, icon, default_position);
    int system_answer = 0;
    cdlg_blocking_frame([&](HWND owner) { system_answer = MessageBoxA(owner, text.c_str(), caption.c_str(), style); });
    answer = message_box_answer(system_answer);
}

void cdlg_error_outputs_install(ErrorOutputs& out)
{
    out.message_box = [](int buttons, int icon, int default_answer, std::string_view message,
                                     std::string_view title) {
        WMessageBox(buttons, icon, default_answer, message, title);
        return dialog_result_state().answer;
    };
}

} // namespace korv

void WMessageBox(int button_set, int icon, int default_answer, std::string_view message, std::string_view title)
{
    using namespace korv;
    int answer = -1;
    {
        const WindowSnapshots snapshots;
        cdlg_message_box(button_set, icon, message_box_default_position(button_set, default_answer), answer,
                         text_trimmed(message), text_trimmed(title));
    }
    // A box that could not be shown answers -1, never an earlier box's answer.
    dialog_result_state().answer = answer;
    if (answer == -1)
        err_report(err::common_dialog, "WMessageBox");
    dialog_result_state().exit_field = 0;
}
