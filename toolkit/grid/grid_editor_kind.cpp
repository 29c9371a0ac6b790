// What the window layer asks of a grid editor's record (content kind 4).
#include <windows.h>

#include "korvanthide/window.h"
#include "core/services/content_kinds.h"
#include "grid/grid_classes.h"

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

} // namespace

void grid_editor_kind_register()
{
    ContentKindServices& kind = content_kind_services(ContentKind::grid_editor);
    kind.takes_commands = true;
    kind.own_menu_help = true;
    kind.keeps_cursor = true;
    kind.subject_takes_focus = true;
    kind.may_close = grid_editor_pane_may_close;
}

} // namespace korv
