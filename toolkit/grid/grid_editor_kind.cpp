// What the window layer asks of a grid editor's record (content kind 4).
// Compiled into every Windows program that links the toolkit, so that the
// kind is filled before main runs. (As a member of the static library it
// could be left out by the linker, since nothing refers to it.)
#include <windows.h>

#include "korvanthide/window.h"
#include "toolkit/core/services/content_kinds.h"

namespace korv {

namespace {

// The save prompt of a grid-editor pane. The grid editor has no save
// prompt for the window layer yet; until it has, no grid-editor pane
// refuses to close.
int grid_editor_pane_may_close(HWND pane)
{
    (void)pane;
    return 1;
}

bool grid_editor_kind_register()
{
    ContentKindServices& kind = content_kind_services(ContentKind::grid_editor);
    kind.takes_commands = true;
    kind.own_menu_help = true;
    kind.keeps_cursor = true;
    kind.subject_takes_focus = true;
    kind.may_close = grid_editor_pane_may_close;
    return true;
}

const bool grid_editor_kind_registered = grid_editor_kind_register();

} // namespace

} // namespace korv
