// A program built by hand against the installed headers and the toolkit's
// libraries, with no build-system target. It calls a routine of each
// subsystem in a way that fails, so that each failure reaches the debug log
// of report mode 2 under the routine's name.
#include "korvanthide/dialogs.h"
#include "korvanthide/drawing.h"
#include "korvanthide/editor.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/grid.h"
#include "korvanthide/hardcopy.h"
#include "korvanthide/startup.h"

int main()
{
    WToolkitStart();
    korv::err_report_mode_set(2);
    WDialogLoad(999);                     // no such dialog resource
    IGrSelect(2, 7);                      // no such memory bitmap
    WEditFile("plain.txt");               // no child window to hold an editor
    WGridRows(3, 5);                      // no dialog holds a grid
    korv::hc_dispatch_select(1, 2);       // PostScript, into a folder that is not there
    IGrHardCopy("no-such-folder/plain.ps");
    return 0;
}
