// What the window layer asks of a grid editor's record (content kind 4).
#include <windows.h>

#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "grid/grid_classes.h"
#include "grid/grid_editor_win.h"

namespace korv {

namespace {

// A grid-editor pane of a closing window asks its save question.
int grid_editor_pane_may_close(HWND pane)
{
    GridEditorRecord* e = grid_editor_of(pane);
    return e == nullptr || !e->may_save ? 1 : grid_editor_save_prompt(*e, pane);
}

} // namespace

void grid_editor_kind_register()
{
    ContentKindServices& kind = content_kind_services(ContentKind::grid_editor);
    kind.takes_commands = true;
    kind.own_menu_help = true;
    kind.keeps_cursor = true;
    kind.subject_takes_focus = true;
    kind.may_close = grid_editor_pane_may_close;
    kind.subject_is_field = true;
    kind.detach = [](HWND frame, int, int&) { grid_editor_detach(frame); };
}

} // namespace korv
