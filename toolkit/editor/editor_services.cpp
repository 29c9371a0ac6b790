// The editor's answers to the window layer: the editor services and the
// questions the window layer asks of an editor's record (content kind 1).
#include <windows.h>

#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "core/services/editor.h"
#include "editor/editor_operations_win.h"
#include "editor/editor_record.h"
#include "plugin_register.h"

namespace korv {

namespace {

HMENU menu_bar(HWND frame)
{
    const EditorWindowRecord* record = edit_record(frame);
    return record != nullptr ? record->menu_bar : nullptr;
}

EditorBars bars(HWND frame)
{
    const EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) return {};
    return {record->toolbar, record->command_line, record->prompt_frame, record->prompt_text};
}

bool keys_translate(HWND pane, MSG& message)
{
    const EditorWindowRecord* record = edit_record(pane);
    if (record == nullptr) return false;
    for (HACCEL keys : {record->pane_accelerators, record->builtin_accelerators, record->caller_accelerators}) {
        if (keys != nullptr && TranslateAcceleratorA(pane, keys, &message)) return true;
    }
    return false;
}

int pane_may_close(HWND frame)
{
    EditorWindowRecord* record = edit_record(frame);
    return record != nullptr ? edit_buffers_save_prompt(frame, *record) : 1;
}

// The editor writes the help of an item into its own status bar; while the
// menu of a split window above it runs, it writes into that window's bar.
void menu_help(HWND frame, HWND bar, WPARAM w, LPARAM l)
{
    EditorWindowRecord* record = edit_record(frame);
    if (record == nullptr) {
        SendMessageA(frame, WM_MENUSELECT, w, l);
        return;
    }
    HWND own = record->status_bar;
    record->status_bar = bar;
    SendMessageA(frame, WM_MENUSELECT, w, l);
    record->status_bar = own;
}

} // namespace

void editor_services_register()
{
    EditorServices& services = editor_services();
    services.menu_bar = menu_bar;
    services.bars = bars;
    services.keys_translate = keys_translate;
    services.message_route = edit_message_route;
    services.buffer_rows_release = editor_rows_release;

    ContentKindServices& kind = content_kind_services(ContentKind::editor);
    kind.takes_commands = true;
    kind.own_menu_help = true;
    kind.own_menu_bar = true;
    kind.keeps_cursor = true;
    kind.subject_takes_focus = true;
    kind.may_close = pane_may_close;
    kind.menu_help = menu_help;
    kind.detach = [](HWND frame, int, int&) { edit_contents_detach(frame); };
}

} // namespace korv
